#include "ktradiance.h"

#include "ktmessagedlg.h"
#include "ktqcustomplot.h"
#include "ktsafewrite.h"
#include "ktscaling.h"
#include "ktsettings.h"
#include "pagebody.h"
#include "pagelog.h"
#include "portholder.h"
#include "replyreader.h"
#include "radiancelogic.h"
#include "ui_ktradiance.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLinearGradient>
#include <QSerialPort>

#include <algorithm>

namespace {
const QString Red = QStringLiteral("red");
const QString Green = QStringLiteral("green");
} // namespace

ktSpectrum::ktSpectrum(QWidget *parent) : ktPublicConfig(parent), ui(new Ui::ktSpectrumForm)
{
    hideBaseForm();
    setWindowTitle(tr("Spectrum"));
    m_body = PageBody::create(this, 4);
    ui->setupUi(m_body);
    ui->te_Log->setMaximumWidth(int(320 * KtScaling::factor()));
    // The form's slots live on this page, not on the body the form was built on.
    QMetaObject::connectSlotsByName(this);

    m_hub = qobject_cast<ktPublicConfig *>(parent);
    if (m_hub) {
        connect(this, &ktPublicConfig::Signal_SendChangeMDS, m_hub.data(), &ktPublicConfig::Slot_ChangeMDS);
        connect(m_hub.data(), &ktPublicConfig::Signal_RecvChangeMDS, this, &ktSpectrum::Slot_RecvModeChange);
        // A port that was closed may come back on another probe, in any mode.
        connect(m_hub.data(), &ktPublicConfig::Signal_RecvClosePort, this, [this] { m_probeMode.clear(); });
    }

    QCustomPlot *p = ui->widgetSpectrum;
    m_line = p->addGraph();
    m_line->setPen(QPen(QColor(0, 90, 200), 1.5));
    m_bars = new QCPBars(p->xAxis, p->yAxis);
    m_bars->setWidth(1.0); // one bar per nanometre, side by side
    m_bars->setPen(Qt::NoPen);
    m_bars->setAntialiasedFill(false); // neighbouring bars meet without light seams
    p->xAxis->setRange(SpectrumLogic::FirstNm, SpectrumLogic::LastNm);
    p->yAxis->setRange(0, 1);
    // The bars' gradient is laid over the x axis in pixels, so it follows every resize.
    connect(p, &QCustomPlot::beforeReplot, this, &ktSpectrum::paintBars);
    retranslate();
    replot();

    askSavePath = [this](const QString &folder) {
        // The page refuses existing names itself; the dialog's own overwrite question would only
        // precede that refusal.
        return QFileDialog::getSaveFileName(this, tr("Save File"), folder, tr("file (*.csv)"), nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
}

ktSpectrum::~ktSpectrum()
{
    delete ui;
}

PageLog *ktSpectrum::logView()
{
    return ui->te_Log;
}

QCustomPlot *ktSpectrum::plot() const
{
    return ui->widgetSpectrum;
}

void ktSpectrum::Slot_RecvModeChange(QString strMDS)
{
    m_probeMode = strMDS;
}

void ktSpectrum::on_pb_Measure_clicked()
{
    if (m_measuring)
        return;
    QSerialPort *port = PortHolder::instance()->probePort();
    if (!port || !port->isOpen()) {
        showMessage(tr("Serial port is not opened!"));
        return;
    }
    m_measuring = true;
    ui->pb_Measure->setEnabled(false);
    QPointer<ktSpectrum> self(this);
    measure();
    if (!self)
        return;
    ui->pb_Measure->setEnabled(true);
    m_measuring = false;
}

void ktSpectrum::measure()
{
    QPointer<ktSpectrum> self(this);
    if (m_probeMode != QLatin1String("0")) {
        // The blocking form announces the change to the other pages through the hub.
        const bool ok = SendMDS(QStringLiteral("0"));
        if (!self)
            return;
        if (!ok) {
            appendLog(tr("Set display mode failed!"), Red);
            return;
        }
        m_probeMode = QStringLiteral("0");
    }

    QString reply;
    bool ok = SendMES1(&reply);
    if (!self)
        return;
    if (!ok) {
        appendLog(tr("Mes failed!"), Red);
        showMessage(tr("Mes failed!"));
        return;
    }
    ReplyReader::XyLv reading;
    if (!ReplyReader::readSync(reply, &reading)) {
        appendLog(tr("Format error!"), Red);
        return;
    }
    ui->le_x->setText(reading.x.text);
    ui->le_y->setText(reading.y.text);
    ui->le_Lv->setText(reading.lv.text);

    ok = SendRSD(&reply);
    if (!self)
        return;
    if (!ok) {
        appendLog(tr("Get SpectrumData failed!"), Red);
        showMessage(tr("Get SpectrumData failed!"));
        return;
    }
    QVector<double> values;
    if (!ReplyReader::readSpectrum(reply, &values)) {
        appendLog(tr("Format error!"), Red);
        return;
    }
    m_spectrum = values;
    replot();
    ui->pb_Export->setEnabled(true);
    ui->pb_Line->setEnabled(true);
    // The spectrum's own colour beside the reading: the two agree when the probe is sound.
    const SpectrumLogic::Colour c = SpectrumLogic::integrate(m_spectrum);
    appendLog(
        tr("From the spectrum: x %1, y %2, Lv %3")
            .arg(QString::number(c.x, 'f', 4), QString::number(c.y, 'f', 4), QString::number(c.Y, 'f', 2)),
        Green);
}

void ktSpectrum::replot()
{
    QVector<double> nm, value;
    nm.reserve(m_spectrum.size());
    value.reserve(m_spectrum.size());
    double top = 0.0;
    for (int i = 0; i < m_spectrum.size() && i < SpectrumLogic::MaxValues; ++i) {
        nm.append(SpectrumLogic::wavelengthOf(i));
        value.append(m_spectrum[i] * SpectrumLogic::PlotScale);
        top = std::max(top, value.last());
    }
    m_line->setData(nm, value, true);
    m_bars->setData(nm, value, true);
    m_line->setVisible(m_lineMode);
    m_bars->setVisible(!m_lineMode);
    QCustomPlot *p = ui->widgetSpectrum;
    p->xAxis->setRange(SpectrumLogic::FirstNm, SpectrumLogic::LastNm);
    p->yAxis->setRange(0, top > 0.0 ? top : 1.0);
    p->replot(QCustomPlot::rpQueuedReplot);
}

void ktSpectrum::paintBars()
{
    QCustomPlot *p = ui->widgetSpectrum;
    QLinearGradient rainbow(p->xAxis->coordToPixel(SpectrumLogic::FirstNm), 0,
                            p->xAxis->coordToPixel(SpectrumLogic::LastNm), 0);
    for (const SpectrumLogic::GradientStop &s : SpectrumLogic::RainbowStops)
        rainbow.setColorAt(s.position, QColor(s.r, s.g, s.b));
    m_bars->setBrush(QBrush(rainbow));
}

void ktSpectrum::on_pb_Line_clicked()
{
    m_lineMode = !m_lineMode;
    retranslate();
    replot();
}

void ktSpectrum::on_pb_Export_clicked()
{
    const QString key = QString::fromLatin1(KtSettings::Key::SpectrumPath);
    QString folder = KtSettings::readSetting(key);
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString path = askSavePath ? askSavePath(folder) : QString();
    if (path.isEmpty())
        return;
    KtSettings::writeSetting(key, QFileInfo(path).absolutePath());
    if (SpectrumLogic::exportTargetsExist(path)) {
        showMessage(tr("The file already exists,please rename this file!"));
        return;
    }
    QString error;
    if (!KtSafeWrite::writeFile(path, SpectrumLogic::csvText(m_spectrum), &error)) {
        appendLog(tr("Export failed!") + QLatin1Char(' ') + error, Red);
        showMessage(tr("Export failed!"));
        return;
    }
    const QString picture = SpectrumLogic::jpegPathFor(path);
    QCustomPlot *p = ui->widgetSpectrum;
    if (!p->saveJpg(picture, p->width(), p->height(), 1.0, -1, 96, QCP::ruDotsPerInch)) {
        appendLog(tr("Export failed!") + QLatin1Char(' ') + QDir::toNativeSeparators(picture), Red);
        showMessage(tr("Export failed!"));
        return;
    }
    appendLog(tr("Export successfully!") + QLatin1Char(' ') + QDir::toNativeSeparators(path), Green);
}

void ktSpectrum::retranslate()
{
    ui->pb_Line->setText(m_lineMode ? tr("Hist.") : tr("Line"));
    ui->widgetSpectrum->xAxis->setLabel(tr("Nanometers"));
    ui->widgetSpectrum->yAxis->setLabel(tr("Radiance(e-06)"));
}

void ktSpectrum::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(m_body);
        setWindowTitle(tr("Spectrum"));
        retranslate();
        ui->widgetSpectrum->replot(QCustomPlot::rpQueuedReplot);
    }
    ktPublicConfig::changeEvent(event);
}
