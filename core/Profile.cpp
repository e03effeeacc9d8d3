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

QString ProfileText::questionnaires(qsizetype count)
{
    // One after 1, 21, 31..., but not 11; the paucal form after 2 to 4, 22 to 24..., but not 12 to 14;
    // the genitive plural after everything else.
    const qsizetype tens = count % 100;
    const qsizetype ones = count % 10;
    const char16_t *word = u"анкет";
    if (tens < 11 || tens > 14) {
        if (ones == 1)
            word = u"анкета";
        else if (ones >= 2 && ones <= 4)
            word = u"анкеты";
    }
    return QString::number(count) + u' ' + QString::fromUtf16(word);
}
