#include <QtTest>

#include <QSettings>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "flickerlogic.h"
#include "gamutcalc.h"
#include "ktcfgdata.h"
#include "ktpaths.h"
#include "ktsettings.h"

using namespace KtSettings;

namespace {
using SaveFn = bool (*)(const QString &path, QString *error);

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}
} // namespace
Q_DECLARE_METATYPE(SaveFn)

// The settings files, and every file the program saves, as real files on disk.
class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void missingSettingIniIsCreatedInOrder();
    void existingSettingIniIsLeftAlone();
    void writtenValuesAreSeenByTheNextRead();
    void extendTabReadsAsList_data();
    void extendTabReadsAsList();
    void configIniReaders();
    void cfgDataIsOneLockedInstance();
    void everySaveFailsWhole_data();
    void everySaveFailsWhole();
    void csvCellsNeverRunAsFormulas_data();
    void csvCellsNeverRunAsFormulas();

private:
    QTemporaryDir m_userDir;
};

void TestSettings::initTestCase()
{
    QVERIFY(m_userDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_userDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_userDir.path());
    QVERIFY(!qEnvironmentVariableIsEmpty("KT_DATA_ROOT") || !KtPlatform::appDir().isEmpty());
}

void TestSettings::init()
{
    QFile::remove(settingIniPath());
    QFile::remove(configIniPath());
    QFile::remove(regulateConfigIniPath());
}

void TestSettings::missingSettingIniIsCreatedInOrder()
{
    // Missing keys read empty or 0, and reading creates nothing.
    QVERIFY(readSetting(Key::MesPath).isEmpty() && readSettingDouble(Key::WhitePointX) == 0.0);
    QVERIFY(!QFile::exists(settingIniPath()));
    QVERIFY(ensureSettingIni());
    // "nan" and "inf" are no numbers of a setting either (read, then restored below).
    QVERIFY(writeSetting(Key::SyncFreqStep, "nan") && writeSetting(Key::SyncFreqRange, "-inf"));
    QVERIFY(readSettingDouble(Key::SyncFreqStep) == 0.0 && readSettingDouble(Key::SyncFreqRange) == 0.0);
    QVERIFY(QFile::remove(settingIniPath()) && ensureSettingIni());
    QFile file(settingIniPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString expected =
        "[FilePath]\nFirmwareUpgradePath=\nImportPath=\nExportPath=\nMesPath=\nWaveFormPath=\n"
        "MemoryCHPath=\nColorGamutPath=\nWaveResponseTimePath=\n\n"
        "[GrayScanning]\nGrayLevelDataPath=\nTime=50\n\n"
        "[SyncFreq]\nStep=0.1\nRange=1\nMesTimes=10\n\n"
        "[sysConfig]\nFactoryCalibrationVisible=\n\n"
        "[WhiteXYZ_100]\nX=95.017\nY=100.0\nZ=108.813\n\n"
        "[WhitePoint_DominantWave]\nWhite_x=0.3333\nWhite_y=0.3333\n\n"
        "[ExtendTab]\nextendTab=\n";
    QCOMPARE(QString::fromUtf8(file.readAll()), expected);
    QVERIFY(settingIniPath().endsWith("//sysconfig//setting.ini"));
    QCOMPARE(readSettingInt(Key::GrayScanningTime), 50);
    QCOMPARE(readSettingDouble(Key::SyncFreqStep), 0.1);
    QVERIFY(readSettingList(Key::ExtendTab).isEmpty());
}

void TestSettings::existingSettingIniIsLeftAlone()
{
    writeFile(settingIniPath(), "[GrayScanning]\nGrayLevelDataPath=/tmp/x.csv\n");
    QVERIFY(ensureSettingIni());
    QCOMPARE(readSetting(Key::GrayLevelDataPath), QString("/tmp/x.csv"));
    // No default is applied at read time: the missing interval is 0 ms.
    QCOMPARE(readSetting(Key::GrayScanningTime), QString());
    QCOMPARE(readSettingInt(Key::GrayScanningTime), 0);
}

void TestSettings::writtenValuesAreSeenByTheNextRead()
{
    QVERIFY(ensureSettingIni());
    QVERIFY(writeSetting(Key::SpectrumPath, "/data/spectrum.csv"));
    QCOMPARE(readSetting(Key::SpectrumPath), QString("/data/spectrum.csv"));
    QVERIFY(writeSetting(Key::MesPath, "/data/a,b.csv")); // a comma must survive the round trip
    QCOMPARE(readSetting(Key::MesPath), QString("/data/a,b.csv"));
    // The other defaults are still there after a write through QSettings.
    QCOMPARE(readSettingInt(Key::GrayScanningTime), 50);
    QCOMPARE(readSetting(Key::WhiteZ), QString("108.813"));

    QCOMPARE(language(), QString("eng"));
    QVERIFY(setLanguage("chn"));
    QCOMPARE(QSettings("NQLV", "ktTintora").value("lang/value").toString(), QString("chn"));
    QVERIFY(setOpenGammaCsvDir("/data/gamma"));
    QCOMPARE(openGammaCsvDir(), QString("/data/gamma"));
}

void TestSettings::extendTabReadsAsList_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("list");
    QTest::newRow("empty") << QByteArray("extendTab=") << QStringList{};
    QTest::newRow("one, case kept") << QByteArray("extendTab=spectrum") << QStringList{"spectrum"};
    QTest::newRow("two") << QByteArray("extendTab=WAVEFORM_JWA, WAVEFORM_DSP")
                         << QStringList{"WAVEFORM_JWA", "WAVEFORM_DSP"};
    QTest::newRow("four, no spaces") << QByteArray("extendTab=WAVEFORM_JWA,WAVERESPONSETIME_JWA,SPECTRUM,x")
                                     << QStringList{"WAVEFORM_JWA", "WAVERESPONSETIME_JWA", "SPECTRUM", "x"};
}

