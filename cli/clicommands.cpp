#include "clicommands.h"

#include "cliprobe.h"
#include "clirecords.h"

#include "flickertable.h"
#include "gamutcalc.h"
#include "ktdominantwave.h"
#include "ktports.h"
#include "ktsettings.h"
#include "probereply.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryFile>
#include <QTextStream>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>

namespace Krn4Cli {

namespace {

// A reply as it may stand in a one-line message: at most 80 characters, control characters
// (a line break among them) written as "\xNN".
QString printable(const QString &reply)
{
    QString out;
    for (const QChar c : reply.left(80))
        out += c.unicode() < 0x20 || c.unicode() == 0x7f
                   ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                   : QString(c);
    return out;
}

// Turns measurement replies into records and prints them, on its own thread, in the order the
// replies came. A reply that is an error or does not read stops it (see failure()).
class RecordPipe
{
public:
    RecordPipe(const Options &opt, FlickerLogic::Mode mode, const QString &command, QTextStream &out)
        : m_opt(opt), m_mode(mode), m_command(command), m_out(out),
          m_printer(mode, formatFromName(opt.format)), m_thread([this] { work(); })
    {
    }
    ~RecordPipe() { finish(); }

    void push(const QString &reply, qint64 roundTripMs, qint64 stampMs)
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_queue.push_back({reply, roundTripMs, stampMs});
        // A slow probe's reading is printed at once; a fast probe's readings are collected by
        // the thread every few milliseconds, which spares a wake-up per reading.
        if (roundTripMs >= 2 || m_opt.intervalMs > 0)
            m_wake.notify_one();
    }
    bool stopped() const { return m_stopped.load(); }
    // Prints what is queued, ends the thread and returns how many records were printed.
    int finish()
    {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_closed = true;
            m_wake.notify_one();
        }
        if (m_thread.joinable())
            m_thread.join();
        m_out.flush();
        return m_printer.count();
    }
    // ExitOk, or the exit status and message of the reply that stopped the pipe.
    int failure(QString *why) const
    {
        *why = m_why;
        return m_code;
    }

private:
    struct Reply
    {
        QString text;
        qint64 roundTripMs;
        qint64 stampMs;
    };

    void work()
    {
        QElapsedTimer sinceFlush;
        sinceFlush.start();
        bool unflushed = false;
        for (;;) {
            std::deque<Reply> batch;
            bool closed = false;
            {
                std::unique_lock<std::mutex> lock(m_lock);
                m_wake.wait_for(lock, std::chrono::milliseconds(5),
                                [this] { return m_closed || !m_queue.empty(); });
                batch.swap(m_queue);
                closed = m_closed;
            }
            bool slow = false;
            for (const Reply &r : batch) {
                MeasurementModel::Record record;
                if (!makeRecord(r, &record)) {
                    m_stopped.store(true);
                    return;
                }
                m_out << m_printer.add(record);
                unflushed = true;
                slow = slow || r.roundTripMs >= 2;
            }
            // Lines wait at most 20 ms for company: a fast probe's records go out in batches,
            // a slow probe's one by one.
            if (unflushed && (slow || m_opt.intervalMs > 0 || batch.empty() || sinceFlush.elapsed() >= 20)) {
                m_out.flush();
                unflushed = false;
                sinceFlush.restart();
            }
            if (closed && batch.empty())
                return;
        }
    }

