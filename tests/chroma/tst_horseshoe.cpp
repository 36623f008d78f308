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

// Renders w and returns the centre of its pixels in list 1's colour with x in [fromX, toX),
// (-1, -1) when there is none.
static QPointF dotsCentre(QWidget &w, int fromX, int toX)
{
    QImage image(w.size(), QImage::Format_ARGB32_Premultiplied);
    w.render(&image);
    QPointF sum;
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = fromX; x < toX; ++x)
            if (image.pixelColor(x, y) == QColor(220, 0, 0))
                sum += QPointF(x, y), ++n;
    return n ? sum / n : QPointF(-1, -1);
}

void TestHorseShoe::keepsEveryPointDrawsBoundedCells()
{
    ktHorseShoe shoe;
    shoe.resize(640, 640);
    QRandomGenerator rng(1);
    // A 0.02 square on a plot of about 600 px for 0.9 covers at most 15 x 15 pixel cells.
    for (int i = 0; i < 100000; ++i)
        shoe.addData(QPointF(0.30 + 0.02 * rng.generateDouble(), 0.32 + 0.02 * rng.generateDouble()), 1);
    dotsCentre(shoe, 0, 0);
    QCOMPARE(shoe.list(1).size(), 100000);
    const int cells = shoe.paintedCells();
    QVERIFY2(cells > 50 && cells <= 15 * 15, qPrintable(QString::number(cells)));
    // Later points in occupied cells add no dot; a point elsewhere adds one.
    shoe.addData(QPointF(0.31, 0.33), 1);
    shoe.addData(QPointF(0.6, 0.3), 1);
    dotsCentre(shoe, 0, 0);
    QCOMPARE(shoe.list(1).size(), 100002);
    QCOMPARE(shoe.paintedCells(), cells + 1);
    shoe.clearData();
    QCOMPARE(dotsCentre(shoe, 0, 640), QPointF(-1, -1));
    QCOMPARE(shoe.paintedCells(), 0);
}

void TestHorseShoe::sameScaleOnWideWidget()
{
    ktHorseShoe shoe;
    shoe.resize(1000, 450);
    shoe.addData(QPointF(0.1, 0.1), 1);
    shoe.addData(QPointF(0.8, 0.8), 1);
    const QPointF low = dotsCentre(shoe, 0, 500), high = dotsCentre(shoe, 500, 1000);
    // 0.7 across and 0.7 up are the same number of pixels, and the plot sits in the middle.
    QVERIFY(low.x() > 0 && high.x() > 0);
    QVERIFY(qAbs((high.x() - low.x()) - (low.y() - high.y())) <= 1.0);
    QVERIFY(qAbs((low.x() + high.x()) / 2 - 500) < 60);
}

QTEST_MAIN(TestHorseShoe)
#include "tst_horseshoe.moc"
