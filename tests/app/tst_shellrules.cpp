#include "ktshellrules.h"

#include <QTest>

// The main window's decisions, without a window.
class TestShellRules : public QObject
{
    Q_OBJECT

private slots:
    void extendTabs_data()
    {
        QTest::addColumn<QStringList>("extendTab");
        QTest::addColumn<bool>("jwa");
        QTest::addColumn<bool>("dsp");
        QTest::addColumn<bool>("responseTime");
        QTest::addColumn<bool>("spectrum");
        QTest::newRow("empty") << QStringList{} << false << false << false << false;
        QTest::newRow("both waveform words: only JWA")
            << QStringList{"WAVEFORM_DSP", "WAVEFORM_JWA"} << true << false << false << false;
        QTest::newRow("DSP alone") << QStringList{"WAVEFORM_DSP"} << false << true << false << false;
        QTest::newRow("lower case gives nothing")
            << QStringList{"waveform_jwa", "waveform_dsp", "spectrum", "waveresponsetime_jwa"} << false
            << false << false << false;
        QTest::newRow("all") << QStringList{"WAVEFORM_JWA", "WAVERESPONSETIME_JWA", "SPECTRUM"} << true
                             << false << true << true;
        QTest::newRow("word inside another is no match")
            << QStringList{"SPECTRUM2", "XWAVEFORM_JWA"} << false << false << false << false;
    }
    void extendTabs()
    {
        QFETCH(QStringList, extendTab);
        const KtShell::TabPlan plan = KtShell::planTabs(false, extendTab);
        QTEST(plan.waveformJwa, "jwa");
        QTEST(plan.waveformDsp, "dsp");
        QTEST(plan.responseTime, "responseTime");
        QTEST(plan.spectrum, "spectrum");
        QVERIFY(!plan.factoryCalibration);
    }

    void factoryAccessWordIsCaseSensitive()
    {
        QVERIFY(KtShell::factoryAccessWordMatches("QF7Z"));
        QVERIFY(!KtShell::factoryAccessWordMatches("qf7z"));
        QVERIFY(!KtShell::factoryAccessWordMatches("true"));
        QVERIFY(!KtShell::factoryAccessWordMatches(""));
    }

    void tabActivation_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("factory");
        QTest::addColumn<QString>("active"); // letters: f flicker, u user, c factory, w waveform
        QTest::newRow("0") << 0 << false << "f";
        QTest::newRow("1") << 1 << false << "u";
        QTest::newRow("2 without factory: waveform") << 2 << false << "w";
        QTest::newRow("2 with factory: factory") << 2 << true << "c";
        QTest::newRow("3 with factory: waveform") << 3 << true << "w";
        QTest::newRow("3 without factory: waveform") << 3 << false << "w";
        QTest::newRow("4") << 4 << true << "";
        QTest::newRow("-1 (no tab)") << -1 << false << "";
    }
    void tabActivation()
    {
        QFETCH(int, index);
        QFETCH(bool, factory);
        QFETCH(QString, active);
        const KtShell::TabActivation a = KtShell::tabActivation(index, factory);
        QCOMPARE(a.flicker, active.contains('f'));
        QCOMPARE(a.userCalibration, active.contains('u'));
        QCOMPARE(a.factoryCalibration, active.contains('c'));
        QCOMPARE(a.waveform, active.contains('w'));
    }

    void capability_data()
    {
        QTest::addColumn<bool>("received");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("waveform");
        QTest::addColumn<bool>("spectrum");
        QTest::newRow("5.00 P60") << true << "5.00,KRN4-P60" << true << true;
        QTest::newRow("5.001") << true << "5.001" << true << false;
        QTest::newRow("4.10 type 100") << true << "4.10 KRN4-100" << false << false;
        QTest::newRow("no reply") << false << "" << true << true;
        QTest::newRow("empty reply text") << true << "" << false << false;
    }
    void capability()
    {
        QFETCH(bool, received);
        QFETCH(QString, text);
        QTEST(KtShell::waveformPagesAllowed(received, text), "waveform");
        QTEST(KtShell::spectrumPageAllowed(received, text), "spectrum");
    }

    void holdWaitSequence()
    {
        const QList<int> expected = {300, 300, 300, 150, 150, 150, 75, 75, 75, 37,
                                     37,  37,  18,  18,  18,  10,  10, 10, 10};
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(KtShell::holdWaitMs(i), expected.at(i));
        for (int i = 0; i < 1000; i += 7)
            QVERIFY(KtShell::holdWaitMs(i) >= 10);
    }

    void stepsStayWithinAByte()
    {
        QCOMPARE(KtShell::stepComponent(255, +1), 255);
        QCOMPARE(KtShell::stepComponent(254, +1), 255);
        QCOMPARE(KtShell::stepComponent(0, -1), 0);
        QCOMPARE(KtShell::stepComponent(1, -1), 0);
    }

    void colourStrings()
    {
        QCOMPARE(KtShell::colourString(255, 0, 12), QString("255,0,12"));
        int r = -1, g = -1, b = -1;
        QVERIFY(!KtShell::parseColour("10,20", &r, &g, &b));
        QCOMPARE(r, -1);
        QVERIFY(KtShell::parseColour("10,20,30", &r, &g, &b));
        QCOMPARE(QList<int>({r, g, b}), QList<int>({10, 20, 30}));
    }

    void manualNames_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("file");
        QTest::newRow("P60") << "KRN4-P60"
                             << "KRN4-P60-cn.pdf";
        QTest::newRow("unknown") << ""
                                 << "KRN4-100-cn.pdf";
        QTest::newRow("100") << "KRN4-100"
                             << "KRN4-100-cn.pdf";
    }
    void manualNames()
    {
        QFETCH(QString, type);
        QTEST(KtShell::manualFileName(type), "file");
        QCOMPARE(KtShell::manualPath("/opt/kt", type), "/opt/kt/Manual/" + KtShell::manualFileName(type));
    }

    void translatedTabTitles()
    {
        for (const char *t : {"UserCalibration", "Measure", "FactoryCalibration", "WaveForm",
                              "WaveResponseTimeTest", "Spectrum"})
            QVERIFY(KtShell::isTranslatedTabTitle(t));
        QVERIFY(!KtShell::isTranslatedTabTitle("Gamma"));
        QVERIFY(!KtShell::isTranslatedTabTitle("measure"));
    }
};

QTEST_GUILESS_MAIN(TestShellRules)
#include "tst_shellrules.moc"
