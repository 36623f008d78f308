#pragma once

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// The settings files under "sysconfig" and the per-user settings. Nothing is cached: every
// read opens the file, reads and closes it, so a value written by one page is seen by the
// next read anywhere.
namespace KtSettings {

// Every key of setting.ini, config.ini, RegulateConfig.ini and the per-user store, in one
// place ("Group/Key" form, ready for QSettings).
namespace Key {
// setting.ini
inline constexpr const char FirmwareUpgradePath[] = "FilePath/FirmwareUpgradePath";
inline constexpr const char ImportPath[] = "FilePath/ImportPath";
inline constexpr const char ExportPath[] = "FilePath/ExportPath";
inline constexpr const char MesPath[] = "FilePath/MesPath";
inline constexpr const char WaveFormPath[] = "FilePath/WaveFormPath";
inline constexpr const char MemoryCHPath[] = "FilePath/MemoryCHPath";
inline constexpr const char ColorGamutPath[] = "FilePath/ColorGamutPath";
inline constexpr const char WaveResponseTimePath[] = "FilePath/WaveResponseTimePath";
inline constexpr const char SpectrumPath[] = "FilePath/SpectrumPath"; // not created with the file
inline constexpr const char GrayLevelDataPath[] = "GrayScanning/GrayLevelDataPath";
inline constexpr const char GrayScanningTime[] = "GrayScanning/Time"; // ms between pattern steps
inline constexpr const char SyncFreqStep[] = "SyncFreq/Step";         // Hz
inline constexpr const char SyncFreqRange[] = "SyncFreq/Range";       // Hz
inline constexpr const char SyncFreqMesTimes[] = "SyncFreq/MesTimes"; // measurements per step
inline constexpr const char FactoryCalibrationVisible[] = "sysConfig/FactoryCalibrationVisible";
inline constexpr const char WhiteX[] = "WhiteXYZ_100/X";
inline constexpr const char WhiteY[] = "WhiteXYZ_100/Y";
inline constexpr const char WhiteZ[] = "WhiteXYZ_100/Z";
inline constexpr const char WhitePointX[] = "WhitePoint_DominantWave/White_x";
inline constexpr const char WhitePointY[] = "WhitePoint_DominantWave/White_y";
inline constexpr const char ExtendTab[] = "ExtendTab/extendTab";

// config.ini, group sysConfig
inline constexpr const char DVXCom[] = "sysConfig/DVXCom";
inline constexpr const char BaudRate[] = "sysConfig/BaudRate";
inline constexpr const char Startbits[] = "sysConfig/Startbits";
inline constexpr const char Databits[] = "sysConfig/Databits";
inline constexpr const char Stopbits[] = "sysConfig/Stopbits";
inline constexpr const char TestMethods[] = "sysConfig/TestMethods";
inline constexpr const char CA310Com[] = "sysConfig/CA310Com";
inline constexpr const char CaBaudRate[] = "sysConfig/CaBaudRate";
inline constexpr const char CaStartbits[] = "sysConfig/CaStartbits";
inline constexpr const char CaDatabits[] = "sysConfig/CaDatabits";
inline constexpr const char CaStopbits[] = "sysConfig/CaStopbits";
inline constexpr const char CaTestMethods[] = "sysConfig/CaTestMethods";
inline constexpr const char StartIP[] = "sysConfig/StartIP";
inline constexpr const char LocalIp[] = "sysConfig/LocalIp";
inline constexpr const char Single[] = "sysConfig/Single";
inline constexpr const char Double[] = "sysConfig/Double";
inline constexpr const char UplayerDebug[] = "sysConfig/UplayerDebug";
inline constexpr const char ConfigFactoryCalibrationVisible[] = "sysConfig/FactoryCalibrationVisible";

// per-user store (organisation "NQLV", application "ktTintora")
inline constexpr const char Language[] = "lang/value"; // "eng" or "chn"
inline constexpr const char OpenGammaCsvDir[] = "file/OpenGammaCsvDir";
} // namespace Key

inline constexpr const char UserOrganisation[] = "NQLV";
inline constexpr const char UserApplication[] = "ktTintora";

// Full paths: application directory + the literal ("//sysconfig//setting.ini" ...).
QString settingIniPath();
QString configIniPath();
QString regulateConfigIniPath();
QString colorGamutIniPath();

// The exact text of a newly created setting.ini (groups, keys and defaults in their order).
QString defaultSettingIniText();
// Creates setting.ini with its defaults when it does not exist (and its folder). Returns
// true when the file exists afterwards. An existing file is never touched.
bool ensureSettingIni(QString *error = nullptr);

// setting.ini access. A missing file or key reads as an empty string; no default is applied
// (so a missing GrayScanning/Time converts to 0).
QString readSetting(const QString &key);
QStringList readSettingList(const QString &key); // comma-separated list, empty entries dropped
double readSettingDouble(const QString &key);    // 0 when missing or not a finite number
int readSettingInt(const QString &key);          // 0 when missing or not a number
bool writeSetting(const QString &key, const QVariant &value, QString *error = nullptr);

// Any INI file under the same rules (open, read one key, close).
QVariant readIni(const QString &path, const QString &key, const QVariant &defaultValue = QVariant());
// Every write changes the file as a whole or not at all: it returns false with the reason in
// error (full disk, read-only folder) and then leaves the previous file byte-for-byte intact.
// Several keys written by one call land together.
bool writeIni(const QString &path, const QString &key, const QVariant &value, QString *error = nullptr);
using Values = QVector<QPair<QString, QVariant>>; // "Group/Key", value
bool writeIniValues(const QString &path, const Values &values, QString *error = nullptr);

// Per-user settings.
QString language(); // "eng" when never stored
bool setLanguage(const QString &value, QString *error = nullptr);
QString openGammaCsvDir();
bool setOpenGammaCsvDir(const QString &path, QString *error = nullptr);

// config.ini, group sysConfig. Missing keys read as 0 / empty.
struct SysConfig
{
    int ca310Com = 0;
    int caBaudRate = 0;
    int caStartbits = 0;
    int caDatabits = 0;
    int caStopbits = 0;
    int caTestMethods = 0;
    int dvxCom = 0; // stored port value (see KtPlatform::storedPortValue)
    QString dvxComText;
    int baudRate = 0;
    int startbits = 0;
    int databits = 0;
    int stopbits = 0;
    int testMethods = 0; // parity: 0 none, 2 even, 3 odd
    QString startIP;
    QString localIp;
    bool single = false; // Single == "true"
    bool dual = false;   // Double == "true"
    bool hasUplayerDebug = false;
    bool uplayerDebug = true; // "0" off, "1" on, absent: on
};
SysConfig readSysConfig();

// RegulateConfig.ini, group RegulateConfig.
struct RegulateConfig
{
    int ca310Com = 0;
    int caBaudRate = 0;
    int caStartbits = 0;
    int caDatabits = 0;
    int caStopbits = 0;
    int caTestMethods = 0;
    int dvxCom = 0;
    int baudRate = 0;
    int startbits = 0;
    int databits = 0;
    int stopbits = 0;
    int testMethods = 0;
    QString startIP;
    QString localIp;
    QString opearType; // "Manual" or "Automatic"
    int manualGear = 0;
    int userChannel = 0;
    int userGear = 0;
    bool eSingleProbeMode = false;
    bool eDoubleProbeMode = false;
    int pcMode = 0;
    int pgMode = 0;
    QString strChannel;
};
RegulateConfig readRegulateConfig();

} // namespace KtSettings
