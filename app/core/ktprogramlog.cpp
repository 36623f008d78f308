#include "ktprogramlog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutexLocker>

#include "ktplatform.h"

ktProgramLog *ktProgramLog::instance()
{
    static ktProgramLog log; // thread-safe static initialisation
    return &log;
}

QString ktProgramLog::currentPath()
{
    return KtPlatform::programLogPath(QDate::currentDate());
}

QString ktProgramLog::formatLine(const QString &text, const QString &colour)
{
    return QStringLiteral("<font color=%1>[%2] %3</font>")
        .arg(colour, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")), text);
}

QString ktProgramLog::stripMarkup(const QString &line)
{
    const int open = line.indexOf(QLatin1Char('>'));
    if (open < 0)
        return line;
    const int close = line.indexOf(QLatin1Char('<'), open + 1);
    return close < 0 ? line.mid(open + 1) : line.mid(open + 1, close - open - 1);
}

void ktProgramLog::write(const QString &line)
{
    QMutexLocker guard(&m_lock);
    const QString path = currentPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
        return;
    file.write((line + QStringLiteral("\r\n")).toUtf8());
}

void ktProgramLog::writeMarkup(const QString &line)
{
    write(stripMarkup(line));
}

void ktProgramLog::log(const QString &text, const QString &colour)
{
    writeMarkup(formatLine(text, colour));
}
