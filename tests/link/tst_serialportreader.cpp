#include <QtTest>

#include <QSerialPort>

#include <algorithm>
#include <atomic>

#include "ptypeer.h"
#include "ptyresponder.h"
#include "serialportreader.h"

// What a reader reported (QSignalSpy cannot take the signals' reference parameters).
class Events : public QObject
{
public:
    struct Event
    {
        char kind; // 'r' reply, 't' time-out, 'e' read error
        QString port;
        uint code, task;
        QByteArray data;
    };
    explicit Events(SerialPortReader *reader)
    {
        connect(reader, &SerialPortReader::Signal_RecvMessage, this,
                [this](QString &p, unsigned c, unsigned t, QByteArray &r) {
                    all << Event{'r', p, c, t, r};
                });
        connect(reader, &SerialPortReader::Signal_Timeout, this, [this](QString &p, unsigned c, unsigned t) {
            all << Event{'t', p, c, t, {}};
        });
        connect(reader, &SerialPortReader::Signal_ComError, this, [this](QString &p, QString &text) {
            all << Event{'e', p, 0, 0, text.toUtf8()};
        });
    }
    int count(char kind) const
    {
        return int(std::count_if(all.begin(), all.end(), [kind](const Event &e) { return e.kind == kind; }));
    }
    const Event &first(char kind) const
    {
        return *std::find_if(all.begin(), all.end(), [kind](const Event &e) { return e.kind == kind; });
    }
    bool wait(char kind, int ms)
    {
        const int before = count(kind);
        return QTest::qWaitFor([&] { return count(kind) > before; }, ms);
    }
    QList<Event> all;
};

// The transport against a real pseudo-terminal through the real QSerialPort: the master side
// plays the probe exactly as badly as each case needs.
class TestSerialPortReader : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void replyFraming_data();
    void replyFraming();
    void busyPortRefusesEveryOtherRequest();
    void nestedBlockingExchangeIsRefused();
    void quickBlockingExchangesStillLetEventsRun();
    void readErrorsAreReportedOnce();
    void floodsKeepMemoryBoundedAndEndOnTime();
    void closedPortFailsAtOnce();

private:
    PtyPeer m_peer;
    QSerialPort *m_port = nullptr;
    SerialPortReader *m_reader = nullptr;
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

void TestSerialPortReader::replyFraming_data()
{
    QTest::addColumn<QByteArray>("stale");         // waiting in the port before the request
    QTest::addColumn<QList<QByteArray>>("chunks"); // what the probe sends, 40 ms apart
    QTest::addColumn<bool>("terminated");
    QTest::addColumn<QByteArray>("reply"); // the reply, or what a blocking wait keeps
    using L = QList<QByteArray>;
    QTest::newRow("split over chunks") << QByteArray() << L{"OK00,P1,", "3127,3290", ",100.0\r"} << true
                                       << QByteArray("OK00,P1,3127,3290,100.0");
    QTest::newRow("two replies in one chunk")
        << QByteArray() << L{"OK00,first\rOK00,second\r"} << true << QByteArray("OK00,first");
    QTest::newRow("stale input discarded")
        << QByteArray("OK00,stale\r") << L{"OK00,fresh\r"} << true << QByteArray("OK00,fresh");
    QTest::newRow("nul then cr") << QByteArray() << L{QByteArray("\0\0OK\0\r", 6)} << true
                                 << QByteArray("\0\0OK\0", 5);
    QTest::newRow("lone cr") << QByteArray() << L{"\r"} << true << QByteArray();
    QTest::newRow("no terminator") << QByteArray() << L{"OK00,never ends"} << false
                                   << QByteArray("OK00,never ends");
    QTest::newRow("lf only") << QByteArray() << L{"OK00\n"} << false << QByteArray("OK00\n");
    QTest::newRow("garbage") << QByteArray() << L{"\xFF\xFE\x80garbage\x1B[2J"} << false
                             << QByteArray("\xFF\xFE\x80garbage\x1B[2J");
}

