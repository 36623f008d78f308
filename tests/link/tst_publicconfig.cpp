#include <QtTest>

#include <QPushButton>
#include <QSerialPort>
#include <QTextBlock>

#include <atomic>
#include <csignal>
#include <functional>

#include "ktcfgdata.h"
#include "ktmessagedlg.h"
#include "ktplatform.h"
#include "ktprogramlog.h"
#include "ktpublicconfig.h"
#include "linksync.h"
#include "pagelog.h"
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
        uint code, task;
    };
    QList<Reply> replies;

    void Slot_RecvMessage(QString &port, unsigned code, unsigned task, QByteArray &reply) override
    {
        replies << Reply{code, task};
        ktPublicConfig::Slot_RecvMessage(port, code, task, reply);
    }
    QString logText() { return logView()->text(); }
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

namespace {
// The child process of linesSurviveTheEnd: "mode:marker" (mode "exit", "TERM", "INT", "HUP").
const char ChildEnv[] = "KT_TEST_LOG_CHILD";
constexpr int ChildLines = 3000;
const QString Red = QStringLiteral("#ff0000"), Green = QStringLiteral("#008000");

QString fileText(const QString &path)
{
    ktPublicConfig::flushRegulateLog();
    ktProgramLog::instance()->flush();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The colour each line of the panel is drawn in.
QStringList lineColours(PageLog *log)
{
    log->flushPending();
    QStringList colours;
    for (QTextBlock b = log->document()->begin(); b.isValid(); b = b.next())
        colours << b.begin().fragment().charFormat().foreground().color().name();
    return colours;
}
} // namespace

class TestPublicConfig : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void commandsSendTheirBytesAndReadTheirReply();
    void mdsAnsweredAfter600msIsATimeout();
    void hubRelaysOnlySuccessfulChanges();
    void standardHandlerRoutesReplies_data();
    void standardHandlerRoutesReplies();
    void chainedStatusQuery();
    void timeoutSignalOnlyForTasks4To8_data();
    void timeoutSignalOnlyForTasks4To8();

    void panelBatchesKeepsColoursAndTheLastLines_data();
    void panelBatchesKeepsColoursAndTheLastLines();
    void progressRunCollapsesToOneLine_data();
    void progressRunCollapsesToOneLine();
    void controlCharactersInAReplyForgeNoLine_data();
    void controlCharactersInAReplyForgeNoLine();
    void debugOffShowsProgressAndKeepsItOutOfTheLogs();
    void logFilesFollowTheDay();
    void linesSurviveTheEnd_data();
    void linesSurviveTheEnd();

    void rawBytesCompareWithTheExpectedAnswer();
    void messageBoxOkDoesNotReachThePageOkSlot();

private:
    PtyPeer m_peer;
    QSerialPort *m_port = nullptr;
    TestPage *m_page = nullptr;
};

