// The X-screen mode under Xvfb: the probe measures the colour of a window on the X display.

#include "readers.h"
#include "simprocess.h"

#include <QtTest>

#include <QFileInfo>
#include <QSerialPort>
#include <QStandardPaths>

class TestSimScreen : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void measuresAndRecordsTheScreen();

private:
    static QByteArray exchange(QSerialPort &port, const QByteArray &command);
    QProcess m_xvfb;
    QProcess m_window;
    QString m_display;
};

void TestSimScreen::initTestCase()
{
    if (SimProcess::binary().isEmpty())
        QSKIP("KT_SIM_BIN is not set; run through ctest");
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    if (xvfb.isEmpty())
        QSKIP("Xvfb is not installed");
    // Xvfb picks a free display number itself and tells it, so parallel suites do not collide.
    m_xvfb.start(xvfb, {"-displayfd", "1", "-screen", "0", "320x240x24", "-nolisten", "tcp"});
    QVERIFY(m_xvfb.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(m_xvfb.canReadLine(), 10000);
    m_display = ":" + QString::fromLatin1(m_xvfb.readLine().trimmed());
    qputenv("DISPLAY", m_display.toLatin1());
    const QString helper = QFileInfo(SimProcess::binary()).absolutePath() + "/krn4sim_colorwindow";
    m_window.setProcessChannelMode(QProcess::ForwardedChannels);
    m_window.start(helper, {"255,0,0"});
    QVERIFY2(m_window.waitForStarted(5000), qPrintable(helper));
}

void TestSimScreen::cleanupTestCase()
{
    for (QProcess *p : {&m_window, &m_xvfb}) {
        p->terminate();
        p->waitForFinished(3000);
    }
}

QByteArray TestSimScreen::exchange(QSerialPort &port, const QByteArray &command)
{
    port.readAll();
    port.write(command + '\r');
    QByteArray r;
    QElapsedTimer clock;
    clock.start();
    while (!r.contains('\r') && clock.elapsed() < 3000) {
        if (port.waitForReadyRead(20))
            r += port.readAll();
    }
    return r.left(r.indexOf('\r'));
}

void TestSimScreen::measuresAndRecordsTheScreen()
{
    SimProcess sim({"--screen", "160,120", "--show", "0,0,255", "--response", "3"});
    QVERIFY2(sim.start(), qPrintable(sim.errorText()));
    QSerialPort port;
    port.setPortName(sim.linkPath());
    QVERIFY(port.open(QIODevice::ReadWrite));
    // The window maps shortly after start: wait until the probe sees red.
    QTRY_VERIFY_WITH_TIMEOUT(
        qAbs(Readers::base(exchange(port, "MES")).value_or(Readers::XyLv{}).x - 0.64) < 5e-4, 10000);
    const auto v = Readers::base(exchange(port, "MES"));
    QVERIFY(v && qAbs(v->y - 0.33) < 5e-4 && qAbs(v->lv - 200 * 0.2126) < 0.5);
    QCOMPARE(sim.control("screen 10,10"), QString("OK 255,0,0"));
    QVERIFY(sim.control("screen off").startsWith("OK"));
    QVERIFY(sim.control("show 0,255,0").startsWith("OK"));
    const auto g = Readers::base(exchange(port, "MES"));
    QVERIFY(g && qAbs(g->x - 0.30) < 5e-4 && qAbs(g->y - 0.60) < 5e-4);

    // A window alternating black and white every 100 ms: the sampled record of the last second
    // shows both levels, as the response-time page needs.
    QProcess blink;
    blink.start(QFileInfo(SimProcess::binary()).absolutePath() + "/krn4sim_colorwindow",
                {"0,0,0/255,255,255/100"});
    QVERIFY(blink.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(sim.control("screen 50,50").startsWith("OK"), 5000);
    auto spread = [&port] {
        const auto v = Readers::jaa(exchange(port, "JAA,3072,1"));
        if (!v || v->empty())
            return 0.0;
        return *std::max_element(v->begin(), v->end()) - *std::min_element(v->begin(), v->end());
    };
    QTRY_VERIFY_WITH_TIMEOUT(spread() > 150.0, 8000);
    blink.terminate();
    blink.waitForFinished(3000);
}

QTEST_GUILESS_MAIN(TestSimScreen)
#include "tst_simscreen.moc"
