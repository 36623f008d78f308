#include <QtTest>

#include <QSerialPort>

#include "ptypeer.h"
#include "ptyresponder.h"
#include "serialportreader.h"

// The transport against a real pseudo-terminal through the real QSerialPort: the master side
// plays the probe exactly as badly as each case needs.
class TestSerialPortReader : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void replySplitOverChunksIsJoined();
    void twoRepliesInOneChunkDeliverTheFirstOnly();
    void staleInputIsDiscardedBeforeTheWrite();
    void idleReaderLeavesInputToTheWaitingOne();
    void secondRequestWhileBusySendsNothing();
    void otherReadersWaitForTheRequestInFlight();
    void nestedBlockingExchangeIsRefused();
    void destroyedReaderReleasesThePort();
    void lateTimeoutAfterReplyDoesNothing();
    void silenceEndsInOneTimeout();
    void simulatedReadErrorKeepsTheRequestPending();
    void unpluggedDeviceEndsTheRequestByTimeout();
    void blockingWaitReturnsTheReply();
    void blockingWaitWithoutTerminatorFailsAfterTimeout();
    void badInput_data();
    void badInput();
    void floodIsBoundedAndEndsByTimeout();
    void overlongReplyKeepsOnlyItsTail();
    void closedPortFailsAtOnce();

private:
    // What the probe received up to "\r". QSerialPort writes from the event loop, so it runs
    // while waiting.
    QByteArray peerCommand(int timeoutMs = 1000)
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
    QByteArray peerRead(int ms)
    {
        QByteArray got;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            QCoreApplication::processEvents();
            got += m_peer.read(5);
        }
        return got;
    }

    PtyPeer m_peer;
    QSerialPort *m_port = nullptr;
    SerialPortReader *m_reader = nullptr;
};

// Records the reader's signals (QSignalSpy cannot take their reference parameters).
class Spy
{
public:
    struct Event
    {
        QString port;
        uint code = 0;
        uint task = 0;
        QByteArray reply;
    };
    Spy(SerialPortReader *reader, void (SerialPortReader::*)(QString &, unsigned, unsigned, QByteArray &))
    {
        QObject::connect(reader, &SerialPortReader::Signal_RecvMessage, &m_ctx,
                         [this](QString &p, unsigned c, unsigned t, QByteArray &r) {
                             m_events << Event{p, c, t, r};
                         });
    }
    Spy(SerialPortReader *reader, void (SerialPortReader::*)(QString &, unsigned, unsigned))
    {
        QObject::connect(reader, &SerialPortReader::Signal_Timeout, &m_ctx,
                         [this](QString &p, unsigned c, unsigned t) {
                             m_events << Event{p, c, t, {}};
                         });
    }
    Spy(SerialPortReader *reader, void (SerialPortReader::*)(QString &, QString &))
    {
        QObject::connect(reader, &SerialPortReader::Signal_ComError, &m_ctx,
                         [this](QString &p, QString &text) {
                             m_events << Event{p, 0, 0, text.toUtf8()};
                         });
    }
    int count() const { return m_events.size(); }
    const Event &at(int i) const { return m_events.at(i); }
    bool wait(int ms)
    {
        const int before = m_events.size();
        QElapsedTimer clock;
        clock.start();
        while (m_events.size() == before && clock.elapsed() < ms)
            QTest::qWait(5);
        return m_events.size() > before;
    }

private:
    QObject m_ctx;
    QList<Event> m_events;
};

void TestSerialPortReader::init()
{
    QVERIFY(m_peer.open());
    m_port = new QSerialPort(m_peer.slavePath());
    QVERIFY2(m_port->open(QIODevice::ReadWrite), qPrintable(m_port->errorString()));
    m_reader = new SerialPortReader(m_port, m_port);
}

void TestSerialPortReader::cleanup()
{
    delete m_port; // deletes the reader too
    m_port = nullptr;
    m_reader = nullptr;
    m_peer.close();
}

void TestSerialPortReader::replySplitOverChunksIsJoined()
{
    Spy replies(m_reader, &SerialPortReader::Signal_RecvMessage);
    Spy timeouts(m_reader, &SerialPortReader::Signal_Timeout);
    m_reader->sendAsync(32, 5, "MES\r", 13, 3000);
    QVERIFY(m_reader->isBusy());
    QCOMPARE(peerCommand(), QByteArray("MES\r"));
    m_peer.write("OK00,P1,");
    QTest::qWait(40);
    m_peer.write("3127,3290");
    QTest::qWait(40);
    QCOMPARE(replies.count(), 0);
    m_peer.write(",100.0\r");
    QVERIFY(replies.wait(2000));
    QCOMPARE(replies.count(), 1);
    QCOMPARE(replies.at(0).port, m_port->portName());
    QCOMPARE(replies.at(0).code, 32u);
    QCOMPARE(replies.at(0).task, 5u);
    QCOMPARE(replies.at(0).reply, QByteArray("OK00,P1,3127,3290,100.0"));
    QVERIFY(!m_reader->isBusy());
    QCOMPARE(timeouts.count(), 0);
}

