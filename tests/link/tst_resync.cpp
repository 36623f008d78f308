// Late replies against the real transport (QSerialPort on a pseudo-terminal, the page reader
// and the series worker): a reply that comes after its request timed out must never be taken
// as a later command's answer. The peer answers one command at a time, in order, as the probe
// does, and tags every measurement with its sequence number so a reading tells its command.
#include "linksync.h"
#include "ptypeer.h"
#include "ptyresponder.h"
#include "serialportreader.h"
#include "workerthread.h"

#include <QSignalSpy>
#include <QtTest>

#include <atomic>

namespace {
QByteArray tagged(int n)
{
    return "OK00,P1,0,0.312700,0.329000," + QByteArray::number(n) + ".0000,0.1978,0.4683\r";
}

int tagOf(const QString &reply)
{
    return int(reply.section(',', 5, 5).toDouble());
}
} // namespace

class TestResync : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void seriesNeverTakesALateReply();
    void requestAfterALateReplyGetsItsOwn_data();
    void requestAfterALateReplyGetsItsOwn();
    void floodIntoTheWorkerIsDropped();

private:
    // MES number `special` is answered after lateMs, or (flood) by 5 MiB without a terminator
    // before its "\r"; answerQuery false leaves the resync query unanswered.
    void startPeer(int special, int lateMs, bool flood = false, bool answerQuery = true);
    // Runs a series through the real worker; returns the rows and fills the lost cycles.
    QList<QList<QVariant>> runSeries(int count, QList<QList<QVariant>> *lost);

    PtyPeer m_peer;
    PtyResponder *m_responder = nullptr;
    std::atomic<int> m_mes{0};
};

void TestResync::init()
{
    m_mes = 0;
    QVERIFY(m_peer.open());
}

void TestResync::cleanup()
{
    delete m_responder;
    m_responder = nullptr;
    m_peer.close();
}

void TestResync::startPeer(int special, int lateMs, bool flood, bool answerQuery)
{
    m_responder = new PtyResponder(&m_peer, [=](const QByteArray &cmd) -> QByteArray {
        if (cmd == LinkSync::Query)
            return answerQuery ? QByteArray("OK00,VID,5.00\r") : QByteArray();
        if (!cmd.startsWith("MES"))
            return "OK00\r";
        const int n = ++m_mes;
        if (n == special && flood)
            return QByteArray(5 << 20, 'A') + '\r';
        if (n == special)
            QThread::msleep(unsigned(lateMs)); // still measuring: reads nothing meanwhile
        return tagged(n);
    });
    m_responder->start();
}

QList<QList<QVariant>> TestResync::runSeries(int count, QList<QList<QVariant>> *lost)
{
    WorkerThread worker(count, 0, 0);
    worker.setPortPath(m_peer.slavePath());
    QSignalSpy rows(&worker, &WorkerThread::Signal_SyncMeasure);
    QSignalSpy lostCycles(&worker, &WorkerThread::Signal_CycleLost);
    worker.start();
    worker.wait(30000);
    *lost = lostCycles;
    return rows;
}

void TestResync::seriesNeverTakesALateReply()
{
    startPeer(1, 6000); // the worker gives up on a reply after 5 s
    QList<QList<QVariant>> lost;
    const QList<QList<QVariant>> rows = runSeries(6, &lost);
    QCOMPARE(lost.size(), 1);
    QCOMPARE(lost.at(0).at(0).toInt(), 0);
    QCOMPARE(rows.size(), 5);
    for (int i = 0; i < rows.size(); ++i) {
        // Cycle i + 1 sent MES number i + 2, answered at once: its reading and its own Δt.
        QCOMPARE(tagOf(rows.at(i).at(0).toString()), i + 2);
        QVERIFY2(rows.at(i).at(1).toInt() < 1000, qPrintable(rows.at(i).at(1).toString()));
    }
}

void TestResync::requestAfterALateReplyGetsItsOwn_data()
{
    QTest::addColumn<bool>("async");
    QTest::addColumn<bool>("answerQuery");
    QTest::newRow("blocking") << false << true;
    QTest::newRow("asynchronous") << true << true;
    QTest::newRow("resync fails: a time-out, no hang") << true << false;
}

void TestResync::requestAfterALateReplyGetsItsOwn()
{
    QFETCH(bool, async);
    QFETCH(bool, answerQuery);
    startPeer(1, 1500, false, answerQuery);
    QSerialPort port(m_peer.slavePath());
    QVERIFY(port.open(QIODevice::ReadWrite));
    SerialPortReader reader(&port);
    QByteArray reply;
    QVERIFY(!reader.sendAndWait("MES\r", reply, 13, 1000)); // answered at 1.5 s: too late
    QVERIFY(!LinkSync::isSynchronised(&port));

    QElapsedTimer clock;
    clock.start();
    bool got = false;
    if (async) {
        int outcomes = 0;
        connect(&reader, &SerialPortReader::Signal_RecvMessage, this,
                [&](QString &, unsigned, unsigned, QByteArray &r) { reply = r, got = true, ++outcomes; });
        connect(&reader, &SerialPortReader::Signal_Timeout, this, [&] { ++outcomes; });
        reader.sendAsync(32, 5, "MES\r", 13, 1000);
        QTRY_COMPARE_WITH_TIMEOUT(outcomes, 1, 10000);
    } else {
        got = reader.sendAndWait("MES\r", reply, 13, 1000);
    }
    QCOMPARE(got, answerQuery);
    QVERIFY(clock.elapsed() < LinkSync::QuietLimitMs + LinkSync::AnswerTimeoutMs + 1500);
    QCOMPARE(LinkSync::isSynchronised(&port), answerQuery);
    if (answerQuery) {
        QCOMPARE(tagOf(reply), 2);
        QVERIFY(reader.lastRoundTripMs() < 500); // without the resync before it
    }
}

void TestResync::floodIntoTheWorkerIsDropped()
{
    startPeer(1, 0, true);
    QList<QList<QVariant>> lost;
    const QList<QList<QVariant>> rows = runSeries(3, &lost);
    // The flood is dropped as a whole (never handed on, never held beyond the cap), the cycle
    // is lost, and the next cycles read their own replies.
    QCOMPARE(lost.size(), 1);
    QCOMPARE(rows.size(), 2);
    for (int i = 0; i < rows.size(); ++i) {
        QVERIFY(rows.at(i).at(0).toString().size() < 100);
        QCOMPARE(tagOf(rows.at(i).at(0).toString()), i + 2);
    }
}

QTEST_GUILESS_MAIN(TestResync)
#include "tst_resync.moc"
