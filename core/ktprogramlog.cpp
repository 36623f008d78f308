#include "ktprogramlog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutexLocker>

#include "ktpaths.h"

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
    const QDate today = QDate::currentDate();
    if (today != m_day || !m_file.isOpen()) {
        // Opened once per day and kept open; each line is flushed so that nothing waits in a
        // buffer when the program ends abruptly.
        m_file.close();
        m_day = today;
        m_file.setFileName(KtPlatform::programLogPath(today));
        if (!m_file.open(QIODevice::ReadWrite | QIODevice::Append)) {
            QDir().mkpath(QFileInfo(m_file.fileName()).absolutePath());
            if (!m_file.open(QIODevice::ReadWrite | QIODevice::Append))
                return;
        }
    }
    m_file.write((line + QStringLiteral("\r\n")).toUtf8());
    m_file.flush();
}

void ktProgramLog::writeMarkup(const QString &line)
{
    write(stripMarkup(line));
}

void ktProgramLog::log(const QString &text, const QString &colour)
{
    // What stripping the formatted line gives, built directly so that a "<" in the text
    // cannot cut the line short.
    Q_UNUSED(colour);
    write(QLatin1Char('[') +
          QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")) +
          QStringLiteral("] ") + text);
}
