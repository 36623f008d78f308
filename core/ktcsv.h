#pragma once

#include <QString>

namespace KtCsv {

// A cell text as it may go into a CSV file. Cells come from probe replies and operator input;
// a spreadsheet runs a cell that begins with "=", "+", "-" or "@" as a formula, so such a cell
// gets a leading "'" and is shown as text. Numbers ("-0.5", "+1e3") and the tables' no-value
// mark "--" stay as they are.
QString safeCell(const QString &text);

} // namespace KtCsv
