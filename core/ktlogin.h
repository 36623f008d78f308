#pragma once

#include <QDialog>

namespace Ui {
class ktLogin;
}
class ktMessageDlg;

// Password prompt in front of the firmware upgrade.
class ktLogin : public QDialog
{
    Q_OBJECT
public:
    explicit ktLogin(QWidget *parent = nullptr);
    ~ktLogin() override;

    // True only after OK with the right password.
    bool isAccepted() const { return m_accepted; }
    // The exact, case-sensitive password test.
    static bool checkPassword(const QString &text);

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    void on_pbOK_clicked();
    void on_pbCancel_clicked();

private:
    Ui::ktLogin *ui;
    ktMessageDlg *m_message = nullptr;
    bool m_accepted = false;
};
