#include "trenddecimator.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TrendDecimator::Bucket emptyBucket()
{
    return {kNaN, kNaN, kNaN, kNaN};
}

void include(TrendDecimator::Bucket &b, double key, double v)
{
    if (!std::isfinite(v))
        return;
    // Strict comparisons: on a tie the earlier point stays, as in a left-to-right scan.
    if (std::isnan(b.minValue) || v < b.minValue) {
        b.minKey = key;
        b.minValue = v;
    }
    if (std::isnan(b.maxValue) || v > b.maxValue) {
        b.maxKey = key;
        b.maxValue = v;
    }
}

// a holds the points just before those of b.
TrendDecimator::Bucket merged(const TrendDecimator::Bucket &a, const TrendDecimator::Bucket &b)
{
    TrendDecimator::Bucket m = a;
    if (!std::isnan(b.minValue) && (std::isnan(m.minValue) || b.minValue < m.minValue)) {
        m.minKey = b.minKey;
        m.minValue = b.minValue;
    }
    if (!std::isnan(b.maxValue) && (std::isnan(m.maxValue) || b.maxValue > m.maxValue)) {
        m.maxKey = b.maxKey;
        m.maxValue = b.maxValue;
    }
    return m;
}

} // namespace

TrendDecimator::TrendDecimator(int graphCount, int maxBuckets) : m_maxBuckets(std::max(2, maxBuckets))
{
    reset(graphCount);
}

void TrendDecimator::reset(int graphCount)
{
    m_values = QVector<QVector<double>>(graphCount);
    m_buckets = QVector<QVector<Bucket>>(graphCount);
    clear();
}

void TrendDecimator::clear()
{
    m_keys.clear();
    for (QVector<double> &v : m_values)
        v.clear();
    rebuild();
}

void TrendDecimator::setMaxBuckets(int maxBuckets)
{
    maxBuckets = std::max(2, maxBuckets);
    if (maxBuckets == m_maxBuckets)
        return;
    m_maxBuckets = maxBuckets;
    // The width in use is the smallest power of two that keeps the count within the limit;
    // rebuild only when the new limit asks for another width.
    const int n = pointCount();
    const bool tooMany = bucketCount() > m_maxBuckets;
    const bool couldHalve = m_width > 1 && (n + m_width / 2 - 1) / (m_width / 2) <= m_maxBuckets;
    if (tooMany || couldHalve)
        rebuild();
}

void TrendDecimator::addPoint(double key, const QVector<double> &values)
{
    m_keys << key;
    for (int g = 0; g < m_values.size(); ++g)
        m_values[g] << (g < values.size() ? values.at(g) : kNaN);
    bin(m_keys.size() - 1);
}

void TrendDecimator::removePoints(const QVector<int> &sortedIndices)
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
        m_keys[out] = m_keys.at(in) - next;
        for (QVector<double> &v : m_values)
            v[out] = v.at(in);
        ++out;
    }
    m_keys.resize(out);
    for (QVector<double> &v : m_values)
        v.resize(out);
    rebuild();
}

bool TrendDecimator::range(int graph, double *min, double *max) const
{
    if (!(m_min.at(graph) <= m_max.at(graph)))
        return false;
    *min = m_min.at(graph);
    *max = m_max.at(graph);
    return true;
}

void TrendDecimator::view(int graph, QVector<double> *keys, QVector<double> *values,
                          const Columns &columns) const
{
    const QVector<Bucket> &buckets = m_buckets.at(graph);
    keys->reserve(keys->size() + 2 * buckets.size());
    values->reserve(values->size() + 2 * buckets.size());
    const bool snap = m_width > 1 && columns.step > 0.0;
    for (int i = 0; i < buckets.size(); ++i) {
        const Bucket &b = buckets.at(i);
        // The lowest and the highest point in key order, or a gap.
        double k[2], v[2];
        int n = 0;
        if (std::isnan(b.minValue)) {
            k[n] = m_keys.at(i * m_width);
            v[n++] = kNaN;
        } else if (b.maxKey == b.minKey) {
            k[n] = b.minKey;
            v[n++] = b.minValue;
        } else {
            const bool minFirst = b.minKey < b.maxKey;
            k[n] = minFirst ? b.minKey : b.maxKey;
            v[n++] = minFirst ? b.minValue : b.maxValue;
            k[n] = minFirst ? b.maxKey : b.minKey;
            v[n++] = minFirst ? b.maxValue : b.minValue;
        }
        if (snap) {
            const double middle =
                (m_keys.at(i * m_width) + m_keys.at(std::min(pointCount(), (i + 1) * m_width) - 1)) / 2;
            const double column = std::floor((middle - columns.origin) / columns.step);
            std::fill(k, k + n, columns.origin + (column + 0.5) * columns.step);
        }
        for (int j = 0; j < n; ++j) {
            keys->append(k[j]);
            values->append(v[j]);
        }
    }
}

void TrendDecimator::rebuild()
{
    m_width = 1;
    const int graphs = m_values.size();
    m_min = QVector<double>(graphs, std::numeric_limits<double>::infinity());
    m_max = QVector<double>(graphs, -std::numeric_limits<double>::infinity());
    for (QVector<Bucket> &b : m_buckets)
        b.clear();
    // Binning point by point merges as it goes: O(n) in all.
    for (int i = 0; i < m_keys.size(); ++i)
        bin(i);
}

void TrendDecimator::bin(int index)
{
    const int slot = index / m_width;
    const double key = m_keys.at(index);
    for (int g = 0; g < m_values.size(); ++g) {
        QVector<Bucket> &buckets = m_buckets[g];
        if (slot == buckets.size())
            buckets.append(emptyBucket());
        const double v = m_values.at(g).at(index);
        include(buckets[slot], key, v);
        if (std::isfinite(v)) {
            m_min[g] = std::min(m_min.at(g), v);
            m_max[g] = std::max(m_max.at(g), v);
        }
    }
    if (bucketCount() > m_maxBuckets)
        mergePairs();
}

void TrendDecimator::mergePairs()
{
    for (QVector<Bucket> &buckets : m_buckets) {
        const int n = buckets.size();
        for (int i = 0; 2 * i < n; ++i)
            buckets[i] = 2 * i + 1 < n ? merged(buckets.at(2 * i), buckets.at(2 * i + 1)) : buckets.at(2 * i);
        buckets.resize((n + 1) / 2);
    }
    m_width *= 2;
}
