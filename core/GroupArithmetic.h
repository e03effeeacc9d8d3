#pragma once
// The arithmetic of a group over its members: the mean profile, the split into segments by an
// information line or by sub-folder, and the spread of the answers. Every function takes the members
// it works on as numbers into the table (all of them when none are given), so that a segment is
// measured exactly as the whole group is.

#include "MemberTable.h"
#include "Scoring.h"

#include <QList>
#include <QString>

#include <array>
#include <cmath>
#include <limits>

namespace GroupArithmetic {

struct MeanScores
{
    IndexScores indices{};
    ItemScores items{};
};

// The arithmetic means of the members' index and statement scores, mean = (x1 + ... + xn) / n: where
// every score is a whole number of hundredths (as result files hold them) the sum is formed exactly
// in hundredths and divided once, which gives the double nearest the true mean (3.34, not
// 3.3400000000000003); otherwise one addition per member in the table's order, then one division
// per score. No members give zeros.
MeanScores mean(const MemberTable &table, const QList<qsizetype> &members = {});

// What a group is split by.
enum class SplitBy { Info1, Info2, Info3, Info4, Folder };
// "info1".."info4" or "folder"; nullopt for anything else.
std::optional<SplitBy> splitByName(QStringView name);

struct Segment
{
    QString name; // the information line, or the sub-folder ("" for members outside any sub-folder)
    QList<qsizetype> members;
};

// The members grouped by the text of one information line (or their sub-folder), segments in name
// order (ignoring case), members in table order within each.
QList<Segment> split(const MemberTable &table, SplitBy by);

// The means of each segment, exactly as mean(table, segment.members) gives them (zeros for a segment
// without members). Segments as split gives them are measured in one pass over the table.
QList<MeanScores> means(const MemberTable &table, const QList<Segment> &segments);

// Number of values, mean, sample standard deviation (n - 1; NaN for fewer than two), minimum and maximum.
struct Summary
{
    qsizetype n = 0;
    double mean = std::numeric_limits<double>::quiet_NaN();
    double deviation = std::numeric_limits<double>::quiet_NaN();
    double minimum = std::numeric_limits<double>::quiet_NaN();
    double maximum = std::numeric_limits<double>::quiet_NaN();
};

struct StatementSummary : Summary
{
    // How many members gave answer 1 to 5: the score rounded to the nearest whole number (halves up),
    // and for a negatively worded statement, scored 6 - answer, 6 minus that; a score
    // that rounds outside 1 to 5 is no answer and is not counted here.
    std::array<qsizetype, 5> answers{};
};

struct Spread
{
    std::array<Summary, Resource::IndexCount> indices;
    std::array<Summary, Resource::TraitCount> traits;       // of each member's trait score
    std::array<StatementSummary, Resource::StatementCount> items;
};

Spread spread(const MemberTable &table, const QList<qsizetype> &members = {});
// The spread of each segment, exactly as spread(table, segment.members) gives it (no figures for a
// segment without members), in one pass over the table as means does.
QList<Spread> spreads(const MemberTable &table, const QList<Segment> &segments);

// The score a value rounds to (1 to 5), or 0 when it stands for none.
int answerOf(double score);

} // namespace GroupArithmetic
