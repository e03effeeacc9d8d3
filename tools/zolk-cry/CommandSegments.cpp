// zolk-cry segments FOLDER... --by ...: the scores of a group's segments (departments) as a table.

#include "Command.h"

#include "GroupArithmetic.h"
#include "SegmentsTable.h"

#include <QFileInfo>

namespace Cry {
namespace {

CommandHelp segmentsHelp()
{
    CommandHelp help;
    help.arguments = ZolkCry::tr("FOLDER...");
    help.argumentName = ZolkCry::tr("FOLDER");
    help.summary = ZolkCry::tr("Writes the scores of a group's segments (departments) as a table for a spreadsheet.");
    help.description = ZolkCry::tr(
        "Splits the group of the result files in FOLDER (all of them, for several folders) by one of the\n"
        "members' four information lines, or by sub-folder, and writes a table: the whole group first,\n"
        "then one row per segment in name order, each with its number of members, the twelve index\n"
        "scores, the four trait scores and the overall mean, computed as the window computes a group's.\n"
        "A segment with fewer than N members (--min, 5 unless given, never below 3) shows its name and no\n"
        "scores; its members count in the whole group. More segments are hidden, with their size shown,\n"
        "where subtraction would give away fewer than N members: the hidden segments of a split together\n"
        "hold at least N, and no shown segment lies inside a shown one of another split (any information\n"
        "line, sub-folder or the whole group) that has fewer than N members more. The hidden set is the\n"
        "same whichever split is asked for. A respondent read twice (the same file, or a copy) counts once;\n"
        "the repeats, and files with one code and different answers, are named on standard error.\n"
        "A folder whose sub-folders hold the result files\n"
        "is split by sub-folder with --by folder; of several folders, each is named relative to the\n"
        "folder that holds them all. The table is CSV for the user's locale, or an Excel workbook for an\n"
        "output named *.xlsx. A file that cannot be read ends the command and nothing is written; with\n"
        "--skip-bad it is left out and named on standard error.");
    help.options = {
        QCommandLineOption(QStringLiteral("by"), ZolkCry::tr("Splits by information line 1 to 4, or by sub-folder."),
                           QStringLiteral("info1|info2|info3|info4|folder")),
        QCommandLineOption(QStringLiteral("min"), ZolkCry::tr("Shows no scores of a segment with fewer than N members (5 unless given, at least 3)."),
                           QStringLiteral("N")),
        QCommandLineOption(QStringLiteral("skip-bad"), ZolkCry::tr("Leaves out the files that cannot be read; fails only when none can.")),
    };
    help.minArguments = 1;
    help.maxArguments = -1;
    return help;
}

int segments(const Invocation &invocation)
{
    const QCommandLineParser &parser = invocation.parser;
    SegmentChoice choice;
    if (const int usage = segmentChoice(parser, choice); usage != Success)
        return usage;
    for (const QString &folder : invocation.arguments)
        if (!QFileInfo(folder).isDir())
            return fail(ZolkCry::tr("%1 is not a folder: segments are of the group of a folder.").arg(folder));
    if (const Outcome<> usable = checkOutput(invocation.output, {}, invocation.arguments); !usable)
        return fail(usable.message());
    const Outcome<Profile> group = readGroup(invocation.arguments, parser.isSet(QStringLiteral("skip-bad")));
    if (!group)
        return fail(group.message());
    return writeTable(SegmentsTable::table(SegmentsTable::split(*group, choice.by), choice.minimum), invocation.output);
}

} // namespace

int segmentChoice(const QCommandLineParser &parser, SegmentChoice &choice)
{
    if (!parser.isSet(QStringLiteral("by")))
        return usageError(ZolkCry::tr("option '--by' is required"));
    const QString byName = parser.value(QStringLiteral("by"));
    const std::optional<GroupArithmetic::SplitBy> by = GroupArithmetic::splitByName(byName);
    if (!by)
        return usageError(ZolkCry::tr("option '--by' takes info1, info2, info3, info4 or folder, not '%1'").arg(byName));
    choice.by = *by;
    choice.minimum = SegmentsTable::DefaultMinimum;
    if (parser.isSet(QStringLiteral("min"))) {
        bool number = false;
        choice.minimum = parser.value(QStringLiteral("min")).toInt(&number);
        if (!number || choice.minimum < SegmentsTable::LowestMinimum)
            return usageError(ZolkCry::tr("option '--min' needs a whole number of at least %1").arg(SegmentsTable::LowestMinimum));
    }
    return Success;
}

Command segmentsCommand()
{
    return {QStringLiteral("segments"), &segmentsHelp, &segments};
}

} // namespace Cry
