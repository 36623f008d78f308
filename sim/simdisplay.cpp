#include "simdisplay.h"

#include "cie1931.h"

#include <algorithm>
#include <cmath>

namespace Krn4Sim {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kKm = 683.0; // lm/W, luminous efficacy of the CIE photopic function
constexpr int kFirstNm = 380;
constexpr int kLastNm = 780;
constexpr int kBands = kLastNm - kFirstNm + 1;

Vec3 xyToXyz(double x, double y, double Y)
{
    return Vec3(x / y * Y, Y, (1.0 - x - y) / y * Y);
}

std::vector<double> gaussian(double centre, double sigma)
{
    std::vector<double> s(kBands);
    for (int i = 0; i < kBands; ++i) {
        const double d = (kFirstNm + i - centre) / sigma;
        s[i] = std::exp(-0.5 * d * d);
    }
    return s;
}

Vec3 chroma(const Vec3 &xyz)
{
    const double sum = xyz.sum();
    return Vec3(xyz.x() / sum, xyz.y() / sum, 0.0);
}

// An emission spectrum whose chromaticity is (px, py): a narrow band at the wavelength that
// points from the equal-energy white towards the primary, desaturated with a flat spectrum
// until it lands on the primary. Primaries more saturated than the band keep the band alone.
std::vector<double> primaryEmission(double px, double py)
{
    const double ex = 1.0 / 3.0, ey = 1.0 / 3.0;
    const double dx = px - ex, dy = py - ey;
    const double dlen = std::hypot(dx, dy);
    const std::vector<double> flat(kBands, 1.0);
    const Vec3 fb = integrateSpectrum(flat);
    std::vector<double> band;
    double alpha = 1.0;
    // Narrow the band until it is at least as saturated as the primary (laser-like primaries
    // such as BT.2020 red need a band of a few nm).
    for (double sigma : {10.0, 6.0, 3.0, 1.5, 0.75}) {
        double bestCentre = 550.0, bestScore = -2.0;
        for (double c = 400.0; c <= 700.0; c += 0.5) {
            const Vec3 g = chroma(integrateSpectrum(gaussian(c, sigma)));
            const double gx = g.x() - ex, gy = g.y() - ey;
            const double score = (gx * dx + gy * dy) / (std::hypot(gx, gy) * dlen);
            if (score > bestScore) {
                bestScore = score;
                bestCentre = c;
            }
        }
        band = gaussian(bestCentre, sigma);
        const Vec3 gb = integrateSpectrum(band);
        const double denX = (fb.x() - px * fb.sum()) - (gb.x() - px * gb.sum());
        const double denY = (fb.y() - py * fb.sum()) - (gb.y() - py * gb.sum());
        if (std::abs(denX) > std::abs(denY))
            alpha = (fb.x() - px * fb.sum()) / denX;
        else if (denY != 0.0)
            alpha = (fb.y() - py * fb.sum()) / denY;
        if (alpha <= 1.0)
            break;
    }
    alpha = std::clamp(alpha, 0.0, 1.0);
    std::vector<double> s(kBands);
    for (int i = 0; i < kBands; ++i)
        s[i] = alpha * band[i] + (1.0 - alpha) * flat[i];
    return s;
}

} // namespace

Vec3 integrateSpectrum(const std::vector<double> &spectrum)
{
    Vec3 xyz = Vec3::Zero();
    const int n = std::min<int>(kBands, int(spectrum.size()));
    for (int i = 0; i < n; ++i) {
        const Cie1931::Row *row = Cie1931::at(kFirstNm + i);
        xyz += spectrum[i] * Vec3(row->x, row->y, row->z);
    }
    return kKm * xyz;
}

SimDisplay::SimDisplay()
{
    rebuildMatrix();
    m_spectraValid = false;
}

bool SimDisplay::setPrimaries(const Primaries &p)
{
    const double ys[] = {p.ry, p.gy, p.by, p.wy};
    for (double y : ys) {
        if (!(y > 0.0))
            return false;
    }
    Eigen::Matrix3d n;
    n.col(0) = xyToXyz(p.rx, p.ry, 1.0);
    n.col(1) = xyToXyz(p.gx, p.gy, 1.0);
    n.col(2) = xyToXyz(p.bx, p.by, 1.0);
    if (std::abs(n.determinant()) < 1e-9)
        return false;
    m_primaries = p;
    rebuildMatrix();
    m_spectraValid = false;
    return true;
}

