#pragma once

#include "ktcalibrationpage.h"

#include <array>

namespace Ui {
class KTUserCalibrationForm;
}

// The user-calibration tab: reference and measured values of up to five colour patches, the
// correction matrix computed from them (Calibration::generate) and composed with the channel's
// current matrix, and its download into a user memory channel with read-back (a failed
// download puts the previous matrix back). The arithmetic, files and the download sequence are
// in calibrationlogic, the tables, measure loop and reference files in ktCalibrationPage; this
// class reads the channel, generates, downloads and talks to the probe.
class KTUserCalibration : public ktCalibrationPage
{
    Q_OBJECT
public:
    explicit KTUserCalibration(QWidget *parent = nullptr);
    ~KTUserCalibration() override;

    PageLog *logView() override;
    Ui::KTUserCalibrationForm *form() const { return ui; }
    // The matrix read before the last generation, as the probe sent it.
    std::array<QString, 9> matrixBefore() const { return m_beforeTexts; }

public slots:
    bool pbRead_clicked();
    bool pbGenerate_clicked();
    void on_pbDownload_clicked();
    void on_pbHelp_clicked();
    void on_pbHideError_clicked();
    void HideError(bool bStatus);
    void on_pbSetting_clicked();
    void HideSetting(bool bStatus);
    void CheckeboxChanged(bool checked);
    void DelayTriggel();
    void Slot_UpdateCtrl();

protected:
    void changeEvent(QEvent *event) override;
    void reset() override;
    void channelChanged() override { Slot_UpdateCtrl(); }
    void setButtonsEnabled(bool on) override;

private:
    QVector<Calibration::Section> sections() const;
    bool changeChannel(const QString &two);

    Ui::KTUserCalibrationForm *ui;
    QString m_deviceId;
    bool m_errorHidden = true;
    bool m_settingHidden = true;
    bool m_allowChannel00Replace = false;
    bool m_downloading = false;
    std::array<QString, 9> m_beforeTexts;
};
