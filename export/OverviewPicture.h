#pragma once
// OverviewPicture is the overview chart of all sixty statement scores drawn with QPainter alone, for
// the report where no window draws it (zolk-cry): the sixty bars in their trait colours on the scale
// 0 to 5.5, the overall mean as a solid line and the band as dotted lines, the twelve index numbers
// over their last statements, under the chart's title, as the window's overview shows them.

#include "Profile.h"

#include <QRectF>

class QPainter;

namespace OverviewPicture {

// The chart's own size in logical pixels (the window's overview in the report).
constexpr qreal Width = 560;
constexpr qreal Height = 300;

// Draws the chart of profile's statement scores with the band of half-width band into target,
// its proportions kept (top-aligned and centred), as vectors and text. Scores off the scale are cut
// at the plot's edge; scores that are no number draw no bar.
void draw(QPainter &painter, const QRectF &target, const Profile &profile, double band);

} // namespace OverviewPicture
