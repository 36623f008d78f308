#include <QtTest>

#include <QPushButton>
#include <QSerialPort>
#include <QTextBlock>
#include <QTextEdit>

#include <functional>

#include "ktcfgdata.h"
#include "linksync.h"
#include "ktmessagedlg.h"
#include "ktprogramlog.h"
#include "ktpublicconfig.h"
#include "portholder.h"
#include "probereply.h"
#include "ptypeer.h"
#include "ptyresponder.h"

using namespace ProbeReply;

// A page as the real ones are: derived from the base, overriding the reply slot and handing
// on to the base so that the standard handler runs.
class TestPage : public ktPublicConfig
{
    Q_OBJECT
public:
    using ktPublicConfig::ktPublicConfig;
    struct Reply
    {
        uint code;
        uint task;
        QByteArray bytes;
    };
    QList<Reply> replies;
    int mdsChanges = 0;
    QString lastMds;
    int mchUpdates = 0;
    int closePorts = 0;

    void Slot_RecvMessage(QString &port, unsigned code, unsigned task, QByteArray &reply) override
    {
        replies << Reply{code, task, reply};
        ktPublicConfig::Slot_RecvMessage(port, code, task, reply);
    }
    QString logText() { return logView()->toPlainText(); }
};

// A page whose own form has a "pbOK", like the mode and version dialogs.
class OkPage : public ktPublicConfig
{
    Q_OBJECT
public:
    OkPage()
    {
        auto *ok = new QPushButton(this);
        ok->setObjectName(QStringLiteral("pbOK"));
        QMetaObject::connectSlotsByName(this); // what a page's setupUi does
    }
    int clicks = 0;
private slots:
    void on_pbOK_clicked() { ++clicks; }
};

class TestPublicConfig : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void eachCommandSendsExactlyItsBytes();
    void asyncCommandsCarryTheirCodes();
    void dataIsSlicedFromTheReply_data();
    void dataIsSlicedFromTheReply();
    void measurementWithErAnywhereFails_data();
    void measurementWithErAnywhereFails();
    void mdsAnsweredAfter600msIsATimeout();
    void busyReaderRefusesEveryRequest();
    void otherPagesWaitForTheRequestInFlight();
    void successfulMdsAndMchReachEveryPage();
    void failedMdsBroadcastsNothing();
    void standardHandlerReadings_data();
    void standardHandlerReadings();
    void chainedStatusQuery();
    void zeroCalibrationReply();
    void otherTaskCodesSkipTheHandler();
    void timeoutSignalOnlyForTasks4To8_data();
    void timeoutSignalOnlyForTasks4To8();
    void progressRunCollapsesToOneLine_data();
    void progressRunCollapsesToOneLine();
    void debugOffShowsProgressAndKeepsItOutOfTheLogs();
    void debugOnEchoesBothDirections();
    void programLogGetsStrippedLines();
    void badInputNeverBlocksBeyondTheTimeout_data();
    void badInputNeverBlocksBeyondTheTimeout();
    void rawBytesCompareWithTheExpectedAnswer();
    void messageBoxOkDoesNotReachThePageOkSlot();

private:
    QByteArray peerCommand(int timeoutMs = 1000);
    static QString todayFile(const QString &path);

    PtyPeer m_peer;
    QSerialPort *m_port = nullptr;
    TestPage *m_page = nullptr;
};

void TestPublicConfig::initTestCase()
{
    m_port = PortHolder::instance()->probePort();
    QVERIFY(m_port);
}

void TestPublicConfig::init()
{
    ktCfgData::instance()->setUplayerDebug(true);
    QVERIFY(m_peer.open());
    m_port->setPortName(m_peer.slavePath());
    QVERIFY2(m_port->open(QIODevice::ReadWrite), qPrintable(m_port->errorString()));
    LinkSync::setSynchronised(m_port, true); // a new peer: no late reply of an earlier case
    m_page = new TestPage;
}

void TestPublicConfig::cleanup()
{
    delete m_page;
    m_page = nullptr;
    m_port->close();
    m_peer.close();
}

QByteArray TestPublicConfig::peerCommand(int timeoutMs)
{
    QByteArray got;
    QElapsedTimer clock;
    clock.start();
    while (!got.contains('\r') && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents();
        got += m_peer.readUntil('\r', 5);
    }
    return got;
}

