// Colorimetric conversions checked against figures we did not make: the published Planckian
// table rows, Little CMS (cmsTempFromWhitePoint, cmsXYZ2Lab), CIE 15:2004 illuminant values,
// and Planckian chromaticities computed here from the CIE functions independently of the
// production table (360 to 830 nm instead of 380 to 780 nm).
#include "cie1931.h"
#include "ktcolorimetry.h"

#include <lcms2.h>

#include <QtTest>

#include <cmath>
#include <random>

using namespace KtColorimetry;

namespace {

struct Uv
{
    double u;
    double v;
};

// Planckian radiator in CIE 1960 (u, v), by default over the full 360-830 nm range of the
// CIE table.
Uv planckUv(double T, int firstNm = Cie1931::firstNm, int lastNm = Cie1931::lastNm)
{
    constexpr double c2 = 1.4388e-2;
    double X = 0, Y = 0, Z = 0;
    for (int nm = firstNm; nm <= lastNm; ++nm) {
        const Cie1931::Row *r = Cie1931::at(nm);
        const double l = nm * 1e-9;
        const double M = 1.0 / (std::pow(l, 5) * (std::exp(c2 / (l * T)) - 1.0));
        X += r->x * M;
        Y += r->y * M;
        Z += r->z * M;
    }
    const double d = X + 15 * Y + 3 * Z;
    return {4 * X / d, 6 * Y / d};
}

// CCT and Duv by their definition (CIE 15:2004): the nearest point of the Planckian locus in
// CIE 1960 (u, v), found by golden-section search on log T within 10 % of a first guess.
struct Cct
{
    double T;
    double duv;
};

Cct cctByDefinition(const Uv &p, double guess, int firstNm, int lastNm)
{
    auto dist2 = [&](double logT) {
        const Uv q = planckUv(std::exp(logT), firstNm, lastNm);
        return (p.u - q.u) * (p.u - q.u) + (p.v - q.v) * (p.v - q.v);
    };
    const double g = (std::sqrt(5.0) - 1) / 2;
    double a = std::log(guess / 1.1), b = std::log(guess * 1.1);
    double c = b - g * (b - a), d = a + g * (b - a);
    double fc = dist2(c), fd = dist2(d);
    for (int i = 0; i < 50; ++i) {
        if (fc < fd) {
            b = d, d = c, fd = fc;
            c = b - g * (b - a), fc = dist2(c);
        } else {
            a = c, c = d, fc = fd;
            d = a + g * (b - a), fd = dist2(d);
        }
    }
    const double T = std::exp((a + b) / 2);
    const Uv foot = planckUv(T, firstNm, lastNm);
    const double distance = std::hypot(p.u - foot.u, p.v - foot.v);
    return {T, p.v >= foot.v ? distance : -distance};
}

// X, Y, Z with Y = 100 for a CIE 1960 (u, v).
Tristimulus xyzFromUv(const Uv &p)
{
    const double den = 2 * p.u - 8 * p.v + 4;
    const double x = 3 * p.u / den;
    const double y = 2 * p.v / den;
    return {x / y * 100, 100, (1 - x - y) / y * 100};
}

// The point at signed distance duv from the locus at T, along the locus normal that points
// to larger v (positive Duv lies above the locus).
Uv offLocus(double T, double duv)
{
    const Uv p = planckUv(T);
    const Uv lo = planckUv(T * (1 - 1e-4));
    const Uv hi = planckUv(T * (1 + 1e-4));
    double nu = -(hi.v - lo.v);
    double nv = hi.u - lo.u;
    const double len = std::hypot(nu, nv);
    nu /= len;
    nv /= len;
    if (nv < 0) {
        nu = -nu;
        nv = -nv;
    }
    return {p.u + duv * nu, p.v + duv * nv};
}

double littleCmsTcp(const Tristimulus &xyz)
{
    const double sum = xyz.X + xyz.Y + xyz.Z;
    cmsCIExyY white{xyz.X / sum, xyz.Y / sum, xyz.Y};
    double T = 0;
    if (!cmsTempFromWhitePoint(&T, &white))
        return std::nan("");
    return T;
}

} // namespace

