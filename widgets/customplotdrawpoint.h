#pragma once

#include "ktqcustomplot.h"
#include "plotcursorlogic.h"

#include <memory>

class XxwTracer;
class XxwTraceLine;

// A plot on which the operator marks a window with two clicks. While picking is enabled, a
// red cursor (marker on the x axis and a dashed vertical line) follows the pointer; a left
// click fixes point 1 there, then a green cursor follows and the next click fixes point 2 and
// reports the window as signal_showResult(lower x, higher x). Further clicks do nothing until
// a reset (a middle click, or reset()), which removes both cursors. Clicks outside the x axis's
// range are ignored.
class CustomPlotDrawPoint : public QCustomPlot
{
    Q_OBJECT
public:
    explicit CustomPlotDrawPoint(QWidget *parent = nullptr);
    ~CustomPlotDrawPoint() override;

    // The owning page switches picking on when the waveform is ready to be marked.
    void setPickEnabled(bool enabled) { m_pickEnabled = enabled; }
    bool pickEnabled() const { return m_pickEnabled; }

    // Fix a point at x = value from code (the page's own default window); fixing point 2
    // reports the window as a click would.
    void fixPoint1(double value);
    void fixPoint2(double value);
    void reset();

    const TwoPointPick &pick() const { return m_pick; }
    XxwTracer *tracer1() const { return m_tracer1.get(); }
    XxwTracer *tracer2() const { return m_tracer2.get(); }
    XxwTraceLine *line1() const { return m_line1.get(); }
    XxwTraceLine *line2() const { return m_line2.get(); }

signals:
    void signal_showResult(double dxMin, double dxMax);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void redraw();
    QPointF toPlot(const QPoint &pixel) const;
    bool inXRange(QPointF at) const { return xAxis->range().contains(at.x()); }
    void reportWindow();

    bool m_pickEnabled = false;
    TwoPointPick m_pick;
    // Members go before the base destructor runs, while the plot still holds their items.
    std::unique_ptr<XxwTracer> m_tracer1;
    std::unique_ptr<XxwTracer> m_tracer2;
    std::unique_ptr<XxwTraceLine> m_line1;
    std::unique_ptr<XxwTraceLine> m_line2;
};