QString TestPublicConfig::todayFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void TestPublicConfig::eachCommandSendsExactlyItsBytes()
{
    struct Case
    {
        const char *bytes;
        std::function<bool(ktPublicConfig &)> call;
    };
    QString s;
    QByteArray b;
    const QList<Case> cases = {
        {"VER\r", [&](ktPublicConfig &p) { return p.SendVER(&s); }},
        {"VID,1\r", [&](ktPublicConfig &p) { return p.SendVID1(&s); }},
        {"VER,1\r", [&](ktPublicConfig &p) { return p.SendVER1(&s); }},
        {"TYP\r", [&](ktPublicConfig &p) { return p.SendTYP(&s); }},
        {"RPR\r", [&](ktPublicConfig &p) { return p.SendRPR(&s); }},
        {"STR,28\r", [&](ktPublicConfig &p) { return p.SendSTR("28", &s); }},
        {"MDS,7\r", [&](ktPublicConfig &p) { return p.SendMDS("7"); }},
        {"MCH,07\r", [&](ktPublicConfig &p) { return p.SendMCH("07"); }},
        {"SCS,4,59.94\r", [&](ktPublicConfig &p) { return p.SendSCS("4,59.94"); }},
        {"FSC,1\r", [&](ktPublicConfig &p) { return p.SendFSC("1"); }},
        {"MSC,100\r", [&](ktPublicConfig &p) { return p.SendMSC("100"); }},
        {"MVS,60.00\r", [&](ktPublicConfig &p) { return p.SendMVS("60.00"); }},
        {"VSN,1,0\r", [&](ktPublicConfig &p) { return p.SendVSN("1"); }},
        {"VSN,2,0\r", [&](ktPublicConfig &p) { return p.SendVSN("2"); }},
        {"INI\r", [&](ktPublicConfig &p) { return p.SendINI(); }},
        {"MES\r", [&](ktPublicConfig &p) { return p.SendMES(&s); }},
        {"MES,1\r", [&](ktPublicConfig &p) { return p.SendMES1(&s); }},
        {"JAD\r", [&](ktPublicConfig &p) { return p.SendJAD(&s); }},
        {"RSD\r", [&](ktPublicConfig &p) { return p.SendRSD(&s); }},
        {"JAA,8192,1\r", [&](ktPublicConfig &p) { return p.SendJAA("8192", "1", &s); }},
        {"JWA,4096,2\r", [&](ktPublicConfig &p) { return p.SendJWA("4096", "2", &s); }},
        {"SWD,3\r", [&](ktPublicConfig &p) { return p.SendSWD("3"); }},
        {"SEN,0\r", [&](ktPublicConfig &p) { return p.SendSEN("0"); }},
        {"CMR,11\r", [&](ktPublicConfig &p) { return p.SendCMR11(&s); }},
        {"CMR,13\r", [&](ktPublicConfig &p) { return p.SendCMR13(&s); }},
        {"CMR,14\r", [&](ktPublicConfig &p) { return p.SendCMR("14", &s); }},
        {"CMW,11,Panel A\r", [&](ktPublicConfig &p) { return p.SendCMW("11", "Panel A"); }},
        {"RGM\r", [&](ktPublicConfig &p) { return p.SendRGM(&s); }},
        {"RGU 1;2;3\r", [&](ktPublicConfig &p) { return p.SendRGU("1;2;3"); }},
        {"RAW\r", [&](ktPublicConfig &p) { return p.SendRAW(); }},
        {"FCS\r", [&](ktPublicConfig &p) { return p.SendFCS(""); }},
        {"FCS,5\r", [&](ktPublicConfig &p) { return p.SendFCS("5"); }},
        {"CLR\r", [&](ktPublicConfig &p) { return p.SendCLR(); }},
        {"RGE\r", [&](ktPublicConfig &p) { return p.SendRGE(); }},
        {"UDP,0x3C71\r", [&](ktPublicConfig &p) { return p.SendUDP(); }},
        {"COM,1\r", [&](ktPublicConfig &p) { return p.SendCOM1(); }},
        {"UPD,1\r", [&](ktPublicConfig &p) { return p.SendUPD1(); }},
        {"TYP\r", [&](ktPublicConfig &p) { return p.SendCommand("TYP"); }},
        {"SEN,1\r", [&](ktPublicConfig &p) { return p.SendCommand("SEN,1\r"); }},
    };
    PtyResponder responder(&m_peer, [](const QByteArray &) { return QByteArray("OK00,1,2\r"); });
    responder.start();
    for (const Case &c : cases) {
        responder.clearCommands();
        QVERIFY2(c.call(*m_page), c.bytes);
        QCOMPARE(responder.commands(), QList<QByteArray>{QByteArray(c.bytes)});
    }
}

