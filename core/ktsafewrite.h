#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file or nothing. Every export, default install and settings save goes through
// here, because QSaveFile alone is not enough: a small write sits in its buffer, and when the
// flush at commit() fails (full disk, file-size limit) Qt 5.15 may still report success and
// rename a short file over the old one. So the data is written, flushed, every result and the
// final size are checked, and only then committed.
namespace KtSafeWrite {

// Replaces path by data. On any failure returns false with the reason in error, and the file
// that was at path before is left byte-for-byte as it was (or still absent).
bool writeFile(const QString &path, const QByteArray &data, QString *error = nullptr);

} // namespace KtSafeWrite
