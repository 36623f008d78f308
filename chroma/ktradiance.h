#pragma once

#include "ktpublicconfig.h"

#include <QPointer>
#include <QString>
#include <QVector>

#include <functional>

class QCPBars;
class QCPGraph;
class QCustomPlot;
namespace Ui {
class ktSpectrumForm;
}

// Spectrum tab: one colour reading (x, y, Lv), then the probe's spectral radiance from 380 nm
// in 1 nm steps, drawn as a line or as bars in the colour of their wavelength, and exported as
// CSV with a JPEG picture of the plot beside it.
class ktSpectrum : public ktPublicConfig
{
    Q_OBJECT
public:
    explicit ktSpectrum(QWidget *parent = nullptr);
    ~ktSpectrum() override;

    PageLog *logView() override;
    Ui::ktSpectrumForm *form() const { return ui; }
    QCustomPlot *plot() const;

    // The last spectrum read (W/(sr·m²·nm), value i at 380 + i nm); empty before the first.
    const QVector<double> &spectrum() const { return m_spectrum; }
    bool lineMode() const { return m_lineMode; }

    // Asks for the export file; the argument is the proposed folder. The default runs the save
    // dialog; tests replace it. An empty result cancels.
    std::function<QString(const QString &)> askSavePath;

public slots:
    void on_pb_Measure_clicked();
    void on_pb_Export_clicked();
    void on_pb_Line_clicked();
    // The probe's display mode as the hub last announced it.
    void Slot_RecvModeChange(QString strMDS);

protected:
    void changeEvent(QEvent *event) override;

private:
    void measure();
    void replot();
    void retranslate();
    void paintBars();

    Ui::ktSpectrumForm *ui;
    QWidget *m_body = nullptr;
    QPointer<ktPublicConfig> m_hub;
    QCPGraph *m_line = nullptr;
    QCPBars *m_bars = nullptr;
    QVector<double> m_spectrum;
    QString m_probeMode; // empty: not known, so the mode is sent before the first reading
    bool m_lineMode = true;
    bool m_measuring = false;
};
