#include <QtTest>

#include <QSettings>
#include <QTemporaryDir>

#include "ktcfgdata.h"
#include "ktpaths.h"
#include "ktsettings.h"

using namespace KtSettings;

// The settings files as real files on disk, written and read back.
class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void missingSettingIniIsCreatedInOrder();
    void existingSettingIniIsLeftAlone();
    void newFileReadsItsDefaults();
    void missingKeysReadEmptyOrZero();
    void writtenValueIsSeenByTheNextRead();
    void extendTabReadsAsList_data();
    void extendTabReadsAsList();
    void configIniReader();
    void configIniMissing();
    void regulateConfigReader();
    void perUserSettings();
    void cfgDataIsOneLockedInstance();

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
    QVERIFY(!QFile::exists(settingIniPath()));
    QVERIFY(ensureSettingIni());
    QFile file(settingIniPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString expected = "[FilePath]\n"
                             "FirmwareUpgradePath=\n"
                             "ImportPath=\n"
                             "ExportPath=\n"
                             "MesPath=\n"
                             "WaveFormPath=\n"
                             "MemoryCHPath=\n"
                             "ColorGamutPath=\n"
                             "WaveResponseTimePath=\n"
                             "\n"
                             "[GrayScanning]\n"
                             "GrayLevelDataPath=\n"
                             "Time=50\n"
                             "\n"
                             "[SyncFreq]\n"
                             "Step=0.1\n"
                             "Range=1\n"
                             "MesTimes=10\n"
                             "\n"
                             "[sysConfig]\n"
                             "FactoryCalibrationVisible=\n"
                             "\n"
                             "[WhiteXYZ_100]\n"
                             "X=95.017\n"
                             "Y=100.0\n"
                             "Z=108.813\n"
                             "\n"
                             "[WhitePoint_DominantWave]\n"
                             "White_x=0.3333\n"
                             "White_y=0.3333\n"
                             "\n"
                             "[ExtendTab]\n"
                             "extendTab=\n";
    QCOMPARE(QString::fromUtf8(file.readAll()), expected);
    QVERIFY(settingIniPath().endsWith("//sysconfig//setting.ini"));
}

void TestSettings::existingSettingIniIsLeftAlone()
{
    QDir().mkpath(QFileInfo(settingIniPath()).absolutePath());
    QFile file(settingIniPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[GrayScanning]\nGrayLevelDataPath=/tmp/x.csv\n");
    file.close();
    QVERIFY(ensureSettingIni());
    QCOMPARE(readSetting(Key::GrayLevelDataPath), QString("/tmp/x.csv"));
    // No default is applied at read time: the missing interval is 0 ms.
    QCOMPARE(readSetting(Key::GrayScanningTime), QString());
    QCOMPARE(readSettingInt(Key::GrayScanningTime), 0);
}

void TestSettings::newFileReadsItsDefaults()
{
    QVERIFY(ensureSettingIni());
    QCOMPARE(readSettingInt(Key::GrayScanningTime), 50);
    QCOMPARE(readSettingDouble(Key::SyncFreqStep), 0.1);
    QCOMPARE(readSetting(Key::SyncFreqRange), QString("1"));
    QCOMPARE(readSettingInt(Key::SyncFreqMesTimes), 10);
    QCOMPARE(readSettingDouble(Key::WhitePointX), 0.3333);
    QCOMPARE(readSettingDouble(Key::WhitePointY), 0.3333);
    QCOMPARE(readSetting(Key::WhiteY), QString("100.0"));
    QCOMPARE(readSetting(Key::FactoryCalibrationVisible), QString());
    QVERIFY(readSettingList(Key::ExtendTab).isEmpty());
    // Used but not created.
    QSettings ini(settingIniPath(), QSettings::IniFormat);
    QVERIFY(!ini.contains(Key::SpectrumPath));
    QVERIFY(ini.contains(Key::MesPath));
}

void TestSettings::missingKeysReadEmptyOrZero()
{
    QCOMPARE(readSetting(Key::MesPath), QString());
    QCOMPARE(readSettingDouble(Key::WhitePointX), 0.0);
    QCOMPARE(readSettingInt("No/Such"), 0);
    QVERIFY(!QFile::exists(settingIniPath())); // reading creates nothing
    // "nan" and "inf" are no numbers of a setting either.
    writeSetting(Key::SyncFreqStep, "nan");
    writeSetting(Key::SyncFreqRange, "-inf");
    QCOMPARE(readSettingDouble(Key::SyncFreqStep), 0.0);
    QCOMPARE(readSettingDouble(Key::SyncFreqRange), 0.0);
}

void TestSettings::writtenValueIsSeenByTheNextRead()
{
    QVERIFY(ensureSettingIni());
    writeSetting(Key::SpectrumPath, "/data/spectrum.csv");
    QCOMPARE(readSetting(Key::SpectrumPath), QString("/data/spectrum.csv"));
    writeSetting(Key::MesPath, "/data/a,b.csv"); // a comma must survive the round trip
    QCOMPARE(readSetting(Key::MesPath), QString("/data/a,b.csv"));
    // The other defaults are still there after a write through QSettings.
    QCOMPARE(readSettingInt(Key::GrayScanningTime), 50);
    QCOMPARE(readSetting(Key::WhiteZ), QString("108.813"));
}

void TestSettings::extendTabReadsAsList_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("list");
    QTest::newRow("empty") << QByteArray("extendTab=") << QStringList{};
    QTest::newRow("one") << QByteArray("extendTab=SPECTRUM") << QStringList{"SPECTRUM"};
    QTest::newRow("two") << QByteArray("extendTab=WAVEFORM_JWA, WAVEFORM_DSP")
                         << QStringList{"WAVEFORM_JWA", "WAVEFORM_DSP"};
    QTest::newRow("four, no spaces") << QByteArray("extendTab=WAVEFORM_JWA,WAVERESPONSETIME_JWA,SPECTRUM,x")
                                     << QStringList{"WAVEFORM_JWA", "WAVERESPONSETIME_JWA", "SPECTRUM", "x"};
    QTest::newRow("lower case kept") << QByteArray("extendTab=spectrum") << QStringList{"spectrum"};
}

