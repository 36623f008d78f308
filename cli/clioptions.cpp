#include "clioptions.h"

#include <QCoreApplication>

namespace Krn4Cli {

namespace {

const QStringList Commands{QStringLiteral("ports"), QStringLiteral("info"),    QStringLiteral("measure"),
                           QStringLiteral("gamut"), QStringLiteral("channel"), QStringLiteral("send")};

bool readInt(const QString &text, int minimum, int *out)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < minimum)
        return false;
    *out = v;
    return true;
}

// The words each command takes: how many, and for channel which sub-command.
bool checkWords(const Options &o, QString *error)
{
    const int n = o.words.size();
    if (o.command == QLatin1String("ports") || o.command == QLatin1String("info") ||
        o.command == QLatin1String("measure") || o.command == QLatin1String("gamut")) {
        if (n > 0) {
            *error = Krn4Text::tr("unexpected argument \"%1\" for %2").arg(o.words.first(), o.command);
            return false;
        }
        return true;
    }
    if (o.command == QLatin1String("send")) {
        if (n != 1 || o.words.first().trimmed().isEmpty()) {
            *error = Krn4Text::tr("send needs exactly one command, e.g. krn4 send \"VER\"");
            return false;
        }
        return true;
    }
    // channel list | export N | import N FILE
    const QString sub = o.words.value(0);
    const int expected = sub == QLatin1String("list")     ? 1
                         : sub == QLatin1String("export") ? 2
                         : sub == QLatin1String("import") ? 3
                                                          : -1;
    if (expected < 0 || n != expected) {
        *error = Krn4Text::tr("channel needs list, export N or import N FILE");
        return false;
    }
    if (n >= 2) {
        int channel = -1;
        const int lowest = sub == QLatin1String("import") ? 1 : 0;
        if (!readInt(o.words.at(1), lowest, &channel) || channel > 99) {
            *error = sub == QLatin1String("import")
                         ? Krn4Text::tr("channel to import must be 1 to 99 (channel 00 is the "
                                        "factory channel)")
                         : Krn4Text::tr("channel must be 0 to 99");
            return false;
        }
    }
    return true;
}

} // namespace

QStringList modeNames()
{
    return {QStringLiteral("xyLv"),     QStringLiteral("XYZ"), QStringLiteral("tcp"),
            QStringLiteral("dominant"), QStringLiteral("fma"), QStringLiteral("jeita")};
}

bool parseArguments(const QStringList &arguments, Options *out, QString *error)
{
    Options o;
    QStringList seen; // options given, to refuse the ones that do not belong to the command
    for (int i = 0; i < arguments.size(); ++i) {
        QString arg = arguments.at(i);
        if (!arg.startsWith(QLatin1String("--")) || arg == QLatin1String("--")) {
            if (arg == QLatin1String("--")) { // everything after it is a word ("send -- --X")
                for (++i; i < arguments.size(); ++i) {
                    if (o.command.isEmpty())
                        o.command = arguments.at(i);
                    else
                        o.words << arguments.at(i);
                }
                break;
            }
            if (o.command.isEmpty())
                o.command = arg;
            else
                o.words << arg;
            continue;
        }
        QString value;
        bool hasValue = false;
        const int eq = arg.indexOf(QLatin1Char('='));
        if (eq > 0) {
            value = arg.mid(eq + 1);
            arg.truncate(eq);
            hasValue = true;
        }
        const auto flag = [&](bool *target) {
            if (hasValue) {
                *error = Krn4Text::tr("option %1 takes no value").arg(arg);
                return false;
            }
            *target = true;
            return true;
        };
        const auto take = [&]() {
            if (!hasValue) {
                if (i + 1 >= arguments.size()) {
                    *error = Krn4Text::tr("option %1 needs a value").arg(arg);
                    return false;
                }
                value = arguments.at(++i);
            }
            return true;
        };
        seen << arg;
        if (arg == QLatin1String("--help")) {
            if (!flag(&o.help))
                return false;
        } else if (arg == QLatin1String("--version")) {
            if (!flag(&o.version))
                return false;
        } else if (arg == QLatin1String("--simulate")) {
            if (!flag(&o.simulate))
                return false;
        } else if (arg == QLatin1String("--show")) {
            if (!flag(&o.show))
                return false;
        } else if (arg == QLatin1String("--port")) {
            if (!take())
                return false;
            if (value.isEmpty()) {
                *error = Krn4Text::tr("--port needs a port name");
                return false;
            }
            o.port = value;
        } else if (arg == QLatin1String("--timeout") || arg == QLatin1String("--count") ||
                   arg == QLatin1String("--interval")) {
            if (!take())
                return false;
            int *target = arg == QLatin1String("--timeout") ? &o.timeoutMs
                          : arg == QLatin1String("--count") ? &o.count
                                                            : &o.intervalMs;
            const int minimum = arg == QLatin1String("--interval") ? 0 : 1;
            if (!readInt(value, minimum, target)) {
                *error = Krn4Text::tr("%1 needs a whole number of at least %2, not \"%3\"")
                             .arg(arg)
                             .arg(minimum)
                             .arg(value);
                return false;
            }
        } else if (arg == QLatin1String("--mode")) {
            if (!take())
                return false;
            if (!modeNames().contains(value)) {
                *error = Krn4Text::tr("unknown mode \"%1\" (use %2)")
                             .arg(value, modeNames().join(QLatin1Char('|')));
                return false;
            }
            o.mode = value;
        } else if (arg == QLatin1String("--format")) {
            if (!take())
                return false;
            if (value != QLatin1String("csv") && value != QLatin1String("json") &&
                value != QLatin1String("table")) {
                *error = Krn4Text::tr("unknown format \"%1\" (use csv|json|table)").arg(value);
                return false;
            }
            o.format = value;
        } else {
            *error = Krn4Text::tr("unknown option %1").arg(arg);
            return false;
        }
    }
    if (o.help || o.version) {
        *out = o;
        return true;
    }
    if (o.command.isEmpty()) {
        *error = Krn4Text::tr("no command given (try krn4 --help)");
        return false;
    }
    if (!Commands.contains(o.command)) {
        *error = Krn4Text::tr("unknown command \"%1\" (try krn4 --help)").arg(o.command);
        return false;
    }
    if (o.simulate && !o.port.isEmpty()) {
        *error = Krn4Text::tr("--port and --simulate exclude each other");
        return false;
    }
    for (const QString &s : seen) {
        const bool measureOnly =
            s == QLatin1String("--mode") || s == QLatin1String("--count") || s == QLatin1String("--interval");
        if ((measureOnly && o.command != QLatin1String("measure")) ||
            (s == QLatin1String("--format") && o.command != QLatin1String("measure")) ||
            (s == QLatin1String("--show") && o.command != QLatin1String("gamut"))) {
            *error = Krn4Text::tr("option %1 does not apply to %2").arg(s, o.command);
            return false;
        }
    }
    if (!checkWords(o, error))
        return false;
    *out = o;
    return true;
}

