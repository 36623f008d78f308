// Every command the pages send, answered by the probe model, read the way the pages read it.

#include "readers.h"
#include "simprobe.h"

#include <QtTest>

using Krn4Sim::SimProbe;

class TestSimProtocol : public QObject
{
    Q_OBJECT
private slots:
    void replyPassesPageReading_data();
    void replyPassesPageReading();
    void errorRepliesCarryTheirCode();
    void overlongAndNoisyInputIsHandled();
    void settingsReadBackThroughStr_data();
    void settingsReadBackThroughStr();
    void profilesChangeVersionTypeAndIntegration();
};

// Checks of one reply; returns an empty string when the reply passes.
static QString check(const QString &how, const QByteArray &r)
{
    using namespace Readers;
    auto need = [](bool cond, const QString &what) { return cond ? QString() : what; };
    if (how == "OK00")
        return need(r.contains("OK00"), "no OK00");
    if (how == "ER")
        return need(r.startsWith("ER") && !r.contains("OK"), "expected an ER status");
    if (how == "ER10")
        return need(r.contains("ER10"), "expected ER10");
    if (how == "version")
        return need(r.contains("OK00") && afterLastComma(r).startsWith("5.00"), "version after last comma");
    if (how == "version1")
        return need(r.contains("OK00") && afterFirstComma(r).startsWith("5.00"), "version after first comma");
    if (how == "type")
        return need(r.contains("OK00") && afterLastComma(r) == "KRN4-P60", "type after last comma");
    if (how == "text5")
        return need(r.contains("OK00") && !from5(r).isEmpty(), "data from character 5");
    if (how == "uint5") {
        bool ok = false;
        from5(r).toUInt(&ok);
        return need(r.contains("OK00") && ok, "unsigned number from character 5");
    }
    if (how == "number5")
        return need(r.contains("OK00") && number(from5(r)).has_value(), "number from character 5");
    if (how == "number5drop2") {
        QString v = from5(r);
        v.chop(2);
        return need(r.contains("OK00") && number(v).has_value(), "number + 2 characters from character 5");
    }
    if (how == "nan5")
        return need(r.contains("OK00") && from5(r) == "nan", "empty value reads nan");
    if (how == "zrc")
        return need(r.contains("OK00") || r.contains("OK21"), "OK00 or OK21");
    if (how == "mesBase") {
        const auto v = base(r);
        if (!v)
            return "base handler cannot read it";
        return need(qAbs(v->x - 0.3127) < 5e-4 && qAbs(v->y - 0.3290) < 5e-4 && qAbs(v->lv - 200) < 1.0,
                    "base reading off");
    }
    if (how == "mesUserCal") {
        const auto v = userCal(r, true);
        if (!v)
            return "user calibration cannot read it";
        return need(qAbs(v->x - 0.3127) < 5e-4 && qAbs(v->lv - 200) < 0.01, "user calibration reading off");
    }
    if (how == "mes5") {
        const auto v = measure5(r);
        if (!v)
            return "measure page cannot read it";
        return need(qAbs(v->x - 0.3127) < 5e-4 && qAbs(v->y - 0.329) < 5e-4 && qAbs(v->lv - 200) < 0.01,
                    "measure reading off");
    }
    if (how == "fma5") {
        const auto v = measure5(r);
        return need(v && qAbs(v->x) < 1e-9 && r.contains("OK00"), "FMA in field 0, 5 fields");
    }
    if (how == "xyz") {
        const auto v = Readers::xyz(r);
        const auto u = userCal(r, false);
        if (!v || !u)
            return "tristimulus positions or ';' fields";
        return need(qAbs((*v)[1] - 200) < 1e-3 && qAbs(u->lv - (*v)[2]) < 1e-9, "tristimulus values off");
    }
    if (how == "jeita") {
        const auto j = jeita(r);
        return need(j && j->perHz.size() == 60 && r.contains("OK00"), "JEITA value and 60 list values");
    }
    if (how == "table") {
        const auto t = channelTable(r);
        return need(t && t->size() == 100 && (*t)[0].channel == 0 && (*t)[99].channel == 99, "channel table");
    }
    if (how == "gains") {
        const QStringList g = from5(r).split(';');
        return need(r.contains("OK00") && g.size() == 8 && number(g[7]).has_value(), "8 gains");
    }
    if (how == "ER84")
        return need(r.contains("ER84"), "gains erased: ER84");
    if (how == "rsd") {
        const auto v = rsd(r);
        return need(r.contains("OK00") && v && v->size() == 401, "401 spectral values");
    }
    if (how.startsWith("jaa")) {
        const auto v = jaa(r);
        return need(r.contains("OK00") && v && int(v->size()) == how.mid(3).toInt(), "JAA sample count");
    }
    if (how.startsWith("jwa")) {
        const auto v = jwa(r);
        return need(r.contains("OK00") && v && int(v->size()) == how.mid(3).toInt(), "JWA record count");
    }
    return "unknown check " + how;
}

