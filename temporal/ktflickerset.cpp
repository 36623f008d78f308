#include "ktflickerset.h"

#include "ktcfgdata.h"
#include "ktdominantwave.h"
#include "kthorseshoe.h"
#include "ktmessagedlg.h"
#include "ktplatform.h"
#include "ktqcustomplot.h"
#include "ktsettings.h"
#include "linksync.h"
#include "portholder.h"
#include "probereply.h"
#include "replyreader.h"
#include "trendchart.h"
#include "ui_ktflickerset.h"
#include "workerthread.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QDateTime>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QIntValidator>
#include <QMenu>
#include <QScrollBar>
#include <QSerialPort>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

using namespace FlickerLogic;

namespace {

const QString Red = QStringLiteral("red");
const QString Green = QStringLiteral("green");
constexpr int InitialRows = 20;
constexpr int RefreshMs = 200;

enum ModeId
{
    IdXyLv,
    IdXyz,
    IdFma,
    IdJeita,
    IdTcpDuv,
    IdDominantWave,
    IdLab
};

bool finiteNumber(const QString &text, double *value)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

} // namespace

ktFlickerSet::ktFlickerSet(QWidget *parent) : ktPublicConfig(parent), ui(new Ui::ktFlickerSetForm)
{
    hideBaseForm();
    setWindowTitle(tr("Measure"));
    m_hub = qobject_cast<ktPublicConfig *>(parent);

    m_body = new QWidget(this);
    ui->setupUi(m_body);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_body);

    // Narrow entry fields leave the width to the tables.
    for (QLineEdit *le : {ui->le_Count, ui->le_Delay, ui->le_InterValMin, ui->le_InterValSec})
        le->setMaximumWidth(90);
    for (QLineEdit *le : {ui->le_memoryname, ui->le_rprTag, ui->le_devicemodel, ui->le_FlickerX,
                          ui->le_FlickerY, ui->le_FlickerZ, ui->le_FlickerValue})
        le->setMaximumWidth(130);
    ui->rb_Lab->hide();
    ui->groupBox_4->hide();
    ui->pbStop->setEnabled(false);
    ui->le_Count->setValidator(new QIntValidator(0, 1000000, this));
    ui->le_Delay->setValidator(new QIntValidator(0, 86400, this));
    ui->le_InterValMin->setValidator(new QIntValidator(0, 86400, this));
    ui->le_InterValSec->setValidator(new QIntValidator(0, 999999, this));
    for (int ch = 0; ch < 100; ++ch)
        ui->cb_memorychannnel->addItem(ch < 10 ? QStringLiteral("MCH0%1").arg(ch)
                                               : QStringLiteral("MCH%1").arg(ch));

    m_modeGroup = new QButtonGroup(this);
    m_modeGroup->addButton(ui->rb_Color, IdXyLv);
    m_modeGroup->addButton(ui->rb_ColorXYZ, IdXyz);
    m_modeGroup->addButton(ui->rb_FMA, IdFma);
    m_modeGroup->addButton(ui->rb_MeasureJEITA, IdJeita);
    m_modeGroup->addButton(ui->rb_Tcpduv, IdTcpDuv);
    m_modeGroup->addButton(ui->rb_DominantWave, IdDominantWave);
    m_modeGroup->addButton(ui->rb_Lab, IdLab);
    connect(m_modeGroup, &QButtonGroup::idClicked, this, &ktFlickerSet::on_MeasureModeButtonClicked);
    connect(ui->rb_Single, &QRadioButton::clicked, this, &ktFlickerSet::MeasureSpecFun);
    connect(ui->rb_Cont, &QRadioButton::clicked, this, &ktFlickerSet::MeasureSpecFun);

    for (QTableWidget *t : {ui->twMeasureBright, ui->twMeasureFlicker}) {
        t->setContextMenuPolicy(Qt::CustomContextMenu);
        t->verticalHeader()->setMinimumWidth(50);
        t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    connect(ui->twMeasureBright, &QTableWidget::customContextMenuRequested, this,
            &ktFlickerSet::slot_twMeasureBright_MenuRequested);
    connect(ui->twMeasureFlicker, &QTableWidget::customContextMenuRequested, this,
            &ktFlickerSet::slot_twMeasureFlicker_MenuRequested);

    m_horseShoe = new ktHorseShoe(this);
    m_trend = new TrendChart(ui->widgetTrend, this);

    // The page's form slots live on this dialog, not on the body the form was built on.
    QMetaObject::connectSlotsByName(this);

    if (m_hub) {
        connect(this, &ktPublicConfig::Signal_SendUpdateMCH, m_hub.data(), &ktPublicConfig::Slot_UpdateMCH);
        connect(this, &ktPublicConfig::Signal_SendClosePort, m_hub.data(), &ktPublicConfig::Slot_PortClosed);
        connect(this, &ktPublicConfig::Signal_SendChangeMDS, m_hub.data(), &ktPublicConfig::Slot_ChangeMDS);
        connect(m_hub.data(), &ktPublicConfig::Signal_RecvUpdateMCH, this, &ktFlickerSet::Slot_UpdateCtrl);
        connect(m_hub.data(), &ktPublicConfig::Signal_RecvClosePort, this, &ktFlickerSet::Slot_ClosePort);
        connect(m_hub.data(), &ktPublicConfig::Signal_RecvChangeMDS, this, &ktFlickerSet::Slot_ChangeMesMode);
    }
    connect(this, &ktPublicConfig::SendFlickResult, this, &ktFlickerSet::RecvFlickResult);
    connect(this, &ktPublicConfig::Signal_RecvDebugeInfo, this, &ktFlickerSet::DebugeInfoFun);

    m_delayTimer.setSingleShot(true);
    connect(&m_delayTimer, &QTimer::timeout, this, &ktFlickerSet::DelayTriggel);
    m_intervalTimer.setSingleShot(true);
    connect(&m_intervalTimer, &QTimer::timeout, this, &ktFlickerSet::IntervalFun);
    connect(&m_refreshTimer, &QTimer::timeout, this, &ktFlickerSet::UpdateWidget);
    m_refreshTimer.start(RefreshMs);

    // Start in xyLv without talking to the probe: the mode is sent before the first
    // measurement.
    resetTable(ui->twMeasureBright, brightHeaders());
    resetTable(ui->twMeasureFlicker, flickerHeaders(false));
    for (int c = 13; c <= 16; ++c)
        ui->twMeasureBright->setColumnWidth(c, 140);
    m_mode = Mode::XyLv;
    m_modeCode = FlickerLogic::modeCode(m_mode);
    m_modeChanged = true;
    setCurrentLabels();
    rebuildTrend();

    askSavePath = [this](const QString &start) {
        return QFileDialog::getSaveFileName(this, tr("Save File"), start, tr("file (*.csv)"));
    };
}

