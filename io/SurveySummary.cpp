#include "SurveySummary.h"

#include "SegmentsTable.h"

#include <QCoreApplication>

#include <cmath>
#include <limits>
#include <vector>

namespace SurveySummary {
namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("SurveySummary", text);
}

// The standard deviation of each member's overall mean, per segment: Welford's running sums.
struct Running
{
    qsizetype n = 0;
    double mean = 0.0;
    double squares = 0.0;
    void add(double value)
    {
        ++n;
        const double delta = value - mean;
        mean += delta / double(n);
        squares += delta * (value - mean);
    }
    double deviation() const
    {
        return n > 1 ? std::sqrt(squares / double(n - 1)) : std::numeric_limits<double>::quiet_NaN();
    }
};

Figures figuresOf(qsizetype n, const ProfileScores &scores, double overallMean, const GroupArithmetic::Spread &spread,
                  double overallDeviation)
{
    Figures figures;
    figures.n = n;
    for (int i = 0; i < Resource::IndexCount; ++i) {
        figures.means[std::size_t(FirstIndex + i)] = scores.IndexScores[std::size_t(i)];
        figures.deviations[std::size_t(FirstIndex + i)] = spread.indices[std::size_t(i)].deviation;
    }
    for (int t = 0; t < Resource::TraitCount; ++t) {
        figures.means[std::size_t(FirstTrait + t)] = scores.TraitScores[std::size_t(t)];
        figures.deviations[std::size_t(FirstTrait + t)] = spread.traits[std::size_t(t)].deviation;
    }
    figures.means[Overall] = overallMean;
    figures.deviations[Overall] = overallDeviation;
    for (int s = 0; s < Resource::StatementCount; ++s) {
        figures.means[std::size_t(FirstStatement + s)] = scores.ItemScores[std::size_t(s)];
        figures.deviations[std::size_t(FirstStatement + s)] = spread.items[std::size_t(s)].deviation;
    }
    return figures;
}

QString captionOf(GroupArithmetic::SplitBy by, const Questionnaire::Captions &captions)
{
    if (by == GroupArithmetic::SplitBy::Folder)
        return QStringLiteral("Подпапка");
    return captions[std::size_t(int(by) - int(GroupArithmetic::SplitBy::Info1))];
}

} // namespace

QString measureName(int measure)
{
    if (measure < FirstTrait)
        return Resource::indexHeading(measure - FirstIndex + 1);
    if (measure < Overall)
        return Resource::TraitName(measure - FirstTrait + 1);
    if (measure == Overall)
        return QStringLiteral("Общее среднее");
    const int s = measure - FirstStatement + 1;
    return QStringLiteral("%1. %2").arg(s).arg(Resource::StatementText(s));
}

QString splitKey(GroupArithmetic::SplitBy by)
{
    switch (by) {
    case GroupArithmetic::SplitBy::Info1: return QStringLiteral("info1");
    case GroupArithmetic::SplitBy::Info2: return QStringLiteral("info2");
    case GroupArithmetic::SplitBy::Info3: return QStringLiteral("info3");
    case GroupArithmetic::SplitBy::Info4: return QStringLiteral("info4");
    case GroupArithmetic::SplitBy::Folder: return QStringLiteral("folder");
    }
    return QString();
}

NormScores normScores(const Profile &profile)
{
    NormScores scores{};
    for (int i = 0; i < Resource::IndexCount; ++i)
        scores[std::size_t(FirstIndex + i)] = profile.scores.IndexScores[std::size_t(i)];
    for (int t = 0; t < Resource::TraitCount; ++t)
        scores[std::size_t(FirstTrait + t)] = profile.scores.TraitScores[std::size_t(t)];
    scores[Overall] = profile.overallMean;
    return scores;
}

namespace {

bool sameFigures(const Figures &a, const Figures &b)
{
    if (a.n != b.n || a.means != b.means)
        return false;
    for (std::size_t m = 0; m < a.deviations.size(); ++m)
        if (a.deviations[m] != b.deviations[m] && !(std::isnan(a.deviations[m]) && std::isnan(b.deviations[m])))
            return false;
    return true;
}

} // namespace

