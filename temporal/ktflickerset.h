#pragma once

#include "flickerlogic.h"
#include "ktpublicconfig.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <functional>

class QButtonGroup;
class QTableWidget;
class PageLog;
class TrendChart;
class WorkerThread;
class ktHorseShoe;
namespace Ui {
class ktFlickerSetForm;
}

// The Measure tab: colour (xyLv, XYZ, Tcp/duv, λd/Pe), FMA and JEITA measurement, once or as
// a timed series, into twMeasureBright / twMeasureFlicker, with the trend chart, the
// chromaticity dialog, zero calibration, the memory channel and the CSV export.
//
// Colour and FMA series run on a WorkerThread with its own serial port while the shared port
// is closed and the hub's busy flag is set; JEITA series are chained on timers on the GUI
// thread. Results are consumed in arrival order as they come (SeriesBook), and the chart and
// the scrolling are refreshed by a timer, never per row, so a long series stays linear.
class ktFlickerSet : public ktPublicConfig
{
    Q_OBJECT
public:
    explicit ktFlickerSet(QWidget *parent = nullptr);
    ~ktFlickerSet() override;

    PageLog *logView() override;
    Ui::ktFlickerSetForm *form() const { return ui; }
    ktHorseShoe *horseShoe() const { return m_horseShoe; }
    FlickerLogic::Mode mode() const { return m_mode; }
    QString modeCode() const { return m_modeCode; }
    bool seriesRunning() const { return m_seriesRunning; }
    int remainingCount() const { return m_series.remaining(); }
    int brightRow() const { return m_brightRow; }
    int flickerRow() const { return m_flickerRow; }
    WorkerThread *worker() const { return m_worker; }
    TrendChart *trend() const { return m_trend; }

    // Asks for the CSV file of Save As; the argument is the start folder. The default runs the
    // file dialog; tests replace it. An empty result cancels.
    std::function<QString(const QString &)> askSavePath;

    // The rows of the active table as exported (label and cell texts).
    QVector<FlickerLogic::TableRow> tableRows(QTableWidget *table) const;

    // Called by the main window when the tab becomes visible or hidden: only the visible page
    // refreshes its chart.
    Q_INVOKABLE void setPageActive(bool active);

signals:
    void Signal_RowAdded(int row); // a result row was filled (1-based)
    void Signal_SeriesFinished();

public slots:
    void MeasureModeFun();
    void MeasureSpecFun();
    void StartDelayFun();
    void IntervalFun();
    void RefreshConfigFun();
    void JeitaCommEnd();
    void DelayTriggel();
    void UpdateWidget();
    void Slot_UpdateCtrl();
    void Slot_ChangeMesMode(QString strMDS);
    void Slot_ClosePort();
    void Slot_SyncMeasure(QString strResult, QString deltaT);
    void Slot_SyncFinished();
    void Slot_ProcessMeasureResult();
    void UnblockSleep(int msec);

    void RecvBrightResult(QString strBrightX, QString strBrightY, QString strBrightZ, QString strInitX,
                          QString strInitZ, QString strCtt, QString strL, QString stra, QString strb,
                          QString strTcp, QString strDuv, QString stru, QString strv, QString strWaveLength,
                          QString strPe);
    void RecvFlickerxyLv(QString strResult);
    void RecvFlickerXYZ(QString strResult);
    void RecvFlickResult(QString strFlick, QString strErrCode);
    void RecvJeitaResult(QString strJeita, QStringList perHz, QString strErrText);
    void RecvTcpduvResult(QString strResult);
    void DebugeInfoFun(QString strDebugRecv);
    void SendDebugLog(QString strWord);

    void on_pbMeasure_clicked();
    void on_pbStop_clicked();
    void on_pb0Cal_clicked();
    void on_pbClearData_clicked();
    void on_pbSaveAs_clicked();
    void on_pbreadmemorych_clicked();
    void on_pbHorseShoe_clicked();
    void on_cb_memorychannnel_currentIndexChanged(const QString &text);
    void on_MeasureModeButtonClicked(int id);

    void slot_twMeasureBright_MenuRequested(const QPoint &pos);
    void slot_twMeasureBright_Copy();
    void slot_twMeasureBright_DeleteRow();
    void slot_twMeasureFlicker_MenuRequested(const QPoint &pos);
    void slot_twMeasureFlicker_Copy();
    void slot_twMeasureFlicker_DeleteRow();

    void Slot_RecvMessage(QString &portName, unsigned int commandCode, unsigned int taskCode,
                          QByteArray &reply) override;
    void Slot_RecvTimeout(QString &portName, unsigned int commandCode, unsigned int taskCode) override;
    void Slot_ComError(QString &portName, QString &errorText) override;

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool portOpen() const;
    void applyWhitePoint();
    ktPublicConfig *hub() const { return m_hub; }
    void startSeries();
    void stopSeries();
    void lockControls(bool running);
    void sendModeIfChanged();
    void handleMesReply(const QString &reply);
    void handleJadReply(const QString &reply);
    void zeroCalibrationResult(const QString &text);
    void showMessage(const QString &text);
    bool confirm(const QString &text);
    void clearTables();
    void resetTable(QTableWidget *table, const QStringList &headers, int width = -1);
    void setRow(QTableWidget *table, int row, const QStringList &cells);
    void rebuildTrend();
    void setCurrentLabels();
    void copySelection(QTableWidget *table);
    void deleteSelectedRows(QTableWidget *table, int *rowCounter);
    void showTableMenu(QTableWidget *table, const QPoint &pos, void (ktFlickerSet::*copy)(),
                       void (ktFlickerSet::*del)());
    QString tableFont() const;

    Ui::ktFlickerSetForm *ui;
    QWidget *m_body = nullptr;
    QPointer<ktPublicConfig> m_hub;
    QButtonGroup *m_modeGroup = nullptr;
    ktHorseShoe *m_horseShoe = nullptr;

    FlickerLogic::Mode m_mode = FlickerLogic::Mode::XyLv;
    QString m_modeCode = QStringLiteral("0");
    bool m_modeChanged = false;

    FlickerLogic::SeriesBook m_series;
    bool m_seriesRunning = false;
    bool m_stopRequested = false;
    bool m_stopping = false;
    bool m_closedPortForSeries = false;
    bool m_settingChannel = false;
    QString m_lastDt;
    QElapsedTimer m_elapsed;
    int m_brightRow = 0;
    int m_flickerRow = 0;
    int m_delayMs = 0;
    int m_intervalMs = 0;

    WorkerThread *m_worker = nullptr;
    QTimer m_delayTimer;    // JEITA start delay -> DelayTriggel
    QTimer m_intervalTimer; // JEITA interval -> IntervalFun
    QTimer m_refreshTimer;  // batched chart redraw and scrolling -> UpdateWidget
    bool m_pageActive = true;

    TrendChart *m_trend = nullptr;
    bool m_scrollPending = false;
};
