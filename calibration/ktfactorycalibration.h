#pragma once

#include "ktcalibrationpage.h"

#include <array>

namespace Ui {
class KTFactoryCalibrationForm;
}

// The factory-calibration tab: the manufacturer's own calibration of the probe. It measures in
// the probe's raw output (readings without any channel matrix), computes the correction with
// our own arithmetic (diagonal below three groups, least squares otherwise) and downloads it,
// with the white reference, name, date and the eight variable gains, into a memory channel,
// usually channel 00 behind the factory-mode switch. The download keeps the read-back and
// restore of the user page. It also triggers the automatic gain adjustment and erases the
// probe's settings. Tables, measure loop and reference files are in ktCalibrationPage.
class KTFactoryCalibration : public ktCalibrationPage
{
    Q_OBJECT
public:
    explicit KTFactoryCalibration(QWidget *parent = nullptr);
    ~KTFactoryCalibration() override;

    PageLog *logView() override;
    Ui::KTFactoryCalibrationForm *form() const { return ui; }
    QLineEdit *gainField(int k) const; // 1..9

public slots:
    void on_pbEraseFlash_clicked();
    bool on_pbRead_clicked();
    void on_pbLogClear_clicked();
    bool on_pbGenerate_clicked();
    void on_pbDownload_clicked();
    void on_pbImportResult_clicked();
    void on_pbExportResult_clicked();
    void on_chb_ReGen_toggled(bool bState);
    void on_pbRGE_clicked();
    // The user page moves off channel 00 here; this page works on channel 00, so it stays.
    void DelayTriggel() {}
    void Slot_UpdateCtrl();

protected:
    void changeEvent(QEvent *event) override;
    void reset() override;
    void channelChanged() override { Slot_UpdateCtrl(); }
    bool beforeReading() override;
    void setButtonsEnabled(bool on) override;

private:
    // "FCS,0" before a write when the destination is channel 00 (or always, with `always`).
    bool factoryGuard(bool always);
    QString gainsText() const;
    bool readMatrix(std::array<QString, 9> *texts);

    Ui::KTFactoryCalibrationForm *ui;
    bool m_guardFailed = false;
};
