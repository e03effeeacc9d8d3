#include "NormCirclePicture.h"

#include "CirclePicture.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace NormCirclePicture {
namespace {

QPolygon polygonOf(const IndexScores &scores)
{
    const std::array<QPoint, 12> points = CirclePicture::vertices(scores);
    return QPolygon(QList<QPoint>(points.begin(), points.end()));
}

} // namespace

void draw(QPainter &painter, const IndexScores &profile, const std::optional<Norm> &norm)
{
    painter.save();
    painter.translate(CirclePicture::OverlayOffset, CirclePicture::OverlayOffset);
    CirclePicture::drawBackground(painter);
    painter.restore();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (norm) {
        // The band: inside the upper polygon and outside the lower one.
        QPainterPath band;
        band.setFillRule(Qt::OddEvenFill);
        band.addPolygon(polygonOf(norm->high));
        band.closeSubpath();
        band.addPolygon(polygonOf(norm->low));
        band.closeSubpath();
        painter.fillPath(band, QColor(40, 160, 60, 90));
        CirclePicture::drawPolygon(painter, CirclePicture::vertices(norm->mean), CirclePicture::PolygonStyle::Reference);
    }
    CirclePicture::drawPolygon(painter, CirclePicture::vertices(profile), CirclePicture::PolygonStyle::Profile);
    painter.restore();
}

} // namespace NormCirclePicture