void TestPublicConfig::init()
{
    ktCfgData::instance()->setUplayerDebug(true);
    m_port = PortHolder::instance()->probePort();
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

// A command function as a table entry: o (may be unused) receives the data.
#define CALL(expr) [](ktPublicConfig &p, [[maybe_unused]] QString *o) { return expr; }
#define ASYNC(expr)                                                                                          \
    [](ktPublicConfig &p, QString *) {                                                                       \
        p.expr;                                                                                              \
        return true;                                                                                         \
    }

void TestPublicConfig::commandsSendTheirBytesAndReadTheirReply()
{
    struct Case
    {
        const char *bytes;
        const char *reply;
        bool ok;
        const char *data;
        std::function<bool(ktPublicConfig &, QString *)> call;
        uint code = 0; // asynchronous form: the command code the reply comes back with
    };
    const char *any = "OK00,1,2\r";
    const QList<Case> cases = {
        {"VER\r", "OK00,KRN4,V2.10\r", true, "V2.10", CALL(p.SendVER(o))},
        {"VER\r", "ER10\r", false, "", CALL(p.SendVER(o))},
        {"VID,1\r", "OK00,V2,1.07\r", true, "1.07", CALL(p.SendVID1(o))},
        {"VER,1\r", "OK00,5.00,B\r", true, "5.00,B", CALL(p.SendVER1(o))},
        {"TYP\r", "OK00,KRN4-P60\r", true, "KRN4-P60", CALL(p.SendTYP(o))},
        {"RPR\r", any, true, "1,2", CALL(p.SendRPR(o))},
        {"STR,28\r", any, true, "1,2", CALL(p.SendSTR("28", o))},
        {"STR,7\r", "ER10,0\r", false, "", CALL(p.SendSTR("7", o))},
        {"STR,31\r", "ER10,0\r", true, "0", CALL(p.SendSTR("31", o))},
        {"MDS,7\r", any, true, "", CALL(p.SendMDS("7"))},
        {"MCH,07\r", any, true, "", CALL(p.SendMCH("07"))},
        {"SCS,4,59.94\r", any, true, "", CALL(p.SendSCS("4,59.94"))},
        {"FSC,1\r", any, true, "", CALL(p.SendFSC("1"))},
        {"MSC,100\r", any, true, "", CALL(p.SendMSC("100"))},
        {"MVS,59.90\r", "ER31,59.90\r", true, "ER31,59.90", CALL(p.SendMVS("59.90", o))},
        {"VSN,1,0\r", "OK00\r", true, "", CALL(p.SendVSN("1"))},
        {"VSN,2,0\r", "OK00,ER\r", false, "", CALL(p.SendVSN("2"))},
        {"INI\r", any, true, "", CALL(p.SendINI())},
        {"MES,1\r", any, true, "OK00,1,2", CALL(p.SendMES1(o))},
        {"RSD\r", any, true, "OK00,1,2", CALL(p.SendRSD(o))},
        {"JWA,4096,2\r", any, true, "OK00,1,2", CALL(p.SendJWA("4096", "2", o))},
        // Measurements fail on "ER" anywhere in the reply.
        {"MES\r", "ER20,P1,  12,\r", false, "ER20,P1,  12,", CALL(p.SendMES(o))},
        {"JAD\r", "OK00,P1,HEADER,1\r", false, "OK00,P1,HEADER,1", CALL(p.SendJAD(o))},
        {"JAA,8192,1\r", "ER10\r", false, "ER10", CALL(p.SendJAA("8192", "1", o))},
        {"SWD,3\r", any, true, "", CALL(p.SendSWD("3"))},
        {"SEN,0\r", any, true, "", CALL(p.SendSEN("0"))},
        {"CMR,11\r", any, true, "1,2", CALL(p.SendCMR11(o))},
        {"CMR,13\r", any, true, "1,2", CALL(p.SendCMR13(o))},
        {"CMR,14\r", any, true, "1,2", CALL(p.SendCMR("14", o))},
        {"CMW,11,Panel A\r", any, true, "", CALL(p.SendCMW("11", "Panel A"))},
        {"CMW,14,0.3127\r", "ER10\r", false, "", CALL(p.SendCMW("14", "0.3127"))},
        {"CMW,14,0.3127\r", "ER10\r", true, "", CALL(p.SendCMW("14", "0.3127", true))},
        {"RGM\r", "ER84,1;2;3\r", true, "1;2;3", CALL(p.SendRGM(o))},
        {"RGM\r", "OK00,4;5\r", true, "4;5", CALL(p.SendRGM(o))},
        {"RGM\r", "ER10\r", false, "", CALL(p.SendRGM(o))},
        {"RGU 1;2;3\r", any, true, "", CALL(p.SendRGU("1;2;3"))},
        {"RAW\r", any, true, "", CALL(p.SendRAW())},
        {"FCS\r", any, true, "", CALL(p.SendFCS(""))},
        {"FCS,5\r", any, true, "", CALL(p.SendFCS("5"))},
        {"CLR\r", any, true, "", CALL(p.SendCLR())},
        {"RGE\r", any, true, "", CALL(p.SendRGE())},
        {"UDP,0x3C71\r", any, true, "", CALL(p.SendUDP())},
        {"COM,1\r", any, true, "", CALL(p.SendCOM1())},
        {"UPD,1\r", any, true, "", CALL(p.SendUPD1())},
        {"TYP\r", any, true, "OK00,1,2", CALL(p.SendCommand("TYP", 5000, o))},
        {"SEN,1\r", "OK01\r", false, "OK01", CALL(p.SendCommand("SEN,1\r", 5000, o))},
        // Asynchronous forms.
        {"IDO\r", any, true, "", ASYNC(SendIDOAsync(6)), 1},
        {"RPR,2\r", any, true, "", ASYNC(SendRPRAsync(6, "2")), 2},
        {"IDP,3\r", any, true, "", ASYNC(SendIDPAsync(6, "3")), 3},
        {"STR,1\r", any, true, "", ASYNC(SendSTRAsync(6, "1")), 4},
        {"STR,3\r", any, true, "", ASYNC(SendSTRAsync(6, "3")), 7},
        {"STR,5\r", any, true, "", ASYNC(SendSTRAsync(6, "5")), 9},
        {"MDS,0\r", any, true, "", ASYNC(SendMDSAsync(6, "0")), 19},
        {"MDS,1\r", any, true, "", ASYNC(SendMDSAsync(6, "1")), 20},
        {"MDS,6\r", any, true, "", ASYNC(SendMDSAsync(6, "6")), 21},
        {"MDS,7\r", any, true, "", ASYNC(SendMDSAsync(6, "7")), 22},
        {"MDS,8\r", any, true, "", ASYNC(SendMDSAsync(6, "8")), 23},
        {"MCH,12\r", any, true, "", ASYNC(SendMCHAsync(6, "12")), 24},
        {"SCS,1\r", any, true, "", ASYNC(SendSCSAsync(6, "1")), 25},
        {"FSC,2\r", any, true, "", ASYNC(SendFSCAsync(6, "2")), 26},
        {"SNF,4\r", any, true, "", ASYNC(SendSNFAsync(6, "4")), 27},
        {"ARS,5\r", any, true, "", ASYNC(SendARSAsync(6, "5")), 28},
        {"ARS,6\r", any, true, "", ASYNC(SendARS2Async(6, "6")), 29},
        {"XYZ\r", any, true, "", ASYNC(SendXYZAsync(6)), 31},
        {"MES\r", any, true, "", ASYNC(SendMESAsync(6)), 32},
        {"MES,1\r", any, true, "", ASYNC(SendMES1Async(6)), 32},
        {"MES,1\r", any, true, "", ASYNC(SendCommandAsync(6, "MES,1")), 33},
        {"JAD\r", any, true, "", ASYNC(SendJADAsync(4)), 34},
        {"ZRC\r", any, true, "", ASYNC(SendZRCAsync(6)), 35},
        {"FFD\r", any, true, "", ASYNC(SendFFDAsync(6)), 37},
        {"CMR,11\r", any, true, "", ASYNC(SendCMR11Async(6)), 42},
    };
    std::atomic<const char *> reply{any};
    PtyResponder responder(&m_peer, [&reply](const QByteArray &) { return QByteArray(reply.load()); });
    responder.start();
    for (const Case &c : cases) {
        reply = c.reply;
        responder.clearCommands();
        QString out;
        m_page->replies.clear();
        QVERIFY2(c.call(*m_page, &out) == c.ok, c.bytes);
        if (c.code) {
            // In flight: every other request is refused and leaves the codes alone.
            const uint task = m_page->currentTask;
            const int strCode = m_page->strCode;
            QVERIFY(m_page->readerBusy() && !m_page->SendVER(nullptr));
            m_page->SendSTRAsync(99, "3");
            QCOMPARE(m_page->currentTask, task);
            QCOMPARE(m_page->strCode, strCode);
            QTRY_COMPARE_WITH_TIMEOUT(m_page->replies.size(), 1, 2000);
            QCOMPARE(m_page->replies.at(0).code, c.code);
            QCOMPARE(m_page->replies.at(0).task, m_page->currentTask);
        }
        QCOMPARE(responder.commands(), QList<QByteArray>{QByteArray(c.bytes)});
        QCOMPARE(out, QString(c.data));
    }
    // The synchronised measurement also gives its round trip, and its echo is marked.
    qint64 elapsed = -1;
    QVERIFY(m_page->SendMES1(nullptr, &elapsed) && elapsed >= 0 && elapsed < 2000);
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
    QVERIFY(!m_page->SendMDS("0")); // 500 ms limit
    QCOMPARE(changes.count(), 0);
    QVERIFY(m_page->logText().endsWith("Command execution error time out!"));

    // Within the limit it succeeds and announces the mode.
    responder.setDelayMs(250);
    QVERIFY(m_page->SendMDS("6"));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toString(), QString("6"));
}

