#pragma once
// Importing an answer sheet into a folder of result files: each good row becomes one result file,
// enciphered as the program reads them and named from its code. The import is whole or nothing: the
// files are written into a temporary folder on the same file system and synced to the disk, then
// moved into place; a failure or a cancel on the way removes what was moved and puts back every file
// that was replaced, so that the folder is left as it was.
//
// A folder that does not exist yet is written as a hidden folder beside it (made as any new folder,
// its permissions following the umask), which then takes its name in one step. Into a folder that
// exists, empty or not (also a link to one, a mount point, a shared folder), the files go through a
// hidden folder inside it, where they are not named ".cry" (should the program be stopped on the way,
// what is left there is not read as a department of the group), and are moved in one by one: the
// folder itself, its mode and its owner stay as they are. Temporary folders are named ".zolk-import-…";
// one left behind by a program that was stopped is removed by the next import that finds it older
// than a day.
//
// Rows already in the folder (a result file of the same code and the same answers) are not written
// again; a row whose code a file holds with other answers replaces that file only with replace.

#include "AnswerSheet.h"
#include "Outcome.h"
#include "ResultFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace SheetImport {

// What becomes of each good row in folder. A row whose code a result file of the folder holds
// (codes compare in any letter case, as a result file stores them) is "present" when the answers are
// the same (nothing is written), else "changed": with replace it replaces that file, otherwise it is
// not written. The other rows get the code made a file name (FileNames::stemOf) with ".cry", and
// " (2)", " (3)" ... where the name is taken, by another row or (unless replace) by an entry of the
// folder. Names compare in any letter case, as on Windows; a file replaced keeps nothing of its old
// name's letter case. Without answers (nullptr), no file is read and only the names count.
struct Plan
{
    QStringList names;            // for each good row: its file name, empty when it is not written
    QStringList replacing;        // for each good row: the name of the file it replaces, or empty
    qsizetype replaced = 0;       // files of the folder replaced
    qsizetype renamed = 0;        // names that got a number because the folder has a file of that name
    qsizetype present = 0;        // rows already in the folder, not written
    qsizetype changed = 0;        // rows whose code the folder holds with other answers
    qsizetype changedKept = 0;    // of those, not written (no replace)
};
Plan plan(const QStringList &codes, const QString &folder, bool replace,
          const std::vector<AnswerSheet::Answers> *answers = nullptr, const QByteArray &key = ResultFile::keyBytes());

struct Options
{
    QByteArray key = ResultFile::keyBytes();
    // Replace files of the same name, and files of the same code with other answers, in the folder;
    // otherwise the new files get numbered names and the changed rows are not written.
    bool replace = false;
    // Written as the folder's map file (AnswerSheet::mapFileName()) with the files; empty: none.
    QByteArray mapText;
    // Called with the files written so far and the total; false cancels the import.
    AnswerSheet::Progress progress;
};

struct Written
{
    QStringList files; // the names in the folder of the files written
    qsizetype replaced = 0;
    qsizetype present = 0;     // rows already in the folder, not written
    qsizetype changedKept = 0; // rows with other answers under a code of the folder, not written
};

// Writes the good rows of a checked sheet into folder, which is made when it does not exist.
Outcome<Written> write(const AnswerSheet::Sheet &sheet, const AnswerSheet::Columns &columns,
                       const Questionnaire::Captions &captions, const AnswerSheet::Check &check, const QString &folder,
                       const Options &options = {});

} // namespace SheetImport
