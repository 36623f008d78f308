#include "probereply.h"

#include "replyreader.h"

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

QString errorStatusDigits(const QString &reply)
{
    const auto digit = [&reply](int i) {
        return i < reply.size() && reply.at(i) >= QLatin1Char('0') && reply.at(i) <= QLatin1Char('9');
    };
    for (int at = reply.indexOf(QLatin1String("ER")); at >= 0;
         at = reply.indexOf(QLatin1String("ER"), at + 1)) {
        if (digit(at + 2) && digit(at + 3))
            return reply.mid(at + 2, 2);
    }
    return QString();
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

QString txLine(const QString &command)
{
    return QStringLiteral(" Tx %1--- %2").arg(QString::number(command.length()), command);
}

QString rxLine(const QByteArray &reply, int maxChars)
{
    // At full length: a NUL byte must not hide the rest of the reply. The log escapes it
    // with the other control characters.
    const QString count = QString::number(reply.size());
    if (reply.size() > maxChars) {
        const QString head = ReplyReader::text(reply.left(maxChars));
        return QStringLiteral(" Rx %1--- %2... (%1 bytes)").arg(count, head);
    }
    return QStringLiteral(" Rx %1--- %2").arg(count, ReplyReader::text(reply));
}

} // namespace ProbeReply
