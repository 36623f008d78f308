// The calibration logic without a probe: the three generation methods against a colorimeter
// with a known linear error (its inverse is the expected matrix), the calibration files written
// and read back, malformed files, the channel overview and the download that must never leave
// a channel half-written.
#include "calibrationlogic.h"
#include "replyreader.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Calibration;

namespace {
// sRGB red, green, blue and white at 100 cd/m² (IEC 61966-2-1 matrix), and a fifth colour.
Eigen::Matrix3Xd srgbTable()
{
    Eigen::Matrix3Xd t(3, 5);
    t.col(0) << 41.24, 21.26, 1.93;
    t.col(1) << 35.76, 71.52, 11.92;
    t.col(2) << 18.05, 7.22, 95.05;
    t.col(3) = t.col(0) + t.col(1) + t.col(2);
    t.col(4) << 30.0, 40.0, 20.0;
    return t;
}

Eigen::Matrix3d sensorError()
{
    Eigen::Matrix3d d;
    d << 1.06, 0.03, -0.02, 0.015, 0.97, 0.01, -0.01, 0.04, 1.09;
    return d;
}

Eigen::Matrix3Xd toxyLv(const Eigen::Matrix3Xd &t)
{
    Eigen::Matrix3Xd out(3, t.cols());
    for (int j = 0; j < t.cols(); ++j)
        out.col(j) << t(0, j) / t.col(j).sum(), t(1, j) / t.col(j).sum(), t(1, j);
    return out;
}

// A probe channel in memory, with a parameter that refuses writes, a read that times out or one
// that reads back garbled.
struct FakeChannel
{
    std::array<QString, 9> values;
    QMap<int, QString> extra; // white, name, date
    int refuseWrite = -1, failRead = -1, garbleRead = -1, failWritesAfter = -1, writes = 0;
    ChannelLink link()
    {
        ChannelLink l;
        l.write = [this](int p, const QString &v) {
            if (p == refuseWrite) {
                refuseWrite = -1; // a single refusal
                return false;
            }
            if (failWritesAfter >= 0 && writes >= failWritesAfter)
                return false;
            ++writes;
            if (p < 9)
                values[size_t(p)] = v;
            else
                extra[p] = v;
            return true;
        };
        l.read = [this](int p, QString *v) {
            if (p == failRead) {
                failRead = -1; // a single lost reply
                return false;
            }
            *v = p < 9 ? values[size_t(p)] : extra.value(p);
            if (p == garbleRead) {
                garbleRead = -1;
                *v += QLatin1Char('x');
            }
            return true;
        };
        return l;
    }
};
} // namespace

class TestCalibrationLogic : public QObject
{
    Q_OBJECT
private slots:
    void generateUndoesTheSensorError_data();
    void generateUndoesTheSensorError();
    void generateRefuses_data();
    void generateRefuses();
    void readingsAverageAndTimes();
    void filesRoundTripAndMalformedFilesChangeNothing();
    void overviewAndDump();
    void downloadRestoresThePreviousMatrix();
    void wholeChannelDownloadRestoresTheWholeChannel_data();
    void wholeChannelDownloadRestoresTheWholeChannel();
};

void TestCalibrationLogic::generateUndoesTheSensorError_data()
{
    QTest::addColumn<int>("groups");
    QTest::addColumn<int>("computed");
    QTest::addColumn<bool>("xyLv");
    QTest::addColumn<int>("method");
    QTest::addColumn<bool>("factory");
    QTest::newRow("4 groups, Tricorr, XYZ") << 4 << 4 << false << int(Method::Tricorr) << false;
    QTest::newRow("4 groups, Tricorr, xyLv") << 4 << 4 << true << int(Method::Tricorr) << false;
    QTest::newRow("3 groups, least squares") << 3 << 3 << false << int(Method::LeastSquares) << false;
    QTest::newRow("5 groups, least squares, xyLv") << 5 << 5 << true << int(Method::LeastSquares) << false;
    QTest::newRow("1 group, diagonal") << 1 << 1 << false << int(Method::Diagonal) << false;
    QTest::newRow("1 group shown, 3 computed: diagonal") << 1 << 3 << false << int(Method::Diagonal) << false;
    QTest::newRow("factory, 4 groups, least squares") << 4 << 4 << true << int(Method::LeastSquares) << true;
}

