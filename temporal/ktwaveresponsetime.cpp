#include "ktwaveresponsetime.h"

#include "customplotdrawpoint.h"
#include "ktshowrgb.h"
#include "pagelog.h"
#include "ui_ktwaveresponsetime.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>

using namespace WaveLogic;

namespace {

void setPattern(QLineEdit *field, const QString &pattern)
{
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), field));
}

} // namespace

ktWaveResponseTime::ktWaveResponseTime(QWidget *parent) : WavePageBase(parent)
{
    setObjectName(QStringLiteral("ktWaveResponseTime"));
    ui = new Ui::ktWaveResponseTimeForm;
    ui->setupUi(formBody());
    setUpForm();
    formReady(ui->te_Log);
    retranslate();

    m_patternTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_patternTimer, &QTimer::timeout, this, &ktWaveResponseTime::slot_ShowPic);
    grayLevelChanged(0, le_GaryLevel[0]->text()); // the colour swatch
    m_hideLogTimer.setSingleShot(true);
    connect(&m_hideLogTimer, &QTimer::timeout, this, &ktWaveResponseTime::Slot_HideTextLog);
    UpdateWidget();
}

ktWaveResponseTime::~ktWaveResponseTime()
{
    m_measuring = false;
    m_patternTimer.stop();
    clearMarkers();
    delete ui;
}

void ktWaveResponseTime::setUpForm()
{
    le_StartThreshold = ui->le_StartThreshold;
    le_EndThreshold = ui->le_EndThreshold;
    hSlider_StartThreshold = ui->hSlider_StartThreshold;
    hSlider_EndThreshold = ui->hSlider_EndThreshold;
    cb_SamplingNumber = ui->cb_SamplingNumber;
    le_Decimationinterval = ui->le_Decimationinterval;
    le_MesDelay = ui->le_MesDelay;
    le_ScreenFreq = ui->le_ScreenFreq;
    le_IntervalTime = ui->le_IntervalTime;
    cb_waveMode = ui->cb_waveMode;
    gb_GrayLevel = ui->gb_GrayLevel;
    gb_Setting = ui->gb_Setting;
    cb_GaryLevel[0] = ui->cb_GaryLevel1;
    cb_GaryLevel[1] = ui->cb_GaryLevel2;
    cb_GaryLevel[2] = ui->cb_GaryLevel3;
    hSlider_GaryLevel[0] = ui->hSlider_GaryLevel1;
    hSlider_GaryLevel[1] = ui->hSlider_GaryLevel2;
    hSlider_GaryLevel[2] = ui->hSlider_GaryLevel3;
    le_GaryLevel[0] = ui->le_GaryLevel1;
    le_GaryLevel[1] = ui->le_GaryLevel2;
    le_GaryLevel[2] = ui->le_GaryLevel3;
    lb_color = ui->lb_color;
    lb_log = ui->lb_log;
    pb_Measure = ui->pb_Measure;
    pb_Export = ui->pb_Export;
    pb_Open = ui->pb_Open;
    m_plot = ui->widget;
    m_zoom = ui->actionZoom;
    m_move = ui->actionMove;
    m_reset = ui->actionReset;
    m_reanalysis = ui->actionReanalysis;

    // Validators cannot be given in the form.
    setPattern(le_StartThreshold, QStringLiteral("^(50|[0-9]|[1-4][0-9])$"));
    setPattern(le_EndThreshold, QStringLiteral("^(100|[0-9]|[1-9][0-9])$"));
    for (QLineEdit *le : {le_MesDelay, le_ScreenFreq, le_IntervalTime})
        setPattern(le, QStringLiteral("[0-9]+$"));
    for (int i = 0; i < 3; ++i) {
        setPattern(le_GaryLevel[i],
                   QStringLiteral("^(255|[0-9]|[1-9][0-9]|[1][0-9][0-9]|[2][0-4][0-9]|[2][5][0-5])$"));
        connect(hSlider_GaryLevel[i], &QSlider::valueChanged, le_GaryLevel[i],
                [this, i](int v) { le_GaryLevel[i]->setText(QString::number(v)); });
    }
    connect(le_GaryLevel[0], &QLineEdit::textChanged, this, &ktWaveResponseTime::slot_GaryLevel1TextChanged);
    connect(le_GaryLevel[1], &QLineEdit::textChanged, this, &ktWaveResponseTime::slot_GaryLevel2TextChanged);
    connect(le_GaryLevel[2], &QLineEdit::textChanged, this, &ktWaveResponseTime::slot_GaryLevel3TextChanged);
    lb_color->installEventFilter(this);

    m_plot->addGraph();
    m_plot->graph(0)->setPen(QPen(QColor(30, 90, 200)));
    connect(m_zoom, &QAction::triggered, this, &ktWaveResponseTime::Slot_ZoomAction);
    connect(m_move, &QAction::triggered, this, &ktWaveResponseTime::Slot_MoveAction);
    connect(m_reset, &QAction::triggered, this, &ktWaveResponseTime::Slot_ResetAction);
    connect(m_reanalysis, &QAction::triggered, this, &ktWaveResponseTime::Slot_ReanalysisAction);
    connect(m_plot, &CustomPlotDrawPoint::signal_showResult, this, &ktWaveResponseTime::slot_showResult);

    connect(cb_waveMode, &QCheckBox::stateChanged, this, &ktWaveResponseTime::slot_waveModeChanged);
    connect(le_StartThreshold, &QLineEdit::editingFinished, this,
            &ktWaveResponseTime::slot_StartThresholdEditingFinished);
    connect(le_EndThreshold, &QLineEdit::editingFinished, this,
            &ktWaveResponseTime::slot_EndThresholdEditingFinished);
    connect(hSlider_StartThreshold, &QSlider::valueChanged, this, [this](int v) {
        le_StartThreshold->setText(QString::number(v));
        m_startThreshold = le_StartThreshold->text();
    });
    connect(hSlider_EndThreshold, &QSlider::valueChanged, this, [this](int v) {
        le_EndThreshold->setText(QString::number(v));
        m_endThreshold = le_EndThreshold->text();
    });
    connect(le_Decimationinterval, &QLineEdit::textChanged, this,
            [this] { checkDecimation(le_Decimationinterval, false); });
    connect(le_Decimationinterval, &QLineEdit::editingFinished, this,
            [this] { checkDecimation(le_Decimationinterval, true); });
}

