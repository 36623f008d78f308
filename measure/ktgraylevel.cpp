#include "ktgraylevel.h"

#include "ktmessagedlg.h"
#include "ktplatform.h"
#include "ktscaling.h"
#include "rangeslider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace GrayLogic;

namespace {
constexpr quint32 ColourFlags[4] = {FlagWhite, FlagRed, FlagGreen, FlagBlue};
} // namespace

ktGrayLevel::ktGrayLevel(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dialog"));
    setStyleSheet(QStringLiteral("QDialog#dialog{border-image:url(:/Tintora/Resources/background.bmp)}"));
    setWindowTitle(tr("Gray Level"));
    resize(760, 560);

    auto *colours = new QHBoxLayout;
    const char *names[4] = {"rb_white", "rb_red", "rb_green", "rb_blue"};
    const QString texts[4] = {tr("White"), tr("Red"), tr("Green"), tr("Blue")};
    for (int i = 0; i < 4; ++i) {
        m_colour[i] = new QCheckBox(texts[i], this);
        m_colour[i]->setObjectName(QLatin1String(names[i]));
        connect(m_colour[i], &QCheckBox::clicked, this, &ktGrayLevel::on_rb_colour_clicked);
        colours->addWidget(m_colour[i]);
    }
    m_custom = new QCheckBox(tr("Custom"), this);
    m_custom->setObjectName(QStringLiteral("rb_custom"));
    connect(m_custom, &QCheckBox::clicked, this, &ktGrayLevel::on_rb_custom_clicked);
    m_editCustom = new QPushButton(tr("Edit Custom"), this);
    m_editCustom->setObjectName(QStringLiteral("pb_editCustom"));
    connect(m_editCustom, &QPushButton::clicked, this, &ktGrayLevel::on_pb_editCustom_clicked);
    colours->addWidget(m_custom);
    colours->addWidget(m_editCustom);
    colours->addStretch();

    auto *range = new QHBoxLayout;
    m_range = new RangeSlider(this);
    m_range->setObjectName(QStringLiteral("rangeSlider"));
    m_range->setRange(0, 255);
    m_rangeLeft = new QLabel(QStringLiteral("0"), this);
    m_rangeLeft->setObjectName(QStringLiteral("rangeLeft"));
    m_rangeRight = new QLabel(QStringLiteral("255"), this);
    m_rangeRight->setObjectName(QStringLiteral("rangeRight"));
    m_tone = new QComboBox(this);
    m_tone->setObjectName(QStringLiteral("cbbColorTone"));
    m_tone->addItems({QStringLiteral("16"), QStringLiteral("32"), QStringLiteral("64"), QStringLiteral("128"),
                      QStringLiteral("256")});
    range->addWidget(m_rangeLeft);
    range->addWidget(m_range, 1);
    range->addWidget(m_rangeRight);
    range->addSpacing(20);
    range->addWidget(new QLabel(tr("Color tone"), this));
    range->addWidget(m_tone);
    connect(m_range, &RangeSlider::lowerValueChanged, this, [this](int v) {
        m_rangeLeft->setNum(v);
        applyToneRule();
    });
    connect(m_range, &RangeSlider::upperValueChanged, this, [this](int v) {
        m_rangeRight->setNum(v);
        applyToneRule();
    });
    connect(m_tone, &QComboBox::currentTextChanged, this, &ktGrayLevel::applyToneRule);

    auto *area = new QScrollArea(this);
    area->setWidgetResizable(true);
    auto *gridHost = new QWidget(area);
    m_grid = new QGridLayout(gridHost);
    area->setWidget(gridHost);

    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("pb_OK"));
    auto *cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("pb_Cancel"));
    connect(ok, &QPushButton::clicked, this, &ktGrayLevel::on_pb_OK_clicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(colours);
    layout->addLayout(range);
    layout->addWidget(area, 1);
    layout->addLayout(buttons);
    KtScaling::apply(this);
    setSelection(Selection());
}

quint32 ktGrayLevel::flags() const
{
    quint32 f = m_custom->isChecked() ? quint32(FlagCustom) : 0;
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
    m_custom->setChecked(custom);
    m_editCustom->setEnabled(custom);
    {
        const QSignalBlocker block(m_tone);
        const int index = m_tone->findText(selection.tone);
        m_tone->setCurrentIndex(index < 0 ? m_tone->count() - 1 : index);
    }
    rebuild(selection.levels);
}

void ktGrayLevel::rebuild(const QStringList &chosen)
{
    qDeleteAll(m_boxes);
    m_boxes.clear();
    const bool custom = m_custom->isChecked();
    const QStringList texts = custom ? readCustomList(customFilePath()) : toneLevels(256, 0, 255);
    const int perRow = custom ? 7 : 16;
    for (int i = 0; i < texts.size(); ++i) {
        auto *box = new QCheckBox(texts.at(i), m_grid->parentWidget());
        m_grid->addWidget(box, i / perRow, i % perRow);
        m_boxes << box;
    }
    m_range->setEnabled(!custom);
    m_tone->setEnabled(!custom);
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
    if (m_custom->isChecked() || m_boxes.size() != 256)
        return;
    const std::array<bool, 256> checks =
        toneChecks(m_tone->currentText().toInt(), m_range->lowerValue(), m_range->upperValue());
    for (int i = 0; i < 256; ++i)
        m_boxes.at(i)->setChecked(checks[i]);
}

void ktGrayLevel::on_rb_colour_clicked(bool checked)
{
    const bool wasCustom = m_custom->isChecked();
    if (checked && wasCustom) {
        m_custom->setChecked(false);
        m_editCustom->setEnabled(false);
    }
    // A change of the colours starts the level choice afresh.
    if (wasCustom != m_custom->isChecked())
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
    m_editCustom->setEnabled(checked);
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
    m_custom->setChecked(true);
    on_rb_custom_clicked(true);
}

void ktGrayLevel::on_pb_OK_clicked()
{
    Selection s;
    s.flags = flags();
    s.tone = m_tone->currentText();
    for (QCheckBox *b : qAsConst(m_boxes)) {
        if (b->isChecked())
            s.levels << b->text();
    }
    m_selection = s;
    accept();
}
