#pragma once
// The folder each kind of file dialog starts in: where its last answer lay, kept in the user's
// settings (ZOLK/zolk-plot.ini, group "Folders"), so that a consultant who keeps a company's files
// together finds them again the next day. A remembered folder that has gone gives way to the default.

#include <QString>

namespace RecentFolders {

// The kinds of dialog, each with a folder of its own.
inline QString data() { return QStringLiteral("Data"); }
inline QString group() { return QStringLiteral("Group"); }
inline QString pictures() { return QStringLiteral("Pictures"); }
inline QString reports() { return QStringLiteral("Reports"); }
inline QString tables() { return QStringLiteral("Tables"); }
inline QString texts() { return QStringLiteral("Texts"); }
inline QString answerSheets() { return QStringLiteral("AnswerSheets"); }

// Where a dialog of the kind starts: the folder remembered while it exists, else fallback.
QString start(const QString &kind, const QString &fallback);
// Remembers where a dialog's answer lies: the folder of a file, or a folder itself (ending with '/').
void remember(const QString &kind, const QString &chosen);

} // namespace RecentFolders
