// The Measure tab's chromaticity dialog, rendered offscreen: it keeps every point it is given
// while drawing one dot per occupied pixel cell, and draws x and y at one scale.
#include "kthorseshoe.h"

#include <QRandomGenerator>
#include <QtTest>

class TestHorseShoe : public QObject
{
    Q_OBJECT
private slots:
    void keepsEveryPointDrawsBoundedCells();
    void sameScaleOnWideWidget();
};

namespace {

QImage render(QWidget &w)
{
    QImage image(w.size(), QImage::Format_ARGB32_Premultiplied);
    w.render(&image);
    return image;
}

// Centre of the pixels of exactly this colour with x in [fromX, toX).
QPointF centroid(const QImage &image, const QColor &colour, int fromX, int toX)
{
    QPointF sum;
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = fromX; x < toX; ++x)
            if (image.pixelColor(x, y) == colour)
                sum += QPointF(x, y), ++n;
    return n ? sum / n : QPointF(-1, -1);
}

} // namespace

void TestHorseShoe::keepsEveryPointDrawsBoundedCells()
{
    ktHorseShoe shoe;
    shoe.resize(640, 640);
    QRandomGenerator rng(1);
    // 100,000 points in a 0.02 x 0.02 square: on a plot of about 600 px for 0.9 that is at most
    // 15 x 15 pixel cells.
    for (int i = 0; i < 100000; ++i)
        shoe.addData(QPointF(0.30 + 0.02 * rng.generateDouble(), 0.32 + 0.02 * rng.generateDouble()), 1);
    render(shoe);
    QCOMPARE(shoe.list(1).size(), 100000);
    QVERIFY2(shoe.paintedCells() > 50 && shoe.paintedCells() <= 15 * 15,
             qPrintable(QString::number(shoe.paintedCells())));
    // Points arriving later in the same cells add no dot; a point elsewhere adds one.
    const int cells = shoe.paintedCells();
    shoe.addData(QPointF(0.31, 0.33), 1);
    shoe.addData(QPointF(0.6, 0.3), 1);
    render(shoe);
    QCOMPARE(shoe.list(1).size(), 100002);
    QCOMPARE(shoe.paintedCells(), cells + 1);
    shoe.clearData();
    const QImage cleared = render(shoe);
    QCOMPARE(shoe.paintedCells(), 0);
    QCOMPARE(centroid(cleared, QColor(220, 0, 0), 0, cleared.width()), QPointF(-1, -1));
}

void TestHorseShoe::sameScaleOnWideWidget()
{
    ktHorseShoe shoe;
    shoe.resize(1000, 450);
    shoe.addData(QPointF(0.1, 0.1), 1);
    shoe.addData(QPointF(0.8, 0.8), 1);
    const QImage image = render(shoe);
    const QPointF low = centroid(image, QColor(220, 0, 0), 0, 500);
    const QPointF high = centroid(image, QColor(220, 0, 0), 500, 1000);
    QVERIFY(low.x() > 0 && high.x() > 0);
    // 0.7 across and 0.7 up are the same number of pixels, and the plot sits in the middle.
    QVERIFY2(qAbs((high.x() - low.x()) - (low.y() - high.y())) <= 1.0,
             qPrintable(QString("%1,%2 %3,%4").arg(low.x()).arg(low.y()).arg(high.x()).arg(high.y())));
    QVERIFY(qAbs((low.x() + high.x()) / 2 - 500) < 60);
}

QTEST_MAIN(TestHorseShoe)
#include "tst_horseshoe.moc"
