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
    SimProcess *m_sim = nullptr;

    void setScan(const QString &step, const QString &range, const QString &mesTimes)
    {
        KtSettings::writeIniValues(KtSettings::settingIniPath(),
                                   {{KtSettings::Key::SyncFreqStep, step},
                                    {KtSettings::Key::SyncFreqRange, range},
                                    {KtSettings::Key::SyncFreqMesTimes, mesTimes}});
    }

private slots:
    void cleanupTestCase() { delete m_sim; }

    void initTestCase()
    {
        ktInitResources();
        if (SimProcess::binary().isEmpty())
            return; // the suites against krn4-sim skip themselves
        m_sim = new SimProcess;
        QVERIFY2(m_sim->start(), qPrintable(m_sim->errorText()));
    }

    void frequencyCheck_data()
    {
        QTest::addColumn<bool>("valid");
        for (const char *t : {"300.00", "300", "10", "59.94", "59.9", "100.", "299.99"})
            QTest::newRow(t) << true;
        for (const char *t : {"300.5", "300.01", "9.99", "60.123", "", "abc", "1e2", "-60", " 60"})
            QTest::newRow(t) << false;
    }

    void frequencyCheck()
    {
        QTEST(SyncFreqScan::frequencyTextValid(QString::fromLatin1(QTest::currentDataTag())), "valid");
    }

    void settingsRefusedNamingTheKey_data()
    {
        QTest::addColumn<QStringList>("texts"); // Step, Range, MesTimes
        QTest::addColumn<QString>("key");       // empty: accepted
        QTest::newRow("defaults") << QStringList{"0.1", "1", "10"} << "";
        QTest::newRow("missing keys") << QStringList{"", "", ""} << "";
        QTest::newRow("step negative") << QStringList{"-0.1", "1", "10"} << "SyncFreq/Step";
        QTest::newRow("step endless") << QStringList{"1e-9", "1", "10"} << "SyncFreq/Step";
        QTest::newRow("range 0") << QStringList{"0.1", "0", "10"} << "SyncFreq/Range";
        QTest::newRow("one reading") << QStringList{"0.1", "1", "1"} << "SyncFreq/MesTimes";
    }

    void settingsRefusedNamingTheKey()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, key);
        SyncFreqScan::Settings s;
        QString error;
        QCOMPARE(SyncFreqScan::readSettings(texts[0], texts[1], texts[2], &s, &error), key.isEmpty());
        QVERIFY2(key.isEmpty() ? error.isEmpty() : error.contains(key), qPrintable(error));
    }

    void scanBookkeeping()
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
        QCOMPARE(SyncFreqScan::sampleDeviation({2.0, 4.0, 4.0, 4.0, 5.0, 5.0, 7.0, 9.0}),
                 std::sqrt(32.0 / 7));
        // The probe takes 10 to 300 Hz: a band across either end is cut there.
        QCOMPARE(SyncFreqScan(10.5, SyncFreqScan::Settings()).count(), 16);
    }

    void windowOffTheRefreshScatters()
    {
        // Deviation of 10 luminances at sync frequencies ever further from a 59.94 Hz refresh.
        QVector<double> deviation;
        for (const char *sync : {"59.94", "59.96", "60.04", "60.44", "62.00"}) {
            Krn4Sim::SimProbe probe;
            probe.display().setRefresh({59.94, 0.01});
            probe.command(QByteArray("SCS,4,") + sync);
            QVector<double> lv(10);
            for (double &v : lv)
                v = probe.command("MES,1").split(',').value(5).toDouble();
            deviation << SyncFreqScan::sampleDeviation(lv);
        }
        QVERIFY(deviation[0] == 0 && deviation[1] > 0 && std::is_sorted(deviation.begin(), deviation.end()));
    }

    void scanFindsTheRefresh_data()
    {
        QTest::addColumn<QStringList>("run"); // refresh, typed, Step, Range, MesTimes, found, last visited
        QTest::newRow("NTSC 59.94") << QStringList{"59.94", "60", "0.01", "0.1", "10", "59.94", "60.10"};
        QTest::newRow("75 off centre") << QStringList{"75", "75.05", "0.01", "0.1", "5", "75.00", "75.15"};
        QTest::newRow("defaults") << QStringList{"59.91", "60", "0.1", "1", "10", "59.90", "61.00"};
    }
    void scanFindsTheRefresh()
    {
        if (!m_sim)
            QSKIP("KT_SIM_BIN is not set; run through ctest");
        QFETCH(QStringList, run);
        const QString found = run[5];
        const int visited = 21; // each run spans 2 · Range / Step + 1 frequencies
        QVERIFY(m_sim->control("refresh " + run[0]).startsWith("OK"));
        setScan(run[2], run[3], run[4]);
        QVERIFY(openProbePort(m_sim->linkPath()));
        ktSyncFreq dialog;
        Ui::ktSyncFreqForm *f = dialog.form();
        QList<int> progress;
        connect(f->progressBar, &QProgressBar::valueChanged, [&](int v) { progress << v; });
        f->le_freqsetting->setText(run[1]);
        f->cb_scanfreq->setChecked(true);
        m_sim->control("received clear");
        QTest::mouseClick(f->pbSync, Qt::LeftButton);
        QCOMPARE(f->le_actualfreq->text(), found);
        QCOMPARE(progress.last() * 1000 + *std::max_element(progress.begin(), progress.end()), 100100);
        // STR,7, MDS,0, FSC,3; per frequency SCS and the readings; the best frequency and the speed
        // read back (the simulator lists the last 200).
        const int perStep = run[4].toInt() + 1;
        const QString received = m_sim->control("received 200");
        QCOMPARE(received.section(' ', 1, 1), "count=" + QString::number(3 + visited * perStep + 2));
        const QStringList sent = received.section("last=", 1).split('|');
        QCOMPARE(sent.value(sent.size() - 2 - perStep), "SCS,4," + run[6]);
        QCOMPARE(sent.mid(sent.size() - 2), QStringList({"SCS,4," + found, "FSC,3"}));
        probePort()->close();
    }

    void directSettingAndRefusals_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("reply"); // to "MVS,59.94"
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("sent");
        QTest::newRow("read back") << "59.94" << QByteArray("OK00,59.94") << "" << 2; // then SCS
        QTest::newRow("refused") << "59.94" << QByteArray("ER10,59.94") << "Set frequency failed!" << 1;
        QTest::newRow("three decimals") << "60.123" << QByteArray() << "10-300 with two decimal" << 0;
        QTest::newRow("scan, step 0") << "60" << QByteArray() << "Invalid SyncFreq/Step" << 0;
    }
    void directSettingAndRefusals()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, reply);
        QFETCH(QString, message);
        PtyPeer peer;
        QVERIFY(peer.open() && openProbePort(peer.slavePath()));
        ProbeResponder responder(&peer, {{"MVS,59.94", reply}, {"SCS,4,59.94", "OK00"}});
        setScan(message.contains("Step") ? "0" : "0.1", "1", "10");
        ktSyncFreq dialog;
        Ui::ktSyncFreqForm *f = dialog.form();
        f->le_freqsetting->setText(typed);
        f->cb_scanfreq->setChecked(message.contains("Step"));
        ModalCloser closer;
        closer.arm(message.isEmpty() ? 30 : 500);
        QTest::mouseClick(f->pbSync, Qt::LeftButton);
        QVERIFY2(closer.seen != message.isEmpty() && closer.text.contains(message), qPrintable(closer.text));
        QTEST(int(responder.received.size()), "sent"); // a refusal reaches the probe with nothing
        QCOMPARE(f->le_freqsetting->text(), typed.size() > 5 ? QString("60") : typed);
        QCOMPARE(f->le_actualfreq->text(), QString(reply.isEmpty() ? "" : "59.94"));
        QVERIFY(f->le_actualfreq->styleSheet().contains(reply.startsWith("OK") ? "#00FF00" : "#FF"));
        probePort()->close();
    }
};

QTEST_MAIN(TestSyncFreq)
#include "tst_syncfreq.moc"
