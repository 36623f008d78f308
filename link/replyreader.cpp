#include "replyreader.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace ReplyReader {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Sign, digits with an optional point (at least one digit), optional exponent, nothing else.
// QString::toDouble alone would also take blanks around the number, "nan" and "inf".
bool isDecimal(const QString &s)
{
    const int n = s.size();
    int i = 0;
    if (i < n && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-')))
        ++i;
    int digits = 0;
    while (i < n && isAsciiDigit(s.at(i))) {
        ++i;
        ++digits;
    }
    if (i < n && s.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < n && isAsciiDigit(s.at(i))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (s.at(i) == QLatin1Char('e') || s.at(i) == QLatin1Char('E'))) {
        ++i;
        if (i < n && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-')))
            ++i;
        int exponent = 0;
        while (i < n && isAsciiDigit(s.at(i))) {
            ++i;
            ++exponent;
        }
        if (exponent == 0)
            return false;
    }
    return i == n;
}

// Leading blanks pad the fixed-width fields of the positional layouts.
QString unpadded(const QString &field)
{
    int i = 0;
    while (i < field.size() && field.at(i) == QLatin1Char(' '))
        ++i;
    return field.mid(i);
}

bool readValue(const QString &field, double *out)
{
    Number n;
    if (!readNumber(field, &n))
        return false;
    *out = n.value;
    return true;
}

// A list of numbers; one empty last entry (a trailing separator) is allowed.
bool readList(const QString &text, QChar sep, QVector<double> *out, int maxCount = -1)
{
    QStringList parts = text.split(sep);
    if (parts.size() > 1 && parts.last().isEmpty())
        parts.removeLast();
    if (maxCount >= 0 && parts.size() > maxCount)
        return false;
    QVector<double> values;
    values.reserve(parts.size());
    for (const QString &p : parts) {
        double v = 0.0;
        if (!readValue(p, &v))
            return false;
        values.append(v);
    }
    *out = values;
    return true;
}

// A chromaticity coordinate lies in [0, 1]: this also tells an x, y, Lv reply from an X, Y, Z
// reply of the same shape.
bool isChromaticity(const Number &n)
{
    return n.value >= 0.0 && n.value <= 1.0;
}

// x or y in a field layout: a field without "." is "0." + field.
bool readChromaticity(const QString &field, Number *out)
{
    Number n;
    if (field.contains(QLatin1Char('.'))) {
        if (!readNumber(field, &n))
            return false;
    } else if (field.isEmpty() || !readNumber(QStringLiteral("0.") + field, &n)) {
        return false;
    }
    if (!isChromaticity(n))
        return false;
    *out = n;
    return true;
}

// Lv in a field layout: ".1234" is "0.1234".
bool readLuminance(const QString &field, Number *out)
{
    return readNumber(field.startsWith(QLatin1Char('.')) ? QLatin1Char('0') + field : field, out);
}

void fromXyLv(const XyLv &c, Reading *out)
{
    const double x = c.x.value, y = c.y.value, lv = c.lv.value;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    out->x = x;
    out->y = y;
    out->lv = lv;
    // A y close to 0 can overflow the quotient: no more computable than y = 0.
    const auto orNan = [nan](double v) { return std::isfinite(v) ? v : nan; };
    out->X = y != 0.0 ? orNan(x * lv / y) : nan;
    out->Z = y != 0.0 ? orNan((1.0 - x - y) * lv / y) : nan;
    out->tristimulus = false;
}

void fromXyz(const Xyz &t, Reading *out)
{
    const double X = t.X.value, Y = t.Y.value, Z = t.Z.value;
    const double sum = X + Y + Z;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // A sum that overflows would give x = y = 0.
    const bool computable = sum != 0.0 && std::isfinite(sum);
    out->x = computable ? X / sum : nan;
    out->y = computable ? Y / sum : nan;
    out->lv = Y;
    out->X = X;
    out->Z = Z;
    out->tristimulus = true;
}

} // namespace

QString text(const QByteArray &reply)
{
    // QString::fromLatin1(const QByteArray &) stops at the first NUL byte.
    return QString::fromLatin1(reply.constData(), reply.size());
}

bool readNumber(const QString &field, Number *out)
{
    if (!isDecimal(field))
        return false;
    bool ok = false;
    const double v = field.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    out->value = v;
    out->text = field;
    return true;
}

bool readPositional(const QString &reply, XyLv *out)
{
    if (reply.size() < 18)
        return false;
    // x and y: four-digit integers in 1/10000.
    const auto readTenThousandths = [&reply](int at, Number *target) {
        const QString digits = unpadded(reply.mid(at, 4));
        if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), isAsciiDigit))
            return false;
        target->value = digits.toInt() / 10000.0;
        target->text = QString::number(target->value, 'f', 4);
        return true;
    };
    XyLv c;
    if (!readTenThousandths(8, &c.x) || !readTenThousandths(13, &c.y))
        return false;
    QString lv = unpadded(reply.mid(reply.size() - 6, 5));
    if (lv.startsWith(QLatin1Char('.')))
        lv = QLatin1Char('0') + lv.left(4);
    if (!readNumber(lv, &c.lv))
        return false;
    *out = c;
    return true;
}

