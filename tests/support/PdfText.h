#pragma once
// PDFs read back as their reader sees them, with poppler's tools (Debian: poppler-utils): the text in
// reading order or as laid out, page by page, the page count, and a page as a picture. What the
// tools said on stderr is collected: a PDF that a reader cannot read in full makes them complain
// ("Syntax Error ...") and still succeed.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

namespace PdfText {

// True when pdftotext, pdfinfo and pdftoppm are all here.
bool available();
// The text of the whole PDF, every run of blanks and line breaks one blank: in reading order, or
// line by line as laid out on the page (where a label and its value share a line).
enum class Order { Reading, Layout };
QString words(const QString &pdf, Order order = Order::Reading);
// The text of every page, as pdftotext separates them.
QStringList pages(const QString &pdf);
// The lines of page p (from 1) as laid out, trimmed, without empty ones.
QStringList pageLines(const QString &pdf, int p);
int pageCount(const QString &pdf);
// Page p (from 1) at the given dots per inch.
QImage pagePicture(const QString &pdf, int p, int dpi);
// Output of pdffonts, pdfimages -list or another poppler tool.
QByteArray run(const char *tool, const QStringList &arguments);

// What the tools complained of since the last call, and forgets it.
QByteArray takeComplaints();

} // namespace PdfText
