#include "SegmentsTable.h"

#include "InfoCaptions.h"
#include "Resource.h"

#include <QHash>

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

namespace {

// Latin letters that look like Cyrillic ones, and those Cyrillic ones.
constexpr char16_t LatinTwins[] = u"ABCEHKMOPTXaceopxy";
constexpr char16_t CyrillicTwins[] = u"АВСЕНКМОРТХасеорху";

// What a name looks like: without invisible characters, Latin twins as Cyrillic, folded.
QString skeleton(const QString &name)
{
    QString out;
    out.reserve(name.size());
    for (QChar c : name) {
        if (c.category() == QChar::Other_Format)
            continue;
        const char16_t *twin = std::char_traits<char16_t>::find(LatinTwins, std::size(LatinTwins) - 1, c.unicode());
        out += twin ? QChar(CyrillicTwins[twin - LatinTwins]) : c;
    }
    return out.toCaseFolded();
}

// A name made distinguishable from one that looks the same: invisible characters shown by their
// code, and the Latin letters among Cyrillic ones named.
QString tellApart(const QString &name)
{
    QString shown;
    QString latin;
    bool cyrillic = false;
    for (QChar c : name) {
        if (c.category() == QChar::Other_Format) {
            shown += QStringLiteral("⟨U+%1⟩").arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0'));
            continue;
        }
        shown += c;
        cyrillic = cyrillic || (c.unicode() >= 0x0400 && c.unicode() <= 0x04FF);
        if (c.unicode() < 0x80 && c.isLetter() && !latin.contains(c))
            latin += c;
    }
    if (cyrillic && !latin.isEmpty())
        shown += QStringLiteral(" [лат. %1]").arg(latin);
    return shown;
}

} // namespace

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
    auto splits = std::make_shared<const Anonymity::Splits>(Anonymity::allSplits(table));
    const QList<GroupArithmetic::Segment> &parts = (*splits)[qsizetype(by)];
    const QList<GroupArithmetic::MeanScores> means = GroupArithmetic::means(table, parts);
    result.segments.reserve(parts.size());
    for (qsizetype k = 0; k < parts.size(); ++k) {
        // Scored as a group profile is: Profile::setScores derives the traits and the overall mean.
        Profile scored;
        scored.setScores(means[k].indices, means[k].items);
        result.segments.append({segmentLabel(parts[k].name, by), parts[k].members, scored.scores, scored.overallMean});
    }
    // Segments whose names read alike (an invisible character, a Latin letter for a Cyrillic one, a
    // text typed as the label of empty values) are told apart, so that no reader takes one for another.
    QHash<QString, int> alike;
    for (const GroupArithmetic::Segment &part : parts)
        ++alike[part.name.isEmpty() ? skeleton(segmentLabel(QString(), by)) : skeleton(part.name)];
    for (qsizetype k = 0; k < parts.size(); ++k) {
        const QString &name = parts[k].name;
        if (name.isEmpty() || alike.value(skeleton(name)) < 2)
            continue;
        const QString shown = tellApart(name);
        result.segments[k].name = shown == name ? QStringLiteral("«%1»").arg(name) : shown;
    }
    result.by = by;
    result.splits = std::move(splits);
    if (by != GroupArithmetic::SplitBy::Folder) {
        const QString caption = InfoCaptions::forFolder(group.source)[std::size_t(int(by) - int(GroupArithmetic::SplitBy::Info1))];
        if (!caption.isEmpty())
            result.heading = caption;
    }
    return result;
}

QList<QString> columns(const QString &heading)
{
    QList<QString> names = {heading, QStringLiteral("n")};
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
    if (segments.splits)
        return Anonymity::visibility(*segments.splits, segments.group.size(), minimum).value(qsizetype(segments.by));
    // Segments made by hand: this split alone.
    QList<GroupArithmetic::Segment> parts;
    for (const Segment &segment : segments.segments)
        parts.append({segment.name, segment.members});
    return Anonymity::visibility({parts}, segments.group.size(), minimum).value(0);
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
    table.columns = columns(segments.heading);
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
        if (seen == Visibility::Protects) {
            // Its size is shown, its scores not, and why.
            cells[FirstScoreColumn] = TableCell::ofText(protectingText());
            return;
        }
        for (int c = FirstScoreColumn; c < ColumnCount; ++c)
            cells[c] = TableCell::ofNumber(scoreOf(segment, c));
    };
    return table;
}

} // namespace SegmentsTable
