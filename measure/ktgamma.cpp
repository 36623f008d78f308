#include "ktgamma.h"

#include "ktmessagedlg.h"
#include "ktqcustomplot.h"
#include "ktsettings.h"
#include "measurementmodel.h"
#include "pagelog.h"
#include "portholder.h"
#include "ui_ktgamma.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

using namespace GrayLogic;

namespace {
const QString Red = QStringLiteral("red");
// Pen colours by graph: Red, Green, Blue, White, the 2.1 and the 2.3 curve.
const QColor GraphColours[6] = {QColor(255, 0, 0),     QColor(0, 255, 0),   QColor(0, 0, 255),
                                QColor(180, 180, 180), QColor(255, 152, 0), QColor(115, 115, 172)};
const QColor DeltaColours[3] = {QColor(255, 0, 0), QColor(0, 170, 0), QColor(0, 0, 255)};

void setDots(QCPGraph *graph, bool dots)
{
    if (dots) {
        graph->setLineStyle(QCPGraph::lsNone);
        graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, graph->pen().color(), 6));
    } else {
        graph->setLineStyle(QCPGraph::lsLine);
        graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
    }
}
} // namespace

ktGamma::ktGamma(QWidget *parent) : ktGrayScanPage(parent), ui(new Ui::ktGammaForm), m_body(new QWidget(this))
{
    setWindowTitle(tr("Gamma"));
    ui->setupUi(m_body);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_body);
    setLogPanel(ui->te_Log);
    m_replotTimer.setSingleShot(true);
    m_replotTimer.setInterval(100);
    connect(&m_replotTimer, &QTimer::timeout, this, [this] {
        m_gammaPlot->replot(QCustomPlot::rpQueuedReplot);
        m_chromaPlot->replot(QCustomPlot::rpQueuedReplot);
    });

    m_gammaPlot = ui->widgetGamma;
    m_chromaPlot = ui->widgetGammaChromaticity;
    m_curve[SeriesRed] = ui->cbGammaCurveR;
    m_curve[SeriesGreen] = ui->cbGammaCurveG;
    m_curve[SeriesBlue] = ui->cbGammaCurveB;
    m_curve[SeriesWhite] = ui->cbGammaCurveW;
    m_delta[0] = ui->cbDeltaX;
    m_delta[1] = ui->cbDeltaY;
    m_delta[2] = ui->cbDeltaZ;
    m_gammaPlot->plotLayout()->insertRow(0);
    m_gammaPlot->plotLayout()->addElement(0, 0, new QCPTextElement(m_gammaPlot, tr("Gamma Curve")));
    m_chromaPlot->plotLayout()->insertRow(0);
    m_chromaPlot->plotLayout()->addElement(0, 0,
                                           new QCPTextElement(m_chromaPlot, tr("Chromaticity Difference")));
    for (int g = 0; g < 6; ++g)
        m_gammaPlot->addGraph()->setPen(QPen(GraphColours[g], 1.5));
    for (int d = 0; d < 3; ++d) {
        m_chromaPlot->addGraph()->setPen(QPen(DeltaColours[d], 1.5));
        m_chromaPlot->graph(d)->setName(m_delta[d]->text());
    }
    m_gammaPlot->xAxis->setRange(0, 255);
    m_gammaPlot->yAxis->setRange(0, 1.05);
    m_fitText = new QCPItemText(m_gammaPlot);
    m_fitText->position->setType(QCPItemPosition::ptAxisRectRatio);
    m_fitText->position->setCoords(0.02, 0.03);
    m_fitText->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_fitText->setTextAlignment(Qt::AlignLeft);
    m_fitText->setText(QString());

    ui->le_ms->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d+")), ui->le_ms));
    setupTable(ui->twMeasureData, gammaColumns());
    QMetaObject::connectSlotsByName(this);
    for (QCheckBox *b : {ui->cbGammaCurveR, ui->cbGammaCurveG, ui->cbGammaCurveB, ui->cbGammaCurveW,
                         ui->cbGammaCurve21, ui->cbGammaCurve23, ui->cbGammaCurveDotDisplay})
        connect(b, &QCheckBox::toggled, this, &ktGamma::slot_gammaCurvesChanged);
    for (QCheckBox *b : {ui->cbDeltaX, ui->cbDeltaY, ui->cbDeltaZ, ui->cbChromaticityDotDisplay})
        connect(b, &QCheckBox::toggled, this, &ktGamma::slot_chromaticityChanged);
    connect(ui->cbbChromaticity, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &ktGamma::slot_chromaticityChanged);

    scan()->hooks.show = [this](const QString &c) {
        QString colour = c;
        emit signalShowColor(colour);
    };
    scan()->hooks.mayContinue = [this] { return !m_windowClosed; };
    scan()->hooks.result = [this](const Task &task, int index, const Point &p, qint64 ms) {
        addPoint(task, index, p, ms);
    };

    // A mode set by another page (the Measure tab's flicker modes) changes what "MES,1"
    // answers; the page sets its own again before the next run.
    if (auto *hub = qobject_cast<ktPublicConfig *>(parent)) {
        connect(this, &ktPublicConfig::Signal_SendChangeMDS, hub, &ktPublicConfig::Slot_ChangeMDS);
        connect(hub, &ktPublicConfig::Signal_RecvChangeMDS, this,
                [this](const QString &mode) { m_modeChanged = mode != QLatin1String("0"); });
    }
}