class TestColorimetry : public QObject
{
    Q_OBJECT

private slots:
    void planckianTableRows_data();
    void planckianTableRows();
    void tcpAgreesWithLittleCms_data();
    void tcpAgreesWithLittleCms();
    void standardIlluminants_data();
    void standardIlluminants();
    void pointOnTableRow_data();
    void pointOnTableRow();
    void undefinedAndClampedValues();
    void nearestRowSearchIsThePlainScan();
    void pageWrapperTexts_data();
    void pageWrapperTexts();
    void chromaticityHelpers();
    void labAgreesWithLittleCms();
};

void TestColorimetry::planckianTableRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<double>("T");
    QTest::addColumn<double>("u");
    QTest::addColumn<double>("v");
    QTest::addColumn<double>("tolerance");
    // Rows 0 and 302 as the program's table has always held them; rows 1, 100 and 188 from the
    // same rule (REFERENCES: 380-780 nm, 1 nm, c2 = 1.4388e-2 m·K).
    QTest::newRow("0") << 0 << 1000.0 << 0.447962738156346 << 0.354629640002219 << 2e-7;
    QTest::newRow("1") << 1 << 1010.0 << 0.445635157972153 << 0.354830632211123 << 2e-7;
    QTest::newRow("100") << 100 << 1000 * std::pow(1.01, 100) << 0.262282206880749 << 0.351507177110649
                         << 2e-8;
    QTest::newRow("188") << 188 << 1000 * std::pow(1.01, 188) << 0.200482278916152 << 0.310437073604236
                         << 2e-9;
    QTest::newRow("302") << 302 << 20186.2144337891 << 0.183822308196263 << 0.277005329163414 << 2e-9;
}

void TestColorimetry::planckianTableRows()
{
    QFETCH(int, row);
    QFETCH(double, T);
    QFETCH(double, u);
    QFETCH(double, v);
    QFETCH(double, tolerance);
    const PlanckianRow &r = planckianTable()[row];
    QVERIFY2(std::abs(r.T - T) <= 1e-9 * T, qPrintable(QString::number(r.T, 'g', 17)));
    QVERIFY2(std::abs(r.u - u) <= tolerance, qPrintable(QString::number(r.u - u, 'g', 3)));
    QVERIFY2(std::abs(r.v - v) <= tolerance, qPrintable(QString::number(r.v - v, 'g', 3)));
}

void TestColorimetry::tcpAgreesWithLittleCms_data()
{
    QTest::addColumn<double>("T");
    QTest::addColumn<double>("duv");
    for (int T = 1700; T <= 10000; T += 100) {
        // Little CMS 2.14's Robertson table has one wrong entry: between about 2,857 K and
        // 3,333 K it reads up to 27 K low (3000 K gives 2986.5 K). Those points say nothing
        // about us, so they are left out rather than the tolerance widened for all.
        if (T >= 2850 && T <= 3350)
            continue;
        for (double duv : {0.0, -0.01, 0.01})
            QTest::addRow("%d K, Duv %+.2f", T, duv) << double(T) << duv;
    }
}

// Two references for each point P: Little CMS (Robertson's method, an independent program)
// and the definition evaluated here by direct search. The production table sums 380-780 nm,
// which moves the locus slightly against the 360-830 nm one the points are built on (about
// +2 K at 6500 K, +8 K at 10000 K). That offset, the definition's CCT of P over 380-780 nm
// minus the same over 360-830 nm, is computed here and taken off before the comparison with
// Little CMS, so the 0.1 % is spent on the methods and not on the range.
void TestColorimetry::tcpAgreesWithLittleCms()
{
    QFETCH(double, T);
    QFETCH(double, duv);
    const Uv p = offLocus(T, duv);
    const Tristimulus xyz = xyzFromUv(p);
    const double reference = littleCmsTcp(xyz);
    QVERIFY(std::isfinite(reference));
    const Cct full = cctByDefinition(p, T, 360, 830);
    const Cct cut = cctByDefinition(p, T, 380, 780);
    const TcpResult r = calcTcpDuv(xyz.X, xyz.Y, xyz.Z);

    const double adjusted = r.Tcp - (cut.T - full.T);
    QVERIFY2(std::abs(adjusted - reference) <= 1e-3 * reference,
             qPrintable(QStringLiteral("ours %1 K (%2 K without the range offset), Little CMS %3 K")
                            .arg(r.Tcp)
                            .arg(adjusted)
                            .arg(reference)));
    // Against the definition over the table's own range: on the locus the triangular method
    // is within about 0.011 % (see pointOnTableRow); off it, the isotemperature lines fan out
    // and the linear interpolation of T along a 2 % chord errs by up to 0.053 % at
    // |Duv| = 0.01 (2.5 K at 4700 K). Duv is within 1e-5 throughout.
    QVERIFY2(std::abs(r.Tcp - cut.T) <= 7e-4 * T,
             qPrintable(QStringLiteral("%1 vs %2").arg(r.Tcp).arg(cut.T)));
    QVERIFY2(std::abs(r.Duv - cut.duv) <= 1e-5,
             qPrintable(QStringLiteral("Duv %1 vs %2").arg(r.Duv, 0, 'g', 6).arg(cut.duv, 0, 'g', 6)));
    // And the point was built |duv| from the 360-830 nm locus.
    QVERIFY(std::abs(full.duv - duv) < 1e-7);
}

