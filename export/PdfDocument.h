#pragma once
// PdfDocument is the one way the program makes a paged document: A4 portrait, one unit of the page
// one point (72 dots per inch), a body within fixed margins above the footer "Стр. X из Y" on every
// page, text in one embedded family, and a file written whole or not at all. The report and the
// questionnaire are Contents: laid out once, so that the page count is known, then drawn page by
// page. The same Content paints on any paged device, a printer as well as the PDF writer.

#include "Outcome.h"

#include <QByteArray>
#include <QFont>
#include <QRectF>
#include <QString>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace PdfDocument {

// Everything is measured in points of the page.
constexpr int Resolution = 72;
constexpr qreal Margin = 42;
constexpr qreal FooterHeight = 22;

// The family of every text of a document (embedded in the PDF), at a size in points.
QFont font(qreal points, bool bold = false);

// What goes on the pages.
class Content
{
public:
    virtual ~Content() = default;
    // Lays the content out for device within the body of a page and returns how many pages it
    // takes (at least one). Text is measured on device, so that what is laid out is what is drawn.
    virtual int layOut(QPaintDevice *device, const QRectF &page, const QRectF &body) = 0;
    // Draws page k (0 to count - 1) of what layOut() counted; the footer is drawn after it.
    virtual void drawPage(QPainter &painter, int k) = 0;
};

// The body of a page: the page within the margins, above the footer.
QRectF bodyRect(const QRectF &page);

// Sets device up as an A4 portrait page without margins at Resolution dots per inch, lays content
// out once and paints every page on it with its footer, the given number of copies one after the
// other (for a printer that cannot make copies itself). A printer given here must print at
// Resolution dots per inch (QPrinter::setResolution), as the content is measured in points.
Outcome<> paint(QPagedPaintDevice &device, Content &content, int copies = 1);
// The document as a PDF, with title as its title.
Outcome<QByteArray> render(Content &content, const QString &title);
// Writes the PDF to path, replacing a file of that name only once all of it is on the disk.
Outcome<> write(const QString &path, Content &content, const QString &title);

} // namespace PdfDocument
