#include "ktwaveformjwa.h"

#include "ktqcustomplot.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

using namespace WaveLogic;

namespace {

const char *const StatLabels[] = {"x-ave",      "y-ave",     "lv-ave",    "x-max-min",  "y-max-min",
                                  "lv-max-min", "x-min/max", "y-min/max", "lv-min/max", "lv-max/min"};
constexpr int LuminanceOnlyNumber = 8192;
enum Graph
{
    GraphLv,
    GraphX,
    GraphY
};

} // namespace

ktWaveFormJWA::ktWaveFormJWA(QWidget *parent) : ktWaveForm(parent)
{
    setObjectName(QStringLiteral("ktWaveFormJWA"));
    cb_SamplingNumber->addItem(QString::number(LuminanceOnlyNumber));

    gb_SensorType = new QGroupBox(this);
    gb_SensorType->setObjectName(QStringLiteral("gb_SensorType"));
    auto *sensor = new QHBoxLayout(gb_SensorType);
    auto *sensorGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        rb_SensorType[i] = new QRadioButton(QString::number(i), gb_SensorType);
        rb_SensorType[i]->setObjectName(QStringLiteral("rb_SensorType%1").arg(i));
        sensorGroup->addButton(rb_SensorType[i], i);
        sensor->addWidget(rb_SensorType[i]);
        connect(rb_SensorType[i], &QRadioButton::clicked, this, &ktWaveFormJWA::ChangeSensorType);
    }
    rb_SensorType[0]->setChecked(true);
    cb_Loop = new QCheckBox(gb_SensorType);
    cb_Loop->setObjectName(QStringLiteral("cb_Loop"));
    sensor->addWidget(cb_Loop);
    m_leftColumn->insertWidget(1, gb_SensorType);

    gb_Statistics = new QGroupBox(this);
    gb_Statistics->setObjectName(QStringLiteral("gb_Statistics"));
    auto *stats = new QGridLayout(gb_Statistics);
    int row = 0;
    for (const char *label : StatLabels) {
        auto *le = new QLineEdit(gb_Statistics);
        le->setObjectName(QStringLiteral("le_") + QString::fromLatin1(label));
        le->setReadOnly(true);
        // Five per row under the charts: x, y, Lv side by side.
        auto *caption = new QLabel(gb_Statistics);
        m_statCaptions.append(caption);
        stats->addWidget(caption, row / 5, (row % 5) * 2);
        stats->addWidget(le, row / 5, (row % 5) * 2 + 1);
        m_statFields.append(le);
        ++row;
    }
    cb_Lv = new QCheckBox(QStringLiteral("Lv"), gb_Statistics);
    cb_x = new QCheckBox(QStringLiteral("x"), gb_Statistics);
    cb_y = new QCheckBox(QStringLiteral("y"), gb_Statistics);
    cb_Lv->setObjectName(QStringLiteral("cb_Lv"));
    cb_x->setObjectName(QStringLiteral("cb_x"));
    cb_y->setObjectName(QStringLiteral("cb_y"));
    cb_Lv->setChecked(true);
    auto *curves = new QHBoxLayout;
    for (QCheckBox *box : {cb_Lv, cb_x, cb_y})
        curves->addWidget(box);
    curves->addStretch();
    stats->addLayout(curves, 2, 0, 1, 10);
    m_rightColumn->addWidget(gb_Statistics);

    widgetWave->addGraph(widgetWave->xAxis, widgetWave->yAxis2); // x
    widgetWave->addGraph(widgetWave->xAxis, widgetWave->yAxis2); // y
    widgetWave->graph(GraphX)->setPen(QPen(QColor(200, 40, 40)));
    widgetWave->graph(GraphY)->setPen(QPen(QColor(40, 160, 40)));
    widgetWave->yAxis2->setVisible(true);

    connect(cb_Lv, &QCheckBox::clicked, this, &ktWaveFormJWA::ChangeCheckedState_Lv);
    connect(cb_x, &QCheckBox::clicked, this, &ktWaveFormJWA::ChangeCheckedState_x);
    connect(cb_y, &QCheckBox::clicked, this, &ktWaveFormJWA::ChangeCheckedState_y);
    connect(cb_SamplingNumber, &QComboBox::currentTextChanged, this,
            &ktWaveFormJWA::on_cb_SamplingNumber_currentTextChanged);
    retranslate();
}

