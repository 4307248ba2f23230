#include "app/common/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace norvik {
namespace {

// A title bar and the frame round a window, before the window system has told us its own.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 40;

} // namespace

QSize roomOnScreen(const QWidget* window) {
    const QWidget* anchor = window->parentWidget() ? window->parentWidget()->window() : window;
    const QScreen* screen = anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const QSize available = screen->availableGeometry().size();
    return QSize(available.width() - kFrameWidth, available.height() - kFrameHeight);
}

void resizeWithinScreen(QWidget* window, QSize preferred) {
    const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
    window->resize(preferred.boundedTo(roomOnScreen(window)).expandedTo(least));
}

} // namespace norvik
