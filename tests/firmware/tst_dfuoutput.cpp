#include <QtTest>

#include "dfuoutput.h"

// The DFU tool's output as the upgrade dialog reads it. The dfu-util lines are as dfu-util 0.11
// prints them (a bar redrawn after "\r", "<phase> done." when full).
class TestDfuOutput : public QObject
{
    Q_OBJECT
private slots:
    void progressAndNoDevice_data();
    void progressAndNoDevice();
    void outcome_data();
    void outcome();
    void argumentsByTool();
};

using Tool = DfuOutput::Tool;
using Phase = DfuOutput::Phase;
Q_DECLARE_METATYPE(Tool)
Q_DECLARE_METATYPE(Phase)

namespace {
QString bar(const char *phase, int percent)
{
    const int filled = percent * 25 / 100;
    return QStringLiteral("\r%1\t[%2%3] %4%% %5 bytes")
        .arg(QLatin1String(phase), QString(filled, '='), QString(25 - filled, ' '))
        .arg(percent, 3)
        .arg(percent * 1228, 12);
}
const QString Opening = "dfu-util 0.11\n\nOpening DFU capable USB device...\nDevice ID 0483:df11\n"
                        "Downloading element to address = 0x08000000, size = 122880\n";
} // namespace

void TestDfuOutput::progressAndNoDevice_data()
{
    QTest::addColumn<Tool>("tool");
    QTest::addColumn<QString>("output");
    QTest::addColumn<Phase>("phase");
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("noDevice");
    QTest::newRow("dfu-util erase redrawn")
        << Tool::DfuUtil << Opening + "Erase   " + bar("Erase   ", 8) + bar("Erase   ", 40) << Phase::Erase
        << 40 << false;
    QTest::newRow("dfu-util erase done, download started")
        << Tool::DfuUtil
        << Opening + bar("Erase   ", 100) + "\nErase    done.\n" + bar("Download", 0) + bar("Download", 12)
        << Phase::Download << 12 << false;
    QTest::newRow("dfu-util download done")
        << Tool::DfuUtil
        << Opening + bar("Download", 100) + "\nDownload done.\nFile downloaded successfully\n"
        << Phase::Download << 100 << false;
    QTest::newRow("dfu-util no device")
        << Tool::DfuUtil << "dfu-util 0.11\n\ndfu-util: No DFU capable USB device available\n"
        << Phase::None << -1 << true;
    QTest::newRow("vendor download after erase")
        << Tool::Vendor << "Erase Phase (100)...\nDownload Phase (3)...\nDownload Phase (61)..."
        << Phase::Download << 61 << false;
    QTest::newRow("vendor no device") << Tool::Vendor << "0 Device(s) found. Plug your DFU Device !\n"
                                      << Phase::None << -1 << true;
}

void TestDfuOutput::progressAndNoDevice()
{
    QFETCH(Tool, tool);
    QFETCH(QString, output);
    const DfuOutput::Reading r = DfuOutput::read(tool, output);
    QTEST(r.phase, "phase");
    QTEST(r.percent, "percent");
    QTEST(r.noDevice, "noDevice");
}

void TestDfuOutput::outcome_data()
{
    QTest::addColumn<Tool>("tool");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("written");
    const QString done = Opening + bar("Download", 100) + "\nDownload done.\nFile downloaded successfully\n";
    QTest::newRow("dfu-util complete") << Tool::DfuUtil << done << 0 << true;
    QTest::newRow("dfu-util DfuSe file complete")
        << Tool::DfuUtil << Opening + "Done parsing DfuSe file\nSubmitting leave request...\n"
        << 0 << true;
    QTest::newRow("dfu-util error status") << Tool::DfuUtil << done << 74 << false;
    QTest::newRow("dfu-util no device") << Tool::DfuUtil << "dfu-util: No DFU capable USB device available\n"
                                        << 74 << false;
    QTest::newRow("dfu-util exit 0, nothing written") << Tool::DfuUtil << Opening << 0 << false;
    QTest::newRow("vendor success") << Tool::Vendor << "Download Phase (100)\nUpgrade successful !\n"
                                    << 0 << true;
    QTest::newRow("vendor without the phrase") << Tool::Vendor << "Download Phase (100)\n" << 0 << false;
}

void TestDfuOutput::outcome()
{
    QFETCH(Tool, tool);
    QFETCH(QString, output);
    QFETCH(int, exitCode);
    QTEST(DfuOutput::succeeded(tool, output, true, exitCode), "written");
}

void TestDfuOutput::argumentsByTool()
{
    const QString file = "/tmp/new firmware; rm -rf x.dfu";
    QCOMPARE(DfuOutput::toolFor("/opt/st/DfuSeCommand.exe"), Tool::Vendor);
    QCOMPARE(DfuOutput::arguments(Tool::Vendor, file), QStringList({"-c", "-d", "--fn", file}));
    QCOMPARE(DfuOutput::toolFor("/usr/bin/dfu-util"), Tool::DfuUtil);
    QCOMPARE(DfuOutput::arguments(Tool::DfuUtil, file), QStringList({"-a", "0", "-s", ":leave", "-D", file}));
    QCOMPARE(DfuOutput::displayText("a\nErase\t[ ]  0%\rErase\t[=] 100%\nok\r\n"),
             QString("a\nErase\t[=] 100%\nok\n"));
}

QTEST_GUILESS_MAIN(TestDfuOutput)
#include "tst_dfuoutput.moc"
