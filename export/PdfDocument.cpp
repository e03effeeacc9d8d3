#include "PdfDocument.h"

#include "FileOutput.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace PdfDocument {
namespace {

QString tr(const char *text) { return QCoreApplication::translate("PdfDocument", text); }

// The footer: the page's number of all, centred under the body in small grey print.
void drawFooter(QPainter &painter, const QRectF &page, int number, int count)
{
    const QRectF body = bodyRect(page);
    painter.save();
    painter.setFont(font(8.5));
    painter.setPen(QColor(95, 95, 95));
    painter.drawText(QRectF(body.left(), body.bottom() + 8, body.width(), FooterHeight - 8), Qt::AlignHCenter | Qt::AlignBottom,
                     QStringLiteral("Стр. %1 из %2").arg(number).arg(count));
    painter.restore();
}

} // namespace

QFont font(qreal points, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QRectF bodyRect(const QRectF &page)
{
    return page.adjusted(Margin, Margin, -Margin, -Margin - FooterHeight);
}

Outcome<> paint(QPagedPaintDevice &device, Content &content, int copies)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(0, 0, 0, 0));
    if (device.logicalDpiX() != Resolution || device.logicalDpiY() != Resolution)
        return Outcome<>::failed(tr("The document is laid out in points: the device must work at 72 dots per inch."));
    const QRectF page(0, 0, device.width(), device.height());
    const int count = content.layOut(&device, page, bodyRect(page));
    QPainter painter;
    if (!painter.begin(&device))
        return Outcome<>::failed(tr("The PDF writer could not start."));
    for (int copy = 0; copy < std::max(copies, 1); ++copy) {
        for (int k = 0; k < count; ++k) {
            if (copy > 0 || k > 0)
                device.newPage();
            painter.save();
            content.drawPage(painter, k);
            painter.restore();
            drawFooter(painter, page, k + 1, count);
        }
    }
    if (!painter.end())
        return Outcome<>::failed(tr("The PDF writer could not finish."));
    return {};
}

Outcome<QByteArray> render(Content &content, const QString &title)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(Resolution);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("ZOLK Plot"));
        if (const Outcome<> painted = paint(writer, content); !painted)
            return painted.failure();
    }
    return buffer.data();
}

Outcome<> write(const QString &path, Content &content, const QString &title)
{
    const Outcome<QByteArray> pdf = render(content, title);
    if (!pdf)
        return Outcome<>::failed(FileOutput::cannotCreateMessage(path) + u'\n' + pdf.message());
    return FileOutput::write(path, *pdf);
}

} // namespace PdfDocument
