// The probe reply readers, the status and slicing helpers, and the Measure tab's handling of
// "MES" and "JAD" replies. The first byte picks the reader, the rest is the reply (Latin-1,
// NUL bytes included). What a reader accepts must keep its promises: finite numbers where the
// layout carries them, never more values than the layout allows, and "as received" texts that
// are numbers and nothing else (no line break, blank, separator or formula start that could
// leak into a table or a CSV file). A reader that refuses leaves its output alone.

#include "flickerlogic.h"
#include "probereply.h"
#include "replyreader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

using namespace ReplyReader;

void check(bool property)
{
    if (!property)
        __builtin_trap();
}

// A text that can stand in a table cell or a CSV field as it is: no control character, no
// blank, no "," or ";", and no "=", "+" or "@" at the start unless a number follows.
bool isCellSafe(const QString &text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u < 0xa0) || u == ' ' || u == ',' || u == ';')
            return false;
    }
    if (text.startsWith(QLatin1Char('=')) || text.startsWith(QLatin1Char('@')))
        return false;
    if (text.startsWith(QLatin1Char('+'))) {
        const QChar next = text.size() > 1 ? text.at(1) : QChar();
        return next.isDigit() || next == QLatin1Char('.');
    }
    return true;
}

// A number as received: finite, and its text a number of the same value.
void checkNumber(const Number &n)
{
    check(std::isfinite(n.value));
    check(isCellSafe(n.text));
    Number again;
    check(readNumber(n.text, &again) && again.value == n.value);
}

void checkXyLv(const XyLv &c, bool chromaticity)
{
    checkNumber(c.x);
    checkNumber(c.y);
    checkNumber(c.lv);
    if (chromaticity)
        check(c.x.value >= 0.0 && c.x.value <= 1.0 && c.y.value >= 0.0 && c.y.value <= 1.0);
}

void checkXyz(const Xyz &t)
{
    checkNumber(t.X);
    checkNumber(t.Y);
    checkNumber(t.Z);
}

void checkFinite(const QVector<double> &values)
{
    for (double v : values)
        check(std::isfinite(v));
}

bool finiteOrNan(double v)
{
    return std::isfinite(v) || std::isnan(v);
}

bool isTwoDigits(const QString &s)
{
    return s.size() == 2 && s.at(0).isDigit() && s.at(1).isDigit() && s.at(0).unicode() < 0x80 &&
           s.at(1).unicode() < 0x80;
}

// A sentinel output, to see that a refusing reader leaves it alone.
Number sentinel()
{
    Number n;
    n.value = -7.0;
    n.text = QStringLiteral("untouched");
    return n;
}

bool isSentinel(const Number &n)
{
    return n.value == -7.0 && n.text == QLatin1String("untouched");
}

void readLayouts(int which, const QString &r)
{
    switch (which) {
    case 0: {
        Number n = sentinel();
        if (readNumber(r, &n))
            checkNumber(n);
        else
            check(isSentinel(n));
        break;
    }
    case 1:
    case 2:
    case 3:
    case 4: {
        XyLv c{sentinel(), sentinel(), sentinel()};
        bool ok = false;
        if (which == 1)
            ok = readPositional(r, &c);
        else if (which == 2)
            ok = readSync(r, &c);
        else
            ok = readPlain(r, &c, which == 3 ? QLatin1Char(';') : QLatin1Char(','));
        if (ok)
            checkXyLv(c, which != 1);
        else
            check(isSentinel(c.x) && isSentinel(c.y) && isSentinel(c.lv));
        break;
    }
    case 5:
    case 6: {
        Xyz t{sentinel(), sentinel(), sentinel()};
        const bool ok = which == 5 ? readTristimulus(r, &t) : readXyzFields(r, &t);
        if (ok)
            checkXyz(t);
        else
            check(isSentinel(t.X) && isSentinel(t.Y) && isSentinel(t.Z));
        break;
    }
    case 7: {
        QVector<Number> f{sentinel()};
        if (readFiveFields(r, &f)) {
            check(f.size() == 5);
            for (const Number &n : qAsConst(f))
                checkNumber(n);
        } else {
            check(f.size() == 1 && isSentinel(f.first()));
        }
        Number n = sentinel();
        if (readFma(r, &n))
            checkNumber(n);
        else
            check(isSentinel(n));
        break;
    }
    case 8:
    case 9: {
        Reading m;
        if (readMeasurement(which == 9, r, &m)) {
            // The values the layout carries are finite; derived ones finite or NaN.
            if (m.tristimulus) {
                check(std::isfinite(m.X) && std::isfinite(m.lv) && std::isfinite(m.Z));
                check(finiteOrNan(m.x) && finiteOrNan(m.y));
            } else {
                check(which == 8);
                check(std::isfinite(m.x) && std::isfinite(m.y) && std::isfinite(m.lv));
                check(finiteOrNan(m.X) && finiteOrNan(m.Z));
            }
        }
        break;
    }
    case 10: {
        Jeita j;
        j.value = sentinel();
        if (readJeita(r, &j)) {
            checkNumber(j.value);
            check(j.perHz.size() <= 60);
            for (const Number &n : qAsConst(j.perHz))
                checkNumber(n);
        } else {
            check(isSentinel(j.value) && j.perHz.isEmpty());
        }
        break;
    }
    case 11: {
        QVector<double> v{-7.0};
        if (readSamples(r, &v)) {
            check(!v.isEmpty() && v.size() <= r.count(QLatin1Char(',')) + 1);
            checkFinite(v);
        } else {
            check(v == QVector<double>{-7.0});
        }
        v = {-7.0};
        if (readSpectrum(r, &v)) {
            check(!v.isEmpty() && v.size() <= 401);
            checkFinite(v);
        } else {
            check(v == QVector<double>{-7.0});
        }
        break;
    }
    case 12: {
        QVector<double> X{-7.0}, Y{-7.0}, Z{-7.0};
        if (readChannelSamples(r, &X, &Y, &Z)) {
            check(X.size() == Y.size() && Y.size() == Z.size() && !X.isEmpty());
            check(X.size() <= r.count(QLatin1Char(';')) + 1);
            checkFinite(X);
            checkFinite(Y);
            checkFinite(Z);
        } else {
            check(X == QVector<double>{-7.0} && Y == X && Z == X);
        }
        break;
    }
    case 13: {
        QVector<ChannelRecord> rows(1);
        if (readChannelTable(r, &rows)) {
            check(rows.size() >= 100 && rows.size() <= r.count(QLatin1Char('\n')) + 1);
            for (const ChannelRecord &c : qAsConst(rows)) {
                check(c.channel >= 0 && c.channel <= 99);
                for (double m : c.matrix)
                    check(std::isfinite(m));
                // The white point is finite or infinite (an "inf" value), never NaN.
                check(!std::isnan(c.x) && !std::isnan(c.y) && !std::isnan(c.lv));
                check(!c.name.contains(QLatin1Char('\n')) && !c.date.contains(QLatin1Char('\n')));
            }
        } else {
            check(rows.size() == 1 && rows.first().channel == -1);
        }
        break;
    }
    }
}

