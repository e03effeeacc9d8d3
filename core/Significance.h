#pragma once
// Confidence intervals of means and the tests of a difference between two sets of members.
//
//   interval of a mean   mean -/+ t(0.975; n - 1) s / sqrt(n), s the sample standard deviation (n - 1).
//   Welch's test         se = sqrt(s1^2 / n1 + s2^2 / n2), t = (m1 - m2) / se,
//                        df = se^4 / ((s1^2 / n1)^2 / (n1 - 1) + (s2^2 / n2)^2 / (n2 - 1)),
//                        p = 2 (1 - T_df(|t|)); the 95 % interval of the difference
//                        m1 - m2 -/+ t(0.975; df) se.
//   Hedges' g            (m1 - m2) / s_pooled * (1 - 3 / (4 (n1 + n2) - 9)),
//                        s_pooled = sqrt(((n1 - 1) s1^2 + (n2 - 1) s2^2) / (n1 + n2 - 2)).
//   Holm's adjustment    of m p-values in ascending order p_(1) <= ... <= p_(m):
//                        p'_(j) = max over i <= j of min(1, (m - i + 1) p_(i)).
// Undefined figures (fewer than two members on a side, no variance at all) are none, never NaN.

#include "GroupMoments.h"

#include <QList>
#include <QString>

#include <optional>

namespace Significance {

struct Interval
{
    double lower = 0.0;
    double upper = 0.0;
};

// The 95 % interval of the mean of a moment; none for fewer than two members.
std::optional<Interval> meanInterval(const GroupMoments::Moment &m);

struct Difference
{
    qsizetype n1 = 0, n2 = 0;
    double mean1 = 0.0, mean2 = 0.0;
    double difference = 0.0;          // mean1 - mean2
    std::optional<Interval> interval; // Welch's 95 % interval of the difference
    std::optional<double> p;          // two-sided
    std::optional<double> adjustedP;  // set by holm
    std::optional<double> g;          // Hedges' g
    // Significant at 5 % after the adjustment.
    bool significant() const { return adjustedP && *adjustedP < 0.05; }
};

// Welch's test of the first set against the second; adjustedP is left for holm.
Difference welch(const GroupMoments::Moment &first, const GroupMoments::Moment &second);

// Holm's adjustment of every defined p of the list, over all of them (m = the number defined).
void holm(QList<Difference *> differences);
// The same over plain p-values (none stays none).
QList<std::optional<double>> holm(const QList<std::optional<double>> &p);

// The share of values below the value plus half of those equal to it, in per cent (0 to 100): the
// value's percentile among them.
double percentile(const QList<double> &values, double value);

// "p < 0,001" or "p = 0,034"; the text of a p-value as every output shows it.
QString pText(double p);

} // namespace Significance
