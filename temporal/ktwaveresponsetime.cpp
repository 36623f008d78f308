#include "ktwaveresponsetime.h"

#include "customplotdrawpoint.h"
#include "ktshowrgb.h"
#include "pagelog.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QVBoxLayout>

using namespace WaveLogic;

namespace {

// Captions of the settings, in the order of m_labels.
const char *const Captions[] = {
    QT_TRANSLATE_NOOP("ktWaveResponseTime", "Start Threshold"),
    QT_TRANSLATE_NOOP("ktWaveResponseTime", "End Threshold"),
    QT_TRANSLATE_NOOP("ktWaveResponseTime", "Sampling Number"),
    QT_TRANSLATE_NOOP("ktWaveResponseTime", "Decimation Interval"),
    QT_TRANSLATE_NOOP("ktWaveResponseTime", "Measure Delay[ms]"),
    QT_TRANSLATE_NOOP("ktWaveResponseTime", "Screen Freq[Hz]"),
    QT_TRANSLATE_NOOP("ktWaveResponseTime", "Interval[ms]"),
};
const char *const GrayCaptions[] = {QT_TRANSLATE_NOOP("ktWaveResponseTime", "GrayL1"),
                                    QT_TRANSLATE_NOOP("ktWaveResponseTime", "GrayL2"),
                                    QT_TRANSLATE_NOOP("ktWaveResponseTime", "GrayL3")};
const char *const GrayDefaults[] = {"0", "255", "0"};

QSlider *slider(QWidget *parent, const QString &name, int lo, int hi, int value)
{
    auto *s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(name);
    s->setRange(lo, hi);
    s->setValue(value);
    return s;
}

QLineEdit *field(QWidget *parent, const QString &name, const QString &text,
                 const QString &pattern = QString())
{
    auto *le = new QLineEdit(text, parent);
    le->setObjectName(name);
    if (!pattern.isEmpty())
        le->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), le));
    le->setMaximumWidth(90);
    return le;
}

} // namespace

ktWaveResponseTime::ktWaveResponseTime(QWidget *parent) : WavePageBase(parent)
{
    setObjectName(QStringLiteral("ktWaveResponseTime"));
    buildForm();
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
}

