#include "ktpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace KtPlatform {

QString envPath(const char *name)
{
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? QString() : QDir::cleanPath(QString::fromLocal8Bit(value));
}

namespace {

bool folderWritable(const QString &path)
{
    QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

} // namespace

QString appDir()
{
    // Decided once: a folder that flips between calls would split the settings in two.
    static const QString dir = [] {
        QString chosen = envPath("KT_DATA_ROOT");
        if (chosen.isEmpty()) {
            const QString beside = QCoreApplication::applicationDirPath();
            if (!beside.isEmpty() && folderWritable(beside))
                chosen = beside;
            else
                chosen = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        }
        QDir().mkpath(chosen);
        return chosen;
    }();
    return dir;
}

QString documentsDir()
{
    QString dir = envPath("KT_DOCUMENTS_DIR");
    if (dir.isEmpty() && !qEnvironmentVariableIsEmpty("KT_DATA_ROOT"))
        dir = appDir() + "/Documents";
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty())
        dir = QDir::homePath();
    QDir().mkpath(dir);
    return dir;
}

QString virtualPortDir()
{
    const QString dir = envPath("KT_VIRTUAL_PORT_DIR");
    return dir.isEmpty() ? QStringLiteral("/tmp/krn4-ports") : dir;
}

QString programLogPath(const QDate &day)
{
    return documentsDir() + "/" + day.toString("yyyy-MM-dd");
}

} // namespace KtPlatform
