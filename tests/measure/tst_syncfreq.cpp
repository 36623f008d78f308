// The synchronous-frequency dialog: its checks and scan arithmetic as plain logic, the
// simulated display's refresh beat that makes a scan meaningful, and the dialog end to end
// against krn4-sim (a scan must find the display's true refresh, not a value it was told).
#include "ktresources.h"
#include "ktsettings.h"
#include "ktsyncfreq.h"
#include "pagelog.h"
#include "pagetest.h"
#include "proberesponder.h"
#include "simprobe.h"
#include "simprocess.h"
#include "syncfreqscan.h"
#include "ui_ktsyncfreq.h"

#include <QtTest>

using namespace PageTest;

class TestSyncFreq : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { delete m_sim; }
    void frequencyCheck_data();
    void frequencyCheck();
    void settingsRefusedNamingTheKey_data();
    void settingsRefusedNamingTheKey();
    void scanBookkeeping();
    void windowOffTheRefreshScatters();
    void scanFindsTheRefresh_data();
    void scanFindsTheRefresh();
    void dialogRefusesBadInput();
    void directSetting_data();
    void directSetting();

private:
    void setScan(const QString &step, const QString &range, const QString &mesTimes);
    SimProcess *m_sim = nullptr;
};

void TestSyncFreq::initTestCase()
{
    ktInitResources();
    QVERIFY(KtSettings::ensureSettingIni());
    if (SimProcess::binary().isEmpty())
        return; // the suites against krn4-sim skip themselves
    m_sim = new SimProcess;
    QVERIFY2(m_sim->start(), qPrintable(m_sim->errorText()));
}

void TestSyncFreq::setScan(const QString &step, const QString &range, const QString &mesTimes)
{
    KtSettings::writeIniValues(KtSettings::settingIniPath(), {{KtSettings::Key::SyncFreqStep, step},
                                                              {KtSettings::Key::SyncFreqRange, range},
                                                              {KtSettings::Key::SyncFreqMesTimes, mesTimes}});
}

void TestSyncFreq::frequencyCheck_data()
{
    QTest::addColumn<bool>("valid");
    for (const char *t : {"300.00", "300", "10", "59.94", "59.9", "100.", "299.99"})
        QTest::newRow(t) << true;
    for (const char *t : {"300.5", "300.01", "9.99", "60.123", "", "abc", "1e2", "-60", " 60"})
        QTest::newRow(t) << false;
}

void TestSyncFreq::frequencyCheck()
{
    QTEST(SyncFreqScan::frequencyTextValid(QString::fromLatin1(QTest::currentDataTag())), "valid");
}

void TestSyncFreq::settingsRefusedNamingTheKey_data()
{
    QTest::addColumn<QStringList>("texts"); // Step, Range, MesTimes
    QTest::addColumn<QString>("key");       // empty: accepted
    QTest::newRow("defaults") << QStringList{"0.1", "1", "10"} << "";
    QTest::newRow("missing keys") << QStringList{"", "", ""} << "";
    QTest::newRow("two readings") << QStringList{"0.01", "0.1", "2"} << "";
    QTest::newRow("step 0") << QStringList{"0", "1", "10"} << "SyncFreq/Step";
    QTest::newRow("step negative") << QStringList{"-0.1", "1", "10"} << "SyncFreq/Step";
    QTest::newRow("step text") << QStringList{"fast", "1", "10"} << "SyncFreq/Step";
    QTest::newRow("step endless") << QStringList{"1e-9", "1", "10"} << "SyncFreq/Step";
    QTest::newRow("range 0") << QStringList{"0.1", "0", "10"} << "SyncFreq/Range";
    QTest::newRow("range nan") << QStringList{"0.1", "nan", "10"} << "SyncFreq/Range";
    QTest::newRow("one reading") << QStringList{"0.1", "1", "1"} << "SyncFreq/MesTimes";
    QTest::newRow("readings 0") << QStringList{"0.1", "1", "0"} << "SyncFreq/MesTimes";
    QTest::newRow("readings fraction") << QStringList{"0.1", "1", "2.5"} << "SyncFreq/MesTimes";
}

