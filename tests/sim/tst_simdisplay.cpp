// The display model and the probe's readings of it, against arithmetic done here
// independently (colorimetry by hand, an FFT from FFTW, the CIE table summed directly).

#include "cie1931.h"
#include "readers.h"
#include "simcontrol.h"
#include "simprobe.h"

#include <QtTest>

#include <fftw3.h>

#include <cmath>

using Krn4Sim::SimDisplay;
using Krn4Sim::SimProbe;

// Sets up the probe's display through the control channel ("show 1,2,3").
static bool control(SimProbe &probe, const QString &line)
{
    Krn4Sim::SimFaults faults;
    return Krn4Sim::applyControl(line, probe, faults).startsWith("OK");
}

Q_DECLARE_METATYPE(SimDisplay::Modulation)

class TestSimDisplay : public QObject
{
    Q_OBJECT
private slots:
    void flickerFigures_data();
    void flickerFigures();
    void colorsMeasureAsExpected_data();
    void colorsMeasureAsExpected();
    void transitionsFollowTheTimeConstants();
    void syncedWindowCancelsFlicker();
    void noiseOnlyWhenAskedAndSeeded();
};

void TestSimDisplay::flickerFigures_data()
{
    QTest::addColumn<SimDisplay::Modulation>("modulation");
    QTest::addColumn<double>("fma");
    QTest::addColumn<double>("jeitaDb");
    QTest::addColumn<int>("n"); // samples and decimation of the waveform records
    QTest::addColumn<int>("decimation");
    // RMS of the fundamental of amplitude a over the mean: a/√2; weight 1 up to 20 Hz, then
    // 1.4688 − 0.024368·f (about −2.6 dB at 30 Hz, −6.1 dB at 40 Hz).
    auto db = [](double a, double f) {
        const double w = f <= 20 ? 1.0 : 1.4688 - 0.024368 * f;
        return 20.0 * std::log10(w * a / std::sqrt(2.0));
    };
    const auto sine = SimDisplay::Shape::Sine;
    const double pi = 3.14159265358979;
    QTest::newRow("30 Hz 10 %") << SimDisplay::Modulation{30, 0.10, sine, 0.5} << 20.0 << db(0.10, 30) << 4096
                                << 1;
    QTest::newRow("20 Hz 5 %") << SimDisplay::Modulation{20, 0.05, sine, 0.5} << 10.0 << db(0.05, 20) << 1024
                               << 2;
    QTest::newRow("10 Hz 30 %") << SimDisplay::Modulation{10, 0.30, sine, 0.5} << 60.0 << db(0.30, 10) << 4096
                                << 1;
    // A backlight fully off 70 % of the time: pulses of 1/D times the mean, whose
    // fundamental has the amplitude 2·sin(πD)/(πD); its harmonics must not alias into 6..65 Hz.
    const double d = 0.3;
    QTest::newRow("PWM 60 Hz") << SimDisplay::Modulation{60, 1.0, SimDisplay::Shape::Pwm, d} << 200.0
                               << db(2 * std::sin(pi * d) / (pi * d), 60) << 4096 << 1;
    // A square wave of ±a (its duty is always one half): fundamental 4a/π.
    QTest::newRow("square 60 Hz 40 %") << SimDisplay::Modulation{60, 0.4, SimDisplay::Shape::Square, 0.25}
                                       << 80.0 << db(4 * 0.4 / pi, 60) << 1024 << 2;
}

