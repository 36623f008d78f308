#pragma once

#include "gamutcalc.h"

#include <QColor>
#include <QPen>
#include <QPointF>
#include <QString>

class QPainter;

// Painting shared by the two chromaticity diagrams (ktColorGamutHoseShose, ktHorseShoe):
// background, spectral-locus picture, grid with labels, triangles and legend entries, all on
// the geometry of GamutCalc::Geometry, in the coordinates of the diagram's frame (paint with
// the painter translated to Frame::origin).
namespace CieDiagram {

// Where a diagram sits in its widget. x and y share one scale, so that the locus keeps its
// shape and distances read the same in both directions: the plot is square, as large as the
// given area allows, and centred in it (the rest of the area stays background).
struct Frame
{
    QPointF origin; // widget position of the frame's top left corner
    GamutCalc::Geometry g;

    QPointF map(double x, double y) const { return g.map(x, y) + origin; }
};
Frame fitSquare(const QRectF &area);

// The two vertical gradients of the background (upper and lower half of the widget).
void paintBackground(QPainter &p, int widgetWidth, int widgetHeight);
// ":/Tintora/Resources/HorseShoe.png" scaled into the plot rectangle (the picture shows the
// CIE 1931 locus on the same 0 to 0.9 axes). Nothing is drawn when the picture is missing.
void paintLocus(QPainter &p, const GamutCalc::Geometry &g);
// Nine divisions on each axis, labels "0.0" ... "0.9" in "Microsoft YaHei UI".
void paintGrid(QPainter &p, const GamutCalc::Geometry &g);
// Triangle through three chromaticities with a 2-pixel solid pen and no fill.
void paintTriangle(QPainter &p, const GamutCalc::Geometry &g, const QPointF &r, const QPointF &gr,
                   const QPointF &b, const QColor &colour);
// Legend entry at the top right: a line from (W-60, y) to (W-40, y) in the triangle's pen and
// its name in black at (W-35, y+5), W being the plot width.
void paintLegend(QPainter &p, const GamutCalc::Geometry &g, int y, const QColor &colour, const QString &name);
// Axis titles outside the tick labels: xTitle centred below the plot, yTitle left of the plot,
// in the titleRoom pixels a caller keeps free beyond the frame's bottom and left edges.
constexpr int titleRoom = 16;
void paintAxisTitles(QPainter &p, const GamutCalc::Geometry &g, const QString &xTitle, const QString &yTitle);
// One filled dot of a measured point.
void paintPoint(QPainter &p, const GamutCalc::Geometry &g, const QPointF &xy, const QColor &colour,
                double radius = 3.5);

// Pen colours of the reference triangles and the measured one.
inline QColor ntscColour()
{
    return Qt::black;
}
inline QColor srgbColour()
{
    return Qt::blue;
}
inline QColor dciColour()
{
    return Qt::red;
}
inline QColor bt2020Colour()
{
    return QColor(0, 128, 64);
}
inline QColor measuredColour()
{
    return Qt::yellow;
}

} // namespace CieDiagram
