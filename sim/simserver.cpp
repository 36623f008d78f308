#include "simserver.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <stdlib.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

namespace Krn4Sim {

namespace {

int baudOf(speed_t s)
{
    switch (s) {
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    case B230400:
        return 230400;
    default:
        return 0;
    }
}

bool isMeasurementReply(const QByteArray &cmd)
{
    return cmd.startsWith("MES") || cmd.startsWith("XYZ") || cmd.startsWith("JAD") || cmd.startsWith("JAA") ||
           cmd.startsWith("JWA") || cmd.startsWith("RSD");
}

} // namespace

SimServer::SimServer(SimProbe &probe, SimFaults &faults, QObject *parent)
    : QObject(parent), m_probe(probe), m_faults(faults)
{
    m_hangupTimer = new QTimer(this);
    m_hangupTimer->setInterval(200);
    connect(m_hangupTimer, &QTimer::timeout, this, &SimServer::onHangupPoll);
    m_inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify >= 0) {
        m_openNotifier = new QSocketNotifier(m_inotify, QSocketNotifier::Read, this);
        connect(m_openNotifier, &QSocketNotifier::activated, this, &SimServer::onSlaveOpened);
    }
    m_tickTimer = new QTimer(this);
    m_tickTimer->setInterval(1000);
    connect(m_tickTimer, &QTimer::timeout, this, &SimServer::onTick);
}

SimServer::~SimServer()
{
    shutdown();
    delete m_openNotifier;
    if (m_inotify >= 0)
        ::close(m_inotify);
}

bool SimServer::start(const QString &linkPath, const QString &controlPath, QString *error)
{
    m_link = linkPath;
    m_controlPath = controlPath;
    if (!openPty(error))
        return false;
    m_control = new QLocalServer(this);
    m_control->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(controlPath);
    if (!m_control->listen(controlPath)) {
        if (error)
            *error = QStringLiteral("cannot listen on %1: %2").arg(controlPath, m_control->errorString());
        closePty();
        return false;
    }
    connect(m_control, &QLocalServer::newConnection, this, &SimServer::onControlConnection);
    if (!makeLink(error)) {
        shutdown();
        return false;
    }
    m_tickTimer->start();
    return true;
}

void SimServer::shutdown()
{
    closePty();
    if (!m_link.isEmpty())
        QFile::remove(m_link);
    if (m_control) {
        m_control->close();
        delete m_control;
        m_control = nullptr;
        QFile::remove(m_controlPath);
    }
    m_tickTimer->stop();
}

bool SimServer::openPty(QString *error)
{
    const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0) {
        if (error)
            *error = QStringLiteral("cannot create a pseudo-terminal: %1").arg(qt_error_string(errno));
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    const char *name = ptsname(fd);
    m_slave = QString::fromLocal8Bit(name ? name : "");
    // Raw mode from the start, as a USB serial device behaves: no echo, no line editing.
    struct termios tio;
    if (tcgetattr(fd, &tio) == 0) {
        cfmakeraw(&tio);
        cfsetispeed(&tio, B115200);
        cfsetospeed(&tio, B115200);
        tcsetattr(fd, TCSANOW, &tio);
    }
    m_master = fd;
    ++m_generation;
    m_out.clear();
    m_outBytes = 0;
    m_outOffset = 0;
    m_readNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &SimServer::onReadable);
    m_writeNotifier = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &SimServer::onWritable);
    // Until the application opens the slave the master reports a hang-up: wait for it.
    m_readNotifier->setEnabled(false);
    if (m_inotify >= 0)
        inotify_add_watch(m_inotify, QFile::encodeName(m_slave).constData(), IN_OPEN);
    waitForOpen();
    return true;
}

void SimServer::closePty()
{
    m_hangupTimer->stop();
    delete m_readNotifier;
    m_readNotifier = nullptr;
    delete m_writeNotifier;
    m_writeNotifier = nullptr;
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
        ++m_generation;
    }
    m_out.clear();
    m_outBytes = 0;
    m_outOffset = 0;
}

