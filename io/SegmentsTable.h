#pragma once
// A group split into segments (departments) by one of its information lines or by sub-folder, each
// segment scored as the window scores a group: the means of its members' index and statement
// scores, the trait scores and the overall mean derived from them (Profile::setScores, as
// ProfileLoader::groupProfile does). A segment with fewer members than the anonymity threshold, or
// one that would give such a set away by subtraction (Anonymity), shows no scores anywhere, in the
// window or in a file; its members still count in the whole group.
//
// The table: the whole group first (marked), then one row per segment in name order: the segment,
// its size, the twelve index scores, the four trait scores and the overall mean. A suppressed
// segment has its name, "менее N анкет" in place of its size and empty score cells; one hidden to
// protect others (see visibility) its name, its size, "скрыт для анонимности" in the first score cell
// and the other score cells empty.

#include "Anonymity.h"
#include "GroupArithmetic.h"
#include "Profile.h"
#include "Table.h"

#include <QList>
#include <memory>
#include <QString>

namespace SegmentsTable {

// The anonymity threshold: segments with fewer members show no scores. Never below LowestMinimum.
constexpr int DefaultMinimum = 5;
constexpr int LowestMinimum = 3;

struct Segment
{
    QString name;              // as shown: the information line or sub-folder, or a label for none
    QList<qsizetype> members;  // numbers into the group's member table, in table order
    ProfileScores scores;      // index, trait and statement scores
    double overallMean = 0.0;

    qsizetype size() const { return members.size(); }
    // True when the segment is too small to show its scores.
    bool suppressed(int minimum) const { return size() < minimum; }
};

struct Segments
{
    Segment group;            // the whole group, every member; its scores are the group profile's
    QList<Segment> segments;  // in name order, ignoring case
    GroupArithmetic::SplitBy by = GroupArithmetic::SplitBy::Info1;
    // The heading of the segments' column: the caption of the information line split by, where the
    // group's captions are known (InfoCaptions), else "Сегмент".
    QString heading = QStringLiteral("Сегмент");
    // Every split of the group, by which the hidden segments are chosen for all of them at once.
    std::shared_ptr<const Anonymity::Splits> splits;
};

// Splits the group's members and scores every segment (suppressed ones too, so that a change of the
// threshold needs no new arithmetic; nothing shows them). Names that read alike are told apart:
// invisible characters shown by their code ("Отдел⟨U+200B⟩1"), Latin letters among Cyrillic ones
// named ("Отдел A [лат. A]"), and a name that reads like another in every letter quoted («Отдел А»).
Segments split(const Profile &group, GroupArithmetic::SplitBy by);

// The name a segment is shown with: its text, or a label for members without one.
QString segmentLabel(const QString &name, GroupArithmetic::SplitBy by);
// "менее N анкет": what a suppressed segment shows in place of its size and scores.
QString suppressedText(int minimum);

// Which segments show their scores: Anonymity::visibility over every split of the group (none with
// fewer members than minimum; more hidden where the whole group, or a segment of another split,
// would give away the members of hidden ones by subtraction). A segment hidden to protect others
// shows its size, not its scores.
using Visibility = Anonymity::Visibility;
QList<Visibility> visibility(const Segments &segments, int minimum);
// What a segment that protects a small one shows beside its size.
QString protectingText();
// The row name of the whole group.
QString groupLabel();

// The header row: heading ("Сегмент", or the caption of the line split by), "n", the index titles,
// the trait names, "Общее среднее".
QList<QString> columns(const QString &heading = QStringLiteral("Сегмент"));
constexpr int SizeColumn = 1;
constexpr int FirstScoreColumn = 2;
constexpr int ColumnCount = FirstScoreColumn + Resource::IndexCount + Resource::TraitCount + 1;
// The score of column c (FirstScoreColumn <= c < ColumnCount) of a segment.
double scoreOf(const Segment &segment, int column);

// minimum: the anonymity threshold (LowestMinimum when below it).
Table table(const Segments &segments, int minimum);

} // namespace SegmentsTable
