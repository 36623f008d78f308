#include "ktcolorgamuthoseshose.h"

#include "ciediagram.h"

#include <QPainter>

#include <cmath>

using namespace GamutCalc;

ktColorGamutHoseShose::ktColorGamutHoseShose(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(420, 420);
    loadReferences();
}

void ktColorGamutHoseShose::loadReferences()
{
    installDefaultIni(iniPath());
    m_refs = readReferences(iniPath());
    update();
}

void ktColorGamutHoseShose::referenceAreas(double *ntsc, double *srgb, double *dcip3, double *bt2020) const
{
    *ntsc = m_refs.ntsc.gamut;
    *srgb = m_refs.srgb.gamut;
    *dcip3 = m_refs.dcip3.gamut;
    *bt2020 = m_refs.bt2020.gamut;
}

void ktColorGamutHoseShose::addPoint(double x, double y, int index)
{
    // The pixel of x = 0 is the left edge of the plot: such a point is what a failed
    // measurement leaves, not a colour.
    if (!(x != 0.0) || !std::isfinite(x) || !std::isfinite(y))
        return;
    m_points.insert(index, QPointF(x, y));
    update();
}

void ktColorGamutHoseShose::clearPoints()
{
    m_points.clear();
    update();
}

void ktColorGamutHoseShose::setShowTriangle(bool show)
{
    m_showTriangle = show;
    update();
}

void ktColorGamutHoseShose::HorseShoeFun(QString strBrightX, QString strBrightY, QString, QPainter *painter)
{
    if (strBrightX.isEmpty() || !painter)
        return;
    const CieDiagram::Frame f = CieDiagram::fitSquare(rect());
    painter->save();
    painter->translate(f.origin);
    CieDiagram::paintPoint(*painter, f.g, QPointF(strBrightX.toDouble(), strBrightY.toDouble()), Qt::black,
                           2.5);
    painter->restore();
}

void ktColorGamutHoseShose::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const CieDiagram::Frame f = CieDiagram::fitSquare(rect());
    const Geometry &g = f.g;
    CieDiagram::paintBackground(p, width(), height());
    p.translate(f.origin);
    CieDiagram::paintLocus(p, g);
    CieDiagram::paintGrid(p, g);

    const struct
    {
        const Reference &ref;
        QColor colour;
        QString label;
        int legendY;
    } triangles[] = {{m_refs.ntsc, CieDiagram::ntscColour(), QStringLiteral("NTSC"), 20},
                     {m_refs.srgb, CieDiagram::srgbColour(), QStringLiteral("sRGB"), 35},
                     {m_refs.dcip3, CieDiagram::dciColour(), QStringLiteral("DCI-P3"), 50},
                     {m_refs.bt2020, CieDiagram::bt2020Colour(), QStringLiteral("BT.2020"), 65}};
    for (const auto &t : triangles) {
        CieDiagram::paintTriangle(p, g, {t.ref.rx, t.ref.ry}, {t.ref.gx, t.ref.gy}, {t.ref.bx, t.ref.by},
                                  t.colour);
        CieDiagram::paintLegend(p, g, t.legendY, t.colour, t.label);
    }
    if (m_showTriangle && m_points.size() == 3 && m_points.contains(0) && m_points.contains(1) &&
        m_points.contains(2))
        CieDiagram::paintTriangle(p, g, m_points.value(0), m_points.value(1), m_points.value(2),
                                  CieDiagram::measuredColour());
    CieDiagram::paintLegend(p, g, 80, CieDiagram::measuredColour(), QStringLiteral("Mes"));
    p.resetTransform(); // HorseShoeFun places its point in the frame itself
    for (auto it = m_points.cbegin(); it != m_points.cend(); ++it)
        HorseShoeFun(QString::number(it.value().x(), 'g', 6), QString::number(it.value().y(), 'g', 6),
                     QString(), &p);
}
