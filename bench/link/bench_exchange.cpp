// Blocking exchanges per second through ktPublicConfig against a probe that answers at once
// (a responder thread on the master side of a pseudo-terminal). The GUI thread does what a
// page does: the command function, its echo lines in the log panel and the log files.
// Target: at least 2000 exchanges per second. The last line prints the figure.

#include <QApplication>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTextStream>

#include "ktcfgdata.h"
#include "ktpublicconfig.h"
#include "portholder.h"
#include "ptypeer.h"
#include "ptyresponder.h"

namespace {
double run(ktPublicConfig &page, int seconds, int *count)
{
    QString version;
    int n = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000) {
        for (int i = 0; i < 50; ++i) {
            if (!page.SendVER(&version))
                return -1;
            ++n;
        }
    }
    *count = n;
    return n * 1000.0 / double(clock.elapsed());
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir root;
    if (qEnvironmentVariableIsEmpty("KT_DATA_ROOT"))
        qputenv("KT_DATA_ROOT", root.path().toLocal8Bit());
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
    int count = 0;
    ktCfgData::instance()->setUplayerDebug(false);
    const double quiet = run(page, 2, &count);
    out << "debug echo off: " << count << " exchanges, " << qRound(quiet) << " exchanges/s\n";
    ktCfgData::instance()->setUplayerDebug(true);
    page.logView()->clear();
    const double echoed = run(page, 2, &count);
    out << "debug echo on:  " << count << " exchanges, " << qRound(echoed) << " exchanges/s\n";
    responder.stop();
    port->close();
    if (quiet < 0 || echoed < 0) {
        out << "an exchange failed\n";
        return 1;
    }
    out << "blocking exchanges per second (slower of echo on/off, target >= 2000): "
        << qRound(qMin(quiet, echoed)) << "\n";
    return 0;
}
