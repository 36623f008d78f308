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
    // The layouts themselves are tabled in tst_probereply; here: which layout each mode takes.
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("X");      // Bright: X of the record (x/y*Lv by hand for xyLv layouts)
    QTest::addColumn<QString>("extra"); // Flicker: FMA text; MeasureError: code
    const auto row = [](const char *tag, const QString &reply, Mode mode, int kind, double X,
                        const QString &extra) {
        QTest::newRow(tag) << reply << int(mode) << kind << X << extra;
    };
    const QString sync = "OK00,P1,0,0.312700,0.329000,200.0000,0.1978,0.4683";
    const double X = 0.3127 / 0.329 * 200;
    row("xyLv five fields", sync, Mode::XyLv, MesOutcome::Bright, X, "");
    row("xyLv plain MES", "OK00,P1,3127;3290;.1234", Mode::TcpDuv, MesOutcome::Bright, X / 200 * 0.1234, "");
    row("XYZ mode, MES,1 x,y,Lv", sync, Mode::Xyz, MesOutcome::Bright, X, "");
    row("XYZ mode, XYZ layout", "OK00,P1,95.045600;100.00000;108.90500", Mode::Xyz, MesOutcome::Bright,
        95.0456, "");
    row("XYZ layout in xyLv mode", "OK00,P1,95.045600;100.00000;108.90500", Mode::XyLv,
        MesOutcome::FormatError, 0, "");
    row("FMA", "OK00,P1,0,12.34,0.3127,0.3290,100.0,60.00", Mode::Fma, MesOutcome::Flicker, 0, "12.34");
    row("FMA formula", "OK00,=1+2", Mode::Fma, MesOutcome::FormatError, 0, "");
    row("ER20", "ER20,P1,100;", Mode::XyLv, MesOutcome::MeasureError, 0, "20");
    row("ER15 FMA", "ER15,P1", Mode::Fma, MesOutcome::MeasureError, 0, "15");
    row("ER without digits", "ER=c", Mode::Fma, MesOutcome::FormatError, 0, "");
    row("nothing", "", Mode::XyLv, MesOutcome::FormatError, 0, "");
}

void TestFlickerLogic::mesOutcome()
{
    QFETCH(QString, reply);
    QFETCH(int, mode);
    QFETCH(int, kind);
    QFETCH(double, X);
    QFETCH(QString, extra);
    const MesOutcome o = handleMesReply(reply, Mode(mode), "5");
    QCOMPARE(int(o.kind), kind);
    QCOMPARE(kind == MesOutcome::Flicker ? o.fma : o.errCode, extra);
    if (kind == MesOutcome::Bright) {
        QVERIFY2(std::fabs(o.record.X.toDouble() - X) < 1e-5 * X, qPrintable(o.record.X));
        QCOMPARE(o.record.ctt, QString("5"));
    }
}

void TestFlickerLogic::jad_data()
{
    QStringList list;
    for (int hz = 6; hz <= 65; ++hz)
        list << QString::number(-20.0 - hz / 10.0);
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("outcome"); // the flags set: "ok", "failed", "format"
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("err");
    const auto row = [](const char *tag, const QString &reply, const char *outcome, int count,
                        const char *err) {
        QTest::newRow(tag) << reply << QString(outcome) << count << QString(err);
    };
    row("ok", "OK00,-25.60," + list.join(';'), "ok", 60, "");
    row("out of range", "OK04,-70.00," + list.join(';'), "ok", 60, "Outside of measurement range!");
    row("error", "ER22,P1,203;", "ok failed", 0, "22");
    row("unsplittable", "OK00", "failed", 0, "");
    row("no status", "-25.6", "failed", 0, "");
    row("garbage list", "OK00,-25.6,abc", "format", 0, "");
    row("formula", "OK00,-25.6,=cmd|' /C calc'!A0;-20", "format", 0, "");
    row("ER without digits", "ER=c", "format", 0, "");
}

void TestFlickerLogic::jad()
{
    QFETCH(QString, reply);
    QFETCH(QString, outcome);
    QFETCH(int, count);
    QFETCH(QString, err);
    const JeitaOutcome j = handleJadReply(reply);
    QCOMPARE(j.ok, outcome.contains("ok"));
    QCOMPARE(j.failed, outcome.contains("failed"));
    QCOMPARE(j.formatError, outcome == "format");
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
    // A blank inside a cell becomes a field separator; a line break in any text a blank.
    QString text;
    QTextStream out(&text);
    writeTableCsv(out, {"A\n"}, {{"1\r", {"a b", "c\r\nd"}}});
    out.flush();
    QCOMPARE(text, QString(" ,A ,\n1 ,a,b,c,,d,\n"));
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