void TestPublicConfig::hubRelaysOnlySuccessfulChanges()
{
    // A refused "MDS," or "MCH," announces nothing (tst_linksim relays successful ones).
    ktPublicConfig hub;
    TestPage *page = new TestPage(&hub);
    connect(page, &ktPublicConfig::Signal_SendChangeMDS, &hub, &ktPublicConfig::Slot_ChangeMDS);
    connect(page, &ktPublicConfig::Signal_SendUpdateMCH, &hub, &ktPublicConfig::Slot_UpdateMCH);
    connect(page, &ktPublicConfig::Signal_SendClosePort, &hub, &ktPublicConfig::Slot_PortClosed);
    QSignalSpy mds(&hub, &ktPublicConfig::Signal_RecvChangeMDS);
    QSignalSpy mch(&hub, &ktPublicConfig::Signal_RecvUpdateMCH);
    QSignalSpy closed(&hub, &ktPublicConfig::Signal_RecvClosePort);
    PtyResponder responder(&m_peer, [](const QByteArray &) { return QByteArray("ER10\r"); });
    responder.start();
    QVERIFY(!page->SendMDS("1"));
    QVERIFY(!page->SendMCH("01"));
    emit page->Signal_SendClosePort();
    QCOMPARE(mds.count() + mch.count(), 0);
    QCOMPARE(closed.count(), 1);
}

