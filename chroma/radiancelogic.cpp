#include "radiancelogic.h"

#include "cie1931.h"

#include <QFileInfo>

#include <cmath>
#include <limits>

namespace SpectrumLogic {

Colour integrate(const QVector<double> &values)
{
    Colour c;
    const int n = std::min(int(values.size()), MaxValues);
    for (int i = 0; i < n; ++i) {
        const Cie1931::Row *row = Cie1931::at(wavelengthOf(i));
        c.X += values[i] * row->x;
        c.Y += values[i] * row->y;
        c.Z += values[i] * row->z;
    }
    c.X *= Km;
    c.Y *= Km;
    c.Z *= Km;
    const double sum = c.X + c.Y + c.Z;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    c.x = sum != 0.0 ? c.X / sum : nan;
    c.y = sum != 0.0 ? c.Y / sum : nan;
    return c;
}

QByteArray csvText(const QVector<double> &values)
{
    QByteArray out;
    out.reserve(values.size() * 20);
    for (int i = 0; i < values.size(); ++i) {
        out += QByteArray::number(wavelengthOf(i));
        out += ',';
        out += QByteArray::number(values[i], 'f', 10);
        out += '\n';
    }
    return out;
}

QString jpegPathFor(const QString &csvPath)
{
    static const QString csv = QStringLiteral(".csv");
    if (csvPath.endsWith(csv, Qt::CaseInsensitive))
        return csvPath.chopped(csv.size()) + QStringLiteral(".jpg");
    return csvPath + QStringLiteral(".jpg");
}

bool exportTargetsExist(const QString &csvPath)
{
    return QFileInfo::exists(csvPath) || QFileInfo::exists(jpegPathFor(csvPath));
}

} // namespace SpectrumLogic
