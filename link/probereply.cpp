#include "probereply.h"

#include <QStringList>

#include <cmath>

namespace ProbeReply {

unsigned int strCommandCode(const QString &item)
{
    if (item == QLatin1String("3"))
        return CodeSTR3;
    if (item == QLatin1String("5"))
        return CodeSTR5;
    return CodeSTR;
}

unsigned int mdsCommandCode(const QString &mode)
{
    if (mode == QLatin1String("1"))
        return CodeMDS1;
    if (mode == QLatin1String("6"))
        return CodeMDS6;
    if (mode == QLatin1String("7"))
        return CodeMDS7;
    if (mode == QLatin1String("8"))
        return CodeMDS8;
    return CodeMDS;
}

bool isOk00(const QString &reply)
{
    return reply.contains(QLatin1String("OK00"));
}

bool hasMeasureOk(const QString &reply)
{
    for (int i = 0; i <= 7; ++i) {
        if (reply.contains(QStringLiteral("OK0%1").arg(i)))
            return true;
    }
    return false;
}

bool hasMeasureRefused(const QString &reply)
{
    return reply.contains(QLatin1String("ER10")) || reply.contains(QLatin1String("ER15")) ||
           reply.contains(QLatin1String("ER23"));
}

bool hasReportedError(const QString &reply)
{
    return reply.contains(QLatin1String("ER20")) || reply.contains(QLatin1String("ER22"));
}

bool hasError(const QString &reply)
{
    return reply.contains(QLatin1String("ER"));
}

QString errorCode(const QString &reply)
{
    return reply.right(4).left(3).trimmed();
}

QString afterLastComma(const QString &reply)
{
    return reply.mid(reply.lastIndexOf(QLatin1Char(',')) + 1);
}

QString afterFirstComma(const QString &reply)
{
    return reply.mid(reply.indexOf(QLatin1Char(',')) + 1);
}

QString dataFrom5(const QString &reply)
{
    return reply.mid(5);
}

QString number6(double value)
{
    // A value that cannot be computed is "nan" in the measurement record, never "inf".
    if (!std::isfinite(value))
        return QStringLiteral("nan");
    return QString::number(value, 'g', 6);
}

double mccamyCct(double x, double y)
{
    const double n = (x - 0.332) / (0.1858 - y);
    return 437.0 * n * n * n + 3601.0 * n * n + 6831.0 * n + 5517.0;
}

namespace {
const QString Nan = QStringLiteral("nan");

Reading failed()
{
    Reading r;
    r.x = r.y = r.lv = r.X = r.Z = r.cct = Nan;
    return r;
}
} // namespace

Reading parseTristimulus(const QString &reply)
{
    bool okX = false, okY = false, okZ = false;
    const double X = reply.mid(8, 9).trimmed().toDouble(&okX);
    const double Y = reply.mid(18, 9).trimmed().toDouble(&okY);
    const double Z = reply.mid(28, 9).trimmed().toDouble(&okZ);
    if (!okX || !okY || !okZ)
        return failed();
    const double sum = X + Y + Z;
    Reading r;
    r.x = sum != 0.0 ? number6(X / sum) : Nan;
    r.y = sum != 0.0 ? number6(Y / sum) : Nan;
    r.lv = number6(Y);
    r.X = number6(X);
    r.Z = number6(Z);
    r.ok = true;
    return r;
}

namespace {
// Readings for replies that do not have the positional "MES" layout: the synchronised
// measurement ("OK00,P1,0," then x, y, Lv, u', v' separated by ",") and the XYZ display mode
// ("OK00,P1," then X;Y;Z). Anything else stays unreadable.
Reading parseFieldLayouts(const QString &reply)
{
    const QStringList sync = reply.mid(10).split(QLatin1Char(','));
    if (reply.length() > 10 && reply.at(9) == QLatin1Char(',') && sync.size() == 5) {
        bool okx = false, oky = false, okLv = false;
        const double x = sync.at(0).trimmed().toDouble(&okx);
        const double y = sync.at(1).trimmed().toDouble(&oky);
        const double lv = sync.at(2).trimmed().toDouble(&okLv);
        if (okx && oky && okLv) {
            Reading r;
            r.x = number6(x);
            r.y = number6(y);
            r.lv = number6(lv);
            r.X = y != 0.0 ? number6(x * lv / y) : Nan;
            r.Z = y != 0.0 ? number6((1.0 - x - y) * lv / y) : Nan;
            r.cct = y != 0.1858 ? number6(mccamyCct(x, y)) : Nan;
            r.ok = true;
            return r;
        }
    }
    if (reply.mid(8).split(QLatin1Char(';')).size() == 3)
        return parseTristimulus(reply);
    return failed();
}
} // namespace

Reading parseChromaticity(const QString &reply)
{
    bool okx = false, oky = false, okLv = false;
    const double x = reply.mid(8, 4).trimmed().toInt(&okx) / 10000.0;
    const double y = reply.mid(13, 4).trimmed().toInt(&oky) / 10000.0;
    QString lvField = reply.length() >= 6 ? reply.mid(reply.length() - 6, 5) : QString();
    if (lvField.startsWith(QLatin1Char('.')))
        lvField = QLatin1Char('0') + lvField.left(4);
    const double lv = lvField.trimmed().toDouble(&okLv);
    if (!okx || !oky || !okLv)
        return parseFieldLayouts(reply);
    Reading r;
    r.x = number6(x);
    r.y = number6(y);
    r.lv = number6(lv);
    if (y != 0.0) {
        r.X = number6(x * lv / y);
        r.Z = number6((1.0 - x - y) * lv / y);
    } else {
        r.X = r.Z = Nan;
    }
    r.cct = y != 0.1858 ? number6(mccamyCct(x, y)) : Nan;
    r.ok = true;
    return r;
}

Reading parseMeasurement(unsigned int commandCode, const QString &reply)
{
    return commandCode == CodeXYZ ? parseTristimulus(reply) : parseChromaticity(reply);
}

QString txLine(const QString &command)
{
    return QStringLiteral(" Tx %1--- %2").arg(QString::number(command.length()), command);
}

QString rxLine(const QByteArray &reply)
{
    // With the size: the QByteArray overload of fromLatin1 stops at a NUL byte, which would
    // hide the rest of the reply from the log.
    return QStringLiteral(" Rx %1--- %2")
        .arg(QString::number(reply.size()), QString::fromLatin1(reply.constData(), reply.size()));
}

} // namespace ProbeReply