    bool makeRecord(const Reply &r, MeasurementModel::Record *record)
    {
        using FlickerLogic::Mode;
        const QDateTime when = QDateTime::fromMSecsSinceEpoch(r.stampMs);
        const QString digits = ProbeReply::errorStatusDigits(r.text);
        const bool erReply = !r.text.contains(QLatin1String("OK")) && !digits.isEmpty();
        if (m_mode == Mode::Jeita) {
            const FlickerLogic::JeitaOutcome j = FlickerLogic::handleJadReply(r.text);
            if (j.ok && !j.value.isEmpty()) {
                *record = FlickerTable::jeitaRecord(j, j.errText, when);
                return true;
            }
        } else {
            const FlickerLogic::MesOutcome o =
                FlickerLogic::handleMesReply(r.text, m_mode, QString::number(r.roundTripMs));
            if (o.kind == FlickerLogic::MesOutcome::Flicker || o.kind == FlickerLogic::MesOutcome::Bright) {
                *record = o.kind == FlickerLogic::MesOutcome::Flicker
                              ? FlickerTable::fmaRecord(o.fma, QString(), when)
                              : FlickerTable::brightRecord(o.record, FlickerLogic::ModeSummary(), when);
                return true;
            }
        }
        m_code = ExitProbeError;
        m_why = erReply ? Krn4Text::tr("the probe answered \"%1\" with ER%2").arg(m_command, digits)
                        : Krn4Text::tr("unreadable reply to \"%1\": %2").arg(m_command, printable(r.text));
        return false;
    }

    const Options &m_opt;
    const FlickerLogic::Mode m_mode;
    const QString m_command;
    QTextStream &m_out;
    RecordPrinter m_printer;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Reply> m_queue;
    bool m_closed = false;
    std::atomic<bool> m_stopped{false};
    int m_code = ExitOk; // written by the thread before it ends, read after finish()
    QString m_why;
    std::thread m_thread; // last: starts when everything above exists
};

class Session
{
public:
    Session(const Options &o, QTextStream &out, QTextStream &err) : opt(o), out(out), err(err) {}

    int start();
    int info();
    int measure();
    int gamut();
    int channel();
    int send();

private:
    // Reports a failure on standard error, or only keeps its text while quiet (a step whose
    // failure a later message tells).
    int fail(int code, const QString &message)
    {
        lastError = message;
        if (quiet)
            return code;
        out.flush();
        err << "krn4: " << message << '\n';
        err.flush();
        return code;
    }
    // One command; on an "OK" reply data gets the text from character 5 and the result is
    // ExitOk, otherwise the failure is reported and its exit status returned.
    int ask(const QString &command, QString *data = nullptr, int timeoutMs = 0);
    int failedExchange(const ProbeLink::Result &r, const QString &command);
    int readChannels(QVector<Calibration::Channel> *table);

    const Options &opt;
    QTextStream &out;
    QTextStream &err;
    KtSimulatorProcess sim;
    ProbeLink link;
    bool quiet = false;
    QString lastError;
};

int Session::failedExchange(const ProbeLink::Result &r, const QString &command)
{
    if (r.status == ProbeLink::Result::Lost)
        return fail(ExitNoAnswer, Krn4Text::tr("the probe on %1 was lost").arg(link.portName()));
    if (r.status == ProbeLink::Result::TimedOut)
        return fail(ExitNoAnswer, Krn4Text::tr("no answer from the probe on %1 to \"%2\" within %3 ms")
                                      .arg(link.portName(), command)
                                      .arg(opt.timeoutMs));
    const QString digits = ProbeReply::errorStatusDigits(r.reply);
    if (!r.reply.contains(QLatin1String("OK")) && !digits.isEmpty())
        return fail(ExitProbeError, Krn4Text::tr("the probe answered \"%1\" with ER%2").arg(command, digits));
    return fail(ExitProbeError,
                Krn4Text::tr("unreadable reply to \"%1\": %2").arg(command, printable(r.reply)));
}

int Session::ask(const QString &command, QString *data, int timeoutMs)
{
    const ProbeLink::Result r = link.exchange(command, timeoutMs > 0 ? timeoutMs : opt.timeoutMs);
    if (!r.answered() || !ProbeReply::hasMeasureOk(r.reply))
        return failedExchange(r, command);
    if (data)
        *data = ProbeReply::dataFrom5(r.reply);
    return ExitOk;
}