void SimDisplay::setPeakLuminance(double cdm2)
{
    m_peak = std::max(0.0, cdm2);
    rebuildMatrix();
    m_spectraValid = false;
}

void SimDisplay::setGamma(double gamma)
{
    if (gamma > 0.0)
        m_gamma = gamma;
}

void SimDisplay::setBlackLuminance(double cdm2)
{
    m_black = std::max(0.0, cdm2);
}

void SimDisplay::setColor(int r, int g, int b)
{
    m_color = {{std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255)}};
}

void SimDisplay::setModulation(const Modulation &m)
{
    m_modulation = m;
    m_modulation.depth = std::clamp(m.depth, 0.0, 1.0);
    m_modulation.duty = std::clamp(m.duty, 0.0, 1.0);
    m_modulation.frequencyHz = std::max(0.0, m.frequencyHz);
    if (m_modulation.shape == Shape::Square)
        m_modulation.duty = 0.5;
}

void SimDisplay::setTransition(const Transition &t)
{
    m_transition = t;
    m_transition.periodMs = std::max(0.1, t.periodMs);
    m_transition.riseMs = std::max(0.001, t.riseMs);
    m_transition.fallMs = std::max(0.001, t.fallMs);
}

void SimDisplay::rebuildMatrix()
{
    const Primaries &p = m_primaries;
    Eigen::Matrix3d n;
    n.col(0) = xyToXyz(p.rx, p.ry, 1.0);
    n.col(1) = xyToXyz(p.gx, p.gy, 1.0);
    n.col(2) = xyToXyz(p.bx, p.by, 1.0);
    const Vec3 white = xyToXyz(p.wx, p.wy, m_peak);
    const Vec3 scale = n.inverse() * white;
    m_rgbToXyz = n * scale.asDiagonal();
}

void SimDisplay::rebuildSpectra() const
{
    m_spectraValid = true;
    const Primaries &p = m_primaries;
    const double xs[] = {p.rx, p.gx, p.bx};
    const double ys[] = {p.ry, p.gy, p.by};
    Eigen::Matrix3d spectral;
    for (int k = 0; k < 3; ++k) {
        std::vector<double> s = primaryEmission(xs[k], ys[k]);
        // Scale to the primary's luminance at full drive (at least a token level, so that a
        // display with zero peak still has a well-defined basis).
        const double target = std::max(1e-6, m_rgbToXyz(1, k));
        const double y = integrateSpectrum(s).y();
        for (double &v : s)
            v *= target / y;
        spectral.col(k) = integrateSpectrum(s);
        m_primarySpectra[k] = std::move(s);
    }
    m_spectraXyzInv = spectral.inverse();
}

Vec3 SimDisplay::linearDrive(int r, int g, int b) const
{
    auto lin = [this](int v) { return std::pow(std::clamp(v, 0, 255) / 255.0, m_gamma); };
    return Vec3(lin(r), lin(g), lin(b));
}

Vec3 SimDisplay::colorXYZ(int r, int g, int b) const
{
    Vec3 xyz = m_rgbToXyz * linearDrive(r, g, b);
    if (m_black > 0.0)
        xyz += xyToXyz(m_primaries.wx, m_primaries.wy, m_black);
    return xyz;
}

double SimDisplay::modulationFactor(double t) const
{
    const Modulation &m = m_modulation;
    if (m.frequencyHz <= 0.0 || m.depth <= 0.0)
        return 1.0;
    if (m.shape == Shape::Sine)
        return 1.0 + m.depth * std::sin(2.0 * kPi * m.frequencyHz * t);
    const double c = 1.0 / (1.0 + m.depth * (2.0 * m.duty - 1.0));
    const double phase = t * m.frequencyHz - std::floor(t * m.frequencyHz);
    return phase < m.duty ? c * (1.0 + m.depth) : c * (1.0 - m.depth);
}

