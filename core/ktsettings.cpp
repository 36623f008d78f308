#include "ktsettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>

#include "ktpaths.h"
#include "ktsafewrite.h"

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

// On Linux and the other Unix desktops QSettings' native per-user store is an INI file, so it
// is written under the same whole-or-nothing rule; elsewhere (registry, property lists)
// QSettings' own status is all there is.
bool writeUserValue(const QString &key, const QVariant &value, QString *error)
{
    QSettings user{QString::fromLatin1(UserOrganisation), QString::fromLatin1(UserApplication)};
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const QString path = user.fileName();
    return writeIniValues(path, {{key, value}}, error);
#else
    user.setValue(key, value);
    user.sync();
    if (user.status() == QSettings::NoError)
        return true;
    if (error)
        *error = QCoreApplication::translate("KtSettings", "Cannot write %1: %2")
                     .arg(user.fileName(),
                          QCoreApplication::translate("KtSettings", "the settings cannot be stored"));
    return false;
#endif
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

bool ensureSettingIni(QString *error)
{
    const QString path = settingIniPath();
    if (QFileInfo::exists(path))
        return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    return KtSafeWrite::writeFile(path, defaultSettingIniText().toUtf8(), error);
}

QVariant readIni(const QString &path, const QString &key, const QVariant &defaultValue)
{
    QSettings ini(path, QSettings::IniFormat);
    return ini.value(key, defaultValue);
}

bool writeIni(const QString &path, const QString &key, const QVariant &value, QString *error)
{
    return writeIniValues(path, {{key, value}}, error);
}

bool writeIniValues(const QString &path, const Values &values, QString *error)
{
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = QCoreApplication::translate("KtSettings", "Cannot write %1: %2").arg(path, reason);
        return false;
    };
    // QSettings writes through a QSaveFile whose failed final flush can go unreported (and it
    // renames the short file over the old one), so it only edits a draft copy here. The draft
    // is read back and compared key by key, and the real file is replaced by the checked bytes
    // with the whole-file writer.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return fail(scratch.errorString());
    const QString draft = scratch.filePath(QStringLiteral("draft.ini"));
    if (QFileInfo::exists(path) && !QFile::copy(path, draft))
        return fail(QCoreApplication::translate("KtSettings", "the file cannot be read"));
    QMap<QString, QVariant> expected;
    {
        QSettings ini(draft, QSettings::IniFormat);
        const QStringList keys = ini.allKeys();
        for (const QString &k : keys)
            expected.insert(k, ini.value(k));
        for (const auto &v : values) {
            ini.setValue(v.first, v.second);
            expected.insert(v.first, v.second);
        }
        ini.sync();
        if (ini.status() != QSettings::NoError)
            return fail(QCoreApplication::translate("KtSettings", "the settings cannot be stored"));
    }
    QSettings check(draft, QSettings::IniFormat);
    if (check.status() != QSettings::NoError)
        return fail(QCoreApplication::translate("KtSettings", "the settings cannot be stored"));
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QVariant got = check.value(it.key());
        const bool same = it.value().type() == QVariant::StringList
                              ? got.toStringList() == it.value().toStringList()
                              : got.toString() == it.value().toString();
        if (!check.contains(it.key()) || !same)
            return fail(QCoreApplication::translate("KtSettings", "the data did not reach the disk"));
    }
    QFile bytes(draft);
    if (!bytes.open(QIODevice::ReadOnly))
        return fail(bytes.errorString());
    QDir().mkpath(QFileInfo(path).absolutePath());
    return KtSafeWrite::writeFile(path, bytes.readAll(), error);
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

bool writeSetting(const QString &key, const QVariant &value, QString *error)
{
    return writeIni(settingIniPath(), key, value, error);
}

QString language()
{
    QSettings user{QString::fromLatin1(UserOrganisation), QString::fromLatin1(UserApplication)};
    return user.value(QLatin1String(Key::Language), QStringLiteral("eng")).toString();
}

bool setLanguage(const QString &value, QString *error)
{
    return writeUserValue(QLatin1String(Key::Language), value, error);
}

QString openGammaCsvDir()
{
    QSettings user{QString::fromLatin1(UserOrganisation), QString::fromLatin1(UserApplication)};
    return user.value(QLatin1String(Key::OpenGammaCsvDir)).toString();
}

bool setOpenGammaCsvDir(const QString &path, QString *error)
{
    return writeUserValue(QLatin1String(Key::OpenGammaCsvDir), path, error);
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
