#include "ktlogin.h"

#include <QEvent>

#include "ktmessagedlg.h"
#include "ktscaling.h"
#include "ui_ktlogin.h"

ktLogin::ktLogin(QWidget *parent) : QDialog(parent), ui(new Ui::ktLogin)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    KtScaling::apply(this);
    m_message = new ktMessageDlg(this);
}

ktLogin::~ktLogin()
{
    delete ui;
}

bool ktLogin::checkPassword(const QString &text)
{
    return text == QLatin1String("480713");
}

void ktLogin::showEvent(QShowEvent *event)
{
    m_accepted = false;
    QDialog::showEvent(event);
}

void ktLogin::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QDialog::changeEvent(event);
}

void ktLogin::on_pbOK_clicked()
{
    m_accepted = checkPassword(ui->lineEdit->text());
    if (!m_accepted) {
        m_message->setMessage(tr("Invalid password!"), false, true);
        m_message->exec();
    }
    close();
}

void ktLogin::on_pbCancel_clicked()
{
    m_accepted = false;
    close();
}
