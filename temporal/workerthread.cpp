#include "workerthread.h"

#include "linksync.h"
#include "replyreader.h"

#include <QLoggingCategory>
#include <QSerialPort>

// One line per cycle: kept in its own category so long series can silence it
// ("kt.temporal.worker.debug=false").
Q_LOGGING_CATEGORY(lcWorker, "kt.temporal.worker")

namespace {
// A vanished device shows as a resource error, or on Linux as a read or write error of the
// hung-up line; none of them clears while the series runs, so each ends it.
bool deviceGone(const QSerialPort &port)
{
    const QSerialPort::SerialPortError e = port.error();
    return e == QSerialPort::ResourceError || e == QSerialPort::ReadError || e == QSerialPort::WriteError;
}
} // namespace

WorkerThread::WorkerThread(int count, int delayMs, int intervalMs, QObject *parent)
    : QThread(parent), m_count(count), m_delayMs(delayMs), m_intervalMs(intervalMs)
{
}

WorkerThread::~WorkerThread()
{
    requestStop();
    wait();
}

bool WorkerThread::pause(int ms)
{
    QElapsedTimer t;
    t.start();
    while (!stopRequested()) {
        const qint64 left = ms - t.elapsed();
        if (left <= 0)
            return true;
        msleep(static_cast<unsigned long>(std::min<qint64>(left, 10)));
    }
    return false;
}

void WorkerThread::run()
{
    qCDebug(lcWorker) << "WorkerThread start";
    QSerialPort port;
    port.setPortName(m_portPath);
    port.setBaudRate(QSerialPort::Baud115200);
    port.setDataBits(QSerialPort::Data8);
    port.setStopBits(QSerialPort::OneStop);
    port.setParity(QSerialPort::NoParity);
    if (!port.open(QIODevice::ReadWrite)) {
        qCDebug(lcWorker) << "WorkerThread open serialport failed" << port.errorString();
        m_openFailed.store(true);
        emit Signal_SyncFinished();
        return;
    }
    const QByteArray command = QByteArray("MES,1\r");
    QElapsedTimer elapsed;
    QByteArray buffer;
    // After a time-out a late reply may still come; no reply is trusted until the line is
    // back in step (LinkSync), so a reading is never given to a cycle that did not ask for it.
    bool synchronised = true;
    const auto stopped = [this] { return stopRequested(); };

    if (m_delayMs > 0)
        pause(m_delayMs);

    for (int index = 0; index < m_count && !stopRequested(); ++index) {
        if (m_intervalMs > 0 && !pause(m_intervalMs))
            break;
        if (!synchronised) {
            synchronised = LinkSync::resync(port, {}, stopped);
            if (!synchronised) {
                if (deviceGone(port)) {
                    m_deviceLost.store(true);
                    emit Signal_CycleLost(index, QStringLiteral("device lost"));
                    break;
                }
                if (!stopRequested()) {
                    m_timeouts.fetch_add(1);
                    emit Signal_CycleLost(index, QStringLiteral("timed out"));
                }
                continue;
            }
        }
        buffer.clear();
        port.readAll();  // stale input of an earlier cycle
        elapsed.start(); // Δt is this command's own round trip
        port.write(command);
        if (!port.waitForBytesWritten(30000)) {
            if (deviceGone(port)) {
                m_deviceLost.store(true);
                emit Signal_CycleLost(index, QStringLiteral("device lost"));
                break;
            }
            m_timeouts.fetch_add(1);
            synchronised = false;
            emit Signal_CycleLost(index, QStringLiteral("timed out"));
            continue;
        }
        QByteArray reply;
        bool answered = false;
        bool overflowed = false;
        while (!answered && !stopRequested() && elapsed.elapsed() < ReplyTimeoutMs) {
            if (port.waitForReadyRead(5) || port.bytesAvailable() > 0)
                buffer += port.readAll();
            int cr;
            while (!answered && (cr = buffer.indexOf('\r')) >= 0) {
                reply = buffer.left(cr);
                buffer.remove(0, cr + 1);
                answered = !overflowed && !LinkSync::skipAsAnswer(reply, command);
                overflowed = false;
            }
            // The same cap as the page readers': a flood without terminator is dropped up to
            // its terminator, and the cycle ends by its time-out.
            if (buffer.size() > MaxReplyBytes) {
                buffer.clear();
                overflowed = true;
            }
            if (deviceGone(port))
                break;
        }
        if (deviceGone(port)) {
            // The device went away (unplugged): the series cannot go on.
            m_deviceLost.store(true);
            emit Signal_CycleLost(index, QStringLiteral("device lost"));
            break;
        }
        if (!answered) {
            synchronised = false;
            if (!stopRequested()) {
                m_timeouts.fetch_add(1);
                emit Signal_CycleLost(index, QStringLiteral("timed out"));
            }
            continue;
        }
        const qint64 ms = elapsed.elapsed();
        qCDebug(lcWorker) << "WorkerThread:" << currentThreadId() << " index:" << index << " elapsedTime"
                          << ms;
        emit Signal_SyncMeasure(ReplyReader::text(reply), QString::number(ms));
    }
    m_endedInStep.store(synchronised);
    port.close();
    qCDebug(lcWorker) << "WorkerThread end";
    emit Signal_SyncFinished();
}
