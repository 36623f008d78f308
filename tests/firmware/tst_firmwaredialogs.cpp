#include <QtTest>

#include "firmwareupgradecommon.h"
#include "ktfirmwareupgrade.h"
#include "ktfirmwareupgradearm.h"
#include "pagetest.h"
#include "simprocess.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

// The two upgrade dialogs as the operator drives them: the DFU dialog with a stand-in for the
// DFU tool (KT_DFU_TOOL, a script printing dfu-util's lines), the serial dialog against
// krn4-sim through the program's probe port.
class TestFirmwareDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void dfuWithStandInTool_data();
    void dfuWithStandInTool();
    void dfuEntryCommandFromBuild1586();
    void serialAgainstSimulator_data();
    void serialAgainstSimulator();

private:
    // Installs a stand-in DFU tool (KT_DFU_TOOL) that records its arguments in <tool>.args.
    QString useTool(const QByteArray &script);
    QTemporaryDir m_dir;
};

void TestFirmwareDialogs::initTestCase()
{
    QVERIFY(m_dir.isValid());
    PageTest::isolateUserSettings(m_dir.filePath("user"));
}

QString TestFirmwareDialogs::useTool(const QByteArray &script)
{
    const QString tool = m_dir.filePath("dfu-util");
    QFile f(tool);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n" + script);
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    qputenv("KT_DFU_TOOL", tool.toLocal8Bit());
    return tool;
}

void TestFirmwareDialogs::dfuWithStandInTool_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("barSeen"); // "format value" the bar showed on the way
    const QByteArray bar = "printf '\\r%s\\t[%s] %3d%% %12d bytes' ";
    QTest::newRow("download completes")
        << "printf 'dfu-util 0.11\\n\\nOpening DFU capable USB device...\\n'\n" + bar +
               "'Erase   ' '==========               ' 40 49152; sleep 0.5\n" + bar +
               "'Erase   ' '=========================' 100 122880; printf '\\nErase    done.\\n'\n" + bar +
               "Download '=====                    ' 20 24576; sleep 0.5\n" + bar +
               "Download '=========================' 100 122880\n"
               "printf '\\nDownload done.\\nFile downloaded successfully\\n'\n"
        << "Upgrade successful !" << QStringList{"Erase Phase %p% 40", "Download Phase %p% 20"};
    // dfu-util without a device; the stand-in then hangs, as a tool waiting for one would.
    QTest::newRow("no device")
        << QByteArray("printf 'dfu-util: No DFU capable USB device available\\n'\nexec sleep 30\n")
        << "Upgrade failed !" << QStringList();
    QTest::newRow("real dfu-util, no device attached")
        << QByteArray("exec dfu-util \"$@\"\n") << "Upgrade failed !" << QStringList();
}

void TestFirmwareDialogs::dfuWithStandInTool()
{
    QFETCH(QByteArray, script);
    QFETCH(QStringList, barSeen);
    const QString tool = useTool(script);
    const QString firmware = m_dir.filePath("new firmware.dfu"); // a space: no shell between
    QFile(firmware).open(QIODevice::WriteOnly);
    PageTest::probePort()->close();

    ktFirmwareUpgradeArm dialog(nullptr, "/dev/ttyKRN4-absent");
    auto *upgrade = dialog.findChild<QPushButton *>("pbUpgrade");
    auto *progress = dialog.findChild<QProgressBar *>("progressBar");
    QVERIFY(!upgrade->isEnabled());
    dialog.findChild<QLineEdit *>("le_BinFileName")->setText(firmware);
    QVERIFY(upgrade->isEnabled());
    QStringList seen;
    QTimer sampler;
    connect(&sampler, &QTimer::timeout,
            [&] { seen << progress->format() + ' ' + QString::number(progress->value()); });
    sampler.start(20);
    PageTest::ModalCloser closer;
    closer.arm(1000);
    QElapsedTimer elapsed;
    elapsed.start();
    upgrade->click();
    QVERIFY(closer.seen);
    QTEST(closer.text, "message");
    QVERIFY(elapsed.elapsed() < 8000); // "no device" ends the tool at once
    for (const QString &state : barSeen)
        QVERIFY2(seen.contains(state), qPrintable(state + " not in " + seen.join('|')));
    QFile args(tool + ".args");
    QVERIFY(args.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromLocal8Bit(args.readAll()), "-a\n0\n-s\n:leave\n-D\n" + firmware + '\n');
}

