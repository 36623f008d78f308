#include "flickerlogic.h"

#include "ktcolorimetry.h"
#include "ktcsv.h"
#include "ktdominantwave.h"
#include "ktsafewrite.h"
#include "probereply.h"
#include "replyreader.h"

#include <QTextStream>

#include <cmath>

namespace FlickerLogic {

namespace {

bool toNumber(const QString &text, double *value)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (ok && value)
        *value = v;
    return ok;
}

const QString kOutsideRange = QStringLiteral("Outside of measurement range!");

// A line break inside a text would start a new record for every CSV reader ("\r" alone too).
QString oneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// A header or row label is one field: a comma in it would shift every column after it.
QString oneField(const QString &text)
{
    return oneLine(text).replace(QLatin1Char(','), QLatin1Char(' '));
}

} // namespace

QString modeCode(Mode mode)
{
    switch (mode) {
    case Mode::Xyz:
        return QStringLiteral("7");
    case Mode::Fma:
        return QStringLiteral("6");
    case Mode::Jeita:
        return QStringLiteral("8");
    case Mode::TcpDuv:
        return QStringLiteral("1");
    case Mode::XyLv:
    case Mode::DominantWave:
    case Mode::Lab:
        break;
    }
    return QStringLiteral("0");
}

bool isColourMode(Mode mode)
{
    return mode != Mode::Fma && mode != Mode::Jeita;
}

static Record derive(const QString &X, const QString &Y, const QString &Z, const QString &x, const QString &y,
                     const QString &dt)
{
    Record r;
    r.X = X;
    r.Y = Y;
    r.Z = Z;
    r.x = x;
    r.y = y;
    r.ctt = dt;
    const KtDominantWave::DerivedTexts d =
        KtDominantWave::deriveFromXyz(X.toDouble(), Y.toDouble(), Z.toDouble());
    r.L = d.L;
    r.a = d.a;
    r.b = d.b;
    r.Tcp = d.Tcp;
    r.Duv = d.Duv;
    r.u = d.u;
    r.v = d.v;
    // The wavelength follows the chromaticity the row shows.
    const KtDominantWave::WaveTexts w = KtDominantWave::calcDominantWave(x, y);
    r.waveLength = w.waveLength;
    r.purity = w.purity;
    return r;
}

Record recordFromXyLv(const QString &x, const QString &y, const QString &lv, const QString &dt)
{
    const double xv = x.toDouble();
    const double yv = y.toDouble();
    const double lvv = lv.toDouble();
    if (!(lvv >= 1e-06)) {
        const QString zero = QStringLiteral("0.0");
        return derive(zero, zero, zero, zero, zero, dt);
    }
    const QString X = KtColorimetry::formatValue(xv / yv * lvv);
    const double rest = 1.0 - xv - yv;
    const QString Z = rest <= 0.0 ? QStringLiteral("0.0") : KtColorimetry::formatValue(rest / yv * lvv);
    return derive(X, lv, Z, x, y, dt);
}

Record recordFromXyz(const QString &X, const QString &Y, const QString &Z, const QString &dt)
{
    const KtColorimetry::Chromaticity c = KtColorimetry::xyFromXyz(X.toDouble(), Y.toDouble(), Z.toDouble());
    return derive(X, Y, Z, KtColorimetry::formatValue(c.x), KtColorimetry::formatValue(c.y), dt);
}

MesOutcome handleMesReply(const QString &reply, Mode mode, const QString &dt)
{
    MesOutcome out;
    if (reply.contains(QLatin1String("OK"))) {
        ReplyReader::XyLv c;
        ReplyReader::Xyz t;
        ReplyReader::Number fma;
        if (mode == Mode::Fma) {
            if (ReplyReader::readFma(reply, &fma)) {
                out.fma = fma.text;
                out.kind = MesOutcome::Flicker;
            }
        } else if (mode == Mode::Xyz && ReplyReader::readXyzFields(reply, &t)) {
            out.record = recordFromXyz(t.X.text, t.Y.text, t.Z.text, dt);
            out.kind = MesOutcome::Bright;
        } else if (ReplyReader::readSync(reply, &c) ||
                   (mode != Mode::Xyz && ReplyReader::readPlain(reply, &c))) {
            // In XYZ mode a probe may still answer "MES,1" with x, y, Lv: the record converts them.
            out.record = recordFromXyLv(c.x.text, c.y.text, c.lv.text, dt);
            out.kind = MesOutcome::Bright;
        }
        return out;
    }
    if (reply.contains(QLatin1String("ER"))) {
        out.errCode = ProbeReply::errorStatusDigits(reply);
        if (!out.errCode.isEmpty())
            out.kind = MesOutcome::MeasureError;
    }
    return out;
}

QString outsideRangeText()
{
    return kOutsideRange;
}

JeitaOutcome handleJadReply(const QString &reply)
{
    JeitaOutcome j;
    if (!reply.contains(QLatin1String("OK"))) {
        if (reply.contains(QLatin1String("ER"))) {
            j.errText = ProbeReply::errorStatusDigits(reply);
            j.ok = !j.errText.isEmpty();
            j.failed = j.ok;
            j.formatError = !j.ok;
        } else {
            j.failed = true;
        }
        return j;
    }
    ReplyReader::Jeita read;
    if (!ReplyReader::readJeita(reply, &read)) {
        // A reply with nothing after its status cannot be split; anything else that does not
        // read is malformed.
        if (reply.contains(QLatin1Char(',')))
            j.formatError = true;
        else
            j.failed = true;
        return j;
    }
    j.value = read.value.text;
    for (const ReplyReader::Number &n : read.perHz)
        j.perHz << n.text;
    if (reply.contains(QLatin1String("OK04")))
        j.errText = kOutsideRange;
    j.ok = true;
    return j;
}

