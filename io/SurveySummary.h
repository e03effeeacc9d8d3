#pragma once
// What the survey archive keeps of a group: aggregates only. For the whole group and for each
// segment that the anonymity rule shows (by each of the four information lines and by sub-folder),
// the number of respondents and the mean and sample standard deviation of the twelve indices, the
// four traits, the overall mean and the sixty statements. Nothing that identifies a person: no file,
// code, name or date of a respondent, no member's scores; a segment that the rule hides is not kept
// at all, and a group smaller than the threshold is not kept either (its figures would be those of
// a few people).

#include "GroupArithmetic.h"
#include "Outcome.h"
#include "Profile.h"
#include "Questionnaire.h"

#include <QDate>
#include <QList>
#include <QString>

#include <array>

namespace SurveySummary {

// The measures of a segment, in this order: the 12 indices, the 4 traits, the overall mean, the 60
// statements. The first NormMeasures are the ones that norms and trends compare.
constexpr int FirstIndex = 0;
constexpr int FirstTrait = FirstIndex + Resource::IndexCount;
constexpr int Overall = FirstTrait + Resource::TraitCount;
constexpr int FirstStatement = Overall + 1;
constexpr int MeasureCount = FirstStatement + Resource::StatementCount;
constexpr int NormMeasures = FirstStatement;

// The measure's name: the index title, the trait name, "Общее среднее" or "12. <statement>".
QString measureName(int measure);

using Values = std::array<double, MeasureCount>;
using NormScores = std::array<double, NormMeasures>;

struct Figures
{
    qsizetype n = 0;
    Values means{};
    // Sample standard deviations (n - 1); NaN where unknown (fewer than two members).
    Values deviations{};
};

// What a split is stored as: "info1".."info4", "folder"; "" for the whole group.
QString splitKey(GroupArithmetic::SplitBy by);

struct Segment
{
    QString split;   // splitKey
    QString caption; // the information line's caption, or "Подпапка"
    QString name;    // the segment's label as the segments table shows it
    Figures figures;
};

struct Survey
{
    QString client;
    QDate wave;
    QString sector; // empty: none given
    Figures whole;
    QList<Segment> segments; // shown segments only, split after split

    qsizetype respondents() const { return whole.n; }
};

// The scores that a norm compares: the profile's indices, traits and overall mean.
NormScores normScores(const Profile &profile);

// The survey of a group: the whole group and each segment that the segments table would show at
// the anonymity threshold minimum. Refused (with the reason) for a single respondent and for a
// group of fewer than minimum members.
Outcome<Survey> summarize(const Profile &group, const QString &client, const QDate &wave, const QString &sector,
                          const Questionnaire::Captions &captions, int minimum);

// True where two surveys hold the same figures (standard deviations unknown in both count as the same).
bool sameSurvey(const Survey &a, const Survey &b);

// A client's name or sector as stored: spaces at the ends taken off, runs of spaces made one.
QString cleanText(const QString &text);

} // namespace SurveySummary