// The flicker figures (FMA, JEITA) and the waveform records (JAA, JWA), whose spectrum by
// FFTW peaks at the modulation frequency.
void TestSimDisplay::flickerFigures()
{
    QFETCH(SimDisplay::Modulation, modulation);
    QFETCH(double, fma);
    QFETCH(double, jeitaDb);
    QFETCH(int, n);
    QFETCH(int, decimation);
    SimProbe probe;
    probe.setClock([] { return 12.345; });
    probe.display().setModulation(modulation);
    QVERIFY(probe.command("MDS,6").startsWith("OK00"));
    const auto f = Readers::measure5(probe.command("MES"));
    QVERIFY2(f && qAbs(f->x - fma) < 0.05, qPrintable(QString::number(f->x)));
    const auto j = Readers::jeita(probe.command("JAD"));
    QVERIFY(j && j->perHz.size() == 60);
    QVERIFY2(qAbs(j->value - jeitaDb) < 0.05, qPrintable(QString("%1 vs %2").arg(j->value).arg(jeitaDb)));
    const int hz = int(modulation.frequencyHz);
    for (int k = 6; k <= 65; ++k)
        QVERIFY2(k == hz ? qAbs(j->perHz[k - 6] - jeitaDb) < 0.05 : j->perHz[k - 6] <= -55.0,
                 qPrintable(QString::number(k)));
    if (hz == 30)
        QVERIFY(qAbs(j->value - (-25.6)) < 0.1); // the published worked value

    const QByteArray args = QByteArray::number(n) + "," + QByteArray::number(decimation);
    const auto v = Readers::jaa(probe.command("JAA," + args));
    const auto xyz = Readers::jwa(probe.command("JWA," + args));
    QVERIFY(v && xyz && int(v->size()) == n && int(xyz->size()) == n);
    for (int i = 0; i < n; ++i) { // the three channels carry the same light, in the white's colour
        const auto &r = (*xyz)[i];
        QVERIFY(qAbs(r[1] - (*v)[i]) <= 1e-5 * (*v)[i] + 1e-9);
        QVERIFY(r[1] == 0 || qAbs(r[0] / (r[0] + r[1] + r[2]) - 0.3127) < 1e-4);
    }
    std::vector<double> in(*v);
    std::vector<fftw_complex> out(n / 2 + 1);
    fftw_plan plan = fftw_plan_dft_r2c_1d(n, in.data(), out.data(), FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    int best = 1;
    for (int k = 1; k <= n / 2; ++k) {
        if (std::hypot(out[k][0], out[k][1]) > std::hypot(out[best][0], out[best][1]))
            best = k;
    }
    const double binHz = 3072.0 / decimation / n;
    QVERIFY2(qAbs(best * binHz - hz) <= binHz / 2, qPrintable(QString::number(best * binHz)));
    // The mean stays the colour's luminance whatever the shape.
    QVERIFY(qAbs(out[0][0] / n - 200.0) < 200.0 * 0.01);
}

void TestSimDisplay::colorsMeasureAsExpected_data()
{
    QTest::addColumn<QString>("primaries");
    QTest::addColumn<QByteArray>("rgb");
    QTest::addColumn<double>("x"); // NaN: not worked out by hand, only the spectrum is checked
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("lv");
    const double nan = std::nan(""), wx = 0.3127, wy = 0.3290;
    // sRGB (IEC 61966-2-1) primaries and D65 white; luminances from the normalised primary
    // matrix: 0.2126, 0.7152, 0.0722 of white.
    QTest::newRow("white") << "" << QByteArray("255,255,255") << wx << wy << 200.0;
    QTest::newRow("red") << "" << QByteArray("255,0,0") << 0.64 << 0.33 << 200.0 * 0.212639;
    QTest::newRow("green") << "" << QByteArray("0,255,0") << 0.30 << 0.60 << 200.0 * 0.715169;
    QTest::newRow("blue") << "" << QByteArray("0,0,255") << 0.15 << 0.06 << 200.0 * 0.072192;
    // No light: the white point's chromaticity with zero luminance, never 0/0 for a reader.
    QTest::newRow("black") << "" << QByteArray("0,0,0") << wx << wy << 0.0;
    // The tone curve: Y = 200·(g/255)^2.2.
    for (int g : {1, 16, 64, 128, 200, 254})
        QTest::addRow("gray %d", g) << "" << QString("%1,%1,%1").arg(g).toLatin1() << wx << wy
                                    << 200.0 * std::pow(g / 255.0, 2.2);
    QTest::newRow("sRGB 200,100,50") << "" << QByteArray("200,100,50") << nan << nan << nan;
    for (const char *rgb : {"255,255,255", "255,0,0", "0,255,0", "0,0,255", "200,100,50", "30,30,30"})
        QTest::addRow("BT.2020 %s", rgb)
            << "0.708,0.292,0.170,0.797,0.131,0.046" << QByteArray(rgb) << nan << nan << nan;
}

// The reading against the colour worked out by hand, and the spectrum (RSD) summed with the
// CIE functions against the XYZ reading.
void TestSimDisplay::colorsMeasureAsExpected()
{
    QFETCH(QString, primaries);
    QFETCH(QByteArray, rgb);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, lv);
    SimProbe probe;
    QVERIFY(primaries.isEmpty() || control(probe, "display primaries " + primaries));
    QVERIFY(control(probe, "show " + rgb));
    const auto xyz = Readers::xyz(probe.command("XYZ"));
    const auto spectrum = Readers::rsd(probe.command("RSD"));
    QVERIFY(xyz && spectrum);
    if (!std::isnan(x)) {
        const auto base = Readers::base(probe.command("MES"));
        QVERIFY(base && qAbs(base->x - x) <= 0.0005 && qAbs(base->y - y) <= 0.0005);
        QVERIFY2(qAbs(base->lv - lv) <= 0.005 * lv + 1e-4, qPrintable(QString::number(base->lv)));
        QVERIFY2(qAbs((*xyz)[1] - lv) <= 1e-4 * lv + 1e-6, qPrintable(QString::number((*xyz)[1])));
    }
    QCOMPARE(int(spectrum->size()), 401);
    double sum[3] = {0, 0, 0};
    for (int i = 0; i < 401; ++i) {
        QVERIFY((*spectrum)[i] >= 0.0);
        const Cie1931::Row *row = Cie1931::at(380 + i);
        sum[0] += 683.0 * (*spectrum)[i] * row->x; // lm/W; 1 nm steps
        sum[1] += 683.0 * (*spectrum)[i] * row->y;
        sum[2] += 683.0 * (*spectrum)[i] * row->z;
    }
    // 1 % of each value; a value near zero (Z of a BT.2020 red) within 0.1 % of the sum.
    const double floor = 0.001 * ((*xyz)[0] + (*xyz)[1] + (*xyz)[2]) + 1e-4;
    for (int k = 0; k < 3; ++k)
        QVERIFY2(qAbs(sum[k] - (*xyz)[k]) <= 0.01 * (*xyz)[k] + floor,
                 qPrintable(QString("%1: %2 vs %3").arg("XYZ"[k]).arg(sum[k]).arg((*xyz)[k])));
}

