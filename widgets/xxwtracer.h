#pragma once

#include "plotcursorlogic.h"

#include <QBrush>
#include <QObject>
#include <QPen>
#include <QPointer>

class QCustomPlot;
class QCPItemTracer;
class QCPItemText;
class QCPItemLine;

// A cursor marker on a plot: a small circle with a value label and an arrow from the label to
// the circle, all on the plot's "overlay" layer so that moving it redraws that layer only. An
// x-axis tracer sits on the bottom edge of the axis rectangle and shows x, a y-axis tracer on
// the left edge and shows y, a data tracer (hidden until shown) sits on the point itself.
// The items belong to the plot; the tracer removes them when it goes, and copes with a plot
// that has already deleted them.
class XxwTracer : public QObject
{
    Q_OBJECT
public:
    XxwTracer(QCustomPlot *plot, TracerType type, QObject *parent = nullptr);
    ~XxwTracer() override;

    void setPen(const QPen &pen);
    void setBrush(const QBrush &brush);
    // Border of the label; its colour is also the text colour.
    void setLabelPen(const QPen &pen);
    void setText(const QString &text);
    void setVisible(bool visible);
    // Moves the marker to (x, y), y no higher than the top of the y axis, and labels it.
    void updatePosition(double x, double y);

    TracerType type() const { return m_type; }
    bool isVisible() const { return m_visible; }
    QCPItemTracer *tracer() const { return m_tracer; }
    QCPItemText *label() const { return m_label; }
    QCPItemLine *arrow() const { return m_arrow; }

private:
    QPointer<QCustomPlot> m_plot;
    TracerType m_type;
    bool m_visible = true;
    QPointer<QCPItemTracer> m_tracer;
    QPointer<QCPItemText> m_label;
    QPointer<QCPItemLine> m_arrow;
};
