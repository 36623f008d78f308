// Calibration files, memory-channel formats and the channel download of calibrationlogic.h.
#include "calibrationlogic.h"

#include "ktsafewrite.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTextStream>

#include <cmath>

namespace Calibration {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("Calibration", text);
}
} // namespace

QStringList groupKeys(int groupCount)
{
    QStringList keys;
    for (int g = 1; g <= groupCount; ++g)
        keys << QStringLiteral("X%1").arg(g) << QStringLiteral("Y%1").arg(g) << QStringLiteral("Z%1").arg(g);
    return keys;
}

QStringList matrixKeys()
{
    QStringList keys;
    for (const char *row : {"X", "Y", "Z"})
        for (int c = 1; c <= 3; ++c)
            keys << QLatin1String(row) + QString::number(c);
    return keys;
}

QByteArray iniText(const QVector<Section> &sections)
{
    QByteArray out;
    for (const Section &s : sections) {
        out += '[' + s.name.toUtf8() + "]\n";
        for (const auto &kv : s.values)
            out += kv.first.toUtf8() + '=' + kv.second.toUtf8() + '\n';
        out += '\n';
    }
    return out;
}

bool saveIni(const QString &path, const QVector<Section> &sections, QString *error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return KtSafeWrite::writeFile(path, iniText(sections), error);
}

QString Imported::value(const QString &section, const QString &key) const
{
    for (const auto &s : sections) {
        if (s.first != section)
            continue;
        for (const auto &kv : s.second)
            if (kv.first == key)
                return kv.second;
    }
    return QString();
}

Imported loadIni(const QString &path, const QVector<ImportRequest> &requests)
{
    // The exponent is "e+" or "e-" (the matrix fields are written in exponent form). "\z", not
    // "$": "$" also matches before a final line feed, which let "0.5\n" into a field.
    static const QRegularExpression value(QStringLiteral("^(\\d*)(\\.?)(\\d*)(e\\+|e\\-)?(\\d*)\\z"));
    static const QRegularExpression matrix(QStringLiteral("^(-?)(\\d*)(\\.?)(\\d*)(e\\+|e\\-)?(\\d*)\\z"));
    static const QRegularExpression chroma(QStringLiteral("^(0?)\\.(\\d+)\\z"));
    Imported result;
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > MaxIniBytes)
        return result;
    QSettings ini(path, QSettings::IniFormat);
    ini.setIniCodec("GB18030");
    if (ini.status() != QSettings::NoError)
        return result;
    for (const ImportRequest &rq : requests) {
        QVector<QPair<QString, QString>> values;
        for (const QString &key : rq.keys) {
            const QVariant v = ini.value(rq.section + '/' + key);
            const QString text = v.type() == QVariant::StringList ? v.toStringList().join(',') : v.toString();
            if (text.isEmpty())
                continue;
            const Rule rule = rq.rule ? rq.rule(key) : Rule::Value;
            const QRegularExpression &re = rule == Rule::Matrix         ? matrix
                                           : rule == Rule::Chromaticity ? chroma
                                                                        : value;
            if (!re.match(text).hasMatch()) {
                result.message = rule == Rule::Chromaticity
                                     ? tr("data %1 error, should be in (0, 1)!").arg(text)
                                     : tr("data %1 error!").arg(text);
                result.sections.clear();
                return result;
            }
            values.append({key, text});
        }
        result.sections.append({rq.section, values});
    }
    result.ok = true;
    return result;
}

QString downloadRecordPath(const QString &appDir, const QDate &day, const QString &deviceId,
                           const QString &channelText)
{
    QString id = deviceId.trimmed();
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    id.replace(unsafe, QStringLiteral("_"));
    return appDir + QStringLiteral("/Datas/") + day.toString(QStringLiteral("yyyy-MM-dd")) + '_' + id + '_' +
           channelText + QStringLiteral(".ini");
}

bool isUserChannel(int channel)
{
    return channel >= 1 && channel <= 99;
}

QString channelText(int channel)
{
    return QStringLiteral("MCH") + QString::number(channel).rightJustified(2, '0');
}

