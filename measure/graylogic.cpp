#include "graylogic.h"

#include "ktcolorimetry.h"
#include "ktcsv.h"
#include "ktdominantwave.h"
#include "ktpaths.h"
#include "replyreader.h"

#include <QDateTime>
#include <QFile>
#include <QTextStream>

#include <cmath>
#include <limits>

namespace GrayLogic {

namespace {
constexpr double Nan = std::numeric_limits<double>::quiet_NaN();
const QString Zero = QStringLiteral("0.0");

int toneStep(int tones)
{
    return tones > 0 && tones <= 256 ? 256 / tones : 1;
}

double numberOf(const QString &text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? v : Nan;
}
} // namespace

// ---- selection -------------------------------------------------------------------------------

std::array<bool, 256> toneChecks(int tones, int lower, int upper)
{
    std::array<bool, 256> out{};
    const int step = toneStep(tones);
    const int offset = step - 1;
    out[0] = true;
    out[offset] = true;
    for (int i = 1; i < 256; ++i)
        out[i] = (i - offset) % step == 0 && i >= lower && i <= upper;
    return out;
}

QStringList toneLevels(int tones, int lower, int upper)
{
    const std::array<bool, 256> checks = toneChecks(tones, lower, upper);
    QStringList out;
    for (int i = 0; i < 256; ++i) {
        if (checks[i])
            out << QString::number(i);
    }
    return out;
}

QString customFilePath()
{
    return KtPlatform::appDir() + QStringLiteral("/sysconfig/Custom_GaryScanning.txt");
}

QStringList readCustomList(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList out;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line.remove(QLatin1Char('\r'));
        // A blank line (a trailing one, as editors leave) is no colour to show.
        if (!line.trimmed().isEmpty())
            out << line;
    }
    return out;
}

// ---- colours and tasks -------------------------------------------------------------------------

bool parseColour(const QString &text, int *r, int *g, int *b)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 3)
        return false;
    int v[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        v[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok || v[i] < 0 || v[i] > 255)
            return false;
    }
    if (r)
        *r = v[0];
    if (g)
        *g = v[1];
    if (b)
        *b = v[2];
    return true;
}

QString colourString(int r, int g, int b)
{
    return QStringLiteral("%1,%2,%3").arg(r).arg(g).arg(b);
}

QString levelColour(quint32 flag, int g)
{
    switch (flag) {
    case FlagRed:
        return colourString(g, 0, 0);
    case FlagGreen:
        return colourString(0, g, 0);
    case FlagBlue:
        return colourString(0, 0, g);
    default:
        return colourString(g, g, g);
    }
}

namespace {
struct Kind
{
    quint32 flag;
    const char *name;
};
constexpr Kind Kinds[] = {{FlagWhite, "White"}, {FlagRed, "Red"}, {FlagGreen, "Green"}, {FlagBlue, "Blue"}};

QVector<Task> levelTasks(quint32 flags, const QVector<int> &levels)
{
    QVector<Task> out;
    for (const Kind &k : Kinds) {
        if (!(flags & k.flag) || levels.isEmpty())
            continue;
        Task t;
        t.name = QLatin1String(k.name);
        for (int g : levels) {
            t.colours << levelColour(k.flag, g);
            t.levels << g;
        }
        out << t;
    }
    return out;
}
} // namespace

QVector<Task> selectionTasks(const Selection &selection)
{
    if (selection.flags & FlagCustom) {
        if (selection.levels.isEmpty())
            return {};
        return {Task{QStringLiteral("Custom"), selection.levels, {}}};
    }
    QVector<int> levels;
    for (const QString &l : selection.levels) {
        bool ok = false;
        const int g = l.toInt(&ok);
        if (ok && g >= 0 && g <= 255)
            levels << g;
    }
    return levelTasks(selection.flags, levels);
}

QVector<int> gammaLevels(int tones)
{
    const int step = toneStep(tones);
    QVector<int> out;
    if (step != 1)
        out << 0;
    for (int v = step - 1; v <= 255; v += step)
        out << v;
    return out;
}

QVector<Task> gammaTasks(int tones, quint32 flags)
{
    return levelTasks(flags, gammaLevels(tones));
}

// ---- one measurement -------------------------------------------------------------------------