void TestPublicConfig::standardHandlerRoutesReplies_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<uint>("task");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("emitted"); // the signal and its arguments; empty: none
    const QByteArray mes = "OK00,P1,3127,3290,100.0,";
    QTest::newRow("OK00 measurement") << "MES" << 5u << mes << "bright 0.3127 0.329 100";
    QTest::newRow("OK05 still a result")
        << "MES" << 5u << QByteArray("OK05,P1,3127,3290,100.0,") << "bright 0.3127 0.329 100";
    QTest::newRow("tristimulus") << "XYZ" << 5u << QByteArray("OK00,P1,000020.00,000030.00,000050.00")
                                 << "bright 0.2 0.3 30";
    QTest::newRow("ER10 only echoes") << "MES" << 5u << QByteArray("ER10") << "";
    QTest::newRow("ER15 only echoes") << "MES" << 5u << QByteArray("ER15,P1") << "";
    QTest::newRow("ER20 reports its code") << "MES" << 5u << QByteArray("ER20,P1, 12,") << "debug 12";
    QTest::newRow("ER22 reports its code") << "XYZ" << 5u << QByteArray("ER22,P1,305X") << "debug 305";
    QTest::newRow("task 4 skips the handler") << "MES" << 4u << mes << "";
    QTest::newRow("zero calibration OK21") << "ZRC" << 5u << QByteArray("OK21,done") << "flick OK21,done ";
    QTest::newRow("zero calibration OK00") << "ZRC" << 5u << QByteArray("OK00") << "flick OK00 ";
    QTest::newRow("zero calibration ER10") << "ZRC" << 5u << QByteArray("ER10") << "";
    // A NUL byte is part of the reply: the status after it is still seen.
    QTest::newRow("leading NUL") << "MES" << 5u << QByteArray("\0ER20,P1,100;", 13) << "debug 100";
}

void TestPublicConfig::standardHandlerRoutesReplies()
{
    QFETCH(QString, command);
    QFETCH(uint, task);
    QFETCH(QByteArray, reply);
    QFETCH(QString, emitted);
    QSignalSpy bright(m_page, &ktPublicConfig::SendBrightResult);
    QSignalSpy debug(m_page, &ktPublicConfig::Signal_RecvDebugeInfo);
    QSignalSpy flick(m_page, &ktPublicConfig::SendFlickResult);
    if (command == "XYZ")
        m_page->SendXYZAsync(task);
    else if (command == "ZRC")
        m_page->SendZRCAsync(task);
    else
        m_page->SendMESAsync(task);
    QCOMPARE(m_peer.readCommand(), command.toLatin1() + '\r');
    m_peer.write(reply + '\r');
    QTRY_COMPARE_WITH_TIMEOUT(m_page->replies.size(), 1, 2000);
    QStringList got; // each signal emitted, with the arguments that matter
    for (const QList<QVariant> &a : bright)
        got << QString("bright %1 %2 %3").arg(a.at(0).toString(), a.at(1).toString(), a.at(2).toString());
    for (const QList<QVariant> &a : debug)
        got << "debug " + a.at(0).toString();
    for (const QList<QVariant> &a : flick)
        got << QString("flick %1 %2").arg(a.at(0).toString(), a.at(1).toString());
    QCOMPARE(got, emitted.isEmpty() ? QStringList() : QStringList{emitted});
    // Whatever the status, the reply is echoed.
    const QString shown = ktProgramLog::escapeControls(QString::fromLatin1(reply.constData(), reply.size()));
    QVERIFY(m_page->logText().endsWith(" Rx " + QString::number(reply.size()) + "--- " + shown));
}

