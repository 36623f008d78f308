#include "rangeslider.h"

#include "rangeslidermath.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

using namespace RangeSliderMath;

RangeSlider::RangeSlider(QWidget *parent) : RangeSlider(Qt::Horizontal, DoubleHandles, parent) {}

RangeSlider::RangeSlider(Qt::Orientation orientation, Options options, QWidget *parent)
    : QWidget(parent), m_orientation(orientation), m_options(options)
{
    setMouseTracking(true);
}

QSize RangeSlider::minimumSizeHint() const
{
    // Two handles and a pixel at each end along, one handle across.
    const QSize along(2 * handleSide + 2, handleSide);
    return m_orientation == Qt::Horizontal ? along : along.transposed();
}

void RangeSlider::setRange(int min, int max)
{
    setMinimum(min);
    setMaximum(max);
}

void RangeSlider::setLowerValue(int aLowerValue)
{
    m_lowerValue = std::clamp(aLowerValue, m_minimum, m_maximum);
    emit lowerValueChanged(m_lowerValue);
    update();
}

void RangeSlider::setUpperValue(int aUpperValue)
{
    m_upperValue = std::clamp(aUpperValue, m_minimum, m_maximum);
    emit upperValueChanged(m_upperValue);
    update();
}

void RangeSlider::setMinimum(int aMinimum)
{
    if (aMinimum > m_maximum) {
        m_minimum = m_maximum;
        m_maximum = aMinimum;
    } else {
        m_minimum = aMinimum;
    }
    rangeReset();
}

void RangeSlider::setMaximum(int aMaximum)
{
    if (aMaximum < m_minimum) {
        m_maximum = m_minimum;
        m_minimum = aMaximum;
    } else {
        m_maximum = aMaximum;
    }
    rangeReset();
}

void RangeSlider::rangeReset()
{
    m_interval = m_maximum - m_minimum;
    update();
    setLowerValue(m_minimum);
    setUpperValue(m_maximum);
    emit rangeChanged(m_minimum, m_maximum);
}

int RangeSlider::length() const
{
    return m_orientation == Qt::Horizontal ? width() : height();
}

int RangeSlider::validLength() const
{
    return RangeSliderMath::validLength(length(), m_options == DoubleHandles);
}

int RangeSlider::firstPos() const
{
    return firstHandlePos(validLength(), m_lowerValue, m_minimum, m_interval);
}

int RangeSlider::secondPos() const
{
    return secondHandlePos(validLength(), m_upperValue, m_minimum, m_interval, leftShown());
}

QRect RangeSlider::handleRect(int pos) const
{
    if (m_orientation == Qt::Horizontal)
        return QRect(pos, (height() - handleSide) / 2, handleSide, handleSide);
    return QRect((width() - handleSide) / 2, pos, handleSide, handleSide);
}

QRect RangeSlider::firstHandleRect() const
{
    return handleRect(firstPos());
}

QRect RangeSlider::secondHandleRect() const
{
    return handleRect(secondPos());
}

void RangeSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool horizontal = m_orientation == Qt::Horizontal;
    const QRectF groove = horizontal ? QRectF(1, (height() - 5) / 2, width() - 2, 5)
                                     : QRectF((width() - 5) / 2, 1, 5, height() - 2);
    painter.setPen(QPen(Qt::gray, 0.8));
    painter.setBrush(QColor(208, 208, 208));
    painter.drawRoundedRect(groove, 1, 1);

    painter.setPen(QPen(Qt::darkGray, 0));
    painter.setBrush(QColor(250, 250, 250));
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF first(firstHandleRect());
    const QRectF second(secondHandleRect());
    if (leftShown())
        painter.drawRoundedRect(first, 2, 2);
    if (rightShown())
        painter.drawRoundedRect(second, 2, 2);
    painter.setRenderHint(QPainter::Antialiasing, false);

    // The selection runs from the first handle's far edge (its near edge when hidden) to the
    // second handle's near edge (its far edge when hidden).
    QRectF selected = groove;
    if (horizontal) {
        selected.setLeft((leftShown() ? first.right() : first.left()) + 0.5);
        selected.setRight((rightShown() ? second.left() : second.right()) - 0.5);
    } else {
        selected.setTop((leftShown() ? first.bottom() : first.top()) + 0.5);
        selected.setBottom((rightShown() ? second.top() : second.bottom()) - 0.5);
    }
    painter.fillRect(selected, m_rangeColor);
}

void RangeSlider::mousePressEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const bool horizontal = m_orientation == Qt::Horizontal;
    const int pos = horizontal ? event->pos().x() : event->pos().y();
    const int cross = horizontal ? event->pos().y() : event->pos().x();
    const int across = horizontal ? height() : width();
    const int f = firstPos();
    const int s = secondPos();

    m_secondHandlePressed = secondHandleRect().contains(event->pos());
    m_firstHandlePressed = !m_secondHandlePressed && firstHandleRect().contains(event->pos());
    if (m_firstHandlePressed)
        m_delta = pos - (f + handleSide / 2);
    else if (m_secondHandlePressed)
        m_delta = pos - (s + handleSide / 2);

    if (cross < 2 || cross > across - 2)
        return;
    const int step = clickStep(m_interval);
    switch (clickAction(pos, f, s, leftShown(), rightShown())) {
    case ClickAction::LowerDown:
        setLowerValue(m_lowerValue - step);
        break;
    case ClickAction::LowerUp:
        setLowerValue(std::min(m_lowerValue + step, m_upperValue));
        break;
    case ClickAction::UpperDown:
        setUpperValue(std::max(m_upperValue - step, m_lowerValue));
        break;
    case ClickAction::UpperUp:
        setUpperValue(m_upperValue + step);
        break;
    case ClickAction::None:
        break;
    }
}

void RangeSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const int pos = m_orientation == Qt::Horizontal ? event->pos().x() : event->pos().y();
    const int centre = pos - m_delta;
    const bool both = m_options == DoubleHandles;
    // A handle dragged onto the other one stops there: the lower value never passes the
    // upper one, also when one pixel stands for several values.
    if (m_firstHandlePressed && leftShown()) {
        if (centre + handleSide / 2 <= secondPos())
            setLowerValue(
                std::min(lowerFromDrag(centre, validLength(), m_minimum, m_interval), m_upperValue));
        else
            setLowerValue(m_upperValue);
    } else if (m_secondHandlePressed && rightShown()) {
        const double threshold = firstPos() + handleSide * (both ? 1.5 : 0.5);
        if (centre >= threshold)
            setUpperValue(
                std::max(upperFromDrag(centre, validLength(), m_minimum, m_interval, both), m_lowerValue));
        else
            setUpperValue(m_lowerValue);
    }
}

void RangeSlider::mouseReleaseEvent(QMouseEvent *)
{
    m_firstHandlePressed = false;
    m_secondHandlePressed = false;
}

void RangeSlider::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        m_rangeColor = isEnabled() ? m_rangeColorEnabled : m_rangeColorDisabled;
        update();
    }
    QWidget::changeEvent(event);
}