void TestSyncFreq::settingsRefusedNamingTheKey()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, key);
    SyncFreqScan::Settings s;
    QString error;
    QCOMPARE(SyncFreqScan::readSettings(texts[0], texts[1], texts[2], &s, &error), key.isEmpty());
    QVERIFY2(key.isEmpty() ? error.isEmpty() : error.contains(key), qPrintable(error));
}

void TestSyncFreq::scanBookkeeping()
{
    // Defaults around 60 Hz: 21 frequencies from 59.00 to 61.00, the last one at 100 %.
    SyncFreqScan scan(60.0, SyncFreqScan::Settings());
    QStringList sent;
    for (double f : scan.frequencies())
        sent << SyncFreqScan::frequencyText(f);
    QCOMPARE(sent.size(), 21);
    QCOMPARE(sent.first() + " " + sent.at(10) + " " + sent.last(), QString("59.00 60.00 61.00"));
    QCOMPARE(scan.progressAfter(19) * 10 + scan.progressAfter(20), 95 * 10 + 100);
    // Equal scatter keeps the lower frequency; one reading has no scatter and never wins.
    scan.addResult(0, {1.0});
    QVERIFY(!scan.hasBest());
    scan.addResult(3, {1.0, 1.2, 1.0});
    scan.addResult(4, {2.0, 2.2, 2.0});
    QCOMPARE(SyncFreqScan::frequencyText(scan.bestFrequency()), QString("59.30"));
    QCOMPARE(SyncFreqScan::sampleDeviation({2.0, 4.0, 4.0, 4.0, 5.0, 5.0, 7.0, 9.0}), std::sqrt(32.0 / 7));
    // The probe takes 10 to 300 Hz: a band across either end is cut there.
    QCOMPARE(SyncFreqScan(10.5, SyncFreqScan::Settings()).count(), 16);
}

void TestSyncFreq::windowOffTheRefreshScatters()
{
    // Sample deviation of 10 MES,1 luminances at each sync frequency of a 59.94 Hz display.
    auto scatter = [](double syncHz, unsigned seed) {
        Krn4Sim::SimProbe probe;
        probe.setNoise(0.0, seed);
        probe.display().setRefresh({59.94, 0.01});
        probe.command("SCS,4," + QByteArray::number(syncHz, 'f', 2));
        QVector<double> lv;
        for (int i = 0; i < 10; ++i)
            lv << probe.command("MES,1").split(',').value(5).toDouble();
        return SyncFreqScan::sampleDeviation(lv);
    };
    QCOMPARE(scatter(59.94, 1), 0.0);
    double previous = 0.0;
    for (double off : {0.02, 0.1, 0.5, 2.0}) {
        const double s = scatter(59.94 + off, 1);
        // 200 cd/m² · 1 % ripple · offset/59.94 / √2: the beat grows with the distance.
        QVERIFY2(s > previous && s > 0.5 * 200 * 0.01 * off / 59.94 / M_SQRT2,
                 qPrintable(QString::number(s)));
        QCOMPARE(scatter(59.94 - off, 7) > 0.0, true);
        previous = s;
    }
    QCOMPARE(scatter(60.5, 3), scatter(60.5, 3)); // seeded: a run repeats
}

void TestSyncFreq::scanFindsTheRefresh_data()
{
    QTest::addColumn<QString>("refresh");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("scan"); // Step, Range, MesTimes
    QTest::addColumn<QString>("found");
    QTest::addColumn<int>("visited");
    QTest::addColumn<QString>("last"); // the last frequency visited
    QTest::newRow("NTSC 59.94") << "59.94"
                                << "60" << QStringList{"0.01", "0.1", "10"} << "59.94" << 21 << "60.10";
    QTest::newRow("75 off centre") << "75"
                                   << "75.05" << QStringList{"0.01", "0.1", "5"} << "75.00" << 21 << "75.15";
    QTest::newRow("defaults") << "59.94"
                              << "60" << QStringList{"0.1", "1", "10"} << "59.90" << 21 << "61.00";
}

