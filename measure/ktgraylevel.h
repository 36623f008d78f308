#pragma once

#include "graylogic.h"

#include <QDialog>
#include <QVector>

class QCheckBox;
namespace Ui {
class ktGrayLevel;
}

// The gray-level selection of the gray-scanning dialog: which colours (White, Red, Green, Blue
// together, or the custom colour list alone) and which levels. Levels come from the tone rule
// over the range slider's interval, or are picked one by one in the grid of check boxes.
class ktGrayLevel : public QDialog
{
    Q_OBJECT
public:
    explicit ktGrayLevel(QWidget *parent = nullptr);
    ~ktGrayLevel() override;

    // Starts from a selection: its colours and tone, and its levels checked when it has any.
    void setSelection(const GrayLogic::Selection &selection);
    // What OK returned (the selection given before, after Cancel).
    GrayLogic::Selection selection() const { return m_selection; }
    // The grid's boxes in grid order.
    const QVector<QCheckBox *> &levelBoxes() const { return m_boxes; }

private slots:
    void slot_colourClicked(bool checked);
    void on_rb_custom_clicked(bool checked);
    void on_pb_editCustom_clicked();
    void on_pb_OK_clicked();
    void on_pb_Cancel_clicked() { reject(); }
    void applyToneRule();

protected:
    void changeEvent(QEvent *event) override;

private:
    quint32 flags() const;
    void rebuild(const QStringList &chosen);

    Ui::ktGrayLevel *ui;
    GrayLogic::Selection m_selection;
    QCheckBox *m_colour[4] = {}; // White, Red, Green, Blue
    QVector<QCheckBox *> m_boxes;
};
