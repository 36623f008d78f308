#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Runs one krn4-sim for a test: a fresh link in the test's virtual-port folder, a control
// socket beside it, and a clean shutdown at the end. The binary comes from KT_SIM_BIN.
class SimProcess
{
public:
    explicit SimProcess(const QStringList &extraArgs = {}, const QString &portName = QString());
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // Starts the simulator and waits until its link exists. False when KT_SIM_BIN is unset
    // or the link did not appear in time; errorText() says why.
    bool start(int timeoutMs = 10000);
    void stop();

    QString portName() const { return m_portName; }
    QString linkPath() const { return m_linkPath; }
    QString controlPath() const { return m_linkPath + ".ctl"; }
    QString errorText() const { return m_error; }

    // Sends one line to the control socket ("show 255,0,0") and returns its one-line reply.
    QString control(const QString &line, int timeoutMs = 3000);

    static QString binary();

private:
    QProcess m_process;
    QStringList m_args;
    QString m_portName;
    QString m_linkPath;
    QString m_error;
};
