#include "Agreement.h"

#include <boost/math/distributions/fisher_f.hpp>

#include <cmath>

namespace Agreement {

std::optional<double> rwg(const GroupMoments::SetMoments &set, int index)
{
    constexpr double J = Resource::StatementsPerIndex;
    constexpr double Expected = 2.0; // (5^2 - 1) / 12, the variance of a uniform answer on five points
    double s2 = 0.0;
    for (int s = (index - 1) * Resource::StatementsPerIndex; s < index * Resource::StatementsPerIndex; ++s) {
        const std::optional<double> v = set.items[std::size_t(s)].variance();
        if (!v)
            return std::nullopt;
        s2 += *v;
    }
    s2 /= J;
    if (s2 >= Expected)
        return 0.0;
    const double share = 1.0 - s2 / Expected;
    return J * share / (J * share + s2 / Expected);
}

std::optional<double> meanRwg(const GroupMoments::SetMoments &set)
{
    double sum = 0.0;
    for (int i = 1; i <= Resource::IndexCount; ++i) {
        const std::optional<double> r = rwg(set, i);
        if (!r)
            return std::nullopt;
        sum += *r;
    }
    return sum / Resource::IndexCount;
}

Icc icc(const QList<GroupMoments::SetMoments> &departments, int index)
{
    Icc result;
    GroupMoments::Moment all;
    double within = 0.0, squaredSizes = 0.0;
    for (const GroupMoments::SetMoments &d : departments) {
        const GroupMoments::Moment &m = d.indices[std::size_t(index - 1)];
        if (m.n == 0)
            continue;
        ++result.departments;
        all = GroupMoments::Moment::combined(all, m);
        within += m.squares;
        squaredSizes += double(m.n) * double(m.n);
    }
    double between = 0.0;
    for (const GroupMoments::SetMoments &d : departments) {
        const GroupMoments::Moment &m = d.indices[std::size_t(index - 1)];
        if (m.n > 0 && m.mean != all.mean)
            between += double(m.n) * (m.mean - all.mean) * (m.mean - all.mean);
    }
    result.members = all.n;
    const double N = double(all.n);
    const double G = result.departments;
    if (G < 2 || N - G < 1)
        return result;
    const double msb = between / (G - 1.0);
    const double msw = within / (N - G);
    const double k0 = (N - squaredSizes / N) / (G - 1.0);
    if (!std::isfinite(msb) || !std::isfinite(msw))
        return result;
    if (msb > 0.0)
        result.icc2 = (msb - msw) / msb;
    if (msb + (k0 - 1.0) * msw > 0.0)
        result.icc1 = GroupMoments::finite((msb - msw) / (msb + (k0 - 1.0) * msw));
    if (msw > 0.0) {
        const boost::math::fisher_f_distribution<double> f(G - 1.0, N - G);
        result.p = boost::math::cdf(boost::math::complement(f, msb / msw));
    } else if (msb > 0.0) {
        result.p = 0.0;
    }
    return result;
}

QString reading(const Icc &icc)
{
    if (!icc.icc1 || !icc.icc2)
        return icc.departments < 2 ? QStringLiteral("не определено: меньше двух подразделений")
                                   : QStringLiteral("не определено: нет разброса оценок");
    const bool differ = *icc.icc1 >= 0.05 && icc.p && *icc.p < 0.05;
    QString text = differ ? QStringLiteral("подразделения заметно различаются")
                          : QStringLiteral("подразделения заметно не различаются");
    text += *icc.icc2 >= 0.70 ? QStringLiteral("; средние подразделений устойчивы")
                              : QStringLiteral("; средние подразделений неустойчивы");
    return text;
}

} // namespace Agreement
