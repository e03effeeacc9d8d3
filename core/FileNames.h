#pragma once
// File names made from texts of files and users (a respondent's code): nothing in them may lead out
// of the folder or be refused by the file system.

#include <QString>

namespace FileNames {

// The code with every character that a file name cannot hold or that would lead out of the folder
// ("/", "\", "..", ":" and the like) replaced by "_", and without format characters (a right-to-left
// override, zero-width spaces), which would make the name read otherwise than it is.
QString cleanedCode(const QString &code);

// A file name's stem from a code, valid on Windows too: cleanedCode, without trailing dots and
// blanks (Windows drops them), at most MaxStemLength characters, "_" before a device name ("CON",
// "NUL", "COM1" ...), "_" for an empty code.
constexpr int MaxStemLength = 80;
QString stemOf(const QString &code);

} // namespace FileNames
