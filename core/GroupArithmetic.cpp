#include "GroupArithmetic.h"

#include "Cp1251.h"
#include "Questionnaire.h"

#include <QMap>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

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

// A sum of scores kept twice: as the running double sum, and in whole hundredths while every score
// is a whole number of hundredths (as a result file gives them). The mean is then the exact sum of
// hundredths divided once, the double nearest the true mean: 3.34 for three members at 3.34, where
// the running double sum gives 3.3400000000000003. Only scores that are not whole hundredths fall
// back to the running sum divided by the count.
class ExactSum
{
public:
    void add(double value)
    {
        m_sum = m_sum + value;
        if (!m_exact)
            return;
        const double scaled = std::nearbyint(value * 100.0);
        if (std::fabs(scaled) > 1e9 || scaled / 100.0 != value) {
            m_exact = false;
            return;
        }
        m_hundredths += std::int64_t(scaled);
    }
    double mean(qsizetype count) const
    {
        if (m_exact)
            return double(m_hundredths) / (100.0 * double(count)) + 0.0;
        return m_sum / double(count);
    }
    double sum() const { return m_sum; }

private:
    double m_sum = 0.0;
    std::int64_t m_hundredths = 0;
    bool m_exact = true;
};

// The sample deviation by Welford's running sums, which stay exact enough for any group size; the
// mean as the group's mean is formed (one addition per member, one division), so that both agree.
class Running
{
public:
    void add(double value)
    {
        ++m_n;
        m_sum.add(value);
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
        summary.mean = m_sum.mean(m_n);
        summary.deviation = m_n > 1 ? std::sqrt(m_squares / double(m_n - 1)) : std::numeric_limits<double>::quiet_NaN();
        summary.minimum = m_min;
        summary.maximum = m_max;
    }

private:
    qsizetype m_n = 0;
    ExactSum m_sum;
    double m_mean = 0.0;
    double m_squares = 0.0;
    double m_min = 0.0;
    double m_max = 0.0;
};

// The answer a score stands for, or 0: inlined into the spread's loop.
inline int answerFor(double score)
{
    if (!(score >= 0.5 && score < 5.5))
        return 0;
    return int(std::floor(score + 0.5));
}

// The running sums of a mean: one addition per member, in the order the members come.
struct MeanSums
{
    std::array<ExactSum, MemberTable::ScoresPerMember> sums;
    qsizetype count = 0;

    void add(const MemberTable::AllScores &scores)
    {
        for (std::size_t k = 0; k < sums.size(); ++k)
            sums[k].add(scores[k]);
        ++count;
    }
    MeanScores result() const
    {
        MeanScores means;
        if (count == 0)
            return means;
        for (std::size_t i = 0; i < means.indices.size(); ++i)
            means.indices[i] = sums[i].mean(count);
        for (std::size_t s = 0; s < means.items.size(); ++s)
            means.items[s] = sums[Resource::IndexCount + s].mean(count);
        return means;
    }
};

// Whether each statement is worded negatively, looked up once for the spread's loop.
const std::array<bool, Resource::StatementCount> &reversedStatements()
{
    static const std::array<bool, Resource::StatementCount> reversed = [] {
        std::array<bool, Resource::StatementCount> marks{};
        for (int s = 1; s <= Resource::StatementCount; ++s)
            marks[std::size_t(s - 1)] = Questionnaire::isReversed(s);
        return marks;
    }();
    return reversed;
}

// The running sums of a spread, member after member.
struct SpreadSums
{
    std::array<Running, Resource::IndexCount> indices;
    std::array<Running, Resource::TraitCount> traits;
    std::array<Running, Resource::StatementCount> items;
    std::array<std::array<qsizetype, 5>, Resource::StatementCount> answers{};

    const std::array<bool, Resource::StatementCount> &reversed = reversedStatements();

    void add(const MemberTable::AllScores &scores)
    {
        for (std::size_t i = 0; i < indices.size(); ++i)
            indices[i].add(scores[i]);
        for (std::size_t t = 0; t < traits.size(); ++t) {
            // As Scoring::deriveScores forms a trait score.
            double sum = 0.0;
            sum += scores[3 * t];
            sum += scores[3 * t + 1];
            sum += scores[3 * t + 2];
            traits[t].add(sum / 3.0);
        }
        for (std::size_t s = 0; s < items.size(); ++s) {
            const double score = scores[Resource::IndexCount + s];
            items[s].add(score);
            // The answer given: a negatively worded statement scores 6 - answer, so answer = 6 - score.
            if (const int answer = answerFor(score))
                ++answers[s][std::size_t(reversed[s] ? 5 - answer : answer - 1)];
        }
    }
    Spread result() const
    {
        Spread spread;
        for (std::size_t i = 0; i < indices.size(); ++i)
            indices[i].into(spread.indices[i]);
        for (std::size_t t = 0; t < traits.size(); ++t)
            traits[t].into(spread.traits[t]);
        for (std::size_t s = 0; s < items.size(); ++s) {
            items[s].into(spread.items[s]);
            spread.items[s].answers = answers[s];
        }
        return spread;
    }
};

