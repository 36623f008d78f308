#pragma once

#include <Eigen/Dense>

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <functional>

// The calibration arithmetic and sequencing shared by the user- and factory-calibration pages
// and the memory-channel dialogs: no widget and no serial port here, so tests call it
// directly. Texts meant for the operator are translated in the "KTUserCalibration" context.
namespace Calibration {

// Which triple the tables hold: X, Y, Z or x, y, Lv.
enum class Mode
{
    XYZ,
    xyLv
};

// One group's triple as numbers (X, Y, Z or x, y, Lv).
using Triple = std::array<double, 3>;
// A matrix as nine values, row-major (parameters 0..8 of a memory channel).
using Values9 = std::array<double, 9>;

Eigen::Matrix3d toMatrix(const Values9 &v);
Values9 toValues(const Eigen::Matrix3d &m);

// ---- groups ---------------------------------------------------------------------------------

constexpr int MaxGroups = 5;
// The group whose reference is the white patch: group 1 with one group, group 4 otherwise.
int whiteGroup(int groupCount);
// Whether the download writes the white reference (not with three groups).
bool writesWhite(int groupCount);
// The groups shown, measured and validated for a group count ("1", "3", "4", "5"): 1..G.
bool isGroupCount(int groupCount);

enum class Method
{
    Tricorr,
    LeastSquares,
    Diagonal
};
// Four computed groups use the Tricorr module (unless the page computes without it, as the
// factory calibration does), fewer than three shown groups a diagonal matrix, anything else
// least squares.
Method methodFor(int groupCount, int computedCount, bool tricorr = true);

// x, y, Lv columns to X, Y, Z (X and Z are 0 when y is 0); XYZ columns are returned as they are.
Eigen::Matrix3Xd toTristimulus(const Eigen::Matrix3Xd &t, Mode mode);

// The readings of one "Mes" press: the probe's replies averaged. A reading that failed or did
// not read is not added; a group with no good reading is "not measured".
class Average
{
public:
    // Reads one "MES" reply (after its 8-character head, three fields separated by ";"; in
    // xyLv "3127" is 0.3127). False (nothing added) for a reply of another layout.
    bool add(const QString &reply, Mode mode);
    int count() const { return m_count; }
    bool measured() const { return m_count > 0; }
    Triple mean() const; // 0, 0, 0 when nothing was added

private:
    Triple m_sum{{0, 0, 0}};
    int m_count = 0;
};

// The averaging count: "1" .. "50" exactly; anything else is replaced by DefaultMesTimes.
inline constexpr int DefaultMesTimes = 10;
bool isMesTimes(const QString &text);

// Field texts: measurement 6 significant digits, error 4 decimals, matrix exponent form with
// 7 decimals.
QString measuredText(double v);
QString errorText(double v);
QString matrixText(double v);

// ---- generation -----------------------------------------------------------------------------

enum class Problem
{
    None,
    XOutOfRange, // "Invalid calibration data, x should be in (0, 1)!"
    YOutOfRange, // "... y should be in (0, 1)!"
    LvNotPositive,
    GroupOverflow, // more than five groups
    RefAllZero,
    MesAllZero,
    ResultAllZero,
    NotMeasured, // a computed group has no good reading
    NoResult,    // the method found no matrix (collinear primaries, singular tables)
};
QString problemText(Problem p);

struct Generated
{
    Problem problem = Problem::None;
    Method method = Method::LeastSquares;
    Eigen::Matrix3d weight = Eigen::Matrix3d::Zero(); // W with W·S ≈ R
    // The residual errors of groups 1..G (3×G): x and y in 1/10000, Lv in percent. From the
    // Tricorr module with four computed groups (groups 1..min(G, 4)), otherwise our own.
    Eigen::Matrix3Xd errors;
    bool ok() const { return problem == Problem::None; }
};

// R and S hold groups 1..G (3×G) as entered; `measured` says which groups have a good reading
// (empty: all). The first `computedCount` groups make the matrix.
// Which page generates: the factory calibration never uses the Tricorr module, and the debug
// output names the page.
enum class Calculator
{
    User,
    Factory
};
Generated generate(const Eigen::Matrix3Xd &R, const Eigen::Matrix3Xd &S, Mode mode, int groupCount,
                   int computedCount, const QVector<bool> &measured = {},
                   Calculator calculator = Calculator::User);
// Our own residual errors of W against every column (units as Generated::errors).
Eigen::Matrix3Xd residualErrors(const Eigen::Matrix3d &W, const Eigen::Matrix3Xd &R,
                                const Eigen::Matrix3Xd &S, Mode mode);
// The matrix to download: the new weight composed with the channel's current matrix, F = W·M.
Eigen::Matrix3d compose(const Eigen::Matrix3d &W, const Eigen::Matrix3d &M);
// Appends the composition record to "log.txt" when that file exists (it is never created).
void appendCompositionLog(const QString &path, const Eigen::Matrix3d &M, const Eigen::Matrix3d &W);

// ---- INI files ------------------------------------------------------------------------------

// One section of a calibration file: keys and value texts in order.
struct Section
{
    QString name;
    QVector<QPair<QString, QString>> values;
};
// Keys of groups 1..G ("X1", "Y1", "Z1", "X2", ...) and of the matrix ("X1".."X3" row X, ...).
QStringList groupKeys(int groupCount);
QStringList matrixKeys();
// INI text of the sections, and the file written whole or not at all.
QByteArray iniText(const QVector<Section> &sections);
bool saveIni(const QString &path, const QVector<Section> &sections, QString *error = nullptr);

// How a value is checked on import.
enum class Rule
{
    Value,        // "(\d*)(\.{0,1})(\d*)(\e\+|\e\-){0,1}(\d*)"
    Matrix,       // the same with an optional leading "-"
    Chromaticity, // x or y in mode xyLv: "(0{0,1})\.(\d+)"
};
struct ImportRequest
{
    QString section;
    QStringList keys;
    std::function<Rule(const QString &key)> rule;
};
struct Imported
{
    bool ok = false;
    QString message; // for the log: "data %1 error!" / "data %1 error, should be in (0, 1)!"
    // section → key → value; only non-empty values, every one valid.
    QVector<QPair<QString, QVector<QPair<QString, QString>>>> sections;
    QString value(const QString &section, const QString &key) const;
};
// Files above this size are refused before reading: a calibration file is a few hundred bytes.
inline constexpr qint64 MaxIniBytes = 1 << 20;
// Reads the keys (text codec GB18030). Everything is checked before anything is returned, so
// a bad file changes no field.
Imported loadIni(const QString &path, const QVector<ImportRequest> &requests);

// The automatic record of a download: Datas/<yyyy-MM-dd>_<device>_<channel>.ini under the
// application folder (characters a file name cannot hold are replaced by "_").
QString downloadRecordPath(const QString &appDir, const QDate &day, const QString &deviceId,
                           const QString &channelText);

// ---- memory channels ------------------------------------------------------------------------

// Channels 01..99 take a download; 00 is the factory channel.
bool isUserChannel(int channel);
// "MCH07" for 7.
QString channelText(int channel);

// One channel as the probe stores it (the channel table's record in numbers and texts).
struct Channel
{
    int channel = -1;
    Values9 matrix{};
    QString name, date;
    double x = 0.0, y = 0.0, lv = 0.0;
};

// The cells of one overview row.
struct OverviewRow
{
    int channel = 0;
    QString name, x, y, lv, date;
};
// Rows for channels 1 .. the last channel (by number; missing channels leave empty rows). A
// channel whose matrix equals channel 00's (5 decimals) shows no name; any "inf" among x, y,
// Lv empties all three.
QVector<OverviewRow> overviewRows(const QVector<Channel> &channels);
// The "Save as" text of one channel, lines ended by "\r\n".
QByteArray channelDumpText(const Channel &c);

// ---- writing a channel ----------------------------------------------------------------------

// The probe side of a channel download, as blocking exchanges on the active channel.
struct ChannelLink
{
    std::function<bool(int param, const QString &value)> write; // "CMW,param,value"
    std::function<bool(int param, QString *value)> read;        // "CMR,param"
};

// What a matrix download did. A channel is never left silently half-written: after any
// failure the matrix it held before is written back and read back.
struct WriteOutcome
{
    enum Result
    {
        Written,       // written and read back equal
        Restored,      // failed; the previous matrix is back (read back)
        RestoreFailed, // failed, and so did writing back the previous matrix
    };
    Result result = Written;
    int failedParam = -1; // the parameter whose write or read failed (-1: none)
    bool readBackDiffers = false;
    bool readBackFailed = false; // the read-back got no good reply
    bool ok() const { return result == Written; }
};

// Two matrix texts hold the same value (the probe keeps more digits than it is sent).
bool sameValue(const QString &written, const QString &readBack);

// Writes the matrix (parameters 0..8), reads it back and compares; then the extra parameters
// in order (white, name, date). On any failure writes `before` back and reads it back.
WriteOutcome writeChannel(const ChannelLink &link, const std::array<QString, 9> &matrix,
                          const std::array<QString, 9> &before,
                          const QVector<QPair<int, QString>> &extra = {});
// The operator's message for an outcome (translated): "Download color matrix parameter
// succeed!" or what failed and whether the previous matrix is back.
QString outcomeText(const WriteOutcome &o);

// ---- writing a whole channel ----------------------------------------------------------------

// A channel as the parameters a download writes: the matrix (0..8), then the white reference
// x, y, Lv (14, 15, 16), the name (11) and the date (12); numbers with 10 significant digits.
struct ChannelParams
{
    std::array<QString, 9> matrix;
    QVector<QPair<int, QString>> extra;
};
ChannelParams channelParams(const Channel &c);

// writeChannel for a channel replaced whole (a channel file imported): the extra parameters are
// read back and compared as well (numbers as sameValue, texts exactly), and after any failure
// the whole previous channel, not only its matrix, is written back and read back.
WriteOutcome writeWholeChannel(const ChannelLink &link, const ChannelParams &wanted,
                               const ChannelParams &before);

} // namespace Calibration

namespace ReplyReader {
struct ChannelRecord;
}

namespace Calibration {

// A channel of the probe's table ("CMR,13", ReplyReader::readChannelTable) in numbers and texts.
Channel channelFromRecord(const ReplyReader::ChannelRecord &record);

} // namespace Calibration
