// The probe model's control commands, fault bookkeeping, boot loader rules, state file and
// real-time reply delays, driven directly (no process, no pty).

#include "readers.h"
#include "simcontrol.h"
#include "simprobe.h"

#include <QtTest>

using namespace Krn4Sim;

class TestSimModel : public QObject
{
    Q_OBJECT
private slots:
    void controlCommands_data();
    void controlCommands();
    void countedFaultsRunOut();
    void lineAndBootLoaderSteps_data();
    void lineAndBootLoaderSteps();
    void stateFileRefusesValuesOutOfRange_data();
    void stateFileRefusesValuesOutOfRange();
};

void TestSimModel::controlCommands_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("stateContains");
    QTest::newRow("show two values") << "show 12,34" << false << "";
    QTest::newRow("sine") << "modulation 30 0.1 sine" << true << "modulation=30,0.1,sine";
    QTest::newRow("pwm duty") << "modulation 60 1 pwm 0.25" << true << "modulation=60,1,pwm,0.25";
    QTest::newRow("square forces half duty") << "modulation 60 0.5 square 0.2" << true << "square,0.5";
    QTest::newRow("depth above 1") << "modulation 60 1.5 sine" << false << "";
    QTest::newRow("bad shape") << "modulation 60 0.5 triangle" << false << "";
    QTest::newRow("modulation off") << "modulation off" << true << "modulation=0,0";
    QTest::newRow("transition") << "transition 0,0,0 255,255,255 200 4 6" << true << "transition=1";
    QTest::newRow("transition bad") << "transition 0,0,0 255,255,255 -1 4" << false << "transition=0";
    QTest::newRow("gamma") << "display gamma 2.4" << true << "gamma=2.4";
    QTest::newRow("collinear primaries") << "display primaries 0.1,0.1,0.2,0.2,0.3,0.3" << false << "";
    QTest::newRow("white") << "display white 0.3457,0.3585" << true << "";
    QTest::newRow("latency negative") << "latency -5" << false << "latency=0";
    QTest::newRow("fault noreply") << "fault noreply" << true << "noreply=-1";
    QTest::newRow("fault garbage 3") << "fault garbage 3" << true << "garbage=3";
    QTest::newRow("fault error 20 2") << "fault error 20 2" << true << "error=2 errorcode=20";
    QTest::newRow("fault error 15") << "fault error 15" << true << "error=-1 errorcode=15";
    QTest::newRow("fault okstatus 9") << "fault okstatus 9" << false << "okstatus=0";
    QTest::newRow("fault unknown") << "fault melt" << false << "";
    QTest::newRow("fault count zero") << "fault split 0" << false << "split=0";
    QTest::newRow("noise") << "noise 0.001 9" << true << "";
    QTest::newRow("profile type") << "profile type KRN4-100" << true << "type=KRN4-100";
    QTest::newRow("profile firmware") << "profile firmware 4.10" << true << "firmware=4.10.1586";
    QTest::newRow("received clear") << "received clear" << true << "received=0";
    QTest::newRow("unknown") << "frobnicate" << false << "";
    QTest::newRow("latency beyond int") << "latency 1e300" << false << "latency=0";
    QTest::newRow("count beyond int") << "fault garbage 99999999999" << false << "garbage=0";
    QTest::newRow("seed beyond 64 bits") << "noise 0.1 99999999999999999999999" << false << "";
    QTest::newRow("huge period") << "transition 0,0,0 255,255,255 1e300 1e300" << true << "transition=1";
}

void TestSimModel::controlCommands()
{
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    QFETCH(QString, stateContains);
    SimProbe probe;
    SimFaults faults;
    const QString reply = applyControl(line, probe, faults);
    if (accepted)
        QVERIFY2(reply.startsWith("OK"), qPrintable(reply));
    else
        QVERIFY2(reply.isEmpty() || reply.startsWith("ER "), qPrintable(reply));
    const QString state = applyControl("state", probe, faults);
    QVERIFY2(state.contains(stateContains), qPrintable(state));
    QVERIFY(probe.command("MES").startsWith("OK00")); // whatever was set, the probe still measures
}

