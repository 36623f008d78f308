// The Measure tab's logic without widgets: reply parsers, record derivation, row formatting,
// the record model of the result tables, series bookkeeping and the CSV export (written to a
// real file and parsed back).
#include "flickerlogic.h"
#include "flickertable.h"

#include <QAbstractItemModelTester>

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

using namespace FlickerLogic;

class TestFlickerLogic : public QObject
{
    Q_OBJECT
private slots:
    void recordFromXyLvDerivesTheRest();
    void mesOutcome_data();
    void mesOutcome();
    void jad_data();
    void jad();
    void tableCellsAreTheRowTexts();
    void modelAppendDeleteCopyClear();
    void exportThroughTheModel();
    void seriesKeepsOrderAndDropsConsumed();
};

void TestFlickerLogic::recordFromXyLvDerivesTheRest()
{
    // CIE 15:2004 D65: x 0.31271, y 0.32902, Duv about +0.0032 (Tcp and u', v' are checked in
    // the export below).
    const Record r = recordFromXyLv("0.31271", "0.32902", "100", "12");
    QCOMPARE(r.Y + "/" + r.ctt, QString("100/12"));
    QVERIFY(std::fabs(r.X.toDouble() - 0.31271 / 0.32902 * 100) < 1e-3);
    QVERIFY(std::fabs(r.Z.toDouble() - (1 - 0.31271 - 0.32902) / 0.32902 * 100) < 1e-3);
    QVERIFY2(std::fabs(r.Duv.toDouble() - 0.0032) < 3e-4, qPrintable(r.Duv));
    QVERIFY(!r.waveLength.isEmpty());
    // Below 1e-6 cd/m² everything reads 0.0, and beyond the locus Z cannot be negative.
    const Record dark = recordFromXyLv("0.3127", "0.3290", "0.0000001", "0");
    QCOMPARE(QStringList({dark.X, dark.Y, dark.Z, dark.x, dark.y}).join(" "), QString("0.0 0.0 0.0 0.0 0.0"));
    QCOMPARE(recordFromXyLv("0.7", "0.31", "10", "0").Z, QString("0.0"));
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

void TestFlickerLogic::tableCellsAreTheRowTexts()
{
    // The model's cells are exactly the row texts the page has always shown and exported.
    const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7));
    const ModeSummary summary{"INT:59.94[Hz]", "Fast", "10", "Single-Frame"};
    MeasurementModel bright, flicker, jeita;
    bright.setColumns(FlickerTable::brightColumns());
    QCOMPARE(bright.titles(), brightHeaders());
    for (const char *lv : {"100", "0.0000001"}) {
        const Record r = recordFromXyLv("0.31271", "0.32902", lv, "37");
        bright.append(FlickerTable::brightRecord(r, summary, when));
        QCOMPARE(bright.rowTexts(bright.recordCount() - 1), brightRow(r, summary, when));
    }
    // Tcp with no decimals, duv with four, Date and Time; a dark reading has no temperature.
    QCOMPARE(bright.cellText(0, 8), QString::number(bright.cellText(0, 8).toInt()));
    QCOMPARE(bright.rowTexts(0).mid(12),
             QStringList({"37", "INT:59.94[Hz]", "Fast", "10", "Single-Frame", "2026/03/04", "05:06:07"}));
    QCOMPARE(bright.cellText(1, 8), QString("--"));
    flicker.setColumns(FlickerTable::flickerColumns(false));
    flicker.append(FlickerTable::fmaRecord("3.5", "", when));
    QCOMPARE(flicker.titles() + flicker.rowTexts(0),
             flickerHeaders(false) + QStringList({"3.5", "", "2026/03/04", "05:06:07"}));
    jeita.setColumns(FlickerTable::flickerColumns(true));
    QCOMPARE(jeita.titles().mid(59), QStringList({"64Hz", "65Hz", "ErrCode", "Date", "Time"}));
    for (const char *reply : {"ER20", "OK04,-70.1234567,-1;-2"}) {
        const JeitaOutcome j = handleJadReply(reply);
        jeita.append(FlickerTable::jeitaRecord(j, "translated", when));
        QCOMPARE(jeita.rowTexts(jeita.recordCount() - 1), jeitaRow(j, "translated", when));
    }
    // An error shows "-" and its code; out of range keeps the value (6 digits) and the text.
    QCOMPARE(jeita.cellText(0, 0) + jeita.cellText(0, 61), QString("-20"));
    QCOMPARE(jeita.rowTexts(1).mid(0, 4) << jeita.cellText(1, 61),
             QStringList({"-70.1235", "-1", "-2", "", "translated"}));
}

