#pragma once

#include "simcontrol.h"
#include "simprobe.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <vector>

class QLocalServer;
class QSocketNotifier;
class QTimer;

namespace Krn4Sim {

// Serves one SimProbe on a pseudo-terminal: the link (a symlink to the pty slave) is what the
// application opens as its serial port; the control socket beside it changes what the probe
// sees and injects faults. Event driven: socket notifiers on the master, no busy waiting.
class SimServer : public QObject
{
    Q_OBJECT
public:
    SimServer(SimProbe &probe, SimFaults &faults, QObject *parent = nullptr);
    ~SimServer() override;

    // Creates the pty, the control socket and then the link (in that order, so that a client
    // that sees the link can also reach the control socket).
    bool start(const QString &linkPath, const QString &controlPath, QString *error);
    // Removes link and control socket, closes the pty.
    void shutdown();

    bool unplug();
    bool replug(QString *error = nullptr);
    QString slavePath() const { return m_slave; }

    // Handler for "screen ..." control commands (installed by the program when it can read the
    // X screen); returns the reply line.
    void setScreenHandler(std::function<QString(const QString &)> handler)
    {
        m_screenHandler = std::move(handler);
    }
    void setDfuAbsenceMs(int ms) { m_dfuAbsenceMs = ms; }

private:
    bool openPty(QString *error);
    void closePty();
    bool makeLink(QString *error);
    void onReadable();
    void onWritable();
    void onHangupPoll();
    void onSlaveOpened();
    void waitForOpen();
    void onTick();
    void emitChunks(std::vector<SimProbe::Chunk> &chunks);
    void deliver(const QByteArray &bytes, int delayMs);
    void enqueue(const QByteArray &bytes);
    void flush();
    void onControlConnection();
    QString control(const QString &line);
    int lineSpeed() const;

    SimProbe &m_probe;
    SimFaults &m_faults;
    int m_master = -1;
    unsigned m_generation = 0; // bumps at every unplug so that late writes are dropped
    QString m_slave;
    QString m_link;
    QString m_controlPath;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QTimer *m_hangupTimer = nullptr; // slow fallback while nobody has the port open
    int m_inotify = -1;              // wakes us when the application opens the slave
    QSocketNotifier *m_openNotifier = nullptr;
    QTimer *m_tickTimer = nullptr;
    QLocalServer *m_control = nullptr;
    std::deque<QByteArray> m_out;
    qsizetype m_outBytes = 0;
    qsizetype m_outOffset = 0;
    std::vector<SimProbe::Chunk> m_chunks;
    std::function<QString(const QString &)> m_screenHandler;
    int m_dfuAbsenceMs = 3000;
};

} // namespace Krn4Sim
