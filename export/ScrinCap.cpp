#include "ScrinCap.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace ScrinCap {
namespace {

QImage grabScreen(QScreen *screen, const QRect &rect)
{
    // Window 0 is the whole desktop: the grab holds whatever is on top at that moment.
    return screen->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height()).toImage();
}

ScreenReader currentReader = grabScreen;

// The screen's pixels of a rectangle at the picture's logical size; null when they cannot be read.
QImage readScreen(const QRect &rect)
{
    QScreen *screen = QGuiApplication::screenAt(rect.topLeft());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QImage();
    const QImage grabbed = currentReader(screen, rect.translated(-screen->geometry().topLeft()));
    if (grabbed.isNull())
        return QImage();
    // On a high-density screen the grab has device pixels; the picture keeps the logical size.
    if (grabbed.size() != rect.size())
        return grabbed.scaled(rect.size()).convertToFormat(QImage::Format_RGB32);
    return grabbed.convertToFormat(QImage::Format_RGB32);
}

bool isOneColour(const QImage &image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] != first)
                return false;
    }
    return true;
}

} // namespace

void setScreenReader(ScreenReader reader)
{
    currentReader = reader ? reader : grabScreen;
}

QImage CaptureScreenRect(int left, int top, int right, int bottom)
{
    const int width = right - left;
    const int height = bottom - top;
    if (width <= 0 || height <= 0)
        return QImage();
    const QImage read = readScreen(QRect(left, top, width, height));
    if (!read.isNull())
        return read;
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::black);
    return picture;
}

QImage CapturePanel(const QWidget *panel)
{
    if (panel->width() <= 0 || panel->height() <= 0)
        return QImage();
    const QPoint origin = panel->mapToGlobal(QPoint(0, 0));
    const QImage screen = panel->isVisible() ? readScreen(QRect(origin, panel->size())) : QImage();
    // A panel always has more than one colour (its bevels at least): a picture of one colour is a
    // screen that could not be read, not the panel.
    if (!screen.isNull() && !isOneColour(screen))
        return screen;
    QImage rendered = const_cast<QWidget *>(panel)->grab().toImage();
    if (rendered.isNull())
        return QImage();
    if (rendered.size() != panel->size())
        rendered = rendered.scaled(panel->size());
    return rendered.convertToFormat(QImage::Format_RGB32);
}

} // namespace ScrinCap
