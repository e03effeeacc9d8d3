#pragma once
// The loaded profile as data: what the views show, the exports write and zolk-cry prints. A profile
// is one respondent or a group; a group keeps every member (compactly, see MemberTable), so that its
// scores can be written row by row, split into departments and measured for spread.

#include "MemberTable.h"
#include "Scoring.h"

#include <QString>

#include <memory>

struct Profile
{
    // The header the window shows: a respondent's own, or a group's ("0000", the date of the build,
    // "Группа", no information lines).
    RespondentHeader header;
    bool group = false;
    // The file, or the group's folder.
    QString source;
    // The index and statement scores as read or averaged, and the trait scores derived from them.
    ProfileScores scores;
    double overallMean = 0.0;
    // Every respondent of the profile in reading order: one for a file, all members of a group.
    std::shared_ptr<const MemberTable> members;

    qsizetype respondentCount() const { return members ? members->size() : 0; }
    // The summary behind the header's information image: the four information lines of a respondent,
    // "Состав группы:" and one name per member of a group; lines joined with CR LF.
    QString hint() const;
    // Sets the index and statement scores and derives the trait scores and the overall mean.
    void setScores(const IndexScores &indices, const ItemScores &items);
};

namespace ProfileText {

inline QString groupName() { return QStringLiteral("Группа"); }
inline QString groupCode() { return QStringLiteral("0000"); }
inline QString groupHintTitle() { return QStringLiteral("Состав группы:"); }
// A number of questionnaires with the word in its Russian form: "1 анкета", "3 анкеты", "5 анкет",
// "21 анкета", "11 анкет".
QString questionnaires(qsizetype count);

} // namespace ProfileText
