#include "xxwtracer.h"

#include "ktqcustomplot.h"

#include <algorithm>

XxwTracer::XxwTracer(QCustomPlot *plot, TracerType type, QObject *parent)
    : QObject(parent), m_plot(plot), m_type(type)
{
    const QPen defaultPen(Qt::red, 0.5);
    m_tracer = new QCPItemTracer(plot);
    m_tracer->setLayer(QStringLiteral("overlay"));
    m_tracer->setStyle(QCPItemTracer::tsCircle);
    m_tracer->setPen(defaultPen);
    m_tracer->setBrush(Qt::NoBrush);

    m_label = new QCPItemText(plot);
    m_label->setLayer(QStringLiteral("overlay"));
    m_label->setClipToAxisRect(false);
    m_label->setPadding(QMargins(2, 2, 2, 2));
    m_label->setBrush(Qt::NoBrush);
    m_label->setFont(QFont(QStringLiteral("Arial"), 8));
    m_label->setText(QString());
    m_label->position->setParentAnchor(m_tracer->position);

    m_arrow = new QCPItemLine(plot);
    m_arrow->setLayer(QStringLiteral("overlay"));
    m_arrow->setPen(QPen(Qt::red, 1));
    // The label of an x-axis tracer hangs below the axis rectangle; its arrow must show there.
    m_arrow->setClipToAxisRect(false);
    m_arrow->setHead(QCPLineEnding(QCPLineEnding::esSpikeArrow, 8, 10));
    m_arrow->end->setParentAnchor(m_tracer->position);

    switch (type) {
    case TracerType::XAxis:
        m_tracer->position->setTypeX(QCPItemPosition::ptPlotCoords);
        m_tracer->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        m_tracer->setSize(7);
        m_label->setPositionAlignment(Qt::AlignTop | Qt::AlignHCenter);
        m_label->position->setCoords(0, 15);
        m_arrow->start->setParentAnchor(m_label->top);
        break;
    case TracerType::YAxis:
        m_tracer->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
        m_tracer->position->setTypeY(QCPItemPosition::ptPlotCoords);
        m_tracer->setSize(7);
        m_label->setPositionAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_label->position->setCoords(-15, 0);
        m_arrow->start->setParentAnchor(m_label->right);
        break;
    case TracerType::Data:
        m_tracer->position->setType(QCPItemPosition::ptPlotCoords);
        m_tracer->setSize(5);
        m_label->setPositionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_label->position->setCoords(15, 0);
        m_arrow->start->setParentAnchor(m_label->left);
        break;
    }
    if (type == TracerType::Data)
        setVisible(false);
    plot->replot(QCustomPlot::rpQueuedReplot);
}

XxwTracer::~XxwTracer()
{
    // A plot being destroyed deletes its items before its children; the pointers are null then,
    // and the plot, half destroyed, must not be touched (not even cast back to QCustomPlot).
    if (!m_tracer && !m_label && !m_arrow)
        return;
    if (m_plot.isNull())
        return;
    if (m_tracer)
        m_plot->removeItem(m_tracer);
    if (m_label)
        m_plot->removeItem(m_label);
    if (m_arrow)
        m_plot->removeItem(m_arrow);
}

void XxwTracer::setPen(const QPen &pen)
{
    m_tracer->setPen(pen);
    m_arrow->setPen(pen);
}

void XxwTracer::setBrush(const QBrush &brush)
{
    m_tracer->setBrush(brush);
}

void XxwTracer::setLabelPen(const QPen &pen)
{
    m_label->setPen(pen);
    m_label->setBrush(Qt::NoBrush);
    m_label->setColor(pen.color());
}

void XxwTracer::setText(const QString &text)
{
    m_label->setText(text);
}

void XxwTracer::setVisible(bool visible)
{
    m_visible = visible;
    m_tracer->setVisible(visible);
    m_label->setVisible(visible);
    m_arrow->setVisible(visible);
}

void XxwTracer::updatePosition(double x, double y)
{
    y = std::min(y, m_plot->yAxis->range().upper);
    switch (m_type) {
    case TracerType::XAxis:
        m_tracer->position->setCoords(x, 1.0);
        break;
    case TracerType::YAxis:
        m_tracer->position->setCoords(0, y);
        break;
    case TracerType::Data:
        m_tracer->position->setCoords(x, y);
        break;
    }
    m_label->setText(tracerLabelText(m_type, x, y));
    m_plot->layer(QStringLiteral("overlay"))->replot();
}
