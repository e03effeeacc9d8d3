// zolk-cry import FILE.csv -o FOLDER: an answer sheet as result files, one per respondent.

#include "Command.h"

#include "AnswerSheet.h"
#include "SheetImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Cry {
namespace {

CommandHelp importHelp()
{
    CommandHelp help;
    help.arguments = ZolkCry::tr("FILE.csv");
    help.argumentName = help.arguments;
    help.summary = ZolkCry::tr("Writes the rows of an answer sheet (CSV) as result files, one per respondent.");
    help.description = ZolkCry::tr(
        "Reads an answer sheet as online forms and spreadsheets export it (UTF-8 with or without a\n"
        "byte-order mark, or windows-1251; \",\", \";\" or tabs between fields; quoted fields may hold line\n"
        "breaks), one respondent per row, and writes each row as a result file into FOLDER, named from\n"
        "its code (\"0042.cry\"). Answers are 1 to 5 or the answer words (\"полностью не согласен\" ...\n"
        "\"полностью согласен\"); statements worded negatively are scored in reverse, and each index score\n"
        "is the mean of its five statements. The columns are found by their header words (the header\n"
        "that \"zolk-cry questionnaire --template\" writes, numbered statements, form timestamps), or by\n"
        "the column map: --map MAPFILE, else the map saved in FOLDER by an earlier import. The map used\n"
        "is saved in FOLDER as zolk-import-map.txt, a line \"key = column\" per field (keys date, code,\n"
        "name, info1..info4, s1..s60; a column is its header text or #N, the N-th column).\n"
        "A row with a missing or unreadable answer, an answer beyond 1 to 5, no code or a code that\n"
        "another row holds too is never written; every such row is named on standard error with the\n"
        "reason, and then nothing is written at all unless --skip-bad is given, which writes the good\n"
        "rows; at most 20 problems are named, each once with its first rows. A row whose code and\n"
        "answers a result file in FOLDER already holds is not written again (\"already there\"); a row\n"
        "whose code FOLDER holds with other answers replaces that file only with --overwrite, and is\n"
        "otherwise not written. Another file of the same name in FOLDER is kept and the new one numbered\n"
        "(\"0042 (2).cry\") unless --overwrite is given. Names, codes and information lines with\n"
        "characters that result files (windows-1251) cannot hold are named, and nothing is written\n"
        "unless --replace-unstorable stores them as \"?\". A saved map applies only to a sheet with the\n"
        "header row it was made for; columns that no field takes are named. A sheet that is neither\n"
        "UTF-8 nor windows-1251 is refused with the line and byte. The import is whole or nothing: a\n"
        "failure leaves FOLDER as it was; an existing folder is filled in place.");
    help.options = {
        QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")}, ZolkCry::tr("The folder for the result files (made where missing)."),
                           ZolkCry::tr("FOLDER")),
        QCommandLineOption(QStringLiteral("map"), ZolkCry::tr("Takes the columns from MAPFILE."), ZolkCry::tr("MAPFILE")),
        QCommandLineOption(QStringLiteral("skip-bad"), ZolkCry::tr("Writes the good rows when some rows cannot be imported.")),
        QCommandLineOption(QStringLiteral("overwrite"), ZolkCry::tr("Replaces files of the same name in FOLDER.")),
        QCommandLineOption(QStringLiteral("replace-unstorable"),
                           ZolkCry::tr("Writes characters that result files cannot hold (windows-1251) as \"?\".")),
    };
    help.minArguments = 1;
    help.maxArguments = 1;
    help.output = false;
    return help;
}

// How many groups of bad rows, and unused columns, are named at most: a report stays short however
// large the sheet.
constexpr qsizetype MaxReported = 20;

void note(const QString &text)
{
    printText(stderr, QStringLiteral("zolk-cry: %1\n").arg(text));
}

// The column map: the one named, else the one saved in the folder (only for a sheet with the header
// row it was made for), else none.
Outcome<AnswerSheet::Columns> columnsOf(const AnswerSheet::Sheet &sheet, const Questionnaire::Captions &captions,
                                        const QString &mapOption, const QString &folder)
{
    const AnswerSheet::Columns detected = AnswerSheet::detectColumns(sheet.header, captions);
    const QString saved = QDir(folder).filePath(AnswerSheet::mapFileName());
    const QString mapPath = !mapOption.isEmpty() ? mapOption : QFileInfo(saved).isFile() ? saved : QString();
    if (mapPath.isEmpty())
        return detected;
    const auto cannotOpen = [&](const QString &why) {
        return Outcome<AnswerSheet::Columns>::failed(
            ZolkCry::tr("cannot open the column map %1: %2").arg(QDir::toNativeSeparators(mapPath), why));
    };
    const QFileInfo info(mapPath);
    if (!info.exists())
        return cannotOpen(ZolkCry::tr("there is no such file"));
    if (!info.isFile())
        return cannotOpen(ZolkCry::tr("it is not a regular file"));
    QFile file(mapPath);
    if (!file.open(QIODevice::ReadOnly))
        return cannotOpen(file.errorString());
    const Outcome<AnswerSheet::MapRead> map =
        AnswerSheet::readMap(file.read(1024 * 1024), sheet.header, detected, mapPath, mapOption.isEmpty());
    if (!map)
        return map.failure();
    if (map->otherHeader)
        note(ZolkCry::tr("the column map %1 was made for a sheet with other columns; the columns are found by their headers")
                 .arg(QDir::toNativeSeparators(mapPath)));
    if (!map->problems.isEmpty())
        return Outcome<AnswerSheet::Columns>::failed(
            ZolkCry::tr("the column map %1 does not fit the sheet:").arg(QDir::toNativeSeparators(mapPath)) + u'\n'
            + map->problems.join(u'\n'));
    return map->columns;
}

