#include "Icons.h"

#include "ProgramIcon.h"
#include "Resource.h"

#include <QBitmap>
#include <QIcon>
#include <QPainter>
#include <QPolygonF>
#include <QtMath>

namespace Icons {
namespace {

// A transparent picture of w x h logical pixels at the given device pixel ratio: drawn in logical
// coordinates, it is sharp on a screen of that ratio and the same pixels as ever at 1.
QPixmap blank(int w, int h, qreal ratio)
{
    QPixmap pixmap(QSize(w, h) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QPixmap imageAll(qreal ratio)
{
    QPixmap pixmap = blank(17, 16, ratio);
    QPainter p(&pixmap);
    const int heights[4] = {10, 13, 8, 12};
    for (int t = 0; t < 4; ++t) {
        const QRect bar(1 + 4 * t, 15 - heights[t], 3, heights[t]);
        p.fillRect(bar, Resource::TraitColor(t + 1));
    }
    return pixmap;
}

QPixmap image5M(qreal ratio)
{
    QPixmap pixmap = blank(18, 16, ratio);
    QPainter p(&pixmap);
    const int lengths[5] = {14, 10, 17, 7, 12};
    for (int k = 0; k < 5; ++k)
        p.fillRect(QRect(0, 1 + 3 * k, lengths[k], 2), QColor(0, 128, 0));
    return pixmap;
}

QPixmap image5T(qreal ratio)
{
    // Drawn on light grey, then the grey is taken out so that the cell's white shows through.
    QImage image(QSize(26, 16) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(192, 192, 192));
    {
        QPainter p(&image);
        p.setPen(Qt::black);
        const int lengths[5] = {20, 14, 24, 10, 17};
        for (int k = 0; k < 5; ++k) {
            const QRect bar(0, 3 * k, lengths[k], 3);
            p.fillRect(bar, QColor(0, 255, 0));
            p.drawRect(bar.adjusted(0, 0, -1, -1));
        }
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(QColor(192, 192, 192).rgb(), Qt::MaskInColor)));
    return pixmap;
}

QPixmap notepad(qreal ratio)
{
    QPixmap pixmap = blank(16, 16, ratio);
    QPainter p(&pixmap);
    p.setPen(QColor(64, 64, 64));
    p.setBrush(QColor(255, 255, 230));
    p.drawRect(2, 1, 11, 14);
    p.setPen(QColor(0, 0, 160));
    for (int y = 4; y <= 12; y += 2)
        p.drawLine(4, y, 11, y);
    p.fillRect(QRect(2, 0, 12, 2), QColor(0, 0, 160));
    return pixmap;
}

QPixmap program(qreal ratio) { return QPixmap::fromImage(ProgramIcon::draw(ratio)); }

QPixmap data(qreal ratio)
{
    QPixmap pixmap = blank(16, 16, ratio);
    QPainter p(&pixmap);
    p.setPen(QColor(80, 80, 80));
    p.setBrush(Qt::white);
    p.drawRect(3, 1, 10, 14);
    p.setPen(QColor(0, 128, 0));
    for (int y = 4; y <= 12; y += 2)
        p.drawLine(5, y, 11, y);
    return pixmap;
}

QPixmap group(qreal ratio)
{
    QPixmap pixmap = blank(16, 16, ratio);
    QPainter p(&pixmap);
    p.setPen(QColor(80, 80, 80));
    for (int k = 2; k >= 0; --k) {
        p.setBrush(k == 0 ? QColor(Qt::white) : QColor(230, 230, 230));
        p.drawRect(1 + 2 * k, 1 + 2 * (2 - k), 9, 10);
    }
    return pixmap;
}

QPixmap save(qreal ratio)
{
    QPixmap pixmap = blank(16, 16, ratio);
    QPainter p(&pixmap);
    p.setPen(QColor(20, 20, 90));
    p.setBrush(QColor(60, 80, 170));
    p.drawRect(1, 1, 13, 13);
    p.fillRect(QRect(4, 2, 7, 5), Qt::white);
    p.fillRect(QRect(5, 10, 6, 4), QColor(200, 200, 200));
    return pixmap;
}

QPixmap analysis(qreal ratio)
{
    QPixmap pixmap = blank(16, 16, ratio);
    QPainter p(&pixmap);
    p.setPen(QColor(80, 80, 80));
    p.setBrush(Qt::white);
    p.drawRect(2, 1, 11, 14);
    const int lengths[5] = {8, 6, 8, 5, 7};
    for (int k = 0; k < 5; ++k)
        p.drawLine(4, 4 + 2 * k, 4 + lengths[k], 4 + 2 * k);
    return pixmap;
}

QPixmap picture(qreal ratio)
{
    QPixmap pixmap = blank(16, 16, ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(120, 120, 120));
    p.setBrush(QColor(255, 252, 197));
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setPen(QPen(QColor(255, 0, 255), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygonF({QPointF(8, 3), QPointF(13, 8), QPointF(8, 12), QPointF(4, 8)}));
    return pixmap;
}

QPixmap groupAnalysis(qreal ratio)
{
    QPixmap pixmap = blank(16, 16, ratio);
    QPainter p(&pixmap);
    const int left[4] = {4, 2, 6, 3};
    const int right[4] = {5, 7, 3, 6};
    for (int k = 0; k < 4; ++k) {
        p.fillRect(QRect(8 - left[k], 1 + 4 * k, left[k], 3), QColor(178, 24, 43));
        p.fillRect(QRect(8, 1 + 4 * k, right[k], 3), QColor(33, 102, 172));
    }
    p.fillRect(QRect(7, 0, 1, 16), Qt::black);
    return pixmap;
}

QIcon icon(QPixmap (*draw)(qreal))
{
    QIcon both(draw(1));
    both.addPixmap(draw(2));
    return both;
}

} // namespace Icons
