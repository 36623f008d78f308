// The control channel's command parser, then a few measurements of whatever display and
// faults it set up.

#include "simcontrol.h"
#include "simprobe.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Krn4Sim::SimProbe probe;
    Krn4Sim::SimFaults faults;
    double t = 0.0;
    probe.setClock([&t] { return t += 0.001; });
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), int(size));
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size() && i < 64; ++i) {
        const QString reply = Krn4Sim::applyControl(lines[i], probe, faults);
        if (!reply.isEmpty() && !reply.startsWith("OK") && !reply.startsWith("ER "))
            __builtin_trap();
    }
    for (const char *cmd : {"MES", "MES,1", "XYZ", "JAA,64,1", "JWA,16,3", "MDS,7", "MES"})
        probe.command(cmd);
    return 0;
}
