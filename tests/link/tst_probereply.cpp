#include <QtTest>

#include "probereply.h"
#include "replyreader.h"

#include <cmath>
#include <optional>

using namespace ProbeReply;
using namespace ReplyReader;
using Values = QVector<double>;

class TestProbeReply : public QObject
{
    Q_OBJECT
private slots:
    void commandCodes();
    void statusAndSlicing_data();
    void statusAndSlicing();
    void layouts_data();
    void layouts();
    void channelTable_data();
    void channelTable();
    void mccamyMatchesPublishedValues();
    void nulBytesAreText();
};

void TestProbeReply::commandCodes()
{
    const QVector<QPair<QString, uint>> str{{"0", 4}, {"1", 4}, {"3", 7}, {"5", 9}, {"31", 4}};
    for (const auto &c : str)
        QCOMPARE(strCommandCode(c.first), c.second);
    const QVector<QPair<QString, uint>> mds{{"0", 19}, {"1", 20}, {"6", 21}, {"7", 22}, {"8", 23}, {"2", 19}};
    for (const auto &c : mds)
        QCOMPARE(mdsCommandCode(c.first), c.second);
}

void TestProbeReply::statusAndSlicing_data()
{
    QTest::addColumn<QString>("reply");
    // Flags (OK00, measurement OK, refused, reported, any ER), then last comma, first comma,
    // from 5, the reported code and the ER digits.
    QTest::addColumn<QStringList>("expected");
    const auto row = [](const char *tag, const QStringList &expected) {
        QTest::newRow(tag) << tag << expected;
    };
    row("OK00,KRN4,V2.10", {"11000", "V2.10", "KRN4,V2.10", "KRN4,V2.10", "2.1", ""});
    row("OK07", {"01000", "OK07", "OK07", "", "OK0", ""});
    row("OK08", {"00000", "OK08", "OK08", "", "OK0", ""});
    row("ER10", {"00101", "ER10", "ER10", "", "ER1", "10"});
    row("ER15", {"00101", "ER15", "ER15", "", "ER1", "15"});
    row("ER20,P1,123;", {"00011", "123;", "P1,123;", "P1,123;", "123", "20"});
    row("ER22, 45 X", {"00011", " 45 X", " 45 X", " 45 X", "45", "22"});
    row("xxOK00", {"11000", "xxOK00", "xxOK00", "0", "OK0", ""});
    row("OK00,HEADER", {"11001", "HEADER", "HEADER", "HEADER", "ADE", ""});
    row("ERx1,ER23", {"00101", "ER23", "ER23", "ER23", "ER2", "23"});
    row("", {"00000", "", "", "", "", ""});
}

void TestProbeReply::statusAndSlicing()
{
    QFETCH(QString, reply);
    QFETCH(QStringList, expected);
    const QString flags = QString::number(isOk00(reply)) + QString::number(hasMeasureOk(reply)) +
                          QString::number(hasMeasureRefused(reply)) +
                          QString::number(hasReportedError(reply)) + QString::number(hasError(reply));
    QCOMPARE((QStringList{flags, afterLastComma(reply), afterFirstComma(reply), dataFrom5(reply),
                          errorCode(reply), errorStatusDigits(reply)}),
             expected);
}

