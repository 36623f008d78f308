#pragma once

#include "ktprogramlog.h"
#include "ktresources.h"
#include "ktsettings.h"
#include "portholder.h"

#include "ptypeer.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QSerialPort>
#include <QTimer>
#include <QWidget>

// Shared pieces of the application-shell suites.
namespace TestHelpers {

// Closes the next modal dialog as soon as it is up (a bounded number of tries), and records
// whether one appeared, so that a test never blocks in exec().
struct ModalCloser
{
    bool seen = false;
    QString text;
    void arm(int tries = 200)
    {
        QTimer::singleShot(10, [this, tries] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                seen = true;
                modal->close();
            } else if (tries > 0) {
                arm(tries - 1);
            }
        });
    }
};

inline QString programLog()
{
    ktProgramLog::instance()->flush();
    QFile file(ktProgramLog::currentPath());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

inline int countInLog(const QString &needle)
{
    return programLog().count(needle);
}

inline QSerialPort *probePort()
{
    return PortHolder::instance()->probePort();
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
// recorded, and answered with its reply + "\r" when the table has one.
class ProbeResponder : public QObject
{
public:
    ProbeResponder(PtyPeer *peer, QHash<QByteArray, QByteArray> replies)
        : m_peer(peer), m_replies(std::move(replies))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start(5);
    }
    QList<QByteArray> received;

private:
    void poll()
    {
        m_pending += m_peer->read(0);
        int end;
        while ((end = m_pending.indexOf('\r')) >= 0) {
            const QByteArray command = m_pending.left(end);
            m_pending.remove(0, end + 1);
            received << command;
            if (m_replies.contains(command))
                m_peer->write(m_replies.value(command) + "\r");
        }
    }
    PtyPeer *m_peer;
    QHash<QByteArray, QByteArray> m_replies;
    QByteArray m_pending;
    QTimer m_timer;
};

} // namespace TestHelpers
