#include "SpreadTable.h"

#include "Questionnaire.h"

#include <cmath>
#include <memory>

namespace SpreadTable {

RowKey rowKey(int row)
{
    if (row < Resource::IndexCount)
        return {Kind::Index, row + 1};
    if (row < Resource::IndexCount + Resource::TraitCount)
        return {Kind::Trait, row - Resource::IndexCount + 1};
    return {Kind::Statement, row - Resource::IndexCount - Resource::TraitCount + 1};
}

QString rowName(int row)
{
    const RowKey key = rowKey(row);
    switch (key.kind) {
    case Kind::Index:
        return QStringLiteral("Индекс %1").arg(key.number);
    case Kind::Trait:
        return Resource::traitWord() + QStringLiteral(" %1").arg(key.number);
    case Kind::Statement:
        break;
    }
    // A negatively worded statement is marked as in the catalogue: its answers are not its scores.
    return QStringLiteral("Утверждение %1").arg(key.number) + (Questionnaire::isReversed(key.number) ? QStringLiteral(" (*)") : QString());
}

QString rowTitle(int row)
{
    const RowKey key = rowKey(row);
    switch (key.kind) {
    case Kind::Index:
        return Resource::indexHeading(key.number);
    case Kind::Trait:
        return Resource::TraitName(key.number);
    case Kind::Statement:
        break;
    }
    return Resource::StatementText(key.number);
}

const GroupArithmetic::Summary &summaryOf(const GroupArithmetic::Spread &spread, int row)
{
    const RowKey key = rowKey(row);
    const auto n = std::size_t(key.number - 1);
    switch (key.kind) {
    case Kind::Index:
        return spread.indices[n];
    case Kind::Trait:
        return spread.traits[n];
    case Kind::Statement:
        break;
    }
    return spread.items[n];
}

const std::array<qsizetype, 5> *answersOf(const GroupArithmetic::Spread &spread, int row)
{
    const RowKey key = rowKey(row);
    return key.kind == Kind::Statement ? &spread.items[std::size_t(key.number - 1)].answers : nullptr;
}

QList<QString> columns()
{
    QList<QString> names = {QStringLiteral("Показатель"), QStringLiteral("n"),       QStringLiteral("Среднее"),
                            QStringLiteral("Ст. отклонение"), QStringLiteral("Минимум"), QStringLiteral("Максимум")};
    for (int a = 1; a <= 5; ++a)
        names << QStringLiteral("Ответ %1").arg(a);
    return names;
}

namespace {

TableCell number(double value)
{
    return std::isfinite(value) ? TableCell::ofNumber(value) : TableCell::empty();
}

} // namespace

Table table(const GroupArithmetic::Spread &spread)
{
    auto shared = std::make_shared<const GroupArithmetic::Spread>(spread);
    Table table;
    table.name = QStringLiteral("Разброс");
    table.columns = columns();
    table.rowCount = RowCount;
    table.fillRow = [shared](qsizetype row, QList<TableCell> &cells) {
        const GroupArithmetic::Summary &summary = summaryOf(*shared, int(row));
        cells[Name] = TableCell::ofText(rowName(int(row)));
        cells[Count] = TableCell::ofNumber(double(summary.n));
        cells[Mean] = number(summary.mean);
        cells[Deviation] = number(summary.deviation);
        cells[Minimum] = number(summary.minimum);
        cells[Maximum] = number(summary.maximum);
        if (const std::array<qsizetype, 5> *answers = answersOf(*shared, int(row)))
            for (int a = 0; a < 5; ++a)
                cells[FirstAnswer + a] = TableCell::ofNumber(double((*answers)[std::size_t(a)]));
    };
    return table;
}

} // namespace SpreadTable
