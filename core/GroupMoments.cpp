#include "GroupMoments.h"

#include <algorithm>
#include <vector>

namespace GroupMoments {

std::optional<double> Moment::variance() const
{
    if (n < 2)
        return std::nullopt;
    return finite(squares / double(n - 1));
}

Moment Moment::combined(const Moment &a, const Moment &b)
{
    if (a.n == 0)
        return b;
    if (b.n == 0)
        return a;
    Moment m;
    m.n = a.n + b.n;
    const double delta = b.mean - a.mean;
    m.mean = a.mean + delta * double(b.n) / double(m.n);
    // Equal means (all members alike) add no squares: the sum stays exactly zero.
    m.squares = a.squares + b.squares + (delta == 0.0 ? 0.0 : delta * delta * double(a.n) * double(b.n) / double(m.n));
    return m;
}

std::optional<double> Covariances::covariance(int s, int t) const
{
    if (n < 2 || Resource::traitOfStatement(s) != Resource::traitOfStatement(t))
        return std::nullopt;
    const int trait = Resource::traitOfStatement(s);
    const int first = (trait - 1) * 15 + 1;
    return products[std::size_t(trait - 1)][std::size_t((s - first) * 15 + (t - first))] / double(n - 1);
}

SetMoments SetMoments::combined(const SetMoments &a, const SetMoments &b)
{
    SetMoments m;
    for (std::size_t s = 0; s < m.items.size(); ++s)
        m.items[s] = Moment::combined(a.items[s], b.items[s]);
    for (std::size_t i = 0; i < m.indices.size(); ++i)
        m.indices[i] = Moment::combined(a.indices[i], b.indices[i]);
    return m;
}

IndexScores indexMeans(const ItemScores &items)
{
    IndexScores indices{};
    for (int i = 0; i < Resource::IndexCount; ++i) {
        const double *s = items.data() + i * Resource::StatementsPerIndex;
        indices[std::size_t(i)] = (s[0] + s[1] + s[2] + s[3] + s[4]) / 5.0;
    }
    return indices;
}

namespace {

constexpr int Scores = Resource::StatementCount + Resource::IndexCount; // statements, then indices

// Sums of deviations from the first member's scores, and of their squares.
struct Sums
{
    qsizetype n = 0;
    std::array<double, Scores> shift{};
    std::array<double, Scores> sum{};
    std::array<double, Scores> squares{};

    void add(const std::array<double, Scores> &scores)
    {
        if (n == 0)
            shift = scores;
        ++n;
        for (int k = 0; k < Scores; ++k) {
            const double d = scores[std::size_t(k)] - shift[std::size_t(k)];
            sum[std::size_t(k)] += d;
            squares[std::size_t(k)] += d * d;
        }
    }

    Moment moment(int k) const
    {
        Moment m;
        m.n = n;
        if (n == 0)
            return m;
        const double s = sum[std::size_t(k)];
        m.mean = shift[std::size_t(k)] + s / double(n);
        // The sum of squares about the mean: sum d^2 - (sum d)^2 / n, never below zero.
        m.squares = std::max(0.0, squares[std::size_t(k)] - s * s / double(n));
        return m;
    }

    SetMoments moments() const
    {
        SetMoments m;
        for (int s = 0; s < Resource::StatementCount; ++s)
            m.items[std::size_t(s)] = moment(s);
        for (int i = 0; i < Resource::IndexCount; ++i)
            m.indices[std::size_t(i)] = moment(Resource::StatementCount + i);
        return m;
    }
};

} // namespace

Moments collect(const MemberTable &table, const QList<QList<qsizetype>> &sets)
{
    std::vector<int> setOf(std::size_t(table.size()), -1);
    for (qsizetype k = 0; k < sets.size(); ++k)
        for (qsizetype member : sets[k])
            if (member >= 0 && member < table.size())
                setOf[std::size_t(member)] = int(k);

    Sums group;
    std::vector<Sums> setSums(std::size_t(sets.size()));
    std::array<std::array<double, 15 * 15>, Resource::TraitCount> products{};
    MemberTable::AllScores all;
    std::array<double, Scores> scores;
    for (qsizetype k = 0; k < table.size(); ++k) {
        table.allScores(k, all);
        std::copy_n(all.begin() + Resource::IndexCount, Resource::StatementCount, scores.begin());
        for (int i = 0; i < Resource::IndexCount; ++i) {
            const double *s = scores.data() + i * Resource::StatementsPerIndex;
            scores[std::size_t(Resource::StatementCount + i)] = (s[0] + s[1] + s[2] + s[3] + s[4]) / 5.0;
        }
        group.add(scores);
        // Cross products within each trait (the upper triangle; mirrored once at the end).
        for (int t = 0; t < Resource::TraitCount; ++t) {
            double d[15];
            for (int a = 0; a < 15; ++a)
                d[a] = scores[std::size_t(t * 15 + a)] - group.shift[std::size_t(t * 15 + a)];
            double *p = products[std::size_t(t)].data();
            for (int a = 0; a < 15; ++a)
                for (int b = a; b < 15; ++b)
                    p[a * 15 + b] += d[a] * d[b];
        }
        if (const int set = setOf[std::size_t(k)]; set >= 0)
            setSums[std::size_t(set)].add(scores);
    }

    Moments result;
    result.group = group.moments();
    result.covariances.n = group.n;
    for (int s = 0; s < Resource::StatementCount; ++s)
        result.covariances.means[std::size_t(s)] = result.group.items[std::size_t(s)].mean;
    if (group.n > 0) {
        // Sums of cross products about the means: sum d_a d_b - (sum d_a)(sum d_b) / n.
        for (int t = 0; t < Resource::TraitCount; ++t) {
            auto &c = result.covariances.products[std::size_t(t)];
            const double *sum = group.sum.data() + t * 15;
            for (int a = 0; a < 15; ++a)
                for (int b = a; b < 15; ++b) {
                    const double v = products[std::size_t(t)][std::size_t(a * 15 + b)] - sum[a] * sum[b] / double(group.n);
                    c[std::size_t(a * 15 + b)] = c[std::size_t(b * 15 + a)] = a == b ? std::max(0.0, v) : v;
                }
        }
    }
    result.sets.reserve(sets.size());
    for (const Sums &sums : setSums)
        result.sets.append(sums.moments());
    return result;
}

} // namespace GroupMoments
