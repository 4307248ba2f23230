#pragma once

#include <QSize>

class QWidget;

namespace norvik {

// The room a window has on the screen it opens on (its parent's, else the primary one): the
// screen's available area less an allowance for the window's frame and title bar.
QSize roomOnScreen(const QWidget* window);

// Resizes a window to `preferred`, or to less where the screen is smaller, so that its buttons
// stay on screen; never below what its layout needs.
void resizeWithinScreen(QWidget* window, QSize preferred);

} // namespace norvik
