#include "CirclePicture.h"

#include "Resource.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace CirclePicture {

int roundToPixel(double value)
{
    return int(std::nearbyint(value)); // the default rounding mode sends halves to even
}

QPoint plotCentre(int width, int height)
{
    return QPoint(roundToPixel(width / 2.0 + CentreCorrection), roundToPixel(height / 2.0));
}

double ScoreRadius(double score)
{
    if (score == 0.0)
        return 0.0;
    const double radius = (score / 2.0 + 0.5) * RadiusScale + 2.0 / (score + 1.0);
    return std::isfinite(radius) ? radius : 0.0;
}

QPoint PlacePlotPoint(const QPoint &centre, int position, double radius)
{
    // A score far outside the scale (a damaged or hand-made file) lies far outside the overlay, which
    // clips it: its radius is bounded so that every coordinate fits a pixel, on the same ray.
    radius = std::isfinite(radius) ? std::clamp(radius, -MaxPlotRadius, MaxPlotRadius) : 0.0;
    const double phi = (position + 0.5) * AngleStep;
    return QPoint(roundToPixel(centre.x() + radius * std::sin(phi)), roundToPixel(centre.y() - radius * std::cos(phi)));
}

std::array<QPoint, 12> vertices(const IndexScores &scores, const QPoint &centre)
{
    std::array<QPoint, 12> points;
    for (int j = 0; j < 12; ++j)
        points[std::size_t(j)] = PlacePlotPoint(centre, j, ScoreRadius(scores[std::size_t(PlotIndexOrder[std::size_t(j)] - 1)]));
    return points;
}

