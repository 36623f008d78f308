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
class QLineEdit;
class QTableView;
class PageLog;
class ResultTables;
class SeriesRunner;
class TrendChart;
class WorkerThread;
class ktHorseShoe;
class MeasurementModel;
namespace Ui {
class ktFlickerSetForm;
}

// The Measure tab: colour (xyLv, XYZ, Tcp/duv, λd/Pe), FMA and JEITA measurement, once or as
// a timed series, into twMeasureBright / twMeasureFlicker, with the trend chart, the
// chromaticity dialog, zero calibration, the memory channel and the CSV export.
//
// The page wires three parts that report by signal: the result tables (ResultTables, a
// record model per table), the series runner (SeriesRunner: worker, JEITA timer chain, what a
// series lost) and the trend chart (TrendChart). What differs between the measure modes is one
// table (MeasureModes). The chart, the scrolling and the progress are refreshed by a timer,
// never per row, so a long series stays linear.
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
    bool seriesRunning() const;
    int remainingCount() const;
    int brightRow() const;
    int flickerRow() const;
    WorkerThread *worker() const;
    TrendChart *trend() const { return m_trend; }
    ResultTables *tables() const { return m_tables; }
    // The model of twMeasureBright (colour) or twMeasureFlicker.
    MeasurementModel *tableModel(bool colour) const;
    // What the last series lost, or its progress while it runs.
    QString seriesStatus() const;

    // Asks for the CSV file of Save As; the argument is the start folder. The default runs the
    // file dialog; tests replace it. An empty result cancels.
    std::function<QString(const QString &)> askSavePath;

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
    void applyMode(FlickerLogic::Mode mode);
    void startSeries();
    void seriesFinished();
    void lockControls(bool running);
    void sendModeIfChanged();
    void handleMesReply(const QString &reply);
    void handleJadReply(const QString &reply);
    void markCurrentFailed();
    void showBright(const FlickerLogic::Record &r); // the record's 15 fields to RecvBrightResult
    void showCurrent(const QVector<QPair<QLineEdit *, QString>> &texts);
    void updateCurrent();
    void zeroCalibrationResult(const QString &text);
    // The message box without waiting for it: a failure the operator did not wait for at the
    // page (the end of a series, a measurement that timed out) is shown where the eye is.
    void notify(const QString &text);
    bool confirm(const QString &text);
    void clearTables();
    void setCurrentLabels();
    void removeTrendPoints(bool colour, const QVector<int> &rows);
    void showTableMenu(QTableView *table, const QPoint &pos, void (ktFlickerSet::*copy)(),
                       void (ktFlickerSet::*del)());
    void restoreSettings();
    void saveSettings() const;

    Ui::ktFlickerSetForm *ui;
    QWidget *m_body = nullptr;
    QPointer<ktPublicConfig> m_hub;
    QButtonGroup *m_modeGroup = nullptr;
    ktHorseShoe *m_horseShoe = nullptr;
    ResultTables *m_tables = nullptr;
    SeriesRunner *m_runner = nullptr;
    TrendChart *m_trend = nullptr;

    FlickerLogic::Mode m_mode = FlickerLogic::Mode::XyLv;
    QString m_modeCode = QStringLiteral("0");
    bool m_modeChanged = false;
    bool m_settingChannel = false;
    QVector<QPair<QLineEdit *, QString>> m_currentPending; // "Current Data" not yet shown
    QString m_lastDt;

    QTimer m_refreshTimer; // batched chart redraw, scrolling and progress -> UpdateWidget
    bool m_pageActive = true;
};
