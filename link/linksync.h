#pragma once

#include <QByteArray>

#include <functional>

class QSerialPort;

// Getting back in step with the probe after a time-out.
//
// The probe answers one command at a time, in the order the commands came, but it may answer
// late: a reply that arrives after its request timed out would otherwise be taken as the
// answer of the next command. So a time-out leaves the line "unsynchronised", and the next
// command on it is preceded by a resynchronisation: discard input until the line has been
// quiet for QuietMs (at most QuietLimitMs), send Query, and discard every reply up to the
// query's own answer (at most AnswerTimeoutMs). Only then is the command written. A resync
// that does not finish in time fails the command the way a time-out does, and the line stays
// unsynchronised. The rule applies to the line protocol only (commands ended by "\r", replies
// ended by "\r"); the raw bytes of the boot loader neither mark nor resynchronise the line.
//
// The query is "VID,1": it only reads the firmware version, so it changes no state, is answered
// at once (no measuring window), and its answer is the only reply that carries the mnemonic
// "VID" as a field ("OK00,VID,<version>"), so neither a measurement nor any other stale reply
// can pass for it. For the same reason a query answer that turns up while another command is
// waiting (the late answer of an earlier, failed resync) is skipped, never taken as that
// command's reply.
namespace LinkSync {

inline constexpr char Query[] = "VID,1\r";
inline constexpr int QuietMs = 100;
inline constexpr int QuietLimitMs = 1500;
inline constexpr int AnswerTimeoutMs = 5000;

// A reply line (without its "\r") that answers Query.
bool isQueryAnswer(const QByteArray &line);
// True for an exchange of the line protocol, which takes part in the rule above.
bool isLineCommand(const QByteArray &data, int terminator);
// True when a reply line must not be taken as the answer of command data (see above).
bool skipAsAnswer(const QByteArray &line, const QByteArray &data);

// Per-port state, kept on the QSerialPort object so that every reader on it shares it.
bool isSynchronised(const QSerialPort *port);
void setSynchronised(QSerialPort *port, bool synchronised);

// Blocking resynchronisation on port (open). idle runs between 10 ms waits (the GUI thread
// processes its events there); stop, when it returns true, abandons the attempt. True once
// the query's answer arrived within the bounds above.
bool resync(QSerialPort &port, const std::function<void()> &idle = {},
            const std::function<bool()> &stop = {});

} // namespace LinkSync
