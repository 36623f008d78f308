#pragma once

#include <QDialog>

namespace Ui {
class ktMessageDlg;
}

// The modal message box every page uses for warnings and confirmations. The owner calls
// setMessage, runs exec() and reads isAccepted() afterwards.
class ktMessageDlg : public QDialog
{
    Q_OBJECT
public:
    explicit ktMessageDlg(QWidget *parent = nullptr);
    ~ktMessageDlg() override;

    // Sets the text and which buttons show.
    void setMessage(const QString &text, bool showCancel, bool showOk);
    QString message() const;
    // True after OK, false after Cancel or a close without OK.
    bool isAccepted() const { return m_accepted; }

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    void on_pbOK_clicked();
    void on_pbCancel_clicked();

private:
    Ui::ktMessageDlg *ui;
    bool m_accepted = false;
};
