// Every command the pages send, answered by the probe model: the canonical replies of
// docs/protocol.md, and the pages' readings of them.

#include "readers.h"
#include "simcontrol.h"
#include "simprobe.h"

#include <QtTest>

using Krn4Sim::SimProbe;

class TestSimProtocol : public QObject
{
    Q_OBJECT
private slots:
    void commandGivesCanonicalReply_data();
    void commandGivesCanonicalReply();
    void pagesReadTheReplies();
};

void TestSimProtocol::commandGivesCanonicalReply_data()
{
    QTest::addColumn<QByteArrayList>("setup"); // commands; in lower case: control-channel lines
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QString>("expected"); // the exact reply, or a pattern when it starts with "^"

    auto row = [](QByteArrayList setup, const char *cmd, const QString &expected) {
        const QByteArray name = (setup.isEmpty() ? QByteArray() : setup.join(' ') + " > ") + cmd;
        QTest::newRow(name.constData()) << setup << QByteArray(cmd) << expected;
    };
    const QString steady = "^OK00,-99\\.99,(-99\\.99;){59}-99\\.99$"; // JEITA of a steady source
    const QString xyz = "OK00,P1,190.09119;200.00000;217.81155";
    // Identity, profile and the hidden parameter form.
    row({}, "VER", "OK00,KRN4,V1,5.00.1586");
    row({}, "VER,1", "OK00,5.00.1586");
    row({}, "VID,1", "OK00,VID,5.00.1586");
    row({}, "typ", "OK00,KRN4-P60");
    row({}, "RPR", "OK00,KRN4-SIM-0001");
    row({"RPR,4711"}, "RPR", "OK00,4711");
    row({}, "RPR,a;b", "ER10");
    row({}, "RPR,123456789012345678901234567890123", "ER10");
    for (const char *c :
         {"IDO", "IDP,1", "SNF,3", "ARS,1", "FFD", "INI", "RAW", "COM,1", "UPD,1", "UDP,0x3C71"})
        row({}, c, "OK00");
    for (const char *c : {"COM,2", "UPD,2", "UDP,0x1234", "MES,2", "MDS,2", "MCH,100", "SCS,6", "SCS,4,5",
                          "FSC,4", "MSC,0", "MSC,101", "VSN,3,0", "SWD,1B", "SEN,3", "STR,99"})
        row({}, c, "ER10");
    for (const char *c : {"QQQ", "MESX", "ME", ""})
        row({}, c, "ER00");
    // Device profiles: the version texts, no integration time below firmware 5 or when the
    // profile has none, no spectrum without "P60" in the type.
    row({"profile firmware 4.10", "profile hardware V2"}, "VER", "OK00,KRN4,V2,4.10.1586");
    row({"profile type KRN4-100"}, "TYP", "OK00,KRN4-100");
    row({"profile firmware 4.10"}, "STR,31", "ER10");
    row({"profile firmware 4.10"}, "VSN,1,0", "ER10");
    row({"profile integration 0"}, "STR,31", "ER10");
    row({"profile status30 1"}, "STR,30", "OK00,1");
    row({"profile type KRN4-100"}, "RSD", "ER10");
    // Settings, read back the way the pages query them.
    row({}, "STR,0", "OK00,3,3,1,0");
    row({"SCS,1", "FSC,0", "MSC,20", "MCH,7"}, "STR,0", "OK00,1,0,20,7");
    row({"SCS,4,59.94"}, "STR,28", "OK00,59.94Hz");
    row({"SCS,4,59.94"}, "STR,1", "OK00,4");
    row({}, "STR,17", "OK00,100ms");
    row({"SCS,5,33.3"}, "STR,17", "OK00,33.3ms");
    row({"FSC,1"}, "STR,7", "OK00,1");
    row({"MSC,100"}, "STR,8", "OK00,100");
    row({}, "STR,31", "OK00,0");
    row({"VSN,2,0"}, "STR,31", "OK00,1");
    row({"MCH,07"}, "STR,3", "OK00,7");
    row({"MDS,6"}, "STR,5", "OK00,6");
    row({"SWD,18"}, "STR,40", "OK00,1");
    row({"SWD,1A", "SWD,0"}, "STR,40", "OK00,0");
    row({}, "STR,30", "OK00,0");
    row({}, "MVS,60", "OK00,60.00");
    row({"MVS,75.5"}, "STR,28", "OK00,75.50Hz");
    row({}, "MVS,5", "ER10,5");
    row({"SEN,2"}, "FCS", "OK00,1");
    row({"FCS,0"}, "FCS", "OK00,0");
    // Arguments beyond any range (and beyond int) are refused, never converted.
    for (const char *c : {"MSC,2e9", "MSC,99999999999", "MCH,1e300", "STR,4294967296", "SCS,5,1e300",
                          "SCS,4,inf", "JAA,99999999999,1", "JWA,64,1e300", "CMR,1e300"})
        row({}, c, "ER10");
    row({}, "MVS,1e300", "ER10,1e300");
    for (const char *c : {"CMW,1e300,1", "CMW,0,1e999", "CMW,0,nan", "CMW,16,-1", "CMW,14,1.5"})
        row({"MCH,5"}, c, "ER10");
    // Measurements of the default display (sRGB, D65, 200 cd/m², white).
    row({}, "MES", "OK00,P1,3127;3290;200.00");
    row({"MDS,1"}, "MES", "OK00,P1,3127;3290;200.00"); // Tcp/duv keeps the xyLv layout
    row({}, "MES,1", "OK00,P1,0,0.312700,0.329000,200.0000,0.1978,0.4683");
    row({"MDS,7"}, "MES", xyz);
    row({"MDS,7"}, "MES,1", xyz);
    row({}, "XYZ", xyz);
    row({"MDS,6"}, "MES", "OK00,P1,0,0.00,0.3127,0.3290,200.0000,0.00");
    row({"MDS,8"}, "MES", steady);
    row({}, "JAD", steady);
    row({}, "ZRC", "OK21"); // light in front of the probe
    row({}, "JAA,3,1", "OK00,JAA:200,200,200,");
    row({}, "JAA,100,3", "^OK00,JAA:(200,){100}$");
    row({}, "JWA,2,2", "OK00,P1,190.0912,200,217.8116;190.0912,200,217.8116");
    row({}, "RSD", "^OK00(,[0-9.e-]+){401}$");
    for (const char *c : {"JWA,0,1", "JWA,32768,1", "JAA,64,0", "JAA,64,101", "JAA,64"})
        row({}, c, "ER10");
    // The active channel's matrix corrects the readings (X' = 1.1 X, Z' = 0.05 X + 0.9 Z, by
    // hand from the D65 white); raw output bypasses it until user mode is restored.
    const QByteArrayList matrix = {"MCH,05", "CMW,0,1.1", "CMW,6,0.05", "CMW,8,0.9"};
    row(matrix, "XYZ", "OK00,P1,209.10030;200.00000;205.53495");
    row(matrix + QByteArrayList{"RAW"}, "XYZ", xyz);
    row(matrix + QByteArrayList{"RAW", "FCS,1"}, "XYZ", "OK00,P1,209.10030;200.00000;205.53495");
    row(matrix + QByteArrayList{"RAW", "MCH,5"}, "MES,1",
        "OK00,P1,0,0.340202,0.325396,200.0000,0.2186,0.4705");
    // Over range, and a channel matrix so large that x, y are undefined: the layout holds.
    row({"MCH,5", "CMW,4,1000"}, "MES", "ER20,P1,100;");
    row({"MCH,5", "CMW,0,1e4"}, "XYZ", "ER20,P1,100;");
    row({"MCH,5", "CMW,0,1e308", "CMW,1,1e308"}, "MES", "OK00,P1,0000;0000;200.00");
    // Memory channels: written, read back, refused.
    row({}, "CMR,11", "OK00,Factory");
    row({}, "CMR,8", "OK00,1");
    row({"MCH,5"}, "CMR,12", "OK00,");
    row({"MCH,5"}, "CMR,14", "OK00,nan");
    row({"MCH,5", "CMW,0,1.02"}, "CMR,0", "OK00,1.02");
    row({"MCH,5", "CMW,11,Panel A"}, "CMR,11", "OK00,Panel A");
    row({"MCH,5", "CMW,12,2026-12-06 10:11:12"}, "CMR,12", "OK00,2026-12-06 10:11:12");
    row({"MCH,5", "CMW,14,0.3127"}, "CMR,14", "OK00,0.3127");
    row({"MCH,5", "CMW,16,201.5"}, "CMR,16", "OK00,201.5");
    row({"MCH,5"}, "CMW,11,a;b", "ER10");
    row({}, "CMW,0,1.0", "ER10"); // channel 00 needs factory mode
    row({"FCS,0"}, "CMW,0,1.0", "OK00");
    row({}, "CMR,13",
        "^OK00,(CH:\\d+;Matrix:[^;]+;Name:[^;]*;Date:[^;]*;x:[^;]+;y:[^;]+;Lv:[^;\\n]+\\n){100}$");
    // Gains, and what CLR erases and keeps.
    row({}, "RGM", "OK00,1;1;1;1;1;1;1;1");
    row({"RGU 1.1;1;1;1;1;1;1;0.9;"}, "RGM", "OK00,1.1;1;1;1;1;1;1;0.9");
    row({}, "RGU 1;1;1", "ER10");
    row({}, "RGU 1;1;1;1;1;1;1;0", "ER10");
    row({"CLR"}, "RGM", "ER84");
    row({"CLR", "RGE"}, "RGM", "OK00,1;1;1;1;1;1;1;1");
    row({"FCS,0", "CMW,0,1.01", "MCH,3", "CMW,11,Temp", "CLR"}, "CMR,0", "OK00,1.01");
    row({"MCH,3", "CMW,11,Temp", "CLR", "MCH,3"}, "CMR,11", "OK00,");
    row({"RPR,4711", "MSC,20", "CLR"}, "STR,8", "OK00,1");
    row({"RPR,4711", "CLR"}, "RPR", "OK00,4711");
}

