#include "locuswave.h"

#include "cie1931.h"

#include <array>
#include <cmath>
#include <limits>
#include <mutex>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
// The locus from 360 nm up to 700 nm. From 699 nm on the tabulated chromaticity stays the
// same point to within 2e-7 all the way to 830 nm, so longer wavelengths add no geometry and
// could not be told apart; 700 nm is where the purple line starts.
constexpr int firstNm = Cie1931::firstNm;
constexpr int lastNm = 700;
constexpr int pointCount = lastNm - firstNm + 1;
// Locus points closer than this along the ray count as one: 699 and 700 nm lie 4e-8 apart.
constexpr double tieDistance = 1e-7;

struct Locus
{
    std::array<double, pointCount> x;
    std::array<double, pointCount> y;
};

Locus makeLocus()
{
    Locus locus;
    const Cie1931::Row *rows = Cie1931::rows();
    for (int i = 0; i < pointCount; ++i) {
        const double sum = rows[i].x + rows[i].y + rows[i].z;
        locus.x[i] = rows[i].x / sum;
        locus.y[i] = rows[i].y / sum;
    }
    return locus;
}

const Locus &locus()
{
    static const Locus l = makeLocus();
    return l;
}

struct WhitePoint
{
    double x = 0.3333;
    double y = 0.3333;
    bool usable = true;
};

std::mutex whiteMutex;
WhitePoint white;

WhitePoint currentWhite()
{
    std::lock_guard<std::mutex> lock(whiteMutex);
    return white;
}

// Even-odd test against the closed locus (the last point joins the first: the purple line).
bool insideLocus(double px, double py)
{
    const Locus &l = locus();
    bool inside = false;
    for (int i = 0, j = pointCount - 1; i < pointCount; j = i++) {
        if ((l.y[i] > py) != (l.y[j] > py)) {
            const double xCross = l.x[j] + (py - l.y[j]) * (l.x[i] - l.x[j]) / (l.y[i] - l.y[j]);
            if (px < xCross)
                inside = !inside;
        }
    }
    return inside;
}

double cross(double ax, double ay, double bx, double by)
{
    return ax * by - ay * bx;
}

struct Hit
{
    double t = -1.0; // ray parameter: the hit is N + t·d, so the purity is 1/t
    double wavelength = 0.0;
    bool found = false;
};

// The wavelength of a locus end when (px, py) lies within tieDistance of it, else NaN. The
// red end matters most: 699 nm to 830 nm all sit there, and a ray toward it may meet the last
// spectral segment a hair before its end, or the purple line a hair after its start, as
// rounding goes. Either way the colour is the red end: 700 nm.
double endWavelength(double px, double py)
{
    const Locus &l = locus();
    if (std::hypot(px - l.x[pointCount - 1], py - l.y[pointCount - 1]) <= tieDistance)
        return lastNm;
    if (std::hypot(px - l.x[0], py - l.y[0]) <= tieDistance)
        return firstNm;
    return notANumber;
}

// Where the ray from (nx, ny) along (dx, dy) meets the straight line through (ax, ay) and
// (bx, by): t along the ray, s along the segment (0 at a, 1 at b). False when parallel.
bool intersect(double nx, double ny, double dx, double dy, double ax, double ay, double bx, double by,
               double *t, double *s)
{
    const double ex = bx - ax;
    const double ey = by - ay;
    const double denom = cross(dx, dy, ex, ey);
    if (denom == 0.0)
        return false;
    *t = cross(ax - nx, ay - ny, ex, ey) / denom;
    *s = cross(ax - nx, ay - ny, dx, dy) / denom;
    return true;
}

