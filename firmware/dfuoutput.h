#pragma once

#include <QString>
#include <QStringList>

// Reading the output of the DFU command-line tool that writes a "*.dfu" file into a probe in
// its USB DFU mode. Two tools are understood:
//  - dfu-util (Linux): progress bars "Erase   \t[====    ]  40%   49152 bytes" and
//    "Download\t[...] 100% ..." redrawn after a carriage return, "No DFU capable USB device
//    available" when nothing is attached, exit status 0 after a complete download;
//  - the microcontroller vendor's DfuSeCommand: "Erase Phase (40)", "Download Phase (40)",
//    "0 Device(s) found. Plug your DFU Device !" and "Upgrade successful !".
namespace DfuOutput {

enum class Tool
{
    DfuUtil,
    Vendor
};

enum class Phase
{
    None,
    Erase,
    Download
};

struct Reading
{
    Phase phase = Phase::None; // the phase of the latest progress line
    int percent = -1;          // its percentage, -1 when none was seen
    bool noDevice = false;     // the tool found no device: it will not get any further
};

// Which tool a program is, by its file name.
Tool toolFor(const QString &programPath);
// The argument list that writes dfuFile (never a shell string).
QStringList arguments(Tool tool, const QString &dfuFile);
// What the output so far says. The text is everything the tool printed, in order.
Reading read(Tool tool, const QString &output);
// The output as a terminal shows it: a bar redrawn after a carriage return keeps only its
// last drawing.
QString displayText(const QString &output);
// Whether the tool's complete output and its exit say the firmware was written.
bool succeeded(Tool tool, const QString &output, bool normalExit, int exitCode);
// The longest time the tool may run before it is stopped (a USB transfer hung).
constexpr int ToolTimeLimitMs = 180000;

} // namespace DfuOutput
