#include "commandhistory.h"

#include <QSettings>

CommandHistory::CommandHistory(const QStringList &entries) : m_entries(entries.mid(0, MaxEntries)) {}

void CommandHistory::add(const QString &command)
{
    m_position = -1;
    m_draft.clear();
    if (command.trimmed().isEmpty() || (!m_entries.isEmpty() && m_entries.first() == command))
        return;
    m_entries.prepend(command);
    while (m_entries.size() > MaxEntries)
        m_entries.removeLast();
}

QString CommandHistory::up(const QString &current)
{
    if (m_entries.isEmpty())
        return current;
    if (m_position < 0)
        m_draft = current;
    if (m_position + 1 < m_entries.size())
        ++m_position;
    return m_entries.at(m_position);
}

QString CommandHistory::down(const QString &current)
{
    if (m_position < 0)
        return current;
    --m_position;
    return m_position < 0 ? m_draft : m_entries.at(m_position);
}

void CommandHistory::load(const QSettings &settings)
{
    QStringList stored = settings.value(QLatin1String(SettingsKey)).toStringList();
    stored.removeAll(QString());
    *this = CommandHistory(stored);
}

void CommandHistory::save(QSettings &settings) const
{
    settings.setValue(QLatin1String(SettingsKey), m_entries);
}

QStringList CommandHistory::commandNames()
{
    // The probe's command set (docs/protocol.md), alphabetical for the completion popup.
    static const QStringList names = {
        QStringLiteral("ARS"), QStringLiteral("CLR"), QStringLiteral("CMR"), QStringLiteral("CMW"),
        QStringLiteral("COM"), QStringLiteral("FCS"), QStringLiteral("FFD"), QStringLiteral("FSC"),
        QStringLiteral("IDO"), QStringLiteral("IDP"), QStringLiteral("INI"), QStringLiteral("JAA"),
        QStringLiteral("JAD"), QStringLiteral("JWA"), QStringLiteral("MCH"), QStringLiteral("MDS"),
        QStringLiteral("MES"), QStringLiteral("MSC"), QStringLiteral("MVS"), QStringLiteral("RAW"),
        QStringLiteral("RGE"), QStringLiteral("RGM"), QStringLiteral("RGU"), QStringLiteral("RPR"),
        QStringLiteral("RSD"), QStringLiteral("SCS"), QStringLiteral("SEN"), QStringLiteral("SNF"),
        QStringLiteral("STR"), QStringLiteral("SWD"), QStringLiteral("TYP"), QStringLiteral("UDP"),
        QStringLiteral("UPD"), QStringLiteral("VER"), QStringLiteral("VID"), QStringLiteral("VSN"),
        QStringLiteral("XYZ"), QStringLiteral("ZRC")};
    return names;
}
