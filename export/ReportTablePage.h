#pragma once
// A report page of figures after page 1, as the survey archive gives them: the norms of the profile
// (the circle against the norm band, then the table of percentiles and stens) and the client's
// trend over waves (the table of each wave's means and the last change). ReportTablePages draws
// what it is given; the figures come from the archive through the window.

#include "MemberTable.h"
#include "NormCirclePicture.h"
#include "Table.h"

#include <QString>

#include <optional>

struct ReportTablePage
{
    QString title;
    // The profile's index scores on the circle, with the norm band where there is a norm.
    std::optional<IndexScores> circle;
    std::optional<NormCirclePicture::Norm> norm;
    Table table;
    QString note; // under the table: how the figures were formed
};
