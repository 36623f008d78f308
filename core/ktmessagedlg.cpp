#include "ktmessagedlg.h"

#include <QEvent>

#include "ktscaling.h"
#include "ui_ktmessagedlg.h"

ktMessageDlg::ktMessageDlg(QWidget *parent) : QDialog(parent), ui(new Ui::ktMessageDlg)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    KtScaling::apply(this);
}

ktMessageDlg::~ktMessageDlg()
{
    delete ui;
}

void ktMessageDlg::setMessage(const QString &text, bool showCancel, bool showOk)
{
    ui->lb_msg->setText(text);
    ui->pbCancel->setVisible(showCancel);
    ui->pbOK->setVisible(showOk);
}

QString ktMessageDlg::message() const
{
    return ui->lb_msg->text();
}

void ktMessageDlg::showEvent(QShowEvent *event)
{
    // A dialog closed by its title-bar button must not keep the answer of an earlier run.
    m_accepted = false;
    QDialog::showEvent(event);
}

void ktMessageDlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        const QString text = ui->lb_msg->text();
        ui->retranslateUi(this);
        ui->lb_msg->setText(text);
    }
    QDialog::changeEvent(event);
}

void ktMessageDlg::on_pbOK_clicked()
{
    m_accepted = true;
    close();
}

void ktMessageDlg::on_pbCancel_clicked()
{
    m_accepted = false;
    close();
}
