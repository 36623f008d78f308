#pragma once

#include <Eigen/Dense>

#include <array>
#include <vector>

namespace Krn4Sim {

using Vec3 = Eigen::Vector3d;

// The display under test that the simulated probe is pointed at. An "R,G,B" colour goes
// through a tone curve, the primaries, the white point and the peak luminance to CIE XYZ
// (cd/m² for Y). On top of that: a periodic luminance modulation (flicker) and, optionally,
// a gray-to-gray switching with a first-order response for response-time work.
// Time t is in seconds on the simulator's clock; all integrals are over real time, because
// the probe's sensor integrates light over its measuring window.
class SimDisplay
{
public:
    enum class Shape
    {
        Sine,
        Square,
        Pwm
    };

    struct Primaries
    {
        double rx = 0.64, ry = 0.33; // sRGB / BT.709
        double gx = 0.30, gy = 0.60;
        double bx = 0.15, by = 0.06;
        double wx = 0.3127, wy = 0.3290; // D65
    };

    struct Modulation
    {
        double frequencyHz = 0.0; // 0 = steady light
        // (Lmax − Lmin) / (Lmax + Lmin): for a sine the amplitude over the mean, so 0.1 gives
        // an FMA of 20 %. 1 switches a PWM backlight fully off in its off phase.
        double depth = 0.0;
        Shape shape = Shape::Sine;
        double duty = 0.5; // on fraction for Pwm (Square is Pwm with 0.5)
    };

    struct Transition
    {
        bool active = false;
        std::array<int, 3> from{{0, 0, 0}};
        std::array<int, 3> to{{255, 255, 255}};
        double periodMs = 500.0; // each level is held this long, then the other one
        double riseMs = 5.0;     // time constants of the exponential response
        double fallMs = 5.0;
    };

    // The panel's own refresh: every frame leaves a small ripple of the light at the refresh
    // frequency (row scanning, drive polarity), on top of any modulation set above. A probe
    // whose window spans whole refresh periods cancels it; any other window keeps part of a
    // period, so its reading depends on where in the frame the window started.
    struct Refresh
    {
        double frequencyHz = 60.0;
        double ripple = 0.01; // relative amplitude of the ripple (0.01 = 1 % of the mean)
    };

    // A colour that appeared at time t (seconds): the history of what a screen point showed.
    struct Step
    {
        double t = 0.0;
        std::array<int, 3> rgb{{0, 0, 0}};
    };

    SimDisplay();

    // Display characteristics. Returns false (and keeps the old ones) for degenerate primaries.
    bool setPrimaries(const Primaries &p);
    const Primaries &primaries() const { return m_primaries; }
    void setPeakLuminance(double cdm2);
    double peakLuminance() const { return m_peak; }
    void setGamma(double gamma); // tone curve (v/255)^gamma
    double gamma() const { return m_gamma; }
    void setBlackLuminance(double cdm2); // light leakage added at every level (default 0)

    void setColor(int r, int g, int b);
    std::array<int, 3> color() const { return m_color; }
    void setModulation(const Modulation &m);
    const Modulation &modulation() const { return m_modulation; }
    void setTransition(const Transition &t);
    const Transition &transition() const { return m_transition; }
    void setRefresh(const Refresh &r) { m_refresh = r; }
    const Refresh &refresh() const { return m_refresh; }

    // Mean of the refresh ripple 1 + ripple·cos(2π·f·t + phase) over a window [0, seconds]:
    // exactly 1 when the window holds whole refresh periods, otherwise off by up to
    // ripple·|sin(π·f·T)|/(π·f·T), which for a window near one period grows with the mismatch.
    double refreshWindowFactor(double seconds, double phase) const;

    // XYZ of a steady colour (no modulation, no transition).
    Vec3 colorXYZ(int r, int g, int b) const;
    // Linear RGB drive (0..1 per channel) of a colour, before the peak scaling.
    Vec3 linearDrive(int r, int g, int b) const;
    // Matrix from linear drive to XYZ in cd/m² (columns: the primaries at full drive).
    const Eigen::Matrix3d &rgbToXyz() const { return m_rgbToXyz; }

    // The mean XYZ over [t0, t1] (t1 > t0), as an integrating sensor sees it.
    Vec3 averageXYZ(double t0, double t1) const;

    // n consecutive samples starting at t0, each the mean over its own interval dt.
    std::vector<Vec3> sampleXYZ(double t0, int n, double dt) const;
    std::vector<double> sampleY(double t0, int n, double dt) const;

    // Mean of the modulation factor over [t0, t1]; the factor itself averages to 1.
    double modulationAverage(double t0, double t1) const;

    // Response of the panel to colour changes of a recorded history: first order, the time
    // constant by the direction of the luminance step (0 = instant).
    void setResponse(double riseMs, double fallMs);
    double riseMs() const { return m_riseMs; }
    double fallMs() const { return m_fallMs; }
    // n samples from t0, each the mean over dt, of a display whose colour followed `history`
    // (ascending in time; before the first step the first colour), with the modulation on top.
    std::vector<Vec3> sampleHistory(const std::vector<Step> &history, double t0, int n, double dt) const;

    // Spectral radiance in W/(sr·m²·nm) at 380..780 nm (401 values) whose tristimulus values
    // with the CIE 1931 functions (Km = 683 lm/W, 1 nm steps) equal xyz: a non-negative sum of
    // the three primary emission spectra.
    std::vector<double> spectrumFor(const Vec3 &xyz) const;

private:
    void rebuildMatrix();
    void rebuildSpectra() const; // lazily, on the first spectrum request after a change
    double modulationFactor(double t) const;
    double modulationIntegral(double t) const; // ∫0..t factor
    // The periodic steady state of the switching, computed once per request.
    struct Switching
    {
        Vec3 a, b, startA, startB;
        double period = 0, tauToA = 0, tauToB = 0;
        Vec3 at(double t) const;
    };
    Switching switching() const;
    Vec3 averageSwitching(const Switching &sw, double t0, double t1) const;

    Primaries m_primaries;
    double m_peak = 200.0;
    double m_gamma = 2.2;
    double m_black = 0.0;
    double m_riseMs = 0.0;
    double m_fallMs = 0.0;
    std::array<int, 3> m_color{{255, 255, 255}};
    Modulation m_modulation;
    Transition m_transition;
    Refresh m_refresh;
    Eigen::Matrix3d m_rgbToXyz;
    mutable bool m_spectraValid = false;
    mutable Eigen::Matrix3d m_spectraXyzInv; // inverse of the primaries' spectral XYZ matrix
    mutable std::array<std::vector<double>, 3> m_primarySpectra;
};

// 683 · Σ S(λ)·cmf(λ) over 380..780 nm at 1 nm for a 401-value spectrum.
Vec3 integrateSpectrum(const std::vector<double> &spectrum);

} // namespace Krn4Sim
