#include "ktfactorycalibration.h"
#include "ui_ktfactorycalibration.h"

#include "pagelog.h"

#include <QDateTime>
#include <QSignalBlocker>

using namespace Calibration;

namespace {
const QString Green = QStringLiteral("green");
const QString Red = QStringLiteral("red");
constexpr int Gains = 8; // the gains the probe holds; the ninth field is not sent
} // namespace

KTFactoryCalibration::KTFactoryCalibration(QWidget *parent)
    : ktCalibrationPage(tr("file (*.factoryRef)"), parent), ui(new Ui::KTFactoryCalibrationForm)
{
    setWindowTitle(tr("FactoryCalibration"));
    ui->setupUi(body());
    // Combo index n is channel n: entry 0 is the factory channel 00.
    ui->cb_memorychannnel->addItem(QStringLiteral("ALL0%1").arg(0));
    for (int ch = 1; ch <= 99; ++ch)
        ui->cb_memorychannnel->addItem(ch < 10 ? QStringLiteral("MCH0%1").arg(ch)
                                               : QStringLiteral("MCH%1").arg(ch));
    ui->dateTimeEdit->setDateTime(QDateTime::currentDateTime());
    attachForm();
    ui->le_mestimes->setText(QStringLiteral("10"));
    m_displayMode = QStringLiteral("0");
    ui->pbRead->setEnabled(false);
    ui->pb_ShowCHInfo->setEnabled(false);
}

KTFactoryCalibration::~KTFactoryCalibration()
{
    delete ui;
}

PageLog *KTFactoryCalibration::logView()
{
    return ui ? ui->textLog : ktPublicConfig::logView();
}

QLineEdit *KTFactoryCalibration::gainField(int k) const
{
    return body()->findChild<QLineEdit *>(QStringLiteral("le_VariableGain_%1").arg(k));
}

void KTFactoryCalibration::setButtonsEnabled(bool on)
{
    for (QPushButton *b :
         {ui->pbmes1, ui->pbmes2, ui->pbmes3, ui->pbmes4, ui->pbmes5, ui->pbRead, ui->pb_ShowCHInfo})
        b->setEnabled(on);
}

void KTFactoryCalibration::changeEvent(QEvent *event)
{
    ktPublicConfig::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(body());
        setWindowTitle(tr("FactoryCalibration"));
        relabel();
    }
}

void KTFactoryCalibration::on_pbLogClear_clicked()
{
    ui->textLog->clear();
}

// ---- reset and read ---------------------------------------------------------------------------

void KTFactoryCalibration::reset()
{
    setButtonsEnabled(false);
    ui->textLog->clear();
    resetTables();
    QTimer::singleShot(100, this, [this] { on_pbRead_clicked(); });
}

bool KTFactoryCalibration::readMatrix(std::array<QString, 9> *texts)
{
    for (int i = 0; i < 9; ++i) {
        if (!SendCMR(QString::number(i), &(*texts)[size_t(i)])) {
            appendLog(tr("Read color matrix parameter %1 failed!").arg(i), Red);
            return false;
        }
    }
    return true;
}

