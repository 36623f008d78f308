#include "customplotdrawpoint.h"

#include "xxwtraceline.h"
#include "xxwtracer.h"

CustomPlotDrawPoint::CustomPlotDrawPoint(QWidget *parent) : QCustomPlot(parent) {}

CustomPlotDrawPoint::~CustomPlotDrawPoint() = default;

void CustomPlotDrawPoint::fixPoint1(double value)
{
    m_pick.fixFirst(QPointF(value, value));
    redraw();
}

void CustomPlotDrawPoint::fixPoint2(double value)
{
    m_pick.fixSecond(QPointF(value, value));
    redraw();
    reportWindow();
}

void CustomPlotDrawPoint::reset()
{
    m_pick.reset();
    m_tracer1.reset();
    m_tracer2.reset();
    m_line1.reset();
    m_line2.reset();
    replot(rpQueuedReplot);
}

void CustomPlotDrawPoint::reportWindow()
{
    emit signal_showResult(m_pick.windowStart(), m_pick.windowEnd());
}

QPointF CustomPlotDrawPoint::toPlot(const QPoint &pixel) const
{
    return QPointF(xAxis->pixelToCoord(pixel.x()), yAxis->pixelToCoord(pixel.y()));
}

namespace {
void placeCursor(QCustomPlot *plot, std::unique_ptr<XxwTracer> &tracer, std::unique_ptr<XxwTraceLine> &line,
                 const QColor &colour, QPointF at)
{
    if (!tracer) {
        tracer = std::make_unique<XxwTracer>(plot, TracerType::XAxis);
        tracer->setPen(QPen(colour));
        tracer->setLabelPen(QPen(colour));
        tracer->setBrush(colour);
    }
    tracer->updatePosition(at.x(), at.y());
    if (!line) {
        line = std::make_unique<XxwTraceLine>(plot, XxwTraceLine::VerticalLine);
        line->setPenColor(colour);
    }
    line->updatePosition(at.x(), at.y());
}
} // namespace

void CustomPlotDrawPoint::redraw()
{
    placeCursor(this, m_tracer1, m_line1, Qt::red, m_pick.point1());
    if (m_pick.point1Fixed())
        placeCursor(this, m_tracer2, m_line2, Qt::green, m_pick.point2());
    // The tracers redraw the overlay as they move, before the guide lines have moved.
    layer(QStringLiteral("overlay"))->replot();
}

void CustomPlotDrawPoint::mouseMoveEvent(QMouseEvent *event)
{
    QCustomPlot::mouseMoveEvent(event);
    if (!m_pickEnabled)
        return;
    const QPointF at = toPlot(event->pos());
    if (m_pick.move(at, inXRange(at)) == TwoPointPick::Step::Followed)
        redraw();
}

void CustomPlotDrawPoint::mouseReleaseEvent(QMouseEvent *event)
{
    QCustomPlot::mouseReleaseEvent(event);
    if (!m_pickEnabled)
        return;
    if (event->button() == Qt::MiddleButton) {
        reset();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF at = toPlot(event->pos());
    switch (m_pick.release(at, inXRange(at))) {
    case TwoPointPick::Step::FixedFirst:
        redraw();
        break;
    case TwoPointPick::Step::FixedSecond:
        redraw();
        reportWindow();
        break;
    case TwoPointPick::Step::Followed:
    case TwoPointPick::Step::Ignored:
        break;
    }
}
