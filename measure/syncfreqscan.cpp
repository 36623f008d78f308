#include "syncfreqscan.h"

#include "ktsettings.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

bool SyncFreqScan::frequencyTextValid(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^((([1-9][0-9]|[1-2][0-9][0-9])[.]((\\d{1,2})?))|300|300.0|300.00|([1-9][0-9]|[1-2][0-9]["
        "0-9]))$"));
    return pattern.match(text).hasMatch();
}

QString SyncFreqScan::frequencyText(double hz)
{
    return QString::number(hz, 'f', 2);
}

namespace {

// A finite number > 0, or the default for an empty text.
bool positive(const QString &text, double fallback, double *out)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        *out = fallback;
        return true;
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v) || !(v > 0.0))
        return false;
    *out = v;
    return true;
}

} // namespace

bool SyncFreqScan::readSettings(const QString &step, const QString &range, const QString &mesTimes,
                                Settings *out, QString *error)
{
    const Settings defaults;
    Settings s;
    auto refuse = [error](const char *key, const QString &why) {
        if (error)
            *error = tr("Invalid %1 in setting.ini: %2").arg(QString::fromLatin1(key), why);
        return false;
    };
    if (!positive(step, defaults.step, &s.step))
        return refuse(KtSettings::Key::SyncFreqStep, tr("\"%1\" is not a positive number.").arg(step));
    if (!positive(range, defaults.range, &s.range))
        return refuse(KtSettings::Key::SyncFreqRange, tr("\"%1\" is not a positive number.").arg(range));
    if (mesTimes.trimmed().isEmpty()) {
        s.mesTimes = defaults.mesTimes;
    } else {
        bool ok = false;
        s.mesTimes = mesTimes.trimmed().toInt(&ok);
        if (!ok || s.mesTimes < 2)
            return refuse(KtSettings::Key::SyncFreqMesTimes,
                          tr("\"%1\" is not a whole number of at least 2.").arg(mesTimes));
    }
    if ((2.0 * s.range + 0.00001) / s.step >= MaxFrequencies)
        return refuse(KtSettings::Key::SyncFreqStep,
                      tr("a step of %1 Hz over a range of %2 Hz gives more than %3 frequencies.")
                          .arg(step.trimmed(), range.trimmed())
                          .arg(MaxFrequencies));
    if (out)
        *out = s;
    return true;
}

SyncFreqScan::SyncFreqScan(double centreHz, const Settings &settings)
{
    const double first = centreHz - settings.range - 0.00001;
    const double last = centreHz + settings.range + 0.00001;
    if (!(settings.step > 0.0) || !std::isfinite(first) || !std::isfinite(last))
        return;
    for (int k = 0; k < MaxFrequencies; ++k) {
        const double f = first + k * settings.step;
        if (f > last)
            break;
        // Judged as sent: two decimals.
        const double sent = frequencyText(f).toDouble();
        if (sent >= MinHz && sent <= MaxHz)
            m_frequencies.append(f);
    }
}

double SyncFreqScan::sampleDeviation(const QVector<double> &samples)
{
    const int n = int(samples.size());
    if (n < 2)
        return std::numeric_limits<double>::quiet_NaN();
    double mean = 0.0;
    for (double v : samples)
        mean += v;
    mean /= n;
    double sum = 0.0;
    for (double v : samples)
        sum += (v - mean) * (v - mean);
    return std::sqrt(sum / (n - 1));
}

void SyncFreqScan::addResult(int k, const QVector<double> &samples)
{
    const double s = sampleDeviation(samples);
    if (k < 0 || k >= count() || !std::isfinite(s))
        return;
    if (m_best < 0 || s < m_bestDeviation) {
        m_best = k;
        m_bestDeviation = s;
    }
}

int SyncFreqScan::progressAfter(int k) const
{
    if (count() == 0)
        return 100;
    return int((qint64(k) + 1) * 100 / count());
}
