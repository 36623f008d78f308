#include "clirecords.h"

#include "flickertable.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTextStream>

#include <cmath>

namespace Krn4Cli {

using FlickerLogic::Mode;

Format formatFromName(const QString &name)
{
    return name == QLatin1String("json")  ? Format::Json
           : name == QLatin1String("csv") ? Format::Csv
                                          : Format::Table;
}

Mode modeFromName(const QString &name)
{
    if (name == QLatin1String("XYZ"))
        return Mode::Xyz;
    if (name == QLatin1String("tcp"))
        return Mode::TcpDuv;
    if (name == QLatin1String("dominant"))
        return Mode::DominantWave;
    if (name == QLatin1String("fma"))
        return Mode::Fma;
    if (name == QLatin1String("jeita"))
        return Mode::Jeita;
    return Mode::XyLv;
}

namespace {

// JSON keys: the column titles, with plain names for the two Greek ones so that scripts can
// write them.
QString jsonKey(const QString &title)
{
    if (title == QString::fromUtf8("\u03bbd"))
        return QStringLiteral("lambda_d");
    if (title == QString::fromUtf8("\u0394t"))
        return QStringLiteral("dt_ms");
    return title;
}

QString jsonString(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + QString(c);
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

// A cell as a JSON value: a number as shown when it is a JSON number literal ("0.312700"),
// other decimal forms normalised ("20000." -> 20000), "--" and "nan" null, text as a string.
QString jsonValue(const QString &cell)
{
    static const QRegularExpression literal(
        QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]+)?([eE][+-]?[0-9]+)?$"));
    const QString t = cell.trimmed();
    if (literal.match(t).hasMatch())
        return t;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (ok)
        return std::isfinite(v) ? QString::number(v, 'g', 15) : QStringLiteral("null");
    if (t == QLatin1String("--") || t.compare(QLatin1String("nan"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("null");
    return jsonString(cell);
}

QString stampText(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(Qt::ISODateWithMs);
}

} // namespace

RecordPrinter::RecordPrinter(Mode mode, Format format) : m_mode(mode), m_format(format)
{
    const bool colour = FlickerLogic::isColourMode(mode);
    m_model.setColumns(colour ? FlickerTable::brightColumns()
                              : FlickerTable::flickerColumns(mode == Mode::Jeita));
    const int columns = m_model.columns().size();
    // The table leaves out Date and Time (its own stamp has milliseconds) and the four mode
    // summaries of the colour table, which only repeat the mode dialog's texts.
    for (int c = 0; c < columns - 2; ++c) {
        if (!colour || c < 13)
            m_tableColumns << c;
    }
}

QString RecordPrinter::add(const MeasurementModel::Record &record)
{
    // Only the record being printed is kept: a series may run for days.
    m_model.clear();
    m_model.append(record);
    ++m_count;
    switch (m_format) {
    case Format::Json:
        return jsonLine();
    case Format::Csv: {
        const QString lines = csvLines(m_model, 0, m_count, FlickerLogic::isColourMode(m_mode));
        return m_count == 1 ? lines : lines.section(QLatin1Char('\n'), 1);
    }
    case Format::Table:
        break;
    }
    return tableLines();
}

QString RecordPrinter::csvLines(const MeasurementModel &model, int row, int number, bool colour)
{
    QString text;
    QTextStream out(&text);
    const QVector<FlickerLogic::TableRow> rows{{QString::number(number), model.rowTexts(row)}};
    FlickerLogic::writeTableCsv(
        out, model.titles(), rows,
        colour ? std::function<QStringList(const QStringList &)>(FlickerLogic::brightExportCells)
               : std::function<QStringList(const QStringList &)>());
    out.flush();
    return text;
}

QString RecordPrinter::jsonLine() const
{
    const QStringList titles = m_model.titles();
    const QStringList cells = m_model.rowTexts(0);
    QStringList fields{QStringLiteral("\"n\":%1").arg(m_count),
                       QStringLiteral("\"time\":") + jsonString(stampText(m_model.record(0).stampMs))};
    for (int c = 0; c < titles.size() - 2; ++c) // Date and Time are in "time"
        fields << jsonString(jsonKey(titles.at(c))) + QLatin1Char(':') + jsonValue(cells.at(c));
    return QLatin1Char('{') + fields.join(QLatin1Char(',')) + QStringLiteral("}\n");
}

QString RecordPrinter::tableLines() const
{
    const QStringList titles = m_model.titles();
    const QStringList cells = m_model.rowTexts(0);
    const auto cellWidth = [&](int c) { return std::max(10, int(titles.at(c).size()) + 1); };
    QString out;
    if (m_count == 1) {
        QString head = QStringLiteral("%1 %2").arg(QStringLiteral("n"), 5).arg(QStringLiteral("time"), -23);
        for (int c : m_tableColumns)
            head += QLatin1Char(' ') + titles.at(c).rightJustified(cellWidth(c));
        out += head;
        out += QLatin1Char('\n');
    }
    QString line = QStringLiteral("%1 %2").arg(m_count, 5).arg(stampText(m_model.record(0).stampMs), -23);
    for (int c : m_tableColumns)
        line += QLatin1Char(' ') + cells.at(c).rightJustified(cellWidth(c));
    return out + line + QLatin1Char('\n');
}

// ---- memory channels ----------------------------------------------------------------------

namespace {
// The labels of Calibration::channelDumpText, read back.
const char *const MatrixLabels[9] = {
    "X1 = ", "Y1 = ", "Z1 = ", "X2 = ", "Y2 = ", "Z2 = ", "X3 = ", "Y3 = ", "Z3 = "};
const char NameLabel[] = "Memory Channal Name: ";
const char DateLabel[] = "Calibration Date: ";
const char WhiteLabels[3][12] = {"White_x = ", "White_y = ", "White_Lv = "};
} // namespace

bool readChannelFile(const QString &text, Calibration::Channel *out, QString *error)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &l : lines) {
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    }
    const auto value = [&](const QString &label, QString *v) {
        for (const QString &l : lines) {
            if (l.startsWith(label)) {
                *v = l.mid(label.size());
                return true;
            }
        }
        *error = QStringLiteral("missing line \"%1\"").arg(label.trimmed());
        return false;
    };
    const auto number = [&](const QString &label, double *v) {
        QString t;
        if (!value(label, &t))
            return false;
        ReplyReader::Number n;
        if (!ReplyReader::readNumber(t.trimmed(), &n)) {
            *error = QStringLiteral("\"%1\" is not a number: %2").arg(label.trimmed(), t);
            return false;
        }
        *v = n.value;
        return true;
    };
    Calibration::Channel c;
    if (!value(QString::fromLatin1(NameLabel), &c.name) || !value(QString::fromLatin1(DateLabel), &c.date))
        return false;
    for (int i = 0; i < 9; ++i) {
        if (!number(QString::fromLatin1(MatrixLabels[i]), &c.matrix[size_t(i)]))
            return false;
    }
    double *white[3] = {&c.x, &c.y, &c.lv};
    for (int i = 0; i < 3; ++i) {
        if (!number(QString::fromLatin1(WhiteLabels[i]), white[i]))
            return false;
    }
    *out = c;
    return true;
}

QString channelListLine(const Calibration::Channel &channel)
{
    const auto g6 = [](double v) { return std::isfinite(v) ? QString::number(v, 'g', 6) : QString(); };
    return QStringLiteral("%1  %2 %3 %4 %5  %6")
        .arg(channel.channel, 2, 10, QLatin1Char('0'))
        .arg(channel.name, -20)
        .arg(g6(channel.x), 9)
        .arg(g6(channel.y), 9)
        .arg(g6(channel.lv), 10)
        .arg(channel.date);
}

} // namespace Krn4Cli
