#include "AnalysisText.h"

#include "Resource.h"

namespace AnalysisText {

QStringList lines(const RespondentHeader &shown, const QString &respondents, const QString &hint,
                  const ProfileScores &scores)
{
    QStringList lines;
    lines << shown.code << shown.name << shown.date << QStringLiteral("N анкет = ") + respondents
          << hint + QStringLiteral("\r\n");
    for (int n = 1; n <= Resource::DescriptionLineCount; ++n) {
        QString line = Resource::DescriptionLine(n);
        if (Resource::isDescriptionHeading(n)) {
            const Resource::DescriptionBlock block = Resource::descriptionBlockOf(n);
            const double score = block.index == 0 ? scores.trait(block.trait) : scores.index(block.index);
            line += QStringLiteral(" [") + Scoring::formatFixed(score, 3) + u']';
        }
        lines << line;
    }
    return lines;
}

QList<int> headingLines(const QStringList &lines)
{
    QList<int> headings;
    const qsizetype first = lines.size() - Resource::DescriptionLineCount;
    for (int n = 1; n <= Resource::DescriptionLineCount; ++n)
        if (Resource::isDescriptionHeading(n))
            headings << int(first + n - 1);
    return headings;
}

} // namespace AnalysisText
