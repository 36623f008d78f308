#include "ktsimulatedprobe.h"

#include "ktplatform.h"

#include "ktprogramlog.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QThread>
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
    return KtPlatform::simulatorControl(m_linkPath + QStringLiteral(".ctl"), line, timeoutMs);
}

void KtSimulatedProbe::followWindow(QWidget *window)
{
    m_follower.reset();
    if (m_readsScreen && window && m_process.state() == QProcess::Running)
        m_follower = std::make_unique<KtScreenFollower>(this, window);
}

QString KtSimulatedProbe::simulatorPath()
{
    const QString forced = QString::fromLocal8Bit(qgetenv("KT_SIM_BIN"));
    if (!forced.isEmpty())
        return forced;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/krn4-sim");
}

bool KtSimulatedProbe::start(int timeoutMs)
{
    const QString program = simulatorPath();
    if (!QFileInfo(program).isExecutable()) {
        m_error = QStringLiteral("The simulated probe %1 was not found.").arg(program);
        return false;
    }
    const QString dir = KtPlatform::virtualPortDir();
    if (dir.isEmpty()) {
        m_error = KtPlatform::virtualPortDirProblem();
        return false;
    }
    QDir().mkpath(dir);
    // A fresh name: a link left by a running simulator (another instance) is not reused.
    m_portName = QStringLiteral("KRN4-SIM");
    for (int n = 2; QFileInfo(dir + "/" + m_portName).exists(); ++n)
        m_portName = QStringLiteral("KRN4-SIM-%1").arg(n);
    const QString link = dir + "/" + m_portName;
    QFile::remove(link); // a dangling link of a simulator that died

    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    // --exit-with-parent: a program that crashes (and so never reaches stop()) does not leave
    // its simulator running.
    QStringList arguments{QStringLiteral("--link"), link, QStringLiteral("--exit-with-parent")};
    // On an X display the simulator can look at the program's own windows.
    m_readsScreen = QGuiApplication::platformName() == QLatin1String("xcb");
    if (m_readsScreen)
        arguments << QStringLiteral("--x11");
    m_linkPath = link;
    m_process.start(program, arguments);
    if (!m_process.waitForStarted(timeoutMs)) {
        m_error = m_process.errorString();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        // The control socket is made before the link, so both are there.
        if (QFileInfo::exists(link))
            return true;
        if (m_process.state() == QProcess::NotRunning) {
            m_error = QStringLiteral("The simulated probe ended before it made its port.");
            return false;
        }
        QThread::msleep(10);
    }
    m_error = QStringLiteral("The simulated probe made no port at %1.").arg(link);
    stop();
    return false;
}

void KtSimulatedProbe::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}
