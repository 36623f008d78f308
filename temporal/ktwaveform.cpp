#include "ktwaveform.h"

#include "ktqcustomplot.h"
#include "ktsettings.h"
#include "pagelog.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

using namespace WaveLogic;

namespace {

QLineEdit *resultField(QWidget *parent, const char *name)
{
    auto *le = new QLineEdit(parent);
    le->setObjectName(QLatin1String(name));
    le->setReadOnly(true);
    return le;
}

} // namespace

ktWaveForm::ktWaveForm(QWidget *parent) : WavePageBase(parent)
{
    setObjectName(QStringLiteral("ktWaveForm"));
    auto *page = new QHBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    m_leftColumn = new QVBoxLayout(scrollingColumn(page));
    m_leftColumn->setContentsMargins(0, 0, 0, 0);
    m_rightColumn = new QVBoxLayout;
    page->addLayout(m_rightColumn, 1);

    gb_Setting = new QGroupBox(this);
    gb_Setting->setObjectName(QStringLiteral("gb_Setting"));
    auto *setting = new QGridLayout(gb_Setting);
    lb_SamplingNumber = new QLabel(gb_Setting);
    cb_SamplingNumber = new QComboBox(gb_Setting);
    cb_SamplingNumber->setObjectName(QStringLiteral("cb_SamplingNumber"));
    for (int n = 64; n <= 4096; n *= 2)
        cb_SamplingNumber->addItem(QString::number(n));
    cb_SamplingNumber->setCurrentText(QStringLiteral("1024"));
    lb_DecimationInterval = new QLabel(gb_Setting);
    le_DecimationInterval = new QLineEdit(QStringLiteral("1"), gb_Setting);
    le_DecimationInterval->setObjectName(QStringLiteral("le_DecimationInterval"));
    lb_SyncMode = new QLabel(gb_Setting);
    cb_SyncMode = new QComboBox(gb_Setting);
    cb_SyncMode->setObjectName(QStringLiteral("cb_SyncMode"));
    cb_SyncMode->addItems({QStringLiteral("Auto SWD"), QStringLiteral("Manual SWD")});
    lb_Filter = new QLabel(gb_Setting);
    cb_Filter = new QComboBox(gb_Setting);
    cb_Filter->setObjectName(QStringLiteral("cb_Filter"));
    cb_Filter->addItems({QStringLiteral("Normal"), QStringLiteral("SWD,18"), QStringLiteral("SWD,10"),
                         QStringLiteral("SWD,1A"), QStringLiteral("SWD,12"), QStringLiteral("SWD,1E")});
    lb_FilterStatus = new QLabel(gb_Setting);
    lb_FilterStatus->setObjectName(QStringLiteral("lb_FilterStatus"));
    lb_Hint = new QLabel(gb_Setting);
    pb_Measure = new QPushButton(gb_Setting);
    pb_Measure->setObjectName(QStringLiteral("pb_Measure"));
    pb_Export = new QPushButton(gb_Setting);
    pb_Export->setObjectName(QStringLiteral("pb_Export"));
    setting->addWidget(lb_SamplingNumber, 0, 0);
    setting->addWidget(cb_SamplingNumber, 0, 1, 1, 2);
    setting->addWidget(lb_DecimationInterval, 1, 0);
    setting->addWidget(le_DecimationInterval, 1, 1, 1, 2);
    setting->addWidget(lb_SyncMode, 2, 0);
    setting->addWidget(cb_SyncMode, 2, 1, 1, 2);
    setting->addWidget(lb_Filter, 3, 0);
    setting->addWidget(cb_Filter, 3, 1);
    setting->addWidget(lb_FilterStatus, 3, 2);
    setting->addWidget(lb_Hint, 4, 0, 1, 3);
    setting->addWidget(pb_Measure, 5, 0, 1, 2);
    setting->addWidget(pb_Export, 5, 2);
    m_leftColumn->addWidget(gb_Setting);

    gb_Result = new QGroupBox(this);
    gb_Result->setObjectName(QStringLiteral("gb_Result"));
    auto *result = new QGridLayout(gb_Result);
    lb_FlickerMax = new QLabel(gb_Result);
    lb_DetectedFreq = new QLabel(gb_Result);
    lb_Max = new QLabel(gb_Result);
    lb_Min = new QLabel(gb_Result);
    lb_Ave = new QLabel(gb_Result);
    lb_dB = new QLabel(gb_Result);
    lb_Hz = new QLabel(gb_Result);
    le_FlickerMax = resultField(gb_Result, "le_FlickerMax");
    le_DetectedFreq = resultField(gb_Result, "le_DetectedFreq");
    le_Max = resultField(gb_Result, "le_Max");
    le_Min = resultField(gb_Result, "le_Min");
    le_Ave = resultField(gb_Result, "le_Ave");
    result->addWidget(lb_FlickerMax, 0, 0);
    result->addWidget(le_FlickerMax, 0, 1);
    result->addWidget(lb_dB, 0, 2);
    result->addWidget(lb_DetectedFreq, 1, 0);
    result->addWidget(le_DetectedFreq, 1, 1);
    result->addWidget(lb_Hz, 1, 2);
    result->addWidget(lb_Max, 2, 0);
    result->addWidget(le_Max, 2, 1);
    result->addWidget(lb_Min, 3, 0);
    result->addWidget(le_Min, 3, 1);
    result->addWidget(lb_Ave, 4, 0);
    result->addWidget(le_Ave, 4, 1);
    m_leftColumn->addWidget(gb_Result);
    m_leftColumn->addWidget(m_log, 1);

    widgetWave = new QCustomPlot(this);
    widgetWave->setObjectName(QStringLiteral("widgetWave"));
    widgetFFT = new QCustomPlot(this);
    widgetFFT->setObjectName(QStringLiteral("widgetFFT"));
    widgetWave->addGraph();
    widgetWave->graph(0)->setPen(QPen(QColor(30, 90, 200)));
    widgetFFT->addGraph();
    widgetFFT->graph(0)->setPen(QPen(QColor(200, 60, 30)));
    m_rightColumn->addWidget(widgetWave, 1);
    m_rightColumn->addWidget(widgetFFT, 1);

    connect(pb_Measure, &QPushButton::clicked, this, &ktWaveForm::on_pb_Measure_clicked);
    connect(pb_Export, &QPushButton::clicked, this, &ktWaveForm::on_pb_Export_clicked);
    connect(le_DecimationInterval, &QLineEdit::textChanged, this, &ktWaveForm::DeciIntervalTextChanged);
    connect(le_DecimationInterval, &QLineEdit::editingFinished, this,
            [this] { checkDecimation(le_DecimationInterval, true); });
    connect(cb_Filter, &QComboBox::textActivated, this, &ktWaveForm::ChangeMode);
    connect(cb_SyncMode, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ktWaveForm::ChangeMeasureMode);

    retranslate();
    ChangeMeasureMode();
}

