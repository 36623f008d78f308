#pragma once

class QDialog;
class QWidget;

// Pages whose own form is built on a body widget that fills the dialog, above the base form's
// hidden widgets; the page then connects the form's slots to itself by name.
namespace PageBody {

// The background picture of the tool dialogs.
void setBackground(QDialog *dialog);
// A widget filling dialog within margin pixels, for the page's form to be set up on.
QWidget *create(QDialog *dialog, int margin = 6);

} // namespace PageBody
