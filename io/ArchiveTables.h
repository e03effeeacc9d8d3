#pragma once
// The survey archive's figures as tables, the same in the window, the report and zolk-cry: the list
// of surveys, the norms of a profile, a client's waves and the changes between them.

#include "SurveyArchive.h"
#include "Table.h"

#include <QList>
#include <QString>

namespace ArchiveTables {

// "норма по N опросам: мало данных": what a measure shows where the norm has too few surveys.
QString tooFewText(qsizetype surveys);
// "Нормы: все отрасли" / "Нормы: отрасль X", with the client left out where one is.
QString normsTitle(const NormQuery &query);

// Client, wave, sector, n; in the order given.
Table surveysTable(const QList<SurveyEntry> &surveys);
// One row per index, trait and the overall mean: name, score, norm surveys N, norm mean, norm sd,
// percentile rank, sten. A norm of too few surveys shows N and tooFewText.
Table normsTable(const QList<NormRow> &rows);
// One row per wave in date order: wave, n, the 12 index means, the 4 trait means, the overall mean.
Table trendTable(const QList<TrendWave> &waves);

// The change of a measure from one wave to the next.
struct WaveChange
{
    int measure = 0;
    QDate from;
    QDate to;
    double before = 0.0;
    double after = 0.0;
    std::optional<ArchiveStatistics::Change> test; // nullopt: no test possible (see ArchiveStatistics::welch)
};
// Every measure's changes between consecutive waves, measure after measure.
QList<WaveChange> changes(const QList<TrendWave> &waves);
// One row per measure and pair of waves: name, from, to, before, after, change, 95 % interval low
// and high, p, and "*" where p < 0.05.
Table changesTable(const QList<WaveChange> &changes);

// For a page: one row per index, trait and the overall mean, the means of the last waves (at most
// MaxWavesShown) side by side, then the change from the wave before the last to the last with its
// 95 % interval and "*" where p < 0.05.
constexpr int MaxWavesShown = 5;
Table trendByMeasureTable(const QList<TrendWave> &waves);

} // namespace ArchiveTables
