#include "ktscaling.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace KtScaling {

double factor()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return 1.0;
    return screens.first()->logicalDotsPerInch() / 96.0 / 1.25;
}

namespace {
void scaleChildren(QWidget *parent, double f)
{
    const QList<QWidget *> children = parent->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        const QRect g = child->geometry();
        child->setGeometry(int(g.x() * f), int(g.y() * f), int(g.width() * f), int(g.height() * f));
        scaleChildren(child, f);
    }
}
} // namespace

void apply(QWidget *window, double f)
{
    if (!window)
        return;
    window->resize(int(window->width() * f), int(window->height() * f));
    scaleChildren(window, f);
}

void apply(QWidget *window)
{
    apply(window, factor());
}

} // namespace KtScaling
