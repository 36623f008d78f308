#pragma once

#include <QDialog>

namespace Ui {
class ktUserCaliHelp;
}

// The help picture of the calibration pages ("Help").
class ktUserCaliHelp : public QDialog
{
    Q_OBJECT
public:
    explicit ktUserCaliHelp(const QString &picture, QWidget *parent = nullptr);
    ~ktUserCaliHelp() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    Ui::ktUserCaliHelp *ui;
};
