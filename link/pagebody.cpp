#include "pagebody.h"

#include <QDialog>
#include <QVBoxLayout>

namespace PageBody {

void setBackground(QDialog *dialog)
{
    dialog->setObjectName(QStringLiteral("dialog"));
    dialog->setStyleSheet(
        QStringLiteral("QDialog#dialog{border-image:url(:/Tintora/Resources/background.bmp)}"));
}

QWidget *create(QDialog *dialog, int margin)
{
    auto *body = new QWidget(dialog);
    auto *layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(body);
    return body;
}

} // namespace PageBody
