// Memory of the series worker under a flood: the probe side of a pseudo-terminal answers the
// worker's "MES,1" with megabytes of bytes and no terminator until the worker gives up on the
// reply (5 s). Without a cap the worker's receive buffer grows with every byte; with it the
// peak stays near the cap (SerialPortReader::MaxReplyBytes).
//
// Usage: bench_workerflood [MiB per second, default 80]. The last line prints the growth of the
// peak resident size; the exit code is 0 when it stays below 64 MiB.
#include "ptypeer.h"
#include "workerthread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>

#include <atomic>
#include <cstdio>
#include <thread>

namespace {
// Peak resident set size of this process in KiB ("VmHWM" of /proc/self/status).
long peakRssKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("kt.temporal.worker.debug=false"));
    const int mibPerSecond = argc > 1 ? QByteArray(argv[1]).toInt() : 80;
    PtyPeer peer;
    if (!peer.open())
        return 2;
    const long before = peakRssKiB();
    WorkerThread worker(1, 0, 0);
    worker.setPortPath(peer.slavePath());
    std::atomic<bool> done{false};
    std::atomic<qint64> sent{0};
    std::thread flood([&] {
        peer.readUntil('\r', 2000); // the worker's command
        const QByteArray block(64 * 1024, 'A');
        QElapsedTimer clock;
        clock.start();
        while (!done && clock.elapsed() < WorkerThread::ReplyTimeoutMs - 200) {
            if (sent < clock.elapsed() * mibPerSecond * 1024 * 1024 / 1000 && peer.write(block))
                sent += block.size();
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    worker.start();
    worker.wait();
    done = true;
    flood.join();
    const double growthMiB = (peakRssKiB() - before) / 1024.0;
    std::printf(
        "worker flood: %lld MiB sent, peak resident size grew by %.1f MiB (cap %d MiB, lost cycles %d)\n",
        static_cast<long long>(sent >> 20), growthMiB, WorkerThread::MaxReplyBytes >> 20, worker.timeouts());
    return growthMiB < 64 ? 0 : 1;
}