void TestPublicConfig::asyncCommandsCarryTheirCodes()
{
    struct Case
    {
        const char *bytes;
        uint code;
        std::function<void(ktPublicConfig &)> call;
    };
    const QList<Case> cases = {
        {"IDO\r", 1, [](ktPublicConfig &p) { p.SendIDOAsync(6); }},
        {"RPR,2\r", 2, [](ktPublicConfig &p) { p.SendRPRAsync(6, "2"); }},
        {"IDP,3\r", 3, [](ktPublicConfig &p) { p.SendIDPAsync(6, "3"); }},
        {"STR,1\r", 4, [](ktPublicConfig &p) { p.SendSTRAsync(6, "1"); }},
        {"STR,3\r", 7, [](ktPublicConfig &p) { p.SendSTRAsync(6, "3"); }},
        {"STR,5\r", 9, [](ktPublicConfig &p) { p.SendSTRAsync(6, "5"); }},
        {"MDS,0\r", 19, [](ktPublicConfig &p) { p.SendMDSAsync(6, "0"); }},
        {"MDS,1\r", 20, [](ktPublicConfig &p) { p.SendMDSAsync(6, "1"); }},
        {"MDS,6\r", 21, [](ktPublicConfig &p) { p.SendMDSAsync(6, "6"); }},
        {"MDS,7\r", 22, [](ktPublicConfig &p) { p.SendMDSAsync(6, "7"); }},
        {"MDS,8\r", 23, [](ktPublicConfig &p) { p.SendMDSAsync(6, "8"); }},
        {"MCH,12\r", 24, [](ktPublicConfig &p) { p.SendMCHAsync(6, "12"); }},
        {"SCS,1\r", 25, [](ktPublicConfig &p) { p.SendSCSAsync(6, "1"); }},
        {"FSC,2\r", 26, [](ktPublicConfig &p) { p.SendFSCAsync(6, "2"); }},
        {"SNF,4\r", 27, [](ktPublicConfig &p) { p.SendSNFAsync(6, "4"); }},
        {"ARS,5\r", 28, [](ktPublicConfig &p) { p.SendARSAsync(6, "5"); }},
        {"ARS,6\r", 29, [](ktPublicConfig &p) { p.SendARS2Async(6, "6"); }},
        {"XYZ\r", 31, [](ktPublicConfig &p) { p.SendXYZAsync(6); }},
        {"MES\r", 32, [](ktPublicConfig &p) { p.SendMESAsync(6); }},
        {"MES,1\r", 32, [](ktPublicConfig &p) { p.SendMES1Async(6); }},
        {"MES,1\r", 33, [](ktPublicConfig &p) { p.SendCommandAsync(6, "MES,1"); }},
        {"JAD\r", 34, [](ktPublicConfig &p) { p.SendJADAsync(4); }},
        {"ZRC\r", 35, [](ktPublicConfig &p) { p.SendZRCAsync(6); }},
        {"FFD\r", 37, [](ktPublicConfig &p) { p.SendFFDAsync(6); }},
        {"CMR,11\r", 42, [](ktPublicConfig &p) { p.SendCMR11Async(6); }},
    };
    for (const Case &c : cases) {
        m_page->replies.clear();
        c.call(*m_page);
        QVERIFY(m_page->readerBusy());
        QCOMPARE(peerCommand(), QByteArray(c.bytes));
        QVERIFY(m_peer.write("OK00\r"));
        QTRY_COMPARE_WITH_TIMEOUT(m_page->replies.size(), 1, 2000);
        QCOMPARE(m_page->replies.at(0).code, c.code);
        QCOMPARE(m_page->replies.at(0).task, m_page->currentTask);
    }
    QCOMPARE(m_page->currentTask, 6u);
}

void TestPublicConfig::dataIsSlicedFromTheReply_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("data");
    QTest::newRow("VER last comma") << "VER" << QByteArray("OK00,KRN4,V2.10\r") << true << "V2.10";
    QTest::newRow("VID,1 last comma") << "VID1" << QByteArray("OK00,V2,1.07\r") << true << "1.07";
    QTest::newRow("VER,1 first comma") << "VER1" << QByteArray("OK00,5.00,B\r") << true << "5.00,B";
    QTest::newRow("TYP") << "TYP" << QByteArray("OK00,KRN4-P60\r") << true << "KRN4-P60";
    QTest::newRow("VER refused") << "VER" << QByteArray("ER10\r") << false << "";
    QTest::newRow("STR from 5") << "STR7" << QByteArray("OK00,2\r") << true << "2";
    QTest::newRow("STR,31 ER10 accepted") << "STR31" << QByteArray("ER10,0\r") << true << "0";
    QTest::newRow("STR,7 ER10 refused") << "STR7" << QByteArray("ER10,0\r") << false << "";
    QTest::newRow("RGM ER84 accepted") << "RGM" << QByteArray("ER84,1;2;3\r") << true << "1;2;3";
    QTest::newRow("RGM OK00") << "RGM" << QByteArray("OK00,4;5\r") << true << "4;5";
    QTest::newRow("RGM ER10") << "RGM" << QByteArray("ER10\r") << false << "";
    QTest::newRow("CMW ER10 refused") << "CMW" << QByteArray("ER10\r") << false << "";
    QTest::newRow("CMW ER10 accepted on request") << "CMW14" << QByteArray("ER10\r") << true << "";
    QTest::newRow("MVS any reply") << "MVS" << QByteArray("ER31,59.90\r") << true << "ER31,59.90";
    QTest::newRow("VSN ok") << "VSN" << QByteArray("OK00\r") << true << "";
    QTest::newRow("VSN er") << "VSN" << QByteArray("OK00,ER\r") << false << "";
    QTest::newRow("generic needs OK00") << "GEN" << QByteArray("OK01\r") << false << "OK01";
}

