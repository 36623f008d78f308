#include "simprobe.h"

#include "simflicker.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace Krn4Sim {

namespace {

constexpr int kBlockSize = 4096;
constexpr double kBootIdleSeconds = 10.0;
const QByteArray kImageMagic = "KBL1";
const QByteArray kFirmwareMarker = "KRN4FW:";

// Chromaticity as the four digits of 1/10000 units at fixed positions of the MES reply.
QByteArray digits4(double v)
{
    const int n = std::clamp(int(std::lround(v * 10000.0)), 0, 9999);
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

bool parseInt(const QByteArray &text, int &value)
{
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}

bool parseDouble(const QByteArray &text, double &value)
{
    bool ok = false;
    value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value);
}

QJsonValue jsonNumber(double v)
{
    return std::isfinite(v) ? QJsonValue(v) : QJsonValue(QJsonValue::Null);
}

double fromJson(const QJsonValue &v)
{
    return v.isDouble() ? v.toDouble() : std::numeric_limits<double>::quiet_NaN();
}

QByteArray whiteText(double v)
{
    return std::isfinite(v) ? QByteArray::number(v, 'g', 8) : QByteArray("nan");
}

} // namespace

SimProbe::SimProbe() : m_rng(1)
{
    m_started.start();
    m_clock = [this] { return m_started.nsecsElapsed() / 1e9; };
    m_channels[0].name = "Factory";
}

void SimProbe::setProfile(const Profile &p)
{
    m_profile = p;
}

QString SimProbe::firmwareText() const
{
    QString v = m_settings.firmwareOverride.isEmpty() ? m_profile.firmware : m_settings.firmwareOverride;
    if (v.count('.') < 2)
        v += ".1586"; // build number: the upgrade dialog reads the last four characters
    return v;
}

bool SimProbe::hasIntegration() const
{
    if (m_profile.integration >= 0)
        return m_profile.integration > 0;
    return firmwareText().section('.', 0, 0).toInt() >= 5;
}

void SimProbe::setNoise(double level, unsigned long long seed)
{
    m_noise = std::max(0.0, level);
    m_rng.seed(seed);
    m_gauss.reset();
}

QStringList SimProbe::lastReceived(int n) const
{
    return m_received.mid(std::max(0, m_received.size() - n));
}

void SimProbe::clearReceived()
{
    m_receivedCount = 0;
    m_received.clear();
}

bool SimProbe::takeDfuRequest()
{
    const bool r = m_dfuRequest;
    m_dfuRequest = false;
    return r;
}

// ---------------------------------------------------------------------------------------------
// State file

bool SimProbe::setStatePath(const QString &path, QString *error)
{
    m_statePath = path;
    QFile f(path);
    if (!f.exists())
        return saveState(error);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &pe);
    if (!doc.isObject()) {
        if (error)
            *error = QStringLiteral("state file is not valid JSON: ") + pe.errorString();
        return false;
    }
    const QJsonObject o = doc.object();
    const QJsonObject s = o.value("settings").toObject();
    ProbeSettings d;
    m_settings.displayMode = s.value("displayMode").toInt(d.displayMode);
    m_settings.syncMode = s.value("syncMode").toInt(d.syncMode);
    m_settings.syncFrequency = s.value("syncFrequency").toDouble(d.syncFrequency);
    m_settings.manualTimeMs = s.value("manualTimeMs").toDouble(d.manualTimeMs);
    m_settings.speed = s.value("speed").toInt(d.speed);
    m_settings.averaging = s.value("averaging").toInt(d.averaging);
    m_settings.integration = s.value("integration").toInt(d.integration);
    m_settings.channel = std::clamp(s.value("channel").toInt(d.channel), 0, 99);
    m_settings.sensorType = s.value("sensorType").toInt(d.sensorType);
    m_settings.windowMode = s.value("windowMode").toInt(d.windowMode);
    m_settings.windowCode = s.value("windowCode").toString(d.windowCode);
    m_settings.identity = s.value("identity").toString(d.identity);
    m_settings.gainsValid = s.value("gainsValid").toBool(true);
    m_settings.firmwareOverride = s.value("firmware").toString();
    const QJsonArray gains = s.value("gains").toArray();
    for (int i = 0; i < 8 && i < gains.size(); ++i)
        m_settings.gains[i] = gains[i].toDouble(1.0);
    const QJsonArray chans = o.value("channels").toArray();
    for (int i = 0; i < 100 && i < chans.size(); ++i) {
        const QJsonObject c = chans[i].toObject();
        MemoryChannel &ch = m_channels[i];
        const QJsonArray m = c.value("matrix").toArray();
        for (int k = 0; k < 9 && k < m.size(); ++k)
            ch.matrix[k] = m[k].toDouble(ch.matrix[k]);
        ch.name = c.value("name").toString();
        ch.date = c.value("date").toString();
        ch.whiteX = fromJson(c.value("whiteX"));
        ch.whiteY = fromJson(c.value("whiteY"));
        ch.whiteLv = fromJson(c.value("whiteLv"));
    }
    return true;
}