void TestSettings::extendTabReadsAsList()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, list);
    writeFile(settingIniPath(), "[ExtendTab]\n" + line + "\n");
    QCOMPARE(readSettingList(Key::ExtendTab), list);
}

void TestSettings::configIniReaders()
{
    const SysConfig missing = readSysConfig();
    // Absent keys read 0 or false; an absent UplayerDebug means on.
    QVERIFY(missing.dvxCom == 0 && !missing.single && !missing.hasUplayerDebug && missing.uplayerDebug);
    writeFile(configIniPath(),
              "[sysConfig]\nDVXCom=7\nBaudRate=115200\nStartbits=1\nDatabits=8\nStopbits=1\nTestMethods=2\n"
              "CA310Com=3\nCaBaudRate=38400\nCaDatabits=7\nStartIP=192.0.2.1\nLocalIp=192.0.2.2\n"
              "Single=true\nDouble=false\nUplayerDebug=0\n");
    const SysConfig c = readSysConfig();
    const QList<int> numbers{c.dvxCom,   c.baudRate,   c.databits,   c.stopbits,  c.testMethods,
                             c.ca310Com, c.caBaudRate, c.caDatabits, c.caStopbits};
    QCOMPARE(numbers, (QList<int>{7, 115200, 8, 1, 2, 3, 38400, 7, 0}));
    QCOMPARE(c.startIP + ' ' + c.localIp, QString("192.0.2.1 192.0.2.2"));
    QVERIFY(c.single && !c.dual && c.hasUplayerDebug && !c.uplayerDebug);

    writeFile(regulateConfigIniPath(),
              "[RegulateConfig]\nDVXCom=4\nOpearType=Automatic\nManualGear=3\nUserChannel=12\nUserGear=2\n"
              "eSingleProbeMode=false\neDoubleProbeMode=true\npcMode=1\npgMode=0\nstrChannel=CH12\n");
    const RegulateConfig r = readRegulateConfig();
    QCOMPARE((QList<int>{r.dvxCom, r.manualGear, r.userChannel, r.userGear, r.pcMode}),
             (QList<int>{4, 3, 12, 2, 1}));
    QCOMPARE(r.opearType + ' ' + r.strChannel, QString("Automatic CH12"));
    QVERIFY(!r.eSingleProbeMode && r.eDoubleProbeMode);
}