double SimDisplay::modulationIntegral(double t) const
{
    const Modulation &m = m_modulation;
    if (m.frequencyHz <= 0.0 || m.depth <= 0.0)
        return t;
    const double w = 2.0 * kPi * m.frequencyHz;
    if (m.shape == Shape::Sine)
        return t + m.depth * (1.0 - std::cos(w * t)) / w;
    const double period = 1.0 / m.frequencyHz;
    const double cycles = std::floor(t / period);
    const double r = t - cycles * period;
    const double c = 1.0 / (1.0 + m.depth * (2.0 * m.duty - 1.0));
    const double on = m.duty * period;
    return cycles * period +
           c * ((1.0 + m.depth) * std::min(r, on) + (1.0 - m.depth) * std::max(0.0, r - on));
}

double SimDisplay::modulationAverage(double t0, double t1) const
{
    if (!(t1 > t0))
        return modulationFactor(t0);
    // Integrate relative to the start of t0's cycle so that long run times keep precision.
    double base = 0.0;
    if (m_modulation.frequencyHz > 0.0) {
        const double period = 1.0 / m_modulation.frequencyHz;
        base = std::floor(t0 / period) * period;
    }
    return (modulationIntegral(t1 - base) - modulationIntegral(t0 - base)) / (t1 - t0);
}

SimDisplay::Switching SimDisplay::switching() const
{
    const Transition &tr = m_transition;
    Switching s;
    s.a = colorXYZ(tr.from[0], tr.from[1], tr.from[2]);
    s.b = colorXYZ(tr.to[0], tr.to[1], tr.to[2]);
    s.period = tr.periodMs / 1000.0;
    // Periodic steady state of a first-order response to a square switching between a and b;
    // the time constant follows the direction of the luminance step.
    s.tauToA = (s.a.y() >= s.b.y() ? tr.riseMs : tr.fallMs) / 1000.0;
    s.tauToB = (s.b.y() >= s.a.y() ? tr.riseMs : tr.fallMs) / 1000.0;
    const double e1 = std::exp(-s.period / s.tauToA), e2 = std::exp(-s.period / s.tauToB);
    s.startA = (s.b * (1.0 - e2) + s.a * e2 * (1.0 - e1)) / (1.0 - e1 * e2);
    s.startB = s.a + (s.startA - s.a) * e1;
    return s;
}

Vec3 SimDisplay::Switching::at(double t) const
{
    double phase = std::fmod(t, 2.0 * period);
    if (phase < 0.0)
        phase += 2.0 * period;
    if (phase < period)
        return a + (startA - a) * std::exp(-phase / tauToA);
    return b + (startB - b) * std::exp(-(phase - period) / tauToB);
}

double SimDisplay::refreshWindowFactor(double seconds, double phase) const
{
    const double w = 2.0 * kPi * m_refresh.frequencyHz * seconds;
    if (m_refresh.ripple <= 0.0 || !(w > 1e-9))
        return 1.0 + m_refresh.ripple * std::cos(phase);
    return 1.0 + m_refresh.ripple * (std::sin(w + phase) - std::sin(phase)) / w;
}

Vec3 SimDisplay::averageXYZ(double t0, double t1) const
{
    if (!m_transition.active)
        return colorXYZ(m_color[0], m_color[1], m_color[2]) * modulationAverage(t0, t1);
    return averageSwitching(switching(), t0, t1);
}

Vec3 SimDisplay::averageSwitching(const Switching &sw, double t0, double t1) const
{
    if (!(t1 > t0))
        return sw.at(t0) * modulationFactor(t0);
    // Transitions are smooth; a midpoint rule at 8 steps per 1/3072 s is ample. The
    // modulation is applied per step as the mean over the step, so PWM edges stay exact.
    const double step = 1.0 / (3072.0 * 8.0);
    // Bounded as a double: a long window must not overflow the int.
    const double steps = std::ceil((t1 - t0) / step);
    const int n = steps >= 1.0 ? int(std::min(steps, 65536.0)) : 1;
    const double h = (t1 - t0) / n;
    Vec3 sum = Vec3::Zero();
    for (int i = 0; i < n; ++i) {
        const double a = t0 + i * h;
        sum += sw.at(a + 0.5 * h) * modulationAverage(a, a + h);
    }
    return sum / n;
}

