#include "ReportTablePages.h"

#include "CirclePicture.h"
#include "Scoring.h"

#include <QPainter>

#include <cmath>

namespace {

QString cellText(const TableCell &cell, const QString &column)
{
    if (cell.kind == TableCell::Kind::Text)
        return cell.text;
    if (cell.kind != TableCell::Kind::Number || !std::isfinite(cell.number))
        return QString();
    if (column == QLatin1String("p"))
        return cell.number < 0.001 ? QStringLiteral("< 0,001") : Scoring::formatFixed(cell.number, 3);
    if (cell.number == std::floor(cell.number) && std::fabs(cell.number) < 1e9)
        return QString::number(qlonglong(cell.number));
    return Scoring::formatFixed(cell.number, 2);
}

} // namespace

void ReportTablePages::drawPage(ReportCanvas &canvas, int k)
{
    const ReportTablePage &page = canvas.input().tablePages[k];
    const qreal top = canvas.pageHeading(page.title);
    drawFigures(canvas, QRectF(canvas.body().left(), top, canvas.body().width(), canvas.bottom() - top), page);
}

void ReportTablePages::drawFigures(ReportCanvas &canvas, const QRectF &area, const ReportTablePage &page)
{
    QPainter &painter = canvas.painter();
    qreal y = area.top();
    const int rows = int(page.table.rowCount) + 1;
    constexpr qreal Row = 14.0;
    if (page.circle) {
        // The circle takes what the table and the note leave, at most 60 % of the width.
        const qreal free = area.height() - Row * rows - 40;
        const qreal width = std::min(area.width() * 0.6, free * CirclePicture::PanelWidth / CirclePicture::PanelHeight);
        if (width > 80) {
            const qreal height = width * CirclePicture::PanelHeight / CirclePicture::PanelWidth;
            painter.save();
            painter.translate(area.left() + (area.width() - width) / 2, y);
            painter.scale(width / CirclePicture::PanelWidth, height / CirclePicture::PanelHeight);
            NormCirclePicture::draw(painter, *page.circle, page.norm);
            painter.restore();
            y += height + 8;
        }
    }
    const int columns = int(page.table.columns.size());
    if (columns == 0)
        return;
    const QFont bodyFont = canvas.font(8);
    const QFont headFont = canvas.font(7.5, true);
    // Each other column as wide as its widest text; the first takes the rest.
    QList<QList<QString>> texts;
    QList<TableCell> cells;
    for (qsizetype r = 0; r < page.table.rowCount; ++r) {
        cells = QList<TableCell>(columns);
        page.table.fillRow(r, cells);
        QList<QString> line;
        for (int c = 0; c < columns; ++c)
            line << cellText(cells[c], page.table.columns[c]);
        texts << line;
    }
    const QFontMetricsF body = canvas.metrics(bodyFont);
    const QFontMetricsF head = canvas.metrics(headFont);
    QList<qreal> widths(columns, 0.0);
    for (int c = 1; c < columns; ++c) {
        widths[c] = head.horizontalAdvance(page.table.columns[c]) + 8;
        for (const QList<QString> &line : std::as_const(texts))
            widths[c] = std::max(widths[c], body.horizontalAdvance(line[c]) + 8);
    }
    qreal others = 0;
    for (int c = 1; c < columns; ++c)
        others += widths[c];
    widths[0] = std::max(area.width() - others, area.width() * 0.25);
    const qreal scale = std::min(1.0, area.width() / (widths[0] + others));
    const auto drawRow = [&](const QList<QString> &line, const QFont &f, bool header) {
        if (header)
            painter.fillRect(QRectF(area.left(), y, area.width(), Row), ReportCanvas::HeaderFill);
        qreal x = area.left();
        const QFontMetricsF m = canvas.metrics(f);
        for (int c = 0; c < columns; ++c) {
            const qreal w = widths[c] * scale;
            const QRectF cell(x + 3, y, w - 6, Row);
            canvas.text(cell, (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                        m.elidedText(line[c], Qt::ElideRight, cell.width()), f);
            x += w;
        }
        painter.setPen(QPen(ReportCanvas::LightRule, 0.5));
        painter.drawLine(QPointF(area.left(), y + Row), QPointF(area.right(), y + Row));
        y += Row;
    };
    drawRow(page.table.columns, headFont, true);
    for (const QList<QString> &line : std::as_const(texts)) {
        if (y + Row > area.bottom())
            break;
        drawRow(line, bodyFont, false);
    }
    if (!page.note.isEmpty())
        canvas.text(QRectF(area.left(), y + 4, area.width(), std::max<qreal>(0, area.bottom() - y - 4)),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, page.note, canvas.font(7.5), ReportCanvas::Muted);
}
