// zolk-cry report INPUT...: the PDF report of a respondent or a group, or with --by a pack of reports,
// one per department and one of the whole group, into a folder.

#include "Command.h"

#include "ReportPack.h"

#include <QDir>
#include <QFileInfo>

namespace Cry {
namespace {

CommandHelp reportHelp()
{
    CommandHelp help;
    help.arguments = ZolkCry::tr("INPUT...");
    help.argumentName = ZolkCry::tr("INPUT");
    help.summary = ZolkCry::tr("Writes the PDF report of a respondent or a group, or a report per department.");
    help.description = ZolkCry::tr(
        "Writes the report for the client as the window's \"Save\" -> \"Report\" does: of the respondent in\n"
        "the result file INPUT, or of the group of the result files in the folder INPUT (all of them, for\n"
        "several folders), to -o FILE.pdf. The title block comes from --company, --consultant and --date.\n"
        "No report lists the members of a group.\n"
        "With --by, a pack into the folder -o FOLDER (made where missing): \"Вся группа.pdf\" and one\n"
        "report per segment of the split (information line 1 to 4, or sub-folder), named by the segment\n"
        "and compared with the whole group. A segment with fewer than N members (--min, 5 unless given,\n"
        "never below 3) gets no report, nor does the one that would give it away (as in \"segments\").\n"
        "Each file is written whole or not at all; a file of the same name is replaced.");
    help.options = {
        QCommandLineOption(QStringLiteral("by"), ZolkCry::tr("A report per segment: by information line 1 to 4, or by sub-folder."),
                           QStringLiteral("info1|info2|info3|info4|folder")),
        QCommandLineOption(QStringLiteral("min"), ZolkCry::tr("No report of a segment with fewer than N members (5 unless given, at least 3)."),
                           QStringLiteral("N")),
        QCommandLineOption(QStringLiteral("company"), ZolkCry::tr("The company in the title block."), ZolkCry::tr("TEXT")),
        QCommandLineOption(QStringLiteral("consultant"), ZolkCry::tr("The consultant in the title block."), ZolkCry::tr("TEXT")),
        QCommandLineOption(QStringLiteral("date"), ZolkCry::tr("The survey's date in the title block."), ZolkCry::tr("TEXT")),
        QCommandLineOption(QStringLiteral("skip-bad"), ZolkCry::tr("Leaves out the files that cannot be read; fails only when none can.")),
    };
    help.minArguments = 1;
    help.maxArguments = -1;
    return help;
}

int report(const Invocation &invocation)
{
    const QCommandLineParser &parser = invocation.parser;
    ReportPack::Options options;
    options.title.company = parser.value(QStringLiteral("company"));
    options.title.consultant = parser.value(QStringLiteral("consultant"));
    options.title.surveyDate = parser.value(QStringLiteral("date"));
    std::optional<GroupArithmetic::SplitBy> by;
    if (parser.isSet(QStringLiteral("by"))) {
        by = GroupArithmetic::splitByName(parser.value(QStringLiteral("by")));
        if (!by)
            return usageError(ZolkCry::tr("option '--by' takes info1, info2, info3, info4 or folder, not '%1'")
                                  .arg(parser.value(QStringLiteral("by"))));
        options.by = *by;
    }
    if (parser.isSet(QStringLiteral("min"))) {
        bool number = false;
        options.minimum = parser.value(QStringLiteral("min")).toInt(&number);
        if (!number || options.minimum < SegmentsTable::LowestMinimum)
            return usageError(ZolkCry::tr("option '--min' needs a whole number of at least %1").arg(SegmentsTable::LowestMinimum));
    }
    if (invocation.output == QLatin1String("-") && (by || outputIsTerminal(invocation.output)))
        return usageError(by ? ZolkCry::tr("a pack of reports needs a folder: name it with -o FOLDER")
                             : ZolkCry::tr("a PDF is not for a terminal: name the file with -o FILE.pdf"));

    const QStringList &inputs = invocation.arguments;
    QStringList files, folders;
    for (const QString &input : inputs)
        (QFileInfo(input).isDir() ? folders : files).append(input);
    if (!files.isEmpty() && inputs.size() > 1)
        return usageError(ZolkCry::tr("a report is of one result file or of folders of them, not of several files"));
    if (by && !files.isEmpty())
        return fail(ZolkCry::tr("%1 is not a folder: a report per segment is of the group of a folder.").arg(files.first()));
    if (by && QFileInfo(invocation.output).exists() && !QFileInfo(invocation.output).isDir())
        return fail(ZolkCry::tr("%1 is not a folder: a pack of reports goes into a folder.").arg(invocation.output));
    if (!by) {
        if (const Outcome<> usable = checkOutput(invocation.output, files, folders); !usable)
            return fail(usable.message());
    }

    const Outcome<Profile> loaded = files.isEmpty() ? readGroup(folders, parser.isSet(QStringLiteral("skip-bad")))
                                                    : ProfileLoader::loadFile(files.first());
    if (!loaded)
        return fail(loaded.message());
    const Profile &profile = *loaded;

    if (!by) {
        const ReportPack::PlannedReport one{QString(), QString(), profile, profile.respondentCount()};
        const Outcome<QByteArray> pdf = Report::render(ReportPack::reportInput(one, profile, options));
        if (!pdf)
            return fail(pdf.message());
        return writeOutput(invocation.output, *pdf);
    }

    if (!QDir().mkpath(invocation.output))
        return fail(ZolkCry::tr("Cannot create the folder %1.").arg(invocation.output));
    const ReportPack::Plan plan = ReportPack::plan(profile, options);
    const Outcome<ReportPack::Written> written = ReportPack::write(invocation.output, plan, profile, options);
    if (!written)
        return fail(written.message());
    if (plan.leftOut > 0)
        printText(stderr, ZolkCry::tr("zolk-cry: %1 segments get no report: fewer than %2 members, or they would give such a segment away.\n")
                              .arg(plan.leftOut)
                              .arg(std::max(options.minimum, SegmentsTable::LowestMinimum)));
    return Success;
}

} // namespace

Command reportCommand()
{
    return {QStringLiteral("report"), &reportHelp, &report};
}

} // namespace Cry