namespace {
// The numbers a layout reads from a reply, flattened in reading order; nothing on a format
// error.
std::optional<Values> readAs(const QString &layout, const QString &reply)
{
    XyLv c;
    Number n;
    Jeita j;
    Reading r;
    Values v, y, z;
    if (layout == "number" && readNumber(reply, &n))
        return Values{n.value};
    if (layout == "positional" && readPositional(reply, &c))
        return Values{c.x.value, c.y.value, c.lv.value};
    if (layout == "fma" && readFma(reply, &n))
        return Values{n.value};
    if ((layout == "MES" || layout == "XYZ") && readMeasurement(layout == "XYZ", reply, &r))
        return Values{r.x, r.y, r.lv, r.X, r.Z, double(r.tristimulus)};
    if (layout == "jeita" && readJeita(reply, &j)) {
        v << j.value.value;
        for (const Number &k : j.perHz)
            v << k.value;
        return v;
    }
    if ((layout == "samples" && readSamples(reply, &v)) || (layout == "spectrum" && readSpectrum(reply, &v)))
        return v;
    if (layout == "channels" && readChannelSamples(reply, &v, &y, &z))
        return v + y + z; // X of every sample, then Y, then Z
    return std::nullopt;
}

// count values first, first - 0.1, ... and the same joined as the probe writes them.
Values counted(int count, double first)
{
    Values v;
    for (int i = 0; i < count; ++i)
        v << first - i / 10.0;
    return v;
}

QString joined(int count, double first, const QString &sep)
{
    QStringList parts;
    for (double d : counted(count, first))
        parts << QString::number(d);
    return parts.join(sep);
}

const double NaN = std::nan("");
} // namespace

