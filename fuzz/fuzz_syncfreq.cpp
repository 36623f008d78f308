// The synchronous-frequency dialog's settings: setting.ini of any content (after two bytes that
// give the typed frequency, 10.00..300.00 Hz) read as the dialog reads SyncFreq/Step, Range and
// MesTimes. Settings that pass are a positive finite step and range and at least two readings;
// the scan they make visits at most MaxFrequencies frequencies, each one the probe can take,
// in ascending order, and its progress ends at exactly 100.

#include "fuzzfiles.h"
#include "ktsettings.h"
#include "syncfreqscan.h"

#include <QFileInfo>

#include <cmath>
#include <cstddef>
#include <cstdint>

using FuzzFiles::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    static const QString path = [] {
        FuzzFiles::scratchDir(true);
        const QString p = KtSettings::settingIniPath();
        check(QDir().mkpath(QFileInfo(p).absolutePath()));
        return p;
    }();
    const double centre = 10.0 + (data[0] | data[1] << 8) % 29001 / 100.0;
    check(SyncFreqScan::frequencyTextValid(SyncFreqScan::frequencyText(centre)));
    FuzzFiles::writeFile(path, QByteArray(reinterpret_cast<const char *>(data + 2), int(size - 2)));
    const auto text = [](const char *key) { return KtSettings::readSetting(QString::fromLatin1(key)); };
    SyncFreqScan::Settings s;
    QString error;
    if (!SyncFreqScan::readSettings(text(KtSettings::Key::SyncFreqStep), text(KtSettings::Key::SyncFreqRange),
                                    text(KtSettings::Key::SyncFreqMesTimes), &s, &error)) {
        check(!error.isEmpty());
        return 0;
    }
    check(std::isfinite(s.step) && s.step > 0 && std::isfinite(s.range) && s.range > 0 && s.mesTimes >= 2);
    SyncFreqScan scan(centre, s);
    check(scan.count() <= SyncFreqScan::MaxFrequencies);
    for (int k = 0; k < scan.count(); ++k) {
        const double sent = SyncFreqScan::frequencyText(scan.frequencies().at(k)).toDouble();
        check(sent >= SyncFreqScan::MinHz && sent <= SyncFreqScan::MaxHz);
        check(k == 0 || scan.frequencies().at(k) > scan.frequencies().at(k - 1));
        check(scan.progressAfter(k) >= 0 && scan.progressAfter(k) <= 100);
    }
    if (scan.count() > 0) {
        check(scan.progressAfter(scan.count() - 1) == 100);
        scan.addResult(scan.count() - 1, {1.0, 2.0});
        check(scan.hasBest());
    }
    return 0;
}
