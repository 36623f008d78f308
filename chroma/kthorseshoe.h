#pragma once

#include <QDialog>
#include <QImage>
#include <QPointF>
#include <QSet>
#include <QTimer>
#include <QVector>

#include <QPainter>

namespace CieDiagram {
struct Frame;
}

// Standalone chromaticity diagram ("Horse Shoe") fed by another page: the Measure tab adds
// every colour measurement and clears it with its tables.
//
// Every point is kept, but a long series must not cost a dot per point at each repaint: the
// points of a list are binned to the pixel grid of the widget and each occupied pixel cell gets
// its dot once, drawn into an image kept per list. New points are binned as they come (at the
// next repaint, at most every 200 ms); a repaint then only draws the images, so 100,000 points
// cost about what 1,000 spread the same way do. A resize or a clear starts the images afresh.
class ktHorseShoe : public QDialog
{
    Q_OBJECT
public:
    explicit ktHorseShoe(QWidget *parent = nullptr);

    // Appends the chromaticity (x, y) to list No (1, 2 or 3; other values are ignored). While
    // all three lists hold a point, each list keeps only its newest point, so the triangle
    // follows the latest red, green and blue.
    void addData(const QPointF &data, int No);
    void clearData();
    void ClearAllPoint();

    const QVector<QPointF> &list(int No) const;
    const QVector<QPointF> &extraPoints() const { return m_extra; }
    // Dots drawn so far for the points of all lists: one per occupied pixel cell, so bounded by
    // the plot's area whatever the number of points.
    int paintedCells() const;

public slots:
    void HorseShoeFun(QString strBrightX, QString strBrightY, QString strBrightZ, QPainter *painter);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The dots of one point list (lists 1 to 3, then the further list), as drawn.
    struct Layer
    {
        QImage image;
        QSet<quint32> cells; // occupied pixel cells, x in the high and y in the low 16 bits
        int binned = 0;      // points of the list already binned
        int dots = 0;        // dots drawn into the image
    };
    CieDiagram::Frame frame() const;
    const QVector<QPointF> &layerPoints(int layer) const;
    void resetLayer(int layer);
    void binNewPoints(int layer, const CieDiagram::Frame &f);

    QVector<QPointF> m_lists[3];
    QVector<QPointF> m_extra;
    Layer m_layers[4];
    QSize m_layerSize;
    // Points may come thousands a second during a series: repaint at most every 200 ms.
    QTimer m_repaint;
};