QStringList brightHeaders()
{
    return {QStringLiteral("X"),
            QStringLiteral("Y"),
            QStringLiteral("Z"),
            QStringLiteral("x"),
            QStringLiteral("y"),
            QStringLiteral("Lv"),
            QStringLiteral("u'"),
            QStringLiteral("v'"),
            QStringLiteral("Tcp"),
            QStringLiteral("duv"),
            QString::fromUtf8("\u03bbd"),
            QStringLiteral("Pe"),
            QString::fromUtf8("\u0394t"),
            QStringLiteral("Sync Mode"),
            QStringLiteral("Measure Speed"),
            QStringLiteral("Averaging Times"),
            QStringLiteral("Integration Time"),
            QStringLiteral("Date"),
            QStringLiteral("Time")};
}

QStringList flickerHeaders(bool jeita)
{
    if (!jeita)
        return {QStringLiteral("FMA(%)"), QStringLiteral("ErrCode"), QStringLiteral("Date"),
                QStringLiteral("Time")};
    QStringList h{QStringLiteral("JEITA")};
    for (int hz = 6; hz <= 65; ++hz)
        h << QString::number(hz) + QStringLiteral("Hz");
    h << QStringLiteral("ErrCode") << QStringLiteral("Date") << QStringLiteral("Time");
    return h;
}

static QString stamp(const QDateTime &when)
{
    return when.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

QString dateText(const QDateTime &when)
{
    return stamp(when).left(10);
}

QString timeText(const QDateTime &when)
{
    return stamp(when).right(8);
}

QString fixedOrDash(const QString &text, int decimals)
{
    double v = 0.0;
    if (!toNumber(text, &v) || !std::isfinite(v))
        return QStringLiteral("--");
    return QString::number(v, 'f', decimals);
}

QStringList brightRow(const Record &r, const ModeSummary &s, const QDateTime &when)
{
    return {r.X,
            r.Y,
            r.Z,
            r.x,
            r.y,
            r.Y,
            fixedOrDash(r.u, 4),
            fixedOrDash(r.v, 4),
            fixedOrDash(r.Tcp, 0),
            fixedOrDash(r.Duv, 4),
            fixedOrDash(r.waveLength, 2),
            fixedOrDash(r.purity, 2),
            r.ctt,
            s.sync,
            s.speed,
            s.average,
            s.integration,
            dateText(when),
            timeText(when)};
}

QStringList fmaRow(const QString &fma, const QString &errCode, const QDateTime &when)
{
    return {fma, errCode, dateText(when), timeText(when)};
}

QStringList jeitaRow(const JeitaOutcome &j, const QString &outsideRangeShown, const QDateTime &when)
{
    QStringList row;
    const bool showValue = j.errText.isEmpty() || j.errText == kOutsideRange;
    row << (showValue ? QString::number(j.value.toDouble(), 'g', 6) : QStringLiteral("-"));
    for (int i = 0; i < 60; ++i)
        row << (i < j.perHz.size() ? j.perHz.at(i) : QString());
    row << (j.errText == kOutsideRange ? outsideRangeShown : j.errText);
    row << dateText(when) << timeText(when);
    return row;
}

void SeriesBook::start(int count)
{
    m_pending.clear();
    m_total = count;
    m_remaining = count < 0 ? 0 : count;
    m_processed = 0;
}

SeriesBook::Entry SeriesBook::takeNext()
{
    if (!hasNext())
        return {};
    const Entry e = m_pending.dequeue();
    countCycle();
    return e;
}

void SeriesBook::countCycle()
{
    ++m_processed;
    if (m_remaining > 0)
        --m_remaining;
}

QStringList brightExportCells(const QStringList &cells)
{
    if (cells.size() < 10)
        return cells;
    QStringList out = cells;
    const KtColorimetry::TcpTexts t = KtColorimetry::calcTcpDuvTexts(cells.at(0), cells.at(1), cells.at(2));
    out[6] = t.u;
    out[7] = t.v;
    out[8] = t.Tcp;
    out[9] = t.Duv;
    return out;
}

void writeTableCsv(QTextStream &out, const QStringList &headers, const QVector<TableRow> &rows,
                   const std::function<QStringList(const QStringList &)> &transform)
{
    out << " ,";
    for (const QString &h : headers)
        out << oneField(h) << ',';
    out << '\n';
    for (const TableRow &row : rows) {
        if (row.label.isEmpty())
            continue;
        out << KtCsv::safeCell(oneField(row.label)) << ',';
        const QStringList cells = transform ? transform(row.cells) : row.cells;
        for (const QString &c : cells) {
            // A blank splits a cell into two fields, and so does a comma the cell may hold; each
            // of them must stay text.
            const QStringList parts =
                oneLine(c).replace(QLatin1Char(','), QLatin1Char(' ')).split(QLatin1Char(' '));
            QStringList safe;
            for (const QString &part : parts)
                safe << KtCsv::safeCell(part);
            out << safe.join(QLatin1Char(',')) << ',';
        }
        out << '\n';
    }
}

bool saveTableCsv(const QString &path, const QStringList &headers, const QVector<TableRow> &rows,
                  const std::function<QStringList(const QStringList &)> &transform, QString *error)
{
    QByteArray bytes;
    QTextStream out(&bytes);
    out.setCodec("UTF-8");
    writeTableCsv(out, headers, rows, transform);
    out.flush();
    return KtSafeWrite::writeFile(path, bytes, error);
}

} // namespace FlickerLogic