bool SimServer::makeLink(QString *error)
{
    // Replace atomically, so that a client never sees a missing or dangling link.
    const QByteArray tmp = QFile::encodeName(m_link + ".new");
    ::unlink(tmp.constData());
    if (::symlink(QFile::encodeName(m_slave).constData(), tmp.constData()) != 0 ||
        ::rename(tmp.constData(), QFile::encodeName(m_link).constData()) != 0) {
        if (error)
            *error = QStringLiteral("cannot create the link %1: %2").arg(m_link, qt_error_string(errno));
        ::unlink(tmp.constData());
        return false;
    }
    return true;
}

bool SimServer::unplug()
{
    if (m_master < 0)
        return false;
    QFile::remove(m_link);
    closePty();
    return true;
}

bool SimServer::replug(QString *error)
{
    if (m_master >= 0)
        return true;
    if (!openPty(error))
        return false;
    return makeLink(error);
}

int SimServer::lineSpeed() const
{
    struct termios tio;
    if (m_master < 0 || tcgetattr(m_master, &tio) != 0)
        return 0;
    return baudOf(cfgetispeed(&tio));
}

void SimServer::onReadable()
{
    char buf[16384];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            m_probe.setLineSpeed(lineSpeed());
            m_chunks.clear();
            m_probe.feed(QByteArray::fromRawData(buf, int(n)), m_chunks);
            emitChunks(m_chunks);
            if (m_master < 0)
                return; // a chunk unplugged us
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        // EIO (or 0): the application closed its side. Keep serving: wait until it reopens.
        m_readNotifier->setEnabled(false);
        waitForOpen();
        return;
    }
}

void SimServer::waitForOpen()
{
    // A hung-up master is always "readable", so the read notifier cannot wait for the reopen.
    // The open of the slave is signalled through inotify; a slow poll covers file systems
    // without it.
    m_hangupTimer->start();
    onHangupPoll();
}

void SimServer::onSlaveOpened()
{
    char buf[4096];
    while (::read(m_inotify, buf, sizeof buf) > 0) {
    }
    if (m_hangupTimer->isActive())
        onHangupPoll();
}

void SimServer::onHangupPoll()
{
    if (m_master < 0) {
        m_hangupTimer->stop();
        return;
    }
    struct pollfd p = {m_master, POLLIN, 0};
    if (::poll(&p, 1, 0) >= 0 && !(p.revents & POLLHUP)) {
        m_hangupTimer->stop();
        m_readNotifier->setEnabled(true);
        if (p.revents & POLLIN)
            onReadable();
        if (!m_out.empty())
            flush();
    }
}

void SimServer::onTick()
{
    m_chunks.clear();
    m_probe.tick(m_chunks);
    for (const SimProbe::Chunk &c : m_chunks)
        deliver(c.bytes, c.delayMs);
}

void SimServer::emitChunks(std::vector<SimProbe::Chunk> &chunks)
{
    for (SimProbe::Chunk &c : chunks) {
        if (!c.bytes.endsWith('\r')) { // boot-loader bytes: no faults, no latency
            deliver(c.bytes, c.delayMs);
            continue;
        }
        const QByteArray &cmd = c.command;
        QByteArray reply = c.bytes;
        int delay = c.delayMs + m_faults.latencyMs;
        if (isMeasurementReply(cmd) && reply.startsWith("OK00") && SimFaults::take(m_faults.okStatus))
            reply.replace(0, 4, "OK0" + QByteArray::number(m_faults.okStatusCode));
        if (isMeasurementReply(cmd) && SimFaults::take(m_faults.measureError))
            reply = "ER" + QByteArray::number(m_faults.errorCode) + ",P1,203;\r";
        if (SimFaults::take(m_faults.noReply))
            continue;
        if (SimFaults::take(m_faults.garbage)) {
            static std::mt19937 rng(7);
            QByteArray junk;
            for (int i = 0; i < 12; ++i)
                junk += char(0x80 + rng() % 0x7E); // high bytes: never "OK", "ER" or "\r"
            reply = junk + '\r';
        }
        if (SimFaults::take(m_faults.doubled)) {
            deliver(reply + reply, delay);
        } else if (SimFaults::take(m_faults.split)) {
            const int piece = std::max(1, m_faults.splitPieceBytes);
            for (int i = 0, k = 0; i < reply.size(); i += piece, ++k)
                deliver(reply.mid(i, piece), delay + k * m_faults.splitPauseMs);
        } else {
            deliver(reply, delay);
        }
    }
    if (m_probe.takeDfuRequest()) {
        // The probe leaves for its USB DFU mode: the serial device disappears, and comes back
        // (same name) when the DFU session would be over.
        QPointer<SimServer> self(this);
        QTimer::singleShot(100, this, [self] {
            if (self)
                self->unplug();
        });
        QTimer::singleShot(100 + m_dfuAbsenceMs, this, [self] {
            if (self)
                self->replug();
        });
    }
}

