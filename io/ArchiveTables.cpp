#include "ArchiveTables.h"

#include <memory>

namespace ArchiveTables {

namespace {

// A table of one row per entry of entries, which it keeps (shared, so that copies of the table cost
// nothing); fill writes an entry's cells.
template <typename Entry, typename Fill>
Table entryTable(QString name, QList<QString> columns, const QList<Entry> &entries, Fill fill)
{
    auto shared = std::make_shared<const QList<Entry>>(entries);
    Table table;
    table.name = std::move(name);
    table.columns = std::move(columns);
    table.rowCount = entries.size();
    table.fillRow = [shared, fill](qsizetype row, QList<TableCell> &cells) { fill(shared->at(row), cells); };
    return table;
}

} // namespace

QString tooFewText(qsizetype surveys)
{
    return QStringLiteral("норма по %1 опросам: мало данных").arg(surveys);
}

QString normsTitle(const NormQuery &query)
{
    QString title = query.sector.isEmpty() ? QStringLiteral("Нормы: все отрасли")
                                           : QStringLiteral("Нормы: отрасль «%1»").arg(query.sector);
    if (!query.excludedClient.isEmpty())
        title += QStringLiteral(", без опросов клиента «%1»").arg(query.excludedClient);
    return title;
}

Table surveysTable(const QList<SurveyEntry> &surveys)
{
    const QList<QString> columns{QStringLiteral("Клиент"), QStringLiteral("Волна"), QStringLiteral("Отрасль"), QStringLiteral("n")};
    return entryTable(QStringLiteral("Архив"), columns, surveys, [](const SurveyEntry &entry, QList<TableCell> &cells) {
        cells[0] = TableCell::ofText(entry.client);
        cells[1] = TableCell::ofText(entry.wave.toString(Qt::ISODate));
        cells[2] = TableCell::ofText(entry.sector);
        cells[3] = TableCell::ofNumber(double(entry.respondents));
    });
}

Table normsTable(const QList<NormRow> &rows)
{
    const QList<QString> columns{QStringLiteral("Показатель"), QStringLiteral("Балл"), QStringLiteral("Опросов в норме"),
                                 QStringLiteral("Среднее нормы"), QStringLiteral("Ст. откл. нормы"), QStringLiteral("Процентиль"),
                                 QStringLiteral("Стен")};
    return entryTable(QStringLiteral("Нормы"), columns, rows, [](const NormRow &row, QList<TableCell> &cells) {
        cells[0] = TableCell::ofText(SurveySummary::measureName(row.measure));
        cells[1] = TableCell::ofNumber(row.score);
        cells[2] = TableCell::ofNumber(double(row.surveys));
        if (!row.enough()) {
            cells[3] = TableCell::ofText(tooFewText(row.surveys));
            return;
        }
        cells[3] = TableCell::ofNumber(row.mean);
        if (row.deviation)
            cells[4] = TableCell::ofNumber(*row.deviation);
        cells[5] = TableCell::ofNumber(row.percentile);
        if (row.sten)
            cells[6] = TableCell::ofNumber(double(*row.sten));
    });
}

Table trendTable(const QList<TrendWave> &waves)
{
    QList<QString> columns{QStringLiteral("Волна"), QStringLiteral("n")};
    for (int m = 0; m < SurveySummary::NormMeasures; ++m)
        columns << SurveySummary::measureName(m);
    return entryTable(QStringLiteral("Динамика"), columns, waves, [](const TrendWave &wave, QList<TableCell> &cells) {
        cells[0] = TableCell::ofText(wave.wave.toString(Qt::ISODate));
        cells[1] = TableCell::ofNumber(double(wave.figures.n));
        for (int m = 0; m < SurveySummary::NormMeasures; ++m)
            cells[2 + m] = TableCell::ofNumber(wave.figures.means[std::size_t(m)]);
    });
}

QList<WaveChange> changes(const QList<TrendWave> &waves)
{
    QList<WaveChange> result;
    for (int m = 0; m < SurveySummary::NormMeasures; ++m)
        for (qsizetype k = 1; k < waves.size(); ++k) {
            const SurveySummary::Figures &a = waves[k - 1].figures;
            const SurveySummary::Figures &b = waves[k].figures;
            const std::size_t i = std::size_t(m);
            result.append({m, waves[k - 1].wave, waves[k].wave, a.means[i], b.means[i],
                           ArchiveStatistics::welch(a.means[i], a.deviations[i], a.n, b.means[i], b.deviations[i], b.n)});
        }
    return result;
}

Table changesTable(const QList<WaveChange> &changes)
{
    const QList<QString> columns{QStringLiteral("Показатель"), QStringLiteral("Волна 1"), QStringLiteral("Волна 2"),
                                 QStringLiteral("Было"), QStringLiteral("Стало"), QStringLiteral("Изменение"),
                                 QStringLiteral("95% ДИ от"), QStringLiteral("95% ДИ до"), QStringLiteral("p"),
                                 QStringLiteral("p < 0,05")};
    return entryTable(QStringLiteral("Изменения"), columns, changes, [](const WaveChange &change, QList<TableCell> &cells) {
        cells[0] = TableCell::ofText(SurveySummary::measureName(change.measure));
        cells[1] = TableCell::ofText(change.from.toString(Qt::ISODate));
        cells[2] = TableCell::ofText(change.to.toString(Qt::ISODate));
        cells[3] = TableCell::ofNumber(change.before);
        cells[4] = TableCell::ofNumber(change.after);
        cells[5] = TableCell::ofNumber(change.after - change.before);
        if (!change.test)
            return;
        cells[6] = TableCell::ofNumber(change.test->low);
        cells[7] = TableCell::ofNumber(change.test->high);
        cells[8] = TableCell::ofNumber(change.test->p);
        if (change.test->significant())
            cells[9] = TableCell::ofText(QStringLiteral("*"));
    });
}

Table trendByMeasureTable(const QList<TrendWave> &waves)
{
    const QList<TrendWave> shown = waves.mid(std::max<qsizetype>(0, waves.size() - MaxWavesShown));
    auto shared = std::make_shared<const QList<TrendWave>>(shown);
    Table table;
    table.name = QStringLiteral("Динамика");
    table.columns = {QStringLiteral("Показатель")};
    for (const TrendWave &wave : shown)
        table.columns << wave.wave.toString(QStringLiteral("dd.MM.yyyy"));
    table.columns << QStringLiteral("Изменение") << QStringLiteral("95% ДИ от") << QStringLiteral("95% ДИ до")
                  << QStringLiteral("p < 0,05");
    table.rowCount = SurveySummary::NormMeasures;
    table.fillRow = [shared](qsizetype row, QList<TableCell> &cells) {
        const std::size_t m = std::size_t(row);
        cells[0] = TableCell::ofText(SurveySummary::measureName(int(row)));
        const qsizetype count = shared->size();
        for (qsizetype k = 0; k < count; ++k)
            cells[1 + k] = TableCell::ofNumber(shared->at(k).figures.means[m]);
        if (count < 2)
            return;
        const SurveySummary::Figures &a = shared->at(count - 2).figures;
        const SurveySummary::Figures &b = shared->at(count - 1).figures;
        cells[1 + count] = TableCell::ofNumber(b.means[m] - a.means[m]);
        const std::optional<ArchiveStatistics::Change> test =
            ArchiveStatistics::welch(a.means[m], a.deviations[m], a.n, b.means[m], b.deviations[m], b.n);
        if (!test)
            return;
        cells[2 + count] = TableCell::ofNumber(test->low);
        cells[3 + count] = TableCell::ofNumber(test->high);
        if (test->significant())
            cells[4 + count] = TableCell::ofText(QStringLiteral("*"));
    };
    return table;
}

} // namespace ArchiveTables
