#include "ktfirmwareupgrade.h"
#include "ui_ktfirmwareupgrade.h"

#include "bootloaderlink.h"
#include "bootloadersession.h"
#include "firmwareupgradecommon.h"
#include "portholder.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QThread>

namespace {
const QString Red = QStringLiteral("red");
const QString LoaderImagePath = QStringLiteral(":/boot/Boot.dat");
} // namespace

ktFirmwareUpgrade::ktFirmwareUpgrade(QWidget *parent, const QString &devicePath)
    : FirmwareUpgradeDialog(parent, devicePath), ui(new Ui::ktFirmwareUpgrade)
{
    ui->setupUi(this);
    initForm(ui->le_McuVersion);
}

ktFirmwareUpgrade::~ktFirmwareUpgrade()
{
    delete ui;
}

void ktFirmwareUpgrade::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    ktPublicConfig::changeEvent(event);
}

void ktFirmwareUpgrade::on_pbSelectBinFile_clicked()
{
    chooseFile(ui->le_BinFileName, QStringLiteral("*.bin"));
}

void ktFirmwareUpgrade::on_pbUpgrade_clicked()
{
    if (m_busy)
        return;
    m_busy = true;
    ui->pbUpgrade->setEnabled(false);
    ui->pbSelectBinFile->setEnabled(false);
    ui->gb_SyncMode->setEnabled(false);
    upgrade();
    m_busy = false;
    ui->pbUpgrade->setEnabled(true);
    ui->pbSelectBinFile->setEnabled(true);
    ui->gb_SyncMode->setEnabled(true);
}

void ktFirmwareUpgrade::upgrade()
{
    const QString failed = tr("Upgrade Failed!, please reboot device and try again!");
    const QString fileName = ui->le_BinFileName->text();
    if (fileName.isEmpty())
        return tell(tr("File is Empty, Please select first!"), true);
    if (!QFileInfo(fileName).isFile())
        return tell(tr("Bin File not exist, Please check!"), true);
    // The whole file is read and judged before the probe is touched: a file the boot loader
    // cannot take must not leave the probe waiting in its boot loader.
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return tell(tr("The firmware file cannot be read: %1").arg(file.errorString()), true);
    const QByteArray firmware = file.readAll();
    file.close();
    QFile loaderFile(LoaderImagePath);
    const QByteArray loader = loaderFile.open(QIODevice::ReadOnly) ? loaderFile.readAll() : QByteArray();
    BootLoaderSession session(loader, firmware);
    switch (session.problem()) {
    case BootLoaderSession::Problem::EmptyFirmware:
        return tell(tr("The firmware file is empty, Please check!"), true);
    case BootLoaderSession::Problem::FirmwareTooLarge:
        return tell(tr("The firmware file is too large: %1 bytes. The boot loader takes at most %2 bytes.")
                        .arg(firmware.size())
                        .arg(BootLoaderSession::MaxBlocks * BootLoaderSession::BlockSize - 1),
                    true);
    case BootLoaderSession::Problem::EmptyLoader:
        return tell(tr("The boot loader image is missing from this program."), true);
    default:
        break;
    }

    m_linkBaud = FirmwareUpgradeCommon::linkBaudRate();
    if (ui->rb_Auto->isChecked()) {
        if (usbOnlyProbe())
            return tell(tr("Upgrade File only by USB, Please check the COM!"), true);
        if (!FirmwareUpgradeCommon::reopenProbePort(m_devicePath, m_linkBaud) || !SendCOM1() || !SendUPD1())
            return tell(failed, true);
    }
    ui->progressBar->setValue(0);
    transfer(session);

    if (session.stage() == BootLoaderSession::Stage::Done) {
        const bool answered = reconnect();
        tell(answered ? tr("Upgrade success!")
                      : tr("The firmware was written and the probe restarted, but it does not answer "
                           "commands. Please reboot device and check its version."),
             !answered);
        return;
    }
    appendLog(BootLoaderSession::describe(session.problem()), Red);
    if (session.problem() == BootLoaderSession::Problem::NoRestartAnswer) {
        reconnect();
        return tell(tr("The firmware was written, but the probe did not answer after its restart. Please "
                       "reboot device and check its version."),
                    true);
    }
    tell(failed, true);
}

bool ktFirmwareUpgrade::usbOnlyProbe()
{
    return PortHolder::instance()->probePort()->isOpen() && FirmwareUpgradeCommon::usbOnly(this);
}

void ktFirmwareUpgrade::transfer(BootLoaderSession &session)
{
    // The transfer uses a port of its own on the worker thread; the program's probe port stays
    // closed meanwhile, and the main window's port poll leaves it alone.
    auto *hub = qobject_cast<ktPublicConfig *>(parentWidget());
    if (hub)
        hub->setBusyFlag(true);
    QSerialPort *port = PortHolder::instance()->probePort();
    if (port->isOpen())
        port->close();
    const QString pleaseWait = tr("Please wait!");
    auto onProgress = [this, pleaseWait](int value) {
        QMetaObject::invokeMethod(
            this,
            [this, value, pleaseWait] {
                ui->progressBar->setValue(value);
                if (value >= 50 && ui->le_McuVersion->text() != pleaseWait)
                    ui->le_McuVersion->setText(pleaseWait);
            },
            Qt::QueuedConnection);
    };
    BootLoaderLink::Result result;
    QThread *worker =
        QThread::create([&] { result = BootLoaderLink::run(session, m_devicePath, onProgress); });
    QEventLoop loop;
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    if (!result.portError.isEmpty())
        appendLog(result.portError, Red);
    if (hub)
        hub->setBusyFlag(false);
}

bool ktFirmwareUpgrade::reconnect()
{
    // Back at the speed the rest of the program talks to the probe, so the operator can go on.
    if (!FirmwareUpgradeCommon::reopenProbePort(m_devicePath, m_linkBaud))
        return false;
    if (!SendCOM1())
        return false;
    const QString version = FirmwareUpgradeCommon::readVersion(this);
    ui->le_McuVersion->setText(version);
    return !version.isEmpty();
}