void TestPublicConfig::dataIsSlicedFromTheReply()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, reply);
    QFETCH(bool, ok);
    QFETCH(QString, data);
    PtyResponder responder(&m_peer, [reply](const QByteArray &) { return reply; });
    responder.start();
    QString out;
    bool result = false;
    if (command == "VER")
        result = m_page->SendVER(&out);
    else if (command == "VID1")
        result = m_page->SendVID1(&out);
    else if (command == "VER1")
        result = m_page->SendVER1(&out);
    else if (command == "TYP")
        result = m_page->SendTYP(&out);
    else if (command == "STR7")
        result = m_page->SendSTR("7", &out);
    else if (command == "STR31")
        result = m_page->SendSTR("31", &out);
    else if (command == "RGM")
        result = m_page->SendRGM(&out);
    else if (command == "CMW")
        result = m_page->SendCMW("14", "0.3127");
    else if (command == "CMW14")
        result = m_page->SendCMW("14", "0.3127", true);
    else if (command == "MVS")
        result = m_page->SendMVS("59.90", &out);
    else if (command == "VSN")
        result = m_page->SendVSN("1");
    else if (command == "GEN")
        result = m_page->SendCommand("COM,1", 5000, &out);
    QCOMPARE(result, ok);
    QCOMPARE(out, data);
}

void TestPublicConfig::measurementWithErAnywhereFails_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("ok");
    QTest::newRow("plain ok") << QByteArray("OK00,P1,3127,3290,100.0,\r") << true;
    QTest::newRow("ER status") << QByteArray("ER20,P1,  12,\r") << false;
    QTest::newRow("ER inside data") << QByteArray("OK00,P1,HEADER,1\r") << false;
    QTest::newRow("ER at the end") << QByteArray("OK00,P1,3127,3290,ER\r") << false;
}

void TestPublicConfig::measurementWithErAnywhereFails()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, ok);
    PtyResponder responder(&m_peer, [reply](const QByteArray &) { return reply; });
    responder.setDelayMs(60);
    responder.start();
    QString text;
    QCOMPARE(m_page->SendMES(&text), ok);
    QCOMPARE(text.toLatin1() + '\r', reply);
    qint64 elapsed = -1;
    QCOMPARE(m_page->SendMES1(&text, &elapsed), ok);
    QVERIFY(elapsed >= 60 && elapsed < 2000);
    QCOMPARE(m_page->SendJAD(&text), ok);
    QCOMPARE(m_page->SendRSD(&text), ok);
    QCOMPARE(m_page->SendJAA("8192", "1", &text), ok);
    // The synchronised measurement's echo is marked.
    QVERIFY(m_page->logText().contains(" Tx 11--- Sync:MES,1"));
}

void TestPublicConfig::mdsAnsweredAfter600msIsATimeout()
{
    QSignalSpy changes(m_page, &ktPublicConfig::Signal_SendChangeMDS);
    PtyResponder responder(&m_peer, [](const QByteArray &cmd) {
        if (cmd.startsWith("VID"))
            return QByteArray("OK00,VID,2.10\r"); // the resync after the time-out
        return cmd.startsWith("MDS") ? QByteArray("OK00\r") : QByteArray("OK00,V2.10\r");
    });
    responder.setDelayMs(600);
    responder.start();
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!m_page->SendMDS("0"));
    QVERIFY(clock.elapsed() < 1000);
    QCOMPARE(changes.count(), 0);
    QVERIFY(m_page->logText().endsWith("Command execution error time out!"));

    // The late answer is stale input for the next exchange, which gets its own reply.
    responder.setDelayMs(0);
    QTest::qWait(200);
    QString version;
    QVERIFY(m_page->SendVER(&version));
    QCOMPARE(version, QString("V2.10"));

    // Within the limit it succeeds and announces the mode.
    responder.setDelayMs(250);
    QVERIFY(m_page->SendMDS("6"));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toString(), QString("6"));
}

