// The firmware page's reading of the DFU tool's output, as it arrives: the input is cut into
// chunks (a byte below 0x08 ends a chunk and picks the tool of the run from its low bit), each
// chunk is appended to the output so far and read as the page reads it after every chunk. A
// percentage is -1 or what the text says (0..100 for dfu-util's bars, which carry only
// digits); the terminal text never holds more lines than the output or a "\r".

#include "dfuoutput.h"

#include <cstddef>
#include <cstdint>

using namespace DfuOutput;

namespace {
void check(bool property)
{
    if (!property)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const Tool tool = data[0] & 1 ? Tool::Vendor : Tool::DfuUtil;
    check(toolFor(tool == Tool::Vendor ? QStringLiteral("/opt/st/DfuSeCommand.exe")
                                       : QStringLiteral("/usr/bin/dfu-util")) == tool);
    QString output;
    size_t begin = 1;
    for (size_t i = 1; i <= size; ++i) {
        if (i < size && data[i] >= 0x08)
            continue;
        output += QString::fromUtf8(reinterpret_cast<const char *>(data + begin), int(i - begin));
        begin = i + 1;
        const Reading r = read(tool, output);
        check(r.percent >= -1);
        if (r.phase == Phase::None)
            check(r.percent == -1);
        const QString shown = displayText(output);
        check(!shown.contains(QLatin1Char('\r')) && shown.count(QLatin1Char('\n')) == output.count('\n'));
        (void)succeeded(tool, output, true, 0);
        (void)succeeded(tool, output, data[0] & 2, data[0] >> 2);
    }
    return 0;
}
