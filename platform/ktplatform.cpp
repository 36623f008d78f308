#include "ktplatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QStandardPaths>

namespace KtPlatform {

namespace {

QString envPath(const char *name)
{
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? QString() : QDir::cleanPath(QString::fromLocal8Bit(value));
}

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

bool isVirtualPort(const QString &portName)
{
    if (portName.isEmpty() || portName.contains('/'))
        return false;
    return QFileInfo(virtualPortDir() + "/" + portName).isSymLink() ||
           QFileInfo::exists(virtualPortDir() + "/" + portName);
}

QString devicePath(const QString &portName)
{
    if (portName.startsWith('/'))
        return portName;
    if (isVirtualPort(portName))
        return virtualPortDir() + "/" + portName;
    return "/dev/" + portName;
}

QString portNameFromPath(const QString &path)
{
    if (!path.startsWith('/'))
        return path;
    return QFileInfo(path).fileName();
}

QStringList availablePorts()
{
    QStringList names;
    const auto infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos)
        names << info.portName();
    // A link whose pseudo-terminal is gone (simulator unplugged or ended) is not a port.
    const QDir dir(virtualPortDir());
    const QFileInfoList links = dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo &link : links) {
        if (link.exists() && !names.contains(link.fileName()))
            names << link.fileName();
    }
    return names;
}

QString storedPortValue(const QString &portName)
{
    return portName;
}

QString portNameFromStored(const QString &stored)
{
    return stored;
}

} // namespace KtPlatform
