#pragma once

#include "ktpublicconfig.h"

class QButtonGroup;
namespace Ui {
class ktPublicConfigNEWForm;
}

// The measurement-mode dialog ("Paramenters Setting"): sync mode with its frequency or time,
// speed mode, averaging times, integration time and memory channel. Building it reads the
// probe's current settings; OK writes them back and makes the probe apply them ("INI"). Both
// refresh the measurement-mode summary texts of PortHolder that the result tables show.
class ktPublicConfigNEW : public ktPublicConfig
{
    Q_OBJECT
public:
    explicit ktPublicConfigNEW(QWidget *parent = nullptr, const QString &title = QString());
    ~ktPublicConfigNEW() override;

    Ui::ktPublicConfigNEWForm *form() const { return ui; }
    QButtonGroup *syncGroup() const { return m_syncGroup; }
    QButtonGroup *speedGroup() const { return m_speedGroup; }

    // Writes the four summary texts to PortHolder from the form's current state.
    void updateSummaryTexts();

public slots:
    void on_pbOK_clicked();
    void on_pbCancel_clicked();
    void ChangeSyncMode(int iIndex);
    void ChangeSpeedMode(int iIndex);
    void SetEditStatus(int iIndex);
    bool ChangeAvgTimes();

protected:
    void changeEvent(QEvent *event) override;

private:
    void readProbeSettings();

    Ui::ktPublicConfigNEWForm *ui;
    QWidget *m_body = nullptr;
    QButtonGroup *m_syncGroup = nullptr;
    QButtonGroup *m_speedGroup = nullptr;
};
