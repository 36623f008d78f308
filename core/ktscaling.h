#pragma once

class QWidget;

// Display scaling of every window when it is built: the forms are laid out for 120 dpi, so
// geometry is multiplied by (logical DPI of the first screen / 96 / 1.25).
namespace KtScaling {

// The factor; 1.0 when no screen exists.
double factor();

// Multiplies the window's width and height and every descendant widget's x, y, width and
// height by the factor, recursively; values are truncated to integers.
void apply(QWidget *window);
void apply(QWidget *window, double factor);

} // namespace KtScaling