int Session::start()
{
    QString port = opt.port;
    if (opt.simulate) {
        sim.setForwardOutput(false);
        if (!sim.start())
            return fail(ExitNoPort,
                        Krn4Text::tr("cannot start the simulated probe: %1").arg(sim.errorText()));
        port = sim.portName();
    } else if (port.isEmpty()) {
        port = KtPlatform::portNameFromStored(KtSettings::readSysConfig().dvxComText);
        if (port.isEmpty())
            return fail(
                ExitNoPort,
                Krn4Text::tr("no port given and none saved (use --port NAME; krn4 ports lists them)"));
    }
    QString error;
    if (!link.open(port, &error))
        return fail(ExitNoPort, error);
    if (opt.command == QLatin1String("info"))
        return info();
    if (opt.command == QLatin1String("measure"))
        return measure();
    if (opt.command == QLatin1String("gamut"))
        return gamut();
    if (opt.command == QLatin1String("channel"))
        return channel();
    return send();
}

// ---- info -------------------------------------------------------------------------------------

int Session::info()
{
    QString version, type, identity, channel, settings, display;
    for (const auto &step :
         {std::make_pair(QStringLiteral("VER"), &version), std::make_pair(QStringLiteral("TYP"), &type),
          std::make_pair(QStringLiteral("RPR"), &identity), std::make_pair(QStringLiteral("STR,3"), &channel),
          std::make_pair(QStringLiteral("STR,0"), &settings),
          std::make_pair(QStringLiteral("STR,5"), &display)}) {
        if (const int code = ask(step.first, step.second))
            return code;
    }
    const QStringList syncNames{QStringLiteral("NTSC"), QStringLiteral("PAL"), QStringLiteral("EXT"),
                                QStringLiteral("UNIV"), QStringLiteral("INT"), QStringLiteral("MANUAL")};
    const QStringList speedNames{QStringLiteral("Slow"), QStringLiteral("Fast"), QStringLiteral("LTDAUTO"),
                                 QStringLiteral("Auto")};
    const QStringList s = settings.split(QLatin1Char(','));
    const int sync = s.value(0).toInt();
    out << "firmware: " << ProbeReply::afterLastComma(QStringLiteral(",") + version) << '\n';
    out << "type: " << ProbeReply::afterLastComma(QStringLiteral(",") + type) << '\n';
    out << "serial: " << identity << '\n';
    out << "channel: " << QStringLiteral("%1").arg(channel.toInt(), 2, 10, QLatin1Char('0')) << '\n';
    out << "display mode: " << display << '\n';
    out << "sync mode: " << syncNames.value(sync, s.value(0)) << '\n';
    // Values that only some settings or profiles have: their absence is no failure.
    const auto optional = [this](const QString &command) {
        const ProbeLink::Result r = link.exchange(command, opt.timeoutMs);
        return r.answered() && ProbeReply::isOk00(r.reply) ? ProbeReply::dataFrom5(r.reply) : QString();
    };
    const QString frequency = sync == 4 ? optional(QStringLiteral("STR,28")) : QString();
    if (!frequency.isEmpty())
        out << "sync frequency: " << frequency.chopped(qMin(2, frequency.size())) << " Hz\n";
    const QString manual = sync == 5 ? optional(QStringLiteral("STR,17")) : QString();
    if (!manual.isEmpty())
        out << "manual time: " << manual.chopped(qMin(2, manual.size())) << " ms\n";
    out << "speed: " << speedNames.value(s.value(1).toInt(), s.value(1)) << '\n';
    out << "averaging: " << s.value(2) << '\n';
    const QString integration = optional(QStringLiteral("STR,31"));
    if (!integration.isEmpty())
        out << "integration: " << (integration == QLatin1String("1") ? "double frame" : "single frame")
            << '\n';
    out.flush();
    return ExitOk;
}

// ---- measure ----------------------------------------------------------------------------------

