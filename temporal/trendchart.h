#pragma once

#include "trenddecimator.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QVector>

class QCPGraph;
class QCustomPlot;

// The trend chart of a measuring page: one or more graphs over the row number, on a left and
// optionally a right axis. Every point is kept here (for a rebuild and for tests); the plot is
// fed only a decimated view of them (the lowest and highest value per half pixel column, drawn
// on the column's centre, see TrendDecimator), so a redraw costs the same at any length of
// series and a dense series still draws as a solid band. refresh() redraws when something
// changed and is meant to be called from the page's refresh timer, never per point.
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

    // Below this many points every point also gets a marker; above, markers would merge into a
    // blot and cost a symbol per point, so the graphs are plain lines.
    static constexpr int markerLimit = 500;

    TrendChart(QCustomPlot *plot, QObject *parent = nullptr);

    // Drops every point and sets up the graphs and axis titles (an empty right title hides the
    // right axis).
    void setGraphs(const QString &leftTitle, const QString &rightTitle, const QVector<Graph> &graphs);
    // Axis titles in the interface language (the titles given to setGraphs are the English
    // ones; symbols such as "Lv[cd/m²]" stay as they are).
    void retranslate();
    // One point per graph at key; a NaN value leaves a gap in that graph.
    void addPoint(double key, const QVector<double> &values);
    // Removes the points at the given indices (ascending, each once) and renumbers the keys
    // that follow, as the table renumbers its rows.
    void removePoints(const QVector<int> &sortedIndices);
    void clear();
    // Redraws if points changed since the last call; force redraws anyway.
    void refresh(bool force = false);

    int pointCount() const { return m_data.pointCount(); }
    int graphCount() const { return m_data.graphCount(); }
    double value(int graph, int index) const { return m_data.value(graph, index); }
    double key(int index) const { return m_data.key(index); }
    const TrendDecimator &data() const { return m_data; }
    QCustomPlot *plot() const { return m_plot; }

private:
    QString m_leftTitle, m_rightTitle;
    void updateView();

    QCustomPlot *m_plot;
    QVector<QCPGraph *> m_graphs;
    QVector<bool> m_right;
    TrendDecimator m_data;
    TrendDecimator::Columns m_columns; // of the view the plot holds
    bool m_dirty = false;              // points changed since the last refresh()
    bool m_viewStale = false;          // the plot's view is older than the points
};
