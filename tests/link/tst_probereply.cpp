#include <QtTest>

#include "probereply.h"

using namespace ProbeReply;

// Plain reply reading: what the standard handler and the command functions extract from the
// probe's text, checked against hand-computed values.
class TestProbeReply : public QObject
{
    Q_OBJECT
private slots:
    void commandCodes_data();
    void commandCodes();
    void statusTests_data();
    void statusTests();
    void slicing_data();
    void slicing();
    void tristimulus();
    void chromaticity_data();
    void chromaticity();
    void mccamyMatchesPublishedValues_data();
    void mccamyMatchesPublishedValues();
    void malformedReplies_data();
    void malformedReplies();
    void echoLines();
};

void TestProbeReply::commandCodes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("arg");
    QTest::addColumn<uint>("code");
    QTest::newRow("STR,0") << "STR"
                           << "0" << 4u;
    QTest::newRow("STR,1 (other)") << "STR"
                                   << "1" << 4u;
    QTest::newRow("STR,3") << "STR"
                           << "3" << 7u;
    QTest::newRow("STR,5") << "STR"
                           << "5" << 9u;
    QTest::newRow("STR,31 not 3") << "STR"
                                  << "31" << 4u;
    QTest::newRow("MDS,0") << "MDS"
                           << "0" << 19u;
    QTest::newRow("MDS,1") << "MDS"
                           << "1" << 20u;
    QTest::newRow("MDS,6") << "MDS"
                           << "6" << 21u;
    QTest::newRow("MDS,7") << "MDS"
                           << "7" << 22u;
    QTest::newRow("MDS,8") << "MDS"
                           << "8" << 23u;
    QTest::newRow("MDS,2 (other)") << "MDS"
                                   << "2" << 19u;
}

void TestProbeReply::commandCodes()
{
    QFETCH(QString, kind);
    QFETCH(QString, arg);
    QFETCH(uint, code);
    QCOMPARE(kind == "STR" ? strCommandCode(arg) : mdsCommandCode(arg), code);
}

void TestProbeReply::statusTests_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("ok00");
    QTest::addColumn<bool>("measureOk");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("reported");
    QTest::addColumn<bool>("error");
    QTest::newRow("OK00") << "OK00,P1,3127,3290, 100.0" << true << true << false << false << false;
    QTest::newRow("OK05") << "OK05,P1,3127,3290, 100.0" << false << true << false << false << false;
    QTest::newRow("OK07") << "OK07" << false << true << false << false << false;
    QTest::newRow("OK08 is not a measurement status") << "OK08" << false << false << false << false << false;
    QTest::newRow("ER10") << "ER10" << false << false << true << false << true;
    QTest::newRow("ER15") << "ER15" << false << false << true << false << true;
    QTest::newRow("ER23") << "ER23" << false << false << true << false << true;
    QTest::newRow("ER20") << "ER20,P1,  12," << false << false << false << true << true;
    QTest::newRow("ER22") << "ER22" << false << false << false << true << true;
    QTest::newRow("status not at the start") << "xxOK00" << true << true << false << false << false;
    QTest::newRow("ER inside data") << "OK00,HEADER" << true << true << false << false << true;
    QTest::newRow("empty") << "" << false << false << false << false << false;
}

void TestProbeReply::statusTests()
{
    QFETCH(QString, reply);
    QFETCH(bool, ok00);
    QFETCH(bool, measureOk);
    QFETCH(bool, refused);
    QFETCH(bool, reported);
    QFETCH(bool, error);
    QCOMPARE(isOk00(reply), ok00);
    QCOMPARE(hasMeasureOk(reply), measureOk);
    QCOMPARE(hasMeasureRefused(reply), refused);
    QCOMPARE(hasReportedError(reply), reported);
    QCOMPARE(hasError(reply), error);
}

void TestProbeReply::slicing_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("lastComma");
    QTest::addColumn<QString>("firstComma");
    QTest::addColumn<QString>("from5");
    QTest::addColumn<QString>("errCode");
    QTest::newRow("version") << "OK00,KRN4,V2.10"
                             << "V2.10"
                             << "KRN4,V2.10"
                             << "KRN4,V2.10"
                             << "2.1";
    QTest::newRow("no comma") << "OK00"
                              << "OK00"
                              << "OK00"
                              << ""
                              << "OK0";
    QTest::newRow("error code") << "ER20,P1,123,"
                                << ""
                                << "P1,123,"
                                << "P1,123,"
                                << "123";
    QTest::newRow("error code padded") << "ER22, 45 X"
                                       << " 45 X"
                                       << " 45 X"
                                       << " 45 X"
                                       << "45";
    QTest::newRow("short") << "OK"
                           << "OK"
                           << "OK"
                           << ""
                           << "OK";
}

void TestProbeReply::slicing()
{
    QFETCH(QString, reply);
    QFETCH(QString, lastComma);
    QFETCH(QString, firstComma);
    QFETCH(QString, from5);
    QFETCH(QString, errCode);
    QCOMPARE(afterLastComma(reply), lastComma);
    QCOMPARE(afterFirstComma(reply), firstComma);
    QCOMPARE(dataFrom5(reply), from5);
    QCOMPARE(errorCode(reply), errCode);
}

