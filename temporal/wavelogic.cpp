#include "wavelogic.h"

#include "fft.h"
#include "ktcsv.h"
#include "replyreader.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

namespace WaveLogic {

namespace {

bool wholeMatch(const QString &text, const QString &pattern)
{
    const QRegularExpression re(QRegularExpression::anchoredPattern(pattern));
    return re.match(text).hasMatch();
}

double nan()
{
    return std::numeric_limits<double>::quiet_NaN();
}

} // namespace

bool validDecimation(const QString &text)
{
    return wholeMatch(text, QStringLiteral("([1-9]|[1-9][0-9])|100"));
}

bool validStartThreshold(const QString &text)
{
    return wholeMatch(text, QStringLiteral("50|[0-9]|[1-4][0-9]"));
}

bool validEndThreshold(const QString &text)
{
    return wholeMatch(text, QStringLiteral("100|[5-9][0-9]"));
}

bool validGrayLevel(const QString &text)
{
    return wholeMatch(text, QStringLiteral("255|[0-9]|[1-9][0-9]|1[0-9][0-9]|2[0-4][0-9]|25[0-5]"));
}

bool readJaa(const QString &reply, int decimation, Waveform *out)
{
    QVector<double> values;
    if (!ReplyReader::readSamples(reply, &values))
        return false;
    Waveform w;
    w.t.resize(values.size());
    const double dt = samplePeriod(decimation);
    for (int i = 0; i < values.size(); ++i)
        w.t[i] = (i + 1) * dt;
    w.lv = values;
    w.Y = values;
    *out = w;
    return true;
}

bool readJwa(const QString &reply, int decimation, Waveform *out, double firstTime)
{
    Waveform w;
    if (!ReplyReader::readChannelSamples(reply, &w.X, &w.Y, &w.Z))
        return false;
    const int n = w.X.size();
    const double dt = samplePeriod(decimation);
    w.t.resize(n);
    w.x.resize(n);
    w.y.resize(n);
    for (int i = 0; i < n; ++i) {
        w.t[i] = firstTime + i * dt;
        const double sum = w.X[i] + w.Y[i] + w.Z[i];
        w.x[i] = sum > 0.0 ? w.X[i] / sum : nan();
        w.y[i] = sum > 0.0 ? w.Y[i] / sum : nan();
    }
    w.lv = w.Y;
    *out = w;
    return true;
}

Stats statistics(const QVector<double> &values)
{
    Stats s;
    double sum = 0.0;
    for (double v : values) {
        if (std::isnan(v))
            continue;
        if (s.count == 0 || v > s.max)
            s.max = v;
        if (s.count == 0 || v < s.min)
            s.min = v;
        sum += v;
        ++s.count;
    }
    if (s.count > 0)
        s.ave = sum / s.count;
    return s;
}

Spectrum spectrum(const QVector<double> &samples, int decimation)
{
    Spectrum s;
    int n = 1;
    while (n * 2 <= samples.size())
        n *= 2;
    if (n < 4)
        return s;
    std::vector<fft::Complex> bins(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        bins[size_t(i)] = fft::Complex(samples.at(i), 0.0);
    fft transform;
    transform.forward(bins.data(), bins.data(), n);
    const double a0 = std::abs(bins[0]);
    if (!(a0 > 0.0))
        return s;
    s.valid = true;
    // The bin width uses the true sampling rate: 3072 / d is not a whole number for most d.
    const double binHz = 1.0 / samplePeriod(decimation) / n;
    const int count = n / 2 - 1;
    s.freq.resize(count);
    s.db.resize(count);
    QVector<double> amplitude(count);
    for (int k = 1; k <= count; ++k) {
        amplitude[k - 1] = std::abs(bins[size_t(k)]) / a0;
        s.freq[k - 1] = k * binHz;
        s.db[k - 1] = 20.0 * std::log10(amplitude[k - 1]);
        if (s.freq[k - 1] <= PeakBandHz && s.db[k - 1] > s.peakDb) {
            s.peakDb = s.db[k - 1];
            s.peakIndex = k - 1;
        }
    }
    if (s.peakIndex < 0)
        return s;
    // The tone lies between the peak bin and its larger neighbour; for a rectangular window its
    // offset in bins is the neighbour's share of the two amplitudes. At the ends of the list the
    // missing neighbour is the peak itself.
    const int i = s.peakIndex;
    const float p = float(amplitude[i]);
    const float r = float(i + 1 < count ? amplitude[i + 1] : amplitude[i]);
    const float l = float(i > 0 ? amplitude[i - 1] : amplitude[i]);
    const float f = float(s.freq[i]);
    const float width = float(binHz);
    s.detectedHz = r > l ? f + width * r / (r + p) : f - width * l / (l + p);
    return s;
}

CaptureWindow captureWindow(const Waveform &wave, double screenHz, int decimation)
{
    CaptureWindow w;
    const int n = wave.lv.size();
    w.indexRight = std::max(0, n - 1);
    if (n > 0) {
        w.axisLeft = wave.t.first();
        w.axisRight = wave.t.last();
    }
    const int frame = screenHz > 0.0 ? int(std::lround(1.0 / samplePeriod(decimation) / screenHz)) : 0;
    if (frame < 1 || n < frame * (2 * CaptureFrames + 1)) {
        w.tooFewSamples = true;
        return w;
    }
    // Running means over one frame; their steepest change is the edge.
    QVector<double> mean(n - frame + 1);
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        sum += wave.lv.at(i);
        if (i >= frame)
            sum -= wave.lv.at(i - frame);
        if (i >= frame - 1)
            mean[i - frame + 1] = sum / frame;
    }
    int edge = 0;
    double steepest = -1.0;
    for (int i = 0; i + frame < mean.size(); ++i) {
        const double step = std::abs(mean.at(i + frame) - mean.at(i));
        if (step > steepest) {
            steepest = step;
            edge = i + frame; // where the later frame begins
        }
    }
    int left = edge - CaptureFrames * frame;
    int right = edge + CaptureFrames * frame;
    if (left < 0) {
        right -= left;
        left = 0;
    }
    if (right > n - 1) {
        left = std::max(0, left - (right - (n - 1)));
        right = n - 1;
    }
    w.indexLeft = left;
    w.indexRight = right;
    w.axisLeft = wave.t.at(left);
    w.axisRight = wave.t.at(right);
    return w;
}

QVector<Transition> transitions(const QVector<double> &t, const QVector<double> &lv, double dxMin,
                                double dxMax, double startPercent, double endPercent)
{
    QVector<int> idx;
    const int n = std::min(t.size(), lv.size());
    for (int i = 0; i < n; ++i) {
        if (t.at(i) >= dxMin && t.at(i) <= dxMax)
            idx.append(i);
    }
    QVector<Transition> out;
    if (idx.size() < 2)
        return out;
    double lmax = lv.at(idx.first()), lmin = lmax;
    for (int i : idx) {
        lmax = std::max(lmax, lv.at(i));
        lmin = std::min(lmin, lv.at(i));
    }
    const double levelS = lmin + (lmax - lmin) * startPercent / 100.0;
    const double levelE = lmin + (lmax - lmin) * endPercent / 100.0;
    auto crossing = [&](int a, int b, double level, TransitionPoint *p) {
        const double va = lv.at(a), vb = lv.at(b);
        if (!((va <= level && vb >= level) || (va >= level && vb <= level)))
            return false;
        const int at = std::abs(va - level) < std::abs(vb - level) ? a : b;
        *p = {t.at(at), lv.at(at), at};
        return true;
    };
    TransitionPoint start, end;
    bool haveStart = false, haveEnd = false;
    for (int k = 0; k + 1 < idx.size(); ++k) {
        const int a = idx.at(k), b = idx.at(k + 1);
        TransitionPoint p;
        if (crossing(a, b, levelS, &p)) {
            start = p;
            haveStart = true;
        }
        if (crossing(a, b, levelE, &p)) {
            end = p;
            haveEnd = true;
        }
        if (haveStart && haveEnd) {
            out.append({start, end, std::abs(start.t - end.t)});
            haveStart = haveEnd = false;
        }
    }
    return out;
}

// ---- files ----------------------------------------------------------------------------------

QString numberText(double v)
{
    if (std::isnan(v))
        return QStringLiteral("nan");
    // The shortest text that reads back as v: fifteen digits lost the last bits of computed
    // values, and rounded the largest doubles up to a text that no longer reads as a number.
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

QByteArray waveFormCsv(const QVector<double> &values)
{
    QString text = QStringLiteral("NO.,Value\n");
    text.reserve(values.size() * 16);
    for (int i = 0; i < values.size(); ++i)
        text += QStringLiteral("%1,%2\n").arg(i + 1).arg(KtCsv::safeCell(numberText(values.at(i))));
    return text.toUtf8();
}

QVector<LabelledValue> channelStatistics(const Waveform &wave)
{
    QVector<LabelledValue> out;
    const Stats sx = statistics(wave.x), sy = statistics(wave.y), sl = statistics(wave.lv);
    auto ratio = [](double a, double b) { return b != 0.0 ? a / b : nan(); };
    auto add = [&](const char *label, const Stats &s, double v) {
        if (s.count > 0)
            out.append({QString::fromLatin1(label), v});
    };
    add("x-ave", sx, sx.ave);
    add("y-ave", sy, sy.ave);
    add("lv-ave", sl, sl.ave);
    add("x-max-min", sx, sx.max - sx.min);
    add("y-max-min", sy, sy.max - sy.min);
    add("lv-max-min", sl, sl.max - sl.min);
    add("x-min/max", sx, ratio(sx.min, sx.max));
    add("y-min/max", sy, ratio(sy.min, sy.max));
    add("lv-min/max", sl, ratio(sl.min, sl.max));
    add("lv-max/min", sl, ratio(sl.max, sl.min));
    return out;
}

QByteArray waveFormJwaCsv(const Waveform &wave)
{
    const QVector<LabelledValue> stats = channelStatistics(wave);
    auto cell = [](const QVector<double> &channel, int i) {
        return i < channel.size() ? KtCsv::safeCell(numberText(channel.at(i))) : QStringLiteral("---");
    };
    QString text = QStringLiteral("NO.,Time,x,y,Lv,X,Y,Z\n");
    text.reserve(wave.size() * 80);
    const int rows = std::max(wave.size(), int(stats.size()));
    for (int i = 0; i < rows; ++i) {
        if (i < wave.size()) {
            text += QString::number(i + 1) + QLatin1Char(',') + cell(wave.t, i);
            for (const QVector<double> *c : {&wave.x, &wave.y, &wave.lv, &wave.X, &wave.Y, &wave.Z})
                text += QLatin1Char(',') + cell(*c, i);
        } else {
            text += QStringLiteral(",,,,,,,");
        }
        if (i < stats.size())
            text +=
                QStringLiteral(", ,") + stats.at(i).label + QLatin1Char(',') + numberText(stats.at(i).value);
        text += QLatin1Char('\n');
    }
    return text.toUtf8();
}

QByteArray responseTimeCsv(const Waveform &wave)
{
    QString text = QStringLiteral("NO.,Time[ms],x,y,Lv\n");
    text.reserve(wave.size() * 60);
    auto at = [](const QVector<double> &c, int i) { return i < c.size() ? c.at(i) : nan(); };
    for (int i = 0; i < wave.size(); ++i)
        text += QStringLiteral("%1,%2,%3,%4,%5\n")
                    .arg(i + 1)
                    .arg(numberText(wave.t.at(i) * 1000.0), numberText(at(wave.x, i)),
                         numberText(at(wave.y, i)), numberText(at(wave.lv, i)));
    return text.toUtf8();
}

bool readResponseTimeCsv(const QByteArray &data, Waveform *out)
{
    QStringList lines = QString::fromUtf8(data).split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || lines.first() != QLatin1String("NO.,Time[ms],x,y,Lv"))
        return false;
    Waveform w;
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList f = lines.at(i).split(QLatin1Char(','));
        if (f.size() != 5)
            return false;
        // Time and Lv are numbers; x and y may be "nan" (a sample without light).
        double v[4];
        for (int c = 0; c < 4; ++c) {
            const QString &field = f.at(c + 1);
            const bool chromaticity = c == 1 || c == 2;
            bool ok = false;
            v[c] = field.toDouble(&ok);
            if (chromaticity && field == QLatin1String("nan"))
                v[c] = nan();
            else if (!ok || !std::isfinite(v[c]))
                return false;
        }
        w.t.append(v[0] / 1000.0);
        w.x.append(v[1]);
        w.y.append(v[2]);
        w.lv.append(v[3]);
    }
    w.Y = w.lv;
    *out = w;
    return true;
}

} // namespace WaveLogic
