#pragma once

#include "ktpublicconfig.h"

namespace Ui {
class ktDownloadCoefForm;
}

// Copies the matrix and white reference of one memory channel ("from") into another, with a
// new name and calibration date. The destination's previous matrix is read first, so a copy
// that fails part-way is written back (Calibration::writeChannel) instead of leaving a mixed
// matrix. Channel 00 is only ever a source.
class ktDownloadCoef : public ktPublicConfig
{
    Q_OBJECT
public:
    explicit ktDownloadCoef(QWidget *parent = nullptr);
    ~ktDownloadCoef() override;

    PageLog *logView() override;
    Ui::ktDownloadCoefForm *form() const { return ui; }
    // Copies MCH00 into the destination (e.g. "MCH05") without showing the dialog; returns the
    // text the download left in the information box.
    QString initChannel(const QString &destination);

public slots:
    void on_pbDownload_clicked();
    void on_pbClose_clicked();
    void on_pbHelp_clicked();
    void on_cb_memorychannnel_currentIndexChanged(int index);

protected:
    void changeEvent(QEvent *event) override;

private:
    void failStep(const QString &text);

    Ui::ktDownloadCoefForm *ui;
};
