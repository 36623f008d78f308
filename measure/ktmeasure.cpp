#include "ktmeasure.h"

#include "ktgraylevel.h"
#include "ktqcustomplot.h"
#include "ktscaling.h"
#include "ktsettings.h"
#include "ktshowrgb.h"
#include "measurementmodel.h"
#include "pagelog.h"
#include "ui_ktmeasure.h"

#include <QColorDialog>
#include <QDateTime>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

using namespace GrayLogic;

namespace {
const QString Red = QStringLiteral("red");
const QString Swatch = QStringLiteral("background-color: rgb(%1);");
} // namespace

ktMeasure::ktMeasure(QWidget *parent)
    : ktGrayScanPage(parent), m_colourWindow(new ktShowRGB(this)), ui(new Ui::ktMeasureForm),
      m_body(new QWidget(this))
{
    setObjectName(QStringLiteral("dialog"));
    setStyleSheet(QStringLiteral("QDialog#dialog{border-image:url(:/Tintora/Resources/background.bmp)}"));
    setWindowTitle(tr("Gray Scanning"));
    ui->setupUi(m_body);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_body);
    resize(1200, 700);
    setLogPanel(ui->te_Log);
    ui->le_ms->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d+")), ui->le_ms));
    ui->lb_color->installEventFilter(this);
    connect(ui->rb_RGB, &QRadioButton::clicked, this, &ktMeasure::CtrlStatusChange);
    connect(ui->rb_graylevel, &QRadioButton::clicked, this, &ktMeasure::CtrlStatusChange);
    QMetaObject::connectSlotsByName(this);
    CtrlStatusChange();
    setupTable(ui->twMeasureData, grayColumns());
    KtScaling::apply(this);

    scan()->hooks.show = [this](const QString &c) { showColour(c); };
    scan()->hooks.result = [this](const Task &, int, const Point &p, qint64 ms) {
        model()->append(pointRecord(m_currentColour, p, ms, QDateTime::currentMSecsSinceEpoch()));
        scrollToLast();
    };

    if (auto *hub = qobject_cast<ktPublicConfig *>(parent))
        connect(this, &ktPublicConfig::Signal_SendChangeMDS, hub, &ktPublicConfig::Slot_ChangeMDS);
    if (portOpen()) {
        if (!SendMDS(QStringLiteral("0")))
            appendLog(tr("Set display mode failed!"), Red);
    } else {
        appendLog(tr("Serial port is not opened!"), Red);
    }
}

ktMeasure::~ktMeasure()
{
    delete ui;
}

void ktMeasure::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        // retranslateUi writes nothing the operator typed: the edits' texts are not translated.
        ui->retranslateUi(m_body);
        setWindowTitle(tr("Gray Scanning"));
    }
    ktGrayScanPage::changeEvent(event);
}

void ktMeasure::setSelection(const Selection &selection)
{
    m_selection = selection;
    rebuildChartTabs();
}

void ktMeasure::CtrlStatusChange()
{
    const bool gray = ui->rb_graylevel->isChecked();
    ui->le_RGB->setEnabled(!gray);
    ui->pb_RGBcustom->setEnabled(!gray);
    ui->pb_graycustom->setEnabled(gray);
}

void ktMeasure::on_pb_RGBcustom_clicked()
{
    const QColor c = QColorDialog::getColor(Qt::black, this, tr("Color Dialog"));
    if (!c.isValid())
        return;
    const QString text = colourString(c.red(), c.green(), c.blue());
    ui->le_RGB->setText(text);
    ui->lb_color->setStyleSheet(Swatch.arg(text));
}

void ktMeasure::on_pb_graycustom_clicked()
{
    ktGrayLevel dialog(this);
    dialog.setSelection(m_selection);
    if (dialog.exec() == QDialog::Accepted)
        setSelection(dialog.selection());
}

