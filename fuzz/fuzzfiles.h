#pragma once

// What the harnesses whose code under test takes a path share: a scratch folder made once per
// process (in memory where there is a /dev/shm: every QSettings write syncs to disk) and removed
// at exit, and a file writer that gives every file a modification time of its own (QSettings
// keeps parsed files and reads one again only when its size or time changed, and two runs can
// write files of the same size within one millisecond).

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>

namespace FuzzFiles {

inline void check(bool property)
{
    if (!property)
        __builtin_trap();
}

// The scratch folder; with setDataRoot also the application's data folder (KT_DATA_ROOT), which
// is chosen once per process, so it must be set before the first path is asked for.
inline QString scratchDir(bool setDataRoot = false)
{
    static const QString dir = [setDataRoot] {
        static char shm[] = "/dev/shm/kt-fuzz-XXXXXX";
        static char tmp[] = "/tmp/kt-fuzz-XXXXXX";
        static const char *root = nullptr;
        root = mkdtemp(shm) ? shm : mkdtemp(tmp);
        check(root != nullptr);
        if (setDataRoot)
            check(setenv("KT_DATA_ROOT", root, 1) == 0);
        std::atexit([] { QDir(QString::fromLocal8Bit(root)).removeRecursively(); });
        return QString::fromLocal8Bit(root);
    }();
    return dir;
}

inline void writeFile(const QString &path, const QByteArray &content)
{
    static long long stamp = 1000000000;
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();
    const struct timespec times[2] = {{++stamp, 0}, {stamp, 0}};
    utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

} // namespace FuzzFiles
