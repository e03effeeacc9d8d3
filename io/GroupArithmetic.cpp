#include "GroupArithmetic.h"

#include <QMap>

#include <algorithm>

namespace GroupArithmetic {
namespace {

// Calls visit(member) for the chosen members, or for every member when none are chosen.
template <typename Visit>
void forMembers(const MemberTable &table, const QList<qsizetype> &members, Visit visit)
{
    if (members.isEmpty()) {
        for (qsizetype k = 0; k < table.size(); ++k)
            visit(k);
    } else {
        for (qsizetype k : members)
            visit(k);
    }
}

// The sample deviation by Welford's running sums, which stay exact enough for any group size; the
// mean as the group's mean is formed (one addition per member, one division), so that both agree.
class Running
{
public:
    void add(double value)
    {
        ++m_n;
        m_sum = m_sum + value;
        const double delta = value - m_mean;
        m_mean += delta / double(m_n);
        m_squares += delta * (value - m_mean);
        m_min = m_n == 1 ? value : std::min(m_min, value);
        m_max = m_n == 1 ? value : std::max(m_max, value);
    }
    void into(Summary &summary) const
    {
        summary.n = m_n;
        if (m_n == 0)
            return;
        summary.mean = m_sum / double(m_n);
        summary.deviation = m_n > 1 ? std::sqrt(m_squares / double(m_n - 1)) : std::numeric_limits<double>::quiet_NaN();
        summary.minimum = m_min;
        summary.maximum = m_max;
    }

private:
    qsizetype m_n = 0;
    double m_sum = 0.0;
    double m_mean = 0.0;
    double m_squares = 0.0;
    double m_min = 0.0;
    double m_max = 0.0;
};

} // namespace

MeanScores mean(const MemberTable &table, const QList<qsizetype> &members)
{
    MeanScores sums;
    qsizetype count = 0;
    forMembers(table, members, [&](qsizetype k) {
        for (int i = 1; i <= Resource::IndexCount; ++i)
            sums.indices[std::size_t(i - 1)] = sums.indices[std::size_t(i - 1)] + table.index(k, i);
        for (int s = 1; s <= Resource::StatementCount; ++s)
            sums.items[std::size_t(s - 1)] = sums.items[std::size_t(s - 1)] + table.item(k, s);
        ++count;
    });
    if (count == 0)
        return sums;
    for (double &sum : sums.indices)
        sum /= double(count);
    for (double &sum : sums.items)
        sum /= double(count);
    return sums;
}

std::optional<SplitBy> splitByName(QStringView name)
{
    if (name == u"info1")
        return SplitBy::Info1;
    if (name == u"info2")
        return SplitBy::Info2;
    if (name == u"info3")
        return SplitBy::Info3;
    if (name == u"info4")
        return SplitBy::Info4;
    if (name == u"folder")
        return SplitBy::Folder;
    return std::nullopt;
}

QList<Segment> split(const MemberTable &table, SplitBy by)
{
    // Keyed by the folded name, so that "Отдел продаж" and "отдел продаж" are one department; the
    // segment keeps the spelling of its first member.
    QMap<QString, Segment> segments;
    for (qsizetype k = 0; k < table.size(); ++k) {
        QString name;
        if (by == SplitBy::Folder) {
            const QString file = table.file(k);
            const qsizetype slash = file.lastIndexOf(u'/');
            name = slash < 0 ? QString() : file.left(slash);
        } else {
            name = table.info(k, int(by) - int(SplitBy::Info1) + 1).trimmed();
        }
        Segment &segment = segments[name.toCaseFolded()];
        if (segment.members.isEmpty())
            segment.name = name;
        segment.members.append(k);
    }
    return segments.values();
}

int answerOf(double score)
{
    if (!(score >= 0.5 && score < 5.5))
        return 0;
    return int(std::floor(score + 0.5));
}

Spread spread(const MemberTable &table, const QList<qsizetype> &members)
{
    std::array<Running, Resource::IndexCount> indices;
    std::array<Running, Resource::TraitCount> traits;
    std::array<Running, Resource::StatementCount> items;
    Spread result;
    forMembers(table, members, [&](qsizetype k) {
        std::array<double, Resource::IndexCount> index{};
        for (int i = 0; i < Resource::IndexCount; ++i) {
            index[std::size_t(i)] = table.index(k, i + 1);
            indices[std::size_t(i)].add(index[std::size_t(i)]);
        }
        for (int t = 0; t < Resource::TraitCount; ++t) {
            double sum = 0.0;
            sum += index[std::size_t(3 * t)];
            sum += index[std::size_t(3 * t + 1)];
            sum += index[std::size_t(3 * t + 2)];
            traits[std::size_t(t)].add(sum / 3.0);
        }
        for (int s = 0; s < Resource::StatementCount; ++s) {
            const double score = table.item(k, s + 1);
            items[std::size_t(s)].add(score);
            if (const int answer = answerOf(score))
                ++result.items[std::size_t(s)].answers[std::size_t(answer - 1)];
        }
    });
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i].into(result.indices[i]);
    for (std::size_t t = 0; t < traits.size(); ++t)
        traits[t].into(result.traits[t]);
    for (std::size_t s = 0; s < items.size(); ++s)
        items[s].into(result.items[s]);
    return result;
}

} // namespace GroupArithmetic
