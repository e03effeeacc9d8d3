#include "Profile.h"

QString Profile::hint() const
{
    if (!group)
        return header.infoText();
    QString text = ProfileText::groupHintTitle();
    for (qsizetype k = 0; k < respondentCount(); ++k)
        text += QStringLiteral("\r\n") + members->name(k);
    return text;
}

void Profile::setScores(const IndexScores &indices, const ItemScores &items)
{
    scores.IndexScores = indices;
    scores.ItemScores = items;
    overallMean = Scoring::deriveScores(scores);
}
