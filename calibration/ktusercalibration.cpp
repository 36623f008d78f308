#include "ktusercalibration.h"
#include "ui_ktusercalibration.h"

#include "ktmessagedlg.h"
#include "ktpaths.h"
#include "ktscaling.h"
#include "ktsettings.h"
#include "ktusercalihelp.h"
#include "pagelog.h"
#include "portholder.h"

#include <QDateTime>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSerialPort>
#include <QSignalBlocker>

using namespace Calibration;

namespace {
const QString Green = QStringLiteral("green");
const QString Red = QStringLiteral("red");

// Field texts are read as single-precision numbers, as the probe keeps them.
double fieldValue(const QLineEdit *le)
{
    return double(le->text().toFloat());
}
} // namespace

KTUserCalibration::KTUserCalibration(QWidget *parent)
    : ktCalibrationPage(tr("file (*.userRef)"), parent), ui(new Ui::KTUserCalibrationForm)
{
    setWindowTitle(tr("UserCalibration"));
    ui->setupUi(body());
    for (int ch = 1; ch <= 99; ++ch)
        ui->cb_memorychannnel->addItem(channelText(ch));
    connect(ui->gb_ref1, &QGroupBox::toggled, this, &KTUserCalibration::CheckeboxChanged);
    connect(&m_delayTimer, &QTimer::timeout, this, &KTUserCalibration::DelayTriggel);
    attachForm();
    HideError(true);
    HideSetting(true);
    setButtonsEnabled(false);
}

KTUserCalibration::~KTUserCalibration()
{
    delete ui;
}

PageLog *KTUserCalibration::logView()
{
    return ui ? ui->textLog : ktPublicConfig::logView();
}

void KTUserCalibration::setButtonsEnabled(bool on)
{
    for (QPushButton *b :
         {ui->pbmes1, ui->pbmes2, ui->pbmes3, ui->pbmes4, ui->pbmes5, ui->pb_ShowCHInfo, ui->pbDownload})
        b->setEnabled(on);
}

// ---- reset and read ---------------------------------------------------------------------------

void KTUserCalibration::reset()
{
    setButtonsEnabled(false);
    HideError(true);
    HideSetting(true);
    m_downloading = false;
    m_allowChannel00Replace = true;
    resetTables();
    QTimer::singleShot(100, this, [this] { pbRead_clicked(); });
}

bool KTUserCalibration::pbRead_clicked()
{
    const QSignalBlocker block(ui->cb_memorychannnel);
    m_reading = true;
    bool ok = false;
    QString data;
    if (!portOpen()) {
        appendLog(tr("Serial port is not opened!"), Red);
    } else if (!SendRPR(&m_deviceId)) {
        appendLog(tr("Read Device ID failed!"), Red);
    } else if (!SendSTR(QStringLiteral("3"), &data)) {
        appendLog(tr("Read memory channel failed!"), Red);
    } else {
        int n = data.section(',', 0, 0).toInt();
        m_probeChannel = n;
        m_currentChannel = channelText(n);
        bool moved = true;
        // Only the read that follows a reset moves the probe off channel 00: later reads follow
        // other pages' channel changes, and a dialog that works on channel 00 must keep it.
        const bool replace = m_allowChannel00Replace;
        m_allowChannel00Replace = false;
        if (n == 0) {
            n = 1;
            if (replace) {
                moved = SendMCH(QStringLiteral("01"));
                if (!moved) {
                    appendLog(tr("Set memory channel failed!"), Red);
                } else {
                    m_probeChannel = 1;
                    m_currentChannel = channelText(1);
                }
            }
        }
        if (moved) {
            ui->cb_memorychannnel->setCurrentIndex(n - 1);
            ok = true;
            QString name;
            if (!m_downloading) {
                if (SendCMR11(&name))
                    ui->le_memorychannelname->setText(name);
                else
                    appendLog(tr("Read memory channel name failed!"), Red);
            }
            for (int i = 0; i < 9 && ok; ++i) {
                QString value;
                ok = SendCMR(QString::number(i), &value);
                if (ok)
                    matrixField(i)->setText(value);
                else
                    appendLog(tr("Read color matrix parameter %1 failed!").arg(i), Red);
            }
            ui->gb_para->setTitle(tr("Para (Read ") + ui->cb_memorychannnel->currentText() + ')');
        }
    }
    setButtonsEnabled(true);
    m_reading = false;
    return ok;
}

void KTUserCalibration::Slot_UpdateCtrl()
{
    if (m_reading)
        return; // this page's own move from channel 00 inside a read
    pbRead_clicked();
    clearMeasurements();
}

void KTUserCalibration::DelayTriggel()
{
    if (m_currentChannel.contains(QLatin1String("00")) && portOpen() && !readerBusy()) {
        if (!changeChannel(QStringLiteral("01")))
            appendLog(tr("Set memory channel failed!"), Red);
    }
}