void TestSerialPortReader::replyFraming()
{
    QFETCH(QByteArray, stale);
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(bool, terminated);
    QFETCH(QByteArray, reply);
    const auto sendStale = [&] {
        m_peer.write(stale);
        QTest::qWait(stale.isEmpty() ? 0 : 100); // arrives while nobody waits: stays in the port
    };

    // Asynchronous: exactly one outcome, with the request's codes, no later than the time-out.
    Events events(m_reader);
    sendStale();
    m_reader->sendAsync(32, 6, "MES\r", 13, 300);
    QCOMPARE(m_peer.readCommand(), QByteArray("MES\r"));
    for (const QByteArray &chunk : chunks) {
        m_peer.write(chunk);
        QTest::qWait(40);
    }
    QTRY_COMPARE_WITH_TIMEOUT(events.all.size(), 1, 2000);
    const Events::Event e = events.all.at(0);
    QCOMPARE(e.kind, terminated ? 'r' : 't');
    QCOMPARE(e.port, m_port->portName());
    QCOMPARE(qMakePair(e.code, e.task), qMakePair(32u, 6u));
    QCOMPARE(e.data, terminated ? reply : QByteArray());
    QVERIFY(!m_reader->isBusy());
    // Whatever comes later belongs to nobody: a late terminator, the rest of the chunk, a
    // time-out that fires anyway (as a queued timer event could).
    m_peer.write("\r");
    QMetaObject::invokeMethod(m_reader, "handleTimeout");
    QTest::qWait(100);
    QCOMPARE(events.all.size(), 1);

    // Blocking: the same reply, or false by the time-out keeping what arrived; a reply that
    // takes longer than one 50 ms slice is still taken; the signals stay silent.
    sendStale();
    // After the asynchronous time-out the line is resynchronised first: the peer answers that.
    PtyResponder responder(&m_peer, [chunks](const QByteArray &cmd) {
        return cmd.startsWith("VID") ? QByteArray("OK00,VID,1.00\r") : chunks.join();
    });
    responder.setDelayMs(120);
    responder.start();
    QByteArray got;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(m_reader->sendAndWait("VER\r", got, 13, 400), terminated);
    QVERIFY(terminated ? clock.elapsed() < 400 : clock.elapsed() >= 400 && clock.elapsed() < 1500);
    QCOMPARE(got, reply);
    QCOMPARE(events.all.size(), 1);
}