void TestSimProtocol::replyPassesPageReading_data()
{
    QTest::addColumn<QByteArrayList>("setup");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QString>("how");

    auto row = [](const char *name, QByteArrayList setup, const char *cmd, const char *how) {
        QTest::newRow(name) << setup << QByteArray(cmd) << QString(how);
    };
    row("VER", {}, "VER", "version");
    row("VER,1", {}, "VER,1", "version1");
    row("VID,1", {}, "VID,1", "version");
    row("TYP", {}, "TYP", "type");
    row("IDO", {}, "IDO", "OK00");
    row("RPR,n", {}, "RPR,12", "OK00");
    row("RPR", {}, "RPR", "text5");
    row("IDP,n", {}, "IDP,1", "OK00");
    row("STR,0", {}, "STR,0", "text5");
    row("STR,1", {}, "STR,1", "uint5");
    row("STR,3", {}, "STR,3", "uint5");
    row("STR,5", {}, "STR,5", "uint5");
    row("STR,7", {}, "STR,7", "uint5");
    row("STR,8", {}, "STR,8", "uint5");
    row("STR,17", {}, "STR,17", "number5drop2");
    row("STR,28", {}, "STR,28", "number5drop2");
    row("STR,30", {}, "STR,30", "uint5");
    row("STR,31", {}, "STR,31", "uint5");
    row("STR,40", {}, "STR,40", "uint5");
    row("STR,99", {}, "STR,99", "ER");
    for (const char *m : {"MDS,0", "MDS,1", "MDS,6", "MDS,7", "MDS,8"})
        row(m, {}, m, "OK00");
    row("MDS,2 refused", {}, "MDS,2", "ER10");
    row("MCH,07", {}, "MCH,07", "OK00");
    row("MCH,100 refused", {}, "MCH,100", "ER10");
    row("SCS,4,f", {}, "SCS,4,59.94", "OK00");
    row("SCS,5,t", {}, "SCS,5,33.3", "OK00");
    row("SCS,1", {}, "SCS,1", "OK00");
    row("FSC,n", {}, "FSC,2", "OK00");
    row("SNF,n", {}, "SNF,3", "OK00");
    row("ARS,n", {}, "ARS,1", "OK00");
    row("MES xyLv base", {"MDS,0"}, "MES", "mesBase");
    row("MES xyLv user cal", {"MDS,0"}, "MES", "mesUserCal");
    row("MES Tcp mode keeps xyLv", {"MDS,1"}, "MES", "mesBase");
    row("MES,1 xyLv", {"MDS,0"}, "MES,1", "mes5");
    row("MES XYZ mode", {"MDS,7"}, "MES", "xyz");
    row("MES,1 XYZ mode", {"MDS,7"}, "MES,1", "xyz");
    row("MES FMA mode", {"MDS,6"}, "MES", "fma5");
    row("MES JEITA mode", {"MDS,8"}, "MES", "jeita");
    row("XYZ", {}, "XYZ", "xyz");
    row("JAD", {}, "JAD", "jeita");
    row("ZRC", {}, "ZRC", "zrc");
    row("FFD", {}, "FFD", "OK00");
    row("CMR,11", {}, "CMR,11", "text5");
    row("CMR,13", {}, "CMR,13", "table");
    row("CMR,0", {}, "CMR,0", "number5");
    row("CMR,8", {}, "CMR,8", "number5");
    row("CMR,12 empty date", {"MCH,5"}, "CMR,12", "OK00");
    row("CMR,14 empty white", {"MCH,5"}, "CMR,14", "nan5");
    row("CMW matrix user channel", {"MCH,5"}, "CMW,0,1.02", "OK00");
    row("CMW name", {"MCH,5"}, "CMW,11,Panel A", "OK00");
    row("CMW date", {"MCH,5"}, "CMW,12,2026-12-06 10:11:12", "OK00");
    row("CMW white x", {"MCH,5"}, "CMW,14,0.3127", "OK00");
    row("CMW white Lv", {"MCH,5"}, "CMW,16,201.5", "OK00");
    row("CMW name with ';' refused", {"MCH,5"}, "CMW,11,a;b", "ER10");
    row("CMW channel 00 needs factory mode", {"MCH,0"}, "CMW,0,1.0", "ER10");
    row("CMW channel 00 in factory mode", {"MCH,0", "FCS,0"}, "CMW,0,1.0", "OK00");
    row("RGM", {}, "RGM", "gains");
    row("RGU", {}, "RGU 1.1;1;1;1;1;1;1;0.9;", "OK00");
    row("RGU wrong count", {}, "RGU 1;1;1", "ER10");
    row("RAW", {}, "RAW", "OK00");
    row("FCS,0", {}, "FCS,0", "OK00");
    row("FCS empty", {}, "FCS", "OK00");
    row("CLR", {}, "CLR", "OK00");
    row("RGM after CLR", {"CLR"}, "RGM", "ER84");
    row("RGE", {}, "RGE", "OK00");
    row("UDP", {}, "UDP,0x3C71", "OK00");
    row("COM,1", {}, "COM,1", "OK00");
    row("UPD,1", {}, "UPD,1", "OK00");
    row("MSC,1", {}, "MSC,1", "OK00");
    row("MSC,100", {}, "MSC,100", "OK00");
    row("MSC,101 refused", {}, "MSC,101", "ER10");
    row("MVS,n", {}, "MVS,60", "OK00");
    row("MVS out of range", {}, "MVS,5", "ER10");
    row("VSN,n,0", {}, "VSN,2,0", "OK00");
    row("INI", {}, "INI", "OK00");
    row("RSD", {}, "RSD", "rsd");
    row("JAA,64,1", {}, "JAA,64,1", "jaa64");
    row("JAA,8192,3", {}, "JAA,8192,3", "jaa8192");
    row("JWA,256,2", {}, "JWA,256,2", "jwa256");
    row("JWA,32767,1 (response-time page maximum)", {}, "JWA,32767,1", "jwa32767");
    row("JWA,0 refused", {}, "JWA,0,1", "ER10");
    row("JWA,32768 refused", {}, "JWA,32768,1", "ER10");
    row("SWD,18", {}, "SWD,18", "OK00");
    row("SWD,1A", {}, "SWD,1A", "OK00");
    row("SEN,2", {}, "SEN,2", "OK00");
    row("unknown", {}, "QQQ", "ER");
}