void TestSimModel::countedFaultsRunOut()
{
    SimFaults f;
    f.garbage = 2;
    QVERIFY(SimFaults::take(f.garbage));
    QVERIFY(SimFaults::take(f.garbage));
    QVERIFY(!SimFaults::take(f.garbage));
    f.noReply = -1;
    for (int i = 0; i < 5; ++i)
        QVERIFY(SimFaults::take(f.noReply));
    f.latencyMs = 100;
    f.clear();
    QCOMPARE(f.noReply, 0);
    QCOMPARE(f.latencyMs, 100); // latency has its own command
}

using Steps = QList<QPair<QByteArray, QByteArray>>; // bytes in, bytes out
Q_DECLARE_METATYPE(Steps)

void TestSimModel::lineAndBootLoaderSteps_data()
{
    // Special inputs: "@BAUD" sets the line speed, "+S" lets S seconds pass and ticks, "~" makes
    // replies take as long as the measurement. Output that comes after a delay is written
    // "[ms]" before its bytes.
    QTest::addColumn<Steps>("steps");
    const QByteArray ack(1, char(0xAA)), block(4096, char(0xFF));
    QByteArray steady = "OK00,-99.99", jaa; // JEITA of a steady display; its samples
    for (int i = 0; i < 60; ++i)
        steady += (i ? ";" : ",") + QByteArray("-99.99");
    for (int i = 0; i < 3072; ++i)
        jaa += "200,";
    const char sum = char((4096 * 0xFF) & 0xFF);
    // "KBL1" + total length 20 (little endian) + 11 bytes + the sum of the 19 bytes before it
    // (0x62): the loader knows where it ends though the line speed never changes.
    const QByteArray image = "KBL1" + QByteArray("\x14\x00\x00\x00", 4) + QByteArray(11, 'L') + 'b';
    QTest::newRow("image with header, two blocks")
        << Steps{{"UPD,1\r", "OK00\r"},
                 {"xyzA", "A"}, // noise before the sync byte is ignored
                 {image, image},
                 {"\x02", "\x02"},
                 {"\x55", ack},
                 {block + sum, ack},
                 {block + char(sum + 1), ""}, // wrong checksum: no ack, the block is sent again
                 {block + sum, ack + "[300]Initial OK"},
                 {"+1", "Initial OK"},
                 {"VER,1\r", "OK00,5.00.1586\r"},
                 {"+1", ""}}; // talked to: no more announcements
    QTest::newRow("speed switch ends the image, no blocks")
        << Steps{{"@38400", ""},
                 {"UPD,1\r", "OK00\r"},
                 {"A", "A"},
                 {"LOADER", "LOADER"},
                 {"@115200", ""},
                 {QByteArray(1, 0), QByteArray(1, 0)},
                 {"?", ""}, // only 0x55 starts the transfer
                 {"\x55", ack + "[300]Initial OK"},
                 {"TYP\r", "OK00,KRN4-P60\r"}};
    QTest::newRow("idle loader gives up")
        << Steps{{"UPD,1\r", "OK00\r"}, {"A", "A"}, {"+11", ""}, {"TYP\r", "OK00,KRN4-P60\r"}};
    // Slow (4 frames) of INT 60 Hz (the display's refresh, so the reading is exact), averaged
    // twice: 133.3 ms; JEITA 1 s; 3072 samples at decimation 2: 2 s; each plus 10 ms.
    QTest::newRow("real time") << Steps{
        {"~", ""},
        {"FSC,0\rSCS,4,60\rMSC,2\rTYP\r", "OK00\rOK00\rOK00\rOK00,KRN4-P60\r"},
        {"MES\r", "[144]OK00,P1,3127;3290;200.00\r"},
        {"XYZ\r", "[144]OK00,P1,190.09119;200.00000;217.81155\r"},
        {"MDS,8\rMES\r", "OK00\r[1000]" + steady + "\r"},
        {"JAA,3072,2\r", "[2010]OK00,JAA:" + jaa + "\r"}};
    // Line feeds between commands (a terminal) are ignored; a line is cut at 4096 characters.
    QTest::newRow("noisy and overlong lines") << Steps{
        {"\nVER\r\n" + QByteArray(10000, 'x') + "\rTYP\r", "OK00,KRN4,V1,5.00.1586\rER00\rOK00,KRN4-P60\r"}};
    // A sync byte sent to a probe not in its boot loader is dropped after 2 s of silence; a
    // command written in two pieces is kept.
    QTest::newRow("stale line dropped") << Steps{{"A", ""},  {"+3", ""},   {"TYP\r", "OK00,KRN4-P60\r"},
                                                 {"TY", ""}, {"+0.5", ""}, {"P\r", "OK00,KRN4-P60\r"}};
}