int import(const Invocation &invocation)
{
    const QString path = invocation.arguments.first();
    const QString folder = invocation.parser.value(QStringLiteral("output"));
    if (folder.isEmpty())
        return usageError(ZolkCry::tr("missing option -o FOLDER"));
    const bool skipBad = invocation.parser.isSet(QStringLiteral("skip-bad"));
    const Outcome<AnswerSheet::Sheet> sheet = AnswerSheet::readSheetFile(path);
    if (!sheet)
        return fail(sheet.message());
    const Questionnaire::Captions captions = Questionnaire::storedCaptions();
    const Outcome<AnswerSheet::Columns> columns = columnsOf(*sheet, captions, invocation.parser.value(QStringLiteral("map")), folder);
    if (!columns)
        return fail(columns.message());
    const Outcome<AnswerSheet::Check> check = AnswerSheet::check(*sheet, *columns, captions);
    if (!check)
        return fail(check.message() + u'\n' + ZolkCry::tr("Name the columns with --map MAPFILE."));
    const QStringList unused = AnswerSheet::unusedColumns(*columns, sheet->header);
    for (qsizetype k = 0; k < std::min(MaxReported, unused.size()); ++k)
        note(unused[k]);
    if (unused.size() > MaxReported)
        note(ZolkCry::tr("%1 more columns are not used").arg(unused.size() - MaxReported));
    qsizetype moreRows = 0;
    for (const AnswerSheet::BadGroup &bad : AnswerSheet::groupBadRows(check->bad, MaxReported, &moreRows)) {
        const QString rows = bad.count == 1 ? ZolkCry::tr("row %1: %2").arg(bad.rows, bad.reason)
                                            : ZolkCry::tr("rows %1: %2").arg(bad.rows, bad.reason);
        if (skipBad)
            reportSkipped(rows);
        else
            note(rows);
    }
    if (moreRows > 0)
        note(ZolkCry::tr("%1 more rows cannot be imported for other reasons").arg(moreRows));
    if (!check->bad.isEmpty() && !skipBad)
        return fail(ZolkCry::tr("%1 of %2 rows cannot be imported; nothing was written (--skip-bad writes the others).")
                        .arg(check->bad.size())
                        .arg(check->rows));
    if (check->goodRows.empty())
        return fail(ZolkCry::tr("The sheet has no row to import."));
    if (check->unstorable.rows > 0) {
        if (!invocation.parser.isSet(QStringLiteral("replace-unstorable")))
            return fail(AnswerSheet::unstorableMessage(check->unstorable) + u'\n'
                        + ZolkCry::tr("Nothing was written; --replace-unstorable writes them with \"?\"."));
        note(AnswerSheet::unstorableMessage(check->unstorable));
    }

    SheetImport::Options options;
    options.replace = invocation.parser.isSet(QStringLiteral("overwrite"));
    options.mapText = AnswerSheet::mapText(*columns, sheet->header);
    ProgressLine progress(QDir::toNativeSeparators(folder));
    options.progress = [&progress](qsizetype done, qsizetype total) {
        progress.report(done, total);
        return true;
    };
    const Outcome<SheetImport::Written> written = SheetImport::write(*sheet, *columns, captions, *check, folder, options);
    progress.clear();
    if (!written)
        return fail(written.message());
    if (written->changedKept > 0)
        note(ZolkCry::tr("%1 rows were not written: their codes are in %2 with other answers (--overwrite replaces those files)")
                 .arg(written->changedKept)
                 .arg(QDir::toNativeSeparators(folder)));
    printText(stdout, ZolkCry::tr("%1 result files written to %2 (%3 replaced; already there: %4).")
                          .arg(written->files.size())
                          .arg(QDir::toNativeSeparators(folder))
                          .arg(written->replaced)
                          .arg(written->present)
                      + u'\n');
    return Success;
}

} // namespace

Command importCommand()
{
    return {QStringLiteral("import"), &importHelp, &import};
}

} // namespace Cry
