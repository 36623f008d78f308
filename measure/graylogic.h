#pragma once

#include "measurementmodel.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

class QTextStream;

// The plain logic of gray scanning and the gamma page: which gray levels a selection stands
// for, the colour tasks of a run, a measurement reply turned into a table record, the table
// layouts and their CSV form, and the gamma series with their normalised curves,
// chromaticity drift and fitted exponent. No widgets: the pages wire these to their forms.
namespace GrayLogic {

// ---- selection of the gray-level dialog -------------------------------------------------

enum ColourFlag : quint32
{
    FlagWhite = 1,
    FlagRed = 2,
    FlagGreen = 4,
    FlagBlue = 8,
    FlagCustom = 16,
};

struct Selection
{
    quint32 flags = FlagWhite;
    QString tone = QStringLiteral("256"); // the tone count as the combo box shows it
    QStringList levels;                   // gray values ("15") or, with FlagCustom, colours ("12,34,56")
};

// The tone rule of the level grid: box 0 and box step-1 always, then every i in 1..255 with
// (i - (step-1)) divisible by step (step = 256 / tones) inside [lower, upper]. 256 flags.
std::array<bool, 256> toneChecks(int tones, int lower, int upper);
// The checked levels of toneChecks as texts, ascending.
QStringList toneLevels(int tones, int lower, int upper);

// "<application directory>/sysconfig/Custom_GaryScanning.txt".
QString customFilePath();
// The non-empty lines of the custom list (line ends removed); empty for a missing file.
QStringList readCustomList(const QString &path);

// ---- colours and tasks ---------------------------------------------------------------------

// "R,G,B" as the operator typed it: exactly three parts, each a whole number 0..255.
bool parseColour(const QString &text, int *r = nullptr, int *g = nullptr, int *b = nullptr);
QString colourString(int r, int g, int b);

struct Task
{
    QString name; // "White", "Red", "Green", "Blue", "Custom" or "RGB"
    QStringList colours;
    QVector<double> levels;
};

// The colour of a level in a task: White (g,g,g), Red (g,0,0), Green (0,g,0), Blue (0,0,g).
QString levelColour(quint32 flag, int level);
// Tasks of a gray-level selection, in the order White, Red, Green, Blue (empty ones left
// out); with FlagCustom one "Custom" task with the chosen colours as they are.
QVector<Task> selectionTasks(const Selection &selection);
// The gamma page's levels: 0 (unless every level is measured), then every v from step-1 to
// 255 in steps of 256 / tones. 16 tones give 0, 15, 31, ..., 255.
QVector<int> gammaLevels(int tones);
// The gamma page's tasks for the colours in flags (White, Red, Green, Blue order).
QVector<Task> gammaTasks(int tones, quint32 flags);

// ---- one measurement -----------------------------------------------------------------------

// What a "MES,1" reply gives a row: x, y, Lv as received, X and Z derived (6 significant
// digits), all five "0.0" for a reading below 1e-06 cd/m².
struct Point
{
    QString X, Y, Z, x, y;
    double xValue = 0, yValue = 0, lv = 0;
};
bool readPoint(const QString &reply, Point *out);

// Record layout shared by both tables: texts 0 colour or level, 1-5 X, Y, Z, x, y, 6-9 the
// measurement-mode summaries (gamma table); numbers 0-5 u', v', Tcp, duv, λd, Pe, 6 Δt (ms).
MeasurementModel::Record pointRecord(const QString &label, const Point &p, qint64 deltaMs, qint64 stampMs,
                                     const QStringList &modeTexts = {});
// The gray-scanning table: RGB, X, Y, Z, x, y, Lv, u', v', Tcp, duv, λd, Pe, Δt, Date, Time.
QVector<MeasurementModel::Column> grayColumns();
// The gamma table: Tone, ... Δt, Sync Mode, Measure Speed, Averaging Times, Integration
// Time, Date, Time.
QVector<MeasurementModel::Column> gammaColumns();

// The table as CSV: " ," and the titles each followed by ","; then per row its number, the
// cells with every blank made a field separator, and in place of u' .. Pe the six values
// recomputed from the row's X, Y, Z, x, y (6 significant digits).
void writeTableCsv(QTextStream &out, const MeasurementModel &model);

// ---- gamma series --------------------------------------------------------------------------

enum SeriesColour
{
    SeriesRed,
    SeriesGreen,
    SeriesBlue,
    SeriesWhite,
    SeriesCount
};
SeriesColour seriesOfTask(const QString &taskName);
QString seriesName(int colour); // "Red", "Green", "Blue", "White"

struct Series
{
    QVector<double> levels, lum, x, y;
    bool isEmpty() const { return levels.isEmpty(); }
    void clear() { *this = Series(); }
};

// Luminance over the series' largest luminance (all 0 when that is not positive).
QVector<double> normalised(const Series &s);
// Δx, Δy against the series' last point and Δz = -(Δx + Δy).
struct Drift
{
    QVector<double> dx, dy, dz;
};
Drift drift(const Series &s);
// Least-squares slope of log(L/Lmax) against log(level/255) through the origin, over the
// levels above 5 % and below 100 % of full range with a positive luminance. NaN with fewer
// than two such points.
double fitGamma(const Series &s);

// The gamma CSV: "Date," + date, the header, one line per level of the first series with the
// normalised luminance and the drift of each colour, the measurement table, and one line
// "Fitted Gamma" followed by colour name and exponent for every colour with a series.
void writeGammaCsv(QTextStream &out, const std::array<Series, SeriesCount> &series,
                   const MeasurementModel &model, const QString &date);

} // namespace GrayLogic