void TestSerialPortReader::twoRepliesInOneChunkDeliverTheFirstOnly()
{
    Spy replies(m_reader, &SerialPortReader::Signal_RecvMessage);
    m_reader->sendAsync(1, 5, "VER\r", 13, 3000);
    QCOMPARE(peerCommand(), QByteArray("VER\r"));
    m_peer.write("OK00,first\rOK00,second\r");
    QVERIFY(replies.wait(2000));
    QTest::qWait(100);
    QCOMPARE(replies.count(), 1);
    QCOMPARE(replies.at(0).reply, QByteArray("OK00,first"));

    // The rest of that chunk is gone: the next request sees only its own reply.
    m_reader->sendAsync(2, 5, "TYP\r", 13, 3000);
    QCOMPARE(peerCommand(), QByteArray("TYP\r"));
    m_peer.write("OK00,third\r");
    QVERIFY(replies.wait(2000));
    QCOMPARE(replies.at(1).reply, QByteArray("OK00,third"));
}

void TestSerialPortReader::staleInputIsDiscardedBeforeTheWrite()
{
    Spy replies(m_reader, &SerialPortReader::Signal_RecvMessage);
    m_peer.write("OK00,stale\r");
    QTest::qWait(100); // arrives while nobody waits: stays in the port
    QCOMPARE(replies.count(), 0);
    QVERIFY(m_port->bytesAvailable() > 0);

    m_reader->sendAsync(32, 5, "MES\r", 13, 3000);
    QCOMPARE(peerCommand(), QByteArray("MES\r"));
    m_peer.write("OK00,fresh\r");
    QVERIFY(replies.wait(2000));
    QCOMPARE(replies.count(), 1);
    QCOMPARE(replies.at(0).reply, QByteArray("OK00,fresh"));

    // Same for the blocking form.
    m_peer.write("OK00,stale again\r");
    QTest::qWait(100);
    PtyResponder responder(&m_peer, [](const QByteArray &) { return QByteArray("OK00,blocking\r"); });
    responder.start();
    QByteArray reply;
    QVERIFY(m_reader->sendAndWait("VER\r", reply, 13, 2000));
    QCOMPARE(reply, QByteArray("OK00,blocking"));
}

void TestSerialPortReader::idleReaderLeavesInputToTheWaitingOne()
{
    // Two pages on one port: only the one with a request in flight takes the reply.
    SerialPortReader other(m_port);
    Spy mine(m_reader, &SerialPortReader::Signal_RecvMessage);
    Spy theirs(&other, &SerialPortReader::Signal_RecvMessage);
    other.sendAsync(7, 5, "STR,3\r", 13, 3000);
    QCOMPARE(peerCommand(), QByteArray("STR,3\r"));
    m_peer.write("OK00,07\r");
    QVERIFY(theirs.wait(2000));
    QCOMPARE(theirs.at(0).code, 7u);
    QCOMPARE(mine.count(), 0);
}

void TestSerialPortReader::secondRequestWhileBusySendsNothing()
{
    Spy replies(m_reader, &SerialPortReader::Signal_RecvMessage);
    Spy timeouts(m_reader, &SerialPortReader::Signal_Timeout);
    m_reader->sendAsync(32, 5, "MES\r", 13, 3000);
    m_reader->sendAsync(34, 4, "JAD\r", 13, 100);
    QCOMPARE(peerRead(200), QByteArray("MES\r")); // nothing of the second
    QTest::qWait(150);                            // past the second one's time-out
    QCOMPARE(timeouts.count(), 0);
    m_peer.write("OK00,done\r");
    QVERIFY(replies.wait(2000));
    QCOMPARE(replies.count(), 1);
    QCOMPARE(replies.at(0).code, 32u);
    QCOMPARE(replies.at(0).task, 5u);
    QTest::qWait(100);
    QCOMPARE(timeouts.count(), 0);
}

