#pragma once

#include <QCoreApplication>
#include <QString>
#include <QVector>

// The synchronous-frequency scan without widgets or probe: the frequency check, the scan
// settings of setting.ini, the frequencies a scan visits, the scatter of each frequency's
// readings, the choice of the best one and the progress.
class SyncFreqScan
{
    Q_DECLARE_TR_FUNCTIONS(SyncFreqScan)
public:
    struct Settings
    {
        double step = 0.1;  // Hz between two frequencies
        double range = 1.0; // Hz on either side of the typed frequency
        int mesTimes = 10;  // readings per frequency, at least 2 for a sample deviation
    };
    // The probe synchronises to 10 to 300 Hz.
    static constexpr double MinHz = 10.0;
    static constexpr double MaxHz = 300.0;
    // More frequencies than this would keep the dialog busy for hours: such a step is refused.
    static constexpr int MaxFrequencies = 10001;

    // 10 to 299 with at most two decimals ("60", "59.9", "59.94", "100."), or 300 exactly
    // ("300", "300.0", "300.00").
    static bool frequencyTextValid(const QString &text);
    // The frequency as the probe is sent it: two decimals.
    static QString frequencyText(double hz);

    // The texts of SyncFreq/Step, SyncFreq/Range and SyncFreq/MesTimes; an empty text (a key
    // missing from an older file) takes the default. False with a message naming the key for a
    // step or range that is not a positive number, a MesTimes that is not a whole number of at
    // least 2, or a step so small that the scan would not end in reasonable time.
    static bool readSettings(const QString &step, const QString &range, const QString &mesTimes,
                             Settings *out, QString *error);

    SyncFreqScan(double centreHz, const Settings &settings);

    // centre − range … centre + range in steps, each computed from its index (no drift from
    // adding the step up), with 0.00001 Hz of slack at both ends so that the end points are
    // visited despite rounding; frequencies the probe cannot take (below 10, above 300 Hz) are
    // left out.
    const QVector<double> &frequencies() const { return m_frequencies; }
    int count() const { return int(m_frequencies.size()); }

    // Records the readings (luminance) of frequency k. A frequency with fewer than two readings
    // has no deviation and cannot win; otherwise it wins when it is the first, or its deviation
    // is strictly smaller than the best so far (equal scatter keeps the lower frequency).
    void addResult(int k, const QVector<double> &samples);
    // Percent done after frequency k: (k + 1) · 100 / count, so the last one gives exactly 100.
    int progressAfter(int k) const;

    bool hasBest() const { return m_best >= 0; }
    double bestFrequency() const { return m_best >= 0 ? m_frequencies[m_best] : 0.0; }
    double bestDeviation() const { return m_bestDeviation; }

    // √(Σ(s − mean)² / (n − 1)); NaN for fewer than two samples.
    static double sampleDeviation(const QVector<double> &samples);

private:
    QVector<double> m_frequencies;
    int m_best = -1;
    double m_bestDeviation = 0.0;
};
