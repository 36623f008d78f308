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
    void xyLvLayout_data();
    void xyLvLayout();
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

void TestFlickerLogic::xyLvLayout_data()
{
    QTest::addColumn<QStringList>("row"); // reply, then x and Lv read (none: refused)
    QTest::newRow("five fields") << QStringList{"OK00,P1,0,0.3127,0.3290,100.00,0,0", "0.3127", "100.00"};
    QTest::newRow("padded fields") << QStringList{"OK01,P1,0, 0.3127, 0.3290,  12.5, 0, 0", "0.3127", "12.5"};
    QTest::newRow("four fields") << QStringList{"OK00,P1,0,0.3127,0.3290,100.00,0"};
    QTest::newRow("six fields") << QStringList{"OK00,P1,0,0.3127,0.3290,100.00,0,0,0"};
    QTest::newRow("not a number") << QStringList{"OK00,P1,0,0.31x7,0.3290,100.00,0,0"};
    QTest::newRow("empty lv") << QStringList{"OK00,P1,0,0.3127,0.3290,,0,0"};
    QTest::newRow("short") << QStringList{"OK00"};
    // The plain "MES" reply of modes 0 and 1 (docs/protocol.md): x, y in 1/10000, ";"-separated.
    QTest::newRow("plain MES layout") << QStringList{"OK00,P1,3127;3290;100.00", "0.3127", "100.00"};
    QTest::newRow("plain MES dot lv") << QStringList{"OK00,P1,3127;3290;.1234", "0.3127", "0.1234"};
    QTest::newRow("plain MES wide lv") << QStringList{"OK00,P1,3127;3290;20000.", "0.3127", "20000."};
    QTest::newRow("plain MES dark") << QStringList{"OK00,P1,3127;3290;0.0000", "0.3127", "0.0000"};
    QTest::newRow("plain MES bad") << QStringList{"OK00,P1,31.7;3290;100.00"};
    QTest::newRow("plain MES two fields") << QStringList{"OK00,P1,3127;3290"};
}

void TestFlickerLogic::xyLvLayout()
{
    QFETCH(QStringList, row);
    QString x, y, lv;
    QCOMPARE(parseXyLv(row.first(), &x, &y, &lv), row.size() > 1);
    QCOMPARE(QStringList({x, lv}), row.size() > 1 ? row.mid(1) : QStringList({"", ""}));
}

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
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("row"); // reply, then the FMA value, error code or X,Y,Z read
    const int bright = MesOutcome::Bright, flicker = MesOutcome::Flicker, format = MesOutcome::FormatError;
    const int xyLv = int(Mode::XyLv), xyz = int(Mode::Xyz), fma = int(Mode::Fma);
    const QString white = "95.045600,100.00000,108.90500";
    QTest::newRow("xyLv") << xyLv << bright << QStringList{"OK00,P1,0,0.3127,0.3290,100.00,0,0", ""};
    QTest::newRow("xyLv garbage") << xyLv << format << QStringList{"OK00,P1,0,zz"};
    QTest::newRow("XYZ") << xyz << bright << QStringList{"OK00,P1," + white, white};
    QTest::newRow("XYZ semicolons") << xyz << bright
                                    << QStringList{"OK00,P1,95.045600;100.00000;108.90500", white};
    QTest::newRow("XYZ two values") << xyz << format << QStringList{"OK00,P1,95.045600,100.00000"};
    QTest::newRow("XYZ four values") << xyz << format << QStringList{"OK00,P1,1,2,3,4"};
    QTest::newRow("XYZ garbage") << xyz << format << QStringList{"OK00,P1,abc,def,ghi"};
    QTest::newRow("XYZ reply read as xyLv") << int(Mode::TcpDuv) << format << QStringList{"OK00,P1," + white};
    QTest::newRow("FMA") << fma << flicker
                         << QStringList{"OK00,P1,0,12.34,0.3127,0.3290,100.0,60.00", "12.34"};
    QTest::newRow("FMA short") << fma << flicker << QStringList{"OK00,  12.34", "12.34"};
    QTest::newRow("FMA garbage") << fma << format << QStringList{"OK00,P1,0,abc,1"};
    QTest::newRow("ER20") << xyLv << int(MesOutcome::MeasureError) << QStringList{"ER20", "20"};
    QTest::newRow("ER15 FMA") << fma << int(MesOutcome::MeasureError) << QStringList{"ER15,P1", "15"};
    QTest::newRow("nothing") << xyLv << format << QStringList{""};
}

void TestFlickerLogic::mesOutcome()
{
    QFETCH(int, mode);
    QFETCH(int, kind);
    QFETCH(QStringList, row);
    const MesOutcome o = handleMesReply(row.first(), Mode(mode), "5");
    QCOMPARE(int(o.kind), kind);
    if (kind == MesOutcome::Flicker)
        QCOMPARE(o.fma, row.last());
    if (kind == MesOutcome::MeasureError)
        QCOMPARE(o.errCode, row.last());
    if (kind == MesOutcome::Bright)
        QCOMPARE(o.record.ctt, QString("5"));
    if (kind == MesOutcome::Bright && mode == int(Mode::Xyz))
        QCOMPARE(QStringList({o.record.X, o.record.Y, o.record.Z}).join(','), row.last());
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
    QCOMPARE(QVariantList({j.ok, j.failed, j.value, j.perHz.size(), j.errText}),
             QVariantList({ok, failed, value, count, err}));
    if (count == 60)
        QCOMPARE(j.perHz.first() + j.perHz.last(), QString("-20.6-26.5"));
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
    // A blank inside a cell becomes a field separator; an unwritable path says why.
    QString text;
    QTextStream out(&text);
    writeTableCsv(out, {"A"}, {{"1", {"a b"}}, {"", {"never filled"}}});
    out.flush();
    QCOMPARE(text, QString(" ,A,\n1,a,b,\n"));
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