void ktWaveResponseTime::buildForm()
{
    auto *page = new QHBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    auto *left = new QVBoxLayout(scrollingColumn(page));
    left->setContentsMargins(0, 0, 0, 0);

    gb_Setting = new QGroupBox(this);
    gb_Setting->setObjectName(QStringLiteral("gb_Setting"));
    auto *grid = new QGridLayout(gb_Setting);
    for (size_t i = 0; i < sizeof Captions / sizeof *Captions; ++i)
        m_labels << new QLabel(gb_Setting);
    le_StartThreshold = field(gb_Setting, QStringLiteral("le_StartThreshold"), m_startThreshold,
                              QStringLiteral("^(50|[0-9]|[1-4][0-9])$"));
    hSlider_StartThreshold = slider(gb_Setting, QStringLiteral("hSlider_StartThreshold"), 0, 50, 10);
    le_EndThreshold = field(gb_Setting, QStringLiteral("le_EndThreshold"), m_endThreshold,
                            QStringLiteral("^(100|[0-9]|[1-9][0-9])$"));
    hSlider_EndThreshold = slider(gb_Setting, QStringLiteral("hSlider_EndThreshold"), 50, 100, 90);
    cb_SamplingNumber = new QComboBox(gb_Setting);
    cb_SamplingNumber->setObjectName(QStringLiteral("cb_SamplingNumber"));
    cb_SamplingNumber->addItems({QStringLiteral("1024"), QStringLiteral("2048"), QStringLiteral("4096"),
                                 QStringLiteral("8192"), QStringLiteral("16384"), QStringLiteral("32767")});
    le_Decimationinterval = field(gb_Setting, QStringLiteral("le_Decimationinterval"), QStringLiteral("1"));
    le_MesDelay =
        field(gb_Setting, QStringLiteral("le_MesDelay"), QStringLiteral("500"), QStringLiteral("[0-9]+$"));
    le_ScreenFreq =
        field(gb_Setting, QStringLiteral("le_ScreenFreq"), QStringLiteral("60"), QStringLiteral("[0-9]+$"));
    cb_waveMode = new QCheckBox(gb_Setting);
    cb_waveMode->setObjectName(QStringLiteral("cb_waveMode"));
    grid->addWidget(m_labels[0], 0, 0);
    grid->addWidget(le_StartThreshold, 0, 1);
    grid->addWidget(hSlider_StartThreshold, 0, 2);
    grid->addWidget(m_labels[1], 1, 0);
    grid->addWidget(le_EndThreshold, 1, 1);
    grid->addWidget(hSlider_EndThreshold, 1, 2);
    QWidget *fields[] = {cb_SamplingNumber, le_Decimationinterval, le_MesDelay, le_ScreenFreq};
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(m_labels[2 + i], 2 + i, 0);
        grid->addWidget(fields[i], 2 + i, 1, 1, 2);
    }
    grid->addWidget(cb_waveMode, 6, 0, 1, 3);
    left->addWidget(gb_Setting);

    gb_GrayLevel = new QGroupBox(this);
    gb_GrayLevel->setObjectName(QStringLiteral("gb_GrayLevel"));
    gb_GrayLevel->setCheckable(true);
    gb_GrayLevel->setChecked(false);
    auto *gray = new QGridLayout(gb_GrayLevel);
    const QString levelPattern =
        QStringLiteral("^(255|[0-9]|[1-9][0-9]|[1][0-9][0-9]|[2][0-4][0-9]|[2][5][0-5])$");
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        cb_GaryLevel[i] = new QCheckBox(gb_GrayLevel);
        cb_GaryLevel[i]->setObjectName(QStringLiteral("cb_GaryLevel") + n);
        cb_GaryLevel[i]->setChecked(true);
        hSlider_GaryLevel[i] = slider(gb_GrayLevel, QStringLiteral("hSlider_GaryLevel") + n, 0, 255,
                                      QString::fromLatin1(GrayDefaults[i]).toInt());
        le_GaryLevel[i] = field(gb_GrayLevel, QStringLiteral("le_GaryLevel") + n,
                                QString::fromLatin1(GrayDefaults[i]), levelPattern);
        gray->addWidget(cb_GaryLevel[i], i, 0);
        gray->addWidget(hSlider_GaryLevel[i], i, 1);
        gray->addWidget(le_GaryLevel[i], i, 2);
        connect(hSlider_GaryLevel[i], &QSlider::valueChanged, le_GaryLevel[i],
                [this, i](int v) { le_GaryLevel[i]->setText(QString::number(v)); });
    }
    connect(le_GaryLevel[0], &QLineEdit::textChanged, this, &ktWaveResponseTime::slot_GaryLevel1TextChanged);
    connect(le_GaryLevel[1], &QLineEdit::textChanged, this, &ktWaveResponseTime::slot_GaryLevel2TextChanged);
    connect(le_GaryLevel[2], &QLineEdit::textChanged, this, &ktWaveResponseTime::slot_GaryLevel3TextChanged);
    le_IntervalTime = field(gb_GrayLevel, QStringLiteral("le_IntervalTime"), QStringLiteral("1000"),
                            QStringLiteral("[0-9]+$"));
    gray->addWidget(m_labels[6], 3, 0);
    gray->addWidget(le_IntervalTime, 3, 1, 1, 2);
    lb_color = new QLabel(gb_GrayLevel);
    lb_color->setObjectName(QStringLiteral("lb_color"));
    lb_color->setAlignment(Qt::AlignCenter);
    lb_color->setMinimumHeight(28);
    lb_color->installEventFilter(this);
    gray->addWidget(lb_color, 4, 0, 1, 3);
    left->addWidget(gb_GrayLevel);

    auto *buttons = new QHBoxLayout;
    pb_Measure = new QPushButton(this);
    pb_Measure->setObjectName(QStringLiteral("pb_Measure"));
    pb_Export = new QPushButton(this);
    pb_Export->setObjectName(QStringLiteral("pb_Export"));
    pb_Open = new QPushButton(this);
    pb_Open->setObjectName(QStringLiteral("pb_Open"));
    for (QPushButton *b : {pb_Measure, pb_Export, pb_Open})
        buttons->addWidget(b);
    left->addLayout(buttons);
    lb_log = new QLabel(this);
    lb_log->setObjectName(QStringLiteral("lb_log"));
    lb_log->setWordWrap(true);
    left->addWidget(lb_log);
    left->addWidget(m_log, 1);

    m_plot = new CustomPlotDrawPoint(this);
    m_plot->setObjectName(QStringLiteral("widget"));
    m_plot->addGraph();
    m_plot->graph(0)->setPen(QPen(QColor(30, 90, 200)));
    m_plot->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_zoom = new QAction(m_plot);
    m_move = new QAction(m_plot);
    m_reset = new QAction(m_plot);
    m_reanalysis = new QAction(m_plot);
    for (QAction *a : {m_zoom, m_move, m_reset, m_reanalysis})
        m_plot->addAction(a);
    connect(m_zoom, &QAction::triggered, this, &ktWaveResponseTime::Slot_ZoomAction);
    connect(m_move, &QAction::triggered, this, &ktWaveResponseTime::Slot_MoveAction);
    connect(m_reset, &QAction::triggered, this, &ktWaveResponseTime::Slot_ResetAction);
    connect(m_reanalysis, &QAction::triggered, this, &ktWaveResponseTime::Slot_ReanalysisAction);
    connect(m_plot, &CustomPlotDrawPoint::signal_showResult, this, &ktWaveResponseTime::slot_showResult);
    page->addWidget(m_plot, 1);

    connect(pb_Measure, &QPushButton::clicked, this, &ktWaveResponseTime::on_pb_Measure_clicked);
    connect(pb_Export, &QPushButton::clicked, this, &ktWaveResponseTime::on_pb_Export_clicked);
    connect(pb_Open, &QPushButton::clicked, this, &ktWaveResponseTime::on_pb_Open_clicked);
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
    gb_Setting->setTitle(tr("Setting"));
    for (int i = 0; i < m_labels.size(); ++i)
        m_labels[i]->setText(tr(Captions[i]));
    for (int i = 0; i < 3; ++i)
        cb_GaryLevel[i]->setText(tr(GrayCaptions[i]));
    cb_waveMode->setText(tr("Auto Capture Wave"));
    gb_GrayLevel->setTitle(tr("Show Picture"));
    lb_color->setText(tr("Double-click"));
    pb_Export->setText(tr("Export"));
    pb_Open->setText(tr("Open File"));
    m_zoom->setText(tr("Zoom"));
    m_move->setText(tr("Move"));
    m_reset->setText(tr("Reset"));
    m_reanalysis->setText(tr("Reanalysis"));
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
