#pragma once

#include <QLineEdit>

// The line edit the project's input fields derive from, so that they can be placed through the
// forms under one promoted class.
class ktCtrlBaseLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit ktCtrlBaseLineEdit(QWidget *parent = nullptr) : QLineEdit(parent) {}
};
