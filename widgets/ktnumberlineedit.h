#pragma once

#include "ktctrlbaselineedit.h"

// Line edits that take whole numbers of up to nine digits only: ktNumberLineEdit signed,
// ktNumberLineEditUnsigned from 0. Typing that would leave anything else is refused.
class ktNumberLineEdit : public ktCtrlBaseLineEdit
{
    Q_OBJECT
public:
    explicit ktNumberLineEdit(QWidget *parent = nullptr);
};

class ktNumberLineEditUnsigned : public ktCtrlBaseLineEdit
{
    Q_OBJECT
public:
    explicit ktNumberLineEditUnsigned(QWidget *parent = nullptr);
};
