// krn4 measure --count 10000 against the application's own blocking exchange, in one run on
// one krn4-sim without latency. The page's rate: its blocking "MES,1" (ktPublicConfig::SendMES1)
// with the debug echo on, as the application runs by default and as its own exchange benchmark
// measures it (echo off is shown beside), measured in two halves just before and after each run
// of krn4 so that a change in machine load hits both alike; the figure is the median of seven
// such rounds. krn4's rate: 10000 readings over the whole run of the program (start, port,
// mode, readings with their colorimetry and CSV lines). Target: krn4 reaches at least 80 % of
// the page's rate. The last line prints the ratio.

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVector>

#include <algorithm>

#include "ktcfgdata.h"
#include "ktpublicconfig.h"
#include "portholder.h"
#include "scratchenv.h"
#include "simprocess.h"

namespace {
constexpr int Readings = 10000;
constexpr int Rounds = 7;

// Seconds for n blocking "MES,1" exchanges of a page; hugely negative when one failed.
double pageRun(ktPublicConfig &page, QSerialPort *port, const QString &path, int n)
{
    port->setPortName(path);
    if (!port->open(QIODevice::ReadWrite))
        return -1e9;
    QString reply;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < n; ++i) {
        if (!page.SendMES1(&reply))
            return -1e9;
    }
    const double s = clock.nsecsElapsed() / 1e9;
    port->close();
    return s;
}
} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir root;
    useScratchEnvironment(root);
    qputenv("KT_VIRTUAL_PORT_DIR", root.filePath("ports").toLocal8Bit());
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("KT_SIM_BIN"))
        qputenv("KT_SIM_BIN", (QCoreApplication::applicationDirPath() + "/krn4-sim").toLocal8Bit());
    QTextStream out(stdout);

    SimProcess sim;
    if (!sim.start()) {
        out << "cannot start krn4-sim: " << sim.errorText() << "\n";
        return 1;
    }
    QSerialPort *port = PortHolder::instance()->probePort();
    ktPublicConfig page;
    // Each half of the page's share runs once with the debug echo (the application's default,
    // the figure of its own exchange benchmark) and once without it (shown for comparison).
    const auto pageHalf = [&](double *echoed, double *quiet) {
        ktCfgData::instance()->setUplayerDebug(true);
        *echoed += pageRun(page, port, sim.linkPath(), Readings / 2);
        ktCfgData::instance()->setUplayerDebug(false);
        *quiet += pageRun(page, port, sim.linkPath(), Readings / 2);
    };
    QVector<double> ratios, quietRatios;
    double echoedSeconds = 0.0, quietSeconds = 0.0, cliSeconds = 0.0;
    for (int round = 0; round < Rounds; ++round) {
        double echoed = 0.0, quiet = 0.0;
        pageHalf(&echoed, &quiet);
        QProcess krn4;
        krn4.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        krn4.start(
            QCoreApplication::applicationDirPath() + "/krn4",
            {"--port", sim.portName(), "measure", "--count", QString::number(Readings), "--format", "csv"});
        const bool ran = krn4.waitForFinished(600000) && krn4.exitCode() == 0;
        const double cli = clock.nsecsElapsed() / 1e9;
        pageHalf(&echoed, &quiet);
        if (echoed <= 0 || quiet <= 0 || !ran) {
            out << "an exchange failed: " << krn4.readAllStandardError() << "\n";
            return 1;
        }
        echoedSeconds += echoed;
        quietSeconds += quiet;
        cliSeconds += cli;
        ratios << echoed / cli; // the same count on both sides: the ratio of the rates
        quietRatios << quiet / cli;
    }
    std::sort(ratios.begin(), ratios.end());
    std::sort(quietRatios.begin(), quietRatios.end());
    const double ratio = ratios.at(Rounds / 2);
    const auto rate = [](double seconds) { return qRound(Rounds * Readings / seconds); };
    out << "page SendMES1, echo on:   " << rate(echoedSeconds) << " exchanges/s\n";
    out << "page SendMES1, echo off:  " << rate(quietSeconds) << " exchanges/s\n";
    out << "krn4 measure --format csv: " << Rounds << " runs of " << Readings << " readings, "
        << rate(cliSeconds) << " readings/s\n";
    out << "krn4 / page echo off: median " << QString::number(quietRatios.at(Rounds / 2), 'f', 2) << "\n";
    out << "krn4 / page echo on per round: min " << QString::number(ratios.first(), 'f', 2) << ", max "
        << QString::number(ratios.last(), 'f', 2) << "\n";
    out << "target: ratio >= 0.8\n";
    out << "ratio " << QString::number(ratio, 'f', 2) << "\n";
    return ratio >= 0.8 ? 0 : 1;
}
