// zolk-cry reliability, items, differences and agreement: the statistics of a group as tables.

#include "Command.h"

#include "GroupArithmetic.h"
#include "Reliability.h"
#include "SegmentStatistics.h"
#include "SegmentsTable.h"
#include "StatisticsTables.h"

#include <QFileInfo>

namespace Cry {
namespace {

QString commonDescription()
{
    return ZolkCry::tr(
        "The table is CSV for the user's locale, or an Excel workbook for an output named *.xlsx. A\n"
        "figure that cannot be computed (fewer than two members, a statement everyone answered alike)\n"
        "is the text \"не определено\". A file that cannot be read ends the command and nothing is\n"
        "written; with --skip-bad it is left out and named on standard error.");
}

QCommandLineOption skipBadOption()
{
    return QCommandLineOption(QStringLiteral("skip-bad"),
                              ZolkCry::tr("Leaves out the files that cannot be read; fails only when none can."));
}

CommandHelp groupHelp(const QString &summary, const QString &description, bool split)
{
    CommandHelp help;
    help.arguments = ZolkCry::tr("FOLDER...");
    help.argumentName = ZolkCry::tr("FOLDER");
    help.summary = summary;
    help.description = description + u'\n' + commonDescription();
    help.options = {skipBadOption()};
    if (split)
        help.options = {
            QCommandLineOption(QStringLiteral("by"), ZolkCry::tr("Splits by information line 1 to 4, or by sub-folder."),
                               QStringLiteral("info1|info2|info3|info4|folder")),
            QCommandLineOption(QStringLiteral("min"),
                               ZolkCry::tr("Leaves out a segment with fewer than N members (5 unless given, at least 3)."),
                               QStringLiteral("N")),
            skipBadOption(),
        };
    help.minArguments = 1;
    help.maxArguments = -1;
    return help;
}

CommandHelp reliabilityHelp()
{
    return groupHelp(ZolkCry::tr("Writes the reliability of the indices and traits in a group as a table."),
                     ZolkCry::tr("Writes one row per index (1 to 12) and trait (1 to 4) of the group of the result files in\n"
                                 "FOLDER (all of them, for several folders): its name, the number of members, Cronbach's\n"
                                 "alpha (from the covariances of its statements), the lower and upper bound of its 95 %\n"
                                 "interval (Feldt) and the mean correlation between its statements."),
                     false);
}

CommandHelp itemsHelp()
{
    return groupHelp(ZolkCry::tr("Writes the statistics of each statement in a group as a table."),
                     ZolkCry::tr("Writes one row per statement (1 to 60) of the group of the result files in FOLDER: the\n"
                                 "statement, its index, the number of members, the mean, the standard deviation (n - 1),\n"
                                 "its correlation with the sum of the other statements of its index and the alpha of its\n"
                                 "index without it."),
                     false);
}

CommandHelp differencesHelp()
{
    return groupHelp(ZolkCry::tr("Writes each segment's difference from the rest of the group, with its significance."),
                     ZolkCry::tr("Splits the group of the result files in FOLDER as 'segments' does and writes one row per\n"
                                 "segment that shows its scores (name order) and index (1 to 12): the segment, the index,\n"
                                 "its size, its mean, the mean of the rest of the group, the difference, the bounds of its\n"
                                 "95 % interval and p of Welch's test, p adjusted by Holm over all rows, and Hedges' g.\n"
                                 "Segments with fewer than N members (--min), and the one that protects a single such\n"
                                 "segment, are left out; their members count in the rest of the group."),
                     true);
}

CommandHelp agreementHelp()
{
    return groupHelp(ZolkCry::tr("Writes the agreement within segments and the ICCs across them."),
                     ZolkCry::tr("Splits the group of the result files in FOLDER as 'segments' does and writes one row per\n"
                                 "index (1 to 12): the index, ICC(1) and ICC(2) across the segments that show their scores,\n"
                                 "then one column per such segment (name order) with its rwg(j), the agreement of its\n"
                                 "members on the index's five statements."),
                     true);
}

// The group of the folders in the arguments, or the exit status of the failure in *exit.
std::optional<Profile> groupOf(const Invocation &invocation, int *exit)
{
    for (const QString &folder : invocation.arguments)
        if (!QFileInfo(folder).isDir()) {
            *exit = fail(ZolkCry::tr("%1 is not a folder: the statistics are of the group of a folder.").arg(folder));
            return std::nullopt;
        }
    if (const Outcome<> usable = checkOutput(invocation.output, {}, invocation.arguments); !usable) {
        *exit = fail(usable.message());
        return std::nullopt;
    }
    Outcome<Profile> group = readGroup(invocation.arguments, invocation.parser.isSet(QStringLiteral("skip-bad")));
    if (!group) {
        *exit = fail(group.message());
        return std::nullopt;
    }
    return std::move(group).value();
}

Reliability::Result reliabilityOf(const Profile &group)
{
    return Reliability::compute(GroupMoments::collect(*group.members).covariances);
}

int reliability(const Invocation &invocation)
{
    int exit = Success;
    const std::optional<Profile> group = groupOf(invocation, &exit);
    if (!group)
        return exit;
    return writeTable(StatisticsTables::reliability(reliabilityOf(*group)), invocation.output);
}

int items(const Invocation &invocation)
{
    int exit = Success;
    const std::optional<Profile> group = groupOf(invocation, &exit);
    if (!group)
        return exit;
    return writeTable(StatisticsTables::items(reliabilityOf(*group)), invocation.output);
}

// The tests of the group's segments as --by and --min ask, written with table.
int segmentTable(const Invocation &invocation,
                 Table (*table)(const SegmentsTable::Segments &, const SegmentStatistics::Tests &))
{
    SegmentChoice choice;
    if (const int usage = segmentChoice(invocation.parser, choice); usage != Success)
        return usage;
    int exit = Success;
    const std::optional<Profile> group = groupOf(invocation, &exit);
    if (!group)
        return exit;
    const SegmentsTable::Segments segments = SegmentsTable::split(*group, choice.by);
    const GroupMoments::Moments moments = SegmentStatistics::collect(*group->members, segments);
    return writeTable(table(segments, SegmentStatistics::tests(segments, moments, choice.minimum)), invocation.output);
}

int differences(const Invocation &invocation)
{
    return segmentTable(invocation, &StatisticsTables::differences);
}

int agreement(const Invocation &invocation)
{
    return segmentTable(invocation, &StatisticsTables::agreement);
}

} // namespace

Command reliabilityCommand()
{
    return {QStringLiteral("reliability"), &reliabilityHelp, &reliability};
}

Command itemsCommand()
{
    return {QStringLiteral("items"), &itemsHelp, &items};
}

Command differencesCommand()
{
    return {QStringLiteral("differences"), &differencesHelp, &differences};
}

Command agreementCommand()
{
    return {QStringLiteral("agreement"), &agreementHelp, &agreement};
}

} // namespace Cry
