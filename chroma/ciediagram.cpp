#include "ciediagram.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace CieDiagram {

Frame fitSquare(const QRectF &area)
{
    // Room that Geometry::forWidget keeps around the plot for the tick labels.
    const GamutCalc::Geometry whole = GamutCalc::Geometry::forWidget(int(area.width()), int(area.height()));
    const double marginX = area.width() - whole.width;
    const double marginY = area.height() - whole.height;
    Frame f;
    f.g.width = f.g.height = std::min(whole.width, whole.height);
    f.origin = QPointF(std::floor(area.left() + (area.width() - marginX - f.g.width) / 2),
                       std::floor(area.top() + (area.height() - marginY - f.g.height) / 2));
    return f;
}

void paintBackground(QPainter &p, int w, int h)
{
    const int half = h / 2;
    QLinearGradient upper(0, 0, 0, half);
    upper.setColorAt(0.0, QColor(236, 242, 250));
    upper.setColorAt(1.0, QColor(252, 253, 255));
    p.fillRect(QRect(0, 0, w, half), upper);
    QLinearGradient lower(0, half, 0, h);
    lower.setColorAt(0.0, QColor(252, 253, 255));
    lower.setColorAt(1.0, QColor(226, 233, 244));
    p.fillRect(QRect(0, half, w, h - half), lower);
}

void paintLocus(QPainter &p, const GamutCalc::Geometry &g)
{
    // Loaded once: the picture never changes and repaints must stay cheap.
    static const QPixmap picture(QStringLiteral(":/Tintora/Resources/HorseShoe.png"));
    if (picture.isNull())
        return;
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(g.plotRect(), picture, QRectF(picture.rect()));
    p.restore();
}

void paintGrid(QPainter &p, const GamutCalc::Geometry &g)
{
    p.save();
    QFont font(QStringLiteral("Microsoft YaHei UI"));
    font.setPointSize(7);
    p.setFont(font);
    const QRectF plot = g.plotRect();
    for (int i = 0; i <= 9; ++i) {
        const double v = i / 10.0;
        const QPointF onX = g.map(v, 0.0);
        const QPointF onY = g.map(0.0, v);
        p.setPen(QPen(QColor(150, 150, 150), 1, i == 0 ? Qt::SolidLine : Qt::DotLine));
        p.drawLine(QPointF(onX.x(), plot.top()), QPointF(onX.x(), plot.bottom()));
        p.drawLine(QPointF(plot.left(), onY.y()), QPointF(plot.right(), onY.y()));
        p.setPen(Qt::black);
        const QString label = QString::number(v, 'f', 1);
        p.drawText(QRectF(onX.x() - 15, plot.bottom() + 3, 30, 16), Qt::AlignHCenter | Qt::AlignTop, label);
        p.drawText(QRectF(0, onY.y() - 8, g.left - 2, 16), Qt::AlignRight | Qt::AlignVCenter, label);
    }
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(plot);
    p.restore();
}

void paintTriangle(QPainter &p, const GamutCalc::Geometry &g, const QPointF &r, const QPointF &gr,
                   const QPointF &b, const QColor &colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 2, Qt::SolidLine));
    p.setBrush(Qt::NoBrush);
    const QPointF poly[3] = {g.map(r.x(), r.y()), g.map(gr.x(), gr.y()), g.map(b.x(), b.y())};
    p.drawPolygon(poly, 3);
    p.restore();
}

void paintLegend(QPainter &p, const GamutCalc::Geometry &g, int y, const QColor &colour, const QString &name)
{
    p.save();
    const double w = g.width;
    p.setPen(QPen(colour, 2, Qt::SolidLine));
    p.drawLine(QPointF(w - 60, y), QPointF(w - 40, y));
    p.setPen(Qt::black);
    QFont font(QStringLiteral("Microsoft YaHei UI"));
    font.setPointSize(8);
    p.setFont(font);
    p.drawText(QPointF(w - 35, y + 5), name);
    p.restore();
}

void paintAxisTitles(QPainter &p, const GamutCalc::Geometry &g, const QString &xTitle, const QString &yTitle)
{
    p.save();
    QFont font(QStringLiteral("Microsoft YaHei UI"));
    font.setPointSize(9);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(Qt::black);
    const QRectF plot = g.plotRect();
    // Below the tick labels (24 px under the plot) and left of them (at the frame's left edge).
    p.drawText(QRectF(plot.left(), plot.bottom() + 22, plot.width(), titleRoom), Qt::AlignCenter, xTitle);
    p.drawText(QRectF(-titleRoom, plot.top(), titleRoom, plot.height()), Qt::AlignCenter, yTitle);
    p.restore();
}

void paintPoint(QPainter &p, const GamutCalc::Geometry &g, const QPointF &xy, const QColor &colour,
                double radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(colour);
    p.drawEllipse(g.map(xy.x(), xy.y()), radius, radius);
    p.restore();
}

} // namespace CieDiagram
