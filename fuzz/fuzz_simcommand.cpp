// The probe's command interpreter and boot loader: any bytes on the serial line.

#include "simprobe.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The display's emission spectra take long to build (RSD); build them once.
    static const Krn4Sim::SimDisplay display = [] {
        Krn4Sim::SimDisplay d;
        d.spectrumFor(Krn4Sim::Vec3(1, 1, 1));
        return d;
    }();
    Krn4Sim::SimProbe probe; // no state file: nothing is written
    probe.display() = display;
    // A clock that advances with every reading, so runs repeat exactly and the 2 s line
    // time-out and the boot loader's idle time-out are reached.
    double t = 0.0;
    probe.setClock([&t] { return t += 0.005; });
    probe.setLineSpeed(38400);
    std::vector<Krn4Sim::SimProbe::Chunk> out;
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    // The first half at one line speed, the rest at another, as the application switches
    // speed during a firmware upgrade.
    probe.feed(bytes.left(bytes.size() / 2), out);
    probe.setLineSpeed(115200);
    probe.feed(bytes.mid(bytes.size() / 2), out);
    probe.tick(out);
    for (const auto &c : out) {
        // Every command reply is one line: a "\r" inside would split it in two for the reader.
        if (!c.command.isEmpty() && c.bytes.indexOf('\r') != c.bytes.size() - 1)
            __builtin_trap();
    }
    return 0;
}
