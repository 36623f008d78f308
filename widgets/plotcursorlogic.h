#pragma once

#include <QPointF>
#include <QString>

// The bookkeeping of a two-point selection on a plot, apart from the plot: which point follows
// the pointer, which click fixes which point, and the window the two points span. Points are
// in plot coordinates; whether a point lies inside the x axis's range is the caller's test.
class TwoPointPick
{
public:
    enum class Step
    {
        Ignored,     // outside the axis range, or both points already fixed
        Followed,    // the first point not yet fixed moved to the pointer
        FixedFirst,  // point 1 is now fixed
        FixedSecond, // point 2 is now fixed: the window is complete
    };

    Step move(QPointF at, bool inRange);
    Step release(QPointF at, bool inRange);
    void fixFirst(QPointF at);
    void fixSecond(QPointF at);
    void reset() { *this = TwoPointPick(); }

    QPointF point1() const { return m_point1; }
    QPointF point2() const { return m_point2; }
    bool point1Fixed() const { return m_point1Fixed; }
    bool point2Fixed() const { return m_point2Fixed; }
    // The lower and the higher x of the two points, whichever was clicked first.
    double windowStart() const;
    double windowEnd() const;

private:
    QPointF m_point1;
    QPointF m_point2;
    bool m_point1Fixed = false;
    bool m_point2Fixed = false;
};

// Kinds of XxwTracer: on the x axis, on the y axis, or on a data point.
enum class TracerType
{
    XAxis = 0,
    YAxis = 1,
    Data = 2,
};

// Label of a tracer at (x, y): x with two decimals on the x axis, y with one on the y axis,
// "x:<x>,y:<y>" on a data point.
QString tracerLabelText(TracerType type, double x, double y);
