#pragma once

#include <QColor>
#include <QObject>
#include <QPointF>
#include <QPointer>

class QCustomPlot;
class QCPItemStraightLine;
class QCPItemLine;

// Dashed guide lines of a cursor on the plot's "overlay" layer, clipped to the axis rectangle:
// a vertical line, a horizontal line, both (crosshair), or a free segment. The items belong
// to the plot; the guide removes them when it goes.
class XxwTraceLine : public QObject
{
    Q_OBJECT
public:
    enum LineType
    {
        VerticalLine = 0,
        HorizonLine = 1,
        Both = 2,
        Segment = 3,
    };

    XxwTraceLine(QCustomPlot *plot, LineType type, QObject *parent = nullptr);
    ~XxwTraceLine() override;

    void setPenColor(const QColor &color);
    // The vertical line goes to x, the horizontal line to y.
    void updatePosition(double x, double y);
    // Only a segment guide has a segment to move.
    void updateSegment(QPointF from, QPointF to);

    LineType type() const { return m_type; }
    QCPItemStraightLine *verticalLine() const { return m_vertical; }
    QCPItemStraightLine *horizontalLine() const { return m_horizontal; }
    QCPItemLine *segment() const { return m_segment; }

private:
    QPointer<QCustomPlot> m_plot;
    LineType m_type;
    QPointer<QCPItemStraightLine> m_vertical;
    QPointer<QCPItemStraightLine> m_horizontal;
    QPointer<QCPItemLine> m_segment;
};
