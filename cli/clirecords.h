#pragma once

#include "calibrationlogic.h"
#include "flickerlogic.h"
#include "measurementmodel.h"
#include "replyreader.h"

#include <QString>
#include <QStringList>

// What krn4 prints and reads, as plain functions: the measurement records in three formats, the
// channel list and the memory-channel file.
namespace Krn4Cli {

enum class Format
{
    Table,
    Json,
    Csv
};
Format formatFromName(const QString &name);

// The Measure tab's mode for a command-line mode name (see modeNames()).
FlickerLogic::Mode modeFromName(const QString &name);

// The readings of one run as rows of the Measure tab's own record model (the columns of
// FlickerTable), printed one by one as they arrive and not kept.
class RecordPrinter
{
public:
    RecordPrinter(FlickerLogic::Mode mode, Format format);

    // Adds a record and returns the text to print for it (with the header before the first),
    // each line ended by "\n".
    QString add(const MeasurementModel::Record &record);
    int count() const { return m_count; }

    // A row of the model as the Measure tab's CSV export writes it, numbered number: the header
    // line, then the row's line.
    static QString csvLines(const MeasurementModel &model, int row, int number, bool colour);

private:
    QString jsonLine() const;
    QString tableLines() const;

    FlickerLogic::Mode m_mode;
    Format m_format;
    MeasurementModel m_model; // the record being printed
    int m_count = 0;
    QVector<int> m_tableColumns; // the columns the table format shows
};

// A memory channel file as the channel overview's "Save as" writes it (.MemoryCHInfo,
// Calibration::channelDumpText). False with the reason when a line is missing or a number does
// not read. The channel number in the file is not used (the command line names the target).
bool readChannelFile(const QString &text, Calibration::Channel *out, QString *error);

// One line of "channel list": number, name, white x, y, Lv, date.
QString channelListLine(const Calibration::Channel &channel);

} // namespace Krn4Cli