// Time (s) where a record sampled at 3072 S/s first crosses `level` from sample `from` on,
// interpolated between samples (each sample stands for the middle of its interval).
static double crossing(const std::vector<double> &v, int from, double level, bool rising)
{
    for (int i = from; i + 1 < int(v.size()); ++i) {
        const double a = v[i], b = v[i + 1];
        if (rising ? (a < level && b >= level) : (a > level && b <= level))
            return (i + (level - a) / (b - a) + 0.5) / 3072.0;
    }
    return -1.0;
}

// A 10 % to 90 % step takes τ·ln 9 (8.79 ms for 4 ms): first a programmed transition starting
// at t = 100 ms, then the recorded screen history, rising with 4 ms and falling with 8 ms.
void TestSimDisplay::transitionsFollowTheTimeConstants()
{
    SimProbe probe;
    double now = 0.0;
    probe.setClock([&now] { return now; });
    probe.display().setTransition({true, {{0, 0, 0}}, {{255, 255, 255}}, 100.0, 4.0, 8.0});
    const auto t = Readers::jaa(probe.command("JAA,1024,1"));
    QVERIFY(t);
    const double riseMs = (crossing(*t, 300, 180.0, true) - crossing(*t, 300, 20.0, true)) * 1000.0;
    QVERIFY2(qAbs(riseMs - 4.0 * std::log(9.0)) < 0.4, qPrintable(QString::number(riseMs)));

    probe.display().setTransition({});
    probe.display().setResponse(4.0, 8.0);
    probe.recordColor(0.0, 0, 0, 0);
    probe.recordColor(0.2, 255, 255, 255);
    probe.recordColor(0.6, 0, 0, 0);
    now = 1.0;
    // The record is the last second before the request: [0, 1] s, 3072 samples.
    const auto v = Readers::jaa(probe.command("JAA,3072,1"));
    QVERIFY(v && v->size() == 3072);
    const double rise = crossing(*v, 0, 180.0, true) - crossing(*v, 0, 20.0, true);
    const double fall = crossing(*v, 1800, 20.0, false) - crossing(*v, 1800, 180.0, false);
    QVERIFY2(qAbs(rise * 1000 - 4.0 * std::log(9.0)) < 0.4, qPrintable(QString::number(rise * 1000)));
    QVERIFY2(qAbs(fall * 1000 - 8.0 * std::log(9.0)) < 0.4, qPrintable(QString::number(fall * 1000)));
    QVERIFY(qAbs(crossing(*v, 0, 100.0, true) - 0.2) < 0.01); // the step is where it was recorded
    // Without a history the record is the steady colour (the last one recorded here).
    probe.clearHistory();
    const auto steady = Readers::jaa(probe.command("JAA,64,1"));
    QVERIFY(steady && *std::max_element(steady->begin(), steady->end()) == 0.0);
}

