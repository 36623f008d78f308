#include "flickertable.h"

#include <cmath>

using FlickerLogic::Record;
using Column = MeasurementModel::Column;
using Row = MeasurementModel::Record;

namespace FlickerTable {

namespace {

// The number a fixed-point column shows: NaN for a text that is no finite number, so the
// column reads "--" as fixedOrDash does.
double number(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? v : std::nan("");
}

} // namespace

QVector<Column> brightColumns()
{
    using M = MeasurementModel;
    const QStringList t = FlickerLogic::brightHeaders();
    return {{t.at(0), M::text(0)},     {t.at(1), M::text(1)},      {t.at(2), M::text(2)},
            {t.at(3), M::text(3)},     {t.at(4), M::text(4)},      {t.at(5), M::text(1)},
            {t.at(6), M::fixed(0, 4)}, {t.at(7), M::fixed(1, 4)},  {t.at(8), M::fixed(2, 0)},
            {t.at(9), M::fixed(3, 4)}, {t.at(10), M::fixed(4, 2)}, {t.at(11), M::fixed(5, 2)},
            {t.at(12), M::text(5)},    {t.at(13), M::text(6)},     {t.at(14), M::text(7)},
            {t.at(15), M::text(8)},    {t.at(16), M::text(9)},     {t.at(17), M::date()},
            {t.at(18), M::time()}};
}

Row brightRecord(const Record &r, const FlickerLogic::ModeSummary &s, const QDateTime &when)
{
    Row row;
    row.texts = {r.X, r.Y, r.Z, r.x, r.y, r.ctt, s.sync, s.speed, s.average, s.integration};
    row.numbers = {number(r.u),   number(r.v),          number(r.Tcp),
                   number(r.Duv), number(r.waveLength), number(r.purity)};
    row.stampMs = when.toMSecsSinceEpoch();
    return row;
}

QVector<Column> flickerColumns(bool jeita)
{
    const QStringList t = FlickerLogic::flickerHeaders(jeita);
    QVector<Column> out;
    for (int c = 0; c < t.size() - 2; ++c)
        out.append({t.at(c), MeasurementModel::text(c)});
    out.append({t.at(t.size() - 2), MeasurementModel::date()});
    out.append({t.last(), MeasurementModel::time()});
    return out;
}

Row fmaRecord(const QString &fma, const QString &errCode, const QDateTime &when)
{
    Row row;
    row.texts = {fma, errCode};
    row.stampMs = when.toMSecsSinceEpoch();
    return row;
}

Row jeitaRecord(const FlickerLogic::JeitaOutcome &j, const QString &outsideRangeShown, const QDateTime &when)
{
    QStringList cells = FlickerLogic::jeitaRow(j, outsideRangeShown, when);
    cells.removeLast(); // Date and Time come from the stamp
    cells.removeLast();
    Row row;
    row.texts = cells.toVector();
    row.stampMs = when.toMSecsSinceEpoch();
    return row;
}

QVector<FlickerLogic::TableRow> exportRows(const MeasurementModel &model)
{
    QVector<FlickerLogic::TableRow> rows;
    rows.reserve(model.recordCount());
    for (int r = 0; r < model.recordCount(); ++r)
        rows.append({QString::number(r + 1), model.rowTexts(r)});
    return rows;
}

} // namespace FlickerTable
