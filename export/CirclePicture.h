#pragma once
// The picture of the profile circle, drawn the same way in the window and in the report: the
// geometry of the twelve plot positions, the profile polygon with its markers (a second, dashed
// polygon for a reference profile), where the sixteen value labels go and how they are coloured,
// the captions over the circle, and the picture of the culture model beneath it all.

#include "Profile.h"
#include "Scoring.h"

#include <QFont>
#include <QPoint>
#include <QString>

#include <array>

class QPainter;

namespace CirclePicture {

// The panel and its client area; overlay (x, y) is panel (x + 2, y + 2).
constexpr int PanelWidth = 602;
constexpr int PanelHeight = 564;
constexpr int OverlayWidth = 598;
constexpr int OverlayHeight = 560;
constexpr int OverlayOffset = 2;
// The picture of the culture model.
constexpr int BackgroundWidth = 597;
constexpr int BackgroundHeight = 559;

// The index shown at each of the twelve positions, clockwise from straight up.
constexpr std::array<int, 12> PlotIndexOrder = {10, 11, 12, 6, 5, 4, 3, 2, 1, 7, 8, 9};

constexpr double AngleStep = 3.14159265358979323846 / 6.0;
constexpr double RadiusScale = 49.5;
constexpr double LabelRadius = 4.5 * RadiusScale; // 222.75
constexpr int CentreCorrection = -2;
// The largest radius placed, in pixels: far beyond any overlay, far inside the range of a pixel.
constexpr double MaxPlotRadius = 1e6;

struct Offset
{
    int dx;
    int dy;
};

// Left and top of index label l relative to its anchor.
constexpr std::array<Offset, 12> IndexLabelOffsets = {{{-15, 5}, {-15, 0}, {-15, 0}, {-15, 0}, {-15, -20},
                                                       {-15, -20}, {-15, -20}, {-10, -20}, {-5, 0}, {-5, 0},
                                                       {-10, 0}, {-15, 5}}};

struct TraitLabelPlace
{
    int trait;
    int anchorPosition;
    Offset offset;
};

// Labels 12 to 15.
constexpr std::array<TraitLabelPlace, 4> TraitLabelPlaces = {{{4, 1, {40, -40}},
                                                              {2, 4, {40, 25}},
                                                              {1, 7, {-60, 25}},
                                                              {3, 10, {-60, -40}}}};
constexpr int LabelCount = 16;

// Rounds to the nearest whole pixel, halves to the even neighbour.
int roundToPixel(double value);

// The plot centre of an overlay of w x h pixels: (w/2 - 2, h/2).
QPoint plotCentre(int width = OverlayWidth, int height = OverlayHeight);

// The radius of a score. 0 lies on the centre; so does any score that gives no finite radius
// (-1, where the formula divides by zero, and non-finite scores).
double ScoreRadius(double score);

// The point of position j at radius r around centre, clockwise from straight up; a radius beyond
// MaxPlotRadius either way is placed at that distance on the same ray.
QPoint PlacePlotPoint(const QPoint &centre, int position, double radius);

// The polygon's vertices, position by position, in overlay pixels.
std::array<QPoint, 12> vertices(const IndexScores &scores, const QPoint &centre = plotCentre());

enum class PolygonStyle { Profile, Reference };
// The profile: solid magenta lines 2 pixels wide, then a black 3 x 3 marker on every vertex. A
// reference profile: dashed dark blue lines, no markers.
void drawPolygon(QPainter &painter, const std::array<QPoint, 12> &points, PolygonStyle style = PolygonStyle::Profile);

// The legend of a comparison, in the free corner right of the top arrow: a short line of each
// polygon's kind and the two profiles' names, cut to fit.
constexpr int LegendLeft = 396;
constexpr int LegendTop = 6;
constexpr int LegendWidth = 118;
void drawLegend(QPainter &painter, const QString &profileName, const QString &referenceName);

struct PlacedLabel
{
    QString text;   // the score with two decimals
    ScoreBand band; // classified from the text shown, like the grid cell of the same score
    QPoint topLeft; // in panel pixels
};

// The value labels: 0 to 11 the indices at their positions, 12 to 15 the traits.
std::array<PlacedLabel, LabelCount> labels(const ProfileScores &scores, double overallMean, double band);
// The band of a label's text.
ScoreBand labelBand(const QString &text, double overallMean, double band);
// Draws the labels as the window's labels show them: each centred in the box its text needs.
void drawLabels(QPainter &painter, const std::array<PlacedLabel, LabelCount> &placed, const QFont &font = QFont());

// The captions over the circle: "code. name" from the left edge, the date right-aligned on the
// right, where "Date" ends when placed at DateCaptionLeft; each is cut with "…" where it would run
// into the arrow at the top.
constexpr int InfoCaptionLeft = 13;
constexpr int DateCaptionLeft = 556;
constexpr int CaptionTop = 8;
constexpr int CaptionWidth = 222;
QString infoCaption(const QString &code, const QString &name);
// text cut to CaptionWidth in font.
QString fittedCaption(const QString &text, const QFont &font);
// The right edge of the date caption in font.
int dateCaptionRight(const QFont &font);

// The picture of the culture model in its own pixels (597 x 559), as vectors: the window shows it
// from the stored JPEG, the report draws it sharp at any size.
void drawBackground(QPainter &painter);

} // namespace CirclePicture
