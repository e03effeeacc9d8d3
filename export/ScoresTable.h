#pragma once
// The scores of loaded profiles as a table for a spreadsheet: one row per respondent and, after a
// group's members, a marked row with the group's mean. Columns: the file, code, name, date, the four
// information lines, the twelve indices and four traits, the overall mean and the sixty statements;
// scores in full precision, not rounded.

#include "Profile.h"
#include "Questionnaire.h"
#include "Table.h"

#include <QList>
#include <QString>

namespace ScoresTable {

struct Section
{
    Profile profile;   // a respondent or a group, with the header as shown (the user may edit it)
    QString folder;    // put before each member's file name, to tell apart files of several folders
};

// The header row: Russian words, the information lines under their captions where known (else
// "Информация N"), the indices under their full titles.
QList<QString> columns(const Questionnaire::Captions &captions = {});
// reference, when given, adds a marked last row with its scores, headed "Эталон: " and its name.
Table table(QList<Section> sections, const Profile *reference = nullptr, const QString &referenceName = QString(),
            const Questionnaire::Captions &captions = {});

// The file column of a group's row.
QString groupRowLabel(const QString &folder);

} // namespace ScoresTable