void TestProbeReply::tristimulus()
{
    // X at 8-16, Y at 18-26, Z at 28-36.
    const QString reply = "OK00,P1,000020.00,000030.00,000050.00";
    const Reading r = parseTristimulus(reply);
    QVERIFY(r.ok);
    QCOMPARE(r.x, QString("0.2"));
    QCOMPARE(r.y, QString("0.3"));
    QCOMPARE(r.lv, QString("30"));
    QCOMPARE(r.X, QString("20"));
    QCOMPARE(r.Z, QString("50"));
    QVERIFY(r.cct.isEmpty());
    QCOMPARE(parseMeasurement(CodeXYZ, reply).x, QString("0.2"));

    const Reading zero = parseTristimulus("OK00,P1,000000.00,000000.00,000000.00");
    QCOMPARE(zero.x, QString("nan")); // black: no chromaticity, but no division garbage
    QCOMPARE(zero.lv, QString("0"));
}

void TestProbeReply::chromaticity_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<QString>("lv");
    QTest::addColumn<double>("X");
    QTest::addColumn<double>("Z");
    // x at 8-11, y at 13-16 (1/10000), Lv = 5 characters before the last character.
    QTest::newRow("D65 white") << "OK00,P1,3127,3290,100.0,"
                               << "0.3127"
                               << "0.329"
                               << "100" << 0.3127 * 100 / 0.329 << (1 - 0.3127 - 0.329) * 100 / 0.329;
    QTest::newRow("leading dot") << "OK00,P1,3127,3290,.1234,"
                                 << "0.3127"
                                 << "0.329"
                                 << "0.123" << 0.3127 * 0.123 / 0.329 << (1 - 0.3127 - 0.329) * 0.123 / 0.329;
    QTest::newRow("semicolon separated")
        << "OK00,P1,3127;3290;200.00"
        << "0.3127"
        << "0.329"
        << "200" << 0.3127 * 200 / 0.329 << (1 - 0.3127 - 0.329) * 200 / 0.329;
    QTest::newRow("synchronised layout")
        << "OK00,P1,0,0.312700,0.329000,200.0000,0.1978,0.4683"
        << "0.3127"
        << "0.329"
        << "200" << 0.3127 * 200 / 0.329 << (1 - 0.3127 - 0.329) * 200 / 0.329;
    QTest::newRow("XYZ display mode") << "OK00,P1,000020.00;000030.00;000050.00"
                                      << "0.2"
                                      << "0.3"
                                      << "30" << 20.0 << 50.0;
    QTest::newRow("OK05 layout") << "OK05,P1,6400,3300,12.34X"
                                 << "0.64"
                                 << "0.33"
                                 << "12.34" << 0.64 * 12.34 / 0.33 << (1 - 0.64 - 0.33) * 12.34 / 0.33;
}

void TestProbeReply::chromaticity()
{
    QFETCH(QString, reply);
    const Reading r = parseMeasurement(CodeMES, reply);
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QString, lv);
    QFETCH(double, X);
    QFETCH(double, Z);
    QVERIFY(r.ok);
    QCOMPARE(r.x, x);
    QCOMPARE(r.y, y);
    QCOMPARE(r.lv, lv);
    QCOMPARE(r.X, QString::number(X, 'g', 6));
    QCOMPARE(r.Z, QString::number(Z, 'g', 6));
    QCOMPARE(r.cct.isEmpty(), QByteArray(QTest::currentDataTag()) == "XYZ display mode");
}

void TestProbeReply::mccamyMatchesPublishedValues_data()
{
    // Published CCTs of the CIE illuminants; the cubic approximation (with the coefficients the
    // probe documentation uses) stays within 20 K of them over this range.
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("cct");
    QTest::addColumn<double>("tolerance");
    QTest::newRow("D65") << 0.31271 << 0.32902 << 6504.0 << 20.0;
    QTest::newRow("A") << 0.44757 << 0.40745 << 2856.0 << 20.0;
    QTest::newRow("D50") << 0.34567 << 0.35850 << 5003.0 << 20.0;
}

void TestProbeReply::mccamyMatchesPublishedValues()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, cct);
    QFETCH(double, tolerance);
    QVERIFY2(qAbs(mccamyCct(x, y) - cct) < tolerance, qPrintable(QString::number(mccamyCct(x, y))));
}

void TestProbeReply::malformedReplies_data()
{
    QTest::addColumn<QString>("reply");
    QTest::newRow("empty") << "";
    QTest::newRow("status only") << "OK00";
    QTest::newRow("letters") << "OK00,P1,abcd,efgh,zzzzzX";
    QTest::newRow("nul bytes") << QString::fromLatin1(QByteArray("OK00\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 18));
}

void TestProbeReply::malformedReplies()
{
    QFETCH(QString, reply);
    for (unsigned code : {unsigned(CodeMES), unsigned(CodeXYZ)}) {
        const Reading r = parseMeasurement(code, reply);
        QVERIFY(!r.ok);
        QCOMPARE(r.x, QString("nan"));
        QCOMPARE(r.lv, QString("nan"));
    }
    // Zero y would divide by zero: the derived fields read "nan", never "inf".
    const Reading r = parseChromaticity("OK00,P1,3127,0000,100.0,");
    QVERIFY(r.ok);
    QCOMPARE(r.X, QString("nan"));
    QCOMPARE(r.Z, QString("nan"));
}

void TestProbeReply::echoLines()
{
    QCOMPARE(txLine("VER\r"), QString(" Tx 4--- VER\r"));
    QCOMPARE(rxLine("OK00,V2.10"), QString(" Rx 10--- OK00,V2.10"));
    QCOMPARE(txLine("%1%2\r"), QString(" Tx 5--- %1%2\r"));
    QCOMPARE(rxLine(QByteArray("\xB0\xFF", 2)), QString(" Rx 2--- ") + QChar(0xB0) + QChar(0xFF));
}

QTEST_APPLESS_MAIN(TestProbeReply)
#include "tst_probereply.moc"