void TestCalibrationLogic::generateUndoesTheSensorError()
{
    QFETCH(int, groups);
    QFETCH(int, computed);
    QFETCH(bool, xyLv);
    QFETCH(int, method);
    QFETCH(bool, factory);
    Eigen::Matrix3Xd R = srgbTable(), S = sensorError() * R;
    if (groups == 1) { // one group: the white patch sits in group 1
        R.col(0) = R.col(3);
        S.col(0) = S.col(3);
    }
    const Mode mode = xyLv ? Mode::xyLv : Mode::XYZ;
    const Generated g = generate(xyLv ? toxyLv(R) : R, xyLv ? toxyLv(S) : S, mode, groups, computed, {},
                                 factory ? Calculator::Factory : Calculator::User);
    QVERIFY2(g.ok(), qPrintable(problemText(g.problem)));
    QCOMPARE(int(g.method), method);
    QCOMPARE(int(g.errors.cols()), groups);
    if (g.method == Method::Diagonal) {
        // Only white is corrected, and exactly.
        QVERIFY((g.weight * S.col(0) - R.col(0)).norm() < 1e-9);
        QVERIFY(g.weight.isDiagonal());
    } else {
        QVERIFY2((g.weight - sensorError().inverse()).cwiseAbs().maxCoeff() < 1e-9, "W is not D⁻¹");
    }
    QVERIFY(g.errors.cwiseAbs().maxCoeff() < 1e-6); // every shown group reproduced
    // The download composes with the channel's matrix: a factory matrix M gives W·M.
    const Eigen::Matrix3d M = Eigen::Matrix3d::Identity() * 1.5;
    QVERIFY((compose(g.weight, M) - g.weight * M).norm() < 1e-12);
    QCOMPARE(whiteGroup(groups), groups == 1 ? 1 : 4);
    QCOMPARE(writesWhite(groups), groups != 3);
}

void TestCalibrationLogic::generateRefuses_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("problem");
    QTest::newRow("group 2 not measured") << "notmeasured" << int(Problem::NotMeasured);
    QTest::newRow("x of a measured group is 0") << "x0" << int(Problem::XOutOfRange);
    QTest::newRow("all references 0") << "ref0" << int(Problem::RefAllZero);
    QTest::newRow("all measurements 0") << "mes0" << int(Problem::MesAllZero);
    QTest::newRow("collinear primaries") << "collinear" << int(Problem::NoResult);
}

void TestCalibrationLogic::generateRefuses()
{
    QFETCH(QString, what);
    QFETCH(int, problem);
    Eigen::Matrix3Xd R = srgbTable(), S = sensorError() * R;
    Mode mode = Mode::XYZ;
    QVector<bool> measured(5, true);
    if (what == "notmeasured")
        measured[1] = false;
    if (what == "x0") {
        mode = Mode::xyLv;
        R = toxyLv(R);
        S = toxyLv(S);
        S(0, 2) = 0.0;
    }
    if (what == "ref0")
        R.setZero();
    if (what == "mes0")
        S.setZero();
    if (what == "collinear")
        S.col(2) = S.col(0) + S.col(1);
    const Generated g = generate(R, S, mode, 3, 3, measured);
    QCOMPARE(int(g.problem), problem);
    QVERIFY(!problemText(g.problem).isEmpty());
}

void TestCalibrationLogic::readingsAverageAndTimes()
{
    Average a;
    QVERIFY(a.add("OK00,P1,3127;3290;200.00", Mode::xyLv));
    QVERIFY(a.add("OK00,P1,3129;3292;202.00", Mode::xyLv));
    QVERIFY(!a.add("ER22,P1,203;", Mode::xyLv));
    QVERIFY(!a.add("OK00,P1,190.09;200.0;217.8", Mode::xyLv)); // an XYZ reply is no x, y
    QCOMPARE(a.count(), 2);
    QVERIFY(qAbs(a.mean()[0] - 0.3128) < 1e-12 && qAbs(a.mean()[2] - 201.0) < 1e-12);
    Average none;
    QVERIFY(!none.measured());
    QCOMPARE(none.mean()[1], 0.0);
    for (const char *bad : {"0", "51", "", " 5", "05", "1.5", "-3"})
        QVERIFY2(!isMesTimes(bad), bad);
    for (const char *good : {"1", "9", "10", "49", "50"})
        QVERIFY2(isMesTimes(good), good);
    QCOMPARE(matrixText(1.0), QString("1.0000000e+00"));
    QCOMPARE(errorText(-0.12345), QString("-0.1235"));
}

