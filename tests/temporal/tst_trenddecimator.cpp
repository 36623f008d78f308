// The trend chart's decimation checked against a brute-force scan of the kept points: every
// bucket must hold the first lowest, first highest and first non-finite point of its span.
#include "trenddecimator.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>

class TestTrendDecimator : public QObject
{
    Q_OBJECT
private slots:
    void bucketsMatchBruteForce_data();
    void bucketsMatchBruteForce();
    void removePointsRenumbers();
};

namespace {

// Random walk with single NaNs and runs of NaN, so some buckets hold only gaps.
void fill(TrendDecimator &d, int n)
{
    QRandomGenerator rng(n);
    double walk = 0.0;
    for (int i = 0; i < n; ++i) {
        walk += rng.generateDouble() - 0.5;
        const bool gap = rng.bounded(20) == 0 || (i % 1000 >= 300 && i % 1000 < 340);
        d.addPoint(i + 1,
                   {walk, gap ? std::nan("") : -walk * 2, i % 7 == 0 ? qInf() : double(rng.bounded(5))});
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
            double minKey = NAN, minV = NAN, maxKey = NAN, maxV = NAN, gapKey = NAN;
            for (int i = b * w; i < std::min(n, (b + 1) * w); ++i) {
                const double v = d.value(g, i), k = d.key(i);
                if (!std::isfinite(v)) {
                    gapKey = std::isnan(gapKey) ? k : gapKey;
                    continue;
                }
                allMin = std::min(allMin, v);
                allMax = std::max(allMax, v);
                if (std::isnan(minV) || v < minV)
                    minKey = k, minV = v;
                if (std::isnan(maxV) || v > maxV)
                    maxKey = k, maxV = v;
            }
            const TrendDecimator::Bucket &got = d.bucket(g, b);
            const double expected[5] = {minKey, minV, maxKey, maxV, gapKey};
            const double actual[5] = {got.minKey, got.minValue, got.maxKey, got.maxValue, got.gapKey};
            for (int f = 0; f < 5; ++f)
                QVERIFY2(same(expected[f], actual[f]),
                         qPrintable(QString("graph %1 bucket %2 field %3").arg(g).arg(b).arg(f)));
            // Drawn: the bucket's lowest and highest point and its first gap, in key order.
            QMap<double, double> drawn;
            if (!std::isnan(minV))
                drawn = {{minKey, minV}, {maxKey, maxV}};
            if (!std::isnan(gapKey))
                drawn.insert(gapKey, NAN);
            expectedKeys += drawn.keys().toVector();
            expectedValues += drawn.values().toVector();
        }
        d.view(g, &keys, &values);
        QCOMPARE(keys, expectedKeys);
        for (int i = 0; i < values.size(); ++i)
            QVERIFY(same(values.at(i), expectedValues.at(i)));
        double lo, hi;
        QCOMPARE(d.range(g, &lo, &hi), std::isfinite(allMin));
        QVERIFY(!std::isfinite(allMin) || (lo == allMin && hi == allMax));
    }
}

} // namespace

void TestTrendDecimator::bucketsMatchBruteForce_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("maxBuckets");
    QTest::addColumn<int>("resizedTo"); // limit after a resize of the plot (0: none)
    QTest::newRow("empty") << 0 << 16 << 0;
    QTest::newRow("one") << 1 << 16 << 0;
    QTest::newRow("exactly full") << 16 << 16 << 0;
    QTest::newRow("one over") << 17 << 16 << 0;
    QTest::newRow("odd count merges") << 999 << 10 << 0;
    QTest::newRow("smallest limit") << 37 << 2 << 0;
    QTest::newRow("wider plot") << 5000 << 64 << 1000;
    QTest::newRow("narrower plot") << 5000 << 1000 << 64;
    QTest::newRow("100k on 1280 px") << 100000 << 2560 << 0;
}

void TestTrendDecimator::bucketsMatchBruteForce()
{
    QFETCH(int, points);
    QFETCH(int, maxBuckets);
    QFETCH(int, resizedTo);
    TrendDecimator d(3, maxBuckets);
    fill(d, points);
    QCOMPARE(d.pointCount(), points);
    checkAgainstBruteForce(d);
    if (resizedTo > 0) {
        d.setMaxBuckets(resizedTo);
        checkAgainstBruteForce(d);
    }
}

void TestTrendDecimator::removePointsRenumbers()
{
    TrendDecimator d(3, 8);
    fill(d, 200);
    QVector<double> before;
    for (int i = 0; i < 200; ++i)
        before << d.value(1, i);
    d.removePoints({0, 5, 6, 120, 199});
    QCOMPARE(d.pointCount(), 195);
    const QVector<int> kept = {1, 2, 3, 4, 7, 8}; // the first survivors, in order
    for (int i = 0; i < kept.size(); ++i)
        QCOMPARE(d.value(1, i), before.at(kept.at(i)));
    QCOMPARE(d.value(1, 194), before.at(198));
    for (int i = 0; i < d.pointCount(); ++i)
        QCOMPARE(d.key(i), double(i + 1));
    checkAgainstBruteForce(d);
    d.clear();
    QCOMPARE(d.bucketCount(), 0);
    QCOMPARE(d.bucketWidth(), 1);
}

QTEST_GUILESS_MAIN(TestTrendDecimator)
#include "tst_trenddecimator.moc"
