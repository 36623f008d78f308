#include "simprobe.h"

#include "simflicker.h"

#include <QFile>

#include <algorithm>
#include <cmath>

namespace Krn4Sim {

SimProbe::SimProbe() : m_rng(1), m_phaseRng(1)
{
    m_started.start();
    m_clock = [this] { return m_started.nsecsElapsed() / 1e9; };
}

QString SimProbe::firmwareText() const
{
    const ProbeSettings &s = m_state.settings;
    QString v = s.firmwareOverride.isEmpty() ? m_profile.firmware : s.firmwareOverride;
    if (v.count('.') < 2)
        v += ".1586"; // build number: the upgrade dialog reads the last four characters
    return v;
}

bool SimProbe::hasIntegration() const
{
    if (m_profile.integration >= 0)
        return m_profile.integration > 0;
    return firmwareText().section('.', 0, 0).toInt() >= 5;
}

void SimProbe::setNoise(double level, unsigned long long seed)
{
    m_noise = std::max(0.0, level);
    m_rng.seed(seed);
    m_gauss.reset();
    m_phaseRng.seed(seed);
    m_phase.reset();
}

QStringList SimProbe::lastReceived(int n) const
{
    return m_received.mid(std::max(0, m_received.size() - n));
}

void SimProbe::clearReceived()
{
    m_receivedCount = 0;
    m_received.clear();
}

bool SimProbe::takeDfuRequest()
{
    const bool r = m_dfuRequest;
    m_dfuRequest = false;
    return r;
}

bool SimProbe::setStatePath(const QString &path, QString *error, QStringList *warnings)
{
    m_statePath = path;
    if (!QFile::exists(path))
        return saveState(error);
    return loadStateFile(path, m_state, error, warnings);
}

bool SimProbe::saveState(QString *error) const
{
    return m_statePath.isEmpty() || saveStateFile(m_statePath, m_state, error);
}

// ---------------------------------------------------------------------------------------------
// Line handling

QByteArray SimProbe::command(const QByteArray &line)
{
    std::vector<Chunk> out;
    feed(line + '\r', out);
    QByteArray all;
    for (const Chunk &c : out)
        all += c.bytes;
    if (all.endsWith('\r'))
        all.chop(1);
    return all;
}

void SimProbe::feed(const QByteArray &bytes, std::vector<Chunk> &out)
{
    for (char c : bytes) {
        if (m_boot.active()) {
            if (m_boot.feed(c, now(), out)) {
                // The upgrade is complete and the probe restarts, with the image's version.
                const QString version = m_boot.takeFirmwareVersion();
                if (!version.isEmpty()) {
                    m_state.settings.firmwareOverride = version;
                    changed();
                }
                m_line.clear();
            }
            continue;
        }
        m_boot.heard();
        // A partial line left over from an abandoned exchange (a sync byte sent to a probe that
        // is not in its boot loader, a half-written command) is dropped after 2 s of silence.
        const double t = now();
        if (!m_line.isEmpty() && t - m_lastLineByte > 2.0)
            m_line.clear();
        m_lastLineByte = t;
        if (c == '\r') {
            ++m_receivedCount;
            m_received.append(QString::fromLatin1(m_line));
            if (m_received.size() > 200)
                m_received.removeFirst();
            const FaultAction fault = takeCommandFault(m_line);
            if (fault == FaultAction::Silent) {
                m_line.clear();
                continue;
            }
            int delay = 0;
            QByteArray r = fault == FaultAction::Refuse ? QByteArray("ER10") : reply(m_line, &delay);
            r += '\r';
            out.push_back({r, m_realTime ? delay : 0, m_line.trimmed().toUpper()});
            m_line.clear();
        } else if (c == '\n' || c == '\0') {
            continue; // line feeds from terminals are ignored
        } else if (m_line.size() < 4096) {
            m_line += c;
        }
    }
}

void SimProbe::tick(std::vector<Chunk> &out)
{
    if (m_boot.tick(now(), out))
        m_line.clear();
}

// ---------------------------------------------------------------------------------------------
// Measurement

void SimProbe::refreshColor()
{
    int r = 0, g = 0, b = 0;
    if (!m_colorSource || !m_colorSource(r, g, b))
        return;
    if (m_history.empty())
        m_display.setColor(r, g, b);
    else
        recordColor(now(), r, g, b);
}

Eigen::Matrix3d SimProbe::readingMatrix() const
{
    const auto rowMajor = [](const std::array<double, 9> &m) {
        Eigen::Matrix3d mat;
        mat << m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8];
        return mat;
    };
    const Eigen::Matrix3d sensor = rowMajor(m_sensor);
    if (m_raw)
        return sensor;
    return rowMajor(m_state.channels[m_state.settings.channel].matrix) * sensor;
}

Vec3 SimProbe::applyChannel(const Vec3 &xyz) const
{
    // A channel that undoes the sensor error to within rounding (the factory channel of an
    // unchanged sensor) reads the display as it is: the two products would only add rounding
    // noise to the last digit of every reply.
    const Eigen::Matrix3d m = readingMatrix();
    if ((m - Eigen::Matrix3d::Identity()).cwiseAbs().maxCoeff() < 1e-12)
        return xyz;
    return m * xyz;
}

