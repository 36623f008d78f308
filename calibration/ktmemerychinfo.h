#pragma once

#include "calibrationlogic.h"
#include "ktpublicconfig.h"

#include <QTimer>

#include <functional>

class MeasurementModel;
class QMenu;
namespace Ui {
class ktMemeryCHInfoForm;
}

// The overview of memory channels 01..99 from one "CMR,13" reply, with a context menu to
// refresh, to reset a channel to the factory data, to copy a channel (ktDownloadCoef) and to
// save one channel as text. Row 0 holds the column titles as ordinary cells.
class ktMemeryCHInfo : public ktPublicConfig
{
    Q_OBJECT
public:
    explicit ktMemeryCHInfo(QWidget *parent = nullptr);
    ~ktMemeryCHInfo() override;

    PageLog *logView() override;
    Ui::ktMemeryCHInfoForm *form() const { return ui; }
    MeasurementModel *model() const { return m_model; }
    const QVector<Calibration::Channel> &channels() const { return m_channels; }
    QMenu *contextMenu() const { return m_menu; }
    int currentRow() const;

    // The file of "Save as"; tests replace it. The argument is the start folder; empty cancels.
    std::function<QString(const QString &)> askSavePath;
    // "Dump": runs the download dialog; tests replace it.
    std::function<void()> runDownloadDialog;

public slots:
    void DelayTriggel();
    void slot_table_CHInfo_MenuRequested(QPoint pos);
    bool slot_table_CHInfo_Refresh();
    void slot_table_CHInfo_Init();
    void slot_table_CHInfo_Download();
    void slot_table_CHInfo_Export();
    void slot_table_CHInfo_Clicked(int row, int column);

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildMenu();
    void showMessage(const QString &text, bool cancel = false);

    Ui::ktMemeryCHInfoForm *ui;
    MeasurementModel *m_model = nullptr;
    QMenu *m_menu = nullptr;
    QVector<Calibration::Channel> m_channels;
    QTimer m_delay;
};