QString helpText()
{
    return Krn4Text::tr(R"(Usage: krn4 [options] COMMAND [arguments]

Talks to a KRN-4 colour probe on a serial port, without a window: the same
link, reply reader and colorimetry as ktTintora.

Commands:
  ports                     List the serial ports and the simulated probes' ports.
  info                      Print the probe's firmware version, type, serial
                            (identity), current memory channel and measurement
                            settings.
  measure                   Measure and print one record per reading as the
                            readings arrive.
      --mode MODE           xyLv (default), XYZ, tcp (Tcp and duv), dominant
                            (dominant wavelength and purity, white point from
                            setting.ini), fma (flicker %), jeita (flicker dB).
      --count N             Number of readings (default 1).
      --interval MS         Pause before each reading after the first
                            (default 0).
      --format FORMAT       table (default; aligned columns), json (one JSON
                            object per line), csv (the columns and number
                            formats of ktTintora's Measure tab export).
                            Every format carries a time stamp: json and table
                            with milliseconds, csv as Date and Time.
  gamut                     Measure the red, green and blue primaries and print
                            the gamut area ratios against the references in
                            sysconfig/ColorGamut.ini (NTSC, sRGB, DCI-P3, BT2020).
                            You are asked to show each primary and press Enter.
      --show                On a simulated probe: show each primary through its
                            control channel instead of asking (implied by
                            --simulate).
  channel list              List the memory channels 00 to 99.
  channel export N          Print channel N as a .MemoryCHInfo file (the format
                            of the channel overview's "Save as").
  channel import N FILE     Write channel N (1 to 99; never the factory channel
                            00) from a .MemoryCHInfo file, read it back and
                            compare; on any difference the old contents are
                            written back.
  send "COMMAND"            Send one command (without the carriage return) and
                            print the reply.

Options:
  --port NAME               Port to use (a name from "krn4 ports" or a device
                            path). Default: the port saved by ktTintora.
  --timeout MS              Reply time-out of each command (default 10000).
  --simulate                Start a simulated probe (krn4-sim) for this run
                            and use its port.
  --help                    Show this text.
  --version                 Show the program version.

Exit status:
  0    success
  1    other failure (a file that cannot be read or written, a gamut that
       cannot be computed)
  2    bad arguments
  3    no port: none named or saved, or it cannot be opened
  4    no probe answers: a command timed out, or the probe was lost during a
       series (the readings taken so far are printed)
  5    the probe answered with an error status (ER..) or with a reply that
       does not read
  6    channel import: the read-back differed; the old contents were restored
  130  measure interrupted (Ctrl-C): the readings taken so far are printed
Each failure prints one line on standard error.

Examples:
  krn4 measure --count 100 --interval 500 --format csv > series.csv
  krn4 --port ttyUSB0 measure --mode fma --format json
  krn4 --simulate gamut
)");
}

} // namespace Krn4Cli
