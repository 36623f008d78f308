#include "ktmeasure.h"

#include "ktgraylevel.h"
#include "ktqcustomplot.h"
#include "ktscaling.h"
#include "ktsettings.h"
#include "ktshowrgb.h"
#include "measurementmodel.h"
#include "pagelog.h"

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

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}
} // namespace

ktMeasure::ktMeasure(QWidget *parent) : ktGrayScanPage(parent), m_colourWindow(new ktShowRGB(this))
{
    setObjectName(QStringLiteral("dialog"));
    setStyleSheet(QStringLiteral("QDialog#dialog{border-image:url(:/Tintora/Resources/background.bmp)}"));
    setWindowTitle(tr("Gray Scanning"));
    resize(1200, 700);

    m_measure = button(tr("Measure"), "pb_measure", this);
    m_stop = button(tr("Stop"), "pb_stop", this);
    m_zeroCal = button(tr("0-Cal"), "pb_0cal", this);
    m_clear = button(tr("Clear"), "pb_clear", this);
    m_save = button(tr("Save"), "pb_save", this);
    m_rgbCustom = button(tr("Custom"), "pb_RGBcustom", this);
    m_grayCustom = button(tr("Gray Level"), "pb_graycustom", this);
    m_rbRgb = new QRadioButton(tr("RGB"), this);
    m_rbRgb->setObjectName(QStringLiteral("rb_RGB"));
    m_rbGray = new QRadioButton(tr("Gray Level"), this);
    m_rbGray->setObjectName(QStringLiteral("rb_graylevel"));
    m_rbRgb->setChecked(true);
    m_rgb = new QLineEdit(QStringLiteral("0,0,0"), this);
    m_rgb->setObjectName(QStringLiteral("le_RGB"));
    m_ms = new QLineEdit(QStringLiteral("0"), this);
    m_ms->setObjectName(QStringLiteral("le_ms"));
    m_ms->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d+")), m_ms));
    m_currentRgb = new QLineEdit(m_currentColour, this);
    m_currentRgb->setObjectName(QStringLiteral("le_currentRGB"));
    m_currentRgb->setReadOnly(true);
    m_swatch = new QLabel(this);
    m_swatch->setObjectName(QStringLiteral("lb_color"));
    m_swatch->setMinimumSize(60, 40);
    m_swatch->setStyleSheet(Swatch.arg(m_currentColour));
    m_swatch->installEventFilter(this);

    auto *setting = new QGroupBox(tr("Setting"), this);
    auto *grid = new QGridLayout(setting);
    grid->addWidget(m_rbRgb, 0, 0);
    grid->addWidget(m_rgb, 0, 1);
    grid->addWidget(m_rgbCustom, 0, 2);
    grid->addWidget(m_rbGray, 1, 0);
    grid->addWidget(m_grayCustom, 1, 2);
    grid->addWidget(new QLabel(tr("Interval"), this), 2, 0);
    grid->addWidget(m_ms, 2, 1);
    grid->addWidget(new QLabel(tr("[ms]"), this), 2, 2);
    grid->addWidget(m_swatch, 3, 0);
    grid->addWidget(m_currentRgb, 3, 1, 1, 2);
    grid->addWidget(m_measure, 4, 0);
    grid->addWidget(m_stop, 4, 1);
    grid->addWidget(m_zeroCal, 4, 2);
    grid->addWidget(m_clear, 5, 0);
    grid->addWidget(m_save, 5, 1);

    auto *log = new PageLog(this);
    setLogPanel(log);
    auto *left = new QVBoxLayout;
    left->addWidget(setting);
    left->addWidget(log, 1);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabWidget"));
    auto *tab = new QWidget(m_tabs);
    tab->setObjectName(QStringLiteral("tab"));
    m_table = new QTableView(tab);
    m_table->setObjectName(QStringLiteral("twMeasureData"));
    (new QVBoxLayout(tab))->addWidget(m_table);
    m_tabs->addTab(tab, tr("Data"));

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(m_tabs, 1);

    connect(m_measure, &QPushButton::clicked, this, &ktMeasure::on_pb_measure_clicked);
    connect(m_stop, &QPushButton::clicked, this, &ktMeasure::on_pb_stop_clicked);
    connect(m_zeroCal, &QPushButton::clicked, this, &ktMeasure::on_pb_0cal_clicked);
    connect(m_clear, &QPushButton::clicked, this, &ktMeasure::on_pb_clear_clicked);
    connect(m_save, &QPushButton::clicked, this, &ktMeasure::on_pb_save_clicked);
    connect(m_rgbCustom, &QPushButton::clicked, this, &ktMeasure::on_pb_RGBcustom_clicked);
    connect(m_grayCustom, &QPushButton::clicked, this, &ktMeasure::on_pb_graycustom_clicked);
    connect(m_rbRgb, &QRadioButton::clicked, this, &ktMeasure::CtrlStatusChange);
    connect(m_rbGray, &QRadioButton::clicked, this, &ktMeasure::CtrlStatusChange);
    m_stop->setEnabled(false);
    CtrlStatusChange();
    setupTable(m_table, grayColumns());
    KtScaling::apply(this);

    scan()->hooks.show = [this](const QString &c) { showColour(c); };
    scan()->hooks.result = [this](const Task &, int index, const Point &p, qint64 ms) {
        Q_UNUSED(index);
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

ktMeasure::~ktMeasure() = default;

void ktMeasure::setSelection(const Selection &selection)
{
    m_selection = selection;
    rebuildChartTabs();
}

void ktMeasure::CtrlStatusChange()
{
    const bool gray = m_rbGray->isChecked();
    m_rgb->setEnabled(!gray);
    m_rgbCustom->setEnabled(!gray);
    m_grayCustom->setEnabled(gray);
}

void ktMeasure::on_pb_RGBcustom_clicked()
{
    const QColor c = QColorDialog::getColor(Qt::black, this, tr("Color Dialog"));
    if (!c.isValid())
        return;
    const QString text = colourString(c.red(), c.green(), c.blue());
    m_rgb->setText(text);
    m_swatch->setStyleSheet(Swatch.arg(text));
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
    while (m_tabs->count() > 1) {
        QWidget *w = m_tabs->widget(1);
        m_tabs->removeTab(1);
        delete w;
    }
    const QVector<Task> tasks =
        selectionTasks(Selection{m_selection.flags, m_selection.tone, {QStringLiteral("0")}});
    for (const Task &task : tasks) {
        auto *plot = new QCustomPlot(m_tabs);
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
        m_tabs->addTab(plot, task.name);
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
    if (watched == m_swatch && event->type() == QEvent::MouseButtonDblClick)
        RGBDoubleClicked();
    return ktGrayScanPage::eventFilter(watched, event);
}

void ktMeasure::showColour(const QString &colour)
{
    m_currentColour = colour;
    m_currentRgb->setText(colour);
    m_swatch->setStyleSheet(Swatch.arg(colour));
    m_colourWindow->SetColor(colour);
    if (!m_colourWindow->isVisible()) {
        m_colourWindow->setModal(false);
        m_colourWindow->show();
    }
}

void ktMeasure::setRunning(bool running)
{
    m_stop->setEnabled(running);
    for (QPushButton *b : {m_save, m_measure, m_zeroCal, m_clear})
        b->setEnabled(!running);
}

void ktMeasure::on_pb_measure_clicked()
{
    if (!mayStart())
        return;
    if (m_rbGray->isChecked() && m_selection.levels.isEmpty()) {
        warn(tr("Please select gray level first!"));
        return;
    }
    QVector<Task> tasks;
    if (m_rbRgb->isChecked()) {
        if (!parseColour(m_rgb->text())) {
            warn(tr("Over range,RGB range is rgb(0,0,0) - rgb(255,255,255)!"));
            m_rgb->setText(QStringLiteral("0,0,0"));
            return;
        }
        tasks << Task{QStringLiteral("RGB"), {m_rgb->text()}, {}};
    } else {
        tasks = selectionTasks(m_selection);
    }
    if (tasks.isEmpty())
        return;
    setRunning(true);
    scan()->run(tasks, waitMs(m_ms->text()));
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
