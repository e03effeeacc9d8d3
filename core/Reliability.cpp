#include "Reliability.h"

#include <boost/math/distributions/fisher_f.hpp>

#include <cmath>
#include <vector>

namespace Reliability {

QString undefinedText(Undefined why, int statement)
{
    switch (why) {
    case Undefined::TooFew:
        return QStringLiteral("не определено: меньше двух анкет");
    case Undefined::ConstantStatement:
        return QStringLiteral("не определено: утверждение %1 без разброса").arg(statement);
    default:
        return QString();
    }
}

namespace {

// Alpha of the statements listed (of one trait), or none where a statement has no variance or the
// total has none.
std::optional<double> alphaOf(const GroupMoments::Covariances &c, const std::vector<int> &statements)
{
    const auto k = double(statements.size());
    if (statements.size() < 2 || c.n < 2)
        return std::nullopt;
    double diagonal = 0.0, total = 0.0;
    for (int s : statements) {
        const double v = *c.covariance(s, s);
        if (v <= 0.0)
            return std::nullopt;
        diagonal += v;
        for (int t : statements)
            total += *c.covariance(s, t);
    }
    if (!(total > 0.0))
        return std::nullopt;
    return k / (k - 1.0) * (1.0 - diagonal / total);
}

} // namespace

Scale scale(const GroupMoments::Covariances &c, int first, int k)
{
    Scale result;
    result.n = c.n;
    result.statements = k;
    if (c.n < 2) {
        result.undefined = Undefined::TooFew;
        return result;
    }
    for (int s = first; s < first + k; ++s)
        if (!(*c.covariance(s, s) > 0.0)) {
            result.undefined = Undefined::ConstantStatement;
            result.constantStatement = s;
            return result;
        }
    std::vector<int> statements;
    for (int s = first; s < first + k; ++s)
        statements.push_back(s);
    result.alpha = GroupMoments::finite(alphaOf(c, statements));
    if (!result.alpha) {
        result.undefined = Undefined::ConstantStatement;
        result.constantStatement = first;
        return result;
    }
    // Feldt: (1 - alpha) / (1 - alpha_true) follows F(n - 1, (n - 1)(k - 1)).
    const boost::math::fisher_f_distribution<double> f(double(c.n - 1), double(c.n - 1) * double(k - 1));
    result.lower = 1.0 - (1.0 - *result.alpha) * boost::math::quantile(f, 0.975);
    result.upper = 1.0 - (1.0 - *result.alpha) * boost::math::quantile(f, 0.025);
    double sum = 0.0;
    int pairs = 0;
    for (int s = first; s < first + k; ++s)
        for (int t = s + 1; t < first + k; ++t) {
            sum += *c.covariance(s, t) / std::sqrt(*c.covariance(s, s) * *c.covariance(t, t));
            ++pairs;
        }
    result.meanCorrelation = sum / pairs;
    for (std::optional<double> *figure : {&result.alpha, &result.lower, &result.upper, &result.meanCorrelation})
        *figure = GroupMoments::finite(*figure);
    return result;
}

Statement statement(const GroupMoments::Covariances &c, int s, int first, int k)
{
    Statement st;
    st.n = c.n;
    st.mean = c.means[std::size_t(s - 1)];
    if (c.n < 2)
        return st;
    const double v = *c.covariance(s, s);
    st.deviation = std::sqrt(v);
    std::vector<int> others;
    for (int t = first; t < first + k; ++t)
        if (t != s)
            others.push_back(t);
    st.alphaWithout = alphaOf(c, others);
    double withRest = 0.0, rest = 0.0;
    for (int t : others) {
        withRest += *c.covariance(s, t);
        for (int u : others)
            rest += *c.covariance(t, u);
    }
    if (v > 0.0 && rest > 0.0)
        st.correctedCorrelation = withRest / std::sqrt(v * rest);
    for (std::optional<double> *figure : {&st.deviation, &st.correctedCorrelation, &st.alphaWithout})
        *figure = GroupMoments::finite(*figure);
    return st;
}

Result compute(const GroupMoments::Covariances &c)
{
    Result result;
    for (int i = 1; i <= Resource::IndexCount; ++i)
        result.indices[std::size_t(i - 1)] = scale(c, (i - 1) * Resource::StatementsPerIndex + 1, Resource::StatementsPerIndex);
    constexpr int PerTrait = Resource::StatementsPerIndex * Resource::IndicesPerTrait;
    for (int t = 1; t <= Resource::TraitCount; ++t)
        result.traits[std::size_t(t - 1)] = scale(c, (t - 1) * PerTrait + 1, PerTrait);
    for (int s = 1; s <= Resource::StatementCount; ++s)
        result.statements[std::size_t(s - 1)] =
            statement(c, s, (Resource::indexOfStatement(s) - 1) * Resource::StatementsPerIndex + 1, Resource::StatementsPerIndex);
    return result;
}

QString verdict(const Scale &scale)
{
    if (scale.n < MinimumMembers)
        return QStringLiteral("слишком мало анкет");
    if (!scale.alpha)
        return scale.undefinedText();
    // Judged as shown, to two decimals: an alpha shown as 0,70 is reliable.
    const double shown = std::round(*scale.alpha * 100.0);
    if (shown >= 70.0)
        return QStringLiteral("надёжен");
    if (shown >= 60.0)
        return QStringLiteral("сомнителен");
    return QStringLiteral("ненадёжен");
}

} // namespace Reliability