void TestPublicConfig::chainedStatusQuery()
{
    m_page->SendSTRAsync(TaskPage, "0");
    QCOMPARE(m_page->strCode, 4);
    QCOMPARE(m_peer.readCommand(), QByteArray("STR,0\r"));
    m_peer.write("OK00,1\r");
    QCOMPARE(m_peer.readCommand(), QByteArray("STR,5\r")); // sent by the handler itself
    QCOMPARE(m_page->strCode, 9);
    QCOMPARE(m_page->currentTask, 5u);
    m_peer.write("OK00,3\r");
    QTRY_COMPARE_WITH_TIMEOUT(m_page->replies.size(), 2, 2000);
    QCOMPARE(m_page->replies.at(1).code, 9u);
    QCOMPARE(m_peer.read(100), QByteArray()); // the chain ends there

    // A refused first step does not go on.
    m_page->SendSTRAsync(TaskPage, "0");
    QCOMPARE(m_peer.readCommand(), QByteArray("STR,0\r"));
    m_peer.write("ER10\r");
    QTRY_COMPARE_WITH_TIMEOUT(m_page->replies.size(), 3, 2000);
    QCOMPARE(m_peer.read(100), QByteArray());
}

void TestPublicConfig::timeoutSignalOnlyForTasks4To8_data()
{
    QTest::addColumn<uint>("task");
    QTest::addColumn<bool>("signalled");
    QTest::newRow("3") << 3u << false;
    QTest::newRow("4") << 4u << true;
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
    QVERIFY(m_page->logText().endsWith("Command execution error time out!"));
    QCOMPARE(lineColours(m_page->logView()), (QStringList{Green, Red}));
}

void TestPublicConfig::panelBatchesKeepsColoursAndTheLastLines_data()
{
    QTest::addColumn<int>("drawnAt"); // line after which the panel is read once; -1: never
    QTest::newRow("drawn on the way") << 3000;
    QTest::newRow("all queued") << -1;
}

