#include "ktserialportsetting.h"
#include "ui_ktserialportsetting.h"

#include "ktcfgdata.h"
#include "ktmessagedlg.h"
#include "ktplatform.h"
#include "ktprogramlog.h"
#include "ktscaling.h"
#include "ktsettings.h"
#include "portholder.h"

#include <QFileInfo>
#include <QListView>

namespace {
const QString Green = QStringLiteral("green");
const QString Red = QStringLiteral("red");
} // namespace

ktSerialPortSetting::ktSerialPortSetting(QWidget *parent) : QDialog(parent), ui(new Ui::ktSerialPortSetting)
{
    ui->setupUi(this);
    ui->cbDVXCom->setView(new QListView(ui->cbDVXCom));
    KtScaling::apply(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    m_messageDialog = new ktMessageDlg(this);
    m_autoReopen = false;
    m_factoryVisible = false;
    UpdateSerialPortLst();
    ReadSysConfig();
    connect(&m_listTimer, &QTimer::timeout, this, &ktSerialPortSetting::UpdateSerialPortLst);
    m_listTimer.start(1000);
}

ktSerialPortSetting::~ktSerialPortSetting()
{
    delete ui;
}

QString ktSerialPortSetting::lightStyle(const QString &name)
{
    const auto gradient = [](const char *first) {
        return QStringLiteral(
                   "background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:1, y2:1, stop:0 %1, "
                   "stop:1 rgba(255, 255, 255, 255));")
            .arg(QLatin1String(first));
    };
    if (name == QLatin1String("RED"))
        return gradient("rgba(255, 0, 0, 255)");
    if (name == QLatin1String("GREEN"))
        return gradient("rgba(0, 255, 0, 255)");
    if (name == QLatin1String("BLACK"))
        return gradient("rgba(0, 0, 0, 255)");
    if (name == QLatin1String("GRAY"))
        return QStringLiteral("border-width: 1px;\nborder-style: solid; \nborder-color: black;\n") +
               gradient("rgba(0, 0, 0, 255)");
    return QString();
}

QSerialPort::Parity ktSerialPortSetting::parityFromText(const QString &text)
{
    if (text == QLatin1String("Even"))
        return QSerialPort::EvenParity;
    if (text == QLatin1String("Odd"))
        return QSerialPort::OddParity;
    return QSerialPort::NoParity;
}

QString ktSerialPortSetting::storedParity(const QString &text)
{
    if (text == QLatin1String("Even"))
        return QStringLiteral("2");
    if (text == QLatin1String("Odd"))
        return QStringLiteral("3");
    return QStringLiteral("0");
}

bool ktSerialPortSetting::selectPort(const QString &name)
{
    const int index = ui->cbDVXCom->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    ui->cbDVXCom->setCurrentIndex(index);
    return true;
}

void ktSerialPortSetting::openPort(const QString &name)
{
    UpdateSerialPortLst();
    if (selectPort(name))
        on_pbopenport_clicked();
}

void ktSerialPortSetting::setLight(const QString &name)
{
    ui->pbportstatus->setStyleSheet(lightStyle(name));
}

void ktSerialPortSetting::log(const QString &text, const QString &colour)
{
    ktProgramLog::instance()->log(text, colour);
}

QString ktSerialPortSetting::currentDevicePath() const
{
    return KtPlatform::devicePath(ui->cbDVXCom->currentText());
}

void ktSerialPortSetting::ReadSysConfig()
{
    QSerialPort *port = PortHolder::instance()->probePort();
    if (QFileInfo::exists(KtSettings::configIniPath())) {
        const KtSettings::SysConfig cfg = KtSettings::readSysConfig();
        if (cfg.single)
            ktCfgData::instance()->setProbeMode(0);
        else if (cfg.dual)
            ktCfgData::instance()->setProbeMode(1);
        ktCfgData::instance()->setUplayerDebug(cfg.uplayerDebug);
        m_factoryVisible =
            KtSettings::readIni(KtSettings::configIniPath(), KtSettings::Key::ConfigFactoryCalibrationVisible)
                .toBool();

        // Windows stores the COM number; here the stored value is the port name itself.
        selectPort(KtPlatform::portNameFromStored(cfg.dvxComText));
        ui->cbBaudRate->setCurrentIndex(ui->cbBaudRate->findText(QString::number(cfg.baudRate),
                                                                 Qt::MatchExactly | Qt::MatchCaseSensitive));
        const QString parity = cfg.testMethods == 2   ? QStringLiteral("Even")
                               : cfg.testMethods == 3 ? QStringLiteral("Odd")
                               : cfg.testMethods == 0 ? QStringLiteral("None")
                                                      : QString();
        if (!parity.isEmpty())
            ui->cbTestMethods->setCurrentIndex(ui->cbTestMethods->findText(parity));
        ui->le_Databits->setText(QString::number(cfg.databits));
        ui->le_Stopbits->setText(QString::number(cfg.stopbits));
    }
    setLight(port->isOpen() ? QStringLiteral("GREEN") : QStringLiteral("RED"));
}

void ktSerialPortSetting::UpdateSerialPortLst()
{
    const QStringList names = KtPlatform::availablePorts();
    if (names == m_portNames) {
        on_cbDVXCom_currentIndexChanged(ui->cbDVXCom->currentText());
        return;
    }
    m_portNames = names;
    QStringList sorted = names;
    sorted.sort();
    const QString shown = ui->cbDVXCom->currentText();
    {
        const QSignalBlocker blocker(ui->cbDVXCom);
        ui->cbDVXCom->clear();
        ui->cbDVXCom->addItems(sorted);
        int index = ui->cbDVXCom->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
        // The shown port may be blank because the probe was unplugged: bring back the port that
        // was in use, so that the reopen below sees its name again.
        if (index < 0 && !m_lastPort.isEmpty())
            index = ui->cbDVXCom->findText(m_lastPort, Qt::MatchExactly | Qt::MatchCaseSensitive);
        // A shown port that vanished is not silently swapped for another one (with several
        // ports present that would make the other one the "last port" and defeat the reopen).
        if (index < 0 && shown.isEmpty() && !sorted.isEmpty())
            index = 0;
        ui->cbDVXCom->setCurrentIndex(index);
    }
    on_cbDVXCom_currentIndexChanged(ui->cbDVXCom->currentText());
}

void ktSerialPortSetting::on_cbDVXCom_currentIndexChanged(QString text)
{
    if (text.isEmpty())
        return;
    if (text == m_lastPort) {
        if (!PortHolder::instance()->probePort()->isOpen() && m_autoReopen &&
            !(m_reopenSuspended && m_reopenSuspended()))
            openSelectedPort(true);
        return;
    }
    m_lastPort = text;
}

void ktSerialPortSetting::on_pbopenport_clicked()
{
    openSelectedPort(false);
}

void ktSerialPortSetting::openSelectedPort(bool automatic)
{
    QSerialPort *port = PortHolder::instance()->probePort();
    const QString path = currentDevicePath();
    if (port->isOpen()) {
        // The port that is open, which need not be the one selected in the list.
        log(tr("Port is open status now: %1!").arg(KtPlatform::devicePath(port->portName())), Green);
        setLight(QStringLiteral("GREEN"));
        return;
    }
    port->setPortName(path);
    port->setBaudRate(ui->cbBaudRate->currentText().toInt(), QSerialPort::AllDirections);
    port->setDataBits(static_cast<QSerialPort::DataBits>(ui->le_Databits->text().toInt()));
    port->setStopBits(static_cast<QSerialPort::StopBits>(ui->le_Stopbits->text().toInt()));
    port->setParity(parityFromText(ui->cbTestMethods->currentText()));
    if (port->open(QIODevice::ReadWrite)) {
        connect(port, &QSerialPort::errorOccurred, this, &ktSerialPortSetting::handleSerialError,
                Qt::UniqueConnection);
        log(tr("Open serial port succeed: %1!").arg(path), Green);
        setLight(QStringLiteral("GREEN"));
        m_autoReopen = true;
        m_reopenFailureLogged = false;
    } else {
        // A reopen that keeps failing (another program holds the device) is retried every
        // second; the log gets its first failure, not one red line a second.
        if (!automatic || !m_reopenFailureLogged)
            log(tr("Open serial port failed: %1 error: %2!").arg(path, port->errorString()), Red);
        m_reopenFailureLogged = automatic;
        setLight(QStringLiteral("RED"));
    }
}

void ktSerialPortSetting::on_pbcloseport_clicked()
{
    QSerialPort *port = PortHolder::instance()->probePort();
    port->close();
    setLight(QStringLiteral("RED"));
    log(tr("Close serial port succeed: %1!").arg(currentDevicePath()), Green);
    m_autoReopen = false;
}

void ktSerialPortSetting::handleSerialError(QSerialPort::SerialPortError error)
{
    QSerialPort *port = PortHolder::instance()->probePort();
    // Only a vanished device closes the port (ResourceError on Windows; see the platform
    // layer for how Linux reports it). Closing may report again: handle it once.
    if (!port->isOpen() || !KtPlatform::serialDeviceGone(port, error))
        return;
    const QString path = port->portName();
    port->close();
    setLight(QStringLiteral("RED"));
    log(tr("Close serial port succeed: %1!").arg(path), Green);
}

void ktSerialPortSetting::on_pbsave_clicked()
{
    const QString parity = ui->cbTestMethods->currentText();
    // One write for all keys: the file holds either all of them or stays as it was.
    const KtSettings::Values values = {
        {KtSettings::Key::DVXCom, KtPlatform::storedPortValue(ui->cbDVXCom->currentText())},
        {KtSettings::Key::BaudRate, ui->cbBaudRate->currentText().toInt()},
        {KtSettings::Key::Databits, ui->le_Databits->text()},
        {KtSettings::Key::TestMethods, storedParity(parity)},
        {KtSettings::Key::Stopbits, ui->le_Stopbits->text()},
        {KtSettings::Key::ConfigFactoryCalibrationVisible,
         m_factoryVisible ? QStringLiteral("true") : QStringLiteral("false")},
    };
    QString error;
    const bool saved = KtSettings::writeIniValues(KtSettings::configIniPath(), values, &error);
    QSerialPort *port = PortHolder::instance()->probePort();
    port->close();
    // Saving leaves the port closed so that it is opened again, by the operator, with the new
    // settings: without this the next list refresh would reopen it at once.
    m_autoReopen = false;
    setLight(port->isOpen() ? QStringLiteral("GREEN") : QStringLiteral("RED"));
    m_messageDialog->setMessage(
        saved ? tr("Save successfully!") : tr("Save failed!") + QLatin1Char('\n') + error, false, true);
    m_messageDialog->exec();
}

void ktSerialPortSetting::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QDialog::changeEvent(event);
}
