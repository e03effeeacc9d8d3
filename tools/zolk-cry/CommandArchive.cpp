// zolk-cry archive add|list|remove, norms and trend: the survey archive from the command line.

#include "Command.h"

#include "ArchiveTables.h"
#include "Questionnaire.h"
#include "SegmentsTable.h"
#include "SurveyArchive.h"

#include <QDir>
#include <QFileInfo>

namespace Cry {
namespace {

QCommandLineOption archiveOption()
{
    return QCommandLineOption(QStringLiteral("archive"),
                              ZolkCry::tr("The archive file (the user's own unless given: %1).")
                                  .arg(QDir::toNativeSeparators(SurveyArchive::defaultPath())),
                              QStringLiteral("FILE"));
}

QCommandLineOption clientOption()
{
    return QCommandLineOption(QStringLiteral("client"), ZolkCry::tr("The client (company) of the survey."), QStringLiteral("NAME"));
}

QString archivePath(const QCommandLineParser &parser)
{
    return parser.isSet(QStringLiteral("archive")) ? parser.value(QStringLiteral("archive")) : SurveyArchive::defaultPath();
}

// --wave as a date, YYYY-MM-DD.
std::optional<QDate> waveOf(const QCommandLineParser &parser)
{
    const QDate wave = QDate::fromString(parser.value(QStringLiteral("wave")), Qt::ISODate);
    if (!wave.isValid())
        return std::nullopt;
    return wave;
}

// The profile of the inputs: a group of the folders, or one result file.
Outcome<Profile> profileOf(const QStringList &inputs)
{
    if (inputs.size() == 1 && QFileInfo(inputs.first()).isFile())
        return ProfileLoader::loadFile(inputs.first());
    for (const QString &input : inputs)
        if (!QFileInfo(input).isDir())
            return Outcome<Profile>::failed(ZolkCry::tr("%1 is not a folder: give one result file or folders of them.")
                                                .arg(QDir::toNativeSeparators(input)));
    return readGroup(inputs, false);
}

CommandHelp archiveHelp()
{
    CommandHelp help;
    help.arguments = QStringLiteral("add|list|remove [%1]").arg(ZolkCry::tr("FOLDER..."));
    help.argumentName = QStringLiteral("add|list|remove");
    help.summary = ZolkCry::tr("Adds a group's survey to the survey archive, lists or removes surveys.");
    help.description = ZolkCry::tr(
        "The survey archive keeps past surveys as figures only, for norms and trends: for the whole\n"
        "group and for each segment of each information line and sub-folder that has at least 5\n"
        "members (as the segments table shows them), the number of respondents and the mean and\n"
        "standard deviation of every index, trait, the overall mean and every statement. No code, name\n"
        "or date of a respondent is kept; a group of fewer than 5 is not kept at all.\n"
        "\n"
        "  archive add FOLDER... --client NAME --wave YYYY-MM-DD [--sector TEXT] [--replace]\n"
        "      adds the group of the result files in FOLDER (all of them, for several folders); a survey\n"
        "      of the same client and wave is replaced only with --replace.\n"
        "  archive list [-o OUTPUT]\n"
        "      writes client, wave, sector and n of every survey, in client and wave order, as CSV or,\n"
        "      for an output named *.xlsx, as a workbook.\n"
        "  archive remove --client NAME --wave YYYY-MM-DD\n"
        "      removes that survey.\n"
        "\n"
        "The archive is the user's own file unless --archive names another; it is made where it does\n"
        "not exist yet. A file that is not an archive, or is damaged, is refused and left as it is.");
    help.options = {
        clientOption(),
        QCommandLineOption(QStringLiteral("wave"), ZolkCry::tr("The date of the survey's wave."), QStringLiteral("YYYY-MM-DD")),
        QCommandLineOption(QStringLiteral("sector"), ZolkCry::tr("The client's sector (optional)."), QStringLiteral("TEXT")),
        QCommandLineOption(QStringLiteral("replace"), ZolkCry::tr("Replaces a survey of the same client and wave.")),
        archiveOption(),
    };
    help.minArguments = 1;
    help.maxArguments = -1;
    return help;
}

int archive(const Invocation &invocation)
{
    const QCommandLineParser &parser = invocation.parser;
    const QString action = invocation.arguments.first();
    const QStringList folders = invocation.arguments.mid(1);
    const bool toStdout = invocation.output == QLatin1String("-");
    if (action != QLatin1String("add") && action != QLatin1String("list") && action != QLatin1String("remove"))
        return usageError(ZolkCry::tr("archive takes add, list or remove, not '%1'").arg(action));
    if (action != QLatin1String("add") && !folders.isEmpty())
        return usageError(ZolkCry::tr("unexpected argument '%1'").arg(folders.first()));
    if (action != QLatin1String("list") && !toStdout)
        return usageError(ZolkCry::tr("option '-o' is for archive list only"));
    if (action == QLatin1String("list")) {
        for (const char *option : {"client", "wave", "sector", "replace"})
            if (parser.isSet(QString::fromLatin1(option)))
                return usageError(ZolkCry::tr("option '--%1' is not for archive list").arg(QString::fromLatin1(option)));
        Outcome<std::unique_ptr<SurveyArchive>> opened = SurveyArchive::open(archivePath(parser));
        if (!opened)
            return fail(opened.message());
        const Outcome<QList<SurveyEntry>> entries = (*opened)->surveys();
        if (!entries)
            return fail(entries.message());
        return writeTable(ArchiveTables::surveysTable(*entries), invocation.output);
    }
    if (!parser.isSet(QStringLiteral("client")) || SurveySummary::cleanText(parser.value(QStringLiteral("client"))).isEmpty())
        return usageError(ZolkCry::tr("option '--client' is required"));
    if (!parser.isSet(QStringLiteral("wave")))
        return usageError(ZolkCry::tr("option '--wave' is required"));
    const std::optional<QDate> wave = waveOf(parser);
    if (!wave)
        return usageError(ZolkCry::tr("option '--wave' takes a date YYYY-MM-DD, not '%1'").arg(parser.value(QStringLiteral("wave"))));
    const QString client = parser.value(QStringLiteral("client"));
    if (action == QLatin1String("remove")) {
        if (parser.isSet(QStringLiteral("sector")) || parser.isSet(QStringLiteral("replace")))
            return usageError(ZolkCry::tr("archive remove takes --client and --wave only"));
        Outcome<std::unique_ptr<SurveyArchive>> opened = SurveyArchive::open(archivePath(parser));
        if (!opened)
            return fail(opened.message());
        const Outcome<> removed = (*opened)->remove(client, *wave);
        return removed ? Success : fail(removed.message());
    }
    if (folders.isEmpty())
        return usageError(ZolkCry::tr("missing argument %1").arg(ZolkCry::tr("FOLDER")));
    for (const QString &folder : folders)
        if (!QFileInfo(folder).isDir())
            return fail(ZolkCry::tr("%1 is not a folder: the archive keeps groups.").arg(QDir::toNativeSeparators(folder)));
    const Outcome<Profile> group = readGroup(folders, false);
    if (!group)
        return fail(group.message());
    const Outcome<SurveySummary::Survey> survey =
        SurveySummary::summarize(*group, client, *wave, parser.value(QStringLiteral("sector")), Questionnaire::storedCaptions(),
                                 SegmentsTable::DefaultMinimum);
    if (!survey)
        return fail(survey.message());
    Outcome<std::unique_ptr<SurveyArchive>> opened = SurveyArchive::open(archivePath(parser));
    if (!opened)
        return fail(opened.message());
    const bool replace = parser.isSet(QStringLiteral("replace"));
    const Outcome<> added = (*opened)->add(*survey, replace);
    if (!added)
        return fail(replace ? added.message() : added.message() + u'\n' + ZolkCry::tr("Give --replace to replace it."));
    return Success;
}

CommandHelp normsHelp()
{
    CommandHelp help;
    help.arguments = ZolkCry::tr("FOLDER...");
    help.argumentName = ZolkCry::tr("FOLDER");
    help.summary = ZolkCry::tr("Writes a profile's indices, traits and overall mean against the norms of the archive.");
    help.description = ZolkCry::tr(
        "Reads the group of the result files in FOLDER (all of them, for several folders; or one result\n"
        "file) and compares each index, trait and the overall mean with the archived surveys' means of it\n"
        "(of one sector with --sector; the surveys of the client named with --client left out): one row\n"
        "each with the name, the score, the number of surveys N of the norm, their mean and standard\n"
        "deviation, the percentile rank = (surveys below + half the surveys equal) / N x 100 and the\n"
        "sten = round(5.5 + 2z), z = (score - mean) / sd, within 1..10. With fewer than 5 surveys there\n"
        "is no norm: the row says so. CSV, or a workbook for an output named *.xlsx.");
    help.options = {
        QCommandLineOption(QStringLiteral("sector"), ZolkCry::tr("Only the surveys of this sector."), QStringLiteral("TEXT")),
        QCommandLineOption(QStringLiteral("client"), ZolkCry::tr("Leaves out the surveys of this client."), QStringLiteral("NAME")),
        archiveOption(),
    };
    help.minArguments = 1;
    help.maxArguments = -1;
    return help;
}

int norms(const Invocation &invocation)
{
    const QCommandLineParser &parser = invocation.parser;
    if (const Outcome<> usable = checkOutput(invocation.output, {}, invocation.arguments); !usable)
        return fail(usable.message());
    const Outcome<Profile> profile = profileOf(invocation.arguments);
    if (!profile)
        return fail(profile.message());
    Outcome<std::unique_ptr<SurveyArchive>> opened = SurveyArchive::open(archivePath(parser));
    if (!opened)
        return fail(opened.message());
    const NormQuery query{parser.value(QStringLiteral("sector")), parser.value(QStringLiteral("client"))};
    const Outcome<QList<NormRow>> rows = (*opened)->norms(SurveySummary::normScores(*profile), query);
    if (!rows)
        return fail(rows.message());
    return writeTable(ArchiveTables::normsTable(*rows), invocation.output);
}

CommandHelp trendHelp()
{
    CommandHelp help;
    help.summary = ZolkCry::tr("Writes a client's waves from the archive: the means of every index and trait per wave.");
    help.description = ZolkCry::tr(
        "Writes one row per archived wave of the client, in date order: the wave, the number of\n"
        "respondents, the 12 index means, the 4 trait means and the overall mean. CSV, or a workbook\n"
        "for an output named *.xlsx.");
    help.options = {clientOption(), archiveOption()};
    return help;
}

int trend(const Invocation &invocation)
{
    const QCommandLineParser &parser = invocation.parser;
    const QString client = SurveySummary::cleanText(parser.value(QStringLiteral("client")));
    if (client.isEmpty())
        return usageError(ZolkCry::tr("option '--client' is required"));
    Outcome<std::unique_ptr<SurveyArchive>> opened = SurveyArchive::open(archivePath(parser));
    if (!opened)
        return fail(opened.message());
    const Outcome<QList<TrendWave>> waves = (*opened)->trend(client);
    if (!waves)
        return fail(waves.message());
    if (waves->isEmpty())
        return fail(ZolkCry::tr("The archive holds no survey of %1.").arg(client));
    return writeTable(ArchiveTables::trendTable(*waves), invocation.output);
}

} // namespace

Command archiveCommand()
{
    return {QStringLiteral("archive"), &archiveHelp, &archive};
}

Command normsCommand()
{
    return {QStringLiteral("norms"), &normsHelp, &norms};
}

Command trendCommand()
{
    return {QStringLiteral("trend"), &trendHelp, &trend};
}

} // namespace Cry