bool KTFactoryCalibration::on_pbRead_clicked()
{
    const QSignalBlocker block(ui->cb_memorychannnel);
    m_reading = true;
    bool ok = false;
    QString data;
    if (!portOpen()) {
        appendLog(tr("Serial port is not opened!"), Red);
    } else if (!SendSTR(QStringLiteral("3"), &data)) {
        appendLog(tr("Read memory channel failed!"), Red);
    } else {
        const int n = int(data.section(',', 0, 0).toUInt());
        if (n < ui->cb_memorychannnel->count())
            ui->cb_memorychannnel->setCurrentIndex(n);
        m_probeChannel = n;
        m_currentChannel = ui->cb_memorychannnel->currentText();
        QString text;
        if (SendCMR11(&text))
            ui->le_memorychannelname->setText(text);
        else
            appendLog(tr("Read memory channel name failed!"), Red);
        if (SendCMR(QStringLiteral("12"), &text)) {
            const bool withTime = text.contains(':');
            ui->dateTimeEdit->setDateTime(QDateTime::fromString(
                text, withTime ? QStringLiteral("yyyy-MM-dd hh:mm:ss") : QStringLiteral("yyyy-MM-dd")));
        } else {
            appendLog(tr("Read date failed!"), Red);
        }
        if (!SendFCS(QStringLiteral("1")))
            appendLog(tr("Set factory mode failed!"), Red);
        std::array<QString, 9> matrix;
        ok = readMatrix(&matrix);
        if (ok)
            for (int i = 0; i < 9; ++i)
                matrixField(i)->setText(matrix[size_t(i)]);
        ui->gb_para->setTitle(tr("Para (Read ") + ui->cb_memorychannnel->currentText() + ')');
        // ER84 (gains never set since an erase) is an answer too; it carries no values.
        QString gains;
        if (SendRGM(&gains)) {
            const QStringList parts = gains.split(';');
            for (int k = 0; k < Gains && k < parts.size(); ++k)
                if (!parts[k].isEmpty())
                    gainField(k + 1)->setText(parts[k]);
        } else {
            appendLog(tr("Read variable gain failed!"), Red);
        }
    }
    setButtonsEnabled(true);
    m_reading = false;
    return ok;
}

void KTFactoryCalibration::Slot_UpdateCtrl()
{
    if (m_reading)
        return;
    on_pbRead_clicked();
    clearMeasurements();
}

// ---- measuring, generating --------------------------------------------------------------------

bool KTFactoryCalibration::beforeReading()
{
    if (ui->chb_ReGen->isChecked())
        return true; // through the channel's matrix: the result is composed with it
    if (!SendRAW()) {
        appendLog(tr("Set raw mode failed!"), Red);
        return false;
    }
    if (!SendFCS(QStringLiteral("0"))) {
        appendLog(tr("Set factory mode failed!"), Red);
        return false;
    }
    return true;
}

void KTFactoryCalibration::on_chb_ReGen_toggled(bool bState)
{
    // Re-generation measures through the channel's matrix: a probe left in raw output by
    // earlier raw readings must leave it, or the composition would use raw readings.
    if (bState && portOpen() && !SendFCS(QStringLiteral("1")))
        appendLog(tr("Set factory mode failed!"), Red);
}

bool KTFactoryCalibration::on_pbGenerate_clicked()
{
    const Generated g = generate(table(false), table(true), mode(), groupCount(), computedCount(),
                                 measuredGroups(), Calculator::Factory);
    if (!g.ok()) {
        fail(problemText(g.problem));
        focusOutOfRange(g.problem);
        return false;
    }
    showErrors(g.errors);
    Eigen::Matrix3d F = g.weight;
    if (ui->chb_ReGen->isChecked()) {
        // The readings went through the channel's matrix M: the new one is W·M.
        if (!on_pbRead_clicked())
            return false;
        Values9 before{};
        for (int i = 0; i < 9; ++i)
            before[size_t(i)] = double(matrixField(i)->text().toFloat());
        F = compose(g.weight, toMatrix(before));
        appendCompositionLog(QStringLiteral("log.txt"), toMatrix(before), g.weight);
    }
    showGeneratedMatrix(F);
    return true;
}

// ---- download ---------------------------------------------------------------------------------

bool KTFactoryCalibration::factoryGuard(bool always)
{
    if (!always && !ui->cb_memorychannnel->currentText().contains(QLatin1String("00")))
        return true;
    if (SendFCS(QStringLiteral("0")))
        return true;
    m_guardFailed = true;
    return false;
}

QString KTFactoryCalibration::gainsText() const
{
    // A gain of 0 would switch a sensor channel off: it is sent as 1.
    QString out;
    for (int k = 1; k <= Gains; ++k) {
        const QString text = gainField(k)->text().trimmed();
        out += (text.toDouble() == 0.0 ? QStringLiteral("1") : text) + ';';
    }
    return out;
}