void TestPublicConfig::busyReaderRefusesEveryRequest()
{
    m_page->SendMESAsync(5);
    QCOMPARE(peerCommand(), QByteArray("MES\r"));
    QVERIFY(m_page->readerBusy());
    QString out;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!m_page->SendVER(&out));
    QVERIFY(!m_page->SendMDS("0"));
    QVERIFY(!m_page->SendCommand("INI"));
    QVERIFY(clock.elapsed() < 200); // refused at once, nothing waited for
    m_page->SendJADAsync(4);
    QCOMPARE(m_page->currentTask, 5u); // the refused request did not touch the task code
    QCOMPARE(m_peer.read(100), QByteArray());
    m_peer.write("OK00,P1,3127,3290,100.0,\r");
    QTRY_COMPARE_WITH_TIMEOUT(m_page->replies.size(), 1, 2000);
    QCOMPARE(m_page->replies.at(0).code, 32u);
}

void TestPublicConfig::otherPagesWaitForTheRequestInFlight()
{
    TestPage other;
    m_page->SendMESAsync(5);
    QCOMPARE(peerCommand(), QByteArray("MES\r"));
    QVERIFY(other.readerBusy());
    QString out;
    QVERIFY(!other.SendVER(&out));
    other.SendSTRAsync(5, "3");
    QCOMPARE(other.strCode, 0);
    QCOMPARE(m_peer.read(100), QByteArray());
    m_peer.write("OK00,P1,3127,3290,100.0,\r");
    QTRY_COMPARE_WITH_TIMEOUT(m_page->replies.size(), 1, 2000);
    QVERIFY(!other.readerBusy());
    QVERIFY(other.replies.isEmpty());
}

void TestPublicConfig::successfulMdsAndMchReachEveryPage()
{
    ktPublicConfig hub;
    TestPage *a = new TestPage(&hub);
    TestPage *b = new TestPage(&hub);
    for (TestPage *p : {a, b}) {
        connect(p, &ktPublicConfig::Signal_SendChangeMDS, &hub, &ktPublicConfig::Slot_ChangeMDS);
        connect(p, &ktPublicConfig::Signal_SendUpdateMCH, &hub, &ktPublicConfig::Slot_UpdateMCH);
        connect(p, &ktPublicConfig::Signal_SendClosePort, &hub, &ktPublicConfig::Slot_PortClosed);
        connect(&hub, &ktPublicConfig::Signal_RecvChangeMDS, p, [p](QString mode) {
            ++p->mdsChanges;
            p->lastMds = mode;
        });
        connect(&hub, &ktPublicConfig::Signal_RecvUpdateMCH, p, [p] { ++p->mchUpdates; });
        connect(&hub, &ktPublicConfig::Signal_RecvClosePort, p, [p] { ++p->closePorts; });
    }
    PtyResponder responder(&m_peer, [](const QByteArray &) { return QByteArray("OK00\r"); });
    responder.start();

    QVERIFY(a->SendMDS("8"));
    for (TestPage *p : {a, b}) {
        QCOMPARE(p->mdsChanges, 1);
        QCOMPARE(p->lastMds, QString("8"));
    }
    QVERIFY(b->SendMCH("42"));
    QCOMPARE(a->mchUpdates, 1);
    QCOMPARE(b->mchUpdates, 1);
    emit a->Signal_SendClosePort();
    QCOMPARE(a->closePorts + b->closePorts, 2);
}

void TestPublicConfig::failedMdsBroadcastsNothing()
{
    ktPublicConfig hub;
    TestPage *a = new TestPage(&hub);
    connect(a, &ktPublicConfig::Signal_SendChangeMDS, &hub, &ktPublicConfig::Slot_ChangeMDS);
    connect(a, &ktPublicConfig::Signal_SendUpdateMCH, &hub, &ktPublicConfig::Slot_UpdateMCH);
    QSignalSpy mds(&hub, &ktPublicConfig::Signal_RecvChangeMDS);
    QSignalSpy mch(&hub, &ktPublicConfig::Signal_RecvUpdateMCH);
    PtyResponder responder(&m_peer, [](const QByteArray &) { return QByteArray("ER10\r"); });
    responder.start();
    QVERIFY(!a->SendMDS("1"));
    QVERIFY(!a->SendMCH("01"));
    QCOMPARE(mds.count(), 0);
    QCOMPARE(mch.count(), 0);
}