void TestFlickerLogic::modelAppendDeleteCopyClear()
{
    MeasurementModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    m.setColumns({{"n", [](const MeasurementModel::Record &r) { return QString::number(r.numbers.at(0)); }},
                  {"t", MeasurementModel::text(0)},
                  {"f", MeasurementModel::fixed(1, 2)}});
    m.setMinimumRows(20);
    QCOMPARE(m.rowCount(), 20);
    for (int i = 0; i < 25; ++i)
        QCOMPARE(m.append({{double(i), i % 2 ? 0.125 : std::nan("")}, {QString("r%1").arg(i)}, 0}), i + 1);
    QCOMPARE(m.rowCount(), 25);
    QCOMPARE(m.headerData(24, Qt::Vertical).toString(), QString("25"));
    QCOMPARE(m.data(m.index(3, 2)).toString() + m.data(m.index(4, 2)).toString(), QString("0.13--"));

    // Scattered and repeated rows, one past the end: removed once each, the rest keeps its order.
    QCOMPARE(m.removeRecords({10, 1, 3, 1, 99}), QVector<int>({1, 3, 10}));
    QCOMPARE(m.recordCount(), 22);
    QCOMPARE(QStringList({m.cellText(1, 1), m.cellText(2, 1), m.cellText(8, 1)}),
             QStringList({"r2", "r4", "r11"}));
    QCOMPARE(m.headerData(21, Qt::Vertical).toString(), QString("22"));
    // A single row, then enough that blank rows come back below the records.
    QCOMPARE(m.removeRecords({0}), QVector<int>({0}));
    QCOMPARE(m.cellText(0, 1), QString("r2"));
    m.removeRecords({0, 1, 2, 3, 4});
    QCOMPARE(
        QVariantList({m.rowCount(), m.recordCount(), m.headerData(16, Qt::Vertical), m.data(m.index(17, 1))}),
        QVariantList({20, 16, QString(), QVariant()}));

    // Copy: cells in row and column order, whatever order they were selected in.
    const QString copied = m.copyText({m.index(1, 1), m.index(0, 1), m.index(0, 0), m.index(1, 0)});
    QCOMPARE(copied, QString("8\tr8\n9\tr9\n"));
    m.clear();
    QCOMPARE(QVariantList({m.rowCount(), m.recordCount(), m.headerData(0, Qt::Vertical)}),
             QVariantList({20, 0, QString()}));
}

