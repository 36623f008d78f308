#include "ktflickerset.h"

#include "ktmessagedlg.h"
#include "portholder.h"
#include "probereply.h"
#include "replyreader.h"
#include "serialportreader.h"
#include "seriesrunner.h"
#include "ui_ktflickerset.h"

#include <QSerialPort>
#include <QTimer>

// The Measure tab's exchanges with the probe outside the result rows: the replies and
// time-outs of its requests, zero calibration and the memory channel.

using namespace FlickerLogic;

namespace {
const QString Red = QStringLiteral("red");
const QString Green = QStringLiteral("green");
} // namespace

// ---- replies ----------------------------------------------------------------------------------

void ktFlickerSet::Slot_RecvMessage(QString &, unsigned int commandCode, unsigned int, QByteArray &reply)
{
    echoRx(reply);
    const QString text = ReplyReader::text(reply);
    switch (commandCode) {
    case ProbeReply::CodeMES:
        m_lastDt = QString::number(reader()->lastRoundTripMs()); // not counting a resync
        handleMesReply(text);
        break;
    case ProbeReply::CodeJAD:
        m_lastDt = QString::number(reader()->lastRoundTripMs());
        handleJadReply(text);
        break;
    case ProbeReply::CodeZRC:
        zeroCalibrationResult(text.contains(QLatin1String("OK00")) || text.contains(QLatin1String("OK21"))
                                  ? tr("Zero calibration succeed!")
                                  : tr("Zero calibration failed!"));
        break;
    case ProbeReply::CodeMDS:
    case ProbeReply::CodeMDS1:
    case ProbeReply::CodeMDS6:
    case ProbeReply::CodeMDS7:
    case ProbeReply::CodeMDS8:
        if (!ProbeReply::isOk00(text))
            appendLog(tr("Set display mode failed!"), Red);
        break;
    case ProbeReply::CodeXYZ:
        if (ProbeReply::hasMeasureRefused(text) || ProbeReply::hasReportedError(text))
            appendLog(tr("Mes XYZ failed!"), Red);
        break;
    default:
        break;
    }
    if (!seriesRunning())
        ui->pbStop->setEnabled(false);
}

void ktFlickerSet::markCurrentFailed()
{
    // The last good reading is no longer current: the fields say that this one failed.
    m_currentPending.clear();
    const QString failed = QStringLiteral("--");
    if (isColourMode(m_mode)) {
        for (QLineEdit *le : {ui->le_FlickerX, ui->le_FlickerY, ui->le_FlickerZ})
            le->setText(failed);
    } else {
        ui->le_FlickerValue->setText(failed);
    }
}

void ktFlickerSet::handleMesReply(const QString &reply)
{
    const MesOutcome o = FlickerLogic::handleMesReply(reply, m_mode, m_lastDt);
    switch (o.kind) {
    case MesOutcome::Bright:
        showBright(o.record);
        break;
    case MesOutcome::Flicker:
        RecvFlickResult(o.fma, QString());
        break;
    case MesOutcome::MeasureError:
        appendLog(tr("Mes failed!"), Red);
        if (!isColourMode(m_mode))
            RecvFlickResult(QString(), o.errCode);
        else if (seriesRunning())
            m_runner->noteRefused();
        if (!seriesRunning()) // a series tells its losses at its end
            notify(tr("Mes failed!") + QLatin1Char(' ') + o.errCode);
        markCurrentFailed();
        break;
    case MesOutcome::FormatError:
        appendLog(tr("Format error!"), Red);
        if (seriesRunning())
            m_runner->noteUnreadable();
        else
            notify(tr("Format error!"));
        markCurrentFailed();
        break;
    }
}

void ktFlickerSet::handleJadReply(const QString &reply)
{
    const JeitaOutcome j = FlickerLogic::handleJadReply(reply);
    if (j.failed)
        appendLog(tr("Mes JTA flicker failed!"), Red);
    if (j.formatError)
        appendLog(tr("Format error!"), Red);
    if (j.ok) {
        const QString err = j.errText == outsideRangeText() ? tr("Outside of measurement range!") : j.errText;
        RecvJeitaResult(j.value, j.perHz, err);
    } else {
        if (seriesRunning())
            m_runner->noteUnreadable();
        markCurrentFailed();
    }
    if (ui->rb_Cont->isChecked())
        m_runner->jeitaReplied();
}

void ktFlickerSet::zeroCalibrationResult(const QString &text)
{
    if (messageDialog()->isVisible()) {
        messageDialog()->setMessage(text, false, true);
        return;
    }
    showMessage(text);
}

