#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The main window's decisions as plain functions, so tests reach them without a window.
namespace KtShell {

// The software version shown in the main window and the version dialog.
inline constexpr const char SoftwareVersion[] = "1.1.0.34";

// Which optional tab pages to create, from setting.ini: the factory tab only with the access
// word, the others from ExtendTab/extendTab (exact, case-sensitive words; of the two waveform
// pages at most one, the JWA one winning).
struct TabPlan
{
    bool factoryCalibration = false;
    bool waveformJwa = false;
    bool waveformDsp = false;
    bool responseTime = false;
    bool spectrum = false;
};
TabPlan planTabs(bool factoryCalibrationVisible, const QStringList &extendTab);
// sysConfig/FactoryCalibrationVisible must hold this word (case-sensitive) to show the tab.
bool factoryAccessWordMatches(const QString &value);

// Which timer-driven page is told it is the visible one for a tab index. The table is by
// position: 0 measure, 1 user calibration, 2 factory calibration (or the waveform page when
// there is no factory tab), 3 waveform.
struct TabActivation
{
    bool flicker = false;
    bool userCalibration = false;
    bool factoryCalibration = false;
    bool waveform = false;
};
TabActivation tabActivation(int index, bool factoryPageExists);

// Capability check after a connection. A query that got no reply decides nothing.
bool waveformPagesAllowed(bool versionReceived, const QString &version);
bool spectrumPageAllowed(bool typeReceived, const QString &type);

// Press-and-hold stepping of the colour controls: the wait after the first step is 300 ms,
// then the interval halves after every third repetition, never below 10 ms.
// waitNumber 0 is the wait after the first step: 300, 300, 300, 150, 150, 150, 75, ...
int holdWaitMs(int waitNumber);
// One step of a colour component, kept within 0..255.
int stepComponent(int value, int delta);

// "R,G,B" from three components, and back. parseColour fails (leaving the output alone) for a
// string with fewer than three comma-separated parts.
QString colourString(int r, int g, int b);
bool parseColour(const QString &colour, int *r, int *g, int *b);

// The manual to open: the first file that exists in the first folder that has one, trying
// for each folder the probe's model, then the 100 model, in the interface language first
// ("KRN4-P60-en.pdf" before "KRN4-P60-cn.pdf" in English), then the manual's HTML source
// ("manual-en.html" / "manual.html"). Empty when none exists.
QStringList manualFileCandidates(const QString &probeType, const QString &languageValue);
QString findManual(const QStringList &folders, const QString &probeType, const QString &languageValue);

// Whether bytes from the probe hold a status word ("OK" or "ER" and two digits): some probe
// answers on the line, whatever it answered.
bool containsStatusWord(const QByteArray &bytes);

// The command line: "--help"/"-h" and "--version"/"-v" print and end the program before any
// window (or display) is needed.
enum class CommandLineAction
{
    Run,
    Help,
    Version
};
CommandLineAction commandLineAction(const QStringList &arguments); // arguments without argv[0]
QString helpText();
QString versionText();

// Page window titles whose tab text follows the language (other tabs keep their text).
bool isTranslatedTabTitle(const QString &windowTitle);

// The language resources: value "chn" or "eng" and its compiled-in translation.
QString translationResource(const QString &languageValue);

} // namespace KtShell
