#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <limits>

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
    double whiteLv = std::numeric_limits<double>::quiet_NaN(); // cd/m²
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

// Everything the state file keeps.
struct ProbeState
{
    ProbeState() { channels[0].name = "Factory"; }
    ProbeSettings settings;
    std::array<MemoryChannel, 100> channels;
};

// The limits the probe's commands enforce; the state file is held to the same ones, so a
// loaded state is one the probe could have reached through its commands.
namespace Limits {
constexpr double kSyncMinHz = 10.0, kSyncMaxHz = 300.0;      // SCS,4,f and MVS
constexpr double kManualMinMs = 1.0, kManualMaxMs = 10000.0; // SCS,5,t
constexpr int kAveragingMax = 100;                           // MSC
constexpr int kLabelMax = 32;                                // names, dates, identity
bool isDisplayMode(int mode);                                // MDS
bool isWindowCode(const QByteArray &code);                   // SWD
bool isLabel(const QByteArray &text);                        // no ";" or line break, at most 32
} // namespace Limits

// The state file is JSON: {"settings": {...}, "channels": [{...} x 100]}.
// Reads a state. A file that is not a JSON object fails with the reason in `error`. A value
// that is missing keeps its default; a value of the wrong type or out of the probe's range is
// refused (the default stays) and described in `warnings`, one line each.
bool parseState(const QByteArray &json, ProbeState &state, QString *error, QStringList *warnings);
QByteArray serializeState(const ProbeState &state);

// The file itself: replaced atomically on save, so a crash never leaves half a state.
bool loadStateFile(const QString &path, ProbeState &state, QString *error, QStringList *warnings);
bool saveStateFile(const QString &path, const ProbeState &state, QString *error);

} // namespace Krn4Sim
