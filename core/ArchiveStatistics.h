#pragma once
// The statistics of the survey archive, without widgets or a database: where a score stands among
// the archived surveys (the norm) and whether a client's score changed from one wave to the next.
//
// The norm of a measure is the set of the archived surveys' means of it (one value per survey):
//   N surveys, their mean m and sample standard deviation s (divisor N - 1);
//   percentile rank = (number of surveys below the score + half the number equal to it) / N x 100;
//   z = (score - m) / s and the sten = round(5.5 + 2z) (halves away from zero), kept within 1..10.
// With fewer than MinimumSurveys surveys there is no norm.
//
// The change between two waves is Welch's test on the stored means, standard deviations and sizes:
//   d = m2 - m1, se = sqrt(s1^2/n1 + s2^2/n2),
//   df = se^4 / ((s1^2/n1)^2/(n1 - 1) + (s2^2/n2)^2/(n2 - 1))  (Welch-Satterthwaite),
//   t = d / se, p = 2 P(T_df > |t|), the 95 % interval d -/+ t_{0.975, df} se.
// A change is marked where p < 0.05.

#include <QtGlobal>

#include <cmath>
#include <optional>

namespace ArchiveStatistics {

constexpr int MinimumSurveys = 5;
constexpr double Significance = 0.05;

// Count, mean and sum of squared deviations of a set of values, as the archive keeps them.
struct Moments
{
    qsizetype n = 0;
    double mean = 0.0;
    double m2 = 0.0; // sum of (value - mean)^2

    // Sample standard deviation (n - 1); nullopt for fewer than two values.
    std::optional<double> deviation() const;
    // The moments of the values that are left when the values of part are taken out of these
    // (part a subset of them): n = n - nB, mean = (n mean - nB meanB) / (n - nB),
    // m2 = m2 - m2B - nA nB / n (meanA - meanB)^2 (the pooled sum of squares, solved for A).
    Moments without(const Moments &part) const;
    // The moments of one more value (Welford's step).
    void add(double value);
};

// (below + equal / 2) / n x 100; 0 for no surveys.
double percentileRank(qsizetype below, qsizetype equal, qsizetype n);
// round(5.5 + 2 z), z = (score - mean) / deviation, within 1..10; nullopt where deviation is not
// positive (every survey had the same mean: no scale to measure on).
std::optional<int> sten(double score, double mean, double deviation);

struct Change
{
    double difference = 0.0; // later minus earlier
    double low = 0.0;        // 95 % interval of the difference
    double high = 0.0;
    double t = 0.0;
    double df = 0.0;
    double p = 1.0;
    bool significant() const { return p < Significance; }
};

// Welch's test of the change from (m1, s1, n1) to (m2, s2, n2); nullopt where it cannot be made (a
// size below two, a standard deviation unknown, or both zero).
std::optional<Change> welch(double m1, double s1, qsizetype n1, double m2, double s2, qsizetype n2);

} // namespace ArchiveStatistics
