#include "firmwareupgradedialog.h"

#include "firmwareupgradecommon.h"
#include "ktmessagedlg.h"
#include "ktresources.h"
#include "ktscaling.h"
#include "portholder.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QSerialPort>

FirmwareUpgradeDialog::FirmwareUpgradeDialog(QWidget *parent, const QString &devicePath)
    : ktPublicConfig(parent), m_devicePath(devicePath)
{
    ktInitResources(); // before the derived dialog's setupUi, whose form uses the resources
}

void FirmwareUpgradeDialog::initForm(QLineEdit *versionField)
{
    hideBaseForm();
    KtScaling::apply(this);
    if (PortHolder::instance()->probePort()->isOpen())
        versionField->setText(FirmwareUpgradeCommon::readVersion(this));
}

void FirmwareUpgradeDialog::done(int result)
{
    if (!m_busy)
        ktPublicConfig::done(result);
}

void FirmwareUpgradeDialog::closeEvent(QCloseEvent *event)
{
    if (m_busy)
        event->ignore();
    else
        ktPublicConfig::closeEvent(event);
}

void FirmwareUpgradeDialog::chooseFile(QLineEdit *fileField, const QString &filter)
{
    const QString path = FirmwareUpgradeCommon::chooseFile(this, filter);
    if (!path.isEmpty())
        fileField->setText(path);
}

void FirmwareUpgradeDialog::tell(const QString &text, bool failure)
{
    m_lastMessage = text;
    appendLog(text, failure ? QStringLiteral("red") : QStringLiteral("green"));
    messageDialog()->setMessage(text, false, true);
    messageDialog()->exec();
}
