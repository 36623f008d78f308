// A long timed xyLv series on the Measure tab (shown, with its table, the trend chart and the
// chromaticity dialog open and redrawing on their own timers) against krn4-sim through the real
// serial link.
//
//   bench_flickerseries [cycles]           replies without delay (default 100,000 cycles): every
//       row must arrive in order, the last 1,000 rows may cost at most 1.2 times the first 1,000,
//       the peak RSS must stay within 150 MB, and the chart must have redrawn about every 200 ms
//       during the run. One chart redraw at the final point count is timed.
//   bench_flickerseries --paced [cycles]   a reply every 20 ms (default 50,000 cycles): the share
//       of the GUI thread's time spent busy over the last tenth of the rows (rows 45,001-50,000
//       by default) is measured with the thread's own CPU clock; the target is below 20 %.
//   --tab-hidden (with either)             the page as when another tab is shown: no chart
//       refresh and no scrolling, which separates the page's own cost from the chart's.
//
// krn4-sim is taken from KT_SIM_BIN or beside this program. The last line prints the figures;
// the exit code is 0 only when every target is met.
#include "ktflickerset.h"
#include "kthorseshoe.h"
#include "ktqcustomplot.h"
#include "measurementmodel.h"
#include "portholder.h"
#include "scratchenv.h"
#include "simprocess.h"
#include "trendchart.h"
#include "ui_ktflickerset.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QSerialPort>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace {

double threadCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double peakRssMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0; // kB on Linux
}

