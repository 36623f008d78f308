#pragma once

#include "flickerlogic.h"
#include "measurementmodel.h"

#include <QDateTime>

// The Measure tab's two result tables as records of a MeasurementModel: the column tables
// and the records made from one reading. The cells they show are exactly the texts of
// FlickerLogic::brightRow, fmaRow and jeitaRow, so the export writes what it always wrote.
namespace FlickerTable {

// twMeasureBright: texts X, Y, Z, x, y as received, Δt, the four mode summaries; numbers u',
// v', Tcp, duv, λd, Pe.
QVector<MeasurementModel::Column> brightColumns();
MeasurementModel::Record brightRecord(const FlickerLogic::Record &r, const FlickerLogic::ModeSummary &summary,
                                      const QDateTime &when);

// twMeasureFlicker in FMA (4 columns) or JEITA (64 columns) layout: texts are the cells before
// Date and Time.
QVector<MeasurementModel::Column> flickerColumns(bool jeita);
MeasurementModel::Record fmaRecord(const QString &fma, const QString &errCode, const QDateTime &when);
MeasurementModel::Record jeitaRecord(const FlickerLogic::JeitaOutcome &j, const QString &outsideRangeShown,
                                     const QDateTime &when);

// The model's filled rows as exported (label "1".."n" and the cell texts).
QVector<FlickerLogic::TableRow> exportRows(const MeasurementModel &model);

} // namespace FlickerTable
