#pragma once
// The sums over a group's members from which its reliability, its confidence intervals, the tests of
// its segments and their agreement come, gathered in one pass over the member table.
//
// Scores are the statement scores as stored (reversed statements already turned); a member's index
// score here is the mean of its five statements, its trait score the mean of its fifteen. Every sum
// is taken of the deviations from the first member's score of the set, so that a statement that all
// members of a set answered alike has a variance of exactly zero (and not a rounding residue that
// would make an undefined figure look like a number).

#include "MemberTable.h"
#include "Resource.h"

#include <QList>

#include <array>
#include <cmath>
#include <optional>

namespace GroupMoments {

// A figure as a number only where it is one: sums of absurd scores (a file may hold 1e300) overflow
// to infinities, and what follows from them is no figure at all.
inline std::optional<double> finite(std::optional<double> value)
{
    return value && std::isfinite(*value) ? value : std::nullopt;
}

// The number, mean and sum of squared deviations from the mean of one score over a set of members.
struct Moment
{
    qsizetype n = 0;
    double mean = 0.0;
    double squares = 0.0;

    // Sample variance, squares / (n - 1); none for fewer than two members.
    std::optional<double> variance() const;
    // The moment of two disjoint sets together (Chan's pairwise formula):
    // squares = squares_a + squares_b + (mean_a - mean_b)^2 n_a n_b / (n_a + n_b).
    static Moment combined(const Moment &a, const Moment &b);
};

// Statement s's variances and covariances with the other statements of its trait (the trait's fifteen
// statements include its three indices' five each): the sample covariance matrix of every scale.
struct Covariances
{
    qsizetype n = 0;
    std::array<double, Resource::StatementCount> means{};
    // Per trait, the 15 x 15 sums of cross products of deviations from the means, row-major.
    std::array<std::array<double, 15 * 15>, Resource::TraitCount> products{};

    // The sample covariance of statements s and t (1 to 60, of the same trait); none below two members.
    std::optional<double> covariance(int s, int t) const;
};

// The moments of one set of members: each statement and each index score (mean of five statements).
struct SetMoments
{
    std::array<Moment, Resource::StatementCount> items;
    std::array<Moment, Resource::IndexCount> indices;
    qsizetype size() const { return items[0].n; }
    static SetMoments combined(const SetMoments &a, const SetMoments &b);
};

struct Moments
{
    Covariances covariances; // of the whole group
    SetMoments group;        // the whole group
    QList<SetMoments> sets;  // of each given set of members, in the order given
};

// A member's index scores as the means of its statements, in this order: (s1 + ... + s5) / 5.
IndexScores indexMeans(const ItemScores &items);

// One pass over the table: the whole group's covariances and moments and those of every set (sets
// are disjoint lists of numbers into the table; a member in none counts in the whole group only).
Moments collect(const MemberTable &table, const QList<QList<qsizetype>> &sets = {});

} // namespace GroupMoments