bool KTUserCalibration::changeChannel(const QString &two)
{
    m_reading = true; // the read that follows is this page's own
    const bool ok = SendMCH(two);
    m_reading = false;
    if (ok) {
        m_probeChannel = two.toInt();
        m_currentChannel = channelText(m_probeChannel);
    }
    return ok;
}

void KTUserCalibration::changeEvent(QEvent *event)
{
    ktPublicConfig::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(body());
        setWindowTitle(tr("UserCalibration"));
        HideError(m_errorHidden);
        HideSetting(m_settingHidden);
        relabel();
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        DelayTriggel();
    }
}

// ---- generation and download ------------------------------------------------------------------

bool KTUserCalibration::pbGenerate_clicked()
{
    const int G = groupCount();
    const Generated g = generate(table(false), table(true), mode(), G, computedCount(), measuredGroups());
    if (!g.ok()) {
        fail(problemText(g.problem));
        focusOutOfRange(g.problem);
        return false;
    }
    showErrors(g.errors);
    if (!pbRead_clicked())
        return false; // no matrix to compose with
    Values9 before{};
    for (int i = 0; i < 9; ++i) {
        before[size_t(i)] = fieldValue(matrixField(i));
        m_beforeTexts[size_t(i)] = matrixField(i)->text();
    }
    const Eigen::Matrix3d F = compose(g.weight, toMatrix(before));
    appendCompositionLog(QStringLiteral("log.txt"), toMatrix(before), g.weight);
    showGeneratedMatrix(F);
    return true;
}

void KTUserCalibration::on_pbDownload_clicked()
{
    m_downloading = true;
    const auto done = qScopeGuard([this] { m_downloading = false; });
    if (!pbGenerate_clicked())
        return;
    if (!isUserChannel(m_probeChannel)) {
        fail(tr("MCH00 holds the factory calibration and is never a download destination!"));
        return;
    }
    const std::array<QString, 9> matrix = matrixTexts();
    QVector<QPair<int, QString>> extra = whiteParameters();
    extra.append({11, ui->le_memorychannelname->text()});
    extra.append({12, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))});
    ChannelLink link;
    // The probe answers a white reference it cannot hold with ER10, which the download accepts.
    link.write = [this](int p, const QString &v) {
        return SendCMW(QString::number(p), v, p >= 14 && p <= 16);
    };
    link.read = [this](int p, QString *v) { return SendCMR(QString::number(p), v); };
    const WriteOutcome outcome = writeChannel(link, matrix, m_beforeTexts, extra);
    if (!outcome.ok()) {
        fail(outcomeText(outcome));
        return;
    }
    const QString record = downloadRecordPath(KtPlatform::appDir(), QDate::currentDate(), m_deviceId,
                                              ui->cb_memorychannnel->currentText());
    QString error;
    if (!saveIni(record, sections(), &error))
        appendLog(tr("Export data file %1 failed!").arg(record) + ' ' + error, Red);
    appendLog(outcomeText(outcome), Green);
    showMessage(outcomeText(outcome));
}

// ---- files ------------------------------------------------------------------------------------

QVector<Section> KTUserCalibration::sections() const
{
    QVector<Section> out = groupSections(true);
    Section before{QStringLiteral("MatrixParaData_Before"), {}}, para{QStringLiteral("MatrixParaData"), {}};
    const QStringList mk = matrixKeys();
    for (int i = 0; i < 9; ++i) {
        before.values.append({mk[i], QString::number(m_beforeTexts[size_t(i)].toDouble(), 'g', 6)});
        para.values.append({mk[i], matrixField(i)->text()});
    }
    return out << before << para;
}

// ---- settings, groups, channel ----------------------------------------------------------------

void KTUserCalibration::on_pbHideError_clicked()
{
    HideError(!m_errorHidden);
}

void KTUserCalibration::HideError(bool bStatus)
{
    m_errorHidden = bStatus;
    ui->gb_error->setVisible(!bStatus);
    ui->pbHideError->setText(bStatus ? tr("Show Error") : tr("Hide Error"));
}

void KTUserCalibration::on_pbSetting_clicked()
{
    HideSetting(!m_settingHidden);
}

void KTUserCalibration::HideSetting(bool bStatus)
{
    m_settingHidden = bStatus;
    ui->groupBox_Setting->setVisible(!bStatus);
    ui->pbSetting->setText(bStatus ? tr("Show Set") : tr("Hide Set"));
}

void KTUserCalibration::CheckeboxChanged(bool checked)
{
    if (!checked)
        ui->gb_ref1->setChecked(true);
}

void KTUserCalibration::on_pbHelp_clicked()
{
    ktUserCaliHelp help(QStringLiteral(":/Tintora/Resources/calihelp.png"), this);
    help.exec();
}