void ktMeasure::rebuildChartTabs()
{
    while (ui->tabWidget->count() > 1) {
        QWidget *w = ui->tabWidget->widget(1);
        ui->tabWidget->removeTab(1);
        delete w;
    }
    const QVector<Task> tasks =
        selectionTasks(Selection{m_selection.flags, m_selection.tone, {QStringLiteral("0")}});
    for (const Task &task : tasks) {
        auto *plot = new QCustomPlot(ui->tabWidget);
        plot->xAxis->setLabel(tr("Gray Level"));
        plot->xAxis->setRange(0, 255);
        plot->yAxis->setLabel(tr("Luminance"));
        plot->yAxis->setRange(0, 400);
        const std::pair<const char *, QColor> graphs[] = {
            {"2.3", QColor(188, 74, 70)}, {"2.1", QColor(255, 181, 0)}, {nullptr, QColor(81, 201, 245)}};
        for (const auto &g : graphs) {
            QCPGraph *graph = plot->addGraph();
            graph->setName(g.first ? QLatin1String(g.first) : task.name);
            graph->setPen(QPen(g.second));
        }
        ui->tabWidget->addTab(plot, task.name);
    }
}

void ktMeasure::RGBDoubleClicked()
{
    m_colourWindow->SetColor(m_currentColour);
    m_colourWindow->setModal(false);
    m_colourWindow->show();
}

bool ktMeasure::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->lb_color && event->type() == QEvent::MouseButtonDblClick)
        RGBDoubleClicked();
    return ktGrayScanPage::eventFilter(watched, event);
}

void ktMeasure::showColour(const QString &colour)
{
    m_currentColour = colour;
    ui->le_currentRGB->setText(colour);
    ui->lb_color->setStyleSheet(Swatch.arg(colour));
    m_colourWindow->SetColor(colour);
    if (!m_colourWindow->isVisible()) {
        m_colourWindow->setModal(false);
        m_colourWindow->show();
    }
}

void ktMeasure::setRunning(bool running)
{
    ui->pb_stop->setEnabled(running);
    for (QPushButton *b : {ui->pb_save, ui->pb_measure, ui->pb_0cal, ui->pb_clear})
        b->setEnabled(!running);
}

void ktMeasure::on_pb_measure_clicked()
{
    if (!mayStart())
        return;
    if (ui->rb_graylevel->isChecked() && m_selection.levels.isEmpty()) {
        warn(tr("Please select gray level first!"));
        return;
    }
    QVector<Task> tasks;
    if (ui->rb_RGB->isChecked()) {
        if (!parseColour(ui->le_RGB->text())) {
            warn(tr("Over range,RGB range is rgb(0,0,0) - rgb(255,255,255)!"));
            ui->le_RGB->setText(QStringLiteral("0,0,0"));
            return;
        }
        tasks << Task{QStringLiteral("RGB"), {ui->le_RGB->text()}, {}};
    } else {
        tasks = selectionTasks(m_selection);
    }
    if (tasks.isEmpty())
        return;
    setRunning(true);
    scan()->run(tasks, waitMs(ui->le_ms->text()));
    on_pb_stop_clicked();
}

void ktMeasure::on_pb_stop_clicked()
{
    scan()->stop();
    setRunning(false);
}

void ktMeasure::on_pb_0cal_clicked()
{
    startZeroCalibration();
}

void ktMeasure::on_pb_clear_clicked()
{
    clearTable();
}

bool ktMeasure::exportCsv(const QString &path)
{
    return saveCsv(path, [this](QTextStream &out) { writeTableCsv(out, *model()); });
}

void ktMeasure::on_pb_save_clicked()
{
    const QString key = QString::fromLatin1(KtSettings::Key::GrayLevelDataPath);
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Save File"), KtSettings::readSetting(key), tr("file (*.csv)"));
    if (path.isEmpty() || !exportCsv(path))
        return;
    KtSettings::writeSetting(key, path);
}
