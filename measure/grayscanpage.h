#pragma once

#include "grayscan.h"
#include "ktpublicconfig.h"

#include <QTimer>

class MeasurementModel;
class QTableView;

// What the gray-scanning dialog and the gamma page share: the result table (a record model
// with copy, delete row and clear), zero calibration, the scan with its reply and time-out
// messages, and the message-box helpers. The pages build their forms and add their own
// colours and charts.
class ktGrayScanPage : public ktPublicConfig
{
    Q_OBJECT
public:
    explicit ktGrayScanPage(QWidget *parent = nullptr);
    ~ktGrayScanPage() override;

    PageLog *logView() override { return m_log; }
    MeasurementModel *model() const { return m_model; }
    GrayScan *scan() const { return m_scan; }
    bool portOpen() const;

public slots:
    void Slot_RecvMessage(QString &portName, unsigned int commandCode, unsigned int taskCode,
                          QByteArray &reply) override;
    void Slot_RecvTimeout(QString &portName, unsigned int commandCode, unsigned int taskCode) override;
    void slot_twMeasureData_MenuRequested(const QPoint &pos);
    void slot_twMeasureData_Copy();
    void slot_twMeasureData_DeleteRow();

protected:
    // The page's table, log panel and layout (called once by the page's constructor).
    void setupTable(QTableView *table, const QVector<MeasurementModel::Column> &columns);
    void setLogPanel(PageLog *log) { m_log = log; }

    void warn(const QString &text);
    bool confirm(const QString &text);
    // Port closed / two probes configured: the start refusals both pages share.
    bool mayStart();
    // The wait between a colour and its measurement: the page's own ms + GrayScanning/Time.
    static int waitMs(const QString &pageMs);
    // Blocking "MES,1" for the scan (see GrayScan::Hooks::measure).
    bool measure(QString *reply, qint64 *ms);
    void startZeroCalibration();
    // "Clear Data, Confirm?" when rows exist; true when the table was cleared.
    bool clearTable();
    // The records as CSV through writer into path; false (and nothing written) on failure.
    bool saveCsv(const QString &path, const std::function<void(QTextStream &)> &writer);
    void scrollToLast();

    void done(int result) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MeasurementModel *m_model = nullptr;
    QTableView *m_table = nullptr;
    PageLog *m_log = nullptr;
    GrayScan *m_scan = nullptr;
    QTimer m_scrollTimer;
};
