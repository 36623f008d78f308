// The probe's command set: one handler per command and the table that maps each mnemonic to
// its handler. Replies and their layouts are documented in docs/protocol.md.

#include "simflicker.h"
#include "simprobe.h"

#include <algorithm>
#include <cmath>

namespace Krn4Sim {

namespace {

// Chromaticity as the four digits of 1/10000 units at fixed positions of the MES reply.
QByteArray digits4(double v)
{
    // Clamped as a double: a reading through an extreme channel matrix may be anything,
    // NaN included, and only 0..9999 fit the field.
    const double scaled = std::round(v * 10000.0);
    const int n = scaled >= 0.0 ? int(std::min(scaled, 9999.0)) : 0;
    return QByteArray::number(n).rightJustified(4, '0');
}

// A number in exactly `width` characters with as many decimals as fit ("200.00", "0.1234").
QByteArray fixedWidth(double v, int width)
{
    v = std::max(0.0, v);
    for (int decimals = width - 2; decimals >= 0; --decimals) {
        QByteArray s = QByteArray::number(v, 'f', decimals);
        if (decimals == 0 && s.size() < width)
            s += '.';
        if (s.size() == width)
            return s;
        if (s.size() < width)
            return s.rightJustified(width, '0');
    }
    return QByteArray(width, '9'); // over range; the caller reports ER20 before this
}

QByteArray num(double v, int decimals)
{
    return QByteArray::number(v, 'f', decimals);
}

QByteArray whiteText(double v)
{
    return std::isfinite(v) ? QByteArray::number(v, 'g', 8) : QByteArray("nan");
}

bool parseInt(const QByteArray &text, int &value)
{
    bool ok = false;
    value = text.trimmed().toInt(&ok); // refuses what does not fit an int
    return ok;
}

bool parseDouble(const QByteArray &text, double &value)
{
    bool ok = false;
    value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value);
}

// The time a measurement over `seconds` takes, in ms, plus the probe's 10 ms of overhead.
// Bounded as a double before the conversion (an hour is far beyond any window the settings
// allow), so that no window can overflow the int.
int measuringDelayMs(double seconds)
{
    const double ms = std::ceil(seconds * 1000.0);
    return (ms >= 0.0 ? int(std::min(ms, 3.6e6)) : 0) + 10;
}

const QByteArray kOk = "OK00";
const QByteArray kBadArgument = "ER10";
const QByteArray kOverRange = "ER20,P1,100;";

} // namespace

// The parts of a command line after the three-letter mnemonic.
struct Request
{
    QByteArray arg; // after "," (or " "); untrimmed
    bool hasArg = false;
    int delayMs = 0; // how long the probe takes for the reply
};

class SimCommands
{
public:
    using Handler = QByteArray (*)(SimProbe &, Request &);
    static Handler find(const QByteArray &name);

private:
    // Measurements
    static QByteArray mes(SimProbe &p, Request &rq);
    static QByteArray xyz(SimProbe &p, Request &rq);
    static QByteArray jad(SimProbe &p, Request &rq);
    static QByteArray jaa(SimProbe &p, Request &rq) { return sampling(p, rq, false); }
    static QByteArray jwa(SimProbe &p, Request &rq) { return sampling(p, rq, true); }
    static QByteArray rsd(SimProbe &p, Request &rq);
    static QByteArray zrc(SimProbe &p, Request &rq);
    static QByteArray measure(SimProbe &p, Request &rq, bool fast);
    static QByteArray fma(SimProbe &p, Request &rq);
    static QByteArray sampling(SimProbe &p, Request &rq, bool threeChannels);
    // Identity and profile
    static QByteArray ver(SimProbe &p, Request &rq);
    static QByteArray vid(SimProbe &p, Request &rq);
    static QByteArray typ(SimProbe &p, Request &rq);
    static QByteArray rpr(SimProbe &p, Request &rq);
    // Settings
    static QByteArray mds(SimProbe &p, Request &rq);
    static QByteArray mch(SimProbe &p, Request &rq);
    static QByteArray str(SimProbe &p, Request &rq);
    static QByteArray scs(SimProbe &p, Request &rq);
    static QByteArray fsc(SimProbe &p, Request &rq);
    static QByteArray fcs(SimProbe &p, Request &rq);
    static QByteArray msc(SimProbe &p, Request &rq);
    static QByteArray mvs(SimProbe &p, Request &rq);
    static QByteArray vsn(SimProbe &p, Request &rq);
    static QByteArray ini(SimProbe &p, Request &rq);
    static QByteArray raw(SimProbe &p, Request &rq);
    static QByteArray swd(SimProbe &p, Request &rq);
    static QByteArray sen(SimProbe &p, Request &rq);
    // Memory channels and gains
    static QByteArray cmr(SimProbe &p, Request &rq);
    static QByteArray cmw(SimProbe &p, Request &rq);
    static QByteArray clr(SimProbe &p, Request &rq);
    static QByteArray channelTable(const SimProbe &p);
    static QByteArray rgm(SimProbe &p, Request &rq);
    static QByteArray rgu(SimProbe &p, Request &rq);
    static QByteArray rge(SimProbe &p, Request &rq);
    // Firmware
    static QByteArray udp(SimProbe &p, Request &rq);
    static QByteArray com(SimProbe &p, Request &rq);
    static QByteArray upd(SimProbe &p, Request &rq);
    // Commands of the hidden parameter form: accepted, no effect on the simulation.
    static QByteArray accept(SimProbe &, Request &) { return kOk; }

