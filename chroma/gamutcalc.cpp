#include "gamutcalc.h"

#include "ktcsv.h"
#include "ktpaths.h"
#include "ktsafewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTextStream>

#include <cmath>

namespace GamutCalc {

// Generated at configure time from resources/sysconfig/ColorGamut.ini.
extern const char *const kDefaultColorGamutIni;

QString iniPath()
{
    return KtPlatform::appDir() + "//sysconfig//ColorGamut.ini";
}

static void readOne(QSettings &ini, Reference &ref)
{
    const QString p = ref.name + '_';
    ref.rx = ini.value(p + "Rx").toDouble();
    ref.ry = ini.value(p + "Ry").toDouble();
    ref.gx = ini.value(p + "Gx").toDouble();
    ref.gy = ini.value(p + "Gy").toDouble();
    ref.bx = ini.value(p + "Bx").toDouble();
    ref.by = ini.value(p + "By").toDouble();
    ref.gamut = ini.value(p + "Gamut").toDouble();
}

References readReferences(const QString &path)
{
    References refs;
    if (!QFileInfo::exists(path))
        return refs;
    QSettings ini(path, QSettings::IniFormat);
    ini.beginGroup("ColorGamut");
    readOne(ini, refs.ntsc);
    readOne(ini, refs.srgb);
    readOne(ini, refs.dcip3);
    readOne(ini, refs.bt2020);
    ini.endGroup();
    return refs;
}

QByteArray defaultIniText()
{
    return QByteArray(kDefaultColorGamutIni);
}

bool installDefaultIni(const QString &path, QString *error)
{
    if (QFileInfo::exists(path))
        return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    return KtSafeWrite::writeFile(path, defaultIniText(), error);
}

float triangleArea(float x1, float y1, float x2, float y2, float x3, float y3)
{
    const float d = x1 * y2 + x2 * y3 + x3 * y1 - x1 * y3 - x2 * y1 - x3 * y2;
    return std::fabs(d) / 2.0f;
}

QString ratioText(double area, double referenceArea)
{
    // A reference area too small for the ratio (an edited file) overflows it: "--" as well.
    const double percent = area / referenceArea * 100.0;
    if (!(referenceArea > 0.0) || !std::isfinite(referenceArea) || !std::isfinite(percent))
        return QStringLiteral("--");
    return QString::number(percent, 'f', 1) + '%';
}

void writeExport(QTextStream &out, const ExportData &d)
{
    out << " ,R,G,B\n";
    const auto cell = [](const QString &text) { return KtCsv::safeCell(text); };
    out << "x," << cell(d.x[0]) << ',' << cell(d.x[1]) << ',' << cell(d.x[2]) << '\n';
    out << "y," << cell(d.y[0]) << ',' << cell(d.y[1]) << ',' << cell(d.y[2]) << '\n';
    out << "Lv," << cell(d.lv[0]) << ',' << cell(d.lv[1]) << ',' << cell(d.lv[2]) << '\n';
    out << "\n\n";
    out << "NTSC:," << cell(d.ntsc) << '\n';
    out << "sRGB:," << cell(d.srgb) << '\n';
    out << "DCI-P3:," << cell(d.dcip3) << '\n';
    out << "BT.2020:," << cell(d.bt2020) << '\n';
}

bool saveExport(const QString &path, const ExportData &data, QString *error)
{
    QByteArray bytes;
    QTextStream out(&bytes);
    writeExport(out, data);
    out.flush();
    return KtSafeWrite::writeFile(path, bytes, error);
}

Geometry Geometry::forWidget(int widgetWidth, int widgetHeight)
{
    // 22 px on the left and 24 px below carry the axis labels; 10 px on the right keep the last
    // label inside the widget.
    Geometry g;
    g.width = std::max(0, widgetWidth - 22 - 10);
    g.height = std::max(0, widgetHeight - 6 - 24);
    return g;
}

} // namespace GamutCalc
