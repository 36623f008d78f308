#include "serialportreader.h"

#include "linksync.h"

#include <QCoreApplication>
#include <QHash>
#include <QThread>

SerialPortReader::SerialPortReader(QSerialPort *port, QObject *parent) : QObject(parent), port(port)
{
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, &SerialPortReader::handleTimeout);
    quietTimer.setSingleShot(true);
    connect(&quietTimer, &QTimer::timeout, this, &SerialPortReader::handleQuietGap);
    if (port) {
        connect(port, &QSerialPort::readyRead, this, &SerialPortReader::handleReadyRead,
                Qt::DirectConnection);
        connect(port, &QSerialPort::errorOccurred, this, &SerialPortReader::handleError,
                Qt::DirectConnection);
    }
}

namespace {
// The reader that has each port, one table for all readers so that every reader on a port sees
// the same owner. A table rather than a dynamic property on the port: a property lookup walks
// the port's meta-object by name, twice per exchange. Readers live on the GUI thread only.
QHash<const QSerialPort *, const SerialPortReader *> &owners()
{
    static QHash<const QSerialPort *, const SerialPortReader *> table;
    return table;
}
} // namespace

SerialPortReader::~SerialPortReader()
{
    releasePort();
}

bool SerialPortReader::portInUse() const
{
    return port && owners().contains(port);
}

bool SerialPortReader::claimPort()
{
    if (!port)
        return true;
    if (portInUse())
        return false;
    owners().insert(port, this);
    return true;
}

void SerialPortReader::releasePort()
{
    if (port && owners().value(port) == this)
        owners().remove(port);
}

void SerialPortReader::discardStaleInput()
{
    if (port && port->bytesAvailable() > 0)
        port->readAll();
}

void SerialPortReader::sendAsync(unsigned int commandCode, unsigned int taskCode, const QByteArray &data,
                                 int terminator, int timeoutMs)
{
    if (busy || !claimPort())
        return;
    this->taskCode = taskCode;
    busy = true;
    errorReported = false;
    this->terminator = terminator;
    this->commandCode = commandCode;
    command = data;
    commandTimeoutMs = timeoutMs;
    buffer.clear();
    discardStaleInput();
    // A closed port cannot be brought back in step; the request then simply times out.
    if (LinkSync::isLineCommand(data, terminator) && !LinkSync::isSynchronised(port) && port->isOpen()) {
        // First wait for a quiet line; handleReadyRead restarts the gap on every byte, and
        // the time-out bounds the whole wait.
        phase = Phase::Quiet;
        quietTimer.start(LinkSync::QuietMs);
        timer.start(LinkSync::QuietLimitMs);
        return;
    }
    writeCommand();
}

void SerialPortReader::handleQuietGap()
{
    if (!busy || phase != Phase::Quiet)
        return;
    phase = Phase::Query;
    buffer.clear();
    discardStaleInput();
    if (port && port->isOpen())
        port->write(LinkSync::Query);
    timer.start(LinkSync::AnswerTimeoutMs);
}

void SerialPortReader::writeCommand()
{
    phase = Phase::Command;
    buffer.clear();
    // A failed write is not checked: the request then ends by time-out. A closed port is not
    // written to at all (same outcome, without QIODevice's warning on every poll).
    stopwatch.restart();
    if (port && port->isOpen())
        port->write(command);
    timer.start(commandTimeoutMs);
}

