#pragma once

#include "firmwareupgradedialog.h"

class BootLoaderSession;
namespace Ui {
class ktFirmwareUpgrade;
}

// Firmware upgrade through the probe's serial boot loader (probes whose firmware is not 5.00).
// The exchange itself is BootLoaderSession; this dialog checks the file, asks the probe to
// restart into its boot loader ("Auto" mode), runs the transfer on a worker thread with a port
// of its own while the window keeps painting, and reports the outcome only once the probe has
// restarted and answered.
class ktFirmwareUpgrade : public FirmwareUpgradeDialog
{
    Q_OBJECT
public:
    // devicePath: the device the probe is on (KtPlatform::devicePath of the port name); the
    // dialog reopens the probe port on it whenever it changes the line speed.
    ktFirmwareUpgrade(QWidget *parent, const QString &devicePath);
    ~ktFirmwareUpgrade() override;

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void on_pbSelectBinFile_clicked();
    void on_pbUpgrade_clicked();

private:
    void upgrade();
    // Runs the session to its end off the GUI thread; the bar follows its progress.
    void transfer(BootLoaderSession &session);
    // Takes the probe port back after the transfer and reads the new version.
    bool reconnect();
    bool usbOnlyProbe();

    Ui::ktFirmwareUpgrade *ui;
};