// Counts the paint events of a widget (the chromaticity dialog redraws on its own timer).
class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir scratch;
    useScratchEnvironmentUnlessSet(scratch);
    QApplication app(argc, argv);
    // The page remembers its choices per user: not in the user's own settings.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratch.filePath("user"));
    if (qEnvironmentVariableIsEmpty("KT_SIM_BIN"))
        qputenv("KT_SIM_BIN", (QCoreApplication::applicationDirPath() + "/krn4-sim").toLocal8Bit());
    QLoggingCategory::setFilterRules(QStringLiteral("kt.temporal.worker.debug=false"));
    QStringList args = app.arguments().mid(1);
    const bool paced = args.removeAll(QStringLiteral("--paced")) > 0;
    // As when the Measure tab is not the visible one: no chart refresh and no scrolling, so the
    // page's own share of the GUI thread shows apart from the chart's.
    const bool hidden = args.removeAll(QStringLiteral("--tab-hidden")) > 0;
    const int cycles = args.isEmpty() ? (paced ? 50000 : 100000) : args.first().toInt();
    if (cycles < 2000) {
        std::fprintf(stderr, "need at least 2000 cycles\n");
        return 2;
    }

    SimProcess sim;
    if (!sim.start()) {
        std::fprintf(stderr, "krn4-sim: %s\n", qPrintable(sim.errorText()));
        return 2;
    }
    sim.control(paced ? "latency 20" : "latency 0");
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
    page.setPageActive(!hidden);
    PaintCounter horseShoePaints;
    page.horseShoe()->installEventFilter(&horseShoePaints);
    page.form()->rb_Cont->setChecked(true);
    page.form()->le_Count->setText(QString::number(cycles));

    QVector<qint64> at; // ns since start at which each row appeared
    at.reserve(cycles);
    bool inOrder = true;
    QElapsedTimer clock;
    // The paced window: the last tenth of the rows, measured on the GUI thread itself.
    const int windowFirst = cycles - cycles / 10;
    double cpuAtWindow = 0, cpuAtEnd = 0;
    qint64 nsAtWindow = 0, nsAtEnd = 0;
    QObject::connect(&page, &ktFlickerSet::Signal_RowAdded, [&](int row) {
        at << clock.nsecsElapsed();
        inOrder = inOrder && row == at.size();
        if (row == windowFirst) {
            cpuAtWindow = threadCpuSeconds();
            nsAtWindow = at.last();
        } else if (row == cycles) {
            cpuAtEnd = threadCpuSeconds();
            nsAtEnd = at.last();
        }
    });
    QVector<qint64> replots;
    QObject::connect(page.trend()->plot(), &QCustomPlot::afterReplot,
                     [&] { replots << clock.nsecsElapsed(); });

    QEventLoop loop;
    QObject::connect(&page, &ktFlickerSet::Signal_SeriesFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60 * 60 * 1000, &loop, &QEventLoop::quit);
    clock.start();
    page.on_pbMeasure_clicked();
    loop.exec();
    const qint64 endNs = clock.nsecsElapsed();
    const double seconds = endNs / 1e9;

    // Every row there, numbered in order, with its reading.
    const MeasurementModel *m = page.tableModel(true);
    int ordered = 0;
    for (int r = 0; r < m->recordCount(); ++r) {
        if (m->headerData(r, Qt::Vertical).toString() == QString::number(r + 1) &&
            !m->cellText(r, 5).isEmpty())
            ++ordered;
    }
    const int rows = page.brightRow();
    const bool complete = inOrder && rows == cycles && ordered == cycles && at.size() == cycles;

    // The chart's redraws while rows were coming in: the longest pause between two.
    qint64 longestGap = 0;
    int runReplots = 0;
    qint64 last = at.isEmpty() ? 0 : at.first();
    for (qint64 t : replots) {
        if (at.isEmpty() || t < at.first() || t > at.last())
            continue;
        longestGap = std::max(longestGap, t - last);
        last = t;
        ++runReplots;
    }
    const double runSeconds = at.size() > 1 ? (at.last() - at.first()) / 1e9 : 0.0;
    const bool chartKeptUp =
        hidden || (runReplots >= runSeconds / 0.2 * 0.5 && longestGap < 1000 * 1000 * 1000);

    // One redraw of the chart at the final point count.
    QElapsedTimer redraw;
    redraw.start();
    page.trend()->refresh(true);
    page.trend()->plot()->replot(QCustomPlot::rpImmediateRefresh);
    const double redrawMs = redraw.nsecsElapsed() / 1e6;
    const double rss = peakRssMb();

    std::printf("rows %d of %d, in order %d, chart points %d, %.2f s; chart redraws during the run %d "
                "(longest pause %.0f ms), chromaticity dialog paints %d\n",
                rows, cycles, ordered, page.trend()->pointCount(), seconds, runReplots, longestGap / 1e6,
                horseShoePaints.paints);
    if (paced) {
        const double busy =
            nsAtEnd > nsAtWindow ? (cpuAtEnd - cpuAtWindow) / ((nsAtEnd - nsAtWindow) / 1e9) : 0;
        std::printf("paced: rows/s %.1f, GUI thread busy over rows %d-%d: %.1f %% (target < 20 %%), peak RSS "
                    "%.0f MB, redraw at %d points %.1f ms\n",
                    rows / seconds, windowFirst + 1, cycles, busy * 100, rss, page.trend()->pointCount(),
                    redrawMs);
        return complete && chartKeptUp && busy < 0.2 ? 0 : 1;
    }
    if (qEnvironmentVariableIsSet("KT_BENCH_WINDOWS")) {
        for (int w = 0; w + 1000 <= at.size(); w += std::max(1000, at.size() / 20))
            std::printf("rows %d-%d: %.3f s\n", w + 1, w + 1000, (at.at(w + 999) - at.at(w)) / 1e9);
    }
    double ratio = 0.0;
    if (at.size() == cycles) {
        const double early = double(at.at(999) - at.at(0));
        const double late = double(at.at(cycles - 1) - at.at(cycles - 1000));
        ratio = early > 0 ? late / early : 0.0;
    }
    std::printf("rows/s %.0f, cost of rows %d-%d / rows 1-1000: %.3f (<= 1.2), peak RSS %.0f MB (<= 150), "
                "redraw at %d points %.1f ms\n",
                rows / seconds, cycles - 999, cycles, ratio, rss, page.trend()->pointCount(), redrawMs);
    return complete && chartKeptUp && ratio <= 1.2 && rss <= 150 ? 0 : 1;
}