void TestPublicConfig::panelBatchesKeepsColoursAndTheLastLines()
{
    QFETCH(int, drawnAt);
    PageLog *log = m_page->logView();
    m_page->appendLog("first", "red");
    m_page->appendLog("second", "green");
    QVERIFY(log->document()->isEmpty()); // queued, not drawn line by line
    QTRY_VERIFY_WITH_TIMEOUT(!log->document()->isEmpty(), 1000);
    QCOMPARE(lineColours(log), (QStringList{Red, Green}));

    const int total = PageLog::MaxLines + 7;
    for (int i = 0; i < total; ++i) {
        m_page->appendLog(QString("line %1").arg(i), i % 2 ? "red" : "green");
        if (i == drawnAt)
            QCOMPARE(log->lineCount(), drawnAt + 3);
    }
    const QStringList lines = log->text().split('\n');
    QCOMPARE(lines.size(), PageLog::MaxLines);
    QVERIFY(lines.first().endsWith("] line 7"));
    QVERIFY(lines.last().endsWith(QString("] line %1").arg(total - 1)));
    const QStringList colours = lineColours(log);
    QCOMPARE(colours.first(), Red); // line 7
    QCOMPARE(colours.last(), (total - 1) % 2 ? Red : Green);
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
    PageLog *view = m_page->logView();
    m_page->appendLog(view, "Start", "green");
    QDateTime before;
    for (int i = 0; i < 10; ++i) {
        if (i == 4)
            view->flushPending(); // the run goes on across a drawn batch
        QTest::qWait(3);
        before = QDateTime::currentDateTime();
        m_page->appendLog(view, progress, "green");
    }
    QStringList lines = view->text().split('\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.last().endsWith("] " + progress));
    const QDateTime stamp = QDateTime::fromString(lines.last().mid(1, 23), "yyyy-MM-dd hh:mm:ss.zzz");
    QVERIFY2(stamp >= before.addMSecs(-1), qPrintable(lines.last())); // the latest, not the first

    // A normal line ends the run; the next progress text starts a new one.
    m_page->appendLog(view, "Done", "green");
    m_page->appendLog(view, progress, "green");
    m_page->appendLog(view, progress, "green");
    QCOMPARE(view->lineCount(), 4);
}

void TestPublicConfig::controlCharactersInAReplyForgeNoLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("markup is text") << QByteArray("<b>99</b> & more") << "<b>99</b> & more";
    QTest::newRow("line feed") << QByteArray("a\nb") << "a\\nb";
    QTest::newRow("tab bell escape") << QByteArray("\t\x07\x1B[0m") << "\\t\\x07\\x1B[0m";
    QTest::newRow("nul and delete") << QByteArray("\0\x7F", 2) << "\\x00\\x7F";
    QTest::newRow("Latin-1 next line") << QByteArray("\x85") << "\\x85";
    // A sampled record of ~900 kB: panel and files get its first 2000 characters and its size.
    QTest::newRow("sampled reply") << QByteArray("1234.567,").repeated(100000)
                                   << QString("1234.567,").repeated(100000);
}

void TestPublicConfig::controlCharactersInAReplyForgeNoLine()
{
    // Echo on: both echo lines reach the panel and, with the panel's stamp, both files.
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    const QString marker = QTest::currentDataTag() + QString::number(QDateTime::currentMSecsSinceEpoch());
    const QByteArray reply = "OK00," + marker.toLatin1() + bytes;
    PtyResponder responder(&m_peer, [reply](const QByteArray &) { return reply + '\r'; });
    responder.start();
    QVERIFY(m_page->SendCommand("TYP"));
    QString rx = QString(" Rx %1--- OK00,%2%3").arg(reply.size()).arg(marker, shown);
    if (reply.size() > 2000)
        rx = rx.left(rx.indexOf("OK00,") + 2000) + QString("... (%1 bytes)").arg(reply.size());
    const QStringList lines = m_page->logText().split('\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).endsWith("]  Tx 4--- TYP\\r")); // the count includes the terminator
    QVERIFY2(lines.at(1).endsWith("] " + rx), qPrintable(lines.at(1)));
    const QString regulate = fileText(ktPublicConfig::regulateLogPath());
    QCOMPARE(regulate.count(marker), 1);
    // "[yyyy-MM-dd hh:mm:ss.zzz] text" there, "hh:mm:ss.zzz text" here.
    const auto regulateForm = [](const QString &line) { return line.mid(12, 12) + line.mid(25) + "\r\n"; };
    QVERIFY(regulate.contains(regulateForm(lines.at(0)) + regulateForm(lines.at(1))));
    const QString program = fileText(ktProgramLog::currentPath());
    QCOMPARE(program.count(marker), 1);
    QVERIFY(program.contains(lines.at(1) + "\r\n"));
    // Separators a translated text could bring are escaped as well.
    QCOMPARE(ktProgramLog::escapeControls(QString("a") + QChar(0x2028) + QChar(0x2029)),
             QString("a\\u2028\\u2029"));
}

void TestPublicConfig::debugOffShowsProgressAndKeepsItOutOfTheLogs()
{
    ktCfgData::instance()->setUplayerDebug(false);
    const int regulate = fileText(ktPublicConfig::regulateLogPath()).size();
    const int program = fileText(ktProgramLog::currentPath()).size();
    PtyResponder responder(&m_peer, [](const QByteArray &) { return QByteArray("OK00,KRN4,V2.10\r"); });
    responder.start();
    for (int i = 0; i < 3; ++i)
        QVERIFY(m_page->SendVER(nullptr));
    // Six progress lines on an empty panel show as one; neither file gets them.
    QCOMPARE(m_page->logView()->lineCount(), 1);
    QVERIFY(m_page->logText().endsWith("] Is getting data..."));
    QCOMPARE(fileText(ktPublicConfig::regulateLogPath()).size(), regulate);
    QCOMPARE(fileText(ktProgramLog::currentPath()).size(), program);
    QVERIFY(ktPublicConfig::regulateLogPath().endsWith("/pcfg/RegulateLogFlie/" +
                                                       QDate::currentDate().toString("yyyy-M-d") + ".txt"));
}

void TestPublicConfig::logFilesFollowTheDay()
{
    const QDate tomorrow = QDate::currentDate().addDays(1);
    const ktLogTime late{tomorrow, tomorrow.toString("yyyy-MM-dd") + " 00:00:00.001"};
    const QString regulateTomorrow = ktPublicConfig::regulateLogPath(tomorrow);
    const QString programTomorrow = KtPlatform::programLogPath(tomorrow);
    QFile::remove(regulateTomorrow);
    QFile::remove(programTomorrow);
    m_page->appendLog("before midnight", "green");
    ktPublicConfig::writeRegulateLog(late, "after midnight");
    ktProgramLog::instance()->log(late, "after midnight");
    m_page->appendLog("today again", "green");
    QCOMPARE(fileText(regulateTomorrow), QString("00:00:00.001 after midnight\r\n"));
    QCOMPARE(fileText(programTomorrow), "[" + late.stamp + "] after midnight\r\n");
    for (const QString &path : {ktPublicConfig::regulateLogPath(), ktProgramLog::currentPath()})
        QVERIFY(QRegularExpression("before midnight\r\n.*today again\r\n$",
                                   QRegularExpression::DotMatchesEverythingOption)
                    .match(fileText(path))
                    .hasMatch());
    QFile::remove(regulateTomorrow);
    QFile::remove(programTomorrow);
}

void TestPublicConfig::linesSurviveTheEnd_data()
{
    QTest::addColumn<QString>("end");
    QTest::newRow("normal exit") << "exit";
    QTest::newRow("SIGTERM") << "TERM";
    QTest::newRow("SIGHUP") << "HUP";
}

void TestPublicConfig::linesSurviveTheEnd()
{
    QFETCH(QString, end);
    const QString marker = "end-" + end + "-" + QString::number(QDateTime::currentMSecsSinceEpoch());
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(ChildEnv, end + ":" + marker);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit); // a quit, not killed by the signal
    for (const QString &path : {ktPublicConfig::regulateLogPath(), ktProgramLog::currentPath()})
        QCOMPARE(fileText(path).count(marker + " "), ChildLines);
}

