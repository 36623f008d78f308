// Closed loop on an X display (Xvfb): the pages show their pattern windows, krn4-sim reads the
// pattern window's pixels through its display model, and the pages measure over the real
// serial link. Expected values come from the simulated display as documented
// (docs/protocol.md): sRGB primaries, D65 white, 200 cd/m², tone curve (v/255)^gamma.
#include "graylogic.h"
#include "ktgamma.h"
#include "ktmeasure.h"
#include "ktshowrgb.h"
#include "measurementmodel.h"
#include "pagetest.h"
#include "simprocess.h"

#include <QtTest>
#include <QtWidgets>

#include <cmath>

using namespace GrayLogic;

class TestGammaLoop : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    SimProcess m_sim;

    // One 16-tone run of all four colours; every normalised point within 0.5 % of the power
    // law (the dark end within 1e-4) and the fitted exponent within 0.02.
    void runAndCheck(ktGamma &page, double gamma)
    {
        PageTest::ModalCloser confirm;
        confirm.arm();
        page.findChild<QPushButton *>("pb_measure")->click();
        QVERIFY(confirm.seen);
        for (int c = 0; c < SeriesCount; ++c) {
            const Series &s = page.series(SeriesColour(c));
            QCOMPARE(s.levels.size(), 17);
            const QVector<double> n = normalised(s);
            for (int i = 0; i < n.size(); ++i) {
                const double expected = std::pow(s.levels.at(i) / 255.0, gamma);
                QVERIFY2(std::fabs(n.at(i) - expected) <= std::max(1e-4, 0.005 * expected),
                         qPrintable(QString("%1 level %2: %3 vs %4")
                                        .arg(seriesName(c))
                                        .arg(s.levels.at(i))
                                        .arg(n.at(i))
                                        .arg(expected)));
            }
            const double fitted = fitGamma(s);
            QVERIFY2(std::fabs(fitted - gamma) <= 0.02, qPrintable(QString::number(fitted)));
        }
        QVERIFY(page.fittedGammaText().contains(QString::number(gamma, 'f', 3).left(3)));
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X display: runs under xvfb-run through ctest");
        PageTest::isolateUserSettings(m_dir.path());
        QVERIFY2(m_sim.start(), qPrintable(m_sim.errorText()));
        QVERIFY(PageTest::openProbePort(m_sim.linkPath()));
    }

    void gammaRunRecoversTheDisplayGamma()
    {
        ktGamma page;
        ktShowRGB window;
        connect(&page, &ktGamma::signalShowColor, &window, [&window](QString &c) { window.SetColor(c); });
        connect(&page, &ktGamma::signalShowColorWindow, &window, &QWidget::show);
        connect(&window, &ktShowRGB::signal_CloseRGBWindow, &page, &ktGamma::slot_RGBWindowClose);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Time for the pattern to reach the screen before the probe reads it.
        page.findChild<QLineEdit *>("le_ms")->setText("60");
        runAndCheck(page, 2.2);
        QVERIFY(m_sim.control("display gamma 2.4").startsWith("OK"));
        runAndCheck(page, 2.4);
        window.close();
        QVERIFY(m_sim.control("display gamma 2.2").startsWith("OK"));
    }

    void grayScanMeasuresItsOwnWindow()
    {
        ktMeasure m;
        m.setSelection({FlagWhite | FlagBlue, "16", {"0", "255"}});
        m.findChild<QRadioButton *>("rb_graylevel")->click();
        m.findChild<QLineEdit *>("le_ms")->setText("150");
        m.findChild<QPushButton *>("pb_measure")->click();
        const MeasurementModel *t = m.model();
        QCOMPARE(t->recordCount(), 4);
        QCOMPARE(QStringList({t->cellText(0, 0), t->cellText(1, 0), t->cellText(2, 0), t->cellText(3, 0)}),
                 QStringList({"0,0,0", "255,255,255", "0,0,0", "0,0,255"}));
        for (int r : {0, 2})
            QCOMPARE(t->cellText(r, 6), QString("0.0"));
        const auto near = [t](int row, int col, double v, double tol) {
            return std::fabs(t->cellText(row, col).toDouble() - v) <= tol;
        };
        QVERIFY(near(1, 6, 200.0, 0.5) && near(1, 4, 0.3127, 0.001) && near(1, 5, 0.3290, 0.001));
        // Blue: the sRGB blue primary carries 0.0722 of white's luminance (IEC 61966-2-1).
        QVERIFY(near(3, 6, 200.0 * 0.0722, 0.1) && near(3, 4, 0.15, 0.001) && near(3, 5, 0.06, 0.001));
    }
};

QTEST_MAIN(TestGammaLoop)
#include "tst_gammaloop.moc"