void TestSimProtocol::replyPassesPageReading()
{
    QFETCH(QByteArrayList, setup);
    QFETCH(QByteArray, command);
    QFETCH(QString, how);
    SimProbe probe;
    for (const QByteArray &s : setup)
        QVERIFY2(!probe.command(s).startsWith("ER"), s.constData());
    const QByteArray reply = probe.command(command);
    QVERIFY2(!reply.contains('\r'), reply.constData());
    const QString problem = check(how, reply);
    QVERIFY2(problem.isEmpty(), qPrintable(problem + ": " + QString::fromLatin1(reply.left(200))));
}

void TestSimProtocol::errorRepliesCarryTheirCode()
{
    SimProbe probe;
    probe.display().setPeakLuminance(200000.0); // beyond the six-character luminance field
    const QByteArray r = probe.command("MES");
    QVERIFY(r.startsWith("ER20"));
    QCOMPARE(Readers::errorCode(r), QString("100"));
}

void TestSimProtocol::overlongAndNoisyInputIsHandled()
{
    SimProbe probe;
    std::vector<SimProbe::Chunk> out;
    // Line feeds between commands (a terminal) and a 10 000-character line.
    probe.feed("\nVER\r\n" + QByteArray(10000, 'x') + "\rTYP\r", out);
    QCOMPARE(int(out.size()), 3);
    QVERIFY(out[0].bytes.startsWith("OK00"));
    QVERIFY(out[1].bytes.startsWith("ER"));
    QCOMPARE(out[2].bytes, QByteArray("OK00,KRN4-P60\r"));
    QCOMPARE(probe.receivedCount(), 3);
    QCOMPARE(probe.lastReceived(1), QStringList{"TYP"});
}