    // Sets a whole-number setting from the argument when it lies in [lo, hi].
    static QByteArray setInt(SimProbe &p, const Request &rq, int ProbeSettings::*field, int lo, int hi)
    {
        int n = 0;
        if (!parseInt(rq.arg, n) || n < lo || n > hi)
            return kBadArgument;
        p.m_state.settings.*field = n;
        p.changed();
        return kOk;
    }
};

SimCommands::Handler SimCommands::find(const QByteArray &name)
{
    struct Entry
    {
        const char *name;
        Handler handler;
    };
    static const Entry table[] = {
        {"MES", mes},    {"XYZ", xyz},    {"JAD", jad}, {"JAA", jaa},    {"JWA", jwa},    {"RSD", rsd},
        {"ZRC", zrc},    {"VER", ver},    {"VID", vid}, {"TYP", typ},    {"RPR", rpr},    {"MDS", mds},
        {"MCH", mch},    {"STR", str},    {"SCS", scs}, {"FSC", fsc},    {"FCS", fcs},    {"MSC", msc},
        {"MVS", mvs},    {"VSN", vsn},    {"INI", ini}, {"RAW", raw},    {"SWD", swd},    {"SEN", sen},
        {"CMR", cmr},    {"CMW", cmw},    {"CLR", clr}, {"RGM", rgm},    {"RGU", rgu},    {"RGE", rge},
        {"UDP", udp},    {"COM", com},    {"UPD", upd}, {"IDO", accept}, {"IDP", accept}, {"SNF", accept},
        {"ARS", accept}, {"FFD", accept},
    };
    for (const Entry &e : table) {
        if (name == e.name)
            return e.handler;
    }
    return nullptr;
}

QByteArray SimProbe::reply(const QByteArray &rawLine, int *delayMs)
{
    if (delayMs)
        *delayMs = 0;
    const QByteArray line = rawLine.trimmed();
    if (line.size() < 3)
        return "ER00";
    Request rq;
    if (line.size() > 3) {
        if (line[3] != ',' && line[3] != ' ')
            return "ER00";
        rq.arg = line.mid(4);
        rq.hasArg = true;
    }
    const SimCommands::Handler handler = SimCommands::find(line.left(3).toUpper());
    if (!handler)
        return "ER00";
    QByteArray r = handler(*this, rq);
    if (delayMs)
        *delayMs = rq.delayMs;
    return r;
}

// ---------------------------------------------------------------------------------------------
// Measurements

QByteArray SimCommands::mes(SimProbe &p, Request &rq)
{
    if (!rq.hasArg)
        return measure(p, rq, false);
    if (rq.arg.trimmed() == "1")
        return measure(p, rq, true);
    return kBadArgument;
}

