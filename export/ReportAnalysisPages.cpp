#include "ReportAnalysisPages.h"

#include "AnalysisText.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <cmath>

namespace {
// The analysis text begins with the code, the name, the date, "N анкет = n" and the summary.
constexpr int HeaderLines = 5;
} // namespace

// The analysis as the memo shows it, a line of the summary per line. A group's summary is its member
// list only where the report may name respondents; the group's placeholder code and name are left
// out, as the running head says who the report is about.
QStringList ReportAnalysisPages::lines(const ReportCanvas &canvas)
{
    const ReportInput &input = canvas.input();
    const Profile &profile = input.profile;
    const QString summary = canvas.namesRespondents() ? profile.hint() : canvas.identity();
    QStringList analysis = AnalysisText::lines(profile.header, input.respondents, summary, profile.scores);
    if (!profile.group)
        return analysis;
    QStringList head;
    const RespondentHeader &header = profile.header;
    if (header.code != ProfileText::groupCode() && !header.code.trimmed().isEmpty())
        head << header.code;
    if (header.name != ProfileText::groupName() && !header.name.trimmed().isEmpty())
        head << header.name;
    head << analysis.mid(2, 2); // the date and the number of questionnaires
    head << (canvas.namesRespondents() ? analysis[HeaderLines - 1] : QString());
    return head + analysis.mid(HeaderLines);
}

// Every heading of a trait or index block under the name the report gives it.
int ReportAnalysisPages::layOut(ReportCanvas &canvas)
{
    const QStringList analysis = lines(canvas);
    const QList<int> marked = AnalysisText::headingLines(analysis);
    const int firstDescription = int(analysis.size()) - Resource::DescriptionLineCount;

    m_document = canvas.document();
    QTextDocument &document = *m_document;
    document.setDefaultFont(canvas.font(10));
    document.setDocumentMargin(0);
    document.setTextWidth(canvas.body().width());
    QTextCursor cursor(&document);
    QTextCharFormat plain;
    plain.setFont(canvas.font(10));
    QTextCharFormat heading;
    heading.setFont(canvas.font(11, true));
    QTextBlockFormat headingBlock;
    headingBlock.setTopMargin(4);
    QTextBlockFormat plainBlock;
    QList<int> headingBlocks;
    bool first = true;
    for (int k = 0; k < analysis.size(); ++k) {
        const bool isHeading = marked.contains(k);
        QString entry = analysis[k];
        if (isHeading) {
            const Resource::DescriptionBlock block = Resource::descriptionBlockOf(k - firstDescription + 1);
            const QString described = Resource::DescriptionLine(k - firstDescription + 1);
            if (block.index != 0 && entry.startsWith(described))
                entry.replace(0, described.size(), Resource::indexHeading(block.index));
        }
        for (const QString &line : entry.split(QStringLiteral("\r\n"))) {
            if (!first)
                cursor.insertBlock(isHeading ? headingBlock : plainBlock);
            else
                cursor.setBlockFormat(isHeading ? headingBlock : plainBlock);
            first = false;
            cursor.insertText(line, isHeading ? heading : plain);
            if (isHeading)
                headingBlocks << cursor.block().blockNumber();
        }
    }
    m_pageHeight = canvas.bottom() - (canvas.contentTop() + 16);
    document.setPageSize(QSizeF(canvas.body().width(), m_pageHeight));
    // A heading stays with the first line of its paragraph: one left at the foot of a page starts the
    // next page instead. Each break moves what follows, so the headings are looked at in order.
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    const auto pageOf = [&](qreal y) { return int(std::floor(y / m_pageHeight)); };
    for (int number : std::as_const(headingBlocks)) {
        const QTextBlock block = document.findBlockByNumber(number);
        const QTextBlock next = block.next();
        if (!next.isValid() || !next.layout() || next.layout()->lineCount() == 0)
            continue;
        const qreal headingTop = layout->blockBoundingRect(block).top() + block.blockFormat().topMargin();
        const QTextLine firstLine = next.layout()->lineAt(0);
        const qreal lineBottom = layout->blockBoundingRect(next).top() + firstLine.y() + firstLine.height();
        if (pageOf(lineBottom - 0.01) > pageOf(headingTop)) {
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(block).setBlockFormat(format);
        }
    }
    return std::max(1, document.pageCount());
}

void ReportAnalysisPages::drawPage(ReportCanvas &canvas, int k)
{
    const QRectF &body = canvas.body();
    qreal top = canvas.pageHeading(k == 0 ? QStringLiteral("Анализ факторов") : QStringLiteral("Анализ факторов (продолжение)"));
    canvas.text(QRectF(body.left(), top - 4, body.width(), 14), Qt::AlignLeft | Qt::AlignVCenter,
                QStringLiteral("Оценки факторов и индексов в квадратных скобках — с тремя знаками после запятой."), canvas.font(8),
                ReportCanvas::Muted);
    top += 16;
    QPainter &painter = canvas.painter();
    painter.save();
    painter.translate(body.left(), top - k * m_pageHeight);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, k * m_pageHeight, body.width(), m_pageHeight);
    context.palette.setColor(QPalette::Text, ReportCanvas::Ink);
    painter.setClipRect(context.clip);
    m_document->documentLayout()->draw(&painter, context);
    painter.restore();
}
