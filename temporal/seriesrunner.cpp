#include "seriesrunner.h"

#include "ktplatform.h"
#include "ktpublicconfig.h"
#include "linksync.h"
#include "portholder.h"
#include "workerthread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSerialPort>

SeriesRunner::SeriesRunner(ktPublicConfig *hub, QObject *parent) : QObject(parent), m_hub(hub)
{
    m_delayTimer.setSingleShot(true);
    connect(&m_delayTimer, &QTimer::timeout, this, &SeriesRunner::startJeita);
    m_intervalTimer.setSingleShot(true);
    connect(&m_intervalTimer, &QTimer::timeout, this, &SeriesRunner::jeitaStep);
}

SeriesRunner::~SeriesRunner()
{
    m_delayTimer.stop();
    m_intervalTimer.stop();
    deleteWorker();
    if (m_closedPort) {
        // Closed in the middle of a series: the other pages get their port back.
        QSerialPort *port = PortHolder::instance()->probePort();
        if (!port->isOpen())
            port->open(QIODevice::ReadWrite);
    }
    if (m_hub && m_running)
        m_hub->setBusyFlag(false);
}

void SeriesRunner::deleteWorker()
{
    if (!m_worker)
        return;
    m_worker->requestStop();
    m_worker->wait();
    delete m_worker;
    m_worker = nullptr;
}

void SeriesRunner::start(int count, int delayMs, int intervalMs, bool jeita)
{
    m_book.start(count);
    m_running = true;
    m_jeita = jeita;
    m_intervalMs = intervalMs;
    m_timeouts = m_unreadable = m_refused = 0;
    m_deviceLost = m_stoppedEarly = m_openFailed = false;

    if (jeita) {
        if (delayMs > 0)
            m_delayTimer.start(delayMs);
        else
            startJeita();
        return;
    }

    QSerialPort *port = PortHolder::instance()->probePort();
    const QString path = KtPlatform::devicePath(port->portName());
    port->close();
    m_closedPort = true;
    if (m_hub)
        m_hub->setBusyFlag(true);
    deleteWorker();
    m_worker = new WorkerThread(count, delayMs, intervalMs, this);
    m_worker->setPortPath(path);
    // Reports of an earlier worker still queued are not this series' (the generation tells).
    const int generation = ++m_generation;
    connect(
        m_worker, &WorkerThread::Signal_SyncMeasure, this,
        [this, generation](const QString &reply, const QString &dt) {
            if (generation == m_generation)
                queue(reply, dt);
        },
        Qt::QueuedConnection);
    connect(
        m_worker, &WorkerThread::Signal_CycleLost, this,
        [this, generation](int index, const QString &reason) {
            if (generation == m_generation)
                onCycleLost(index, reason);
        },
        Qt::QueuedConnection);
    connect(
        m_worker, &WorkerThread::Signal_SyncFinished, this,
        [this, generation] {
            if (generation == m_generation)
                workerFinished();
        },
        Qt::QueuedConnection);
    m_worker->start();
}

void SeriesRunner::queue(const QString &reply, const QString &dt)
{
    if (!m_running)
        return;
    m_book.append(reply, dt);
    process();
}

void SeriesRunner::process()
{
    // Results are taken in arrival order, however many have queued up since the last call.
    while (m_running && m_book.hasNext()) {
        const FlickerLogic::SeriesBook::Entry e = m_book.takeNext();
        emit reading(e.reply, e.dt);
        if (m_book.complete()) {
            stop();
            return;
        }
    }
}

void SeriesRunner::workerFinished()
{
    m_openFailed = m_worker && m_worker->openFailed();
    process();
    if (m_running && !m_jeita)
        stop();
}

void SeriesRunner::onCycleLost(int, const QString &reason)
{
    if (!m_running)
        return;
    if (reason == QLatin1String("device lost"))
        m_deviceLost = true;
    else
        ++m_timeouts;
}

void SeriesRunner::stop()
{
    if (m_stopping || !m_running)
        return;
    m_stopping = true;
    m_delayTimer.stop();
    m_intervalTimer.stop();
    m_stoppedEarly = m_book.processed() < m_book.total();
    if (m_worker && m_worker->isRunning()) {
        m_worker->requestStop();
        m_worker->wait(WorkerThread::ReplyTimeoutMs + 2000);
    }
    // Results (and lost cycles) the worker reported before it stopped are still queued: take
    // them before the series is closed, so no measurement already made is lost.
    if (m_worker)
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    process();
    m_running = false;
    m_book.setRemaining(0);

    if (m_closedPort) {
        m_closedPort = false;
        QSerialPort *port = PortHolder::instance()->probePort();
        if (!port->isOpen() && !port->open(QIODevice::ReadWrite))
            emit portLost(port->errorString());
        if (m_worker && !m_worker->endedInStep())
            LinkSync::setSynchronised(port, false); // a late reply of the series may still come
    }
    if (m_hub)
        m_hub->setBusyFlag(false);
    m_stopping = false;
    emit finished();
}

void SeriesRunner::startJeita()
{
    if (!m_running || m_book.remaining() < 1)
        return;
    if (m_intervalMs == 0)
        jeitaStep();
    else
        m_intervalTimer.start(m_intervalMs);
}

void SeriesRunner::jeitaStep()
{
    if (!m_running)
        return;
    if (sendJeita && !sendJeita()) {
        // A request of the page is still in flight: try again shortly instead of dropping it.
        m_intervalTimer.start(20);
    }
}

void SeriesRunner::jeitaReplied()
{
    if (!m_running || !m_jeita)
        return;
    // Each reply is one cycle: it counts as processed whether it made a row or not.
    m_book.countCycle();
    if (m_book.remaining() > 0)
        m_intervalTimer.start(m_intervalMs);
    else
        stop();
}

void SeriesRunner::replyTimedOut()
{
    if (!m_running)
        return;
    ++m_timeouts;
    if (m_jeita)
        stop();
}

bool SeriesRunner::fellShort() const
{
    return !m_running && m_book.total() > 0 && m_book.processed() - m_unreadable - m_refused < m_book.total();
}

QString SeriesRunner::statusText() const
{
    const int total = m_book.total();
    if (m_running)
        return tr("%1 / %2").arg(m_book.processed()).arg(total);
    const int readings = m_book.processed() - m_unreadable - m_refused;
    if (total <= 0 || readings >= total)
        return total > 0 ? tr("%1 / %2").arg(readings).arg(total) : QString();
    QStringList lost;
    if (m_timeouts > 0)
        lost << tr("%1 timed out").arg(m_timeouts);
    if (m_unreadable > 0)
        lost << tr("%1 unreadable").arg(m_unreadable);
    if (m_refused > 0)
        lost << tr("%1 refused by the probe").arg(m_refused);
    if (m_openFailed)
        lost << tr("the probe could not be opened");
    else if (m_deviceLost)
        lost << tr("ended early: the probe was unplugged");
    else if (m_stoppedEarly && m_timeouts + m_unreadable + m_refused + readings < total)
        lost << tr("stopped");
    QString text = tr("%1 of %2 readings").arg(readings).arg(total);
    if (!lost.isEmpty())
        text += QStringLiteral("; ") + lost.join(QStringLiteral(", "));
    return text;
}
