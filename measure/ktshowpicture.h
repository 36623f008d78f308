#pragma once

#include <QDialog>

class QCustomPlot;

// The picture window: a plot area whose background shows one colour, for pages that put a
// colour on the display under test inside a plot rather than as a plain pattern.
class ktShowPicture : public QDialog
{
    Q_OBJECT
public:
    explicit ktShowPicture(QWidget *parent = nullptr);

    // color is "R,G,B"; a text that is no colour leaves the background as it is.
    void SetColor(const QString &color);
    QCustomPlot *plot() const { return m_plot; }

private:
    QCustomPlot *m_plot;
};
