#include "trendchart.h"

#include "ktqcustomplot.h"

#include <algorithm>
#include <cmath>

TrendChart::TrendChart(QCustomPlot *plot, QObject *parent) : QObject(parent), m_plot(plot)
{
    // The plot is handed the view once it has laid out its axes, right before it draws, so
    // that the view's strokes fall on the pixel columns of this very drawing.
    connect(m_plot, &QCustomPlot::afterLayout, this, &TrendChart::updateView);
}

namespace {
// The axis titles that are words; the others are symbols and units.
const char *const TitleWords[] = {QT_TRANSLATE_NOOP("TrendChart", "No."),
                                  QT_TRANSLATE_NOOP("TrendChart", "Flicker[%]"),
                                  QT_TRANSLATE_NOOP("TrendChart", "Flicker[dB]")};

QString shown(const QString &title)
{
    const QByteArray key = title.toUtf8();
    for (const char *w : TitleWords) {
        if (key == w)
            return TrendChart::tr(w);
    }
    return title;
}
} // namespace

void TrendChart::retranslate()
{
    m_plot->xAxis->setLabel(shown(QStringLiteral("No.")));
    m_plot->yAxis->setLabel(shown(m_leftTitle));
    m_plot->yAxis2->setLabel(shown(m_rightTitle));
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void TrendChart::setGraphs(const QString &leftTitle, const QString &rightTitle, const QVector<Graph> &graphs)
{
    m_plot->clearGraphs();
    m_graphs.clear();
    m_right.clear();
    m_plot->legend->setVisible(true);
    m_plot->legend->setFont(QFont(QStringLiteral("Microsoft JhengHei UI"), 8));
    m_plot->legend->setBrush(QColor(255, 255, 255, 100));
    m_leftTitle = leftTitle;
    m_rightTitle = rightTitle;
    m_plot->yAxis2->setVisible(!rightTitle.isEmpty());
    retranslate();
    for (const Graph &g : graphs) {
        QCPGraph *graph = m_plot->addGraph(m_plot->xAxis, g.rightAxis ? m_plot->yAxis2 : m_plot->yAxis);
        graph->setName(g.name);
        // One pixel wide: a wider pen makes the raster engine stroke every segment as an
        // outline, a hundred times the cost of the line (about 0.2 s for 500 points).
        graph->setPen(QPen(g.colour, 1));
        graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 3));
        // The view is decimated already, on pixel column centres the plot's own sampling would
        // move.
        graph->setAdaptiveSampling(false);
        m_graphs << graph;
        m_right << g.rightAxis;
    }
    m_data.reset(graphs.size());
    m_dirty = m_viewStale = true;
}

void TrendChart::addPoint(double key, const QVector<double> &values)
{
    m_data.addPoint(key, values);
    m_dirty = true;
}

void TrendChart::removePoints(const QVector<int> &sortedIndices)
{
    if (sortedIndices.isEmpty())
        return;
    m_data.removePoints(sortedIndices);
    m_dirty = m_viewStale = true;
}

void TrendChart::clear()
{
    m_data.clear();
    m_dirty = m_viewStale = true;
}

void TrendChart::refresh(bool force)
{
    if (!m_dirty && !force)
        return;
    m_dirty = false;
    m_viewStale = true;
    const QCPScatterStyle::ScatterShape marker =
        m_data.pointCount() < markerLimit ? QCPScatterStyle::ssCircle : QCPScatterStyle::ssNone;
    double lo[2] = {qInf(), qInf()};
    double hi[2] = {-qInf(), -qInf()};
    for (int i = 0; i < m_graphs.size(); ++i) {
        if (m_graphs.at(i)->scatterStyle().shape() != marker)
            m_graphs.at(i)->setScatterStyle(QCPScatterStyle(marker, 3));
        double min, max;
        const int axis = m_right.at(i) ? 1 : 0;
        if (m_data.range(i, &min, &max)) {
            lo[axis] = std::min(lo[axis], min);
            hi[axis] = std::max(hi[axis], max);
        }
    }
    const double last = m_data.pointCount() == 0 ? 10.0 : std::max(10.0, m_data.key(m_data.pointCount() - 1));
    m_plot->xAxis->setRange(0, last + 1);
    QCPAxis *axes[2] = {m_plot->yAxis, m_plot->yAxis2};
    for (int a = 0; a < 2; ++a) {
        if (lo[a] > hi[a]) {
            axes[a]->setRange(0, 1);
            continue;
        }
        const double span = hi[a] - lo[a];
        const double pad = span > 0 ? span * 0.1 : std::max(std::fabs(hi[a]) * 0.1, 1e-3);
        axes[a]->setRange(lo[a] - pad, hi[a] + pad);
    }
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void TrendChart::updateView()
{
    // The axis rect's pixel columns in keys; a resize or a new range moves them. An antialiased
    // graph is drawn half a pixel right and down of its coordinates (QCPPainter), so the
    // columns are taken half a pixel to the left: the view's strokes then land on the centres.
    const QCPAxisRect *rect = m_plot->xAxis->axisRect();
    const QCPRange range = m_plot->xAxis->range();
    TrendDecimator::Columns columns;
    if (rect->width() > 0) {
        columns.step = range.size() / rect->width();
        columns.origin = range.lower - (rect->left() + 0.5) * columns.step;
    }
    // Two buckets per pixel column of the widget (wider than the axis rect, so a bucket never
    // spans more than half a column); a resize may ask for another bucket width.
    const int width = m_data.bucketWidth();
    m_data.setMaxBuckets(2 * std::max(1, m_plot->width()));
    if (!m_viewStale && width == m_data.bucketWidth() && columns.step == m_columns.step &&
        columns.origin == m_columns.origin)
        return;
    m_viewStale = false;
    m_columns = columns;
    QVector<double> keys, values;
    for (int i = 0; i < m_graphs.size(); ++i) {
        keys.resize(0);
        values.resize(0);
        m_data.view(i, &keys, &values, columns);
        m_graphs.at(i)->setData(keys, values, true);
    }
}
