#pragma once
// The arithmetic of the culture profile: the score record, the trait scores, the geometric
// overall mean and the band classification, plus the score text that every view shows.

#include "Resource.h"

#include <QColor>
#include <QLocale>
#include <QString>

#include <array>
#include <optional>

struct ProfileScores
{
    std::array<double, Resource::TraitCount> TraitScores{};
    std::array<double, Resource::IndexCount> IndexScores{};
    std::array<double, Resource::StatementCount> ItemScores{};

    // 1-based accessors, in the numbering of the questionnaire.
    double trait(int t) const { return TraitScores[std::size_t(t - 1)]; }
    double index(int i) const { return IndexScores[std::size_t(i - 1)]; }
    double statement(int s) const { return ItemScores[std::size_t(s - 1)]; }
};

enum class ScoreBand { Neither, High, Low };

namespace Scoring {

// The band half-width ("Range"), called the band in our code: its limits and its value at start.
constexpr double BandMinimum = 0.01;
constexpr double BandMaximum = 2.5;
constexpr double BandStart = 0.5;

// The geometric mean of the twelve index scores. The product is rounded to double after every
// multiplication; a zero product gives 0. A negative product (only possible with negative scores,
// which no result file holds) has no real twelfth root: the mean is then 0 so that no view ever
// shows "nan".
double overallMean(const std::array<double, Resource::IndexCount> &indexScores);

// Derives OverallMean (returned) and then the four trait scores, the mean of each trait's three indices.
double deriveScores(ProfileScores &scores);

// High when v >= mean + band, otherwise low when v <= mean - band; both bounds inclusive.
ScoreBand classify(double value, double mean, double band);

// The colour of a band wherever a score is shown: high bold green, low bold red, neither regular black.
QColor bandColor(ScoreBand band);
inline bool bandIsBold(ScoreBand band) { return band != ScoreBand::Neither; }

// Fixed notation with the given decimals and the locale's separator; exact binary halves are
// rounded away from zero (3.125 -> 3,13), everything else to the nearest decimal. A value that rounds
// to zero is written as zero, without a minus sign.
QString formatFixed(double value, int decimals, const QLocale &locale = QLocale());
// The "%3.2f" score text of the grid, the circle labels and the chart marks.
inline QString scoreText(double value, const QLocale &locale = QLocale())
{
    return formatFixed(value, 2, locale);
}
// A difference of two scores: "+0,25", "-0,25", and "0,00" for one that rounds to zero.
QString differenceText(double difference, int decimals, const QLocale &locale = QLocale());
// Reads a score text back with the locale's separator; nullopt when it is not a number.
std::optional<double> readScoreText(const QString &text, const QLocale &locale = QLocale());

} // namespace Scoring
