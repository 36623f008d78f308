#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The translation context of the tool's messages ("krn4").
class Krn4Text
{
    Q_DECLARE_TR_FUNCTIONS(krn4)
};

// The command line of krn4: what was asked for, checked before any port is opened.
namespace Krn4Cli {

// Exit status of the program. Scripts test these, so they never change meaning.
enum ExitCode
{
    ExitOk = 0,
    ExitFailed = 1,       // anything else that went wrong (a file that cannot be read, ...)
    ExitBadArguments = 2, // the command line is wrong
    ExitNoPort = 3,       // no port named or saved, or the port cannot be opened
    ExitNoAnswer = 4,     // the probe did not answer in time, or was lost during a series
    ExitProbeError = 5,   // the probe answered with an error status ("ER..")
    ExitReadBack = 6,     // a channel read back differently from what was written (restored)
    ExitInterrupted = 130 // Ctrl-C: what was measured is printed, then the program stops
};

struct Options
{
    QString command;   // ports, info, measure, gamut, channel, send
    QStringList words; // the command's own words ("list", "export", "7", the raw command, ...)
    QString port;      // empty: the port saved by the application
    int timeoutMs = 10000;
    bool simulate = false;
    bool help = false;
    bool version = false;
    // measure
    QString mode = QStringLiteral("xyLv");
    int count = 1;
    int intervalMs = 0;
    QString format = QStringLiteral("table");
    // gamut
    bool show = false;
};

// The measure modes by their command-line names, in the order of the help text.
QStringList modeNames();

// Reads the arguments (without the program name). False with a one-line reason when they are
// wrong; --help and --version need no command.
bool parseArguments(const QStringList &arguments, Options *out, QString *error);

// The complete --help text.
QString helpText();

} // namespace Krn4Cli