void TestCalibrationLogic::filesRoundTripAndMalformedFilesChangeNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("ref.userRef");
    Section ref{"MatrixRefData", {}}, mes{"MatrixMesData", {}};
    const QStringList keys = groupKeys(4);
    for (int i = 0; i < keys.size(); ++i) {
        ref.values.append({keys[i], QString::number(0.1 + i * 0.01, 'g', 6)});
        mes.values.append({keys[i], QString::number(0.2 + i * 0.01, 'g', 6)});
    }
    QVERIFY(saveIni(path, {ref, mes}));
    const auto xy = [](const QString &k) { return k[0] == 'Z' ? Rule::Value : Rule::Chromaticity; };
    const QVector<ImportRequest> requests{{"MatrixRefData", keys, xy}, {"MatrixMesData", keys, xy}};
    const Imported in = loadIni(path, requests);
    QVERIFY(in.ok);
    for (int i = 0; i < keys.size(); ++i) {
        QCOMPARE(in.value("MatrixRefData", keys[i]), ref.values[i].second);
        QCOMPARE(in.value("MatrixMesData", keys[i]), mes.values[i].second);
    }
    // Malformed files: nothing is returned, the message names the value.
    const auto write = [&](const QByteArray &text) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    };
    const QByteArray gbk =
        QByteArray("[MatrixRefData]\nX1=0.3\nZ1=") + QByteArray::fromHex("b2e2cad4") + "\n";
    const QList<QPair<QByteArray, QString>> bad{
        {"[MatrixRefData]\nX1=0.3\nZ1=1,5\n", "data 1,5 error!"},
        {"[MatrixRefData]\nX1=1.2\n", "data 1.2 error, should be in (0, 1)!"},
        {gbk, QString::fromUtf8("data 测试 error!")}};
    for (const auto &b : bad) {
        write(b.first);
        const Imported r = loadIni(path, requests);
        QVERIFY(!r.ok && r.sections.isEmpty());
        QCOMPARE(r.message, b.second);
    }
    write("[MatrixRefData]\nX1=0.3\n"); // missing keys: the others stay as they are
    const Imported partial = loadIni(path, requests);
    QVERIFY(partial.ok && partial.value("MatrixRefData", "Y1").isEmpty());
    write(QByteArray(int(MaxIniBytes) * 10, ';'));
    QVERIFY(!loadIni(path, requests).ok);
    // The composition record goes only into an existing "log.txt".
    const QString log = dir.filePath("log.txt");
    appendCompositionLog(log, Eigen::Matrix3d::Identity(), Eigen::Matrix3d::Identity());
    QVERIFY(!QFile::exists(log));
    write(QByteArray());
    QFile::rename(path, log);
    appendCompositionLog(log, Eigen::Matrix3d::Identity(), Eigen::Matrix3d::Identity());
    QFile f(log);
    QVERIFY(f.open(QIODevice::ReadOnly) && f.readAll().startsWith("mRead\n1 0 0\n"));
    QCOMPARE(downloadRecordPath("/a", QDate(2026, 12, 7), "KRN4/01", "MCH05"),
             QString("/a/Datas/2026-12-07_KRN4_01_MCH05.ini"));
}

void TestCalibrationLogic::overviewAndDump()
{
    // 99 lines fail, 100 fill channels 0..99; "nan" reads 0, "inf" empties the white cells.
    QString reply = "OK00,";
    for (int ch = 0; ch < 100; ++ch) {
        const QString m = ch == 3 ? "1.02,0,0,0,1,0,0,0,1" : "1.000001,0,0,0,1,0,0,0,1";
        const QString white = ch == 2 ? "x:nan;y:0.33;Lv:inf" : "x:0.3127;y:0.329;Lv:100";
        reply += QString("CH:%1;Matrix:%2;Name:N%1;Date:D%1;%3\n").arg(ch).arg(m, white);
    }
    QVector<ReplyReader::ChannelRecord> records;
    QVERIFY(!ReplyReader::readChannelTable(reply.section('\n', 0, 98), &records));
    QVERIFY(ReplyReader::readChannelTable(reply, &records));
    QCOMPARE(records.size(), 100);
    QCOMPARE(records[2].x, 0.0);
    QVector<Channel> channels;
    for (const auto &r : records) {
        Channel c{r.channel, {}, r.name, r.date, r.x, r.y, r.lv};
        std::copy(std::begin(r.matrix), std::end(r.matrix), c.matrix.begin());
        channels << c;
    }
    const QVector<OverviewRow> rows = overviewRows(channels);
    QCOMPARE(rows.size(), 99);
    QCOMPARE(rows[0].channel, 1);
    QCOMPARE(rows[0].name, QString()); // same matrix as channel 00 to 5 decimals
    QCOMPARE(rows[2].name, QString("N3"));
    QVERIFY(rows[1].x.isEmpty() && rows[1].y.isEmpty() && rows[1].lv.isEmpty());
    QCOMPARE(rows[0].x, QString("0.3127"));
    QCOMPARE(rows[98].date, QString("D99"));
    const QByteArray dump = channelDumpText(channels[3]);
    QVERIFY(dump.startsWith("Memory Channal: 3\r\nMemory Channal Name: N3\r\nCalibration Date: D3\r\n"
                            "Matrix Values: \r\nX1 = 1.02\r\nY1 = 0\r\n"));
    QVERIFY(dump.endsWith("White Values: \r\nWhite_x = 0.3127\r\nWhite_y = 0.329\r\nWhite_Lv = 100\r\n"));
}

