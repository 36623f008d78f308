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

QVector<double> lvXy(const Record &r)
{
    return {number(r.Y), number(r.x), number(r.y)};
}

QStringList none(const Record &, const QStringList &)
{
    return {};
}

QVector<double> noTrend(const Record &)
{
    return {};
}

const QColor Red(Qt::red);
const QColor Green(Qt::green);
const QColor Blue(0, 0, 255);

const QVector<Spec> &table()
{
    // In the order of FlickerLogic::Mode.
    static const QVector<Spec> specs{
        {Mode::XyLv,
         "0",
         true,
         {"x:", "y:", "Lv:"},
         "",
         "Lv[cd/m\u00b2]",
         "x,y",
         {{"Lv", Blue, false}, {"x", Red, true}, {"y", Green, true}},
         [](const Record &r, const QStringList &) {
             return QStringList{r.x, r.y, r.Y};
         },
         lvXy},
        {Mode::Xyz,
         "7",
         true,
         {"X:", "Y:", "Z:"},
         "",
         "X,Y,Z",
         "",
         {{"X", Red, false}, {"Y", Green, false}, {"Z", Blue, false}},
         [](const Record &r, const QStringList &) {
             return QStringList{r.X, r.Y, r.Z};
         },
         [](const Record &r) {
             return QVector<double>{number(r.X), number(r.Y), number(r.Z)};
         }},
        {Mode::Fma, "6", false, {"", "", ""}, "FMA:", "Flicker[%]", "", {{"FMA", Red, false}}, none, noTrend},
        {Mode::Jeita,
         "8",
         false,
         {"", "", ""},
         "JEITA:",
         "Flicker[dB]",
         "",
         {{"JEITA", Red, false}},
         none,
         noTrend},
        {Mode::TcpDuv,
         "1",
         true,
         {"Lv:", "Tcp:", "duv:"},
         "",
         "Tcp[K]",
         "duv",
         {{"Tcp", Red, false}, {"duv", Green, true}},
         [](const Record &r, const QStringList &c) {
             return QStringList{r.Y, c.at(8), c.at(9)};
         },
         [](const Record &r) {
             return QVector<double>{number(r.Tcp), number(r.Duv)};
         }},
        {Mode::DominantWave,
         "0",
         true,
         {"Lv:", "\u03bbd:", "Pe:"},
         "",
         "\u03bbd/\u03bbc[nm]",
         "Pe[%]",
         {{"\u03bbd/\u03bbc", Red, false}, {"Pe", Green, true}},
         [](const Record &r, const QStringList &c) {
             return QStringList{r.Y, c.at(10), c.at(11) + QLatin1Char('%')};
         },
         [](const Record &r) {
             return QVector<double>{number(r.waveLength), number(r.purity)};
         }},
        {Mode::Lab,
         "0",
         true,
         {"L*:", "a*:", "b*:"},
         "",
         "Lv[cd/m\u00b2]",
         "x,y",
         {{"Lv", Blue, false}, {"x", Red, true}, {"y", Green, true}},
         [](const Record &r, const QStringList &) {
             return QStringList{r.L, r.a, r.b};
         },
         lvXy},
    };
    return specs;
}

} // namespace

const Spec &spec(Mode mode)
{
    return table().at(static_cast<int>(mode));
}

int count()
{
    return table().size();
}

} // namespace MeasureModes
