// The mode dialog against a scripted pty probe: bytes sent, values read, summaries left behind.
#include "ktpublicconfignew.h"
#include "pagelog.h"
#include "pagetest.h"
#include "ptypeer.h"
#include "ptyresponder.h"
#include "ui_ktpublicconfignew.h"

#include <QButtonGroup>
#include <QMutex>
#include <QtTest>
#include <QtWidgets>

using namespace PageTest;

class TestModeDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void constructionReadsTheProbe();
    void okSendsTheSettings_data();
    void okSendsTheSettings();

private:
    QList<QByteArray> sentAfterConstruction() const
    {
        return m_responder->commands().mid(m_constructionCommands);
    }
    ktPublicConfigNEW *makeDialog();
    static QStringList summary()
    {
        const PortHolder *h = PortHolder::instance();
        return {h->syncText(), h->speedText(), h->averageText(), h->integrationText()};
    }

    PtyPeer m_peer;
    PtyResponder *m_responder = nullptr;
    QMutex m_lock;
    QMap<QByteArray, QByteArray> m_replies; // the probe's answers to "STR," items and "INI"
    ktPublicConfig *m_hub = nullptr;
    ktPublicConfigNEW *m_dialog = nullptr;
    int m_constructionCommands = 0;
};

void TestModeDialog::init()
{
    m_replies = {{"STR,1", "OK00,0\r"},      {"STR,28", "OK00,60.00Hz\r"},
                 {"STR,17", "OK00,100ms\r"}, {"STR,7", "OK00,1\r"},
                 {"STR,8", "OK00,10\r"},     {"STR,31", "OK00,0\r"},
                 {"STR,3", "OK00,5\r"},      {"INI", "OK00\r"}};
    QVERIFY(m_peer.open());
    m_responder = new PtyResponder(&m_peer, [this](const QByteArray &cmd) -> QByteArray {
        QMutexLocker guard(&m_lock);
        return m_replies.value(cmd.chopped(1), cmd.startsWith("STR,") ? "ER10\r" : "OK00\r");
    });
    m_responder->start();
    QVERIFY(openProbePort(m_peer.slavePath()));
    m_hub = new ktPublicConfig;
}

void TestModeDialog::cleanup()
{
    delete m_dialog;
    m_dialog = nullptr;
    delete m_hub;
    m_hub = nullptr;
    probePort()->close();
    delete m_responder;
    m_responder = nullptr;
    m_peer.close();
}

ktPublicConfigNEW *TestModeDialog::makeDialog()
{
    m_dialog = new ktPublicConfigNEW(m_hub, QString());
    m_constructionCommands = m_responder->commandCount();
    return m_dialog;
}

void TestModeDialog::constructionReadsTheProbe()
{
    ktPublicConfigNEW *d = makeDialog();
    QCOMPARE(m_responder->commands(), QList<QByteArray>({"STR,1\r", "STR,28\r", "STR,17\r", "STR,7\r",
                                                         "STR,8\r", "STR,31\r", "STR,3\r"}));
    Ui::ktPublicConfigNEWForm *f = d->form();
    QVERIFY(f->rb_SyncMode0->isChecked() && f->rb_speedMode1->isChecked());
    QCOMPARE(
        QStringList({f->le_Vsyncf->text(), f->le_ManualTime->text(), f->le_avgtime->text(),
                     f->cb_IntegrationTime->currentText(), f->cb_memorychannnel->currentText(),
                     f->cb_memorychannnel->itemText(99), QString::number(f->cb_memorychannnel->count())}),
        QStringList({"60.00", "100", "10", "Single-Frame", "MCH05", "MCH99", "100"}));
    QCOMPARE(summary(), QStringList({"NTSC:59.94[Hz]", "Fast", "10", "Single-Frame"}));
    // The edits follow the sync choice: frequency for INT, time for MANUAL.
    QVERIFY(!f->le_Vsyncf->isEnabled() && !f->le_ManualTime->isEnabled());
    f->rb_SyncMode4->click();
    QVERIFY(f->le_Vsyncf->isEnabled() && !f->le_ManualTime->isEnabled());
    f->rb_SyncMode5->click();
    QVERIFY(!f->le_Vsyncf->isEnabled() && f->le_ManualTime->isEnabled());
}

