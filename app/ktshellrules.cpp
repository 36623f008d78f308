#include "ktshellrules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cctype>

namespace KtShell {

TabPlan planTabs(bool factoryCalibrationVisible, const QStringList &extendTab)
{
    TabPlan plan;
    plan.factoryCalibration = factoryCalibrationVisible;
    plan.waveformJwa = extendTab.contains(QStringLiteral("WAVEFORM_JWA"), Qt::CaseSensitive);
    plan.waveformDsp =
        !plan.waveformJwa && extendTab.contains(QStringLiteral("WAVEFORM_DSP"), Qt::CaseSensitive);
    plan.responseTime = extendTab.contains(QStringLiteral("WAVERESPONSETIME_JWA"), Qt::CaseSensitive);
    plan.spectrum = extendTab.contains(QStringLiteral("SPECTRUM"), Qt::CaseSensitive);
    return plan;
}

bool factoryAccessWordMatches(const QString &value)
{
    return value == QLatin1String("QF7Z");
}

TabActivation tabActivation(int index, bool factoryPageExists)
{
    TabActivation a;
    switch (index) {
    case 0:
        a.flicker = true;
        break;
    case 1:
        a.userCalibration = true;
        break;
    case 2:
        a.factoryCalibration = factoryPageExists;
        a.waveform = !factoryPageExists;
        break;
    case 3:
        a.waveform = true;
        break;
    default:
        break;
    }
    return a;
}

bool waveformPagesAllowed(bool versionReceived, const QString &version)
{
    return !versionReceived || version.startsWith(QLatin1String("5.00"));
}

bool spectrumPageAllowed(bool typeReceived, const QString &type)
{
    return !typeReceived || type.contains(QLatin1String("KRN4-P60"));
}

int holdWaitMs(int waitNumber)
{
    int interval = 300;
    for (int halvings = std::max(0, waitNumber) / 3; halvings > 0 && interval > 10; --halvings)
        interval /= 2;
    return std::max(10, interval);
}

int stepComponent(int value, int delta)
{
    return std::clamp(value + delta, 0, 255);
}

QString colourString(int r, int g, int b)
{
    return QStringLiteral("%1,%2,%3").arg(r).arg(g).arg(b);
}

bool parseColour(const QString &colour, int *r, int *g, int *b)
{
    const QStringList parts = colour.split(QLatin1Char(','));
    if (parts.size() < 3)
        return false;
    *r = parts.at(0).toInt();
    *g = parts.at(1).toInt();
    *b = parts.at(2).toInt();
    return true;
}

QStringList manualFileCandidates(const QString &probeType, const QString &languageValue)
{
    const QString first = languageValue == QLatin1String("chn") ? QStringLiteral("cn") : QStringLiteral("en");
    const QString second = first == QLatin1String("cn") ? QStringLiteral("en") : QStringLiteral("cn");
    const QString model =
        probeType.isEmpty() ? QStringLiteral("100") : probeType.section(QLatin1Char('-'), -1);
    QStringList names;
    for (const QString &m : {model, QStringLiteral("100")}) {
        for (const QString &language : {first, second}) {
            const QString name = QStringLiteral("KRN4-%1-%2.pdf").arg(m, language);
            if (!names.contains(name))
                names << name;
        }
    }
    const QString english = QStringLiteral("manual-en.html");
    const QString chinese = QStringLiteral("manual.html");
    names << (first == QLatin1String("en") ? english : chinese)
          << (first == QLatin1String("en") ? chinese : english);
    return names;
}

QString findManual(const QStringList &folders, const QString &probeType, const QString &languageValue)
{
    const QStringList names = manualFileCandidates(probeType, languageValue);
    for (const QString &folder : folders) {
        for (const QString &name : names) {
            const QFileInfo file(QDir(folder).filePath(name));
            if (file.isFile())
                return file.absoluteFilePath();
        }
    }
    return QString();
}

bool containsStatusWord(const QByteArray &bytes)
{
    for (int i = 0; i + 3 < bytes.size(); ++i) {
        const bool word =
            (bytes.at(i) == 'O' && bytes.at(i + 1) == 'K') || (bytes.at(i) == 'E' && bytes.at(i + 1) == 'R');
        if (word && std::isdigit(static_cast<unsigned char>(bytes.at(i + 2))) &&
            std::isdigit(static_cast<unsigned char>(bytes.at(i + 3))))
            return true;
    }
    return false;
}

CommandLineAction commandLineAction(const QStringList &arguments)
{
    for (const QString &a : arguments) {
        if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            return CommandLineAction::Help;
        if (a == QLatin1String("--version") || a == QLatin1String("-v"))
            return CommandLineAction::Version;
    }
    return CommandLineAction::Run;
}

QString helpText()
{
    return QCoreApplication::translate(
        "main", "Usage: ktTintora [--simulate] [Qt options]\n"
                "Drives a KRN-4 colour-measurement probe over its serial port.\n\n"
                "Options:\n"
                "  --simulate     start the simulated probe krn4-sim beside the program and open its port\n"
                "                 (with a display, it measures the program's own Color Window)\n"
                "  -h, --help     show this help and exit\n"
                "  -v, --version  show the version and exit\n\n"
                "Without a display, run it under a virtual one:\n"
                "  xvfb-run -a -s \"-screen 0 1600x900x24\" ktTintora --simulate\n\n"
                "Environment:\n"
                "  KT_DATA_ROOT   folder for sysconfig, logs and data instead of the program's folder\n"
                "  KT_SIM_BIN     the simulator that --simulate starts\n");
}

QString versionText()
{
    return QStringLiteral("ktTintora %1\n").arg(QLatin1String(SoftwareVersion));
}

bool isTranslatedTabTitle(const QString &windowTitle)
{
    static const QStringList titles = {"UserCalibration",      "Measure", "FactoryCalibration", "WaveForm",
                                       "WaveResponseTimeTest", "Spectrum"};
    return titles.contains(windowTitle);
}

QString translationResource(const QString &languageValue)
{
    return languageValue == QLatin1String("chn") ? QStringLiteral(":/Tintora/Resources/Translation_zh_CN.qm")
                                                 : QStringLiteral(":/Tintora/Resources/Translation_en.qm");
}

} // namespace KtShell
