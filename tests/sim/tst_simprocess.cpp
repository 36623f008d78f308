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
    void exchangesThroughPty_data();
    void exchangesThroughPty();
    void controlChannelChangesWhatTheProbeSees();
    void faultsShowThemselves_data();
    void faultsShowThemselves();
    void portCanBeReopened();
    void unplugReplugKeepsLinkName();
    void memoryChannelsSurviveRestart();
    void bootLoaderTakesFirmware();
    void dfuEntryLeavesAndComesBack();
    void defaultLinkAndHelp();

private:
    static bool openPort(QSerialPort &port, const QString &path, qint32 baud = 115200);
    // Bytes up to and including the first "\r" (or what came before the time-out).
    static QByteArray readReply(QSerialPort &port, int timeoutMs = 3000);
    static QByteArray exchange(QSerialPort &port, const QByteArray &command, int timeoutMs = 3000);
    static QByteArray readBytes(QSerialPort &port, int count, int timeoutMs = 2000);
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
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    return port.open(QIODevice::ReadWrite);
}

QByteArray TestSimProcess::readReply(QSerialPort &port, int timeoutMs)
{
    QByteArray buf;
    QElapsedTimer clock;
    clock.start();
    while (!buf.contains('\r') && clock.elapsed() < timeoutMs) {
        if (port.bytesAvailable() || port.waitForReadyRead(20))
            buf += port.readAll();
    }
    return buf;
}

QByteArray TestSimProcess::exchange(QSerialPort &port, const QByteArray &command, int timeoutMs)
{
    port.readAll();
    port.write(command + '\r');
    port.waitForBytesWritten(1000);
    QByteArray r = readReply(port, timeoutMs);
    const int cr = r.indexOf('\r');
    return cr >= 0 ? r.left(cr) : r;
}

QByteArray TestSimProcess::readBytes(QSerialPort &port, int count, int timeoutMs)
{
    QByteArray buf;
    QElapsedTimer clock;
    clock.start();
    while (buf.size() < count && clock.elapsed() < timeoutMs) {
        if (port.bytesAvailable() || port.waitForReadyRead(20))
            buf += port.read(count - buf.size());
    }
    return buf;
}

void TestSimProcess::exchangesThroughPty_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QString>("expect");
    QTest::newRow("VER,1") << QByteArray("VER,1") << "5.00";
    QTest::newRow("TYP") << QByteArray("TYP") << "KRN4-P60";
    QTest::newRow("MES") << QByteArray("MES") << "xyLv";
    QTest::newRow("MES,1") << QByteArray("MES,1") << "five";
    QTest::newRow("XYZ") << QByteArray("XYZ") << "xyz";
    QTest::newRow("CMR,13 (multi-line)") << QByteArray("CMR,13") << "table";
    QTest::newRow("JAA,8192,1 (80 kB)") << QByteArray("JAA,8192,1") << "jaa";
    QTest::newRow("RSD") << QByteArray("RSD") << "rsd";
}

void TestSimProcess::exchangesThroughPty()
{
    QFETCH(QByteArray, command);
    QFETCH(QString, expect);
    SimProcess sim;
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    QSerialPort port;
    QVERIFY(openPort(port, sim.linkPath()));
    const QByteArray r = exchange(port, command, 5000);
    if (expect == "xyLv") {
        const auto v = Readers::base(r);
        QVERIFY(v && qAbs(v->x - 0.3127) < 5e-4 && qAbs(v->lv - 200) < 1);
    } else if (expect == "five") {
        QVERIFY(Readers::measure5(r));
    } else if (expect == "xyz") {
        QVERIFY(Readers::xyz(r));
    } else if (expect == "table") {
        QVERIFY(Readers::channelTable(r));
    } else if (expect == "jaa") {
        const auto v = Readers::jaa(r);
        QVERIFY(v && v->size() == 8192);
    } else if (expect == "rsd") {
        const auto v = Readers::rsd(r);
        QVERIFY(v && v->size() == 401);
    } else {
        QVERIFY2(r.contains("OK00") && Readers::afterLastComma(r).startsWith(expect), r.constData());
    }
}

