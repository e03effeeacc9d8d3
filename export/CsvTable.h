#pragma once
// A Table as CSV for a spreadsheet, with the conventions of the scores file: UTF-8 with a byte-order
// mark, ";" between fields and the decimal comma where the locale's decimal point is a comma, ","
// and "." otherwise, quoted per RFC 4180, CR LF line ends; an empty cell is an empty field and
// numbers are written in full (the shortest text that reads back as the same double).
//
// A spreadsheet runs a field that begins with "=", "+", "-" or "@" (or a tab or carriage return
// before one) as a formula, so a text such as "=HYPERLINK(...)" in a result file could open links or
// run commands on the user's machine. Such a text is written quoted, with an apostrophe in front of
// it, and is shown as the text it is. Number cells are always plain numbers: -1.5 stays -1.5.

#include "Table.h"

#include <QByteArray>
#include <QLocale>

namespace CsvTable {

// The decimal sign of a locale ("," or "."), and the field separator that goes with it.
QChar decimalSeparator(const QLocale &locale);
QChar fieldSeparator(const QLocale &locale);

// The byte-order mark and the header row.
QByteArray header(const Table &table, const QLocale &locale);
// Row k (0 <= k < table.rowCount) as one line with its CR LF. cells is the caller's buffer, kept
// from row to row so that a long table is written without allocating cells for every row.
QByteArray row(const Table &table, qsizetype k, const QLocale &locale, QList<TableCell> &cells);
// The whole file: header and all rows.
QByteArray document(const Table &table, const QLocale &locale);

} // namespace CsvTable
