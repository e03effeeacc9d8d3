#include "SegmentStatistics.h"

#include "Scoring.h"

#include <cmath>

namespace SegmentStatistics {

GroupMoments::Moments collect(const MemberTable &table, const SegmentsTable::Segments &segments)
{
    QList<QList<qsizetype>> sets;
    sets.reserve(segments.segments.size());
    for (const SegmentsTable::Segment &segment : segments.segments)
        sets.append(segment.members);
    return GroupMoments::collect(table, sets);
}

Tests tests(const SegmentsTable::Segments &segments, const GroupMoments::Moments &moments, int minimum)
{
    Tests result;
    result.minimum = std::max(minimum, SegmentsTable::LowestMinimum);
    const QList<SegmentsTable::Visibility> visibility = SegmentsTable::visibility(segments, result.minimum);
    const QList<GroupMoments::SetMoments> &sets = moments.sets;
    const qsizetype count = std::min(sets.size(), visibility.size());
    // The rest of the group for segment k: every other segment together, from running combinations
    // before and after it (each member is in exactly one segment).
    QList<GroupMoments::SetMoments> before(count + 1), after(count + 1);
    for (qsizetype k = 0; k < count; ++k)
        before[k + 1] = GroupMoments::SetMoments::combined(before[k], sets[k]);
    for (qsizetype k = count; k > 0; --k)
        after[k - 1] = GroupMoments::SetMoments::combined(after[k], sets[k - 1]);
    QList<GroupMoments::SetMoments> shownSets;
    for (qsizetype k = 0; k < count; ++k) {
        if (visibility[k] != SegmentsTable::Visibility::Shown)
            continue;
        result.positions.resize(count, -1);
        result.positions[k] = result.shown.size();
        result.shown.append(k);
        shownSets.append(sets[k]);
        const GroupMoments::SetMoments rest = GroupMoments::SetMoments::combined(before[k], after[k + 1]);
        IndexDifferences differences;
        IndexFigures rwg;
        for (int i = 0; i < Resource::IndexCount; ++i) {
            differences[std::size_t(i)] = Significance::welch(sets[k].indices[std::size_t(i)], rest.indices[std::size_t(i)]);
            rwg[std::size_t(i)] = Agreement::rwg(sets[k], i + 1);
        }
        result.differences.append(differences);
        result.rwg.append(rwg);
        result.meanRwg.append(Agreement::meanRwg(sets[k]));
    }
    // Holm over every cell of the table: shown segments x indices.
    QList<Significance::Difference *> cells;
    for (IndexDifferences &row : result.differences)
        for (Significance::Difference &d : row)
            cells.append(&d);
    Significance::holm(cells);
    for (int i = 0; i < Resource::IndexCount; ++i)
        result.icc[std::size_t(i)] = Agreement::icc(shownSets, i + 1);
    return result;
}

QString signedText(double value)
{
    return Scoring::differenceText(value, 2);
}

QString figureText(const std::optional<double> &value)
{
    return value && std::isfinite(*value) ? Scoring::scoreText(*value) : QStringLiteral("не определено");
}

QString differenceText(const Significance::Difference &d)
{
    QString text = QStringLiteral("Разность %1").arg(signedText(d.difference));
    if (d.interval)
        text += QStringLiteral(" (95 % ДИ от %1 до %2)").arg(signedText(d.interval->lower), signedText(d.interval->upper));
    text += d.p ? QStringLiteral(", %1").arg(Significance::pText(*d.p)) : QStringLiteral(", p не определено");
    if (d.adjustedP)
        text += QStringLiteral(" (с поправкой Холма: %1)").arg(Significance::pText(*d.adjustedP));
    text += QStringLiteral(", g = %1").arg(figureText(d.g));
    return text;
}

} // namespace SegmentStatistics
