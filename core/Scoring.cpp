#include "Scoring.h"

#include <cmath>

namespace Scoring {

double overallMean(const std::array<double, Resource::IndexCount> &indexScores)
{
    double product = 1.0;
    for (double score : indexScores)
        product = product * score; // stored as double after every step
    if (product == 0.0 || !(product > 0.0))
        return 0.0;
    const long double root = std::exp(std::log(static_cast<long double>(product)) / 12.0L);
    return static_cast<double>(root);
}

double deriveScores(ProfileScores &scores)
{
    const double mean = overallMean(scores.IndexScores);
    for (int t = 0; t < Resource::TraitCount; ++t) {
        double sum = 0.0;
        sum += scores.IndexScores[std::size_t(3 * t)];
        sum += scores.IndexScores[std::size_t(3 * t + 1)];
        sum += scores.IndexScores[std::size_t(3 * t + 2)];
        scores.TraitScores[std::size_t(t)] = sum / 3.0;
    }
    return mean;
}

ScoreBand classify(double value, double mean, double band)
{
    if (value >= mean + band)
        return ScoreBand::High;
    if (value <= mean - band)
        return ScoreBand::Low;
    return ScoreBand::Neither;
}

QColor bandColor(ScoreBand band)
{
    switch (band) {
    case ScoreBand::High:
        return QColor(0, 128, 0);
    case ScoreBand::Low:
        return QColor(255, 0, 0);
    case ScoreBand::Neither:
        break;
    }
    return QColor(0, 0, 0);
}

QString formatFixed(double value, int decimals, const QLocale &locale)
{
    if (!std::isfinite(value))
        return locale.toString(value, 'f', decimals);
    // An exact tie at this many decimals is a value whose double-scaled product 2 * 10^n * v is an
    // odd whole number with no rounding error; everything else rounds correctly to the nearest.
    const double twiceScale = 2.0 * std::pow(10.0, decimals);
    const double product = value * twiceScale;
    // What rounds to zero prints as zero, never "-0,00".
    if (std::fabs(product) < 1.0)
        return locale.toString(0.0, 'f', decimals);
    const double error = std::fma(value, twiceScale, -product);
    const bool exactTie = error == 0.0 && std::nearbyint(product) == product
                          && std::fmod(std::fabs(product), 2.0) == 1.0;
    if (!exactTie)
        return locale.toString(value, 'f', decimals);
    const double awayFromZero = (std::fabs(product) + 1.0) / 2.0; // whole number of last-digit units
    const double rounded = std::copysign(awayFromZero / (twiceScale / 2.0), value);
    return locale.toString(rounded, 'f', decimals);
}

QString differenceText(double difference, int decimals, const QLocale &locale)
{
    const QString text = formatFixed(difference, decimals, locale);
    return difference > 0 && text != formatFixed(0.0, decimals, locale) ? QStringLiteral("+") + text : text;
}

std::optional<double> readScoreText(const QString &text, const QLocale &locale)
{
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace Scoring
