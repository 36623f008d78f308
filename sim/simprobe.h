#pragma once

#include "simbootloader.h"
#include "simdisplay.h"
#include "simstate.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <vector>

namespace Krn4Sim {

// The simulated KRN-4: command interpreter, probe state, memory channels, serial boot loader,
// and the display it looks at. No I/O here apart from the state file: bytes go in, reply
// chunks come out, so tests drive it directly and the krn4-sim program wraps it around a
// pseudo-terminal. The commands themselves are in simcommands.cpp, one handler each.
class SimProbe
{
public:
    struct Profile
    {
        QString firmware = "5.00.1586"; // VER/VER,1/VID,1 text; "5.00" alone gets ".1586"
        QString type = "KRN4-P60";      // TYP; a type containing "P60" has the spectrum (RSD)
        QString hardware = "V1";        // appears in the VER reply ("V2" makes the app ask VID,1)
        int integration = -1;           // integration-time setting: 1 yes, 0 no, -1 by firmware (>= 5)
        int status30 = 0;               // STR item 30 (1 = upgrade only over USB)
    };

    using Chunk = Krn4Sim::Chunk;
    using Mode = SimBootLoader::Mode;

    SimProbe();

    SimDisplay &display() { return m_display; }
    const SimDisplay &display() const { return m_display; }

    void setProfile(const Profile &p) { m_profile = p; }
    const Profile &profile() const { return m_profile; }
    QString firmwareText() const;
    bool hasIntegration() const;
    bool hasSpectrum() const { return m_profile.type.contains("P60"); }

    ProbeSettings &settings() { return m_state.settings; }
    const ProbeSettings &settings() const { return m_state.settings; }
    MemoryChannel &channel(int i) { return m_state.channels[std::clamp(i, 0, 99)]; }
    const MemoryChannel &channel(int i) const { return m_state.channels[std::clamp(i, 0, 99)]; }
    bool rawMode() const { return m_raw; }
    bool factoryMode() const { return m_factory; }
    Mode mode() const { return m_boot.mode(); }
    SimBootLoader &bootLoader() { return m_boot; }

    // Seconds on the display's time axis; defaults to a monotonic clock from construction.
    void setClock(std::function<double()> clock) { m_clock = std::move(clock); }
    double now() const { return m_clock(); }
    // Relative noise (0.001 = 0.1 %) on every reading, plus 10·level cd/m² absolute; seeded.
    // The seed also starts the sequence of window phases (see measureXYZ).
    void setNoise(double level, unsigned long long seed);
    // When set, replies come after the time the measurement takes (window, 1 s for JEITA...).
    void setRealTime(bool on) { m_realTime = on; }
    // Where settings and channels are kept; loaded now when the file exists, saved on change.
    // Values in the file that the probe cannot hold are refused and listed in `warnings`.
    bool setStatePath(const QString &path, QString *error = nullptr, QStringList *warnings = nullptr);
    bool saveState(QString *error = nullptr) const;
    // The pixel source for measurements (X-screen mode): called before each reading.
    void setColorSource(std::function<bool(int &r, int &g, int &b)> source)
    {
        m_colorSource = std::move(source);
    }

    // Colours a screen point showed, with their times (X-screen mode). While a history is
    // kept, sampled records (JAA, JWA, FMA, JEITA) cover the last N·d/3072 s before the
    // request, as a probe that samples continuously returns them.
    void recordColor(double t, int r, int g, int b);
    void clearHistory() { m_history.clear(); }

    // Serial line speed as the application set it (baud; 0 unknown), for the boot loader.
    void setLineSpeed(int baud) { m_boot.setLineSpeed(baud); }

    // Bytes from the application. Complete commands are answered; the boot loader answers byte
    // by byte. Chunks are appended to out in order.
    void feed(const QByteArray &bytes, std::vector<Chunk> &out);
    // Convenience for tests: one command without "\r"; returns the reply without its "\r".
    QByteArray command(const QByteArray &line);
    // Called about once a second: boot-loader idle time-out and the "Initial OK" announcement.
    void tick(std::vector<Chunk> &out);

