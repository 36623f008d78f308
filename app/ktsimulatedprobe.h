#pragma once

#include <QProcess>
#include <QString>

// The "--simulate" option: a krn4-sim started beside the program on a fresh link in the
// virtual-port folder, stopped again when the application ends.
class KtSimulatedProbe
{
public:
    KtSimulatedProbe() = default;
    ~KtSimulatedProbe();
    KtSimulatedProbe(const KtSimulatedProbe &) = delete;
    KtSimulatedProbe &operator=(const KtSimulatedProbe &) = delete;

    // applicationDirPath() + "/krn4-sim", or KT_SIM_BIN when set.
    static QString simulatorPath();

    // Starts the simulator and waits (up to timeoutMs) until its link exists. False with
    // errorText() when the program is missing, failed to start or made no link.
    bool start(int timeoutMs = 10000);
    void stop();

    QString portName() const { return m_portName; }
    QString errorText() const { return m_error; }

private:
    QProcess m_process;
    QString m_portName;
    QString m_error;
};
