#include "grayscanpage.h"

#include "ktcfgdata.h"
#include "ktmessagedlg.h"
#include "ktsafewrite.h"
#include "ktsettings.h"
#include "measurementmodel.h"
#include "pagelog.h"
#include "portholder.h"
#include "probereply.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QSerialPort>
#include <QTableView>
#include <QTextStream>

using namespace ProbeReply;

namespace {
const QString Red = QStringLiteral("red");
constexpr int PresetRows = 20;
} // namespace

ktGrayScanPage::ktGrayScanPage(QWidget *parent) : ktPublicConfig(parent), m_scan(new GrayScan(this))
{
    hideBaseForm();
    m_scan->hooks.log = [this](const QString &text) { appendLog(text, Red); };
    m_scan->hooks.measure = [this](QString *reply, qint64 *ms) { return measure(reply, ms); };
}

ktGrayScanPage::~ktGrayScanPage() = default;

bool ktGrayScanPage::portOpen() const
{
    QSerialPort *port = PortHolder::instance()->probePort();
    return port && port->isOpen();
}

void ktGrayScanPage::setupTable(QTableView *table, const QVector<MeasurementModel::Column> &columns)
{
    m_table = table;
    m_model = new MeasurementModel(this);
    m_model->setColumns(columns);
    m_model->setMinimumRows(PresetRows);
    table->setModel(m_model);
    table->verticalHeader()->setMinimumWidth(70);
    // Fixed rows: a header that measures its sections makes every new row cost more than the
    // one before.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_scrollTimer.setSingleShot(true);
    m_scrollTimer.setInterval(100);
    connect(&m_scrollTimer, &QTimer::timeout, this,
            [this] { m_table->scrollTo(m_model->index(m_model->recordCount() - 1, 0)); });
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    table->installEventFilter(this);
    connect(table, &QTableView::customContextMenuRequested, this,
            &ktGrayScanPage::slot_twMeasureData_MenuRequested);
}

void ktGrayScanPage::warn(const QString &text)
{
    messageDialog()->setMessage(text, false, true);
    messageDialog()->exec();
}

bool ktGrayScanPage::confirm(const QString &text)
{
    messageDialog()->setMessage(text, true, true);
    messageDialog()->exec();
    return messageDialog()->isAccepted();
}

bool ktGrayScanPage::mayStart()
{
    if (!portOpen()) {
        warn(tr("Serial port is not opened!"));
        return false;
    }
    if (ktCfgData::instance()->probeMode() == 1) {
        warn(tr("Configure a single serial port!"));
        return false;
    }
    return true;
}

int ktGrayScanPage::waitMs(const QString &pageMs)
{
    return pageMs.toInt() +
           KtSettings::readSettingInt(QString::fromLatin1(KtSettings::Key::GrayScanningTime));
}

bool ktGrayScanPage::measure(QString *reply, qint64 *ms)
{
    if (readerBusy()) {
        // Another page's request holds the port: nothing is sent, so nothing timed out.
        appendLog(tr("Serial port is busy!"), Red);
        return false;
    }
    const bool ok = SendMES1(reply, ms);
    if (!ok && reply->isEmpty())
        appendLog(tr("Measurement time out!"), Red);
    return ok || !reply->isEmpty();
}

void ktGrayScanPage::startZeroCalibration()
{
    if (!portOpen()) {
        appendLog(tr("Serial port is not opened!"), Red);
        return;
    }
    SendZRCAsync(TaskPage);
    messageDialog()->setMessage(tr("Zero calibration in progress..."), false, true);
    messageDialog()->exec();
}

void ktGrayScanPage::Slot_RecvMessage(QString &portName, unsigned int commandCode, unsigned int taskCode,
                                      QByteArray &reply)
{
    echoRx(reply);
    const QString text = QString::fromLatin1(reply);
    if (commandCode == CodeZRC) {
        const bool ok = isOk00(text) || text.contains(QLatin1String("OK21"));
        messageDialog()->setMessage(ok ? tr("Zero calibration succeed!") : tr("Zero calibration failed!"),
                                    false, true);
    } else if (commandCode >= CodeMDS && commandCode <= CodeMDS8 && !isOk00(text)) {
        appendLog(tr("Set display mode failed!"), Red);
    }
    Q_UNUSED(portName);
    Q_UNUSED(taskCode);
}

void ktGrayScanPage::Slot_RecvTimeout(QString &, unsigned int commandCode, unsigned int)
{
    appendLog(tr("Command execution error time out!"), Red);
    if (commandCode >= CodeMDS && commandCode <= CodeMDS8)
        appendLog(tr("Set display mode failed!"), Red);
    else if (commandCode == CodeMES)
        appendLog(tr("Measurement time out!"), Red);
    else if (commandCode == CodeZRC)
        messageDialog()->setMessage(tr("Zero calibration failed!"), false, true);
}

bool ktGrayScanPage::clearTable()
{
    if (m_model->recordCount() > 0 && !confirm(tr("Clear Data, Confirm?")))
        return false;
    m_model->clear();
    m_table->scrollToTop();
    return true;
}

bool ktGrayScanPage::saveCsv(const QString &path, const std::function<void(QTextStream &)> &writer)
{
    QByteArray bytes;
    QTextStream out(&bytes);
    out.setCodec("UTF-8");
    writer(out);
    out.flush();
    QString error;
    if (!KtSafeWrite::writeFile(path, bytes, &error)) {
        appendLog(error, Red);
        return false;
    }
    return true;
}

void ktGrayScanPage::scrollToLast()
{
    // Once per 100 ms at most: a fast run adds rows faster than anyone can read them.
    if (!m_scrollTimer.isActive())
        m_scrollTimer.start();
}

void ktGrayScanPage::slot_twMeasureData_MenuRequested(const QPoint &pos)
{
    QMenu menu(this);
    menu.addAction(tr("Copy"), this, &ktGrayScanPage::slot_twMeasureData_Copy);
    menu.addAction(tr("Delete Row"), this, &ktGrayScanPage::slot_twMeasureData_DeleteRow);
    menu.exec(m_table->viewport()->mapToGlobal(pos));
}

void ktGrayScanPage::slot_twMeasureData_Copy()
{
    const QModelIndexList cells = m_table->selectionModel()->selectedIndexes();
    if (!cells.isEmpty())
        QApplication::clipboard()->setText(m_model->copyText(cells));
}

void ktGrayScanPage::slot_twMeasureData_DeleteRow()
{
    QVector<int> rows;
    for (const QModelIndex &i : m_table->selectionModel()->selectedIndexes()) {
        if (i.row() < m_model->recordCount())
            rows << i.row();
    }
    if (rows.isEmpty() || !confirm(tr("Are you sure to delete data of this line?")))
        return;
    m_model->removeRecords(rows);
}

bool ktGrayScanPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Control)
        slot_twMeasureData_Copy();
    return ktPublicConfig::eventFilter(watched, event);
}

void ktGrayScanPage::done(int result)
{
    // A dialog closed by Esc or its buttons stops its run first; a tab page stays shown.
    if (!hostedAsTab())
        m_scan->stop();
    ktPublicConfig::done(result);
}

void ktGrayScanPage::closeEvent(QCloseEvent *event)
{
    m_scan->stop();
    ktPublicConfig::closeEvent(event);
}