void TestSyncFreq::scanFindsTheRefresh()
{
    if (!m_sim)
        QSKIP("KT_SIM_BIN is not set; run through ctest");
    QFETCH(QString, refresh);
    QFETCH(QString, typed);
    QFETCH(QStringList, scan);
    QFETCH(QString, found);
    QFETCH(int, visited);
    QFETCH(QString, last);
    QVERIFY(m_sim->control("refresh " + refresh).startsWith("OK"));
    setScan(scan[0], scan[1], scan[2]);
    QVERIFY(openProbePort(m_sim->linkPath()));
    ktSyncFreq dialog;
    Ui::ktSyncFreqForm *f = dialog.form();
    QList<int> progress;
    connect(f->progressBar, &QProgressBar::valueChanged, [&](int v) { progress << v; });
    f->le_freqsetting->setText(typed);
    f->cb_scanfreq->setChecked(true);
    m_sim->control("received clear");
    QTest::mouseClick(f->pbSync, Qt::LeftButton);
    QCOMPARE(f->le_actualfreq->text(), found);
    QCOMPARE(progress.last(), 100);
    QCOMPARE(*std::max_element(progress.begin(), progress.end()), 100);
    // The speed query, display mode, automatic speed; per frequency SCS and the readings; the
    // best frequency and the speed read back. The simulator keeps the last 200 commands.
    const int perStep = scan[2].toInt() + 1;
    const QString received = m_sim->control("received 200");
    QCOMPARE(received.section(' ', 1, 1), "count=" + QString::number(3 + visited * perStep + 2));
    const QStringList sent = received.section("last=", 1).split('|');
    if (sent.size() < 200)
        QCOMPARE(sent.mid(0, 4), QStringList({"STR,7", "MDS,0", "FSC,3", "SCS,4," + sent.value(3).mid(6)}));
    QCOMPARE(sent.value(sent.size() - 2 - perStep), "SCS,4," + last);
    QCOMPARE(sent.mid(sent.size() - 2), QStringList({"SCS,4," + found, "FSC,3"}));
    QVERIFY(f->pbSync->isEnabled());
    probePort()->close();
}

void TestSyncFreq::dialogRefusesBadInput()
{
    if (!m_sim)
        QSKIP("KT_SIM_BIN is not set; run through ctest");
    QVERIFY(openProbePort(m_sim->linkPath()));
    setScan("0", "1", "10");
    ktSyncFreq dialog;
    Ui::ktSyncFreqForm *f = dialog.form();
    f->cb_scanfreq->setChecked(true);
    m_sim->control("received clear");
    for (const QString &typed : {QString("60.123"), QString("60")}) {
        f->le_freqsetting->setText(typed);
        ModalCloser closer;
        closer.arm();
        QTest::mouseClick(f->pbSync, Qt::LeftButton);
        QVERIFY(closer.seen);
        QVERIFY2(closer.text.contains(typed == "60" ? "SyncFreq/Step" : "10-300"), qPrintable(closer.text));
        QCOMPARE(f->le_freqsetting->text(), QString("60"));
    }
    // Refused before anything reaches the probe.
    QCOMPARE(m_sim->control("received 10"), QString("OK count=0 last="));
    setScan("0.1", "1", "10");
    probePort()->close();
}

void TestSyncFreq::directSetting_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("message");
    QTest::newRow("read back") << QByteArray("OK00,59.94") << "59.94"
                               << "#00FF00"
                               << "";
    QTest::newRow("refused") << QByteArray("ER10,59.94") << "59.94"
                             << "#FF0000"
                             << "Set frequency failed!";
}

void TestSyncFreq::directSetting()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, message);
    PtyPeer peer;
    QVERIFY(peer.open());
    QVERIFY(openProbePort(peer.slavePath()));
    ProbeResponder responder(&peer, {{"MVS,59.94", reply}, {"SCS,4,59.94", "OK00"}});
    ktSyncFreq dialog;
    Ui::ktSyncFreqForm *f = dialog.form();
    f->le_freqsetting->setText("59.94");
    ModalCloser closer;
    closer.arm(message.isEmpty() ? 30 : 500);
    QTest::mouseClick(f->pbSync, Qt::LeftButton);
    QCOMPARE(closer.seen ? closer.text : QString(), message);
    QTEST(f->le_actualfreq->text(), "shown");
    QFETCH(QString, style);
    QVERIFY(f->le_actualfreq->styleSheet().contains(style));
    QCOMPARE(responder.received.size(), message.isEmpty() ? 2 : 1);
    if (!message.isEmpty())
        QVERIFY(dialog.logView()->toPlainText().contains(message));
    probePort()->close();
}

QTEST_MAIN(TestSyncFreq)
#include "tst_syncfreq.moc"
