#pragma once
// Screen capture: copies what the screen shows, windows covering the rectangle included.

#include <QImage>
#include <QRect>

class QWidget;

namespace ScrinCap {

// The pixels of a screen rectangle (right and bottom exclusive); a rectangle of zero width or height
// gives an empty picture.
QImage CaptureScreenRect(int left, int top, int right, int bottom);
// The client area of a panel as the screen shows it.
QImage CapturePanel(const QWidget *panel);

} // namespace ScrinCap
