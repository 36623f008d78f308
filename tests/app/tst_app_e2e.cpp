#include "ktflickerset.h"
#include "ktplatform.h"
#include "ktserialportsetting.h"
#include "ktshowrgb.h"
#include "ktsimulatedprobe.h"
#include "kttintora.h"
#include "measurementmodel.h"
#include "simprocess.h"
#include "testhelpers.h"
#include "ui_ktflickerset.h"

#include <QtTest>
#include <QtWidgets>

#include <cmath>

using namespace TestHelpers;

// The program as an operator meets it: the binary, and the simulated probe reading the Color Window.
class TestAppEndToEnd : public QObject
{
    Q_OBJECT

    QTemporaryDir m_userSettings;

    QString program() const { return QCoreApplication::applicationDirPath() + "/ktTintora"; }

private slots:
    void initTestCase()
    {
        ktInitResources();
        QDir().mkpath(KtPlatform::virtualPortDir());
        // The language choice and window state are per-user: keep them out of the real profile.
        QVERIFY(m_userSettings.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_userSettings.path());
        if (SimProcess::binary().isEmpty())
            QSKIP("KT_SIM_BIN is not set: run through ctest");
    }

    // Color Window 128,0,0 under --simulate measures 128,0,0: the x, y of the simulated display's
    // red primary and the red luminance at level 128. Expected from the simulator's documented
    // display (docs/protocol.md: sRGB primaries, D65 white, 200 cd/m², gamma 2.2), where red
    // carries Y = 0.2126 of white (IEC 61966-2-1).
    void colourWindowIsWhatTheSimulatorMeasures()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X display: runs as tst_app_e2e_xvfb under xvfb-run");
        KtSimulatedProbe sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorText()));
        QVERIFY(sim.readsScreen());
        ktTintora w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.portDialog()->openPort(sim.portName()); // as main() does for --simulate
        sim.followWindow(w.colourWindow());
        QTRY_COMPARE_WITH_TIMEOUT(w.capabilityChecks(), 1, 15000);
        QVERIFY(!w.probeSilent());

        w.findChild<QSpinBox *>("sbR")->setValue(128);
        w.findChild<QPushButton *>("pbShowColorWindow")->click();
        QVERIFY(QTest::qWaitForWindowExposed(w.colourWindow()));
        QTRY_VERIFY_WITH_TIMEOUT(!sim.followedPoint().isEmpty(), 3000);

        auto *measure = qobject_cast<ktFlickerSet *>(w.tabWidget()->widget(0));
        QVERIFY(measure);
        measure->form()->rb_Single->click();
        measure->form()->pbMeasure->click();
        QTRY_COMPARE_WITH_TIMEOUT(measure->brightRow(), 1, 10000);
        const MeasurementModel *table = measure->tableModel(true);
        const double x = table->cellText(0, 3).toDouble(), y = table->cellText(0, 4).toDouble();
        const double lv = table->cellText(0, 5).toDouble();
        const double expectedLv = 200.0 * 0.2126 * std::pow(128.0 / 255.0, 2.2); // 9.34 cd/m²
        QVERIFY2(std::fabs(x - 0.64) < 0.001 && std::fabs(y - 0.33) < 0.001,
                 qPrintable(QString("%1 %2").arg(x).arg(y)));
        QVERIFY2(std::fabs(lv / expectedLv - 1) < 0.005,
                 qPrintable(QString("%1 vs %2").arg(lv).arg(expectedLv)));

        // Hidden, the window is no longer what the probe looks at.
        w.colourWindow()->close();
        QTRY_VERIFY_WITH_TIMEOUT(sim.followedPoint().isEmpty(), 3000);
    }

    // --simulate starts krn4-sim and opens its port; it ends with the program, also when killed.
    void simulateOptionStartsAndStopsTheSimulator()
    {
        if (!QFileInfo(program()).isExecutable() ||
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
        for (bool kill : {false, true}) {
            app.start(program(), {"--simulate"});
            QVERIFY(app.waitForStarted(5000));
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(link), 10000);
            if (!kill)
                QTRY_COMPARE_WITH_TIMEOUT(countInLog("Open serial port succeed: " + link + "!"), opens + 1,
                                          10000);
            kill ? app.kill() : app.terminate();
            QVERIFY(app.waitForFinished(10000));
            QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(link), 5000);
        }
    }

    // --help and --version answer without any display; starting without one says what to do.
    void commandLineWithoutADisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::newRow("--help") << QStringList{"--help"} << 0 << "Usage: ktTintora [--simulate]";
        QTest::newRow("-h") << QStringList{"-h"} << 0 << "--version";
        QTest::newRow("--version") << QStringList{"--version"} << 0 << "ktTintora 1.1.0.34\n";
        QTest::newRow("no option") << QStringList{} << 2 << "xvfb-run";
    }
    void commandLineWithoutADisplay()
    {
        QFETCH(QStringList, arguments);
        if (!QFileInfo(program()).isExecutable())
            QSKIP("ktTintora is not built beside this test");
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", m_userSettings.path());
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(name);
        app.setProcessEnvironment(env);
        app.start(program(), arguments);
        QVERIFY(app.waitForFinished(10000));
        QTEST(app.exitCode(), "exitCode");
        const QString printed =
            QString::fromLocal8Bit(app.readAllStandardOutput() + app.readAllStandardError());
        QFETCH(QString, output);
        QVERIFY2(printed.contains(output), qPrintable(printed));
    }
};

QTEST_MAIN(TestAppEndToEnd)
#include "tst_app_e2e.moc"
