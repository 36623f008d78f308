#pragma once

#include "graylogic.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QVector>

#include <functional>

class QEventLoop;

// One pass of a gray scan over its tasks, the sequence both the gray-scanning dialog and the
// gamma page run: for each colour show it, wait, measure ("MES,1"), read the reply and hand
// the point on. A failed measurement ends only its task, an unreadable reply skips only its
// colour, Stop ends the run at once (also during the wait). Every task ends with black shown.
//
// The page supplies the hooks; the scan keeps no widgets, so its order and its failure rules
// are tested without a window.
class GrayScan : public QObject
{
    Q_OBJECT
public:
    struct Hooks
    {
        std::function<void(const QString &colour)> show;
        // Asked before each colour; false ends the run (the gamma page's closed colour window).
        std::function<bool()> mayContinue;
        // Blocking "MES,1": true when any reply arrived (reply = its text, ms = its round
        // trip), false when none did.
        std::function<bool(QString *reply, qint64 *ms)> measure;
        std::function<void(const QString &text)> log; // failures and progress, in red
        std::function<void(const GrayLogic::Task &task, int index, const GrayLogic::Point &point, qint64 ms)>
            result;
    };

    enum class End
    {
        Done,
        Stopped,
        Aborted // mayContinue said no
    };

    explicit GrayScan(QObject *parent = nullptr) : QObject(parent) {}

    Hooks hooks;

    // Runs the tasks; waitMs is the pause between showing a colour and measuring it. Events
    // are processed throughout.
    End run(const QVector<GrayLogic::Task> &tasks, int waitMs);
    bool running() const { return m_running; }
    // Ends the run at the next check, and a wait at once.
    void stop();
    bool stopRequested() const { return m_stop; }

    // The scan's own time per measured step (ns): the whole step less the probe's round trip
    // and the wait. For the benchmark; kept for the last run only.
    const QVector<qint64> &ownCostNs() const { return m_ownCostNs; }

private:
    bool wait(int ms);

    bool m_running = false;
    bool m_stop = false;
    QEventLoop *m_loop = nullptr;
    QVector<qint64> m_ownCostNs;
};
