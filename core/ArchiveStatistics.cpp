#include "ArchiveStatistics.h"

#include <boost/math/distributions/students_t.hpp>

#include <algorithm>

namespace ArchiveStatistics {

std::optional<double> Moments::deviation() const
{
    if (n < 2)
        return std::nullopt;
    return std::sqrt(std::max(m2, 0.0) / double(n - 1));
}

Moments Moments::without(const Moments &part) const
{
    if (part.n <= 0)
        return *this;
    Moments rest;
    rest.n = n - part.n;
    if (rest.n <= 0)
        return {};
    rest.mean = (double(n) * mean - double(part.n) * part.mean) / double(rest.n);
    const double delta = rest.mean - part.mean;
    rest.m2 = std::max(0.0, m2 - part.m2 - double(rest.n) * double(part.n) / double(n) * delta * delta);
    if (rest.n == 1)
        rest.m2 = 0.0;
    return rest;
}

void Moments::add(double value)
{
    ++n;
    const double delta = value - mean;
    mean += delta / double(n);
    m2 += delta * (value - mean);
}

double percentileRank(qsizetype below, qsizetype equal, qsizetype n)
{
    if (n <= 0)
        return 0.0;
    return (double(below) + double(equal) / 2.0) / double(n) * 100.0;
}

std::optional<int> sten(double score, double mean, double deviation)
{
    if (!(deviation > 0.0) || !std::isfinite(deviation) || !std::isfinite(score) || !std::isfinite(mean))
        return std::nullopt;
    const double z = (score - mean) / deviation;
    const double raw = std::round(5.5 + 2.0 * z);
    return int(std::clamp(raw, 1.0, 10.0));
}

std::optional<Change> welch(double m1, double s1, qsizetype n1, double m2, double s2, qsizetype n2)
{
    if (n1 < 2 || n2 < 2 || !std::isfinite(s1) || !std::isfinite(s2) || !std::isfinite(m1) || !std::isfinite(m2))
        return std::nullopt;
    const double v1 = s1 * s1 / double(n1);
    const double v2 = s2 * s2 / double(n2);
    const double variance = v1 + v2;
    if (!(variance > 0.0))
        return std::nullopt;
    Change change;
    change.difference = m2 - m1;
    const double se = std::sqrt(variance);
    change.df = variance * variance / (v1 * v1 / double(n1 - 1) + v2 * v2 / double(n2 - 1));
    change.t = change.difference / se;
    const boost::math::students_t distribution(change.df);
    change.p = std::clamp(2.0 * boost::math::cdf(boost::math::complement(distribution, std::fabs(change.t))), 0.0, 1.0);
    const double critical = boost::math::quantile(boost::math::complement(distribution, 0.025));
    change.low = change.difference - critical * se;
    change.high = change.difference + critical * se;
    return change;
}

} // namespace ArchiveStatistics