void KTFactoryCalibration::on_pbDownload_clicked()
{
    if (!portOpen()) {
        fail(tr("Serial port is not opened!"));
        return;
    }
    // The channel's present matrix is what a failed download puts back.
    std::array<QString, 9> before;
    if (!readMatrix(&before)) {
        showMessage(tr("Download color matrix parameter failed!"));
        return;
    }
    QVector<QPair<int, QString>> extra = whiteParameters();
    extra.append({11, ui->le_memorychannelname->text()});
    extra.append({12, ui->dateTimeEdit->dateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))});
    m_guardFailed = false;
    ChannelLink link;
    link.write = [this](int p, const QString &v) {
        // The date is always preceded by the factory switch; channel 00 takes nothing without it.
        if (!factoryGuard(p == 12))
            return false;
        return SendCMW(QString::number(p), v, p >= 14 && p <= 16);
    };
    link.read = [this](int p, QString *v) { return SendCMR(QString::number(p), v); };
    const WriteOutcome outcome = writeChannel(link, matrixTexts(), before, extra);
    if (!outcome.ok()) {
        if (m_guardFailed) {
            appendLog(outcomeText(outcome), Red);
            fail(tr("Set factory mode failed!"));
        } else {
            fail(outcomeText(outcome));
        }
        return;
    }
    if (!factoryGuard(false) || !SendRGU(gainsText())) {
        fail(m_guardFailed ? tr("Set factory mode failed!") : tr("WriteVariableGain error!"));
        return;
    }
    appendLog(outcomeText(outcome), Green);
    showMessage(outcomeText(outcome));
    clearMeasurements();
}

// ---- erase and gain adjustment ----------------------------------------------------------------

void KTFactoryCalibration::on_pbEraseFlash_clicked()
{
    if (!confirm(tr("All settings will be erased, are you sure?")) ||
        !confirm(tr("All settings will be erased, please confirm again!")))
        return;
    if (SendCLR())
        appendLog(tr("Erase flash succeed!"), Green);
    else
        appendLog(tr("Erase flash time out!"), Red);
}

void KTFactoryCalibration::on_pbRGE_clicked()
{
    appendLog(tr("Please set the device top of display, and turn on display!"), Green);
    showMessage(tr("Please set the device top of display, and tune brightness to white 400nit!"));
    if (SendRGE())
        appendLog(tr("RGE succeed!"), Green);
    else
        appendLog(tr("RGE time out!"), Red);
}

// ---- result files -----------------------------------------------------------------------------

void KTFactoryCalibration::on_pbExportResult_clicked()
{
    const QString path = savePath(tr("file (*.factoryResult)"));
    if (path.isEmpty())
        return;
    Section para{QStringLiteral("MatrixParaData"), {}}, gains{QStringLiteral("VGData"), {}};
    const QStringList mk = matrixKeys();
    for (int i = 0; i < 9; ++i)
        para.values.append({mk[i], matrixField(i)->text()});
    for (int k = 1; k <= Gains; ++k)
        gains.values.append({gainField(k)->objectName().right(2), gainField(k)->text()});
    exportSections(path, {para, gains});
}

void KTFactoryCalibration::on_pbImportResult_clicked()
{
    const QString path = openPath(tr("file (*.factoryResult)"));
    if (path.isEmpty())
        return;
    QStringList gainKeys;
    for (int k = 1; k <= Gains; ++k)
        gainKeys << gainField(k)->objectName().right(2);
    const auto matrixRule = [](const QString &) { return Rule::Matrix; };
    const Imported in = loadIni(path, {{QStringLiteral("MatrixParaData"), matrixKeys(), matrixRule},
                                       {QStringLiteral("VGData"), gainKeys, matrixRule}});
    if (!in.ok) {
        if (!in.message.isEmpty())
            appendLog(in.message, Red);
        appendLog(tr("Import data file %1 failed!").arg(path), Red);
        showMessage(tr("Import data file failed!"));
        return;
    }
    const QStringList mk = matrixKeys();
    for (int i = 0; i < 9; ++i) {
        const QString v = in.value(QStringLiteral("MatrixParaData"), mk[i]);
        if (!v.isEmpty())
            matrixField(i)->setText(v);
    }
    for (int k = 1; k <= Gains; ++k) {
        const QString v = in.value(QStringLiteral("VGData"), gainKeys[k - 1]);
        if (!v.isEmpty())
            gainField(k)->setText(v);
    }
    appendLog(tr("Import data file %1 succeed!").arg(path), Green);
    showMessage(tr("Import data file succeed!"));
}
