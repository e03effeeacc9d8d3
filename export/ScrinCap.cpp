#include "ScrinCap.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace ScrinCap {

QImage CaptureScreenRect(int left, int top, int right, int bottom)
{
    const int width = right - left;
    const int height = bottom - top;
    if (width <= 0 || height <= 0)
        return QImage();
    QScreen *screen = QGuiApplication::screenAt(QPoint(left, top));
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::black);
    if (!screen)
        return picture;
    // Window 0 is the whole desktop: the grab holds whatever is on top at that moment.
    const QPoint origin = screen->geometry().topLeft();
    const QImage grabbed = screen->grabWindow(0, left - origin.x(), top - origin.y(), width, height).toImage();
    if (grabbed.isNull())
        return picture;
    // On a high-density screen the grab has device pixels; the picture keeps the logical size.
    if (grabbed.size() != picture.size())
        return grabbed.scaled(width, height).convertToFormat(QImage::Format_RGB32);
    return grabbed.convertToFormat(QImage::Format_RGB32);
}

QImage CapturePanel(const QWidget *panel)
{
    const QPoint origin = panel->mapToGlobal(QPoint(0, 0));
    return CaptureScreenRect(origin.x(), origin.y(), origin.x() + panel->width(), origin.y() + panel->height());
}

} // namespace ScrinCap