void TestSimDisplay::syncedWindowCancelsFlicker()
{
    // A window of whole flicker periods reads the same at any phase; a mismatched one does not.
    auto spread = [](double syncHz) {
        SimProbe probe;
        probe.display().setModulation({60.0, 0.3, SimDisplay::Shape::Sine, 0.5});
        probe.command("FSC,1");
        probe.command(QByteArray("SCS,4,") + QByteArray::number(syncHz));
        double lo = 1e9, hi = -1e9;
        for (int i = 0; i < 20; ++i) {
            probe.setClock([i] { return 0.0013 * i; });
            const auto v = Readers::measure5(probe.command("MES,1"));
            lo = std::min(lo, v->lv);
            hi = std::max(hi, v->lv);
        }
        return hi - lo;
    };
    QVERIFY(spread(60.0) < 1e-3);
    QVERIFY(spread(63.0) > 0.5);
}

void TestSimDisplay::noiseOnlyWhenAskedAndSeeded()
{
    SimProbe quiet, a, b, c;
    QCOMPARE(quiet.command("MES,1"), quiet.command("MES,1"));
    a.setNoise(0.002, 42);
    b.setNoise(0.002, 42);
    c.setNoise(0.002, 43);
    double sum = 0, sum2 = 0;
    bool differs = false;
    for (int i = 0; i < 200; ++i) {
        const QByteArray r = a.command("MES,1");
        QCOMPARE(b.command("MES,1"), r); // the same seed gives the same readings
        differs = differs || c.command("MES,1") != r;
        const double lv = Readers::measure5(r)->lv;
        sum += lv / 200, sum2 += lv * lv / 200;
    }
    QVERIFY(differs);
    const double sd = std::sqrt(sum2 - sum * sum);
    QVERIFY2(sd > 0.1 && sd < 0.8, qPrintable(QString::number(sd))); // about 0.2 % of 200 cd/m²
}

QTEST_GUILESS_MAIN(TestSimDisplay)
#include "tst_simdisplay.moc"
