#pragma once
// The spread of a group's answers as a table: one row per index, trait and statement with the number
// of answers, the mean, the sample standard deviation (n - 1), the minimum and the maximum, and for a
// statement how many members gave the answers 1, 2, 3, 4 and 5 (GroupArithmetic::spread: for a
// negatively worded statement, marked " (*)", the answer is 6 minus the score). A figure that does
// not exist (the deviation of a single answer, anything of none) is an empty cell.

#include "GroupArithmetic.h"
#include "Table.h"

#include <QList>
#include <QString>

namespace SpreadTable {

// What a row stands for.
enum class Kind { Index, Trait, Statement };
struct RowKey
{
    Kind kind;
    int number; // 1-based: index 1..12, trait 1..4, statement 1..60
};

// Indices, then traits, then statements.
constexpr int RowCount = Resource::IndexCount + Resource::TraitCount + Resource::StatementCount;
RowKey rowKey(int row);
// "Индекс 1", "Фактор 1", "Утверждение 1", "Утверждение 15 (*)".
QString rowName(int row);
// The full title of a row's index, trait or statement, for tooltips.
QString rowTitle(int row);

// The summary of a row, and its answer counts (nullptr for indices and traits).
const GroupArithmetic::Summary &summaryOf(const GroupArithmetic::Spread &spread, int row);
const std::array<qsizetype, 5> *answersOf(const GroupArithmetic::Spread &spread, int row);

// The header row: "Показатель", "n", "Среднее", "Ст. отклонение", "Минимум", "Максимум", "Ответ 1".."Ответ 5".
QList<QString> columns();
enum Column { Name, Count, Mean, Deviation, Minimum, Maximum, FirstAnswer, ColumnCount = FirstAnswer + 5 };

Table table(const GroupArithmetic::Spread &spread);

} // namespace SpreadTable
