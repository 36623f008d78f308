#include "ktsimulatedprobe.h"

#include "ktplatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

KtSimulatedProbe::~KtSimulatedProbe()
{
    stop();
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
    m_process.start(program, {QStringLiteral("--link"), link, QStringLiteral("--exit-with-parent")});
    if (!m_process.waitForStarted(timeoutMs)) {
        m_error = m_process.errorString();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
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
