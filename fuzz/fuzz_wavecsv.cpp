// The response-time page's "Open" on files of any content: readResponseTimeCsv, then what the
// page does with a record it opened (the decimation from the sample spacing, statistics, the
// automatic capture window at a few screen frequencies, the transitions inside it). A record
// that reads has channels of one length, finite times and luminances, x and y finite or NaN;
// written back it reads again with the same samples; a refused file leaves the output alone.

#include "wavelogic.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace WaveLogic;

namespace {
void check(bool property)
{
    if (!property)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    Waveform wave;
    wave.t = {42.0};
    if (!readResponseTimeCsv(bytes, &wave)) {
        check(wave.t.size() == 1 && wave.t.first() == 42.0 && wave.lv.isEmpty());
        return 0;
    }
    const int n = wave.size();
    check(wave.x.size() == n && wave.y.size() == n && wave.lv.size() == n && wave.Y.size() == n);
    for (int i = 0; i < n; ++i) {
        check(std::isfinite(wave.t.at(i)) && std::isfinite(wave.lv.at(i)));
        check(!std::isinf(wave.x.at(i)) && !std::isinf(wave.y.at(i)));
    }
    // Saved again, it opens with the same samples (times pass through milliseconds).
    Waveform again;
    check(readResponseTimeCsv(responseTimeCsv(wave), &again) && again.size() == n);
    const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    for (int i = 0; i < n; ++i) {
        check(same(again.x.at(i), wave.x.at(i)) && same(again.y.at(i), wave.y.at(i)) &&
              again.lv.at(i) == wave.lv.at(i));
        check(std::abs(again.t.at(i) - wave.t.at(i)) <= 1e-15 * std::abs(wave.t.at(i)) + 1e-300);
    }

    // The page: decimation from the spacing of the first two samples, then the analysis.
    const int decimation =
        n > 1 ? std::max(1, int(std::lround((wave.t.at(1) - wave.t.at(0)) * SampleRate))) : 1;
    const Stats s = statistics(wave.lv);
    check(s.count == n);
    for (double screenHz : {1.0, 60.0, 240.0}) {
        const CaptureWindow w = captureWindow(wave, screenHz, decimation);
        check(w.indexLeft >= 0 && w.indexLeft <= w.indexRight && (n == 0 || w.indexRight < n));
        if (n == 0)
            continue;
        const QVector<Transition> found = transitions(wave.t, wave.lv, w.axisLeft, w.axisRight, 10.0, 90.0);
        check(found.size() <= n);
        for (const Transition &tr : found)
            check(tr.start.index >= 0 && tr.start.index < n && tr.end.index >= 0 && tr.end.index < n);
    }
    return 0;
}
