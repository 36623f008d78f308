#include "ktshowpicture.h"

#include "graylogic.h"
#include "ktqcustomplot.h"
#include "ktscaling.h"

ktShowPicture::ktShowPicture(QWidget *parent) : QDialog(parent), m_plot(new QCustomPlot(this))
{
    setObjectName(QStringLiteral("dialog"));
    setStyleSheet(QStringLiteral("QDialog#dialog{border-image:url(:/Tintora/Resources/background.bmp)}"));
    resize(600, 600);
    m_plot->setObjectName(QStringLiteral("widget"));
    m_plot->setGeometry(0, 0, 600, 541);
    KtScaling::apply(this);
}

void ktShowPicture::SetColor(const QString &color)
{
    int r = 0, g = 0, b = 0;
    if (!GrayLogic::parseColour(color, &r, &g, &b))
        return;
    m_plot->setBackground(QBrush(QColor(r, g, b)));
    m_plot->replot();
}