void ktWaveForm::retranslate()
{
    setWindowTitle(tr("WaveForm"));
    gb_Setting->setTitle(tr("Setting"));
    gb_Result->setTitle(tr("Result"));
    lb_SamplingNumber->setText(tr("Sampling Number"));
    lb_DecimationInterval->setText(tr("Decimation Interval"));
    lb_SyncMode->setText(tr("Sync"));
    lb_Filter->setText(tr("Filter"));
    lb_Hint->setText(tr("Set Waveform sampling conditions according \nto Sync Mode"));
    pb_Measure->setText(tr("Measure"));
    pb_Export->setText(tr("Export"));
    lb_FlickerMax->setText(tr("Flicker(Max)"));
    lb_DetectedFreq->setText(tr("Detected Freq."));
    lb_dB->setText(tr("dB"));
    lb_Hz->setText(tr("Hz"));
    lb_Max->setText(tr("Max."));
    lb_Min->setText(tr("Min."));
    lb_Ave->setText(tr("Ave."));
    stylePlot(widgetWave, tr("Time[sec]"), tr("Y[cd/m") + QChar(0x00B2) + QLatin1Char(']'));
    stylePlot(widgetFFT, tr("Frequency[Hz]"), tr("Flicker[dB]"));
}

void ktWaveForm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && pb_Measure)
        retranslate();
    WavePageBase::changeEvent(event);
}

int ktWaveForm::samplingNumber() const
{
    return cb_SamplingNumber->currentText().toInt();
}

int ktWaveForm::decimation() const
{
    return WaveLogic::validDecimation(le_DecimationInterval->text()) ? le_DecimationInterval->text().toInt()
                                                                     : 1;
}

