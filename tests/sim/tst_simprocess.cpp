// The krn4-sim program through its real pseudo-terminal, with the application's QSerialPort
// on the other side: core exchanges, the control channel, faults, unplug/replug, the state
// file across restarts, the serial boot loader and the DFU entry.

#include "readers.h"
#include "simprocess.h"

#include <QtTest>

#include <QFileInfo>
#include <QSerialPort>
#include <QTemporaryDir>

class TestSimProcess : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void exchangesAndControlThroughPty();
    void faultsShowThemselves_data();
    void faultsShowThemselves();
    void unplugReplugAndDfuKeepLinkName();
    void channelsAndFirmwareSurviveRestart();
    void defaultLinkHelpAndStateWarnings();

private:
    static bool openPort(QSerialPort &port, const QString &path, qint32 baud = 115200);
    // Bytes until `count` arrived (count 0: up to and including the first "\r") or time-out.
    static QByteArray read(QSerialPort &port, int count = 0, int timeoutMs = 3000);
    // One command; the reply without its "\r".
    static QByteArray exchange(QSerialPort &port, const QByteArray &command, int timeoutMs = 3000);
};

void TestSimProcess::initTestCase()
{
    if (SimProcess::binary().isEmpty())
        QSKIP("KT_SIM_BIN is not set; run through ctest");
}

bool TestSimProcess::openPort(QSerialPort &port, const QString &path, qint32 baud)
{
    port.setPortName(path);
    port.setBaudRate(baud);
    return port.open(QIODevice::ReadWrite);
}

QByteArray TestSimProcess::read(QSerialPort &port, int count, int timeoutMs)
{
    QByteArray buf;
    QElapsedTimer clock;
    clock.start();
    while ((count ? buf.size() < count : !buf.contains('\r')) && clock.elapsed() < timeoutMs) {
        if (port.bytesAvailable() || port.waitForReadyRead(20))
            buf += count ? port.read(count - buf.size()) : port.readAll();
    }
    return buf;
}

QByteArray TestSimProcess::exchange(QSerialPort &port, const QByteArray &command, int timeoutMs)
{
    port.readAll();
    port.write(command + '\r');
    port.waitForBytesWritten(1000);
    const QByteArray r = read(port, 0, timeoutMs);
    return r.left(r.indexOf('\r'));
}

void TestSimProcess::exchangesAndControlThroughPty()
{
    SimProcess sim({"--show", "0,0,255"});
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    QSerialPort port;
    QVERIFY(openPort(port, sim.linkPath()));
    QCOMPARE(exchange(port, "MES"), QByteArray("OK00,P1,1500;0600;14.438")); // 200·0.072192
    QVERIFY(sim.control("show 255,0,0").startsWith("OK"));
    QCOMPARE(exchange(port, "MES").left(17), QByteArray("OK00,P1,6400;3300"));
    QVERIFY(sim.control("display peak 100").startsWith("OK"));
    QVERIFY(sim.control("show 255,255,255").startsWith("OK"));
    const auto v = Readers::base(exchange(port, "MES"));
    QVERIFY(v && qAbs(v->x - 0.3127) < 5e-4 && qAbs(v->lv - 100) < 0.5);
    QVERIFY(sim.control("show 300,0,0").startsWith("ER"));
    QVERIFY(sim.control("bogus").startsWith("ER"));
    QVERIFY(sim.control("screen 10,10").startsWith("ER"));                    // needs --x11 or --screen
    const auto table = Readers::channelTable(exchange(port, "CMR,13", 5000)); // 100 lines
    QVERIFY(table && table->size() == 100);
    const auto samples = Readers::jaa(exchange(port, "JAA,8192,1", 5000)); // 80 kB
    QVERIFY(samples && samples->size() == 8192);
    const auto spectrum = Readers::rsd(exchange(port, "RSD"));
    QVERIFY(spectrum && spectrum->size() == 401);
    exchange(port, "MDS,7");
    const QString state = sim.control("state");
    QVERIFY2(state.contains("mode=7") && state.contains("color=255,255,255"), qPrintable(state));
    const QString received = sim.control("received 2");
    QVERIFY2(received.contains("count=7") && received.endsWith("last=RSD|MDS,7"), qPrintable(received));
    // The application closes and reopens the port; the simulator keeps serving.
    for (int i = 0; i < 3; ++i) {
        port.close();
        QVERIFY(openPort(port, sim.linkPath()));
        QCOMPARE(exchange(port, "VER,1"), QByteArray("OK00,5.00.1586"));
    }
}

