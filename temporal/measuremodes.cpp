#include "measuremodes.h"

#include <cmath>

using FlickerLogic::Mode;
using FlickerLogic::Record;

namespace MeasureModes {

double number(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? v : std::nan("");
}

namespace {

// The "Current Data" texts and the trend values of each colour mode.
QStringList xyLvNow(const Record &r, const QStringList &)
{
    return {r.x, r.y, r.Y};
}
QStringList xyzNow(const Record &r, const QStringList &)
{
    return {r.X, r.Y, r.Z};
}
QStringList tcpNow(const Record &r, const QStringList &c)
{
    return {r.Y, c.at(8), c.at(9)};
}
QStringList waveNow(const Record &r, const QStringList &c)
{
    return {r.Y, c.at(10), c.at(11) + QLatin1Char('%')};
}
QStringList labNow(const Record &r, const QStringList &)
{
    return {r.L, r.a, r.b};
}
QStringList noNow(const Record &, const QStringList &)
{
    return {};
}
QVector<double> lvXy(const Record &r)
{
    return {number(r.Y), number(r.x), number(r.y)};
}
QVector<double> xyz(const Record &r)
{
    return {number(r.X), number(r.Y), number(r.Z)};
}
QVector<double> tcpDuv(const Record &r)
{
    return {number(r.Tcp), number(r.Duv)};
}
QVector<double> wavePe(const Record &r)
{
    return {number(r.waveLength), number(r.purity)};
}
QVector<double> noTrend(const Record &)
{
    return {};
}

const QColor Red(Qt::red);
const QColor Green(Qt::green);
const QColor Blue(0, 0, 255);

const QVector<Traits> &table()
{
    // In the order of FlickerLogic::Mode.
    // clang-format off
    static const QVector<Traits> all{
        {Mode::XyLv, "0", true, {"x:", "y:", "Lv:"}, "FMA:", "Lv[cd/m\u00b2]", "x,y",
         {{"Lv", Blue, false}, {"x", Red, true}, {"y", Green, true}}, xyLvNow, lvXy},
        {Mode::Xyz, "7", true, {"X:", "Y:", "Z:"}, "FMA:", "X,Y,Z", "",
         {{"X", Red, false}, {"Y", Green, false}, {"Z", Blue, false}}, xyzNow, xyz},
        {Mode::Fma, "6", false, {"", "", ""}, "FMA:", "Flicker[%]", "",
         {{"FMA", Red, false}}, noNow, noTrend},
        {Mode::Jeita, "8", false, {"", "", ""}, "JEITA:", "Flicker[dB]", "",
         {{"JEITA", Red, false}}, noNow, noTrend},
        {Mode::TcpDuv, "1", true, {"Lv:", "Tcp:", "duv:"}, "FMA:", "Tcp[K]", "duv",
         {{"Tcp", Red, false}, {"duv", Green, true}}, tcpNow, tcpDuv},
        {Mode::DominantWave, "0", true, {"Lv:", "\u03bbd:", "Pe:"}, "FMA:", "\u03bbd/\u03bbc[nm]", "Pe[%]",
         {{"\u03bbd/\u03bbc", Red, false}, {"Pe", Green, true}}, waveNow, wavePe},
        {Mode::Lab, "0", true, {"L*:", "a*:", "b*:"}, "FMA:", "Lv[cd/m\u00b2]", "x,y",
         {{"Lv", Blue, false}, {"x", Red, true}, {"y", Green, true}}, labNow, lvXy},
    };
    // clang-format on
    return all;
}

} // namespace

const Traits &traits(Mode mode)
{
    return table().at(static_cast<int>(mode));
}

int count()
{
    return table().size();
}

} // namespace MeasureModes