void SimServer::deliver(const QByteArray &bytes, int delayMs)
{
    if (delayMs <= 0) {
        enqueue(bytes);
        return;
    }
    const unsigned generation = m_generation;
    QTimer::singleShot(delayMs, this, [this, bytes, generation] {
        if (generation == m_generation)
            enqueue(bytes);
    });
}

void SimServer::enqueue(const QByteArray &bytes)
{
    if (m_master < 0 || bytes.isEmpty())
        return;
    // Bound what waits for a reader that never comes (16 MB: far beyond any reply).
    while (m_outBytes > (16 << 20) && !m_out.empty()) {
        m_outBytes -= m_out.front().size() - m_outOffset;
        m_out.pop_front();
        m_outOffset = 0;
    }
    m_out.push_back(bytes);
    m_outBytes += bytes.size();
    flush();
}

void SimServer::flush()
{
    while (!m_out.empty() && m_master >= 0) {
        const QByteArray &front = m_out.front();
        const ssize_t n =
            ::write(m_master, front.constData() + m_outOffset, size_t(front.size() - m_outOffset));
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                m_writeNotifier->setEnabled(true);
                return;
            }
            // Nobody on the other side (EIO): drop what is pending, as a device would.
            m_out.clear();
            m_outBytes = 0;
            m_outOffset = 0;
            break;
        }
        m_outOffset += n;
        m_outBytes -= n;
        if (m_outOffset >= front.size()) {
            m_out.pop_front();
            m_outOffset = 0;
        }
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(false);
}

void SimServer::onWritable()
{
    flush();
}

void SimServer::onControlConnection()
{
    while (QLocalSocket *socket = m_control->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QString line = QString::fromUtf8(socket->readLine()).trimmed();
                socket->write(control(line).toUtf8() + '\n');
            }
        });
    }
}

QString SimServer::control(const QString &line)
{
    const QString cmd = line.section(' ', 0, 0).toLower();
    if (cmd == "unplug")
        return unplug() ? QStringLiteral("OK unplugged") : QStringLiteral("ER not plugged");
    if (cmd == "replug") {
        QString error;
        if (m_master >= 0)
            return QStringLiteral("ER already plugged");
        return replug(&error) ? QStringLiteral("OK ") + m_slave : QStringLiteral("ER ") + error;
    }
    if (cmd == "screen") {
        if (!m_screenHandler)
            return QStringLiteral("ER start krn4-sim with --x11 (or --screen X,Y) to read the X screen");
        return m_screenHandler(line.section(' ', 1).trimmed());
    }
    const QString reply = applyControl(line, m_probe, m_faults);
    if (!reply.isEmpty())
        return cmd == "state" ? reply + QStringLiteral(" plugged=%1 link=%2").arg(m_master >= 0).arg(m_link)
                              : reply;
    return QStringLiteral("ER unknown command '%1' (try help)").arg(cmd);
}

} // namespace Krn4Sim
