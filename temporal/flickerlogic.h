#pragma once

#include <QDateTime>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class QTextStream;

// The Measure tab's logic without widgets: reply parsers, the measurement record, row
// formatting, the series bookkeeping and the CSV export. The page (ktFlickerSet) only wires
// these to its tables and charts, and tests call them directly.
namespace FlickerLogic {

// The measure modes, one per radio button of the page's mode group.
enum class Mode
{
    XyLv,
    Xyz,
    Fma,
    Jeita,
    TcpDuv,
    DominantWave,
    Lab
};

// Probe display-mode code sent with "MDS,".
QString modeCode(Mode mode);
// Colour modes fill twMeasureBright; FMA and JEITA fill twMeasureFlicker.
bool isColourMode(Mode mode);

// The fifteen positional strings of one colour measurement. ctt carries the measurement
// duration (Δt, ms) on this page.
struct Record
{
    QString X, Y, Z, x, y, ctt, L, a, b, Tcp, Duv, u, v, waveLength, purity;
};

// The record from x, y, Lv: X = x/y·Lv, Z = (1-x-y)/y·Lv ("0.0" when 1-x-y <= 0); below
// 1e-6 cd/m² X, Y, Z, x and y all read "0.0". Derived fields from X, Y, Z.
Record recordFromXyLv(const QString &x, const QString &y, const QString &lv, const QString &dt);
// The record from X, Y, Z as received; x, y and the derived fields computed.
Record recordFromXyz(const QString &X, const QString &Y, const QString &Z, const QString &dt);

// The outcome of one "MES" reply on this page. A reply containing "OK" is read by the layouts
// of ReplyReader: FMA mode the flicker percentage (readFma); XYZ mode X, Y, Z (readXyzFields)
// or x, y, Lv of the five-field layout converted to X, Y, Z (readSync); the other colour modes
// x, y, Lv of the five-field layout (readSync) or of the plain "MES" layout (readPlain). A
// reply that does not read is a FormatError. A reply with "ER" and its two digits is a
// MeasureError; "ER" without two digits is a FormatError (nothing of it reaches the table).
struct MesOutcome
{
    enum Kind
    {
        Bright,
        Flicker,
        FormatError,
        MeasureError
    } kind = FormatError;
    Record record;   // Bright
    QString fma;     // Flicker
    QString errCode; // MeasureError: the two characters after "ER"
};
MesOutcome handleMesReply(const QString &reply, Mode mode, const QString &dt);

// One "JAD" reply.
struct JeitaOutcome
{
    bool ok = false;          // a row is to be written (OK reply that read, or an ER reply)
    bool failed = false;      // "Mes JTA flicker failed!" is to be logged
    bool formatError = false; // "Format error!" is to be logged; no row
    QString value;            // JEITA value in dB, as received (empty on ER)
    QStringList perHz;        // 6 Hz ... 65 Hz, as received (may be shorter than 60)
    QString errText;          // "", "Outside of measurement range!" (OK04) or the ER code
};
// An "OK" reply is read by ReplyReader::readJeita (field 1 the value, field 2 the list); one
// without a field after the status cannot be split (failed); one whose fields do not read is a
// format error. An "ER" reply carries its two digits as the error text (or is a format error
// without them); any other reply failed.
JeitaOutcome handleJadReply(const QString &reply);
QString outsideRangeText(); // the English text for OK04 (tr() is applied by the page)

// ---- rows ------------------------------------------------------------------------------------

// Mode summary texts shown in every bright row (PortHolder, written by the mode dialog).
struct ModeSummary
{
    QString sync, speed, average, integration;
};

// The 19 column titles of twMeasureBright.
QStringList brightHeaders();
// FMA: 4 columns; JEITA: "JEITA", "6Hz" ... "65Hz", "ErrCode", "Date", "Time" (64).
QStringList flickerHeaders(bool jeita);

// "yyyy/MM/dd hh:mm:ss": Date is its first 10 characters, Time its last 8.
QString dateText(const QDateTime &when);
QString timeText(const QDateTime &when);

// Fixed-point text of a decimal string; "nan" (or any text that is not a finite number)
// shows as "--".
QString fixedOrDash(const QString &text, int decimals);

// The 19 cells of a bright row: X, Y, Z, x, y as received, Lv (= Y), u', v' (4 decimals),
// Tcp (0), duv (4), λd, Pe (2), Δt, the four mode summaries, Date, Time.
QStringList brightRow(const Record &r, const ModeSummary &summary, const QDateTime &when);
// FMA row: value, error code, Date, Time.
QStringList fmaRow(const QString &fma, const QString &errCode, const QDateTime &when);
// JEITA row (64 cells): the value with up to 6 significant digits when the error text is empty
// or the out-of-range text, "-" otherwise; the per-frequency values; error text; Date; Time.
QStringList jeitaRow(const JeitaOutcome &j, const QString &outsideRangeShown, const QDateTime &when);

// ---- series ----------------------------------------------------------------------------------

// Bookkeeping of a timed series: results arrive (possibly faster than they are consumed) into
// the pending queue and are consumed in arrival order. A consumed entry is dropped at once, so
// a long series holds only the results not yet shown.
class SeriesBook
{
public:
    struct Entry
    {
        QString reply;
        QString dt;
    };

    void start(int count);
    void append(const QString &reply, const QString &dt) { m_pending.enqueue({reply, dt}); }
    bool hasNext() const { return !m_pending.isEmpty(); }
    // The next entry; counts the processed entries up and the remaining cycles down.
    Entry takeNext();
    // One cycle handled without a queued entry (a JEITA reply, taken as it comes).
    void countCycle();
    bool complete() const { return m_total > 0 && m_processed >= m_total; }
    void reset() { start(0); }
    void setRemaining(int n) { m_remaining = n < 0 ? 0 : n; }

    int total() const { return m_total; }
    int remaining() const { return m_remaining; }
    int processed() const { return m_processed; }
    int pendingCount() const { return m_pending.size(); } // not yet consumed

private:
    QQueue<Entry> m_pending;
    int m_total = 0;
    int m_remaining = 0;
    int m_processed = 0;
};

// ---- export ----------------------------------------------------------------------------------

// One table row as exported: its vertical-header label and its cell texts.
struct TableRow
{
    QString label;
    QStringList cells;
};

// Replaces the u', v', Tcp and duv cells (columns 6 to 9) of a bright row by the values
// recomputed from its X, Y, Z cells (columns 0 to 2) with 6 significant digits, so that the
// file carries full precision instead of the rounded display texts.
QStringList brightExportCells(const QStringList &cells);

// " ," + every header + ","; then per row: label + "," + each cell (blanks inside a cell become
// ",") + ","; lines end with "\n", and a "\r" or "\n" inside any text becomes a blank. Rows with
// an empty label (never filled) are skipped. Cell fields that a spreadsheet would run as a
// formula are written as text (KtCsv::safeCell).
void writeTableCsv(QTextStream &out, const QStringList &headers, const QVector<TableRow> &rows,
                   const std::function<QStringList(const QStringList &)> &transform = {});
// The file is either written whole or left byte-for-byte as it was (KtSafeWrite); false with
// the reason in error on any failure.
bool saveTableCsv(const QString &path, const QStringList &headers, const QVector<TableRow> &rows,
                  const std::function<QStringList(const QStringList &)> &transform = {},
                  QString *error = nullptr);

} // namespace FlickerLogic
