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

// "MES"/"MES,1" reply in the xyLv layout: the first 10 characters are dropped and exactly
// five ","-separated fields must remain: x, y, Lv and two further ones. Fields are trimmed;
// x, y and Lv must be numbers. The plain "MES" reply ("OK00,P1,3127;3290;100.00": x and y
// in 1/10000, ";"-separated) is read as well. False (and nothing set) otherwise.
bool parseXyLv(const QString &reply, QString *x, QString *y, QString *lv);
// The XYZ layout: the first 8 characters are dropped and exactly three numbers separated by
// "," or ";" must remain: X, Y, Z.
bool parseXyz(const QString &reply, QString *X, QString *Y, QString *Z);
// The FMA reply of display mode 6: the flicker percentage is the first field after the
// 10-character head ("OK00,P1,0,12.34,x,y,Lv,f"); a reply with one field after the status
// carries it last. Trimmed, must be a number.
bool parseFma(const QString &reply, QString *fma);

// The record from x, y, Lv: X = x/y·Lv, Z = (1-x-y)/y·Lv ("0.0" when 1-x-y <= 0); below
// 1e-6 cd/m² X, Y, Z, x and y all read "0.0". Derived fields from X, Y, Z.
Record recordFromXyLv(const QString &x, const QString &y, const QString &lv, const QString &dt);
// The record from X, Y, Z as received; x, y and the derived fields computed.
Record recordFromXyz(const QString &X, const QString &Y, const QString &Z, const QString &dt);

// The outcome of one "MES" reply on this page.
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

// Two-character error code of an "ER" reply ("ER20" -> "20"); empty without "ER".
QString errorCode2(const QString &reply);

// One "JAD" reply.
struct JeitaOutcome
{
    bool ok = false;     // a row is to be written (OK reply that split, or an ER reply)
    bool failed = false; // "Mes JTA flicker failed!" is to be logged
    QString value;       // JEITA value in dB, as received (empty on ER)
    QStringList perHz;   // 6 Hz ... 65 Hz, as received (may be shorter than 60)
    QString errText;     // "", "Outside of measurement range!" (OK04) or the ER code
};
// The value is the last number before the ";"-separated list; the list is the first field
// that holds a ";". A reply with neither a list nor a number after the status cannot be split.
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
// ",") + ","; lines end with "\n". Rows with an empty label (never filled) are skipped.
void writeTableCsv(QTextStream &out, const QStringList &headers, const QVector<TableRow> &rows,
                   const std::function<QStringList(const QStringList &)> &transform = {});
// Through QSaveFile: the file is either written whole or left as it was.
bool saveTableCsv(const QString &path, const QStringList &headers, const QVector<TableRow> &rows,
                  const std::function<QStringList(const QStringList &)> &transform = {},
                  QString *error = nullptr);

} // namespace FlickerLogic