// Where the ray from (nx, ny) along (dx, dy) leaves the spectral part of the locus: the hit
// farthest along the ray; among hits equally far (within tieDistance) the longer wavelength.
Hit castRay(double nx, double ny, double dx, double dy)
{
    const Locus &l = locus();
    const double length = std::hypot(dx, dy);
    Hit best;
    // A segment can only meet the ray's line where its end points lie on different sides of
    // it (or touch it).
    double sidePrev = cross(l.x[0] - nx, l.y[0] - ny, dx, dy);
    for (int i = 0; i + 1 < pointCount; ++i) {
        const double side = cross(l.x[i + 1] - nx, l.y[i + 1] - ny, dx, dy);
        const bool straddles = (sidePrev <= 0.0 && side >= 0.0) || (sidePrev >= 0.0 && side <= 0.0);
        sidePrev = side;
        double t = 0.0;
        double s = 0.0;
        if (!straddles || !intersect(nx, ny, dx, dy, l.x[i], l.y[i], l.x[i + 1], l.y[i + 1], &t, &s) ||
            !(t > 0.0))
            continue;
        s = s < 0.0 ? 0.0 : (s > 1.0 ? 1.0 : s);
        const double wavelength = firstNm + i + s;
        const double ahead = (t - best.t) * length;
        if (!best.found || ahead > tieDistance) {
            best.found = true;
            best.t = t;
            best.wavelength = wavelength;
        } else if (ahead >= -tieDistance) {
            best.t = t > best.t ? t : best.t;
            best.wavelength = wavelength > best.wavelength ? wavelength : best.wavelength;
        }
    }
    if (best.found) {
        const double end = endWavelength(nx + best.t * dx, ny + best.t * dy);
        if (!std::isnan(end))
            best.wavelength = end;
    }
    return best;
}

// The ray against the purple line (red end to 360 nm).
Hit castPurple(double nx, double ny, double dx, double dy)
{
    const Locus &l = locus();
    Hit hit;
    double t = 0.0;
    double s = 0.0;
    if (intersect(nx, ny, dx, dy, l.x[pointCount - 1], l.y[pointCount - 1], l.x[0], l.y[0], &t, &s) &&
        t > 0.0 && s >= 0.0 && s <= 1.0) {
        hit.found = true;
        hit.t = t;
        // Infinity marks the purple line; a hit at one of its ends is a spectral colour.
        const double end = endWavelength(nx + t * dx, ny + t * dy);
        hit.wavelength = std::isnan(end) ? std::numeric_limits<double>::infinity() : end;
    }
    return hit;
}

// A chromaticity that some colour can have: non-negative tristimulus values give x >= 0,
// y >= 0 and x + y <= 1. Anything beyond (a reading gone wrong, a number far out) has no
// meaningful dominant wavelength, and far enough out the purity would overflow.
bool isChromaticity(double x, double y)
{
    return std::isfinite(x) && std::isfinite(y) && x >= 0.0 && y >= 0.0 && x + y <= 1.0 + 1e-9;
}

} // namespace

extern "C" int locusSetWhitePoint(double x, double y)
{
    const bool usable = std::isfinite(x) && std::isfinite(y) && insideLocus(x, y);
    std::lock_guard<std::mutex> lock(whiteMutex);
    white.x = x;
    white.y = y;
    white.usable = usable;
    return usable ? 0 : -1;
}

extern "C" int locusDominantWave(double x, double y, double *wavelength, double *purity)
{
    double outWave = notANumber;
    double outPurity = notANumber;
    int code = -1;
    const WhitePoint n = currentWhite();
    const double dx = x - n.x;
    const double dy = y - n.y;
    if (n.usable && isChromaticity(x, y)) {
        if (std::hypot(dx, dy) < 1e-12) {
            outPurity = 0.0; // the white point itself: no hue, no saturation
        } else {
            const Hit spectral = castRay(n.x, n.y, dx, dy);
            const Hit purple = castPurple(n.x, n.y, dx, dy);
            const double length = std::hypot(dx, dy);
            const bool purpleBeyond =
                purple.found && (!spectral.found || (purple.t - spectral.t) * length > tieDistance);
            if (purpleBeyond && std::isfinite(purple.wavelength)) {
                outWave = purple.wavelength;
                outPurity = 1.0 / purple.t;
                code = 0;
            } else if (!purpleBeyond && spectral.found) {
                outWave = spectral.wavelength;
                outPurity = 1.0 / spectral.t;
                code = 0;
            } else if (purple.found) {
                // Purple side: purity against the purple line, wavelength from the opposite
                // ray, negative by convention.
                const Hit opposite = castRay(n.x, n.y, -dx, -dy);
                if (opposite.found) {
                    outWave = -opposite.wavelength;
                    outPurity = 1.0 / purple.t;
                    code = 1;
                }
            }
        }
    }
    // Nothing that is not a number makes it out with a success code.
    if (code != -1 && !(std::isfinite(outWave) && std::isfinite(outPurity))) {
        outWave = notANumber;
        outPurity = notANumber;
        code = -1;
    }
    if (wavelength)
        *wavelength = outWave;
    if (purity)
        *purity = outPurity;
    return code;
}
