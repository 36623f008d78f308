#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

class QTextStream;

// The colour-gamut arithmetic, the reference-gamut file and the export, kept free of widgets so
// that tests reach them directly. The dialog and the diagrams only wire these to the screen.
namespace GamutCalc {

// One reference gamut as ColorGamut.ini holds it: CIE 1931 x,y of the three primaries and the
// reference area of their triangle (used as stored, never recomputed from the primaries).
struct Reference
{
    QString name; // "NTSC", "sRGB", "DCI-P3", "BT2020" (the key prefix in the file)
    double rx = 0.0, ry = 0.0, gx = 0.0, gy = 0.0, bx = 0.0, by = 0.0;
    double gamut = 0.0;
};

// The four references in file order: NTSC, sRGB, DCI-P3, BT.2020.
struct References
{
    Reference ntsc{QStringLiteral("NTSC")};
    Reference srgb{QStringLiteral("sRGB")};
    Reference dcip3{QStringLiteral("DCI-P3")};
    Reference bt2020{QStringLiteral("BT2020")};
};

// "<appDir>//sysconfig//ColorGamut.ini".
QString iniPath();

// Reads the INI group "ColorGamut" key by key (Rx, Ry, Gx, Gy, Bx, By, Gamut per gamut, in the
// order NTSC, sRGB, DCI-P3, BT2020). A missing file or key leaves zeros; no default is assumed.
References readReferences(const QString &path);

// Puts the shipped default ColorGamut.ini at path when no file is there yet; an existing file
// (possibly edited by the operator) is never touched. True when a file is present afterwards;
// on a failed write false with the reason in error, and no partial file is left.
bool installDefaultIni(const QString &path, QString *error = nullptr);

// The shipped default file, as text (compiled in).
QByteArray defaultIniText();

// Area of the triangle (x1,y1) (x2,y2) (x3,y3) by the determinant, in single precision as the
// result fields are read: |x1*y2 + x2*y3 + x3*y1 - x1*y3 - x2*y1 - x3*y2| / 2.
float triangleArea(float x1, float y1, float x2, float y2, float x3, float y3);

// Area ratio in percent with one decimal and "%" ("72.3%"). A reference area that is zero or
// not a number (missing ColorGamut.ini), or a ratio too large for a double, gives "--" rather
// than "inf%" or "nan%".
QString ratioText(double area, double referenceArea);

// What the Export writes, field texts as shown in the dialog.
struct ExportData
{
    QString x[3], y[3], lv[3];         // Mes.1 (R), Mes.2 (G), Mes.3 (B)
    QString ntsc, srgb, dcip3, bt2020; // result field texts, with their "%"
};

// Cells that a spreadsheet would run as a formula are written as text (KtCsv::safeCell).
void writeExport(QTextStream &out, const ExportData &data);
// Writes the whole file or nothing (KtSafeWrite): on failure false with the reason in error,
// and the previous file is left as it was.
bool saveExport(const QString &path, const ExportData &data, QString *error = nullptr);

// Mapping of CIE x,y onto the diagram: plot origin 22 px from the left and 6 px from the top,
// axes 0 to 0.9, so one unit is plot width / 9 * 10 pixels across and plot height / 9 * 10 up.
struct Geometry
{
    static constexpr double left = 22.0;
    static constexpr double top = 6.0;
    double width = 0.0;  // plot width in pixels
    double height = 0.0; // plot height in pixels

    // Plot area of a widget of the given size: the rest of the widget holds the axis labels.
    static Geometry forWidget(int widgetWidth, int widgetHeight);

    double sx() const { return width / 9.0 * 10.0; }
    double sy() const { return height / 9.0 * 10.0; }
    QRectF plotRect() const { return QRectF(left, top, width, height); }
    QPointF map(double x, double y) const { return QPointF(x * sx() + left, height - y * sy() + top); }
    // A point left at x = 0 (a failed measurement) lands on the left edge and is not plotted.
    bool isPlottable(const QPointF &pixel) const { return pixel.x() != left; }
};

} // namespace GamutCalc
