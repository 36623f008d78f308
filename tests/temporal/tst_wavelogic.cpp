// The waveform calculations without a window: the transform against FFTW, its inverse, and the
// transition analysis on records whose crossings are known by construction.
#include "fft.h"
#include "wavelogic.h"

#include <QtTest>

#include <fftw3.h>

#include <cmath>
#include <random>

class TestWaveLogic : public QObject
{
    Q_OBJECT
private slots:
    void forwardMatchesFftwAndInverseRestores_data();
    void forwardMatchesFftwAndInverseRestores();
    void invalidSizesAndPointersDoNothing_data();
    void invalidSizesAndPointersDoNothing();
    void transitionsOfConstructedRecords_data();
    void transitionsOfConstructedRecords();
    void captureWindowAroundTheEdge_data();
    void captureWindowAroundTheEdge();
};

void TestWaveLogic::forwardMatchesFftwAndInverseRestores_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("complexInput");
    for (int n = 2; n <= 8192; n *= 2) {
        QTest::addRow("real %d", n) << n << false;
        QTest::addRow("complex %d", n) << n << true;
    }
}

// Relative error as the largest deviation over the largest reference magnitude: one bin of a
// random record may be arbitrarily small, the record's scale is what rounding works against.
void TestWaveLogic::forwardMatchesFftwAndInverseRestores()
{
    QFETCH(int, n);
    QFETCH(bool, complexInput);
    std::mt19937_64 rng(unsigned(n) * 7 + complexInput);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    const size_t size = static_cast<size_t>(n);
    std::vector<fft::Complex> in(size), out(size), back(size);
    for (auto &c : in)
        c = fft::Complex(u(rng), complexInput ? u(rng) : 0.0);

    std::vector<fft::Complex> ref(size);
    fftw_plan plan =
        fftw_plan_dft_1d(n, reinterpret_cast<fftw_complex *>(in.data()),
                         reinterpret_cast<fftw_complex *>(ref.data()), FFTW_FORWARD, FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);

    fft transform;
    QVERIFY(transform.forward(in.data(), out.data(), n));
    double worst = 0.0, scale = 0.0;
    for (int k = 0; k < n; ++k) {
        worst = std::max(worst, std::abs(out[size_t(k)] - ref[size_t(k)]));
        scale = std::max(scale, std::abs(ref[size_t(k)]));
    }
    QVERIFY2(worst <= 1e-9 * scale, qPrintable(QString::number(worst / scale)));

    QVERIFY(transform.inverse(out.data(), back.data(), n));
    double roundTrip = 0.0;
    for (int i = 0; i < n; ++i)
        roundTrip = std::max(roundTrip, std::abs(back[size_t(i)] - in[size_t(i)]));
    QVERIFY2(roundTrip <= 1e-12, qPrintable(QString::number(roundTrip)));
}

void TestWaveLogic::invalidSizesAndPointersDoNothing_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("nullIn");
    QTest::addColumn<bool>("nullOut");
    for (int n : {0, -8, 1, 3, 6, 12})
        QTest::addRow("n %d", n) << n << false << false;
    QTest::newRow("null input") << 8 << true << false;
    QTest::newRow("null output") << 8 << false << true;
}

void TestWaveLogic::invalidSizesAndPointersDoNothing()
{
    QFETCH(int, n);
    QFETCH(bool, nullIn);
    QFETCH(bool, nullOut);
    std::vector<fft::Complex> in(16, fft::Complex(1.0, 2.0)), out(16, fft::Complex(7.0, 7.0));
    fft transform;
    QVERIFY(!transform.forward(nullIn ? nullptr : in.data(), nullOut ? nullptr : out.data(), n));
    QVERIFY(!transform.inverse(nullIn ? nullptr : in.data(), nullOut ? nullptr : out.data(), n));
    for (const auto &c : out)
        QCOMPARE(c, fft::Complex(7.0, 7.0));
}