ktGamma::~ktGamma()
{
    delete ui;
}

void ktGamma::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        // The combo boxes keep the operator's choice across the form's own texts.
        const QSignalBlocker a(ui->cbbChromaticity), b(ui->cbbTones);
        const int colour = ui->cbbChromaticity->currentIndex(), tones = ui->cbbTones->currentIndex();
        ui->retranslateUi(m_body);
        ui->cbbChromaticity->setCurrentIndex(colour);
        ui->cbbTones->setCurrentIndex(tones);
        setWindowTitle(tr("Gamma"));
        redrawGamma();
    }
    ktGrayScanPage::changeEvent(event);
}

void ktGamma::slot_RGBWindowClose()
{
    m_windowClosed = true;
}

void ktGamma::slot_TipFinished(int result)
{
    m_tipDone = true;
    m_tipResult = result;
}

bool ktGamma::confirmStart()
{
    QString text = model()->recordCount() > 0 ? tr("Will clear current result! \n") : QString();
    text += tr("Tones : %1, Interval : %2 ms ?").arg(ui->cbbTones->currentText(), ui->le_ms->text());
    ktMessageDlg *box = messageDialog();
    box->setMessage(text, true, true);
    m_tipDone = false;
    const QMetaObject::Connection c = connect(box, &QDialog::finished, this, &ktGamma::slot_TipFinished);
    box->setModal(true);
    box->show();
    while (!m_tipDone)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    disconnect(c);
    return box->isAccepted();
}

void ktGamma::clearResults()
{
    model()->clear();
    for (Series &s : m_series)
        s.clear();
    redrawGamma();
    redrawChromaticity();
}

void ktGamma::setRunning(bool running)
{
    ui->pb_stop->setEnabled(running);
    for (QPushButton *b : {ui->pb_save, ui->pb_measure, ui->pb_0cal})
        b->setEnabled(!running);
}

void ktGamma::on_pb_measure_clicked()
{
    if (!mayStart() || !confirmStart())
        return;
    clearResults();
    quint32 flags = 0;
    const quint32 bits[SeriesCount] = {FlagRed, FlagGreen, FlagBlue, FlagWhite};
    for (int c = 0; c < SeriesCount; ++c) {
        if (m_curve[c]->isChecked())
            flags |= bits[c];
    }
    const QVector<Task> tasks = gammaTasks(ui->cbbTones->currentText().toInt(), flags);
    if (tasks.isEmpty())
        return;
    m_windowClosed = false;
    emit signalShowColorWindow();
    if (m_modeChanged) {
        if (SendMDS(QStringLiteral("0")))
            m_modeChanged = false;
        else
            appendLog(tr("Set display mode failed!"), Red);
    }
    setRunning(true);
    if (scan()->run(tasks, waitMs(ui->le_ms->text())) == GrayScan::End::Aborted) {
        const QString text = tr("Color window is closed!  measurement aborted!");
        appendLog(text, Red);
        warn(text);
    }
    on_pb_stop_clicked();
}

void ktGamma::on_pb_stop_clicked()
{
    scan()->stop();
    setRunning(false);
}

void ktGamma::on_pb_0cal_clicked()
{
    startZeroCalibration();
}

