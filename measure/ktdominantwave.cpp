#include "ktdominantwave.h"

#include "ktcolorimetry.h"
#include "locuswave.h"

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

int dominantWave(double x, double y, double *waveLength, double *purity)
{
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
    double wave = 0.0;
    double pe = 0.0;
    dominantWave(xy.x, xy.y, &wave, &pe);
    return {formatValue(xy.x),       formatValue(xy.y),    formatValue(lab.L),     formatValue(lab.a),
            formatValue(lab.b),      formatValue(tcp.Tcp), formatValue(tcp.Duv),   formatValue(tcp.uPrime),
            formatValue(tcp.vPrime), formatValue(wave),    formatValue(pe * 100.0)};
}

} // namespace KtDominantWave
