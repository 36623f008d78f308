#include "simstate.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace Krn4Sim {

bool Limits::isDisplayMode(int mode)
{
    return mode == 0 || mode == 1 || mode == 6 || mode == 7 || mode == 8;
}

bool Limits::isWindowCode(const QByteArray &code)
{
    static const QByteArray codes[] = {"0", "10", "12", "18", "1A", "1E"};
    return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}

bool Limits::isLabel(const QByteArray &text)
{
    // ";" and line breaks would break the channel table; 32 characters is the label size.
    return text.size() <= kLabelMax && !text.contains(';') && !text.contains('\n') && !text.contains('\r');
}

namespace {

// Reads the values of one JSON object into their fields, refusing what the probe could not
// hold. JSON numbers are doubles: they are range-checked as doubles before any conversion to
// int, since converting a double outside the int range is undefined.
class FieldReader
{
public:
    FieldReader(const QJsonObject &o, QString where, QStringList *warnings)
        : m_o(o), m_where(std::move(where)), m_warnings(warnings)
    {
    }

    void integer(const char *key, int &field, int lo, int hi)
    {
        const QJsonValue v = m_o.value(key);
        if (v.isUndefined())
            return;
        const double d = v.toDouble();
        if (!v.isDouble() || !(d >= lo && d <= hi) || d != std::floor(d))
            return refuse(key, v, QStringLiteral("a whole number %1..%2").arg(lo).arg(hi));
        field = int(d);
    }

    void number(const char *key, double &field, double lo, double hi)
    {
        const QJsonValue v = m_o.value(key);
        if (v.isUndefined())
            return;
        const double d = v.toDouble();
        if (!v.isDouble() || !(d >= lo && d <= hi))
            return refuse(key, v, QStringLiteral("a number %1..%2").arg(lo).arg(hi));
        field = d;
    }

    // A white reference value: null is "not set" (NaN); otherwise within (lo, hi).
    void white(const char *key, double &field, double lo, double hi)
    {
        const QJsonValue v = m_o.value(key);
        if (v.isUndefined() || v.isNull())
            return;
        const double d = v.toDouble();
        if (!v.isDouble() || !(d > lo && d < hi))
            return refuse(key, v, QStringLiteral("null or a number above %1 and below %2").arg(lo).arg(hi));
        field = d;
    }

    void text(const char *key, QString &field, bool (*valid)(const QByteArray &), const QString &what)
    {
        const QJsonValue v = m_o.value(key);
        if (v.isUndefined())
            return;
        if (!v.isString() || !valid(v.toString().toLatin1()))
            return refuse(key, v, what);
        field = v.toString();
    }

    void flag(const char *key, bool &field)
    {
        const QJsonValue v = m_o.value(key);
        if (v.isUndefined())
            return;
        if (!v.isBool())
            return refuse(key, v, QStringLiteral("true or false"));
        field = v.toBool();
    }

    // A fixed-size list of numbers, each checked by `valid`.
    template <size_t N>
    void list(const char *key, std::array<double, N> &field, bool (*valid)(double), const QString &what)
    {
        const QJsonValue v = m_o.value(key);
        if (v.isUndefined())
            return;
        const QJsonArray a = v.toArray();
        std::array<double, N> out{};
        bool ok = v.isArray() && a.size() == int(N);
        for (int i = 0; ok && i < int(N); ++i) {
            ok = a[i].isDouble() && valid(a[i].toDouble());
            out[i] = a[i].toDouble();
        }
        if (!ok)
            return refuse(key, v, what);
        field = out;
    }

private:
    void refuse(const char *key, const QJsonValue &v, const QString &what)
    {
        if (!m_warnings)
            return;
        const QString shown = v.isDouble()   ? QString::number(v.toDouble(), 'g', 17)
                              : v.isString() ? '"' + v.toString().left(40) + '"'
                              : v.isBool()   ? QString(v.toBool() ? "true" : "false")
                              : v.isArray()  ? QStringLiteral("a list")
                              : v.isObject() ? QStringLiteral("an object")
                                             : QStringLiteral("null");
        *m_warnings << QStringLiteral("%1.%2 = %3 refused: must be %4; the default is kept")
                           .arg(m_where, QLatin1String(key), shown, what);
    }

