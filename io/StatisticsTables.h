#pragma once
// The statistics of a group as tables for a spreadsheet, as zolk-cry and the window write them:
//   reliability  one row per index (1-12) and trait (1-4): name, n, alpha, lower and upper bound of
//                Feldt's interval, mean inter-statement correlation;
//   items        one row per statement (1-60): statement, index number, n, mean, standard deviation,
//                corrected statement-total correlation, alpha of its index without it;
//   differences  one row per shown segment (name order) and index (1-12): segment, index number, n,
//                segment mean, rest mean, difference, lower, upper, p, adjusted p, g;
//   agreement    one row per index (1-12): index number, ICC(1), ICC(2), then one column per shown
//                segment (headed by its name, name order) with its rwg(j).
// A figure that is undefined is the text "не определено" (with its reason where alpha is), never a
// number that is not one.

#include "Reliability.h"
#include "SegmentStatistics.h"
#include "SegmentsTable.h"
#include "Table.h"

namespace StatisticsTables {

QString undefinedText();

Table reliability(const Reliability::Result &result);
Table items(const Reliability::Result &result);
Table differences(const SegmentsTable::Segments &segments, const SegmentStatistics::Tests &tests);
Table agreement(const SegmentsTable::Segments &segments, const SegmentStatistics::Tests &tests);

} // namespace StatisticsTables
