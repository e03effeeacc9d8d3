#pragma once
// The analysis text: the header, the summary, then the description of every trait and index with its
// score, the text the memo shows for the right column's "Mean" cell and "Analysis" saves.

#include "Profile.h"

#include <QList>
#include <QStringList>

namespace AnalysisText {

// The header lines are the texts shown (the user may have edited code, name and date); respondents
// is the text of "N анкет". The summary (which spans several lines) is one entry followed by an
// empty line. Trait and index scores have three decimals.
QStringList lines(const RespondentHeader &shown, const QString &respondents, const QString &hint,
                  const ProfileScores &scores);

// The comparison with a reference profile, appended to the analysis while it is on: its name, then
// for every trait, index and the overall mean the profile's score, the reference's and the difference.
QStringList comparisonLines(const ProfileScores &scores, double overallMean, const ProfileScores &reference,
                            double referenceMean, const QString &referenceName);

// The headings among lines(): the numbers of the entries that head a trait or index block.
QList<int> headingLines(const QStringList &lines);

} // namespace AnalysisText
