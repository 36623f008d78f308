// A 256-tone, four-colour gamma run (1,024 steps) on the Gamma tab, shown with its charts and
// table, against krn4-sim through the real serial link with replies without delay and no wait
// between steps. The page's own cost of a step is the step less the probe's round trip (and
// the wait, here none). Targets: at most 5 ms per step on average, and flat: the last 100
// steps cost at most 1.5 times the first 100.
// The last line prints the figures; the exit code is 0 only when both targets are met.
#include "ktgamma.h"
#include "ktshowrgb.h"
#include "measurementmodel.h"
#include "portholder.h"
#include "simprocess.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSerialPort>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <numeric>

namespace {
// Confirms the start question as soon as it is up.
void confirmNextBox()
{
    QTimer::singleShot(10, [] {
        QWidget *box = QApplication::activeModalWidget();
        if (auto *ok = box ? box->findChild<QPushButton *>(QStringLiteral("pbOK")) : nullptr)
            ok->click();
        else
            confirmNextBox();
    });
}

double meanMs(const QVector<qint64> &ns, int from, int count)
{
    return std::accumulate(ns.begin() + from, ns.begin() + from + count, 0.0) / count / 1e6;
}
} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    qputenv("KT_DATA_ROOT", dir.path().toLocal8Bit());
    qputenv("KT_VIRTUAL_PORT_DIR", (dir.path() + "/ports").toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("KT_SIM_BIN"))
        qputenv("KT_SIM_BIN",
                (QString::fromLocal8Bit(argv[0]).section('/', 0, -2) + "/krn4-sim").toLocal8Bit());
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());

    SimProcess sim;
    if (!sim.start()) {
        std::printf("krn4-sim did not start: %s\n", qPrintable(sim.errorText()));
        return 2;
    }
    QSerialPort *port = PortHolder::instance()->probePort();
    port->setPortName(sim.linkPath());
    port->setBaudRate(QSerialPort::Baud115200);
    if (!port->open(QIODevice::ReadWrite)) {
        std::printf("cannot open %s\n", qPrintable(sim.linkPath()));
        return 2;
    }

    ktGamma page;
    ktShowRGB window;
    QObject::connect(&page, &ktGamma::signalShowColor, &window,
                     [&window](QString &c) { window.SetColor(c); });
    QObject::connect(&page, &ktGamma::signalShowColorWindow, &window, &QWidget::show);
    page.resize(1280, 800);
    page.show();
    page.findChild<QComboBox *>(QStringLiteral("cbbTones"))->setCurrentText(QStringLiteral("256"));

    confirmNextBox();
    QElapsedTimer clock;
    clock.start();
    page.findChild<QPushButton *>(QStringLiteral("pb_measure"))->click();
    const double seconds = clock.elapsed() / 1000.0;

    const QVector<qint64> &cost = page.scan()->ownCostNs();
    if (cost.size() != 1024 || page.model()->recordCount() != 1024) {
        std::printf("expected 1024 steps, got %d (%d rows)\n", int(cost.size()), page.model()->recordCount());
        return 1;
    }
    const double mean = meanMs(cost, 0, cost.size());
    const double first = meanMs(cost, 0, 100), last = meanMs(cost, cost.size() - 100, 100);
    const double ratio = last / first;
    std::printf("first 100 steps %.3f ms, last 100 steps %.3f ms (page's own cost per step)\n", first, last);
    std::printf("gamma run: %.0f steps/s, own cost %.3f ms/step (target <= 5), last/first 100 steps %.2f "
                "(target <= 1.5)\n",
                cost.size() / seconds, mean, ratio);
    return mean <= 5.0 && ratio <= 1.5 ? 0 : 1;
}
