#include "ktcolorimetry.h"

#include "cie1931.h"

#include <array>
#include <cmath>
#include <limits>

namespace KtColorimetry {

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr float nanF = std::numeric_limits<float>::quiet_NaN();

// Second radiation constant, m·K, as the table the program has always used was made with.
constexpr double c2 = 1.4388e-2;
constexpr int tableFirstNm = 380;
constexpr int tableLastNm = 780;

struct PlanckianTable
{
    std::array<PlanckianRow, planckianRowCount> rows;
};

PlanckianTable makePlanckianTable()
{
    PlanckianTable table;
    for (int i = 0; i < planckianRowCount; ++i) {
        const double T = 1000.0 * std::pow(1.01, i);
        double X = 0.0;
        double Y = 0.0;
        double Z = 0.0;
        for (int nm = tableFirstNm; nm <= tableLastNm; ++nm) {
            const Cie1931::Row *cmf = Cie1931::at(nm);
            const double lambda = nm * 1e-9;
            // c1 and the wavelength step cancel in u and v.
            const double M = 1.0 / (std::pow(lambda, 5) * std::expm1(c2 / (lambda * T)));
            X += cmf->x * M;
            Y += cmf->y * M;
            Z += cmf->z * M;
        }
        const double d = X + 15.0 * Y + 3.0 * Z;
        table.rows[i] = {T, 4.0 * X / d, 6.0 * Y / d};
    }
    return table;
}

const PlanckianTable &table()
{
    static const PlanckianTable t = makePlanckianTable();
    return t;
}

// Nearest row by the rule "start at row 0, take row i (1..301) only when its single-precision
// distance is strictly smaller": that is the lowest row whose float distance equals the
// smallest float distance. The float distance is a non-decreasing function of the double
// squared distance, so the smallest float distance is the float of the smallest squared
// distance; only rows whose squared distance is within one float step of it can tie, and
// only those get a square root. The result is the same m as the plain scan, at a fraction
// of its cost.
int nearestRow(const PlanckianRow *rows, double u, double v)
{
    constexpr int searched = planckianRowCount - 1; // rows 0..301
    double d2[searched];
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < searched; ++i) {
        const double du = u - rows[i].u;
        const double dv = v - rows[i].v;
        d2[i] = du * du + dv * dv;
        best = d2[i] < best ? d2[i] : best;
    }
    const float fBest = static_cast<float>(std::sqrt(best));
    const double next = std::nextafter(fBest, std::numeric_limits<float>::infinity());
    const double limit = next * next * (1.0 + 1e-12);
    for (int i = 0; i < searched; ++i) {
        if (d2[i] <= limit && static_cast<float>(std::sqrt(d2[i])) == fBest)
            return i;
    }
    return 0; // not reached for finite u, v
}

float rowDistance(const PlanckianRow &row, double u, double v)
{
    const double du = u - row.u;
    const double dv = v - row.v;
    return static_cast<float>(std::sqrt(du * du + dv * dv));
}

double sq(float value)
{
    return static_cast<double>(value) * static_cast<double>(value);
}

// The table spans rows 0 to 302. A point exactly on an end row may land a rounding step
// past it, hence the relative slack of 1e-6 (0.02 K at the hot end).
bool withinTable(const PlanckianRow *rows, double T)
{
    constexpr double slack = 1e-6;
    return T >= rows[0].T * (1.0 - slack) && T <= rows[planckianRowCount - 1].T * (1.0 + slack);
}

} // namespace

const PlanckianRow *planckianTable()
{
    return table().rows.data();
}

