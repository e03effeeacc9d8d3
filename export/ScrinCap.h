#pragma once
// Screen capture: copies what the screen shows, windows covering the rectangle included.

#include <QImage>
#include <QRect>

class QScreen;
class QWidget;

namespace ScrinCap {

// The pixels of a screen rectangle (right and bottom exclusive); a rectangle of zero width or height
// gives an empty picture. Where the screen cannot be read the picture stays black.
QImage CaptureScreenRect(int left, int top, int right, int bottom);
// The client area of a panel as the screen shows it. Where the screen cannot be read (some Wayland
// sessions and remote desktops give nothing, or a picture of one colour), the panel is rendered
// instead, so that the picture always shows the panel.
QImage CapturePanel(const QWidget *panel);

// Reads a rectangle of a screen, in the screen's own coordinates; a null image when it cannot.
using ScreenReader = QImage (*)(QScreen *screen, const QRect &rect);
// Replaces how the screen is read (tests make it fail); nullptr restores the platform's.
void setScreenReader(ScreenReader reader);

} // namespace ScrinCap
