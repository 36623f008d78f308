// The dominant-wavelength module through its exported C functions only, as the program
// calls it. Expected values: the spectrum locus itself (CIE 1931 2° functions) and the
// worked example of CIE 15:2004 §9.1 as published in the colour-science project's tests.
#include "cie1931.h"
#include "ktdominantwave.h"
#include "locuswave.h"

#include <QtTest>

#include <cmath>
#include <thread>

namespace {

struct Xy
{
    double x;
    double y;
};

// Spectrum locus at a whole or fractional wavelength, linear between the 1 nm samples.
Xy locusAt(double nm)
{
    auto at = [](int w) {
        const Cie1931::Row *r = Cie1931::at(w);
        const double s = r->x + r->y + r->z;
        return Xy{r->x / s, r->y / s};
    };
    const int lo = int(std::floor(nm));
    const Xy a = at(lo);
    if (nm == lo)
        return a;
    const Xy b = at(lo + 1);
    const double f = nm - lo;
    return {a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)};
}

} // namespace

class TestLocuswave : public QObject
{
    Q_OBJECT

private slots:
    void defaultWhitePointIsTheSettingsDefault();
    void monochromaticPointsReturnTheirWavelength_data();
    void monochromaticPointsReturnTheirWavelength();
    void purpleSideGivesComplementaryWavelength_data();
    void purpleSideGivesComplementaryWavelength();
    void whitePointAndBadInputGiveNan();
    void pageWrapperFormats();
    void publishedWorkedExample();
    void concurrentCallsSeeWholeWhitePoints();
};

void TestLocuswave::defaultWhitePointIsTheSettingsDefault()
{
    // Must run first: nothing has set a white point yet in this process.
    double wave = 0, purity = 0;
    QCOMPARE(locusDominantWave(0.3333, 0.3333, &wave, &purity), -1);
    QVERIFY(std::isnan(wave) && purity == 0.0);
    // A colour half way from (0.3333, 0.3333) to the 520 nm locus point.
    const Xy p = locusAt(520);
    QCOMPARE(locusDominantWave((0.3333 + p.x) / 2, (0.3333 + p.y) / 2, &wave, &purity), 0);
    QVERIFY(std::abs(wave - 520) < 0.01);
    QVERIFY(std::abs(purity - 0.5) < 1e-9);
}

void TestLocuswave::monochromaticPointsReturnTheirWavelength_data()
{
    QTest::addColumn<double>("nm");
    QTest::addColumn<double>("whiteX");
    QTest::addColumn<double>("whiteY");
    QTest::addColumn<double>("purity"); // the point is this far from white towards the locus
    QTest::addColumn<double>("expected");
    for (double nm = 400; nm <= 700; nm += 10) {
        QTest::addRow("%g nm, D65", nm) << nm << 0.3127 << 0.3290 << 1.0 << nm;
        QTest::addRow("%g nm, E", nm) << nm << 1.0 / 3 << 1.0 / 3 << 1.0 << nm;
    }
    for (double nm : {455.5, 490.25, 505.7, 577.3, 612.9, 689.5})
        QTest::addRow("%g nm, D65", nm) << nm << 0.3127 << 0.3290 << 1.0 << nm;
    // From 699 nm on the locus does not move; every colour on the way to that end point reads
    // 700, whichever side of the end point rounding puts the ray.
    for (double nm : {699.0, 699.5, 720.0, 750.0, 830.0})
        QTest::addRow("%g nm at 0.8, D65", nm) << nm << 0.3127 << 0.3290 << 0.8 << 700.0;
}

void TestLocuswave::monochromaticPointsReturnTheirWavelength()
{
    QFETCH(double, nm);
    QFETCH(double, whiteX);
    QFETCH(double, whiteY);
    QFETCH(double, purity);
    QFETCH(double, expected);
    QCOMPARE(locusSetWhitePoint(whiteX, whiteY), 0);
    const Xy p = locusAt(nm);
    double wave = 0, got = 0;
    QCOMPARE(
        locusDominantWave(whiteX + purity * (p.x - whiteX), whiteY + purity * (p.y - whiteY), &wave, &got),
        0);
    QVERIFY2(std::abs(wave - expected) <= 0.1, qPrintable(QString::number(wave, 'g', 10)));
    QVERIFY2(std::abs(got - purity) <= 0.001, qPrintable(QString::number(got, 'g', 10)));
}

