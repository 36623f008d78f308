#include "ktpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

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

namespace {
// The default folder of simulated ports, and why it was refused (empty when it is usable).
struct PortDir
{
    QString path;
    QString problem;
};

PortDir choosePortDir()
{
    const QString runtime = envPath("XDG_RUNTIME_DIR");
    PortDir d;
#ifdef Q_OS_UNIX
    // $XDG_RUNTIME_DIR is the user's own (mode 0700); without it a folder of our own in the
    // temporary folder, whose name alone proves nothing: whoever creates it first owns it.
    d.path = runtime.isEmpty() ? QDir::tempPath() + QStringLiteral("/krn4-ports-%1").arg(::getuid())
                               : runtime + QStringLiteral("/krn4-ports");
    const QByteArray native = QFile::encodeName(d.path);
    ::mkdir(native.constData(), 0700);
    struct stat st = {};
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        d.problem = QCoreApplication::translate("KtPlatform", "The folder of simulated ports %1 cannot be "
                                                              "created.")
                        .arg(d.path);
    else if (st.st_uid != ::getuid() || (st.st_mode & (S_IWGRP | S_IWOTH)))
        d.problem = QCoreApplication::translate("KtPlatform", "The folder of simulated ports %1 belongs to "
                                                              "another user or can be written by others; "
                                                              "it is not used.")
                        .arg(d.path);
#else
    d.path = (runtime.isEmpty() ? QDir::tempPath() : runtime) + QStringLiteral("/krn4-ports");
    QDir().mkpath(d.path);
#endif
    return d;
}
} // namespace

QString virtualPortDir()
{
    const QString dir = envPath("KT_VIRTUAL_PORT_DIR");
    if (!dir.isEmpty())
        return dir;
    const PortDir d = choosePortDir();
    return d.problem.isEmpty() ? d.path : QString();
}

QString virtualPortDirProblem()
{
    return envPath("KT_VIRTUAL_PORT_DIR").isEmpty() ? choosePortDir().problem : QString();
}

QString programLogPath(const QDate &day)
{
    return documentsDir() + "/" + day.toString("yyyy-MM-dd");
}

} // namespace KtPlatform
