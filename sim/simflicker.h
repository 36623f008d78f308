#pragma once

#include <vector>

namespace Krn4Sim {

// Flicker figures the probe computes from a luminance record.
namespace SimFlicker {

constexpr int kSampleRate = 3072; // samples per second of the probe's high-rate sampling
constexpr int kJeitaFirstHz = 6;
constexpr int kJeitaLastHz = 65;
constexpr double kJeitaFloorDb = -99.99; // a steady source reports this, never −∞

// Contrast method: (Lmax − Lmin) / ((Lmax + Lmin) / 2) × 100 %. 0 for an empty or dark record.
double fma(const std::vector<double> &samples);

// The eye weighting of the JEITA method: 1 up to 20 Hz, then falling linearly to 0.
double jeitaWeight(double hz);

struct Jeita
{
    double valueDb = kJeitaFloorDb; // largest weighted line from 1 to 65 Hz
    std::vector<double> perHz;      // weighted lines at 6 .. 65 Hz (60 values)
};

// JEITA flicker of a record sampled at sampleRate (a 1 s record at 3072 S/s gives 1 Hz bins):
// each AC line as RMS amplitude (√2·|Xk|/N), weighted, divided by the DC level, in dB.
Jeita jeita(const std::vector<double> &samples, int sampleRate = kSampleRate);

} // namespace SimFlicker
} // namespace Krn4Sim
