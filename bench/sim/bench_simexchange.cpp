// Exchanges per second with krn4-sim at zero latency through its pseudo-terminal: a client
// writes a command, waits for the "\r" of the reply, and repeats. Commands alternate between
// a measurement (MES,1) and a short query (STR,3), as a measuring page does.
// Target: at least 5000 exchanges per second. The last line prints the figure.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

bool exchange(int fd, const char *cmd, size_t len, char *buf, size_t cap)
{
    if (::write(fd, cmd, len) != ssize_t(len))
        return false;
    size_t got = 0;
    for (;;) {
        struct pollfd p = {fd, POLLIN, 0};
        if (::poll(&p, 1, 2000) <= 0)
            return false;
        const ssize_t n = ::read(fd, buf + got, cap - got);
        if (n <= 0)
            return false;
        got += size_t(n);
        if (buf[got - 1] == '\r')
            return true;
        if (got >= cap)
            got = 0;
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QString bin = qEnvironmentVariable("KT_SIM_BIN");
    if (bin.isEmpty())
        bin = QStringLiteral(KT_SIM_BIN_DEFAULT);
    QTemporaryDir dir;
    const QString link = dir.filePath("KRN4-BENCH");
    QProcess sim;
    sim.setStandardErrorFile(QProcess::nullDevice());
    sim.start(bin, {"--link", link});
    if (!sim.waitForStarted(5000)) {
        out << "cannot start " << bin << "\n";
        return 1;
    }
    QElapsedTimer wait;
    wait.start();
    while (!QFileInfo::exists(link) && wait.elapsed() < 5000)
        QThread::msleep(10);
    const int fd = ::open(QFile::encodeName(link).constData(), O_RDWR | O_NOCTTY);
    if (fd < 0) {
        out << "cannot open " << link << "\n";
        return 1;
    }
    struct termios tio;
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);

    char buf[4096];
    static const char mes[] = "MES,1\r", str[] = "STR,3\r";
    for (int i = 0; i < 200; ++i) // warm up
        exchange(fd, str, sizeof str - 1, buf, sizeof buf);
    int n = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3000) {
        const bool ok = (n & 1) ? exchange(fd, str, sizeof str - 1, buf, sizeof buf)
                                : exchange(fd, mes, sizeof mes - 1, buf, sizeof buf);
        if (!ok) {
            out << "exchange failed after " << n << " exchanges\n";
            return 1;
        }
        ++n;
    }
    const double rate = n * 1000.0 / double(clock.elapsed());
    ::close(fd);
    sim.terminate();
    sim.waitForFinished(3000);
    out << n << " exchanges in " << clock.elapsed() << " ms (target >= 5000/s)\n";
    out << "krn4-sim exchanges per second: " << qRound(rate) << "\n";
    return rate >= 5000 ? 0 : 2;
}