void TestSettings::extendTabReadsAsList()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, list);
    QDir().mkpath(QFileInfo(settingIniPath()).absolutePath());
    QFile file(settingIniPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[ExtendTab]\n" + line + "\n");
    file.close();
    QCOMPARE(readSettingList(Key::ExtendTab), list);
}

void TestSettings::configIniReader()
{
    QDir().mkpath(QFileInfo(configIniPath()).absolutePath());
    QFile file(configIniPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[sysConfig]\nDVXCom=7\nBaudRate=115200\nStartbits=1\nDatabits=8\nStopbits=1\nTestMethods=2\n"
               "CA310Com=3\nCaBaudRate=38400\nCaDatabits=7\nStartIP=192.0.2.1\nLocalIp=192.0.2.2\n"
               "Single=true\nDouble=false\nUplayerDebug=0\n");
    file.close();
    const SysConfig c = readSysConfig();
    QCOMPARE(c.dvxCom, 7);
    QCOMPARE(c.baudRate, 115200);
    QCOMPARE(c.databits, 8);
    QCOMPARE(c.stopbits, 1);
    QCOMPARE(c.testMethods, 2);
    QCOMPARE(c.ca310Com, 3);
    QCOMPARE(c.caBaudRate, 38400);
    QCOMPARE(c.caDatabits, 7);
    QCOMPARE(c.caStopbits, 0);
    QCOMPARE(c.startIP, QString("192.0.2.1"));
    QCOMPARE(c.localIp, QString("192.0.2.2"));
    QVERIFY(c.single);
    QVERIFY(!c.dual);
    QVERIFY(c.hasUplayerDebug);
    QVERIFY(!c.uplayerDebug);
}

void TestSettings::configIniMissing()
{
    const SysConfig c = readSysConfig();
    QCOMPARE(c.dvxCom, 0);
    QCOMPARE(c.baudRate, 0);
    QVERIFY(!c.single);
    QVERIFY(!c.hasUplayerDebug);
    QVERIFY(c.uplayerDebug); // absent means on
}

void TestSettings::regulateConfigReader()
{
    QDir().mkpath(QFileInfo(regulateConfigIniPath()).absolutePath());
    QFile file(regulateConfigIniPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[RegulateConfig]\nDVXCom=4\nOpearType=Automatic\nManualGear=3\nUserChannel=12\nUserGear=2\n"
               "eSingleProbeMode=false\neDoubleProbeMode=true\npcMode=1\npgMode=0\nstrChannel=CH12\n");
    file.close();
    const RegulateConfig c = readRegulateConfig();
    QCOMPARE(c.dvxCom, 4);
    QCOMPARE(c.opearType, QString("Automatic"));
    QCOMPARE(c.manualGear, 3);
    QCOMPARE(c.userChannel, 12);
    QCOMPARE(c.userGear, 2);
    QVERIFY(!c.eSingleProbeMode);
    QVERIFY(c.eDoubleProbeMode);
    QCOMPARE(c.pcMode, 1);
    QCOMPARE(c.strChannel, QString("CH12"));
}

void TestSettings::perUserSettings()
{
    QCOMPARE(language(), QString("eng"));
    setLanguage("chn");
    QCOMPARE(language(), QString("chn"));
    QSettings user("NQLV", "ktTintora");
    QCOMPARE(user.value("lang/value").toString(), QString("chn"));
    QCOMPARE(openGammaCsvDir(), QString());
    setOpenGammaCsvDir("/data/gamma");
    QCOMPARE(openGammaCsvDir(), QString("/data/gamma"));
}

void TestSettings::cfgDataIsOneLockedInstance()
{
    QList<ktCfgData *> seen;
    QMutex lock;
    QList<QThread *> threads;
    for (int i = 0; i < 4; ++i) {
        threads << QThread::create([&] {
            ktCfgData *p = ktCfgData::instance();
            QMutexLocker guard(&lock);
            seen << p;
        });
        threads.last()->start();
    }
    for (QThread *t : threads) {
        QVERIFY(t->wait(5000));
        delete t;
    }
    for (ktCfgData *p : seen)
        QCOMPARE(p, ktCfgData::instance());
    ktCfgData::instance()->setProbeMode(1);
    QCOMPARE(ktCfgData::instance()->probeMode(), 1);
    ktCfgData::instance()->setProbeMode(0);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
