#include "ktversioninfo.h"
#include "ui_ktversioninfo.h"

#include "ktmessagedlg.h"
#include "ktscaling.h"
#include "ktshellrules.h"

#include <QPushButton>
#include <QTimer>

ktVersionInfo::ktVersionInfo(QWidget *parent) : ktPublicConfig(parent), ui(new Ui::ktVersionInfo)
{
    ui->setupUi(this);
    // The automatic on_pbOK_clicked connection binds the first "pbOK" among all descendants,
    // which is the base's message dialog (built before this form): bind this form's button.
    if (auto *messageOk = messageDialog()->findChild<QPushButton *>(QStringLiteral("pbOK")))
        disconnect(messageOk, &QPushButton::clicked, this, nullptr);
    disconnect(ui->pbOK, &QPushButton::clicked, this, nullptr);
    connect(ui->pbOK, &QPushButton::clicked, this, &ktVersionInfo::on_pbOK_clicked);
    hideBaseForm();
    KtScaling::apply(this);
}

ktVersionInfo::~ktVersionInfo()
{
    delete ui;
}

QString ktVersionInfo::firmwareVersion()
{
    QString reply;
    const bool received = exchange(QStringLiteral("VER\r"), 5000, &reply);
    QString version;
    if (received && reply.contains(QLatin1String("V2")))
        SendVID1(&version);
    else
        SendVER1(&version);
    return version;
}

void ktVersionInfo::showEvent(QShowEvent *event)
{
    ktPublicConfig::showEvent(event);
    // Let the dialog paint before the probe is asked (the queries block for up to seconds).
    QTimer::singleShot(1, this, &ktVersionInfo::DelayTriggel);
}

void ktVersionInfo::DelayTriggel()
{
    ui->le_UplayerVersion->setText(QString::fromLatin1(KtShell::SoftwareVersion));
    ui->le_McuVersion->setText(firmwareVersion());
}

void ktVersionInfo::DvxVersionFun(QString strVersion)
{
    ui->le_McuVersion->setText(strVersion);
}

void ktVersionInfo::on_pbOK_clicked()
{
    emit Signal_EndWait();
    close();
}

void ktVersionInfo::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    ktPublicConfig::changeEvent(event);
}