void probeHelpers(const QByteArray &bytes, const QString &r)
{
    using namespace ProbeReply;
    // The status tests agree with one another.
    if (hasMeasureRefused(r) || hasReportedError(r))
        check(hasError(r));
    if (isOk00(r))
        check(hasMeasureOk(r));
    const QString digits = errorStatusDigits(r);
    check(digits.isEmpty() || (isTwoDigits(digits) && r.contains(QLatin1String("ER") + digits)));
    if (hasReportedError(r))
        check(!digits.isEmpty());
    check(errorCode(r).size() <= 3);
    // Slices are parts of the reply.
    check(r.endsWith(afterLastComma(r)) && r.endsWith(afterFirstComma(r)) && r.endsWith(dataFrom5(r)));
    check(!afterLastComma(r).contains(QLatin1Char(',')));
    // Echo lines: the whole reply, a NUL byte included (the log escapes control characters).
    const QString rx = rxLine(bytes);
    check(rx.endsWith(r));
    check(rx.startsWith(QStringLiteral(" Rx %1--- ").arg(bytes.size())));
    check(txLine(r).endsWith(r));
    (void)strCommandCode(r);
    (void)mdsCommandCode(r);
    (void)number6(r.size() > 0 ? double(r.at(0).unicode()) : std::nan(""));
}

void measureTab(int mode, const QString &r)
{
    using namespace FlickerLogic;
    if (mode < 7) {
        const MesOutcome o = handleMesReply(r, Mode(mode), QStringLiteral("12"));
        switch (o.kind) {
        case MesOutcome::Bright:
            // (The page never hands a "MES" reply of JEITA mode to this handler.)
            check(Mode(mode) != Mode::Fma);
            for (const QString *t : {&o.record.X, &o.record.Y, &o.record.Z, &o.record.x, &o.record.y})
                check(!t->isEmpty() && isCellSafe(*t));
            break;
        case MesOutcome::Flicker: {
            check(Mode(mode) == Mode::Fma);
            Number n;
            check(isCellSafe(o.fma) && readNumber(o.fma, &n));
            break;
        }
        case MesOutcome::MeasureError:
            check(isTwoDigits(o.errCode));
            break;
        case MesOutcome::FormatError:
            check(o.record.X.isEmpty() && o.fma.isEmpty());
            break;
        }
        return;
    }
    const JeitaOutcome j = handleJadReply(r);
    check(int(j.ok) + int(j.formatError) + int(j.failed && !j.ok) == 1);
    check(j.perHz.size() <= 60);
    if (!j.value.isEmpty()) {
        Number n;
        check(j.ok && isCellSafe(j.value) && readNumber(j.value, &n));
    }
    for (const QString &t : j.perHz)
        check(isCellSafe(t));
    if (j.ok && j.errText != outsideRangeText())
        check(j.errText.isEmpty() || isTwoDigits(j.errText));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, int(size - 1));
    const QString reply = ReplyReader::text(bytes);
    check(reply.size() == bytes.size());
    const int which = data[0] % 23;
    if (which < 14)
        readLayouts(which, reply);
    else if (which == 14)
        probeHelpers(bytes, reply);
    else
        measureTab(which - 15, reply); // 7 measure modes, then "JAD"
    return 0;
}