QByteArray SimCommands::measure(SimProbe &p, Request &rq, bool fast)
{
    const int mode = p.settings().displayMode;
    if (mode == 8)
        return jad(p, rq);
    if (mode == 6)
        return fma(p, rq);
    const double window = p.measurementWindowSeconds();
    rq.delayMs = measuringDelayMs(window);
    const Vec3 v = p.measureXYZ(window);
    if (mode == 7) {
        if (v.maxCoeff() >= 1e6)
            return kOverRange;
        return "OK00,P1," + fixedWidth(v.x(), 9) + ";" + fixedWidth(v.y(), 9) + ";" + fixedWidth(v.z(), 9);
    }
    if (v.y() >= 99999.5)
        return kOverRange;
    double x = 0.0, y = 0.0;
    p.chromaticity(v, x, y);
    if (fast) {
        // u', v' from x, y so that a dark reading carries the white point's values too.
        const double d = -2.0 * x + 12.0 * y + 3.0;
        const double u = 4.0 * x / d, vp = 9.0 * y / d;
        return "OK00,P1,0," + num(x, 6) + "," + num(y, 6) + "," + num(v.y(), 4) + "," + num(u, 4) + "," +
               num(vp, 4);
    }
    return "OK00,P1," + digits4(x) + ";" + digits4(y) + ";" + fixedWidth(v.y(), 6);
}

QByteArray SimCommands::fma(SimProbe &p, Request &rq)
{
    const std::vector<double> rec = p.luminanceRecord(SimFlicker::kSampleRate, 1);
    const double fma = SimFlicker::fma(rec);
    const Vec3 v = p.measureXYZ(p.measurementWindowSeconds());
    rq.delayMs = 1000;
    double x = 0.0, y = 0.0;
    p.chromaticity(v, x, y);
    const QByteArray status = v.y() < 0.1 ? "OK04" : "OK00";
    return status + ",P1,0," + num(fma, 2) + "," + num(x, 4) + "," + num(y, 4) + "," + num(v.y(), 4) + "," +
           num(p.display().modulation().frequencyHz, 2);
}

QByteArray SimCommands::jad(SimProbe &p, Request &rq)
{
    rq.delayMs = 1000;
    const std::vector<double> rec = p.luminanceRecord(SimFlicker::kSampleRate, 1);
    const SimFlicker::Jeita j = SimFlicker::jeita(rec);
    double mean = 0.0;
    for (double v : rec)
        mean += v;
    mean /= rec.size();
    QByteArray list;
    for (size_t i = 0; i < j.perHz.size(); ++i) {
        if (i)
            list += ';';
        list += num(j.perHz[i], 2);
    }
    return QByteArray(mean < 0.1 ? "OK04" : "OK00") + "," + num(j.valueDb, 2) + "," + list;
}

QByteArray SimCommands::xyz(SimProbe &p, Request &rq)
{
    const double window = p.measurementWindowSeconds();
    rq.delayMs = measuringDelayMs(window);
    const Vec3 v = p.measureXYZ(window);
    if (v.maxCoeff() >= 1e6)
        return kOverRange;
    return "OK00,P1," + fixedWidth(v.x(), 9) + ";" + fixedWidth(v.y(), 9) + ";" + fixedWidth(v.z(), 9);
}

QByteArray SimCommands::sampling(SimProbe &p, Request &rq, bool threeChannels)
{
    const QList<QByteArray> parts = rq.arg.split(',');
    int n = 0, d = 0;
    if (parts.size() != 2 || !parseInt(parts[0], n) || !parseInt(parts[1], d) || n < 1 || n > 32767 ||
        d < 1 || d > 100)
        return kBadArgument;
    rq.delayMs = measuringDelayMs(double(n) * d / SimFlicker::kSampleRate);
    p.refreshColor();
    if (!threeChannels) {
        const std::vector<double> y = p.luminanceRecord(n, d);
        QByteArray out = "OK00,JAA:";
        out.reserve(out.size() + n * 10);
        for (double v : y) {
            out += QByteArray::number(v, 'g', 7);
            out += ',';
        }
        return out;
    }
    const std::vector<Vec3> s = p.sampleRecord(n, double(d) / SimFlicker::kSampleRate);
    QByteArray out = "OK00,P1,";
    out.reserve(out.size() + n * 30);
    for (int i = 0; i < n; ++i) {
        const Vec3 v = p.addNoise(p.applyChannel(s[i]));
        if (i)
            out += ';';
        out += QByteArray::number(v.x(), 'g', 7) + ',' + QByteArray::number(v.y(), 'g', 7) + ',' +
               QByteArray::number(v.z(), 'g', 7);
    }
    return out;
}

