#pragma once
// Writing result files as the survey tool writes them: the plaintext of a respondent in
// windows-1251 with CR LF line ends (line 0 the date, 1 the code, 2 the name, 3-6 the information
// lines, 7 a caption, 8-19 the twelve index scores, 20 a caption, 21-80 the sixty statement scores,
// every score with two decimals and a decimal comma), enciphered into the stored letters.

#include "MemberTable.h"

#include <QByteArray>

namespace ResultWriter {

// A header text as a result-file line: line breaks, tabs and other control characters become
// blanks, so that no text can move the lines below it.
QString headerLine(QStringView text);
// Appends value with two decimals and a decimal comma ("3,40").
void appendScore(QByteArray &plain, double value);
// The plaintext of a respondent.
QByteArray plainBytes(const RespondentHeader &header, const IndexScores &indices, const ItemScores &items);
// The stored letters of the same.
QByteArray storedLetters(const RespondentHeader &header, const IndexScores &indices, const ItemScores &items,
                         const QByteArray &key);

} // namespace ResultWriter
