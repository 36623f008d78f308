#include "ktsettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include "ktpaths.h"

#include <cmath>

namespace KtSettings {

namespace {
QString sysconfigPath(const char *literal)
{
    return KtPlatform::appDir() + QLatin1String(literal);
}

int toInt(const QVariant &v)
{
    return v.toString().trimmed().toInt();
}

} // namespace

QString settingIniPath()
{
    return sysconfigPath("//sysconfig//setting.ini");
}

QString configIniPath()
{
    return sysconfigPath("//sysconfig//config.ini");
}

QString regulateConfigIniPath()
{
    return sysconfigPath("//sysconfig//RegulateConfig.ini");
}

QString colorGamutIniPath()
{
    return sysconfigPath("//sysconfig//ColorGamut.ini");
}

QString defaultSettingIniText()
{
    // Written as text rather than through QSettings: QSettings orders groups and keys
    // alphabetically, and the file is meant to read in this order.
    struct Entry
    {
        const char *group;
        const char *key;
        const char *value;
    };
    static const Entry entries[] = {
        {"FilePath", "FirmwareUpgradePath", ""},
        {"FilePath", "ImportPath", ""},
        {"FilePath", "ExportPath", ""},
        {"FilePath", "MesPath", ""},
        {"FilePath", "WaveFormPath", ""},
        {"FilePath", "MemoryCHPath", ""},
        {"FilePath", "ColorGamutPath", ""},
        {"FilePath", "WaveResponseTimePath", ""},
        {"GrayScanning", "GrayLevelDataPath", ""},
        {"GrayScanning", "Time", "50"},
        {"SyncFreq", "Step", "0.1"},
        {"SyncFreq", "Range", "1"},
        {"SyncFreq", "MesTimes", "10"},
        {"sysConfig", "FactoryCalibrationVisible", ""},
        {"WhiteXYZ_100", "X", "95.017"},
        {"WhiteXYZ_100", "Y", "100.0"},
        {"WhiteXYZ_100", "Z", "108.813"},
        {"WhitePoint_DominantWave", "White_x", "0.3333"},
        {"WhitePoint_DominantWave", "White_y", "0.3333"},
        {"ExtendTab", "extendTab", ""},
    };
    QString text;
    QString group;
    for (const Entry &e : entries) {
        if (group != QLatin1String(e.group)) {
            if (!group.isEmpty())
                text += QLatin1Char('\n');
            group = QLatin1String(e.group);
            text += QLatin1Char('[') + group + QLatin1String("]\n");
        }
        text += QLatin1String(e.key) + QLatin1Char('=') + QLatin1String(e.value) + QLatin1Char('\n');
    }
    return text;
}

bool ensureSettingIni()
{
    const QString path = settingIniPath();
    if (QFileInfo::exists(path))
        return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(defaultSettingIniText().toUtf8());
    return file.commit();
}

QVariant readIni(const QString &path, const QString &key, const QVariant &defaultValue)
{
    QSettings ini(path, QSettings::IniFormat);
    return ini.value(key, defaultValue);
}

void writeIni(const QString &path, const QString &key, const QVariant &value)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSettings ini(path, QSettings::IniFormat);
    ini.setValue(key, value);
    ini.sync();
}

