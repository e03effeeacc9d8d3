#pragma once
// A Table (the rows a spreadsheet gets) shown in a view: every cell as text the way the window shows
// numbers (whole numbers without decimals, p values with three, other figures with two), the
// number itself kept for sorting.

#include "Table.h"

class QStandardItemModel;

namespace TableItems {

// Replaces the model's rows and header with the table's.
void fill(QStandardItemModel *model, const Table &table);

} // namespace TableItems
