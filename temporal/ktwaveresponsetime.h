#pragma once

#include "wavelogic.h"
#include "wavepagebase.h"

#include <QStringList>
#include <QTimer>

class CustomPlotDrawPoint;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class ktShowRGB;
class QAction;
class QCPAbstractItem;
namespace Ui {
class ktWaveResponseTimeForm;
}

// The response-time page: while the pattern window steps the display through gray levels, the
// probe samples x, y and Lv ("JWA"); the page plots Lv against time and measures every edge
// between the start and the end threshold. Two clicks on the plot (or the visible range, with
// "Reanalysis") choose the window analysed. Waveforms are exported as CSV and opened again.
class ktWaveResponseTime : public WavePageBase
{
    Q_OBJECT
public:
    explicit ktWaveResponseTime(QWidget *parent = nullptr);
    ~ktWaveResponseTime() override;

    const WaveLogic::Waveform &waveform() const { return m_wave; }
    const QVector<WaveLogic::Transition> &transitionResults() const { return m_transitions; }
    bool measuring() const { return m_measuring; }
    CustomPlotDrawPoint *plot() const { return m_plot; }
    ktShowRGB *patternWindow() const { return m_pattern; }
    // The markers and labels drawn for the transitions (at most MaxMarked of them).
    static constexpr int MaxMarked = 100;
    int markerCount() const;

public slots:
    void on_pb_Measure_clicked();
    void on_pb_Export_clicked();
    void on_pb_Open_clicked();
    void slot_waveModeChanged(int state);
    void slot_GaryLevel1TextChanged(QString text);
    void slot_GaryLevel2TextChanged(QString text);
    void slot_GaryLevel3TextChanged(QString text);
    void slot_StartThresholdEditingFinished();
    void slot_EndThresholdEditingFinished();
    void DealWithMeasure();
    void UpdateWidget();
    void Slot_ClosePort() override;
    void Slot_HideTextLog();
    void RGBDoubleClicked();
    void Slot_ZoomAction();
    void Slot_MoveAction();
    void Slot_ResetAction();
    void Slot_ReanalysisAction();
    void slot_showResult(double dxMin, double dxMax);
    void slot_ShowPic();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpForm();
    void retranslate();
    void grayLevelChanged(int index, const QString &text);
    QStringList patternColours() const;
    void showPattern(const QString &colour);
    void stopMeasuring();
    void waitMs(int ms);
    // A new record: plot it, choose the window (automatic capture or the whole record) and
    // analyse it.
    void showWaveform(bool autoCapture);
    void clearMarkers();
    void drawMarkers();
    void showStatus(const QString &text);

    QLineEdit *le_StartThreshold = nullptr, *le_EndThreshold = nullptr;
    QSlider *hSlider_StartThreshold = nullptr, *hSlider_EndThreshold = nullptr;
    QComboBox *cb_SamplingNumber = nullptr;
    QLineEdit *le_Decimationinterval = nullptr, *le_MesDelay = nullptr, *le_ScreenFreq = nullptr;
    QLineEdit *le_IntervalTime = nullptr;
    QCheckBox *cb_waveMode = nullptr;
    QGroupBox *gb_GrayLevel = nullptr, *gb_Setting = nullptr;
    QCheckBox *cb_GaryLevel[3] = {};
    QSlider *hSlider_GaryLevel[3] = {};
    QLineEdit *le_GaryLevel[3] = {};
    QLabel *lb_color = nullptr, *lb_log = nullptr;
    QPushButton *pb_Measure = nullptr, *pb_Export = nullptr, *pb_Open = nullptr;
    Ui::ktWaveResponseTimeForm *ui = nullptr;
    CustomPlotDrawPoint *m_plot = nullptr;
    QAction *m_zoom = nullptr, *m_move = nullptr, *m_reset = nullptr, *m_reanalysis = nullptr;

    ktShowRGB *m_pattern = nullptr;
    QTimer m_patternTimer;
    QStringList m_patternColours;
    int m_patternIndex = 0;
    QTimer m_hideLogTimer;
    bool m_measuring = false;
    bool m_inCycle = false;
    int m_decimationUsed = 1;
    QString m_startThreshold = QStringLiteral("10"), m_endThreshold = QStringLiteral("90");

    WaveLogic::Waveform m_wave;
    QVector<WaveLogic::Transition> m_transitions;
    QList<QCPAbstractItem *> m_markers;
};
