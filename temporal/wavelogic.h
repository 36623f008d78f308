#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// What the waveform and response-time pages compute, without a window: reading the sampled
// replies into time series, statistics, the flicker spectrum with its detected frequency, the
// automatic capture window, the transition analysis and the CSV layouts.
namespace WaveLogic {

constexpr int SampleRate = 3072;     // samples per second of the probe's high-rate sampling
constexpr double PeakBandHz = 200.0; // only bins up to here compete for the flicker peak
constexpr double NoPeakDb = -1000.0; // the peak before any bin is taken

// Decimation interval: an integer 1..100 written without leading zeros.
bool validDecimation(const QString &text);
// Response-time thresholds in percent and gray levels as the page's fields take them.
bool validStartThreshold(const QString &text); // 0..50
bool validEndThreshold(const QString &text);   // 50..100
bool validGrayLevel(const QString &text);      // 0..255

// Seconds between two samples at a decimation interval.
inline double samplePeriod(int decimation)
{
    return double(decimation < 1 ? 1 : decimation) / SampleRate;
}

// One sampled record. t is in seconds. Each channel is either empty or as long as t. x and y
// are NaN for a sample without light (X + Y + Z = 0).
struct Waveform
{
    QVector<double> t, x, y, lv, X, Y, Z;
    int size() const { return t.size(); }
    bool isEmpty() const { return t.isEmpty(); }
};

// "JAA" luminance: sample i at t = (i + 1)·d / 3072 s. False on a reply that does not read.
bool readJaa(const QString &reply, int decimation, Waveform *out);
// "JWA" three channels: sample i at t = i·d / 3072 s (+ firstTime); x, y from X, Y, Z and Lv = Y.
bool readJwa(const QString &reply, int decimation, Waveform *out, double firstTime = 0.0);

struct Stats
{
    double max = 0.0, min = 0.0, ave = 0.0;
    int count = 0; // values taken (NaN values are skipped)
};
Stats statistics(const QVector<double> &values);

// The flicker spectrum of a record whose length is a power of two (a longer record is cut to
// the largest power of two it holds). Bin k (1 .. n/2 − 1) is at k·(3072/d)/n Hz with the level
// 20·log10(|X_k| / |X_0|) dB.
struct Spectrum
{
    QVector<double> freq, db; // bins 1 .. n/2 − 1
    double peakDb = NoPeakDb; // the largest level up to PeakBandHz
    int peakIndex = -1;       // index into freq/db of the peak; -1 when none was taken
    double detectedHz = 0.0;  // the peak frequency refined between it and its larger neighbour
    bool valid = false;       // n ≥ 4 and a DC level above 0
};
Spectrum spectrum(const QVector<double> &samples, int decimation);

// The automatic capture window of the response-time page: the frame-averaged luminance (one
// frame = 3072 / (d·screenHz) samples, which removes the panel's own frame-rate ripple) is
// searched for its steepest change, and the window spans CaptureFrames frames on either side of
// it. Too few samples for that (or no usable screen frequency) leaves tooFewSamples set and the
// window on the whole record.
constexpr int CaptureFrames = 5;
struct CaptureWindow
{
    int indexLeft = 0, indexRight = 0;
    double axisLeft = 0.0, axisRight = 0.0;
    bool tooFewSamples = false;
};
CaptureWindow captureWindow(const Waveform &wave, double screenHz, int decimation);

// Transition analysis between a start and an end threshold (percent of the range of the samples
// with dxMin ≤ t ≤ dxMax). A pair of consecutive samples on both sides of a level (touching
// counts) sets that level's point to the sample nearer to it (the second one on a tie); as soon
// as both points are set they make one transition and both are cleared.
struct TransitionPoint
{
    double t = 0.0, lv = 0.0;
    int index = -1;
};
struct Transition
{
    TransitionPoint start, end;
    double duration = 0.0; // |t_start − t_end| in seconds
};
QVector<Transition> transitions(const QVector<double> &t, const QVector<double> &lv, double dxMin,
                                double dxMax, double startPercent, double endPercent);

// ---- files ----------------------------------------------------------------------------------

// Number text of the files: enough digits that reading it back gives the same double.
QString numberText(double v);

// ktWaveForm: "NO.,Value" and one "%1,%2" line per sample.
QByteArray waveFormCsv(const QVector<double> &values);
// ktWaveFormJWA: "NO.,Time,x,y,Lv,X,Y,Z", a line per sample ("---" for a channel without data)
// and, beside the first lines after ", ,", the statistics as label and value.
struct LabelledValue
{
    QString label;
    double value;
};
QVector<LabelledValue> channelStatistics(const Waveform &wave);
QByteArray waveFormJwaCsv(const Waveform &wave);
// Response time: "NO.,Time[ms],x,y,Lv" and "%1,%2,%3,%4,%5" per sample; read back by
// readResponseTimeCsv (false, output untouched, on a file of another layout).
QByteArray responseTimeCsv(const Waveform &wave);
bool readResponseTimeCsv(const QByteArray &data, Waveform *out);

} // namespace WaveLogic
