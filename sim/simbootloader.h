#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace Krn4Sim {

// One piece of output: bytes to write after a delay (ms from the moment they were produced).
struct Chunk
{
    QByteArray bytes;
    int delayMs = 0;
    QByteArray command; // the command this chunk answers (empty for boot-loader bytes)
};

// The probe's serial boot loader, entered by "UPD,1": synchronisation byte, loader image
// echo, block count, 0x55/0xAA, 4096-byte blocks with a checksum, then the restart and its
// "Initial OK" announcement. Byte in, bytes out; time comes from the caller.
class SimBootLoader
{
public:
    enum class Mode
    {
        Command, // not in the loader: the probe interprets commands
        BootSync,
        BootImage,
        BootHalted, // the loader image was damaged: the probe stays silent until the idle time-out
        BootCount,
        BootStart,
        BootBlocks
    };

    static constexpr int kBlockSize = 4096;
    // Largest loader image with a header ("KBL1"): the probe's RAM for it.
    static constexpr qint64 kMaxImageBytes = 65536;

    // Faults of the boot loader, set through the control channel; each acts once.
    struct Faults
    {
        int dropEcho = -1;      // the echo of this loader image byte (0-based) is not sent
        int badAck = -1;        // this block (1-based) is answered 0x00 instead of 0xAA
        bool noRestart = false; // after the last block the probe never says "Initial OK"
    };
    Faults &faults() { return m_faults; }

    static constexpr double kIdleSeconds = 10.0;

    Mode mode() const { return m_mode; }
    bool active() const { return m_mode != Mode::Command; }

    // Serial line speed as the application set it (baud; 0 unknown). The switch from the
    // speed at synchronisation ends a loader image that has no header.
    void setLineSpeed(int baud) { m_lineSpeed = baud; }

    // "UPD,1" was answered: wait for the synchronisation byte.
    void start(double now);
    // One byte from the application. Returns true when the last block arrived: the probe
    // restarts (takeFirmwareVersion() then has the version found in the image, if any).
    bool feed(char byte, double now, std::vector<Chunk> &out);
    // About once a second. Returns true when the loader gave up after kIdleSeconds without a
    // byte (the old firmware runs again); repeats "Initial OK" after a restart until the
    // application talks (heard()).
    bool tick(double now, std::vector<Chunk> &out);
    // A byte arrived in command mode: the application talks again, no more announcements.
    void heard() { m_announce = 0; }

    QString takeFirmwareVersion();
    // The firmware of the last complete upgrade, all its blocks (padding included).
    const QByteArray &installedImage() const { return m_installed; }

private:
    void finish(std::vector<Chunk> &out);
    // The image ended: a header image must be complete and carry the right checksum.
    bool imageIntact() const;

    Mode m_mode = Mode::Command;
    int m_lineSpeed = 0;
    int m_syncSpeed = 0;
    QByteArray m_imageHead;
    qint64 m_imageLength = -1; // from the image header, -1 when unknown
    qint64 m_imageCount = 0;
    unsigned m_imageSum = 0; // sum of the image bytes before the last one
    char m_imageLast = 0;    // the last image byte so far
    Faults m_faults;
    int m_blockCount = 0;
    int m_blocksDone = 0;
    int m_blocksAnswered = 0; // blocks received, good or not
    QByteArray m_block;
    QByteArray m_firmwareImage;
    QByteArray m_installed;
    QString m_version;
    double m_lastByte = 0.0;
    int m_announce = 0;
};

} // namespace Krn4Sim
