// The spectrum page's reading of an "RSD" reply of any content: readSpectrum, then the colour
// the page logs beside it (integrate) and the CSV export of the values. At most 401 values are
// read, all finite; the CSV has one line per value; a colour from values that are all finite
// and small enough not to overflow is finite, with x + y = (X + Y) / (X + Y + Z).

#include "replyreader.h"
#include "radiancelogic.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {
void check(bool property)
{
    if (!property)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString reply = QString::fromLatin1(reinterpret_cast<const char *>(data), int(size));
    QVector<double> values{7.0};
    if (!ReplyReader::readSpectrum(reply, &values)) {
        check(values.size() == 1 && values.first() == 7.0);
        return 0;
    }
    check(values.size() <= SpectrumLogic::MaxValues);
    bool small = true;
    for (double v : values) {
        check(std::isfinite(v));
        small = small && std::abs(v) < 1e300;
    }
    const SpectrumLogic::Colour c = SpectrumLogic::integrate(values);
    if (small) {
        check(std::isfinite(c.X) && std::isfinite(c.Y) && std::isfinite(c.Z));
        const double sum = c.X + c.Y + c.Z;
        if (sum != 0.0 && std::isfinite(c.x) && std::isfinite(c.y) && std::abs(sum) > 1e-300)
            check(std::abs((c.x + c.y) - (c.X + c.Y) / sum) <= 1e-9 * (1.0 + std::abs((c.X + c.Y) / sum)));
    }
    const QByteArray csv = SpectrumLogic::csvText(values);
    check(csv.count('\n') == values.size());
    return 0;
}
