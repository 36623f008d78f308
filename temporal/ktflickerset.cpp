#include "ktflickerset.h"

#include "ktcfgdata.h"
#include "ktdominantwave.h"
#include "kthorseshoe.h"
#include "ktmessagedlg.h"
#include "ktqcustomplot.h"
#include "ktsettings.h"
#include "measuremodes.h"
#include "portholder.h"
#include "probereply.h"
#include "resulttables.h"
#include "seriesrunner.h"
#include "trendchart.h"
#include "ui_ktflickerset.h"
#include "workerthread.h"

#include <QButtonGroup>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QIntValidator>
#include <QMenu>
#include <QScrollBar>
#include <QSerialPort>
#include <QSettings>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

using namespace FlickerLogic;

namespace {

const QString Red = QStringLiteral("red");
constexpr int RefreshMs = 200;

// Per-user memory of the page's measuring choices.
QSettings userSettings()
{
    return QSettings(QString::fromLatin1(KtSettings::UserOrganisation),
                     QString::fromLatin1(KtSettings::UserApplication));
}
const QString KeyMode = QStringLiteral("Measure/Mode");
const QString KeyContinuous = QStringLiteral("Measure/Continuous");
const QString KeyCount = QStringLiteral("Measure/Count");
const QString KeyDelay = QStringLiteral("Measure/Delay");
const QString KeyIntervalS = QStringLiteral("Measure/IntervalS");
const QString KeyIntervalMs = QStringLiteral("Measure/IntervalMs");

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

    // Button ids are the modes, in the order of the mode table.
    m_modeGroup = new QButtonGroup(this);
    const QVector<QRadioButton *> buttons{ui->rb_Color,  ui->rb_ColorXYZ,     ui->rb_FMA, ui->rb_MeasureJEITA,
                                          ui->rb_Tcpduv, ui->rb_DominantWave, ui->rb_Lab};
    for (int id = 0; id < buttons.size(); ++id)
        m_modeGroup->addButton(buttons.at(id), id);
    connect(m_modeGroup, &QButtonGroup::idClicked, this, &ktFlickerSet::on_MeasureModeButtonClicked);
    connect(ui->rb_Single, &QRadioButton::clicked, this, &ktFlickerSet::MeasureSpecFun);
    connect(ui->rb_Cont, &QRadioButton::clicked, this, &ktFlickerSet::MeasureSpecFun);
    for (QLineEdit *le : {ui->le_Count, ui->le_Delay, ui->le_InterValMin, ui->le_InterValSec})
        connect(le, &QLineEdit::editingFinished, this, &ktFlickerSet::saveSettings);

    m_tables = new ResultTables(ui->twMeasureBright, ui->twMeasureFlicker, this);
    m_tables->confirm = [this] { return confirm(tr("Are you sure to delete data of this line?")); };
    connect(m_tables, &ResultTables::rowsRemoved, this, &ktFlickerSet::removeTrendPoints);
    connect(ui->twMeasureBright, &QTableView::customContextMenuRequested, this,
            &ktFlickerSet::slot_twMeasureBright_MenuRequested);
    connect(ui->twMeasureFlicker, &QTableView::customContextMenuRequested, this,
            &ktFlickerSet::slot_twMeasureFlicker_MenuRequested);

    m_runner = new SeriesRunner(m_hub, this);
    m_runner->sendJeita = [this] {
        if (readerBusy())
            return false;
        SendJADAsync(ProbeReply::TaskJeita);
        return true;
    };
    connect(m_runner, &SeriesRunner::reading, this, [this](const QString &reply, const QString &dt) {
        m_lastDt = dt;
        handleMesReply(reply);
    });
    connect(m_runner, &SeriesRunner::finished, this, &ktFlickerSet::seriesFinished);
    connect(m_runner, &SeriesRunner::portLost, this, [this](const QString &error) {
        appendLog(tr("Serial port is not opened!") + QLatin1Char(' ') + error, Red);
        emit Signal_SendClosePort();
    });

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

    connect(&m_refreshTimer, &QTimer::timeout, this, &ktFlickerSet::UpdateWidget);
    m_refreshTimer.start(RefreshMs);

    // Start in the remembered mode without talking to the probe: the mode is sent before the
    // first measurement.
    restoreSettings();
    m_modeChanged = true;

    askSavePath = [this](const QString &start) {
        return QFileDialog::getSaveFileName(this, tr("Save File"), start, tr("file (*.csv)"));
    };
}

