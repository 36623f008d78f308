#include "simbootloader.h"

namespace Krn4Sim {

namespace {
const QByteArray kImageMagic = "KBL1";
const QByteArray kFirmwareMarker = "KRN4FW:";
} // namespace

void SimBootLoader::start(double now)
{
    m_mode = Mode::BootSync;
    m_lastByte = now;
}

bool SimBootLoader::feed(char byte, double now, std::vector<Chunk> &out)
{
    const auto b = static_cast<unsigned char>(byte);
    m_lastByte = now;
    switch (m_mode) {
    case Mode::BootSync:
        if (byte == 'A') {
            out.push_back({QByteArray(1, 'A'), 0, {}});
            m_mode = Mode::BootImage;
            m_syncSpeed = m_lineSpeed;
            m_imageHead.clear();
            m_imageLength = -1;
            m_imageCount = 0;
            m_imageSum = 0;
        }
        return false;
    case Mode::BootImage: {
        // The image ends where its header says; without a header, at the switch of the line
        // to another speed (the application moves from 38400 to 115200 baud for the count).
        const bool speedSwitched =
            m_syncSpeed > 0 && m_lineSpeed > 0 && m_lineSpeed != m_syncSpeed && m_imageCount > 0;
        if (!speedSwitched && (m_imageLength < 0 || m_imageCount < m_imageLength)) {
            if (m_imageCount != m_faults.dropEcho)
                out.push_back({QByteArray(1, byte), 0, {}});
            else
                m_faults.dropEcho = -1;
            if (m_imageCount > 0)
                m_imageSum += static_cast<unsigned char>(m_imageLast);
            m_imageLast = byte;
            ++m_imageCount;
            if (m_imageHead.size() < 8) {
                m_imageHead += byte;
                if (m_imageHead.size() == 8 && m_imageHead.startsWith(kImageMagic)) {
                    const auto *h = reinterpret_cast<const unsigned char *>(m_imageHead.constData());
                    m_imageLength =
                        qint64(h[4]) | qint64(h[5]) << 8 | qint64(h[6]) << 16 | qint64(h[7]) << 24;
                    // A length the probe cannot hold: the image ends at once and is refused.
                    if (m_imageLength <= 8 || m_imageLength > kMaxImageBytes)
                        m_imageLength = 0;
                }
            }
            return false;
        }
        if (!imageIntact()) {
            // The loader in RAM is damaged: nothing runs that could answer.
            m_mode = Mode::BootHalted;
            return false;
        }
        m_mode = Mode::BootCount;
        [[fallthrough]];
    }
    case Mode::BootCount:
        m_blockCount = b;
        m_blocksDone = 0;
        m_block.clear();
        m_firmwareImage.clear();
        out.push_back({QByteArray(1, byte), 0, {}});
        m_mode = Mode::BootStart;
        return false;
    case Mode::BootStart:
        if (b != 0x55)
            return false;
        out.push_back({QByteArray(1, char(0xAA)), 0, {}});
        m_mode = Mode::BootBlocks;
        m_blocksAnswered = 0;
        if (m_blockCount > 0)
            return false;
        finish(out);
        return true;
    case Mode::BootBlocks: {
        m_block += byte;
        if (m_block.size() < kBlockSize + 1)
            return false;
        unsigned sum = 0;
        for (int i = 0; i < kBlockSize; ++i)
            sum += static_cast<unsigned char>(m_block[i]);
        // A bad block is not acknowledged; the loader waits for it again.
        if (++m_blocksAnswered == m_faults.badAck) {
            m_faults.badAck = -1;
            out.push_back({QByteArray(1, char(0x00)), 0, {}});
        } else if ((sum & 0xFF) == static_cast<unsigned char>(m_block[kBlockSize])) {
            m_firmwareImage += m_block.left(kBlockSize);
            ++m_blocksDone;
            out.push_back({QByteArray(1, char(0xAA)), 0, {}});
        }
        m_block.clear();
        if (m_blocksDone < m_blockCount)
            return false;
        finish(out);
        return true;
    }
    case Mode::BootHalted:
    case Mode::Command:
        return false;
    }
    return false;
}

bool SimBootLoader::imageIntact() const
{
    if (m_imageLength < 0)
        return true; // an image without a header (the probe maker's) carries no check we know
    // "KBL1", the total length, the loader, and a last byte that is the sum of all bytes
    // before it modulo 256; an image cut short by the speed switch is refused as well.
    return m_imageLength > 8 && m_imageCount == m_imageLength &&
           (m_imageSum & 0xFF) == static_cast<unsigned char>(m_imageLast);
}

void SimBootLoader::finish(std::vector<Chunk> &out)
{
    // A firmware image may carry its version as "KRN4FW:" + text up to a NUL or line end.
    m_version.clear();
    const int at = m_firmwareImage.indexOf(kFirmwareMarker);
    if (at >= 0) {
        QByteArray v = m_firmwareImage.mid(at + kFirmwareMarker.size(), 32);
        for (int i = 0; i < v.size(); ++i) {
            if (v[i] == '\0' || v[i] == '\n' || v[i] == '\r' || static_cast<unsigned char>(v[i]) == 0xFF) {
                v.truncate(i);
                break;
            }
        }
        m_version = QString::fromLatin1(v);
    }
    m_installed.swap(m_firmwareImage);
    m_firmwareImage.clear();
    m_mode = Mode::Command;
    if (m_faults.noRestart) {
        m_faults.noRestart = false;
        return;
    }
    // The probe restarts and announces itself; repeated by tick() while nobody talks to it.
    out.push_back({"Initial OK", 300, {}});
    m_announce = 10;
}

QString SimBootLoader::takeFirmwareVersion()
{
    QString v;
    v.swap(m_version);
    return v;
}

bool SimBootLoader::tick(double now, std::vector<Chunk> &out)
{
    if (active() && now - m_lastByte > kIdleSeconds) {
        // Nobody finished the upgrade: the loader gives up and the old firmware runs again.
        m_mode = Mode::Command;
        m_block.clear();
        return true;
    }
    if (!active() && m_announce > 0) {
        --m_announce;
        out.push_back({"Initial OK", 0, {}});
    }
    return false;
}

} // namespace Krn4Sim
