#pragma once

#include <QMutex>
#include <QObject>

// Process-wide configuration flags: one instance, created on first use under a lock and never
// destroyed. The flags are read by the GUI thread and by the flicker worker, so each access
// takes the lock.
class ktCfgData : public QObject
{
    Q_OBJECT
public:
    static ktCfgData *instance();

    // Echo every command and reply in the page logs (sysConfig/UplayerDebug). On until the
    // port dialog reads config.ini, as an absent key means on.
    bool uplayerDebug() const;
    void setUplayerDebug(bool on);

    // 0 single probe, 1 double probe.
    int probeMode() const;
    void setProbeMode(int mode);

    // 0 or 1 from the regulate configuration.
    int regulateMode() const;
    void setRegulateMode(int mode);

private:
    ktCfgData() = default;
    mutable QMutex m_lock;
    bool m_uplayerDebug = true;
    int m_probeMode = 0;
    int m_regulateMode = 0;
};
