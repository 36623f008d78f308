#pragma once

#include "graylogic.h"

#include <QDialog>
#include <QVector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class RangeSlider;

// The gray-level selection of the gray-scanning dialog: which colours (White, Red, Green, Blue
// together, or the custom colour list alone) and which levels. Levels come from the tone rule
// over the range slider's interval, or are picked one by one in the grid of check boxes.
class ktGrayLevel : public QDialog
{
    Q_OBJECT
public:
    explicit ktGrayLevel(QWidget *parent = nullptr);

    // Starts from a selection: its colours and tone, and its levels checked when it has any.
    void setSelection(const GrayLogic::Selection &selection);
    // What OK returned (the selection given before, after Cancel).
    GrayLogic::Selection selection() const { return m_selection; }
    // The grid's boxes in grid order.
    const QVector<QCheckBox *> &levelBoxes() const { return m_boxes; }

private slots:
    void on_rb_colour_clicked(bool checked);
    void on_rb_custom_clicked(bool checked);
    void on_pb_editCustom_clicked();
    void on_pb_OK_clicked();
    void applyToneRule();

private:
    quint32 flags() const;
    void rebuild(const QStringList &chosen);

    GrayLogic::Selection m_selection;
    QCheckBox *m_colour[4] = {};
    QCheckBox *m_custom = nullptr;
    QPushButton *m_editCustom = nullptr;
    RangeSlider *m_range = nullptr;
    QLabel *m_rangeLeft = nullptr;
    QLabel *m_rangeRight = nullptr;
    QComboBox *m_tone = nullptr;
    QGridLayout *m_grid = nullptr;
    QVector<QCheckBox *> m_boxes;
};
