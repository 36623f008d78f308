#include <QtTest>

#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <atomic>

#include "commandhistory.h"
#include "ktcfgdata.h"
#include "ktcommandtooler.h"
#include "linksync.h"
#include "pagelog.h"
#include "portholder.h"
#include "ptypeer.h"
#include "ptyresponder.h"
#include "ui_ktcommandtooler.h"

class TestCommandTooler : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void enterSendsOnceAndTheHubFollowsSuccess_data();
    void enterSendsOnceAndTheHubFollowsSuccess();
    void timeoutZeroGivesUpEmptyFieldWaits();
    void historyRecall_data();
    void historyRecall();
    void historyPersistsAndNamesComplete();

private:
    QLineEdit *line() const { return m_tool->form()->le_commandText; }
    QString log() const { return m_tool->form()->textLog->text(); }

    QTemporaryDir m_settingsDir;
    PtyPeer m_peer;
    QSerialPort *m_port = nullptr;
    ktPublicConfig *m_hub = nullptr;
    KTCommandTooler *m_tool = nullptr;
};

void TestCommandTooler::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    ktCfgData::instance()->setUplayerDebug(true);
}

void TestCommandTooler::init()
{
    m_port = PortHolder::instance()->probePort();
    QVERIFY(m_peer.open());
    m_port->setPortName(m_peer.slavePath());
    QVERIFY2(m_port->open(QIODevice::ReadWrite), qPrintable(m_port->errorString()));
    LinkSync::setSynchronised(m_port, true);
    QSettings(KtSettings::UserOrganisation, KtSettings::UserApplication).remove(CommandHistory::SettingsKey);
    m_hub = new ktPublicConfig;
    m_tool = new KTCommandTooler(m_hub, QStringLiteral("Command Tool"));
}

void TestCommandTooler::cleanup()
{
    delete m_hub; // and the tool with it
    m_port->close();
    m_peer.close();
}

void TestCommandTooler::enterSendsOnceAndTheHubFollowsSuccess_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("modes"); // what the hub passes on to every page
    QTest::addColumn<int>("channelUpdates");
    QTest::newRow("mode accepted") << "MDS,6" << QByteArray("OK00\r") << QStringList{"6"} << 0;
    QTest::newRow("mode refused") << "MDS,9" << QByteArray("ER10\r") << QStringList{} << 0;
    QTest::newRow("channel accepted") << "MCH,03" << QByteArray("OK00\r") << QStringList{} << 1;
    QTest::newRow("channel refused") << "MCH,03" << QByteArray("ER10\r") << QStringList{} << 0;
}

void TestCommandTooler::enterSendsOnceAndTheHubFollowsSuccess()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, modes);
    QFETCH(int, channelUpdates);
    PtyResponder responder(&m_peer, [reply](const QByteArray &) { return reply; });
    responder.start();
    QSignalSpy mds(m_hub, &ktPublicConfig::Signal_RecvChangeMDS);
    QSignalSpy mch(m_hub, &ktPublicConfig::Signal_RecvUpdateMCH);
    line()->setText(command);
    QTest::keyPress(line(), Qt::Key_Return);
    QTest::qWait(150);
    QCOMPARE(responder.commandCount(), 0);
    QTest::keyRelease(line(), Qt::Key_Return);
    QCOMPARE(responder.commands(), QList<QByteArray>{command.toLatin1() + '\r'});
    QStringList relayed;
    for (const QList<QVariant> &args : mds)
        relayed << args.at(0).toString();
    QCOMPARE(relayed, modes);
    QCOMPARE(mch.count(), channelUpdates);
    QVERIFY2(log().contains(" Rx " + QString::number(reply.size() - 1) + "--- " + reply.chopped(1)),
             qPrintable(log()));
    QVERIFY(m_tool->form()->pbSendCmd->isEnabled());
}

