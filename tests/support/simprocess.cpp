#include "simprocess.h"

#include "ktplatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <atomic>

SimProcess::SimProcess(const QStringList &extraArgs, const QString &portName) : m_args(extraArgs)
{
    static std::atomic<int> counter{0};
    m_portName = portName.isEmpty()
                     ? QStringLiteral("KRN4-T%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter)
                     : portName;
    m_linkPath = KtPlatform::virtualPortDir() + "/" + m_portName;
}

SimProcess::~SimProcess()
{
    stop();
}

QString SimProcess::binary()
{
    return QString::fromLocal8Bit(qgetenv("KT_SIM_BIN"));
}

bool SimProcess::start(int timeoutMs)
{
    const QString bin = binary();
    if (bin.isEmpty() || !QFileInfo::exists(bin)) {
        m_error = QStringLiteral("KT_SIM_BIN does not name the krn4-sim program");
        return false;
    }
    QDir().mkpath(KtPlatform::virtualPortDir());
    QFile::remove(m_linkPath);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList args{"--link", m_linkPath, "--exit-with-parent"};
    // A suite that runs on an X display (Xvfb) gets a probe that looks at it: it measures the
    // pattern window the suite shows, unless the suite chose a point itself.
    const bool onX = qgetenv("QT_QPA_PLATFORM") == "xcb" && !qEnvironmentVariableIsEmpty("DISPLAY");
    if (onX && !m_args.contains("--x11") && !m_args.contains("--screen"))
        args << "--x11";
    m_process.start(bin, args + m_args);
    if (!m_process.waitForStarted(timeoutMs)) {
        m_error = m_process.errorString();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (QFileInfo::exists(m_linkPath) && QFileInfo::exists(controlPath()))
            return true;
        if (m_process.state() == QProcess::NotRunning) {
            m_error = QStringLiteral("krn4-sim ended: ") + QString::fromLocal8Bit(m_process.readAll());
            return false;
        }
        QThread::msleep(10);
    }
    m_error = QStringLiteral("krn4-sim link did not appear at ") + m_linkPath;
    return false;
}

void SimProcess::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
}

QString SimProcess::control(const QString &line, int timeoutMs)
{
    return KtPlatform::simulatorControl(controlPath(), line, timeoutMs);
}
