#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// What the command console remembers between sessions: the commands sent before (most recent
// first, at most MaxEntries, never the same command twice in a row) with Up/Down recall as
// shells have it, and the command names the line completes.
//
// Recall: up() steps to older commands, down() back to newer ones and finally to the text the
// operator had typed before the first up() (the draft). Adding a command ends the recall.
class CommandHistory
{
public:
    static constexpr int MaxEntries = 50;
    static constexpr const char SettingsKey[] = "CommandTool/history";

    explicit CommandHistory(const QStringList &entries = QStringList());

    // A blank command is not kept; one equal to the latest is not kept again.
    void add(const QString &command);
    QStringList entries() const { return m_entries; }

    // current is the command line's text; the result is what it should show.
    QString up(const QString &current);
    QString down(const QString &current);
    // Browsing position: -1 when not recalling, else the index into entries().
    int position() const { return m_position; }

    void load(const QSettings &settings);
    void save(QSettings &settings) const;

    // The mnemonics the probe understands, for completion.
    static QStringList commandNames();

private:
    QStringList m_entries;
    QString m_draft;
    int m_position = -1;
};