    const QJsonObject m_o;
    const QString m_where;
    QStringList *m_warnings;
};

bool isFirmwareText(const QByteArray &text)
{
    // What the boot loader takes from an image: up to 32 characters before a NUL or line end.
    return text.size() <= Limits::kLabelMax && !text.contains('\0') && !text.contains('\r') &&
           !text.contains('\n');
}

bool isWindowCodeText(const QByteArray &code)
{
    return Limits::isWindowCode(code);
}

bool isFinite(double v)
{
    return std::isfinite(v);
}

bool isGain(double v)
{
    return std::isfinite(v) && v > 0.0;
}

void readSettings(const QJsonObject &o, ProbeSettings &s, QStringList *warnings)
{
    FieldReader r(o, QStringLiteral("settings"), warnings);
    int mode = s.displayMode;
    r.integer("displayMode", mode, 0, 8);
    if (Limits::isDisplayMode(mode))
        s.displayMode = mode;
    else if (warnings)
        *warnings << QStringLiteral(
                         "settings.displayMode = %1 refused: must be 0, 1, 6, 7 or 8; the default is kept")
                         .arg(mode);
    r.integer("syncMode", s.syncMode, 0, 5);
    r.number("syncFrequency", s.syncFrequency, Limits::kSyncMinHz, Limits::kSyncMaxHz);
    r.number("manualTimeMs", s.manualTimeMs, Limits::kManualMinMs, Limits::kManualMaxMs);
    r.integer("speed", s.speed, 0, 3);
    r.integer("averaging", s.averaging, 1, Limits::kAveragingMax);
    r.integer("integration", s.integration, 0, 1);
    r.integer("channel", s.channel, 0, 99);
    r.integer("sensorType", s.sensorType, 0, 2);
    r.integer("windowMode", s.windowMode, 0, 1);
    r.text("windowCode", s.windowCode, isWindowCodeText, QStringLiteral("one of 0, 10, 12, 18, 1A, 1E"));
    r.text("identity", s.identity, Limits::isLabel, QStringLiteral("at most 32 characters without \";\""));
    r.flag("gainsValid", s.gainsValid);
    r.text("firmware", s.firmwareOverride, isFirmwareText,
           QStringLiteral("at most 32 characters on one line"));
    r.list("gains", s.gains, isGain, QStringLiteral("8 positive numbers"));
}

void readChannel(const QJsonObject &o, int index, MemoryChannel &ch, QStringList *warnings)
{
    FieldReader r(o, QStringLiteral("channels[%1]").arg(index), warnings);
    r.list("matrix", ch.matrix, isFinite, QStringLiteral("9 numbers"));
    const QString label = QStringLiteral("at most 32 characters without \";\" or line breaks");
    r.text("name", ch.name, Limits::isLabel, label);
    r.text("date", ch.date, Limits::isLabel, label);
    r.white("whiteX", ch.whiteX, 0.0, 1.0);
    r.white("whiteY", ch.whiteY, 0.0, 1.0);
    r.white("whiteLv", ch.whiteLv, 0.0, HUGE_VAL);
}

QJsonValue jsonNumber(double v)
{
    return std::isfinite(v) ? QJsonValue(v) : QJsonValue(QJsonValue::Null);
}

} // namespace

bool parseState(const QByteArray &json, ProbeState &state, QString *error, QStringList *warnings)
{
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &pe);
    if (!doc.isObject()) {
        if (error)
            *error = QStringLiteral("state file is not valid JSON: ") + pe.errorString();
        return false;
    }
    const QJsonObject o = doc.object();
    readSettings(o.value("settings").toObject(), state.settings, warnings);
    const QJsonArray chans = o.value("channels").toArray();
    for (int i = 0; i < int(state.channels.size()) && i < chans.size(); ++i)
        readChannel(chans[i].toObject(), i, state.channels[i], warnings);
    return true;
}

QByteArray serializeState(const ProbeState &state)
{
    const ProbeSettings &set = state.settings;
    QJsonObject s;
    s["displayMode"] = set.displayMode;
    s["syncMode"] = set.syncMode;
    s["syncFrequency"] = set.syncFrequency;
    s["manualTimeMs"] = set.manualTimeMs;
    s["speed"] = set.speed;
    s["averaging"] = set.averaging;
    s["integration"] = set.integration;
    s["channel"] = set.channel;
    s["sensorType"] = set.sensorType;
    s["windowMode"] = set.windowMode;
    s["windowCode"] = set.windowCode;
    s["identity"] = set.identity;
    s["gainsValid"] = set.gainsValid;
    s["firmware"] = set.firmwareOverride;
    QJsonArray gains;
    for (double g : set.gains)
        gains.append(g);
    s["gains"] = gains;
    QJsonArray chans;
    for (const MemoryChannel &ch : state.channels) {
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
    return QJsonDocument(o).toJson();
}

bool loadStateFile(const QString &path, ProbeState &state, QString *error, QStringList *warnings)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return parseState(f.readAll(), state, error, warnings);
}

bool saveStateFile(const QString &path, const ProbeState &state, QString *error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    f.write(serializeState(state));
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

} // namespace Krn4Sim
