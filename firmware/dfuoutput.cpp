#include "dfuoutput.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace DfuOutput {

namespace {

const QString VendorNoDevice = QStringLiteral("0 Device(s) found. Plug your DFU Device !");
const QString VendorSuccess = QStringLiteral("Upgrade successful !");
const QString DfuUtilNoDevice = QStringLiteral("No DFU capable USB device available");

// The integer between the first "(" and the following ")" after the last occurrence of
// phrase; -1 when there is none or it is negative.
int vendorPercent(const QString &output, const QString &phrase)
{
    const int at = output.lastIndexOf(phrase);
    if (at < 0)
        return -1;
    const int open = output.indexOf(QLatin1Char('('), at + phrase.size());
    const int close = open < 0 ? -1 : output.indexOf(QLatin1Char(')'), open + 1);
    if (close < 0)
        return -1;
    bool ok = false;
    const int value = output.mid(open + 1, close - open - 1).trimmed().toInt(&ok);
    // "(-20)" is no progress: the reading keeps -1 for "no percentage seen".
    return ok && value >= 0 ? value : -1;
}

} // namespace

Tool toolFor(const QString &programPath)
{
    return QFileInfo(programPath).fileName().startsWith(QLatin1String("DfuSeCommand"), Qt::CaseInsensitive)
               ? Tool::Vendor
               : Tool::DfuUtil;
}

QStringList arguments(Tool tool, const QString &dfuFile)
{
    if (tool == Tool::Vendor)
        return {QStringLiteral("-c"), QStringLiteral("-d"), QStringLiteral("--fn"), dfuFile};
    // Alternate setting 0 is the internal flash; a DfuSe file carries its own addresses, and
    // ":leave" starts the new firmware afterwards, as the vendor's tool does.
    return {QStringLiteral("-a"),     QStringLiteral("0"),  QStringLiteral("-s"),
            QStringLiteral(":leave"), QStringLiteral("-D"), dfuFile};
}

Reading read(Tool tool, const QString &output)
{
    Reading r;
    if (tool == Tool::Vendor) {
        const int erase = vendorPercent(output, QStringLiteral("Erase Phase"));
        const int download = vendorPercent(output, QStringLiteral("Download Phase"));
        if (download >= 0 || output.contains(QLatin1String("Download Phase"))) {
            r.phase = Phase::Download;
            r.percent = download;
        } else if (erase >= 0 || output.contains(QLatin1String("Erase Phase"))) {
            r.phase = Phase::Erase;
            r.percent = erase;
        }
        r.noDevice = output.contains(VendorNoDevice);
        return r;
    }
    // dfu-util redraws one bar per phase; the last bar drawn is the current state.
    static const QRegularExpression bar(QStringLiteral("(Erase|Download)\\s*\\[[= ]*\\]\\s*(\\d+)%"));
    QRegularExpressionMatchIterator it = bar.globalMatch(output);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        r.phase = m.captured(1) == QLatin1String("Erase") ? Phase::Erase : Phase::Download;
        r.percent = m.captured(2).toInt();
    }
    r.noDevice = output.contains(DfuUtilNoDevice);
    return r;
}

QString displayText(const QString &output)
{
    QStringList lines = output.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1); // a Windows line end
        line = line.mid(line.lastIndexOf(QLatin1Char('\r')) + 1);
    }
    return lines.join(QLatin1Char('\n'));
}

bool succeeded(Tool tool, const QString &output, bool normalExit, int exitCode)
{
    if (tool == Tool::Vendor)
        return output.contains(VendorSuccess);
    // dfu-util exits 0 only when the download completed; it says so in one of two ways
    // depending on whether the file was a DfuSe image.
    return normalExit && exitCode == 0 && !output.contains(DfuUtilNoDevice) &&
           (output.contains(QLatin1String("File downloaded successfully")) ||
            output.contains(QLatin1String("Done parsing DfuSe file")));
}

} // namespace DfuOutput