void SimDisplay::setResponse(double riseMs, double fallMs)
{
    m_riseMs = std::max(0.0, riseMs);
    m_fallMs = std::max(0.0, fallMs);
}

std::vector<Vec3> SimDisplay::sampleHistory(const std::vector<Step> &history, double t0, int n,
                                            double dt) const
{
    std::vector<Vec3> out;
    out.reserve(std::max(0, n));
    if (history.empty()) {
        for (int i = 0; i < n; ++i)
            out.push_back(averageXYZ(t0 + i * dt, t0 + (i + 1) * dt));
        return out;
    }
    // For every step: its target, the value the panel had when it came, and the time constant.
    struct Segment
    {
        double t;
        Vec3 target, start;
        double tau;
    };
    std::vector<Segment> segs;
    segs.reserve(history.size());
    Vec3 value = colorXYZ(history.front().rgb[0], history.front().rgb[1], history.front().rgb[2]);
    for (size_t k = 0; k < history.size(); ++k) {
        const Step &st = history[k];
        const Vec3 target = colorXYZ(st.rgb[0], st.rgb[1], st.rgb[2]);
        if (k > 0) {
            const Segment &prev = segs.back();
            const double age = st.t - prev.t;
            value = prev.tau > 0.0 ? prev.target + (prev.start - prev.target) * std::exp(-age / prev.tau)
                                   : prev.target;
        }
        const double tau = (target.y() >= value.y() ? m_riseMs : m_fallMs) / 1000.0;
        segs.push_back({st.t, target, value, tau});
    }
    auto at = [&segs](double t, size_t &k) {
        while (k + 1 < segs.size() && segs[k + 1].t <= t)
            ++k;
        const Segment &s = segs[k];
        if (t < s.t || s.tau <= 0.0)
            return t < s.t ? s.start : s.target;
        return Vec3(s.target + (s.start - s.target) * std::exp(-(t - s.t) / s.tau));
    };
    size_t k = 0;
    const int sub = 8;
    for (int i = 0; i < n; ++i) {
        const double a = t0 + i * dt;
        const double h = dt / sub;
        Vec3 sum = Vec3::Zero();
        for (int j = 0; j < sub; ++j)
            sum += at(a + (j + 0.5) * h, k) * modulationAverage(a + j * h, a + (j + 1) * h);
        out.push_back(sum / sub);
    }
    return out;
}

std::vector<Vec3> SimDisplay::sampleXYZ(double t0, int n, double dt) const
{
    std::vector<Vec3> out;
    out.reserve(std::max(0, n));
    if (!m_transition.active) {
        const Vec3 xyz = colorXYZ(m_color[0], m_color[1], m_color[2]);
        for (int i = 0; i < n; ++i)
            out.push_back(xyz * modulationAverage(t0 + i * dt, t0 + (i + 1) * dt));
        return out;
    }
    const Switching sw = switching();
    for (int i = 0; i < n; ++i)
        out.push_back(averageSwitching(sw, t0 + i * dt, t0 + (i + 1) * dt));
    return out;
}

std::vector<double> SimDisplay::sampleY(double t0, int n, double dt) const
{
    std::vector<double> out;
    out.reserve(std::max(0, n));
    if (!m_transition.active) {
        const double y = colorXYZ(m_color[0], m_color[1], m_color[2]).y();
        for (int i = 0; i < n; ++i)
            out.push_back(y * modulationAverage(t0 + i * dt, t0 + (i + 1) * dt));
        return out;
    }
    const Switching sw = switching();
    for (int i = 0; i < n; ++i)
        out.push_back(averageSwitching(sw, t0 + i * dt, t0 + (i + 1) * dt).y());
    return out;
}

std::vector<double> SimDisplay::spectrumFor(const Vec3 &xyz) const
{
    if (!m_spectraValid)
        rebuildSpectra();
    Vec3 c = m_spectraXyzInv * xyz;
    // A reading outside the primaries' gamut (possible through a strong correction matrix)
    // cannot be a sum of the emissions; keep the light physical rather than exact.
    c = c.cwiseMax(0.0);
    std::vector<double> s(kBands, 0.0);
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < kBands; ++i)
            s[i] += c[k] * m_primarySpectra[k][i];
    }
    return s;
}

} // namespace Krn4Sim
