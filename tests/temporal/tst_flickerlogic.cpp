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
    void xyzLayout_data();
    void xyzLayout();
    void recordFromD65();
    void recordDarkAndBeyondLocus();
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

void TestFlickerLogic::tableCellsAreTheRowTexts()
{
    // The model's cells are exactly the row texts the page has always shown and exported.
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
    const ModeSummary summary{"INT:59.94[Hz]", "Fast", "10", "Single-Frame"};
    const QStringList row = brightRow(r, summary, when);
    QCOMPARE(row.mid(0, 6), QStringList({"95.0456", "100", "108.906", "0.3127", "0.329", "100"}));
    QCOMPARE(row.mid(6, 7), QStringList({"0.1978", "0.4683", "6506", "0.0032", "--", "12.35", "37"}));
    QCOMPARE(row.mid(13),
             QStringList({"INT:59.94[Hz]", "Fast", "10", "Single-Frame", "2026/03/04", "05:06:07"}));

    MeasurementModel bright, flicker, jeita;
    bright.setColumns(FlickerTable::brightColumns());
    bright.append(FlickerTable::brightRecord(r, summary, when));
    QCOMPARE(bright.titles(), brightHeaders());
    QCOMPARE(bright.rowTexts(0), row);
    flicker.setColumns(FlickerTable::flickerColumns(false));
    flicker.append(FlickerTable::fmaRecord("3.5", "", when));
    QCOMPARE(flicker.titles(), flickerHeaders(false));
    QCOMPARE(flicker.rowTexts(0), QStringList({"3.5", "", "2026/03/04", "05:06:07"}));
    jeita.setColumns(FlickerTable::flickerColumns(true));
    QCOMPARE(jeita.titles().size(), 64);
    QCOMPARE(jeita.titles().at(60), QString("65Hz"));
    for (const char *reply : {"ER20", "OK04,-70.1234567,-1;-2"}) {
        const JeitaOutcome j = handleJadReply(reply);
        jeita.append(FlickerTable::jeitaRecord(j, "translated", when));
        QCOMPARE(jeita.rowTexts(jeita.recordCount() - 1), jeitaRow(j, "translated", when));
    }
    // An error shows "-" and its code; out of range keeps the value (6 digits) and the text.
    QCOMPARE(jeita.cellText(0, 0), QString("-"));
    QCOMPARE(jeita.cellText(0, 61), QString("20"));
    QCOMPARE(jeita.rowTexts(1).mid(0, 4), QStringList({"-70.1235", "-1", "-2", ""}));
    QCOMPARE(jeita.cellText(1, 61), QString("translated"));
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
    QCOMPARE(m.data(m.index(3, 2)).toString(), QString("0.13"));
    QCOMPARE(m.data(m.index(4, 2)).toString(), QString("--"));

    // Scattered and repeated rows, one past the end: removed once each, the rest keeps its order.
    QCOMPARE(m.removeRecords({10, 1, 3, 1, 99}), QVector<int>({1, 3, 10}));
    QCOMPARE(m.recordCount(), 22);
    QCOMPARE(m.cellText(1, 1), QString("r2"));
    QCOMPARE(m.cellText(2, 1), QString("r4"));
    QCOMPARE(m.cellText(8, 1), QString("r11"));
    QCOMPARE(m.headerData(21, Qt::Vertical).toString(), QString("22"));
    // A single row, then enough that blank rows come back below the records.
    QCOMPARE(m.removeRecords({0}), QVector<int>({0}));
    QCOMPARE(m.cellText(0, 1), QString("r2"));
    m.removeRecords({0, 1, 2, 3, 4});
    QCOMPARE(m.rowCount(), 20);
    QCOMPARE(m.recordCount(), 16);
    QCOMPARE(m.headerData(16, Qt::Vertical).toString(), QString());
    QCOMPARE(m.data(m.index(17, 1)), QVariant());

    // Copy: cells in row and column order, whatever order they were selected in.
    const QString copied = m.copyText({m.index(1, 1), m.index(0, 1), m.index(0, 0), m.index(1, 0)});
    QCOMPARE(copied, QString("8\tr8\n9\tr9\n"));
    m.clear();
    QCOMPARE(m.recordCount(), 0);
    QCOMPARE(m.rowCount(), 20);
    QCOMPARE(m.headerData(0, Qt::Vertical).toString(), QString());
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
        QCOMPARE(f.size(), 1 + 19 + 1);
        QCOMPARE(f.at(0), QString::number(r + 1));
        const double x = xs[r], y = ys[r], lv = lvs[r], d = -2 * x + 12 * y + 3;
        QVERIFY(std::fabs(f.at(1).toDouble() - x / y * lv) < 1e-3 * lv);
        QVERIFY(std::fabs(f.at(3).toDouble() - (1 - x - y) / y * lv) < 1e-3 * lv);
        QCOMPARE(f.at(6), f.at(2)); // Lv is Y
        // u', v' with 6 significant digits, not the 4 decimals the table shows.
        QVERIFY2(std::fabs(f.at(7).toDouble() - 4 * x / d) < 2e-6, qPrintable(f.at(7)));
        QVERIFY2(std::fabs(f.at(8).toDouble() - 9 * y / d) < 2e-6, qPrintable(f.at(8)));
        QCOMPARE(f.at(13), QString::number(7 + 2 * r));
        QCOMPARE(f.at(18), QString("2026/05/06"));
        QCOMPARE(f.at(19), QString(r == 0 ? "07:08:09" : "07:08:10"));
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
    QVERIFY(!saveTableCsv("/proc/none/x.csv", {"A"}, {}, {}, &error));
    QVERIFY(!error.isEmpty());
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
    QCOMPARE(book.remaining(), 0); // never below zero
    QCOMPARE(book.processed(), 4);
    QCOMPARE(book.pendingCount(), 0);
    QCOMPARE(book.takeNext().reply, QString());
}

QTEST_GUILESS_MAIN(TestFlickerLogic)
#include "tst_flickerlogic.moc"
