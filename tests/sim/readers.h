#pragma once

// The simulator's replies read by the application's own reply reader (link/replyreader.h), so
// the tests check each reply against what the pages do with it.

#include "probereply.h"
#include "replyreader.h"

#include <optional>
#include <vector>

namespace Readers {

using namespace ReplyReader;
using ChannelRow = ChannelRecord;
// Slicing of ASCII replies: "VER", "TYP", "STR,", "CMR," data and the "ER20"/"ER22" code.
using ProbeReply::afterFirstComma;
using ProbeReply::afterLastComma;
using ProbeReply::errorCode;
inline QString from5(const QByteArray &r)
{
    return ProbeReply::dataFrom5(text(r));
}

struct XyLv
{
    double x = 0, y = 0, lv = 0;
};

struct JeitaReply
{
    double value = 0;
    std::vector<double> perHz;
};

inline std::optional<XyLv> xyLv(bool ok, const ReplyReader::XyLv &c)
{
    return ok ? std::optional<XyLv>(XyLv{c.x.value, c.y.value, c.lv.value}) : std::nullopt;
}

inline std::optional<std::vector<double>> values(bool ok, const QVector<double> &v)
{
    return ok ? std::optional<std::vector<double>>(std::vector<double>(v.begin(), v.end())) : std::nullopt;
}

inline std::optional<double> number(const QString &s)
{
    Number n;
    return readNumber(s, &n) ? std::optional<double>(n.value) : std::nullopt;
}

inline std::optional<XyLv> base(const QByteArray &reply)
{
    ReplyReader::XyLv c;
    return xyLv(readPositional(text(reply), &c), c);
}

// Gray scanning, gamma, sync, spectrum, Measure tab: the five-field layout (FMA first in mode 6).
inline std::optional<XyLv> measure5(const QByteArray &reply)
{
    QVector<Number> f;
    const bool ok = readFiveFields(text(reply), &f);
    return xyLv(ok, ok ? ReplyReader::XyLv{f.at(0), f.at(1), f.at(2)} : ReplyReader::XyLv{});
}

// User calibration: three fields after the 8-character head, x, y, Lv or X, Y, Z.
inline std::optional<XyLv> userCal(const QByteArray &reply, bool xyLvMode)
{
    ReplyReader::XyLv c;
    Xyz t;
    const bool ok = xyLvMode ? readPlain(text(reply), &c) : readXyzFields(text(reply), &t);
    return xyLv(ok, xyLvMode ? c : ReplyReader::XyLv{t.X, t.Y, t.Z});
}

inline std::optional<std::vector<double>> xyz(const QByteArray &reply)
{
    Xyz t;
    const bool ok = readTristimulus(text(reply), &t);
    return values(ok, {t.X.value, t.Y.value, t.Z.value});
}

inline std::optional<JeitaReply> jeita(const QByteArray &reply)
{
    Jeita j;
    if (!readJeita(text(reply), &j))
        return std::nullopt;
    JeitaReply out{j.value.value, {}};
    for (const Number &n : j.perHz)
        out.perHz.push_back(n.value);
    return out;
}

inline std::optional<std::vector<double>> jaa(const QByteArray &reply)
{
    QVector<double> v;
    return values(readSamples(text(reply), &v), v);
}

inline std::optional<std::vector<std::vector<double>>> jwa(const QByteArray &reply)
{
    QVector<double> X, Y, Z;
    if (!readChannelSamples(text(reply), &X, &Y, &Z))
        return std::nullopt;
    std::vector<std::vector<double>> out;
    for (int i = 0; i < X.size(); ++i)
        out.push_back({X.at(i), Y.at(i), Z.at(i)});
    return out;
}

inline std::optional<std::vector<double>> rsd(const QByteArray &reply)
{
    QVector<double> v;
    return values(readSpectrum(text(reply), &v), v);
}

inline std::optional<QVector<ChannelRow>> channelTable(const QByteArray &reply)
{
    QVector<ChannelRow> rows;
    return readChannelTable(text(reply), &rows) ? std::optional<QVector<ChannelRow>>(rows) : std::nullopt;
}

} // namespace Readers
