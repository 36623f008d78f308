#include "ktwaveform.h"

#include "ktqcustomplot.h"
#include "ktsettings.h"
#include "pagelog.h"
#include "ui_ktwaveform.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

using namespace WaveLogic;

ktWaveForm::ktWaveForm(QWidget *parent) : WavePageBase(parent)
{
    setObjectName(QStringLiteral("ktWaveForm"));
    auto *form = new Ui::ktWaveFormForm;
    form->setupUi(formBody());
    adoptForm(form);
    setUp();
}

ktWaveForm::ktWaveForm(QWidget *parent, OwnForm) : WavePageBase(parent) {}

void ktWaveForm::setUp()
{
    widgetWave->addGraph();
    widgetWave->graph(0)->setPen(QPen(QColor(30, 90, 200)));
    widgetFFT->addGraph();
    widgetFFT->graph(0)->setPen(QPen(QColor(200, 60, 30)));

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
    m_retranslateForm();
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
