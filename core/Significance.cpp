#include "Significance.h"

#include "Scoring.h"

#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace Significance {

std::optional<Interval> meanInterval(const GroupMoments::Moment &m)
{
    const std::optional<double> variance = m.variance();
    if (!variance)
        return std::nullopt;
    const boost::math::students_t_distribution<double> t(double(m.n - 1));
    const double half = boost::math::quantile(t, 0.975) * std::sqrt(*variance / double(m.n));
    if (!std::isfinite(m.mean - half) || !std::isfinite(m.mean + half))
        return std::nullopt;
    return Interval{m.mean - half, m.mean + half};
}

Difference welch(const GroupMoments::Moment &first, const GroupMoments::Moment &second)
{
    Difference d;
    d.n1 = first.n;
    d.n2 = second.n;
    d.mean1 = first.mean;
    d.mean2 = second.mean;
    d.difference = first.mean - second.mean;
    const std::optional<double> v1 = first.variance();
    const std::optional<double> v2 = second.variance();
    if (!v1 || !v2)
        return d;
    const double a = *v1 / double(first.n);
    const double b = *v2 / double(second.n);
    const double se2 = a + b;
    if (se2 > 0.0 && std::isfinite(se2) && std::isfinite(d.difference)) {
        const double se = std::sqrt(se2);
        const double df = se2 * se2 / (a * a / double(first.n - 1) + b * b / double(second.n - 1));
        const boost::math::students_t_distribution<double> t(df);
        const double statistic = d.difference / se;
        d.p = std::min(1.0, 2.0 * boost::math::cdf(boost::math::complement(t, std::fabs(statistic))));
        const double half = boost::math::quantile(t, 0.975) * se;
        d.interval = Interval{d.difference - half, d.difference + half};
    }
    const double pooled = ((double(first.n) - 1.0) * *v1 + (double(second.n) - 1.0) * *v2) / double(first.n + second.n - 2);
    if (pooled > 0.0)
        d.g = GroupMoments::finite(d.difference / std::sqrt(pooled) * (1.0 - 3.0 / (4.0 * double(first.n + second.n) - 9.0)));
    return d;
}

QList<std::optional<double>> holm(const QList<std::optional<double>> &p)
{
    QList<qsizetype> order;
    for (qsizetype k = 0; k < p.size(); ++k)
        if (p[k])
            order.append(k);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) { return *p[a] < *p[b]; });
    QList<std::optional<double>> adjusted(p.size());
    const auto m = double(order.size());
    double running = 0.0;
    for (qsizetype j = 0; j < order.size(); ++j) {
        running = std::max(running, std::min(1.0, (m - double(j)) * *p[order[j]]));
        adjusted[order[j]] = running;
    }
    return adjusted;
}

void holm(QList<Difference *> differences)
{
    QList<std::optional<double>> p;
    p.reserve(differences.size());
    for (const Difference *d : differences)
        p.append(d->p);
    const QList<std::optional<double>> adjusted = holm(p);
    for (qsizetype k = 0; k < differences.size(); ++k)
        differences[k]->adjustedP = adjusted[k];
}

double percentile(const QList<double> &values, double value)
{
    if (values.isEmpty())
        return 0.0;
    qsizetype below = 0, equal = 0;
    for (double v : values) {
        below += v < value;
        equal += v == value;
    }
    return 100.0 * (double(below) + 0.5 * double(equal)) / double(values.size());
}

QString pText(double p)
{
    if (p < 0.001)
        return QStringLiteral("p < %1").arg(Scoring::formatFixed(0.001, 3));
    return QStringLiteral("p = %1").arg(Scoring::formatFixed(p, 3));
}

} // namespace Significance
