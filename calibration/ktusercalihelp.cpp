#include "ktusercalihelp.h"
#include "ui_ktusercalihelp.h"

#include "ktscaling.h"

#include <QEvent>
#include <QPixmap>

ktUserCaliHelp::ktUserCaliHelp(const QString &picture, QWidget *parent)
    : QDialog(parent), ui(new Ui::ktUserCaliHelp)
{
    ui->setupUi(this);
    setStyleSheet(QStringLiteral("QDialog#dialog{border-image:url(:/Tintora/Resources/background.bmp)}"));
    ui->lb_showHelp->setPixmap(QPixmap(picture));
    KtScaling::apply(this);
}

ktUserCaliHelp::~ktUserCaliHelp()
{
    delete ui;
}

void ktUserCaliHelp::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}
