#include "simflicker.h"

#include <algorithm>
#include <cmath>

namespace Krn4Sim::SimFlicker {

namespace {
constexpr double kPi = 3.14159265358979323846;

double toDb(double ratio)
{
    if (!(ratio > 0.0) || !std::isfinite(ratio))
        return kJeitaFloorDb;
    return std::max(kJeitaFloorDb, 20.0 * std::log10(ratio));
}
} // namespace

double fma(const std::vector<double> &samples)
{
    if (samples.empty())
        return 0.0;
    const auto [lo, hi] = std::minmax_element(samples.begin(), samples.end());
    const double mean = (*hi + *lo) / 2.0;
    if (!(mean > 0.0))
        return 0.0;
    return (*hi - *lo) / mean * 100.0;
}

double jeitaWeight(double hz)
{
    if (hz <= 20.0)
        return 1.0;
    return std::max(0.0, 1.4688 - 0.024368 * hz);
}

Jeita jeita(const std::vector<double> &samples, int sampleRate)
{
    Jeita result;
    result.perHz.assign(kJeitaLastHz - kJeitaFirstHz + 1, kJeitaFloorDb);
    const int n = int(samples.size());
    if (n == 0 || sampleRate <= 0)
        return result;
    double dc = 0.0;
    for (double v : samples)
        dc += v;
    dc /= n;
    if (!(dc > 0.0))
        return result;
    const double binHz = double(sampleRate) / n;
    // Only 65 lines are needed: a direct DFT per line with a rotating phasor is cheaper than
    // a full transform and works for any record length.
    for (int k = 1; k * binHz <= kJeitaLastHz + 1e-9 && k < n; ++k) {
        const double w = -2.0 * kPi * k / n;
        double re = 0.0, im = 0.0;
        double c = 1.0, s = 0.0;
        const double cw = std::cos(w), sw = std::sin(w);
        for (int i = 0; i < n; ++i) {
            re += samples[i] * c;
            im += samples[i] * s;
            const double nc = c * cw - s * sw;
            s = c * sw + s * cw;
            c = nc;
            if ((i & 1023) == 1023) { // renormalise the phasor against drift
                const double a = w * (i + 1);
                c = std::cos(a);
                s = std::sin(a);
            }
        }
        const double hz = k * binHz;
        const double rms = std::sqrt(2.0) * std::hypot(re, im) / n;
        const double db = toDb(jeitaWeight(hz) * rms / dc);
        result.valueDb = std::max(result.valueDb, db);
        const double whole = std::round(hz);
        if (std::abs(hz - whole) < 1e-9 && whole >= kJeitaFirstHz && whole <= kJeitaLastHz)
            result.perHz[int(whole) - kJeitaFirstHz] = db;
    }
    return result;
}

} // namespace Krn4Sim::SimFlicker
