#include "ktshellrules.h"

#include <algorithm>

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

QString manualFileName(const QString &probeType)
{
    const QString suffix =
        probeType.isEmpty() ? QStringLiteral("100") : probeType.section(QLatin1Char('-'), -1);
    return QStringLiteral("KRN4-") + suffix + QStringLiteral("-cn.pdf");
}

QString manualPath(const QString &appDir, const QString &probeType)
{
    return appDir + QStringLiteral("/Manual/") + manualFileName(probeType);
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
