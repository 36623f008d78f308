#include "ktdominantwave.h"

#include "ktcolorimetry.h"
#include "locuswave.h"

#include <cmath>
#include <limits>

namespace KtDominantWave {

namespace {
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

double toNumber(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? value : notANumber;
}
} // namespace

bool isChromaticity(double x, double y)
{
    return std::isfinite(x) && std::isfinite(y) && x > 0.0 && y > 0.0 && x + y <= 1.0;
}

int dominantWave(double x, double y, double *waveLength, double *purity)
{
    // A dark reading (x = y = 0), an unreadable value or a pair no light can have would
    // still cast a ray from the white point and return a plausible-looking wavelength with a
    // purity above 100 %: it has neither.
    if (!isChromaticity(x, y)) {
        if (waveLength)
            *waveLength = notANumber;
        if (purity)
            *purity = notANumber;
        return -1;
    }
    // The library may leave the outputs alone; callers then see 0, as they always have.
    double wave = 0.0;
    double pe = 0.0;
    const int code = locusDominantWave(x, y, &wave, &pe);
    if (waveLength)
        *waveLength = wave;
    if (purity)
        *purity = pe;
    return code;
}

WaveTexts calcDominantWave(const QString &x, const QString &y)
{
    double wave = 0.0;
    double pe = 0.0;
    dominantWave(toNumber(x), toNumber(y), &wave, &pe);
    return {KtColorimetry::formatValue(wave), KtColorimetry::formatValue(pe * 100.0)};
}

bool setWhitePoint(double x, double y)
{
    return locusSetWhitePoint(x, y) == 0;
}

DerivedTexts deriveFromXyz(double X, double Y, double Z)
{
    using namespace KtColorimetry;
    const Chromaticity xy = xyFromXyz(X, Y, Z);
    const Lab lab = labFromXyz(X, Y, Z);
    const TcpResult tcp = calcTcpDuv(X, Y, Z);
    double wave = notANumber;
    double pe = notANumber;
    if (X >= 0.0 && Y >= 0.0 && Z >= 0.0) // (-1, -1, -1) has the chromaticity of (1, 1, 1)
        dominantWave(xy.x, xy.y, &wave, &pe);
    return {formatValue(xy.x),       formatValue(xy.y),    formatValue(lab.L),     formatValue(lab.a),
            formatValue(lab.b),      formatValue(tcp.Tcp), formatValue(tcp.Duv),   formatValue(tcp.uPrime),
            formatValue(tcp.vPrime), formatValue(wave),    formatValue(pe * 100.0)};
}

} // namespace KtDominantWave
