#pragma once
// A table as CSV that a spreadsheet opens by double-click under the user's locale: UTF-8 with a
// byte-order mark, ";" between fields and the decimal comma where the locale's decimal point is a
// comma, "," and "." otherwise, quoted per RFC 4180, CR LF line ends. Numbers are written in full.

#include "Table.h"

#include <QByteArray>
#include <QLocale>

namespace ScoresCsv {

QChar fieldSeparator(const QLocale &locale);
QChar decimalSeparator(const QLocale &locale);

QByteArray header(const Table &table, const QLocale &locale);
// Row k; cells is a buffer the caller keeps between rows.
QByteArray row(const Table &table, qsizetype k, const QLocale &locale, QList<TableCell> &cells);
QByteArray document(const Table &table, const QLocale &locale);

} // namespace ScoresCsv
