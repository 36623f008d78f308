#include <QtTest>

#include <QSerialPort>

#include "ktcfgdata.h"
#include "ktpublicconfig.h"
#include "portholder.h"
#include "probereply.h"
#include "simprocess.h"

// The tool-page base against the simulated probe over its pseudo-terminal: the command
// functions and the standard reply handler read the probe's canonical replies. How its
// injected faults read is covered piecewise: their bytes (tst_simprocess), the reader's
// framing (tst_serialportreader), the handler's ER codes (tst_publicconfig) and a page
// against the simulator (tst_colorgamut).
class TestLinkSim : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void blockingQueries();
    void measurementsThroughTheStandardHandler_data();
    void measurementsThroughTheStandardHandler();

private:
    QStringList brightFor(const std::function<void()> &request);

    SimProcess *m_sim = nullptr;
    QSerialPort *m_port = nullptr;
    ktPublicConfig *m_hub = nullptr;
    ktPublicConfig *m_page = nullptr;
};

void TestLinkSim::initTestCase()
{
    if (SimProcess::binary().isEmpty())
        QSKIP("KT_SIM_BIN is not set");
    m_sim = new SimProcess;
    QVERIFY2(m_sim->start(), qPrintable(m_sim->errorText()));
    m_port = PortHolder::instance()->probePort();
    m_port->setPortName(m_sim->linkPath());
    m_port->setBaudRate(115200);
    QVERIFY2(m_port->open(QIODevice::ReadWrite), qPrintable(m_port->errorString()));
    m_hub = new ktPublicConfig;
    m_page = new ktPublicConfig(m_hub);
    connect(m_page, &ktPublicConfig::Signal_SendChangeMDS, m_hub, &ktPublicConfig::Slot_ChangeMDS);
    connect(m_page, &ktPublicConfig::Signal_SendUpdateMCH, m_hub, &ktPublicConfig::Slot_UpdateMCH);
    ktCfgData::instance()->setUplayerDebug(true);
}

void TestLinkSim::cleanupTestCase()
{
    delete m_hub;
    if (m_port)
        m_port->close();
    delete m_sim;
}

void TestLinkSim::init()
{
    QCOMPARE(m_sim->control("show 255,255,255").left(2), QString("OK"));
    QVERIFY(m_page->SendMDS("0"));
}

QStringList TestLinkSim::brightFor(const std::function<void()> &request)
{
    QSignalSpy bright(m_page, &ktPublicConfig::SendBrightResult);
    request();
    if (!bright.wait(5000))
        return {};
    QStringList out;
    for (const QVariant &v : bright.at(0))
        out << v.toString();
    return out;
}

// Identification, the measurement in the mode set, and the mode and channel broadcast to the
// other pages through the hub.
void TestLinkSim::blockingQueries()
{
    QString text;
    QVERIFY(m_page->SendVER(&text));
    QVERIFY(!text.isEmpty() && !text.contains(','));
    QVERIFY(m_page->SendVER1(&text));
    QVERIFY(text.at(0).isDigit());
    QVERIFY(m_page->SendVID1(&text));
    QVERIFY(m_page->SendTYP(&text));
    QVERIFY(text.startsWith("KRN4"));
    QVERIFY(m_page->SendRPR(&text));
    QVERIFY(!text.isEmpty());

    QVERIFY(m_page->SendMES(&text));
    QVERIFY(text.startsWith("OK00"));
    qint64 ms = -1;
    QVERIFY(m_page->SendMES1(&text, &ms));
    QVERIFY(ms >= 0);
    QSignalSpy mds(m_hub, &ktPublicConfig::Signal_RecvChangeMDS);
    QSignalSpy mch(m_hub, &ktPublicConfig::Signal_RecvUpdateMCH);
    QVERIFY(m_page->SendMDS("7"));
    QCOMPARE(mds.count(), 1);
    QCOMPARE(mds.at(0).at(0).toString(), QString("7"));
    QVERIFY(m_page->SendMES(&text));
    QCOMPARE(text.mid(8).split(';').size(), 3);
    QVERIFY(m_page->SendMCH("03"));
    QCOMPARE(mch.count(), 1);
    QVERIFY(m_page->SendSTR("3", &text));
    QCOMPARE(text.toInt(), 3);
    QVERIFY(m_page->SendMCH("00"));
}

void TestLinkSim::measurementsThroughTheStandardHandler_data()
{
    QTest::addColumn<QString>("colour");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    // The default display is sRGB with a D65 white: its primaries and white are the published
    // chromaticities of IEC 61966-2-1.
    QTest::newRow("white") << "255,255,255" << 0.3127 << 0.3290;
    QTest::newRow("red") << "255,0,0" << 0.64 << 0.33;
    QTest::newRow("green") << "0,255,0" << 0.30 << 0.60;
    QTest::newRow("blue") << "0,0,255" << 0.15 << 0.06;
}

void TestLinkSim::measurementsThroughTheStandardHandler()
{
    QFETCH(QString, colour);
    QFETCH(double, x);
    QFETCH(double, y);
    QCOMPARE(m_sim->control("show " + colour).left(2), QString("OK"));
    const QStringList mes = brightFor([this] { m_page->SendMESAsync(ProbeReply::TaskPage); });
    QCOMPARE(mes.size(), 6);
    QVERIFY2(qAbs(mes.at(0).toDouble() - x) < 0.0011, qPrintable(mes.join(' ')));
    QVERIFY2(qAbs(mes.at(1).toDouble() - y) < 0.0011, qPrintable(mes.join(' ')));
    QVERIFY(mes.at(2).toDouble() > 0);

    const QStringList xyz = brightFor([this] { m_page->SendXYZAsync(ProbeReply::TaskPage); });
    QCOMPARE(xyz.size(), 6);
    QVERIFY2(qAbs(xyz.at(0).toDouble() - x) < 0.0011, qPrintable(xyz.join(' ')));
    QVERIFY2(qAbs(xyz.at(1).toDouble() - y) < 0.0011, qPrintable(xyz.join(' ')));
    QVERIFY(xyz.at(5).isEmpty()); // no colour temperature from a tristimulus reading
    // Both readings agree on the luminance to the precision of the xyLv reply.
    QVERIFY(qAbs(xyz.at(2).toDouble() - mes.at(2).toDouble()) <= 0.01 * xyz.at(2).toDouble() + 0.01);

    // The synchronised measurement has its own layout; the handler reads it too.
    const QStringList sync = brightFor([this] { m_page->SendMES1Async(ProbeReply::TaskPage); });
    QCOMPARE(sync.size(), 6);
    QVERIFY2(qAbs(sync.at(0).toDouble() - x) < 0.0011, qPrintable(sync.join(' ')));
}

QTEST_MAIN(TestLinkSim)
#include "tst_linksim.moc"
