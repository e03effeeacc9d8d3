#pragma once
// How far the members of a department agree, and how far departments differ, per index.
//
//   rwg(j)  within one department, J = 5 statements of the index:
//           rwg(j) = J (1 - s2 / 2) / (J (1 - s2 / 2) + s2 / 2), s2 the mean of the five statement
//           variances within the department (n - 1), 2 the variance of a uniform answer on five
//           points; 0 where s2 >= 2.
//   ICC     from the one-way analysis of variance of the members' index scores by department (G
//           departments, N members, n_g in department g):
//           MSB = sum n_g (m_g - m)^2 / (G - 1), MSW = sum_g sum (x - m_g)^2 / (N - G),
//           k0 = (N - sum n_g^2 / N) / (G - 1),
//           ICC(1) = (MSB - MSW) / (MSB + (k0 - 1) MSW), ICC(2) = (MSB - MSW) / MSB,
//           F = MSB / MSW with p from F(G - 1, N - G).
// Undefined (none): rwg(j) of fewer than two members; the ICCs of fewer than two departments, of
// departments with one member each, or where no member differs from another.

#include "GroupMoments.h"

#include <QList>
#include <QString>

#include <optional>

namespace Agreement {

// rwg(j) of an index (1 to 12) within one set of members.
std::optional<double> rwg(const GroupMoments::SetMoments &set, int index);
// The mean rwg(j) over the twelve indices; none where one is undefined.
std::optional<double> meanRwg(const GroupMoments::SetMoments &set);

struct Icc
{
    qsizetype members = 0;
    int departments = 0;
    std::optional<double> icc1;
    std::optional<double> icc2;
    std::optional<double> p; // of the F test of the analysis of variance
};

// The ICCs of an index (1 to 12) over the given departments.
Icc icc(const QList<GroupMoments::SetMoments> &departments, int index);

// The one-line reading of an index's ICCs: whether departments differ noticeably (ICC(1) of at least
// 0,05 with p < 0,05 in the F test) and whether a department's mean is a dependable figure (ICC(2)
// of at least 0,70).
QString reading(const Icc &icc);

} // namespace Agreement
