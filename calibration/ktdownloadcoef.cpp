#include "ktdownloadcoef.h"
#include "ui_ktdownloadcoef.h"

#include "calibrationlogic.h"
#include "ktscaling.h"
#include "ktusercalihelp.h"
#include "pagebody.h"
#include "pagelog.h"
#include "portholder.h"

#include <QDateTime>
#include <QSerialPort>

using namespace Calibration;

ktDownloadCoef::ktDownloadCoef(QWidget *parent) : ktPublicConfig(parent), ui(new Ui::ktDownloadCoefForm)
{
    hideBaseForm();
    PageBody::setBackground(this);
    ui->setupUi(PageBody::create(this));
    setWindowTitle(tr("Download"));
    ui->cb_memoryCH_from->addItem(channelText(0));
    for (int ch = 1; ch <= 99; ++ch) {
        ui->cb_memoryCH->addItem(channelText(ch));
        ui->cb_memoryCH_from->addItem(channelText(ch));
    }
    ui->dateTimeEdit->setDateTime(QDateTime::currentDateTime());
    connect(ui->pbDownload, &QPushButton::clicked, this, &ktDownloadCoef::on_pbDownload_clicked);
    connect(ui->pbClose, &QPushButton::clicked, this, &ktDownloadCoef::on_pbClose_clicked);
    connect(ui->pbHelp, &QPushButton::clicked, this, &ktDownloadCoef::on_pbHelp_clicked);
    connect(ui->cb_memoryCH, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &ktDownloadCoef::on_cb_memorychannnel_currentIndexChanged);
    if (auto *hub = qobject_cast<ktPublicConfig *>(parent))
        connect(this, &ktPublicConfig::Signal_SendUpdateMCH, hub, &ktPublicConfig::Slot_UpdateMCH);
    resize(560, 420);
    KtScaling::apply(this);
    on_cb_memorychannnel_currentIndexChanged(ui->cb_memoryCH->currentIndex());
}

ktDownloadCoef::~ktDownloadCoef()
{
    delete ui;
}

PageLog *ktDownloadCoef::logView()
{
    return ui ? ui->textLog : ktPublicConfig::logView();
}

void ktDownloadCoef::failStep(const QString &text)
{
    appendLog(text, QStringLiteral("red"));
    ui->textEdit_information->setPlainText(tr("Download color matrix parameter failed!"));
}

void ktDownloadCoef::on_pbDownload_clicked()
{
    if (!PortHolder::instance()->probePort()->isOpen()) {
        appendLog(tr("Serial port is not opened!"), QStringLiteral("red"));
        ui->textEdit_information->setPlainText(tr("Serial port is not opened!"));
        return;
    }
    const QString from = ui->cb_memoryCH_from->currentText(), to = ui->cb_memoryCH->currentText();
    if (!isUserChannel(to.right(2).toInt())) {
        failStep(tr("MCH00 holds the factory calibration and is never a download destination!"));
        return;
    }
    if (!SendMCH(from.right(2)))
        return failStep(tr("Set memory channel failed!"));
    std::array<QString, 9> matrix, before;
    for (int i = 0; i < 9; ++i)
        if (!SendCMR(QString::number(i), &matrix[size_t(i)]))
            return failStep(tr("Read color matrix parameter %1 failed!").arg(i));
    QString white[3];
    for (int i = 14; i <= 16; ++i)
        if (!SendCMR(QString::number(i), &white[i - 14]))
            return failStep(tr("Read white color parameter %1 failed!").arg(i));
    QString date = ui->dateTimeEdit->dateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (from == channelText(0) && !SendCMR(QStringLiteral("12"), &date))
        return failStep(tr("Read calibration date&time failed!"));
    if (!SendMCH(to.right(2)))
        return failStep(tr("Set memory channel failed!"));
    // The destination's own matrix, to put back if the copy fails part-way.
    for (int i = 0; i < 9; ++i)
        if (!SendCMR(QString::number(i), &before[size_t(i)]))
            return failStep(tr("Read color matrix parameter %1 failed!").arg(i));
    ChannelLink link;
    // An empty white reference ("nan") is refused by the probe with ER10: the copy keeps going.
    link.write = [this](int p, const QString &v) {
        return SendCMW(QString::number(p), v, p >= 14 && p <= 16);
    };
    link.read = [this](int p, QString *v) { return SendCMR(QString::number(p), v); };
    const WriteOutcome o = writeChannel(
        link, matrix, before,
        {{14, white[0]}, {15, white[1]}, {16, white[2]}, {11, ui->le_memorychannelname->text()}, {12, date}});
    if (!o.ok()) {
        appendLog(outcomeText(o), QStringLiteral("red"));
        ui->textEdit_information->setPlainText(tr("Download color matrix parameter failed!") + '\n' +
                                               outcomeText(o));
        return;
    }
    appendLog(outcomeText(o), QStringLiteral("green"));
    ui->textEdit_information->setPlainText(outcomeText(o));
}

QString ktDownloadCoef::initChannel(const QString &destination)
{
    const QString from = ui->cb_memoryCH_from->currentText(), to = ui->cb_memoryCH->currentText();
    ui->cb_memoryCH_from->setCurrentText(channelText(0));
    ui->cb_memoryCH->setCurrentText(destination);
    on_pbDownload_clicked();
    ui->cb_memoryCH_from->setCurrentText(from);
    ui->cb_memoryCH->setCurrentText(to);
    return ui->textEdit_information->toPlainText();
}

void ktDownloadCoef::on_pbClose_clicked()
{
    close();
}

void ktDownloadCoef::on_pbHelp_clicked()
{
    ktUserCaliHelp help(QStringLiteral(":/Tintora/Resources/downloadhelp.png"), this);
    help.exec();
}

void ktDownloadCoef::on_cb_memorychannnel_currentIndexChanged(int)
{
    if (!PortHolder::instance()->probePort()->isOpen())
        return;
    if (!SendMCH(ui->cb_memoryCH->currentText().right(2))) {
        appendLog(tr("Set memory channel failed!"), QStringLiteral("red"));
        return;
    }
    QString name;
    if (SendCMR11(&name))
        ui->le_memorychannelname->setText(name);
    else
        appendLog(tr("Read memory channel name failed!"), QStringLiteral("red"));
}

void ktDownloadCoef::changeEvent(QEvent *event)
{
    ktPublicConfig::changeEvent(event);
    if (event->type() == QEvent::LanguageChange && ui)
        ui->retranslateUi(ui->textLog->parentWidget());
}