ktFlickerSet::~ktFlickerSet()
{
    m_refreshTimer.stop();
    saveSettings();
    delete m_runner; // stops the worker and gives the port back
    m_runner = nullptr;
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

bool ktFlickerSet::seriesRunning() const
{
    return m_runner && m_runner->running();
}

int ktFlickerSet::remainingCount() const
{
    return m_runner ? m_runner->remaining() : 0;
}

int ktFlickerSet::brightRow() const
{
    return m_tables->bright()->recordCount();
}

int ktFlickerSet::flickerRow() const
{
    return m_tables->flicker()->recordCount();
}

WorkerThread *ktFlickerSet::worker() const
{
    return m_runner ? m_runner->worker() : nullptr;
}

MeasurementModel *ktFlickerSet::tableModel(bool colour) const
{
    return m_tables->model(colour);
}

QString ktFlickerSet::seriesStatus() const
{
    return ui->lb_SeriesStatus->text();
}

void ktFlickerSet::notify(const QString &text)
{
    messageDialog()->setMessage(text, false, true);
    if (!messageDialog()->isVisible())
        messageDialog()->show();
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

// ---- settings ---------------------------------------------------------------------------------

void ktFlickerSet::restoreSettings()
{
    QSettings s = userSettings();
    const int id = s.value(KeyMode, 0).toInt();
    const Mode mode = id >= 0 && id < MeasureModes::count() && m_modeGroup->button(id)->isVisibleTo(this)
                          ? static_cast<Mode>(id)
                          : Mode::XyLv;
    m_modeGroup->button(static_cast<int>(mode))->setChecked(true);
    (s.value(KeyContinuous, false).toBool() ? ui->rb_Cont : ui->rb_Single)->setChecked(true);
    const QVector<std::pair<QLineEdit *, QString>> fields{{ui->le_Count, KeyCount},
                                                          {ui->le_Delay, KeyDelay},
                                                          {ui->le_InterValMin, KeyIntervalS},
                                                          {ui->le_InterValSec, KeyIntervalMs}};
    for (const auto &f : fields) {
        QString text = s.value(f.second).toString();
        int pos = 0;
        if (!text.isEmpty() && f.first->validator()->validate(text, pos) == QValidator::Acceptable)
            f.first->setText(text);
    }
    applyMode(mode);
}

void ktFlickerSet::saveSettings() const
{
    if (!ui)
        return;
    QSettings s = userSettings();
    s.setValue(KeyMode, static_cast<int>(m_mode));
    s.setValue(KeyContinuous, ui->rb_Cont->isChecked());
    // While a series runs le_Count shows the remaining cycles, not the count chosen.
    s.setValue(KeyCount, seriesRunning() ? QString::number(m_runner->total()) : ui->le_Count->text());
    s.setValue(KeyDelay, ui->le_Delay->text());
    s.setValue(KeyIntervalS, ui->le_InterValMin->text());
    s.setValue(KeyIntervalMs, ui->le_InterValSec->text());
}

// ---- modes ------------------------------------------------------------------------------------

void ktFlickerSet::on_MeasureModeButtonClicked(int)
{
    MeasureModeFun();
}

void ktFlickerSet::MeasureModeFun()
{
    const int id = m_modeGroup->checkedId();
    if (id < 0 || id == static_cast<int>(m_mode))
        return;
    // A new mode starts new tables: rows already measured go only when the user agrees.
    if (m_tables->bright()->recordCount() + m_tables->flicker()->recordCount() > 0 &&
        !confirm(tr("Changing the measure mode clears the measured data. Continue?"))) {
        m_modeGroup->button(static_cast<int>(m_mode))->setChecked(true);
        return;
    }
    applyMode(static_cast<Mode>(id));
    saveSettings();

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

void ktFlickerSet::applyMode(Mode mode)
{
    const MeasureModes::Traits &traits = MeasureModes::traits(mode);
    m_mode = mode;
    m_modeCode = QString::fromLatin1(traits.code);
    clearTables();
    if (!traits.colour)
        m_tables->setFlickerLayout(mode == Mode::Jeita);
    ui->sw_Tables->setCurrentIndex(traits.colour ? 0 : 1);
    for (QLineEdit *le : {ui->le_FlickerX, ui->le_FlickerY, ui->le_FlickerZ})
        le->setEnabled(traits.colour);
    ui->le_FlickerValue->setEnabled(!traits.colour);
    setCurrentLabels();
    if (mode == Mode::DominantWave)
        applyWhitePoint();
    m_trend->setGraphs(QString::fromUtf8(traits.leftTitle), QString::fromUtf8(traits.rightTitle),
                       traits.graphs);
    UpdateWidget();
}

void ktFlickerSet::setCurrentLabels()
{
    const MeasureModes::Traits &traits = MeasureModes::traits(m_mode);
    if (traits.colour) {
        ui->lb_FlickerX->setText(QString::fromUtf8(traits.labels[0]));
        ui->lb_FlickerY->setText(QString::fromUtf8(traits.labels[1]));
        ui->lb_FlickerZ->setText(QString::fromUtf8(traits.labels[2]));
    }
    // In the form's own translation context, where "FMA:" already has its translations.
    ui->lb_FlickerValue->setText(QCoreApplication::translate("ktFlickerSetForm", traits.valueLabel));
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
    // Only remembered: the count and timing fields matter when a series starts.
    saveSettings();
}

void ktFlickerSet::RefreshConfigFun()
{
    if (m_horseShoe)
        m_horseShoe->clearData();
    if (m_mode == Mode::DominantWave)
        applyWhitePoint();
}

// ---- measuring --------------------------------------------------------------------------------

void ktFlickerSet::on_pbMeasure_clicked()
{
    if (ktCfgData::instance()->probeMode() == 1) {
        showMessage(tr("Configure a single serial port!"));
        return;
    }
    if (seriesRunning())
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
    saveSettings();
    sendModeIfChanged();
    lockControls(true);
    const int delayMs = ui->le_Delay->text().toInt() * 1000;
    const int intervalMs = ui->le_InterValMin->text().toInt() * 1000 + ui->le_InterValSec->text().toInt();
    m_runner->start(count, delayMs, intervalMs, m_mode == Mode::Jeita);
    UpdateWidget();
}

void ktFlickerSet::Slot_SyncMeasure(QString strResult, QString deltaT)
{
    m_runner->queue(strResult, deltaT);
}

void ktFlickerSet::Slot_ProcessMeasureResult()
{
    m_runner->process();
}

void ktFlickerSet::Slot_SyncFinished()
{
    m_runner->workerFinished();
}

void ktFlickerSet::UnblockSleep(int msec)
{
    QEventLoop loop;
    QTimer::singleShot(msec, &loop, &QEventLoop::quit);
    loop.exec();
}

void ktFlickerSet::on_pbStop_clicked()
{
    m_runner->stop();
}

void ktFlickerSet::seriesFinished()
{
    lockControls(false);
    ui->le_Count->setText(QString::number(m_runner->total()));
    const QString status = m_runner->statusText();
    ui->lb_SeriesStatus->setText(status);
    if (m_runner->fellShort())
        appendLog(status, Red);
    if (m_runner->fellShort() && m_runner->lostReadings())
        notify(status);
    UpdateWidget();
    emit Signal_SeriesFinished();
}

void ktFlickerSet::DelayTriggel()
{
    m_runner->startJeita();
}

void ktFlickerSet::StartDelayFun()
{
    m_runner->startJeita();
}

void ktFlickerSet::IntervalFun()
{
    m_runner->jeitaStep();
}

void ktFlickerSet::JeitaCommEnd()
{
    if (m_runner->running() && m_runner->jeita())
        m_runner->stop();
}

// ---- rows -------------------------------------------------------------------------------------

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
    const int row =
        m_tables->append(true, FlickerTable::brightRecord(r, summary, QDateTime::currentDateTime()));

    const MeasureModes::Traits &traits = MeasureModes::traits(m_mode);
    if (traits.colour) {
        const QStringList current = traits.current(r, m_tables->bright()->rowTexts(row - 1));
        showCurrent({{ui->le_FlickerX, current.at(0)},
                     {ui->le_FlickerY, current.at(1)},
                     {ui->le_FlickerZ, current.at(2)}});
        m_trend->addPoint(row, traits.trend(r));
    }
    const double x = MeasureModes::number(r.x), y = MeasureModes::number(r.y);
    if (m_horseShoe && std::isfinite(x) && std::isfinite(y))
        m_horseShoe->addData(QPointF(x, y), 1);
    emit Signal_RowAdded(row);
}

void ktFlickerSet::RecvFlickResult(QString strFlick, QString strErrCode)
{
    const int row =
        m_tables->append(false, FlickerTable::fmaRecord(strFlick, strErrCode, QDateTime::currentDateTime()));
    if (!strFlick.isEmpty())
        showCurrent({{ui->le_FlickerValue, strFlick}});
    m_trend->addPoint(row, {MeasureModes::number(strFlick)});
    emit Signal_RowAdded(row);
}

void ktFlickerSet::RecvJeitaResult(QString strJeita, QStringList perHz, QString strErrText)
{
    JeitaOutcome j;
    j.ok = true;
    j.value = strJeita;
    j.perHz = perHz;
    const bool outside = strErrText == tr("Outside of measurement range!");
    j.errText = outside ? outsideRangeText() : strErrText;
    const MeasurementModel::Record record =
        FlickerTable::jeitaRecord(j, strErrText, QDateTime::currentDateTime());
    const QString value = record.texts.value(0);
    const int row = m_tables->append(false, record);
    const double v = value == QLatin1String("-") ? std::nan("") : MeasureModes::number(value);
    if (std::isfinite(v))
        showCurrent({{ui->le_FlickerValue, value}});
    else
        markCurrentFailed();
    m_trend->addPoint(row, {v});
    emit Signal_RowAdded(row);
}

// ---- tables -----------------------------------------------------------------------------------

void ktFlickerSet::clearTables()
{
    m_tables->clear();
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

void ktFlickerSet::on_pbSaveAs_clicked()
{
    const QString key = QString::fromLatin1(KtSettings::Key::MesPath);
    QString path = askSavePath ? askSavePath(KtSettings::readSetting(key)) : QString();
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv"); // a name typed without its extension
    KtSettings::writeSetting(key, QFileInfo(path).absolutePath());
    const bool colour = isColourMode(m_mode);
    const MeasurementModel *model = m_tables->model(colour);
    QString error;
    const bool ok = saveTableCsv(path, model->titles(), FlickerTable::exportRows(*model),
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

void ktFlickerSet::showTableMenu(QTableView *table, const QPoint &pos, void (ktFlickerSet::*copy)(),
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

void ktFlickerSet::slot_twMeasureBright_Copy()
{
    m_tables->copySelection(true);
}

void ktFlickerSet::slot_twMeasureFlicker_Copy()
{
    m_tables->copySelection(false);
}

void ktFlickerSet::slot_twMeasureBright_DeleteRow()
{
    m_tables->deleteSelectedRows(true);
}

void ktFlickerSet::slot_twMeasureFlicker_DeleteRow()
{
    m_tables->deleteSelectedRows(false);
}

void ktFlickerSet::removeTrendPoints(bool colour, const QVector<int> &rows)
{
    // The chart shows the active table only.
    if (colour == isColourMode(m_mode))
        m_trend->removePoints(rows);
}

void ktFlickerSet::showCurrent(const QVector<QPair<QLineEdit *, QString>> &texts)
{
    // During a series the fields follow on the refresh timer: a repaint per reading would cost
    // the GUI thread more than the reading itself.
    m_currentPending = texts;
    if (!seriesRunning())
        updateCurrent();
}

void ktFlickerSet::updateCurrent()
{
    for (const auto &field : qAsConst(m_currentPending))
        field.first->setText(field.second);
    m_currentPending.clear();
}

void ktFlickerSet::UpdateWidget()
{
    if (!ui)
        return;
    updateCurrent();
    if (seriesRunning()) {
        ui->le_Count->setText(QString::number(m_runner->remaining()));
        ui->lb_SeriesStatus->setText(m_runner->statusText());
    }
    if (!m_pageActive)
        return;
    m_tables->scrollToNewest(isColourMode(m_mode));
    m_trend->refresh();
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
        // retranslateUi writes the form's initial texts into the fields too: what the user
        // typed and the current readings stay.
        const QList<QLineEdit *> kept{ui->le_Count,       ui->le_Delay,       ui->le_InterValMin,
                                      ui->le_InterValSec, ui->le_FlickerX,    ui->le_FlickerY,
                                      ui->le_FlickerZ,    ui->le_FlickerValue};
        QStringList texts;
        for (QLineEdit *le : kept)
            texts << le->text();
        const QString status = ui->lb_SeriesStatus->text();
        ui->retranslateUi(m_body);
        for (int i = 0; i < kept.size(); ++i)
            kept.at(i)->setText(texts.at(i));
        ui->lb_SeriesStatus->setText(status);
        setWindowTitle(tr("Measure"));
        setCurrentLabels();
        m_tables->retranslateHeaders();
        m_trend->retranslate();
    }
    ktPublicConfig::changeEvent(event);
}
