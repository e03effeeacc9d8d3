#include "ProgramIcon.h"

#include "Resource.h"

#include <QPainter>
#include <QPolygonF>
#include <QtMath>

namespace ProgramIcon {

QImage draw(qreal ratio)
{
    QImage image(QSize(32, 32) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(16, 16);
    for (int t = 0; t < 4; ++t) {
        p.setPen(Qt::NoPen);
        p.setBrush(Resource::TraitColor(t + 1).lighter(150));
        // Quadrants in the arrangement of the profile circle: trait 4 upper right, 2 lower right,
        // 1 lower left, 3 upper left.
        const int startAngles[4] = {180, 270, 90, 0};
        p.drawPie(QRectF(1, 1, 30, 30), startAngles[t] * 16, 90 * 16);
    }
    QPolygonF polygon;
    const double radii[12] = {11, 8, 12, 9, 13, 10, 7, 12, 9, 13, 8, 11};
    for (int j = 0; j < 12; ++j) {
        const double phi = (j + 0.5) * M_PI / 6.0;
        polygon << centre + QPointF(radii[j] * std::sin(phi), -radii[j] * std::cos(phi));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 0, 255), 2));
    p.drawPolygon(polygon);
    return image;
}

} // namespace ProgramIcon
