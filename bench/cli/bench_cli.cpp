// krn4 measure --count 10000 against the application's own blocking exchange, in one run on one
// krn4-sim without latency. The page's rate: its blocking "MES,1" (ktPublicConfig::SendMES1),
// measured in two halves just before and after each run of krn4 so that a change in machine
// load hits both alike; the figure is the median of five such rounds. krn4's rate: 10000
// readings over the whole run of the program (start, port, mode, readings with their
// colorimetry and CSV lines). Target: krn4 reaches at least 80 % of the page's rate. The last
// line prints the ratio.

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVector>

#include <algorithm>

#include "ktpublicconfig.h"
#include "portholder.h"
#include "simprocess.h"

namespace {
constexpr int Readings = 10000;
constexpr int Rounds = 5;

// Seconds for n blocking "MES,1" exchanges of a page; negative when one failed.
double pageRun(ktPublicConfig &page, QSerialPort *port, const QString &path, int n)
{
    port->setPortName(path);
    if (!port->open(QIODevice::ReadWrite))
        return -1;
    QString reply;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < n; ++i) {
        if (!page.SendMES1(&reply))
            return -1;
    }
    const double s = clock.nsecsElapsed() / 1e9;
    port->close();
    return s;
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir root;
    qputenv("KT_DATA_ROOT", root.path().toLocal8Bit());
    qputenv("KT_DOCUMENTS_DIR", root.path().toLocal8Bit());
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
    QVector<double> ratios;
    double pageSeconds = 0.0, cliSeconds = 0.0;
    for (int round = 0; round < Rounds; ++round) {
        const double first = pageRun(page, port, sim.linkPath(), Readings / 2);
        QProcess krn4;
        krn4.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        krn4.start(
            QCoreApplication::applicationDirPath() + "/krn4",
            {"--port", sim.portName(), "measure", "--count", QString::number(Readings), "--format", "csv"});
        const bool ran = krn4.waitForFinished(600000) && krn4.exitCode() == 0;
        const double cli = clock.nsecsElapsed() / 1e9;
        const double second = pageRun(page, port, sim.linkPath(), Readings / 2);
        if (first < 0 || second < 0 || !ran) {
            out << "an exchange failed: " << krn4.readAllStandardError() << "\n";
            return 1;
        }
        pageSeconds += first + second;
        cliSeconds += cli;
        ratios << (first + second) / cli; // same count on both sides: the ratio of the rates
    }
    std::sort(ratios.begin(), ratios.end());
    const double ratio = ratios.at(Rounds / 2);
    out << "page SendMES1:        " << Rounds * Readings << " exchanges, "
        << qRound(Rounds * Readings / pageSeconds) << " exchanges/s\n";
    out << "krn4 measure (csv):   " << Rounds << " runs of " << Readings << " readings, "
        << qRound(Rounds * Readings / cliSeconds) << " readings/s\n";
    out << "krn4 / page per round: min " << QString::number(ratios.first(), 'f', 2) << ", max "
        << QString::number(ratios.last(), 'f', 2) << "\n";
    out << "target: ratio >= 0.8\n";
    out << "ratio " << QString::number(ratio, 'f', 2) << "\n";
    return ratio >= 0.8 ? 0 : 1;
}
