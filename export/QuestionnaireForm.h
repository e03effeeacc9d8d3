#pragma once
// The blank questionnaire for the respondents: a PdfDocument with the title, the instruction, the header
// fields (date, code, the name unless an anonymous survey leaves it out, and the four information
// lines under the consultant's captions) and the sixty statements in their numbered order, each with
// five boxes for the answers 1 to 5, and a line of thanks at the end. Every page after the first has
// a field for the respondent's code (the pages of one respondent stay together once separated), and
// above the statements on every page stand the five words of the scale. The text is real text in an
// embedded font; no statement is split across two pages; every page is numbered.
// Beside it, the answer sheet's header row as CSV, for an online form or a spreadsheet.

#include "Outcome.h"
#include "Questionnaire.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

class QPagedPaintDevice;

namespace QuestionnaireForm {

Outcome<QByteArray> render(const Questionnaire::Captions &captions, bool asksName = true);
// Writes the questionnaire to path, replacing a file of that name only once all of it is on the disk.
Outcome<> write(const QString &path, const Questionnaire::Captions &captions, bool asksName = true);
// The questionnaire on a paged device set to 72 dots per inch, such as a printer (PdfDocument::paint):
// the given number of copies one after the other, each numbered from its first page.
Outcome<> paint(QPagedPaintDevice &device, const Questionnaire::Captions &captions, bool asksName = true, int copies = 1);

// The answer sheet's template: the header row (Questionnaire::sheetHeader) as CSV with the
// conventions of the scores file (UTF-8 with a byte-order mark, ";" under a decimal-comma locale).
QByteArray sheetTemplate(const Questionnaire::Captions &captions, const QLocale &locale = QLocale(), bool asksName = true);
Outcome<> writeSheetTemplate(const QString &path, const Questionnaire::Captions &captions, const QLocale &locale = QLocale(),
                             bool asksName = true);

} // namespace QuestionnaireForm