bool readPoint(const QString &reply, Point *out)
{
    QVector<ReplyReader::Number> f;
    if (!ReplyReader::readFiveFields(reply, &f))
        return false;
    Point p;
    p.xValue = f.at(0).value;
    p.yValue = f.at(1).value;
    p.lv = f.at(2).value;
    p.x = f.at(0).text;
    p.y = f.at(1).text;
    p.Y = f.at(2).text;
    const double X = p.xValue / p.yValue * p.lv;
    const double z = 1.0 - p.xValue - p.yValue;
    p.X = KtColorimetry::formatValue(X);
    p.Z = z <= 0 ? Zero : KtColorimetry::formatValue(z / p.yValue * p.lv);
    if (p.lv < 1e-06)
        p.X = p.Y = p.Z = p.x = p.y = Zero;
    *out = p;
    return true;
}

MeasurementModel::Record pointRecord(const QString &label, const Point &p, qint64 deltaMs, qint64 stampMs,
                                     const QStringList &modeTexts)
{
    MeasurementModel::Record r;
    r.texts = {label, p.X, p.Y, p.Z, p.x, p.y};
    for (int i = 0; i < 4; ++i)
        r.texts << modeTexts.value(i);
    const KtColorimetry::TcpTexts t = KtColorimetry::calcTcpDuvTexts(p.X, p.Y, p.Z);
    const KtDominantWave::WaveTexts w = KtDominantWave::calcDominantWave(p.x, p.y);
    r.numbers = {numberOf(t.u),          numberOf(t.v),      numberOf(t.Tcp), numberOf(t.Duv),
                 numberOf(w.waveLength), numberOf(w.purity), double(deltaMs)};
    r.stampMs = stampMs;
    return r;
}

namespace {
using Model = MeasurementModel;

// The date's last 9 characters: the time with the blank in front of it, as the export
// relies on (the blank becomes an empty field).
std::function<QString(const Model::Record &)> timeWithBlank()
{
    return [](const Model::Record &r) {
        return QDateTime::fromMSecsSinceEpoch(r.stampMs)
            .toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"))
            .right(9);
    };
}

QVector<Model::Column> commonColumns(const QString &first)
{
    return {{first, Model::text(0)},
            {QStringLiteral("X"), Model::text(1)},
            {QStringLiteral("Y"), Model::text(2)},
            {QStringLiteral("Z"), Model::text(3)},
            {QStringLiteral("x"), Model::text(4)},
            {QStringLiteral("y"), Model::text(5)},
            {QStringLiteral("Lv"), Model::text(2)},
            {QStringLiteral("u'"), Model::fixed(0, 4)},
            {QStringLiteral("v'"), Model::fixed(1, 4)},
            {QStringLiteral("Tcp"), Model::fixed(2, 0)},
            {QStringLiteral("duv"), Model::fixed(3, 4)},
            {QString::fromUtf8("\xCE\xBB"
                               "d"),
             Model::fixed(4, 2)},
            {QStringLiteral("Pe"), Model::fixed(5, 2)},
            {QString::fromUtf8("\xCE\x94t"), Model::fixed(6, 0)}};
}
} // namespace

QVector<MeasurementModel::Column> grayColumns()
{
    QVector<Model::Column> c = commonColumns(QStringLiteral("RGB"));
    c << Model::Column{QStringLiteral("Date"), Model::date()}
      << Model::Column{QStringLiteral("Time"), timeWithBlank()};
    return c;
}

QVector<MeasurementModel::Column> gammaColumns()
{
    QVector<Model::Column> c = commonColumns(QStringLiteral("Tone"));
    c << Model::Column{QStringLiteral("Sync Mode"), Model::text(6)}
      << Model::Column{QStringLiteral("Measure Speed"), Model::text(7)}
      << Model::Column{QStringLiteral("Averaging Times"), Model::text(8)}
      << Model::Column{QStringLiteral("Integration Time"), Model::text(9)}
      << Model::Column{QStringLiteral("Date"), Model::date()}
      << Model::Column{QStringLiteral("Time"), timeWithBlank()};
    return c;
}

void writeTableCsv(QTextStream &out, const MeasurementModel &model)
{
    out << " ,";
    for (const QString &t : model.titles())
        out << KtCsv::safeCell(t) << ',';
    out << '\n';
    for (int row = 0; row < model.recordCount(); ++row) {
        const Model::Record &r = model.record(row);
        out << row + 1 << ',';
        const KtColorimetry::TcpTexts t =
            KtColorimetry::calcTcpDuvTexts(r.texts.value(1), r.texts.value(2), r.texts.value(3));
        const KtDominantWave::WaveTexts w =
            KtDominantWave::calcDominantWave(r.texts.value(4), r.texts.value(5));
        const QString recomputed[6] = {t.u, t.v, t.Tcp, t.Duv, w.waveLength, w.purity};
        for (int c = 0; c < model.columnCount(); ++c) {
            if (c >= 7 && c <= 12) {
                out << recomputed[c - 7] << ',';
                continue;
            }
            // A blank splits the cell into fields ("12,34,56" already is three); every piece
            // stays text in a spreadsheet.
            const QStringList parts =
                model.cellText(row, c).replace(QLatin1Char(' '), QLatin1Char(',')).split(QLatin1Char(','));
            QStringList safe;
            for (const QString &p : parts)
                safe << KtCsv::safeCell(p);
            out << safe.join(QLatin1Char(',')) << ',';
        }
        out << '\n';
    }
}