int Session::measure()
{
    using FlickerLogic::Mode;
    const Mode mode = modeFromName(opt.mode);
    if (const int code = ask(QStringLiteral("MDS,") + FlickerLogic::modeCode(mode)))
        return code;
    if (mode == Mode::DominantWave) {
        // The Measure tab's white point: setting.ini, or the value the file is created with.
        double x = KtSettings::readSettingDouble(QString::fromLatin1(KtSettings::Key::WhitePointX));
        double y = KtSettings::readSettingDouble(QString::fromLatin1(KtSettings::Key::WhitePointY));
        if (!(x > 0.0) || !(y > 0.0))
            x = y = 0.3333;
        KtDominantWave::setWhitePoint(x, y);
    }
    // The commands of the tab's Fast speed and of its series: "MES,1" for colour, "MES" for FMA.
    const QString command = mode == Mode::Jeita ? QStringLiteral("JAD")
                            : mode == Mode::Fma ? QStringLiteral("MES")
                                                : QStringLiteral("MES,1");
    // The probe is kept busy while the readings are turned into records and printed: the
    // exchanges run here, the records on a second thread, in arrival order.
    RecordPipe pipe(opt, mode, command, out);
    Interrupt *interrupt = Interrupt::instance();
    interrupt->install(); // only here: elsewhere Ctrl-C ends the program at once, a prompt too
    int exchangeCode = ExitOk;
    QString exchangeText;
    for (int n = 0; n < opt.count && !pipe.stopped(); ++n) {
        if (n > 0 && !interrupt->pause(opt.intervalMs))
            break;
        if (interrupt->requested())
            break;
        const ProbeLink::Result r = link.exchange(command, opt.timeoutMs);
        if (interrupt->requested() && !r.answered())
            break;
        if (!r.answered()) {
            exchangeCode = ExitNoAnswer;
            exchangeText = r.status == ProbeLink::Result::Lost
                               ? Krn4Text::tr("the probe on %1 was lost").arg(link.portName())
                               : Krn4Text::tr("no answer from the probe on %1 to \"%2\" within %3 ms")
                                     .arg(link.portName(), command)
                                     .arg(opt.timeoutMs);
            break;
        }
        pipe.push(r.reply, r.roundTripMs, QDateTime::currentMSecsSinceEpoch());
    }
    const int printed = pipe.finish();
    QString why;
    int code = pipe.failure(&why);
    if (code == ExitOk) {
        code = exchangeCode;
        why = exchangeText;
    }
    if (code == ExitOk && interrupt->requested()) {
        code = ExitInterrupted;
        why = Krn4Text::tr("interrupted");
    }
    if (code == ExitOk)
        return ExitOk;
    return fail(code, Krn4Text::tr("%1 (%2 of %3 readings printed)").arg(why).arg(printed).arg(opt.count));
}

// ---- gamut ------------------------------------------------------------------------------------

