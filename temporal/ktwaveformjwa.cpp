#include "ktwaveformjwa.h"

#include "ktqcustomplot.h"
#include "ui_ktwaveformjwa.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

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

ktWaveFormJWA::ktWaveFormJWA(QWidget *parent) : ktWaveForm(parent, OwnForm())
{
    setObjectName(QStringLiteral("ktWaveFormJWA"));
    auto *form = new Ui::ktWaveFormJWAForm;
    form->setupUi(formBody());
    gb_SensorType = form->gb_SensorType;
    rb_SensorType[0] = form->rb_SensorType0;
    rb_SensorType[1] = form->rb_SensorType1;
    rb_SensorType[2] = form->rb_SensorType2;
    cb_Loop = form->cb_Loop;
    cb_Lv = form->cb_Lv;
    cb_x = form->cb_x;
    cb_y = form->cb_y;
    m_statFields = {form->le_xAve,         form->le_yAve,          form->le_lvAve,      form->le_xMaxMinusMin,
                    form->le_yMaxMinusMin, form->le_lvMaxMinusMin, form->le_xMinPerMax, form->le_yMinPerMax,
                    form->le_lvMinPerMax,  form->le_lvMaxPerMin};
    adoptForm(form);
    setUp();

    auto *sensorGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        sensorGroup->addButton(rb_SensorType[i], i);
        connect(rb_SensorType[i], &QRadioButton::clicked, this, &ktWaveFormJWA::ChangeSensorType);
    }
    widgetWave->addGraph(widgetWave->xAxis, widgetWave->yAxis2); // x
    widgetWave->addGraph(widgetWave->xAxis, widgetWave->yAxis2); // y
    widgetWave->graph(GraphX)->setPen(QPen(QColor(200, 40, 40)));
    widgetWave->graph(GraphY)->setPen(QPen(QColor(40, 160, 40)));
    widgetWave->yAxis2->setVisible(true);

    connect(cb_Lv, &QCheckBox::clicked, this, &ktWaveFormJWA::ChangeCheckedState_Lv);
    connect(cb_x, &QCheckBox::clicked, this, &ktWaveFormJWA::ChangeCheckedState_x);
    connect(cb_y, &QCheckBox::clicked, this, &ktWaveFormJWA::ChangeCheckedState_y);
    retranslate();
}

void ktWaveFormJWA::retranslate()
{
    ktWaveForm::retranslate();
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
    for (int i = 0; i < m_statFields.size(); ++i) {
        if (label == QLatin1String(StatLabels[i]))
            return m_statFields.at(i)->text();
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
    for (int i = 0; i < m_statFields.size(); ++i) {
        QLineEdit *le = m_statFields.at(i);
        le->setText(QStringLiteral("---"));
        for (const LabelledValue &v : stats) {
            if (v.label == QLatin1String(StatLabels[i]))
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