void TestModeDialog::okSendsTheSettings_data()
{
    QTest::addColumn<QString>("change");   // what the operator does before OK
    QTest::addColumn<QByteArray>("reply"); // "ITEM=REPLY" the probe answers differently
    QTest::addColumn<QList<QByteArray>>("sent");
    QTest::addColumn<QStringList>("summary"); // sync, speed, integration after OK
    const QList<QByteArray> plain{"MCH,05\r", "MSC,1\r", "VSN,1,0\r", "SCS,0\r", "FSC,1\r", "INI\r"};
    const QStringList unchanged{"NTSC:59.94[Hz]", "Fast", "Single-Frame"};
    // Averaging 1..100: outside, a message and nothing after the channel; inside, exactly these.
    QTest::newRow("averaging 0") << "avg=0" << QByteArray() << QList<QByteArray>{"MCH,05\r"} << unchanged;
    QTest::newRow("averaging 101") << "avg=101" << QByteArray() << QList<QByteArray>{"MCH,05\r"} << unchanged;
    QTest::newRow("averaging 1") << "avg=1" << QByteArray() << plain << unchanged;
    QList<QByteArray> hundred = plain;
    hundred[1] = "MSC,100\r";
    QTest::newRow("averaging 100") << "avg=100" << QByteArray() << hundred << unchanged;
    QTest::newRow("INT sync") << "int" << QByteArray() << QList<QByteArray>{"SCS,4,59.94\r", "VSN,2,0\r"}
                              << QStringList{"INT:59.94[Hz]", "Fast", "Double-Frame"};
    QTest::newRow("MANUAL sync") << "manual" << QByteArray() << QList<QByteArray>{"SCS,5,250\r"}
                                 << QStringList{"MANUAL:250[ms]", "-----", "-----"};
    QTest::newRow("EXT sync read back")
        << "" << QByteArray("STR,1=OK00,2\r") << QList<QByteArray>{} << QStringList{"EXT", "Fast", "-----"};
    // No integration setting (query refused): the box is disabled and no VSN is sent.
    QTest::newRow("integration query error")
        << "" << QByteArray("STR,31=ER10\r") << QList<QByteArray>{"INI\r"}
        << QStringList{"NTSC:59.94[Hz]", "Fast", ""};
    QTest::newRow("channel 7 as two digits") << "channel" << QByteArray() << QList<QByteArray>{"MCH,07\r"}
                                             << QStringList{"NTSC:59.94[Hz]", "Fast", "Single-Frame"};
    QTest::newRow("INI without OK is logged") << "" << QByteArray("INI=ER10\r") << QList<QByteArray>{"INI\r"}
                                              << QStringList{"NTSC:59.94[Hz]", "Fast", "Single-Frame"};
}

void TestModeDialog::okSendsTheSettings()
{
    QFETCH(QString, change);
    QFETCH(QByteArray, reply);
    if (!reply.isEmpty()) {
        QMutexLocker guard(&m_lock);
        m_replies.insert(reply.left(reply.indexOf('=')), reply.mid(reply.indexOf('=') + 1));
    }
    ktPublicConfigNEW *d = makeDialog();
    Ui::ktPublicConfigNEWForm *f = d->form();
    QSignalSpy channelUpdates(m_hub, &ktPublicConfig::Signal_RecvUpdateMCH);
    if (change == "int") {
        f->rb_SyncMode4->click();
        f->le_Vsyncf->setText("59.94");
        f->cb_IntegrationTime->setCurrentIndex(1);
    } else if (change == "manual") {
        f->rb_SyncMode5->click();
        f->le_ManualTime->setText("250");
    } else if (change == "channel") {
        f->cb_memorychannnel->setCurrentIndex(7);
    } else if (change.startsWith("avg=")) {
        f->le_avgtime->setText(change.mid(4));
    }
    const bool refused = change == "avg=0" || change == "avg=101";
    ModalCloser closer;
    if (refused)
        closer.arm();
    if (reply.startsWith("STR,1=")) // what the dialog read is summarised before any OK
        QCOMPARE(summary().at(0), QString("EXT"));
    d->on_pbOK_clicked();
    QFETCH(QList<QByteArray>, sent);
    QCOMPARE(d->result(), int(refused ? QDialog::Rejected : QDialog::Accepted));
    QVERIFY(!refused || (closer.seen && closer.text == "The range of averaging times is 1-100"));
    if (change.startsWith("avg="))
        QCOMPARE(sentAfterConstruction(), sent);
    if (refused)
        return;
    for (const QByteArray &command : sent)
        QVERIFY2(sentAfterConstruction().contains(command),
                 qPrintable(QString(sentAfterConstruction().join(' '))));
    QFETCH(QStringList, summary);
    const QStringList now = this->summary();
    QCOMPARE(QStringList({now.at(0), now.at(1), now.at(3)}), summary);
    if (change == "channel") // the channel change reaches every page through the hub
        QCOMPARE(channelUpdates.count(), 1);
    if (reply.startsWith("STR,31=")) {
        QVERIFY(f->cb_IntegrationTime->count() == 0 && !f->cb_IntegrationTime->isEnabled());
        for (const QByteArray &c : sentAfterConstruction())
            QVERIFY2(!c.startsWith("VSN,"), c.constData());
    }
    if (reply.startsWith("INI="))
        QVERIFY(d->logView()->toPlainText().contains("Command execution error!"));
    if (change.startsWith("avg="))
        QCOMPARE(PortHolder::instance()->averageText(), change.mid(4));
}

QTEST_MAIN(TestModeDialog)
#include "tst_modedialog.moc"