void TestSimProcess::faultsShowThemselves_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QByteArray>("expected"); // what arrives for "MES" ("" for garbage: checked below)
    QTest::addColumn<int>("minMs");           // not before this time
    const QByteArray mes = "OK00,P1,3127;3290;200.00\r";
    QTest::newRow("noreply") << "fault noreply 1" << QByteArray() << 400;
    QTest::newRow("garbage") << "fault garbage 1" << QByteArray() << 0;
    // 25 bytes in 4-byte pieces 15 ms apart: the last leaves 90 ms after the first.
    QTest::newRow("split") << "fault split 1" << mes << 85;
    QTest::newRow("double") << "fault double 1" << mes + mes << 0;
    QTest::newRow("error") << "fault error 22 1" << QByteArray("ER22,P1,203;\r") << 0;
    QTest::newRow("okstatus") << "fault okstatus 5 1" << QByteArray("OK05,P1,3127;3290;200.00\r") << 0;
    QTest::newRow("latency") << "latency 400" << mes << 390;
}

void TestSimProcess::faultsShowThemselves()
{
    QFETCH(QString, fault);
    QFETCH(QByteArray, expected);
    QFETCH(int, minMs);
    SimProcess sim;
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    QSerialPort port;
    QVERIFY(openPort(port, sim.linkPath()));
    QVERIFY(sim.control(fault).startsWith("OK"));
    QElapsedTimer clock;
    clock.start();
    port.write("MES\r");
    QVERIFY(port.waitForBytesWritten(1000));
    const QByteArray r = read(port, expected.size(), expected.isEmpty() ? 400 : 3000);
    if (QTest::currentDataTag() == QString("garbage"))
        QVERIFY(r.endsWith('\r') && !r.contains("OK") && !r.contains("ER"));
    else
        QCOMPARE(r, expected);
    QVERIFY2(clock.elapsed() >= minMs, qPrintable(QString::number(clock.elapsed())));
    // Counted faults end by themselves: the next exchange is normal again.
    if (!fault.startsWith("latency"))
        QCOMPARE(exchange(port, "TYP"), QByteArray("OK00,KRN4-P60"));
}

void TestSimProcess::unplugReplugAndDfuKeepLinkName()
{
    SimProcess sim({"--dfu-time", "300"});
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    QSerialPort port;
    QVERIFY(openPort(port, sim.linkPath()));
    QVERIFY(exchange(port, "TYP").contains("OK00"));
    QSignalSpy errors(&port, &QSerialPort::errorOccurred);
    QVERIFY(sim.control("unplug").startsWith("OK"));
    QVERIFY(!QFileInfo(sim.linkPath()).exists() && !QFileInfo(sim.linkPath()).isSymLink());
    // The application's port sees the device vanish.
    port.write("TYP\r");
    QTRY_VERIFY_WITH_TIMEOUT(!errors.isEmpty() || !port.isOpen(), 3000);
    port.close();
    QVERIFY(sim.control("replug").startsWith("OK"));
    QVERIFY(QFileInfo::exists(sim.linkPath()));
    QVERIFY(openPort(port, sim.linkPath()));
    QCOMPARE(exchange(port, "TYP"), QByteArray("OK00,KRN4-P60"));
    // The DFU entry: the port goes away, and comes back under the same name.
    QCOMPARE(exchange(port, "UDP,0x3C71"), QByteArray("OK00"));
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo(sim.linkPath()).isSymLink(), 2000);
    port.close();
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(sim.linkPath()), 3000);
    QVERIFY(openPort(port, sim.linkPath()));
    QCOMPARE(exchange(port, "VER,1"), QByteArray("OK00,5.00.1586"));
}