void TestSerialPortReader::otherReadersWaitForTheRequestInFlight()
{
    // Two pages on one line: while one request is in flight, another page's request would
    // discard or take its reply, so it is refused (nothing is written).
    SerialPortReader other(m_port);
    Spy mine(m_reader, &SerialPortReader::Signal_RecvMessage);
    Spy theirs(&other, &SerialPortReader::Signal_RecvMessage);
    Spy theirTimeouts(&other, &SerialPortReader::Signal_Timeout);
    m_reader->sendAsync(32, 5, "MES\r", 13, 3000);
    QVERIFY(other.portInUse());
    other.sendAsync(1, 5, "VER\r", 13, 100);
    QByteArray reply;
    QVERIFY(!other.sendAndWait("TYP\r", reply, 13, 100));
    QCOMPARE(peerRead(200), QByteArray("MES\r"));
    QCOMPARE(theirTimeouts.count(), 0); // a refused request leaves no trace
    m_peer.write("OK00,mine\r");
    QVERIFY(mine.wait(2000));
    QCOMPARE(mine.at(0).reply, QByteArray("OK00,mine"));
    QVERIFY(!other.portInUse());

    // Free again: the other page's request goes out and gets its reply.
    other.sendAsync(1, 5, "VER\r", 13, 3000);
    QVERIFY(m_reader->portInUse());
    QCOMPARE(peerCommand(), QByteArray("VER\r"));
    m_peer.write("OK00,theirs\r");
    QVERIFY(theirs.wait(2000));
    QCOMPARE(theirs.at(0).reply, QByteArray("OK00,theirs"));
    QCOMPARE(mine.count(), 1);
}

void TestSerialPortReader::nestedBlockingExchangeIsRefused()
{
    // A blocking wait processes events; a timer of another page that fires meanwhile must
    // not start a second exchange on the line.
    SerialPortReader other(m_port);
    PtyResponder responder(&m_peer, [](const QByteArray &cmd) { return "OK00," + cmd.left(3) + "\r"; });
    responder.setDelayMs(300);
    responder.start();
    bool nestedResult = true;
    bool asyncBusy = true;
    QTimer::singleShot(100, [&] {
        QByteArray nested;
        nestedResult = other.sendAndWait("TYP\r", nested, 13, 1000);
        other.sendAsync(1, 5, "IDO\r", 13, 1000);
        asyncBusy = other.isBusy();
        QByteArray own;
        nestedResult = nestedResult || m_reader->sendAndWait("RPR\r", own, 13, 1000);
    });
    QByteArray reply;
    QVERIFY(m_reader->sendAndWait("VER\r", reply, 13, 2000));
    QCOMPARE(reply, QByteArray("OK00,VER"));
    QVERIFY(!nestedResult);
    QVERIFY(!asyncBusy);
    QTest::qWait(400);
    QCOMPARE(responder.commands(), QList<QByteArray>{"VER\r"});
    QVERIFY(!m_reader->portInUse());
}

void TestSerialPortReader::destroyedReaderReleasesThePort()
{
    auto *gone = new SerialPortReader(m_port);
    gone->sendAsync(32, 5, "MES\r", 13, 3000);
    QVERIFY(m_reader->portInUse());
    delete gone;
    QVERIFY(!m_reader->portInUse());
    m_reader->sendAsync(1, 5, "VER\r", 13, 3000);
    QVERIFY(m_reader->isBusy());
}

void TestSerialPortReader::lateTimeoutAfterReplyDoesNothing()
{
    Spy replies(m_reader, &SerialPortReader::Signal_RecvMessage);
    Spy timeouts(m_reader, &SerialPortReader::Signal_Timeout);
    m_reader->sendAsync(32, 5, "MES\r", 13, 300);
    QCOMPARE(peerCommand(), QByteArray("MES\r"));
    m_peer.write("OK00\r");
    QVERIFY(replies.wait(1000));
    // Even a time-out that fires anyway (as a queued timer event could) finds nothing to do.
    QMetaObject::invokeMethod(m_reader, "handleTimeout");
    QTest::qWait(400);
    QCOMPARE(timeouts.count(), 0);
    QCOMPARE(replies.count(), 1);
}

void TestSerialPortReader::silenceEndsInOneTimeout()
{
    Spy replies(m_reader, &SerialPortReader::Signal_RecvMessage);
    Spy timeouts(m_reader, &SerialPortReader::Signal_Timeout);
    m_reader->sendAsync(19, 6, "MDS,0\r", 13, 150);
    QCOMPARE(peerCommand(), QByteArray("MDS,0\r"));
    m_peer.write("OK00 without terminator");
    QVERIFY(timeouts.wait(2000));
    QCOMPARE(timeouts.at(0).code, 19u);
    QCOMPARE(timeouts.at(0).task, 6u);
    QVERIFY(!m_reader->isBusy());
    // The partial reply was dropped with the time-out: a late terminator belongs to nobody.
    m_peer.write("\r");
    QTest::qWait(100);
    QCOMPARE(replies.count(), 0);
    QCOMPARE(timeouts.count(), 1);
}

