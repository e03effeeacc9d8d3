#pragma once
// A Table as an Excel workbook (.xlsx): one sheet named after the table, the header row bold, the
// header row and the table's first columns frozen, text cells as strings (a code "0106" keeps its
// leading zero, a text "=1+1" stays a text), number cells as numbers, marked rows bold and columns
// wide enough for what they hold.
//
// The workbook is made whole in a hidden temporary folder (".zolk-xlsx-…") in the folder named, the
// one the output goes to, and returned as bytes, for the caller to write with FileOutput::write,
// which replaces the chosen file whole or not at all.

#include "Outcome.h"
#include "Table.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace XlsxTable {

// Told the number of rows written so far, every ProgressRows rows and after the last; returning
// false cancels the workbook. (Packing the workbook after the last row takes about as long again.)
using Progress = std::function<bool(qsizetype rowsWritten)>;
constexpr qsizetype ProgressRows = 256;

// The workbook's bytes, or why it could not be made, or that progress cancelled it.
// temporaryIn: the folder for the temporary files (the output's); empty: the system's.
Outcome<QByteArray> workbook(const Table &table, const Progress &progress = {}, const QString &temporaryIn = QString());

// A name as a sheet may carry it: at most 31 characters, none of []:*?/\ or control characters
// (each becomes '_'), no apostrophe at either end, not empty and not Excel's reserved "History".
QString sheetName(const QString &name);

} // namespace XlsxTable