void TestProbeReply::layouts_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<Values>("numbers");
    const auto row = [](const char *tag, const QString &layout, const QString &reply, const Values &v) {
        QTest::newRow(tag) << layout << reply << true << v;
    };
    const auto bad = [](const char *tag, const QString &layout, const QString &reply) {
        QTest::newRow(tag) << layout << reply << false << Values{};
    };
    const double x = 0.3127, y = 0.329; // D65 as the probe writes it
    const QString nul = QString(QChar(0));

    row("number", "number", "-1.5e-3", {-0.0015});
    row("number 5.", "number", "+5.", {5});
    for (const char *s : {" 1", "1 ", "nan", "inf", "1e999", "0x10", "", "-", "1e", "1\n", "=1+2", "1,5"})
        bad(qPrintable(QString("number refuses '%1'").arg(s)), "number", s);
    bad("number with NUL", "number", "1" + nul);

    row("positional", "positional", "OK00,P1,3127;3290;200.00", {x, y, 200.0}); // Lv "200.0"
    row("positional dot Lv", "positional", "OK00,P1,3127,3290,.1234,", {x, y, 0.123});
    row("positional OK05", "positional", "OK05,P1,6400,3300,12.34X", {0.64, 0.33, 12.34});
    bad("positional x not digits", "positional", "OK00,P1,31.7;3290;200.00");
    bad("positional truncated", "positional", "OK00,P1,3127;32");
    bad("positional NUL in Lv", "positional", "OK00,P1,3127;3290;20" + nul + ".00");

    row("fma", "fma", "OK00,P1,0,20.00,0.3127,0.3290,200.0000,30.00", {20});
    row("fma short", "fma", "OK00,12.34", {12.34});
    bad("fma padded", "fma", "OK00,  12.34");
    bad("fma text", "fma", "OK00,P1,0,abc,1,2,3,4");

    // The base handler: X = x/y*Lv, Z = (1-x-y)/y*Lv; x = X/(X+Y+Z), y = Y/(X+Y+Z), Lv = Y.
    const QString sync = "OK00,P1,0,0.312700,0.329000,200.0000,0.1978,0.4683";
    row("MES positional", "MES", "OK00,P1,3127,3290,100.0,",
        {x, y, 100, x / y * 100, (1 - x - y) / y * 100, 0});
    row("MES five fields", "MES", sync, {x, y, 200, x / y * 200, (1 - x - y) / y * 200, 0});
    bad("MES five truncated", "MES", sync.left(sync.lastIndexOf(',')));
    bad("MES five extra field", "MES", sync + ",1");
    bad("MES five padded", "MES", "OK00,P1,0, 0.3127,0.329,200,0,0");
    bad("MES five trailing NUL", "MES", sync + nul);
    row("MES in XYZ mode", "MES", "OK00,P1,000020.00;000030.00;000050.00", {0.2, 0.3, 30, 20, 50, 1});
    row("MES y zero", "MES", "OK00,P1,3127,0000,100.0,", {x, 0, 100, NaN, NaN, 0});
    row("MES y near zero", "MES", "OK00,P1,0,0.5,1e-300,1e10,0,0", {0.5, 1e-300, 1e10, NaN, NaN, 0});
    bad("MES letters", "MES", "OK00,P1,abcd,efgh,zzzzzX");
    bad("MES FMA reply", "MES", "OK00,P1,0,20.00,0.3127,0.3290,200.0000,30.00"); // x = 20 is no x
    row("XYZ", "XYZ", "OK00,P1,000020.00,000030.00,000050.00", {0.2, 0.3, 30, 20, 50, 1});
    row("XYZ padded", "XYZ", "OK00,P1,   20.000;   30.000;   50.000", {0.2, 0.3, 30, 20, 50, 1});
    row("XYZ by fields", "XYZ", "OK00,P1,20;30;50", {0.2, 0.3, 30, 20, 50, 1});
    row("XYZ black", "XYZ", "OK00,P1,000000.00,000000.00,000000.00", {NaN, NaN, 0, 0, 0, 1});
    row("XYZ sum overflows", "XYZ", "OK00,P1,1e308;1e308;1e308", {NaN, NaN, 1e308, 1e308, 1e308, 1});
    bad("XYZ four values", "XYZ", "OK00,P1,1,2,3,4");
    bad("XYZ formula", "XYZ", "OK00,P1,1;2;=A1");
    bad("XYZ status only", "XYZ", "OK00");

    const QString list = joined(60, -20.6, ";");
    row("jeita", "jeita", "OK00,-25.65," + list, Values{-25.65} + counted(60, -20.6));
    row("jeita trailing ;", "jeita", "OK04,-70.00," + list + ";", Values{-70} + counted(60, -20.6));
    row("jeita value only", "jeita", "OK00,-31.5", {-31.5});
    bad("jeita line feed", "jeita", "OK00,-25.6,-20.1;-20\n.2");
    bad("jeita space", "jeita", "OK00,-25.6,-20.1; -20.2");
    bad("jeita command formula", "jeita", "OK00,-25.6,-20.1;=cmd|' /C calc'!A0");
    bad("jeita link formula", "jeita", "OK00,-25.6,=HYPERLINK(\"http://x\";\"y\")");
    bad("jeita 61 values", "jeita", "OK00,-25.6," + joined(61, -20, ";"));
    bad("jeita empty list", "jeita", "OK00,-25.6,");
    bad("jeita extra field", "jeita", "OK00,-25.6," + list + ",1");
    bad("jeita NUL", "jeita", "OK00,-25.6,-20.1;" + nul);

    row("samples", "samples", "OK00,JAA:1.5,2,3,", {1.5, 2, 3});
    bad("samples gap", "samples", "OK00,JAA:1,,3,");
    bad("samples no head", "samples", "OK00,1,2,3");
    row("channels", "channels", "OK00,P1,1,2,3;4,5,6,", {1, 4, 2, 5, 3, 6});
    bad("channels truncated", "channels", "OK00,P1,1,2,3;4,5");
    bad("channels extra value", "channels", "OK00,P1,1,2,3;4,5,6,7");
    row("spectrum", "spectrum", "OK00," + joined(401, 1, ","), counted(401, 1));
    bad("spectrum 402 values", "spectrum", "OK00," + joined(402, 1, ","));
    bad("spectrum text", "spectrum", "OK00,1e-3,x");
}

void TestProbeReply::layouts()
{
    QFETCH(QString, layout);
    QFETCH(QString, reply);
    QFETCH(bool, ok);
    QFETCH(Values, numbers);
    const std::optional<Values> got = readAs(layout, reply);
    QCOMPARE(got.has_value(), ok);
    if (!ok)
        return;
    QCOMPARE(got->size(), numbers.size());
    for (int i = 0; i < numbers.size(); ++i) {
        const double a = got->at(i), b = numbers.at(i);
        const bool same =
            std::isnan(b) ? std::isnan(a) : std::fabs(a - b) <= 1e-12 * std::max(1.0, std::fabs(b));
        QVERIFY2(same, qPrintable(QString("value %1 is %2").arg(i).arg(a, 0, 'g', 17)));
    }
}