// ---- gamma series ----------------------------------------------------------------------------

SeriesColour seriesOfTask(const QString &taskName)
{
    for (int c = 0; c < SeriesCount; ++c) {
        if (taskName == seriesName(c))
            return SeriesColour(c);
    }
    return SeriesWhite;
}

QString seriesName(int colour)
{
    static const char *const names[] = {"Red", "Green", "Blue", "White"};
    return colour >= 0 && colour < SeriesCount ? QLatin1String(names[colour]) : QString();
}

QVector<double> normalised(const Series &s)
{
    double peak = 0;
    for (double l : s.lum)
        peak = std::max(peak, l);
    QVector<double> out;
    out.reserve(s.lum.size());
    for (double l : s.lum)
        out << (peak > 0 ? l / peak : 0.0);
    return out;
}

Drift drift(const Series &s)
{
    Drift d;
    if (s.x.isEmpty())
        return d;
    const double lx = s.x.last(), ly = s.y.last();
    for (int i = 0; i < s.x.size(); ++i) {
        d.dx << s.x.at(i) - lx;
        d.dy << s.y.at(i) - ly;
        d.dz << -(d.dx.last() + d.dy.last());
    }
    return d;
}

double fitGamma(const Series &s)
{
    const QVector<double> n = normalised(s);
    double sxy = 0, sxx = 0;
    int points = 0;
    for (int i = 0; i < n.size(); ++i) {
        const double g = s.levels.at(i) / 255.0;
        if (g <= 0.05 || g >= 1.0 || n.at(i) <= 0)
            continue;
        const double lx = std::log(g), ly = std::log(n.at(i));
        sxy += lx * ly;
        sxx += lx * lx;
        ++points;
    }
    return points >= 2 ? sxy / sxx : Nan;
}

void writeGammaCsv(QTextStream &out, const std::array<Series, SeriesCount> &series,
                   const MeasurementModel &model, const QString &date)
{
    static const char *const prefix[] = {"R", "G", "B", "W"};
    QVector<int> shown;
    int rows = 0;
    for (int c = 0; c < SeriesCount; ++c) {
        if (!series[c].isEmpty()) {
            shown << c;
            rows = std::max(rows, int(series[c].levels.size()));
        }
    }
    const auto g6 = [](double v) { return QString::number(v, 'g', 6); };
    out << "Date," << date << '\n';
    out << "Tone";
    for (int c : shown)
        out << ',' << seriesName(c);
    for (int c : shown) {
        const QString p = QLatin1String(prefix[c]);
        out << ',' << p << QString::fromUtf8("_\xCE\x94x,") << p << QString::fromUtf8("_\xCE\x94y,") << p
            << QString::fromUtf8("_\xCE\x94z");
    }
    out << '\n';
    QVector<QVector<double>> norm;
    QVector<Drift> drifts;
    for (int c : shown) {
        norm << normalised(series[c]);
        drifts << drift(series[c]);
    }
    for (int i = 0; i < rows; ++i) {
        double level = Nan;
        for (int c : shown) {
            if (i < series[c].levels.size()) {
                level = series[c].levels.at(i);
                break;
            }
        }
        out << g6(level);
        const auto cell = [&](const QVector<double> &v) { return i < v.size() ? g6(v.at(i)) : QString(); };
        for (int k = 0; k < shown.size(); ++k)
            out << ',' << cell(norm.at(k));
        for (int k = 0; k < shown.size(); ++k)
            out << ',' << cell(drifts.at(k).dx) << ',' << cell(drifts.at(k).dy) << ','
                << cell(drifts.at(k).dz);
        out << '\n';
    }
    writeTableCsv(out, model);
    out << "Fitted Gamma";
    for (int c : shown)
        out << ',' << seriesName(c) << ',' << g6(fitGamma(series[c]));
    out << '\n';
}

} // namespace GrayLogic
