#pragma once
// Importing an answer sheet into a folder of result files: each good row becomes one result file,
// enciphered as the program reads them and named from its code. The import is whole or nothing: the
// files are written into a temporary folder on the same file system and synced to the disk, then
// moved into place; a failure or a cancel on the way removes what was moved and puts back every file
// that was replaced, so that the folder is left as it was.
//
// A folder that does not exist yet or is empty is written as a hidden folder beside it, which then
// takes its name in one step. Into a folder that holds files, the files go through a hidden folder
// inside it, where they are not named ".cry" (should the program be stopped on the way, what is left
// there is not read as a department of the group), and are moved in one by one.

#include "AnswerSheet.h"
#include "Outcome.h"
#include "ResultFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace SheetImport {

// The file names the good rows get in folder, in their order: the code made a file name
// (FileNames::stemOf) with ".cry", and " (2)", " (3)" ... where the name is taken, by another row or
// (unless replace) by an entry of the folder. Names compare in any letter case, as on Windows.
struct Plan
{
    QStringList names;
    std::vector<bool> replacing; // for each name: it is that of a file in the folder, to be replaced
    qsizetype replaced = 0; // names of files already in the folder (only with replace)
    qsizetype renamed = 0;  // names that got a number because the folder has a file of that name
};
Plan plan(const QStringList &codes, const QString &folder, bool replace);

struct Options
{
    QByteArray key = ResultFile::keyBytes();
    // Replace files of the same name in the folder; otherwise the new files get numbered names.
    bool replace = false;
    // Written as the folder's map file (AnswerSheet::mapFileName()) with the files; empty: none.
    QByteArray mapText;
    // Called with the files written so far and the total; false cancels the import.
    AnswerSheet::Progress progress;
};

struct Written
{
    QStringList files; // the names in the folder
    qsizetype replaced = 0;
};

// Writes the good rows of a checked sheet into folder, which is made when it does not exist.
Outcome<Written> write(const AnswerSheet::Sheet &sheet, const AnswerSheet::Columns &columns,
                       const Questionnaire::Captions &captions, const AnswerSheet::Check &check, const QString &folder,
                       const Options &options = {});

} // namespace SheetImport
