#pragma once

#include <QDialog>
#include <QPointF>
#include <QTimer>
#include <QVector>

#include <QPainter>

// Standalone chromaticity diagram ("Horse Shoe") fed by another page: the Measure tab adds
// every colour measurement and clears it with its tables.
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

public slots:
    void HorseShoeFun(QString strBrightX, QString strBrightY, QString strBrightZ, QPainter *painter);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVector<QPointF> m_lists[3];
    QVector<QPointF> m_extra;
    // Points may come thousands a second during a series: repaint at most every 200 ms.
    QTimer m_repaint;
};