void ktWaveFormJWA::retranslate()
{
    ktWaveForm::retranslate();
    if (!gb_SensorType)
        return; // the base's constructor: this page's widgets come later
    gb_SensorType->setTitle(tr("Sensor Type"));
    cb_Loop->setText(tr("Loop"));
    gb_Statistics->setTitle(tr("Statistics"));
    for (int i = 0; i < m_statCaptions.size(); ++i)
        m_statCaptions[i]->setText(tr(StatLabels[i]));
    UpdateChartLable();
    UpdateWidget();
}

void ktWaveFormJWA::UpdateChartLable()
{
    const QString squared = QString(QChar(0x00B2)) + QLatin1Char(']');
    const bool luminanceOnly = samplingNumber() == LuminanceOnlyNumber;
    stylePlot(widgetWave, tr("Time[sec]"), luminanceOnly ? tr("Y[cd/m") + squared : tr("Lv[cd/m") + squared);
    widgetWave->yAxis2->setLabel(luminanceOnly ? QString() : tr("x, y"));
    widgetWave->yAxis2->setVisible(!luminanceOnly);
    if (luminanceOnly && !m_title) {
        widgetWave->plotLayout()->insertRow(0);
        m_title =
            new QCPTextElement(widgetWave, tr("Y(Lv)"), QFont(QStringLiteral("Microsoft YaHei UI"), 10));
        widgetWave->plotLayout()->addElement(0, 0, m_title);
    } else if (!luminanceOnly && m_title) {
        widgetWave->plotLayout()->remove(m_title); // deletes it
        widgetWave->plotLayout()->simplify();
        m_title = nullptr;
    }
    if (m_title)
        m_title->setText(tr("Y(Lv)"));
    widgetWave->replot();
}

void ktWaveFormJWA::on_cb_SamplingNumber_currentTextChanged(QString)
{
    UpdateChartLable();
    UpdateWidget();
}

void ktWaveFormJWA::UpdateWidget()
{
    const bool luminanceOnly = samplingNumber() == LuminanceOnlyNumber;
    cb_x->setEnabled(!luminanceOnly && !m_looping);
    cb_y->setEnabled(!luminanceOnly && !m_looping);
    pb_Measure->setText(m_looping ? tr("Stop") : tr("Measure"));
    for (QWidget *w : std::initializer_list<QWidget *>{cb_SamplingNumber, le_DecimationInterval, pb_Export,
                                                       gb_SensorType, cb_SyncMode, cb_Filter})
        w->setEnabled(!m_looping);
}

QString ktWaveFormJWA::statisticText(const QString &label) const
{
    for (QLineEdit *le : m_statFields) {
        if (le->objectName() == QStringLiteral("le_") + label)
            return le->text();
    }
    return QString();
}

void ktWaveFormJWA::ChangeSensorType()
{
    if (!portOpen()) {
        showMessage(tr("Serial port is not opened!"));
        return;
    }
    for (int i = 0; i < 3; ++i) {
        if (rb_SensorType[i]->isChecked() && !SendSEN(QString::number(i)))
            logRed(tr("Change sensor type failed!"));
    }
}

void ktWaveFormJWA::keepOneCurve(QCheckBox *box)
{
    if (!cb_Lv->isChecked() && !cb_x->isChecked() && !cb_y->isChecked()) {
        box->setChecked(true);
        showMessage(tr("At least one curve must be checked to show!"));
    }
    plotWave();
}

