#include "pagelog.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

PageLog::PageLog(QWidget *parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(FlushMs);
    connect(&m_flushTimer, &QTimer::timeout, this, &PageLog::flushPending);
}

void PageLog::addLine(const QString &stamp, const QString &text, const QString &colour, bool collapse)
{
    QString line;
    line.reserve(stamp.size() + text.size() + 3);
    line += QLatin1Char('[');
    line += stamp;
    line += QLatin1String("] ");
    line += text;
    if (collapse && !m_pending.empty()) {
        Entry &last = m_pending.back();
        if (last.line.endsWith(text)) {
            last = Entry{line, text, colour, last.replaceLast};
            return;
        }
        collapse = false;
    }
    m_pending.push_back(Entry{line, text, colour, collapse});
    if (int(m_pending.size()) > MaxLines) {
        m_pending.pop_front();
        m_overflowed = true;
    }
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

const QTextCharFormat &PageLog::format(const QString &colour)
{
    auto it = m_formats.find(colour);
    if (it == m_formats.end()) {
        QTextCharFormat f;
        f.setForeground(QColor(colour));
        it = m_formats.insert(colour, f);
    }
    return *it;
}

void PageLog::flushPending()
{
    m_flushTimer.stop();
    if (m_pending.empty())
        return;
    QTextDocument *doc = document();
    // Like a terminal: a reader at the end follows new lines, one who scrolled back stays.
    QScrollBar *bar = verticalScrollBar();
    const bool follow = bar->value() >= bar->maximum();
    if (m_overflowed) {
        QPlainTextEdit::clear();
        m_overflowed = false;
    }
    // Positions are set inside the edit block: QTextCursor::movePosition and a position set
    // outside one lay the block out (text shaping), which costs more than the insertion.
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    cursor.setPosition(doc->characterCount() - 1);
    // Consecutive lines of one colour go in as one text with line breaks: the document's
    // cost is mostly per insertion, not per line.
    QString run;
    const QString *runColour = nullptr;
    const auto insertRun = [&] {
        if (runColour)
            cursor.insertText(run, format(*runColour));
        run.clear();
        runColour = nullptr;
    };
    for (const Entry &e : m_pending) {
        if (e.replaceLast) {
            insertRun();
            if (doc->lastBlock().text().endsWith(e.text)) {
                cursor.setPosition(doc->lastBlock().position(), QTextCursor::KeepAnchor);
                cursor.removeSelectedText();
                cursor.deletePreviousChar(); // the line break before it, if any
            }
        }
        if (runColour && *runColour != e.colour)
            insertRun();
        if (!run.isEmpty() || !doc->isEmpty())
            run += QLatin1Char('\n');
        run += e.line;
        runColour = &e.colour;
    }
    insertRun();
    // The cap is kept here rather than by QTextDocument::setMaximumBlockCount, which steps
    // over the lines it drops one by one and lays each out first.
    const int excess = doc->blockCount() - MaxLines;
    if (excess > 0) {
        cursor.setPosition(0);
        cursor.setPosition(doc->findBlockByNumber(excess).position(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.endEditBlock();
    if (follow)
        bar->setValue(bar->maximum());
    m_pending.clear();
}

QString PageLog::text()
{
    flushPending();
    return QPlainTextEdit::toPlainText();
}

QString PageLog::toPlainText()
{
    return text();
}

int PageLog::lineCount()
{
    flushPending();
    return document()->isEmpty() ? 0 : document()->blockCount();
}

void PageLog::clear()
{
    m_pending.clear();
    m_overflowed = false;
    m_flushTimer.stop();
    QPlainTextEdit::clear();
}
