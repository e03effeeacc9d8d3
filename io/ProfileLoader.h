#pragma once
// Loads a profile: one result file, or every result file of a folder as a group. The group's scores
// are the means of its members' (GroupArithmetic::mean); its header is "0000", the date of the
// build, "Группа".

#include "GroupRepeats.h"
#include "Outcome.h"
#include "Profile.h"
#include "ResultFile.h"

#include <QList>
#include <QString>

#include <functional>

namespace ProfileLoader {

// Called with the number of members read so far and the total, at least every 64 members or 50 ms
// and after the last one; returning false cancels the build.
using Progress = std::function<bool(qsizetype done, qsizetype total)>;

struct FolderOptions
{
    QByteArray key = ResultFile::keyBytes();
    Progress progress;
    // Reads on after a member that cannot be read and leaves it out, naming it in the result; the
    // build fails only when no member can be read. Otherwise the first such member ends the build.
    bool leaveOutBad = false;
};

struct LeftOut
{
    QString file;    // the member's name within the group's folder
    QString message; // why it could not be read
};

struct GroupLoad
{
    Profile profile;
    QList<LeftOut> leftOut; // only with leaveOutBad
    // Members left out because they repeat another (each respondent counts once), and codes that
    // several different members carry; GroupRepeats::message tells the user.
    GroupRepeats::Found repeats;
};

// A group read on its own, and its name relative to the folder of a joined group ("" for that folder).
struct GroupPart
{
    GroupLoad load;
    QString relative;
};

Outcome<Profile> loadFile(const QString &path, const QByteArray &key = ResultFile::keyBytes());
// folder: the group's folder; its members as ResultFolder::members lists them.
Outcome<GroupLoad> loadFolder(const QString &folder, const FolderOptions &options = {});

// Several groups as one: the members of each named with its relative folder ("sales/a.cry"), under
// the folder common. A respondent that two of them hold (a folder named twice, or a folder and one of
// its sub-folders) counts once, as within one folder.
GroupLoad joinGroups(QList<GroupPart> parts, const QString &common);

// The profile of a respondent, from a record read elsewhere.
Profile respondentProfile(const QString &path, const ResultRecord &record);
// The group profile of some of a table's members (all when none are given): their means under the
// group's header. name replaces "Группа" (a segment's name).
Profile groupProfile(std::shared_ptr<const MemberTable> members, const QString &source, const QList<qsizetype> &chosen = {},
                     const QString &name = QString());
// One member of a group shown on its own.
Profile memberProfile(const Profile &group, qsizetype member);

// The date a group's header shows: today in the short format of the regional settings.
QString groupDate();

} // namespace ProfileLoader