template <typename Sums>
auto overMembers(const MemberTable &table, const QList<qsizetype> &members)
{
    Sums sums;
    MemberTable::AllScores scores;
    forMembers(table, members, [&](qsizetype k) {
        table.allScores(k, scores);
        sums.add(scores);
    });
    return sums.result();
}

// The segment of every member, or nothing when a member is in more than one segment or a segment's
// members are not in table order: then a single pass would add them in another order than
// mean(table, members) and spread(table, members) do.
std::optional<std::vector<int>> segmentOfMembers(const MemberTable &table, const QList<Segment> &segments)
{
    std::vector<int> segmentOf(std::size_t(table.size()), -1);
    for (qsizetype g = 0; g < segments.size(); ++g) {
        qsizetype previous = -1;
        for (qsizetype k : segments[g].members) {
            if (k <= previous || k < 0 || k >= table.size() || segmentOf[std::size_t(k)] >= 0)
                return std::nullopt;
            segmentOf[std::size_t(k)] = int(g);
            previous = k;
        }
    }
    return segmentOf;
}

// Every segment's sums in one pass over the table: the table is read once, in its own order, and
// each segment's members are still added in that order.
template <typename Sums>
auto overSegments(const MemberTable &table, const QList<Segment> &segments)
{
    using Result = decltype(Sums().result());
    QList<Result> results;
    results.reserve(segments.size());
    const std::optional<std::vector<int>> segmentOf = segmentOfMembers(table, segments);
    if (!segmentOf) {
        for (const Segment &segment : segments)
            results.append(segment.members.isEmpty() ? Result() : overMembers<Sums>(table, segment.members));
        return results;
    }
    std::vector<Sums> sums(std::size_t(segments.size()));
    MemberTable::AllScores scores;
    for (qsizetype k = 0; k < table.size(); ++k) {
        const int g = (*segmentOf)[std::size_t(k)];
        if (g < 0)
            continue;
        table.allScores(k, scores);
        sums[std::size_t(g)].add(scores);
    }
    for (const Sums &segment : sums)
        results.append(segment.result());
    return results;
}

} // namespace

MeanScores mean(const MemberTable &table, const QList<qsizetype> &members)
{
    return overMembers<MeanSums>(table, members);
}

QList<MeanScores> means(const MemberTable &table, const QList<Segment> &segments)
{
    return overSegments<MeanSums>(table, segments);
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
    const auto field = by == SplitBy::Folder ? MemberTable::File : MemberTable::Field(MemberTable::Info1 + int(by) - int(SplitBy::Info1));
    // Keyed by the folded name, so that "Отдел продаж" and "отдел продаж" are one department; the
    // segment keeps the spelling of its first member. A department's members mostly carry the same
    // bytes: each distinct text is decoded and folded once, and the members are found by their bytes
    // as the table holds them (windows-1251 and UTF-8 apart), which stay put while this runs.
    QList<Segment> found;
    QMap<QString, qsizetype> byName;
    std::array<std::unordered_map<std::string_view, qsizetype>, 2> byBytes; // windows-1251, UTF-8
    for (qsizetype k = 0; k < table.size(); ++k) {
        bool utf8 = false;
        QByteArrayView bytes = table.storedText(k, field, &utf8);
        if (by == SplitBy::Folder) {
            // The department: the file's name up to its first '/' (the same byte in both encodings);
            // folders inside a department belong to it.
            const qsizetype slash = bytes.indexOf('/');
            bytes = slash < 0 ? QByteArrayView() : bytes.first(slash);
        }
        auto &known = byBytes[utf8 ? 1 : 0];
        const std::string_view key(bytes.data(), std::size_t(bytes.size()));
        auto position = known.find(key);
        if (position == known.end()) {
            QString name = utf8 ? QString::fromUtf8(bytes) : Cp1251::decode(bytes);
            if (by != SplitBy::Folder)
                name = name.trimmed();
            const QString folded = name.toCaseFolded();
            auto named = byName.constFind(folded);
            if (named == byName.cend()) {
                named = byName.insert(folded, found.size());
                found.append({name, {}});
            }
            position = known.emplace(key, *named).first;
        }
        found[position->second].members.append(k);
    }
    QList<Segment> segments;
    segments.reserve(found.size());
    for (qsizetype position : std::as_const(byName))
        segments.append(std::move(found[position]));
    return segments;
}

int answerOf(double score)
{
    return answerFor(score);
}

Spread spread(const MemberTable &table, const QList<qsizetype> &members)
{
    return overMembers<SpreadSums>(table, members);
}

QList<Spread> spreads(const MemberTable &table, const QList<Segment> &segments)
{
    return overSegments<SpreadSums>(table, segments);
}

} // namespace GroupArithmetic
