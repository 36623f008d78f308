#include "ktcfgdata.h"

#include <QMutexLocker>

ktCfgData *ktCfgData::instance()
{
    static QMutex creation;
    static ktCfgData *single = nullptr;
    QMutexLocker guard(&creation);
    if (!single)
        single = new ktCfgData; // lives until exit on purpose
    return single;
}

bool ktCfgData::uplayerDebug() const
{
    QMutexLocker guard(&m_lock);
    return m_uplayerDebug;
}

void ktCfgData::setUplayerDebug(bool on)
{
    QMutexLocker guard(&m_lock);
    m_uplayerDebug = on;
}

int ktCfgData::probeMode() const
{
    QMutexLocker guard(&m_lock);
    return m_probeMode;
}

void ktCfgData::setProbeMode(int mode)
{
    QMutexLocker guard(&m_lock);
    m_probeMode = mode;
}

int ktCfgData::regulateMode() const
{
    QMutexLocker guard(&m_lock);
    return m_regulateMode;
}

void ktCfgData::setRegulateMode(int mode)
{
    QMutexLocker guard(&m_lock);
    m_regulateMode = mode;
}
