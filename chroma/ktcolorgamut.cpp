#include "ktcolorgamut.h"

#include "gamutcalc.h"
#include "ktcolorgamuthoseshose.h"
#include "ktmessagedlg.h"
#include "ktscaling.h"
#include "ktsettings.h"
#include "pagebody.h"
#include "portholder.h"
#include "replyreader.h"
#include "ui_ktcolorgamut.h"

#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QPointer>
#include <QSerialPort>
#include <QTimer>

namespace {

const QString Red = QStringLiteral("red");

// Waits keeping the window responsive (the measurement pause between two readings).
void responsiveWait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

ktColorGamut::ktColorGamut(QWidget *parent) : ktPublicConfig(parent), ui(new Ui::ktColorGamutForm)
{
    hideBaseForm();
    PageBody::setBackground(this);
    setWindowTitle(tr("Color Gamut"));

    m_body = PageBody::create(this);
    ui->setupUi(m_body);
    // The form is laid out; only the window size follows the display scaling.
    resize(QSize(1000, 680) * KtScaling::factor());
    // The form's slots live on this dialog, not on the body the form was built on.
    QMetaObject::connectSlotsByName(this);

    for (QGroupBox *box : {ui->gb_mes1, ui->gb_mes2, ui->gb_mes3, ui->gb_mes4})
        connect(box, &QGroupBox::clicked, this, &ktColorGamut::CheckeboxChanged);
    connect(this, &ktColorGamut::Signal_HorseShoe, ui->widgetHorseShoe, &ktColorGamutHoseShose::HorseShoeFun);
    // A display-mode change made here must reach the other pages through the hub.
    m_hub = qobject_cast<ktPublicConfig *>(parent);
    if (auto *hub = m_hub.data())
        connect(this, &ktPublicConfig::Signal_SendChangeMDS, hub, &ktPublicConfig::Slot_ChangeMDS);

    ui->widgetHorseShoe->referenceAreas(&m_ntscArea, &m_srgbArea, &m_dciArea, &m_bt2020Area);

    askExportPath = [this](const QString &proposed) {
        return QFileDialog::getSaveFileName(this, tr("Select export path"), proposed, tr("file (*.csv)"));
    };
}

ktColorGamut::~ktColorGamut()
{
    delete ui;
}

PageLog *ktColorGamut::logView()
{
    return ui->te_Log;
}

ktColorGamutHoseShose *ktColorGamut::diagram() const
{
    return ui->widgetHorseShoe;
}

QLineEdit *ktColorGamut::field(char which, int n) const
{
    QLineEdit *const table[3][4] = {
        {ui->le_MFlickerX1, ui->le_MFlickerX2, ui->le_MFlickerX3, ui->le_MFlickerX4},
        {ui->le_MFlickerY1, ui->le_MFlickerY2, ui->le_MFlickerY3, ui->le_MFlickerY4},
        {ui->le_MFlickerZ1, ui->le_MFlickerZ2, ui->le_MFlickerZ3, ui->le_MFlickerZ4}};
    const int row = which == 'x' ? 0 : which == 'y' ? 1 : 2;
    return table[row][n - 1];
}

QGroupBox *ktColorGamut::groupBox(int n) const
{
    QGroupBox *const boxes[4] = {ui->gb_mes1, ui->gb_mes2, ui->gb_mes3, ui->gb_mes4};
    return boxes[n - 1];
}

void ktColorGamut::showGroup(int n)
{
    const Group &group = m_groups[n - 1];
    const bool failed = group.state == GroupState::Failed;
    const bool measured = group.state == GroupState::Measured;
    const double values[3] = {group.x, group.y, group.lv};
    const char names[3] = {'x', 'y', 'z'};
    for (int i = 0; i < 3; ++i) {
        QLineEdit *edit = field(names[i], n);
        edit->setText(measured ? QString::number(values[i], 'g', 6) : QString());
        edit->setPlaceholderText(failed ? tr("failed") : QString());
    }
    QGroupBox *box = groupBox(n);
    box->setStyleSheet(failed ? QStringLiteral("QGroupBox::title { color: red; }") : QString());
    box->setToolTip(failed ? tr("The measurement of this group failed; measure it again.") : QString());
}

void ktColorGamut::refreshDiagramPoints()
{
    // A group that failed after an earlier success must not keep its old point.
    ui->widgetHorseShoe->clearPoints();
    for (int i = 0; i < 3; ++i) {
        if (m_groups[i].state == GroupState::Measured)
            ui->widgetHorseShoe->addPoint(m_groups[i].x, m_groups[i].y, i);
    }
}

void ktColorGamut::setControlsEnabled(bool on)
{
    for (QWidget *w : std::initializer_list<QWidget *>{ui->gb_mes1, ui->gb_mes2, ui->gb_mes3, ui->gb_mes4,
                                                       ui->pbCalcu, ui->pbExport})
        w->setEnabled(on);
}

bool ktColorGamut::parseReading(const QString &reply, double *x, double *y, double *lv)
{
    // The probe separates the fields with ";"; a reply with "," is read the same way.
    ReplyReader::XyLv c;
    if (!ReplyReader::readPlain(reply, &c) && !ReplyReader::readPlain(reply, &c, QLatin1Char(',')))
        return false;
    *x = c.x.value;
    *y = c.y.value;
    *lv = c.lv.value;
    return true;
}

void ktColorGamut::on_pbmes1_clicked()
{
    measureGroup(1);
}

void ktColorGamut::on_pbmes2_clicked()
{
    measureGroup(2);
}

void ktColorGamut::on_pbmes3_clicked()
{
    measureGroup(3);
}

void ktColorGamut::on_pbmes4_clicked()
{
    measureGroup(4);
}

void ktColorGamut::measureGroup(int n)
{
    if (m_measuring)
        return;
    QSerialPort *port = PortHolder::instance()->probePort();
    if (!port || !port->isOpen()) {
        showMessage(tr("Serial port is not opened!"));
        return;
    }
    m_measuring = true;
    setControlsEnabled(false);
    ui->widgetHorseShoe->setShowTriangle(false);

    // Another page may have left the probe in an XYZ or flicker display mode, whose reply this
    // page cannot read: put it in xyLv first (the hub tells the other pages).
    if (!SendMDS(QStringLiteral("0")))
        appendLog(tr("Set display mode failed!"), Red);

    QPointer<ktColorGamut> self(this);
    double sumX = 0.0, sumY = 0.0, sumLv = 0.0;
    int good = 0;
    for (int i = 0; i < 2; ++i) {
        responsiveWait(50);
        if (!self)
            return;
        QString reply;
        // The readings go through the hub's synchronous measurement, as every measuring dialog's.
        ktPublicConfig *meter = m_hub ? m_hub.data() : this;
        const bool ok = meter->SendMES(&reply);
        if (!self)
            return;
        if (!ok) {
            appendLog(tr("Measurement is failed!"), Red);
            break;
        }
        double x = 0.0, y = 0.0, lv = 0.0;
        if (!parseReading(reply, &x, &y, &lv)) {
            appendLog(tr("Format error!"), Red);
            break;
        }
        sumX += x;
        sumY += y;
        sumLv += lv;
        ++good;
    }
    Group &group = m_groups[n - 1];
    group.state = good ? GroupState::Measured : GroupState::Failed;
    group.x = good ? sumX / good : 0.0;
    group.y = good ? sumY / good : 0.0;
    group.lv = good ? sumLv / good : 0.0;
    showGroup(n);
    if (n <= 3)
        refreshDiagramPoints();

    setControlsEnabled(true);
    m_measuring = false;
}

void ktColorGamut::on_pbCalcu_clicked()
{
    // A triangle through a missing or failed group would be a triangle through a point that
    // was never measured: refuse, and say which group needs measuring.
    QStringList problems;
    for (int n = 1; n <= 3; ++n) {
        const QString title = groupBox(n)->title();
        if (m_groups[n - 1].state == GroupState::Failed)
            problems << tr("%1 failed: measure it again.").arg(title);
        else if (m_groups[n - 1].state == GroupState::NotMeasured)
            problems << tr("%1 has not been measured.").arg(title);
    }
    if (!problems.isEmpty()) {
        for (QLineEdit *result : {ui->le_NTSC, ui->le_sRGB, ui->le_DCI_P3, ui->le_BT2020})
            result->clear();
        ui->widgetHorseShoe->setShowTriangle(false);
        showMessage(tr("Cannot calculate the gamut.") + QLatin1Char('\n') + problems.join(QLatin1Char('\n')));
        return;
    }
    const float x1 = ui->le_MFlickerX1->text().toFloat();
    const float y1 = ui->le_MFlickerY1->text().toFloat();
    const float x2 = ui->le_MFlickerX2->text().toFloat();
    const float y2 = ui->le_MFlickerY2->text().toFloat();
    const float x3 = ui->le_MFlickerX3->text().toFloat();
    const float y3 = ui->le_MFlickerY3->text().toFloat();
    const double area = GamutCalc::triangleArea(x1, y1, x2, y2, x3, y3);
    ui->le_NTSC->setText(GamutCalc::ratioText(area, m_ntscArea));
    ui->le_sRGB->setText(GamutCalc::ratioText(area, m_srgbArea));
    ui->le_DCI_P3->setText(GamutCalc::ratioText(area, m_dciArea));
    ui->le_BT2020->setText(GamutCalc::ratioText(area, m_bt2020Area));
    ui->widgetHorseShoe->setShowTriangle(true);
}

void ktColorGamut::on_pbExport_clicked()
{
    QString dir = KtSettings::readSetting(QString::fromLatin1(KtSettings::Key::ColorGamutPath));
    if (dir.isEmpty())
        dir = QDir::homePath();
    const QString path =
        askExportPath ? askExportPath(dir + QStringLiteral("/ColorGamutData.csv")) : QString();
    if (path.isEmpty())
        return;
    KtSettings::writeSetting(QString::fromLatin1(KtSettings::Key::ColorGamutPath),
                             QFileInfo(path).absolutePath());

    GamutCalc::ExportData data;
    for (int i = 0; i < 3; ++i) {
        data.x[i] = field('x', i + 1)->text();
        data.y[i] = field('y', i + 1)->text();
        data.lv[i] = field('z', i + 1)->text();
    }
    data.ntsc = ui->le_NTSC->text();
    data.srgb = ui->le_sRGB->text();
    data.dcip3 = ui->le_DCI_P3->text();
    data.bt2020 = ui->le_BT2020->text();
    QString error;
    if (!GamutCalc::saveExport(path, data, &error)) {
        // Not claimed as a success: the operator learns that nothing was written.
        appendLog(tr("Export failed!") + QLatin1Char(' ') + error, Red);
        showMessage(tr("Export failed!"));
        return;
    }
    showMessage(tr("Export successfully!"));
}

void ktColorGamut::CheckeboxChanged(bool)
{
    // The four groups stay checked: the check box only marks the group, it never disables it.
    for (QGroupBox *box : {ui->gb_mes1, ui->gb_mes2, ui->gb_mes3, ui->gb_mes4}) {
        if (!box->isChecked()) {
            box->setChecked(true);
            break;
        }
    }
}

void ktColorGamut::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(m_body);
        setWindowTitle(tr("Color Gamut"));
    }
    ktPublicConfig::changeEvent(event);
}
