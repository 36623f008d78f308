#pragma once

#include <QHash>
#include <QPlainTextEdit>
#include <QString>
#include <QTextCharFormat>
#include <QTimer>

#include <deque>

// A page's log panel: "[yyyy-MM-dd hh:mm:ss.zzz] text" lines, each in its colour name ("red"
// for failures, "green" for progress and echo).
//
// Lines are queued and put into the document together, FlushMs after the first one or when
// someone reads the panel, as plain text with a character format: a page that exchanges
// hundreds of commands a second would otherwise spend most of its time laying out the panel.
// The panel keeps the last MaxLines lines; older ones are dropped from the top.
//
// Reading the panel through this class (text(), toPlainText(), lineCount()) first puts the
// queued lines in. Code that reaches into document() calls flushPending() before.
class PageLog : public QPlainTextEdit
{
    Q_OBJECT
public:
    static constexpr int MaxLines = 5000;
    static constexpr int FlushMs = 80;

    explicit PageLog(QWidget *parent = nullptr);

    // Queues one line. With collapse set, the line takes the place of the panel's last line
    // when that ends with the same text: a run of progress messages shows as one line whose
    // time stamp moves. The text is shown as it is (no markup); control characters are the
    // caller's business (see ktProgramLog::escapeControls).
    void addLine(const QString &stamp, const QString &text, const QString &colour, bool collapse = false);
    // Puts the queued lines into the document now.
    void flushPending();

    QString text();
    // Hides the base's non-virtual function so that every reader of a PageLog sees the
    // queued lines too.
    QString toPlainText();
    int lineCount();
    // Also drops the queued lines.
    void clear();

private:
    struct Entry
    {
        QString line;
        QString text;
        QString colour;
        bool replaceLast; // the document's last line is replaced if it ends with text
    };
    const QTextCharFormat &format(const QString &colour);

    std::deque<Entry> m_pending;
    bool m_overflowed = false; // more than MaxLines queued: the document's lines all go
    QTimer m_flushTimer;
    QHash<QString, QTextCharFormat> m_formats;
};