bool readFiveFields(const QString &reply, QVector<Number> *out)
{
    if (reply.size() <= 10 || reply.at(9) != QLatin1Char(','))
        return false;
    const QStringList parts = reply.mid(10).split(QLatin1Char(','));
    if (parts.size() != 5)
        return false;
    QVector<Number> values(5);
    for (int i = 0; i < 5; ++i) {
        if (!readNumber(parts.at(i), &values[i]))
            return false;
    }
    *out = values;
    return true;
}

bool readSync(const QString &reply, XyLv *out)
{
    QVector<Number> f;
    if (!readFiveFields(reply, &f) || !isChromaticity(f.at(0)) || !isChromaticity(f.at(1)))
        return false;
    *out = {f.at(0), f.at(1), f.at(2)};
    return true;
}

bool readPlain(const QString &reply, XyLv *out, QChar sep)
{
    const QStringList parts = reply.mid(8).split(sep);
    if (reply.size() <= 8 || parts.size() != 3)
        return false;
    XyLv c;
    if (!readChromaticity(parts.at(0), &c.x) || !readChromaticity(parts.at(1), &c.y) ||
        !readLuminance(parts.at(2), &c.lv))
        return false;
    *out = c;
    return true;
}

bool readTristimulus(const QString &reply, Xyz *out)
{
    if (reply.size() < 37)
        return false;
    Xyz t;
    if (!readNumber(unpadded(reply.mid(8, 9)), &t.X) || !readNumber(unpadded(reply.mid(18, 9)), &t.Y) ||
        !readNumber(unpadded(reply.mid(28, 9)), &t.Z))
        return false;
    *out = t;
    return true;
}

bool readXyzFields(const QString &reply, Xyz *out)
{
    if (reply.size() <= 8)
        return false;
    QString rest = reply.mid(8);
    rest.replace(QLatin1Char(','), QLatin1Char(';'));
    const QStringList parts = rest.split(QLatin1Char(';'));
    if (parts.size() != 3)
        return false;
    Xyz t;
    if (!readNumber(parts.at(0), &t.X) || !readNumber(parts.at(1), &t.Y) || !readNumber(parts.at(2), &t.Z))
        return false;
    *out = t;
    return true;
}

bool readFma(const QString &reply, Number *out)
{
    QVector<Number> f;
    if (readFiveFields(reply, &f)) {
        *out = f.first();
        return true;
    }
    const QStringList parts = reply.split(QLatin1Char(','));
    return parts.size() == 2 && readNumber(parts.at(1), out);
}

bool readMeasurement(bool tristimulusCommand, const QString &reply, Reading *out)
{
    XyLv c;
    Xyz t;
    if (tristimulusCommand) {
        if (!readTristimulus(reply, &t) && !readXyzFields(reply, &t))
            return false;
        fromXyz(t, out);
        return true;
    }
    if (readPositional(reply, &c) || readSync(reply, &c)) {
        fromXyLv(c, out);
        return true;
    }
    if (readXyzFields(reply, &t)) {
        fromXyz(t, out);
        return true;
    }
    return false;
}