void TestSimProcess::controlChannelChangesWhatTheProbeSees()
{
    SimProcess sim({"--show", "0,0,255"});
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    QSerialPort port;
    QVERIFY(openPort(port, sim.linkPath()));
    auto v = Readers::base(exchange(port, "MES"));
    QVERIFY(v && qAbs(v->x - 0.15) < 5e-4 && qAbs(v->y - 0.06) < 5e-4);
    QVERIFY(sim.control("show 255,0,0").startsWith("OK"));
    v = Readers::base(exchange(port, "MES"));
    QVERIFY(v && qAbs(v->x - 0.64) < 5e-4 && qAbs(v->y - 0.33) < 5e-4);
    QVERIFY(sim.control("display peak 100").startsWith("OK"));
    QVERIFY(sim.control("show 255,255,255").startsWith("OK"));
    v = Readers::base(exchange(port, "MES"));
    QVERIFY(v && qAbs(v->lv - 100) < 0.5);
    QVERIFY(sim.control("show 300,0,0").startsWith("ER"));
    QVERIFY(sim.control("bogus").startsWith("ER"));
    exchange(port, "MDS,7");
    const QString state = sim.control("state");
    QVERIFY2(state.contains("mode=7") && state.contains("color=255,255,255"), qPrintable(state));
    const QString received = sim.control("received 2");
    QVERIFY2(received.contains("count=4") && received.endsWith("last=MES|MDS,7"), qPrintable(received));
}

void TestSimProcess::faultsShowThemselves_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("noreply") << "fault noreply 1";
    QTest::newRow("garbage") << "fault garbage 1";
    QTest::newRow("split") << "fault split 1";
    QTest::newRow("double") << "fault double 1";
    QTest::newRow("error") << "fault error 22 1";
    QTest::newRow("okstatus") << "fault okstatus 5 1";
    QTest::newRow("latency") << "latency 400";
}

