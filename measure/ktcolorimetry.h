#pragma once

#include <QString>

// Colorimetric conversions shared by the pages that receive X, Y, Z or x, y, Lv from the
// probe. Plain functions, no widgets; every function is safe to call from any thread.
//
// Conventions: CIE 1931 2° observer; Y is the luminance Lv in cd/m². A value that cannot be
// computed is NaN, and formatValue() turns NaN into the text "nan" (pages show "--").
namespace KtColorimetry {

// ---- Correlated colour temperature -------------------------------------------------------

// One row of the Planckian table: temperature (K) and CIE 1960 UCS (u, v) of a Planckian
// radiator at that temperature.
struct PlanckianRow
{
    double T;
    double u;
    double v;
};

constexpr int planckianRowCount = 303;

// Row i has T = 1000 × 1.01^i K (1000 K … 20186.2 K). The chromaticities are computed on
// first use from the CIE 1931 2° colour-matching functions summed over 380 to 780 nm at
// 1 nm with Planck's law (c2 = 1.4388e-2 m·K); the figures the program has always shown
// were made that way, so the range stays although the tables reach 360 to 830 nm (the cut
// raises a CCT by about 2 K at 6500 K). Initialisation is thread-safe.
const PlanckianRow *planckianTable();

// The result of one conversion, single precision, in this order.
struct TcpResult
{
    float Tcp;    // correlated colour temperature, K
    float Duv;    // signed distance from the Planckian locus in CIE 1960 (u, v); + above it
    float Lv;     // Y, cd/m²
    float deltaU; // u - u of the locus foot point (CIE 1960)
    float deltaV; // v - v of the locus foot point
    float uPrime; // CIE 1976 u', at most 0.9999
    float vPrime; // CIE 1976 v', at most 0.9999
    float X;
    float Y;
    float Z;
};

// Tcp by the triangular method on the Planckian table: nearest row m (0..301; on equal
// single-precision distances the lower row), its neighbours a = max(m-1, 0) and b = m+1, and
// the foot of the perpendicular on the chord a-b. Distances and results are single
// precision, squares and roots double. X = Y = Z = 0 (or any non-finite input) gives NaN
// in Tcp, Duv, deltaU, deltaV, uPrime and vPrime. A negative X, Y or Z (no light has one), or
// a Tcp outside the table's 1000 K to 20186 K, gives NaN in Tcp, Duv, deltaU and deltaV
// rather than an extrapolation; u' and v' are still reported. u' and v' above 0.9999 read
// 0.9999.
TcpResult calcTcpDuv(double X, double Y, double Z);

// The page form: X, Y, Z as decimal text in, Tcp, Duv, u', v' as text out (formatValue).
// Text that is not a number counts as NaN.
struct TcpTexts
{
    QString Tcp;
    QString Duv;
    QString u;
    QString v;
};
TcpTexts calcTcpDuvTexts(const QString &X, const QString &Y, const QString &Z);

// ---- Small helpers -------------------------------------------------------------------------

// The program's number format: general, 6 significant digits (QString::number(v, 'g', 6));
// NaN gives "nan", infinities "inf" / "-inf".
QString formatValue(double value);

struct Chromaticity
{
    double x;
    double y;
};

struct Tristimulus
{
    double X;
    double Y;
    double Z;
};

// x = X/(X+Y+Z), y = Y/(X+Y+Z); both NaN when the sum is 0.
Chromaticity xyFromXyz(double X, double Y, double Z);

// X = x·Lv/y, Y = Lv, Z = (1-x-y)·Lv/y; X and Z are NaN when y is 0.
Tristimulus xyzFromXyLv(double x, double y, double Lv);

// CIE 1976 u' = 4X/(X+15Y+3Z), v' = 9Y/(X+15Y+3Z), unclamped; NaN when the sum is 0.
Chromaticity uvPrimeFromXyz(double X, double Y, double Z);

struct Lab
{
    double L;
    double a;
    double b;
};

// Reference white of L*a*b* unless the caller passes another: the program's stored default
// (settings group "WhiteXYZ_100": X 95.017, Y 100, Z 108.813), a D65-like white normalised
// to Y = 100. With probe readings in cd/m² this makes L* relative to 100 cd/m².
constexpr Tristimulus labReferenceWhite{95.017, 100.0, 108.813};

// CIE 1976 L*a*b* (CIE 15:2004, with the linear part below (6/29)³). NaN when the white has
// a component that is not positive.
Lab labFromXyz(double X, double Y, double Z, const Tristimulus &white = labReferenceWhite);

} // namespace KtColorimetry
