#include "simcontrol.h"

#include "simprobe.h"

#include <QCryptographicHash>
#include <QStringList>

#include <cmath>

namespace Krn4Sim {

bool SimFaults::take(int &counter)
{
    if (counter == 0)
        return false;
    if (counter > 0)
        --counter;
    return true;
}

void SimFaults::clear()
{
    const int latency = latencyMs;
    *this = SimFaults();
    latencyMs = latency; // latency has its own command
}

QString SimFaults::describe() const
{
    return QStringLiteral("latency=%1 noreply=%2 garbage=%3 split=%4 double=%5 error=%6 errorcode=%7 "
                          "okstatus=%8 okcode=%9")
        .arg(latencyMs)
        .arg(noReply)
        .arg(garbage)
        .arg(split)
        .arg(doubled)
        .arg(measureError)
        .arg(errorCode)
        .arg(okStatus)
        .arg(okStatusCode);
}

bool parseRgb(const QString &text, int &r, int &g, int &b)
{
    const QStringList parts = text.trimmed().split(',');
    if (parts.size() != 3)
        return false;
    int v[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok || v[i] < 0 || v[i] > 255)
            return false;
    }
    r = v[0];
    g = v[1];
    b = v[2];
    return true;
}

QString controlHelp()
{
    return QStringLiteral(
        "show R,G,B                         colour the probe sees (steady display)\n"
        "modulation FREQ DEPTH SHAPE [DUTY] luminance modulation; SHAPE sine|square|pwm; DEPTH =\n"
        "                                   (Lmax-Lmin)/(Lmax+Lmin) 0..1; 'modulation off'\n"
        "transition R,G,B R,G,B PERIOD RISE [FALL]  alternate two colours every PERIOD ms with\n"
        "                                   exponential response (time constants in ms); 'transition off'\n"
        "display primaries RX,RY,GX,GY,BX,BY | white X,Y | peak CDM2 | gamma G | black CDM2 |\n"
        "        response RISE[,FALL] (ms, panel response to screen colour changes) | reset\n"
        "refresh HZ [RIPPLE]                the display's refresh frequency (default 60.00) and the\n"
        "                                   relative ripple of each frame (default 0.01)\n"
        "noise LEVEL [SEED]                 relative noise (0.001 = 0.1 %), seeded\n"
        "latency MS                         delay of every reply\n"
        "fault NAME [COUNT]                 noreply | garbage | split | double | error [10|15|20|22|23] |\n"
        "                                   okstatus N (measurements answer OK0N);\n"
        "                                   COUNT replies (default: until 'fault clear')\n"
        "fault boot echo N | ack K | restart  boot loader: no echo of loader byte N (0-based), block K\n"
        "                                   (1-based) answered 0x00, no \"Initial OK\" after the last block\n"
        "fault clear                        remove all faults except latency\n"
        "profile firmware TEXT | type TEXT | hardware V1|V2 | status30 N | integration 0|1\n"
        "unplug / replug                    remove the pseudo-terminal and its link / make them again\n"
        "screen X,Y / screen window / screen off  read the colour from a point of the X screen, or\n"
        "                                   from the application's pattern window (default with --x11)\n"
        "sensor error D11,...,D33|identity  the sensor's own error (raw reading = D * true XYZ)\n"
        "sensor factory [all]               write D^-1 into channel 00 (and every channel)\n"
        "refuse|mute PREFIX [COUNT [AFTER]] answer ER10 / nothing to commands starting with PREFIX\n"
        "state                              key state on one line\n"
        "firmware                           size and SHA-1 of the firmware the last upgrade installed\n"
        "received [N] / received clear      count of commands received and the last N (default 10)\n"
        "help                               this text (one line per command)");
}