int Session::gamut()
{
    struct Primary
    {
        const char *name;
        const char *rgb;
    };
    const Primary primaries[3] = {{QT_TRANSLATE_NOOP("krn4", "red"), "255,0,0"},
                                  {QT_TRANSLATE_NOOP("krn4", "green"), "0,255,0"},
                                  {QT_TRANSLATE_NOOP("krn4", "blue"), "0,0,255"}};
    const bool show = opt.show || opt.simulate;
    const QString control = KtPlatform::devicePath(link.portName()) + QStringLiteral(".ctl");
    if (show && !KtPlatform::isVirtualPort(link.portName()))
        return fail(ExitBadArguments, Krn4Text::tr("--show needs a simulated probe (krn4 ports lists them)"));
    // The colour gamut page's reading: xyLv display mode, two readings per primary, averaged.
    if (const int code = ask(QStringLiteral("MDS,0")))
        return code;
    QTextStream in(stdin);
    float x[3] = {}, y[3] = {};
    for (int i = 0; i < 3; ++i) {
        const QString rgb = QString::fromLatin1(primaries[i].rgb);
        if (show) {
            if (!KtPlatform::simulatorControl(control, QStringLiteral("show ") + rgb, opt.timeoutMs)
                     .startsWith(QLatin1String("OK")))
                return fail(ExitFailed, Krn4Text::tr("the simulated probe did not show %1").arg(rgb));
        } else {
            err << Krn4Text::tr("Show %1 (%2) on the display and press Enter...")
                       .arg(Krn4Text::tr(primaries[i].name), rgb)
                << '\n';
            err.flush();
            if (in.readLine().isNull())
                return fail(ExitFailed, Krn4Text::tr("no answer on standard input; gamut not measured"));
        }
        double sum[3] = {};
        for (int n = 0; n < 2; ++n) {
            const ProbeLink::Result r = link.exchange(QStringLiteral("MES"), opt.timeoutMs);
            ReplyReader::XyLv c;
            if (!r.answered() || ProbeReply::hasError(r.reply))
                return failedExchange(r, QStringLiteral("MES"));
            if (!ReplyReader::readPlain(r.reply, &c) &&
                !ReplyReader::readPlain(r.reply, &c, QLatin1Char(',')))
                return fail(ExitProbeError, Krn4Text::tr("unreadable reply to \"%1\": %2")
                                                .arg(QStringLiteral("MES"), printable(r.reply)));
            sum[0] += c.x.value;
            sum[1] += c.y.value;
            sum[2] += c.lv.value;
        }
        // As the page does: the fields show 6 significant digits, the area is computed from them.
        const QString xs = QString::number(sum[0] / 2, 'g', 6), ys = QString::number(sum[1] / 2, 'g', 6);
        x[i] = xs.toFloat();
        y[i] = ys.toFloat();
        out << QStringLiteral("%1 x=%2 y=%3 Lv=%4")
                   .arg(QString::fromLatin1(primaries[i].name), -5)
                   .arg(xs, ys, QString::number(sum[2] / 2, 'g', 6))
            << '\n';
        out.flush();
    }
    if (show)
        KtPlatform::simulatorControl(control, QStringLiteral("show 255,255,255"), opt.timeoutMs);
    const QString path = GamutCalc::iniPath();
    GamutCalc::References refs;
    if (GamutCalc::installDefaultIni(path)) {
        refs = GamutCalc::readReferences(path);
    } else {
        // A read-only install without the file: the shipped references.
        QTemporaryFile file;
        if (!file.open() || file.write(GamutCalc::defaultIniText()) < 0 || !file.flush())
            return fail(ExitFailed, Krn4Text::tr("cannot read the reference gamuts %1").arg(path));
        refs = GamutCalc::readReferences(file.fileName());
    }
    const double area = GamutCalc::triangleArea(x[0], y[0], x[1], y[1], x[2], y[2]);
    for (const GamutCalc::Reference *ref : {&refs.ntsc, &refs.srgb, &refs.dcip3, &refs.bt2020})
        out << QStringLiteral("%1 %2").arg(ref->name, -7).arg(GamutCalc::ratioText(area, ref->gamut)) << '\n';
    out.flush();
    return ExitOk;
}

// ---- memory channels --------------------------------------------------------------------------

int Session::readChannels(QVector<Calibration::Channel> *table)
{
    const ProbeLink::Result r = link.exchange(QStringLiteral("CMR,13"), qMax(opt.timeoutMs, 10000));
    if (!r.answered() || !ProbeReply::isOk00(r.reply))
        return failedExchange(r, QStringLiteral("CMR,13"));
    QVector<ReplyReader::ChannelRecord> records;
    if (!ReplyReader::readChannelTable(r.reply, &records))
        return fail(ExitProbeError, Krn4Text::tr("unreadable channel table"));
    table->clear();
    for (const ReplyReader::ChannelRecord &c : records)
        table->append(Calibration::channelFromRecord(c));
    return ExitOk;
}

