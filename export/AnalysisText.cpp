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

QStringList comparisonLines(const ProfileScores &scores, double overallMean, const ProfileScores &reference,
                            double referenceMean, const QString &referenceName)
{
    const auto line = [](const QString &name, double own, double other) {
        return QStringLiteral("%1: %2; эталон %3; разница %4")
            .arg(name, Scoring::formatFixed(own, 3), Scoring::formatFixed(other, 3), Scoring::differenceText(own - other, 3));
    };
    QStringList lines{QString(), QStringLiteral("Сравнение с эталоном: ") + referenceName};
    for (int t = 1; t <= Resource::TraitCount; ++t) {
        lines << line(Resource::TraitName(t), scores.trait(t), reference.trait(t));
        for (int i = Resource::IndicesPerTrait * (t - 1) + 1; i <= Resource::IndicesPerTrait * t; ++i)
            lines << line(Resource::indexHeading(i), scores.index(i), reference.index(i));
    }
    lines << line(QStringLiteral("Общее среднее"), overallMean, referenceMean);
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
