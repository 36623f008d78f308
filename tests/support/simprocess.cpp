#include "simprocess.h"

#include "ktplatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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
    return KtPlatform::startSimulator(m_process, bin, args + m_args, m_linkPath, timeoutMs, &m_error);
}

void SimProcess::stop()
{
    KtPlatform::stopSimulator(m_process);
}

QString SimProcess::control(const QString &line, int timeoutMs)
{
    return KtPlatform::simulatorControl(controlPath(), line, timeoutMs);
}