ktFlickerSet::~ktFlickerSet()
{
    m_refreshTimer.stop();
    m_delayTimer.stop();
    m_intervalTimer.stop();
    if (m_worker) {
        m_worker->requestStop();
        m_worker->wait();
        delete m_worker;
        m_worker = nullptr;
    }
    if (m_closedPortForSeries) {
        // Closed in the middle of a series: the other pages get their port back.
        QSerialPort *port = PortHolder::instance()->probePort();
        if (!port->isOpen())
            port->open(QIODevice::ReadWrite);
    }
    if (m_hub && m_seriesRunning)
        m_hub->setBusyFlag(false);
    delete ui;
    ui = nullptr;
}

PageLog *ktFlickerSet::logView()
{
    return ui ? ui->te_Log : nullptr;
}

bool ktFlickerSet::portOpen() const
{
    QSerialPort *port = PortHolder::instance()->probePort();
    return port && port->isOpen();
}

void ktFlickerSet::showMessage(const QString &text)
{
    messageDialog()->setMessage(text, false, true);
    messageDialog()->exec();
}

bool ktFlickerSet::confirm(const QString &text)
{
    messageDialog()->setMessage(text, true, true);
    messageDialog()->exec();
    return messageDialog()->isAccepted();
}

void ktFlickerSet::setPageActive(bool active)
{
    m_pageActive = active;
    if (active)
        UpdateWidget();
}

void ktFlickerSet::applyWhitePoint()
{
    // A setting.ini without the keys reads 0: use the value the file is created with instead of
    // a white point at the origin, which would make every wavelength undefined.
    double x = KtSettings::readSettingDouble(QString::fromLatin1(KtSettings::Key::WhitePointX));
    double y = KtSettings::readSettingDouble(QString::fromLatin1(KtSettings::Key::WhitePointY));
    if (!(x > 0.0) || !(y > 0.0)) {
        x = 0.3333;
        y = 0.3333;
    }
    KtDominantWave::setWhitePoint(x, y);
}

// ---- modes ------------------------------------------------------------------------------------

void ktFlickerSet::on_MeasureModeButtonClicked(int)
{
    MeasureModeFun();
}