void drawPolygon(QPainter &painter, const std::array<QPoint, 12> &points, PolygonStyle style)
{
    painter.save();
    if (style == PolygonStyle::Profile)
        painter.setPen(QPen(QColor(255, 0, 255), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    else
        painter.setPen(QPen(QColor(0, 0, 160), 2, Qt::DashLine, Qt::FlatCap, Qt::RoundJoin));
    for (int j = 0; j < 12; ++j)
        painter.drawLine(points[std::size_t(j)], points[std::size_t((j + 1) % 12)]);
    // The markers go on top of the lines: a 3 x 3 black square at every vertex.
    if (style == PolygonStyle::Profile)
        for (const QPoint &p : points)
            painter.fillRect(QRect(p.x() - 1, p.y() - 1, 3, 3), Qt::black);
    painter.restore();
}

void drawLegend(QPainter &painter, const QString &profileName, const QString &referenceName)
{
    painter.save();
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int line = metrics.height() + 2;
    const int textLeft = LegendLeft + 24;
    const int textWidth = LegendWidth - 24;
    const std::array<std::pair<PolygonStyle, QString>, 2> rows = {{{PolygonStyle::Profile, profileName},
                                                                   {PolygonStyle::Reference, referenceName}}};
    for (int k = 0; k < 2; ++k) {
        const int y = LegendTop + k * line + line / 2;
        painter.setPen(rows[k].first == PolygonStyle::Profile
                           ? QPen(QColor(255, 0, 255), 2, Qt::SolidLine, Qt::FlatCap)
                           : QPen(QColor(0, 0, 160), 2, Qt::DashLine, Qt::FlatCap));
        painter.drawLine(LegendLeft, y, LegendLeft + 18, y);
        painter.setPen(Qt::black);
        painter.drawText(QRect(textLeft, y - line / 2, textWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(rows[k].second, Qt::ElideRight, textWidth));
    }
    painter.restore();
}

ScoreBand labelBand(const QString &text, double overallMean, double band)
{
    const auto value = Scoring::readScoreText(text);
    return value ? Scoring::classify(*value, overallMean, band) : ScoreBand::Neither;
}

std::array<PlacedLabel, LabelCount> labels(const ProfileScores &scores, double overallMean, double band)
{
    std::array<QPoint, 12> anchors;
    const QPoint centre = plotCentre();
    for (int j = 0; j < 12; ++j)
        anchors[std::size_t(j)] = PlacePlotPoint(centre, j, LabelRadius);
    std::array<PlacedLabel, LabelCount> placed;
    for (int l = 0; l < 12; ++l) {
        PlacedLabel &label = placed[std::size_t(l)];
        label.text = Scoring::scoreText(scores.index(PlotIndexOrder[std::size_t(l)]));
        const Offset offset = IndexLabelOffsets[std::size_t(l)];
        label.topLeft = anchors[std::size_t(l)] + QPoint(offset.dx, offset.dy);
    }
    for (int k = 0; k < 4; ++k) {
        const TraitLabelPlace &place = TraitLabelPlaces[std::size_t(k)];
        PlacedLabel &label = placed[std::size_t(12 + k)];
        label.text = Scoring::scoreText(scores.trait(place.trait));
        label.topLeft = anchors[std::size_t(place.anchorPosition)] + QPoint(place.offset.dx, place.offset.dy);
    }
    for (PlacedLabel &label : placed)
        label.band = labelBand(label.text, overallMean, band);
    return placed;
}

void drawLabels(QPainter &painter, const std::array<PlacedLabel, LabelCount> &placed, const QFont &font)
{
    painter.save();
    for (const PlacedLabel &label : placed) {
        QFont styled = font;
        styled.setBold(Scoring::bandIsBold(label.band));
        painter.setFont(styled);
        painter.setPen(Scoring::bandColor(label.band));
        const QSize size = QFontMetrics(styled).size(Qt::TextSingleLine, label.text);
        painter.drawText(QRect(label.topLeft, size), Qt::AlignCenter, label.text);
    }
    painter.restore();
}

QString infoCaption(const QString &code, const QString &name)
{
    return code + QStringLiteral(". ") + name;
}

QString fittedCaption(const QString &text, const QFont &font)
{
    return QFontMetrics(font).elidedText(text, Qt::ElideRight, CaptionWidth);
}

int dateCaptionRight(const QFont &font)
{
    return DateCaptionLeft + QFontMetrics(font).size(Qt::TextSingleLine, QStringLiteral("Date")).width();
}

// ---------------------------------------------------------------------------------------------
// The picture of the culture model

namespace {

const QPointF Centre(297, 280);
constexpr double DiscRadius = 26;
constexpr double RingInner = 146;
constexpr double RingOuter = 195;

// The ring shows index 2 under its full name.
QString ringName(int index)
{
    return index == 2 ? QStringLiteral("Ориентация на командную работу") : Resource::IndexShortName(index);
}

// Splits a name into two lines of about equal length at a blank.
QStringList twoLines(const QString &name)
{
    int best = -1;
    for (int k = 0; k < name.size(); ++k)
        if (name[k] == u' ' && (best < 0 || std::abs(k - name.size() / 2) < std::abs(best - name.size() / 2)))
            best = k;
    if (best < 0)
        return {name};
    return {name.left(best), name.mid(best + 1)};
}

// Writes text along a circle of the given radius, centred on the angle (clockwise from up, degrees).
// In the lower half the letters run the other way, so that every name reads from left to right.
void drawOnArc(QPainter &p, const QString &text, double radius, double centreDegrees)
{
    const QFontMetricsF metrics(p.font());
    const double total = metrics.horizontalAdvance(text);
    const bool lower = std::cos(qDegreesToRadians(centreDegrees)) < 0;
    const double direction = lower ? -1.0 : 1.0;
    double along = -total / 2;
    for (QChar c : text) {
        const double advance = metrics.horizontalAdvance(c);
        const double middle = along + advance / 2;
        const double degrees = centreDegrees + direction * qRadiansToDegrees(middle / radius);
        const double phi = qDegreesToRadians(degrees);
        const QPointF at(Centre.x() + radius * std::sin(phi), Centre.y() - radius * std::cos(phi));
        p.save();
        p.translate(at);
        p.rotate(lower ? degrees + 180 : degrees);
        p.drawText(QPointF(-advance / 2, lower ? metrics.ascent() / 2 : metrics.ascent() / 2 - 1), QString(c));
        p.restore();
        along += advance;
    }
}

void drawArrow(QPainter &p, const QPolygonF &shape, const QLinearGradient &shade, const QString &caption,
               const QRectF &captionBox, double captionRotation)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(shade);
    p.drawPolygon(shape);
    p.save();
    p.translate(captionBox.center());
    p.rotate(captionRotation);
    // A caption turned by a right angle runs along the box's height.
    const bool turned = std::abs(std::remainder(captionRotation, 180.0)) > 45;
    const QSizeF size = turned ? captionBox.size().transposed() : captionBox.size();
    const QRectF box(-size.width() / 2, -size.height() / 2, size.width(), size.height());
    p.setPen(Qt::white);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.drawText(box, Qt::AlignCenter, caption);
    p.restore();
}

QPolygonF verticalArrow(double left, double right, double bodyNear, double bodyFar, double apex)
{
    const double middle = (left + right) / 2;
    const double wing = 16;
    return QPolygonF({QPointF(left, bodyNear), QPointF(left, bodyFar), QPointF(left - wing, bodyFar), QPointF(middle, apex),
                      QPointF(right + wing, bodyFar), QPointF(right, bodyFar), QPointF(right, bodyNear)});
}

QPolygonF horizontalArrow(double top, double bottom, double bodyNear, double bodyFar, double apex)
{
    const double middle = (top + bottom) / 2;
    const double wing = 16;
    return QPolygonF({QPointF(bodyNear, top), QPointF(bodyFar, top), QPointF(bodyFar, top - wing), QPointF(apex, middle),
                      QPointF(bodyFar, bottom + wing), QPointF(bodyFar, bottom), QPointF(bodyNear, bottom)});
}

void drawTraitName(QPainter &p, int trait, const QPointF &at, double rotation)
{
    p.save();
    p.translate(at);
    p.rotate(rotation);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Resource::TraitColor(trait));
    p.drawText(QRectF(-90, -12, 180, 24), Qt::AlignCenter, Resource::TraitName(trait));
    p.restore();
}

} // namespace

void drawBackground(QPainter &p)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRectF(0, 0, BackgroundWidth, BackgroundHeight), Qt::white);

    // The name ring and the scale circles.
    QPainterPath ring;
    ring.addEllipse(Centre, RingOuter, RingOuter);
    ring.addEllipse(Centre, RingInner, RingInner);
    p.fillPath(ring, QColor(255, 252, 197));
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(Centre, RingOuter, RingOuter);
    for (int k = 0; k < 5; ++k) {
        const double radius = 50 + 24 * k;
        p.drawEllipse(Centre, radius, radius);
    }

    // Sector lines from the central disc to the outer edge of the ring.
    for (int k = 0; k < 12; ++k) {
        const double phi = qDegreesToRadians(30.0 * k);
        const QPointF direction(std::sin(phi), -std::cos(phi));
        p.drawLine(Centre + direction * DiscRadius, Centre + direction * RingOuter);
    }

    // The central disc.
    p.setBrush(QColor(215, 215, 215));
    p.setPen(QPen(QColor(130, 130, 130), 1));
    p.drawEllipse(Centre, DiscRadius, DiscRadius);
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(8);
    small.setBold(true);
    p.setFont(small);
    p.setPen(QColor(40, 40, 40));
    p.drawText(QRectF(Centre.x() - 25, Centre.y() - 11, 50, 22), Qt::AlignCenter, QStringLiteral("Базовые\nценности"));

    // Index names, each in its own sector of the ring, in two lines following the ring.
    QFont names(QStringLiteral("DejaVu Sans"));
    names.setPixelSize(9);
    p.setFont(names);
    p.setPen(QColor(30, 30, 30));
    for (int j = 0; j < 12; ++j) {
        const int index = PlotIndexOrder[std::size_t(j)];
        const double degrees = 30.0 * j + 15.0;
        const QStringList lines = twoLines(ringName(index));
        const bool lower = std::cos(qDegreesToRadians(degrees)) < 0;
        if (lines.size() == 1) {
            drawOnArc(p, lines[0], 170, degrees);
        } else {
            drawOnArc(p, lines[0], lower ? 163 : 178, degrees);
            drawOnArc(p, lines[1], lower ? 178 : 163, degrees);
        }
    }

    // The four axis arrows, each shaded between the colours of its neighbouring traits.
    QLinearGradient up(222, 0, 372, 0);
    up.setColorAt(0, Resource::TraitColor(3));
    up.setColorAt(1, Resource::TraitColor(4));
    drawArrow(p, verticalArrow(222, 372, 62, 30, 4), up, QStringLiteral("ВНЕШНИЙ ФОКУС"), QRectF(222, 33, 150, 27), 0);
    QLinearGradient down(222, 0, 372, 0);
    down.setColorAt(0, Resource::TraitColor(1));
    down.setColorAt(1, Resource::TraitColor(2));
    drawArrow(p, verticalArrow(222, 372, 497, 529, 555), down, QStringLiteral("ВНУТРЕННИЙ ФОКУС"),
              QRectF(222, 499, 150, 27), 0);
    QLinearGradient left(0, 205, 0, 355);
    left.setColorAt(0, Resource::TraitColor(3));
    left.setColorAt(1, Resource::TraitColor(1));
    drawArrow(p, horizontalArrow(205, 355, 70, 30, 4), left, QStringLiteral("ГИБКОСТЬ"), QRectF(31, 205, 38, 150), -90);
    QLinearGradient right(0, 205, 0, 355);
    right.setColorAt(0, Resource::TraitColor(4));
    right.setColorAt(1, Resource::TraitColor(2));
    drawArrow(p, horizontalArrow(205, 355, 525, 565, 592), right, QStringLiteral("СТАБИЛЬНОСТЬ"),
              QRectF(526, 205, 38, 150), 90);

    // Trait names, diagonally in the corners, in their trait colours.
    drawTraitName(p, 3, QPointF(48, 62), -42);
    drawTraitName(p, 4, QPointF(542, 60), 42);
    drawTraitName(p, 1, QPointF(62, 506), 42);
    drawTraitName(p, 2, QPointF(536, 504), -42);
    p.restore();
}

} // namespace CirclePicture