// Records in steps of 1 ms (t = i / 1000 s), levels given sample by sample.
void TestWaveLogic::transitionsOfConstructedRecords_data()
{
    QTest::addColumn<QVector<double>>("lv");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("firstDuration"); // seconds, when count > 0

    // 0 → 100 with 10 % at sample 2 and 90 % at sample 6; back down 90 % at 11, 10 % at 15.
    QTest::newRow("up and down") << QVector<double>{0,   0,   10, 30, 50, 70, 90, 100, 100,
                                                    100, 100, 90, 70, 50, 30, 10, 0}
                                 << 2 << 0.004;
    // The nearer sample of a straddling pair is taken: 10 % lies between 8 and 40, nearer 8.
    QTest::newRow("nearer sample") << QVector<double>{0, 8, 40, 70, 95, 100} << 1 << 0.003;
    // Equal distance: the later sample (12 and 8 around 10 → the 8 wins only when strictly nearer).
    QTest::newRow("tie takes second") << QVector<double>{0, 0, 0, 8, 12, 50, 100, 100} << 1 << 0.002;
    // Lmax = Lmin: both levels equal the value; every pair touches both and gives a 0 s transition.
    QTest::newRow("flat") << QVector<double>(20, 42.0) << 19 << 0.0;
    // After a fall (90 % at sample 2, 10 % at sample 4) a bump that crosses only the start level
    // sets a start point that no end point follows: no further transition. (The range comes from
    // the samples' own extremes, so a record always touches both levels somewhere.)
    QTest::newRow("start level only")
        << QVector<double>{100, 100, 90, 50, 10, 0, 0, 15, 15, 0, 0} << 1 << 0.002;
}

void TestWaveLogic::transitionsOfConstructedRecords()
{
    QFETCH(QVector<double>, lv);
    QFETCH(int, count);
    QFETCH(double, firstDuration);
    QVector<double> t(lv.size());
    for (int i = 0; i < t.size(); ++i)
        t[i] = i / 1000.0;
    const QVector<WaveLogic::Transition> found = WaveLogic::transitions(t, lv, 0.0, 1.0, 10, 90);
    QCOMPARE(found.size(), count);
    if (count > 0)
        QVERIFY2(std::abs(found.first().duration - firstDuration) < 1e-12,
                 qPrintable(QString::number(found.first().duration)));
}

void TestWaveLogic::captureWindowAroundTheEdge_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("screenHz");
    QTest::addColumn<int>("left"); // -1: too few samples
    // A step at sample 1000 under a 60 Hz frame ripple: a frame is 3072 / 60 ≈ 51 samples, so
    // the window spans 5 · 51 samples on either side of the step.
    QTest::newRow("4096 samples") << 4096 << 60.0 << 1000 - 255;
    QTest::newRow("shorter than 11 frames") << 560 << 60.0 << -1;
    QTest::newRow("no screen frequency") << 4096 << 0.0 << -1;
}

void TestWaveLogic::captureWindowAroundTheEdge()
{
    QFETCH(int, n);
    QFETCH(double, screenHz);
    QFETCH(int, left);
    WaveLogic::Waveform w;
    for (int i = 0; i < n; ++i) {
        w.t.append(i / 3072.0);
        w.lv.append((i >= 1000 ? 100.0 : 1.0) * (1.0 + 0.05 * std::sin(2 * M_PI * 60.0 * i / 3072.0)));
    }
    const WaveLogic::CaptureWindow c = WaveLogic::captureWindow(w, screenHz, 1);
    QCOMPARE(c.tooFewSamples, left < 0);
    QCOMPARE(c.indexLeft, left < 0 ? 0 : left);
    QCOMPARE(c.indexRight, left < 0 ? n - 1 : left + 510);
    QCOMPARE(c.axisRight, w.t.at(c.indexRight));
}

QTEST_APPLESS_MAIN(TestWaveLogic)
#include "tst_wavelogic.moc"
