#pragma once

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QMutex>
#include <QString>

#include <functional>

// The moment a log line is written, read once and shared by every place the line goes (page
// panel, regulate log, program log), so that they all show the same stamp.
struct ktLogTime
{
    QDate day;
    QString stamp; // "yyyy-MM-dd hh:mm:ss.zzz", local time

    static ktLogTime now();
    // "hh:mm:ss.zzz", the regulate log's form.
    QString clock() const { return stamp.mid(11); }
};

// A daily log file that stays open and writes through a buffer. The buffer reaches the disk
// within FlushMs, as soon as the GUI thread's event loop goes idle, when the application
// quits (aboutToQuit, which a SIGINT/SIGTERM/SIGHUP also leads to through
// KtPlatform::quitOnTerminationSignals), on flush() and when the object is destroyed. A line
// for another day closes the file and opens that day's one. Thread-safe.
class ktDailyLogFile
{
public:
    static constexpr int FlushMs = 200;
    using PathForDay = std::function<QString(const QDate &)>;

    explicit ktDailyLogFile(PathForDay pathForDay);
    ~ktDailyLogFile();
    ktDailyLogFile(const ktDailyLogFile &) = delete;
    ktDailyLogFile &operator=(const ktDailyLogFile &) = delete;

    // Appends bytes to the file of day. The folder is created when missing; when the file
    // cannot be opened the bytes are dropped without a message.
    void append(const QDate &day, const QByteArray &bytes);
    void flush();
    QString pathFor(const QDate &day) const { return m_pathForDay(day); }

private:
    bool openFor(const QDate &day);

    PathForDay m_pathForDay;
    QMutex m_lock;
    QDate m_day;
    QFile m_file;
};

// The daily program log: documents folder + "/" + "yyyy-MM-dd" (no extension). Every page's
// log panel and the main window write through the one instance; each line is followed by
// "\r\n". A run past midnight continues in the next day's file.
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
    // The text with every control character shown as an escape ("\r", "\n", "\t", others
    // "\xNN", the Unicode line and paragraph separators "\u2028", "\u2029"), so that a reply
    // holding a line feed cannot forge lines in a log. Text without one comes back as it is.
    static QString escapeControls(const QString &text);

    // Appends a plain line (control characters escaped) to the file of day.
    void write(const QString &line, const QDate &day = QDate::currentDate());
    // Appends a formatted line with its markup stripped.
    void writeMarkup(const QString &line);
    // The line "[stamp] text" (what stripping formatLine gives), for the main window and
    // the port dialog, which have no panel.
    void log(const QString &text, const QString &colour);
    // The line "[stamp] text" with a stamp already taken.
    void log(const ktLogTime &time, const QString &text);
    // Puts the buffered lines on disk now.
    void flush() { m_file.flush(); }

private:
    ktProgramLog();
    ktDailyLogFile m_file;
};
