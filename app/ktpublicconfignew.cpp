#include "ktpublicconfignew.h"

#include "ktmessagedlg.h"
#include "ktscaling.h"
#include "portholder.h"
#include "ui_ktpublicconfignew.h"

#include <QButtonGroup>
#include <QEvent>
#include <QIntValidator>
#include <QVBoxLayout>

namespace {
const QString Red = QStringLiteral("red");
const QString Dashes = QStringLiteral("-----");
// Sync-mode names by button id, as the summary shows them (never translated: the summary is
// data in the result tables and exports).
const char *const SyncNames[] = {"NTSC", "PAL", "EXT", "UNIV", "INT", "MANUAL"};
} // namespace

ktPublicConfigNEW::ktPublicConfigNEW(QWidget *parent, const QString &title)
    : ktPublicConfig(parent), ui(new Ui::ktPublicConfigNEWForm)
{
    hideBaseForm();
    setObjectName(QStringLiteral("dialog"));
    setStyleSheet(QStringLiteral("QDialog#dialog{border-image:url(:/Tintora/Resources/background.bmp)}"));
    setWindowTitle(title.isEmpty() ? tr("Paramenters Setting") : title);

    m_body = new QWidget(this);
    ui->setupUi(m_body);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_body);
    resize(QSize(440, 440) * KtScaling::factor());

    m_syncGroup = new QButtonGroup(this);
    const QList<QRadioButton *> sync{ui->rb_SyncMode0, ui->rb_SyncMode1, ui->rb_SyncMode2,
                                     ui->rb_SyncMode3, ui->rb_SyncMode4, ui->rb_SyncMode5};
    for (int i = 0; i < sync.size(); ++i)
        m_syncGroup->addButton(sync.at(i), i);
    m_speedGroup = new QButtonGroup(this);
    const QList<QRadioButton *> speed{ui->rb_speedMode0, ui->rb_speedMode1, ui->rb_speedMode2,
                                      ui->rb_speedMode3};
    for (int i = 0; i < speed.size(); ++i)
        m_speedGroup->addButton(speed.at(i), i);

    for (int ch = 0; ch < 100; ++ch)
        ui->cb_memorychannnel->addItem(ch < 10 ? QStringLiteral("MCH0%1").arg(ch)
                                               : QStringLiteral("MCH%1").arg(ch));
    ui->le_avgtime->setValidator(new QIntValidator(0, 999, this));
    ui->lb_prejudgemode->hide();
    ui->cb_selectmode->hide();

    connect(m_syncGroup, &QButtonGroup::idClicked, this, &ktPublicConfigNEW::SetEditStatus);
    connect(ui->pbOK, &QPushButton::clicked, this, &ktPublicConfigNEW::on_pbOK_clicked);
    connect(ui->pbCancel, &QPushButton::clicked, this, &ktPublicConfigNEW::on_pbCancel_clicked);
    if (auto *hub = qobject_cast<ktPublicConfig *>(parent))
        connect(this, &ktPublicConfig::Signal_SendUpdateMCH, hub, &ktPublicConfig::Slot_UpdateMCH);

    readProbeSettings();
}

ktPublicConfigNEW::~ktPublicConfigNEW()
{
    delete ui;
}

void ktPublicConfigNEW::readProbeSettings()
{
    QString data;
    int syncId = -1;
    if (SendSTR(QStringLiteral("1"), &data)) {
        bool ok = false;
        const uint id = data.trimmed().toUInt(&ok);
        if (ok && m_syncGroup->button(int(id))) {
            m_syncGroup->button(int(id))->setChecked(true);
            syncId = int(id);
        }
    }
    if (SendSTR(QStringLiteral("28"), &data))
        ui->le_Vsyncf->setText(data.left(data.size() - 2));
    if (SendSTR(QStringLiteral("17"), &data))
        ui->le_ManualTime->setText(data.left(data.size() - 2));
    SetEditStatus(syncId);
    if (SendSTR(QStringLiteral("7"), &data)) {
        bool ok = false;
        const int id = data.trimmed().toInt(&ok);
        if (ok && m_speedGroup->button(id))
            m_speedGroup->button(id)->setChecked(true);
    }
    if (SendSTR(QStringLiteral("8"), &data))
        ui->le_avgtime->setText(data.trimmed());
    // The whole reply is needed here: an "ER" answer means the probe has no integration time.
    QString reply;
    if (exchange(QStringLiteral("STR,31\r"), 5000, &reply)) {
        if (reply.contains(QLatin1String("ER"))) {
            ui->cb_IntegrationTime->clear();
            ui->cb_IntegrationTime->setEnabled(false);
        } else if (reply.contains(QLatin1String("OK00"))) {
            bool ok = false;
            const int index = reply.mid(5).trimmed().toInt(&ok);
            if (ok && index >= 0 && index < ui->cb_IntegrationTime->count())
                ui->cb_IntegrationTime->setCurrentIndex(index);
        }
    }
    if (SendSTR(QStringLiteral("3"), &data)) {
        bool ok = false;
        const int ch = data.trimmed().toInt(&ok);
        if (ok && ch >= 0 && ch < ui->cb_memorychannnel->count())
            ui->cb_memorychannnel->setCurrentIndex(ch);
    }
    updateSummaryTexts();
}

