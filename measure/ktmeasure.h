#pragma once

#include "graylogic.h"
#include "grayscanpage.h"

class ktShowRGB;
namespace Ui {
class ktMeasureForm;
}

// "Gray Scanning": shows one colour, or the gray levels of a selection for White, Red, Green
// and Blue (or a custom colour list), in its own pattern window, measures each with the probe
// and lists the results; the table is exported as CSV.
class ktMeasure : public ktGrayScanPage
{
    Q_OBJECT
public:
    explicit ktMeasure(QWidget *parent = nullptr);
    ~ktMeasure() override;

    ktShowRGB *colourWindow() const { return m_colourWindow; }
    const GrayLogic::Selection &selection() const { return m_selection; }
    void setSelection(const GrayLogic::Selection &selection);
    // Writes the table as the export does (used by on_pb_save_clicked after the file dialog).
    bool exportCsv(const QString &path);

public slots:
    void on_pb_measure_clicked();
    void on_pb_stop_clicked();
    void on_pb_0cal_clicked();
    void on_pb_clear_clicked();
    void on_pb_save_clicked();
    void on_pb_RGBcustom_clicked();
    void on_pb_graycustom_clicked();
    void RGBDoubleClicked();
    void CtrlStatusChange();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void showColour(const QString &colour);
    void setRunning(bool running);
    void rebuildChartTabs();

    ktShowRGB *m_colourWindow = nullptr;
    QString m_currentColour = QStringLiteral("0,0,0");
    GrayLogic::Selection m_selection;

    Ui::ktMeasureForm *ui;
    QWidget *m_body;
};