void ktFlickerSet::Slot_RecvTimeout(QString &, unsigned int commandCode, unsigned int)
{
    appendLog(tr("Command execution error time out!"), Red);
    switch (commandCode) {
    case ProbeReply::CodeMDS:
    case ProbeReply::CodeMDS1:
    case ProbeReply::CodeMDS6:
    case ProbeReply::CodeMDS7:
    case ProbeReply::CodeMDS8:
        appendLog(tr("Set display mode failed!"), Red);
        break;
    case ProbeReply::CodeMES:
    case ProbeReply::CodeJAD:
        ui->pbMeasure->setEnabled(true);
        ui->rb_Single->setEnabled(true);
        ui->pbSaveAs->setEnabled(true);
        appendLog(tr("Measurement time out!"), Red);
        markCurrentFailed();
        if (!seriesRunning())
            notify(tr("Measurement time out!"));
        m_runner->replyTimedOut();
        break;
    case ProbeReply::CodeZRC:
        zeroCalibrationResult(tr("Zero calibration failed!"));
        break;
    default:
        break;
    }
}

void ktFlickerSet::Slot_ComError(QString &, QString &errorText)
{
    appendLog(errorText, Red);
}

void ktFlickerSet::Slot_ClosePort()
{
    if (!seriesRunning())
        ui->pbStop->setEnabled(false);
}

void ktFlickerSet::DebugeInfoFun(QString strDebugRecv)
{
    appendLog(QStringLiteral(" Rx ") + strDebugRecv, Green);
}

void ktFlickerSet::SendDebugLog(QString strWord)
{
    appendLog(QStringLiteral(" Tx ") + strWord, Green);
}

void ktFlickerSet::showBright(const FlickerLogic::Record &r)
{
    RecvBrightResult(r.X, r.Y, r.Z, r.x, r.y, r.ctt, r.L, r.a, r.b, r.Tcp, r.Duv, r.u, r.v, r.waveLength,
                     r.purity);
}

void ktFlickerSet::RecvFlickerxyLv(QString strResult)
{
    const MesOutcome o = FlickerLogic::handleMesReply(strResult, Mode::XyLv, m_lastDt);
    if (o.kind == MesOutcome::Bright)
        showBright(o.record);
    else
        appendLog(tr("Format error!"), Red);
}

void ktFlickerSet::RecvFlickerXYZ(QString strResult)
{
    const MesOutcome o = FlickerLogic::handleMesReply(strResult, Mode::Xyz, m_lastDt);
    if (o.kind == MesOutcome::Bright)
        showBright(o.record);
    else
        appendLog(tr("Mes XYZ failed!"), Red);
}

void ktFlickerSet::RecvTcpduvResult(QString strResult)
{
    RecvFlickerxyLv(strResult);
}

// ---- zero calibration and memory channel --------------------------------------------------------

void ktFlickerSet::on_pb0Cal_clicked()
{
    if (!portOpen()) {
        appendLog(tr("Serial port is not opened!"), Red);
        return;
    }
    SendZRCAsync(ProbeReply::TaskPage);
    if (!readerBusy())
        return; // not sent (a request of this page is in flight)
    showMessage(tr("Zero calibration in progress..."));
}

void ktFlickerSet::on_pbreadmemorych_clicked()
{
    if (seriesRunning())
        return;
    if (!portOpen()) {
        appendLog(tr("Serial port is not opened!"), Red);
        return;
    }
    QString data;
    {
        const QSignalBlocker block(ui->cb_memorychannnel);
        bool ok = false;
        if (SendSTR(QStringLiteral("3"), &data)) {
            const int ch = data.trimmed().toInt(&ok);
            if (ok && ch >= 0 && ch < ui->cb_memorychannnel->count())
                ui->cb_memorychannnel->setCurrentIndex(ch);
            else
                ok = false;
        }
        if (!ok)
            appendLog(tr("Read memory channel failed!"), Red);
    }
    if (SendCMR11(&data))
        ui->le_memoryname->setText(data);
    else
        appendLog(tr("Read memory channel name failed!"), Red);
    if (SendRPR(&data))
        ui->le_rprTag->setText(data);
    else
        appendLog(tr("Read Tag failed!"), Red);
    if (SendTYP(&data))
        ui->le_devicemodel->setText(data);
    else
        appendLog(tr("Read Device Model failed!"), Red);
}

void ktFlickerSet::on_cb_memorychannnel_currentIndexChanged(const QString &text)
{
    if (text.isEmpty() || seriesRunning())
        return;
    if (!portOpen()) {
        appendLog(tr("Serial port is not opened!"), Red);
        return;
    }
    m_settingChannel = true;
    const bool ok = SendMCH(text.right(2));
    m_settingChannel = false;
    if (!ok) {
        appendLog(tr("Set memory channel failed!"), Red);
        return;
    }
    QString name;
    if (SendCMR11(&name))
        ui->le_memoryname->setText(name);
    else
        appendLog(tr("Read memory channel name failed!"), Red);
}

void ktFlickerSet::Slot_UpdateCtrl()
{
    // Another page changed the channel: reread it once the sender's exchange is over.
    if (m_settingChannel || seriesRunning())
        return;
    QTimer::singleShot(0, this, [this] {
        if (!seriesRunning() && portOpen() && !readerBusy())
            on_pbreadmemorych_clicked();
    });
}
