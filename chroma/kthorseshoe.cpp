#include "kthorseshoe.h"

#include "ciediagram.h"
#include "ktscaling.h"

#include <QPainter>

#include <cmath>

using namespace GamutCalc;

namespace {

const QColor kColours[4] = {QColor(220, 0, 0), QColor(0, 170, 0), QColor(0, 0, 230), Qt::black};
const double kRadius[4] = {4.0, 4.0, 4.0, 2.5};

} // namespace

ktHorseShoe::ktHorseShoe(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dialog"));
    setWindowTitle(tr("Horse Shoe"));
    setWindowFlags(windowFlags() | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    resize(QSize(640, 640) * KtScaling::factor());
    setMinimumSize(320, 320);
    m_repaint.setSingleShot(true);
    m_repaint.setInterval(200);
    connect(&m_repaint, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void ktHorseShoe::addData(const QPointF &data, int No)
{
    if (No < 1 || No > 3)
        return;
    QVector<QPointF> &l = m_lists[No - 1];
    const bool allFilled = !m_lists[0].isEmpty() && !m_lists[1].isEmpty() && !m_lists[2].isEmpty();
    if (allFilled) {
        l.clear();
        resetLayer(No - 1);
    }
    l.append(data);
    if (isVisible() && !m_repaint.isActive())
        m_repaint.start();
}

void ktHorseShoe::clearData()
{
    for (int i = 0; i < 3; ++i) {
        m_lists[i].clear();
        resetLayer(i);
    }
    update();
}

void ktHorseShoe::ClearAllPoint()
{
    m_extra.clear();
    resetLayer(3);
    update();
}

const QVector<QPointF> &ktHorseShoe::list(int No) const
{
    static const QVector<QPointF> none;
    return (No >= 1 && No <= 3) ? m_lists[No - 1] : none;
}

int ktHorseShoe::paintedCells() const
{
    int n = 0;
    for (const Layer &l : m_layers)
        n += l.dots;
    return n;
}

CieDiagram::Frame ktHorseShoe::frame() const
{
    // Room for the axis titles below and left of the diagram.
    return CieDiagram::fitSquare(
        QRectF(rect()).adjusted(CieDiagram::titleRoom, 0, 0, -CieDiagram::titleRoom));
}

const QVector<QPointF> &ktHorseShoe::layerPoints(int layer) const
{
    return layer < 3 ? m_lists[layer] : m_extra;
}

void ktHorseShoe::resetLayer(int layer)
{
    m_layers[layer] = Layer();
}

void ktHorseShoe::binNewPoints(int layer, const CieDiagram::Frame &f)
{
    Layer &l = m_layers[layer];
    const QVector<QPointF> &points = layerPoints(layer);
    if (l.binned == points.size())
        return;
    if (l.image.isNull()) {
        const qreal dpr = devicePixelRatioF();
        l.image = QImage(size() * dpr, QImage::Format_ARGB32_Premultiplied);
        l.image.setDevicePixelRatio(dpr);
        l.image.fill(Qt::transparent);
    }
    QPainter p(&l.image);
    p.translate(f.origin);
    // A dot outside the widget is not seen: such points occupy no cell.
    const QRectF visible = QRectF(rect()).adjusted(-5, -5, 5, 5);
    for (int i = l.binned; i < points.size(); ++i) {
        const QPointF &pt = points.at(i);
        const QPointF px = f.map(pt.x(), pt.y());
        // x = 0 is what a failed measurement leaves, not a colour; NaN fails the test too.
        if (!(pt.x() > 0.0) || !visible.contains(px))
            continue;
        const quint32 cell = (quint32(px.x() + 5) << 16) | quint32(px.y() + 5);
        if (l.cells.contains(cell))
            continue;
        l.cells.insert(cell);
        CieDiagram::paintPoint(p, f.g, pt, kColours[layer], kRadius[layer]);
        ++l.dots;
    }
    l.binned = points.size();
}

void ktHorseShoe::HorseShoeFun(QString strBrightX, QString strBrightY, QString, QPainter *painter)
{
    if (strBrightX.isEmpty() || !painter)
        return;
    const CieDiagram::Frame f = frame();
    painter->save();
    painter->translate(f.origin);
    CieDiagram::paintPoint(*painter, f.g, QPointF(strBrightX.toDouble(), strBrightY.toDouble()), Qt::black,
                           2.5);
    painter->restore();
}

void ktHorseShoe::paintEvent(QPaintEvent *)
{
    if (size() != m_layerSize) {
        for (int i = 0; i < 4; ++i)
            resetLayer(i);
        m_layerSize = size();
    }
    const CieDiagram::Frame f = frame();
    QPainter p(this);
    CieDiagram::paintBackground(p, width(), height());
    p.save();
    p.translate(f.origin);
    CieDiagram::paintLocus(p, f.g);
    CieDiagram::paintGrid(p, f.g);
    CieDiagram::paintAxisTitles(p, f.g, tr("x"), tr("y"));
    if (!m_lists[0].isEmpty() && !m_lists[1].isEmpty() && !m_lists[2].isEmpty())
        CieDiagram::paintTriangle(p, f.g, m_lists[0].last(), m_lists[1].last(), m_lists[2].last(), Qt::black);
    p.restore();
    for (int i = 0; i < 4; ++i) {
        binNewPoints(i, f);
        if (!m_layers[i].image.isNull())
            p.drawImage(0, 0, m_layers[i].image);
    }
}
