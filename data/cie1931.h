#pragma once

#include <cstddef>

// CIE 1931 2° colour-matching functions at 1 nm, 360 to 830 nm (CIE 018:2019, see README.md).
namespace Cie1931 {

struct Row
{
    int nm;
    double x; // x-bar
    double y; // y-bar
    double z; // z-bar
};

constexpr int firstNm = 360;
constexpr int lastNm = 830;
constexpr std::size_t rowCount = lastNm - firstNm + 1;

// The table, ascending in wavelength; rows()[i].nm == firstNm + i.
const Row *rows();

// The row of a whole wavelength in [firstNm, lastNm]; nullptr outside.
const Row *at(int nm);

} // namespace Cie1931
