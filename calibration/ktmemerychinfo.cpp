#include "ktmemerychinfo.h"
#include "ui_ktmemerychinfo.h"

#include "ktdownloadcoef.h"
#include "ktmessagedlg.h"
#include "ktsafewrite.h"
#include "ktscaling.h"
#include "ktsettings.h"
#include "measurementmodel.h"
#include "pagebody.h"
#include "pagelog.h"
#include "replyreader.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>

using namespace Calibration;

namespace {
// Cells of the overview: record texts 0..5, centred.
class CentredModel : public MeasurementModel
{
public:
    using MeasurementModel::MeasurementModel;
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return MeasurementModel::data(index, role);
    }
};
} // namespace

ktMemeryCHInfo::ktMemeryCHInfo(QWidget *parent) : ktPublicConfig(parent), ui(new Ui::ktMemeryCHInfoForm)
{
    hideBaseForm();
    PageBody::setBackground(this);
    ui->setupUi(PageBody::create(this));
    setWindowTitle(tr("Memory channels"));
    resize(836, 560);

    m_model = new CentredModel(this);
    QVector<MeasurementModel::Column> columns;
    for (int c = 0; c < 6; ++c)
        columns.append({QString(), MeasurementModel::text(c)});
    m_model->setColumns(columns);
    ui->table_CHInfo->setModel(m_model);
    ui->table_CHInfo->horizontalHeader()->hide();
    ui->table_CHInfo->verticalHeader()->hide();
    ui->table_CHInfo->horizontalHeader()->setStretchLastSection(true);
    ui->table_CHInfo->verticalHeader()->setDefaultSectionSize(22);
    const int widths[6] = {75, 150, 80, 80, 80, 195};
    for (int c = 0; c < 6; ++c)
        ui->table_CHInfo->setColumnWidth(c, widths[c]);
    buildMenu();
    connect(ui->table_CHInfo, &QWidget::customContextMenuRequested, this,
            &ktMemeryCHInfo::slot_table_CHInfo_MenuRequested);
    connect(ui->table_CHInfo, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &i) { slot_table_CHInfo_Clicked(i.row(), i.column()); });

    askSavePath = [this](const QString &start) {
        return QFileDialog::getSaveFileName(this, tr("Save File"), start, tr("file (*.MemoryCHInfo)"));
    };
    runDownloadDialog = [this] {
        ktDownloadCoef dialog(parentWidget());
        dialog.exec();
    };
    m_delay.setSingleShot(true);
    connect(&m_delay, &QTimer::timeout, this, &ktMemeryCHInfo::DelayTriggel);
    m_delay.start(100);
    KtScaling::apply(this);
}

ktMemeryCHInfo::~ktMemeryCHInfo()
{
    delete ui;
}

PageLog *ktMemeryCHInfo::logView()
{
    return ui ? ui->textLog : ktPublicConfig::logView();
}

void ktMemeryCHInfo::buildMenu()
{
    delete m_menu;
    m_menu = new QMenu(this);
    m_menu->addAction(tr("Refresh"), this, &ktMemeryCHInfo::slot_table_CHInfo_Refresh);
    m_menu->addAction(tr("Initialize channel"), this, &ktMemeryCHInfo::slot_table_CHInfo_Init);
    m_menu->addAction(tr("Dump"), this, &ktMemeryCHInfo::slot_table_CHInfo_Download);
    m_menu->addAction(tr("Save as"), this, &ktMemeryCHInfo::slot_table_CHInfo_Export);
}

int ktMemeryCHInfo::currentRow() const
{
    const QModelIndexList rows = ui->table_CHInfo->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ktMemeryCHInfo::showMessage(const QString &text, bool cancel)
{
    messageDialog()->setMessage(text, cancel, true);
    messageDialog()->exec();
}

void ktMemeryCHInfo::DelayTriggel()
{
    slot_table_CHInfo_Refresh();
}

bool ktMemeryCHInfo::slot_table_CHInfo_Refresh()
{
    QString table;
    QVector<ReplyReader::ChannelRecord> records;
    if (!SendCMR13(&table) || !ReplyReader::readChannelTable(QStringLiteral("OK00,") + table, &records)) {
        appendLog(tr("Read all memory channal information failed"), QStringLiteral("red"));
        return false;
    }
    m_channels.clear();
    for (const ReplyReader::ChannelRecord &r : records)
        m_channels.append(channelFromRecord(r));
    std::sort(m_channels.begin(), m_channels.end(),
              [](const Channel &a, const Channel &b) { return a.channel < b.channel; });
    m_model->clear();
    MeasurementModel::Record titles;
    titles.texts = {tr("CH"), tr("CH Name"), tr("x"), tr("y"), tr("Lv"), tr("Cali. Date")};
    m_model->append(titles);
    for (const OverviewRow &row : overviewRows(m_channels)) {
        MeasurementModel::Record rec;
        rec.texts = {QString::number(row.channel), row.name, row.x, row.y, row.lv, row.date};
        m_model->append(rec);
    }
    return true;
}

void ktMemeryCHInfo::slot_table_CHInfo_MenuRequested(QPoint pos)
{
    const QModelIndex index = ui->table_CHInfo->indexAt(pos);
    if (!index.isValid() || index.row() == 0) {
        ui->table_CHInfo->clearSelection();
        return;
    }
    ui->table_CHInfo->selectRow(index.row());
    m_menu->popup(ui->table_CHInfo->viewport()->mapToGlobal(pos));
}

void ktMemeryCHInfo::slot_table_CHInfo_Clicked(int row, int)
{
    if (row == 0)
        ui->table_CHInfo->clearSelection();
}

void ktMemeryCHInfo::slot_table_CHInfo_Init()
{
    const int row = currentRow();
    if (row < 1)
        return;
    const QString target = channelText(row);
    showMessage(tr("Override %1 with MCH00?").arg(target), true);
    if (!messageDialog()->isAccepted())
        return;
    QString result;
    {
        ktDownloadCoef download(parentWidget());
        result = download.initChannel(target);
    }
    showMessage(result == tr("Download color matrix parameter succeed!") ? tr("Initialize channel ok!")
                                                                         : result);
    slot_table_CHInfo_Refresh();
}

void ktMemeryCHInfo::slot_table_CHInfo_Download()
{
    if (runDownloadDialog)
        runDownloadDialog();
    slot_table_CHInfo_Refresh();
}

void ktMemeryCHInfo::slot_table_CHInfo_Export()
{
    const int row = currentRow();
    const auto it = std::find_if(m_channels.cbegin(), m_channels.cend(),
                                 [row](const Channel &c) { return c.channel == row; });
    if (row < 1 || it == m_channels.cend())
        return;
    const QString key = QString::fromLatin1(KtSettings::Key::MemoryCHPath);
    const QString path = askSavePath ? askSavePath(KtSettings::readSetting(key)) : QString();
    if (path.isEmpty())
        return;
    if (!KtSafeWrite::writeFile(path, channelDumpText(*it)))
        return;
    KtSettings::writeSetting(key, QFileInfo(path).absolutePath());
    showMessage(tr("Save successfully!"));
}

void ktMemeryCHInfo::changeEvent(QEvent *event)
{
    ktPublicConfig::changeEvent(event);
    if (event->type() == QEvent::LanguageChange && ui) {
        buildMenu();
        if (m_model->recordCount() > 0)
            slot_table_CHInfo_Refresh();
    }
}