void ktWaveResponseTime::retranslate()
{
    setWindowTitle(tr("WaveResponseTimeTest"));
    ui->retranslateUi(m_body);
    stylePlot(m_plot, tr("Time[sec]"), tr("Lv[cd/m") + QChar(0x00B2) + QLatin1Char(']'));
    UpdateWidget();
}

void ktWaveResponseTime::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && pb_Measure)
        retranslate();
    WavePageBase::changeEvent(event);
}

void ktWaveResponseTime::closeEvent(QCloseEvent *event)
{
    if (m_measuring) {
        showMessage(tr("Please wait for the measurement to finish!"));
        event->ignore();
        return;
    }
    WavePageBase::closeEvent(event);
}

bool ktWaveResponseTime::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lb_color && event->type() == QEvent::MouseButtonDblClick) {
        RGBDoubleClicked();
        return true;
    }
    return WavePageBase::eventFilter(watched, event);
}

void ktWaveResponseTime::UpdateWidget()
{
    pb_Measure->setText(m_measuring ? tr("Stop") : tr("Measure"));
    for (QWidget *w : std::initializer_list<QWidget *>{gb_Setting, gb_GrayLevel, pb_Export, pb_Open})
        w->setEnabled(!m_measuring);
    m_plot->setPickEnabled(!m_measuring && !m_wave.isEmpty());
}

void ktWaveResponseTime::Slot_ClosePort()
{
    stopMeasuring();
}

