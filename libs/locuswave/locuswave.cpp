#include "locuswave.h"

#include "cie1931.h"

#include <array>
#include <cmath>
#include <limits>
#include <mutex>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr int pointCount = static_cast<int>(Cie1931::rowCount); // 360..830 nm
// Locus points closer than this along the ray count as one (the red end, see the header).
constexpr double tieDistance = 1e-6;

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
    double t = -1.0;   // ray parameter: the hit is N + t·d, so the purity is 1/t
    double wavelength; // nm; +inf for the purple line
    bool found = false;
};

// Where the ray from (nx, ny) along (dx, dy) leaves the locus: the hit farthest along the
// ray; among hits equally far (within tieDistance) the shortest wavelength. Segment i runs
// from point i to point i+1; segment pointCount-1 is the purple line back to point 0.
Hit castRay(double nx, double ny, double dx, double dy, bool includePurple)
{
    const Locus &l = locus();
    const double length = std::hypot(dx, dy);
    Hit best;
    // Side of each locus point relative to the ray's line; a segment can only meet the line
    // where the side changes (or touches zero).
    double sidePrev = cross(l.x[0] - nx, l.y[0] - ny, dx, dy);
    const double side0 = sidePrev;
    const int segments = includePurple ? pointCount : pointCount - 1;
    for (int i = 0; i < segments; ++i) {
        const int j = i + 1 < pointCount ? i + 1 : 0;
        const double side = j == 0 ? side0 : cross(l.x[j] - nx, l.y[j] - ny, dx, dy);
        const bool straddles = (sidePrev <= 0.0 && side >= 0.0) || (sidePrev >= 0.0 && side <= 0.0);
        if (straddles) {
            const double ex = l.x[j] - l.x[i];
            const double ey = l.y[j] - l.y[i];
            const double denom = cross(dx, dy, ex, ey);
            if (denom != 0.0) {
                const double wx = l.x[i] - nx;
                const double wy = l.y[i] - ny;
                const double t = cross(wx, wy, ex, ey) / denom;
                double s = cross(wx, wy, dx, dy) / denom;
                s = s < 0.0 ? 0.0 : (s > 1.0 ? 1.0 : s);
                if (t > 0.0) {
                    const double wavelength =
                        j == 0 ? std::numeric_limits<double>::infinity() : Cie1931::firstNm + i + s;
                    const double ahead = (t - best.t) * length;
                    if (!best.found || ahead > tieDistance) {
                        best.found = true;
                        best.t = t;
                        best.wavelength = wavelength;
                    } else if (ahead >= -tieDistance) {
                        // Equally far: the shorter wavelength, and the outer point for the
                        // purity.
                        best.t = t > best.t ? t : best.t;
                        best.wavelength = wavelength < best.wavelength ? wavelength : best.wavelength;
                    }
                }
            }
        }
        sidePrev = side;
    }
    return best;
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
    if (n.usable && std::isfinite(dx) && std::isfinite(dy)) {
        if (std::hypot(dx, dy) < 1e-12) {
            outPurity = 0.0; // the white point itself: no hue, no saturation
        } else {
            const Hit hit = castRay(n.x, n.y, dx, dy, true);
            if (hit.found && std::isfinite(hit.wavelength)) {
                outWave = hit.wavelength;
                outPurity = 1.0 / hit.t;
                code = 0;
            } else if (hit.found) {
                // Purple side: purity against the purple line, wavelength from the opposite
                // ray, negative by convention.
                const Hit opposite = castRay(n.x, n.y, -dx, -dy, false);
                if (opposite.found) {
                    outWave = -opposite.wavelength;
                    outPurity = 1.0 / hit.t;
                    code = 1;
                }
            }
        }
    }
    if (wavelength)
        *wavelength = outWave;
    if (purity)
        *purity = outPurity;
    return code;
}
