// The measurement-mode dialog against a scripted probe on a pseudo-terminal (PtyResponder):
// the exact bytes it sends, what it reads back, and the summary texts it leaves in PortHolder.
#include "ktpublicconfignew.h"
#include "pagelog.h"
#include "pagetest.h"
#include "ptypeer.h"
#include "ptyresponder.h"
#include "ui_ktpublicconfignew.h"

#include <QButtonGroup>
#include <QMutex>
#include <QtTest>

using namespace PageTest;

namespace {
// What the scripted probe answers to the "STR," queries, keyed by item.
struct ProbeState
{
    QMutex lock;
    QMap<QByteArray, QByteArray> str;
    QByteArray ini = "OK00\r";
};
} // namespace

class TestModeDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void constructionReadsTheProbe();
    void averagingRange_data();
    void averagingRange();
    void intSyncSendsFrequencyAndSummary();
    void manualMakesSpeedAndIntegrationDashes();
    void externalSyncDashesIntegration();
    void integrationQueryErrorDisablesTheBox();
    void channelSevenIsSentAsTwoDigits();
    void iniWithoutOkIsLogged();

private:
    QList<QByteArray> sentAfterConstruction() const;
    ktPublicConfigNEW *makeDialog();

    PtyPeer m_peer;
    PtyResponder *m_responder = nullptr;
    ProbeState m_state;
    ktPublicConfig *m_hub = nullptr;
    ktPublicConfigNEW *m_dialog = nullptr;
    int m_constructionCommands = 0;
};