void ktFlickerSet::MeasureModeFun()
{
    switch (m_modeGroup->checkedId()) {
    case IdXyz:
        m_mode = Mode::Xyz;
        break;
    case IdFma:
        m_mode = Mode::Fma;
        break;
    case IdJeita:
        m_mode = Mode::Jeita;
        break;
    case IdTcpDuv:
        m_mode = Mode::TcpDuv;
        break;
    case IdDominantWave:
        m_mode = Mode::DominantWave;
        break;
    case IdLab:
        m_mode = Mode::Lab;
        break;
    default:
        m_mode = Mode::XyLv;
        break;
    }
    m_modeCode = FlickerLogic::modeCode(m_mode);
    clearTables();
    const bool colour = isColourMode(m_mode);
    if (colour) {
        resetTable(ui->twMeasureBright, brightHeaders());
        for (int c = 13; c <= 16; ++c)
            ui->twMeasureBright->setColumnWidth(c, 140);
    } else {
        resetTable(ui->twMeasureFlicker, flickerHeaders(m_mode == Mode::Jeita),
                   m_mode == Mode::Jeita ? 70 : -1);
    }
    ui->sw_Tables->setCurrentIndex(colour ? 0 : 1);
    ui->le_FlickerX->setEnabled(colour);
    ui->le_FlickerY->setEnabled(colour);
    ui->le_FlickerZ->setEnabled(colour);
    ui->le_FlickerValue->setEnabled(!colour);
    setCurrentLabels();
    if (m_mode == Mode::DominantWave) {
        applyWhitePoint();
    }
    rebuildTrend();

    if (portOpen()) {
        if (!SendMDS(m_modeCode))
            appendLog(tr("Set display mode failed!"), Red);
        else
            m_modeChanged = false;
    } else {
        appendLog(tr("Serial port is not opened!"), Red);
        m_modeChanged = true;
    }
}

void ktFlickerSet::setCurrentLabels()
{
    QStringList labels;
    switch (m_mode) {
    case Mode::Xyz:
        labels = QStringList{QStringLiteral("X:"), QStringLiteral("Y:"), QStringLiteral("Z:")};
        break;
    case Mode::TcpDuv:
        labels = QStringList{QStringLiteral("Lv:"), QStringLiteral("Tcp:"), QStringLiteral("duv:")};
        break;
    case Mode::DominantWave:
        labels = QStringList{QStringLiteral("Lv:"), QString::fromUtf8("\u03bbd:"), QStringLiteral("Pe:")};
        break;
    case Mode::Lab:
        labels = QStringList{QStringLiteral("L*:"), QStringLiteral("a*:"), QStringLiteral("b*:")};
        break;
    default:
        labels = QStringList{QStringLiteral("x:"), QStringLiteral("y:"), QStringLiteral("Lv:")};
        break;
    }
    ui->lb_FlickerX->setText(labels.at(0));
    ui->lb_FlickerY->setText(labels.at(1));
    ui->lb_FlickerZ->setText(labels.at(2));
}

void ktFlickerSet::Slot_ChangeMesMode(QString strMDS)
{
    // Another page put the probe in its own display mode: ours goes out again before the next
    // measurement.
    if (strMDS != m_modeCode)
        m_modeChanged = true;
}

void ktFlickerSet::sendModeIfChanged()
{
    if (!m_modeChanged)
        return;
    if (!SendMDS(m_modeCode))
        appendLog(tr("Set display mode failed!"), Red);
    m_modeChanged = false;
}

void ktFlickerSet::MeasureSpecFun()
{
    // Nothing to lock: the count and timing fields matter only when a series starts.
}

void ktFlickerSet::RefreshConfigFun()
{
    if (m_horseShoe)
        m_horseShoe->clearData();
    if (m_mode == Mode::DominantWave) {
        applyWhitePoint();
    }
}

// ---- measuring --------------------------------------------------------------------------------

void ktFlickerSet::on_pbMeasure_clicked()
{
    if (ktCfgData::instance()->probeMode() == 1) {
        showMessage(tr("Configure a single serial port!"));
        return;
    }
    if (m_seriesRunning)
        return;
    if (ui->rb_Cont->isChecked()) {
        startSeries();
        return;
    }
    if (!portOpen()) {
        appendLog(tr("Serial port is not opened!"), Red);
        return;
    }
    sendModeIfChanged();
    m_elapsed.restart();
    ui->pbStop->setEnabled(false);
    if (m_mode == Mode::Jeita)
        SendJADAsync(ProbeReply::TaskJeita);
    else if (m_mode != Mode::Fma && ui->rb_Fast->isChecked())
        SendMES1Async(ProbeReply::TaskPage);
    else
        SendMESAsync(ProbeReply::TaskPage);
}

