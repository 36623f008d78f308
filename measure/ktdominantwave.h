#pragma once

#include <QString>

// The pages' wrapper around the dominant-wavelength library (libs/locuswave). The library
// keeps one white point for the whole process: the Measure tab sets it from the settings
// ("WhitePoint_DominantWave"); other pages use whatever was set last (0.3333, 0.3333 before
// the first call).
namespace KtDominantWave {

struct WaveTexts
{
    QString waveLength; // dominant wavelength, nm, 'g' 6 ("nan" when undefined; negative on
                        // the purple side: the complementary wavelength)
    QString purity;     // excitation purity in percent (fraction × 100), 'g' 6
};

// Whether (x, y) can be the CIE 1931 chromaticity of some light: finite, x > 0, y > 0 and
// x + y <= 1. A dark reading (0, 0) is not.
bool isChromaticity(double x, double y);

// x, y as decimal text (CIE 1931). Text that is not a number, or a pair that is not a
// chromaticity, gives "nan" in both fields (the tables show "--").
WaveTexts calcDominantWave(const QString &x, const QString &y);

// The same on numbers: *waveLength in nm, *purity as a fraction (1.0 = 100 %). Both are
// NaN (code -1) when (x, y) is not a chromaticity, without asking the library; otherwise
// 0.0 if the library leaves them untouched. Returns the library's code (0 dominant,
// 1 complementary, -1 undefined).
int dominantWave(double x, double y, double *waveLength, double *purity);

// Passes the white point to the library. Returns false when the library cannot use it
// (not strictly inside the spectrum locus); results are then NaN until a usable one is set.
bool setWhitePoint(double x, double y);

// The derived fields 4, 5 and 7 to 15 of a measurement record from X, Y, Z, each formatted
// with KtColorimetry::formatValue: x, y, L*, a*, b* (KtColorimetry::labReferenceWhite),
// Tcp, Duv, u', v', dominant wavelength, purity (%). A negative X, Y or Z gives "nan" for the
// wavelength and purity.
struct DerivedTexts
{
    QString x;
    QString y;
    QString L;
    QString a;
    QString b;
    QString Tcp;
    QString Duv;
    QString u;
    QString v;
    QString waveLength;
    QString purity;
};
DerivedTexts deriveFromXyz(double X, double Y, double Z);

} // namespace KtDominantWave