namespace {

QString ok(const QString &text = QString())
{
    return text.isEmpty() ? QStringLiteral("OK") : QStringLiteral("OK ") + text;
}

QString er(const QString &text)
{
    return QStringLiteral("ER ") + text;
}

bool toDouble(const QString &s, double &v)
{
    bool ok = false;
    v = s.toDouble(&ok);
    return ok && std::isfinite(v);
}

QString stateLine(const SimProbe &probe, const SimFaults &faults)
{
    const ProbeSettings &s = probe.settings();
    const SimDisplay &d = probe.display();
    const auto c = d.color();
    const SimDisplay::Modulation &m = d.modulation();
    const char *shape = m.shape == SimDisplay::Shape::Sine     ? "sine"
                        : m.shape == SimDisplay::Shape::Square ? "square"
                                                               : "pwm";
    return QStringLiteral("mode=%1 channel=%2 sync=%3 syncfreq=%4 manualms=%5 speed=%6 averaging=%7 "
                          "integration=%8 raw=%9 factory=%10 boot=%11 color=%12,%13,%14 "
                          "modulation=%15,%16,%17,%18 transition=%19 peak=%20 gamma=%21 firmware=%22 "
                          "type=%23 received=%24 %25")
        .arg(s.displayMode)
        .arg(s.channel)
        .arg(s.syncMode)
        .arg(s.syncFrequency)
        .arg(s.manualTimeMs)
        .arg(s.speed)
        .arg(s.averaging)
        .arg(s.integration)
        .arg(probe.rawMode() ? 1 : 0)
        .arg(probe.factoryMode() ? 1 : 0)
        .arg(probe.mode() == SimProbe::Mode::Command ? 0 : 1)
        .arg(c[0])
        .arg(c[1])
        .arg(c[2])
        .arg(m.frequencyHz)
        .arg(m.depth)
        .arg(shape)
        .arg(m.duty)
        .arg(d.transition().active ? 1 : 0)
        .arg(d.peakLuminance())
        .arg(d.gamma())
        .arg(probe.firmwareText())
        .arg(probe.profile().type)
        .arg(probe.receivedCount())
        .arg(faults.describe());
}

QString applyDisplay(const QStringList &w, SimProbe &probe)
{
    SimDisplay &d = probe.display();
    if (w.size() < 2)
        return er("display needs a property");
    const QString what = w[1].toLower();
    if (what == "reset") {
        d.setPrimaries(SimDisplay::Primaries());
        d.setPeakLuminance(200.0);
        d.setGamma(2.2);
        d.setBlackLuminance(0.0);
        d.setResponse(0.0, 0.0);
        d.setRefresh(SimDisplay::Refresh());
        return ok();
    }
    if (w.size() < 3)
        return er("display " + what + " needs a value");
    const QStringList nums = w[2].split(',');
    std::vector<double> v;
    for (const QString &n : nums) {
        double x = 0;
        if (!toDouble(n, x))
            return er("not a number: " + n);
        v.push_back(x);
    }
    if (what == "primaries" && v.size() == 6) {
        SimDisplay::Primaries p = d.primaries();
        p.rx = v[0], p.ry = v[1], p.gx = v[2], p.gy = v[3], p.bx = v[4], p.by = v[5];
        return d.setPrimaries(p) ? ok() : er("degenerate primaries");
    }
    if (what == "white" && v.size() == 2) {
        SimDisplay::Primaries p = d.primaries();
        p.wx = v[0], p.wy = v[1];
        return d.setPrimaries(p) ? ok() : er("degenerate white point");
    }
    if (what == "peak" && v.size() == 1 && v[0] >= 0) {
        d.setPeakLuminance(v[0]);
        return ok();
    }
    if (what == "gamma" && v.size() == 1 && v[0] > 0) {
        d.setGamma(v[0]);
        return ok();
    }
    if (what == "response" && (v.size() == 1 || v.size() == 2) && v[0] >= 0 && v.back() >= 0) {
        d.setResponse(v[0], v.back());
        return ok();
    }
    if (what == "black" && v.size() == 1 && v[0] >= 0) {
        d.setBlackLuminance(v[0]);
        return ok();
    }
    return er("usage: display primaries RX,RY,GX,GY,BX,BY | white X,Y | peak L | gamma G | black L | "
              "response RISE[,FALL] | reset");
}

} // namespace

