#include "portholder.h"

#include <QMutexLocker>
#include <QSerialPort>

PortHolder::PortHolder() : m_probePort(new QSerialPort) {}

PortHolder *PortHolder::instance()
{
    static QMutex creation;
    static PortHolder *single = nullptr;
    QMutexLocker guard(&creation);
    if (!single)
        single = new PortHolder; // lives until exit: every page's reader points at its port
    return single;
}

QString PortHolder::syncText() const
{
    QMutexLocker guard(&m_textLock);
    return m_syncText;
}

void PortHolder::setSyncText(const QString &text)
{
    QMutexLocker guard(&m_textLock);
    m_syncText = text;
}

QString PortHolder::speedText() const
{
    QMutexLocker guard(&m_textLock);
    return m_speedText;
}

void PortHolder::setSpeedText(const QString &text)
{
    QMutexLocker guard(&m_textLock);
    m_speedText = text;
}

QString PortHolder::averageText() const
{
    QMutexLocker guard(&m_textLock);
    return m_averageText;
}

void PortHolder::setAverageText(const QString &text)
{
    QMutexLocker guard(&m_textLock);
    m_averageText = text;
}

QString PortHolder::integrationText() const
{
    QMutexLocker guard(&m_textLock);
    return m_integrationText;
}

void PortHolder::setIntegrationText(const QString &text)
{
    QMutexLocker guard(&m_textLock);
    m_integrationText = text;
}