void TestSerialPortReader::busyPortRefusesEveryOtherRequest()
{
    // Two pages on one line: while one request is in flight, a second one (of the same page
    // or another) would discard or take its reply, so it is refused and nothing is written.
    SerialPortReader other(m_port);
    Events mine(m_reader), theirs(&other);
    m_reader->sendAsync(32, 5, "MES\r", 13, 3000);
    m_reader->sendAsync(34, 4, "JAD\r", 13, 100);
    QVERIFY(other.portInUse());
    other.sendAsync(1, 5, "VER\r", 13, 100);
    QByteArray reply;
    QVERIFY(!other.sendAndWait("TYP\r", reply, 13, 100));
    QCOMPARE(m_peer.readCommand(), QByteArray("MES\r"));
    QTest::qWait(150); // past the refused requests' time-outs
    QCOMPARE(m_peer.read(50), QByteArray());
    m_peer.write("OK00,mine\r");
    QVERIFY(mine.wait('r', 2000));
    QCOMPARE(qMakePair(mine.first('r').code, mine.first('r').data), qMakePair(32u, QByteArray("OK00,mine")));
    QCOMPARE(theirs.all.size() + mine.count('t'), 0); // refused requests leave no trace

    // Free again: the other page's request goes out and only it takes the reply.
    other.sendAsync(1, 5, "VER\r", 13, 3000);
    QCOMPARE(m_peer.readCommand(), QByteArray("VER\r"));
    m_peer.write("OK00,theirs\r");
    QVERIFY(theirs.wait('r', 2000));
    QCOMPARE(mine.all.size(), 1);

    // A reader destroyed with a request in flight frees the port.
    auto *gone = new SerialPortReader(m_port);
    gone->sendAsync(32, 5, "MES\r", 13, 3000);
    QVERIFY(m_reader->portInUse());
    delete gone;
    QVERIFY(!m_reader->portInUse());
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

void TestSerialPortReader::quickBlockingExchangesStillLetEventsRun()
{
    // Replies that come at once never leave a wait slice unused; timers (the page log's
    // batches, painting) must run all the same while a page exchanges in a tight loop.
    PtyResponder responder(&m_peer, [](const QByteArray &) { return QByteArray("OK00\r"); });
    responder.start();
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(20);
    QElapsedTimer clock;
    clock.start();
    QByteArray reply;
    while (clock.elapsed() < 500 && m_reader->sendAndWait("VER\r", reply, 13, 1000)) {
    }
    QVERIFY(clock.elapsed() >= 500); // no exchange failed
    QVERIFY2(ticks >= 4, qPrintable(QString::number(ticks)));
}

void TestSerialPortReader::readErrorsAreReportedOnce()
{
    // A ReadError cannot be provoked on a pseudo-terminal while the line lives, so the port's
    // error signal is first emitted the way QSerialPort itself does: reported, the request
    // stays pending, the bytes before it are dropped, other error codes are not our business.
    Events events(m_reader);
    m_reader->sendAsync(32, 5, "MES\r", 13, 3000);
    QCOMPARE(m_peer.readCommand(), QByteArray("MES\r"));
    m_peer.write("OK00,part");
    QTest::qWait(50);
    for (auto error : {QSerialPort::ReadError, QSerialPort::ResourceError, QSerialPort::OpenError})
        emit m_port->errorOccurred(error);
    QCOMPARE(events.count('e'), 1);
    QCOMPARE(events.first('e').port, m_port->portName());
    m_peer.write("OK00,whole\r");
    QVERIFY(events.wait('r', 2000));
    QCOMPARE(events.first('r').data, QByteArray("OK00,whole"));

    // Closing the pty master is a real one, repeated on every read notification from then
    // on: the page hears of it once, and the request still ends in exactly one time-out.
    m_reader->sendAsync(32, 5, "MES\r", 13, 300);
    QCOMPARE(m_peer.readCommand(), QByteArray("MES\r"));
    m_peer.close();
    QVERIFY(events.wait('t', 2000));
    QTest::qWait(100);
    QCOMPARE(events.count('t'), 1);
    QCOMPARE(events.count('e'), 2);
    QCOMPARE(events.count('r'), 1);
    QVERIFY(!m_reader->isBusy());
}

void TestSerialPortReader::floodsKeepMemoryBoundedAndEndOnTime()
{
    // More than the reply limit before the terminator: what came beyond the limit is dropped,
    // so the reply held never exceeds the limit by more than one chunk.
    const QByteArray block(64 * 1024, 'A');
    std::atomic<bool> flooding{true};
    const auto flood = [&](qint64 bytes, const QByteArray &end) {
        return QThread::create([&, bytes, end] {
            QElapsedTimer clock;
            clock.start();
            for (qint64 sent = 0; flooding && sent < bytes && clock.elapsed() < 8000; sent += block.size())
                m_peer.write(block);
            m_peer.write(end);
        });
    };
    Events events(m_reader);
    m_reader->sendAsync(32, 5, "MES\r", 13, 20000);
    QCOMPARE(m_peer.readCommand(), QByteArray("MES\r"));
    QThread *writer = flood(SerialPortReader::MaxReplyBytes + 1024 * 1024, "END\r");
    writer->start();
    QVERIFY(events.wait('r', 15000));
    QVERIFY(writer->wait(5000));
    delete writer;
    const QByteArray reply = events.first('r').data;
    QVERIFY(reply.endsWith("AEND"));
    QVERIFY2(reply.size() <= SerialPortReader::MaxReplyBytes, qPrintable(QString::number(reply.size())));

    // A flood that never ends: the request still ends by its time-out.
    m_reader->sendAsync(32, 5, "MES\r", 13, 1500);
    QCOMPARE(m_peer.readCommand(), QByteArray("MES\r"));
    writer = flood(qint64(1) << 40, QByteArray());
    writer->start();
    QVERIFY(events.wait('t', 4000));
    flooding = false;
    // Nobody reads once the request is over: drain the line so the writer's last block goes.
    while (!writer->wait(10) && m_port->waitForReadyRead(100))
        m_port->readAll();
    delete writer;
    QCOMPARE(events.count('t'), 1);
    QVERIFY(!m_reader->isBusy());
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
    Events events(m_reader);
    m_reader->sendAsync(32, 5, "MES\r", 13, 100);
    QVERIFY(events.wait('t', 2000));

    SerialPortReader orphan(nullptr);
    QVERIFY(!orphan.sendAndWait("VER\r", reply, 13, 100));
}

QTEST_GUILESS_MAIN(TestSerialPortReader)
#include "tst_serialportreader.moc"