void TestFlickerLogic::exportThroughTheModel()
{
    // Three readings, the middle one deleted: the file has rows 1 and 2, renumbered, with the
    // values worked out by hand from x, y, Lv.
    MeasurementModel m;
    m.setColumns(FlickerTable::brightColumns());
    const QDateTime when(QDate(2026, 5, 6), QTime(7, 8, 9));
    m.append(FlickerTable::brightRecord(recordFromXyLv("0.31271", "0.32902", "100", "7"),
                                        {"s", "Fast", "1", "i"}, when));
    m.append(FlickerTable::brightRecord(recordFromXyLv("0.64", "0.33", "21.26", "8"), {}, when));
    m.append(FlickerTable::brightRecord(recordFromXyLv("0.15", "0.06", "7.22", "9"), {}, when.addSecs(1)));
    m.removeRecords({1});
    QTemporaryDir dir;
    const QString path = dir.filePath("b.csv");
    QVERIFY(saveTableCsv(path, m.titles(), FlickerTable::exportRows(m), brightExportCells));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QCOMPARE(lines.size(), 4); // header, two rows, the empty rest after the last "\n"
    QCOMPARE(lines.at(0), QString(" ," + brightHeaders().join(',') + ",").toUtf8());
    const double xs[] = {0.31271, 0.15}, ys[] = {0.32902, 0.06}, lvs[] = {100, 7.22};
    for (int r = 0; r < 2; ++r) {
        const QStringList f = QString::fromUtf8(lines.at(r + 1)).split(',');
        QCOMPARE(QString::number(f.size()) + ":" + f.at(0), QString("21:%1").arg(r + 1)); // 1 + 19 + 1 fields
        const double x = xs[r], y = ys[r], lv = lvs[r], d = -2 * x + 12 * y + 3;
        QVERIFY(std::fabs(f.at(1).toDouble() - x / y * lv) < 1e-3 * lv);
        QVERIFY(std::fabs(f.at(3).toDouble() - (1 - x - y) / y * lv) < 1e-3 * lv);
        QCOMPARE(f.at(6), f.at(2)); // Lv is Y
        // u', v' with 6 significant digits, not the 4 decimals the table shows.
        QVERIFY2(std::fabs(f.at(7).toDouble() - 4 * x / d) < 2e-6, qPrintable(f.at(7)));
        QVERIFY2(std::fabs(f.at(8).toDouble() - 9 * y / d) < 2e-6, qPrintable(f.at(8)));
        QCOMPARE(f.at(13), QString::number(7 + 2 * r));
        QCOMPARE(f.at(18) + " " + f.at(19), QString(r == 0 ? "2026/05/06 07:08:09" : "2026/05/06 07:08:10"));
    }
    // D65: 6504 K by CIE 15 (our table reads a couple of kelvin high), with a decimal part.
    const QStringList first = QString::fromUtf8(lines.at(1)).split(',');
    QVERIFY2(std::fabs(first.at(9).toDouble() - 6504) < 4 && first.at(9).contains('.'),
             qPrintable(first.at(9)));
    QCOMPARE(first.mid(14, 4), QStringList({"s", "Fast", "1", "i"}));
    // A blank inside a cell becomes a field separator, a line break in any text a blank (no
    // cell can add a line); an unwritable path says why.
    QString text;
    QTextStream out(&text);
    writeTableCsv(out, {"A\n"}, {{"1\r", {"a b", "c\r\nd"}}, {"", {"never filled"}}});
    out.flush();
    QCOMPARE(text, QString(" ,A ,\n1 ,a,b,c,,d,\n"));
    QString error;
    QVERIFY(!saveTableCsv("/proc/none/x.csv", {"A"}, {}, {}, &error) && !error.isEmpty());
}

void TestFlickerLogic::seriesKeepsOrderAndDropsConsumed()
{
    SeriesBook book;
    book.start(3);
    // Results arrive before the first is consumed; each consumed one is gone from the book.
    for (int i = 0; i < 4; ++i)
        book.append(QString("r%1").arg(i), QString::number(10 + i));
    QCOMPARE(book.pendingCount(), 4);
    QCOMPARE(book.takeNext().reply, QString("r0"));
    QCOMPARE(book.takeNext().dt, QString("11"));
    QCOMPARE(book.pendingCount(), 2);
    QVERIFY(!book.complete());
    QCOMPARE(book.takeNext().reply, QString("r2"));
    QVERIFY(book.complete());
    QCOMPARE(book.takeNext().reply, QString("r3"));
    QCOMPARE(QVariantList({book.remaining(), book.processed(), book.pendingCount()}),
             QVariantList({0, 4, 0}));
    QCOMPARE(book.takeNext().reply, QString());
}

QTEST_GUILESS_MAIN(TestFlickerLogic)
#include "tst_flickerlogic.moc"