void TestPublicConfig::rawBytesCompareWithTheExpectedAnswer()
{
    // The boot loader answers with bytes that do not end in CR: the expected answer's last
    // byte ends the reply.
    struct Case
    {
        QByteArray sent, answer, expected, received;
        bool ok;
    };
    for (const Case &c : {Case{"\x7F", "\x79", "\x79", "", true},
                          Case{"go", "Loader OK\n", "Initial OK\n", "Loader OK", false}}) {
        QThread *probe = QThread::create([this, c] {
            m_peer.read(500);
            m_peer.write(c.answer);
        });
        probe->start();
        QByteArray received;
        QCOMPARE(m_page->SendRawBytes(c.sent, c.expected, 2000, &received), c.ok);
        probe->wait(3000);
        delete probe;
        QCOMPARE(received, c.received);
    }
    QVERIFY(!m_page->SendRawBytes("go", QByteArray(), 100));
}

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

// Writes ChildLines log lines, then ends as KT_TEST_LOG_CHILD says (before any flush).
static int logChild(QApplication &app)
{
    KtPlatform::quitOnTerminationSignals(); // as the application's main does
    const QStringList how = QString::fromLocal8Bit(qgetenv(ChildEnv)).split(':');
    ktPublicConfig page;
    for (int i = 0; i < ChildLines; ++i)
        page.appendLog(how.at(1) + " " + QString::number(i), "green");
    if (how.at(0) == "exit")
        return 0;
    std::raise(how.at(0) == "TERM" ? SIGTERM : how.at(0) == "INT" ? SIGINT : SIGHUP);
    return app.exec();
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(ChildEnv))
        return logChild(app);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestPublicConfig test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_publicconfig.moc"