void TestLocuswave::purpleSideGivesComplementaryWavelength_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::newRow("magenta") << 0.40 << 0.20;
    QTest::newRow("violet") << 0.28 << 0.15;
    QTest::newRow("on the purple line") << 0.45 << 0.0;
}

void TestLocuswave::purpleSideGivesComplementaryWavelength()
{
    QFETCH(double, x);
    QFETCH(double, y);
    const Xy n{0.3127, 0.3290};
    QCOMPARE(locusSetWhitePoint(n.x, n.y), 0);
    double wave = 0, purity = 0;
    QCOMPARE(locusDominantWave(x, y, &wave, &purity), 1);
    QVERIFY2(wave < -360 && wave > -830, qPrintable(QString::number(wave)));

    // The complementary locus point lies on the opposite ray: N - s·(C - N) for some s > 0.
    const Xy c = locusAt(-wave);
    const double dx = x - n.x, dy = y - n.y;
    const double cx = c.x - n.x, cy = c.y - n.y;
    const double crossLength = std::abs(dx * cy - dy * cx) / std::hypot(dx, dy);
    QVERIFY2(crossLength < 1e-6, qPrintable(QString::number(crossLength)));
    QVERIFY(dx * cx + dy * cy < 0);

    // Purity against the purple line, the chord from the red end (700 nm) to 360 nm.
    const Xy r = locusAt(700), b = locusAt(360);
    const double ex = b.x - r.x, ey = b.y - r.y;
    const double t = ((r.x - n.x) * ey - (r.y - n.y) * ex) / (dx * ey - dy * ex);
    QVERIFY2(std::abs(purity - 1 / t) < 1e-9, qPrintable(QString::number(purity, 'g', 10)));
}

void TestLocuswave::whitePointAndBadInputGiveNan()
{
    QCOMPARE(locusSetWhitePoint(0.3127, 0.3290), 0);
    double wave = 1, purity = 1;
    QCOMPARE(locusDominantWave(0.3127, 0.3290, &wave, &purity), -1);
    QVERIFY(std::isnan(wave) && purity == 0.0);

    // Null outputs are skipped, not written through.
    QCOMPARE(locusDominantWave(0.5, 0.4, nullptr, nullptr), 0);

    // Outside the locus but a possible chromaticity: the boundary on the way, purity above 1.
    QCOMPARE(locusDominantWave(0.05, 0.9, &wave, &purity), 0);
    QVERIFY(purity > 1 && std::isfinite(purity));
    // Not a number, or no colour has it (x + y > 1, x < 0, far out): NaN, never an infinite
    // purity.
    for (const Xy &c : {Xy{std::nan(""), 0.3}, Xy{INFINITY, 0.3}, Xy{0.9, 0.35}, Xy{-0.2, 0.3},
                        Xy{1e300, -1e300}, Xy{3e-320, 1e300}}) {
        QCOMPARE(locusDominantWave(c.x, c.y, &wave, &purity), -1);
        QVERIFY(std::isnan(wave) && std::isnan(purity));
    }
    // An unusable white point makes every result NaN.
    for (const Xy &w : {Xy{0.9, 0.9}, Xy{0.0, 0.0}, Xy{std::nan(""), 0.3}, Xy{0.05, 0.88}}) {
        QCOMPARE(locusSetWhitePoint(w.x, w.y), -1);
        QCOMPARE(locusDominantWave(0.4, 0.4, &wave, &purity), -1);
        QVERIFY(std::isnan(wave) && std::isnan(purity));
    }
}

