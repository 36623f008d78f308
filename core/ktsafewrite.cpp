#include "ktsafewrite.h"

#include <QCoreApplication>
#include <QSaveFile>

namespace KtSafeWrite {

namespace {
bool fail(QString *error, const QString &path, const QString &reason)
{
    if (error) {
        const QString why =
            reason.isEmpty() ? QCoreApplication::translate("KtSafeWrite", "the data did not reach the disk")
                             : reason;
        *error = QCoreApplication::translate("KtSafeWrite", "Cannot write %1: %2").arg(path, why);
    }
    return false;
}
} // namespace

bool writeFile(const QString &path, const QByteArray &data, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, path, file.errorString());
    // A QSaveFile that is destroyed without commit() removes its temporary file, so every
    // early return below leaves the previous file alone.
    qint64 done = 0;
    while (done < data.size()) {
        const qint64 n = file.write(data.constData() + done, data.size() - done);
        if (n <= 0)
            return fail(error, path, file.errorString());
        done += n;
    }
    if (!file.flush())
        return fail(error, path, file.errorString());
    if (file.size() != data.size())
        return fail(error, path, QString());
    if (!file.commit())
        return fail(error, path, file.errorString());
    return true;
}

} // namespace KtSafeWrite
