// zolk-cry scores FILE_OR_FOLDER...: the scores of result files as a table for a spreadsheet.

#include "Command.h"

#include "FileOutput.h"
#include "InfoCaptions.h"
#include "ProfileLoader.h"
#include "TableFile.h"
#include "ScoresTable.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace Cry {
namespace {

CommandHelp scoresHelp()
{
    CommandHelp help;
    help.arguments = ZolkCry::tr("FILE_OR_FOLDER...");
    help.argumentName = ZolkCry::tr("FILE_OR_FOLDER");
    help.summary = ZolkCry::tr("Writes the scores of result files and folders as a table for a spreadsheet.");
    help.description = ZolkCry::tr(
        "Writes the scores of result files as a table: one row per file; a folder gives one row per\n"
        "result file in it and a row with the group's mean. The first column names each file relative\n"
        "to the folder that holds all the inputs. The table is CSV in UTF-8 that a spreadsheet opens\n"
        "under the user's locale: \";\" between fields and the decimal comma where the locale writes\n"
        "numbers with a comma, \",\" and \".\" otherwise. An output named *.xlsx is an Excel workbook\n"
        "instead, in which codes, names and dates are text and every score a number.\n"
        "A file that cannot be read ends the command and nothing is written; with --skip-bad it is left\n"
        "out and named on standard error with the reason. The output may not lie inside an input folder.\n"
        "Each respondent counts once: an input named twice is read once, and in a folder a file with\n"
        "the same header and scores as another is left out; both are named on standard error, as are\n"
        "files of one code with different answers.");
    help.options = {QCommandLineOption(QStringLiteral("skip-bad"),
                                       ZolkCry::tr("Leaves out the files that cannot be read; fails only when none can."))};
    help.minArguments = 1;
    help.maxArguments = -1;
    return help;
}

int scores(const Invocation &invocation)
{
    const bool skipBad = invocation.parser.isSet(QStringLiteral("skip-bad"));
    const QStringList &inputs = invocation.arguments;
    QStringList files;
    QStringList folders;
    QStringList places;
    for (const QString &input : inputs) {
        const QFileInfo info(input);
        (info.isDir() ? folders : files) << input;
        places << (info.isDir() ? input : info.absolutePath());
    }
    if (const Outcome<> usable = checkOutput(invocation.output, files, folders); !usable)
        return fail(usable.message());

    // Every input is read first; the output is written only once all of them could be.
    const QString common = commonFolder(places);
    QList<ScoresTable::Section> sections;
    QStringList unread;
    QStringList read; // the inputs' canonical paths: an input named twice is one section
    for (const QString &input : inputs) {
        const QFileInfo info(input);
        const QString canonical = info.canonicalFilePath();
        if (!canonical.isEmpty() && read.contains(canonical)) {
            printText(stderr, QStringLiteral("zolk-cry: %1\n").arg(ZolkCry::tr("%1 is named twice; it is read once.").arg(QDir::toNativeSeparators(input))));
            continue;
        }
        read << canonical;
        QString relative = QDir(common).relativeFilePath(info.isDir() ? info.absoluteFilePath() : info.absolutePath());
        if (relative == QLatin1String("."))
            relative.clear();
        Outcome<Profile> loaded = Outcome<Profile>::failed(QString());
        if (info.isDir()) {
            Outcome<ProfileLoader::GroupLoad> group = loadFolder(input, skipBad);
            loaded = group ? Outcome<Profile>(std::move(group->profile)) : group.failure();
        } else {
            loaded = ProfileLoader::loadFile(input);
        }
        if (!loaded) {
            if (!skipBad)
                return fail(loaded.message());
            reportSkipped(loaded.message());
            unread << QDir::toNativeSeparators(input);
            continue;
        }
        sections.append({std::move(loaded).value(), relative});
    }
    if (sections.isEmpty())
        return fail(ZolkCry::tr("No input could be read: %1").arg(unread.join(QStringLiteral(", "))));
    // The information lines under the captions of the inputs' folder, where known.
    return writeTable(ScoresTable::table(sections, nullptr, QString(), InfoCaptions::forFolder(folders.isEmpty() ? common : folders.first())),
                      invocation.output);
}

} // namespace

Command scoresCommand()
{
    return {QStringLiteral("scores"), &scoresHelp, &scores};
}

} // namespace Cry