void TestModeDialog::init()
{
    {
        QMutexLocker guard(&m_state.lock);
        m_state.str = {{"1", "OK00,0\r"}, {"28", "OK00,60.00Hz\r"}, {"17", "OK00,100ms\r"},
                       {"7", "OK00,1\r"}, {"8", "OK00,10\r"},       {"31", "OK00,0\r"},
                       {"3", "OK00,5\r"}};
        m_state.ini = "OK00\r";
    }
    QVERIFY(m_peer.open());
    m_responder = new PtyResponder(&m_peer, [this](const QByteArray &cmd) -> QByteArray {
        QMutexLocker guard(&m_state.lock);
        if (cmd.startsWith("STR,"))
            return m_state.str.value(cmd.mid(4).chopped(1), "ER10\r");
        if (cmd == "INI\r")
            return m_state.ini;
        return "OK00\r";
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

QList<QByteArray> TestModeDialog::sentAfterConstruction() const
{
    return m_responder->commands().mid(m_constructionCommands);
}

void TestModeDialog::constructionReadsTheProbe()
{
    ktPublicConfigNEW *d = makeDialog();
    QCOMPARE(m_responder->commands(), QList<QByteArray>({"STR,1\r", "STR,28\r", "STR,17\r", "STR,7\r",
                                                         "STR,8\r", "STR,31\r", "STR,3\r"}));
    Ui::ktPublicConfigNEWForm *f = d->form();
    QCOMPARE(d->windowTitle(), QString("Paramenters Setting"));
    QVERIFY(f->rb_SyncMode0->isChecked());
    QCOMPARE(f->le_Vsyncf->text(), QString("60.00"));
    QCOMPARE(f->le_ManualTime->text(), QString("100"));
    QVERIFY(!f->le_Vsyncf->isEnabled());
    QVERIFY(!f->le_ManualTime->isEnabled());
    QVERIFY(f->rb_speedMode1->isChecked());
    QCOMPARE(f->le_avgtime->text(), QString("10"));
    QCOMPARE(f->cb_IntegrationTime->currentText(), QString("Single-Frame"));
    QCOMPARE(f->cb_memorychannnel->currentText(), QString("MCH05"));
    QCOMPARE(f->cb_memorychannnel->count(), 100);
    QCOMPARE(f->cb_memorychannnel->itemText(99), QString("MCH99"));
    PortHolder *h = PortHolder::instance();
    QCOMPARE(h->syncText(), QString("NTSC:59.94[Hz]"));
    QCOMPARE(h->speedText(), QString("Fast"));
    QCOMPARE(h->averageText(), QString("10"));
    QCOMPARE(h->integrationText(), QString("Single-Frame"));
    // The edits follow the sync choice.
    f->rb_SyncMode4->click();
    QVERIFY(f->le_Vsyncf->isEnabled());
    QVERIFY(!f->le_ManualTime->isEnabled());
    f->rb_SyncMode5->click();
    QVERIFY(!f->le_Vsyncf->isEnabled());
    QVERIFY(f->le_ManualTime->isEnabled());
}

void TestModeDialog::averagingRange_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("0") << "0" << false;
    QTest::newRow("101") << "101" << false;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("100") << "100" << true;
}

void TestModeDialog::averagingRange()
{
    QFETCH(QString, value);
    QFETCH(bool, accepted);
    ktPublicConfigNEW *d = makeDialog();
    d->form()->le_avgtime->setText(value);
    ModalCloser closer;
    if (!accepted)
        closer.arm();
    d->on_pbOK_clicked();
    const QList<QByteArray> sent = sentAfterConstruction();
    if (!accepted) {
        QVERIFY(closer.seen);
        QCOMPARE(closer.text, QString("The range of averaging times is 1-100"));
        // Only the channel went out; nothing after the refused step.
        QCOMPARE(sent, QList<QByteArray>({"MCH,05\r"}));
        QCOMPARE(d->result(), int(QDialog::Rejected));
        return;
    }
    QCOMPARE(sent, QList<QByteArray>({"MCH,05\r", "MSC," + value.toLatin1() + "\r", "VSN,1,0\r", "SCS,0\r",
                                      "FSC,1\r", "INI\r"}));
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(PortHolder::instance()->averageText(), value);
}

void TestModeDialog::intSyncSendsFrequencyAndSummary()
{
    ktPublicConfigNEW *d = makeDialog();
    d->form()->rb_SyncMode4->click();
    d->form()->le_Vsyncf->setText("59.94");
    d->form()->cb_IntegrationTime->setCurrentIndex(1);
    d->on_pbOK_clicked();
    const QList<QByteArray> sent = sentAfterConstruction();
    QVERIFY2(sent.contains("SCS,4,59.94\r"), qPrintable(QString(sent.join(' '))));
    QVERIFY(sent.contains("VSN,2,0\r"));
    QCOMPARE(PortHolder::instance()->syncText(), QString("INT:59.94[Hz]"));
    QCOMPARE(PortHolder::instance()->integrationText(), QString("Double-Frame"));
    QCOMPARE(PortHolder::instance()->speedText(), QString("Fast"));
}

void TestModeDialog::manualMakesSpeedAndIntegrationDashes()
{
    ktPublicConfigNEW *d = makeDialog();
    d->form()->rb_SyncMode5->click();
    d->form()->le_ManualTime->setText("250");
    d->on_pbOK_clicked();
    QVERIFY(sentAfterConstruction().contains("SCS,5,250\r"));
    QCOMPARE(PortHolder::instance()->syncText(), QString("MANUAL:250[ms]"));
    QCOMPARE(PortHolder::instance()->speedText(), QString("-----"));
    QCOMPARE(PortHolder::instance()->integrationText(), QString("-----"));
}

void TestModeDialog::externalSyncDashesIntegration()
{
    {
        QMutexLocker guard(&m_state.lock);
        m_state.str["1"] = "OK00,2\r";
    }
    makeDialog();
    QCOMPARE(PortHolder::instance()->syncText(), QString("EXT"));
    QCOMPARE(PortHolder::instance()->integrationText(), QString("-----"));
    QCOMPARE(PortHolder::instance()->speedText(), QString("Fast"));
}

void TestModeDialog::integrationQueryErrorDisablesTheBox()
{
    {
        QMutexLocker guard(&m_state.lock);
        m_state.str["31"] = "ER10\r";
    }
    ktPublicConfigNEW *d = makeDialog();
    QCOMPARE(d->form()->cb_IntegrationTime->count(), 0);
    QVERIFY(!d->form()->cb_IntegrationTime->isEnabled());
    d->on_pbOK_clicked();
    for (const QByteArray &c : sentAfterConstruction())
        QVERIFY2(!c.startsWith("VSN,"), c.constData());
    QVERIFY(sentAfterConstruction().contains("INI\r"));
}

void TestModeDialog::channelSevenIsSentAsTwoDigits()
{
    ktPublicConfigNEW *d = makeDialog();
    QSignalSpy updates(m_hub, &ktPublicConfig::Signal_RecvUpdateMCH);
    d->form()->cb_memorychannnel->setCurrentIndex(7);
    d->on_pbOK_clicked();
    QCOMPARE(sentAfterConstruction().value(0), QByteArray("MCH,07\r"));
    // The channel change reaches every page through the hub.
    QCOMPARE(updates.count(), 1);
}

void TestModeDialog::iniWithoutOkIsLogged()
{
    {
        QMutexLocker guard(&m_state.lock);
        m_state.ini = "ER10\r";
    }
    ktPublicConfigNEW *d = makeDialog();
    d->on_pbOK_clicked();
    QVERIFY(d->logView()->toPlainText().contains("Command execution error!"));
    QCOMPARE(d->result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestModeDialog)
#include "tst_modedialog.moc"