void ktGamma::addPoint(const Task &task, int index, const Point &p, qint64 ms)
{
    const double level = task.levels.value(index);
    Series &s = m_series[seriesOfTask(task.name)];
    s.levels << level;
    s.lum << p.Y.toDouble();
    s.x << p.x.toDouble();
    s.y << p.y.toDouble();
    PortHolder *holder = PortHolder::instance();
    const QStringList modes{holder->syncText(), holder->speedText(), holder->averageText(),
                            holder->integrationText()};
    model()->append(pointRecord(QString::number(level), p, ms, QDateTime::currentMSecsSinceEpoch(), modes));
    scrollToLast();
    redrawGamma();
    redrawChromaticity();
}

QString ktGamma::fittedGammaText() const
{
    QStringList lines;
    for (int c = 0; c < SeriesCount; ++c) {
        const double g = fitGamma(m_series[c]);
        if (std::isfinite(g))
            lines << QStringLiteral("%1  %2").arg(ui->cbbChromaticity->itemText(c)).arg(g, 0, 'f', 3);
    }
    return lines.isEmpty() ? QString()
                           : tr("Fitted gamma") + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
}

void ktGamma::redrawGamma()
{
    const Series *first = nullptr;
    for (int c : {SeriesWhite, SeriesRed, SeriesGreen, SeriesBlue}) {
        const Series &s = m_series[c];
        m_gammaPlot->graph(c)->setData(s.levels, normalised(s), true);
        if (!first && !s.isEmpty())
            first = &s;
    }
    QVector<double> ref21, ref23;
    if (first) {
        for (double g : first->levels) {
            ref21 << std::pow(g / 255.0, 2.1);
            ref23 << std::pow(g / 255.0, 2.3);
        }
        m_gammaPlot->graph(4)->setData(first->levels, ref21, true);
        m_gammaPlot->graph(5)->setData(first->levels, ref23, true);
        if (first->levels.size() > 1)
            m_gammaPlot->xAxis->setRange(first->levels.first(), first->levels.last());
    } else {
        m_gammaPlot->graph(4)->data()->clear();
        m_gammaPlot->graph(5)->data()->clear();
    }
    m_fitText->setText(fittedGammaText());
    slot_gammaCurvesChanged();
}

void ktGamma::redrawChromaticity()
{
    const Series &s = m_series[std::clamp(ui->cbbChromaticity->currentIndex(), 0, SeriesCount - 1)];
    const Drift d = drift(s);
    const QVector<double> *values[3] = {&d.dx, &d.dy, &d.dz};
    double low = 0, high = 0;
    for (int k = 0; k < 3; ++k) {
        m_chromaPlot->graph(k)->setData(s.levels, *values[k], true);
        for (double v : *values[k]) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    if (!s.isEmpty() && s.levels.size() > 1)
        m_chromaPlot->xAxis->setRange(s.levels.first(), s.levels.last());
    const double margin = std::max(1e-3, (high - low) * 0.05);
    m_chromaPlot->yAxis->setRange(low - margin, high + margin);
    showDeltas();
}

void ktGamma::slot_gammaCurvesChanged()
{
    for (int c = 0; c < SeriesCount; ++c)
        m_gammaPlot->graph(c)->setVisible(m_curve[c]->isChecked());
    m_gammaPlot->graph(4)->setVisible(ui->cbGammaCurve21->isChecked());
    m_gammaPlot->graph(5)->setVisible(ui->cbGammaCurve23->isChecked());
    for (int g = 0; g < 6; ++g)
        setDots(m_gammaPlot->graph(g), ui->cbGammaCurveDotDisplay->isChecked());
    requestReplot();
}

void ktGamma::slot_chromaticityChanged()
{
    redrawChromaticity();
}

void ktGamma::showDeltas()
{
    for (int k = 0; k < 3; ++k) {
        m_chromaPlot->graph(k)->setVisible(m_delta[k]->isChecked());
        setDots(m_chromaPlot->graph(k), ui->cbChromaticityDotDisplay->isChecked());
    }
    requestReplot();
}

void ktGamma::requestReplot()
{
    // A run measures up to a few hundred points a second; redrawing both charts for each of
    // them would make the last steps of a long ramp cost several times the first.
    if (!m_replotTimer.isActive())
        m_replotTimer.start();
}

bool ktGamma::exportCsv(const QString &path)
{
    return saveCsv(path, [this](QTextStream &out) {
        writeGammaCsv(out, m_series, *model(), QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")));
    });
}

void ktGamma::on_pb_save_clicked()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Save File"), KtSettings::openGammaCsvDir(),
                                                      tr("file (*.csv)"));
    if (path.isEmpty() || !exportCsv(path))
        return;
    KtSettings::setOpenGammaCsvDir(path);
}
