// The Measure tab's logic without widgets: reply parsers, record derivation, row formatting,
// series bookkeeping and the CSV export (written to a real file and parsed back).
#include "flickerlogic.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

using namespace FlickerLogic;

class TestFlickerLogic : public QObject
{
    Q_OBJECT
private slots:
    void xyLvLayout_data();
    void xyLvLayout();
    void xyzLayout_data();
    void xyzLayout();
    void recordFromD65();
    void recordDarkAndBeyondLocus();
    void mesOutcome_data();
    void mesOutcome();
    void jad_data();
    void jad();
    void brightRowFormats();
    void jeitaRowShowsDashOnError();
    void seriesKeepsArrivalOrder();
    void seriesRemainingNeverNegative();
    void csvRoundTrip();
    void csvBrightExportRecomputes();
    void csvUnwritable();
};

void TestFlickerLogic::xyLvLayout_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("x0");
    QTest::addColumn<QString>("lv0");
    QTest::newRow("five fields") << "OK00,P1,0,0.3127,0.3290,100.00,0,0" << true << "0.3127"
                                 << "100.00";
    QTest::newRow("padded fields") << "OK01,P1,0, 0.3127, 0.3290,  12.5, 0, 0" << true << "0.3127"
                                   << "12.5";
    QTest::newRow("four fields") << "OK00,P1,0,0.3127,0.3290,100.00,0" << false << ""
                                 << "";
    QTest::newRow("six fields") << "OK00,P1,0,0.3127,0.3290,100.00,0,0,0" << false << ""
                                << "";
    QTest::newRow("not a number") << "OK00,P1,0,0.31x7,0.3290,100.00,0,0" << false << ""
                                  << "";
    QTest::newRow("empty lv") << "OK00,P1,0,0.3127,0.3290,,0,0" << false << ""
                              << "";
    QTest::newRow("short") << "OK00" << false << ""
                           << "";
    // The plain "MES" reply of modes 0 and 1 (docs/protocol.md): x, y in 1/10000, ";"-separated.
    QTest::newRow("plain MES layout") << "OK00,P1,3127;3290;100.00" << true << "0.3127"
                                      << "100.00";
    QTest::newRow("plain MES dot lv") << "OK00,P1,3127;3290;.1234" << true << "0.3127"
                                      << "0.1234";
    QTest::newRow("plain MES wide lv") << "OK00,P1,3127;3290;20000." << true << "0.3127"
                                       << "20000.";
    QTest::newRow("plain MES dark") << "OK00,P1,3127;3290;0.0000" << true << "0.3127"
                                    << "0.0000";
    QTest::newRow("plain MES bad") << "OK00,P1,31.7;3290;100.00" << false << ""
                                   << "";
    QTest::newRow("plain MES two fields") << "OK00,P1,3127;3290" << false << ""
                                          << "";
}

void TestFlickerLogic::xyLvLayout()
{
    QFETCH(QString, reply);
    QFETCH(bool, ok);
    QString x, y, lv;
    QFETCH(QString, x0);
    QFETCH(QString, lv0);
    QCOMPARE(parseXyLv(reply, &x, &y, &lv), ok);
    QCOMPARE(x, x0);
    QCOMPARE(lv, lv0);
}

void TestFlickerLogic::xyzLayout_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("ok");
    QTest::newRow("positional") << "OK00,P1,95.045600,100.00000,108.90500" << true;
    QTest::newRow("semicolons") << "OK00,P1,95.045600;100.00000;108.90500" << true;
    QTest::newRow("two values") << "OK00,P1,95.045600,100.00000" << false;
    QTest::newRow("four values") << "OK00,P1,1,2,3,4" << false;
    QTest::newRow("garbage") << "OK00,P1,abc,def,ghi" << false;
}

void TestFlickerLogic::xyzLayout()
{
    QFETCH(QString, reply);
    QFETCH(bool, ok);
    QString X, Y, Z;
    QCOMPARE(parseXyz(reply, &X, &Y, &Z), ok);
    if (ok) {
        QCOMPARE(X, QString("95.045600"));
        QCOMPARE(Y, QString("100.00000"));
        QCOMPARE(Z, QString("108.90500"));
    }
}

