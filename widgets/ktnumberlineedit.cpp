#include "ktnumberlineedit.h"

#include <QIntValidator>

namespace {
// The pages read these fields with QString::toInt, which knows no digit grouping, so the
// validator must not take "1,000" (which it would in a locale that groups digits).
QIntValidator *plainIntValidator(int bottom, int top, QObject *owner)
{
    auto *validator = new QIntValidator(bottom, top, owner);
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    validator->setLocale(locale);
    return validator;
}
} // namespace

ktNumberLineEdit::ktNumberLineEdit(QWidget *parent) : ktCtrlBaseLineEdit(parent)
{
    setValidator(plainIntValidator(-999999999, 999999999, this));
}

ktNumberLineEditUnsigned::ktNumberLineEditUnsigned(QWidget *parent) : ktCtrlBaseLineEdit(parent)
{
    setValidator(plainIntValidator(0, 999999999, this));
}