void TestLocuswave::pageWrapperFormats()
{
    QVERIFY(KtDominantWave::setWhitePoint(0.3127, 0.3290));
    // Half way to the 600 nm locus point: purity 0.5 is shown as 50.
    const Xy p = locusAt(600);
    const KtDominantWave::WaveTexts half =
        KtDominantWave::calcDominantWave(QString::number(0.3127 + 0.5 * (p.x - 0.3127), 'g', 17),
                                         QString::number(0.3290 + 0.5 * (p.y - 0.3290), 'g', 17));
    QCOMPARE(half.purity, QStringLiteral("50"));
    QCOMPARE(half.waveLength, QStringLiteral("600"));

    QCOMPARE(KtDominantWave::calcDominantWave("", "x").waveLength, QStringLiteral("nan"));

    QVERIFY(!KtDominantWave::setWhitePoint(2, 2));
    QCOMPARE(KtDominantWave::calcDominantWave("0.4", "0.4").purity, QStringLiteral("nan"));
    QVERIFY(KtDominantWave::setWhitePoint(0.3127, 0.3290));
}

// CIE 15:2004's worked example, through the C function and through the record's texts.
void TestLocuswave::publishedWorkedExample()
{
    QCOMPARE(locusSetWhitePoint(0.3127, 0.3290), 0);
    double wave = 0, purity = 0;
    const double x = 0.54369557, y = 0.32107944, Y = 30;
    QCOMPARE(locusDominantWave(x, y, &wave, &purity), 0);
    // λd 616.404 nm (boundary point 0.68354746, 0.31628409), purity 0.622885672.
    QVERIFY2(std::abs(wave - 616.404) <= 0.001, qPrintable(QString::number(wave, 'g', 10)));
    QVERIFY2(std::abs(purity - 0.622885672) <= 1e-6, qPrintable(QString::number(purity, 'g', 10)));

    QVERIFY(KtDominantWave::setWhitePoint(0.3127, 0.3290));
    const KtDominantWave::DerivedTexts t = KtDominantWave::deriveFromXyz(x / y * Y, Y, (1 - x - y) / y * Y);
    QCOMPARE(QStringList({t.x, t.y, t.waveLength, t.purity}),
             QStringList({"0.543696", "0.321079", "616.404", "62.2886"}));
    QVERIFY(!t.Tcp.isEmpty() && t.Tcp != QLatin1String("nan"));
    const KtDominantWave::DerivedTexts zero = KtDominantWave::deriveFromXyz(0, 0, 0);
    for (const QString &field :
         {zero.x, zero.y, zero.Tcp, zero.Duv, zero.u, zero.v, zero.waveLength, zero.purity})
        QCOMPARE(field, QStringLiteral("nan"));
    QCOMPARE(zero.L, QStringLiteral("0"));
}

// The white point is one value for the process; a reader on another thread must see either
// the old or the new pair, never the x of one with the y of the other.
void TestLocuswave::concurrentCallsSeeWholeWhitePoints()
{
    const Xy w1{0.3127, 0.3290}, w2{0.3457, 0.3585};
    const Xy c{0.45, 0.45};
    auto waveWith = [&](const Xy &w) {
        locusSetWhitePoint(w.x, w.y);
        double wave = 0;
        locusDominantWave(c.x, c.y, &wave, nullptr);
        return wave;
    };
    const double whole1 = waveWith(w1), whole2 = waveWith(w2);
    const double torn1 = waveWith({w1.x, w2.y}), torn2 = waveWith({w2.x, w1.y});
    QVERIFY(torn1 != whole1 && torn1 != whole2 && torn2 != whole1 && torn2 != whole2);

    QCOMPARE(locusSetWhitePoint(w1.x, w1.y), 0); // not the torn pair just used
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; !stop; ++i)
            locusSetWhitePoint(i % 2 ? w1.x : w2.x, i % 2 ? w1.y : w2.y);
    });
    int mixed = 0;
    for (int i = 0; i < 20000; ++i) {
        double wave = 0;
        locusDominantWave(c.x, c.y, &wave, nullptr);
        if (wave != whole1 && wave != whole2)
            ++mixed;
    }
    stop = true;
    writer.join();
    QCOMPARE(mixed, 0);
    QCOMPARE(locusSetWhitePoint(0.3127, 0.3290), 0);
}

QTEST_APPLESS_MAIN(TestLocuswave)
#include "tst_locuswave.moc"