TcpResult calcTcpDuv(double X, double Y, double Z)
{
    TcpResult r;
    r.Lv = static_cast<float>(Y);
    r.X = static_cast<float>(X);
    r.Y = static_cast<float>(Y);
    r.Z = static_cast<float>(Z);
    r.Tcp = r.Duv = r.deltaU = r.deltaV = r.uPrime = r.vPrime = nanF;

    const double d = X + 15.0 * Y + 3.0 * Z;
    const double u = 4.0 * X / d;
    const double v = 6.0 * Y / d;
    if (!std::isfinite(u) || !std::isfinite(v))
        return r; // X = Y = Z = 0 (0/0), a zero denominator or non-finite input

    double uPrime = 4.0 * X / d;
    double vPrime = 9.0 * Y / d;
    if (uPrime > 0.9999)
        uPrime = 0.9999;
    if (vPrime > 0.9999)
        vPrime = 0.9999;
    r.uPrime = static_cast<float>(uPrime);
    r.vPrime = static_cast<float>(vPrime);

    const bool physical = X >= 0.0 && Y >= 0.0 && Z >= 0.0;
    const PlanckianRow *rows = planckianTable();
    const int m = nearestRow(rows, u, v);
    const PlanckianRow &ra = rows[m == 0 ? 0 : m - 1];
    const PlanckianRow &rb = rows[m + 1];

    const float l =
        static_cast<float>(std::sqrt((rb.u - ra.u) * (rb.u - ra.u) + (rb.v - ra.v) * (rb.v - ra.v)));
    const float db = rowDistance(rb, u, v);
    const float da = rowDistance(ra, u, v);
    const float x = static_cast<float>((sq(da) - sq(db) + sq(l)) / (2.0 * l));
    const double along = static_cast<double>(x) / l;

    // Light has no negative tristimulus value and no colour temperature outside the table:
    // beyond its ends the chord would be extrapolated (a pure X reads -14,278 K, a 100,000 K
    // radiator 34,460 K), so such readings have no Tcp or Duv rather than a made-up one.
    const double tcp = ra.T + (rb.T - ra.T) * along;
    if (!physical || !withinTable(rows, tcp))
        return r;
    r.Tcp = static_cast<float>(tcp);
    const float ux = static_cast<float>(ra.u + (rb.u - ra.u) * along);
    const float vx = static_cast<float>(ra.v + (rb.v - ra.v) * along);
    // On the locus d_a and x agree to rounding, and d_a² - x² can come out a hair below
    // zero; its root would be NaN where the answer is 0.
    const double h2 = sq(da) - sq(x);
    const float duv = static_cast<float>(std::sqrt(h2 > 0.0 ? h2 : 0.0));
    r.Duv = v >= vx ? duv : -duv;
    r.deltaU = static_cast<float>(u - ux);
    r.deltaV = static_cast<float>(v - vx);
    return r;
}

QString formatValue(double value)
{
    return QString::number(value, 'g', 6);
}

namespace {
double toNumber(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? value : notANumber;
}
} // namespace

TcpTexts calcTcpDuvTexts(const QString &X, const QString &Y, const QString &Z)
{
    const TcpResult r = calcTcpDuv(toNumber(X), toNumber(Y), toNumber(Z));
    return {formatValue(r.Tcp), formatValue(r.Duv), formatValue(r.uPrime), formatValue(r.vPrime)};
}

Chromaticity xyFromXyz(double X, double Y, double Z)
{
    const double sum = X + Y + Z;
    if (sum == 0.0)
        return {notANumber, notANumber};
    return {X / sum, Y / sum};
}

Tristimulus xyzFromXyLv(double x, double y, double Lv)
{
    if (y == 0.0)
        return {notANumber, Lv, notANumber};
    return {x * Lv / y, Lv, (1.0 - x - y) * Lv / y};
}

Chromaticity uvPrimeFromXyz(double X, double Y, double Z)
{
    const double d = X + 15.0 * Y + 3.0 * Z;
    if (d == 0.0)
        return {notANumber, notANumber};
    return {4.0 * X / d, 9.0 * Y / d};
}

namespace {
double labF(double t)
{
    constexpr double delta = 6.0 / 29.0;
    if (t > delta * delta * delta)
        return std::cbrt(t);
    return t / (3.0 * delta * delta) + 4.0 / 29.0;
}
} // namespace

Lab labFromXyz(double X, double Y, double Z, const Tristimulus &white)
{
    if (!(white.X > 0.0) || !(white.Y > 0.0) || !(white.Z > 0.0))
        return {notANumber, notANumber, notANumber};
    const double fx = labF(X / white.X);
    const double fy = labF(Y / white.Y);
    const double fz = labF(Z / white.Z);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

} // namespace KtColorimetry
