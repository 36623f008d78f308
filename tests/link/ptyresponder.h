#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QThread>

#include <atomic>
#include <functional>

class PtyPeer;

// Plays the probe on the master side of a PtyPeer from its own thread, so that blocking
// exchanges on the GUI thread get their answer. Every command (bytes up to and including "\r")
// is recorded and passed to the handler, whose result is written back after the delay; an
// empty result means silence. While it runs, no other thread may touch the peer.
class PtyResponder : public QThread
{
public:
    using Handler = std::function<QByteArray(const QByteArray &command)>;

    PtyResponder(PtyPeer *peer, Handler handler);
    ~PtyResponder() override;

    void setDelayMs(int ms) { m_delayMs = ms; }
    QList<QByteArray> commands() const;
    QByteArray lastCommand() const;
    int commandCount() const;
    void clearCommands();
    void stop();

protected:
    void run() override;

private:
    PtyPeer *m_peer;
    Handler m_handler;
    std::atomic<int> m_delayMs{0};
    std::atomic<bool> m_stop{false};
    mutable QMutex m_lock;
    QList<QByteArray> m_commands;
};
