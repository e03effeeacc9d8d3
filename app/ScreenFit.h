#pragma once
// Windows sized for the screen they open on: the size a window is laid out for, or less where the
// screen's available area (a laptop at 150 %: 1280 x 720 logical pixels, less the taskbar) is smaller.

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace ScreenFit {

// Room kept for the window's title bar and frame.
constexpr int FrameAllowance = 40;

// The available area of the screen that widget (or its parent window) is on.
inline QSize availableSize(const QWidget *widget)
{
    QScreen *screen = widget ? widget->screen() : nullptr;
    if (widget && widget->parentWidget())
        screen = widget->parentWidget()->window()->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize(1032, 776);
}

// Resizes window to wanted, or to what the screen has room for.
inline void resize(QWidget *window, const QSize &wanted)
{
    const QSize room = availableSize(window) - QSize(FrameAllowance / 2, FrameAllowance);
    window->resize(wanted.boundedTo(room.expandedTo(QSize(320, 240))));
}

} // namespace ScreenFit
