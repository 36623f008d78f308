#pragma once

#include "ktpublicconfig.h"

class BootLoaderSession;
namespace Ui {
class ktFirmwareUpgrade;
}

// Firmware upgrade through the probe's serial boot loader (probes whose firmware is not 5.00).
// The exchange itself is BootLoaderSession; this dialog checks the file, asks the probe to
// restart into its boot loader ("Auto" mode), runs the transfer on a worker thread with a port
// of its own while the window keeps painting, and reports the outcome only once the probe has
// restarted and answered.
class ktFirmwareUpgrade : public ktPublicConfig
{
    Q_OBJECT
public:
    // devicePath: the device the probe is on (KtPlatform::devicePath of the port name); the
    // dialog reopens the probe port on it whenever it changes the line speed.
    ktFirmwareUpgrade(QWidget *parent, const QString &devicePath);
    ~ktFirmwareUpgrade() override;

    QString devicePath() const { return m_devicePath; }
    bool busy() const { return m_busy; }
    // The last message shown to the operator (for the log and tests).
    QString lastMessage() const { return m_lastMessage; }

    // An upgrade under way cannot be closed: the probe would be left in its boot loader.
    void done(int result) override;

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_pbSelectBinFile_clicked();
    void on_pbUpgrade_clicked();

private:
    void upgrade();
    // Runs the session to its end off the GUI thread; the bar follows its progress.
    void transfer(BootLoaderSession &session);
    // Takes the probe port back after the transfer and reads the new version.
    bool reconnect();
    void tell(const QString &text, bool failure);
    bool usbOnlyProbe();

    Ui::ktFirmwareUpgrade *ui;
    QString m_devicePath;
    QString m_lastMessage;
    bool m_busy = false;
    int m_linkBaud = 115200; // the link's speed before the upgrade, restored after it
};
