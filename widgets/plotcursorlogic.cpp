#include "plotcursorlogic.h"

#include <algorithm>

TwoPointPick::Step TwoPointPick::move(QPointF at, bool inRange)
{
    if (!inRange)
        return Step::Ignored;
    if (!m_point1Fixed)
        m_point1 = at;
    else if (!m_point2Fixed)
        m_point2 = at;
    else
        return Step::Ignored;
    return Step::Followed;
}

TwoPointPick::Step TwoPointPick::release(QPointF at, bool inRange)
{
    if (!inRange)
        return Step::Ignored;
    if (!m_point1Fixed) {
        fixFirst(at);
        return Step::FixedFirst;
    }
    if (!m_point2Fixed) {
        fixSecond(at);
        return Step::FixedSecond;
    }
    return Step::Ignored;
}

void TwoPointPick::fixFirst(QPointF at)
{
    m_point1 = at;
    m_point1Fixed = true;
    // Point 2 follows the pointer from here on; it starts where point 1 was fixed rather than
    // at the origin, which may lie far off the plot.
    if (!m_point2Fixed)
        m_point2 = at;
}

void TwoPointPick::fixSecond(QPointF at)
{
    m_point2 = at;
    m_point2Fixed = true;
}

double TwoPointPick::windowStart() const
{
    return std::min(m_point1.x(), m_point2.x());
}

double TwoPointPick::windowEnd() const
{
    return std::max(m_point1.x(), m_point2.x());
}

QString tracerLabelText(TracerType type, double x, double y)
{
    switch (type) {
    case TracerType::XAxis:
        return QString::number(x, 'f', 2);
    case TracerType::YAxis:
        return QString::number(y, 'f', 1);
    case TracerType::Data:
        break;
    }
    return QStringLiteral("x:%1,y:%2").arg(x).arg(y);
}