void TestColorimetry::standardIlluminants_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("T");
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<double>("duv");
    // CIE 15:2004: A 2856 K, D65 6504 K with Duv about +0.0032. The 380-780 nm table reads
    // D65 about 2 K high, hence 4 K there.
    QTest::newRow("A") << 0.44757 << 0.40745 << 2856.0 << 1.0 << 0.0;
    QTest::newRow("D65") << 0.31271 << 0.32902 << 6504.0 << 4.0 << 0.0032;
}

void TestColorimetry::standardIlluminants()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, T);
    QFETCH(double, tolerance);
    QFETCH(double, duv);
    const Tristimulus xyz = xyzFromXyLv(x, y, 100);
    const TcpResult r = calcTcpDuv(xyz.X, xyz.Y, xyz.Z);
    QVERIFY2(std::abs(r.Tcp - T) <= tolerance, qPrintable(QString::number(r.Tcp)));
    QVERIFY2(std::abs(r.Duv - duv) <= 1e-4, qPrintable(QString::number(r.Duv)));
    QCOMPARE(r.Lv, 100.0f);
}

void TestColorimetry::pointOnTableRow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<double>("tolerance");
    for (int m : {1, 2, 50, 100, 150, 188, 208})
        QTest::addRow("row %d", m) << m << 1e-4;
    // The method interpolates T linearly along the chord from row m-1 to row m+1. Their steps
    // in (u, v) shrink with temperature, so a point exactly on row m lands past the middle of
    // the chord: +0.005 % from the geometric T steps alone, and from row 209 on the unequal
    // steps add enough to reach 0.0109 %. That is the method, not a fault, hence 0.011 % there.
    for (int m : {209, 250, 300, 301})
        QTest::addRow("row %d", m) << m << 1.1e-4;
}

void TestColorimetry::pointOnTableRow()
{
    QFETCH(int, row);
    QFETCH(double, tolerance);
    const PlanckianRow *rows = planckianTable();
    const PlanckianRow &r = rows[row];
    const Tristimulus xyz = xyzFromUv({r.u, r.v});
    const TcpResult result = calcTcpDuv(xyz.X, xyz.Y, xyz.Z);
    QVERIFY2(std::abs(result.Tcp - r.T) <= tolerance * r.T,
             qPrintable(QStringLiteral("%1 vs %2").arg(result.Tcp).arg(r.T)));
    QVERIFY(!std::isnan(result.Duv)); // the root of a rounding-negative d² - x² must not leak
    // The method measures from the chord between rows m-1 and m+1, and row m lies off that
    // chord by the locus's sagitta (under 1e-5). Single precision resolves d_a - x only to
    // about 1e-10, which blurs a Duv this close to the locus by about 2e-6.
    const PlanckianRow &a = rows[row - 1], &b = rows[row + 1];
    const double sagitta =
        std::abs((b.u - a.u) * (r.v - a.v) - (b.v - a.v) * (r.u - a.u)) / std::hypot(b.u - a.u, b.v - a.v);
    QVERIFY2(sagitta < 1e-5, qPrintable(QString::number(sagitta)));
    QVERIFY2(std::abs(result.Duv) <= sagitta + 2e-6,
             qPrintable(QStringLiteral("%1 vs %2").arg(result.Duv).arg(sagitta)));
}