void TestFlickerLogic::recordFromD65()
{
    // CIE 15:2004 D65: x 0.31271, y 0.32902, Tcp 6504 K, Duv about +0.0032. The program's
    // 380-780 nm table reads about 2 K high at this temperature.
    const Record r = recordFromXyLv("0.31271", "0.32902", "100", "12");
    QCOMPARE(r.Y, QString("100"));
    QCOMPARE(r.ctt, QString("12"));
    QVERIFY(std::fabs(r.X.toDouble() - 0.31271 / 0.32902 * 100) < 1e-3);
    QVERIFY(std::fabs(r.Z.toDouble() - (1 - 0.31271 - 0.32902) / 0.32902 * 100) < 1e-3);
    QVERIFY2(std::fabs(r.Tcp.toDouble() - 6504) < 4, qPrintable(r.Tcp));
    QVERIFY2(std::fabs(r.Duv.toDouble() - 0.0032) < 3e-4, qPrintable(r.Duv));
    // u' = 4x/(-2x+12y+3), v' = 9y/(-2x+12y+3).
    const double d = -2 * 0.31271 + 12 * 0.32902 + 3;
    QVERIFY(std::fabs(r.u.toDouble() - 4 * 0.31271 / d) < 1e-5);
    QVERIFY(std::fabs(r.v.toDouble() - 9 * 0.32902 / d) < 1e-5);
    QVERIFY(!r.waveLength.isEmpty());
}

void TestFlickerLogic::recordDarkAndBeyondLocus()
{
    const Record dark = recordFromXyLv("0.3127", "0.3290", "0.0000001", "0");
    QCOMPARE(dark.X, QString("0.0"));
    QCOMPARE(dark.Y, QString("0.0"));
    QCOMPARE(dark.Z, QString("0.0"));
    QCOMPARE(dark.x, QString("0.0"));
    QCOMPARE(dark.y, QString("0.0"));
    // X = Y = Z = 0 cannot give a temperature: the row must show "--", not a number.
    QCOMPARE(fixedOrDash(dark.Tcp, 0), QString("--"));
    const Record edge = recordFromXyLv("0.7", "0.31", "10", "0");
    QCOMPARE(edge.Z, QString("0.0"));
}

void TestFlickerLogic::mesOutcome_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("extra");
    QTest::newRow("xyLv") << "OK00,P1,0,0.3127,0.3290,100.00,0,0" << int(Mode::XyLv)
                          << int(MesOutcome::Bright) << "";
    QTest::newRow("xyLv garbage") << "OK00,P1,0,zz" << int(Mode::XyLv) << int(MesOutcome::FormatError) << "";
    QTest::newRow("XYZ") << "OK00,P1,95.045600,100.00000,108.90500" << int(Mode::Xyz)
                         << int(MesOutcome::Bright) << "";
    QTest::newRow("XYZ reply read as xyLv")
        << "OK00,P1,95.045600,100.00000,108.90500" << int(Mode::TcpDuv) << int(MesOutcome::FormatError) << "";
    QTest::newRow("FMA") << "OK00,P1,0,12.34,0.3127,0.3290,100.0,60.00" << int(Mode::Fma)
                         << int(MesOutcome::Flicker) << "12.34";
    QTest::newRow("FMA short") << "OK00,  12.34" << int(Mode::Fma) << int(MesOutcome::Flicker) << "12.34";
    QTest::newRow("FMA garbage") << "OK00,P1,0,abc,1" << int(Mode::Fma) << int(MesOutcome::FormatError) << "";
    QTest::newRow("ER20") << "ER20" << int(Mode::XyLv) << int(MesOutcome::MeasureError) << "20";
    QTest::newRow("ER15 FMA") << "ER15,P1" << int(Mode::Fma) << int(MesOutcome::MeasureError) << "15";
    QTest::newRow("nothing") << "" << int(Mode::XyLv) << int(MesOutcome::FormatError) << "";
}

void TestFlickerLogic::mesOutcome()
{
    QFETCH(QString, reply);
    QFETCH(int, mode);
    QFETCH(int, kind);
    QFETCH(QString, extra);
    const MesOutcome o = handleMesReply(reply, Mode(mode), "5");
    QCOMPARE(int(o.kind), kind);
    if (kind == MesOutcome::Flicker)
        QCOMPARE(o.fma, extra);
    if (kind == MesOutcome::MeasureError)
        QCOMPARE(o.errCode, extra);
    if (kind == MesOutcome::Bright)
        QCOMPARE(o.record.ctt, QString("5"));
}

