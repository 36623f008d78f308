#pragma once

// Tricorr: the colour-correction matrix of a tristimulus colorimeter from reference and
// measured readings of a display's red, green, blue and white.
//
// Method: the four-colour matrix method of Y. Ohno and J. E. Hardis, "Four-Color Matrix
// Method for Correction of Tristimulus Colorimeters", Proc. IS&T 5th Color Imaging
// Conference, 1997. Only the chromaticities (x, y) of the four colours and the luminance
// of white enter:
//   1. z = 1 - x - y; N = [[xR xG xB], [yR yG yB], [zR zG zB]] for the reference, M likewise
//      for the measurement;
//   2. white tristimulus vectors w_N = (xW/yW, 1, zW/yW)·YW and w_M likewise;
//   3. k_N = N⁻¹·w_N, k_M = M⁻¹·w_M (the primaries add up to white);
//   4. W = N·diag(k_N) · (M·diag(k_M))⁻¹.
// After correction, W·(measured X, Y, Z) reproduces the reference x, y of all four colours
// exactly and the reference luminance of white; the measured luminances of red, green and
// blue are not used.
//
// Matrices (Eigen::MatrixXd, column-major): one column per colour, columns 1 to 3 red,
// green and blue, column 4 white. Rows hold X, Y, Z (the _XYZ functions) or x, y, Lv (the
// _xyLv functions). More than four columns are accepted: the first four make the matrix,
// and the error functions report every column. Inputs are taken by value, outputs by
// pointer; an output of the wrong size is resized (W to 3×3, E to 3×N).
//
// Residual error E (3×N), for each column j, of the corrected measurement P = W·S_j
// against the reference R_j, both as tristimulus values:
//   E(0, j) = (x_P - x_ref) · 10000      (chromaticity x, in units of 0.0001)
//   E(1, j) = (y_P - y_ref) · 10000      (chromaticity y, in units of 0.0001)
//   E(2, j) = (Y_P - Y_ref) / Y_ref · 100  (luminance, in percent)
// These are the units the user-calibration page shows for its own least-squares method.
//
// Return values: 0 on success, -1 on input the method cannot use. Then:
// - TricorrMatrix_*: W is the 3×3 zero matrix (which the caller can recognise as "no
//   result"; it is never a usable correction). Unusable input: fewer than four columns or
//   not three rows, non-finite values, a colour whose chromaticity is undefined (X+Y+Z = 0,
//   or y <= 0 in the xyLv form), a white luminance that is not positive, or primaries whose
//   chromaticities are collinear (or whose weights leave a singular matrix).
// - TricorrError_*: every element of E is NaN. Unusable input: R and S not 3×N alike
//   (any N >= 1 is accepted here), W not 3×3, not finite or all zero. An element that cannot be formed for
//   one column alone (the reference Y of that column is 0, or a chromaticity sum is 0) is NaN while the
//   others are filled; the return value is then still 0.
// No function throws, and none keeps state between calls: they may be called from several
// threads at once.

#include <Eigen/Dense>

#if defined(_WIN32)
#if defined(TRICORR_BUILDING)
#define TRICORR_EXPORT __declspec(dllexport)
#else
#define TRICORR_EXPORT __declspec(dllimport)
#endif
#else
#define TRICORR_EXPORT __attribute__((visibility("default")))
#endif

// R: reference X, Y, Z; S: measured X, Y, Z (3×N, N >= 4). W: 3×3 with W·S ≈ R.
TRICORR_EXPORT int TricorrMatrix_XYZ(Eigen::MatrixXd R, Eigen::MatrixXd S, Eigen::MatrixXd *W);

// R, S hold x, y, Lv per column. W: 3×3 acting on tristimulus values X, Y, Z.
TRICORR_EXPORT int TricorrMatrix_xyLv(Eigen::MatrixXd R, Eigen::MatrixXd S, Eigen::MatrixXd *W);

// E (3×N): residual error of W·S against R, tristimulus inputs; units above.
TRICORR_EXPORT int TricorrError_XYZ(Eigen::MatrixXd W, Eigen::MatrixXd R, Eigen::MatrixXd S,
                                    Eigen::MatrixXd *E);

// E (3×N): as TricorrError_XYZ with R, S holding x, y, Lv per column.
TRICORR_EXPORT int TricorrError_xyLv(Eigen::MatrixXd W, Eigen::MatrixXd R, Eigen::MatrixXd S,
                                     Eigen::MatrixXd *E);