void TestSimModel::lineAndBootLoaderSteps()
{
    QFETCH(Steps, steps);
    SimProbe probe;
    double now = 100.0;
    probe.setClock([&now] { return now; });
    for (const auto &[in, expected] : steps) {
        std::vector<SimProbe::Chunk> out;
        if (in == "~")
            probe.setRealTime(true);
        else if (in.startsWith('@'))
            probe.setLineSpeed(in.mid(1).toInt());
        else if (in.startsWith('+') && (now += in.mid(1).toDouble()) > 0)
            probe.tick(out);
        else
            probe.feed(in, out);
        QByteArray all;
        for (const auto &c : out)
            all += (c.delayMs > 0 ? "[" + QByteArray::number(c.delayMs) + "]" : QByteArray()) + c.bytes;
        QCOMPARE(all, expected);
    }
    QVERIFY(probe.mode() == SimProbe::Mode::Command);
}

void TestSimModel::stateFileRefusesValuesOutOfRange_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("refused");
    auto setting = [](const char *key, const char *value) {
        QTest::newRow(key + QByteArray(" ") + value)
            << "{\"settings\":{\"" + QByteArray(key) + "\":" + value + "}}" << QString("settings.") + key;
    };
    // Values that do not fit an int (converting them would be undefined) and values out of
    // the range the probe's commands allow.
    setting("manualTimeMs", "1e300");
    setting("averaging", "2e9");
    setting("averaging", "1.5");
    setting("channel", "-5");
    setting("displayMode", "2");
    setting("syncFrequency", "0");
    setting("speed", "\"3\"");
    setting("gains", "[1,2]");
    setting("identity", "\"a;b\"");
    setting("windowCode", "\"77\"");
    auto channel = [](const char *key, const char *value) {
        QTest::newRow(key + QByteArray(" ") + value)
            << "{\"channels\":[{},{\"" + QByteArray(key) + "\":" + value + "}]}"
            << QString("channels[1].") + key;
    };
    channel("whiteX", "7");
    channel("whiteLv", "-1");
    channel("name", "\"a\\nb\"");
    channel("matrix", "[1,0,0,0,1,0,0,0]");
    QTest::newRow("not JSON") << QByteArray("{ not json") << QString(); // the file is refused
}

void TestSimModel::stateFileRefusesValuesOutOfRange()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, refused);
    ProbeState state;
    QStringList warnings;
    QString error;
    QCOMPARE(parseState(json, state, &error, &warnings), !refused.isEmpty());
    QCOMPARE(error.startsWith("state file is not valid JSON"), refused.isEmpty());
    QCOMPARE(warnings.size(), refused.isEmpty() ? 0 : 1);
    QVERIFY(refused.isEmpty() || warnings[0].startsWith(refused + " = "));
    QCOMPARE(serializeState(state), serializeState(ProbeState())); // the defaults stay
}

QTEST_GUILESS_MAIN(TestSimModel)
#include "tst_simmodel.moc"