bool SimProbe::saveState(QString *error) const
{
    if (m_statePath.isEmpty())
        return true;
    QJsonObject s;
    s["displayMode"] = m_settings.displayMode;
    s["syncMode"] = m_settings.syncMode;
    s["syncFrequency"] = m_settings.syncFrequency;
    s["manualTimeMs"] = m_settings.manualTimeMs;
    s["speed"] = m_settings.speed;
    s["averaging"] = m_settings.averaging;
    s["integration"] = m_settings.integration;
    s["channel"] = m_settings.channel;
    s["sensorType"] = m_settings.sensorType;
    s["windowMode"] = m_settings.windowMode;
    s["windowCode"] = m_settings.windowCode;
    s["identity"] = m_settings.identity;
    s["gainsValid"] = m_settings.gainsValid;
    s["firmware"] = m_settings.firmwareOverride;
    QJsonArray gains;
    for (double g : m_settings.gains)
        gains.append(g);
    s["gains"] = gains;
    QJsonArray chans;
    for (const MemoryChannel &ch : m_channels) {
        QJsonObject c;
        QJsonArray m;
        for (double v : ch.matrix)
            m.append(v);
        c["matrix"] = m;
        c["name"] = ch.name;
        c["date"] = ch.date;
        c["whiteX"] = jsonNumber(ch.whiteX);
        c["whiteY"] = jsonNumber(ch.whiteY);
        c["whiteLv"] = jsonNumber(ch.whiteLv);
        chans.append(c);
    }
    QJsonObject o;
    o["settings"] = s;
    o["channels"] = chans;
    QSaveFile f(m_statePath);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    f.write(QJsonDocument(o).toJson());
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

void SimProbe::changed()
{
    saveState();
}

// ---------------------------------------------------------------------------------------------
// Measurement

void SimProbe::refreshColor()
{
    int r = 0, g = 0, b = 0;
    if (!m_colorSource || !m_colorSource(r, g, b))
        return;
    if (m_history.empty())
        m_display.setColor(r, g, b);
    else
        recordColor(now(), r, g, b);
}

Vec3 SimProbe::applyChannel(const Vec3 &raw) const
{
    if (m_raw)
        return raw;
    const auto &m = m_channels[m_settings.channel].matrix;
    Eigen::Matrix3d mat;
    mat << m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8];
    return mat * raw;
}

Vec3 SimProbe::addNoise(const Vec3 &xyz)
{
    if (m_noise <= 0.0)
        return xyz;
    Vec3 out;
    for (int i = 0; i < 3; ++i)
        out[i] = std::max(0.0, xyz[i] * (1.0 + m_noise * m_gauss(m_rng)) + 10.0 * m_noise * m_gauss(m_rng));
    return out;
}

