#include "ktplatform.h"
#include "ktserialportsetting.h"
#include "ktshellrules.h"
#include "kttintora.h"
#include "simprocess.h"
#include "testhelpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace TestHelpers;

// The application shell against the simulated probe krn4-sim: what an operator sees after
// opening the port, and what the probe received.
class TestAppEndToEnd : public QObject
{
    Q_OBJECT

    QTemporaryDir m_userSettings;

    static QString light(ktTintora &w) { return w.findChild<QPushButton *>("pbportstatus")->styleSheet(); }

private slots:
    void initTestCase()
    {
        ktInitResources();
        QDir().mkpath(KtPlatform::virtualPortDir());
        // The language choice is per-user: keep it out of the real profile.
        QVERIFY(m_userSettings.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_userSettings.path());
        if (SimProcess::binary().isEmpty())
            QSKIP("KT_SIM_BIN is not set: run through ctest");
    }

    void connectsChecksCapabilitiesAndFollowsUnplug()
    {
        SimProcess sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorText()));
        ktTintora w;
        w.show();
        w.portDialog()->openPort(sim.portName());
        QVERIFY(probePort()->isOpen());
        QTRY_VERIFY_WITH_TIMEOUT(isGreen(light(w)), 2500);
        QCOMPARE(w.findChild<QLabel *>("le_port")->text(), sim.portName());

        // The check asks for the firmware version and the type after its 1 s settling wait.
        QTRY_COMPARE_WITH_TIMEOUT(w.capabilityChecks(), 1, 15000);
        const QString received = sim.control("received 20");
        QVERIFY2(received.contains("VER,1") && received.contains("TYP"), qPrintable(received));
        QVERIFY2(!ktTintora::probeType().isEmpty(), "the type reply was not stored");
        QVERIFY(KtShell::manualFileName(ktTintora::probeType()).startsWith("KRN4-"));

        // Unplug: light red in the window; replug under the same name: reopened by the port
        // dialog within about a second of being listed, and the window follows.
        const int opens = countInLog("Open serial port succeed: " + sim.linkPath() + "!");
        QVERIFY(sim.control("unplug").startsWith("OK"));
        QTRY_VERIFY_WITH_TIMEOUT(!probePort()->isOpen(), 3000);
        QTRY_VERIFY_WITH_TIMEOUT(isRed(light(w)), 2500);
        QTest::qWait(1100); // the list refresh sees the port gone
        QVERIFY(sim.control("replug").startsWith("OK"));
        QTRY_VERIFY_WITH_TIMEOUT(probePort()->isOpen(), 3000);
        QCOMPARE(countInLog("Open serial port succeed: " + sim.linkPath() + "!"), opens + 1);
        QTRY_VERIFY_WITH_TIMEOUT(isGreen(light(w)), 2500);
        probePort()->close();
    }

    // The program itself: --simulate starts krn4-sim beside it, opens its port, and the
    // simulator ends with the program.
    void simulateOptionStartsAndStopsTheSimulator()
    {
        const QString program = QCoreApplication::applicationDirPath() + "/ktTintora";
        if (!QFileInfo(program).isExecutable() ||
            !QFileInfo(QCoreApplication::applicationDirPath() + "/krn4-sim").isExecutable())
            QSKIP("ktTintora and krn4-sim are not built beside this test");
        const QString link = KtPlatform::virtualPortDir() + "/KRN4-SIM";
        QFile::remove(link);
        QProcess app;
        app.setProcessChannelMode(QProcess::ForwardedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", m_userSettings.path());
        app.setProcessEnvironment(env);
        const int opens = countInLog("Open serial port succeed: " + link + "!");
        app.start(program, {"--simulate"});
        QVERIFY(app.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(link), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(countInLog("Open serial port succeed: " + link + "!"), opens + 1, 10000);
        app.terminate();
        QVERIFY(app.waitForFinished(10000));
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(link), 5000);

        // Killed outright (no clean-up runs): the simulator still ends with it.
        app.start(program, {"--simulate"});
        QVERIFY(app.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(link), 10000);
        app.kill();
        QVERIFY(app.waitForFinished(5000));
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(link), 5000);
    }

    void noDisplayIsSaidPlainly()
    {
        const QString program = QCoreApplication::applicationDirPath() + "/ktTintora";
        if (!QFileInfo(program).isExecutable())
            QSKIP("ktTintora is not built beside this test");
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", m_userSettings.path());
        env.remove("QT_QPA_PLATFORM");
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        app.setProcessEnvironment(env);
        app.start(program, QStringList());
        QVERIFY(app.waitForFinished(10000));
        QCOMPARE(app.exitCode(), 2);
        QVERIFY(app.readAllStandardError().contains("xvfb-run"));
    }
};

QTEST_MAIN(TestAppEndToEnd)
#include "tst_app_e2e.moc"
