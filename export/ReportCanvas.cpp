#include "ReportCanvas.h"

#include "CirclePicture.h"
#include "Fonts.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>

#include <algorithm>

ReportCanvas::ReportCanvas(const ReportInput &input, QPaintDevice *device, const QRectF &page, const QRectF &body)
    : m_input(input)
    , m_device(device)
    , m_page(page)
    , m_body(body)
    , m_mean(input.profile.overallMean)
    , m_band(input.band)
    , m_statistics(ReportStatistics::of(input.profile, input.reference))
{
}

QString ReportCanvas::title() { return QStringLiteral("Профиль организационной культуры"); }

bool ReportCanvas::namesRespondents() const
{
    return !m_input.profile.group || m_input.title.memberList;
}

QString ReportCanvas::identity() const
{
    if (m_input.profile.group)
        return QStringLiteral("Группа: ") + ProfileText::questionnaires(groupSize());
    return CirclePicture::infoCaption(m_input.profile.header.code, m_input.profile.header.name);
}

qsizetype ReportCanvas::groupSize() const
{
    bool ok = false;
    const qsizetype shown = m_input.respondents.trimmed().toLongLong(&ok);
    return ok && shown >= 0 ? shown : m_input.profile.respondentCount();
}

void ReportCanvas::text(const QRectF &rect, int flags, const QString &content, const QFont &font, const QColor &colour) const
{
    m_painter->setFont(font);
    m_painter->setPen(colour);
    m_painter->drawText(rect, flags, content);
}

void ReportCanvas::score(const QRectF &rect, double value, qreal points) const
{
    // The band as the reader sees it: classified from the two-decimal text, like the circle's labels.
    const ScoreBand band = CirclePicture::labelBand(Scoring::scoreText(value), m_mean, m_band);
    text(rect, Qt::AlignRight | Qt::AlignVCenter, Scoring::scoreText(value), font(points, Scoring::bandIsBold(band)),
         Scoring::bandColor(band));
}

void ReportCanvas::rule(qreal y, const QColor &colour, qreal width) const
{
    m_painter->setPen(QPen(colour, width));
    m_painter->drawLine(QPointF(m_body.left(), y), QPointF(m_body.right(), y));
}

void ReportCanvas::runningHead() const
{
    QString left = title();
    if (const QString company = m_input.title.company.simplified(); !company.isEmpty())
        left += QStringLiteral(" · ") + company;
    const QFont small = font(8);
    const QRectF line(m_body.left(), m_body.top(), m_body.width(), 12);
    const QString right = identity();
    const qreal rightWidth = std::min(metrics(small).horizontalAdvance(right), m_body.width() / 2);
    text(line, Qt::AlignRight | Qt::AlignVCenter, metrics(small).elidedText(right, Qt::ElideRight, rightWidth), small, Muted);
    text(line, Qt::AlignLeft | Qt::AlignVCenter,
         metrics(small).elidedText(left, Qt::ElideRight, m_body.width() - rightWidth - 16), small, Muted);
    rule(m_body.top() + 15, RuleColour, 0.5);
}

qreal ReportCanvas::pageHeading(const QString &heading) const
{
    runningHead();
    const qreal top = m_body.top() + RunningHeadHeight;
    text(QRectF(m_body.left(), top, m_body.width(), 18), Qt::AlignLeft | Qt::AlignVCenter, heading, font(13, true));
    return top + 24;
}

void ReportCanvas::profileCircle(const QRectF &target, const Profile *reference) const
{
    using namespace CirclePicture;
    const Profile &profile = m_input.profile;
    QPainter &painter = *m_painter;
    const qreal scale = target.width() / PanelWidth;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    const QRect client(OverlayOffset, OverlayOffset, OverlayWidth, OverlayHeight);
    painter.setClipRect(client);
    painter.fillRect(client, Qt::white);
    painter.translate(OverlayOffset, OverlayOffset);
    drawBackground(painter);
    if (reference)
        drawPolygon(painter, vertices(reference->scores.IndexScores), PolygonStyle::Reference);
    drawPolygon(painter, vertices(profile.scores.IndexScores));
    painter.translate(-OverlayOffset, -OverlayOffset);
    if (reference) {
        painter.setFont(Fonts::window(11));
        // The caption above names the profile; the legend uses the comparison table's words.
        drawLegend(painter, QStringLiteral("Профиль"), m_input.referenceName);
    }
    const QFont captionFont = Fonts::window(13);
    painter.setFont(captionFont);
    painter.setPen(Qt::black);
    const QFontMetrics captionMetrics(captionFont);
    painter.drawText(QPoint(InfoCaptionLeft, CaptionTop + captionMetrics.ascent()), fittedCaption(identity(), captionFont));
    const QString date = fittedCaption(profile.header.date, captionFont);
    painter.drawText(QPoint(dateCaptionRight(captionFont) - captionMetrics.horizontalAdvance(date), CaptionTop + captionMetrics.ascent()),
                     date);
    drawLabels(painter, labels(profile.scores, m_mean, m_band), Fonts::valueLabel());
    painter.restore();
    painter.setPen(QPen(RuleColour, 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(target);
}

std::unique_ptr<QTextDocument> ReportCanvas::document() const
{
    auto document = std::make_unique<QTextDocument>();
    document->documentLayout()->setPaintDevice(m_device);
    return document;
}

std::unique_ptr<QTextDocument> ReportCanvas::smallPrint(const QString &html, qreal width, qreal points) const
{
    std::unique_ptr<QTextDocument> small = document();
    small->setDefaultFont(font(points));
    small->setDocumentMargin(0);
    small->setTextWidth(width);
    small->setHtml(html);
    return small;
}

void ReportCanvas::drawDocument(QTextDocument &document, const QPointF &at) const
{
    m_painter->save();
    m_painter->translate(at);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Ink);
    document.documentLayout()->draw(m_painter, context);
    m_painter->restore();
}

void ReportCanvas::place(const ReportSection *section, int count)
{
    m_sections.push_back({section, m_pageCount + 1, count});
    m_pageCount += count;
}

namespace ReportText {

QString pageRange(int first, int last)
{
    return first == last ? QString::number(first) : QString::number(first) + u'–' + QString::number(last);
}

} // namespace ReportText
