// The trend chart's decimation checked against a brute-force scan of the kept points: the view
// must hold the first lowest and first highest finite point of every bucket, and a bucket
// without a finite value must show as a gap. Removing points must leave what adding only the
// survivors gives.
#include "trenddecimator.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>

class TestTrendDecimator : public QObject
{
    Q_OBJECT
private slots:
    void matchesBruteForce_data();
    void matchesBruteForce();
};

namespace {

// Random walk with single NaNs and runs of NaN (so some buckets hold only gaps) and a graph
// of repeated values (ties). Skipped points are left out and the keys stay 1, 2, 3, ...
void fill(TrendDecimator &d, int n, const QVector<int> &skipped = {})
{
    QRandomGenerator rng(n);
    double walk = 0.0;
    for (int i = 0; i < n; ++i) {
        walk += rng.generateDouble() - 0.5;
        const bool gap = rng.bounded(20) == 0 || (i % 1000 >= 300 && i % 1000 < 340);
        const QVector<double> values{walk, gap ? NAN : -walk * 2,
                                     i % 7 == 0 ? qInf() : double(rng.bounded(5))};
        if (!skipped.contains(i))
            d.addPoint(d.pointCount() + 1, values);
    }
}

bool same(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

void checkAgainstBruteForce(const TrendDecimator &d)
{
    const int n = d.pointCount(), w = d.bucketWidth();
    QVERIFY(d.bucketCount() <= d.maxBuckets());
    // The width is the smallest power of two that keeps the count within the limit.
    QVERIFY(w == 1 || (n + w / 2 - 1) / (w / 2) > d.maxBuckets());
    QCOMPARE(d.bucketCount(), (n + w - 1) / w);
    for (int g = 0; g < d.graphCount(); ++g) {
        double allMin = qInf(), allMax = -qInf();
        QVector<double> keys, values, expectedKeys, expectedValues;
        for (int b = 0; b < d.bucketCount(); ++b) {
            double minKey = NAN, minV = NAN, maxKey = NAN, maxV = NAN;
            for (int i = b * w; i < std::min(n, (b + 1) * w); ++i) {
                const double v = d.value(g, i), k = d.key(i);
                if (!std::isfinite(v))
                    continue;
                allMin = std::min(allMin, v);
                allMax = std::max(allMax, v);
                if (std::isnan(minV) || v < minV)
                    minKey = k, minV = v;
                if (std::isnan(maxV) || v > maxV)
                    maxKey = k, maxV = v;
            }
            // Drawn: the bucket's lowest and highest point in key order, or a gap.
            QMap<double, double> drawn{{minKey, minV}, {maxKey, maxV}};
            if (std::isnan(minV))
                drawn = {{d.key(b * w), NAN}};
            expectedKeys += drawn.keys().toVector();
            expectedValues += drawn.values().toVector();
        }
        d.view(g, &keys, &values);
        QCOMPARE(keys, expectedKeys);
        for (int i = 0; i < values.size(); ++i)
            QVERIFY(same(values.at(i), expectedValues.at(i)));
        // On pixel columns 3.5 keys wide a bucket's points sit on the middle of a column near them.
        QVector<double> columnKeys, columnValues;
        d.view(g, &columnKeys, &columnValues, {0.25, 3.5});
        QCOMPARE(columnValues.size(), values.size());
        for (int i = 0; i < columnKeys.size() && w > 1; ++i)
            QVERIFY(same(columnValues.at(i), values.at(i)) &&
                    std::fmod(columnKeys.at(i) - 0.25, 3.5) == 1.75 &&
                    std::fabs(columnKeys.at(i) - keys.at(i)) <= w / 2.0 + 1.75);
        double lo, hi;
        QCOMPARE(d.range(g, &lo, &hi), std::isfinite(allMin));
        QVERIFY(!std::isfinite(allMin) || (lo == allMin && hi == allMax));
    }
}

} // namespace

void TestTrendDecimator::matchesBruteForce_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("maxBuckets");
    QTest::addColumn<int>("resizedTo"); // limit after a resize of the plot (0: none)
    QTest::addColumn<QVector<int>>("removed");
    QTest::newRow("empty") << 0 << 16 << 0 << QVector<int>();
    QTest::newRow("exactly full") << 16 << 16 << 0 << QVector<int>();
    QTest::newRow("one over") << 17 << 16 << 0 << QVector<int>();
    QTest::newRow("wider plot") << 5000 << 64 << 1000 << QVector<int>();
    QTest::newRow("narrower plot") << 5000 << 1000 << 64 << QVector<int>();
    QTest::newRow("100k on 1280 px") << 100000 << 2560 << 0 << QVector<int>();
    QTest::newRow("rows removed") << 200 << 8 << 0 << QVector<int>{0, 5, 6, 120, 199};
    QTest::newRow("all removed, smallest limit") << 3 << 2 << 0 << QVector<int>{0, 1, 2};
}

void TestTrendDecimator::matchesBruteForce()
{
    QFETCH(int, points);
    QFETCH(int, maxBuckets);
    QFETCH(int, resizedTo);
    QFETCH(QVector<int>, removed);
    TrendDecimator d(3, maxBuckets), survivors(3, maxBuckets);
    fill(d, points);
    fill(survivors, points, removed);
    d.removePoints(removed);
    QCOMPARE(d.pointCount(), points - removed.size());
    for (int i = 0; i < d.pointCount(); ++i)
        QVERIFY(d.key(i) == survivors.key(i) && same(d.value(1, i), survivors.value(1, i)) &&
                same(d.value(2, i), survivors.value(2, i)));
    checkAgainstBruteForce(d);
    if (resizedTo > 0) {
        d.setMaxBuckets(resizedTo);
        checkAgainstBruteForce(d);
    }
}

QTEST_GUILESS_MAIN(TestTrendDecimator)
#include "tst_trenddecimator.moc"
