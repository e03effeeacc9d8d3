#include "SegmentsTable.h"

#include "Resource.h"

#include <algorithm>
#include <memory>
#include <numeric>

namespace SegmentsTable {

QString segmentLabel(const QString &name, GroupArithmetic::SplitBy by)
{
    if (!name.isEmpty())
        return name;
    return by == GroupArithmetic::SplitBy::Folder ? QStringLiteral("(вне подпапок)") : QStringLiteral("(не указано)");
}

QString suppressedText(int minimum)
{
    return QStringLiteral("менее %1 анкет").arg(minimum);
}

QString groupLabel()
{
    return QStringLiteral("Вся группа");
}

Segments split(const Profile &group, GroupArithmetic::SplitBy by)
{
    Segments result;
    result.group.name = groupLabel();
    result.group.scores = group.scores;
    result.group.overallMean = group.overallMean;
    if (!group.members)
        return result;
    const MemberTable &table = *group.members;
    result.group.members.resize(table.size());
    std::iota(result.group.members.begin(), result.group.members.end(), qsizetype(0));
    const QList<GroupArithmetic::Segment> parts = GroupArithmetic::split(table, by);
    const QList<GroupArithmetic::MeanScores> means = GroupArithmetic::means(table, parts);
    result.segments.reserve(parts.size());
    for (qsizetype k = 0; k < parts.size(); ++k) {
        // Scored as a group profile is: Profile::setScores derives the traits and the overall mean.
        Profile scored;
        scored.setScores(means[k].indices, means[k].items);
        result.segments.append({segmentLabel(parts[k].name, by), parts[k].members, scored.scores, scored.overallMean});
    }
    return result;
}

QList<QString> columns()
{
    QList<QString> names = {QStringLiteral("Сегмент"), QStringLiteral("n")};
    for (int i = 1; i <= Resource::IndexCount; ++i)
        names << Resource::indexHeading(i);
    for (int t = 1; t <= Resource::TraitCount; ++t)
        names << Resource::TraitName(t);
    names << QStringLiteral("Общее среднее");
    return names;
}

QList<Visibility> visibility(const Segments &segments, int minimum)
{
    minimum = std::max(minimum, LowestMinimum);
    QList<Visibility> shown(segments.segments.size(), Visibility::Shown);
    qsizetype small = 0;
    for (qsizetype k = 0; k < shown.size(); ++k)
        if (segments.segments[k].suppressed(minimum)) {
            shown[k] = Visibility::TooSmall;
            ++small;
        }
    if (small == 1) {
        qsizetype smallest = -1;
        for (qsizetype k = 0; k < shown.size(); ++k)
            if (shown[k] == Visibility::Shown
                && (smallest < 0 || segments.segments[k].size() < segments.segments[smallest].size()))
                smallest = k;
        if (smallest >= 0)
            shown[smallest] = Visibility::Protects;
    }
    return shown;
}

QString protectingText()
{
    return QStringLiteral("скрыт для анонимности");
}

double scoreOf(const Segment &segment, int column)
{
    const int c = column - FirstScoreColumn;
    if (c < Resource::IndexCount)
        return segment.scores.IndexScores[std::size_t(c)];
    if (c < Resource::IndexCount + Resource::TraitCount)
        return segment.scores.TraitScores[std::size_t(c - Resource::IndexCount)];
    return segment.overallMean;
}

Table table(const Segments &segments, int minimum)
{
    auto shared = std::make_shared<const Segments>(segments);
    minimum = std::max(minimum, LowestMinimum);
    Table table;
    table.name = QStringLiteral("Сегменты");
    table.columns = columns();
    table.rowCount = 1 + segments.segments.size();
    table.markedRows = {0};
    const QList<Visibility> shown = visibility(segments, minimum);
    table.fillRow = [shared, minimum, shown](qsizetype row, QList<TableCell> &cells) {
        const Segment &segment = row == 0 ? shared->group : shared->segments[row - 1];
        cells[0] = TableCell::ofText(segment.name);
        // The whole group always shows: its small segments are hidden inside it.
        const Visibility seen = row == 0 ? Visibility::Shown : shown[row - 1];
        if (seen == Visibility::TooSmall) {
            cells[SizeColumn] = TableCell::ofText(suppressedText(minimum));
            return;
        }
        cells[SizeColumn] = TableCell::ofNumber(double(segment.size()));
        if (seen == Visibility::Protects)
            return;
        for (int c = FirstScoreColumn; c < ColumnCount; ++c)
            cells[c] = TableCell::ofNumber(scoreOf(segment, c));
    };
    return table;
}

} // namespace SegmentsTable
