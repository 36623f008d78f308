#include "measurementmodel.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <utility>

MeasurementModel::MeasurementModel(QObject *parent) : QAbstractTableModel(parent) {}

void MeasurementModel::setColumns(const QVector<Column> &columns)
{
    beginResetModel();
    m_columns = columns;
    m_shownTitles.clear();
    m_records.clear();
    endResetModel();
}

QStringList MeasurementModel::titles() const
{
    QStringList out;
    out.reserve(m_columns.size());
    for (const Column &c : m_columns)
        out << c.title;
    return out;
}

void MeasurementModel::setMinimumRows(int rows)
{
    beginResetModel();
    m_minimumRows = std::max(0, rows);
    endResetModel();
}

int MeasurementModel::append(Record record)
{
    const int row = m_records.size();
    if (row < m_minimumRows) {
        // The blank row is already shown: it only gets its texts and its number.
        m_records.append(std::move(record));
        emit dataChanged(index(row, 0), index(row, std::max(0, columnCount() - 1)));
        emit headerDataChanged(Qt::Vertical, row, row);
    } else {
        beginInsertRows(QModelIndex(), row, row);
        m_records.append(std::move(record));
        endInsertRows();
    }
    return row + 1;
}

QVector<int> MeasurementModel::removeRecords(QVector<int> rows)
{
    const int n = m_records.size();
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [n](int r) { return r < 0 || r >= n; }), rows.end());
    if (rows.isEmpty())
        return rows;

    // One pass moves every kept record to its final place.
    auto compact = [this, &rows] {
        int next = 0; // index into rows of the next removed row
        int out = rows.first();
        for (int in = rows.first(); in < m_records.size(); ++in) {
            if (next < rows.size() && rows.at(next) == in) {
                ++next;
                continue;
            }
            m_records[out++] = std::move(m_records[in]);
        }
        m_records.resize(out);
    };

    const bool oneRange = rows.last() - rows.first() + 1 == rows.size();
    if (oneRange && n - rows.size() >= m_minimumRows) {
        beginRemoveRows(QModelIndex(), rows.first(), rows.last());
        compact();
        endRemoveRows();
    } else {
        // Scattered rows: one reset is cheaper for the view than a removal per range.
        beginResetModel();
        compact();
        endResetModel();
    }
    return rows;
}

void MeasurementModel::clear()
{
    beginResetModel();
    m_records.clear();
    m_records.squeeze();
    endResetModel();
}

QString MeasurementModel::cellText(int row, int column) const
{
    if (row < 0 || row >= m_records.size() || column < 0 || column >= m_columns.size())
        return QString();
    const Column &c = m_columns.at(column);
    return c.format ? c.format(m_records.at(row)) : QString();
}

QStringList MeasurementModel::rowTexts(int row) const
{
    QStringList out;
    out.reserve(m_columns.size());
    for (int c = 0; c < m_columns.size(); ++c)
        out << cellText(row, c);
    return out;
}

QString MeasurementModel::copyText(const QModelIndexList &cells) const
{
    QVector<std::pair<int, int>> sorted;
    sorted.reserve(cells.size());
    for (const QModelIndex &i : cells)
        sorted.append({i.row(), i.column()});
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    QString out;
    for (int i = 0; i < sorted.size(); ++i) {
        if (i > 0)
            out += sorted.at(i).first == sorted.at(i - 1).first ? QLatin1Char('\t') : QLatin1Char('\n');
        out += cellText(sorted.at(i).first, sorted.at(i).second);
    }
    if (!sorted.isEmpty())
        out += QLatin1Char('\n');
    return out;
}

int MeasurementModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max(m_records.size(), m_minimumRows);
}

int MeasurementModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns.size();
}

QVariant MeasurementModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_records.size())
        return QVariant();
    return cellText(index.row(), index.column());
}

void MeasurementModel::setShownTitles(const QStringList &titles)
{
    m_shownTitles = titles;
    if (!m_columns.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, m_columns.size() - 1);
}

QVariant MeasurementModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_columns.size())
            return QString();
        const QString shown = m_shownTitles.value(section);
        return shown.isEmpty() ? m_columns.at(section).title : shown;
    }
    return section < m_records.size() ? QString::number(section + 1) : QString();
}

std::function<QString(const MeasurementModel::Record &)> MeasurementModel::text(int index)
{
    return [index](const Record &r) { return r.texts.value(index); };
}

std::function<QString(const MeasurementModel::Record &)> MeasurementModel::fixed(int index, int decimals)
{
    return [index, decimals](const Record &r) {
        const double v = index < r.numbers.size() ? r.numbers.at(index) : std::nan("");
        return std::isfinite(v) ? QString::number(v, 'f', decimals) : QStringLiteral("--");
    };
}

namespace {
QString stampText(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}
} // namespace

std::function<QString(const MeasurementModel::Record &)> MeasurementModel::date()
{
    return [](const Record &r) { return stampText(r.stampMs).left(10); };
}

std::function<QString(const MeasurementModel::Record &)> MeasurementModel::time()
{
    return [](const Record &r) { return stampText(r.stampMs).right(8); };
}
