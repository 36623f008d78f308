#include "ktgraylevel.h"

#include "ktmessagedlg.h"
#include "ktplatform.h"
#include "ktscaling.h"
#include "rangeslider.h"
#include "ui_ktgraylevel.h"

#include <QCheckBox>

using namespace GrayLogic;

namespace {
constexpr quint32 ColourFlags[4] = {FlagWhite, FlagRed, FlagGreen, FlagBlue};
} // namespace

ktGrayLevel::ktGrayLevel(QWidget *parent) : QDialog(parent), ui(new Ui::ktGrayLevel)
{
    ui->setupUi(this);
    m_colour[0] = ui->rb_white;
    m_colour[1] = ui->rb_red;
    m_colour[2] = ui->rb_green;
    m_colour[3] = ui->rb_blue;
    for (QCheckBox *c : m_colour)
        connect(c, &QCheckBox::clicked, this, &ktGrayLevel::slot_colourClicked);
    ui->rangeSlider->setRange(0, 255);
    connect(ui->rangeSlider, &RangeSlider::lowerValueChanged, this, [this](int v) {
        ui->rangeLeft->setNum(v);
        applyToneRule();
    });
    connect(ui->rangeSlider, &RangeSlider::upperValueChanged, this, [this](int v) {
        ui->rangeRight->setNum(v);
        applyToneRule();
    });
    connect(ui->cbbColorTone, &QComboBox::currentTextChanged, this, &ktGrayLevel::applyToneRule);
    KtScaling::apply(this);
    setSelection(Selection());
}

ktGrayLevel::~ktGrayLevel()
{
    delete ui;
}

void ktGrayLevel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        // retranslateUi would put the form's tone back; keep the operator's.
        const QSignalBlocker block(ui->cbbColorTone);
        const int tone = ui->cbbColorTone->currentIndex();
        ui->retranslateUi(this);
        ui->cbbColorTone->setCurrentIndex(tone);
    }
    QDialog::changeEvent(event);
}

quint32 ktGrayLevel::flags() const
{
    quint32 f = ui->rb_custom->isChecked() ? quint32(FlagCustom) : 0;
    for (int i = 0; i < 4; ++i) {
        if (m_colour[i]->isChecked())
            f |= ColourFlags[i];
    }
    return f;
}

void ktGrayLevel::setSelection(const Selection &selection)
{
    m_selection = selection;
    const bool custom = selection.flags & FlagCustom;
    for (int i = 0; i < 4; ++i)
        m_colour[i]->setChecked(!custom && (selection.flags & ColourFlags[i]));
    ui->rb_custom->setChecked(custom);
    ui->pb_editCustom->setEnabled(custom);
    {
        const QSignalBlocker block(ui->cbbColorTone);
        const int index = ui->cbbColorTone->findText(selection.tone);
        ui->cbbColorTone->setCurrentIndex(index < 0 ? ui->cbbColorTone->count() - 1 : index);
    }
    rebuild(selection.levels);
}

void ktGrayLevel::rebuild(const QStringList &chosen)
{
    qDeleteAll(m_boxes);
    m_boxes.clear();
    const bool custom = ui->rb_custom->isChecked();
    const QStringList texts = custom ? readCustomList(customFilePath()) : toneLevels(256, 0, 255);
    const int perRow = custom ? 7 : 16;
    for (int i = 0; i < texts.size(); ++i) {
        auto *box = new QCheckBox(texts.at(i), ui->scrollAreaWidgetContents);
        ui->gl_levels->addWidget(box, i / perRow, i % perRow);
        m_boxes << box;
    }
    ui->rangeSlider->setEnabled(!custom);
    ui->cbbColorTone->setEnabled(!custom);
    if (custom) {
        for (QCheckBox *b : qAsConst(m_boxes))
            b->setChecked(chosen.isEmpty() || chosen.contains(b->text()));
    } else if (!chosen.isEmpty()) {
        for (QCheckBox *b : qAsConst(m_boxes))
            b->setChecked(chosen.contains(b->text()));
    } else {
        applyToneRule();
    }
}

void ktGrayLevel::applyToneRule()
{
    if (ui->rb_custom->isChecked() || m_boxes.size() != 256)
        return;
    const std::array<bool, 256> checks =
        toneChecks(ui->cbbColorTone->currentText().toInt(), ui->rangeSlider->lowerValue(),
                   ui->rangeSlider->upperValue());
    for (int i = 0; i < 256; ++i)
        m_boxes.at(i)->setChecked(checks[i]);
}

void ktGrayLevel::slot_colourClicked(bool checked)
{
    const bool wasCustom = ui->rb_custom->isChecked();
    if (checked && wasCustom) {
        ui->rb_custom->setChecked(false);
        ui->pb_editCustom->setEnabled(false);
    }
    // A change of the colours starts the level choice afresh.
    if (wasCustom != ui->rb_custom->isChecked())
        rebuild({});
    else if (m_boxes.size() == 256)
        applyToneRule();
}

void ktGrayLevel::on_rb_custom_clicked(bool checked)
{
    if (checked) {
        for (QCheckBox *c : m_colour)
            c->setChecked(false);
    }
    ui->pb_editCustom->setEnabled(checked);
    rebuild({});
}

void ktGrayLevel::on_pb_editCustom_clicked()
{
    const QString path = customFilePath();
    if (!KtPlatform::editTextFileAndWait(path)) {
        ktMessageDlg box(this);
        box.setMessage(tr("No text editor could be started to edit %1. Set the EDITOR environment variable "
                          "to an editor program, or install a text editor.")
                           .arg(path),
                       false, true);
        box.exec();
        return;
    }
    ui->rb_custom->setChecked(true);
    on_rb_custom_clicked(true);
}

void ktGrayLevel::on_pb_OK_clicked()
{
    Selection s;
    s.flags = flags();
    s.tone = ui->cbbColorTone->currentText();
    for (QCheckBox *b : qAsConst(m_boxes)) {
        if (b->isChecked())
            s.levels << b->text();
    }
    m_selection = s;
    accept();
}
