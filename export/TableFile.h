#pragma once
// A table written to a file as its name asks: an Excel workbook for ".xlsx" (in any letter case),
// CSV for every other name and for streams. The file is replaced whole or not at all.

#include "Outcome.h"
#include "Table.h"

#include <QLocale>
#include <QString>

namespace TableFile {

bool isWorkbook(const QString &path);
Outcome<> write(const QString &path, const Table &table, const QLocale &locale = QLocale());

} // namespace TableFile
