#pragma once

#include "ktprogramlog.h"
#include "ktresources.h"
#include "ktsettings.h"
#include "pagetest.h" // ModalCloser, probePort, openProbePort: one copy for all page suites

#include "ptypeer.h"

#include <QFile>
#include <QHash>
#include <QTimer>

// Shared pieces of the application-shell suites.
namespace TestHelpers {
using PageTest::ModalCloser;
using PageTest::probePort;

inline QString programLog()
{
    QFile file(ktProgramLog::currentPath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

inline int countInLog(const QString &needle)
{
    return programLog().count(needle);
}

inline bool isGreen(const QString &style)
{
    return style.contains(QLatin1String("stop:0 rgba(0, 255, 0, 255)"));
}

inline bool isRed(const QString &style)
{
    return style.contains(QLatin1String("stop:0 rgba(255, 0, 0, 255)"));
}

// Plays the probe from the master side of a pty, driven by the GUI event loop (blocking
// queries keep processing events while they wait): each complete command (without "\r") is
// recorded, and answered with its reply + "\r" when the table has one. The table may change
// while it runs (a probe that starts answering).
class ProbeResponder : public QObject
{
public:
    ProbeResponder(PtyPeer *peer, QHash<QByteArray, QByteArray> replies)
        : replies(std::move(replies)), m_peer(peer)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start(5);
    }
    QList<QByteArray> received;
    QHash<QByteArray, QByteArray> replies;

private:
    void poll()
    {
        m_pending += m_peer->read(0);
        int end;
        while ((end = m_pending.indexOf('\r')) >= 0) {
            const QByteArray command = m_pending.left(end);
            m_pending.remove(0, end + 1);
            received << command;
            if (replies.contains(command))
                m_peer->write(replies.value(command) + "\r");
        }
    }
    PtyPeer *m_peer;
    QByteArray m_pending;
    QTimer m_timer;
};

} // namespace TestHelpers
