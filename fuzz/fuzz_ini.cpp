// The settings readers on files of any content. The first byte picks the file (setting.ini,
// config.ini, RegulateConfig.ini or ColorGamut.ini), the rest is written as that file under a
// temporary data folder (KT_DATA_ROOT, set once: the folder is chosen once per process), and
// every reader of it runs. Readers that promise a number give a finite one; what setting.ini
// reads must write back through writeSetting and read the same again.

#include "gamutcalc.h"
#include "ktpaths.h"
#include "ktsettings.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>

namespace {

void check(bool property)
{
    if (!property)
        __builtin_trap();
}

const char *const kSettingKeys[] = {KtSettings::Key::FirmwareUpgradePath,
                                    KtSettings::Key::ImportPath,
                                    KtSettings::Key::ExportPath,
                                    KtSettings::Key::MesPath,
                                    KtSettings::Key::WaveFormPath,
                                    KtSettings::Key::MemoryCHPath,
                                    KtSettings::Key::ColorGamutPath,
                                    KtSettings::Key::WaveResponseTimePath,
                                    KtSettings::Key::SpectrumPath,
                                    KtSettings::Key::GrayLevelDataPath,
                                    KtSettings::Key::GrayScanningTime,
                                    KtSettings::Key::SyncFreqStep,
                                    KtSettings::Key::SyncFreqRange,
                                    KtSettings::Key::SyncFreqMesTimes,
                                    KtSettings::Key::FactoryCalibrationVisible,
                                    KtSettings::Key::WhiteX,
                                    KtSettings::Key::WhiteY,
                                    KtSettings::Key::WhiteZ,
                                    KtSettings::Key::WhitePointX,
                                    KtSettings::Key::WhitePointY,
                                    KtSettings::Key::ExtendTab};

// The data folder, made once before the first path is asked for.
bool prepareDataRoot()
{
    static const bool ready = [] {
        // In memory where there is a /dev/shm: every write of QSettings syncs the file to disk.
        static char dir[] = "/dev/shm/kt-fuzz-ini-XXXXXX";
        static char fallback[] = "/tmp/kt-fuzz-ini-XXXXXX";
        static const char *root = nullptr;
        root = mkdtemp(dir) ? dir : mkdtemp(fallback);
        if (!root || setenv("KT_DATA_ROOT", root, 1) != 0)
            return false;
        std::atexit([] { QDir(QString::fromLocal8Bit(root)).removeRecursively(); });
        return QDir().mkpath(KtPlatform::appDir() + QStringLiteral("/sysconfig"));
    }();
    return ready;
}

// Writes the file and gives it a modification time of its own: QSettings keeps parsed files
// and reads one again only when its size or time changed, and two runs can write files of the
// same size within one millisecond.
void writeFile(const QString &path, const QByteArray &content)
{
    static long long stamp = 1000000000;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        __builtin_trap();
    file.write(content);
    file.close();
    const struct timespec times[2] = {{++stamp, 0}, {stamp, 0}};
    utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

struct SettingValues
{
    QString text[std::size(kSettingKeys)];
    QStringList list[std::size(kSettingKeys)];
};

SettingValues readSettings()
{
    SettingValues v;
    for (size_t i = 0; i < std::size(kSettingKeys); ++i) {
        const QString key = QLatin1String(kSettingKeys[i]);
        v.text[i] = KtSettings::readSetting(key);
        v.list[i] = KtSettings::readSettingList(key);
        for (const QString &item : qAsConst(v.list[i]))
            check(!item.isEmpty() && item == item.trimmed());
        check(std::isfinite(KtSettings::readSettingDouble(key)));
        (void)KtSettings::readSettingInt(key);
    }
    return v;
}

// The list's entries split at every ",": a quoted entry with a "," inside ("\"a,b\",c") is one
// entry of the list as read, but comes back from its text as two.
QStringList items(const QStringList &list)
{
    QStringList out;
    for (const QString &item : list.join(QLatin1Char(',')).split(QLatin1Char(','))) {
        if (!item.trimmed().isEmpty())
            out << item.trimmed();
    }
    return out;
}

void settingIni(const QByteArray &content)
{
    const QString path = KtSettings::settingIniPath();
    writeFile(path, content);
    const SettingValues first = readSettings();
    // Written back key by key into a new file, the values read the same. An empty value is
    // left out: a missing key reads empty too (and every write rewrites the whole file).
    QFile::remove(path);
    for (size_t i = 0; i < std::size(kSettingKeys); ++i) {
        if (!first.text[i].isEmpty())
            KtSettings::writeSetting(QLatin1String(kSettingKeys[i]), first.text[i]);
    }
    const SettingValues again = readSettings();
    for (size_t i = 0; i < std::size(kSettingKeys); ++i)
        check(again.text[i] == first.text[i] && items(again.list[i]) == items(first.list[i]));
}

void colorGamutIni(const QByteArray &content)
{
    check(GamutCalc::iniPath() == KtSettings::colorGamutIniPath());
    writeFile(GamutCalc::iniPath(), content);
    const GamutCalc::References refs = GamutCalc::readReferences(GamutCalc::iniPath());
    for (const GamutCalc::Reference *r : {&refs.ntsc, &refs.srgb, &refs.dcip3, &refs.bt2020}) {
        const float area = GamutCalc::triangleArea(float(r->rx), float(r->ry), float(r->gx), float(r->gy),
                                                   float(r->bx), float(r->by));
        // The result field never shows "inf%" or "nan%".
        const QString ratio = GamutCalc::ratioText(area, r->gamut);
        check(!ratio.contains(QLatin1String("inf")) && !ratio.contains(QLatin1String("nan")));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0 || !prepareDataRoot())
        return 0;
    const QByteArray content(reinterpret_cast<const char *>(data) + 1, int(size - 1));
    switch (data[0] % 4) {
    case 0:
        settingIni(content);
        break;
    case 1: {
        writeFile(KtSettings::configIniPath(), content);
        const KtSettings::SysConfig c = KtSettings::readSysConfig();
        check(c.uplayerDebug || c.hasUplayerDebug);
        check(c.dvxCom == c.dvxComText.trimmed().toInt());
        break;
    }
    case 2:
        writeFile(KtSettings::regulateConfigIniPath(), content);
        (void)KtSettings::readRegulateConfig();
        break;
    case 3:
        colorGamutIni(content);
        break;
    }
    return 0;
}