void TestSerialPortReader::simulatedReadErrorKeepsTheRequestPending()
{
    // A genuine ReadError cannot be provoked on a pseudo-terminal (a vanished master reads as
    // EIO, which QSerialPort reports as ResourceError), so the port's error signal is emitted
    // the way QSerialPort itself does.
    Spy replies(m_reader, &SerialPortReader::Signal_RecvMessage);
    Spy errors(m_reader, &SerialPortReader::Signal_ComError);
    m_reader->sendAsync(32, 5, "MES\r", 13, 3000);
    QCOMPARE(peerCommand(), QByteArray("MES\r"));
    m_peer.write("OK00,part");
    QTest::qWait(50);
    emit m_port->errorOccurred(QSerialPort::ReadError);
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).port, m_port->portName());
    QVERIFY(m_reader->isBusy());
    // Other error codes are not this reader's business.
    emit m_port->errorOccurred(QSerialPort::ResourceError);
    emit m_port->errorOccurred(QSerialPort::OpenError);
    QCOMPARE(errors.count(), 1);

    m_peer.write("OK00,whole\r");
    QVERIFY(replies.wait(2000));
    QCOMPARE(replies.count(), 1);
    // The bytes before the error were dropped with the buffer.
    QCOMPARE(replies.at(0).reply, QByteArray("OK00,whole"));
}

void TestSerialPortReader::unpluggedDeviceEndsTheRequestByTimeout()
{
    // Closing the pty master is a real read error: QSerialPort reports ReadError on every read
    // notification from then on. The page hears of it once, and the request still ends in
    // exactly one time-out.
    Spy replies(m_reader, &SerialPortReader::Signal_RecvMessage);
    Spy timeouts(m_reader, &SerialPortReader::Signal_Timeout);
    Spy errors(m_reader, &SerialPortReader::Signal_ComError);
    int readErrors = 0;
    connect(m_port, &QSerialPort::errorOccurred, this,
            [&readErrors](QSerialPort::SerialPortError e) { readErrors += e == QSerialPort::ReadError; });
    m_reader->sendAsync(32, 5, "MES\r", 13, 300);
    QCOMPARE(peerCommand(), QByteArray("MES\r"));
    m_peer.close();
    QVERIFY(timeouts.wait(2000));
    QTest::qWait(100);
    QCOMPARE(timeouts.count(), 1);
    QCOMPARE(replies.count(), 0);
    QVERIFY(readErrors >= 1);
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).port, m_port->portName());
    QVERIFY(!m_reader->isBusy());
    disconnect(m_port, &QSerialPort::errorOccurred, this, nullptr);
}

void TestSerialPortReader::blockingWaitReturnsTheReply()
{
    Spy replies(m_reader, &SerialPortReader::Signal_RecvMessage);
    PtyResponder responder(&m_peer, [](const QByteArray &cmd) {
        return cmd == "VER\r" ? QByteArray("OK00,V2.10\rtrailing") : QByteArray();
    });
    responder.setDelayMs(120); // longer than one 50 ms slice
    responder.start();
    QByteArray reply;
    QVERIFY(m_reader->sendAndWait("VER\r", reply, 13, 2000));
    QCOMPARE(reply, QByteArray("OK00,V2.10"));
    QVERIFY(!m_reader->isBusy());
    QCOMPARE(replies.count(), 0); // the blocking form reports through its result only
}

void TestSerialPortReader::blockingWaitWithoutTerminatorFailsAfterTimeout()
{
    PtyResponder responder(&m_peer, [](const QByteArray &) { return QByteArray("OK00,never ends"); });
    responder.start();
    QByteArray reply;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!m_reader->sendAndWait("VER\r", reply, 13, 300));
    const qint64 took = clock.elapsed();
    QVERIFY2(took >= 300 && took < 1500, qPrintable(QString::number(took)));
    QCOMPARE(reply, QByteArray("OK00,never ends")); // what arrived, no terminator
}

void TestSerialPortReader::badInput_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("terminated");
    QTest::newRow("garbage") << QByteArray("\xFF\xFE\x80\x81garbage\x1B[2J") << false;
    QTest::newRow("nul bytes") << QByteArray(64, '\0') << false;
    QTest::newRow("nul then cr") << QByteArray("\0\0OK\0\r", 6) << true;
    QTest::newRow("lf only") << QByteArray("OK00\n") << false;
    QTest::newRow("lone cr") << QByteArray("\r") << true;
}

