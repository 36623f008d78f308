// Blocking exchanges through ktPublicConfig against the bare serial port. A responder thread
// plays a probe that answers at once on the master side of a pseudo-terminal. The same port
// first runs a raw QSerialPort loop (write the command, wait for the reply line), then the
// page's command function with everything a page does around it: debug echo on (both echo
// lines in the log panel, the regulate log and the program log) and the time-out handling.
// Rounds alternate, and the ratio is the median of the rounds' ratios, so that a change in
// machine load hits both alike and a burst of load in one round does not decide the figure.
// The page with debug echo off is shown for comparison (its progress line only).
// Target: the page with echo on reaches at least half the raw rate. The last line prints the ratio.

#include <QApplication>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVector>

#include <algorithm>

#include "ktcfgdata.h"
#include "ktpublicconfig.h"
#include "pagelog.h"
#include "portholder.h"
#include "ptypeer.h"
#include "ptyresponder.h"
#include "scratchenv.h"

namespace {
constexpr int Rounds = 8;
constexpr int RoundMs = 300;
const QByteArray Command("VER\r");

// Exchanges per second of a plain write / wait-for-the-line loop; -1 when a reply is missing.
double rawRound(QSerialPort *port, int *count)
{
    QElapsedTimer clock;
    clock.start();
    QByteArray reply;
    while (clock.elapsed() < RoundMs) {
        port->write(Command);
        if (!port->waitForBytesWritten(1000))
            return -1;
        reply.clear();
        while (!reply.contains('\r')) {
            if (!port->waitForReadyRead(1000))
                return -1;
            reply += port->readAll();
        }
        ++*count;
    }
    return 0;
}

double pageRound(ktPublicConfig &page, int *count)
{
    QElapsedTimer clock;
    clock.start();
    QString version;
    while (clock.elapsed() < RoundMs) {
        if (!page.SendVER(&version))
            return -1;
        ++*count;
    }
    return 0;
}
} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir root;
    useScratchEnvironment(root);
    QApplication app(argc, argv);
    QTextStream out(stdout);

    PtyPeer peer;
    if (!peer.open()) {
        out << "cannot open a pseudo-terminal\n";
        return 1;
    }
    QSerialPort *port = PortHolder::instance()->probePort();
    port->setPortName(peer.slavePath());
    if (!port->open(QIODevice::ReadWrite)) {
        out << "cannot open " << peer.slavePath() << ": " << port->errorString() << "\n";
        return 1;
    }
    PtyResponder responder(&peer, [](const QByteArray &) { return QByteArray("OK00,KRN4,V2.10\r"); });
    responder.start();

    ktPublicConfig page;
    int raw = 0, echoed = 0, quiet = 0;
    qint64 rawMs = 0, echoedMs = 0, quietMs = 0;
    QVector<double> ratios;
    bool failed = false;
    QElapsedTimer clock;
    for (int round = 0; round < Rounds && !failed; ++round) {
        const int raw0 = raw, echoed0 = echoed;
        clock.start();
        failed |= rawRound(port, &raw) < 0;
        const qint64 rawRoundMs = clock.elapsed();
        ktCfgData::instance()->setUplayerDebug(true);
        clock.start();
        failed |= pageRound(page, &echoed) < 0;
        const qint64 echoedRoundMs = clock.elapsed();
        ktCfgData::instance()->setUplayerDebug(false);
        clock.start();
        failed |= pageRound(page, &quiet) < 0;
        quietMs += clock.elapsed();
        rawMs += rawRoundMs;
        echoedMs += echoedRoundMs;
        ratios << (echoed - echoed0) / double(echoedRoundMs) / ((raw - raw0) / double(rawRoundMs));
    }
    const int panelLines = page.logView()->lineCount();
    responder.stop();
    port->close();
    if (failed) {
        out << "an exchange failed\n";
        return 1;
    }
    std::sort(ratios.begin(), ratios.end());
    const double ratio = (ratios.at(Rounds / 2 - 1) + ratios.at(Rounds / 2)) / 2;
    const auto rate = [](int n, qint64 ms) { return qRound(n * 1000.0 / double(ms)); };
    out << "raw QSerialPort loop:       " << raw << " exchanges, " << rate(raw, rawMs) << " exchanges/s\n";
    out << "ktPublicConfig (echo on):   " << echoed << " exchanges, " << rate(echoed, echoedMs)
        << " exchanges/s, panel holds " << panelLines << " lines\n";
    out << "ktPublicConfig (echo off):  " << quiet << " exchanges, " << rate(quiet, quietMs)
        << " exchanges/s\n";
    out << "echo on / raw per round: min " << QString::number(ratios.first(), 'f', 2) << ", max "
        << QString::number(ratios.last(), 'f', 2) << "\n";
    out << "target: ratio >= 0.5\n";
    out << "ratio " << QString::number(ratio, 'f', 2) << "\n";
    return 0;
}
