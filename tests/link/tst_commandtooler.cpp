#include <QtTest>

#include <QCompleter>
#include <QSerialPort>

#include <atomic>
#include <tuple>

#include "ktcfgdata.h"
#include "ktcommandtooler.h"
#include "linksync.h"
#include "portholder.h"
#include "ptypeer.h"
#include "ptyresponder.h"
#include "ui_ktcommandtooler.h"

class TestCommandTooler : public QObject
{
    Q_OBJECT
    QLineEdit *line() const { return m_tool->form()->le_commandText; }
    QString log() const { return m_tool->form()->textLog->text(); }
    QTemporaryDir m_settingsDir;
    PtyPeer m_peer;
    QSerialPort *m_port = PortHolder::instance()->probePort();
    ktPublicConfig *m_hub = nullptr;
    KTCommandTooler *m_tool = nullptr;

private slots:
    void init()
    {
        // History goes to a fresh folder, not the user's settings.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
        ktCfgData::instance()->setUplayerDebug(true);
        QVERIFY(m_peer.open());
        m_port->setPortName(m_peer.slavePath());
        QVERIFY2(m_port->open(QIODevice::ReadWrite), qPrintable(m_port->errorString()));
        LinkSync::setSynchronised(m_port, true);
        m_hub = new ktPublicConfig;
        m_tool = new KTCommandTooler(m_hub, QStringLiteral("Command Tool"));
    }
    void cleanup()
    {
        delete m_hub; // and the tool with it
        m_port->close();
        m_peer.close();
    }

    void enterSendsOnceHubFollowsSuccessHistoryPersists()
    {
        std::atomic<const char *> reply{""};
        PtyResponder responder(&m_peer, [&reply](const QByteArray &) { return QByteArray(reply.load()); });
        responder.start();
        using Case = std::tuple<const char *, const char *, const char *, int>;
        // Command, reply, the mode every page is told to show, channel updates.
        for (const auto &[command, answer, mode, channelUpdates] :
             {Case{"MDS,6", "OK00\r", "6", 0}, Case{"MDS,9", "ER10\r", "", 0},
              Case{"MCH,03", "OK00\r", "", 1}, Case{"MCH,03", "ER10\r", "", 0}}) {
            reply = answer;
            responder.clearCommands();
            QSignalSpy mds(m_hub, &ktPublicConfig::Signal_RecvChangeMDS);
            QSignalSpy mch(m_hub, &ktPublicConfig::Signal_RecvUpdateMCH);
            line()->setText(command);
            QTest::keyPress(line(), Qt::Key_Return);
            QCOMPARE(responder.commandCount(), 0);
            QTest::keyRelease(line(), Qt::Key_Return);
            QCOMPARE(responder.commands(), QList<QByteArray>{QByteArray(command) + '\r'});
            QCOMPARE(mds.value(0).value(0).toString(), QString(mode));
            QCOMPARE(mch.count(), channelUpdates);
            QVERIFY2(log().endsWith(" Rx 4--- " + QString(answer).trimmed()), qPrintable(log()));
        }
        delete m_tool; // a new session, as the main window opens the tool afresh
        m_tool = new KTCommandTooler(m_hub);
        const QStringList shown = {"MCH,03", "MDS,9", "MDS,6", "MDS,6", "MDS,9", "MCH,03", ""};
        for (int i = 0; i < shown.size(); ++i) {
            QTest::keyClick(line(), i < 4 ? Qt::Key_Up : Qt::Key_Down);
            QCOMPARE(line()->text(), shown.at(i));
        }
        line()->completer()->setCompletionPrefix(QStringLiteral("md"));
        QCOMPARE(line()->completer()->currentCompletion(), QStringLiteral("MDS"));
        QCOMPARE(line()->completer()->completionMode(), QCompleter::PopupCompletion);
    }

    void timeoutZeroGivesUpEmptyFieldWaits()
    {
        // Every answer comes 300 ms late; the line's resynchronisation query is answered too.
        PtyResponder responder(&m_peer, [](const QByteArray &command) {
            return command == LinkSync::Query ? QByteArray("OK00,VID,1.00\r") : QByteArray("OK00,KRN4\r");
        });
        responder.setDelayMs(300);
        responder.start();
        QLineEdit *timeout = m_tool->form()->le_timeOut;
        timeout->clear(); // the field takes digits only
        QTest::keyClicks(timeout, QStringLiteral("0x ,"));
        QCOMPARE(timeout->text(), QStringLiteral("0"));
        line()->setText(QStringLiteral("VER"));
        m_tool->on_pbSendCmd_clicked();
        QVERIFY(log().endsWith("Command execution error time out!"));
        timeout->clear(); // the usual 5000 ms, not 0
        m_tool->on_pbSendCmd_clicked();
        QCOMPARE(responder.commands(), (QList<QByteArray>{"VER\r", LinkSync::Query, "VER\r"}));
        QVERIFY2(log().endsWith(" Rx 9--- OK00,KRN4"), qPrintable(log()));
    }

    void historyRecall_data()
    {
        // "|"-separated lists, kept ones most recent first; keys: u = Up, d = Down, from the draft "MC".
        for (const char *column : {"sent", "kept", "keys", "shown"})
            QTest::addColumn<QString>(column);
        const auto row = [](const char *name, QString sent, QString kept, QString keys, QString shown) {
            QTest::newRow(name) << sent << kept << keys << shown;
        };
        row("newest first", "VER|MES|MDS,6", "MDS,6|MES|VER", "uuuu", "MDS,6|MES|VER|VER");
        row("down to the draft", "VER|MES", "MES|VER", "uudddu", "MES|VER|MES|MC|MC|MES");
        row("no repeats, no blanks", "VER|VER|| |MES|VER", "VER|MES|VER", "u", "VER");
        row("empty", "", "", "ud", "MC|MC");
        QStringList sent, kept;
        for (int i = 0; i < 60; ++i)
            kept.prepend((sent << QString::number(i)).last());
        row("at most 50", sent.join('|'), kept.mid(0, 50).join('|'), "", "");
    }
    void historyRecall()
    {
        QFETCH(QString, sent);
        QFETCH(QString, keys);
        CommandHistory history;
        for (const QString &command : sent.split('|'))
            history.add(command);
        QTEST(history.entries().join('|'), "kept");
        QString text = QStringLiteral("MC");
        QStringList seen;
        for (QChar key : keys)
            seen << (text = key == 'u' ? history.up(text) : history.down(text));
        QTEST(seen.join('|'), "shown");
    }
};

QTEST_MAIN(TestCommandTooler)
#include "tst_commandtooler.moc"