double SimProbe::measurementWindowSeconds() const
{
    const ProbeSettings &s = m_settings;
    double frame = 1.0 / 60.0;
    switch (s.syncMode) {
    case 0:
        frame = 1.0 / 59.94;
        break;
    case 1:
        frame = 1.0 / 50.0;
        break;
    case 4:
        frame = 1.0 / std::max(1.0, s.syncFrequency);
        break;
    case 5:
        return std::max(0.001, s.manualTimeMs / 1000.0) * std::max(1, s.averaging);
    default:
        break;
    }
    int frames = 1;
    switch (s.speed) {
    case 0:
        frames = 4; // Slow
        break;
    case 2:
        frames = 2; // LTDAUTO
        break;
    default:
        frames = 1;
        break;
    }
    if (hasIntegration() && s.integration == 1)
        frames *= 2;
    return frame * frames * std::max(1, s.averaging);
}

Vec3 SimProbe::measureXYZ(double windowSeconds)
{
    refreshColor();
    const double t0 = now();
    return addNoise(applyChannel(m_display.averageXYZ(t0, t0 + windowSeconds)));
}

void SimProbe::recordColor(double t, int r, int g, int b)
{
    const std::array<int, 3> rgb{{r, g, b}};
    if (!m_history.empty() && m_history.back().rgb == rgb)
        return;
    m_history.push_back({t, rgb});
    m_display.setColor(r, g, b);
    // Keep a minute: far more than the longest record (32767·100/3072 s is about 18 min, but
    // such records of a screen point are not meaningful beyond the poller's own history).
    size_t drop = 0;
    while (drop + 1 < m_history.size() && m_history[drop + 1].t < t - 60.0)
        ++drop;
    if (drop > 0)
        m_history.erase(m_history.begin(), m_history.begin() + long(drop));
}

std::vector<Vec3> SimProbe::sampleRecord(int n, double dt)
{
    if (!m_history.empty())
        return m_display.sampleHistory(m_history, now() - n * dt, n, dt);
    return m_display.sampleXYZ(now(), n, dt);
}