void TestFlickerLogic::jad_data()
{
    QStringList list;
    for (int hz = 6; hz <= 65; ++hz)
        list << QString::number(-20.0 - hz / 10.0);
    const QString joined = list.join(';');
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("failed");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("err");
    QTest::newRow("ok") << "OK00,-25.60," + joined << true << false << "-25.60" << 60 << "";
    QTest::newRow("ok trailing ;") << "OK00,-25.60," + joined + ";" << true << false << "-25.60" << 60 << "";
    QTest::newRow("out of range") << "OK04,-70.00," + joined << true << false << "-70.00" << 60
                                  << "Outside of measurement range!";
    QTest::newRow("value only") << "OK00,-31.5" << true << false << "-31.5" << 0 << "";
    QTest::newRow("error") << "ER22" << true << true << "" << 0 << "22";
    QTest::newRow("unsplittable") << "OK00" << false << true << "" << 0 << "";
    QTest::newRow("garbage list") << "OK00,abc" << false << true << "" << 0 << "";
}

void TestFlickerLogic::jad()
{
    QFETCH(QString, reply);
    QFETCH(bool, ok);
    QFETCH(bool, failed);
    QFETCH(QString, value);
    QFETCH(int, count);
    QFETCH(QString, err);
    const JeitaOutcome j = handleJadReply(reply);
    QCOMPARE(j.ok, ok);
    QCOMPARE(j.failed, failed);
    QCOMPARE(j.value, value);
    QCOMPARE(j.perHz.size(), count);
    QCOMPARE(j.errText, err);
    if (count == 60) {
        QCOMPARE(j.perHz.first(), QString("-20.6"));
        QCOMPARE(j.perHz.last(), QString("-26.5"));
    }
}

void TestFlickerLogic::brightRowFormats()
{
    Record r;
    r.X = "95.0456";
    r.Y = "100";
    r.Z = "108.906";
    r.x = "0.3127";
    r.y = "0.329";
    r.ctt = "37";
    r.u = "0.197839";
    r.v = "0.468336";
    r.Tcp = "6505.6";
    r.Duv = "0.00321";
    r.waveLength = "nan";
    r.purity = "12.345";
    const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7));
    const QStringList row = brightRow(r, {"INT:59.94[Hz]", "Fast", "10", "Single-Frame"}, when);
    QCOMPARE(row.size(), brightHeaders().size());
    QCOMPARE(row.size(), 19);
    QCOMPARE(row.mid(0, 6), QStringList({"95.0456", "100", "108.906", "0.3127", "0.329", "100"}));
    QCOMPARE(row.mid(6, 7), QStringList({"0.1978", "0.4683", "6506", "0.0032", "--", "12.35", "37"}));
    QCOMPARE(row.mid(13, 4), QStringList({"INT:59.94[Hz]", "Fast", "10", "Single-Frame"}));
    QCOMPARE(row.at(17), QString("2026/03/04"));
    QCOMPARE(row.at(18), QString("05:06:07"));
    QCOMPARE(fmaRow("3.5", "", when), QStringList({"3.5", "", "2026/03/04", "05:06:07"}));
    QCOMPARE(flickerHeaders(true).size(), 64);
    QCOMPARE(flickerHeaders(true).at(1), QString("6Hz"));
    QCOMPARE(flickerHeaders(true).at(60), QString("65Hz"));
    QCOMPARE(flickerHeaders(false).size(), 4);
}

void TestFlickerLogic::jeitaRowShowsDashOnError()
{
    const QDateTime when(QDate(2026, 1, 2), QTime(3, 4, 5));
    const QStringList err = jeitaRow(handleJadReply("ER20"), "X", when);
    QCOMPARE(err.size(), 64);
    QCOMPARE(err.first(), QString("-"));
    QCOMPARE(err.at(61), QString("20"));
    const QStringList range = jeitaRow(handleJadReply("OK04,-70.1234567,-1;-2"), "translated", when);
    QCOMPARE(range.first(), QString("-70.1235"));
    QCOMPARE(range.at(1), QString("-1"));
    QCOMPARE(range.at(3), QString(""));
    QCOMPARE(range.at(61), QString("translated"));
}