void ktFlickerSet::lockControls(bool running)
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             ui->le_Count, ui->le_Delay, ui->le_InterValMin, ui->le_InterValSec, ui->pbMeasure, ui->rb_Single,
             ui->gb_MeasureSpec, ui->gb_MemoryCH, ui->pbSaveAs, ui->pb0Cal, ui->pbClearData})
        w->setEnabled(!running);
    ui->pbStop->setEnabled(running);
}

void ktFlickerSet::startSeries()
{
    const int count = ui->le_Count->text().toInt();
    if (count < 2) {
        showMessage(tr("The number of cycles should be greater than 2!"));
        return;
    }
    if (!portOpen()) {
        appendLog(tr("Serial port is not opened!"), Red);
        return;
    }
    sendModeIfChanged();
    m_series.start(count);
    m_stopRequested = false;
    m_seriesRunning = true;
    lockControls(true);
    ui->le_Count->setText(QString::number(m_series.remaining()));
    m_delayMs = ui->le_Delay->text().toInt() * 1000;
    m_intervalMs = ui->le_InterValMin->text().toInt() * 1000 + ui->le_InterValSec->text().toInt();

    if (m_mode == Mode::Jeita) {
        if (m_delayMs > 0)
            m_delayTimer.start(m_delayMs);
        else
            StartDelayFun();
        return;
    }

    QSerialPort *port = PortHolder::instance()->probePort();
    const QString path = KtPlatform::devicePath(port->portName());
    port->close();
    m_closedPortForSeries = true;
    if (m_hub)
        m_hub->setBusyFlag(true);
    if (m_worker) {
        m_worker->requestStop();
        m_worker->wait();
        delete m_worker;
    }
    m_worker = new WorkerThread(count, m_delayMs, m_intervalMs, this);
    m_worker->setPortPath(path);
    connect(m_worker, &WorkerThread::Signal_SyncMeasure, this, &ktFlickerSet::Slot_SyncMeasure,
            Qt::QueuedConnection);
    connect(m_worker, &WorkerThread::Signal_SyncFinished, this, &ktFlickerSet::Slot_SyncFinished,
            Qt::QueuedConnection);
    m_worker->start();
}

void ktFlickerSet::Slot_SyncMeasure(QString strResult, QString deltaT)
{
    if (!m_seriesRunning || sender() != m_worker)
        return;
    m_series.append(strResult, deltaT);
    Slot_ProcessMeasureResult();
}

void ktFlickerSet::Slot_ProcessMeasureResult()
{
    // Results are taken in arrival order, however many have queued up since the last call.
    while (m_seriesRunning && m_series.hasNext()) {
        const SeriesBook::Entry e = m_series.takeNext();
        m_lastDt = e.dt;
        handleMesReply(e.reply);
        ui->le_Count->setText(QString::number(m_series.remaining()));
        if (m_series.complete()) {
            stopSeries();
            return;
        }
    }
}

void ktFlickerSet::Slot_SyncFinished()
{
    if (sender() != m_worker)
        return;
    Slot_ProcessMeasureResult();
    if (m_seriesRunning && m_mode != Mode::Jeita)
        stopSeries();
}

void ktFlickerSet::UnblockSleep(int msec)
{
    QEventLoop loop;
    QTimer::singleShot(msec, &loop, &QEventLoop::quit);
    loop.exec();
}

void ktFlickerSet::on_pbStop_clicked()
{
    stopSeries();
}

void ktFlickerSet::stopSeries()
{
    if (m_stopping)
        return;
    m_stopping = true;
    m_delayTimer.stop();
    m_intervalTimer.stop();
    if (m_worker && m_worker->isRunning()) {
        m_worker->requestStop();
        m_worker->wait(WorkerThread::ReplyTimeoutMs + 2000);
    }
    // Results the worker handed over before it stopped are still queued: show them before the
    // series is closed, so no measurement already made is lost.
    if (m_worker)
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    Slot_ProcessMeasureResult();

    m_stopRequested = true;
    m_seriesRunning = false;
    m_series.setRemaining(0);
    lockControls(false);
    ui->le_Count->setText(QString::number(m_series.total()));

    if (m_closedPortForSeries) {
        m_closedPortForSeries = false;
        QSerialPort *port = PortHolder::instance()->probePort();
        if (!port->isOpen() && !port->open(QIODevice::ReadWrite)) {
            appendLog(tr("Serial port is not opened!") + QLatin1Char(' ') + port->errorString(), Red);
            emit Signal_SendClosePort();
        }
        if (m_worker && !m_worker->endedInStep())
            LinkSync::setSynchronised(port, false); // a late reply of the series may still come
    }
    if (m_hub)
        m_hub->setBusyFlag(false);
    m_stopping = false;
    UpdateWidget();
    emit Signal_SeriesFinished();
}

