#pragma once
// The questionnaire as the respondents see it: the statements without their scoring marks, the five
// answers of the agreement scale, the captions of the header fields, and the header row of the answer
// sheet that an online form or a spreadsheet fills. Statements marked " (*)" in the catalogue are
// worded negatively: their answers are scored in reverse (6 - answer).

#include "Resource.h"

#include <QString>
#include <QStringList>

#include <array>

namespace Questionnaire {

constexpr int AnswerCount = 5;
// The longest header text (date, code, name or an information line) that a result file takes.
constexpr int MaxHeaderText = 1000;

// Answer a (1 to 5): "полностью не согласен" ... "полностью согласен".
QString answerWord(int a);
// Statement s (1 to 60) as printed on the questionnaire: without its number and without the mark.
QString statementText(int s);
bool isReversed(int s);
// The score of answer a (1 to 5) to statement s.
constexpr int score(bool reversed, int a) { return reversed ? AnswerCount + 1 - a : a; }
inline int score(int s, int a) { return score(isReversed(s), a); }

// The captions of the four information lines, which the consultant sets.
using Captions = std::array<QString, 4>;
Captions defaultCaptions();
// The captions stored in the user's settings (the questionnaire dialog keeps them), or the defaults.
// The settings file lies in the user's configuration folder, zolk-plot/questionnaire.ini; tests
// switch QStandardPaths to its test mode and never see the user's.
Captions storedCaptions();
bool storeCaptions(const Captions &captions);
// Whether the questionnaire and the answer sheet ask for the respondent's name: an anonymous survey
// leaves the name line out. Kept beside the captions; asked unless the consultant turned it off.
bool storedAsksName();
bool storeAsksName(bool asks);
QString settingsPath();
// The heading of information line n (1 to 4): its caption, or "Информация n" where that is empty
// (result files whose captions are not known).
QString infoCaption(const Captions &captions, int n);

// The header row of the answer sheet: "Дата", "Код", "ФИО" (unless the name is not asked), the four
// captions, then "1. <statement>" ... "60. <statement>".
QStringList sheetHeader(const Captions &captions, bool asksName = true);
// The captions of the first three header fields as the sheet and the questionnaire name them.
QString dateCaption();
QString codeCaption();
QString nameCaption();

// The questionnaire's title and the instruction to the respondent.
QString title();
QStringList instruction();
// The line of thanks below the last statement.
QString thanks();
// The five answers of the scale in one line: "1 — полностью не согласен, ..., 5 — полностью согласен".
QString scaleLine();

} // namespace Questionnaire
