#include "ktcsv.h"

#include <QLocale>

namespace KtCsv {

QString safeCell(const QString &text)
{
    if (text.isEmpty() || !QStringLiteral("=+-@").contains(text.at(0)) || text == QLatin1String("--"))
        return text;
    bool number = false;
    QLocale::c().toDouble(text, &number);
    return number ? text : QLatin1Char('\'') + text;
}

} // namespace KtCsv
