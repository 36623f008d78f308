#include "ktfirmwareupgradearm.h"
#include "ui_ktfirmwareupgradearm.h"

#include "dfuoutput.h"
#include "firmwareupgradecommon.h"
#include "ktplatform.h"
#include "portholder.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QSerialPort>
#include <QTimer>

namespace {
const QString Green = QStringLiteral("green");
const QString Red = QStringLiteral("red");
} // namespace

ktFirmwareUpgradeArm::ktFirmwareUpgradeArm(QWidget *parent, const QString &devicePath)
    : FirmwareUpgradeDialog(parent, devicePath), ui(new Ui::ktFirmwareUpgradeArm)
{
    ui->setupUi(this);
    initForm(ui->le_McuVersion);
}

ktFirmwareUpgradeArm::~ktFirmwareUpgradeArm()
{
    delete ui;
}

void ktFirmwareUpgradeArm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    ktPublicConfig::changeEvent(event);
}

void ktFirmwareUpgradeArm::on_pbSelectBinFile_clicked()
{
    chooseFile(ui->le_BinFileName, QStringLiteral("*.dfu"));
}

void ktFirmwareUpgradeArm::on_le_BinFileName_textChanged(const QString &text)
{
    ui->pbUpgrade->setEnabled(!text.isEmpty() && !m_busy);
}

void ktFirmwareUpgradeArm::on_pbUpgrade_clicked()
{
    if (m_busy)
        return;
    m_busy = true;
    ui->pbUpgrade->setEnabled(false);
    ui->pbSelectBinFile->setEnabled(false);
    ui->le_BinFileName->setReadOnly(true);
    upgrade();
    m_busy = false;
    ui->le_BinFileName->setReadOnly(false);
    ui->pbSelectBinFile->setEnabled(true);
    ui->pbUpgrade->setEnabled(!ui->le_BinFileName->text().isEmpty());
}

void ktFirmwareUpgradeArm::upgrade()
{
    // The output stays hidden while the tool runs (it still collects), as the progress bar is
    // what the operator follows.
    ui->textEdit->hide();
    const QString file = ui->le_BinFileName->text();
    if (!QFileInfo(file).isFile()) {
        ui->textEdit->show();
        return tell(tr("Bin File not exist, Please check!"), true);
    }
    QSerialPort *port = PortHolder::instance()->probePort();
    m_portWasOpen = port->isOpen();
    m_linkBaud = FirmwareUpgradeCommon::linkBaudRate();
    if (m_portWasOpen && FirmwareUpgradeCommon::usbOnly(this)) {
        ui->textEdit->show();
        return tell(tr("Upgrade File only by USB, Please check the COM!"), true);
    }
    const QString program = KtPlatform::dfuToolPath();
    if (program.isEmpty()) {
        ui->textEdit->show();
        return tell(tr("The DFU tool was not found. Install dfu-util, or name the tool in the environment "
                       "variable KT_DFU_TOOL."),
                    true);
    }
    const QString version = ui->le_McuVersion->text();
    if (!version.isEmpty()) {
        bool isNumber = false;
        const int build = version.right(4).toInt(&isNumber);
        if (isNumber && build >= FirstDfuCommandBuild) {
            SendUDP();
            FirmwareUpgradeCommon::waitResponsive(1000);
        } else {
            showManualInstructions();
        }
    }
    // The probe left for DFU mode: the shared port's device has gone, and the main window's poll
    // must not try it until the probe is back.
    auto *hub = qobject_cast<ktPublicConfig *>(parentWidget());
    if (hub)
        hub->setBusyFlag(true);
    if (port->isOpen())
        port->close();
    const bool written = runTool(program, file);
    if (hub)
        hub->setBusyFlag(false);
    tell(written ? tr("Upgrade successful !") : tr("Upgrade failed !"), !written);
    ui->textEdit->show();
    updateVersion();
}

void ktFirmwareUpgradeArm::showManualInstructions()
{
    const QStringList lines = {
        tr("Please follow the steps below in order to manually execute the following operations:"),
        tr("1. First, disconnect the power supply for KR4."),
        tr("2. Then, hold down the zero adjustment button and keep it pressed."),
        tr("3. Next, reconnect the power supply."),
        tr("4. After 8 seconds, release the zero adjustment button.")};
    QString html;
    for (const QString &line : lines)
        html += QStringLiteral("<p>") + line.toHtmlEscaped() + QStringLiteral("</p>");
    QMessageBox box(QMessageBox::NoIcon, tr("Message"), html, QMessageBox::Ok, this);
    box.setTextFormat(Qt::RichText);
    box.exec();
}

bool ktFirmwareUpgradeArm::runTool(const QString &program, const QString &file)
{
    const DfuOutput::Tool tool = DfuOutput::toolFor(program);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QString output;
    QEventLoop loop;
    connect(&process, &QProcess::readyRead, this, [&] {
        output += QString::fromLocal8Bit(process.readAll());
        ui->textEdit->setPlainText(DfuOutput::displayText(output));
        const DfuOutput::Reading r = DfuOutput::read(tool, output);
        if (r.phase != DfuOutput::Phase::None) {
            ui->progressBar->setFormat(r.phase == DfuOutput::Phase::Erase ? tr("Erase Phase %p%")
                                                                          : tr("Download Phase %p%"));
            if (r.percent >= 0)
                ui->progressBar->setValue(qBound(0, r.percent, 100));
        }
        // Without a device the tool gets no further; some versions wait for one to appear.
        if (r.noDevice)
            process.kill();
    });
    connect(&process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), &loop, &QEventLoop::quit);
    connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            output += process.errorString();
            loop.quit();
        }
    });
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &process, [&] {
        appendLog(tr("The DFU tool did not finish in time and was stopped."), Red);
        process.kill();
    });
    ui->progressBar->setFormat(QStringLiteral("%p%"));
    ui->progressBar->setValue(0);
    appendLog(program + QLatin1Char(' ') + DfuOutput::arguments(tool, file).join(QLatin1Char(' ')), Green);
    process.start(program, DfuOutput::arguments(tool, file));
    limit.start(DfuOutput::ToolTimeLimitMs);
    if (process.state() != QProcess::NotRunning || process.error() != QProcess::FailedToStart)
        loop.exec();
    if (process.state() != QProcess::NotRunning)
        process.waitForFinished(3000);
    output += QString::fromLocal8Bit(process.readAll());
    ui->textEdit->setPlainText(DfuOutput::displayText(output));
    return process.error() != QProcess::FailedToStart &&
           DfuOutput::succeeded(tool, output, process.exitStatus() == QProcess::NormalExit,
                                process.exitCode());
}

void ktFirmwareUpgradeArm::updateVersion()
{
    if (!m_portWasOpen)
        return;
    // After DFU the probe comes back under the same device; give it up to 10 s, then a second
    // to start its firmware.
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(m_devicePath) && waited.elapsed() < 10000)
        FirmwareUpgradeCommon::waitResponsive(500);
    FirmwareUpgradeCommon::waitResponsive(1000);
    if (FirmwareUpgradeCommon::reopenProbePort(m_devicePath, m_linkBaud))
        ui->le_McuVersion->setText(FirmwareUpgradeCommon::readVersion(this));
}
