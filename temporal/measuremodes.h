#pragma once

#include "flickerlogic.h"
#include "trendchart.h"

#include <QVector>

// Everything that differs between the Measure tab's measure modes, in one table: the probe's
// display-mode code, which result table the mode fills, the labels and texts of the
// "Current Data" / "Current FMA" boxes and the trend chart's titles, graphs and values.
namespace MeasureModes {

struct Traits
{
    FlickerLogic::Mode mode;
    const char *code;       // sent with "MDS,"
    bool colour;            // twMeasureBright and the three "Current Data" fields; else the flicker table
    const char *labels[3];  // "Current Data" labels (colour modes)
    const char *valueLabel; // label of le_FlickerValue ("FMA:" unless the mode reads JEITA)
    const char *leftTitle;
    const char *rightTitle; // empty: no right axis
    QVector<TrendChart::Graph> graphs;
    // The three "Current Data" texts of a colour reading (record and its bright row cells).
    QStringList (*current)(const FlickerLogic::Record &r, const QStringList &cells);
    // The trend values of a colour reading, one per graph (NaN leaves a gap).
    QVector<double> (*trend)(const FlickerLogic::Record &r);
};

// The table, indexed by the mode (which is also the id of its radio button).
const Traits &traits(FlickerLogic::Mode mode);
int count();

// The number a text reads, NaN when it is none.
double number(const QString &text);

} // namespace MeasureModes
