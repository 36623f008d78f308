#include "flickerlogic.h"

#include "ktcolorimetry.h"
#include "ktdominantwave.h"

#include <QRegularExpression>
#include <QSaveFile>
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

bool parseXyLv(const QString &reply, QString *x, QString *y, QString *lv)
{
    if (reply.size() < 10)
        return false;
    const QStringList parts = reply.mid(10).split(',');
    if (parts.size() == 5) {
        for (int i = 0; i < 3; ++i) {
            if (!toNumber(parts.at(i), nullptr))
                return false;
        }
        *x = parts.at(0).trimmed();
        *y = parts.at(1).trimmed();
        *lv = parts.at(2).trimmed();
        return true;
    }
    // The plain "MES" reply carries x and y as four digits in 1/10000 and Lv, separated by ";"
    // after the 8-character head ("OK00,P1,3127;3290;100.00"): read it too, so that a single
    // measurement in Normal speed is not lost as a format error.
    const QStringList head = reply.mid(8).split(';');
    if (head.size() != 3)
        return false;
    const QString xs = head.at(0).trimmed(), ys = head.at(1).trimmed(), ls = head.at(2).trimmed();
    if (xs.size() != 4 || ys.size() != 4 || xs.contains('.') || ys.contains('.'))
        return false;
    double xv = 0.0, yv = 0.0;
    if (!toNumber(xs, &xv) || !toNumber(ys, &yv) || !toNumber(ls, nullptr))
        return false;
    *x = KtColorimetry::formatValue(xv / 10000.0);
    *y = KtColorimetry::formatValue(yv / 10000.0);
    *lv = ls.startsWith('.') ? QStringLiteral("0") + ls : ls;
    return true;
}

bool parseXyz(const QString &reply, QString *X, QString *Y, QString *Z)
{
    if (reply.size() < 8)
        return false;
    // The values are separated by "," or, in the probe's canonical reply, by ";".
    const QStringList parts = reply.mid(8).split(QRegularExpression(QStringLiteral("[,;]")));
    if (parts.size() != 3)
        return false;
    for (const QString &p : parts) {
        if (!toNumber(p, nullptr))
            return false;
    }
    *X = parts.at(0).trimmed();
    *Y = parts.at(1).trimmed();
    *Z = parts.at(2).trimmed();
    return true;
}

bool parseFma(const QString &reply, QString *fma)
{
    // Mode 6 replies like the fast colour reply: the 10-character head "OK00,P1,0," and then
    // the flicker percentage as the first field (followed by x, y, Lv and the frequency).
    // A shorter reply carries the percentage as its last field.
    const QStringList parts = reply.mid(10).split(',');
    QString field;
    if (reply.size() > 10 && parts.size() >= 2)
        field = parts.first().trimmed();
    else
        field = reply.mid(reply.lastIndexOf(',') + 1).trimmed();
    if (!reply.contains(',') || !toNumber(field, nullptr))
        return false;
    *fma = field;
    return true;
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

QString errorCode2(const QString &reply)
{
    const int at = reply.indexOf(QLatin1String("ER"));
    return at < 0 ? QString() : reply.mid(at + 2, 2);
}

MesOutcome handleMesReply(const QString &reply, Mode mode, const QString &dt)
{
    MesOutcome out;
    if (reply.contains(QLatin1String("OK"))) {
        if (mode == Mode::Fma) {
            if (parseFma(reply, &out.fma))
                out.kind = MesOutcome::Flicker;
            return out;
        }
        QString a, b, c;
        if (mode == Mode::Xyz) {
            if (parseXyz(reply, &a, &b, &c)) {
                out.record = recordFromXyz(a, b, c, dt);
                out.kind = MesOutcome::Bright;
            }
        } else if (parseXyLv(reply, &a, &b, &c)) {
            out.record = recordFromXyLv(a, b, c, dt);
            out.kind = MesOutcome::Bright;
        }
        return out;
    }
    if (reply.contains(QLatin1String("ER"))) {
        out.kind = MesOutcome::MeasureError;
        out.errCode = errorCode2(reply);
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
        j.failed = true;
        if (reply.contains(QLatin1String("ER"))) {
            j.ok = true;
            j.errText = errorCode2(reply);
        }
        return j;
    }
    const QStringList fields = reply.split(',');
    int listAt = -1;
    for (int i = 1; i < fields.size(); ++i) {
        if (fields.at(i).contains(';')) {
            listAt = i;
            break;
        }
    }
    const int valueEnd = listAt < 0 ? fields.size() : listAt;
    for (int i = valueEnd - 1; i >= 1; --i) {
        if (toNumber(fields.at(i), nullptr)) {
            j.value = fields.at(i).trimmed();
            break;
        }
    }
    if (j.value.isEmpty()) {
        j.failed = true;
        return j;
    }
    if (listAt >= 0) {
        for (const QString &v : fields.at(listAt).split(';'))
            j.perHz << v.trimmed();
        while (!j.perHz.isEmpty() && j.perHz.last().isEmpty())
            j.perHz.removeLast();
    }
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
        out << h << ',';
    out << '\n';
    for (const TableRow &row : rows) {
        if (row.label.isEmpty())
            continue;
        out << row.label << ',';
        const QStringList cells = transform ? transform(row.cells) : row.cells;
        for (const QString &c : cells) {
            QString cell = c;
            cell.replace(' ', ',');
            out << cell << ',';
        }
        out << '\n';
    }
}

bool saveTableCsv(const QString &path, const QStringList &headers, const QVector<TableRow> &rows,
                  const std::function<QStringList(const QStringList &)> &transform, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QTextStream out(&file);
    out.setCodec("UTF-8");
    writeTableCsv(out, headers, rows, transform);
    out.flush();
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace FlickerLogic
