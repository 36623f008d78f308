#include "ktplatform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace KtPlatform {

QStringList textEditorCommand()
{
    for (const char *name : {"KT_TEXT_EDITOR", "VISUAL", "EDITOR"}) {
        const QString value = QString::fromLocal8Bit(qgetenv(name)).trimmed();
        if (value.isEmpty())
            continue;
        // "gedit --wait" and the like: the program and its options, split on blanks.
        const QStringList parts = QProcess::splitCommand(value);
        if (!parts.isEmpty() && !QStandardPaths::findExecutable(parts.first()).isEmpty())
            return parts;
        if (!parts.isEmpty() && QFileInfo(parts.first()).isExecutable())
            return parts;
    }
    // Desktop editors that stay in the foreground until their window closes (gedit needs
    // --wait, or it hands the file to a running instance and returns at once).
    const QList<QStringList> desktop = {{"gnome-text-editor", "--standalone"},
                                        {"gedit", "--wait"},
                                        {"kate", "--block"},
                                        {"mousepad"},
                                        {"xed", "--wait"},
                                        {"pluma"},
                                        {"featherpad", "--standalone"},
                                        {"leafpad"}};
    for (const QStringList &candidate : desktop) {
        if (!QStandardPaths::findExecutable(candidate.first()).isEmpty())
            return candidate;
    }
    return {};
}

bool editTextFileAndWait(const QString &filePath)
{
    QStringList command = textEditorCommand();
    if (command.isEmpty())
        return false;
    if (!QFileInfo::exists(filePath)) {
        QDir().mkpath(QFileInfo(filePath).absolutePath());
        QFile file(filePath);
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    QProcess editor;
    const QString program = command.takeFirst();
    editor.start(program, command << filePath);
    if (!editor.waitForStarted(5000))
        return false;
    // The operator may keep the editor open as long as they like: no time limit, but the
    // event loop keeps running so the window repaints while we wait.
    while (editor.state() != QProcess::NotRunning) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        editor.waitForFinished(50);
    }
    return editor.exitStatus() == QProcess::NormalExit;
}

bool openDocument(const QString &filePath)
{
    if (!QFileInfo::exists(filePath))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(filePath));
}

namespace {
int signalPipe[2] = {-1, -1};

void onTerminationSignal(int)
{
    // Only async-signal-safe work here: wake the event loop through the socket.
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[0], &byte, 1);
}
} // namespace

void quitOnTerminationSignals()
{
    if (signalPipe[0] >= 0 || !QCoreApplication::instance())
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[1], &byte, 1);
        notifier->setEnabled(false);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(sig, &action, nullptr);
}

QString dfuToolPath()
{
    const QString forced = envPath("KT_DFU_TOOL");
    if (!forced.isEmpty())
        return QFileInfo(forced).isExecutable() ? forced : QString();
    // The vendor's tool where it was installed beside the program, as on Windows; else dfu-util.
    const QString programDir = QCoreApplication::applicationDirPath();
    for (const char *vendor : {"DfuSeCommand.exe", "DfuSeCommand"}) {
        const QFileInfo beside(programDir + QLatin1Char('/') + QLatin1String(vendor));
        if (beside.isFile() && beside.isExecutable())
            return beside.filePath();
    }
    return QStandardPaths::findExecutable("dfu-util");
}

} // namespace KtPlatform