QByteArray SimCommands::rsd(SimProbe &p, Request &rq)
{
    if (!p.hasSpectrum())
        return kBadArgument;
    const std::vector<double> spectrum = p.display().spectrumFor(p.measureXYZ(p.measurementWindowSeconds()));
    QByteArray out = "OK00,";
    for (size_t i = 0; i < spectrum.size(); ++i) {
        if (i)
            out += ',';
        out += QByteArray::number(spectrum[i], 'g', 7);
    }
    rq.delayMs = 500;
    return out;
}

QByteArray SimCommands::zrc(SimProbe &p, Request &rq)
{
    p.refreshColor();
    const Vec3 v = p.display().averageXYZ(p.now(), p.now() + 0.1);
    rq.delayMs = 1500;
    return v.y() < 0.5 ? "OK00" : "OK21";
}

// ---------------------------------------------------------------------------------------------
// Identity and profile

QByteArray SimCommands::ver(SimProbe &p, Request &rq)
{
    if (!rq.hasArg)
        return "OK00,KRN4," + p.profile().hardware.toLatin1() + "," + p.firmwareText().toLatin1();
    return "OK00," + p.firmwareText().toLatin1();
}

QByteArray SimCommands::vid(SimProbe &p, Request &)
{
    return "OK00,VID," + p.firmwareText().toLatin1();
}

QByteArray SimCommands::typ(SimProbe &p, Request &)
{
    return "OK00," + p.profile().type.toLatin1();
}

QByteArray SimCommands::rpr(SimProbe &p, Request &rq)
{
    ProbeSettings &s = p.m_state.settings;
    if (!rq.hasArg)
        return "OK00," + s.identity.toLatin1();
    if (rq.arg.contains(';') || rq.arg.size() > Limits::kLabelMax)
        return kBadArgument;
    s.identity = QString::fromLatin1(rq.arg);
    p.changed();
    return kOk;
}

// ---------------------------------------------------------------------------------------------
// Settings

QByteArray SimCommands::mds(SimProbe &p, Request &rq)
{
    int n = 0;
    if (!parseInt(rq.arg, n) || !Limits::isDisplayMode(n))
        return kBadArgument;
    p.m_state.settings.displayMode = n;
    p.changed();
    return kOk;
}

QByteArray SimCommands::mch(SimProbe &p, Request &rq)
{
    const QByteArray r = setInt(p, rq, &ProbeSettings::channel, 0, 99);
    if (r == kOk)
        p.m_raw = false;
    return r;
}

QByteArray SimCommands::str(SimProbe &p, Request &rq)
{
    int item = -1;
    if (!parseInt(rq.arg, item))
        return kBadArgument;
    const ProbeSettings &s = p.settings();
    switch (item) {
    case 0:
        return "OK00," + QByteArray::number(s.syncMode) + "," + QByteArray::number(s.speed) + "," +
               QByteArray::number(s.averaging) + "," + QByteArray::number(s.channel);
    case 1:
        return "OK00," + QByteArray::number(s.syncMode);
    case 3:
        return "OK00," + QByteArray::number(s.channel);
    case 5:
        return "OK00," + QByteArray::number(s.displayMode);
    case 7:
        return "OK00," + QByteArray::number(s.speed);
    case 8:
        return "OK00," + QByteArray::number(s.averaging);
    case 17:
        return "OK00," + QByteArray::number(s.manualTimeMs, 'g', 6) + "ms";
    case 28:
        return "OK00," + num(s.syncFrequency, 2) + "Hz";
    case 30:
        return "OK00," + QByteArray::number(p.profile().status30);
    case 31:
        if (!p.hasIntegration())
            return kBadArgument;
        return "OK00," + QByteArray::number(s.integration);
    case 40:
        return "OK00," + QByteArray::number(s.windowMode);
    default:
        return kBadArgument;
    }
}

QByteArray SimCommands::scs(SimProbe &p, Request &rq)
{
    ProbeSettings &s = p.m_state.settings;
    const QList<QByteArray> parts = rq.arg.split(',');
    int n = 0;
    double f = 0.0;
    if (!parseInt(parts[0], n) || n < 0 || n > 5 || parts.size() > 2)
        return kBadArgument;
    if (parts.size() == 2) {
        if (!parseDouble(parts[1], f))
            return kBadArgument;
        if (n == 4 && (f < Limits::kSyncMinHz || f > Limits::kSyncMaxHz))
            return kBadArgument;
        if (n == 5 && (f < Limits::kManualMinMs || f > Limits::kManualMaxMs))
            return kBadArgument;
        if (n == 4)
            s.syncFrequency = f;
        else if (n == 5)
            s.manualTimeMs = f;
    }
    s.syncMode = n;
    p.changed();
    return kOk;
}

