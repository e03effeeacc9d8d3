#pragma once
// A report page of figures after page 1, as the survey archive gives them: the norms of the profile
// (the circle against the norm band, then the table of percentiles and stens) and the client's
// trend over waves (the table of each wave's means and the last change). The page draws what it is
// given; the figures come from the archive through the window.

#include "MemberTable.h"
#include "NormCirclePicture.h"
#include "Table.h"

#include <QRectF>
#include <QString>

#include <optional>

class QPainter;

struct ReportTablePage
{
    QString title;
    // The profile's index scores on the circle, with the norm band where there is a norm.
    std::optional<IndexScores> circle;
    std::optional<NormCirclePicture::Norm> norm;
    Table table;
    QString note; // under the table: how the figures were formed
};

namespace ReportTablePages {

// Draws the page's circle, table and note into area (below the page heading), in the report's font
// family; the first column takes what the others leave.
void draw(QPainter &painter, const QRectF &area, const ReportTablePage &page);

} // namespace ReportTablePages