QString readSetting(const QString &key)
{
    const QVariant v = readIni(settingIniPath(), key);
    // A value with commas reads back as a list; hand it over as the text it was.
    if (v.type() == QVariant::StringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

QStringList readSettingList(const QString &key)
{
    const QVariant v = readIni(settingIniPath(), key);
    QStringList list =
        v.type() == QVariant::StringList ? v.toStringList() : v.toString().split(QLatin1Char(','));
    QStringList out;
    for (const QString &item : qAsConst(list)) {
        const QString t = item.trimmed();
        if (!t.isEmpty())
            out << t;
    }
    return out;
}

double readSettingDouble(const QString &key)
{
    // QString::toDouble also reads "nan" and "inf", which no setting holds.
    const double v = readSetting(key).trimmed().toDouble();
    return std::isfinite(v) ? v : 0.0;
}

int readSettingInt(const QString &key)
{
    return readSetting(key).trimmed().toInt();
}

void writeSetting(const QString &key, const QVariant &value)
{
    writeIni(settingIniPath(), key, value);
}

QString language()
{
    QSettings user{QString::fromLatin1(UserOrganisation), QString::fromLatin1(UserApplication)};
    return user.value(QLatin1String(Key::Language), QStringLiteral("eng")).toString();
}

void setLanguage(const QString &value)
{
    QSettings user{QString::fromLatin1(UserOrganisation), QString::fromLatin1(UserApplication)};
    user.setValue(QLatin1String(Key::Language), value);
}

QString openGammaCsvDir()
{
    QSettings user{QString::fromLatin1(UserOrganisation), QString::fromLatin1(UserApplication)};
    return user.value(QLatin1String(Key::OpenGammaCsvDir)).toString();
}

void setOpenGammaCsvDir(const QString &path)
{
    QSettings user{QString::fromLatin1(UserOrganisation), QString::fromLatin1(UserApplication)};
    user.setValue(QLatin1String(Key::OpenGammaCsvDir), path);
}

SysConfig readSysConfig()
{
    SysConfig c;
    QSettings ini(configIniPath(), QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("sysConfig"));
    c.ca310Com = toInt(ini.value(QStringLiteral("CA310Com")));
    c.caBaudRate = toInt(ini.value(QStringLiteral("CaBaudRate")));
    c.caStartbits = toInt(ini.value(QStringLiteral("CaStartbits")));
    c.caDatabits = toInt(ini.value(QStringLiteral("CaDatabits")));
    c.caStopbits = toInt(ini.value(QStringLiteral("CaStopbits")));
    c.caTestMethods = toInt(ini.value(QStringLiteral("CaTestMethods")));
    c.dvxComText = ini.value(QStringLiteral("DVXCom")).toString();
    c.dvxCom = c.dvxComText.trimmed().toInt();
    c.baudRate = toInt(ini.value(QStringLiteral("BaudRate")));
    c.startbits = toInt(ini.value(QStringLiteral("Startbits")));
    c.databits = toInt(ini.value(QStringLiteral("Databits")));
    c.stopbits = toInt(ini.value(QStringLiteral("Stopbits")));
    c.testMethods = toInt(ini.value(QStringLiteral("TestMethods")));
    c.startIP = ini.value(QStringLiteral("StartIP")).toString();
    c.localIp = ini.value(QStringLiteral("LocalIp")).toString();
    c.single = ini.value(QStringLiteral("Single")).toString() == QLatin1String("true");
    c.dual = ini.value(QStringLiteral("Double")).toString() == QLatin1String("true");
    c.hasUplayerDebug = ini.contains(QStringLiteral("UplayerDebug"));
    c.uplayerDebug =
        !c.hasUplayerDebug || ini.value(QStringLiteral("UplayerDebug")).toString() != QLatin1String("0");
    ini.endGroup();
    return c;
}

RegulateConfig readRegulateConfig()
{
    RegulateConfig c;
    QSettings ini(regulateConfigIniPath(), QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("RegulateConfig"));
    c.ca310Com = toInt(ini.value(QStringLiteral("CA310Com")));
    c.caBaudRate = toInt(ini.value(QStringLiteral("CaBaudRate")));
    c.caStartbits = toInt(ini.value(QStringLiteral("CaStartbits")));
    c.caDatabits = toInt(ini.value(QStringLiteral("CaDatabits")));
    c.caStopbits = toInt(ini.value(QStringLiteral("CaStopbits")));
    c.caTestMethods = toInt(ini.value(QStringLiteral("CaTestMethods")));
    c.dvxCom = toInt(ini.value(QStringLiteral("DVXCom")));
    c.baudRate = toInt(ini.value(QStringLiteral("BaudRate")));
    c.startbits = toInt(ini.value(QStringLiteral("Startbits")));
    c.databits = toInt(ini.value(QStringLiteral("Databits")));
    c.stopbits = toInt(ini.value(QStringLiteral("Stopbits")));
    c.testMethods = toInt(ini.value(QStringLiteral("TestMethods")));
    c.startIP = ini.value(QStringLiteral("StartIP")).toString();
    c.localIp = ini.value(QStringLiteral("LocalIp")).toString();
    c.opearType = ini.value(QStringLiteral("OpearType")).toString();
    c.manualGear = toInt(ini.value(QStringLiteral("ManualGear")));
    c.userChannel = toInt(ini.value(QStringLiteral("UserChannel")));
    c.userGear = toInt(ini.value(QStringLiteral("UserGear")));
    c.eSingleProbeMode = ini.value(QStringLiteral("eSingleProbeMode")).toString() == QLatin1String("true");
    c.eDoubleProbeMode = ini.value(QStringLiteral("eDoubleProbeMode")).toString() == QLatin1String("true");
    c.pcMode = toInt(ini.value(QStringLiteral("pcMode")));
    c.pgMode = toInt(ini.value(QStringLiteral("pgMode")));
    c.strChannel = ini.value(QStringLiteral("strChannel")).toString();
    ini.endGroup();
    return c;
}

} // namespace KtSettings