void TestSimProcess::faultsShowThemselves()
{
    QFETCH(QString, fault);
    SimProcess sim;
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    QSerialPort port;
    QVERIFY(openPort(port, sim.linkPath()));
    QVERIFY(sim.control(fault).startsWith("OK"));
    port.write("MES\r");
    QVERIFY(port.waitForBytesWritten(1000));
    const QString name = fault.section(' ', 0, 0) == "latency" ? "latency" : fault.section(' ', 1, 1);
    if (name == "noreply") {
        QVERIFY(!port.waitForReadyRead(400));
    } else if (name == "garbage") {
        const QByteArray r = readReply(port);
        QVERIFY(r.endsWith('\r'));
        QVERIFY(!r.contains("OK") && !r.contains("ER"));
    } else if (name == "split") {
        // 25 bytes in 4-byte pieces 15 ms apart: the last piece leaves 90 ms after the first,
        // however busy the machine is; usually the pieces also arrive separately.
        QElapsedTimer clock;
        clock.start();
        int arrivals = 0;
        QByteArray r;
        while (!r.contains('\r') && clock.elapsed() < 3000) {
            if (port.waitForReadyRead(50)) {
                r += port.readAll();
                ++arrivals;
            }
        }
        QVERIFY2(clock.elapsed() >= 85, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(arrivals >= 1);
        QCOMPARE(r, QByteArray("OK00,P1,3127;3290;200.00\r"));
    } else if (name == "double") {
        QByteArray r = readReply(port);
        QTRY_VERIFY_WITH_TIMEOUT((r += port.readAll()).count('\r') == 2, 1000);
        QCOMPARE(r, QByteArray("OK00,P1,3127;3290;200.00\rOK00,P1,3127;3290;200.00\r"));
    } else if (name == "error") {
        const QByteArray r = readReply(port);
        QVERIFY(r.startsWith("ER22"));
        QByteArray body = r;
        body.chop(1);
        QCOMPARE(Readers::errorCode(body), QString("203"));
    } else if (name == "okstatus") {
        QCOMPARE(readReply(port), QByteArray("OK05,P1,3127;3290;200.00\r"));
    } else if (name == "latency") {
        QVERIFY(!port.waitForReadyRead(150));              // not before the delay ...
        QVERIFY(readReply(port, 3000).startsWith("OK00")); // ... but after it
    }
    // Counted faults end by themselves: the next exchange is normal again.
    if (name != "latency")
        QVERIFY(exchange(port, "TYP").contains("OK00,KRN4-P60"));
}

void TestSimProcess::portCanBeReopened()
{
    SimProcess sim;
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    for (int i = 0; i < 3; ++i) {
        QSerialPort port;
        QVERIFY(openPort(port, sim.linkPath()));
        QVERIFY(exchange(port, "VER,1").startsWith("OK00,5.00"));
        port.close();
    }
}

void TestSimProcess::unplugReplugKeepsLinkName()
{
    SimProcess sim;
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
    QSerialPort again;
    QVERIFY(openPort(again, sim.linkPath()));
    QVERIFY(exchange(again, "TYP").contains("OK00,KRN4-P60"));
}

void TestSimProcess::memoryChannelsSurviveRestart()
{
    QTemporaryDir dir;
    const QString state = dir.filePath("probe.json");
    {
        SimProcess sim({"--state", state});
        QVERIFY2(sim.start(), qPrintable(sim.errorText()));
        QSerialPort port;
        QVERIFY(openPort(port, sim.linkPath()));
        QVERIFY(exchange(port, "MCH,07").contains("OK00"));
        const QByteArray writes[] = {
            "CMW,0,1.02",    "CMW,4,0.98",   "CMW,11,PanelA", "CMW,12,2026-12-06 10:11:12",
            "CMW,14,0.3127", "CMW,15,0.329", "CMW,16,201.5",  "MSC,20"};
        for (const QByteArray &w : writes)
            QVERIFY2(exchange(port, w).contains("OK00"), w.constData());
        sim.stop();
        QVERIFY(!QFileInfo::exists(sim.controlPath()));
        QVERIFY(!QFileInfo(sim.linkPath()).isSymLink());
    }
    SimProcess sim({"--state", state});
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    QSerialPort port;
    QVERIFY(openPort(port, sim.linkPath()));
    const auto table = Readers::channelTable(exchange(port, "CMR,13", 5000));
    QVERIFY(table);
    const Readers::ChannelRow &row = (*table)[7];
    QCOMPARE(row.channel, 7);
    QCOMPARE(row.name, QString("PanelA"));
    QCOMPARE(row.date, QString("2026-12-06 10:11:12"));
    QCOMPARE(row.matrix[0], 1.02);
    QCOMPARE(row.matrix[4], 0.98);
    QCOMPARE(row.x, 0.3127);
    QCOMPARE(row.lv, 201.5);
    QCOMPARE((*table)[8].name, QString());
    QCOMPARE(Readers::from5(exchange(port, "STR,3")), QString("7"));
    QCOMPARE(Readers::from5(exchange(port, "STR,8")), QString("20"));
    QCOMPARE(Readers::from5(exchange(port, "CMR,11")), QString("PanelA"));
}

void TestSimProcess::bootLoaderTakesFirmware()
{
    QTemporaryDir dir;
    SimProcess sim({"--state", dir.filePath("s.json"), "--firmware", "4.10"});
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    QSerialPort port;
    QVERIFY(openPort(port, sim.linkPath()));
    QVERIFY(exchange(port, "COM,1").contains("OK00"));
    QVERIFY(exchange(port, "UPD,1").contains("OK00"));
    // The application reopens the port at 38400 baud for the loader.
    port.close();
    QVERIFY(openPort(port, sim.linkPath(), 38400));
    port.write("A");
    QCOMPARE(readBytes(port, 1), QByteArray("A"));
    QByteArray loader;
    for (int i = 0; i < 64; ++i)
        loader += char(i * 7 + 1);
    for (char c : loader) {
        port.write(QByteArray(1, c));
        QCOMPARE(readBytes(port, 1), QByteArray(1, c));
    }
    // 115200 baud for the firmware: a 4096-byte file goes as 2 blocks, the second all 0xFF.
    port.close();
    QVERIFY(openPort(port, sim.linkPath(), 115200));
    QByteArray firmware(4096, '\0');
    for (int i = 0; i < firmware.size(); ++i)
        firmware[i] = char(i % 251);
    firmware.replace(100, 16, "KRN4FW:4.20.1700");
    firmware[116] = '\0';
    const int blocks = firmware.size() / 4096 + 1;
    QCOMPARE(blocks, 2);
    port.write(QByteArray(1, char(blocks)));
    QCOMPARE(readBytes(port, 1), QByteArray(1, char(blocks)));
    port.write(QByteArray(1, char(0x55)));
    QCOMPARE(readBytes(port, 1), QByteArray(1, char(0xAA)));
    auto block = [&firmware](int k) {
        QByteArray b = firmware.mid(k * 4096, 4096);
        b.append(QByteArray(4096 - b.size(), char(0xFF)));
        unsigned sum = 0;
        for (char c : b)
            sum += static_cast<unsigned char>(c);
        return b + char(sum & 0xFF);
    };
    port.write(block(0));
    QCOMPARE(readBytes(port, 1), QByteArray(1, char(0xAA)));
    QByteArray bad = block(1);
    bad[4096] = char(bad[4096] + 1);
    port.write(bad);
    QVERIFY(readBytes(port, 1, 400).isEmpty()); // a wrong checksum is not acknowledged
    port.write(block(1));
    QCOMPARE(readBytes(port, 1), QByteArray(1, char(0xAA)));
    QCOMPARE(readBytes(port, 10, 3000), QByteArray("Initial OK"));
    QVERIFY(exchange(port, "COM,1").contains("OK00"));
    QCOMPARE(Readers::afterFirstComma(exchange(port, "VER,1")), QString("4.20.1700"));
}

void TestSimProcess::dfuEntryLeavesAndComesBack()
{
    SimProcess sim({"--dfu-time", "300"});
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    QSerialPort port;
    QVERIFY(openPort(port, sim.linkPath()));
    QVERIFY(exchange(port, "UDP,0x3C71").contains("OK00"));
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo(sim.linkPath()).isSymLink(), 2000);
    port.close();
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(sim.linkPath()), 3000);
    QVERIFY(openPort(port, sim.linkPath()));
    QVERIFY(exchange(port, "VER,1").contains("OK00"));
}

