// The control commands for calibration work: the sensor's own error and the faults aimed at
// one command (a refused matrix write, a read-back that is never answered).

#include "simcontrol.h"
#include "simprobe.h"

#include <QStringList>

#include <cmath>

namespace Krn4Sim {

const std::array<double, 9> &typicalSensorError()
{
    // A colorimeter's filters never match the CIE functions exactly: some cross-talk between
    // the channels and gains a few per cent off. Well conditioned, so a calibration can undo it.
    static const std::array<double, 9> d{{1.035, 0.012, -0.018, 0.021, 0.982, 0.009, -0.006, 0.027, 1.048}};
    return d;
}

bool parseSensorError(const QString &text, std::array<double, 9> *d)
{
    if (text.trimmed().toLower() == QLatin1String("identity")) {
        *d = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
        return true;
    }
    const QStringList parts = text.split(',');
    if (parts.size() != 9)
        return false;
    std::array<double, 9> out{};
    for (int i = 0; i < 9; ++i) {
        bool ok = false;
        out[i] = parts[i].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(out[i]))
            return false;
    }
    *d = out;
    return true;
}

QString applyCalibrationControl(const QStringList &w, SimProbe &probe)
{
    const QString cmd = w.value(0).toLower();
    if (cmd == QLatin1String("fault") && w.value(1).toLower() == QLatin1String("clear")) {
        probe.clearCommandFaults();
        return QString(); // the other faults are cleared by the caller
    }
    if (cmd == QLatin1String("sensor")) {
        const QString what = w.value(1).toLower();
        if (what.isEmpty()) {
            QStringList v;
            for (double x : probe.sensorError())
                v << QString::number(x, 'g', 10);
            return QStringLiteral("OK error=") + v.join(',');
        }
        if (what == QLatin1String("error") && w.size() == 3) {
            std::array<double, 9> d{};
            if (!parseSensorError(w[2], &d))
                return QStringLiteral("ER usage: sensor error D11,D12,...,D33 | identity");
            probe.setSensorError(d);
            return QStringLiteral("OK");
        }
        if (what == QLatin1String("factory") && (w.size() == 2 || (w.size() == 3 && w[2].toLower() == "all")))
            return probe.factoryCalibrate(w.size() == 3) ? QStringLiteral("OK")
                                                         : QStringLiteral("ER the sensor error is singular");
        return QStringLiteral("ER usage: sensor | sensor error LIST|identity | sensor factory [all]");
    }
    if (cmd == QLatin1String("refuse") || cmd == QLatin1String("mute")) {
        SimProbe::CommandFault f;
        f.prefix = w.value(1).toUpper().toLatin1();
        f.silent = cmd == QLatin1String("mute");
        bool countOk = true, afterOk = true;
        if (w.size() > 2)
            f.count = w[2].toInt(&countOk);
        if (w.size() > 3)
            f.after = w[3].toInt(&afterOk);
        if (f.prefix.isEmpty() || w.size() > 4 || !countOk || !afterOk || f.count == 0 || f.count < -1 ||
            f.after < 0)
            return QStringLiteral("ER usage: %1 PREFIX [COUNT [AFTER]]").arg(cmd);
        probe.addCommandFault(f);
        return QStringLiteral("OK %1 %2").arg(cmd, QString::fromLatin1(f.prefix));
    }
    return QString();
}

} // namespace Krn4Sim
