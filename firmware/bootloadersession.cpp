#include "bootloadersession.h"

#include <QCoreApplication>

BootLoaderSession::Problem BootLoaderSession::checkFirmwareSize(qint64 size)
{
    if (size <= 0)
        return Problem::EmptyFirmware;
    if (size >= qint64(MaxBlocks) * BlockSize)
        return Problem::FirmwareTooLarge;
    return Problem::None;
}

int BootLoaderSession::blockCount(qint64 size)
{
    return int(size / BlockSize) + 1;
}

quint8 BootLoaderSession::checksum(const QByteArray &bytes)
{
    unsigned sum = 0;
    for (char c : bytes)
        sum += static_cast<unsigned char>(c);
    return static_cast<quint8>(sum & 0xFF);
}

QByteArray BootLoaderSession::blockWithChecksum(const QByteArray &firmware, int k)
{
    QByteArray block = firmware.mid(k * BlockSize, BlockSize);
    block.append(BlockSize - block.size(), char(0xFF));
    block.append(char(checksum(block)));
    return block;
}

BootLoaderSession::BootLoaderSession(const QByteArray &loaderImage, const QByteArray &firmware)
    : m_loader(loaderImage), m_firmware(firmware)
{
    const Problem sizeProblem = checkFirmwareSize(firmware.size());
    if (sizeProblem != Problem::None)
        fail(sizeProblem);
    else if (loaderImage.isEmpty())
        fail(Problem::EmptyLoader);
    else
        m_blocks = blockCount(firmware.size());
}

BootLoaderSession::Exchange BootLoaderSession::current() const
{
    Exchange e;
    switch (m_stage) {
    case Stage::Sync:
        e.send = e.expect = QByteArray(1, 'A');
        break;
    case Stage::LoaderImage:
        e.send = e.expect = QByteArray(1, m_loader.at(m_position));
        break;
    case Stage::BlockCount:
        e.baud = TransferBaud;
        e.send = e.expect = QByteArray(1, char(m_blocks));
        break;
    case Stage::Start:
        e.baud = TransferBaud;
        e.send = QByteArray(1, char(0x55));
        e.expect = QByteArray(1, char(0xAA));
        break;
    case Stage::Blocks:
        e.baud = TransferBaud;
        e.send = blockWithChecksum(m_firmware, m_position);
        e.expect = QByteArray(1, char(0xAA));
        break;
    case Stage::Restart:
        e.baud = TransferBaud;
        e.expect = "Initial OK";
        e.timeoutMs = RestartTimeoutMs;
        e.search = true;
        break;
    case Stage::Done:
    case Stage::Failed:
        break;
    }
    return e;
}

void BootLoaderSession::complete(const QByteArray &reply)
{
    if (finished())
        return;
    const Exchange e = current();
    const bool good = e.search ? reply.contains(e.expect) : reply.left(e.expect.size()) == e.expect;
    switch (m_stage) {
    case Stage::Sync:
        if (!good)
            return fail(Problem::NoSync);
        m_stage = Stage::LoaderImage;
        m_position = 0;
        break;
    case Stage::LoaderImage:
        // A lost echo means the loader in the probe's RAM is incomplete: going on to the block
        // count would hand the firmware to a program that is not there.
        if (!good)
            return fail(Problem::LoaderEcho);
        m_progress = int(qint64(m_position + 1) * 50 / m_loader.size());
        if (++m_position == m_loader.size()) {
            m_stage = Stage::BlockCount;
            m_position = 0;
        }
        break;
    case Stage::BlockCount:
        if (!good)
            return fail(Problem::BlockCount);
        m_stage = Stage::Start;
        break;
    case Stage::Start:
        if (!good)
            return fail(Problem::Start);
        m_stage = Stage::Blocks;
        m_position = 0;
        break;
    case Stage::Blocks:
        if (!good)
            return fail(Problem::BlockAck);
        m_progress = (m_blocks + m_position + 1) * 50 / m_blocks;
        if (++m_position == m_blocks)
            m_stage = Stage::Restart;
        break;
    case Stage::Restart:
        if (!good)
            return fail(Problem::NoRestartAnswer);
        m_stage = Stage::Done;
        break;
    case Stage::Done:
    case Stage::Failed:
        break;
    }
}

bool BootLoaderSession::firmwareWritten() const
{
    return m_stage == Stage::Restart || m_stage == Stage::Done || m_problem == Problem::NoRestartAnswer;
}

void BootLoaderSession::fail(Problem problem)
{
    m_problem = problem;
    m_stage = Stage::Failed;
}

QString BootLoaderSession::describe(Problem problem)
{
    switch (problem) {
    case Problem::None:
        return QCoreApplication::translate("BootLoaderSession", "no problem");
    case Problem::EmptyLoader:
        return QCoreApplication::translate("BootLoaderSession", "the loader image is empty");
    case Problem::EmptyFirmware:
        return QCoreApplication::translate("BootLoaderSession", "the firmware file is empty");
    case Problem::FirmwareTooLarge:
        return QCoreApplication::translate("BootLoaderSession",
                                           "the firmware needs more than 255 blocks of 4096 bytes");
    case Problem::NoSync:
        return QCoreApplication::translate("BootLoaderSession",
                                           "the boot loader did not answer the synchronisation");
    case Problem::LoaderEcho:
        return QCoreApplication::translate("BootLoaderSession", "a loader byte was not echoed");
    case Problem::BlockCount:
        return QCoreApplication::translate("BootLoaderSession", "the block count was not echoed");
    case Problem::Start:
        return QCoreApplication::translate("BootLoaderSession", "the start byte was not acknowledged");
    case Problem::BlockAck:
        return QCoreApplication::translate("BootLoaderSession", "a block was not acknowledged");
    case Problem::NoRestartAnswer:
        return QCoreApplication::translate("BootLoaderSession", "the probe did not answer after its restart");
    }
    return QString();
}
