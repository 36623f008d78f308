#pragma once

#include "ptypeer.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>

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
