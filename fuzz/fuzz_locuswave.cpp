// The dominant-wavelength module: any white point and colour, chromaticities near the
// diagram as well as arbitrary doubles (NaN, infinities, huge values).

#include "locuswave.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {
double value(FuzzedDataProvider &in)
{
    if (in.ConsumeBool())
        return in.ConsumeFloatingPointInRange(-0.2, 1.2);
    return in.ConsumeFloatingPoint<double>();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const double wx = value(in), wy = value(in);
    const int set = locusSetWhitePoint(wx, wy);
    if (set != 0 && set != -1)
        __builtin_trap();
    while (in.remaining_bytes() > 0) {
        const double x = value(in), y = value(in);
        double wavelength = 0.0, purity = 0.0;
        const int r = locusDominantWave(x, y, &wavelength, in.ConsumeBool() ? &purity : nullptr);
        // A dominant wavelength lies on the locus (360..700 nm); a complementary one is the
        // same, negated.
        const bool fits = r == 0   ? wavelength >= 360.0 && wavelength <= 700.0
                          : r == 1 ? wavelength >= -700.0 && wavelength <= -360.0
                                   : r == -1;
        if (!fits)
            __builtin_trap();
    }
    return 0;
}