void TestSimProcess::channelsAndFirmwareSurviveRestart()
{
    QTemporaryDir dir;
    const QString state = dir.filePath("probe.json");
    {
        SimProcess sim({"--state", state, "--firmware", "4.10"});
        QVERIFY2(sim.start(), qPrintable(sim.errorText()));
        QSerialPort port;
        QVERIFY(openPort(port, sim.linkPath()));
        for (const char *w : {"MCH,07", "CMW,0,1.02", "CMW,4,0.98", "CMW,11,PanelA",
                              "CMW,12,2026-12-06 10:11:12", "CMW,14,0.3127", "CMW,15,0.329", "CMW,16,201.5",
                              "MSC,20", "RGU 2;2;2;2;2;2;2;0.5;", "COM,1", "UPD,1"})
            QVERIFY2(exchange(port, w) == "OK00", w);
        auto send = [&port](const QByteArray &bytes) {
            port.write(bytes);
            return read(port, 1, 2000);
        };
        // The boot loader: the application reopens the port at 38400 baud for the loader, which
        // is echoed byte by byte, then at 115200 baud for the firmware, so the speed switch ends
        // the loader image. One block of firmware carries its version text.
        port.close();
        QVERIFY(openPort(port, sim.linkPath(), 38400));
        QCOMPARE(send("A"), QByteArray("A"));
        for (int i = 0; i < 64; ++i)
            QCOMPARE(send(QByteArray(1, char(i * 7 + 1))), QByteArray(1, char(i * 7 + 1)));
        port.close();
        QVERIFY(openPort(port, sim.linkPath(), 115200));
        QByteArray firmware(4096, char(0xFF));
        firmware.replace(100, 17, QByteArray("KRN4FW:4.20.1700", 17)); // with its NUL
        unsigned sum = 0;
        for (char c : firmware)
            sum += static_cast<unsigned char>(c);
        QCOMPARE(send(QByteArray(1, 1)), QByteArray(1, 1));
        QCOMPARE(send(QByteArray(1, 0x55)), QByteArray(1, char(0xAA)));
        QCOMPARE(send(firmware + char(sum & 0xFF)), QByteArray(1, char(0xAA)));
        QCOMPARE(read(port, 10, 3000), QByteArray("Initial OK"));
        QCOMPARE(exchange(port, "VER,1"), QByteArray("OK00,4.20.1700"));
        sim.stop();
        QVERIFY(!QFileInfo::exists(sim.controlPath()));
        QVERIFY(!QFileInfo(sim.linkPath()).isSymLink());
    }
    SimProcess sim({"--state", state, "--firmware", "4.10"});
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    QSerialPort port;
    QVERIFY(openPort(port, sim.linkPath()));
    const auto table = Readers::channelTable(exchange(port, "CMR,13", 5000));
    QVERIFY(table);
    const Readers::ChannelRow &row = (*table)[7];
    QCOMPARE(row.channel, 7);
    QCOMPARE(row.name, QString("PanelA"));
    QCOMPARE(row.date, QString("2026-12-06 10:11:12"));
    QVERIFY(row.matrix[0] == 1.02 && row.matrix[4] == 0.98 && row.x == 0.3127 && row.lv == 201.5);
    QCOMPARE((*table)[8].name, QString());
    QCOMPARE(exchange(port, "STR,0"), QByteArray("OK00,3,3,20,7"));
    QCOMPARE(exchange(port, "RGM"), QByteArray("OK00,2;2;2;2;2;2;2;0.5"));
    QCOMPARE(exchange(port, "VER,1"), QByteArray("OK00,4.20.1700")); // the installed firmware
    QCOMPARE(exchange(port, "MCH,8"), QByteArray("OK00"));
    QCOMPARE(exchange(port, "CMR,14"), QByteArray("OK00,nan")); // an empty white stays empty
}

void TestSimProcess::defaultLinkHelpAndStateWarnings()
{
    QProcess help;
    help.start(SimProcess::binary(), {"--help"});
    QVERIFY(help.waitForFinished(5000));
    QCOMPARE(help.exitCode(), 0);
    const QString text = QString::fromLocal8Bit(help.readAllStandardOutput());
    for (const char *word :
         {"--link", "--state", "--firmware", "show R,G,B", "modulation", "unplug", "received"})
        QVERIFY2(text.contains(word), word);

    // Without --link the link is KRN4-SIM in the virtual-port folder, where the port list
    // looks. A state value the probe cannot hold is refused with a message, and it still runs.
    const QString dir = QString::fromLocal8Bit(qgetenv("KT_VIRTUAL_PORT_DIR"));
    QVERIFY(!dir.isEmpty());
    QDir().mkpath(dir);
    QTemporaryDir tmp;
    QFile state(tmp.filePath("s.json"));
    QVERIFY(state.open(QIODevice::WriteOnly) && state.write("{\"settings\":{\"averaging\":2e9}}") > 0);
    state.close();
    QProcess sim;
    sim.start(SimProcess::binary(), {"--state", state.fileName()});
    QVERIFY(sim.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dir + "/KRN4-SIM"), 5000);
    QVERIFY(QFileInfo::exists(dir + "/KRN4-SIM.ctl"));
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo(dir + "/KRN4-SIM").isSymLink());
    QVERIFY(!QFileInfo::exists(dir + "/KRN4-SIM.ctl"));
    const QString err = QString::fromLocal8Bit(sim.readAllStandardError());
    QVERIFY2(err.contains("settings.averaging = 2000000000 refused"), qPrintable(err));
}

QTEST_GUILESS_MAIN(TestSimProcess)
#include "tst_simprocess.moc"