bool SimProbe::factoryMatrix(std::array<double, 9> *m) const
{
    Eigen::Matrix3d d;
    d << m_sensor[0], m_sensor[1], m_sensor[2], m_sensor[3], m_sensor[4], m_sensor[5], m_sensor[6],
        m_sensor[7], m_sensor[8];
    bool invertible = false;
    Eigen::Matrix3d inverse;
    d.computeInverseWithCheck(inverse, invertible, 1e-9);
    if (!invertible || !inverse.allFinite())
        return false;
    for (int i = 0; i < 9; ++i)
        (*m)[i] = inverse(i / 3, i % 3);
    return true;
}

bool SimProbe::factoryCalibrate(bool allChannels)
{
    std::array<double, 9> m{};
    if (!factoryMatrix(&m))
        return false;
    for (int c = 0; c < (allChannels ? 100 : 1); ++c)
        m_state.channels[c].matrix = m;
    changed();
    return true;
}

SimProbe::FaultAction SimProbe::takeCommandFault(const QByteArray &line)
{
    const QByteArray command = line.trimmed().toUpper();
    for (auto it = m_commandFaults.begin(); it != m_commandFaults.end(); ++it) {
        if (!command.startsWith(it->prefix))
            continue;
        if (it->after > 0) {
            --it->after;
            return FaultAction::None;
        }
        const FaultAction action = it->silent ? FaultAction::Silent : FaultAction::Refuse;
        if (it->count > 0 && --it->count == 0)
            m_commandFaults.erase(it);
        return action;
    }
    return FaultAction::None;
}

Vec3 SimProbe::addNoise(const Vec3 &xyz)
{
    if (m_noise <= 0.0)
        return xyz;
    Vec3 out;
    for (int i = 0; i < 3; ++i)
        out[i] = std::max(0.0, xyz[i] * (1.0 + m_noise * m_gauss(m_rng)) + 10.0 * m_noise * m_gauss(m_rng));
    return out;
}

double SimProbe::measurementWindowSeconds() const
{
    const ProbeSettings &s = m_state.settings;
    double frame = 1.0 / 60.0;
    switch (s.syncMode) {
    case 0:
        frame = 1.0 / 59.94;
        break;
    case 1:
        frame = 1.0 / 50.0;
        break;
    case 4:
        frame = 1.0 / std::max(1.0, s.syncFrequency);
        break;
    case 5:
        return std::max(0.001, s.manualTimeMs / 1000.0) * std::max(1, s.averaging);
    default:
        break;
    }
    int frames = 1;
    switch (s.speed) {
    case 0:
        frames = 4; // Slow
        break;
    case 2:
        frames = 2; // LTDAUTO
        break;
    default:
        frames = 1;
        break;
    }
    if (hasIntegration() && s.integration == 1)
        frames *= 2;
    return frame * frames * std::max(1, s.averaging);
}

Vec3 SimProbe::measureXYZ(double windowSeconds)
{
    refreshColor();
    const double t0 = now();
    const double ripple = m_display.refreshWindowFactor(windowSeconds, m_phase(m_phaseRng));
    return addNoise(applyChannel(m_display.averageXYZ(t0, t0 + windowSeconds) * ripple));
}

void SimProbe::recordColor(double t, int r, int g, int b)
{
    const std::array<int, 3> rgb{{r, g, b}};
    if (!m_history.empty() && m_history.back().rgb == rgb)
        return;
    m_history.push_back({t, rgb});
    m_display.setColor(r, g, b);
    // Keep a minute: far more than the longest record (32767·100/3072 s is about 18 min, but
    // such records of a screen point are not meaningful beyond the poller's own history).
    size_t drop = 0;
    while (drop + 1 < m_history.size() && m_history[drop + 1].t < t - 60.0)
        ++drop;
    if (drop > 0)
        m_history.erase(m_history.begin(), m_history.begin() + long(drop));
}

std::vector<Vec3> SimProbe::sampleRecord(int n, double dt)
{
    if (!m_history.empty())
        return m_display.sampleHistory(m_history, now() - n * dt, n, dt);
    return m_display.sampleXYZ(now(), n, dt);
}

bool SimProbe::identityCorrection() const
{
    return (readingMatrix() - Eigen::Matrix3d::Identity()).cwiseAbs().maxCoeff() < 1e-12;
}

std::vector<double> SimProbe::luminanceRecord(int n, int decimation)
{
    refreshColor();
    const double dt = double(std::max(1, decimation)) / SimFlicker::kSampleRate;
    std::vector<double> y;
    if (identityCorrection() && m_history.empty()) {
        y = m_display.sampleY(now(), n, dt);
    } else {
        // The corrected luminance is the Y row of the channel matrix applied to each sample.
        const std::vector<Vec3> s = sampleRecord(n, dt);
        y.reserve(s.size());
        for (const Vec3 &v : s)
            y.push_back(applyChannel(v).y());
    }
    if (m_noise > 0.0) {
        for (double &v : y)
            v = std::max(0.0, v * (1.0 + m_noise * m_gauss(m_rng)) + 10.0 * m_noise * m_gauss(m_rng));
    }
    return y;
}

void SimProbe::chromaticity(const Vec3 &xyz, double &x, double &y) const
{
    const double sum = xyz.sum();
    if (sum > 0.0) {
        x = xyz.x() / sum;
        y = xyz.y() / sum;
        return;
    }
    // No light at all: report the display's white point with zero luminance rather than 0/0,
    // so that X = x/y·Lv stays 0 for every reader.
    x = m_display.primaries().wx;
    y = m_display.primaries().wy;
}

} // namespace Krn4Sim