namespace {

// "fault boot echo N" (loader image byte N, 0-based, gets no echo), "fault boot ack K" (block
// K, 1-based, is answered 0x00), "fault boot restart" (no "Initial OK" after the last block).
QString applyBootFault(const QStringList &w, SimBootLoader::Faults &boot)
{
    const QString usage = QStringLiteral("usage: fault boot echo N | ack K | restart");
    const QString what = w.size() > 2 ? w[2].toLower() : QString();
    if (what == "restart" && w.size() == 3) {
        boot.noRestart = true;
        return ok("boot restart");
    }
    bool okn = false;
    const int n = w.size() == 4 ? w[3].toInt(&okn) : -1;
    if (what == "echo" && okn && n >= 0)
        boot.dropEcho = n;
    else if (what == "ack" && okn && n >= 1)
        boot.badAck = n;
    else
        return er(usage);
    return ok("boot " + what + " " + QString::number(n));
}

} // namespace

QString applyControl(const QString &line, SimProbe &probe, SimFaults &faults)
{
    const QStringList w = line.simplified().split(' ', Qt::SkipEmptyParts);
    if (w.isEmpty())
        return er("empty command");
    const QString cmd = w[0].toLower();
    const QString calibration = applyCalibrationControl(w, probe);
    if (!calibration.isEmpty())
        return calibration;
    if (cmd == "help")
        return ok(controlHelp().split('\n').join(" | "));
    if (cmd == "show") {
        int r, g, b;
        if (w.size() != 2 || !parseRgb(w[1], r, g, b))
            return er("usage: show R,G,B (0..255)");
        SimDisplay::Transition t = probe.display().transition();
        t.active = false;
        probe.display().setTransition(t);
        probe.display().setColor(r, g, b);
        return ok(QStringLiteral("%1,%2,%3").arg(r).arg(g).arg(b));
    }
    if (cmd == "modulation") {
        SimDisplay::Modulation m;
        if (w.size() == 2 && w[1].toLower() == "off") {
            probe.display().setModulation(m);
            return ok();
        }
        if (w.size() < 4 || w.size() > 5 || !toDouble(w[1], m.frequencyHz) || !toDouble(w[2], m.depth) ||
            m.frequencyHz < 0 || m.depth < 0 || m.depth > 1)
            return er("usage: modulation FREQ DEPTH(0..1) sine|square|pwm [DUTY(0..1)]");
        const QString shape = w[3].toLower();
        if (shape == "sine")
            m.shape = SimDisplay::Shape::Sine;
        else if (shape == "square")
            m.shape = SimDisplay::Shape::Square;
        else if (shape == "pwm")
            m.shape = SimDisplay::Shape::Pwm;
        else
            return er("shape must be sine, square or pwm");
        if (w.size() == 5 && (!toDouble(w[4], m.duty) || m.duty < 0 || m.duty > 1))
            return er("duty must be 0..1");
        probe.display().setModulation(m);
        return ok();
    }
    if (cmd == "transition") {
        SimDisplay::Transition t = probe.display().transition();
        if (w.size() == 2 && w[1].toLower() == "off") {
            t.active = false;
            probe.display().setTransition(t);
            return ok();
        }
        int r1, g1, b1, r2, g2, b2;
        double period = 0, rise = 0, fall = 0;
        if (w.size() < 5 || w.size() > 6 || !parseRgb(w[1], r1, g1, b1) || !parseRgb(w[2], r2, g2, b2) ||
            !toDouble(w[3], period) || !toDouble(w[4], rise) || period <= 0 || rise <= 0)
            return er("usage: transition R,G,B R,G,B PERIOD_MS RISE_MS [FALL_MS]");
        fall = rise;
        if (w.size() == 6 && (!toDouble(w[5], fall) || fall <= 0))
            return er("fall time must be a positive number of ms");
        t.active = true;
        t.from = {{r1, g1, b1}};
        t.to = {{r2, g2, b2}};
        t.periodMs = period;
        t.riseMs = rise;
        t.fallMs = fall;
        probe.display().setTransition(t);
        return ok();
    }
    if (cmd == "display")
        return applyDisplay(w, probe);
    if (cmd == "refresh") {
        SimDisplay::Refresh r = probe.display().refresh();
        if (w.size() < 2 || w.size() > 3 || !toDouble(w[1], r.frequencyHz) || r.frequencyHz < 1.0 ||
            r.frequencyHz > 1000.0 ||
            (w.size() == 3 && (!toDouble(w[2], r.ripple) || r.ripple < 0 || r.ripple > 1)))
            return er("usage: refresh HZ(1..1000) [RIPPLE(0..1)]");
        probe.display().setRefresh(r);
        return ok(QStringLiteral("%1 %2").arg(r.frequencyHz, 0, 'f', 2).arg(r.ripple));
    }
    if (cmd == "noise") {
        double level = 0;
        bool seedOk = true;
        const qulonglong seed = w.size() > 2 ? w[2].toULongLong(&seedOk) : 1;
        if (w.size() < 2 || w.size() > 3 || !toDouble(w[1], level) || level < 0 || !seedOk)
            return er("usage: noise LEVEL [SEED]");
        probe.setNoise(level, seed);
        return ok();
    }
    if (cmd == "latency") {
        bool okn = false;
        const int ms = w.size() == 2 ? w[1].toInt(&okn) : -1;
        if (!okn || ms < 0 || ms > 600000)
            return er("usage: latency MS");
        faults.latencyMs = ms;
        return ok(QString::number(ms));
    }
    if (cmd == "fault") {
        if (w.size() < 2)
            return er("usage: fault NAME [COUNT] | fault clear");
        const QString name = w[1].toLower();
        if (name == "clear") {
            faults.clear();
            probe.bootLoader().faults() = SimBootLoader::Faults();
            return ok();
        }
        if (name == "boot")
            return applyBootFault(w, probe.bootLoader().faults());
        int count = -1;
        int next = 2;
        static const QStringList errorCodes = {"10", "15", "20", "22", "23"};
        if (name == "error" && w.size() > 2 && errorCodes.contains(w[2])) {
            faults.errorCode = w[2].toInt();
            next = 3;
        }
        if (name == "okstatus") {
            bool okn = false;
            const int code = w.size() > 2 ? w[2].toInt(&okn) : 0;
            if (!okn || code < 1 || code > 7)
                return er("usage: fault okstatus N(1..7) [COUNT]");
            faults.okStatusCode = code;
            next = 3;
        }
        if (w.size() > next) {
            bool okn = false;
            count = w[next].toInt(&okn);
            if (!okn || count < 1)
                return er("COUNT must be a positive number");
        }
        if (name == "noreply")
            faults.noReply = count;
        else if (name == "garbage")
            faults.garbage = count;
        else if (name == "split")
            faults.split = count;
        else if (name == "double")
            faults.doubled = count;
        else if (name == "error")
            faults.measureError = count;
        else if (name == "okstatus")
            faults.okStatus = count;
        else
            return er("unknown fault " + name + " (noreply, garbage, split, double, error, okstatus)");
        return ok(name);
    }
    if (cmd == "profile") {
        if (w.size() < 3)
            return er(
                "usage: profile firmware TEXT | type TEXT | hardware V1|V2 | status30 N | integration 0|1");
        SimProbe::Profile p = probe.profile();
        const QString what = w[1].toLower();
        if (what == "firmware") {
            p.firmware = w[2];
            probe.settings().firmwareOverride.clear();
        } else if (what == "type") {
            p.type = w[2];
        } else if (what == "hardware") {
            p.hardware = w[2];
        } else if (what == "status30") {
            p.status30 = w[2].toInt();
        } else if (what == "integration") {
            p.integration = w[2].toInt() ? 1 : 0;
        } else {
            return er("unknown profile item " + what);
        }
        probe.setProfile(p);
        return ok();
    }
    if (cmd == "state")
        return ok(stateLine(probe, faults));
    if (cmd == "firmware") {
        const QByteArray &image = probe.bootLoader().installedImage();
        return ok(
            QStringLiteral("bytes=%1 sha1=%2")
                .arg(image.size())
                .arg(QString::fromLatin1(QCryptographicHash::hash(image, QCryptographicHash::Sha1).toHex())));
    }
    if (cmd == "received") {
        if (w.size() == 2 && w[1].toLower() == "clear") {
            probe.clearReceived();
            return ok("count=0");
        }
        bool okn = true;
        const int n = w.size() > 1 ? w[1].toInt(&okn) : 10;
        if (!okn || n < 0)
            return er("usage: received [N]");
        QStringList last = probe.lastReceived(n);
        for (QString &s : last)
            s.replace('|', "\\|");
        return ok(QStringLiteral("count=%1 last=%2").arg(probe.receivedCount()).arg(last.join('|')));
    }
    return QString();
}

} // namespace Krn4Sim
