#pragma once

#include <QObject>
#include <QSerialPort>
#include <QString>

#include <memory>

class SerialPortReader;

namespace Krn4Cli {

// The probe at the end of one serial port: the application's own transport (SerialPortReader,
// with its resynchronisation after a time-out) on a port opened as the port dialog opens it.
class ProbeLink
{
public:
    struct Result
    {
        enum Status
        {
            Answered,
            TimedOut,
            Lost // the device vanished (unplugged)
        } status = TimedOut;
        QString reply; // the reply text without its "\r"
        qint64 roundTripMs = 0;
        bool answered() const { return status == Answered; }
    };

    ProbeLink();
    ~ProbeLink();
    ProbeLink(const ProbeLink &) = delete;
    ProbeLink &operator=(const ProbeLink &) = delete;

    // Opens the port by name (or device path); false with the reason in error.
    bool open(const QString &portName, QString *error);
    QString portName() const { return m_name; }

    // Sends command + "\r" and waits up to timeoutMs for its reply.
    Result exchange(const QString &command, int timeoutMs);

private:
    QSerialPort m_port;
    std::unique_ptr<SerialPortReader> m_reader;
    QString m_name;
};

// Ctrl-C (SIGINT) and SIGTERM: the handler only writes a byte into a socket; the event loop
// then marks the run as interrupted and wakes whatever waits in pause(). Long exchanges
// process events, so a series stops at the next reading and prints what it has.
class Interrupt : public QObject
{
    Q_OBJECT
public:
    static Interrupt *instance();
    void install();
    bool requested() const { return m_requested; }
    // Waits ms milliseconds with the event loop running; false when interrupted meanwhile.
    bool pause(int ms);

signals:
    void interrupted();

private:
    bool m_requested = false;
};

} // namespace Krn4Cli
