#pragma once

#include "simdisplay.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <random>
#include <vector>

namespace Krn4Sim {

// One memory channel of the probe: the correction matrix applied to the sensor's XYZ, the
// white reference and the labels written by the calibration pages.
struct MemoryChannel
{
    std::array<double, 9> matrix{{1, 0, 0, 0, 1, 0, 0, 0, 1}}; // row-major, parameters 0..8
    QString name;                                              // parameter 11
    QString date;                                              // parameter 12
    double whiteX = std::numeric_limits<double>::quiet_NaN();  // parameters 14, 15, 16
    double whiteY = std::numeric_limits<double>::quiet_NaN();
    double whiteLv = std::numeric_limits<double>::quiet_NaN();
};

// Settings the probe keeps across power cycles (and across simulator restarts with --state).
struct ProbeSettings
{
    int displayMode = 0;                // MDS: 0 xyLv, 1 Tcp/duv, 6 FMA, 7 XYZ, 8 JEITA
    int syncMode = 3;                   // SCS: 0 NTSC, 1 PAL, 2 EXT, 3 UNIV, 4 INT, 5 MANUAL
    double syncFrequency = 60.0;        // Hz, for INT
    double manualTimeMs = 100.0;        // ms, for MANUAL
    int speed = 3;                      // FSC: 0 Slow, 1 Fast, 2 LTDAUTO, 3 Auto
    int averaging = 1;                  // MSC: 1..100
    int integration = 0;                // VSN: 0 single frame, 1 double frame
    int channel = 0;                    // MCH: 0..99
    int sensorType = 0;                 // SEN: 0..2
    int windowMode = 0;                 // STR item 40: 0 automatic sampling window, 1 manual (SWD code set)
    QString windowCode = "0";           // last SWD code
    QString identity = "KRN4-SIM-0001"; // RPR tag
    std::array<double, 8> gains{{1, 1, 1, 1, 1, 1, 1, 1}}; // RGM/RGU
    bool gainsValid = true;                                // false after CLR: RGM answers ER84
    QString firmwareOverride;                              // version text installed through the boot loader
};

// The simulated KRN-4: command interpreter, probe state, memory channels, serial boot loader,
// and the display it looks at. No I/O here: bytes go in, reply chunks come out, so tests drive
// it directly and the krn4-sim program wraps it around a pseudo-terminal.
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

    // One piece of output: bytes to write after a delay (ms from the moment they were produced).
    struct Chunk
    {
        QByteArray bytes;
        int delayMs = 0;
        QByteArray command; // the command this chunk answers (empty for boot-loader bytes)
    };

    enum class Mode
    {
        Command,
        BootSync,
        BootImage,
        BootCount,
        BootStart,
        BootBlocks
    };

    SimProbe();

    SimDisplay &display() { return m_display; }
    const SimDisplay &display() const { return m_display; }

    void setProfile(const Profile &p);
    const Profile &profile() const { return m_profile; }
    QString firmwareText() const;
    bool hasIntegration() const;
    bool hasSpectrum() const { return m_profile.type.contains("P60"); }

    ProbeSettings &settings() { return m_settings; }
    const ProbeSettings &settings() const { return m_settings; }
    MemoryChannel &channel(int i) { return m_channels[std::clamp(i, 0, 99)]; }
    const MemoryChannel &channel(int i) const { return m_channels[std::clamp(i, 0, 99)]; }
    bool rawMode() const { return m_raw; }
    bool factoryMode() const { return m_factory; }
    Mode mode() const { return m_mode; }

    // Seconds on the display's time axis; defaults to a monotonic clock from construction.
    void setClock(std::function<double()> clock) { m_clock = std::move(clock); }
    double now() const { return m_clock(); }
    // Relative noise (0.001 = 0.1 %) on every reading, plus 10·level cd/m² absolute; seeded.
    void setNoise(double level, unsigned long long seed);
    // When set, replies come after the time the measurement takes (window, 1 s for JEITA...).
    void setRealTime(bool on) { m_realTime = on; }
    // Where settings and channels are kept; loaded now when the file exists, saved on change.
    bool setStatePath(const QString &path, QString *error = nullptr);
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
    bool hasHistory() const { return !m_history.empty(); }

    // Serial line speed as the application set it (baud; 0 unknown). The boot loader uses the
    // switch from 38400 to 115200 as the end of the loader image when the image has no header.
    void setLineSpeed(int baud) { m_lineSpeed = baud; }

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

    // Readings as the probe computes them (after the channel matrix, with noise).
    Vec3 measureXYZ(double windowSeconds);
    double measurementWindowSeconds() const;
    std::vector<double> luminanceRecord(int n, int decimation);

    // Replies to single commands (also used by feed()).
    QByteArray reply(const QByteArray &line, int *delayMs = nullptr);

private:
    QByteArray replyMeasure(bool fast, int *delayMs);
    QByteArray replyJeita(int *delayMs);
    QByteArray replyXyz(int *delayMs);
    QByteArray replyStr(const QByteArray &arg);
    QByteArray replyCmr(const QByteArray &arg);
    QByteArray replyCmw(const QByteArray &arg);
    QByteArray replySampling(bool threeChannels, const QByteArray &arg, int *delayMs);
    QByteArray replyChannelTable() const;
    void feedBoot(char byte, std::vector<Chunk> &out);
    void finishBoot(std::vector<Chunk> &out);
    void refreshColor();
    Vec3 applyChannel(const Vec3 &raw) const;
    bool identityCorrection() const;
    void chromaticity(const Vec3 &xyz, double &x, double &y) const;
    Vec3 addNoise(const Vec3 &xyz);
    void changed(); // persist

    SimDisplay m_display;
    Profile m_profile;
    ProbeSettings m_settings;
    std::array<MemoryChannel, 100> m_channels;
    bool m_raw = false;
    bool m_factory = false;
    bool m_realTime = false;
    double m_noise = 0.0;
    std::mt19937_64 m_rng;
    std::normal_distribution<double> m_gauss{0.0, 1.0};
    QElapsedTimer m_started;
    std::function<double()> m_clock;
    std::function<bool(int &, int &, int &)> m_colorSource;
    QString m_statePath;

    std::vector<SimDisplay::Step> m_history;
    std::vector<Vec3> sampleRecord(int n, double dt);
    QByteArray m_line;
    double m_lastLineByte = 0.0;
    int m_receivedCount = 0;
    QStringList m_received; // ring of the last 200 commands

    Mode m_mode = Mode::Command;
    int m_lineSpeed = 0;
    int m_syncSpeed = 0;
    QByteArray m_imageHead;
    qint64 m_imageLength = -1; // from the image header, -1 when unknown
    qint64 m_imageCount = 0;
    int m_blockCount = 0;
    int m_blocksDone = 0;
    QByteArray m_block;
    QByteArray m_firmwareImage;
    double m_lastBootByte = 0.0;
    int m_announce = 0;
    bool m_dfuRequest = false;
};

} // namespace Krn4Sim