QByteArray SimCommands::fsc(SimProbe &p, Request &rq)
{
    // Speed mode (0..3); not to be confused with FCS, the factory switch.
    return setInt(p, rq, &ProbeSettings::speed, 0, 3);
}

QByteArray SimCommands::fcs(SimProbe &p, Request &rq)
{
    if (!rq.hasArg || rq.arg.trimmed().isEmpty())
        return "OK00," + QByteArray::number(p.m_factory ? 0 : 1);
    int n = 0;
    if (!parseInt(rq.arg, n) || (n != 0 && n != 1))
        return kBadArgument;
    p.m_factory = n == 0;
    if (n == 1)
        p.m_raw = false;
    return kOk;
}

QByteArray SimCommands::msc(SimProbe &p, Request &rq)
{
    return setInt(p, rq, &ProbeSettings::averaging, 1, Limits::kAveragingMax);
}

QByteArray SimCommands::mvs(SimProbe &p, Request &rq)
{
    double f = 0.0;
    if (!parseDouble(rq.arg, f) || f < Limits::kSyncMinHz || f > Limits::kSyncMaxHz)
        return "ER10," + rq.arg.trimmed();
    ProbeSettings &s = p.m_state.settings;
    s.syncFrequency = f;
    s.syncMode = 4;
    p.changed();
    return "OK00," + num(f, 2);
}

QByteArray SimCommands::vsn(SimProbe &p, Request &rq)
{
    int n = 0;
    if (!p.hasIntegration() || !parseInt(rq.arg.split(',')[0], n) || (n != 1 && n != 2))
        return kBadArgument;
    p.m_state.settings.integration = n - 1;
    p.changed();
    return kOk;
}

QByteArray SimCommands::ini(SimProbe &p, Request &)
{
    p.m_raw = false;
    return kOk;
}

QByteArray SimCommands::raw(SimProbe &p, Request &)
{
    p.m_raw = true;
    return kOk;
}

QByteArray SimCommands::swd(SimProbe &p, Request &rq)
{
    const QByteArray code = rq.arg.trimmed().toUpper();
    if (!Limits::isWindowCode(code))
        return kBadArgument;
    ProbeSettings &s = p.m_state.settings;
    s.windowCode = QString::fromLatin1(code);
    s.windowMode = code == "0" ? 0 : 1;
    p.changed();
    return kOk;
}

QByteArray SimCommands::sen(SimProbe &p, Request &rq)
{
    return setInt(p, rq, &ProbeSettings::sensorType, 0, 2);
}

// ---------------------------------------------------------------------------------------------
// Memory channels and gains

QByteArray SimCommands::cmr(SimProbe &p, Request &rq)
{
    int i = -1;
    if (!parseInt(rq.arg, i))
        return kBadArgument;
    const MemoryChannel &ch = p.activeChannel();
    if (i >= 0 && i <= 8)
        return "OK00," + QByteArray::number(ch.matrix[i], 'g', 10);
    switch (i) {
    case 11:
        return "OK00," + ch.name.toLatin1();
    case 12:
        return "OK00," + ch.date.toLatin1();
    case 13:
        return "OK00," + channelTable(p);
    case 14:
        return "OK00," + whiteText(ch.whiteX);
    case 15:
        return "OK00," + whiteText(ch.whiteY);
    case 16:
        return "OK00," + whiteText(ch.whiteLv);
    default:
        return kBadArgument;
    }
}

QByteArray SimCommands::channelTable(const SimProbe &p)
{
    QByteArray out;
    out.reserve(100 * 120);
    for (int c = 0; c < 100; ++c) {
        const MemoryChannel &ch = p.channel(c);
        out += "CH:" + QByteArray::number(c) + ";Matrix:";
        for (int k = 0; k < 9; ++k) {
            if (k)
                out += ',';
            out += QByteArray::number(ch.matrix[k], 'g', 10);
        }
        out += ";Name:" + ch.name.toLatin1() + ";Date:" + ch.date.toLatin1() + ";x:" + whiteText(ch.whiteX) +
               ";y:" + whiteText(ch.whiteY) + ";Lv:" + whiteText(ch.whiteLv) + "\n";
    }
    return out;
}

