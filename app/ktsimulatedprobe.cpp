#include "ktsimulatedprobe.h"

#include "ktplatform.h"

#include "ktprogramlog.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// Tells the simulator where the followed window's centre is, at most every 100 ms while it
// moves (a drag sends many move events; the probe only needs where it ends up).
class KtScreenFollower : public QObject
{
public:
    KtScreenFollower(KtSimulatedProbe *probe, QWidget *window) : m_probe(probe), m_window(window)
    {
        m_settle.setSingleShot(true);
        m_settle.setInterval(100);
        QObject::connect(&m_settle, &QTimer::timeout, this, [this] { sendPosition(); });
        window->installEventFilter(this);
        if (window->isVisible())
            m_settle.start();
    }
    ~KtScreenFollower() override
    {
        if (m_window)
            m_window->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window) {
            switch (event->type()) {
            case QEvent::Show:
            case QEvent::Move:
            case QEvent::Resize:
                m_settle.start();
                break;
            case QEvent::Hide:
                m_settle.stop();
                // Back to the simulator's own search, which finds any other pattern window
                // (the gray-scanning dialog's) that is shown.
                send(QStringLiteral("screen window"));
                break;
            default:
                break;
            }
        }
        return false;
    }

private:
    void sendPosition()
    {
        if (!m_window || !m_window->isVisible())
            return;
        const QPoint centre = m_window->mapToGlobal(m_window->rect().center());
        send(QStringLiteral("screen %1,%2").arg(centre.x()).arg(centre.y()));
    }
    void send(const QString &line)
    {
        const QString reply = m_probe->control(line);
        m_probe->m_followedPoint =
            reply.startsWith(QLatin1String("OK")) && line != QLatin1String("screen window")
                ? line.section(QLatin1Char(' '), 1)
                : QString();
        if (!reply.startsWith(QLatin1String("OK")) && reply != m_lastFailure) {
            m_lastFailure = reply;
            ktProgramLog::instance()->log(
                QCoreApplication::translate("KtSimulatedProbe", "The simulated probe cannot follow the Color "
                                                                "Window: %1")
                    .arg(reply.isEmpty() ? QStringLiteral("no reply") : reply),
                QStringLiteral("red"));
        }
    }

    KtSimulatedProbe *m_probe;
    QPointer<QWidget> m_window;
    QTimer m_settle;
    QString m_lastFailure;
};

KtSimulatedProbe::KtSimulatedProbe() = default;

KtSimulatedProbe::~KtSimulatedProbe()
{
    m_follower.reset();
    stop();
}

QString KtSimulatedProbe::control(const QString &line, int timeoutMs) const
{
    return m_sim.control(line, timeoutMs);
}

void KtSimulatedProbe::followWindow(QWidget *window)
{
    m_follower.reset();
    if (m_readsScreen && window && m_sim.isRunning())
        m_follower = std::make_unique<KtScreenFollower>(this, window);
}

QString KtSimulatedProbe::simulatorPath()
{
    return KtSimulatorProcess::simulatorPath();
}

bool KtSimulatedProbe::start(int timeoutMs)
{
    // On an X display the simulator can look at the program's own windows.
    m_readsScreen = QGuiApplication::platformName() == QLatin1String("xcb");
    return m_sim.start(m_readsScreen ? QStringList{QStringLiteral("--x11")} : QStringList(), timeoutMs);
}

void KtSimulatedProbe::stop()
{
    m_sim.stop();
}
