#pragma once

#include <QVector>

// The points of a trend chart and a view of them whose size does not grow with the series.
//
// Every point is kept (export, rebuilds after a removal). Consecutive points are grouped in
// buckets of a power-of-two number of points; per graph a bucket remembers its lowest and its
// highest finite value, and the view of a graph holds only those two points per bucket, in key
// order, so a line through it keeps the envelope of the full series. When the buckets become
// more than maxBuckets, neighbours merge in pairs and the bucket width doubles: adding a point
// costs O(1) amortised and the view never exceeds 2 * maxBuckets points. With maxBuckets about
// twice the plot's width in pixels a bucket spans at most half a pixel column, so the drawn
// envelope matches the full one.
//
// Gaps (values that are not finite) are kept at the same resolution: a bucket without any
// finite value is a gap (a NaN) in the view; a shorter run of gaps, at most about a pixel
// column wide, would not show in the full drawing either, and the line runs through it. Without
// decimation (one point per bucket) every gap shows.
class TrendDecimator
{
public:
    struct Bucket
    {
        // First point with the lowest and with the highest finite value (all NaN when the
        // bucket has no finite value).
        double minKey, minValue, maxKey, maxValue;
    };

    explicit TrendDecimator(int graphCount = 0, int maxBuckets = 2048);

    // Drops every point and sets the number of graphs.
    void reset(int graphCount);
    // Rebuilds the buckets only when the width they need changes (a resized plot).
    void setMaxBuckets(int maxBuckets);
    // One value per graph at key (keys ascending); a missing value counts as a gap.
    void addPoint(double key, const QVector<double> &values);
    // Removes the points at the given indices (ascending, each once); the keys that follow move
    // down by the number of points removed before them, as table rows are renumbered.
    void removePoints(const QVector<int> &sortedIndices);
    void clear();

    int pointCount() const { return m_keys.size(); }
    int graphCount() const { return m_values.size(); }
    double key(int index) const { return m_keys.at(index); }
    double value(int graph, int index) const { return m_values.at(graph).at(index); }
    // Lowest and highest finite value of a graph; false when it has none.
    bool range(int graph, double *min, double *max) const;

    int maxBuckets() const { return m_maxBuckets; }
    int bucketWidth() const { return m_width; } // points per bucket, a power of two
    int bucketCount() const { return m_buckets.isEmpty() ? 0 : m_buckets.first().size(); }

    // The plot's pixel columns in keys: column c spans [origin + c * step, origin + (c + 1) * step).
    struct Columns
    {
        double origin = 0.0;
        double step = 0.0; // 0: not known
    };
    // The drawn points of a graph (a gap as a NaN value at the bucket's first key), appended in
    // key order. Given the
    // columns, and while buckets hold more than one point, the points of a bucket are drawn at
    // the centre of the column that holds the bucket's middle: its lowest-to-highest stroke
    // then covers that column fully, as the many strokes of the full series would. Strokes at
    // arbitrary fractions of a pixel would each be antialiased to a pale half column.
    void view(int graph, QVector<double> *keys, QVector<double> *values, const Columns &columns) const;
    void view(int graph, QVector<double> *keys, QVector<double> *values) const
    {
        view(graph, keys, values, Columns());
    }

private:
    void rebuild();
    void bin(int index);
    void mergePairs();

    QVector<double> m_keys;
    QVector<QVector<double>> m_values;  // [graph][point]
    QVector<QVector<Bucket>> m_buckets; // [graph][bucket]
    QVector<double> m_min, m_max;       // per graph, over finite values
    int m_width = 1;
    int m_maxBuckets;
};
