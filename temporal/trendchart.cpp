#include "trendchart.h"

#include "ktqcustomplot.h"

#include <cmath>

TrendChart::TrendChart(QCustomPlot *plot, QObject *parent) : QObject(parent), m_plot(plot)
{
    m_min[0] = m_min[1] = qInf();
    m_max[0] = m_max[1] = -qInf();
}

void TrendChart::setGraphs(const QString &leftTitle, const QString &rightTitle, const QVector<Graph> &graphs)
{
    m_plot->clearGraphs();
    m_graphs.clear();
    m_right.clear();
    m_plot->legend->setVisible(true);
    m_plot->legend->setFont(QFont(QStringLiteral("Microsoft JhengHei UI"), 8));
    m_plot->legend->setBrush(QColor(255, 255, 255, 100));
    m_plot->xAxis->setLabel(QStringLiteral("No."));
    m_plot->yAxis->setLabel(leftTitle);
    m_plot->yAxis2->setVisible(!rightTitle.isEmpty());
    m_plot->yAxis2->setLabel(rightTitle);
    for (const Graph &g : graphs) {
        QCPGraph *graph = m_plot->addGraph(m_plot->xAxis, g.rightAxis ? m_plot->yAxis2 : m_plot->yAxis);
        graph->setName(g.name);
        graph->setPen(QPen(g.colour, 1.5));
        graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 3));
        m_graphs << graph;
        m_right << g.rightAxis;
    }
    m_values = QVector<QVector<double>>(graphs.size());
    clear();
}

void TrendChart::addPoint(double key, const QVector<double> &values)
{
    m_keys << key;
    for (int i = 0; i < m_graphs.size(); ++i) {
        const double v = i < values.size() ? values.at(i) : std::nan("");
        m_values[i] << v;
        if (!std::isfinite(v))
            continue;
        m_graphs.at(i)->addData(key, v);
        const int axis = m_right.at(i) ? 1 : 0;
        m_min[axis] = std::min(m_min[axis], v);
        m_max[axis] = std::max(m_max[axis], v);
    }
    m_dirty = true;
}

void TrendChart::removePoints(const QVector<int> &sortedIndices)
{
    if (sortedIndices.isEmpty())
        return;
    // One compaction pass over the points, whatever the number removed.
    int next = 0, out = 0;
    for (int in = 0; in < m_keys.size(); ++in) {
        if (next < sortedIndices.size() && sortedIndices.at(next) == in) {
            ++next;
            continue;
        }
        m_keys[out] = out + 1;
        for (QVector<double> &v : m_values)
            v[out] = v.at(in);
        ++out;
    }
    m_keys.resize(out);
    for (QVector<double> &v : m_values)
        v.resize(out);
    rebuildPlotData();
}

void TrendChart::clear()
{
    m_keys.clear();
    for (QVector<double> &v : m_values)
        v.clear();
    rebuildPlotData();
}

void TrendChart::rebuildPlotData()
{
    m_min[0] = m_min[1] = qInf();
    m_max[0] = m_max[1] = -qInf();
    for (int i = 0; i < m_graphs.size(); ++i) {
        QVector<double> keys, values;
        for (int p = 0; p < m_keys.size(); ++p) {
            const double v = m_values.at(i).at(p);
            if (!std::isfinite(v))
                continue;
            keys << m_keys.at(p);
            values << v;
            const int axis = m_right.at(i) ? 1 : 0;
            m_min[axis] = std::min(m_min[axis], v);
            m_max[axis] = std::max(m_max[axis], v);
        }
        m_graphs.at(i)->setData(keys, values, true);
    }
    m_dirty = true;
}

void TrendChart::refresh(bool force)
{
    if (!m_dirty && !force)
        return;
    m_dirty = false;
    const double last = m_keys.isEmpty() ? 10.0 : std::max(10.0, m_keys.last());
    m_plot->xAxis->setRange(0, last + 1);
    QCPAxis *axes[2] = {m_plot->yAxis, m_plot->yAxis2};
    for (int a = 0; a < 2; ++a) {
        if (m_min[a] > m_max[a]) {
            axes[a]->setRange(0, 1);
            continue;
        }
        const double span = m_max[a] - m_min[a];
        const double pad = span > 0 ? span * 0.1 : std::max(std::fabs(m_max[a]) * 0.1, 1e-3);
        axes[a]->setRange(m_min[a] - pad, m_max[a] + pad);
    }
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}
