#pragma once

// Locuswave: dominant wavelength and excitation purity on the CIE 1931 (x, y) diagram.
//
// Method (CIE 15:2004, section 9.1): a ray is cast from the white point N through the
// colour C. Where it leaves the spectrum locus at D, the dominant wavelength is D's
// wavelength and the excitation purity is |NC| / |ND|.
//
// The spectrum locus is computed once from the CIE 1931 2° colour-matching functions at
// 1 nm (CIE 018:2019) and joined by straight segments; the wavelength of D is interpolated
// linearly along the segment it falls on. The locus runs from 360 nm to 700 nm: from 699 nm
// to 830 nm the tabulated chromaticity stays at (0.73469, 0.26531) to within 2e-7, so those
// wavelengths cannot be told apart and the red end is reported as 700 nm. The purple line
// is the straight segment from the 700 nm point (the same point as 830 nm) to 360 nm.
//
// Choices made here (all results are doubles; inputs are CIE 1931 chromaticities):
// - Purple side: when the ray meets the purple line, there is no dominant wavelength. The
//   complementary wavelength (where the opposite ray from N meets the locus) is returned as
//   a NEGATIVE number, and the purity is |NC| / |NP| with P the point on the purple line.
// - Purity is not clamped: a colour just outside the locus (BT.2020 primaries, for example)
//   reads slightly above 1.
// - Only a chromaticity that some colour can have is measured: x >= 0, y >= 0, x + y <= 1
//   (non-negative tristimulus values). Anything else, however finite (a reading gone wrong,
//   a number far out), reads wavelength and purity NaN with code -1, never an infinite or
//   meaningless purity.
// - A boundary point within 1e-7 (in x, y) of the 700 nm point reads 700 nm, and within
//   1e-7 of the 360 nm point 360 nm, whether the ray meets the last spectral segment or the
//   end of the purple line there (the 699 nm sample lies 4e-8 from the 700 nm one). Where
//   other locus points lie equally far along the ray (within 1e-7), the longer wavelength
//   is reported; the purple line is taken only when it lies farther out than the spectral
//   locus by more than that.
// - The colour at the white point itself (within 1e-12): wavelength NaN, purity 0.
// - Non-finite input, or a white point that is not strictly inside the locus: wavelength
//   and purity NaN. A result that would not be finite is reported the same way.
// - Before the first locusSetWhitePoint call the white point is (0.3333, 0.3333), the
//   program's settings default.
//
// Thread safety: both functions may be called from any thread at any time. The white
// point is one shared value for the whole process, guarded by a mutex, so a call of
// locusDominantWave always sees a complete (x, y) pair: the one set before it or the one
// set after it, never half of each.

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#if defined(LOCUSWAVE_BUILDING)
#define LOCUSWAVE_EXPORT __declspec(dllexport)
#else
#define LOCUSWAVE_EXPORT __declspec(dllimport)
#endif
#else
#define LOCUSWAVE_EXPORT __attribute__((visibility("default")))
#endif

// Stores the white point (x, y) for every later locusDominantWave call in the process.
// Returns 0 when the point lies strictly inside the spectrum locus, -1 otherwise (NaN,
// infinite, or outside the locus). A rejected point is still stored, so that later
// results read NaN instead of silently using an older white point.
LOCUSWAVE_EXPORT int locusSetWhitePoint(double x, double y);

// Dominant wavelength (nanometres) and excitation purity (fraction, 1.0 = 100 %) of the
// colour (x, y) against the stored white point. A null output pointer is skipped.
// Returns 0 for a dominant wavelength, 1 for a complementary wavelength (purple side,
// negative wavelength), -1 when the result is undefined (see the choices above).
LOCUSWAVE_EXPORT int locusDominantWave(double x, double y, double *wavelength, double *purity);

#ifdef __cplusplus
}
#endif
