#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace Krn4Sim {

class SimProbe;

// Faults the program injects into the replies it writes. A count of -1 means "until cleared".
struct SimFaults
{
    int latencyMs = 0;    // every reply waits this long
    int noReply = 0;      // replies swallowed
    int garbage = 0;      // replies replaced by bytes that carry no status word
    int split = 0;        // replies written in pieces with pauses between them
    int doubled = 0;      // replies followed by a second copy in the same write
    int measureError = 0; // measurement replies turned into an error status
    int errorCode = 22;   // 10, 15, 20, 22 or 23: the status of the error replies
    int okStatus = 0;     // measurement replies carrying "OK0n" instead of "OK00"
    int okStatusCode = 5; // n, 1..7
    int splitPieceBytes = 4;
    int splitPauseMs = 15;

    // Whether a counted fault applies to the next reply; counts it down when it does.
    static bool take(int &counter);
    void clear();
    QString describe() const;
};

// The control channel's commands that concern the probe and its display (everything except
// unplug/replug/screen, which the program handles). Returns the one-line reply ("OK ..." or
// "ER <reason>"), or an empty string when the command is not one of these.
QString applyControl(const QString &line, SimProbe &probe, SimFaults &faults);

// The calibration commands of the control channel ("sensor ...", "refuse ...", "mute ..."; also
// clears the command faults on "fault clear" and then returns empty so the caller goes on).
QString applyCalibrationControl(const QStringList &words, SimProbe &probe);
// The sensor error krn4-sim starts with, and "D11,...,D33" or "identity" read into a matrix.
const std::array<double, 9> &typicalSensorError();
bool parseSensorError(const QString &text, std::array<double, 9> *d);

// Parses "R,G,B" (three integers 0..255).
bool parseRgb(const QString &text, int &r, int &g, int &b);

// The help text of the control channel, one command per line.
QString controlHelp();

} // namespace Krn4Sim
