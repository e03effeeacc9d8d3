// Draws the picture of the culture model that the profile circle lies on, and the program icon.
// Usage: make-background PICTURE.jpg [ICON.png]
// The picture is written through the program's own JPEG writer, like every exported picture.

#include "CirclePicture.h"
#include "Exports.h"
#include "ProgramIcon.h"

#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

namespace {

QImage drawPicture()
{
    QImage image(CirclePicture::BackgroundWidth, CirclePicture::BackgroundHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CirclePicture::drawBackground(painter);
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make-background PICTURE.jpg [ICON.png]\n");
        return 2;
    }
    const Outcome<> written = Exports::writePicture(QString::fromLocal8Bit(argv[1]), drawPicture());
    if (!written) {
        std::fprintf(stderr, "%s\n", qPrintable(written.message()));
        return 1;
    }
    if (argc > 2 && !ProgramIcon::draw().save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
