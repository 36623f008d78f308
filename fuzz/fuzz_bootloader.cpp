// The serial boot loader's exchange fed replies of any content: the first two bytes give the
// loader image's and the firmware's sizes, the rest is cut into replies (the byte before each
// reply is its length) handed to complete() until the session ends or the input does. The
// session never steps back, its position stays inside its stage, its progress is 0..100 and
// never falls, and what it sends is what the stage promises.

#include "bootloadersession.h"

#include <algorithm>
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
    if (size < 2)
        return 0;
    using S = BootLoaderSession;
    const QByteArray loader(data[0] % 8, '\x11');
    // 0, a few blocks, or exactly the largest size (one byte under the limit: the last block is
    // padding only) or one block more.
    const int firmwareSizes[] = {0,
                                 1,
                                 S::BlockSize,
                                 2 * S::BlockSize + 7,
                                 S::MaxBlocks * S::BlockSize - 1,
                                 S::MaxBlocks * S::BlockSize};
    const int firmwareSize = firmwareSizes[data[1] % 6];
    const QByteArray firmware(firmwareSize, '\x5a');
    S session(loader, firmware);
    if (loader.isEmpty() || firmware.isEmpty() || firmwareSize >= S::MaxBlocks * S::BlockSize) {
        check(session.stage() == S::Stage::Failed && session.problem() != S::Problem::None);
        return 0;
    }
    check(session.blocks() == firmwareSize / S::BlockSize + 1 && session.blocks() <= S::MaxBlocks);
    size_t at = 2;
    int lastProgress = 0;
    while (!session.finished() && at < size) {
        const S::Stage before = session.stage();
        const S::Exchange e = session.current();
        if (before == S::Stage::Blocks) {
            check(e.send.size() == S::BlockSize + 1 && session.position() < session.blocks());
            check(quint8(e.send.back()) == S::checksum(e.send.left(S::BlockSize)));
        } else if (before == S::Stage::LoaderImage) {
            check(session.position() < loader.size() && e.send == loader.mid(session.position(), 1));
        }
        const size_t length = std::min<size_t>(data[at], size - at - 1);
        session.complete(QByteArray(reinterpret_cast<const char *>(data + at + 1), int(length)));
        at += 1 + length;
        check(session.stage() >= before);
        check(session.progress() >= lastProgress && session.progress() <= 100);
        lastProgress = session.progress();
    }
    if (session.stage() == S::Stage::Failed)
        check(session.problem() != S::Problem::None && !S::describe(session.problem()).isEmpty());
    if (session.stage() == S::Stage::Done)
        check(session.firmwareWritten() && session.progress() == 100);
    return 0;
}
