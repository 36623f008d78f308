#include "grayscan.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

using GrayLogic::Point;
using GrayLogic::Task;

void GrayScan::stop()
{
    m_stop = true;
    if (m_loop)
        m_loop->quit();
}

bool GrayScan::wait(int ms)
{
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return !m_stop;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    m_loop = &loop;
    if (!m_stop)
        loop.exec();
    m_loop = nullptr;
    return !m_stop;
}

GrayScan::End GrayScan::run(const QVector<Task> &tasks, int waitMs)
{
    m_running = true;
    m_stop = false;
    m_ownCostNs.clear();
    const QString black = QStringLiteral("0,0,0");
    End end = End::Done;
    QElapsedTimer step;
    for (const Task &task : tasks) {
        for (int i = 0; i < task.colours.size() && end == End::Done; ++i) {
            if (m_stop) {
                end = End::Stopped;
                break;
            }
            if (hooks.mayContinue && !hooks.mayContinue()) {
                end = End::Aborted;
                break;
            }
            step.start();
            const QString &colour = task.colours.at(i);
            hooks.log(tr("Show Picture:%1").arg(colour));
            hooks.show(colour);
            const qint64 waited0 = step.nsecsElapsed();
            if (!wait(waitMs)) {
                end = End::Stopped;
                break;
            }
            const qint64 waitedNs = step.nsecsElapsed() - waited0;
            hooks.log(tr("SyncMeasure"));
            QString reply;
            qint64 ms = 0;
            QElapsedTimer exchange;
            exchange.start();
            const bool measured = hooks.measure(&reply, &ms);
            const qint64 exchangeNs = exchange.nsecsElapsed();
            if (!measured)
                break; // the message is the exchange's own (time-out) or the reply's
            hooks.log(tr("RecvMeasure"));
            if (!reply.contains(QLatin1String("OK"))) {
                hooks.log(tr("Mes failed!"));
                break;
            }
            Point p;
            if (!GrayLogic::readPoint(reply, &p)) {
                hooks.log(tr("Format error!"));
                continue;
            }
            hooks.result(task, i, p, ms);
            m_ownCostNs << step.nsecsElapsed() - exchangeNs - waitedNs;
        }
        hooks.show(black);
        if (end != End::Done)
            break;
    }
    m_running = false;
    return end;
}
