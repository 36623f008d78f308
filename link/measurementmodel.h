#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// The rows of a measuring page's result table, kept as plain records behind a table model.
// A record holds what a row needs as numbers (formatted when shown) and the few texts that
// must stay as received (readings as the probe sent them, mode summaries shared between rows,
// error texts), plus its time stamp. The columns are a small table of title and formatter, so
// every page describes its own layout and no cell text is stored anywhere: the view asks for
// the cells it shows and the export asks for all of them.
//
// Appending is amortised O(1) and removing k rows costs a sort of k plus one compaction pass,
// so a series of a hundred thousand rows stays linear. The vertical header numbers the filled
// rows 1..n; below them, up to the minimum row count, blank rows keep the table's usual look.
class MeasurementModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Record
    {
        QVector<double> numbers;
        QVector<QString> texts;
        qint64 stampMs = 0; // local clock, ms since the epoch
    };

    struct Column
    {
        QString title;
        std::function<QString(const Record &)> format;
    };

    explicit MeasurementModel(QObject *parent = nullptr);

    // Replaces the column table; the records are dropped (a new layout means new rows).
    void setColumns(const QVector<Column> &columns);
    const QVector<Column> &columns() const { return m_columns; }
    // The titles as exported (the column table's own).
    QStringList titles() const;
    // The titles the header shows, e.g. translated; an empty entry shows the column's own.
    // Exports keep titles().
    void setShownTitles(const QStringList &titles);

    // Blank rows shown below the filled ones until this many rows are shown.
    void setMinimumRows(int rows);

    // Appends a record; returns its 1-based row number.
    int append(Record record);
    // Removes the given rows (0-based, any order, duplicates and rows past the records ignored);
    // returns the sorted unique rows that were removed.
    QVector<int> removeRecords(QVector<int> rows);
    void clear();

    int recordCount() const { return m_records.size(); }
    const Record &record(int row) const { return m_records.at(row); }
    // The text of a cell; empty for a blank row.
    QString cellText(int row, int column) const;
    QStringList rowTexts(int row) const;
    // The selected cells as lines of tab-separated texts, row by row, in column order.
    QString copyText(const QModelIndexList &cells) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Formatters for the common column kinds.
    static std::function<QString(const Record &)> text(int index);
    // Fixed-point with the given decimals; a missing or non-finite number shows as "--".
    static std::function<QString(const Record &)> fixed(int index, int decimals);
    // The stamp as "yyyy/MM/dd" and "hh:mm:ss".
    static std::function<QString(const Record &)> date();
    static std::function<QString(const Record &)> time();

private:
    QVector<Column> m_columns;
    QStringList m_shownTitles;
    QVector<Record> m_records;
    int m_minimumRows = 0;
};
