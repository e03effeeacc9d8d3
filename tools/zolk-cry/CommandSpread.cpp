// zolk-cry spread FOLDER...: the spread of a group's answers as a table.

#include "Command.h"

#include "GroupArithmetic.h"
#include "SpreadTable.h"

#include <QFileInfo>

namespace Cry {
namespace {

CommandHelp spreadHelp()
{
    CommandHelp help;
    help.arguments = ZolkCry::tr("FOLDER...");
    help.argumentName = ZolkCry::tr("FOLDER");
    help.summary = ZolkCry::tr("Writes the spread of a group's answers as a table for a spreadsheet.");
    help.description = ZolkCry::tr(
        "Writes a table of the group of the result files in FOLDER (all of them, for several folders):\n"
        "one row per index, trait and statement with the number of answers, the mean, the standard\n"
        "deviation (of a sample, n - 1), the minimum and the maximum, and for each statement how many\n"
        "members answered 1, 2, 3, 4 and 5 (each score rounded to the nearest whole answer). The table\n"
        "is CSV for the user's locale, or an Excel workbook for an output named *.xlsx. A file that\n"
        "cannot be read ends the command and nothing is written; with --skip-bad it is left out and\n"
        "named on standard error.");
    help.options = {
        QCommandLineOption(QStringLiteral("skip-bad"), ZolkCry::tr("Leaves out the files that cannot be read; fails only when none can.")),
    };
    help.minArguments = 1;
    help.maxArguments = -1;
    return help;
}

int spread(const Invocation &invocation)
{
    for (const QString &folder : invocation.arguments)
        if (!QFileInfo(folder).isDir())
            return fail(ZolkCry::tr("%1 is not a folder: the spread is of the group of a folder.").arg(folder));
    if (const Outcome<> usable = checkOutput(invocation.output, {}, invocation.arguments); !usable)
        return fail(usable.message());
    const Outcome<Profile> group = readGroup(invocation.arguments, invocation.parser.isSet(QStringLiteral("skip-bad")));
    if (!group)
        return fail(group.message());
    return writeTable(SpreadTable::table(GroupArithmetic::spread(*group->members)), invocation.output);
}

} // namespace

Command spreadCommand()
{
    return {QStringLiteral("spread"), &spreadHelp, &spread};
}

} // namespace Cry
