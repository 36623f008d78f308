#include "ktplatform.h"
#include "ktserialportsetting.h"
#include "ktversioninfo.h"
#include "testhelpers.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace TestHelpers;

// The version dialog's firmware query over a real pty: a first-generation reply to "VER" is
// followed by "VER,1", a second-generation one ("V2" in it) by "VID,1".
class TestVersionInfo : public QObject
{
    Q_OBJECT

    PtyPeer m_peer;

private slots:
    void initTestCase()
    {
        ktInitResources();
        QDir().mkpath(KtPlatform::virtualPortDir());
        QVERIFY(m_peer.open(KtPlatform::virtualPortDir() + "/KRN4-VER"));
        ktSerialPortSetting dialog;
        dialog.openPort("KRN4-VER");
        QVERIFY(probePort()->isOpen());
    }

    void secondQueryFollowsTheFirstReply_data()
    {
        QTest::addColumn<QByteArray>("verReply");
        QTest::addColumn<QByteArray>("secondCommand");
        QTest::addColumn<QString>("shown");
        QTest::newRow("V2 asks VID,1") << QByteArray("OK00,V2.03") << QByteArray("VID,1") << "2.03.7";
        QTest::newRow("other asks VER,1") << QByteArray("OK00,4.10") << QByteArray("VER,1") << "4.10,B";
        QTest::newRow("error reply asks VER,1") << QByteArray("ER20") << QByteArray("VER,1") << "4.10,B";
    }
    void secondQueryFollowsTheFirstReply()
    {
        QFETCH(QByteArray, verReply);
        QFETCH(QByteArray, secondCommand);
        ProbeResponder responder(&m_peer,
                                 {{"VER", verReply}, {"VID,1", "OK00,V2,2.03.7"}, {"VER,1", "OK00,4.10,B"}});
        ktVersionInfo dialog;
        const QString version = dialog.firmwareVersion();
        QCOMPARE(responder.received, QList<QByteArray>({"VER", secondCommand}));
        QTEST(version, "shown");
    }

    void noReplyAsksVer1AndLeavesTheFieldEmpty()
    {
        ProbeResponder responder(&m_peer, {});
        ktVersionInfo dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // "VER" times out (5 s); "VER,1" first needs the line back in step, and the resync
        // query is not answered either (5 s), so it is never sent. The dialog shows its own
        // version regardless.
        QTRY_COMPARE_WITH_TIMEOUT(responder.received, QList<QByteArray>({"VER", "VID,1"}), 8000);
        QTRY_COMPARE_WITH_TIMEOUT(dialog.findChild<QLineEdit *>("le_UplayerVersion")->text(),
                                  QString("1.1.0.34"), 12000);
        QCOMPARE(dialog.findChild<QLineEdit *>("le_McuVersion")->text(), QString());
        QSignalSpy endWait(&dialog, &ktVersionInfo::Signal_EndWait);
        dialog.findChild<QPushButton *>("pbOK")->click();
        QCOMPARE(endWait.count(), 1);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(TestVersionInfo)
#include "tst_versioninfo.moc"
