#include "ReportPack.h"

#include "FileNames.h"
#include "ProfileLoader.h"

#include <QDir>
#include <QSet>

#include <algorithm>

namespace ReportPack {
namespace {

// Two segments whose names make the same file name ("A/B" and "A_B", or names that differ in case
// only, which Windows does not tell apart) get " (2)", " (3)" ... after the first.
QString uniqueName(const QString &stem, QSet<QString> &taken)
{
    QString name = stem + QStringLiteral(".pdf");
    for (int n = 2; taken.contains(name.toCaseFolded()); ++n)
        name = QStringLiteral("%1 (%2).pdf").arg(stem).arg(n);
    taken.insert(name.toCaseFolded());
    return name;
}

} // namespace

QString wholeGroupFileName()
{
    return SegmentsTable::groupLabel() + QStringLiteral(".pdf");
}

Plan plan(const Profile &group, const Options &options)
{
    Plan result;
    QSet<QString> taken;
    PlannedReport whole{uniqueName(SegmentsTable::groupLabel(), taken), QString(), group, group.respondentCount()};
    result.reports.append(std::move(whole));
    if (!group.members)
        return result;
    const SegmentsTable::Segments segments = SegmentsTable::split(group, options.by);
    const int minimum = std::max(options.minimum, SegmentsTable::LowestMinimum);
    const QList<SegmentsTable::Visibility> shown = SegmentsTable::visibility(segments, minimum);
    for (qsizetype k = 0; k < segments.segments.size(); ++k) {
        const SegmentsTable::Segment &segment = segments.segments.at(k);
        if (shown.at(k) != SegmentsTable::Visibility::Shown) {
            ++result.leftOut;
            continue;
        }
        PlannedReport planned;
        planned.segment = segment.name;
        planned.fileName = uniqueName(FileNames::stemOf(segment.name), taken);
        // The header a segment shown as a group has, and the scores the split has worked out as the
        // group build does (the means of its members, then Profile::setScores).
        planned.profile = ProfileLoader::groupProfile(std::make_shared<MemberTable>(), group.source, {}, segment.name);
        planned.profile.setScores(segment.scores.IndexScores, segment.scores.ItemScores);
        planned.members = segment.size();
        result.reports.append(std::move(planned));
    }
    return result;
}

ReportInput reportInput(const PlannedReport &planned, const Profile &group, const Options &options)
{
    ReportInput input;
    input.profile = planned.profile;
    input.respondents = QString::number(planned.members);
    input.band = options.band;
    input.title = options.title;
    input.title.group = true;
    input.title.memberList = false;
    if (options.chart)
        input.overviewChart = options.chart(input.profile, input.band);
    if (!planned.segment.isNull()) {
        input.reference = group;
        input.referenceName = QStringLiteral("%1 (%2)").arg(SegmentsTable::groupLabel(),
                                                             ProfileText::questionnaires(group.respondentCount()));
    }
    return input;
}

Outcome<Written> write(const QString &folder, const Plan &plan, const Profile &group, const Options &options,
                       const Progress &progress)
{
    Written written;
    const QDir dir(folder);
    const qsizetype total = plan.reports.size();
    for (qsizetype k = 0; k < total; ++k) {
        const QString path = dir.filePath(plan.reports.at(k).fileName);
        const Outcome<> file = Report::write(path, reportInput(plan.reports.at(k), group, options));
        if (!file)
            return Outcome<Written>::failed(file.message() + u'\n'
                                            + QStringLiteral("Записано отчётов: %1 из %2.").arg(written.files.size()).arg(total));
        written.files.append(path);
        if (progress && !progress(k + 1, total) && k + 1 < total) {
            written.cancelled = true;
            break;
        }
    }
    return written;
}

} // namespace ReportPack
