#include "customplotdrawpoint.h"
#include "xxwtraceline.h"
#include "xxwtracer.h"

#include <QSignalSpy>
#include <QtTest>

// The plot spans x 0..10 and y 0..100; clicks are given in plot x and sent at that pixel, so a
// reported x is the clicked one to within a pixel (0.05 here).
class TestPlotCursors : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { delete m_plot; }
    void twoClicks_data();
    void twoClicks();
    void middleClickStartsOver();
    void tracerKinds_data();
    void tracerKinds();

private:
    QPoint pixel(double x) const { return QPoint(int(m_plot->xAxis->coordToPixel(x)), 100); }
    CustomPlotDrawPoint *m_plot = nullptr;
};

void TestPlotCursors::init()
{
    m_plot = new CustomPlotDrawPoint;
    m_plot->resize(400, 300);
    m_plot->xAxis->setRange(0, 10);
    m_plot->yAxis->setRange(0, 100);
    m_plot->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_plot));
    m_plot->replot();
    m_plot->setPickEnabled(true);
}

void TestPlotCursors::twoClicks_data()
{
    QTest::addColumn<QVector<double>>("clicks");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::newRow("left to right") << QVector<double>{2, 7} << 2.0 << 7.0;
    QTest::newRow("right to left") << QVector<double>{7, 2} << 2.0 << 7.0;
    QTest::newRow("left of the axis ignored") << QVector<double>{-1, 6, 3} << 3.0 << 6.0;
    QTest::newRow("third click changes nothing") << QVector<double>{4, 9, 1} << 4.0 << 9.0;
}

void TestPlotCursors::twoClicks()
{
    QFETCH(QVector<double>, clicks);
    QFETCH(double, low);
    QFETCH(double, high);
    QSignalSpy result(m_plot, &CustomPlotDrawPoint::signal_showResult);
    for (double x : clicks) {
        QTest::mouseMove(m_plot, pixel(x));
        QTest::mouseClick(m_plot, Qt::LeftButton, {}, pixel(x));
    }
    QCOMPARE(result.count(), 1);
    QVERIFY(qAbs(result[0][0].toDouble() - low) < 0.05);
    QVERIFY(qAbs(result[0][1].toDouble() - high) < 0.05);
    // A third click must not move a fixed point either.
    QVERIFY(qAbs(m_plot->pick().windowStart() - low) < 0.05 &&
            qAbs(m_plot->pick().windowEnd() - high) < 0.05);

    // Cursors: red for point 1, green for point 2, each a marker, label, arrow and dashed line,
    // all drawn on the overlay.
    const std::pair<XxwTracer *, XxwTraceLine *> cursors[] = {{m_plot->tracer1(), m_plot->line1()},
                                                              {m_plot->tracer2(), m_plot->line2()}};
    for (const auto &[tracer, line] : cursors) {
        QVERIFY(tracer && line);
        const QColor colour = tracer == m_plot->tracer1() ? Qt::red : Qt::green;
        const QList<QCPAbstractItem *> items{tracer->tracer(), tracer->label(), tracer->arrow(),
                                             line->verticalLine()};
        for (QCPAbstractItem *item : items)
            QCOMPARE(item->layer()->name(), QStringLiteral("overlay"));
        QCOMPARE(tracer->tracer()->brush().color(), colour);
        QCOMPARE(tracer->label()->color(), colour);
        QCOMPARE(line->verticalLine()->pen().style(), Qt::DashLine);
        QCOMPARE(line->verticalLine()->pen().color(), colour);
        QCOMPARE(tracer->label()->text(), QString::number(tracer->tracer()->position->coords().x(), 'f', 2));
        QCOMPARE(line->verticalLine()->point1->coords().x(), tracer->tracer()->position->coords().x());
    }
    m_plot->grab().save(QDir(QCoreApplication::applicationDirPath()).filePath("plotcursors.png"));
}

void TestPlotCursors::middleClickStartsOver()
{
    const int itemsBefore = m_plot->itemCount();
    m_plot->fixPoint1(3);
    QSignalSpy result(m_plot, &CustomPlotDrawPoint::signal_showResult);
    m_plot->fixPoint2(1.5);
    QCOMPARE(result.value(0), (QVariantList{1.5, 3.0}));
    QCOMPARE(m_plot->itemCount(), itemsBefore + 8);

    QTest::mouseClick(m_plot, Qt::MiddleButton, {}, pixel(5));
    QVERIFY(!m_plot->tracer1() && !m_plot->tracer2() && !m_plot->pick().point1Fixed());
    QCOMPARE(m_plot->itemCount(), itemsBefore);

    QTest::mouseClick(m_plot, Qt::LeftButton, {}, pixel(5));
    QVERIFY(m_plot->pick().point1Fixed() && !m_plot->pick().point2Fixed());
    // The green cursor starts where point 1 was fixed, not at x = 0.
    QVERIFY(m_plot->tracer1() && m_plot->tracer2());
    QCOMPARE(m_plot->pick().point2(), m_plot->pick().point1());

    // Picking switched off: the plot takes no clicks, not even the reset.
    m_plot->setPickEnabled(false);
    QTest::mouseClick(m_plot, Qt::MiddleButton, {}, pixel(5));
    QTest::mouseClick(m_plot, Qt::LeftButton, {}, pixel(8));
    QVERIFY(m_plot->pick().point1Fixed() && !m_plot->pick().point2Fixed());
}

void TestPlotCursors::tracerKinds_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QPointF>("at"); // x plot or axis-rect ratio, y likewise
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("visible");
    QTest::newRow("x axis") << 0 << QPointF(3, 50) << QPointF(3, 1) << "3.00" << true;
    QTest::newRow("y axis, above the top") << 1 << QPointF(3, 150) << QPointF(0, 100) << "100.0" << true;
    QTest::newRow("data") << 2 << QPointF(1.5, 20) << QPointF(1.5, 20) << "x:1.5,y:20" << false;
}

void TestPlotCursors::tracerKinds()
{
    QFETCH(int, type);
    QFETCH(QPointF, to);
    QFETCH(QPointF, at);
    QFETCH(QString, text);
    QFETCH(bool, visible);
    // Owned by the plot, so the plot goes first (in cleanup): the cursors must cope.
    auto *tracer = new XxwTracer(m_plot, TracerType(type), m_plot);
    auto *segment = new XxwTraceLine(m_plot, XxwTraceLine::Segment, m_plot);
    tracer->updatePosition(to.x(), to.y());
    segment->updateSegment(QPointF(1, 1), to);
    QCOMPARE(tracer->tracer()->position->coords(), at);
    QCOMPARE(tracer->label()->text(), text);
    QCOMPARE(tracer->label()->visible(), visible);
    QCOMPARE(segment->segment()->end->coords(), to);
    QCOMPARE(m_plot->itemCount(), 4);
}

QTEST_MAIN(TestPlotCursors)
#include "tst_widgets_plotcursors.moc"
