#include "ktshellrules.h"

#include <QtTest>
#include <QtWidgets>

// The main window's decisions, without a window (the rest is checked in tst_mainwindow).
class TestShellRules : public QObject
{
    Q_OBJECT

private slots:
    void extendTabs_data()
    {
        QTest::addColumn<QStringList>("extendTab");
        QTest::addColumn<QString>("created"); // j JWA waveform, d DSP waveform, r response, s spectrum
        QTest::newRow("empty") << QStringList{} << "";
        QTest::newRow("both waveform words: only JWA") << QStringList{"WAVEFORM_DSP", "WAVEFORM_JWA"} << "j";
        QTest::newRow("DSP alone") << QStringList{"WAVEFORM_DSP"} << "d";
        QTest::newRow("lower case gives nothing")
            << QStringList{"waveform_jwa", "waveform_dsp", "spectrum", "waveresponsetime_jwa"} << "";
        QTest::newRow("all") << QStringList{"WAVEFORM_JWA", "WAVERESPONSETIME_JWA", "SPECTRUM"} << "jrs";
        QTest::newRow("word inside another is no match") << QStringList{"SPECTRUM2", "XWAVEFORM_JWA"} << "";
    }
    void extendTabs()
    {
        QFETCH(QStringList, extendTab);
        QFETCH(QString, created);
        const KtShell::TabPlan plan = KtShell::planTabs(false, extendTab);
        const QString got = QString(plan.waveformJwa ? "j" : "") + (plan.waveformDsp ? "d" : "") +
                            (plan.responseTime ? "r" : "") + (plan.spectrum ? "s" : "");
        QCOMPARE(got, created);
        QVERIFY(!plan.factoryCalibration);
        QVERIFY(KtShell::factoryAccessWordMatches("QF7Z"));
        QVERIFY(!KtShell::factoryAccessWordMatches("qf7z") && !KtShell::factoryAccessWordMatches("true"));
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
        QTest::newRow("4") << 4 << true << "";
        QTest::newRow("-1 (no tab)") << -1 << false << "";
    }
    void tabActivation()
    {
        QFETCH(int, index);
        QFETCH(bool, factory);
        const KtShell::TabActivation a = KtShell::tabActivation(index, factory);
        const QString got = QString(a.flicker ? "f" : "") + (a.userCalibration ? "u" : "") +
                            (a.factoryCalibration ? "c" : "") + (a.waveform ? "w" : "");
        QTEST(got, "active");
    }

    void holdWaitSequence()
    {
        const QList<int> expected = {300, 300, 300, 150, 150, 150, 75, 75, 75, 37,
                                     37,  37,  18,  18,  18,  10,  10, 10, 10};
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(KtShell::holdWaitMs(i), expected.at(i));
        QCOMPARE(KtShell::holdWaitMs(1000), 10);
    }

    // First folder with a manual; the model before 100, the interface language first; HTML last.
    void manualIsFound_data()
    {
        QTest::addColumn<QStringList>("files");   // "folder/file" made for the case
        QTest::addColumn<QStringList>("request"); // probe type, language, what is found
        const QStringList both{"b/KRN4-P60-cn.pdf", "b/KRN4-P60-en.pdf", "b/KRN4-100-en.pdf"};
        QTest::newRow("English P60") << both << QStringList{"KRN4-P60", "eng", "b/KRN4-P60-en.pdf"};
        QTest::newRow("Chinese P60") << both << QStringList{"KRN4-P60", "chn", "b/KRN4-P60-cn.pdf"};
        QTest::newRow("no type: the 100") << both << QStringList{"", "chn", "b/KRN4-100-en.pdf"};
        QTest::newRow("data folder first")
            << both + QStringList{"a/KRN4-100-cn.pdf"} << QStringList{"KRN4-P60", "eng", "a/KRN4-100-cn.pdf"};
        QTest::newRow("HTML last") << QStringList{"c/manual.html", "c/manual-en.html"}
                                   << QStringList{"KRN4-P60", "eng", "c/manual-en.html"};
        QTest::newRow("none") << QStringList{} << QStringList{"", "eng", ""};
    }
    void manualIsFound()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, request);
        QTemporaryDir root;
        for (const QString &f : files) {
            QDir(root.path()).mkpath(f.section('/', 0, 0));
            QFile file(root.filePath(f));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QStringList folders{root.filePath("a"), root.filePath("b"), root.filePath("c")};
        QCOMPARE(KtShell::findManual(folders, request.at(0), request.at(1)),
                 request.at(2).isEmpty() ? QString() : root.filePath(request.at(2)));
    }

    void statusWordsAndCommandLine()
    {
        // A status word anywhere in what came (also an error reply) is a probe answering.
        for (const char *reply : {"OK00,5.00", "ER20", "xxOK07"})
            QVERIFY2(KtShell::containsStatusWord(reply), reply);
        for (const char *noise : {"", "OK", "OK0", "ERR", "\x80\x81\x82\x83"})
            QVERIFY2(!KtShell::containsStatusWord(noise), noise);
        using A = KtShell::CommandLineAction;
        QCOMPARE(KtShell::commandLineAction({"--simulate"}), A::Run);
        QCOMPARE(KtShell::commandLineAction({"--simulate", "-h"}), A::Help);
        QCOMPARE(KtShell::commandLineAction({"--version"}), A::Version);
        QVERIFY(KtShell::versionText().contains(QLatin1String(KtShell::SoftwareVersion)));
    }
};

QTEST_GUILESS_MAIN(TestShellRules)
#include "tst_shellrules.moc"