void TestSimProtocol::settingsReadBackThroughStr_data()
{
    QTest::addColumn<QByteArray>("set");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QString>("value");
    QTest::newRow("sync INT frequency") << QByteArray("SCS,4,59.94") << QByteArray("STR,28") << "59.94Hz";
    QTest::newRow("sync mode") << QByteArray("SCS,4,59.94") << QByteArray("STR,1") << "4";
    QTest::newRow("manual time") << QByteArray("SCS,5,33.3") << QByteArray("STR,17") << "33.3ms";
    QTest::newRow("speed") << QByteArray("FSC,1") << QByteArray("STR,7") << "1";
    QTest::newRow("averaging") << QByteArray("MSC,100") << QByteArray("STR,8") << "100";
    QTest::newRow("integration") << QByteArray("VSN,2,0") << QByteArray("STR,31") << "1";
    QTest::newRow("channel") << QByteArray("MCH,07") << QByteArray("STR,3") << "7";
    QTest::newRow("display mode") << QByteArray("MDS,6") << QByteArray("STR,5") << "6";
    QTest::newRow("window mode") << QByteArray("SWD,18") << QByteArray("STR,40") << "1";
    QTest::newRow("window auto") << QByteArray("SWD,0") << QByteArray("STR,40") << "0";
    QTest::newRow("MVS sets INT") << QByteArray("MVS,75.5") << QByteArray("STR,28") << "75.50Hz";
    QTest::newRow("identity") << QByteArray("RPR,4711") << QByteArray("RPR") << "4711";
}

void TestSimProtocol::settingsReadBackThroughStr()
{
    QFETCH(QByteArray, set);
    QFETCH(QByteArray, query);
    QFETCH(QString, value);
    SimProbe probe;
    QVERIFY(probe.command(set).startsWith("OK00"));
    QCOMPARE(Readers::from5(probe.command(query)), value);
}

void TestSimProtocol::profilesChangeVersionTypeAndIntegration()
{
    SimProbe probe;
    SimProbe::Profile p;
    p.firmware = "4.10";
    p.type = "KRN4-100";
    p.hardware = "V2";
    probe.setProfile(p);
    QVERIFY(probe.command("VER").contains("V2"));
    QCOMPARE(Readers::afterFirstComma(probe.command("VER,1")), QString("4.10.1586"));
    QCOMPARE(Readers::afterLastComma(probe.command("TYP")), QString("KRN4-100"));
    QVERIFY(probe.command("STR,31").contains("ER10")); // no integration time below 5.00
    QVERIFY(probe.command("VSN,1,0").startsWith("ER"));
    QVERIFY(probe.command("RSD").startsWith("ER")); // no spectrum without P60
}

QTEST_GUILESS_MAIN(TestSimProtocol)
#include "tst_simprotocol.moc"
