#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QVector>

class QCPGraph;
class QCustomPlot;

// The trend chart of a measuring page: one or more graphs over the row number, on a left and
// optionally a right axis. Points are kept here (for a rebuild and for tests), the plot only
// shows them; refresh() redraws when something changed and is meant to be called from the
// page's refresh timer, never per point.
class TrendChart : public QObject
{
    Q_OBJECT
public:
    struct Graph
    {
        QString name;
        QColor colour;
        bool rightAxis = false;
    };

    TrendChart(QCustomPlot *plot, QObject *parent = nullptr);

    // Drops every point and sets up the graphs and axis titles (an empty right title hides the
    // right axis).
    void setGraphs(const QString &leftTitle, const QString &rightTitle, const QVector<Graph> &graphs);
    // One point per graph at key; a NaN value leaves a gap in that graph.
    void addPoint(double key, const QVector<double> &values);
    // Removes the points at the given indices (ascending, each once) and renumbers the keys
    // that follow, as the table renumbers its rows.
    void removePoints(const QVector<int> &sortedIndices);
    void clear();
    // Redraws if points changed since the last call; force redraws anyway.
    void refresh(bool force = false);

    int pointCount() const { return m_keys.size(); }
    int graphCount() const { return m_values.size(); }
    double value(int graph, int index) const { return m_values.at(graph).at(index); }
    QCustomPlot *plot() const { return m_plot; }

private:
    void rebuildPlotData();

    QCustomPlot *m_plot;
    QVector<QCPGraph *> m_graphs;
    QVector<bool> m_right;
    QVector<double> m_keys;
    QVector<QVector<double>> m_values;
    double m_min[2];
    double m_max[2];
    bool m_dirty = false;
};
