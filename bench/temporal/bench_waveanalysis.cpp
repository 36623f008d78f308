// A 32,767-sample three-channel "JWA" reply read, plotted and analysed as the response-time page
// does it, and the waveform pages' transform on 8,192 points beside FFTW's, in one run. The last
// line prints both as ratios to their targets (100 ms; 3 × FFTW), below 1 meaning within; the
// exit status is 1 when either is missed.
#include "customplotdrawpoint.h"
#include "fft.h"
#include "wavelogic.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <functional>

#include <fftw3.h>

#include <cmath>
#include <cstdio>
#include <random>

namespace {

// Gray 0 and 255 alternating every 100 ms with 4 ms / 8 ms exponential edges, in the reply's
// own layout and number format.
QString jwaReply(int n)
{
    QString reply = QStringLiteral("OK00,P1,");
    reply.reserve(n * 32);
    double level = 0.0;
    for (int i = 0; i < n; ++i) {
        const double t = i / 3072.0;
        const bool high = int(t / 0.1) % 2 == 1;
        const double tau = high ? 0.004 : 0.008;
        level += ((high ? 200.0 : 0.0) - level) * (1.0 - std::exp(-1.0 / 3072.0 / tau));
        if (i)
            reply += QLatin1Char(';');
        reply += QString::number(0.9505 * level, 'g', 7) + QLatin1Char(',') + QString::number(level, 'g', 7) +
                 QLatin1Char(',') + QString::number(1.089 * level, 'g', 7);
    }
    return reply;
}

double medianMs(const std::function<void()> &run, int repeats)
{
    std::vector<double> ms;
    for (int r = 0; r < repeats; ++r) {
        QElapsedTimer clock;
        clock.start();
        run();
        ms.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const QString reply = jwaReply(32767);
    CustomPlotDrawPoint plot;
    plot.resize(1200, 700);
    plot.addGraph();
    int transitions = 0;
    const double pageMs = medianMs(
        [&] {
            WaveLogic::Waveform w;
            if (!WaveLogic::readJwa(reply, 1, &w))
                std::abort();
            plot.graph(0)->setData(w.t, w.lv, true);
            plot.rescaleAxes();
            const WaveLogic::CaptureWindow window = WaveLogic::captureWindow(w, 60.0, 1);
            transitions = WaveLogic::transitions(w.t, w.lv, w.t.first(), w.t.last(), 10, 90).size();
            Q_UNUSED(window);
            plot.toPixmap(1200, 700); // draws the whole plot
        },
        7);

    const int n = 8192;
    std::vector<fft::Complex> in(n), out(n), ref(n);
    std::mt19937_64 rng(1);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (auto &c : in)
        c = fft::Complex(u(rng), 0.0);
    fft transform;
    fftw_plan plan =
        fftw_plan_dft_1d(n, reinterpret_cast<fftw_complex *>(in.data()),
                         reinterpret_cast<fftw_complex *>(ref.data()), FFTW_FORWARD, FFTW_ESTIMATE);
    const int loops = 200;
    const double oursMs = medianMs(
        [&] {
            for (int i = 0; i < loops; ++i)
                transform.forward(in.data(), out.data(), n);
        },
        5);
    const double fftwMs = medianMs(
        [&] {
            for (int i = 0; i < loops; ++i)
                fftw_execute(plan);
        },
        5);
    fftw_destroy_plan(plan);

    std::printf("32767-sample JWA reply read, plotted and analysed: %.1f ms (%d transitions)\n", pageMs,
                transitions);
    std::printf("8192-point transform: %.3f ms, FFTW %.3f ms\n", oursMs / loops, fftwMs / loops);
    std::printf("ratio to 100 ms: %.3f, ratio to 3 x FFTW: %.3f\n", pageMs / 100.0, oursMs / (3.0 * fftwMs));
    return pageMs <= 100.0 && oursMs <= 3.0 * fftwMs ? 0 : 1;
}