void TestPublicConfig::standardHandlerReadings_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("bright"); // x, y, Lv, X, Z, CCT; empty: no SendBrightResult
    QTest::addColumn<QString>("debugInfo");  // empty: no Signal_RecvDebugeInfo

    const double x = 0.3127, y = 0.329;
    const auto g = [](double v) { return QString::number(v, 'g', 6); };
    const auto cct = [&](double xx, double yy) {
        const double n = (xx - 0.332) / (0.1858 - yy);
        return g(437 * n * n * n + 3601 * n * n + 6831 * n + 5517);
    };
    QTest::newRow("OK00 measurement")
        << "MES" << QByteArray("OK00,P1,3127,3290,100.0,\r")
        << QStringList{"0.3127", "0.329", "100", g(x * 100 / y), g((1 - x - y) * 100 / y), cct(x, y)} << "";
    QTest::newRow("OK05 still a result")
        << "MES" << QByteArray("OK05,P1,3127,3290,100.0,\r")
        << QStringList{"0.3127", "0.329", "100", g(x * 100 / y), g((1 - x - y) * 100 / y), cct(x, y)} << "";
    QTest::newRow("luminance .1234")
        << "MES" << QByteArray("OK00,P1,3127,3290,.1234,\r")
        << QStringList{"0.3127", "0.329", "0.123", g(x * 0.123 / y), g((1 - x - y) * 0.123 / y), cct(x, y)}
        << "";
    QTest::newRow("XYZ 20 30 50") << "XYZ" << QByteArray("OK00,P1,000020.00,000030.00,000050.00\r")
                                  << QStringList{"0.2", "0.3", "30", "20", "50", ""} << "";
    QTest::newRow("ER10 only echoes") << "MES" << QByteArray("ER10\r") << QStringList{} << "";
    QTest::newRow("ER15 only echoes") << "MES" << QByteArray("ER15,P1\r") << QStringList{} << "";
    QTest::newRow("ER20 reports its code") << "MES" << QByteArray("ER20,P1, 12,\r") << QStringList{} << "12";
    QTest::newRow("ER22 reports its code") << "XYZ" << QByteArray("ER22,P1,305X\r") << QStringList{} << "305";
}

void TestPublicConfig::standardHandlerReadings()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, bright);
    QFETCH(QString, debugInfo);
    QSignalSpy results(m_page, &ktPublicConfig::SendBrightResult);
    QSignalSpy debug(m_page, &ktPublicConfig::Signal_RecvDebugeInfo);
    if (command == "XYZ")
        m_page->SendXYZAsync(TaskPage);
    else
        m_page->SendMESAsync(TaskPage);
    QCOMPARE(peerCommand(), command.toLatin1() + '\r');
    m_peer.write(reply);
    QTRY_COMPARE_WITH_TIMEOUT(m_page->replies.size(), 1, 2000);
    QCOMPARE(results.count(), bright.isEmpty() ? 0 : 1);
    if (!bright.isEmpty()) {
        QStringList got;
        for (const QVariant &v : results.at(0))
            got << v.toString();
        QCOMPARE(got, bright);
    }
    QCOMPARE(debug.count(), debugInfo.isEmpty() ? 0 : 1);
    if (!debugInfo.isEmpty())
        QCOMPARE(debug.at(0).at(0).toString(), debugInfo);
    // Whatever the status, the reply is echoed.
    QVERIFY(
        m_page->logText().contains(" Rx " + QString::number(reply.size() - 1) + "--- " + reply.chopped(1)));
}

void TestPublicConfig::chainedStatusQuery()
{
    m_page->SendSTRAsync(TaskPage, "0");
    QCOMPARE(m_page->strCode, 4);
    QCOMPARE(peerCommand(), QByteArray("STR,0\r"));
    m_peer.write("OK00,1\r");
    QCOMPARE(peerCommand(), QByteArray("STR,5\r")); // sent by the handler itself
    QCOMPARE(m_page->strCode, 9);
    QCOMPARE(m_page->currentTask, 5u);
    m_peer.write("OK00,3\r");
    QTRY_COMPARE_WITH_TIMEOUT(m_page->replies.size(), 2, 2000);
    QCOMPARE(m_page->replies.at(1).code, 9u);
    QCOMPARE(m_peer.read(100), QByteArray()); // the chain ends there

    // A refused first step does not go on.
    m_page->SendSTRAsync(TaskPage, "0");
    QCOMPARE(peerCommand(), QByteArray("STR,0\r"));
    m_peer.write("ER10\r");
    QTRY_COMPARE_WITH_TIMEOUT(m_page->replies.size(), 3, 2000);
    QCOMPARE(m_peer.read(100), QByteArray());
}

void TestPublicConfig::zeroCalibrationReply()
{
    QSignalSpy flick(m_page, &ktPublicConfig::SendFlickResult);
    for (const QByteArray &reply : {QByteArray("OK21,done"), QByteArray("OK00"), QByteArray("ER10")}) {
        m_page->SendZRCAsync(TaskPage);
        QCOMPARE(peerCommand(), QByteArray("ZRC\r"));
        m_peer.write(reply + '\r');
        QTRY_VERIFY_WITH_TIMEOUT(!m_page->readerBusy(), 2000);
    }
    QCOMPARE(flick.count(), 2);
    QCOMPARE(flick.at(0).at(0).toString(), QString("OK21,done"));
    QCOMPARE(flick.at(0).at(1).toString(), QString());
    QCOMPARE(flick.at(1).at(0).toString(), QString("OK00"));
}