int Session::channel()
{
    const QString sub = opt.words.first();
    const int number = opt.words.value(1).toInt();
    QVector<Calibration::Channel> table;
    if (sub != QLatin1String("import")) {
        if (const int code = readChannels(&table))
            return code;
        if (sub == QLatin1String("export")) {
            out << QString::fromUtf8(Calibration::channelDumpText(table.at(number)));
        } else {
            for (const Calibration::Channel &c : table)
                out << channelListLine(c) << '\n';
        }
        out.flush();
        return ExitOk;
    }
    QFile file(opt.words.at(2));
    if (!file.open(QIODevice::ReadOnly))
        return fail(ExitFailed, Krn4Text::tr("cannot read %1: %2").arg(file.fileName(), file.errorString()));
    Calibration::Channel wanted;
    QString fileProblem;
    if (!readChannelFile(QString::fromUtf8(file.readAll()), &wanted, &fileProblem))
        return fail(ExitFailed, Krn4Text::tr("%1 is no channel file: %2").arg(file.fileName(), fileProblem));
    wanted.channel = number;

    // As the calibration pages keep the probe safe: remember what is there, write, read back and
    // compare; on any failure or difference the old contents are written back whole.
    QString active;
    if (const int code = ask(QStringLiteral("STR,3"), &active))
        return code;
    if (const int code = readChannels(&table))
        return code;
    const QString channelText = QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
    quiet = true; // one message at the end tells what happened
    int code = ask(QStringLiteral("MCH,") + channelText);
    QString why = lastError;
    Calibration::WriteOutcome o;
    o.result = Calibration::WriteOutcome::RestoreFailed; // the channel could not be selected
    if (code == ExitOk) {
        // The first exchange that fails tells why; those of the restore after it stay quiet.
        const auto noted = [&](int exchange) {
            if (exchange != ExitOk && code == ExitOk) {
                code = exchange;
                why = lastError;
            }
            return exchange == ExitOk;
        };
        Calibration::ChannelLink channelLink;
        channelLink.write = [&](int param, const QString &value) {
            return noted(ask(QStringLiteral("CMW,%1,%2").arg(param).arg(value)));
        };
        channelLink.read = [&](int param, QString *value) {
            return noted(ask(QStringLiteral("CMR,%1").arg(param), value));
        };
        o = Calibration::writeWholeChannel(channelLink, Calibration::channelParams(wanted),
                                           Calibration::channelParams(table.at(number)));
        if (!o.ok() && (o.readBackDiffers || code == ExitOk)) {
            code = ExitReadBack;
            why = Krn4Text::tr("it read back differently");
        }
    }
    ask(QStringLiteral("MCH,%1").arg(active.toInt(), 2, 10, QLatin1Char('0')));
    quiet = false;
    if (o.ok()) {
        out << Krn4Text::tr("channel %1 written and verified").arg(channelText) << '\n';
        out.flush();
        return ExitOk;
    }
    const QString state = o.result == Calibration::WriteOutcome::Restored
                              ? Krn4Text::tr("its previous contents were restored")
                              : Krn4Text::tr("its previous contents could NOT be restored");
    return fail(code,
                Krn4Text::tr("channel %1 was not written correctly (%2); %3").arg(channelText, why, state));
}

// ---- send -------------------------------------------------------------------------------------

int Session::send()
{
    const QString command = opt.words.first();
    const ProbeLink::Result r = link.exchange(command, opt.timeoutMs);
    if (!r.answered())
        return failedExchange(r, command);
    out << r.reply << '\n';
    out.flush();
    if (!r.reply.contains(QLatin1String("OK"))) // an error status, or no status at all
        return failedExchange(r, command);
    return ExitOk;
}

} // namespace

int run(const Options &options, QTextStream &out, QTextStream &err)
{
    if (options.command == QLatin1String("ports")) {
        for (const QString &name : KtPlatform::availablePorts()) {
            // Fixed words, not translated: scripts read them.
            out << name << '\t' << (KtPlatform::isVirtualPort(name) ? "simulated" : "serial") << '\t'
                << KtPlatform::devicePath(name) << '\n';
        }
        out.flush();
        return ExitOk;
    }
    Session session(options, out, err);
    return session.start();
}

} // namespace Krn4Cli
