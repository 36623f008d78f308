#include "ktsyncfreq.h"

#include "ktmessagedlg.h"
#include "ktscaling.h"
#include "ktsettings.h"
#include "pagebody.h"
#include "pagelog.h"
#include "portholder.h"
#include "replyreader.h"
#include "ui_ktsyncfreq.h"

#include <QEvent>
#include <QSerialPort>

namespace {
const QString Red = QStringLiteral("red");
const QString Green = QStringLiteral("green");
const QString AutoSpeed = QStringLiteral("3"); // speed modes: 0 Slow, 1 Fast, 2 LTDAUTO, 3 Auto
} // namespace

ktSyncFreq::ktSyncFreq(QWidget *parent) : ktPublicConfig(parent), ui(new Ui::ktSyncFreqForm)
{
    hideBaseForm();
    PageBody::setBackground(this);
    m_body = PageBody::create(this);
    ui->setupUi(m_body);
    resize(QSize(460, 360) * KtScaling::factor());
    // The form's slots live on this dialog, not on the body the form was built on.
    QMetaObject::connectSlotsByName(this);
    ui->progressBar->setRange(0, 100);
    ui->progressBar->setValue(0);
    retranslate();

    // The scan's display-mode change must reach the other pages.
    if (auto *hub = qobject_cast<ktPublicConfig *>(parent))
        connect(this, &ktPublicConfig::Signal_SendChangeMDS, hub, &ktPublicConfig::Slot_ChangeMDS);

    SyncFreqScan::readSettings(
        KtSettings::readSetting(QString::fromLatin1(KtSettings::Key::SyncFreqStep)),
        KtSettings::readSetting(QString::fromLatin1(KtSettings::Key::SyncFreqRange)),
        KtSettings::readSetting(QString::fromLatin1(KtSettings::Key::SyncFreqMesTimes)), &m_settings,
        &m_settingsError);
}

ktSyncFreq::~ktSyncFreq()
{
    delete ui;
}

PageLog *ktSyncFreq::logView()
{
    return ui->te_Log;
}

void ktSyncFreq::done(int result)
{
    m_closed = true; // a scan still running stops after its current reading
    ktPublicConfig::done(result);
}

void ktSyncFreq::fail(const QString &text)
{
    appendLog(text, Red);
    messageDialog()->setMessage(text, false, true);
    messageDialog()->exec();
}

bool ktSyncFreq::checkFrequency(double *hz)
{
    const QString text = ui->le_freqsetting->text();
    if (SyncFreqScan::frequencyTextValid(text)) {
        *hz = text.toDouble();
        return true;
    }
    messageDialog()->setMessage(tr("The range of frequency is 10-300 with two decimal places at most!"),
                                false, true);
    messageDialog()->exec();
    ui->le_freqsetting->setText(QStringLiteral("60"));
    return false;
}

bool ktSyncFreq::setSyncFrequency(double hz)
{
    return SendSCS(QStringLiteral("4,") + SyncFreqScan::frequencyText(hz));
}

void ktSyncFreq::on_pbSync_clicked()
{
    QSerialPort *port = PortHolder::instance()->probePort();
    if (!port || !port->isOpen()) {
        messageDialog()->setMessage(tr("Serial port is not opened!"), false, true);
        messageDialog()->exec();
        return;
    }
    QPointer<ktSyncFreq> self(this);
    m_closed = false;
    ui->le_actualfreq->clear();
    ui->le_actualfreq->setStyleSheet(QStringLiteral("background:#FFFFFF;"));
    ui->pbSync->setEnabled(false);
    double centre = 0.0;
    if (ui->cb_scanfreq->isChecked() && checkFrequency(&centre)) {
        // Refused before the probe is touched.
        if (!m_settingsError.isEmpty()) {
            fail(m_settingsError);
            ui->pbSync->setEnabled(true);
            return;
        }
        // The scan runs in the automatic speed mode; the operator's own speed comes back after.
        QString speed;
        const bool speedRead = SendSTR(QStringLiteral("7"), &speed);
        if (!self)
            return;
        bool isNumber = false;
        const int savedSpeed = speed.trimmed().toInt(&isNumber);
        ui->progressBar->setValue(0);
        if (scan(centre))
            ui->progressBar->setValue(100);
        if (!self)
            return;
        // Only a speed that was read is restored: anything else would change the probe's setting.
        if (speedRead && isNumber && !SendFSC(QString::number(savedSpeed)) && self)
            appendLog(tr("Restore speed mode failed!"), Red);
    } else if (!ui->cb_scanfreq->isChecked()) {
        setDirectly();
    }
    if (self)
        ui->pbSync->setEnabled(true);
}