// A 5.00 probe from build 1586 on is sent into DFU mode by command; its port goes away and
// comes back, and the dialog reads the version again.
void TestFirmwareDialogs::dfuEntryCommandFromBuild1586()
{
    if (SimProcess::binary().isEmpty())
        QSKIP("KT_SIM_BIN is not set");
    SimProcess sim({"--firmware", "5.00.1586", "--dfu-time", "500"});
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    QVERIFY(PageTest::openProbePort(sim.linkPath()));
    const QString tool = useTool("echo 'File downloaded successfully'\n");
    ktPublicConfig hub;
    ktFirmwareUpgradeArm dialog(&hub, sim.linkPath());
    auto *shownVersion = dialog.findChild<QLineEdit *>("le_McuVersion");
    QCOMPARE(shownVersion->text(), QString("5.00.1586"));
    dialog.findChild<QLineEdit *>("le_BinFileName")->setText(tool); // any existing file
    PageTest::ModalCloser closer;
    closer.arm(1000);
    dialog.findChild<QPushButton *>("pbUpgrade")->click();
    QCOMPARE(closer.text, QString("Upgrade successful !"));
    QVERIFY(sim.control("received 5").contains("UDP,0x3C71"));
    QVERIFY(PageTest::probePort()->isOpen());
    QCOMPARE(shownVersion->text(), QString("5.00.1586"));
    PageTest::probePort()->close();
}

void TestFirmwareDialogs::serialAgainstSimulator_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("profile"); // control line before the upgrade
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("version"); // read back afterwards
    QTest::newRow("upgrade") << 4096 << ""
                             << "Upgrade success!"
                             << "4.20.1700";
    QTest::newRow("too large") << 255 * 4096 << ""
                               << "The firmware file is too large: 1044480 bytes. The boot "
                                  "loader takes at most 1044479 bytes."
                               << "4.10.1586";
    QTest::newRow("USB only") << 4096 << "profile status30 1"
                              << "Upgrade File only by USB, Please check the COM!"
                              << "4.10.1586";
}

void TestFirmwareDialogs::serialAgainstSimulator()
{
    QFETCH(int, size);
    QFETCH(QString, profile);
    QFETCH(QString, version);
    if (SimProcess::binary().isEmpty())
        QSKIP("KT_SIM_BIN is not set");
    SimProcess sim({"--firmware", "4.10"});
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    if (!profile.isEmpty())
        QVERIFY(sim.control(profile).startsWith("OK"));
    QVERIFY(PageTest::openProbePort(sim.linkPath()));
    QByteArray firmware(size, char(0x5A));
    firmware.replace(0, 17, QByteArray("KRN4FW:4.20.1700", 17));
    const QString file = m_dir.filePath("fw.bin");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(firmware) == size);
    f.close();

    ktPublicConfig hub;
    ktFirmwareUpgrade dialog(&hub, sim.linkPath());
    auto *shownVersion = dialog.findChild<QLineEdit *>("le_McuVersion");
    QCOMPARE(shownVersion->text(), QString("4.10.1586"));
    dialog.findChild<QLineEdit *>("le_BinFileName")->setText(file);
    const QString before = sim.control("received");
    PageTest::ModalCloser closer;
    closer.arm(3000);
    dialog.findChild<QPushButton *>("pbUpgrade")->click();
    QVERIFY(closer.seen);
    QTEST(closer.text, "message");
    QVERIFY(!hub.busyFlag());
    if (size >= 255 * 4096) // refused before anything went to the probe
        QCOMPARE(sim.control("received"), before);
    QVERIFY(PageTest::probePort()->isOpen());
    QCOMPARE(FirmwareUpgradeCommon::readVersion(&dialog), version);
    PageTest::probePort()->close();
}

QTEST_MAIN(TestFirmwareDialogs)
#include "tst_firmwaredialogs.moc"