void ktWaveResponseTime::showStatus(const QString &text)
{
    lb_log->setStyleSheet(QStringLiteral("color: black;"));
    lb_log->setText(text);
    lb_log->show();
    m_hideLogTimer.start(3000);
}

void ktWaveResponseTime::Slot_HideTextLog()
{
    lb_log->hide();
}

void ktWaveResponseTime::slot_waveModeChanged(int state)
{
    // The record shown is analysed again in the window the choice gives.
    if (!m_measuring && !m_wave.isEmpty())
        showWaveform(state == Qt::Checked);
}

// ---- thresholds and gray levels -----------------------------------------------------------

void ktWaveResponseTime::slot_StartThresholdEditingFinished()
{
    if (!WaveLogic::validStartThreshold(le_StartThreshold->text())) {
        le_StartThreshold->setText(m_startThreshold);
        showMessage(tr("The start threshold range is 0 to 50!"));
        return;
    }
    m_startThreshold = le_StartThreshold->text();
    hSlider_StartThreshold->setValue(m_startThreshold.toInt());
}

void ktWaveResponseTime::slot_EndThresholdEditingFinished()
{
    if (!WaveLogic::validEndThreshold(le_EndThreshold->text())) {
        le_EndThreshold->setText(m_endThreshold);
        showMessage(tr("The end threshold range is 50 to 100!"));
        return;
    }
    m_endThreshold = le_EndThreshold->text();
    hSlider_EndThreshold->setValue(m_endThreshold.toInt());
}

void ktWaveResponseTime::grayLevelChanged(int index, const QString &text)
{
    if (!WaveLogic::validGrayLevel(text))
        return;
    const QSignalBlocker block(hSlider_GaryLevel[index]);
    hSlider_GaryLevel[index]->setValue(text.toInt());
    if (index == 0) {
        const QString colour = QStringLiteral("%1,%1,%1").arg(text);
        lb_color->setStyleSheet(
            QStringLiteral("color: rgb(255, 255, 255);background-color: rgb(%1);").arg(colour));
    }
}

void ktWaveResponseTime::slot_GaryLevel1TextChanged(QString text)
{
    grayLevelChanged(0, text);
}

void ktWaveResponseTime::slot_GaryLevel2TextChanged(QString text)
{
    grayLevelChanged(1, text);
}

void ktWaveResponseTime::slot_GaryLevel3TextChanged(QString text)
{
    grayLevelChanged(2, text);
}

// ---- pattern window -----------------------------------------------------------------------

QStringList ktWaveResponseTime::patternColours() const
{
    QStringList colours;
    for (int i = 0; i < 3; ++i) {
        if (cb_GaryLevel[i]->isChecked() && WaveLogic::validGrayLevel(le_GaryLevel[i]->text()))
            colours << QStringLiteral("%1,%1,%1").arg(le_GaryLevel[i]->text());
    }
    return colours;
}

void ktWaveResponseTime::showPattern(const QString &colour)
{
    if (!m_pattern) {
        m_pattern = new ktShowRGB(this);
        connect(m_pattern, &ktShowRGB::signal_CloseRGBWindow, this, [this] { m_patternTimer.stop(); });
    }
    m_pattern->SetColor(colour);
    lb_color->setStyleSheet(
        QStringLiteral("color: rgb(255, 255, 255);background-color: rgb(%1);").arg(colour));
    if (!m_pattern->isVisible())
        m_pattern->show();
}

void ktWaveResponseTime::RGBDoubleClicked()
{
    const QStringList colours = patternColours();
    showPattern(colours.isEmpty() ? QStringLiteral("255,255,255") : colours.first());
}

void ktWaveResponseTime::slot_ShowPic()
{
    if (m_patternColours.isEmpty())
        return;
    m_patternIndex = (m_patternIndex + 1) % m_patternColours.size();
    showPattern(m_patternColours.at(m_patternIndex));
}