void TestFlickerLogic::seriesKeepsArrivalOrder()
{
    SeriesBook book;
    book.start(5);
    QCOMPARE(book.remaining(), 5);
    // Three results arrive before the first is consumed.
    book.append("r0", "10");
    book.append("r1", "11");
    book.append("r2", "12");
    QStringList seen;
    while (book.hasNext())
        seen << book.takeNext().reply;
    QCOMPARE(seen, QStringList({"r0", "r1", "r2"}));
    QCOMPARE(book.remaining(), 2);
    QVERIFY(!book.complete());
    book.append("r3", "13");
    book.append("r4", "14");
    QCOMPARE(book.takeNext().dt, QString("13"));
    QCOMPARE(book.takeNext().reply, QString("r4"));
    QVERIFY(book.complete());
    QCOMPARE(book.remaining(), 0);
}

void TestFlickerLogic::seriesRemainingNeverNegative()
{
    SeriesBook book;
    book.start(2);
    for (int i = 0; i < 4; ++i)
        book.append(QString::number(i), "0");
    for (int i = 0; i < 4; ++i)
        book.takeNext();
    QCOMPARE(book.remaining(), 0);
    QCOMPARE(book.processed(), 4);
    QVERIFY(!book.hasNext());
    QCOMPARE(book.takeNext().reply, QString());
}

static QList<QStringList> readCsv(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> lines;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (!line.isEmpty())
            lines << QString::fromUtf8(line).split(',');
    }
    return lines;
}

void TestFlickerLogic::csvRoundTrip()
{
    const QStringList headers = flickerHeaders(false);
    QVector<TableRow> rows{{"1", {"3.5", "", "2026/03/04", "05:06:07"}},
                           {"", {"", "", "", ""}},
                           {"2", {"4.25", "OK", "2026/03/04", "05:06:08"}}};
    QTemporaryDir dir;
    const QString path = dir.filePath("m.csv");
    QVERIFY(saveTableCsv(path, headers, rows));
    const QList<QStringList> lines = readCsv(path);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0), QStringList({" ", "FMA(%)", "ErrCode", "Date", "Time", ""}));
    QCOMPARE(lines.at(1), QStringList({"1", "3.5", "", "2026/03/04", "05:06:07", ""}));
    QCOMPARE(lines.at(2), QStringList({"2", "4.25", "OK", "2026/03/04", "05:06:08", ""}));
    // A blank inside a cell becomes a field separator.
    QString text;
    QTextStream out(&text);
    writeTableCsv(out, {"A"}, {{"1", {"a b"}}});
    out.flush();
    QCOMPARE(text, QString(" ,A,\n1,a,b,\n"));
}

void TestFlickerLogic::csvBrightExportRecomputes()
{
    const Record r = recordFromXyLv("0.31271", "0.32902", "100", "7");
    const QStringList cells = brightRow(r, {}, QDateTime::currentDateTime());
    QTemporaryDir dir;
    const QString path = dir.filePath("b.csv");
    QVERIFY(saveTableCsv(path, brightHeaders(), {{"1", cells}}, brightExportCells));
    const QList<QStringList> lines = readCsv(path);
    QCOMPARE(lines.size(), 2);
    const QStringList &row = lines.at(1);
    QCOMPARE(row.size(), 1 + 19 + 1);
    QCOMPARE(row.at(1), r.X);
    // u', v', Tcp, duv carry 6 significant digits, not the 4/0 decimals of the display.
    QCOMPARE(row.at(7), r.u);
    QCOMPARE(row.at(8), r.v);
    QCOMPARE(row.at(9), r.Tcp);
    QCOMPARE(row.at(10), r.Duv);
    QVERIFY(row.at(9).contains('.'));
    QCOMPARE(row.at(11), cells.at(10));
}

void TestFlickerLogic::csvUnwritable()
{
    QString error;
    QVERIFY(!saveTableCsv("/proc/none/x.csv", {"A"}, {}, {}, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestFlickerLogic)
#include "tst_flickerlogic.moc"
