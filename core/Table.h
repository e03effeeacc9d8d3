#pragma once
// A table for spreadsheets: named columns and rows of text and number cells. Rows are produced one at
// a time by fillRow, so that the scores of a hundred thousand respondents are written without ever
// holding all their cells. The CSV and the Excel writers both take it.

#include <QList>
#include <QString>

#include <functional>

struct TableCell
{
    enum class Kind { Empty, Text, Number };
    Kind kind = Kind::Empty;
    QString text;
    double number = 0.0;

    static TableCell empty() { return {}; }
    static TableCell ofText(QString text) { return {Kind::Text, std::move(text), 0.0}; }
    static TableCell ofNumber(double value) { return {Kind::Number, QString(), value}; }
};

struct Table
{
    QString name;                // the sheet's name in a workbook
    QList<QString> columns;      // the header row
    qsizetype rowCount = 0;
    // Fills cells (already sized to the columns, every cell empty) with row k, 0 <= k < rowCount.
    std::function<void(qsizetype row, QList<TableCell> &cells)> fillRow;
    // Rows shown apart (bold in a workbook), such as the group's mean; in ascending order.
    QList<qsizetype> markedRows;
    // Columns that stay in view while a workbook scrolls sideways (the file or segment name).
    int frozenColumns = 1;
};
