#include "ptypeer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyPeer::~PtyPeer()
{
    close();
}

bool PtyPeer::open(const QString &linkPath)
{
    close();
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0)
        return false;
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        close();
        return false;
    }
    char name[128] = {};
    if (::ptsname_r(m_master, name, sizeof name) != 0) {
        close();
        return false;
    }
    m_slave = QString::fromLocal8Bit(name);
    // Raw line discipline: no echo, no CR/LF translation, so bytes pass unchanged both ways.
    termios tio{};
    if (::tcgetattr(m_master, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_master, TCSANOW, &tio);
    }
    if (!linkPath.isEmpty()) {
        QFile::remove(linkPath);
        if (!QFile::link(m_slave, linkPath)) {
            close();
            return false;
        }
        m_link = linkPath;
    }
    return true;
}

void PtyPeer::close()
{
    // The link goes with the device, as a vanished USB adapter's node does: a stale link could
    // otherwise point at an unrelated pty that reuses the same /dev/pts number.
    if (!m_link.isEmpty())
        QFile::remove(m_link);
    m_link.clear();
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
    m_pending.clear();
}

bool PtyPeer::write(const QByteArray &bytes)
{
    if (m_master < 0)
        return false;
    qint64 done = 0;
    QElapsedTimer clock;
    clock.start();
    while (done < bytes.size() && clock.elapsed() < 5000) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else {
            pollfd p{m_master, POLLOUT, 0};
            ::poll(&p, 1, 10);
        }
    }
    return done == bytes.size();
}

// Waits up to sliceMs for bytes and appends what one read() returns; false when none came.
bool PtyPeer::pollAppend(QByteArray &out, int sliceMs)
{
    pollfd p{m_master, POLLIN, 0};
    if (::poll(&p, 1, sliceMs) <= 0 || !(p.revents & POLLIN))
        return false;
    char buf[4096];
    const ssize_t n = ::read(m_master, buf, sizeof buf);
    if (n > 0)
        out.append(buf, int(n));
    return n > 0;
}

QByteArray PtyPeer::read(int waitMs)
{
    QByteArray out = m_pending;
    m_pending.clear();
    QElapsedTimer clock;
    clock.start();
    // Once data came, a short quiet gap ends the read.
    while (m_master >= 0 && clock.elapsed() <= waitMs) {
        if (!pollAppend(out, out.isEmpty() ? 10 : 20) && !out.isEmpty())
            break;
    }
    return out;
}

QByteArray PtyPeer::readUntil(char terminator, int timeoutMs)
{
    QByteArray out = m_pending;
    m_pending.clear();
    QElapsedTimer clock;
    clock.start();
    while (m_master >= 0 && !out.contains(terminator) && clock.elapsed() <= timeoutMs)
        pollAppend(out, 10);
    const int end = out.indexOf(terminator);
    if (end >= 0) {
        m_pending = out.mid(end + 1);
        out.truncate(end + 1);
    }
    return out;
}

QByteArray PtyPeer::readCommand(int timeoutMs)
{
    QByteArray got;
    QElapsedTimer clock;
    clock.start();
    while (!got.contains('\r') && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents();
        got += readUntil('\r', 5);
    }
    return got;
}
