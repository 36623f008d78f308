#pragma once

#include "ktpublicconfig.h"

class QLineEdit;

// What both firmware upgrade dialogs share: the probe's device, the busy flag that keeps the
// dialog open while an upgrade runs, the operator's messages and the probe's version shown when
// the dialog opens.
class FirmwareUpgradeDialog : public ktPublicConfig
{
    Q_OBJECT
public:
    QString devicePath() const { return m_devicePath; }
    bool busy() const { return m_busy; }
    // The last message shown to the operator (for the log and tests).
    QString lastMessage() const { return m_lastMessage; }

    // An upgrade under way cannot be closed: the probe would be left in its boot loader.
    void done(int result) override;

protected:
    // devicePath: the device the probe is on (KtPlatform::devicePath of the port name); the
    // dialog reopens the probe port on it after the upgrade.
    FirmwareUpgradeDialog(QWidget *parent, const QString &devicePath);
    // After setupUi: hides the base form, scales the dialog and shows the probe's version in
    // versionField when the probe port is open.
    void initForm(QLineEdit *versionField);
    // The "Open File" dialog for filter; a chosen file goes into fileField.
    void chooseFile(QLineEdit *fileField, const QString &filter);
    // Shows text in the log (red for a failure) and in the message dialog.
    void tell(const QString &text, bool failure);
    void closeEvent(QCloseEvent *event) override;

    const QString m_devicePath;
    bool m_busy = false;
    int m_linkBaud = 115200; // the link's speed before the upgrade, restored after it

private:
    QString m_lastMessage;
};
