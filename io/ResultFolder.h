#pragma once
// The result files of a folder, the members of a group: every entry named "*.cry" in any letter
// case, hidden and system files included (a folder of such a name too: it cannot be read and stops
// the group with its name, rather than being left out unseen), sorted by name. A folder that holds no
// result file of its own but sub-folders that do is a group of departments: the members are the
// result files of its sub-folders, each named with its sub-folder ("Отдел 1/a.cry"). Departments may
// nest: a department is the first level below the group, and the result files of the folders inside
// it, at any depth, are its members ("Отдел 1/Группа А/b.cry"). Hidden folders are never read (an
// import cut short leaves its files in one); a folder that cannot be listed is named, never passed
// over in silence.
//
// On Linux the folder is listed with the system's own bytes: a name that is not valid UTF-8 (a
// windows-1251 or cp866 name from an archive made on Windows) is still a member, shown readably.

#include <QByteArray>
#include <QList>
#include <QString>

// A member, named relative to the group's folder: readable, and in the system's own bytes (Linux;
// empty where names are Unicode), by which it is opened.
struct FolderEntry
{
    QString name;
    QByteArray native;
};

// A folder of the group that could not be listed: its members are unknown.
struct UnreadableFolder
{
    QString name;    // relative to the group's folder, with a trailing '/'; empty for the group's folder
    QString message; // "Cannot read the folder …" and why
};

// The members of a folder; the folder is kept once, not with every member.
struct FolderListing
{
    QString folder;          // with its trailing separator, readable
    QByteArray nativeFolder; // the same in the system's own bytes (Linux)
    QList<FolderEntry> entries;
    QList<UnreadableFolder> unreadable;

    // The whole path of a member, readable (for messages), and in the system's bytes.
    QString path(const FolderEntry &entry) const { return folder + entry.name; }
    QByteArray nativePath(const FolderEntry &entry) const { return entry.native.isEmpty() ? QByteArray() : nativeFolder + entry.native; }
};

namespace ResultFolder {

// The folder part of a chosen file name, up to and including its last separator.
QString folderOf(const QString &chosenFile);

FolderListing members(const QString &folder);

// A file name in the system's bytes, readable: UTF-8 where it is valid, else windows-1251 or cp866,
// whichever reads as more Russian letters.
QString readableName(QByteArrayView bytes);

QString emptyFolderMessage(const QString &folder);
QString unreadableFolderMessage(const QString &folder, const QString &why);

} // namespace ResultFolder
