#pragma once

#include "wavelogic.h"
#include "wavepagebase.h"

class QComboBox;
class QCustomPlot;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The waveform page: the probe samples the display's luminance at 3072 samples/s ("JAA"); the
// page shows the waveform, its statistics and its flicker spectrum with the peak level and the
// detected frequency, and exports the samples.
class ktWaveForm : public WavePageBase
{
    Q_OBJECT
public:
    explicit ktWaveForm(QWidget *parent = nullptr);

    const WaveLogic::Waveform &waveform() const { return m_wave; }
    const WaveLogic::Spectrum &spectrumResult() const { return m_spectrum; }

public slots:
    virtual void on_pb_Measure_clicked();
    void on_pb_Export_clicked();
    void DeciIntervalTextChanged(QString text);
    void ChangeMode(QString text);
    void ChangeMeasureMode();

protected:
    void changeEvent(QEvent *event) override;
    virtual void retranslate();
    // One sampling into m_wave; false (logged) on failure, the last good data kept.
    virtual bool sample(int n, int decimation);
    // The waveform chart from m_wave.
    virtual void plotWave();
    virtual QByteArray exportData() const;
    // Statistics of the luminance, the spectrum and both result groups.
    void showResults();
    void plotSpectrum();
    int samplingNumber() const;
    int decimation() const;
    static QString shown(double v); // up to 6 significant digits

    QVBoxLayout *m_leftColumn = nullptr;  // settings, results and log
    QVBoxLayout *m_rightColumn = nullptr; // the charts
    QGroupBox *gb_Setting = nullptr;
    QGroupBox *gb_Result = nullptr;
    QLabel *lb_SamplingNumber = nullptr, *lb_DecimationInterval = nullptr, *lb_SyncMode = nullptr;
    QLabel *lb_Filter = nullptr, *lb_FilterStatus = nullptr, *lb_Hint = nullptr;
    QComboBox *cb_SamplingNumber = nullptr, *cb_SyncMode = nullptr, *cb_Filter = nullptr;
    QLineEdit *le_DecimationInterval = nullptr;
    QPushButton *pb_Measure = nullptr, *pb_Export = nullptr;
    QLabel *lb_FlickerMax = nullptr, *lb_DetectedFreq = nullptr, *lb_Max = nullptr, *lb_Min = nullptr,
           *lb_Ave = nullptr, *lb_dB = nullptr, *lb_Hz = nullptr;
    QLineEdit *le_FlickerMax = nullptr, *le_DetectedFreq = nullptr, *le_Max = nullptr, *le_Min = nullptr,
              *le_Ave = nullptr;
    QCustomPlot *widgetWave = nullptr;
    QCustomPlot *widgetFFT = nullptr;

    WaveLogic::Waveform m_wave;
    WaveLogic::Spectrum m_spectrum;
    int m_decimationUsed = 1;
};
