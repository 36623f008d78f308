#pragma once

// The readings the application's pages apply to probe replies, written out independently of
// the simulator so that the tests check the replies against what the pages do with them.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace Readers {

inline std::optional<double> number(const QString &s)
{
    bool ok = false;
    const double v = s.trimmed().toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

struct XyLv
{
    double x = 0, y = 0, lv = 0;
};

// Base reply handler: x at 8–11 and y at 13–16 in 1/10000; Lv = the 5 characters before the
// last one, a leading "." read as "0" + its first 4 characters.
inline std::optional<XyLv> base(const QByteArray &reply)
{
    const QString r = QString::fromLatin1(reply);
    if (r.size() < 18)
        return std::nullopt;
    bool okx = false, oky = false, okl = false;
    XyLv v;
    v.x = r.mid(8, 4).toInt(&okx) / 10000.0;
    v.y = r.mid(13, 4).toInt(&oky) / 10000.0;
    QString lv = r.mid(r.size() - 6, 5);
    if (lv.startsWith('.'))
        lv = "0" + lv.left(4);
    v.lv = lv.toDouble(&okl);
    if (!okx || !oky || !okl)
        return std::nullopt;
    return v;
}

// Gray scanning / gamma / sync / spectrum / Measure tab: drop 10, split at ",", exactly 5 parts.
inline std::optional<XyLv> measure5(const QByteArray &reply)
{
    const QStringList p = QString::fromLatin1(reply).mid(10).split(',');
    if (p.size() != 5)
        return std::nullopt;
    for (const QString &s : p) {
        if (!number(s))
            return std::nullopt;
    }
    return XyLv{*number(p[0]), *number(p[1]), *number(p[2])};
}

// User calibration: drop 8, split at ";", exactly 3 fields; in xyLv a field without "." is "0." + field.
inline std::optional<XyLv> userCal(const QByteArray &reply, bool xyLv)
{
    QStringList p = QString::fromLatin1(reply).mid(8).split(';');
    if (p.size() != 3)
        return std::nullopt;
    if (xyLv) {
        for (int i = 0; i < 2; ++i) {
            if (!p[i].contains('.'))
                p[i] = "0." + p[i];
        }
    }
    const auto a = number(p[0]), b = number(p[1]), c = number(p[2]);
    if (!a || !b || !c)
        return std::nullopt;
    return XyLv{*a, *b, *c};
}

// Tristimulus command: X at 8–16, Y 18–26, Z 28–36.
inline std::optional<std::vector<double>> xyz(const QByteArray &reply)
{
    const QString r = QString::fromLatin1(reply);
    std::vector<double> v;
    for (int at : {8, 18, 28}) {
        const QString f = r.mid(at, 9);
        if (f.size() != 9)
            return std::nullopt;
        const auto n = number(f);
        if (!n)
            return std::nullopt;
        v.push_back(*n);
    }
    return v;
}

inline QString afterLastComma(const QByteArray &r)
{
    return QString::fromLatin1(r).section(',', -1);
}

inline QString afterFirstComma(const QByteArray &r)
{
    return QString::fromLatin1(r).section(',', 1);
}

inline QString from5(const QByteArray &r)
{
    return QString::fromLatin1(r).mid(5);
}

struct JeitaReply
{
    double value = 0;
    std::vector<double> perHz;
};

// Measure tab JEITA: split at ","; field 1 the value, field 2 the ";" list for 6..65 Hz.
inline std::optional<JeitaReply> jeita(const QByteArray &reply)
{
    const QStringList p = QString::fromLatin1(reply).split(',');
    if (p.size() != 3 || !number(p[1]))
        return std::nullopt;
    JeitaReply j;
    j.value = *number(p[1]);
    for (const QString &s : p[2].split(';')) {
        const auto n = number(s);
        if (!n)
            return std::nullopt;
        j.perHz.push_back(*n);
    }
    return j;
}

// Waveform page: the text after "JAA:", without a trailing ",", split at ",".
inline std::optional<std::vector<double>> jaa(const QByteArray &reply)
{
    QString r = QString::fromLatin1(reply);
    const int at = r.indexOf("JAA:");
    if (at < 0)
        return std::nullopt;
    r = r.mid(at + 4);
    if (r.endsWith(','))
        r.chop(1);
    std::vector<double> v;
    for (const QString &s : r.split(',')) {
        const auto n = number(s);
        if (!n)
            return std::nullopt;
        v.push_back(*n);
    }
    return v;
}

// Three-channel sampling: from character 8, records separated by ";", each X,Y,Z by ",".
inline std::optional<std::vector<std::vector<double>>> jwa(const QByteArray &reply)
{
    std::vector<std::vector<double>> out;
    for (const QString &rec : QString::fromLatin1(reply).mid(8).split(';')) {
        const QStringList f = rec.split(',');
        if (f.size() != 3)
            return std::nullopt;
        std::vector<double> v;
        for (const QString &s : f) {
            const auto n = number(s);
            if (!n)
                return std::nullopt;
            v.push_back(*n);
        }
        out.push_back(v);
    }
    return out;
}

// Spectrum page: from character 5, split at ",".
inline std::optional<std::vector<double>> rsd(const QByteArray &reply)
{
    std::vector<double> v;
    for (const QString &s : QString::fromLatin1(reply).mid(5).split(',')) {
        const auto n = number(s);
        if (!n)
            return std::nullopt;
        v.push_back(*n);
    }
    return v;
}

struct ChannelRow
{
    int channel = -1;
    std::vector<double> matrix;
    QString name, date;
    double x = 0, y = 0, lv = 0; // "nan" stored as 0
};

// Memory-channel overview: "OK00" required; from character 5; one trailing "\n" removed;
// lines at "\n" (at least 100); fields at ";" with label lengths 3, 7, 5, 5, 2, 2, 3.
inline std::optional<std::vector<ChannelRow>> channelTable(const QByteArray &reply)
{
    if (!reply.contains("OK00"))
        return std::nullopt;
    QString text = QString::fromLatin1(reply).mid(5);
    if (text.endsWith('\n'))
        text.chop(1);
    const QStringList lines = text.split('\n');
    if (lines.size() < 100)
        return std::nullopt;
    std::vector<ChannelRow> rows;
    const int labels[] = {3, 7, 5, 5, 2, 2, 3};
    for (const QString &line : lines) {
        const QStringList f = line.split(';');
        if (f.size() != 7)
            return std::nullopt;
        QStringList v;
        for (int i = 0; i < 7; ++i)
            v << f[i].mid(labels[i]);
        ChannelRow row;
        bool ok = false;
        row.channel = v[0].toInt(&ok);
        if (!ok)
            return std::nullopt;
        for (const QString &m : v[1].split(',')) {
            const auto n = number(m);
            if (!n)
                return std::nullopt;
            row.matrix.push_back(*n);
        }
        if (row.matrix.size() != 9)
            return std::nullopt;
        row.name = v[2];
        row.date = v[3];
        auto white = [](const QString &s) { return s.contains("nan") ? 0.0 : number(s).value_or(-1.0); };
        row.x = white(v[4]);
        row.y = white(v[5]);
        row.lv = white(v[6]);
        rows.push_back(row);
    }
    return rows;
}

// "ER20"/"ER22" replies: the first 3 of the last 4 characters, trimmed.
inline QString errorCode(const QByteArray &reply)
{
    return QString::fromLatin1(reply.right(4).left(3)).trimmed();
}

} // namespace Readers
