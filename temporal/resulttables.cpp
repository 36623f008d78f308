#include "resulttables.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <iterator>

ResultTables::ResultTables(QTableView *bright, QTableView *flicker, QObject *parent)
    : QObject(parent), m_bright(new MeasurementModel(this)), m_flicker(new MeasurementModel(this)),
      m_brightView(bright), m_flickerView(flicker)
{
    m_bright->setColumns(FlickerTable::brightColumns());
    m_flicker->setColumns(FlickerTable::flickerColumns(false));
    for (MeasurementModel *m : {m_bright, m_flicker})
        m->setMinimumRows(InitialRows);
    for (QTableView *v : {bright, flicker}) {
        v->setModel(v == bright ? m_bright : m_flicker);
        v->setContextMenuPolicy(Qt::CustomContextMenu);
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->verticalHeader()->setMinimumWidth(50);
        // Every row as high as the default: the view never measures rows, so appending one
        // costs the same at row 100,000 as at row 1.
        v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        v->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    }
    for (int c = 13; c <= 16; ++c)
        bright->setColumnWidth(c, 140);
    retranslateHeaders();
}

namespace {
// The header words; the symbols (X, Lv, u', Tcp, 6Hz, ...) read the same in every language.
const char *const HeaderWords[] = {
    QT_TRANSLATE_NOOP("ResultTables", "Sync Mode"),
    QT_TRANSLATE_NOOP("ResultTables", "Measure Speed"),
    QT_TRANSLATE_NOOP("ResultTables", "Averaging Times"),
    QT_TRANSLATE_NOOP("ResultTables", "Integration Time"),
    QT_TRANSLATE_NOOP("ResultTables", "Date"),
    QT_TRANSLATE_NOOP("ResultTables", "Time"),
    QT_TRANSLATE_NOOP("ResultTables", "ErrCode"),
    QT_TRANSLATE_NOOP("ResultTables", "FMA(%)"),
};
} // namespace

void ResultTables::retranslateHeaders()
{
    for (MeasurementModel *m : {m_bright, m_flicker}) {
        QStringList shown;
        for (const QString &title : m->titles()) {
            const QByteArray key = title.toUtf8();
            const bool word = std::any_of(std::begin(HeaderWords), std::end(HeaderWords),
                                          [&key](const char *w) { return key == w; });
            shown << (word ? QCoreApplication::translate("ResultTables", key.constData()) : QString());
        }
        m->setShownTitles(shown);
    }
}

void ResultTables::setFlickerLayout(bool jeita)
{
    m_flicker->setColumns(FlickerTable::flickerColumns(jeita));
    retranslateHeaders();
    if (jeita) {
        for (int c = 0; c < m_flicker->columnCount(); ++c)
            m_flickerView->setColumnWidth(c, 70);
    }
    m_scrollPending[0] = false;
}

int ResultTables::append(bool colour, MeasurementModel::Record record)
{
    m_scrollPending[colour ? 1 : 0] = true;
    return model(colour)->append(std::move(record));
}

void ResultTables::clear()
{
    for (bool colour : {true, false}) {
        model(colour)->clear();
        view(colour)->scrollToTop();
        m_scrollPending[colour ? 1 : 0] = false;
    }
}

void ResultTables::scrollToNewest(bool colour)
{
    bool &pending = m_scrollPending[colour ? 1 : 0];
    if (!pending)
        return;
    pending = false;
    const int row = model(colour)->recordCount() - 1;
    if (row >= 0)
        view(colour)->scrollTo(model(colour)->index(row, 0));
}

QString ResultTables::copySelection(bool colour)
{
    const QString text = model(colour)->copyText(view(colour)->selectionModel()->selectedIndexes());
    QApplication::clipboard()->setText(text);
    return text;
}

void ResultTables::deleteSelectedRows(bool colour)
{
    MeasurementModel *m = model(colour);
    QVector<int> rows;
    for (const QModelIndex &i : view(colour)->selectionModel()->selectedIndexes()) {
        if (i.row() < m->recordCount())
            rows.append(i.row());
    }
    if (rows.isEmpty() || (confirm && !confirm()))
        return;
    QScrollBar *bar = view(colour)->verticalScrollBar();
    const int scrolled = bar->value();
    rows = m->removeRecords(rows);
    bar->setValue(scrolled); // a reset of the model must not throw the reader back to the top
    emit rowsRemoved(colour, rows);
}