void TestCommandTooler::timeoutZeroGivesUpEmptyFieldWaits()
{
    // Every answer comes 300 ms late; the line's resynchronisation query is answered too.
    PtyResponder responder(&m_peer, [](const QByteArray &command) {
        return command == LinkSync::Query ? QByteArray("OK00,VID,1.00\r") : QByteArray("OK00,KRN4\r");
    });
    responder.setDelayMs(300);
    responder.start();
    QLineEdit *timeout = m_tool->form()->le_timeOut;
    timeout->setText(QStringLiteral("0"));
    line()->setText(QStringLiteral("VER"));
    m_tool->on_pbSendCmd_clicked();
    QVERIFY(log().contains("Command execution error time out!"));
    QVERIFY(!log().contains("OK00,KRN4"));
    // The field takes digits only; emptied, it means the usual 5000 ms, not 0.
    timeout->clear();
    QTest::keyClicks(timeout, QStringLiteral("3x0 ,"));
    QCOMPARE(timeout->text(), QStringLiteral("30"));
    timeout->clear();
    m_tool->on_pbSendCmd_clicked();
    QCOMPARE(responder.commands(), (QList<QByteArray>{"VER\r", LinkSync::Query, "VER\r"}));
    QVERIFY2(log().endsWith(" Rx 9--- OK00,KRN4"), qPrintable(log()));
}

void TestCommandTooler::historyRecall_data()
{
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("kept"); // most recent first
    QTest::addColumn<QString>("keys");     // u = Up, d = Down, typed on the draft "MC"
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("newest first, stops at the oldest")
        << QStringList{"VER", "MES", "MDS,6"} << QStringList{"MDS,6", "MES", "VER"} << "uuuu"
        << QStringList{"MDS,6", "MES", "VER", "VER"};
    QTest::newRow("down ends on the draft")
        << QStringList{"VER", "MES"} << QStringList{"MES", "VER"} << "uudddu"
        << QStringList{"MES", "VER", "MES", "MC", "MC", "MES"};
    QTest::newRow("no repeats in a row, no blanks")
        << QStringList{"VER", "VER", "", " ", "MES", "VER"} << QStringList{"VER", "MES", "VER"} << "u"
        << QStringList{"VER"};
    QTest::newRow("empty history keeps the line")
        << QStringList{} << QStringList{} << "ud" << QStringList{"MC", "MC"};
    QStringList many, newest;
    for (int i = 0; i < 60; ++i)
        many << QString("STR,%1").arg(i);
    for (int i = 59; i >= 10; --i)
        newest << QString("STR,%1").arg(i);
    QTest::newRow("at most 50") << many << newest << "" << QStringList{};
}

void TestCommandTooler::historyRecall()
{
    QFETCH(QStringList, sent);
    QFETCH(QStringList, kept);
    QFETCH(QString, keys);
    QFETCH(QStringList, shown);
    CommandHistory history;
    for (const QString &command : sent)
        history.add(command);
    QCOMPARE(history.entries(), kept);
    QString text = QStringLiteral("MC");
    QStringList seen;
    for (QChar key : keys)
        seen << (text = key == 'u' ? history.up(text) : history.down(text));
    QCOMPARE(seen, shown);
}

void TestCommandTooler::historyPersistsAndNamesComplete()
{
    PtyResponder responder(&m_peer, [](const QByteArray &) { return QByteArray("OK00\r"); });
    responder.start();
    for (const char *command : {"VER", "MES"}) {
        line()->setText(command);
        m_tool->on_pbSendCmd_clicked();
    }
    delete m_tool; // a new session, as the main window opens the tool afresh
    m_tool = new KTCommandTooler(m_hub);
    line()->setText(QStringLiteral("RG"));
    const QStringList keys = {"MES", "VER", "VER", "MES", "RG"};
    for (int i = 0; i < keys.size(); ++i) {
        QTest::keyClick(line(), i < 3 ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(line()->text(), keys.at(i));
    }
    QCompleter *completer = line()->completer();
    completer->setCompletionPrefix(QStringLiteral("md"));
    QCOMPARE(completer->currentCompletion(), QStringLiteral("MDS"));
    QCOMPARE(completer->completionMode(), QCompleter::PopupCompletion);
}

QTEST_MAIN(TestCommandTooler)
#include "tst_commandtooler.moc"
