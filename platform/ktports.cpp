#include "ktports.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSerialPortInfo>
#include <QThread>

#include <poll.h>
#include <sys/stat.h>

namespace KtPlatform {

namespace {
// A simulated port is a symbolic link to a terminal (a character device); anything else in the
// folder (a regular file, a socket, a dangling link) is no port.
bool isTerminalLink(const QFileInfo &entry)
{
    if (!entry.isSymLink())
        return false;
    struct stat st = {};
    return ::stat(QFile::encodeName(entry.absoluteFilePath()).constData(), &st) == 0 && S_ISCHR(st.st_mode);
}
} // namespace

bool isVirtualPort(const QString &portName)
{
    const QString dir = virtualPortDir();
    if (dir.isEmpty() || portName.isEmpty() || portName.contains('/'))
        return false;
    return isTerminalLink(QFileInfo(dir + "/" + portName));
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
    const QString dir = virtualPortDir();
    if (dir.isEmpty())
        return names;
    const QFileInfoList links = QDir(dir).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo &link : links) {
        if (isTerminalLink(link) && !names.contains(link.fileName()))
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

bool serialDeviceGone(QSerialPort *port, QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::ResourceError)
        return true;
    if (error != QSerialPort::ReadError || !port || !port->isOpen())
        return false;
    const QString location = devicePath(port->portName());
    if (!QFileInfo::exists(location)) // follows links: a dangling link is a missing device
        return true;
    pollfd p{int(port->handle()), POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
}

QString simulatorControl(const QString &controlPath, const QString &line, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(controlPath);
    if (!socket.waitForConnected(timeoutMs))
        return QString();
    socket.write(line.toUtf8() + '\n');
    socket.flush();
    QByteArray reply;
    QElapsedTimer clock;
    clock.start();
    while (!reply.contains('\n') && clock.elapsed() < timeoutMs) {
        if (socket.waitForReadyRead(20))
            reply += socket.readAll();
    }
    return QString::fromUtf8(reply).trimmed();
}

bool startSimulator(QProcess &process, const QString &program, const QStringList &arguments,
                    const QString &link, int timeoutMs, QString *error)
{
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs)) {
        *error = process.errorString();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (QFileInfo::exists(link))
            return true;
        if (process.state() == QProcess::NotRunning) {
            *error = QStringLiteral("The simulated probe ended before it made its port.");
            return false;
        }
        QThread::msleep(10);
    }
    *error = QStringLiteral("The simulated probe made no port at %1.").arg(link);
    return false;
}

void stopSimulator(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace KtPlatform

QString KtSimulatorProcess::simulatorPath()
{
    const QString forced = QString::fromLocal8Bit(qgetenv("KT_SIM_BIN"));
    if (!forced.isEmpty())
        return forced;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/krn4-sim");
}

QString KtSimulatorProcess::control(const QString &line, int timeoutMs) const
{
    return KtPlatform::simulatorControl(m_linkPath + QStringLiteral(".ctl"), line, timeoutMs);
}

bool KtSimulatorProcess::start(const QStringList &extraArguments, int timeoutMs)
{
    const QString program = simulatorPath();
    if (!QFileInfo(program).isExecutable()) {
        m_error = QStringLiteral("The simulated probe %1 was not found.").arg(program);
        return false;
    }
    const QString dir = KtPlatform::virtualPortDir();
    if (dir.isEmpty()) {
        m_error = KtPlatform::virtualPortDirProblem();
        return false;
    }
    QDir().mkpath(dir);
    // A fresh name: a link left by a running simulator (another instance) is not reused.
    m_portName = QStringLiteral("KRN4-SIM");
    for (int n = 2; QFileInfo(dir + "/" + m_portName).exists(); ++n)
        m_portName = QStringLiteral("KRN4-SIM-%1").arg(n);
    const QString link = dir + "/" + m_portName;
    QFile::remove(link); // a dangling link of a simulator that died

    if (m_forwardOutput) {
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    } else {
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(QProcess::nullDevice());
    }
    // --exit-with-parent: a program that crashes (and so never reaches stop()) does not leave
    // its simulator running.
    const QStringList arguments =
        QStringList{QStringLiteral("--link"), link, QStringLiteral("--exit-with-parent")} + extraArguments;
    m_linkPath = link;
    if (KtPlatform::startSimulator(m_process, program, arguments, link, timeoutMs, &m_error))
        return true;
    stop();
    return false;
}

void KtSimulatorProcess::stop()
{
    KtPlatform::stopSimulator(m_process);
}