bool sameSurvey(const Survey &a, const Survey &b)
{
    if (cleanText(a.client) != cleanText(b.client) || a.wave != b.wave || cleanText(a.sector) != cleanText(b.sector)
        || !sameFigures(a.whole, b.whole) || a.segments.size() != b.segments.size())
        return false;
    for (qsizetype k = 0; k < a.segments.size(); ++k) {
        const Segment &x = a.segments[k];
        const Segment &y = b.segments[k];
        if (x.split != y.split || x.caption != y.caption || x.name != y.name || !sameFigures(x.figures, y.figures))
            return false;
    }
    return true;
}

QString cleanText(const QString &text)
{
    // Never a null string: the archive stores "" for none.
    const QString clean = text.simplified();
    return clean.isNull() ? QStringLiteral("") : clean;
}

Outcome<Survey> summarize(const Profile &group, const QString &client, const QDate &wave, const QString &sector,
                          const Questionnaire::Captions &captions, int minimum)
{
    minimum = std::max(minimum, SegmentsTable::LowestMinimum);
    if (!group.group || !group.members)
        return Outcome<Survey>::failed(tr("The archive keeps groups, not single respondents: open a folder as a group."));
    const MemberTable &table = *group.members;
    if (table.size() < minimum)
        return Outcome<Survey>::failed(tr("The group has %1 respondents: the archive keeps groups of at least %2, so that "
                                          "no one's answers can be told from its figures.")
                                           .arg(table.size())
                                           .arg(minimum));
    Survey survey;
    survey.client = cleanText(client);
    survey.wave = wave;
    survey.sector = cleanText(sector);

    // Each member's overall mean, once: the geometric mean of their twelve indices.
    std::vector<double> overall(std::size_t(table.size()));
    Running whole;
    MemberTable::AllScores scores;
    IndexScores indices;
    for (qsizetype k = 0; k < table.size(); ++k) {
        table.allScores(k, scores);
        std::copy_n(scores.begin(), Resource::IndexCount, indices.begin());
        overall[std::size_t(k)] = Scoring::overallMean(indices);
        whole.add(overall[std::size_t(k)]);
    }
    survey.whole = figuresOf(table.size(), group.scores, group.overallMean, GroupArithmetic::spread(table),
                             whole.deviation());

    using GroupArithmetic::SplitBy;
    for (SplitBy by : {SplitBy::Info1, SplitBy::Info2, SplitBy::Info3, SplitBy::Info4, SplitBy::Folder}) {
        // A split into one segment is the whole group again: found before any segment is scored.
        if (GroupArithmetic::split(table, by).size() < 2)
            continue;
        const SegmentsTable::Segments split = SegmentsTable::split(group, by);
        const QList<SegmentsTable::Visibility> shown = SegmentsTable::visibility(split, minimum);
        QList<GroupArithmetic::Segment> parts;
        QList<qsizetype> kept;
        for (qsizetype k = 0; k < split.segments.size(); ++k)
            if (shown[k] == SegmentsTable::Visibility::Shown) {
                parts.append({split.segments[k].name, split.segments[k].members});
                kept.append(k);
            }
        if (parts.isEmpty())
            continue;
        const QList<GroupArithmetic::Spread> spreads = GroupArithmetic::spreads(table, parts);
        for (qsizetype p = 0; p < parts.size(); ++p) {
            const SegmentsTable::Segment &segment = split.segments[kept[p]];
            Running running;
            for (qsizetype member : segment.members)
                running.add(overall[std::size_t(member)]);
            survey.segments.append({splitKey(by), captionOf(by, captions), segment.name,
                                    figuresOf(segment.size(), segment.scores, segment.overallMean, spreads[p],
                                              running.deviation())});
        }
    }
    return survey;
}

} // namespace SurveySummary
