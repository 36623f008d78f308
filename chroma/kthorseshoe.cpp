#include "kthorseshoe.h"

#include "ciediagram.h"
#include "ktscaling.h"

#include <QPainter>

using namespace GamutCalc;

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
    if (allFilled)
        l.clear();
    l.append(data);
    if (isVisible() && !m_repaint.isActive())
        m_repaint.start();
}

void ktHorseShoe::clearData()
{
    for (QVector<QPointF> &l : m_lists)
        l.clear();
    update();
}

void ktHorseShoe::ClearAllPoint()
{
    m_extra.clear();
    update();
}

const QVector<QPointF> &ktHorseShoe::list(int No) const
{
    static const QVector<QPointF> none;
    return (No >= 1 && No <= 3) ? m_lists[No - 1] : none;
}

void ktHorseShoe::HorseShoeFun(QString strBrightX, QString strBrightY, QString, QPainter *painter)
{
    if (strBrightX.isEmpty() || !painter)
        return;
    const Geometry g = Geometry::forWidget(width(), height());
    CieDiagram::paintPoint(*painter, g, QPointF(strBrightX.toDouble(), strBrightY.toDouble()), Qt::black,
                           2.5);
}

void ktHorseShoe::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const Geometry g = Geometry::forWidget(width(), height());
    CieDiagram::paintBackground(p, width(), height());
    CieDiagram::paintLocus(p, g);
    CieDiagram::paintGrid(p, g);
    static const QColor colours[3] = {QColor(220, 0, 0), QColor(0, 170, 0), QColor(0, 0, 230)};
    if (!m_lists[0].isEmpty() && !m_lists[1].isEmpty() && !m_lists[2].isEmpty())
        CieDiagram::paintTriangle(p, g, m_lists[0].last(), m_lists[1].last(), m_lists[2].last(), Qt::black);
    for (int i = 0; i < 3; ++i) {
        for (const QPointF &pt : m_lists[i]) {
            if (pt.x() > 0.0)
                CieDiagram::paintPoint(p, g, pt, colours[i], 4.0);
        }
    }
    for (const QPointF &pt : m_extra)
        CieDiagram::paintPoint(p, g, pt, Qt::black, 2.5);
}
