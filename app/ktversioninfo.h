#pragma once

#include "ktpublicconfig.h"

namespace Ui {
class ktVersionInfo;
}

// Shows the software version and the probe's firmware version. The firmware query is also
// used without showing the dialog (the firmware-upgrade action picks its tool by it).
class ktVersionInfo : public ktPublicConfig
{
    Q_OBJECT
public:
    explicit ktVersionInfo(QWidget *parent = nullptr);
    ~ktVersionInfo() override;

    // "VER" first; a reply that contains "V2" means a second-generation probe, which names its
    // firmware with "VID,1"; any other reply, or none, is answered by "VER,1". Empty when the
    // second query fails.
    QString firmwareVersion();

signals:
    void Signal_EndWait();

public slots:
    void DelayTriggel();
    void DvxVersionFun(QString strVersion);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private slots:
    void on_pbOK_clicked();

private:
    Ui::ktVersionInfo *ui;
};
