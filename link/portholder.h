#pragma once

#include <QMutex>
#include <QString>

class QSerialPort;

// Process-wide owner of the probe port and of the measurement-mode summary texts. Created on
// first use, never destroyed; every page, dialog and firmware tool uses this one port.
class PortHolder
{
public:
    static PortHolder *instance();

    // The port to the probe (owned here, no Qt parent). Opening, closing and configuring it is
    // done by the port dialog and the firmware tools.
    QSerialPort *probePort() const { return m_probePort; }

    // Summary of the current measurement mode, written by the measurement-mode dialog and
    // shown in the result tables of the gamma and flicker pages.
    QString syncText() const;
    void setSyncText(const QString &text);
    QString speedText() const;
    void setSpeedText(const QString &text);
    QString averageText() const;
    void setAverageText(const QString &text);
    QString integrationText() const;
    void setIntegrationText(const QString &text);

private:
    PortHolder();
    QSerialPort *m_probePort = nullptr;
    mutable QMutex m_textLock;
    QString m_syncText;
    QString m_speedText;
    QString m_averageText;
    QString m_integrationText;
};
