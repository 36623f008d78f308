#include "ktprogramlog.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QVector>

#include <atomic>

#include "ktpaths.h"

// ---- time stamp -----------------------------------------------------------------------------

ktLogTime ktLogTime::now()
{
    // Converting to local time and formatting with a pattern costs far more than the rest of
    // a log line; the date and "yyyy-MM-dd hh:mm:ss" part change once a second (so does the
    // UTC offset, at most), hence they are cached per second and per thread.
    struct Cache
    {
        qint64 second = -1;
        QDate day;
        QString prefix;
    };
    thread_local Cache cache;
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    const qint64 second = ms / 1000;
    if (second != cache.second) {
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(second * 1000);
        cache.second = second;
        cache.day = local.date();
        cache.prefix = local.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    }
    const int milli = int(ms % 1000);
    ktLogTime time;
    time.day = cache.day;
    time.stamp.reserve(cache.prefix.size() + 4);
    time.stamp += cache.prefix;
    time.stamp += QLatin1Char('.');
    time.stamp += QLatin1Char(char('0' + milli / 100));
    time.stamp += QLatin1Char(char('0' + milli / 10 % 10));
    time.stamp += QLatin1Char(char('0' + milli % 10));
    return time;
}

// ---- flushing -------------------------------------------------------------------------------

namespace {

// Puts the buffers of every open daily log on disk: FlushMs after the first buffered line,
// when the GUI thread's event loop is about to sleep, and when the application quits.
class Flusher
{
public:
    static Flusher &instance()
    {
        static Flusher flusher;
        return flusher;
    }

    void add(ktDailyLogFile *file)
    {
        QMutexLocker guard(&m_lock);
        m_files.append(file);
    }
    void remove(ktDailyLogFile *file)
    {
        QMutexLocker guard(&m_lock);
        m_files.removeAll(file);
    }

    // After a buffered write, from any thread.
    void schedule()
    {
        if (m_armed.exchange(true))
            return;
        QCoreApplication *app = QCoreApplication::instance();
        if (!app) {
            m_armed = false; // no event loop: the buffer goes at flush() or destruction
            return;
        }
        if (QThread::currentThread() == app->thread())
            arm();
        else
            QMetaObject::invokeMethod(
                app, [this] { arm(); }, Qt::QueuedConnection);
    }

    void flushAll()
    {
        m_armed = false;
        QMutexLocker guard(&m_lock);
        for (ktDailyLogFile *file : qAsConst(m_files))
            file->flush();
    }

private:
    // In the application's thread.
    void arm()
    {
        QCoreApplication *app = QCoreApplication::instance();
        if (!m_timer) {
            m_timer = new QTimer(app);
            m_timer->setSingleShot(true);
            m_timer->setInterval(ktDailyLogFile::FlushMs);
            QObject::connect(m_timer, &QTimer::timeout, [this] { flushAll(); });
            QObject::connect(app, &QCoreApplication::aboutToQuit, m_timer, [this] { flushAll(); });
            if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance(app->thread())) {
                QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, m_timer, [this] {
                    if (m_armed) {
                        m_timer->stop();
                        flushAll();
                    }
                });
            }
        }
        if (m_armed && !m_timer->isActive())
            m_timer->start();
    }

    QMutex m_lock;
    QVector<ktDailyLogFile *> m_files;
    std::atomic<bool> m_armed{false};
    QPointer<QTimer> m_timer; // owned by the application object
};

} // namespace

ktDailyLogFile::ktDailyLogFile(PathForDay pathForDay) : m_pathForDay(std::move(pathForDay))
{
    Flusher::instance().add(this);
}

ktDailyLogFile::~ktDailyLogFile()
{
    Flusher::instance().remove(this);
    QMutexLocker guard(&m_lock);
    m_file.close(); // writes what is buffered
}

bool ktDailyLogFile::openFor(const QDate &day)
{
    if (day == m_day && m_file.isOpen())
        return true;
    m_file.close();
    m_day = day;
    m_file.setFileName(m_pathForDay(day));
    // ReadWrite as the program log has always been opened; the folder is made only when the
    // file cannot be opened, so the common case needs no extra file-system walk.
    if (m_file.open(QIODevice::ReadWrite | QIODevice::Append))
        return true;
    return QDir().mkpath(QFileInfo(m_file.fileName()).absolutePath()) &&
           m_file.open(QIODevice::ReadWrite | QIODevice::Append);
}

void ktDailyLogFile::append(const QDate &day, const QByteArray &bytes)
{
    {
        QMutexLocker guard(&m_lock);
        if (!openFor(day))
            return;
        m_file.write(bytes);
    }
    Flusher::instance().schedule();
}

void ktDailyLogFile::flush()
{
    QMutexLocker guard(&m_lock);
    if (m_file.isOpen())
        m_file.flush();
}

// ---- program log ----------------------------------------------------------------------------

ktProgramLog::ktProgramLog() : m_file([](const QDate &day) { return KtPlatform::programLogPath(day); }) {}

ktProgramLog *ktProgramLog::instance()
{
    static ktProgramLog log; // thread-safe static initialisation; flushed when destroyed
    return &log;
}

QString ktProgramLog::currentPath()
{
    return KtPlatform::programLogPath(QDate::currentDate());
}

QString ktProgramLog::formatLine(const QString &text, const QString &colour)
{
    return QStringLiteral("<font color=%1>[%2] %3</font>").arg(colour, ktLogTime::now().stamp, text);
}

QString ktProgramLog::stripMarkup(const QString &line)
{
    const int open = line.indexOf(QLatin1Char('>'));
    if (open < 0)
        return line;
    const int close = line.indexOf(QLatin1Char('<'), open + 1);
    return close < 0 ? line.mid(open + 1) : line.mid(open + 1, close - open - 1);
}

namespace {
bool isControl(ushort c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}
} // namespace

QString ktProgramLog::escapeControls(const QString &text)
{
    const QChar *begin = text.constData();
    const QChar *end = begin + text.size();
    const QChar *p = begin;
    while (p != end && !isControl(p->unicode()))
        ++p;
    if (p == end)
        return text;
    static const char hex[] = "0123456789ABCDEF";
    QString out;
    out.reserve(text.size() + 8);
    out.append(begin, int(p - begin));
    for (; p != end; ++p) {
        const ushort c = p->unicode();
        if (!isControl(c)) {
            out += *p;
            continue;
        }
        switch (c) {
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case 0x2028:
        case 0x2029:
            out += QLatin1String(c == 0x2028 ? "\\u2028" : "\\u2029");
            break;
        default:
            out += QLatin1String("\\x");
            out += QLatin1Char(hex[c >> 4]);
            out += QLatin1Char(hex[c & 0xF]);
        }
    }
    return out;
}

void ktProgramLog::write(const QString &line, const QDate &day)
{
    m_file.append(day, escapeControls(line).toUtf8() + "\r\n");
}

void ktProgramLog::writeMarkup(const QString &line)
{
    write(stripMarkup(line));
}

void ktProgramLog::log(const QString &text, const QString &colour)
{
    Q_UNUSED(colour); // the file keeps no colour
    log(ktLogTime::now(), text);
}

void ktProgramLog::log(const ktLogTime &time, const QString &text)
{
    // What stripping the formatted line gives, built directly so that a "<" in the text
    // cannot cut the line short.
    const QByteArray body = escapeControls(text).toUtf8();
    QByteArray line;
    line.reserve(time.stamp.size() + body.size() + 5);
    line += '[';
    line += time.stamp.toLatin1();
    line += "] ";
    line += body;
    line += "\r\n";
    m_file.append(time.day, line);
}