void ktPublicConfigNEW::SetEditStatus(int iIndex)
{
    ui->le_Vsyncf->setEnabled(iIndex == 4);
    ui->le_ManualTime->setEnabled(iIndex == 5);
}

bool ktPublicConfigNEW::ChangeAvgTimes()
{
    const int n = ui->le_avgtime->text().toInt();
    if (n < 1 || n > 100) {
        messageDialog()->setMessage(tr("The range of averaging times is 1-100"), false, true);
        messageDialog()->exec();
        return false;
    }
    return SendMSC(QString::number(n));
}

void ktPublicConfigNEW::ChangeSyncMode(int iIndex)
{
    QString arg = QString::number(iIndex);
    if (iIndex == 4)
        arg += QLatin1Char(',') + QString::number(ui->le_Vsyncf->text().toDouble(), 'g', 6);
    else if (iIndex == 5)
        arg += QLatin1Char(',') + QString::number(ui->le_ManualTime->text().toDouble(), 'g', 6);
    SendSCS(arg);
}

void ktPublicConfigNEW::ChangeSpeedMode(int iIndex)
{
    SendFSC(QString::number(iIndex));
}

void ktPublicConfigNEW::on_pbOK_clicked()
{
    if (!SendMCH(ui->cb_memorychannnel->currentText().right(2)))
        return;
    if (!ChangeAvgTimes())
        return;
    if (ui->cb_IntegrationTime->isEnabled() && ui->cb_IntegrationTime->currentIndex() >= 0) {
        const int index = ui->cb_IntegrationTime->currentIndex();
        if (index == 0)
            SendVSN(QStringLiteral("1"));
        else if (index == 1)
            SendVSN(QStringLiteral("2"));
    }
    if (m_syncGroup->checkedId() >= 0 && m_speedGroup->checkedId() >= 0) {
        ChangeSyncMode(m_syncGroup->checkedId());
        ChangeSpeedMode(m_speedGroup->checkedId());
    }
    QString reply;
    if (exchange(QStringLiteral("INI\r"), 5000, &reply) && !reply.contains(QLatin1String("OK00")))
        appendLog(tr("Command execution error!"), Red);
    updateSummaryTexts();
    accept();
}

void ktPublicConfigNEW::on_pbCancel_clicked()
{
    reject();
}

void ktPublicConfigNEW::updateSummaryTexts()
{
    PortHolder *holder = PortHolder::instance();
    QAbstractButton *speed = m_speedGroup->checkedButton();
    QString speedText = speed ? speed->text() : QString();
    QString integrationText = ui->cb_IntegrationTime->currentText();
    holder->setAverageText(ui->le_avgtime->text());

    const int syncId = m_syncGroup->checkedId();
    if (syncId >= 0) {
        QString sync = QString::fromLatin1(SyncNames[syncId]);
        switch (syncId) {
        case 0:
            sync += QStringLiteral(":59.94[Hz]");
            break;
        case 1:
            sync += QStringLiteral(":50.00[Hz]");
            break;
        case 4:
            sync += QLatin1Char(':') + ui->le_Vsyncf->text() + QStringLiteral("[Hz]");
            break;
        case 5:
            sync += QLatin1Char(':') + ui->le_ManualTime->text() + QStringLiteral("[ms]");
            speedText = Dashes;
            integrationText = Dashes;
            break;
        default: // EXT and UNIV follow the external signal: no integration setting applies
            integrationText = Dashes;
            break;
        }
        holder->setSyncText(sync);
    }
    holder->setSpeedText(speedText);
    holder->setIntegrationText(integrationText);
}

void ktPublicConfigNEW::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && ui) {
        ui->retranslateUi(m_body);
        setWindowTitle(tr("Paramenters Setting"));
    }
    ktPublicConfig::changeEvent(event);
}
