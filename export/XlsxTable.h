#pragma once
// A Table as an Excel workbook (.xlsx): one sheet named after the table, the header row bold, the
// header row and the table's first columns frozen, text cells as strings (a code "0106" keeps its
// leading zero, a text "=1+1" stays a text), number cells as numbers, marked rows bold and columns
// wide enough for what they hold.
//
// The workbook is made whole in a temporary folder and returned as bytes, for the caller to write
// with FileOutput::write, which replaces the chosen file whole or not at all.

#include "Outcome.h"
#include "Table.h"

#include <QByteArray>
#include <QString>

namespace XlsxTable {

// The workbook's bytes, or why it could not be made.
Outcome<QByteArray> workbook(const Table &table);

// A name as a sheet may carry it: at most 31 characters, none of []:*?/\ or control characters
// (each becomes '_'), no apostrophe at either end, not empty and not Excel's reserved "History".
QString sheetName(const QString &name);

} // namespace XlsxTable
