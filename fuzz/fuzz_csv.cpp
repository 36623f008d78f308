// The Measure tab's CSV export: any header, label and cell texts through writeTableCsv, with
// or without the bright-row transform (brightExportCells). Whatever a text holds, the file has
// the header line and exactly one line per written row: no text may start a line of its own,
// and no bare "\r" may end one for the readers that take it as a line break; no field can run
// as a spreadsheet formula.

#include "flickerlogic.h"

#include <QTextStream>

#include <functional>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

void check(bool property)
{
    if (!property)
        __builtin_trap();
}

QString takeText(FuzzedDataProvider &in)
{
    const std::string bytes = in.ConsumeRandomLengthString(48);
    // Half the texts as UTF-8 (any character, line separators included), half as Latin-1.
    if (in.ConsumeBool())
        return QString::fromUtf8(bytes.data(), int(bytes.size()));
    return QString::fromLatin1(bytes.data(), int(bytes.size()));
}

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool bright = in.ConsumeBool();
    QStringList headers;
    for (int n = in.ConsumeIntegralInRange(0, 20); n > 0; --n)
        headers << takeText(in);
    QVector<FlickerLogic::TableRow> rows;
    int written = 0;
    for (int n = in.ConsumeIntegralInRange(0, 8); n > 0; --n) {
        FlickerLogic::TableRow row;
        row.label = takeText(in);
        for (int c = in.ConsumeIntegralInRange(0, 20); c > 0; --c)
            row.cells << takeText(in);
        if (!row.label.isEmpty())
            ++written;
        rows << row;
    }

    if (bright) {
        // The transform keeps the row's length and every cell outside u', v', Tcp, duv.
        for (const FlickerLogic::TableRow &row : qAsConst(rows)) {
            const QStringList out = FlickerLogic::brightExportCells(row.cells);
            check(out.size() == row.cells.size());
            for (int i = 0; i < out.size(); ++i) {
                if (row.cells.size() < 10 || i < 6 || i > 9)
                    check(out.at(i) == row.cells.at(i));
                else
                    check(!out.at(i).isEmpty() &&
                          !std::any_of(out.at(i).begin(), out.at(i).end(), isLineBreak));
            }
        }
    }

    QString text;
    {
        QTextStream out(&text);
        FlickerLogic::writeTableCsv(out, headers, rows,
                                    bright ? FlickerLogic::brightExportCells
                                           : std::function<QStringList(const QStringList &)>());
    }
    // Lines end with "\n" and only there; parse them back.
    check(!text.contains(QLatin1Char('\r')) && text.endsWith(QLatin1Char('\n')));
    QStringList lines = text.split(QLatin1Char('\n'));
    check(lines.takeLast().isEmpty());
    check(lines.size() == 1 + written);
    check(lines.first().startsWith(QLatin1Char(' ')));
    for (const QString &line : qAsConst(lines))
        check(line.endsWith(QLatin1Char(',')));
    // Each row line holds its label and at least one field per cell.
    int at = 1;
    for (const FlickerLogic::TableRow &row : qAsConst(rows)) {
        if (row.label.isEmpty())
            continue;
        check(lines.at(at).count(QLatin1Char(',')) >= row.cells.size() + 1);
        // One field for the label and at least one per cell, and none can run as a spreadsheet
        // formula: a field that begins with "=", "+", "-" or "@" is a number or the no-value
        // mark "--".
        const QStringList fields = lines.at(at).split(QLatin1Char(','));
        for (int f = 0; f < fields.size(); ++f) {
            const QString &field = fields.at(f);
            if (field.isEmpty() || !QStringLiteral("=+-@").contains(field.at(0)))
                continue;
            bool number = false;
            field.toDouble(&number);
            check(number || field == QLatin1String("--"));
        }
        ++at;
    }
    return 0;
}
