// krn4 run as a script runs it, against krn4-sim through its real pseudo-terminal.
#include "flickerlogic.h"
#include "flickertable.h"
#include "ptypeer.h"
#include "simprocess.h"

#include "ktplatform.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <cmath>
#include <csignal>

namespace {

struct Run
{
    int code = -1;
    QString out, err;
    QStringList lines() const { return out.split('\n', Qt::SkipEmptyParts); }
};

// Starts krn4; until(process) may act while it runs (interrupt it, unplug the probe).
Run krn4(const QStringList &args, const std::function<void(QProcess &)> &during = {})
{
    QProcess p;
    p.start(QString::fromLocal8Bit(qgetenv("KT_KRN4_BIN")), args);
    p.waitForStarted(5000);
    if (during)
        during(p);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// Waits until krn4 has printed at least n lines (they stay in the process's buffer).
void waitForLines(QProcess &p, int n)
{
    QElapsedTimer clock;
    clock.start();
    QByteArray seen;
    while (seen.count('\n') < n && clock.elapsed() < 20000) {
        p.waitForReadyRead(50);
        seen += p.peek(1 << 20).mid(seen.size());
    }
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void jsonRecordsMatchTheDisplay();
    void csvIsTheMeasureTabExport();
    void gamutOfSimulatedSrgb();
    void failures_data();
    void failures();
    void channelImportReadsBack();
};

void TestCli::jsonRecordsMatchTheDisplay()
{
    SimProcess sim;
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    QVERIFY(sim.control("show 255,128,0").startsWith("OK"));
    const Run r = krn4({"--port", sim.portName(), "measure", "--count", "100", "--format", "json"});
    QCOMPARE(r.code, 0);
    const QStringList lines = r.lines();
    QCOMPARE(lines.size(), 100);

    // The display as published: sRGB primaries, D65, 200 cd/m², gamma 2.2 (IEC 61966-2-1 matrix).
    const double g = std::pow(128.0 / 255.0, 2.2);
    const double X = 200 * (0.4124 + 0.3576 * g), Y = 200 * (0.2126 + 0.7152 * g),
                 Z = 200 * (0.0193 + 0.1192 * g);
    const double x = X / (X + Y + Z), y = Y / (X + Y + Z);
    const double u = 4 * X / (X + 15 * Y + 3 * Z), v = 9 * Y / (X + 15 * Y + 3 * Z);
    qint64 last = 0;
    for (int i = 0; i < lines.size(); ++i) {
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(lines.at(i).toUtf8(), &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(lines.at(i)));
        QCOMPARE(o.value("n").toInt(), i + 1);
        const QDateTime when = QDateTime::fromString(o.value("time").toString(), Qt::ISODateWithMs);
        QVERIFY(when.isValid() && o.value("time").toString().contains('.'));
        QVERIFY(when.toMSecsSinceEpoch() >= last);
        last = when.toMSecsSinceEpoch();
        for (const auto &[key, expected, tolerance] :
             {std::make_tuple("X", X, 0.05), std::make_tuple("Y", Y, 0.05), std::make_tuple("Z", Z, 0.05),
              std::make_tuple("x", x, 2e-4), std::make_tuple("y", y, 2e-4), std::make_tuple("Lv", Y, 0.05),
              std::make_tuple("u'", u, 2e-4), std::make_tuple("v'", v, 2e-4)}) {
            QVERIFY2(std::abs(o.value(key).toDouble() - expected) < tolerance,
                     qPrintable(
                         QString("%1 = %2, display %3").arg(key).arg(o.value(key).toDouble()).arg(expected)));
        }
        QVERIFY(o.value("Tcp").isDouble() && o.value("lambda_d").isDouble() && o.value("dt_ms").isDouble());
    }
}

void TestCli::csvIsTheMeasureTabExport()
{
    SimProcess sim;
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    sim.control("show 200,180,40");
    const Run raw = krn4({"--port", sim.portName(), "send", "MES,1"});
    const Run r = krn4({"--port", sim.portName(), "measure", "--count", "5", "--format", "csv"});
    QCOMPARE(r.code, 0);
    const QStringList lines = r.lines();
    QCOMPARE(lines.size(), 6);

    // The same readings through the Measure tab's own path: reply handler, record, columns and
    // CSV writer; Δt and the stamp are the ones krn4 printed.
    MeasurementModel model;
    model.setColumns(FlickerTable::brightColumns());
    QVector<FlickerLogic::TableRow> rows;
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList cells = lines.at(i).split(',');
        const FlickerLogic::MesOutcome o =
            FlickerLogic::handleMesReply(raw.out.trimmed(), FlickerLogic::Mode::XyLv, cells.at(13));
        QCOMPARE(o.kind, FlickerLogic::MesOutcome::Bright);
        const QDateTime when =
            QDateTime::fromString(cells.at(18) + ' ' + cells.at(19), "yyyy/MM/dd hh:mm:ss");
        model.append(FlickerTable::brightRecord(o.record, {}, when));
    }
    QString expected;
    QTextStream out(&expected);
    FlickerLogic::writeTableCsv(out, model.titles(), FlickerTable::exportRows(model),
                                FlickerLogic::brightExportCells);
    out.flush();
    QCOMPARE(r.out, expected);
}

void TestCli::gamutOfSimulatedSrgb()
{
    const Run r = krn4({"--simulate", "gamut"});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.lines().contains("sRGB    100.0%"), qPrintable(r.out));
    QVERIFY(r.lines().first().startsWith("red   x=0.64 y=0.33"));
}

