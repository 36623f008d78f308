#pragma once

#include "flickertable.h"

#include <QObject>

#include <functional>

class QTableView;

// The Measure tab's two result tables (twMeasureBright, twMeasureFlicker): a MeasurementModel
// each, shown by its view with fixed row heights, so that a new row costs the view no
// relayout of the rows before it. Copy, Delete Row, Clear and the export read the models.
class ResultTables : public QObject
{
    Q_OBJECT
public:
    static constexpr int InitialRows = 20;

    ResultTables(QTableView *bright, QTableView *flicker, QObject *parent = nullptr);

    MeasurementModel *bright() const { return m_bright; }
    MeasurementModel *flicker() const { return m_flicker; }
    MeasurementModel *model(bool colour) const { return colour ? m_bright : m_flicker; }
    QTableView *view(bool colour) const { return colour ? m_brightView : m_flickerView; }

    // The flicker table's layout (FMA or JEITA); drops its rows.
    void setFlickerLayout(bool jeita);
    // Adds a row; returns its 1-based number. The newest row is scrolled to by scrollToNewest.
    int append(bool colour, MeasurementModel::Record record);
    void clear();
    void scrollToNewest(bool colour);
    // The headers in the interface language; the exported titles stay as they are.
    void retranslateHeaders();

    // Asks before a removal; the default confirms.
    std::function<bool()> confirm;

    // The selected cells of a table as tab-separated lines, also put on the clipboard.
    QString copySelection(bool colour);
    // Removes the selected rows after the question; emits rowsRemoved.
    void deleteSelectedRows(bool colour);

signals:
    void rowsRemoved(bool colour, const QVector<int> &sortedRows);

private:
    MeasurementModel *m_bright;
    MeasurementModel *m_flicker;
    QTableView *m_brightView;
    QTableView *m_flickerView;
    bool m_scrollPending[2] = {false, false};
};
