#include "Report.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QGraphicsScene>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace Report {
namespace {

// Points: the writer works at 72 dots per inch, so one unit is one point of the A4 page.
constexpr int Resolution = 72;
constexpr qreal Margin = 40;
constexpr qreal FooterHeight = 24;

QFont reportFont(qreal points, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void pageNumber(QPainter &painter, const QRectF &page, int number, int count)
{
    painter.setFont(reportFont(9));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(page.left(), page.bottom() - FooterHeight, page.width(), FooterHeight), Qt::AlignCenter,
                     QStringLiteral("Стр. %1 из %2").arg(number).arg(count));
}

// The profile panel scaled into target, its picture as an image and all else as vectors and text.
void drawProfile(QPainter &painter, const ReportContent &content, const QRectF &target)
{
    const qreal scale = target.width() / content.panelSize.width();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    const QRect client(2, 2, content.panelSize.width() - 4, content.panelSize.height() - 4);
    painter.setClipRect(client);
    painter.fillRect(client, Qt::white);
    painter.drawImage(QPoint(2, 2), content.background);
    painter.translate(2, 2);
    painter.setPen(QPen(QColor(255, 0, 255), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    QPolygon polygon;
    for (const QPoint &p : content.vertices)
        polygon << p;
    painter.drawPolygon(polygon);
    for (const QPoint &p : content.vertices)
        painter.fillRect(QRect(p.x() - 1, p.y() - 1, 3, 3), Qt::black);
    painter.translate(-2, -2);
    for (const ReportContent::Text &text : content.panelTexts) {
        painter.setFont(text.font);
        painter.setPen(text.colour);
        const QFontMetrics metrics(text.font);
        painter.drawText(text.position + QPoint(0, metrics.ascent()), text.text);
    }
    painter.restore();
    painter.setPen(QPen(Qt::gray, 0.5));
    painter.drawRect(target);
}

// The grid as the window paints it, a pixel to three quarters of a point.
qreal drawGrid(QPainter &painter, const ReportContent &content, const QPointF &topLeft)
{
    constexpr qreal Scale = 0.75;
    constexpr int RowHeight = 20;
    painter.save();
    painter.translate(topLeft);
    painter.scale(Scale, Scale);
    int y = 0;
    for (const QList<ReportContent::Cell> &row : content.grid) {
        int x = 0;
        for (int c = 0; c < row.size() && c < content.columnWidths.size(); ++c) {
            const ReportContent::Cell &cell = row[c];
            const QRect rect(x, y, content.columnWidths[c], RowHeight);
            painter.fillRect(rect, cell.background);
            QFont font = content.gridFont;
            font.setBold(cell.bold);
            painter.setFont(font);
            painter.setPen(cell.colour);
            painter.drawText(rect.adjusted(0, 2, -6, 0), Qt::AlignRight | Qt::AlignTop, cell.text);
            if (cell.icon)
                painter.drawImage(QPoint(x + (rect.width() - content.headerIcon.width()) / 2, y + 2), content.headerIcon);
            painter.setPen(QPen(QColor(160, 160, 160), 1));
            painter.drawRect(rect);
            x += content.columnWidths[c];
        }
        y += RowHeight;
    }
    painter.restore();
    return y * Scale;
}

void drawChart(QPainter &painter, QGraphicsScene *scene, const QRectF &source, const QRectF &target)
{
    if (!scene)
        return;
    // Scaled as a whole, its proportions kept, so that the chart's texts keep their shapes.
    const qreal scale = std::min(target.width() / source.width(), target.height() / source.height());
    const QRectF fitted(target.topLeft(), source.size() * scale);
    scene->render(&painter, fitted, source);
    painter.setPen(QPen(Qt::gray, 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(fitted);
}

QTextDocument *analysisDocument(const ReportContent &content, qreal width, QObject *parent)
{
    auto *document = new QTextDocument(parent);
    document->setDefaultFont(reportFont(10));
    document->setDocumentMargin(0);
    document->setTextWidth(width);
    QTextCursor cursor(document);
    QTextCharFormat plain;
    plain.setFont(reportFont(10));
    QTextCharFormat heading;
    heading.setFont(reportFont(11, true));
    for (int n = 0; n < content.analysis.size(); ++n) {
        if (n > 0)
            cursor.insertBlock();
        cursor.insertText(content.analysis[n], content.headings.contains(n) ? heading : plain);
    }
    return document;
}

} // namespace

QString pdfFileName(const QString &chosen)
{
    return chosen.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? chosen : chosen + QStringLiteral(".pdf");
}

QString write(const QString &path, const ReportContent &content)
{
    const QString failure = QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure + u'\n' + file.errorString();
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(Resolution);
        writer.setTitle(QStringLiteral("Профиль организационной культуры"));
        writer.setCreator(QStringLiteral("ZOLK Plot"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            return failure;
        }
        const QRectF page(0, 0, writer.width(), writer.height());
        const QRectF body = page.adjusted(Margin, Margin, -Margin, -Margin);

        // The analysis is laid out first: the pages it takes decide the page count.
        QObject owner;
        QTextDocument *analysis = analysisDocument(content, body.width(), &owner);
        const qreal textHeight = body.height() - 30 - FooterHeight;
        analysis->setPageSize(QSizeF(body.width(), textHeight));
        const int pages = 2 + std::max(1, analysis->pageCount());

        // Page 1: header, profile circle, grid.
        painter.setPen(Qt::black);
        painter.setFont(reportFont(15, true));
        painter.drawText(QRectF(body.left(), body.top(), body.width(), 22), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Профиль организационной культуры"));
        painter.setFont(reportFont(10));
        qreal y = body.top() + 28;
        for (const QString &line : content.header) {
            painter.drawText(QPointF(body.left(), y + 10), line);
            y += 14;
        }
        y += 6;
        const qreal circleWidth = body.width() * 0.84;
        const QRectF circle(body.left() + (body.width() - circleWidth) / 2, y, circleWidth,
                            circleWidth * content.panelSize.height() / content.panelSize.width());
        drawProfile(painter, content, circle);
        drawGrid(painter, content, QPointF(body.left() + (body.width() - 0.75 * 411) / 2, circle.bottom() + 12));
        pageNumber(painter, page, 1, pages);

        // Page 2: the charts.
        writer.newPage();
        painter.setPen(Qt::black);
        painter.setFont(reportFont(13, true));
        painter.drawText(QPointF(body.left(), body.top() + 14), QStringLiteral("Оценки утверждений"));
        const qreal chartHeight = (body.height() - 30 - FooterHeight - 16) / 2;
        drawChart(painter, content.detailChart, content.detailRect, QRectF(body.left(), body.top() + 26, body.width(), chartHeight));
        drawChart(painter, content.overviewChart, content.overviewRect,
                  QRectF(body.left(), body.top() + 26 + chartHeight + 16, body.width(), chartHeight));
        pageNumber(painter, page, 2, pages);

        // Then the analysis, page by page.
        for (int p = 0; p < pages - 2; ++p) {
            writer.newPage();
            painter.setPen(Qt::black);
            painter.setFont(reportFont(13, true));
            painter.drawText(QPointF(body.left(), body.top() + 14), QStringLiteral("Анализ факторов"));
            painter.save();
            painter.translate(body.left(), body.top() + 30 - p * textHeight);
            QAbstractTextDocumentLayout::PaintContext context;
            context.clip = QRectF(0, p * textHeight, body.width(), textHeight);
            painter.setClipRect(context.clip);
            analysis->documentLayout()->draw(&painter, context);
            painter.restore();
            pageNumber(painter, page, 3 + p, pages);
        }
        if (!painter.end()) {
            file.cancelWriting();
            return failure;
        }
    }
    if (file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failure + u'\n' + reason;
    }
    if (!file.commit())
        return failure + u'\n' + file.errorString();
    return QString();
}

} // namespace Report
