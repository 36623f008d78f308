#include "ktgamma.h"

#include "ktmessagedlg.h"
#include "ktqcustomplot.h"
#include "ktsettings.h"
#include "measurementmodel.h"
#include "pagelog.h"
#include "portholder.h"

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

template <typename W> W *named(W *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

QCheckBox *curveBox(const QString &text, const char *name, const QColor &colour, QWidget *parent)
{
    auto *box = named(new QCheckBox(text, parent), name);
    box->setChecked(true);
    box->setStyleSheet(
        QStringLiteral("color: rgb(%1, %2, %3);").arg(colour.red()).arg(colour.green()).arg(colour.blue()));
    return box;
}

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

ktGamma::ktGamma(QWidget *parent) : ktGrayScanPage(parent)
{
    setWindowTitle(tr("Gamma"));
    m_replotTimer.setSingleShot(true);
    m_replotTimer.setInterval(100);
    connect(&m_replotTimer, &QTimer::timeout, this, [this] {
        m_gammaPlot->replot(QCustomPlot::rpQueuedReplot);
        m_chromaPlot->replot(QCustomPlot::rpQueuedReplot);
    });

    m_gammaPlot = named(new QCustomPlot(this), "widgetGamma");
    m_gammaPlot->plotLayout()->insertRow(0);
    m_gammaPlot->plotLayout()->addElement(0, 0, new QCPTextElement(m_gammaPlot, tr("Gamma Curve")));
    m_chromaPlot = named(new QCustomPlot(this), "widgetGammaChromaticity");
    m_chromaPlot->plotLayout()->insertRow(0);
    m_chromaPlot->plotLayout()->addElement(0, 0,
                                           new QCPTextElement(m_chromaPlot, tr("Chromaticity Difference")));
    for (int g = 0; g < 6; ++g)
        m_gammaPlot->addGraph()->setPen(QPen(GraphColours[g], 1.5));
    for (int d = 0; d < 3; ++d)
        m_chromaPlot->addGraph()->setPen(QPen(DeltaColours[d], 1.5));
    m_gammaPlot->xAxis->setRange(0, 255);
    m_gammaPlot->yAxis->setRange(0, 1.05);
    m_fitText = new QCPItemText(m_gammaPlot);
    m_fitText->position->setType(QCPItemPosition::ptAxisRectRatio);
    m_fitText->position->setCoords(0.02, 0.03);
    m_fitText->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_fitText->setTextAlignment(Qt::AlignLeft);
    m_fitText->setText(QString());

    m_curve[SeriesRed] = curveBox(tr("R"), "cbGammaCurveR", GraphColours[0], this);
    m_curve[SeriesGreen] = curveBox(tr("G"), "cbGammaCurveG", GraphColours[1], this);
    m_curve[SeriesBlue] = curveBox(tr("B"), "cbGammaCurveB", GraphColours[2], this);
    m_curve[SeriesWhite] = curveBox(tr("W"), "cbGammaCurveW", GraphColours[3], this);
    m_curve21 = curveBox(QStringLiteral("2.1"), "cbGammaCurve21", GraphColours[4], this);
    m_curve23 = curveBox(QStringLiteral("2.3"), "cbGammaCurve23", GraphColours[5], this);
    m_gammaDots = named(new QCheckBox(tr("Dot Display"), this), "cbGammaCurveDotDisplay");
    m_chromaColour = named(new QComboBox(this), "cbbChromaticity");
    m_chromaColour->addItems({tr("Red"), tr("Green"), tr("Blue"), tr("White")});
    const char *deltaNames[3] = {"cbDeltaX", "cbDeltaY", "cbDeltaZ"};
    const QString deltaTexts[3] = {QString::fromUtf8("\xCE\x94x"), QString::fromUtf8("\xCE\x94y"),
                                   QString::fromUtf8("\xCE\x94z")};
    for (int d = 0; d < 3; ++d) {
        m_delta[d] = curveBox(deltaTexts[d], deltaNames[d], DeltaColours[d], this);
        m_chromaPlot->graph(d)->setName(deltaTexts[d]);
    }
    m_chromaDots = named(new QCheckBox(tr("Dot Display"), this), "cbChromaticityDotDisplay");

    m_ms = named(new QLineEdit(QStringLiteral("0"), this), "le_ms");
    m_ms->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d+")), m_ms));
    m_tones = named(new QComboBox(this), "cbbTones");
    m_tones->addItems({QStringLiteral("16"), QStringLiteral("32"), QStringLiteral("64"),
                       QStringLiteral("128"), QStringLiteral("256")});
    m_measure = named(new QPushButton(tr("Measure"), this), "pb_measure");
    m_stop = named(new QPushButton(tr("Stop"), this), "pb_stop");
    m_zeroCal = named(new QPushButton(tr("0-Cal"), this), "pb_0cal");
    m_save = named(new QPushButton(tr("Save"), this), "pb_save");
    m_stop->setEnabled(false);
    m_table = named(new QTableView(this), "twMeasureData");

    auto *gammaBoxes = new QHBoxLayout;
    for (QCheckBox *b : {m_curve[SeriesRed], m_curve[SeriesGreen], m_curve[SeriesBlue], m_curve[SeriesWhite],
                         m_curve21, m_curve23, m_gammaDots})
        gammaBoxes->addWidget(b);
    gammaBoxes->addStretch();
    auto *chromaBoxes = new QHBoxLayout;
    chromaBoxes->addWidget(m_chromaColour);
    for (QCheckBox *b : {m_delta[0], m_delta[1], m_delta[2], m_chromaDots})
        chromaBoxes->addWidget(b);
    chromaBoxes->addStretch();
    auto *charts = new QGridLayout;
    charts->addWidget(m_gammaPlot, 0, 0);
    charts->addWidget(m_chromaPlot, 0, 1);
    charts->addLayout(gammaBoxes, 1, 0);
    charts->addLayout(chromaBoxes, 1, 1);

    auto *setting = new QGroupBox(tr("Setting"), this);
    auto *grid = new QGridLayout(setting);
    grid->addWidget(new QLabel(tr("Interval"), this), 0, 0);
    grid->addWidget(m_ms, 0, 1);
    grid->addWidget(new QLabel(tr("[ms]"), this), 0, 2);
    grid->addWidget(new QLabel(tr("Tones"), this), 1, 0);
    grid->addWidget(m_tones, 1, 1);
    grid->addWidget(m_measure, 2, 0);
    grid->addWidget(m_stop, 2, 1);
    grid->addWidget(m_zeroCal, 3, 0);
    grid->addWidget(m_save, 3, 1);
    auto *log = new PageLog(this);
    setLogPanel(log);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(setting);
    bottom->addWidget(m_table, 3);
    bottom->addWidget(log, 1);
    log->setMaximumWidth(360);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(charts, 3);
    layout->addLayout(bottom, 2);

    setupTable(m_table, gammaColumns());
    connect(m_measure, &QPushButton::clicked, this, &ktGamma::on_pb_measure_clicked);
    connect(m_stop, &QPushButton::clicked, this, &ktGamma::on_pb_stop_clicked);
    connect(m_zeroCal, &QPushButton::clicked, this, &ktGamma::on_pb_0cal_clicked);
    connect(m_save, &QPushButton::clicked, this, &ktGamma::on_pb_save_clicked);
    for (QCheckBox *b : {m_curve[SeriesRed], m_curve[SeriesGreen], m_curve[SeriesBlue], m_curve[SeriesWhite],
                         m_curve21, m_curve23})
        connect(b, &QCheckBox::toggled, this, &ktGamma::on_cbGammaCurve_toggled);
    connect(m_gammaDots, &QCheckBox::toggled, this, &ktGamma::on_cbGammaCurveDotDisplay_toggled);
    for (QCheckBox *b : {m_delta[0], m_delta[1], m_delta[2], m_chromaDots})
        connect(b, &QCheckBox::toggled, this, &ktGamma::on_cbDelta_toggled);
    connect(m_chromaColour, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &ktGamma::on_cbbChromaticity_currentIndexChanged);

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

ktGamma::~ktGamma() = default;

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
    text += tr("Tones : %1, Interval : %2 ms ?").arg(m_tones->currentText(), m_ms->text());
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
    m_stop->setEnabled(running);
    for (QPushButton *b : {m_save, m_measure, m_zeroCal})
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
    const QVector<Task> tasks = gammaTasks(m_tones->currentText().toInt(), flags);
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
    if (scan()->run(tasks, waitMs(m_ms->text())) == GrayScan::End::Aborted) {
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
            lines << QStringLiteral("%1  %2").arg(m_chromaColour->itemText(c)).arg(g, 0, 'f', 3);
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
    on_cbGammaCurve_toggled();
}

void ktGamma::redrawChromaticity()
{
    const Series &s = m_series[std::clamp(m_chromaColour->currentIndex(), 0, SeriesCount - 1)];
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
    on_cbDelta_toggled();
}

void ktGamma::on_cbGammaCurve_toggled()
{
    for (int c = 0; c < SeriesCount; ++c)
        m_gammaPlot->graph(c)->setVisible(m_curve[c]->isChecked());
    m_gammaPlot->graph(4)->setVisible(m_curve21->isChecked());
    m_gammaPlot->graph(5)->setVisible(m_curve23->isChecked());
    on_cbGammaCurveDotDisplay_toggled();
}

void ktGamma::on_cbGammaCurveDotDisplay_toggled()
{
    for (int g = 0; g < 6; ++g)
        setDots(m_gammaPlot->graph(g), m_gammaDots->isChecked());
    requestReplot();
}

void ktGamma::on_cbbChromaticity_currentIndexChanged()
{
    redrawChromaticity();
}

void ktGamma::on_cbDelta_toggled()
{
    for (int k = 0; k < 3; ++k) {
        m_chromaPlot->graph(k)->setVisible(m_delta[k]->isChecked());
        setDots(m_chromaPlot->graph(k), m_chromaDots->isChecked());
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
