#pragma once

#include <QByteArray>
#include <QString>

// The exchange with the probe's serial boot loader as a plain state machine, without I/O:
// it says which line speed to use, what to send and which reply to expect; the caller does the
// transfer and hands each reply back. Stages, in order:
//   Sync        38400 baud, "A" -> "A"
//   LoaderImage each byte of the loader image -> the same byte (echo)
//   BlockCount  115200 baud, N = size / 4096 + 1 -> the same byte
//   Start       0x55 -> 0xAA
//   Blocks      N times 4096 bytes (the last padded with 0xFF) + checksum -> 0xAA
//   Restart     nothing sent -> "Initial OK" when the probe has restarted with the new firmware
// Any reply that differs ends the session as Failed; nothing is retried, because a half-written
// flash is only recovered by starting again from the probe's reboot.
class BootLoaderSession
{
public:
    static constexpr int BlockSize = 4096;
    // The block count travels in one byte.
    static constexpr int MaxBlocks = 255;
    static constexpr int SyncBaud = 38400;
    static constexpr int TransferBaud = 115200;
    static constexpr int ReplyTimeoutMs = 5000;
    // The probe erases and restarts after the last block; 3 s is its usual time, the rest margin.
    static constexpr int RestartTimeoutMs = 8000;

    enum class Stage
    {
        Sync,
        LoaderImage,
        BlockCount,
        Start,
        Blocks,
        Restart,
        Done,
        Failed
    };

    enum class Problem
    {
        None,
        EmptyLoader,      // no loader image to send
        EmptyFirmware,    // nothing to write
        FirmwareTooLarge, // more blocks than one count byte announces
        NoSync,           // the boot loader did not answer "A"
        LoaderEcho,       // a loader byte came back wrong or not at all
        BlockCount,       // the count byte was not echoed
        Start,            // 0x55 was not answered 0xAA
        BlockAck,         // a block was not acknowledged
        NoRestartAnswer   // all blocks went through, but the probe did not announce itself
    };

    // One step on the line. An empty send only listens.
    struct Exchange
    {
        int baud = SyncBaud;
        QByteArray send;
        QByteArray expect;
        int timeoutMs = ReplyTimeoutMs;
        // The expected bytes may follow other bytes (a restarting probe may emit noise first).
        bool search = false;
    };

    // Whether a firmware of that many bytes can be sent; Problem::None when it can.
    static Problem checkFirmwareSize(qint64 size);
    // N = size / 4096 + 1: a file whose size is a multiple of 4096 is followed by a block of
    // 0xFF only (the boot loader expects it).
    static int blockCount(qint64 size);
    // Block k (4096 bytes, padded with 0xFF) followed by its checksum byte.
    static QByteArray blockWithChecksum(const QByteArray &firmware, int k);
    // Sum of the bytes modulo 256.
    static quint8 checksum(const QByteArray &bytes);

    // A session for this loader image and firmware. When either cannot be sent the session
    // starts as Failed with the reason, before anything would go on the line.
    BootLoaderSession(const QByteArray &loaderImage, const QByteArray &firmware);

    Stage stage() const { return m_stage; }
    Problem problem() const { return m_problem; }
    bool finished() const { return m_stage == Stage::Done || m_stage == Stage::Failed; }
    // Position within the stage: the loader byte or the block being exchanged.
    int position() const { return m_position; }
    int blocks() const { return m_blocks; }
    // The exchange to do now (meaningless once finished).
    Exchange current() const;
    // The bytes that arrived for current() (empty on time-out): moves on, or fails.
    void complete(const QByteArray &reply);
    // 0..100: the loader image fills the first half, the blocks the second.
    int progress() const { return m_progress; }
    // Whether the firmware went into the probe (all blocks acknowledged), whatever came after.
    bool firmwareWritten() const;

    // What went wrong, in the operator's language (English source), for the log.
    static QString describe(Problem problem);

private:
    void fail(Problem problem);

    QByteArray m_loader;
    QByteArray m_firmware;
    int m_blocks = 0;
    Stage m_stage = Stage::Sync;
    Problem m_problem = Problem::None;
    int m_position = 0;
    int m_progress = 0;
};
