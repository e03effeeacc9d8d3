#pragma once
// The files the exports write: picture names, JPEG pictures and the analysis text.

#include <QImage>
#include <QString>

namespace Exports {

// The folder the save dialogs propose: "Results" beside the program (appDir ends with a separator)
// where it exists and can be written, else the user's documents folder, as for an installed copy
// whose program folder belongs to the system.
QString resultsFolder(const QString &appDir);

// A chosen picture name whose last four characters are not exactly ".jpg" gets ".jpg" appended
// (the test is case-sensitive, so "x.JPG" becomes "x.JPG.jpg").
QString jpegFileName(const QString &chosen);

// The analysis as written: windows-1251, CR LF line ends, no byte-order mark; characters that the
// code page cannot hold become '?'.
QByteArray analysisBytes(const QString &memoText);

// Replaces path with data only once all of it is written; on failure the old file stays as it was.
// Returns an empty string on success, else "Cannot create file <path>" and the reason.
QString replaceFile(const QString &path, const QByteArray &data);

QString writePicture(const QString &path, const QImage &picture);
QString writeAnalysis(const QString &path, const QString &memoText);

} // namespace Exports
