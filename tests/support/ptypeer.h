#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal whose master side the test drives byte by byte: it plays the probe
// exactly as badly as a test needs (split replies, no terminator, garbage, silence).
// The application side opens slavePath() (or the optional link) with a real QSerialPort.
class PtyPeer
{
public:
    PtyPeer() = default;
    ~PtyPeer();
    PtyPeer(const PtyPeer &) = delete;
    PtyPeer &operator=(const PtyPeer &) = delete;

    // Creates the pty pair; with a link path also a symlink to the slave (replacing one).
    bool open(const QString &linkPath = QString());
    // Closes the master side and removes the link: the application sees an unplugged device.
    void close();
    bool isOpen() const { return m_master >= 0; }

    QString slavePath() const { return m_slave; }
    QString linkPath() const { return m_link; }

    bool write(const QByteArray &bytes);
    // Everything that arrived within waitMs (returns early once something arrived and the
    // line has been quiet for a few milliseconds).
    QByteArray read(int waitMs = 200);
    // Bytes up to and including the first terminator, or what arrived before the time-out.
    QByteArray readUntil(char terminator, int timeoutMs = 2000);
    // The next command (bytes up to and including "\r") that the application sends, processing
    // events meanwhile: QSerialPort writes from the event loop.
    QByteArray readCommand(int timeoutMs = 1000);

private:
    bool pollAppend(QByteArray &out, int sliceMs);

    int m_master = -1;
    QString m_slave;
    QString m_link;
    QByteArray m_pending;
};