QByteArray SimCommands::cmw(SimProbe &p, Request &rq)
{
    const int comma = rq.arg.indexOf(',');
    int i = -1;
    if (comma < 0 || !parseInt(rq.arg.left(comma), i))
        return kBadArgument;
    const QByteArray value = rq.arg.mid(comma + 1);
    // The factory channel is written only in factory mode ("FCS,0").
    if (p.settings().channel == 0 && !p.m_factory)
        return kBadArgument;
    MemoryChannel &ch = p.activeChannel();
    double v = 0.0;
    if (i >= 0 && i <= 8) {
        if (!parseDouble(value, v))
            return kBadArgument;
        ch.matrix[i] = v;
    } else if (i == 11 || i == 12) {
        if (!Limits::isLabel(value))
            return kBadArgument;
        (i == 11 ? ch.name : ch.date) = QString::fromLatin1(value);
    } else if (i >= 14 && i <= 16) {
        if (!parseDouble(value, v))
            return kBadArgument;
        const bool valid = i == 16 ? v > 0.0 : (v > 0.0 && v < 1.0);
        if (!valid)
            return kBadArgument; // out of range: the reference is kept
        (i == 14 ? ch.whiteX : i == 15 ? ch.whiteY : ch.whiteLv) = v;
    } else {
        return kBadArgument;
    }
    p.changed();
    return kOk;
}

QByteArray SimCommands::clr(SimProbe &p, Request &rq)
{
    // Erased user channels start again as copies of the factory channel's correction.
    MemoryChannel erased;
    erased.matrix = p.m_state.channels[0].matrix;
    for (int c = 1; c < 100; ++c)
        p.m_state.channels[c] = erased;
    ProbeSettings &s = p.m_state.settings;
    const QString identity = s.identity, firmware = s.firmwareOverride;
    s = ProbeSettings();
    s.identity = identity;
    s.firmwareOverride = firmware;
    s.gainsValid = false;
    p.m_raw = false;
    p.m_factory = false;
    rq.delayMs = 2000;
    p.changed();
    return kOk;
}

QByteArray SimCommands::rgm(SimProbe &p, Request &)
{
    const ProbeSettings &s = p.settings();
    if (!s.gainsValid)
        return "ER84";
    QByteArray out = "OK00,";
    for (int i = 0; i < 8; ++i) {
        if (i)
            out += ';';
        out += QByteArray::number(s.gains[i], 'g', 8);
    }
    return out;
}

QByteArray SimCommands::rgu(SimProbe &p, Request &rq)
{
    QList<QByteArray> parts = rq.arg.split(';');
    if (!parts.isEmpty() && parts.last().trimmed().isEmpty())
        parts.removeLast();
    if (parts.size() != 8)
        return kBadArgument;
    std::array<double, 8> g{};
    for (int i = 0; i < 8; ++i) {
        if (!parseDouble(parts[i], g[i]) || g[i] <= 0.0)
            return kBadArgument;
    }
    ProbeSettings &s = p.m_state.settings;
    s.gains = g;
    s.gainsValid = true;
    p.changed();
    return kOk;
}

QByteArray SimCommands::rge(SimProbe &p, Request &rq)
{
    // Automatic adjustment against the light in front of the probe: an ideal sensor needs
    // unity gains.
    ProbeSettings &s = p.m_state.settings;
    s.gains.fill(1.0);
    s.gainsValid = true;
    rq.delayMs = 3000;
    p.changed();
    return kOk;
}

// ---------------------------------------------------------------------------------------------
// Firmware

QByteArray SimCommands::udp(SimProbe &p, Request &rq)
{
    if (rq.arg.trimmed().toLower() != "0x3c71")
        return kBadArgument;
    p.m_dfuRequest = true;
    return kOk;
}

QByteArray SimCommands::com(SimProbe &, Request &rq)
{
    int n = 0;
    return parseInt(rq.arg, n) && (n == 0 || n == 1) ? kOk : kBadArgument;
}

QByteArray SimCommands::upd(SimProbe &p, Request &rq)
{
    int n = 0;
    if (!parseInt(rq.arg, n) || n != 1)
        return kBadArgument;
    p.m_boot.start(p.now());
    return kOk;
}

} // namespace Krn4Sim
