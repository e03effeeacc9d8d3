#pragma once
// The group profile: the arithmetic mean of the scores of every result file in one folder.

#include "Resource.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

struct GroupProfile
{
    int memberCount = 0;
    QStringList memberNames;         // line 2 of every member, in reading order
    std::array<double, Resource::IndexCount> indexScores{};
    std::array<double, Resource::StatementCount> itemScores{};
    QString lastPlainText;           // the plaintext of the last member read

    // "Состав группы:" and one line per member, the hint of the group.
    QString hint() const;
};

struct GroupOutcome
{
    std::optional<GroupProfile> group;
    QString error;     // set when a member failed or the folder holds no result file
    bool cancelled = false;

    bool ok() const { return group.has_value(); }
};

namespace Group {

// The folder part of a chosen file name, up to and including its last separator.
QString folderOf(const QString &chosenFile);

// The result files of a folder: every file whose name ends in ".cry" in any letter case, hidden and
// system files included, sorted by file name so that the member list and the sums are reproducible.
QStringList memberFiles(const QString &folder);

// Called after each member with the number read so far and the total; returning false cancels.
using Progress = std::function<bool(int done, int total)>;

// Reads every member and forms the means: one addition per member in file-name order, then one
// division per score. A member that cannot be read ends the build with its message and, on a second
// line, the member's file name.
GroupOutcome build(const QString &folder, const Progress &progress = {});

QString emptyFolderMessage(const QString &folder);

} // namespace Group