void TestPublicConfig::otherTaskCodesSkipTheHandler()
{
    QSignalSpy results(m_page, &ktPublicConfig::SendBrightResult);
    m_page->SendMESAsync(TaskJeita);
    QCOMPARE(peerCommand(), QByteArray("MES\r"));
    m_peer.write("OK00,P1,3127,3290,100.0,\r");
    QTRY_COMPARE_WITH_TIMEOUT(m_page->replies.size(), 1, 2000);
    QCOMPARE(results.count(), 0);
}

void TestPublicConfig::timeoutSignalOnlyForTasks4To8_data()
{
    QTest::addColumn<uint>("task");
    QTest::addColumn<bool>("signalled");
    QTest::newRow("3") << 3u << false;
    QTest::newRow("4") << 4u << true;
    QTest::newRow("5") << 5u << true;
    QTest::newRow("8") << 8u << true;
    QTest::newRow("9") << 9u << false;
}

void TestPublicConfig::timeoutSignalOnlyForTasks4To8()
{
    QFETCH(uint, task);
    QFETCH(bool, signalled);
    QSignalSpy timeouts(m_page, &ktPublicConfig::Signal_Timeout);
    // The real request path with a short time-out (the command functions use 5000 ms).
    m_page->sendAsyncCommand(CodeIDP, task, "IDP,1\r", 150);
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->readerBusy(), 2000);
    QCOMPARE(timeouts.count(), signalled ? 1 : 0);
    const QString last = m_page->logView()->document()->lastBlock().text();
    QVERIFY(last.endsWith("Command execution error time out!"));
    QVERIFY(m_page->logView()->toHtml().contains("#ff0000")); // red
}

void TestPublicConfig::progressRunCollapsesToOneLine_data()
{
    QTest::addColumn<QString>("progress");
    QTest::newRow("English") << "Is getting data...";
    QTest::newRow("Chinese") << QString::fromUtf8("正在获取数据...");
    QTest::newRow("Chinese ellipsis") << QString::fromUtf8("正在获取数据……");
}

void TestPublicConfig::progressRunCollapsesToOneLine()
{
    QFETCH(QString, progress);
    QTextEdit view;
    m_page->appendLog(&view, "Start", "green");
    QDateTime before;
    for (int i = 0; i < 10; ++i) {
        QTest::qWait(3);
        before = QDateTime::currentDateTime();
        m_page->appendLog(&view, progress, "green");
    }
    QCOMPARE(view.document()->blockCount(), 2);
    const QString last = view.document()->lastBlock().text();
    QVERIFY(last.endsWith("] " + progress));
    const QDateTime stamp = QDateTime::fromString(last.mid(1, 23), "yyyy-MM-dd hh:mm:ss.zzz");
    QVERIFY(stamp.isValid());
    QVERIFY2(stamp >= before.addMSecs(-1), qPrintable(last)); // the latest, not the first

    // A normal line ends the run; the next progress text starts a new one.
    m_page->appendLog(&view, "Done", "green");
    m_page->appendLog(&view, progress, "green");
    m_page->appendLog(&view, progress, "green");
    QCOMPARE(view.document()->blockCount(), 4);

    // On an empty view the run also stays one line.
    QTextEdit fresh;
    TestPage other;
    for (int i = 0; i < 10; ++i)
        other.appendLog(&fresh, progress, "green");
    QCOMPARE(fresh.document()->blockCount(), 1);
    QVERIFY(fresh.toPlainText().endsWith(progress));
}

void TestPublicConfig::debugOffShowsProgressAndKeepsItOutOfTheLogs()
{
    ktCfgData::instance()->setUplayerDebug(false);
    QFile::remove(ktPublicConfig::regulateLogPath());
    PtyResponder responder(&m_peer, [](const QByteArray &) { return QByteArray("OK00,KRN4,V2.10\r"); });
    responder.start();
    QString version;
    for (int i = 0; i < 3; ++i)
        QVERIFY(m_page->SendVER(&version));
    const QString panel = m_page->logText();
    QCOMPARE(m_page->logView()->document()->blockCount(), 1);
    QVERIFY(panel.endsWith("] Is getting data..."));
    QVERIFY(!panel.contains(" Tx "));
    QVERIFY(!panel.contains(" Rx "));
    QVERIFY(!todayFile(ktPublicConfig::regulateLogPath()).contains("Is getting data..."));

    // A red line still goes everywhere, with the regulate log's own stamp form.
    m_page->appendLog("Mes failed!", "red");
    const QString regulate = todayFile(ktPublicConfig::regulateLogPath());
    QVERIFY(
        QRegularExpression("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d Mes failed!\r\n$").match(regulate).hasMatch());
    QVERIFY(ktPublicConfig::regulateLogPath().endsWith("/pcfg/RegulateLogFlie/" +
                                                       QDate::currentDate().toString("yyyy-M-d") + ".txt"));
}

