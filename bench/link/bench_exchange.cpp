// Blocking exchanges through ktPublicConfig against the bare serial port. A responder thread
// plays a probe that answers at once on the master side of a pseudo-terminal. The same port
// first runs a raw QSerialPort loop (write the command, wait for the reply line), then the
// page's command function with everything a page does around it: debug echo on (both echo
// lines in the log panel, the regulate log and the program log) and the time-out handling.
// Rounds alternate so that a change in machine load hits both alike.
// Target: the page reaches at least half the raw rate. The last line prints the ratio.

#include <QApplication>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTextStream>

#include "ktcfgdata.h"
#include "ktpublicconfig.h"
#include "pagelog.h"
#include "portholder.h"
#include "ptypeer.h"
#include "ptyresponder.h"

namespace {
constexpr int Rounds = 4;
constexpr int RoundMs = 600;
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir root;
    // The log files go to a scratch folder, not the user's documents.
    qputenv("KT_DATA_ROOT", root.path().toLocal8Bit());
    qputenv("KT_DOCUMENTS_DIR", root.path().toLocal8Bit());
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
    ktCfgData::instance()->setUplayerDebug(true);
    int raw = 0, exchanged = 0;
    qint64 rawMs = 0, pageMs = 0;
    bool failed = false;
    QElapsedTimer clock;
    for (int round = 0; round < Rounds && !failed; ++round) {
        clock.start();
        failed |= rawRound(port, &raw) < 0;
        rawMs += clock.elapsed();
        clock.start();
        failed |= pageRound(page, &exchanged) < 0;
        pageMs += clock.elapsed();
    }
    const int panelLines = page.logView()->lineCount();
    responder.stop();
    port->close();
    if (failed) {
        out << "an exchange failed\n";
        return 1;
    }
    const double rawRate = raw * 1000.0 / double(rawMs);
    const double pageRate = exchanged * 1000.0 / double(pageMs);
    out << "raw QSerialPort loop:      " << raw << " exchanges, " << qRound(rawRate) << " exchanges/s\n";
    out << "ktPublicConfig (echo on):  " << exchanged << " exchanges, " << qRound(pageRate)
        << " exchanges/s, panel holds " << panelLines << " lines\n";
    out << "target: ratio >= 0.5\n";
    out << "ratio " << QString::number(pageRate / rawRate, 'f', 2) << "\n";
    return 0;
}
