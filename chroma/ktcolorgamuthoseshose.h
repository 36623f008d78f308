#pragma once

#include "gamutcalc.h"

#include <QMap>
#include <QPointF>
#include <QWidget>

#include <QPainter>

// The CIE 1931 diagram of the colour-gamut dialog: the four reference triangles from
// ColorGamut.ini, the measured points of Mes.1 to Mes.3 and, once calculated, their triangle.
class ktColorGamutHoseShose : public QWidget
{
    Q_OBJECT
public:
    explicit ktColorGamutHoseShose(QWidget *parent = nullptr);

    // Rereads ColorGamut.ini (installing the default when none is there yet).
    void loadReferences();
    const GamutCalc::References &references() const { return m_refs; }
    // The four reference areas: NTSC, sRGB, DCI-P3, BT.2020.
    void referenceAreas(double *ntsc, double *srgb, double *dcip3, double *bt2020) const;

    // Measured chromaticity of Mes.1..Mes.3 (index 0..2); replaces an earlier point of the
    // index. A point at x = 0 (what a failed measurement leaves) is not added.
    void addPoint(double x, double y, int index);
    void clearPoints();
    QMap<int, QPointF> points() const { return m_points; }
    void setShowTriangle(bool show);
    bool showTriangle() const { return m_showTriangle; }

    QSize sizeHint() const override { return QSize(620, 620); }

public slots:
    // Draws one black point at (x, y) unless x is empty.
    void HorseShoeFun(QString strBrightX, QString strBrightY, QString strBrightZ, QPainter *painter);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    GamutCalc::References m_refs;
    QMap<int, QPointF> m_points; // chromaticity per measurement index
    bool m_showTriangle = false;
};
