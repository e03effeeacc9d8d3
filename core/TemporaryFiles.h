#pragma once
// The program's temporary files and folders live where the output goes, hidden and named for the
// program (".zolk-import-…", ".zolk-xlsx-…"), never in the system's temporary folder: what a
// respondent answered does not end up in a shared place. One that a program stopped on the way left
// behind is removed by the next run that finds it older than a day (a younger one may belong to a
// run still going on).

#include "Outcome.h"

#include <QString>

#include <chrono>

namespace TemporaryFiles {

// The hidden name's start: ".zolk-<purpose>-".
QString prefix(const QString &purpose);

// A new hidden folder in folder, ".zolk-<purpose>-" and six random letters, made as any new folder
// (its permissions follow the umask). Its path, or why it could not be made.
Outcome<QString> makeFolder(const QString &folder, const QString &purpose);

// Removes the program's hidden temporary entries of folder (not of its sub-folders) last changed
// longer ago than age. A folder holding files an import had to leave there for the user ("old-N":
// replaced files that could not be put back) is kept. The number removed.
int removeStale(const QString &folder, std::chrono::seconds age = std::chrono::hours(24));

// At the start of the window: what earlier runs left in the system's temporary folder (a stream's
// workbook, and the "zolk-xlsx-…" folders earlier versions made there for every workbook). A folder
// of an earlier version is removed once it is ten minutes old: no workbook takes that long.
int removeLeftovers();

} // namespace TemporaryFiles