    // One-shot events for the program around the model.
    bool takeDfuRequest();

    // What the application sent: count of complete commands and the most recent ones.
    int receivedCount() const { return m_receivedCount; }
    QStringList lastReceived(int n) const;
    void clearReceived();

    // The sensor's own error D, row-major: the uncorrected (raw) reading is D · (true XYZ) and
    // every corrected reading M · D · (true XYZ), M the active channel's matrix. Identity (an
    // ideal sensor) unless set; krn4-sim starts with a realistic error (docs/protocol.md).
    void setSensorError(const std::array<double, 9> &d) { m_sensor = d; }
    const std::array<double, 9> &sensorError() const { return m_sensor; }
    // The correction a factory calibration finds for this sensor, D⁻¹ (false when D is
    // singular), and writes it into channel 00 and, with allChannels, into every channel (a
    // new probe's user channels start as copies of the factory channel).
    bool factoryMatrix(std::array<double, 9> *m) const;
    bool factoryCalibrate(bool allChannels);

    // Faults aimed at one command, for the calibration pages' failure paths: the commands that
    // start with `prefix` are refused ("ER10") or go unanswered, `count` times (-1: until
    // cleared) after the first `after` of them were answered normally.
    struct CommandFault
    {
        QByteArray prefix;
        bool silent = false;
        int count = -1;
        int after = 0;
    };
    void addCommandFault(const CommandFault &f) { m_commandFaults.push_back(f); }
    void clearCommandFaults() { m_commandFaults.clear(); }
    int commandFaultCount() const { return int(m_commandFaults.size()); }

    // Readings as the probe computes them (after the channel matrix, with noise). The window
    // starts at a random point of the display's refresh period (a seeded sequence, so runs
    // repeat): a window that is not a whole number of refresh periods scatters.
    Vec3 measureXYZ(double windowSeconds);
    double measurementWindowSeconds() const;
    std::vector<double> luminanceRecord(int n, int decimation);

    // Reply to a single command line without its "\r" (also used by feed()). delayMs gets
    // the time the probe takes for it.
    QByteArray reply(const QByteArray &line, int *delayMs = nullptr);

private:
    friend class SimCommands; // the command handlers

    void refreshColor();
    std::vector<Vec3> sampleRecord(int n, double dt);
    // The reading of a true XYZ: M · D · xyz (D alone in raw mode).
    Vec3 applyChannel(const Vec3 &xyz) const;
    Eigen::Matrix3d readingMatrix() const;
    enum class FaultAction
    {
        None,
        Refuse,
        Silent
    };
    FaultAction takeCommandFault(const QByteArray &line);
    bool identityCorrection() const;
    void chromaticity(const Vec3 &xyz, double &x, double &y) const;
    Vec3 addNoise(const Vec3 &xyz);
    MemoryChannel &activeChannel() { return m_state.channels[m_state.settings.channel]; }
    void changed() { saveState(); } // every change is kept at once

    SimDisplay m_display;
    Profile m_profile;
    ProbeState m_state;
    bool m_raw = false;
    bool m_factory = false;
    bool m_realTime = false;
    double m_noise = 0.0;
    std::mt19937_64 m_rng;
    std::normal_distribution<double> m_gauss{0.0, 1.0};
    std::mt19937_64 m_phaseRng; // apart from the noise, so a ripple leaves noise sequences alone
    std::uniform_real_distribution<double> m_phase{0.0, 6.283185307179586};
    QElapsedTimer m_started;
    std::function<double()> m_clock;
    std::function<bool(int &, int &, int &)> m_colorSource;
    QString m_statePath;
    std::vector<SimDisplay::Step> m_history;

    QByteArray m_line;
    double m_lastLineByte = 0.0;
    int m_receivedCount = 0;
    QStringList m_received; // ring of the last 200 commands

    SimBootLoader m_boot;
    bool m_dfuRequest = false;

    std::array<double, 9> m_sensor{{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    std::vector<CommandFault> m_commandFaults;
};

} // namespace Krn4Sim
