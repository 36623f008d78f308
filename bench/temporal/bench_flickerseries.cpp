// A 10,000-cycle timed xyLv series on the Measure tab (shown, with its table, trend chart and
// the chromaticity dialog open) against krn4-sim through the real serial link. It checks that every row
// arrives, in order, and that the last thousand rows cost no more than 1.5 times the first
// thousand: a chart or table that redrew per point would make the series quadratic.
//
// Usage: bench_flickerseries [cycles]   (krn4-sim is taken from KT_SIM_BIN or beside this
// program). The last line prints rows per second and the late/early ratio; the exit code is 0
// only when no row is lost and the ratio is at most 1.5.
#include "ktflickerset.h"
#include "portholder.h"
#include "simprocess.h"
#include "trendchart.h"
#include "ui_ktflickerset.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QSerialPort>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir scratch;
    if (qEnvironmentVariableIsEmpty("KT_DATA_ROOT"))
        qputenv("KT_DATA_ROOT", scratch.filePath("data").toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("KT_VIRTUAL_PORT_DIR"))
        qputenv("KT_VIRTUAL_PORT_DIR", scratch.filePath("ports").toLocal8Bit());
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("KT_SIM_BIN"))
        qputenv("KT_SIM_BIN", (QCoreApplication::applicationDirPath() + "/krn4-sim").toLocal8Bit());
    QLoggingCategory::setFilterRules(QStringLiteral("kt.temporal.worker.debug=false"));
    const int cycles = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    if (cycles < 2000) {
        std::fprintf(stderr, "need at least 2000 cycles\n");
        return 2;
    }

    SimProcess sim;
    if (!sim.start()) {
        std::fprintf(stderr, "krn4-sim: %s\n", qPrintable(sim.errorText()));
        return 2;
    }
    sim.control("latency 0");
    sim.control("show 255,255,255");
    QSerialPort *port = PortHolder::instance()->probePort();
    port->setPortName(sim.linkPath());
    port->setBaudRate(QSerialPort::Baud115200);
    if (!port->open(QIODevice::ReadWrite)) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(sim.linkPath()));
        return 2;
    }

    ktPublicConfig hub;
    ktFlickerSet page(&hub);
    page.resize(1280, 720);
    page.show();
    page.on_pbHorseShoe_clicked(); // the chromaticity dialog open too: every point lands there
    page.form()->rb_Cont->setChecked(true);
    page.form()->le_Count->setText(QString::number(cycles));

    QVector<qint64> at; // ns since start at which each row appeared
    at.reserve(cycles);
    QElapsedTimer clock;
    QObject::connect(&page, &ktFlickerSet::Signal_RowAdded, [&](int) { at << clock.nsecsElapsed(); });
    QEventLoop loop;
    QObject::connect(&page, &ktFlickerSet::Signal_SeriesFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(15 * 60 * 1000, &loop, &QEventLoop::quit);
    clock.start();
    page.on_pbMeasure_clicked();
    loop.exec();
    const double seconds = clock.nsecsElapsed() / 1e9;

    // Every row there, numbered in order, with its reading.
    QTableWidget *t = page.form()->twMeasureBright;
    int ordered = 0;
    for (int r = 0; r < t->rowCount(); ++r) {
        QTableWidgetItem *h = t->verticalHeaderItem(r);
        QTableWidgetItem *lv = t->item(r, 5);
        if (h && h->text() == QString::number(r + 1) && lv && !lv->text().isEmpty())
            ++ordered;
    }
    const int rows = page.brightRow();
    const bool complete = rows == cycles && ordered == cycles && at.size() == cycles;
    double ratio = 0.0;
    if (at.size() == cycles) {
        const double early = double(at.at(999) - at.at(0));
        const double late = double(at.at(cycles - 1) - at.at(cycles - 1000));
        ratio = early > 0 ? late / early : 0.0;
    }
    std::printf("rows %d of %d, in order %d, chart points %d, %.2f s\n", rows, cycles, ordered,
                page.trend()->pointCount(), seconds);
    std::printf("rows/s %.0f, time of rows %d-%d / rows 1-1000: %.3f\n", rows / seconds, cycles - 999, cycles,
                ratio);
    return complete && ratio <= 1.5 ? 0 : 1;
}