bool SimProbe::identityCorrection() const
{
    if (m_raw)
        return true;
    static const std::array<double, 9> identity{{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    return m_channels[m_settings.channel].matrix == identity;
}

std::vector<double> SimProbe::luminanceRecord(int n, int decimation)
{
    refreshColor();
    const double dt = double(std::max(1, decimation)) / SimFlicker::kSampleRate;
    std::vector<double> y;
    if (identityCorrection() && m_history.empty()) {
        y = m_display.sampleY(now(), n, dt);
    } else {
        // The corrected luminance is the Y row of the channel matrix applied to each sample.
        const std::vector<Vec3> s = sampleRecord(n, dt);
        y.reserve(s.size());
        for (const Vec3 &v : s)
            y.push_back(applyChannel(v).y());
    }
    if (m_noise > 0.0) {
        for (double &v : y)
            v = std::max(0.0, v * (1.0 + m_noise * m_gauss(m_rng)) + 10.0 * m_noise * m_gauss(m_rng));
    }
    return y;
}

void SimProbe::chromaticity(const Vec3 &xyz, double &x, double &y) const
{
    const double sum = xyz.sum();
    if (sum > 0.0) {
        x = xyz.x() / sum;
        y = xyz.y() / sum;
        return;
    }
    // No light at all: report the display's white point with zero luminance rather than 0/0,
    // so that X = x/y·Lv stays 0 for every reader.
    x = m_display.primaries().wx;
    y = m_display.primaries().wy;
}

QByteArray SimProbe::replyMeasure(bool fast, int *delayMs)
{
    const int mode = m_settings.displayMode;
    if (mode == 8)
        return replyJeita(delayMs);
    if (mode == 6) {
        const std::vector<double> rec = luminanceRecord(SimFlicker::kSampleRate, 1);
        const double fma = SimFlicker::fma(rec);
        const Vec3 xyz = measureXYZ(measurementWindowSeconds());
        if (delayMs)
            *delayMs = 1000;
        double x = 0.0, y = 0.0;
        chromaticity(xyz, x, y);
        const QByteArray status = xyz.y() < 0.1 ? "OK04" : "OK00";
        return status + ",P1,0," + num(fma, 2) + "," + num(x, 4) + "," + num(y, 4) + "," + num(xyz.y(), 4) +
               "," + num(m_display.modulation().frequencyHz, 2);
    }
    const double window = measurementWindowSeconds();
    if (delayMs)
        *delayMs = int(std::ceil(window * 1000.0)) + 10;
    const Vec3 xyz = measureXYZ(window);
    if (mode == 7) {
        if (xyz.maxCoeff() >= 1e6)
            return "ER20,P1,100;";
        return "OK00,P1," + fixedWidth(xyz.x(), 9) + ";" + fixedWidth(xyz.y(), 9) + ";" +
               fixedWidth(xyz.z(), 9);
    }
    if (xyz.y() >= 99999.5)
        return "ER20,P1,100;";
    double x = 0.0, y = 0.0;
    chromaticity(xyz, x, y);
    if (fast) {
        // u', v' from x, y so that a dark reading carries the white point's values too.
        const double d = -2.0 * x + 12.0 * y + 3.0;
        const double u = 4.0 * x / d, v = 9.0 * y / d;
        return "OK00,P1,0," + num(x, 6) + "," + num(y, 6) + "," + num(xyz.y(), 4) + "," + num(u, 4) + "," +
               num(v, 4);
    }
    return "OK00,P1," + digits4(x) + ";" + digits4(y) + ";" + fixedWidth(xyz.y(), 6);
}

QByteArray SimProbe::replyJeita(int *delayMs)
{
    if (delayMs)
        *delayMs = 1000;
    const std::vector<double> rec = luminanceRecord(SimFlicker::kSampleRate, 1);
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

QByteArray SimProbe::replyXyz(int *delayMs)
{
    const double window = measurementWindowSeconds();
    if (delayMs)
        *delayMs = int(std::ceil(window * 1000.0)) + 10;
    const Vec3 xyz = measureXYZ(window);
    if (xyz.maxCoeff() >= 1e6)
        return "ER20,P1,100;";
    return "OK00,P1," + fixedWidth(xyz.x(), 9) + ";" + fixedWidth(xyz.y(), 9) + ";" + fixedWidth(xyz.z(), 9);
}

QByteArray SimProbe::replySampling(bool threeChannels, const QByteArray &arg, int *delayMs)
{
    const QList<QByteArray> parts = arg.split(',');
    int n = 0, d = 0;
    if (parts.size() != 2 || !parseInt(parts[0], n) || !parseInt(parts[1], d) || n < 1 || n > 32767 ||
        d < 1 || d > 100)
        return "ER10";
    if (delayMs)
        *delayMs = int(std::ceil(1000.0 * n * d / SimFlicker::kSampleRate)) + 10;
    refreshColor();
    const double dt = double(d) / SimFlicker::kSampleRate;
    if (!threeChannels) {
        const std::vector<double> y = luminanceRecord(n, d);
        QByteArray out = "OK00,JAA:";
        out.reserve(out.size() + n * 10);
        for (double v : y) {
            out += QByteArray::number(v, 'g', 7);
            out += ',';
        }
        return out;
    }
    const std::vector<Vec3> s = sampleRecord(n, dt);
    QByteArray out = "OK00,P1,";
    out.reserve(out.size() + n * 30);
    for (int i = 0; i < n; ++i) {
        const Vec3 v = addNoise(applyChannel(s[i]));
        if (i)
            out += ';';
        out += QByteArray::number(v.x(), 'g', 7) + ',' + QByteArray::number(v.y(), 'g', 7) + ',' +
               QByteArray::number(v.z(), 'g', 7);
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Settings and channels

QByteArray SimProbe::replyStr(const QByteArray &arg)
{
    int item = -1;
    if (!parseInt(arg, item))
        return "ER10";
    const ProbeSettings &s = m_settings;
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
        return "OK00," + QByteArray::number(m_profile.status30);
    case 31:
        if (!hasIntegration())
            return "ER10";
        return "OK00," + QByteArray::number(s.integration);
    case 40:
        return "OK00," + QByteArray::number(s.windowMode);
    default:
        return "ER10";
    }
}

QByteArray SimProbe::replyCmr(const QByteArray &arg)
{
    int p = -1;
    if (!parseInt(arg, p))
        return "ER10";
    const MemoryChannel &ch = m_channels[m_settings.channel];
    if (p >= 0 && p <= 8)
        return "OK00," + QByteArray::number(ch.matrix[p], 'g', 10);
    switch (p) {
    case 11:
        return "OK00," + ch.name.toLatin1();
    case 12:
        return "OK00," + ch.date.toLatin1();
    case 13:
        return "OK00," + replyChannelTable();
    case 14:
        return "OK00," + whiteText(ch.whiteX);
    case 15:
        return "OK00," + whiteText(ch.whiteY);
    case 16:
        return "OK00," + whiteText(ch.whiteLv);
    default:
        return "ER10";
    }
}

QByteArray SimProbe::replyChannelTable() const
{
    QByteArray out;
    out.reserve(100 * 120);
    for (int c = 0; c < 100; ++c) {
        const MemoryChannel &ch = m_channels[c];
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

QByteArray SimProbe::replyCmw(const QByteArray &arg)
{
    const int comma = arg.indexOf(',');
    int p = -1;
    if (comma < 0 || !parseInt(arg.left(comma), p))
        return "ER10";
    const QByteArray value = arg.mid(comma + 1);
    // The factory channel is written only in factory mode ("FCS,0").
    if (m_settings.channel == 0 && !m_factory)
        return "ER10";
    MemoryChannel &ch = m_channels[m_settings.channel];
    double v = 0.0;
    if (p >= 0 && p <= 8) {
        if (!parseDouble(value, v))
            return "ER10";
        ch.matrix[p] = v;
    } else if (p == 11 || p == 12) {
        // ";" and line breaks would break the channel table; 32 characters is the label size.
        if (value.size() > 32 || value.contains(';') || value.contains('\n') || value.contains('\r'))
            return "ER10";
        (p == 11 ? ch.name : ch.date) = QString::fromLatin1(value);
    } else if (p >= 14 && p <= 16) {
        if (!parseDouble(value, v))
            return "ER10";
        const bool valid = p == 16 ? v > 0.0 : (v > 0.0 && v < 1.0);
        if (!valid)
            return "ER10"; // out of range: the reference is kept
        (p == 14 ? ch.whiteX : p == 15 ? ch.whiteY : ch.whiteLv) = v;
    } else {
        return "ER10";
    }
    changed();
    return "OK00";
}

// ---------------------------------------------------------------------------------------------
// Command interpreter

QByteArray SimProbe::reply(const QByteArray &rawLine, int *delayMs)
{
    if (delayMs)
        *delayMs = 0;
    const QByteArray line = rawLine.trimmed();
    if (line.size() < 3)
        return "ER00";
    const QByteArray cmd = line.left(3).toUpper();
    QByteArray arg;
    bool hasArg = false;
    if (line.size() > 3) {
        if (line[3] != ',' && line[3] != ' ')
            return "ER00";
        arg = line.mid(4);
        hasArg = true;
    }
    ProbeSettings &s = m_settings;
    int n = 0;
    double f = 0.0;

    if (cmd == "MES") {
        if (!hasArg)
            return replyMeasure(false, delayMs);
        if (arg.trimmed() == "1")
            return replyMeasure(true, delayMs);
        return "ER10";
    }
    if (cmd == "XYZ")
        return replyXyz(delayMs);
    if (cmd == "JAD")
        return replyJeita(delayMs);
    if (cmd == "JAA" || cmd == "JWA")
        return replySampling(cmd == "JWA", arg, delayMs);
    if (cmd == "VER") {
        if (!hasArg)
            return "OK00,KRN4," + m_profile.hardware.toLatin1() + "," + firmwareText().toLatin1();
        return "OK00," + firmwareText().toLatin1();
    }
    if (cmd == "VID")
        return "OK00,VID," + firmwareText().toLatin1();
    if (cmd == "TYP")
        return "OK00," + m_profile.type.toLatin1();
    if (cmd == "MDS") {
        if (!parseInt(arg, n) || (n != 0 && n != 1 && n != 6 && n != 7 && n != 8))
            return "ER10";
        s.displayMode = n;
        changed();
        return "OK00";
    }
    if (cmd == "MCH") {
        if (!parseInt(arg, n) || n < 0 || n > 99)
            return "ER10";
        s.channel = n;
        m_raw = false;
        changed();
        return "OK00";
    }
    if (cmd == "STR")
        return replyStr(arg);
    if (cmd == "SCS") {
        const QList<QByteArray> parts = arg.split(',');
        if (!parseInt(parts[0], n) || n < 0 || n > 5 || parts.size() > 2)
            return "ER10";
        if (parts.size() == 2) {
            if (!parseDouble(parts[1], f))
                return "ER10";
            if (n == 4 && (f < 10.0 || f > 300.0))
                return "ER10";
            if (n == 5 && (f < 1.0 || f > 10000.0))
                return "ER10";
            if (n == 4)
                s.syncFrequency = f;
            else if (n == 5)
                s.manualTimeMs = f;
        }
        s.syncMode = n;
        changed();
        return "OK00";
    }
    if (cmd == "FSC") {
        // Speed mode (0..3); not to be confused with FCS, the factory switch.
        if (!parseInt(arg, n) || n < 0 || n > 3)
            return "ER10";
        s.speed = n;
        changed();
        return "OK00";
    }
    if (cmd == "FCS") {
        if (!hasArg || arg.trimmed().isEmpty())
            return "OK00," + QByteArray::number(m_factory ? 0 : 1);
        if (!parseInt(arg, n) || (n != 0 && n != 1))
            return "ER10";
        m_factory = n == 0;
        if (n == 1)
            m_raw = false;
        return "OK00";
    }
    if (cmd == "MSC") {
        if (!parseInt(arg, n) || n < 1 || n > 100)
            return "ER10";
        s.averaging = n;
        changed();
        return "OK00";
    }
    if (cmd == "MVS") {
        if (!parseDouble(arg, f) || f < 10.0 || f > 300.0)
            return "ER10," + arg.trimmed();
        s.syncFrequency = f;
        s.syncMode = 4;
        changed();
        return "OK00," + num(f, 2);
    }
    if (cmd == "VSN") {
        const QList<QByteArray> parts = arg.split(',');
        if (!hasIntegration())
            return "ER10";
        if (!parseInt(parts[0], n) || (n != 1 && n != 2))
            return "ER10";
        s.integration = n - 1;
        changed();
        return "OK00";
    }
    if (cmd == "INI") {
        m_raw = false;
        return "OK00";
    }
    if (cmd == "ZRC") {
        refreshColor();
        const Vec3 xyz = m_display.averageXYZ(now(), now() + 0.1);
        if (delayMs)
            *delayMs = 1500;
        return xyz.y() < 0.5 ? "OK00" : "OK21";
    }
    if (cmd == "CMR")
        return replyCmr(arg);
    if (cmd == "CMW")
        return replyCmw(arg);
    if (cmd == "RPR") {
        if (!hasArg)
            return "OK00," + s.identity.toLatin1();
        if (arg.contains(';') || arg.size() > 32)
            return "ER10";
        s.identity = QString::fromLatin1(arg);
        changed();
        return "OK00";
    }
    if (cmd == "RAW") {
        m_raw = true;
        return "OK00";
    }
    if (cmd == "RGM") {
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
    if (cmd == "RGU") {
        QList<QByteArray> parts = arg.split(';');
        if (!parts.isEmpty() && parts.last().trimmed().isEmpty())
            parts.removeLast();
        if (parts.size() != 8)
            return "ER10";
        std::array<double, 8> g{};
        for (int i = 0; i < 8; ++i) {
            if (!parseDouble(parts[i], g[i]) || g[i] <= 0.0)
                return "ER10";
        }
        s.gains = g;
        s.gainsValid = true;
        changed();
        return "OK00";
    }
    if (cmd == "RGE") {
        // Automatic adjustment against the light in front of the probe: an ideal sensor needs
        // unity gains.
        s.gains.fill(1.0);
        s.gainsValid = true;
        if (delayMs)
            *delayMs = 3000;
        changed();
        return "OK00";
    }
    if (cmd == "CLR") {
        for (int c = 1; c < 100; ++c)
            m_channels[c] = MemoryChannel();
        const QString identity = s.identity, firmware = s.firmwareOverride;
        s = ProbeSettings();
        s.identity = identity;
        s.firmwareOverride = firmware;
        s.gainsValid = false;
        m_raw = false;
        m_factory = false;
        if (delayMs)
            *delayMs = 2000;
        changed();
        return "OK00";
    }
    if (cmd == "SWD") {
        static const QByteArray codes[] = {"0", "10", "12", "18", "1A", "1E"};
        const QByteArray code = arg.trimmed().toUpper();
        if (std::find(std::begin(codes), std::end(codes), code) == std::end(codes))
            return "ER10";
        s.windowCode = QString::fromLatin1(code);
        s.windowMode = code == "0" ? 0 : 1;
        changed();
        return "OK00";
    }
    if (cmd == "SEN") {
        if (!parseInt(arg, n) || n < 0 || n > 2)
            return "ER10";
        s.sensorType = n;
        changed();
        return "OK00";
    }
    if (cmd == "RSD") {
        if (!hasSpectrum())
            return "ER10";
        const std::vector<double> spectrum = m_display.spectrumFor(measureXYZ(measurementWindowSeconds()));
        QByteArray out = "OK00,";
        for (size_t i = 0; i < spectrum.size(); ++i) {
            if (i)
                out += ',';
            out += QByteArray::number(spectrum[i], 'g', 7);
        }
        if (delayMs)
            *delayMs = 500;
        return out;
    }
    if (cmd == "UDP") {
        if (arg.trimmed().toLower() != "0x3c71")
            return "ER10";
        m_dfuRequest = true;
        return "OK00";
    }
    if (cmd == "COM") {
        if (!parseInt(arg, n) || n < 0 || n > 1)
            return "ER10";
        return "OK00";
    }
    if (cmd == "UPD") {
        if (!parseInt(arg, n) || n != 1)
            return "ER10";
        m_mode = Mode::BootSync;
        m_lastBootByte = now();
        return "OK00";
    }
    // Commands of the hidden parameter form: accepted, no effect on the simulation.
    if (cmd == "IDO" || cmd == "IDP" || cmd == "SNF" || cmd == "ARS" || cmd == "FFD")
        return "OK00";
    return "ER00";
}

QByteArray SimProbe::command(const QByteArray &line)
{
    std::vector<Chunk> out;
    feed(line + '\r', out);
    QByteArray all;
    for (const Chunk &c : out)
        all += c.bytes;
    if (all.endsWith('\r'))
        all.chop(1);
    return all;
}

void SimProbe::feed(const QByteArray &bytes, std::vector<Chunk> &out)
{
    for (char c : bytes) {
        if (m_mode != Mode::Command) {
            feedBoot(c, out);
            continue;
        }
        m_announce = 0; // the application talks again: no more "Initial OK"
        // A partial line left over from an abandoned exchange (a sync byte sent to a probe that
        // is not in its boot loader, a half-written command) is dropped after 2 s of silence.
        const double t = now();
        if (!m_line.isEmpty() && t - m_lastLineByte > 2.0)
            m_line.clear();
        m_lastLineByte = t;
        if (c == '\r') {
            ++m_receivedCount;
            m_received.append(QString::fromLatin1(m_line));
            if (m_received.size() > 200)
                m_received.removeFirst();
            int delay = 0;
            QByteArray r = reply(m_line, &delay);
            r += '\r';
            out.push_back({r, m_realTime ? delay : 0, m_line.trimmed().toUpper()});
            m_line.clear();
        } else if (c == '\n' || c == '\0') {
            continue; // line feeds from terminals are ignored
        } else if (m_line.size() < 4096) {
            m_line += c;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Serial boot loader

void SimProbe::feedBoot(char byte, std::vector<Chunk> &out)
{
    const auto b = static_cast<unsigned char>(byte);
    m_lastBootByte = now();
    switch (m_mode) {
    case Mode::BootSync:
        if (byte == 'A') {
            out.push_back({QByteArray(1, 'A'), 0, {}});
            m_mode = Mode::BootImage;
            m_syncSpeed = m_lineSpeed;
            m_imageHead.clear();
            m_imageLength = -1;
            m_imageCount = 0;
        }
        return;
    case Mode::BootImage: {
        // The image ends where its header says; without a header, at the switch of the line
        // to another speed (the application moves from 38400 to 115200 baud for the count).
        const bool speedSwitched = m_imageLength < 0 && m_syncSpeed > 0 && m_lineSpeed > 0 &&
                                   m_lineSpeed != m_syncSpeed && m_imageCount > 0;
        if (!speedSwitched && (m_imageLength < 0 || m_imageCount < m_imageLength)) {
            out.push_back({QByteArray(1, byte), 0, {}});
            ++m_imageCount;
            if (m_imageHead.size() < 8) {
                m_imageHead += byte;
                if (m_imageHead.size() == 8 && m_imageHead.startsWith(kImageMagic)) {
                    const auto *h = reinterpret_cast<const unsigned char *>(m_imageHead.constData());
                    m_imageLength =
                        qint64(h[4]) | qint64(h[5]) << 8 | qint64(h[6]) << 16 | qint64(h[7]) << 24;
                }
            }
            return;
        }
        m_mode = Mode::BootCount;
        [[fallthrough]];
    }
    case Mode::BootCount:
        m_blockCount = b;
        m_blocksDone = 0;
        m_block.clear();
        m_firmwareImage.clear();
        out.push_back({QByteArray(1, byte), 0, {}});
        m_mode = Mode::BootStart;
        return;
    case Mode::BootStart:
        if (b == 0x55) {
            out.push_back({QByteArray(1, char(0xAA)), 0, {}});
            m_mode = Mode::BootBlocks;
            if (m_blockCount == 0)
                finishBoot(out);
        }
        return;
    case Mode::BootBlocks: {
        m_block += byte;
        if (m_block.size() < kBlockSize + 1)
            return;
        unsigned sum = 0;
        for (int i = 0; i < kBlockSize; ++i)
            sum += static_cast<unsigned char>(m_block[i]);
        const bool good = (sum & 0xFF) == static_cast<unsigned char>(m_block[kBlockSize]);
        if (good) {
            m_firmwareImage += m_block.left(kBlockSize);
            ++m_blocksDone;
            out.push_back({QByteArray(1, char(0xAA)), 0, {}});
        }
        // A bad block is not acknowledged; the loader waits for it again.
        m_block.clear();
        if (m_blocksDone >= m_blockCount)
            finishBoot(out);
        return;
    }
    case Mode::Command:
        return;
    }
}

void SimProbe::finishBoot(std::vector<Chunk> &out)
{
    // A firmware image may carry its version as "KRN4FW:" + text up to a NUL or line end.
    const int at = m_firmwareImage.indexOf(kFirmwareMarker);
    if (at >= 0) {
        QByteArray v = m_firmwareImage.mid(at + kFirmwareMarker.size(), 32);
        for (int i = 0; i < v.size(); ++i) {
            if (v[i] == '\0' || v[i] == '\n' || v[i] == '\r' || static_cast<unsigned char>(v[i]) == 0xFF) {
                v.truncate(i);
                break;
            }
        }
        if (!v.isEmpty()) {
            m_settings.firmwareOverride = QString::fromLatin1(v);
            changed();
        }
    }
    m_firmwareImage.clear();
    m_mode = Mode::Command;
    m_line.clear();
    // The probe restarts and announces itself; repeated by tick() while nobody talks to it.
    out.push_back({"Initial OK", 300, {}});
    m_announce = 10;
}

void SimProbe::tick(std::vector<Chunk> &out)
{
    if (m_mode != Mode::Command && now() - m_lastBootByte > kBootIdleSeconds) {
        // Nobody finished the upgrade: the loader gives up and the old firmware runs again.
        m_mode = Mode::Command;
        m_block.clear();
        m_line.clear();
        return;
    }
    if (m_mode == Mode::Command && m_announce > 0) {
        --m_announce;
        out.push_back({"Initial OK", 0, {}});
    }
}

} // namespace Krn4Sim