void TestColorimetry::undefinedAndClampedValues()
{
    const TcpResult zero = calcTcpDuv(0, 0, 0);
    QVERIFY(std::isnan(zero.Tcp));
    QVERIFY(std::isnan(zero.Duv));
    QVERIFY(std::isnan(zero.uPrime));
    QVERIFY(std::isnan(zero.vPrime));
    QCOMPARE(zero.Y, 0.0f);

    // u' = 4X/(X+15Y+3Z) = 4 and v' = 9Y/(X+15Y+3Z) = 3 are both beyond the diagram.
    QCOMPARE(calcTcpDuv(1, 0, 0).uPrime, 0.9999f);
    QCOMPARE(calcTcpDuv(0, 1, -4).vPrime, 0.9999f);
    // Just below the limit stays as it is.
    const Chromaticity uv = uvPrimeFromXyz(0.2, 0.05, 0.0);
    QCOMPARE(calcTcpDuv(0.2, 0.05, 0.0).uPrime, float(uv.x));
    QVERIFY(uv.x < 0.9999);
}

// The production search finds the nearest row from squared distances; the rule is the plain
// scan with strictly-smaller single-precision distances. Both must pick the same row, also
// where float distances tie (points halfway between rows), so this replays the plain rule.
void TestColorimetry::nearestRowSearchIsThePlainScan()
{
    const PlanckianRow *rows = planckianTable();
    auto plainTcp = [&](double X, double Y, double Z) {
        const double d = X + 15 * Y + 3 * Z;
        const double u = 4 * X / d, v = 6 * Y / d;
        auto sq = [](double a) { return a * a; };
        auto dist = [&](int i) { return float(std::sqrt(sq(u - rows[i].u) + sq(v - rows[i].v))); };
        int m = 0;
        float best = dist(0);
        for (int i = 1; i <= 301; ++i) {
            if (dist(i) < best) {
                best = dist(i);
                m = i;
            }
        }
        const int a = m == 0 ? 0 : m - 1, b = m + 1;
        const float l = float(std::sqrt(sq(rows[b].u - rows[a].u) + sq(rows[b].v - rows[a].v)));
        const float da = dist(a), db = dist(b);
        const float x = float((sq(da) - sq(db) + sq(l)) / (2 * l));
        return float(rows[a].T + (rows[b].T - rows[a].T) * double(x) / l);
    };
    std::mt19937 gen(1931);
    std::uniform_real_distribution<double> pick(0.0, 1.0);
    int checked = 0;
    for (int k = 0; k < 20000; ++k) {
        double X, Y, Z;
        if (k % 2 == 0) {
            // Anywhere in a wide box around the locus.
            X = 0.05 + pick(gen);
            Y = 0.05 + pick(gen);
            Z = 0.02 + 1.5 * pick(gen);
        } else {
            // Exactly between two neighbouring rows, where distances tie.
            const int i = 1 + int(pick(gen) * 299);
            const Tristimulus t =
                xyzFromUv({(rows[i].u + rows[i + 1].u) / 2, (rows[i].v + rows[i + 1].v) / 2});
            X = t.X, Y = t.Y, Z = t.Z;
        }
        const float expected = plainTcp(X, Y, Z);
        const float got = calcTcpDuv(X, Y, Z).Tcp;
        if (got != expected)
            QFAIL(qPrintable(
                QStringLiteral("X %1 Y %2 Z %3: %4 vs %5").arg(X).arg(Y).arg(Z).arg(got).arg(expected)));
        ++checked;
    }
    QCOMPARE(checked, 20000);
}

