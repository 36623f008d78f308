#include "gamutcalc.h"

#include "ktpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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

bool installDefaultIni(const QString &path)
{
    if (QFileInfo::exists(path))
        return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(defaultIniText());
    return file.commit();
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
    out << "x," << d.x[0] << ',' << d.x[1] << ',' << d.x[2] << '\n';
    out << "y," << d.y[0] << ',' << d.y[1] << ',' << d.y[2] << '\n';
    out << "Lv," << d.lv[0] << ',' << d.lv[1] << ',' << d.lv[2] << '\n';
    out << "\n\n";
    out << "NTSC:," << d.ntsc << '\n';
    out << "sRGB:," << d.srgb << '\n';
    out << "DCI-P3:," << d.dcip3 << '\n';
    out << "BT.2020:," << d.bt2020 << '\n';
}

bool saveExport(const QString &path, const ExportData &data, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QTextStream out(&file);
    writeExport(out, data);
    out.flush();
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
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
