#pragma once

#include "ktpaths.h"

#include <QProcess>
#include <QSerialPort>
#include <QString>
#include <QStringList>

// Serial ports, the simulated probe's ports and its control channel: the half of the platform
// layer that needs no display (Qt Core, SerialPort and Network only), so that the command-line
// tool uses the very functions the application does.
namespace KtPlatform {

// Serial device path for a port name: "/dev/" + name for hardware ports, the full link path
// for a virtual port. A name that already is a path is returned unchanged.
QString devicePath(const QString &portName);

// Port name for a device path (the inverse of devicePath): "/dev/ttyUSB0" -> "ttyUSB0",
// "<virtual dir>/KRN4-SIM" -> "KRN4-SIM".
QString portNameFromPath(const QString &path);

// Names of all serial ports present: the ports Qt lists plus the live virtual ports.
QStringList availablePorts();

// Whether a name denotes a virtual (simulated) port.
bool isVirtualPort(const QString &portName);

// Sends one line to a simulated probe's control channel (its link path + ".ctl") and returns
// the reply line, trimmed; empty when nothing answered within timeoutMs.
QString simulatorControl(const QString &controlPath, const QString &line, int timeoutMs);

// Starts a krn4-sim (program, with arguments that name link) in process and waits up to
// timeoutMs until it has made its link; its control socket is made before the link, so both are
// there then. False with the reason in *error when it did not start, ended first or made no link.
bool startSimulator(QProcess &process, const QString &program, const QStringList &arguments,
                    const QString &link, int timeoutMs, QString *error);
// Ends a simulator started so: asked to terminate, killed when it has not within 3 s.
void stopSimulator(QProcess &process);

// What the port dialog stores under sysConfig/DVXCom for a port name, and the port name a
// stored value stands for. On Windows that is the COM number; here it is the port name.
QString storedPortValue(const QString &portName);
QString portNameFromStored(const QString &stored);

// Whether a serial-port error means the device has vanished (unplugged). Windows reports
// that as QSerialPort::ResourceError. On Linux a hung-up terminal (USB adapter removed,
// simulated probe unplugged) reads as end of file, which QSerialPort reports as a ReadError
// with a stale error text, again on every event-loop pass; so a ReadError on a port whose line
// has hung up or whose device node is gone counts as vanished too.
bool serialDeviceGone(QSerialPort *port, QSerialPort::SerialPortError error);

} // namespace KtPlatform

// One krn4-sim started on a fresh link in the virtual-port folder and stopped again with this
// object: the "--simulate" option of the application and of the command-line tool.
class KtSimulatorProcess
{
public:
    KtSimulatorProcess() = default;
    ~KtSimulatorProcess() { stop(); }
    KtSimulatorProcess(const KtSimulatorProcess &) = delete;
    KtSimulatorProcess &operator=(const KtSimulatorProcess &) = delete;

    // applicationDirPath() + "/krn4-sim", or KT_SIM_BIN when set.
    static QString simulatorPath();

    // Starts the simulator with extraArguments and waits (up to timeoutMs) until its link
    // exists. False with errorText() when the program is missing, failed to start or made no
    // link.
    bool start(const QStringList &extraArguments = {}, int timeoutMs = 10000);
    void stop();
    bool isRunning() const { return m_process.state() == QProcess::Running; }
    // Whether the simulator's own output reaches this program's standard output and error
    // (the default); a command-line tool keeps its output to its own lines.
    void setForwardOutput(bool forward) { m_forwardOutput = forward; }

    QString portName() const { return m_portName; }
    QString linkPath() const { return m_linkPath; }
    QString errorText() const { return m_error; }

    // One line to the simulator's control socket; its reply line, or "" when none came.
    QString control(const QString &line, int timeoutMs = 1000) const;

private:
    QProcess m_process;
    QString m_portName;
    QString m_linkPath;
    QString m_error;
    bool m_forwardOutput = true;
};