void TestSimProtocol::commandGivesCanonicalReply()
{
    QFETCH(QByteArrayList, setup);
    QFETCH(QByteArray, command);
    QFETCH(QString, expected);
    SimProbe probe;
    Krn4Sim::SimFaults faults;
    for (const QByteArray &s : setup) {
        const bool control = s[0] >= 'a' && s[0] <= 'z';
        QVERIFY2(control ? Krn4Sim::applyControl(s, probe, faults).startsWith("OK")
                         : !probe.command(s).startsWith("ER"),
                 s.constData());
    }
    const QString reply = QString::fromLatin1(probe.command(command));
    if (expected.startsWith('^'))
        QVERIFY2(QRegularExpression(expected).match(reply).hasMatch(), qPrintable(reply.left(200)));
    else
        QCOMPARE(reply, expected);
}

void TestSimProtocol::pagesReadTheReplies()
{
    using namespace Readers;
    SimProbe probe;
    const auto b = base(probe.command("MES"));
    QVERIFY(b && qAbs(b->x - 0.3127) < 5e-4 && qAbs(b->y - 0.3290) < 5e-4 && qAbs(b->lv - 200) < 1.0);
    const auto u = userCal(probe.command("MES"), true);
    QVERIFY(u && qAbs(u->x - 0.3127) < 5e-4 && qAbs(u->lv - 200) < 0.01);
    const auto m = measure5(probe.command("MES,1"));
    QVERIFY(m && qAbs(m->x - 0.3127) < 5e-4 && qAbs(m->y - 0.329) < 5e-4 && qAbs(m->lv - 200) < 0.01);
    const auto v = xyz(probe.command("XYZ"));
    const auto uv = userCal(probe.command("XYZ"), false);
    QVERIFY(v && uv && qAbs((*v)[1] - 200) < 1e-3 && qAbs(uv->lv - (*v)[2]) < 1e-9);
    const auto j = jeita(probe.command("JAD"));
    QVERIFY(j && j->perHz.size() == 60);
    const auto t = channelTable(probe.command("CMR,13"));
    QVERIFY(t && t->size() == 100 && (*t)[0].channel == 0 && (*t)[99].channel == 99);
    QCOMPARE(int(rsd(probe.command("RSD"))->size()), 401);
    QCOMPARE(int(jaa(probe.command("JAA,8192,3"))->size()), 8192);
    QCOMPARE(int(jwa(probe.command("JWA,32767,1"))->size()), 32767); // the response-time page's maximum
    probe.command("MDS,6");
    const auto f = measure5(probe.command("MES")); // FMA in field 0
    QVERIFY(f && qAbs(f->x) < 1e-9);
    probe.display().setPeakLuminance(200000.0); // beyond the six-character luminance field
    probe.command("MDS,0");
    QCOMPARE(errorCode(probe.command("MES")), QString("100"));
}

QTEST_GUILESS_MAIN(TestSimProtocol)
#include "tst_simprotocol.moc"
