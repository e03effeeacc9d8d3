#pragma once
// The files the exports write: proposed names, JPEG pictures and the analysis text.

#include "FileNames.h"
#include "Outcome.h"
#include "Profile.h"

#include <QImage>
#include <QString>

namespace Exports {

// The folder the save dialogs propose: "Results" beside the program (appDir ends with a separator)
// where it exists and can be written, else the user's documents folder, as for an installed copy
// whose program folder belongs to the system.
QString resultsFolder(const QString &appDir);

// A proposed file name in folder: prefix, the code and extension. The code comes from a file or the
// user: characters that a file name cannot hold or that would lead out of the folder ("/", "\",
// "..", ":" and the like) become "_".
QString proposedName(const QString &folder, const QString &prefix, const QString &code, const QString &extension);
// What a proposed file name says of the profile: a respondent's code and name; a group's name as
// shown (a segment's) or else its folder's name. Never the group's placeholder code; a safe stem.
QString profileStem(const Profile &profile);
inline QString cleanedCode(const QString &code) { return FileNames::cleanedCode(code); }

// A chosen picture name whose last four characters are not exactly ".jpg" gets ".jpg" appended
// (the test is case-sensitive, so "x.JPG" becomes "x.JPG.jpg").
QString jpegFileName(const QString &chosen);
// The name with extension (".pdf", ".csv", ".xlsx") appended unless it ends with it in any case.
QString withExtension(const QString &chosen, const QString &extension);

// The analysis as written: windows-1251, CR LF line ends, no byte-order mark; characters that the
// code page cannot hold become '?'.
QByteArray analysisBytes(const QString &memoText);
// The characters of text that windows-1251 cannot hold, each once, in order of appearance.
QString unencodableCharacters(const QString &text);

Outcome<> writePicture(const QString &path, const QImage &picture);
Outcome<> writeAnalysis(const QString &path, const QString &memoText);

} // namespace Exports
