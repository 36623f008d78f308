#pragma once

#include <QDate>
#include <QFile>
#include <QMutex>
#include <QString>

// The daily program log: documents folder + "/" + "yyyy-MM-dd" (no extension). Every page's
// log panel and the main window write through the one instance. Each line is appended and
// followed by "\r\n" and flushed; a run past midnight continues in the next day's file.
class ktProgramLog
{
public:
    static ktProgramLog *instance();

    // Path of today's file.
    static QString currentPath();

    // The page log line "<font color=" + colour + ">[yyyy-MM-dd hh:mm:ss.zzz] text</font>".
    static QString formatLine(const QString &text, const QString &colour);
    // What lies between the first ">" and the following "<" of a formatted line, i.e.
    // "[time stamp] text"; a line without markup is returned unchanged.
    static QString stripMarkup(const QString &line);

    // Appends a plain line.
    void write(const QString &line);
    // Appends a formatted line with its markup stripped.
    void writeMarkup(const QString &line);
    // formatLine + writeMarkup: what the main window's log does (it has no panel).
    void log(const QString &text, const QString &colour);

private:
    ktProgramLog() = default;
    QMutex m_lock;
    QDate m_day;
    QFile m_file;
};