void TestPublicConfig::debugOnEchoesBothDirections()
{
    PtyResponder responder(&m_peer, [](const QByteArray &) { return QByteArray("OK00,KRN4,V2.10\r"); });
    responder.start();
    QString version;
    QVERIFY(m_page->SendVER(&version));
    const QStringList lines = m_page->logText().split('\n');
    QCOMPARE(lines.size(), 2);
    // The panel is rich text: runs of spaces and the CR collapse to single spaces there.
    QVERIFY(lines.at(0).endsWith("] Tx 4--- VER "));
    QVERIFY(lines.at(1).endsWith("] Rx 15--- OK00,KRN4,V2.10"));
    QVERIFY(todayFile(ktPublicConfig::regulateLogPath()).contains(" Tx 4--- VER\r\r\n"));
    QVERIFY(todayFile(ktPublicConfig::regulateLogPath()).contains(" Rx 15--- OK00,KRN4,V2.10\r\n"));

    // Reply text is shown as text, never taken for markup.
    m_page->appendLog("ER<b>99</b> & more", "red");
    QVERIFY(m_page->logText().endsWith("] ER<b>99</b> & more"));
    QVERIFY(todayFile(ktProgramLog::currentPath()).contains("] ER<b>99</b> & more\r\n"));
}

void TestPublicConfig::programLogGetsStrippedLines()
{
    const QString marker = "marker " + QString::number(QDateTime::currentMSecsSinceEpoch());
    m_page->appendLog(marker, "red");
    m_page->appendLog(m_page->progressText(), "green");
    const QString log = todayFile(ktProgramLog::currentPath());
    const QRegularExpression line("\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\] " + marker +
                                  "\r\n");
    QVERIFY2(line.match(log).hasMatch(), qPrintable(log.right(200)));
    QVERIFY(!log.contains("<font"));
    QVERIFY(!log.endsWith("Is getting data...\r\n"));
}

void TestPublicConfig::badInputNeverBlocksBeyondTheTimeout_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("ok");
    QTest::newRow("garbage") << QByteArray("\xFF\x00\x80garbage\x1B[0m", 13) << false;
    QTest::newRow("nul bytes then cr") << QByteArray("\0\0\0\0\r", 5) << false;
    QTest::newRow("no carriage return") << QByteArray("OK00") << false;
    QTest::newRow("ok buried in garbage") << QByteArray("\x01\x02OK00\x7F\r") << true;
}

void TestPublicConfig::badInputNeverBlocksBeyondTheTimeout()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, ok);
    PtyResponder responder(&m_peer, [reply](const QByteArray &) { return reply; });
    responder.start();
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(m_page->SendMDS("0"), ok); // 500 ms limit
    QVERIFY(clock.elapsed() < 1200);
}

void TestPublicConfig::rawBytesCompareWithTheExpectedAnswer()
{
    PtyResponder responder(&m_peer, [](const QByteArray &) { return QByteArray(); });
    Q_UNUSED(responder);
    // The boot loader answers with a byte that is not CR: the expected answer's last byte
    // ends the reply.
    QByteArray received;
    QThread *probe = QThread::create([this] {
        m_peer.read(500);
        m_peer.write(QByteArray("\x79", 1));
    });
    probe->start();
    QVERIFY(m_page->SendRawBytes(QByteArray("\x7F", 1), QByteArray("\x79", 1), 2000, &received));
    probe->wait(3000);
    delete probe;
    QCOMPARE(received, QByteArray());

    probe = QThread::create([this] {
        m_peer.read(500);
        m_peer.write("Loader OK\n");
    });
    probe->start();
    QVERIFY(!m_page->SendRawBytes("go", "Initial OK\n", 2000, &received));
    probe->wait(3000);
    delete probe;
    QCOMPARE(received, QByteArray("Loader OK"));
    QVERIFY(!m_page->SendRawBytes("go", QByteArray(), 100));
}

QTEST_MAIN(TestPublicConfig)
// Regression: the message box used to be built before the page's form, so connecting the
// page's on_pbOK_clicked by name also bound it to the message box's own OK button.
void TestPublicConfig::messageBoxOkDoesNotReachThePageOkSlot()
{
    OkPage page;
    QPushButton *boxOk = page.messageDialog()->findChild<QPushButton *>(QStringLiteral("pbOK"));
    QVERIFY(boxOk);
    boxOk->click();
    QCOMPARE(page.clicks, 0);
    page.findChild<QPushButton *>(QStringLiteral("pbOK"), Qt::FindDirectChildrenOnly)->click();
    QCOMPARE(page.clicks, 1);
}

#include "tst_publicconfig.moc"