void TestSerialPortReader::badInput()
{
    QFETCH(QByteArray, input);
    QFETCH(bool, terminated);
    const QByteArray expected = terminated ? input.left(input.indexOf('\r')) : QByteArray();

    // Asynchronous: exactly one outcome, no later than the time-out.
    Spy replies(m_reader, &SerialPortReader::Signal_RecvMessage);
    Spy timeouts(m_reader, &SerialPortReader::Signal_Timeout);
    m_reader->sendAsync(32, 5, "MES\r", 13, 200);
    QCOMPARE(peerCommand(), QByteArray("MES\r"));
    m_peer.write(input);
    QTRY_COMPARE_WITH_TIMEOUT(replies.count() + timeouts.count(), 1, 2000);
    QCOMPARE(replies.count(), terminated ? 1 : 0);
    if (terminated)
        QCOMPARE(replies.at(0).reply, expected);

    // Blocking: returns by the time-out at the latest (after the resync that the time-out
    // above calls for, which the peer answers).
    PtyResponder responder(&m_peer, [input](const QByteArray &cmd) {
        return cmd.startsWith("VID") ? QByteArray("OK00,VID,1.00\r") : input;
    });
    responder.start();
    QByteArray reply;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(m_reader->sendAndWait("MES\r", reply, 13, 200), terminated);
    QVERIFY(clock.elapsed() < 1500);
    if (terminated)
        QCOMPARE(reply, expected);
}

void TestSerialPortReader::floodIsBoundedAndEndsByTimeout()
{
    // Several MiB without a terminator: memory stays bounded and both forms end on time.
    const QByteArray block(64 * 1024, 'A');
    std::atomic<bool> flooding{true};
    PtyResponder responder(&m_peer, [](const QByteArray &) { return QByteArray(); });
    Spy timeouts(m_reader, &SerialPortReader::Signal_Timeout);
    m_reader->sendAsync(32, 5, "MES\r", 13, 1500);
    QCOMPARE(peerCommand(), QByteArray("MES\r"));
    QThread *writer = QThread::create([&] {
        QElapsedTimer clock;
        clock.start();
        while (flooding && clock.elapsed() < 5000)
            m_peer.write(block);
    });
    writer->start();
    QVERIFY(timeouts.wait(4000));
    flooding = false;
    // Nobody reads once the request is over: drain the line so the writer's last block goes.
    QElapsedTimer drain;
    drain.start();
    while (!writer->wait(10) && drain.elapsed() < 6000) {
        QCoreApplication::processEvents();
        m_port->readAll();
    }
    delete writer;
    QCOMPARE(timeouts.count(), 1);
    QVERIFY(!m_reader->isBusy());
}

void TestSerialPortReader::overlongReplyKeepsOnlyItsTail()
{
    // More than the reply limit before the terminator: what was collected beyond the limit is
    // dropped, so the reply held in memory never exceeds the limit by more than one chunk.
    const int total = SerialPortReader::MaxReplyBytes + 1024 * 1024;
    Spy replies(m_reader, &SerialPortReader::Signal_RecvMessage);
    m_reader->sendAsync(32, 5, "MES\r", 13, 20000);
    QCOMPARE(peerCommand(), QByteArray("MES\r"));
    QThread *writer = QThread::create([&] {
        const QByteArray block(64 * 1024, 'A');
        for (int sent = 0; sent < total; sent += block.size())
            m_peer.write(block);
        m_peer.write("END\r");
    });
    writer->start();
    QVERIFY(replies.wait(15000));
    QVERIFY(writer->wait(5000));
    delete writer;
    const QByteArray reply = replies.at(0).reply;
    QVERIFY(reply.endsWith("AEND"));
    QVERIFY2(reply.size() <= SerialPortReader::MaxReplyBytes, qPrintable(QString::number(reply.size())));
}

void TestSerialPortReader::closedPortFailsAtOnce()
{
    m_port->close();
    QByteArray reply;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!m_reader->sendAndWait("VER\r", reply, 13, 3000));
    QVERIFY(clock.elapsed() < 1000);

    // The asynchronous form ends by its time-out.
    Spy timeouts(m_reader, &SerialPortReader::Signal_Timeout);
    m_reader->sendAsync(32, 5, "MES\r", 13, 100);
    QVERIFY(timeouts.wait(2000));

    SerialPortReader orphan(nullptr);
    QVERIFY(!orphan.sendAndWait("VER\r", reply, 13, 100));
}

QTEST_GUILESS_MAIN(TestSerialPortReader)
#include "tst_serialportreader.moc"
