#include "ptyresponder.h"

#include <QMutexLocker>

#include "ptypeer.h"

PtyResponder::PtyResponder(PtyPeer *peer, Handler handler) : m_peer(peer), m_handler(std::move(handler)) {}

PtyResponder::~PtyResponder()
{
    stop();
}

void PtyResponder::stop()
{
    m_stop = true;
    wait(5000);
}

QList<QByteArray> PtyResponder::commands() const
{
    QMutexLocker guard(&m_lock);
    return m_commands;
}

QByteArray PtyResponder::lastCommand() const
{
    QMutexLocker guard(&m_lock);
    return m_commands.isEmpty() ? QByteArray() : m_commands.last();
}

int PtyResponder::commandCount() const
{
    QMutexLocker guard(&m_lock);
    return m_commands.size();
}

void PtyResponder::clearCommands()
{
    QMutexLocker guard(&m_lock);
    m_commands.clear();
}

void PtyResponder::run()
{
    QByteArray pending;
    while (!m_stop) {
        pending += m_peer->readUntil('\r', 20);
        int end;
        while ((end = pending.indexOf('\r')) >= 0) {
            const QByteArray command = pending.left(end + 1);
            pending.remove(0, end + 1);
            {
                QMutexLocker guard(&m_lock);
                m_commands << command;
            }
            const QByteArray reply = m_handler(command);
            if (m_delayMs > 0)
                msleep(unsigned(m_delayMs.load()));
            if (!reply.isEmpty())
                m_peer->write(reply);
        }
    }
}
