#pragma once
// Which segments of a group may show their scores, decided for everything the program can publish
// of one group at once: the whole group and its splits by the four information lines and by
// sub-folder, in the window, the tables, the workbook, the report and zolk-cry alike.
//
// A reader who has several of these outputs can subtract: the whole group minus the segments shown
// gives the hidden ones together; a segment of one split minus a segment of another split that lies
// inside it gives the members between them. So, with m the anonymity threshold:
//  1. a segment of fewer than m members is hidden ("менее m анкет");
//  2. within one split, the hidden segments together hold no members or at least m: else the
//     smallest shown segments are hidden too, smallest first ("скрыт для анонимности");
//  3. across the splits, wherever one published set (a shown segment, or the hidden rest of a split,
//     which the whole group gives away) lies inside another and they differ by fewer than m members,
//     the smaller one is hidden; where that is the hidden rest of a split, the larger one; where both
//     are hidden rests, the smallest shown segment of the larger one's split.
// The rules are applied again until none applies; hiding only grows, so this ends. The order is
// fixed (splits in their order, segments in name order), so that the outcome depends on the group
// and the threshold only, never on which table is asked for first. Published sets that are equal
// give nothing away. Unions of several segments of different splits are not examined.

#include "GroupArithmetic.h"

#include <QList>

namespace Anonymity {

enum class Visibility {
    Shown,
    TooSmall, // fewer members than the threshold
    Protects, // hidden so that no subtraction reveals fewer members than the threshold
};

// The splits the program publishes for a group, each a partition of the group's members (the
// segments of GroupArithmetic::split, in its order).
using Splits = QList<QList<GroupArithmetic::Segment>>;
// Information lines 1 to 4, then sub-folder: the order of GroupArithmetic::SplitBy.
Splits allSplits(const MemberTable &table);

// The visibility of every segment of every split; members: the group's size.
QList<QList<Visibility>> visibility(const Splits &splits, qsizetype members, int minimum);

} // namespace Anonymity
