#pragma once

#include "graylogic.h"
#include "grayscanpage.h"

#include <QTimer>

#include <array>

class QCheckBox;
class QCPItemText;
class QCustomPlot;
namespace Ui {
class ktGammaForm;
}

// The Gamma tab: measures a tone ramp for White, Red, Green and Blue on the main window's
// colour window, plots the normalised luminance against the 2.1 and 2.3 power curves with the
// fitted exponent of each colour, plots the chromaticity drift of each ramp, and exports both
// with the measurement table as CSV.
class ktGamma : public ktGrayScanPage
{
    Q_OBJECT
public:
    explicit ktGamma(QWidget *parent = nullptr);
    ~ktGamma() override;

    const GrayLogic::Series &series(GrayLogic::SeriesColour c) const { return m_series[c]; }
    // The fitted exponents as the chart states them.
    QString fittedGammaText() const;
    QCustomPlot *gammaPlot() const { return m_gammaPlot; }
    QCustomPlot *chromaticityPlot() const { return m_chromaPlot; }
    // Writes the export (used by on_pb_save_clicked after the file dialog).
    bool exportCsv(const QString &path);

signals:
    void signalShowColorWindow();
    void signalShowColor(QString &color);

public slots:
    void slot_RGBWindowClose();
    void slot_TipFinished(int result);
    void on_pb_measure_clicked();
    void on_pb_stop_clicked();
    void on_pb_0cal_clicked();
    void on_pb_save_clicked();
    void slot_gammaCurvesChanged();
    void slot_chromaticityChanged();

protected:
    void changeEvent(QEvent *event) override;

private:
    bool confirmStart();
    void clearResults();
    void addPoint(const GrayLogic::Task &task, int index, const GrayLogic::Point &p, qint64 ms);
    void redrawGamma();
    void redrawChromaticity();
    void setRunning(bool running);
    void requestReplot();
    void showDeltas();

    std::array<GrayLogic::Series, GrayLogic::SeriesCount> m_series;
    bool m_windowClosed = false;
    bool m_tipDone = false;
    int m_tipResult = 0;
    QTimer m_replotTimer;      // at most one chart redraw per 100 ms
    bool m_modeChanged = true; // another page set a display mode: send "MDS,0" before a run

    Ui::ktGammaForm *ui;
    QWidget *m_body;
    QCustomPlot *m_gammaPlot, *m_chromaPlot;
    QCPItemText *m_fitText;
    QCheckBox *m_curve[GrayLogic::SeriesCount]; // R, G, B, W
    QCheckBox *m_delta[3];
};
