// The state file reader. What it accepts must save and load again unchanged and without
// refusals: the probe never writes a state it would not read back.

#include "simstate.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Krn4Sim::ProbeState state;
    QString error;
    QStringList warnings;
    const QByteArray json(reinterpret_cast<const char *>(data), int(size));
    if (!Krn4Sim::parseState(json, state, &error, &warnings))
        return 0;
    const QByteArray saved = Krn4Sim::serializeState(state);
    Krn4Sim::ProbeState again;
    QStringList refused;
    if (!Krn4Sim::parseState(saved, again, &error, &refused) || !refused.isEmpty() ||
        Krn4Sim::serializeState(again) != saved)
        __builtin_trap();
    return 0;
}
