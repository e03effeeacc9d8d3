#pragma once
// The group profile: the arithmetic mean of the scores of every result file in one folder.

#include "Resource.h"
#include "ResultFile.h"

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
    // Every member as read (without its plaintext) and its file name, in reading order: the rows of
    // the scores export.
    QList<ResultRecord> members;
    QStringList memberFiles;

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

// The result files of a folder: every entry whose name ends in ".cry" in any letter case, hidden and
// system files included (a folder of such a name too, which then cannot be opened), sorted by file
// name so that the member list and the sums are reproducible.
QStringList memberFiles(const QString &folder);

// Called with the number of members read so far and the total, at least every 64 members or 50 ms
// and after the last one; returning false cancels.
using Progress = std::function<bool(int done, int total)>;

// Reads every member and forms the means: one addition per member in file-name order, then one
// division per score. A member that cannot be read ends the build with its message, which names the
// member's file (on a second line where the reader's message does not).
GroupOutcome build(const QString &folder, const Progress &progress = {});

// Reads the members named (file names in folder) on helper threads and hands each to take in the
// order given, with its full path; take returns false to stop. Only the last member keeps its
// plaintext when keepLastPlainText. Whatever a reading throws becomes that member's error.
using MemberTake = std::function<bool(int member, const QString &path, ReadOutcome &&outcome)>;
void readMembers(const QString &folder, const QStringList &names, const MemberTake &take, bool keepLastPlainText = false);

QString emptyFolderMessage(const QString &folder);

} // namespace Group
