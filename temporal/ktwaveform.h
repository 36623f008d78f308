#pragma once

#include "wavelogic.h"
#include "wavepagebase.h"

#include <functional>
#include <memory>

class QComboBox;
class QCustomPlot;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

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
    // For a page that brings its own form: it calls adoptForm and setUp itself.
    struct OwnForm
    {
    };
    ktWaveForm(QWidget *parent, OwnForm);
    // Takes the form built on formBody(): keeps it for retranslation and binds the widgets
    // both waveform forms have.
    template <class Form> void adoptForm(Form *form)
    {
        m_form = std::shared_ptr<void>(form);
        m_retranslateForm = [this, form] { form->retranslateUi(m_body); };
        gb_Setting = form->gb_Setting;
        gb_Result = form->gb_Result;
        lb_Filter = form->lb_Filter;
        lb_FilterStatus = form->lb_FilterStatus;
        cb_SamplingNumber = form->cb_SamplingNumber;
        cb_SyncMode = form->cb_SyncMode;
        cb_Filter = form->cb_Filter;
        le_DecimationInterval = form->le_DecimationInterval;
        pb_Measure = form->pb_Measure;
        pb_Export = form->pb_Export;
        le_FlickerMax = form->le_FlickerMax;
        le_DetectedFreq = form->le_DetectedFreq;
        le_Max = form->le_Max;
        le_Min = form->le_Min;
        le_Ave = form->le_Ave;
        widgetWave = form->widgetWave;
        widgetFFT = form->widgetFFT;
        formReady(form->te_Log);
    }
    // What follows the form on both pages: graphs, connections, texts.
    void setUp();
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

    std::shared_ptr<void> m_form; // the Ui class, whichever the page's form is
    std::function<void()> m_retranslateForm;
    QGroupBox *gb_Setting = nullptr;
    QGroupBox *gb_Result = nullptr;
    QLabel *lb_Filter = nullptr, *lb_FilterStatus = nullptr;
    QComboBox *cb_SamplingNumber = nullptr, *cb_SyncMode = nullptr, *cb_Filter = nullptr;
    QLineEdit *le_DecimationInterval = nullptr;
    QPushButton *pb_Measure = nullptr, *pb_Export = nullptr;
    QLineEdit *le_FlickerMax = nullptr, *le_DetectedFreq = nullptr, *le_Max = nullptr, *le_Min = nullptr,
              *le_Ave = nullptr;
    QCustomPlot *widgetWave = nullptr;
    QCustomPlot *widgetFFT = nullptr;

    WaveLogic::Waveform m_wave;
    WaveLogic::Spectrum m_spectrum;
    int m_decimationUsed = 1;
};
