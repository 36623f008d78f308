#include "xxwtraceline.h"

#include "ktqcustomplot.h"

namespace {
template <typename Item> Item *guideItem(QCustomPlot *plot)
{
    auto *item = new Item(plot);
    item->setLayer(QStringLiteral("overlay"));
    item->setClipToAxisRect(true);
    item->setPen(QPen(Qt::red, 1, Qt::DashLine));
    return item;
}
} // namespace

XxwTraceLine::XxwTraceLine(QCustomPlot *plot, LineType type, QObject *parent)
    : QObject(parent), m_plot(plot), m_type(type)
{
    if (type == VerticalLine || type == Both)
        m_vertical = guideItem<QCPItemStraightLine>(plot);
    if (type == HorizonLine || type == Both)
        m_horizontal = guideItem<QCPItemStraightLine>(plot);
    if (type == Segment)
        m_segment = guideItem<QCPItemLine>(plot);
}

XxwTraceLine::~XxwTraceLine()
{
    // A plot being destroyed deletes its items before its children; the pointers are null then,
    // and the plot, half destroyed, must not be touched (not even cast back to QCustomPlot).
    if (!m_vertical && !m_horizontal && !m_segment)
        return;
    if (m_plot.isNull())
        return;
    if (m_vertical)
        m_plot->removeItem(m_vertical);
    if (m_horizontal)
        m_plot->removeItem(m_horizontal);
    if (m_segment)
        m_plot->removeItem(m_segment);
}

void XxwTraceLine::setPenColor(const QColor &color)
{
    const QPen pen(color, 1, Qt::DashLine);
    if (m_vertical)
        m_vertical->setPen(pen);
    if (m_horizontal)
        m_horizontal->setPen(pen);
    if (m_segment)
        m_segment->setPen(pen);
}

void XxwTraceLine::updatePosition(double x, double y)
{
    if (m_vertical) {
        m_vertical->point1->setCoords(x, 0);
        m_vertical->point2->setCoords(x, 1);
    }
    if (m_horizontal) {
        m_horizontal->point1->setCoords(0, y);
        m_horizontal->point2->setCoords(1, y);
    }
}

void XxwTraceLine::updateSegment(QPointF from, QPointF to)
{
    if (!m_segment)
        return;
    m_segment->start->setCoords(from);
    m_segment->end->setCoords(to);
}