void ktWaveFormJWA::ChangeCheckedState_Lv()
{
    keepOneCurve(cb_Lv);
}

void ktWaveFormJWA::ChangeCheckedState_x()
{
    keepOneCurve(cb_x);
}

void ktWaveFormJWA::ChangeCheckedState_y()
{
    keepOneCurve(cb_y);
}

void ktWaveFormJWA::on_pb_Measure_clicked()
{
    if (m_looping) {
        stopLoop();
        return;
    }
    if (!portOpen()) {
        showMessage(tr("Serial port is not opened!"));
        return;
    }
    if (cb_Loop->isChecked()) {
        m_looping = true;
        UpdateWidget();
    }
    if (measureOnce() && m_looping)
        QTimer::singleShot(1, this, &ktWaveFormJWA::DealWithLoopMeasure);
    else
        stopLoop();
}

void ktWaveFormJWA::DealWithLoopMeasure()
{
    if (!m_looping)
        return;
    if (measureOnce() && m_looping)
        QTimer::singleShot(1, this, &ktWaveFormJWA::DealWithLoopMeasure);
    else
        stopLoop();
}

bool ktWaveFormJWA::measureOnce()
{
    if (!ensureSamplingMode())
        return false;
    const int d = decimation();
    if (!sample(samplingNumber(), d))
        return false;
    m_decimationUsed = d;
    showResults();
    const QVector<LabelledValue> stats = channelStatistics(m_wave);
    for (QLineEdit *le : m_statFields) {
        le->setText(QStringLiteral("---"));
        for (const LabelledValue &v : stats) {
            if (le->objectName() == QStringLiteral("le_") + v.label)
                le->setText(std::isfinite(v.value) ? shown(v.value) : QStringLiteral("---")); // a ratio to 0
        }
    }
    return true;
}

void ktWaveFormJWA::stopLoop()
{
    m_looping = false;
    UpdateWidget();
}

void ktWaveFormJWA::Slot_ClosePort()
{
    stopLoop();
}

bool ktWaveFormJWA::sample(int n, int d)
{
    if (n == LuminanceOnlyNumber) {
        if (!ktWaveForm::sample(n, d))
            return false;
        m_luminanceOnly = true;
        return true;
    }
    QString reply;
    if (!SendJWA(QString::number(n), QString::number(d), &reply)) {
        logRed(tr("Sampling measure is failed!"));
        return false;
    }
    Waveform w;
    if (!WaveLogic::readJwa(reply, d, &w)) {
        logRed(tr("Received measure datas format is error!"));
        return false;
    }
    m_wave = w;
    m_luminanceOnly = false;
    return true;
}

void ktWaveFormJWA::plotWave()
{
    ktWaveForm::plotWave();
    widgetWave->graph(GraphLv)->setVisible(cb_Lv->isChecked());
    const bool chroma = !m_luminanceOnly;
    const QVector<double> none;
    widgetWave->graph(GraphX)->setData(chroma ? m_wave.t : none, chroma ? m_wave.x : none, true);
    widgetWave->graph(GraphY)->setData(chroma ? m_wave.t : none, chroma ? m_wave.y : none, true);
    widgetWave->graph(GraphX)->setVisible(chroma && cb_x->isChecked());
    widgetWave->graph(GraphY)->setVisible(chroma && cb_y->isChecked());
    if (chroma) {
        const Stats sx = statistics(m_wave.x), sy = statistics(m_wave.y);
        const double lo = std::min(sx.min, sy.min), hi = std::max(sx.max, sy.max);
        const double margin = hi > lo ? (hi - lo) / 4.0 : 0.01;
        widgetWave->yAxis2->setRange(lo - margin, hi + margin);
    }
    widgetWave->replot();
}

QByteArray ktWaveFormJWA::exportData() const
{
    return WaveLogic::waveFormJwaCsv(m_wave);
}
