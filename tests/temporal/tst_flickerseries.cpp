// Timed series against a scripted probe on a pseudo-terminal (PtyResponder), where the test
// decides every byte: replies numbered so their order can be checked, replies that never end,
// and a GUI thread that is kept busy while results pile up.
#include "ktflickerset.h"
#include "measurementmodel.h"
#include "pagetest.h"
#include "ptypeer.h"
#include "ptyresponder.h"
#include "ui_ktflickerset.h"
#include "workerthread.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>

using namespace PageTest;

namespace {
// A fast xyLv reply whose luminance carries the sequence number n.
QByteArray numbered(int n)
{
    return "OK00,P1,0,0.312700,0.329000," + QByteArray::number(n) + ".0000,0.1978,0.4683\r";
}
} // namespace

class TestFlickerSeries : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void resultsFasterThanConsumedAreAllShownInOrder();
    void replyThatNeverEndsCostsFiveSecondsAndNoRow();
    void workerThatCannotOpenEndsTheSeries();
    void pageClosedDuringSeriesGivesThePortBack();
    void jeitaOutsideRangeKeepsItsValue();

private:
    QTemporaryDir m_settings;
    PtyPeer m_peer;
    PtyResponder *m_responder = nullptr;
    std::atomic<int> m_mes{0};
    std::atomic<int> m_hangAt{-1};
    ktPublicConfig *m_hub = nullptr;
    ktFlickerSet *m_page = nullptr;
};

void TestFlickerSeries::init()
{
    isolateUserSettings(m_settings.path());
    m_mes = 0;
    m_hangAt = -1;
    QVERIFY(m_peer.open());
    m_responder = new PtyResponder(&m_peer, [this](const QByteArray &cmd) -> QByteArray {
        if (cmd.startsWith("MES")) {
            const int n = ++m_mes;
            if (n == m_hangAt)
                return "OK00,P1,0,0.3127"; // no terminator, ever
            return numbered(n);
        }
        if (cmd == "JAD\r") {
            QByteArray list = "-70.5";
            for (int hz = 7; hz <= 65; ++hz)
                list += ";-80.25";
            return "OK04,-70.12," + list + "\r";
        }
        return "OK00\r";
    });
    m_responder->start();
    QVERIFY(openProbePort(m_peer.slavePath()));
    m_hub = new ktPublicConfig;
    m_page = new ktFlickerSet(m_hub);
    m_page->form()->rb_Cont->setChecked(true);
}

void TestFlickerSeries::cleanup()
{
    delete m_page;
    m_page = nullptr;
    delete m_hub;
    m_hub = nullptr;
    probePort()->close();
    delete m_responder;
    m_responder = nullptr;
    m_peer.close();
}

void TestFlickerSeries::resultsFasterThanConsumedAreAllShownInOrder()
{
    m_page->form()->le_Count->setText("300");
    QSignalSpy done(m_page, &ktFlickerSet::Signal_SeriesFinished);
    m_page->on_pbMeasure_clicked();
    // Keep the GUI thread away from its events while the worker keeps measuring, so that many
    // results are queued before the first is consumed.
    QElapsedTimer busy;
    busy.start();
    while (m_mes < 150 && busy.elapsed() < 5000)
        QThread::msleep(5);
    QCOMPARE(m_page->brightRow(), 0);
    QVERIFY(done.wait(10000));
    QCOMPARE(m_page->brightRow(), 300);
    const MeasurementModel *m = m_page->tableModel(true);
    for (int r = 0; r < 300; ++r) {
        QCOMPARE(m->cellText(r, 5), QString::number(r + 1) + ".0000");
        QCOMPARE(m->headerData(r, Qt::Vertical).toString(), QString::number(r + 1));
    }
    QCOMPARE(m_page->seriesStatus(), QString("300 / 300"));
    QVERIFY(probePort()->isOpen());
    QVERIFY(!m_hub->busyFlag());
}

void TestFlickerSeries::replyThatNeverEndsCostsFiveSecondsAndNoRow()
{
    m_hangAt = 2;
    m_page->form()->le_Count->setText("3");
    QSignalSpy done(m_page, &ktFlickerSet::Signal_SeriesFinished);
    QElapsedTimer clock;
    clock.start();
    m_page->on_pbMeasure_clicked();
    QVERIFY(done.wait(12000));
    const qint64 ms = clock.elapsed();
    QVERIFY2(ms >= WorkerThread::ReplyTimeoutMs, qPrintable(QString::number(ms)));
    QVERIFY2(ms < WorkerThread::ReplyTimeoutMs + 3000, qPrintable(QString::number(ms)));
    // Cycles 1 and 3 made rows 1 and 2; cycle 2 made none.
    QCOMPARE(m_page->brightRow(), 2);
    QCOMPARE(m_page->tableModel(true)->cellText(0, 5), QString("1.0000"));
    QCOMPARE(m_page->tableModel(true)->cellText(1, 5), QString("3.0000"));
    QCOMPARE(m_page->worker()->timeouts(), 1);
    // The series says what it lost, in the status and in the log.
    QCOMPARE(m_page->seriesStatus(), QString("2 of 3 readings; 1 timed out"));
    QVERIFY(m_page->logView()->toPlainText().contains("2 of 3 readings; 1 timed out"));
    QVERIFY(probePort()->isOpen());
    QVERIFY(!m_hub->busyFlag());
}

void TestFlickerSeries::workerThatCannotOpenEndsTheSeries()
{
    // The device vanishes between the page closing the shared port and the worker opening it.
    m_page->form()->le_Count->setText("5");
    QSignalSpy done(m_page, &ktFlickerSet::Signal_SeriesFinished);
    m_responder->stop();
    m_peer.close();
    m_page->on_pbMeasure_clicked();
    QVERIFY(done.count() == 1 || done.wait(5000));
    QCOMPARE(m_page->brightRow(), 0);
    QVERIFY(!m_page->seriesRunning());
    QVERIFY(!m_hub->busyFlag());
    QVERIFY(m_page->form()->pbMeasure->isEnabled());
}

void TestFlickerSeries::pageClosedDuringSeriesGivesThePortBack()
{
    m_page->form()->le_Count->setText("1000");
    m_page->form()->le_InterValSec->setText("20");
    m_page->on_pbMeasure_clicked();
    QTRY_VERIFY_WITH_TIMEOUT(m_page->brightRow() >= 2, 5000);
    QVERIFY(m_hub->busyFlag());
    delete m_page;
    m_page = nullptr;
    QVERIFY(probePort()->isOpen());
    QVERIFY(!m_hub->busyFlag());
}

void TestFlickerSeries::jeitaOutsideRangeKeepsItsValue()
{
    m_page->form()->rb_Single->setChecked(true);
    m_page->form()->rb_MeasureJEITA->click();
    QVERIFY(m_responder->commands().contains("MDS,8\r"));
    m_page->on_pbMeasure_clicked();
    QTRY_COMPARE_WITH_TIMEOUT(m_page->flickerRow(), 1, 3000);
    const QStringList cells = m_page->tableModel(false)->rowTexts(0);
    QCOMPARE(cells.mid(0, 2), QStringList({"-70.12", "-70.5"}));
    QCOMPARE(cells.mid(60, 2), QStringList({"-80.25", "Outside of measurement range!"}));
    QCOMPARE(m_page->form()->le_FlickerValue->text(), QString("-70.12"));
    QCOMPARE(m_page->form()->lb_FlickerValue->text(), QString("JEITA:"));
}

QTEST_MAIN(TestFlickerSeries)
#include "tst_flickerseries.moc"