void ktFlickerSet::DelayTriggel()
{
    StartDelayFun();
}

void ktFlickerSet::StartDelayFun()
{
    if (!m_seriesRunning || m_series.remaining() < 1)
        return;
    if (m_intervalMs == 0)
        IntervalFun();
    else
        m_intervalTimer.start(m_intervalMs);
}

void ktFlickerSet::IntervalFun()
{
    if (!m_seriesRunning)
        return;
    if (readerBusy()) {
        // A request of this page is still in flight: try again shortly instead of dropping it.
        m_intervalTimer.start(20);
        return;
    }
    m_elapsed.restart();
    SendJADAsync(ProbeReply::TaskJeita);
    ui->le_Count->setText(QString::number(m_series.remaining()));
}

void ktFlickerSet::JeitaCommEnd()
{
    if (m_seriesRunning && m_mode == Mode::Jeita)
        stopSeries();
}

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
    if (!m_seriesRunning)
        ui->pbStop->setEnabled(false);
}

void ktFlickerSet::handleMesReply(const QString &reply)
{
    const MesOutcome o = FlickerLogic::handleMesReply(reply, m_mode, m_lastDt);
    switch (o.kind) {
    case MesOutcome::Bright: {
        const Record &r = o.record;
        RecvBrightResult(r.X, r.Y, r.Z, r.x, r.y, r.ctt, r.L, r.a, r.b, r.Tcp, r.Duv, r.u, r.v, r.waveLength,
                         r.purity);
        break;
    }
    case MesOutcome::Flicker:
        RecvFlickResult(o.fma, QString());
        break;
    case MesOutcome::MeasureError:
        appendLog(tr("Mes failed!"), Red);
        if (!isColourMode(m_mode))
            RecvFlickResult(QString(), o.errCode);
        break;
    case MesOutcome::FormatError:
        appendLog(tr("Format error!"), Red);
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
    }
    if (m_seriesRunning && m_mode == Mode::Jeita && ui->rb_Cont->isChecked()) {
        m_series.setRemaining(m_series.remaining() - 1);
        ui->le_Count->setText(QString::number(m_series.remaining()));
        if (m_series.remaining() > 0) {
            if (m_intervalMs > 0)
                m_intervalTimer.start(m_intervalMs);
            else
                m_intervalTimer.start(0);
        } else {
            JeitaCommEnd();
        }
    }
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
        m_series.setRemaining(0);
        if (m_seriesRunning && m_mode == Mode::Jeita)
            stopSeries();
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
    if (!m_seriesRunning)
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

void ktFlickerSet::RecvFlickerxyLv(QString strResult)
{
    const MesOutcome o = FlickerLogic::handleMesReply(strResult, Mode::XyLv, m_lastDt);
    if (o.kind == MesOutcome::Bright) {
        const Record &r = o.record;
        RecvBrightResult(r.X, r.Y, r.Z, r.x, r.y, r.ctt, r.L, r.a, r.b, r.Tcp, r.Duv, r.u, r.v, r.waveLength,
                         r.purity);
    } else {
        appendLog(tr("Format error!"), Red);
    }
}

void ktFlickerSet::RecvFlickerXYZ(QString strResult)
{
    const MesOutcome o = FlickerLogic::handleMesReply(strResult, Mode::Xyz, m_lastDt);
    if (o.kind == MesOutcome::Bright) {
        const Record &r = o.record;
        RecvBrightResult(r.X, r.Y, r.Z, r.x, r.y, r.ctt, r.L, r.a, r.b, r.Tcp, r.Duv, r.u, r.v, r.waveLength,
                         r.purity);
    } else {
        appendLog(tr("Mes XYZ failed!"), Red);
    }
}

void ktFlickerSet::RecvTcpduvResult(QString strResult)
{
    RecvFlickerxyLv(strResult);
}

// ---- rows -------------------------------------------------------------------------------------

void ktFlickerSet::setRow(QTableWidget *table, int row, const QStringList &cells)
{
    if (table->rowCount() < row + 1)
        table->setRowCount(row + 1);
    const int n = std::min<int>(cells.size(), table->columnCount());
    for (int c = 0; c < n; ++c) {
        if (QTableWidgetItem *item = table->item(row, c))
            item->setText(cells.at(c));
        else
            table->setItem(row, c, new QTableWidgetItem(cells.at(c)));
    }
    table->setVerticalHeaderItem(row, new QTableWidgetItem(QString::number(row + 1)));
}

void ktFlickerSet::RecvBrightResult(QString strBrightX, QString strBrightY, QString strBrightZ,
                                    QString strInitX, QString strInitZ, QString strCtt, QString strL,
                                    QString stra, QString strb, QString strTcp, QString strDuv, QString stru,
                                    QString strv, QString strWaveLength, QString strPe)
{
    const Record r{strBrightX, strBrightY, strBrightZ, strInitX, strInitZ, strCtt,        strL, stra,
                   strb,       strTcp,     strDuv,     stru,     strv,     strWaveLength, strPe};
    PortHolder *holder = PortHolder::instance();
    const ModeSummary summary{holder->syncText(), holder->speedText(), holder->averageText(),
                              holder->integrationText()};
    const QStringList cells = FlickerLogic::brightRow(r, summary, QDateTime::currentDateTime());
    ++m_brightRow;
    setRow(ui->twMeasureBright, m_brightRow - 1, cells);

    double lv = 0, a = 0, b = 0, c = 0;
    QVector<double> values;
    const double nan = std::nan("");
    auto num = [&](const QString &t) { return finiteNumber(t, &lv) ? lv : nan; };
    switch (m_mode) {
    case Mode::Xyz:
        ui->le_FlickerX->setText(r.X);
        ui->le_FlickerY->setText(r.Y);
        ui->le_FlickerZ->setText(r.Z);
        values = {num(r.X), num(r.Y), num(r.Z)};
        break;
    case Mode::TcpDuv:
        ui->le_FlickerX->setText(r.Y);
        ui->le_FlickerY->setText(cells.at(8));
        ui->le_FlickerZ->setText(cells.at(9));
        values = {num(r.Tcp), num(r.Duv)};
        break;
    case Mode::DominantWave:
        ui->le_FlickerX->setText(r.Y);
        ui->le_FlickerY->setText(cells.at(10));
        ui->le_FlickerZ->setText(cells.at(11) + QLatin1Char('%'));
        values = {num(r.waveLength), num(r.purity)};
        break;
    case Mode::Lab:
        ui->le_FlickerX->setText(r.L);
        ui->le_FlickerY->setText(r.a);
        ui->le_FlickerZ->setText(r.b);
        values = {num(r.Y), num(r.x), num(r.y)};
        break;
    default:
        ui->le_FlickerX->setText(r.x);
        ui->le_FlickerY->setText(r.y);
        ui->le_FlickerZ->setText(r.Y);
        values = {num(r.Y), num(r.x), num(r.y)};
        break;
    }
    Q_UNUSED(a);
    Q_UNUSED(b);
    Q_UNUSED(c);
    m_trend->addPoint(m_brightRow, values);
    double x = 0, y = 0;
    if (m_horseShoe && finiteNumber(r.x, &x) && finiteNumber(r.y, &y))
        m_horseShoe->addData(QPointF(x, y), 1);
    m_scrollPending = true;
    emit Signal_RowAdded(m_brightRow);
}

void ktFlickerSet::RecvFlickResult(QString strFlick, QString strErrCode)
{
    ++m_flickerRow;
    setRow(ui->twMeasureFlicker, m_flickerRow - 1,
           fmaRow(strFlick, strErrCode, QDateTime::currentDateTime()));
    if (!strFlick.isEmpty())
        ui->le_FlickerValue->setText(strFlick);
    double v = 0;
    m_trend->addPoint(m_flickerRow, {finiteNumber(strFlick, &v) ? v : std::nan("")});
    m_scrollPending = true;
    emit Signal_RowAdded(m_flickerRow);
}

void ktFlickerSet::RecvJeitaResult(QString strJeita, QStringList perHz, QString strErrText)
{
    JeitaOutcome j;
    j.ok = true;
    j.value = strJeita;
    j.perHz = perHz;
    const bool outside = strErrText == tr("Outside of measurement range!");
    j.errText = outside ? outsideRangeText() : strErrText;
    const QStringList cells = jeitaRow(j, strErrText, QDateTime::currentDateTime());
    ++m_flickerRow;
    setRow(ui->twMeasureFlicker, m_flickerRow - 1, cells);
    double v = 0;
    const bool shown = cells.first() != QLatin1String("-") && finiteNumber(cells.first(), &v);
    if (shown)
        ui->le_FlickerValue->setText(cells.first());
    m_trend->addPoint(m_flickerRow, {shown ? v : std::nan("")});
    m_scrollPending = true;
    emit Signal_RowAdded(m_flickerRow);
}

// ---- tables -----------------------------------------------------------------------------------

void ktFlickerSet::resetTable(QTableWidget *table, const QStringList &headers, int width)
{
    table->clear();
    table->setColumnCount(headers.size());
    table->setHorizontalHeaderLabels(headers);
    table->setRowCount(InitialRows);
    for (int r = 0; r < InitialRows; ++r)
        table->setVerticalHeaderItem(r, new QTableWidgetItem(QString()));
    if (width > 0) {
        for (int c = 0; c < headers.size(); ++c)
            table->setColumnWidth(c, width);
    }
}

void ktFlickerSet::clearTables()
{
    m_brightRow = 0;
    m_flickerRow = 0;
    for (QTableWidget *t : {ui->twMeasureBright, ui->twMeasureFlicker}) {
        t->clearContents();
        t->scrollToTop();
        t->setRowCount(InitialRows);
        for (int r = 0; r < InitialRows; ++r)
            t->setVerticalHeaderItem(r, new QTableWidgetItem(QString()));
    }
    for (QLineEdit *le : {ui->le_FlickerX, ui->le_FlickerY, ui->le_FlickerZ, ui->le_FlickerValue})
        le->setText(QStringLiteral("0.0000"));
    m_trend->clear();
    if (m_horseShoe)
        m_horseShoe->clearData();
}

void ktFlickerSet::on_pbClearData_clicked()
{
    if (!confirm(tr("Clear Data, Confirm?")))
        return;
    clearTables();
    UpdateWidget();
}

QVector<TableRow> ktFlickerSet::tableRows(QTableWidget *table) const
{
    QVector<TableRow> rows;
    rows.reserve(table->rowCount());
    for (int r = 0; r < table->rowCount(); ++r) {
        TableRow row;
        if (QTableWidgetItem *h = table->verticalHeaderItem(r))
            row.label = h->text();
        for (int c = 0; c < table->columnCount(); ++c) {
            QTableWidgetItem *item = table->item(r, c);
            row.cells << (item ? item->text() : QString());
        }
        rows << row;
    }
    return rows;
}

void ktFlickerSet::on_pbSaveAs_clicked()
{
    const QString key = QString::fromLatin1(KtSettings::Key::MesPath);
    const QString path = askSavePath ? askSavePath(KtSettings::readSetting(key)) : QString();
    if (path.isEmpty())
        return;
    KtSettings::writeSetting(key, QFileInfo(path).absolutePath());
    const bool colour = isColourMode(m_mode);
    QTableWidget *table = colour ? ui->twMeasureBright : ui->twMeasureFlicker;
    QStringList headers;
    for (int c = 0; c < table->columnCount(); ++c) {
        QTableWidgetItem *h = table->horizontalHeaderItem(c);
        headers << (h ? h->text() : QString());
    }
    QString error;
    const bool ok = saveTableCsv(path, headers, tableRows(table),
                                 colour ? std::function<QStringList(const QStringList &)>(brightExportCells)
                                        : std::function<QStringList(const QStringList &)>(),
                                 &error);
    if (!ok) {
        // A failed write is reported as such: the table stays as it is and nothing is claimed.
        appendLog(tr("Save failed!") + QLatin1Char(' ') + error, Red);
        showMessage(tr("Save failed!"));
        return;
    }
    showMessage(tr("Save successfully!"));
}

void ktFlickerSet::showTableMenu(QTableWidget *table, const QPoint &pos, void (ktFlickerSet::*copy)(),
                                 void (ktFlickerSet::*del)())
{
    QMenu menu(this);
    connect(menu.addAction(tr("Copy")), &QAction::triggered, this, copy);
    connect(menu.addAction(tr("Delete Row")), &QAction::triggered, this, del);
    menu.exec(table->viewport()->mapToGlobal(pos));
}

void ktFlickerSet::slot_twMeasureBright_MenuRequested(const QPoint &pos)
{
    showTableMenu(ui->twMeasureBright, pos, &ktFlickerSet::slot_twMeasureBright_Copy,
                  &ktFlickerSet::slot_twMeasureBright_DeleteRow);
}

void ktFlickerSet::slot_twMeasureFlicker_MenuRequested(const QPoint &pos)
{
    showTableMenu(ui->twMeasureFlicker, pos, &ktFlickerSet::slot_twMeasureFlicker_Copy,
                  &ktFlickerSet::slot_twMeasureFlicker_DeleteRow);
}

void ktFlickerSet::copySelection(QTableWidget *table)
{
    QMap<int, QMap<int, QString>> cells;
    for (QTableWidgetItem *item : table->selectedItems())
        cells[item->row()][item->column()] = item->text();
    QString text;
    for (auto row = cells.cbegin(); row != cells.cend(); ++row) {
        QStringList line;
        for (auto c = row.value().cbegin(); c != row.value().cend(); ++c)
            line << c.value();
        text += line.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    QApplication::clipboard()->setText(text);
}

void ktFlickerSet::slot_twMeasureBright_Copy()
{
    copySelection(ui->twMeasureBright);
}

void ktFlickerSet::slot_twMeasureFlicker_Copy()
{
    copySelection(ui->twMeasureFlicker);
}

void ktFlickerSet::deleteSelectedRows(QTableWidget *table, int *rowCounter)
{
    QList<int> rows;
    for (const QModelIndex &i : table->selectionModel()->selectedIndexes()) {
        if (i.row() < *rowCounter && !rows.contains(i.row()))
            rows << i.row();
    }
    if (rows.isEmpty() || !confirm(tr("Are you sure to delete data of this line?")))
        return;
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int r : rows)
        table->removeRow(r);
    *rowCounter -= rows.size();
    while (table->rowCount() < InitialRows)
        table->insertRow(table->rowCount());
    for (int r = 0; r < table->rowCount(); ++r)
        table->setVerticalHeaderItem(
            r, new QTableWidgetItem(r < *rowCounter ? QString::number(r + 1) : QString()));
}

void ktFlickerSet::slot_twMeasureBright_DeleteRow()
{
    deleteSelectedRows(ui->twMeasureBright, &m_brightRow);
}

void ktFlickerSet::slot_twMeasureFlicker_DeleteRow()
{
    deleteSelectedRows(ui->twMeasureFlicker, &m_flickerRow);
}

// ---- trend chart ------------------------------------------------------------------------------

void ktFlickerSet::rebuildTrend()
{
    QString left, right;
    QVector<TrendChart::Graph> graphs;
    switch (m_mode) {
    case Mode::Xyz:
        left = QStringLiteral("X,Y,Z");
        graphs = {{"X", Qt::red, false}, {"Y", Qt::green, false}, {"Z", Qt::blue, false}};
        break;
    case Mode::Fma:
        left = QStringLiteral("Flicker[%]");
        graphs = {{"FMA", Qt::red, false}};
        break;
    case Mode::Jeita:
        left = QStringLiteral("Flicker[dB]");
        graphs = {{"JEITA", Qt::red, false}};
        break;
    case Mode::TcpDuv:
        left = QStringLiteral("Tcp[K]");
        right = QStringLiteral("duv");
        graphs = {{"Tcp", Qt::red, false}, {"duv", Qt::green, true}};
        break;
    case Mode::DominantWave:
        left = QString::fromUtf8("\u03bbd/\u03bbc[nm]");
        right = QStringLiteral("Pe[%]");
        graphs = {{QString::fromUtf8("\u03bbd/\u03bbc"), Qt::red, false}, {"Pe", Qt::green, true}};
        break;
    default:
        left = QString::fromUtf8("Lv[cd/m\u00b2]");
        right = QStringLiteral("x,y");
        graphs = {{"Lv", QColor(0, 0, 255), false}, {"x", Qt::red, true}, {"y", Qt::green, true}};
        break;
    }
    m_trend->setGraphs(left, right, graphs);
    UpdateWidget();
}

void ktFlickerSet::UpdateWidget()
{
    if (!m_pageActive)
        return;
    if (m_scrollPending) {
        m_scrollPending = false;
        const bool colour = isColourMode(m_mode);
        QTableWidget *table = colour ? ui->twMeasureBright : ui->twMeasureFlicker;
        const int row = (colour ? m_brightRow : m_flickerRow) - 1;
        if (row >= 0)
            table->scrollTo(table->model()->index(row, 0));
    }
    m_trend->refresh();
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
    if (m_seriesRunning)
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
    if (text.isEmpty() || m_seriesRunning)
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
    if (m_settingChannel || m_seriesRunning)
        return;
    QTimer::singleShot(0, this, [this] {
        if (!m_seriesRunning && portOpen() && !readerBusy())
            on_pbreadmemorych_clicked();
    });
}

void ktFlickerSet::on_pbHorseShoe_clicked()
{
    m_horseShoe->show();
    m_horseShoe->raise();
}

void ktFlickerSet::showEvent(QShowEvent *event)
{
    // The controls scroll vertically on a small screen rather than squeeze into each other, and
    // their width is always shown whole (measured once styled, i.e. when first shown).
    ui->sa_Controls->setMinimumWidth(ui->wg_Controls->sizeHint().width() +
                                     ui->sa_Controls->verticalScrollBar()->sizeHint().width() + 2);
    ktPublicConfig::showEvent(event);
}

void ktFlickerSet::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && ui) {
        ui->retranslateUi(m_body);
        setWindowTitle(tr("Measure"));
        setCurrentLabels();
    }
    ktPublicConfig::changeEvent(event);
}