bool SerialPortReader::sendAndWait(const QByteArray &data, QByteArray &reply, int terminator, int timeoutMs)
{
    reply.clear();
    if (!port || !claimPort())
        return false;
    struct Release
    {
        SerialPortReader *reader;
        ~Release() { reader->releasePort(); }
    } release{this};
    errorReported = false;
    const bool lineCommand = LinkSync::isLineCommand(data, terminator);
    const auto keepGuiAlive = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
    if (lineCommand && !LinkSync::isSynchronised(port) &&
        (!port->isOpen() || !LinkSync::resync(*port, keepGuiAlive)))
        return false;
    discardStaleInput();
    QElapsedTimer trip;
    trip.start();
    // flush() writes at once what the line takes; waiting is needed only for a remainder.
    if (!port->isOpen() || port->write(data) != data.size())
        return false;
    port->flush();
    if (port->bytesToWrite() > 0 && !port->waitForBytesWritten(30000))
        return false;
    stopwatch.restart();

    // A run of quick exchanges never reaches the slice time-out below, which is where GUI
    // events are processed; without this the window would not repaint and timers (the page
    // log's batched lines among them) would not fire until the run ends. While the probe
    // works on the command is a good moment.
    thread_local QElapsedTimer sinceEvents;
    if (!sinceEvents.isValid() || sinceEvents.elapsed() >= 50) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        sinceEvents.start();
    }

    const char term = char(terminator);
    while (stopwatch.elapsed() <= timeoutMs) {
        if (!port->isOpen()) {
            // Closed under us while waiting (another page, an unplug): keep the GUI alive
            // without spinning until the time-out.
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            QThread::msleep(10);
            continue;
        }
        // Bytes that processing events has already read into the port are taken without
        // waiting for more. The last slice ends at the deadline, so a reply that comes after
        // the time-out is not taken even when the loop started its final slice just before it.
        if (port->bytesAvailable() <= 0) {
            const int slice = int(qBound<qint64>(1, timeoutMs - stopwatch.elapsed(), 50));
            if (!port->waitForReadyRead(slice) && port->bytesAvailable() <= 0) {
                // An unplugged device fails every wait at once; pace the loop as for a closed
                // port instead of spinning a core until the time-out.
                if (port->error() == QSerialPort::ResourceError)
                    QThread::msleep(10);
                QCoreApplication::processEvents(QEventLoop::AllEvents);
                sinceEvents.start();
                continue;
            }
        }
        if (!port)
            return false;
        // read(n) sizes its buffer to what is there; readAll() starts from a 16 KiB chunk.
        reply.append(port->read(port->bytesAvailable()));
        int end;
        while ((end = reply.indexOf(term)) >= 0) {
            if (lineCommand && LinkSync::skipAsAnswer(reply.left(end), data)) {
                reply.remove(0, end + 1);
                continue;
            }
            roundTripMs = trip.elapsed();
            reply.truncate(end);
            return true;
        }
        if (reply.size() > MaxReplyBytes)
            reply.clear(); // a flood without terminator: keep memory bounded, wait on
    }
    if (lineCommand)
        LinkSync::setSynchronised(port, false); // a late reply must not answer the next command
    return false;
}

void SerialPortReader::handleReadyRead()
{
    if (!busy || !port)
        return; // leave the input to the reader that is waiting for it
    const QByteArray chunk = port->readAll();
    if (!chunk.isEmpty())
        errorReported = false;
    if (phase == Phase::Quiet) {
        if (!chunk.isEmpty())
            quietTimer.start(LinkSync::QuietMs); // not quiet yet: the gap starts again
        return;
    }
    const char term = char(terminator);
    for (const char byte : chunk) {
        if (byte != term) {
            buffer.append(byte);
            continue;
        }
        if (phase == Phase::Query) {
            // Everything before the query's answer is a late reply of an earlier command.
            const bool answered = LinkSync::isQueryAnswer(buffer);
            buffer.clear();
            if (answered) {
                LinkSync::setSynchronised(port, true);
                writeCommand();
                return; // the rest of the chunk is dropped
            }
            continue;
        }
        if (LinkSync::isLineCommand(command, terminator) && LinkSync::skipAsAnswer(buffer, command)) {
            buffer.clear();
            continue;
        }
        timer.stop();
        busy = false;
        phase = Phase::Idle;
        roundTripMs = stopwatch.elapsed();
        releasePort();
        QString name = port->portName();
        QByteArray message = buffer;
        buffer.clear();
        emit Signal_RecvMessage(name, commandCode, taskCode, message);
        return; // the rest of the chunk is dropped
    }
    if (buffer.size() > MaxReplyBytes)
        buffer.clear(); // a flood without terminator: keep memory bounded, the timer ends it
}

void SerialPortReader::handleTimeout()
{
    if (!busy)
        return;
    quietTimer.stop();
    // A reply may still come for the command; a resync that ran out of time leaves the line
    // as unsynchronised as it found it.
    if (phase == Phase::Command && LinkSync::isLineCommand(command, terminator))
        LinkSync::setSynchronised(port, false);
    phase = Phase::Idle;
    busy = false;
    releasePort();
    buffer.clear();
    QString name = port ? port->portName() : QString();
    emit Signal_Timeout(name, commandCode, taskCode);
}

void SerialPortReader::handleError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ReadError)
        return; // open errors and the like are the port dialog's business
    buffer.clear();
    if (errorReported)
        return;
    errorReported = true;
    QString name = port->portName();
    QString text = port->errorString();
    emit Signal_ComError(name, text);
}