void TestColorimetry::pageWrapperTexts_data()
{
    QTest::addColumn<QString>("X");
    QTest::addColumn<QString>("Y");
    QTest::addColumn<QString>("Z");
    QTest::addColumn<QString>("Tcp");
    QTest::addColumn<QString>("u");
    QTest::addColumn<QString>("v");
    // u' = 4X/(X+15Y+3Z), v' = 9Y/(X+15Y+3Z): with X = Y = Z, u' = 4/19, v' = 9/19.
    QTest::newRow("equal energy") << "50"
                                  << "50"
                                  << "50"
                                  << "" << QString::number(4.0 / 19, 'g', 6)
                                  << QString::number(9.0 / 19, 'g', 6);
    QTest::newRow("zero") << "0"
                          << "0"
                          << "0"
                          << "nan"
                          << "nan"
                          << "nan";
    QTest::newRow("not a number") << "abc"
                                  << "1"
                                  << "1"
                                  << "nan"
                                  << "nan"
                                  << "nan";
    QTest::newRow("clamped") << "1"
                             << "0"
                             << "0"
                             << ""
                             << "0.9999"
                             << "0";
}

void TestColorimetry::pageWrapperTexts()
{
    QFETCH(QString, X);
    QFETCH(QString, Y);
    QFETCH(QString, Z);
    QFETCH(QString, Tcp);
    QFETCH(QString, u);
    QFETCH(QString, v);
    const TcpTexts t = calcTcpDuvTexts(X, Y, Z);
    if (!Tcp.isEmpty())
        QCOMPARE(t.Tcp, Tcp);
    QCOMPARE(t.u, u);
    QCOMPARE(t.v, v);
    // Never more than six significant digits.
    QString digits = t.Tcp;
    digits.remove(QRegularExpression(QStringLiteral("[^0-9]|e.*")));
    QVERIFY2(digits.length() <= 6 || t.Tcp == QLatin1String("nan"), qPrintable(t.Tcp));
}

void TestColorimetry::chromaticityHelpers()
{
    const Tristimulus xyz = xyzFromXyLv(0.3127, 0.3290, 120.0);
    const Chromaticity xy = xyFromXyz(xyz.X, xyz.Y, xyz.Z);
    QVERIFY(std::abs(xy.x - 0.3127) < 1e-15);
    QVERIFY(std::abs(xy.y - 0.3290) < 1e-15);
    QCOMPARE(xyz.Y, 120.0);
    QVERIFY(std::isnan(xyFromXyz(0, 0, 0).x));
    QVERIFY(std::isnan(xyzFromXyLv(0.3, 0.0, 10).X));
    QCOMPARE(formatValue(std::nan("")), QStringLiteral("nan"));
    QCOMPARE(formatValue(6504.123456), QStringLiteral("6504.12"));
    QCOMPARE(formatValue(0.000012345678), QStringLiteral("1.23457e-05"));
}

void TestColorimetry::labAgreesWithLittleCms()
{
    const cmsCIEXYZ white{labReferenceWhite.X / 100, labReferenceWhite.Y / 100, labReferenceWhite.Z / 100};
    std::mt19937 gen(1976);
    std::uniform_real_distribution<double> pick(0.0, 1.2);
    for (int k = 0; k < 200; ++k) {
        // Include the dark end, where the linear part of the formula applies.
        const double scale = k % 4 == 0 ? 0.005 : 1.0;
        const cmsCIEXYZ xyz{pick(gen) * scale, pick(gen) * scale, pick(gen) * scale};
        cmsCIELab ref;
        cmsXYZ2Lab(&white, &ref, &xyz);
        const Lab ours = labFromXyz(xyz.X * 100, xyz.Y * 100, xyz.Z * 100);
        QVERIFY2(std::abs(ours.L - ref.L) < 1e-9 && std::abs(ours.a - ref.a) < 1e-9 &&
                     std::abs(ours.b - ref.b) < 1e-9,
                 qPrintable(QStringLiteral("%1 %2 %3 vs %4 %5 %6")
                                .arg(ours.L)
                                .arg(ours.a)
                                .arg(ours.b)
                                .arg(ref.L)
                                .arg(ref.a)
                                .arg(ref.b)));
    }
    const Lab whiteLab = labFromXyz(labReferenceWhite.X, labReferenceWhite.Y, labReferenceWhite.Z);
    QVERIFY(std::abs(whiteLab.L - 100) < 1e-12 && std::abs(whiteLab.a) < 1e-12 &&
            std::abs(whiteLab.b) < 1e-12);
    QVERIFY(std::isnan(labFromXyz(1, 1, 1, {0, 100, 100}).L));
}

QTEST_APPLESS_MAIN(TestColorimetry)
#include "tst_colorimetry.moc"