QString ktWaveForm::shown(double v)
{
    return QString::number(v, 'g', 6);
}

void ktWaveForm::DeciIntervalTextChanged(QString)
{
    checkDecimation(le_DecimationInterval, false);
}

void ktWaveForm::ChangeMeasureMode()
{
    const bool manual = cb_SyncMode->currentIndex() == 1;
    lb_Filter->setVisible(manual);
    cb_Filter->setVisible(manual);
    lb_FilterStatus->setVisible(manual);
}

void ktWaveForm::ChangeMode(QString text)
{
    if (!portOpen()) {
        showMessage(tr("Serial port is not opened!"));
        return;
    }
    // "SWD,18" sends the code after "SWD,"; "Normal" is the probe's automatic window, code 0.
    const QString code = text.startsWith(QLatin1String("SWD,")) ? text.mid(4) : QStringLiteral("0");
    if (SendSWD(code)) {
        lb_FilterStatus->setText(QStringLiteral("OK00"));
    } else {
        logRed(tr("Change mode failed!"));
        lb_FilterStatus->setText(tr("Error"));
    }
}

void ktWaveForm::on_pb_Measure_clicked()
{
    if (!portOpen()) {
        showMessage(tr("Serial port is not opened!"));
        return;
    }
    if (!ensureSamplingMode())
        return;
    const int d = decimation();
    if (!sample(samplingNumber(), d))
        return;
    m_decimationUsed = d;
    showResults();
}

bool ktWaveForm::sample(int n, int d)
{
    QString reply;
    if (!SendJAA(QString::number(n), QString::number(d), &reply)) {
        logRed(tr("Sampling measure is failed!"));
        return false;
    }
    Waveform w;
    if (!WaveLogic::readJaa(reply, d, &w)) {
        logRed(tr("Received measure datas format is error!"));
        return false;
    }
    m_wave = w;
    return true;
}

void ktWaveForm::showResults()
{
    const Stats s = statistics(m_wave.lv);
    le_Max->setText(shown(s.max));
    le_Min->setText(shown(s.min));
    le_Ave->setText(shown(s.ave));
    plotWave();
    m_spectrum = WaveLogic::spectrum(m_wave.lv, m_decimationUsed);
    le_FlickerMax->setText(shown(m_spectrum.peakDb));
    le_DetectedFreq->setText(shown(m_spectrum.detectedHz));
    plotSpectrum();
}

void ktWaveForm::plotWave()
{
    const Stats s = statistics(m_wave.lv);
    widgetWave->graph(0)->setData(m_wave.t, m_wave.lv, true);
    const double margin = s.max > s.min ? (s.max - s.min) / 4.0 : std::max(1.0, std::abs(s.max) * 0.1);
    widgetWave->xAxis->setRange(0.0, m_wave.isEmpty() ? 1.0 : m_wave.t.last());
    widgetWave->yAxis->setRange(s.min - margin, s.max + margin);
    widgetWave->replot();
}

void ktWaveForm::plotSpectrum()
{
    // The chart shows dB + 100. A level of −∞ (a bin with nothing in it, which an exactly
    // periodic record gives for most bins) is drawn on the chart's floor: as a gap it would
    // break the line around every bin that has a value.
    double lo = 0.0, hi = 100.0;
    for (double db : m_spectrum.db) {
        if (std::isfinite(db)) {
            lo = std::min(lo, std::max(db + 100.0, -100.0));
            hi = std::max(hi, db + 100.0);
        }
    }
    QVector<double> y(m_spectrum.db.size());
    for (int i = 0; i < y.size(); ++i)
        y[i] = std::isfinite(m_spectrum.db.at(i)) ? m_spectrum.db.at(i) + 100.0 : lo - 5.0;
    widgetFFT->graph(0)->setData(m_spectrum.freq, y, true);
    widgetFFT->xAxis->setRange(0.0, m_spectrum.freq.isEmpty() ? 1.0 : m_spectrum.freq.last());
    widgetFFT->yAxis->setRange(lo - 5.0, hi + 5.0);
    widgetFFT->replot();
}

QByteArray ktWaveForm::exportData() const
{
    return WaveLogic::waveFormCsv(m_wave.lv);
}

void ktWaveForm::on_pb_Export_clicked()
{
    exportCsv(KtSettings::Key::WaveFormPath, exportData());
}