bool ktSyncFreq::scan(double centre)
{
    QPointer<ktSyncFreq> self(this);
    if (!SendMDS(QStringLiteral("0"))) {
        if (self)
            fail(tr("Set display mode failed!"));
        return false;
    }
    if (!self || !SendFSC(AutoSpeed)) {
        if (self)
            fail(tr("Set auto speed mode failed!"));
        return false;
    }
    SyncFreqScan run(centre, m_settings);
    for (int k = 0; k < run.count(); ++k) {
        if (!self || m_closed)
            return false;
        if (!setSyncFrequency(run.frequencies().at(k))) {
            if (self)
                fail(tr("Set INT mode failed!"));
            return false;
        }
        QVector<double> samples;
        for (int i = 0; i < m_settings.mesTimes; ++i) {
            QString reply;
            const bool measured = self && SendMES1(&reply);
            if (!self)
                return false;
            if (!measured) {
                fail(tr("Mes failed!"));
                return false;
            }
            QVector<ReplyReader::Number> fields;
            if (!ReplyReader::readFiveFields(reply, &fields)) {
                appendLog(tr("Format error!"), Red); // that reading is left out
                continue;
            }
            samples.append(fields.at(2).value);
        }
        run.addResult(k, samples);
        ui->progressBar->setValue(run.progressAfter(k));
    }
    if (!run.hasBest()) {
        fail(tr("No frequency of the scan gave two readings to compare!"));
        return false;
    }
    const QString best = SyncFreqScan::frequencyText(run.bestFrequency());
    if (!setSyncFrequency(run.bestFrequency())) {
        if (self)
            fail(tr("Set INT mode failed!"));
        return false;
    }
    ui->le_actualfreq->setText(best);
    appendLog(tr("Synchronized to %1 Hz (deviation of the readings %2 cd/m²).")
                  .arg(best, QString::number(run.bestDeviation(), 'g', 3)),
              Green);
    return true;
}

void ktSyncFreq::setDirectly()
{
    double hz = 0.0;
    if (!checkFrequency(&hz))
        return;
    QPointer<ktSyncFreq> self(this);
    QString reply;
    const bool answered = SendMVS(SyncFreqScan::frequencyText(hz), &reply);
    if (!self)
        return;
    if (answered && reply.contains(QLatin1String("OK00"))) {
        // The probe reads back the frequency it took.
        const QString value = reply.contains(QLatin1Char(',')) ? reply.section(QLatin1Char(','), -1).trimmed()
                                                               : SyncFreqScan::frequencyText(hz);
        ui->le_actualfreq->setText(value);
        ui->le_actualfreq->setStyleSheet(QStringLiteral("background:#00FF00;"));
        if (!setSyncFrequency(hz) && self)
            fail(tr("Set INT mode failed!"));
        return;
    }
    ui->le_actualfreq->setText(reply.section(QLatin1Char(','), 1).trimmed());
    ui->le_actualfreq->setStyleSheet(QStringLiteral("background:#FF0000;"));
    fail(tr("Set frequency failed!"));
}

void ktSyncFreq::retranslate()
{
    setWindowTitle(tr("Synchronous frequency"));
}

void ktSyncFreq::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(m_body);
        retranslate();
    }
    ktPublicConfig::changeEvent(event);
}