QVector<OverviewRow> overviewRows(const QVector<Channel> &channels)
{
    const Channel *factory = nullptr;
    int last = 0;
    for (const Channel &c : channels) {
        if (c.channel == 0)
            factory = &c;
        last = std::max(last, c.channel);
    }
    const auto sameMatrix = [](const Values9 &a, const Values9 &b) {
        for (size_t i = 0; i < 9; ++i)
            if (QString::number(a[i], 'f', 5) != QString::number(b[i], 'f', 5))
                return false;
        return true;
    };
    QVector<OverviewRow> rows(last);
    for (int r = 0; r < last; ++r)
        rows[r].channel = r + 1;
    for (const Channel &c : channels) {
        if (c.channel < 1)
            continue;
        OverviewRow &row = rows[c.channel - 1];
        row.name = factory && sameMatrix(c.matrix, factory->matrix) ? QString() : c.name;
        row.x = QString::number(c.x, 'g', 6);
        row.y = QString::number(c.y, 'g', 6);
        row.lv = QString::number(c.lv, 'g', 6);
        if (row.x.contains(QLatin1String("inf")) || row.y.contains(QLatin1String("inf")) ||
            row.lv.contains(QLatin1String("inf")))
            row.x = row.y = row.lv = QString();
        row.date = c.date;
    }
    return rows;
}

QByteArray channelDumpText(const Channel &c)
{
    QString text;
    QTextStream out(&text);
    out << "Memory Channal: " << c.channel << "\r\n";
    out << "Memory Channal Name: " << c.name << "\r\n";
    out << "Calibration Date: " << c.date << "\r\n";
    out << "Matrix Values: "
        << "\r\n";
    const char *labels[] = {"X1 = ", "Y1 = ", "Z1 = ", "X2 = ", "Y2 = ", "Z2 = ", "X3 = ", "Y3 = ", "Z3 = "};
    for (size_t i = 0; i < 9; ++i)
        out << labels[i] << c.matrix[i] << "\r\n";
    out << "White Values: "
        << "\r\n";
    out << "White_x = " << c.x << "\r\n";
    out << "White_y = " << c.y << "\r\n";
    out << "White_Lv = " << c.lv << "\r\n";
    out.flush();
    return text.toUtf8();
}

bool sameValue(const QString &written, const QString &readBack)
{
    bool okA = false, okB = false;
    const double a = written.trimmed().toDouble(&okA), b = readBack.trimmed().toDouble(&okB);
    if (!okA || !okB || !std::isfinite(a) || !std::isfinite(b))
        return false;
    return std::abs(a - b) <= 1e-6 * std::max(std::abs(a), std::abs(b)) + 1e-12;
}

WriteOutcome writeChannel(const ChannelLink &link, const std::array<QString, 9> &matrix,
                          const std::array<QString, 9> &before, const QVector<QPair<int, QString>> &extra)
{
    // Writes nine values and reads them back: -1 when all hold, else the failing parameter.
    const auto writeAndVerify = [&link](const std::array<QString, 9> &m, bool *differs, bool *unread) {
        for (int i = 0; i < 9; ++i)
            if (!link.write(i, m[size_t(i)]))
                return i;
        for (int i = 0; i < 9; ++i) {
            QString back;
            if (!link.read(i, &back)) {
                *unread = true;
                return i;
            }
            if (!sameValue(m[size_t(i)], back)) {
                *differs = true;
                return i;
            }
        }
        return -1;
    };
    WriteOutcome o;
    const auto restore = [&](int failed) {
        o.failedParam = failed;
        bool differs = false, unread = false;
        o.result = writeAndVerify(before, &differs, &unread) < 0 ? WriteOutcome::Restored
                                                                 : WriteOutcome::RestoreFailed;
        return o;
    };
    bool differs = false, unread = false;
    const int failed = writeAndVerify(matrix, &differs, &unread);
    if (failed >= 0) {
        o.readBackDiffers = differs;
        o.readBackFailed = unread;
        return restore(failed);
    }
    for (const auto &p : extra)
        if (!link.write(p.first, p.second))
            return restore(p.first);
    return o;
}

QString outcomeText(const WriteOutcome &o)
{
    if (o.ok())
        return tr("Download color matrix parameter succeed!");
    QString what;
    switch (o.failedParam) {
    case 11:
        what = tr("Solidify memory channel name failed!");
        break;
    case 12:
        what = tr("Solidify calibration date&time failed!");
        break;
    case 14:
        what = tr("Solidify white color x failed!");
        break;
    case 15:
        what = tr("Solidify white color y failed!");
        break;
    case 16:
        what = tr("Solidify white color Lv failed!");
        break;
    default:
        what =
            o.readBackDiffers
                ? tr("Color matrix parameter %1 read back differs from the value written!").arg(o.failedParam)
            : o.readBackFailed ? tr("Read back color matrix parameter %1 failed!").arg(o.failedParam)
                               : tr("Solidify color matrix parameter %1 failed!").arg(o.failedParam);
        break;
    }
    return what + ' ' +
           (o.result == WriteOutcome::Restored
                ? tr("The channel's previous matrix has been written back and read back.")
                : tr("Writing back the channel's previous matrix failed too, the channel may hold a mixed "
                     "matrix: download again!"));
}

} // namespace Calibration
