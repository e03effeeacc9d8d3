#pragma once
// Producing one row of a Table for a writer: the cells are sized to the columns and emptied before
// the table fills them, so that nothing of the previous row is left behind in a cell the table
// leaves alone.

#include "Table.h"

inline void produceRow(const Table &table, qsizetype row, QList<TableCell> &cells)
{
    cells.resize(table.columns.size());
    for (TableCell &cell : cells) {
        cell.kind = TableCell::Kind::Empty;
        cell.text.clear();
        cell.number = 0.0;
    }
    if (table.fillRow)
        table.fillRow(row, cells);
    // A row that came back with another number of cells is read as the columns have it.
    cells.resize(table.columns.size());
}