void TestProbeReply::channelTable_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("line7"); // channel 7; every other line is the factory default
    QTest::addColumn<bool>("ok");
    QTest::addColumn<Values>("white"); // x, y, Lv of channel 7
    const QString panel = "CH:7;Matrix:1.02,0.01,0,0,0.99,0,0,0,1.01;Name:PanelA;Date:2026-12-06 10:00:00;";
    QTest::newRow("100 lines") << 100 << panel + "x:0.3127;y:0.329;Lv:200" << true
                               << Values{0.3127, 0.329, 200};
    QTest::newRow("nan reads 0, inf kept")
        << 100 << panel + "x:nan;y:inf;Lv:-inf" << true << Values{0, INFINITY, -INFINITY};
    QTest::newRow("99 lines") << 99 << panel + "x:0.3127;y:0.329;Lv:200" << false << Values{};
    QTest::newRow("eight matrix values")
        << 100 << "CH:7;Matrix:1,0,0,0,1,0,0,0;Name:;Date:;x:1;y:1;Lv:1" << false << Values{};
    QTest::newRow("formula in x") << 100 << panel + "x:=1+2;y:0.329;Lv:200" << false << Values{};
    QTest::newRow("missing field") << 100 << panel + "x:0.3127;y:0.329" << false << Values{};
}

void TestProbeReply::channelTable()
{
    QFETCH(int, lines);
    QFETCH(QString, line7);
    QFETCH(bool, ok);
    QFETCH(Values, white);
    QString reply = "OK00,";
    for (int ch = 0; ch < lines; ++ch)
        reply +=
            (ch == 7 ? line7
                     : QString("CH:%1;Matrix:1,0,0,0,1,0,0,0,1;Name:;Date:;x:nan;y:nan;Lv:nan").arg(ch)) +
            "\n";
    QVector<ChannelRecord> table;
    QCOMPARE(readChannelTable(reply, &table), ok);
    if (!ok)
        return;
    QCOMPARE(table.size(), lines);
    const ChannelRecord &r = table.at(7);
    QCOMPARE(r.channel, 7);
    QCOMPARE(r.matrix[0], 1.02);
    QCOMPARE(r.matrix[8], 1.01);
    QCOMPARE(r.name, QString("PanelA"));
    QCOMPARE(r.date, QString("2026-12-06 10:00:00"));
    QCOMPARE((Values{r.x, r.y, r.lv}), white);
    QVERIFY(!readChannelTable(reply.replace("OK00", "ER10"), &table));
}

void TestProbeReply::mccamyMatchesPublishedValues()
{
    // Published CCTs of CIE illuminants D65, A, D50; the cubic stays within 20 K of them.
    QVERIFY(std::fabs(mccamyCct(0.31271, 0.32902) - 6504) < 20);
    QVERIFY(std::fabs(mccamyCct(0.44757, 0.40745) - 2856) < 20);
    QVERIFY(std::fabs(mccamyCct(0.34567, 0.35850) - 5003) < 20);
}

void TestProbeReply::nulBytesAreText()
{
    // A NUL byte neither ends the reply nor hides the status behind it.
    const QByteArray bytes("\0ER20,P1,100;", 13);
    QCOMPARE(text(bytes).size(), 13);
    QCOMPARE(errorStatusDigits(text(bytes)), QString("20"));
    QCOMPARE(errorCode(text(bytes)), QString("100"));
    QCOMPARE(rxLine(bytes), QString(" Rx 13--- ") + QChar(0) + "ER20,P1,100;");
    QCOMPARE(txLine("%1%2\r"), QString(" Tx 5--- %1%2\r"));
    QCOMPARE(rxLine(QByteArray("\xB0\xFF", 2)), QString(" Rx 2--- ") + QChar(0xB0) + QChar(0xFF));
}

QTEST_APPLESS_MAIN(TestProbeReply)
#include "tst_probereply.moc"
