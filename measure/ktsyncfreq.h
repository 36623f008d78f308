#pragma once

#include "ktpublicconfig.h"
#include "syncfreqscan.h"

#include <QPointer>
#include <QString>

namespace Ui {
class ktSyncFreqForm;
}

// "Synchronous frequency": sets the frequency the probe synchronises its integration to, either
// directly (with the probe's read-back) or by scanning a band around the typed frequency and
// keeping the one whose repeated readings scatter least, which is the display's refresh.
class ktSyncFreq : public ktPublicConfig
{
    Q_OBJECT
public:
    explicit ktSyncFreq(QWidget *parent = nullptr);
    ~ktSyncFreq() override;

    PageLog *logView() override;
    Ui::ktSyncFreqForm *form() const { return ui; }
    void done(int result) override;

public slots:
    void on_pbSync_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    // The typed frequency when it passes the check; otherwise the message and the field reset.
    bool checkFrequency(double *hz);
    void fail(const QString &text); // red log line and the message box
    bool setSyncFrequency(double hz);
    bool scan(double centre);
    void setDirectly();
    void retranslate();

    Ui::ktSyncFreqForm *ui;
    QWidget *m_body = nullptr;
    SyncFreqScan::Settings m_settings;
    QString m_settingsError; // why setting.ini's scan values cannot be used; empty when they can
    bool m_closed = false;   // closed while a scan waits for the probe
};
