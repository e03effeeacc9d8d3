#include "Report.h"

#include "AnalysisText.h"
#include "CirclePicture.h"
#include "FileOutput.h"
#include "Fonts.h"
#include "GridPicture.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace Report {
namespace {

// Points: the writer works at 72 dots per inch, so one unit is one point of the A4 page.
constexpr int Resolution = 72;
constexpr qreal Margin = 40;
constexpr qreal FooterHeight = 24;
// Pixels of the window's pictures to points of the page.
constexpr qreal PixelToPoint = 0.75;

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

// The profile panel scaled into target: the culture model, the polygon, the captions and the labels,
// all as vectors and text.
void drawProfile(QPainter &painter, const ReportInput &input, const QRectF &target)
{
    using namespace CirclePicture;
    const Profile &profile = input.profile;
    const qreal scale = target.width() / PanelWidth;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    const QRect client(OverlayOffset, OverlayOffset, OverlayWidth, OverlayHeight);
    painter.setClipRect(client);
    painter.fillRect(client, Qt::white);
    painter.translate(OverlayOffset, OverlayOffset);
    drawBackground(painter);
    drawPolygon(painter, vertices(profile.scores.IndexScores));
    painter.translate(-OverlayOffset, -OverlayOffset);
    const QFont captionFont = Fonts::window(13);
    painter.setFont(captionFont);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(captionFont);
    painter.drawText(QPoint(InfoCaptionLeft, CaptionTop + metrics.ascent()),
                     fittedCaption(infoCaption(profile.header.code, profile.header.name), captionFont));
    const QString date = fittedCaption(profile.header.date, captionFont);
    painter.drawText(QPoint(dateCaptionRight(captionFont) - metrics.horizontalAdvance(date), CaptionTop + metrics.ascent()), date);
    drawLabels(painter, labels(profile.scores, profile.overallMean, input.delta), Fonts::valueLabel());
    painter.restore();
    painter.setPen(QPen(Qt::gray, 0.5));
    painter.drawRect(target);
}

QTextDocument *analysisDocument(const QStringList &lines, const QList<int> &headings, qreal width, QObject *parent)
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
    for (int n = 0; n < lines.size(); ++n) {
        if (n > 0)
            cursor.insertBlock();
        cursor.insertText(lines[n], headings.contains(n) ? heading : plain);
    }
    return document;
}

// The analysis as the memo shows it, a line of the summary per line.
void analysisLines(const ReportInput &input, QStringList *lines, QList<int> *headings)
{
    const Profile &profile = input.profile;
    const QStringList analysis = AnalysisText::lines(profile.header, input.respondents, profile.hint(), profile.scores);
    const QList<int> marked = AnalysisText::headingLines(analysis);
    for (int k = 0; k < analysis.size(); ++k) {
        if (marked.contains(k))
            headings->append(int(lines->size()));
        lines->append(analysis[k].split(QStringLiteral("\r\n")));
    }
}

} // namespace

Outcome<QByteArray> render(const ReportInput &input)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(Resolution);
        writer.setTitle(QStringLiteral("Профиль организационной культуры"));
        writer.setCreator(QStringLiteral("ZOLK Plot"));
        QPainter painter;
        if (!painter.begin(&writer))
            return Outcome<QByteArray>::failed(QCoreApplication::translate("Report", "The PDF writer could not start."));
        const QRectF page(0, 0, writer.width(), writer.height());
        const QRectF body = page.adjusted(Margin, Margin, -Margin, -Margin);
        const Profile &profile = input.profile;

        // The analysis is laid out first: the pages it takes decide the page count.
        QStringList lines;
        QList<int> headings;
        analysisLines(input, &lines, &headings);
        QObject owner;
        QTextDocument *analysis = analysisDocument(lines, headings, body.width(), &owner);
        const qreal textHeight = body.height() - 30 - FooterHeight;
        analysis->setPageSize(QSizeF(body.width(), textHeight));
        const int pages = 2 + std::max(1, analysis->pageCount());

        // Page 1: header, profile circle, grid.
        painter.setPen(Qt::black);
        painter.setFont(reportFont(15, true));
        painter.drawText(QRectF(body.left(), body.top(), body.width(), 22), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Профиль организационной культуры"));
        painter.setFont(reportFont(10));
        const QStringList header = {QStringLiteral("Код: ") + profile.header.code,
                                    QStringLiteral("ФИО: ") + profile.header.name,
                                    QStringLiteral("Дата: ") + profile.header.date,
                                    QStringLiteral("Число анкет: ") + input.respondents,
                                    QStringLiteral("Ширина полосы (Range): ") + Scoring::formatFixed(input.delta, 2)};
        qreal y = body.top() + 28;
        for (const QString &line : header) {
            painter.drawText(QPointF(body.left(), y + 10), line);
            y += 14;
        }
        y += 6;
        const qreal circleWidth = body.width() * 0.84;
        const QRectF circle(body.left() + (body.width() - circleWidth) / 2, y, circleWidth,
                            circleWidth * CirclePicture::PanelHeight / CirclePicture::PanelWidth);
        drawProfile(painter, input, circle);
        painter.save();
        painter.translate(body.left() + (body.width() - PixelToPoint * GridPicture::totalWidth()) / 2, circle.bottom() + 12);
        painter.scale(PixelToPoint, PixelToPoint);
        GridPicture::draw(painter, profile.scores, profile.overallMean, input.delta, QPointF(0, 0), Fonts::window(13),
                          input.headerIcon);
        painter.restore();
        pageNumber(painter, page, 1, pages);

        // Page 2: the charts.
        writer.newPage();
        painter.setPen(Qt::black);
        painter.setFont(reportFont(13, true));
        painter.drawText(QPointF(body.left(), body.top() + 14), QStringLiteral("Оценки утверждений"));
        const qreal chartHeight = (body.height() - 30 - FooterHeight - 16) / 2;
        if (input.detailChart)
            input.detailChart(painter, QRectF(body.left(), body.top() + 26, body.width(), chartHeight));
        if (input.overviewChart)
            input.overviewChart(painter, QRectF(body.left(), body.top() + 26 + chartHeight + 16, body.width(), chartHeight));
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
        if (!painter.end())
            return Outcome<QByteArray>::failed(QCoreApplication::translate("Report", "The PDF writer could not finish."));
    }
    return buffer.data();
}

Outcome<> write(const QString &path, const ReportInput &input)
{
    const Outcome<QByteArray> pdf = render(input);
    if (!pdf)
        return Outcome<>::failed(FileOutput::cannotCreateMessage(path) + u'\n' + pdf.message());
    return FileOutput::write(path, *pdf);
}

} // namespace Report
