#include "StatisticsTables.h"

#include "Resource.h"

#include <cmath>
#include <memory>

namespace StatisticsTables {
namespace {

TableCell figure(const std::optional<double> &value)
{
    return value && std::isfinite(*value) ? TableCell::ofNumber(*value) : TableCell::ofText(undefinedText());
}

} // namespace

QString undefinedText()
{
    return QStringLiteral("не определено");
}

Table reliability(const Reliability::Result &result)
{
    Table table;
    table.name = QStringLiteral("Надёжность");
    table.columns = {QStringLiteral("Шкала"), QStringLiteral("n"), QStringLiteral("Альфа Кронбаха"),
                     QStringLiteral("Нижняя граница 95 %"), QStringLiteral("Верхняя граница 95 %"),
                     QStringLiteral("Средняя корреляция утверждений")};
    table.rowCount = Resource::IndexCount + Resource::TraitCount;
    table.fillRow = [result](qsizetype row, QList<TableCell> &cells) {
        const bool index = row < Resource::IndexCount;
        const Reliability::Scale &scale =
            index ? result.indices[std::size_t(row)] : result.traits[std::size_t(row - Resource::IndexCount)];
        cells[0] = TableCell::ofText(index ? Resource::indexHeading(int(row) + 1)
                                           : Resource::TraitName(int(row) - Resource::IndexCount + 1));
        cells[1] = TableCell::ofNumber(double(scale.n));
        cells[2] = scale.alpha ? TableCell::ofNumber(*scale.alpha) : TableCell::ofText(scale.undefinedText());
        cells[3] = figure(scale.lower);
        cells[4] = figure(scale.upper);
        cells[5] = figure(scale.meanCorrelation);
    };
    return table;
}

Table items(const Reliability::Result &result)
{
    Table table;
    table.name = QStringLiteral("Утверждения");
    table.columns = {QStringLiteral("Утверждение"), QStringLiteral("Индекс"), QStringLiteral("n"),
                     QStringLiteral("Среднее"), QStringLiteral("Ст. отклонение"),
                     QStringLiteral("Скорректированная корреляция с индексом"), QStringLiteral("Альфа индекса без него")};
    table.rowCount = Resource::StatementCount;
    table.fillRow = [result](qsizetype row, QList<TableCell> &cells) {
        const int s = int(row) + 1;
        const Reliability::Statement &st = result.statements[std::size_t(row)];
        cells[0] = TableCell::ofText(Resource::StatementText(s));
        cells[1] = TableCell::ofNumber(Resource::indexOfStatement(s));
        cells[2] = TableCell::ofNumber(double(st.n));
        cells[3] = figure(st.n > 0 ? std::optional<double>(st.mean) : std::nullopt);
        cells[4] = figure(st.deviation);
        cells[5] = figure(st.correctedCorrelation);
        cells[6] = figure(st.alphaWithout);
    };
    return table;
}

Table differences(const SegmentsTable::Segments &segments, const SegmentStatistics::Tests &tests)
{
    Table table;
    table.name = QStringLiteral("Различия");
    table.columns = {QStringLiteral("Сегмент"), QStringLiteral("Индекс"), QStringLiteral("n"),
                     QStringLiteral("Среднее сегмента"), QStringLiteral("Среднее остальных"), QStringLiteral("Разность"),
                     QStringLiteral("Нижняя граница 95 %"), QStringLiteral("Верхняя граница 95 %"), QStringLiteral("p"),
                     QStringLiteral("p с поправкой Холма"), QStringLiteral("g Хеджеса")};
    table.rowCount = tests.shown.size() * Resource::IndexCount;
    QList<QString> names;
    for (qsizetype k : tests.shown)
        names.append(segments.segments[k].name);
    table.fillRow = [names, tests](qsizetype row, QList<TableCell> &cells) {
        const qsizetype segment = row / Resource::IndexCount;
        const int index = int(row % Resource::IndexCount) + 1;
        const Significance::Difference &d = tests.differences[segment][std::size_t(index - 1)];
        cells[0] = TableCell::ofText(names[segment]);
        cells[1] = TableCell::ofNumber(index);
        cells[2] = TableCell::ofNumber(double(d.n1));
        cells[3] = figure(d.mean1);
        cells[4] = figure(d.n2 > 0 ? std::optional<double>(d.mean2) : std::nullopt);
        cells[5] = figure(d.n2 > 0 ? std::optional<double>(d.difference) : std::nullopt);
        cells[6] = figure(d.interval ? std::optional<double>(d.interval->lower) : std::nullopt);
        cells[7] = figure(d.interval ? std::optional<double>(d.interval->upper) : std::nullopt);
        cells[8] = figure(d.p);
        cells[9] = figure(d.adjustedP);
        cells[10] = figure(d.g);
    };
    return table;
}

Table agreement(const SegmentsTable::Segments &segments, const SegmentStatistics::Tests &tests)
{
    Table table;
    table.name = QStringLiteral("Согласие");
    table.columns = {QStringLiteral("Индекс"), QStringLiteral("ICC(1)"), QStringLiteral("ICC(2)")};
    for (qsizetype k : tests.shown)
        table.columns.append(segments.segments[k].name);
    table.rowCount = Resource::IndexCount;
    table.fillRow = [tests](qsizetype row, QList<TableCell> &cells) {
        const Agreement::Icc &icc = tests.icc[std::size_t(row)];
        cells[0] = TableCell::ofNumber(double(row + 1));
        cells[1] = figure(icc.icc1);
        cells[2] = figure(icc.icc2);
        for (qsizetype k = 0; k < tests.shown.size(); ++k)
            cells[3 + k] = figure(tests.rwg[k][std::size_t(row)]);
    };
    return table;
}

} // namespace StatisticsTables
