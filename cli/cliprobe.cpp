#include "cliprobe.h"

#include "ktports.h"
#include "ktsettings.h"
#include "serialportreader.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace Krn4Cli {

ProbeLink::ProbeLink() = default;

ProbeLink::~ProbeLink()
{
    m_reader.reset();
    if (m_port.isOpen())
        m_port.close();
}

bool ProbeLink::open(const QString &portName, QString *error)
{
    m_name = KtPlatform::portNameFromPath(portName);
    const QString path = KtPlatform::devicePath(portName);
    if (!QFileInfo::exists(path)) {
        *error = QCoreApplication::translate("krn4", "no such port: %1").arg(portName);
        return false;
    }
    // The settings of the port dialog: the saved baud rate (115200 when none is saved), 8N1.
    const int saved = KtSettings::readSysConfig().baudRate;
    m_port.setPortName(path);
    m_port.setBaudRate(saved > 0 ? saved : QSerialPort::Baud115200);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        *error = QCoreApplication::translate("krn4", "cannot open port %1: %2")
                     .arg(portName, m_port.errorString());
        return false;
    }
    m_reader = std::make_unique<SerialPortReader>(&m_port);
    // A vanished device reports its read error again and again; closed, it is waited out
    // quietly until the command's time-out, and every later command fails at once.
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                     [this](QSerialPort::SerialPortError error) {
                         if (m_port.isOpen() && KtPlatform::serialDeviceGone(&m_port, error))
                             m_port.close();
                     });
    return true;
}

ProbeLink::Result ProbeLink::exchange(const QString &command, int timeoutMs)
{
    Result result;
    QByteArray reply;
    const bool ok = m_reader && m_reader->sendAndWait(command.toLatin1() + '\r', reply, '\r', timeoutMs);
    result.reply = QString::fromLatin1(reply);
    if (ok) {
        result.status = Result::Answered;
        result.roundTripMs = m_reader->lastRoundTripMs();
    } else if (!m_port.isOpen() || KtPlatform::serialDeviceGone(&m_port, QSerialPort::ReadError)) {
        result.status = Result::Lost;
    }
    return result;
}

namespace {
int signalSockets[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1; // async-signal-safe: only wake the event loop
    [[maybe_unused]] const ssize_t n = ::write(signalSockets[0], &byte, 1);
}
} // namespace

Interrupt *Interrupt::instance()
{
    static Interrupt *one = new Interrupt;
    return one;
}

void Interrupt::install()
{
    if (signalSockets[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSockets) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(signalSockets[1], &byte, 1);
        m_requested = true;
        emit interrupted();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGINT, SIGTERM})
        ::sigaction(sig, &action, nullptr);
}

bool Interrupt::pause(int ms)
{
    if (m_requested)
        return false;
    if (ms <= 0)
        return true; // the exchanges process events often enough to notice a signal
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    connect(this, &Interrupt::interrupted, &loop, &QEventLoop::quit);
    loop.exec();
    return !m_requested;
}

} // namespace Krn4Cli