void TestCalibrationLogic::downloadRestoresThePreviousMatrix()
{
    const std::array<QString, 9> before{"1", "0", "0", "0", "1", "0", "0", "0", "1"};
    std::array<QString, 9> next;
    for (int i = 0; i < 9; ++i)
        next[size_t(i)] = matrixText(0.5 + i);
    const QVector<QPair<int, QString>> extra{{14, "0.3127"}, {11, "Panel"}, {12, "2026-12-07 01:00:00"}};
    FakeChannel ok;
    ok.values = before;
    WriteOutcome o = writeChannel(ok.link(), next, before, extra);
    QVERIFY(o.ok() && ok.values == next);
    QCOMPARE(outcomeText(o), QString("Download color matrix parameter succeed!"));
    // Refused at element 5, a lost read-back, a failed name: the channel is back as it was.
    for (int step = 0; step < 3; ++step) {
        FakeChannel ch;
        ch.values = before;
        (step == 0   ? ch.refuseWrite
         : step == 1 ? ch.failRead
                     : ch.refuseWrite) = step == 0   ? 5
                                         : step == 1 ? 3
                                                     : 11;
        o = writeChannel(ch.link(), next, before, extra);
        QCOMPARE(int(o.result), int(WriteOutcome::Restored));
        QVERIFY(ch.values == before);
        QCOMPARE(o.failedParam, step == 0 ? 5 : step == 1 ? 3 : 11);
        QVERIFY(!outcomeText(o).contains("succeed"));
        QVERIFY(outcomeText(o).contains("written back and read back"));
    }
    FakeChannel dead; // the link dies after four writes: the restore fails and says so
    dead.values = before;
    dead.failWritesAfter = 4;
    o = writeChannel(dead.link(), next, before);
    QCOMPARE(int(o.result), int(WriteOutcome::RestoreFailed));
    QVERIFY(outcomeText(o).startsWith("Solidify color matrix parameter 4 failed!"));
    QVERIFY(outcomeText(o).contains("failed too"));
    QVERIFY(sameValue("1.0234567e+00", "1.023456700") && !sameValue("1.0234567e+00", "1.0235"));
    QVERIFY(!isUserChannel(0) && isUserChannel(1) && isUserChannel(99) && !isUserChannel(100));
}

void TestCalibrationLogic::wholeChannelDownloadRestoresTheWholeChannel_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("param"); // where the fault strikes, and the parameter blamed
    QTest::newRow("written") << "" << -1;
    QTest::newRow("matrix refused") << "refuse" << 4;
    QTest::newRow("name refused") << "refuse" << 11;
    QTest::newRow("date read back lost") << "read" << 12;
    QTest::newRow("white y reads back different") << "garble" << 15;
}

void TestCalibrationLogic::wholeChannelDownloadRestoresTheWholeChannel()
{
    QFETCH(QString, fault);
    QFETCH(int, param);
    const Channel was{7, {{1, 0, 0, 0, 1, 0, 0, 0, 1}}, "Old", "2026-01-01 00:00:00", 0.3127, 0.329, 100};
    const Channel next{7, {{1.25, 0, 0, 0, 1, 0, 0, 0, 1}}, "New", "2026-12-07 01:00:00", 0.3127, 0.331, 100};
    const ChannelParams before = channelParams(was), wanted = channelParams(next);
    FakeChannel ch;
    ch.values = before.matrix;
    for (const auto &p : before.extra)
        ch.extra[p.first] = p.second;
    (fault == "refuse" ? ch.refuseWrite : fault == "read" ? ch.failRead : ch.garbleRead) = param;
    const WriteOutcome o = writeWholeChannel(ch.link(), wanted, before);
    QCOMPARE(o.failedParam, param);
    QCOMPARE(o.readBackDiffers, fault == "garble");
    QCOMPARE(int(o.result), int(param < 0 ? WriteOutcome::Written : WriteOutcome::Restored));
    // Nothing half-written: the new channel whole, or the old one whole (white, name, date too).
    const ChannelParams &held = param < 0 ? wanted : before;
    QVERIFY(ch.values == held.matrix);
    for (const auto &p : held.extra)
        QCOMPARE(ch.extra.value(p.first), p.second);
}

QTEST_GUILESS_MAIN(TestCalibrationLogic)
#include "tst_calibrationlogic.moc"
