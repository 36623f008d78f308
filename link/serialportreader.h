#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

// Request/reply mechanics on the shared probe port. Every page owns one reader; all readers
// see every readyRead, but only the one with a request in flight consumes the input, so the
// reply reaches the page that asked. Everything runs on the GUI thread.
class SerialPortReader : public QObject
{
    Q_OBJECT
public:
    // Largest reply collected; beyond it the bytes gathered so far are dropped (a flood of
    // bytes without terminator must not grow memory without limit). The largest real reply
    // (three sampled channels) is far below this.
    static constexpr int MaxReplyBytes = 4 * 1024 * 1024;

    SerialPortReader(QSerialPort *port, QObject *parent = nullptr);
    ~SerialPortReader() override;

    // Writes data and collects the reply up to the terminator, which is reported by
    // Signal_RecvMessage (or Signal_Timeout after timeoutMs). Dropped silently while a request
    // is in flight (see portInUse). Stale input waiting in the port is discarded before the
    // write. After a time-out on the port the line is resynchronised first (LinkSync); a
    // resync that fails ends the request with Signal_Timeout.
    void sendAsync(unsigned int commandCode, unsigned int taskCode, const QByteArray &data, int terminator,
                   int timeoutMs);

    // Blocking exchange on the GUI thread (processes events in 50 ms slices). Fills reply with
    // the bytes before the first terminator and returns true; returns false when the write did
    // not complete within 30000 ms or no terminator came within timeoutMs (reply then keeps
    // what arrived). Leaves the asynchronous state alone. Returns false at once, sending
    // nothing, while a request is in flight on the port (see portInUse). Resynchronises an
    // unsynchronised line first, as sendAsync does (false when that fails).
    bool sendAndWait(const QByteArray &data, QByteArray &reply, int terminator, int timeoutMs);

    // Milliseconds from writing the last command to its reply: the command's own round trip,
    // without the resynchronisation that may have preceded it.
    qint64 lastRoundTripMs() const { return roundTripMs; }

    bool isBusy() const { return busy; }
    // True while some reader on this port has a request in flight (asynchronous, or a
    // blocking wait, which processes events and so lets other code run meanwhile). A new
    // request from any reader on the port is refused then: two exchanges at once on one line
    // would discard or steal each other's replies.
    bool portInUse() const;
    QSerialPort *serialPort() const { return port; }

signals:
    void Signal_RecvMessage(QString &portName, unsigned int commandCode, unsigned int taskCode,
                            QByteArray &reply);
    void Signal_Timeout(QString &portName, unsigned int commandCode, unsigned int taskCode);
    void Signal_ComError(QString &portName, QString &errorText);

private slots:
    void handleReadyRead();
    void handleTimeout();
    void handleError(QSerialPort::SerialPortError error);

private:
    // Where an asynchronous request stands: resynchronising (waiting for a quiet line, then for
    // the query's answer) or waiting for the command's own reply.
    enum class Phase
    {
        Idle,
        Quiet,
        Query,
        Command
    };
    void handleQuietGap();
    void writeCommand();
    void discardStaleInput();
    bool claimPort();
    void releasePort();

    QSerialPort *port;
    QByteArray buffer;
    QTimer timer;
    int terminator = 0;
    unsigned int commandCode = 0xFFFFFFFFu;
    unsigned int taskCode = 0;
    bool busy = false;
    QElapsedTimer stopwatch;
    Phase phase = Phase::Idle;
    QTimer quietTimer;  // resync: the line has been quiet long enough
    QByteArray command; // the request in flight, written once the line is in step
    int commandTimeoutMs = 0;
    qint64 roundTripMs = 0;
    // A vanished device makes QSerialPort repeat ReadError on every read notification; one
    // report per episode is enough (cleared by the next request or the next bytes read).
    bool errorReported = false;
};
