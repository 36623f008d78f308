#pragma once

#include <QString>
#include <QVector>

// The spectrum page's arithmetic and files, without widgets: what a reading of the probe's
// spectral radiance (380 nm upwards in 1 nm steps) means in colour, how it is written as CSV,
// which picture file goes beside the CSV, and the colours of the rainbow bars.
namespace SpectrumLogic {

constexpr int FirstNm = 380;
constexpr int LastNm = 780;
constexpr int MaxValues = LastNm - FirstNm + 1; // 401
// The plot shows the radiance in units of 1e-6 W/(sr·m²·nm), the axis says "Radiance(e-06)".
constexpr double PlotScale = 1e6;
// Maximum luminous efficacy: radiance in W/(sr·m²·nm) summed against ȳ gives cd/m².
constexpr double Km = 683.0;

inline int wavelengthOf(int index)
{
    return FirstNm + index;
}

struct Colour
{
    double X = 0.0, Y = 0.0, Z = 0.0; // Y is the luminance Lv in cd/m²
    double x = 0.0, y = 0.0;          // NaN when X + Y + Z is 0
};

// X = Km·Σ S(λ)·x̄(λ)·1 nm, likewise Y and Z, with the CIE 1931 2° functions of data/, over the
// wavelengths the values cover (value i at 380 + i nm; values beyond 780 nm are ignored).
Colour integrate(const QVector<double> &values);

// One line per value: the wavelength, ",", the value in fixed notation with 10 decimals
// (radiance is of the order of 1e-3, so fewer decimals would cut its digits), "\n".
QByteArray csvText(const QVector<double> &values);

// The picture saved beside a CSV: the CSV's name with its final ".csv" (any case) replaced by
// ".jpg"; a name without that suffix gets ".jpg" appended, so the picture never takes the
// CSV's own name.
QString jpegPathFor(const QString &csvPath);

// Why an export would destroy something, or empty when it may go ahead: an existing CSV
// (or an existing picture of the same base name) is never overwritten.
bool exportTargetsExist(const QString &csvPath);

// The rainbow of the bar display: a horizontal gradient over 380 to 780 nm whose position for
// a wavelength is (λ − 380) / 400, so each bar is filled with the colour at its wavelength.
struct GradientStop
{
    double position;
    int r, g, b;
};
inline constexpr GradientStop RainbowStops[] = {{0.0, 0, 0, 100},    {0.15, 0, 50, 255}, {0.35, 0, 255, 255},
                                                {0.65, 255, 255, 0}, {0.85, 255, 30, 0}, {0.9999, 100, 0, 0},
                                                {1.0, 255, 255, 255}};
inline double rainbowPosition(double nm)
{
    return (nm - FirstNm) / double(LastNm - FirstNm);
}

} // namespace SpectrumLogic
