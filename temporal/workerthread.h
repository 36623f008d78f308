#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QThread>

#include "serialportreader.h"

#include <atomic>

// Paces a timed colour or FMA series off the GUI thread. It opens a serial port of its own on
// the probe's device (the page closes the shared port first and reopens it afterwards, so the
// two never use the device at once), sends "MES,1" per cycle and hands every complete reply
// to the page through the queued Signal_SyncMeasure. Signal_SyncFinished always ends a run,
// also when the port could not be opened or the device went away, so the page never waits
// for a series that is over.
class WorkerThread : public QThread
{
    Q_OBJECT
public:
    // Longest wait for one reply; a reply that does not end within it costs the cycle, and the
    // next cycle first resynchronises the line (LinkSync), so a late reply is never taken as a
    // later cycle's reading.
    static constexpr int ReplyTimeoutMs = 5000;
    // Longest reply collected, as for the page readers; a flood beyond it is dropped.
    static constexpr int MaxReplyBytes = SerialPortReader::MaxReplyBytes;

    WorkerThread(int count, int delayMs, int intervalMs, QObject *parent = nullptr);
    ~WorkerThread() override;

    // Device path of the probe port (KtPlatform::devicePath of the shared port's name).
    void setPortPath(const QString &path) { m_portPath = path; }
    QString portPath() const { return m_portPath; }

    // Written by the GUI thread, polled by the worker between and within cycles (at least every
    // 10 ms), so a stop takes effect quickly.
    void requestStop() { m_stop.store(true); }
    bool stopRequested() const { return m_stop.load(); }

    // How the run went, readable after it finished.
    bool openFailed() const { return m_openFailed.load(); }
    bool deviceLost() const { return m_deviceLost.load(); }
    int timeouts() const { return m_timeouts.load(); }
    // False when the run ended with a command unanswered (time-out, stop while waiting): its
    // reply may still come, so the next user of the device must resynchronise first.
    bool endedInStep() const { return m_endedInStep.load(); }

signals:
    void Signal_SyncMeasure(QString strResult, QString deltaT);
    void Signal_SyncFinished();
    // A cycle that produced no reading: index is the 0-based cycle, reason a short English
    // text ("timed out", "device lost"), so the page can say what the series lost.
    void Signal_CycleLost(int index, QString reason);

protected:
    void run() override;

private:
    // Sleeps until ms have passed or a stop is requested; false on a stop.
    bool pause(int ms);

    int m_count;
    int m_delayMs;
    int m_intervalMs;
    QString m_portPath;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_openFailed{false};
    std::atomic<bool> m_deviceLost{false};
    std::atomic<int> m_timeouts{0};
    std::atomic<bool> m_endedInStep{true};
};