// setup: "sim" a simulated probe (control line in fault), "silent" a pty that never answers,
// "none" no port at all. action while running: "unplug" or "interrupt" after some readings.
void TestCli::failures_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");

    QTest::newRow("no such port") << "none"
                                  << "" << QStringList{"--port", "NOPE", "info"} << "" << 3 << "no such port";
    QTest::newRow("silent probe") << "silent"
                                  << "" << QStringList{"--timeout", "300", "info"} << "" << 4
                                  << "no answer from the probe";
    QTest::newRow("ER reply") << "sim"
                              << "fault error 20" << QStringList{"measure"} << "" << 5 << "with ER20";
    QTest::newRow("unplugged in a series")
        << "sim"
        << "" << QStringList{"--timeout", "2000", "measure", "--count", "100000"} << "unplug" << 4
        << "was lost";
    QTest::newRow("interrupted series")
        << "sim"
        << "" << QStringList{"measure", "--count", "100000"} << "interrupt" << 130 << "interrupted";
    QTest::newRow("bad mode") << "none"
                              << "" << QStringList{"measure", "--mode", "rgb"} << "" << 2 << "unknown mode";
    QTest::newRow("factory channel") << "none"
                                     << "" << QStringList{"channel", "import", "0", "f"} << "" << 2
                                     << "channel 00";
}

void TestCli::failures()
{
    QFETCH(QString, setup);
    QFETCH(QString, fault);
    QFETCH(QStringList, args);
    QFETCH(QString, action);
    QFETCH(int, code);
    QFETCH(QString, message);

    SimProcess sim;
    PtyPeer peer;
    if (setup == "sim") {
        QVERIFY2(sim.start(), qPrintable(sim.errorText()));
        if (!fault.isEmpty())
            QVERIFY(sim.control(fault).startsWith("OK"));
        args = QStringList{"--port", sim.portName()} + args;
    } else if (setup == "silent") {
        QVERIFY(peer.open(KtPlatform::virtualPortDir() + "/SILENT"));
        args = QStringList{"--port", "SILENT"} + args;
    }
    const Run r = krn4(args, [&](QProcess &p) {
        if (action.isEmpty())
            return;
        waitForLines(p, 20);
        if (action == "unplug")
            sim.control("unplug");
        else
            ::kill(pid_t(p.processId()), SIGINT);
    });
    QCOMPARE(r.code, code);
    const QStringList err = r.err.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(err.size(), 1);
    QVERIFY2(err.first().startsWith("krn4: ") && err.first().contains(message), qPrintable(r.err));
    if (!action.isEmpty()) {
        // Every reading taken is printed whole, and the message counts them.
        const int printed = r.lines().size() - 1;
        QVERIFY(printed >= 19);
        QVERIFY(r.out.endsWith('\n'));
        QVERIFY2(err.first().contains(QString("(%1 of 100000 readings printed)").arg(printed)),
                 qPrintable(r.err));
    }
}

void TestCli::channelImportReadsBack()
{
    SimProcess sim;
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    const QStringList port{"--port", sim.portName()};
    QTemporaryDir dir;
    const QString path = dir.filePath("ch.MemoryCHInfo");
    const auto import = [&](const QByteArray &bytes) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        file.close();
        return krn4(port + QStringList{"channel", "import", "7", path});
    };
    const QByteArray good =
        "Memory Channal: 3\r\nMemory Channal Name: PanelA\r\nCalibration Date: 2026-12-06 10:00:00\r\n"
        "Matrix Values: \r\nX1 = 1.02\r\nY1 = 0.01\r\nZ1 = 0\r\nX2 = 0\r\nY2 = 0.99\r\nZ2 = 0\r\nX3 = 0\r\n"
        "Y3 = 0\r\nZ3 = 1.01\r\nWhite Values: \r\nWhite_x = 0.3127\r\nWhite_y = 0.329\r\nWhite_Lv = 200\r\n";
    const QString stored = "CH:7;Matrix:1.02,0.01,0,0,0.99,0,0,0,1.01;Name:PanelA;Date:2026-12-06 10:00:00;"
                           "x:0.3127;y:0.329;Lv:200";
    QCOMPARE(import(good).code, 0);
    // Read back by the probe itself, not by krn4: the channel table as the simulator keeps it.
    QVERIFY(krn4(port + QStringList{"send", "CMR,13"}).out.contains(stored));

    // A name the probe refuses (";") fails half-way: the matrix already written is undone.
    const Run refused = import(QByteArray(good).replace("PanelA", "Pan;elB").replace("1.02", "1.5"));
    QCOMPARE(refused.code, 5);
    QVERIFY2(refused.err.contains("with ER10); its previous contents were restored"),
             qPrintable(refused.err));
    QVERIFY(krn4(port + QStringList{"send", "CMR,13"}).out.contains(stored));

    // The export writes what the import reads: channel 7 exported is the file, bar its number.
    const Run exported = krn4(port + QStringList{"channel", "export", "7"});
    QCOMPARE(exported.out.section("\r\n", 1), QString::fromLatin1(good).section("\r\n", 1));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