void TestSettings::cfgDataIsOneLockedInstance()
{
    std::vector<ktCfgData *> seen(4, nullptr);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = ktCfgData::instance(); });
    for (std::thread &t : threads)
        t.join();
    for (ktCfgData *p : seen)
        QCOMPARE(p, ktCfgData::instance());
}

void TestSettings::everySaveFailsWhole_data()
{
    QTest::addColumn<SaveFn>("save");
    QTest::addColumn<QByteArray>("before"); // the file in place before the save; empty: none
    QTest::newRow("CSV export") << SaveFn([](const QString &p, QString *e) {
        return FlickerLogic::saveTableCsv(p, {"x", "y"}, {{"1", {"0.3127", "0.3290"}}}, {}, e);
    }) << QByteArray(" ,x,\n1,0.1,\n");
    QTest::newRow("gamut export") << SaveFn([](const QString &p, QString *e) {
        return GamutCalc::saveExport(p, GamutCalc::ExportData{}, e);
    }) << QByteArray(" ,R\n");
    QTest::newRow("default ColorGamut.ini") << SaveFn(GamutCalc::installDefaultIni) << QByteArray();
    QTest::newRow("setting.ini defaults")
        << SaveFn([](const QString &, QString *e) { return ensureSettingIni(e); }) << QByteArray();
    QTest::newRow("settings write") << SaveFn([](const QString &p, QString *e) {
        return writeIniValues(p, {{"sysConfig/DVXCom", "KRN4-SIM"}, {"sysConfig/BaudRate", 921600}}, e);
    }) << QByteArray("[sysConfig]\nDVXCom=3\nBaudRate=115200\nDatabits=8\n");
}

// A full disk, played by a file-size limit in a child process: every save reports failure
// and leaves what was there byte-for-byte (or nothing), with no temporary file behind.
void TestSettings::everySaveFailsWhole()
{
    QFETCH(SaveFn, save);
    QFETCH(QByteArray, before);
    QTemporaryDir dir;
    const bool settingIni = QTest::currentDataTag() == QLatin1String("setting.ini defaults");
    const QString path = settingIni ? settingIniPath() : dir.filePath("saved");
    if (!before.isEmpty())
        writeFile(path, before);
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t size = rlim_t(std::max(8, int(before.size()))); // room for a copy of it
        const rlimit limit{size, size};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        QString error;
        const bool saved = save(path, &error);
        ::_exit(saved ? 1 : error.isEmpty() ? 2 : 0);
    }
    int status = -1;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QCOMPARE(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0); // failed, and said why
    const QFileInfo info(path);
    QCOMPARE(info.dir().entryList({info.fileName() + '*'}, QDir::Files).size(), before.isEmpty() ? 0 : 1);
    QFile file(path);
    QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), before);
}

void TestSettings::csvCellsNeverRunAsFormulas_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("written");
    QTest::newRow("formula") << "=HYPERLINK(\"x\")"
                             << "'=HYPERLINK(\"x\")";
    QTest::newRow("plus") << "+cmd|'/Ccalc'!A0"
                          << "'+cmd|'/Ccalc'!A0";
    QTest::newRow("minus") << "-2+3"
                           << "'-2+3";
    QTest::newRow("at") << "@SUM(A1)"
                        << "'@SUM(A1)";
    QTest::newRow("negative number") << "-0.5"
                                     << "-0.5";
    QTest::newRow("signed exponent") << "+1e-3"
                                     << "+1e-3";
    QTest::newRow("no value") << "--"
                              << "--";
}

// Through both CSV writers: the Measure table (where a blank splits a cell) and the gamut export.
void TestSettings::csvCellsNeverRunAsFormulas()
{
    QFETCH(QString, cell);
    QFETCH(QString, written);
    QString table, gamut;
    QTextStream t(&table);
    FlickerLogic::writeTableCsv(t, {"A"}, {{"1", {cell + ' ' + cell}}});
    t.flush();
    QCOMPARE(table, " ,A,\n1," + written + ',' + written + ",\n");
    GamutCalc::ExportData data;
    data.x[1] = data.ntsc = cell;
    QTextStream g(&gamut);
    GamutCalc::writeExport(g, data);
    g.flush();
    QVERIFY(gamut.contains("\nx,," + written + ",\n") && gamut.contains("\nNTSC:," + written + '\n'));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
