#pragma once
// The statistics the PDF report shows of a group: the page "Надёжность шкал" (groups of ten members
// or more: per index and trait, alpha with its 95 % interval and a verdict, the statements whose
// correlation with their index is negative), the 95 % interval of each index mean in the results
// table, and on the comparison page which differences are significant (Welch, Holm over the twelve
// indices). Everything is worked out from the members, never from what a window shows.

#include "Profile.h"
#include "Reliability.h"
#include "Significance.h"

#include <QString>

#include <array>
#include <optional>

namespace ReportStatistics {

struct Figures
{
    std::optional<Reliability::Result> reliability; // a group of Reliability::MinimumMembers or more
    std::array<std::optional<Significance::Interval>, Resource::IndexCount> intervals; // of a group's index means
    // Of the comparison, where there is one: profile against reference per index.
    std::optional<std::array<Significance::Difference, Resource::IndexCount>> differences;
};

Figures of(const Profile &profile, const std::optional<Profile> &reference);

// "3,02–3,41": an index mean's interval as the results table gives it.
QString intervalText(const Significance::Interval &interval);
// The body of the page "Надёжность шкал" as HTML for a text document of the page's width.
QString reliabilityHtml(const Reliability::Result &result);
// The note under the comparison's table.
QString comparisonNote();

} // namespace ReportStatistics
