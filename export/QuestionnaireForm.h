#pragma once
// The blank questionnaire for the respondents: a PdfDocument with the title, the instruction, the
// header fields (date, code, name and the four information lines under the consultant's captions) and
// the sixty statements in their numbered order, each with five boxes for the answers 1 to 5. The text
// is real text in an embedded font; no statement is split across two pages; every page is numbered.
// Beside it, the answer sheet's header row as CSV, for an online form or a spreadsheet.

#include "Outcome.h"
#include "Questionnaire.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

namespace QuestionnaireForm {

Outcome<QByteArray> render(const Questionnaire::Captions &captions);
// Writes the questionnaire to path, replacing a file of that name only once all of it is on the disk.
Outcome<> write(const QString &path, const Questionnaire::Captions &captions);

// The answer sheet's template: the header row (Questionnaire::sheetHeader) as CSV with the
// conventions of the scores file (UTF-8 with a byte-order mark, ";" under a decimal-comma locale).
QByteArray sheetTemplate(const Questionnaire::Captions &captions, const QLocale &locale = QLocale());
Outcome<> writeSheetTemplate(const QString &path, const Questionnaire::Captions &captions, const QLocale &locale = QLocale());

} // namespace QuestionnaireForm