void TestSimProcess::defaultLinkAndHelp()
{
    QProcess help;
    help.start(SimProcess::binary(), {"--help"});
    QVERIFY(help.waitForFinished(5000));
    QCOMPARE(help.exitCode(), 0);
    const QString text = QString::fromLocal8Bit(help.readAllStandardOutput());
    for (const char *word :
         {"--link", "--state", "--firmware", "show R,G,B", "modulation", "unplug", "received"})
        QVERIFY2(text.contains(word), word);

    // Without --link the link is KRN4-SIM in the virtual-port folder, where the port list looks.
    const QString dir = QString::fromLocal8Bit(qgetenv("KT_VIRTUAL_PORT_DIR"));
    QVERIFY(!dir.isEmpty());
    QDir().mkpath(dir);
    QProcess sim;
    sim.start(SimProcess::binary(), QStringList());
    QVERIFY(sim.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dir + "/KRN4-SIM"), 5000);
    QVERIFY(QFileInfo::exists(dir + "/KRN4-SIM.ctl"));
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo(dir + "/KRN4-SIM").isSymLink());
    QVERIFY(!QFileInfo::exists(dir + "/KRN4-SIM.ctl"));
}

QTEST_GUILESS_MAIN(TestSimProcess)
#include "tst_simprocess.moc"
