#pragma once
// The tests of a group's segments (departments): each shown segment against the rest of the group
// per index (Welch's test, Holm's adjustment over every cell of the table, Hedges' g), the agreement
// within each shown segment (rwg(j)) and the ICCs across the shown segments. Only segments that show
// their scores under the anonymity rule (SegmentsTable::visibility) take part; the rest of the group
// is every member outside the segment, as the whole group's row counts them.

#include "Agreement.h"
#include "GroupMoments.h"
#include "SegmentsTable.h"
#include "Significance.h"

#include <QList>

#include <array>
#include <optional>

namespace SegmentStatistics {

using IndexDifferences = std::array<Significance::Difference, Resource::IndexCount>;
using IndexFigures = std::array<std::optional<double>, Resource::IndexCount>;

struct Tests
{
    int minimum = SegmentsTable::DefaultMinimum;
    QList<qsizetype> shown;               // positions in Segments::segments, in name order
    QList<IndexDifferences> differences;  // per shown segment, against the rest of the group
    QList<IndexFigures> rwg;              // per shown segment
    QList<std::optional<double>> meanRwg; // per shown segment
    std::array<Agreement::Icc, Resource::IndexCount> icc;

    QList<qsizetype> positions;           // per segment of Segments::segments: its place in shown, or -1

    // The position in shown of segment k of Segments::segments, or -1.
    qsizetype shownAt(qsizetype segment) const { return positions.value(segment, -1); }
};

// The moments of the whole group and of every segment, in one pass over the group's members.
GroupMoments::Moments collect(const MemberTable &table, const SegmentsTable::Segments &segments);
// The tests at an anonymity threshold (cheap: no pass over the members).
Tests tests(const SegmentsTable::Segments &segments, const GroupMoments::Moments &moments, int minimum);

// The mark of a significant difference wherever one is shown: "*".
inline QString mark() { return QStringLiteral("*"); }
// "Разность +0,24 (95 % ДИ от +0,05 до +0,43), p = 0,012, g = 0,41": a difference in words, with
// what is undefined said so.
QString differenceText(const Significance::Difference &d);
// "+0,24", "-0,10", "0,00": a signed score text; what rounds to zero has no sign.
QString signedText(double value);
// "0,41" with two decimals, or "не определено".
QString figureText(const std::optional<double> &value);

} // namespace SegmentStatistics