bool readJeita(const QString &reply, Jeita *out)
{
    const QStringList fields = reply.split(QLatin1Char(','));
    if (fields.size() < 2 || fields.size() > 3)
        return false;
    Jeita j;
    if (!readNumber(fields.at(1), &j.value))
        return false;
    if (fields.size() == 3) {
        QStringList list = fields.at(2).split(QLatin1Char(';'));
        if (list.size() > 1 && list.last().isEmpty())
            list.removeLast();
        if (list.size() > 60)
            return false;
        j.perHz.resize(list.size());
        for (int i = 0; i < list.size(); ++i) {
            if (!readNumber(list.at(i), &j.perHz[i]))
                return false;
        }
    }
    *out = j;
    return true;
}

bool readSamples(const QString &reply, QVector<double> *out)
{
    const int at = reply.indexOf(QLatin1String("JAA:"));
    return at >= 0 && readList(reply.mid(at + 4), QLatin1Char(','), out);
}

bool readChannelSamples(const QString &reply, QVector<double> *X, QVector<double> *Y, QVector<double> *Z)
{
    if (reply.size() <= 8)
        return false;
    QStringList records = reply.mid(8).split(QLatin1Char(';'));
    if (records.size() > 1 && records.last().isEmpty())
        records.removeLast();
    QVector<double> x, y, z;
    x.reserve(records.size());
    y.reserve(records.size());
    z.reserve(records.size());
    for (const QString &record : records) {
        QVector<double> v;
        if (!readList(record, QLatin1Char(','), &v, 3) || v.size() != 3)
            return false;
        x.append(v.at(0));
        y.append(v.at(1));
        z.append(v.at(2));
    }
    *X = x;
    *Y = y;
    *Z = z;
    return true;
}

bool readSpectrum(const QString &reply, QVector<double> *out)
{
    QVector<double> v;
    if (reply.size() <= 5 || !readList(reply.mid(5), QLatin1Char(','), &v, 401))
        return false;
    *out = v;
    return true;
}

bool readChannelTable(const QString &reply, QVector<ChannelRecord> *out)
{
    if (!reply.contains(QLatin1String("OK00")))
        return false;
    QString body = reply.mid(5);
    if (body.endsWith(QLatin1Char('\n')))
        body.chop(1);
    const QStringList lines = body.split(QLatin1Char('\n'));
    if (lines.size() < 100)
        return false;
    static const int labels[7] = {3, 7, 5, 5, 2, 2, 3};
    QVector<ChannelRecord> rows;
    rows.reserve(lines.size());
    for (const QString &line : lines) {
        const QStringList f = line.split(QLatin1Char(';'));
        if (f.size() != 7)
            return false;
        QString v[7];
        for (int i = 0; i < 7; ++i) {
            if (f.at(i).size() < labels[i])
                return false;
            v[i] = f.at(i).mid(labels[i]);
        }
        ChannelRecord r;
        const bool digits =
            !v[0].isEmpty() && v[0].size() <= 2 && std::all_of(v[0].begin(), v[0].end(), isAsciiDigit);
        if (!digits)
            return false;
        r.channel = v[0].toInt();
        const QStringList m = v[1].split(QLatin1Char(','));
        if (m.size() != 9)
            return false;
        for (int i = 0; i < 9; ++i) {
            if (!readValue(m.at(i), &r.matrix[i]))
                return false;
        }
        r.name = v[2];
        r.date = v[3];
        double *white[3] = {&r.x, &r.y, &r.lv};
        for (int i = 0; i < 3; ++i) {
            const QString &w = v[4 + i];
            if (w.contains(QLatin1String("nan")))
                *white[i] = 0.0;
            else if (w == QLatin1String("inf") || w == QLatin1String("+inf") || w == QLatin1String("-inf"))
                *white[i] =
                    (w.startsWith(QLatin1Char('-')) ? -1 : 1) * std::numeric_limits<double>::infinity();
            else if (!readValue(w, white[i]))
                return false;
        }
        rows.append(r);
    }
    *out = rows;
    return true;
}

} // namespace ReplyReader
