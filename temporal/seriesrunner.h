#pragma once

#include "flickerlogic.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class WorkerThread;
class ktPublicConfig;

// Runs the Measure tab's timed series. Colour and FMA series are paced by a WorkerThread on a
// serial port of its own (the shared port is closed and the hub marked busy meanwhile); JEITA
// series are chained on timers on the GUI thread. Results are handed out in arrival order by
// `reading`, and whatever a series lost (time-outs, unreadable or refused replies, the device)
// is counted, so that its end can say what is missing.
class SeriesRunner : public QObject
{
    Q_OBJECT
public:
    explicit SeriesRunner(ktPublicConfig *hub, QObject *parent = nullptr);
    ~SeriesRunner() override;

    // Sends one "JAD" of a JEITA series; false when the page cannot send now (tried again soon).
    std::function<bool()> sendJeita;

    // Starts a series of count cycles (count >= 2, the probe port open).
    void start(int count, int delayMs, int intervalMs, bool jeita);
    // Ends the running series: the worker stops, results already made are still handed out,
    // the shared port is reopened; emits finished.
    void stop();

    bool running() const { return m_running; }
    bool jeita() const { return m_jeita; }
    int remaining() const { return m_book.remaining(); }
    int total() const { return m_book.total(); }
    WorkerThread *worker() const { return m_worker; }

    // Results of the worker; they are queued, then handed out by process().
    void queue(const QString &reply, const QString &dt);
    void process();
    void workerFinished();

    // The JEITA chain: the start (after the delay), one step, the end of a step's reply.
    void startJeita();
    void jeitaStep();
    void jeitaReplied();
    // A single reply that did not come (the page's own request timed out).
    void replyTimedOut();

    // The page could not make a row from a reading.
    void noteUnreadable() { ++m_unreadable; }
    void noteRefused() { ++m_refused; }

    // The last series ended with fewer readings than its count.
    bool fellShort() const;
    // It fell short through a fault (a lost, unreadable or refused reading, an unplugged or
    // unopenable probe), not only because the operator stopped it.
    bool lostReadings() const
    {
        return m_timeouts + m_unreadable + m_refused > 0 || m_deviceLost || m_openFailed;
    }
    // "n / N" while a series runs; after one that fell short, what it lost; else empty.
    QString statusText() const;

signals:
    void reading(const QString &reply, const QString &dt);
    void finished();
    // The shared port could not be reopened after the series (error text of the port).
    void portLost(const QString &error);

private:
    void onCycleLost(int index, const QString &reason);
    void deleteWorker();

    QPointer<ktPublicConfig> m_hub;
    FlickerLogic::SeriesBook m_book;
    WorkerThread *m_worker = nullptr;
    QTimer m_delayTimer;
    QTimer m_intervalTimer;
    bool m_running = false;
    bool m_stopping = false;
    bool m_jeita = false;
    bool m_closedPort = false;
    int m_intervalMs = 0;
    int m_generation = 0;
    int m_timeouts = 0;
    int m_unreadable = 0;
    int m_refused = 0;
    bool m_deviceLost = false;
    bool m_openFailed = false;
    bool m_stoppedEarly = false;
};
