#include "Report.h"

#include "ReportStatistics.h"

#include "AnalysisText.h"
#include "CirclePicture.h"
#include "FileOutput.h"
#include "Fonts.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <functional>
#include <memory>
#include <vector>

namespace Report {

std::array<StatementMark, Resource::StatementCount> statementMarks(const ItemScores &scores)
{
    std::array<StatementMark, Resource::StatementCount> marks;
    marks.fill(StatementMark::None);
    std::vector<double> ranked;
    for (double v : scores)
        if (std::isfinite(v))
            ranked.push_back(v);
    if (ranked.empty())
        return marks;
    std::sort(ranked.begin(), ranked.end());
    const std::size_t cut = std::min<std::size_t>(MarkedStatements, ranked.size()) - 1;
    const double lowCut = ranked[cut];
    const double highCut = ranked[ranked.size() - 1 - cut];
    for (std::size_t s = 0; s < marks.size(); ++s) {
        const double v = scores[s];
        if (!std::isfinite(v))
            continue;
        if (v >= highCut && v > lowCut)
            marks[s] = StatementMark::Highest;
        else if (v <= lowCut && v < highCut)
            marks[s] = StatementMark::Lowest;
    }
    return marks;
}

bool marksCutsMeet(const ItemScores &scores)
{
    std::vector<double> ranked;
    for (double v : scores)
        if (std::isfinite(v))
            ranked.push_back(v);
    if (ranked.size() < 2)
        return false;
    std::sort(ranked.begin(), ranked.end());
    const std::size_t cut = std::min<std::size_t>(MarkedStatements, ranked.size()) - 1;
    return ranked[ranked.size() - 1 - cut] <= ranked[cut];
}

namespace {

// The band of a score as the reader sees it: classified from its two-decimal text, like the circle's
// labels and the window's grid.
ScoreBand shownBand(double value, double overallMean, double delta)
{
    return CirclePicture::labelBand(Scoring::scoreText(value), overallMean, delta);
}

// The two-decimal score nearest to start in the given direction whose band is band.
double firstShownIn(ScoreBand band, double start, int step, double overallMean, double delta)
{
    if (!std::isfinite(start) || std::abs(start) > 1e9)
        return start;
    // start lies within a hundredth of the limit: a few steps find the first score on the band's side.
    for (long long k = std::llround(start * 100) - 3 * step, n = 0; n < 10; k += step, ++n)
        if (shownBand(double(k) / 100.0, overallMean, delta) == band)
            return double(k) / 100.0;
    return start;
}

} // namespace

double lowestHighScore(double overallMean, double delta)
{
    return firstShownIn(ScoreBand::High, overallMean + delta, 1, overallMean, delta);
}

double highestLowScore(double overallMean, double delta)
{
    return firstShownIn(ScoreBand::Low, overallMean - delta, -1, overallMean, delta);
}

QString questionnaires(qsizetype count)
{
    return ProfileText::questionnaires(count);
}

namespace {

// Points: the writer works at 72 dots per inch, so one unit is one point of the A4 page.
constexpr int Resolution = 72;
constexpr qreal Margin = 42;
constexpr qreal FooterHeight = 22;
constexpr qreal RunningHeadHeight = 22;

const QColor Ink(0, 0, 0);
const QColor Muted(95, 95, 95);
const QColor RuleColour(170, 170, 170);
const QColor LightRule(222, 222, 222);
const QColor HeaderFill(232, 232, 232);
const QColor IndexFill(243, 243, 243);
const QColor TrackColour(228, 228, 228);

QString reportTitleText() { return QStringLiteral("Профиль организационной культуры"); }

QFont reportFont(qreal points, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// "1–4", or "5" for a single page.
QString pageRange(int first, int last)
{
    return first == last ? QString::number(first) : QString::number(first) + u'–' + QString::number(last);
}

// The number of questionnaires: the header's text where it is a number, else the members held.
qsizetype groupSize(const ReportInput &input)
{
    bool ok = false;
    const qsizetype shown = input.respondents.trimmed().toLongLong(&ok);
    return ok && shown >= 0 ? shown : input.profile.respondentCount();
}

// Whether the report may name respondents: a respondent's own report, or a group's with its member
// list asked for.
bool namesRespondents(const ReportInput &input)
{
    return !input.profile.group || input.title.memberList;
}

// Who the report is about, in one line: "Группа: 50 анкет" or "0106. Волков Игорь Николаевич".
QString identity(const ReportInput &input)
{
    if (input.profile.group)
        return QStringLiteral("Группа: ") + questionnaires(groupSize(input));
    return CirclePicture::infoCaption(input.profile.header.code, input.profile.header.name);
}

// A text document laid out for the page: in the page's points, not the screen's pixels.
std::unique_ptr<QTextDocument> pageDocument(QPaintDevice *device)
{
    auto document = std::make_unique<QTextDocument>();
    document->documentLayout()->setPaintDevice(device);
    return document;
}

// An HTML document of small print over the given width (its texts are the program's own and numbers).
std::unique_ptr<QTextDocument> smallPrint(QPaintDevice *device, const QString &html, qreal width, qreal points)
{
    std::unique_ptr<QTextDocument> document = pageDocument(device);
    document->setDefaultFont(reportFont(points));
    document->setDocumentMargin(0);
    document->setTextWidth(width);
    document->setHtml(html);
    return document;
}

void drawDocument(QPainter &painter, QTextDocument &document, const QPointF &at)
{
    painter.save();
    painter.translate(at);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Ink);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
}

QString bandColourName(ScoreBand band) { return Scoring::bandColor(band).name(); }

class ReportPainter
{
public:
    ReportPainter(const ReportInput &input, QPainter &painter, const QRectF &page)
        : m_input(input)
        , m_painter(painter)
        , m_page(page)
        , m_body(page.adjusted(Margin, Margin, -Margin, -Margin))
        , m_mean(input.profile.overallMean)
        , m_delta(input.delta)
        , m_marks(statementMarks(input.profile.scores.ItemScores))
        , m_statistics(ReportStatistics::of(input.profile, input.reference))
    {
    }

    // Lays out the statement pages and the analysis: afterwards the page count is known.
    void layOut();
    int pageCount() const { return lastStatementPage() + m_analysisPages + reliabilityPages(); }
    int reliabilityPages() const { return m_statistics.reliability ? 1 : 0; }
    void drawReliabilityPage();
    // The comparison page and the pages of figures after it.
    int comparisonPages() const { return (m_input.reference ? 1 : 0) + int(m_input.tablePages.size()); }
    int lastStatementPage() const { return 1 + comparisonPages() + int(m_statementPages.size()); }

    void drawFirstPage();
    void drawComparisonPage();
    void drawTablePage(int k);
    void drawStatementPage(int k);
    void drawAnalysisPage(int k);
    int analysisPages() const { return m_analysisPages; }
    int statementPages() const { return int(m_statementPages.size()); }

private:
    // One piece of the statement pages where it goes: an index with its five statements (under its
    // trait's header where the trait begins, or goes on over a page break), or a heading or a row of
    // the list of the highest and lowest scores.
    struct Placed
    {
        enum Kind { Index, SummaryHeading, SummaryRow } kind;
        int number; // the index, the statement, or the heading's StatementMark
        qreal top;
        bool traitHeader = false;
        bool continued = false;
    };

    qreal bottom() const { return m_page.bottom() - Margin - FooterHeight; }
    QFontMetricsF metrics(const QFont &font) const { return QFontMetricsF(font, m_painter.device()); }
    void text(const QRectF &rect, int flags, const QString &text, const QFont &font, const QColor &colour = Ink);
    void score(const QRectF &rect, double value, qreal points);
    void rule(qreal y, const QColor &colour = RuleColour, qreal width = 0.6);
    void pageNumber(int number);
    void runningHead();
    qreal pageHeading(const QString &title);

    // Page 1.
    qreal titleBlock(qreal top);
    void profileCircle(const QRectF &target, const Profile *reference = nullptr);
    qreal resultsTableHeight() const;
    void resultsTable(qreal top);
    QString legendHtml() const;

    // The statements.
    QString statementKeyHtml() const;
    qreal statementsTop(bool firstPage) const;
    qreal traitHeader(int trait, qreal top, bool continued, bool paint);
    qreal indexBlock(int index, qreal top, bool paint);
    qreal statementRow(int s, qreal top, bool paint);
    qreal summaryHeading(StatementMark which, qreal top, bool paint);
    // The statements marked which, highest (or lowest) score first, ties by number.
    QList<int> summaryStatements(StatementMark which) const;

    // The analysis.
    void buildAnalysis();

    const ReportInput &m_input;
    QPainter &m_painter;
    QRectF m_page;
    QRectF m_body;
    double m_mean;
    double m_delta;
    std::array<StatementMark, Resource::StatementCount> m_marks;
    ReportStatistics::Figures m_statistics;
    std::vector<std::vector<Placed>> m_statementPages;
    qreal m_chartHeight = 0;
    std::unique_ptr<QTextDocument> m_analysis;
    qreal m_analysisHeight = 0;
    int m_analysisPages = 1;
};

void ReportPainter::text(const QRectF &rect, int flags, const QString &content, const QFont &font, const QColor &colour)
{
    m_painter.setFont(font);
    m_painter.setPen(colour);
    m_painter.drawText(rect, flags, content);
}

void ReportPainter::score(const QRectF &rect, double value, qreal points)
{
    const ScoreBand band = shownBand(value, m_mean, m_delta);
    text(rect, Qt::AlignRight | Qt::AlignVCenter, Scoring::scoreText(value), reportFont(points, Scoring::bandIsBold(band)),
         Scoring::bandColor(band));
}

void ReportPainter::rule(qreal y, const QColor &colour, qreal width)
{
    m_painter.setPen(QPen(colour, width));
    m_painter.drawLine(QPointF(m_body.left(), y), QPointF(m_body.right(), y));
}

void ReportPainter::pageNumber(int number)
{
    text(QRectF(m_body.left(), m_page.bottom() - Margin - FooterHeight + 8, m_body.width(), FooterHeight - 8),
         Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("Стр. %1 из %2").arg(number).arg(pageCount()), reportFont(8.5),
         Muted);
}

void ReportPainter::runningHead()
{
    QString left = reportTitleText();
    if (const QString company = m_input.title.company.simplified(); !company.isEmpty())
        left += QStringLiteral(" · ") + company;
    const QFont font = reportFont(8);
    const QRectF line(m_body.left(), m_body.top(), m_body.width(), 12);
    const QString right = identity(m_input);
    const qreal rightWidth = std::min(metrics(font).horizontalAdvance(right), m_body.width() / 2);
    text(line, Qt::AlignRight | Qt::AlignVCenter, metrics(font).elidedText(right, Qt::ElideRight, rightWidth), font, Muted);
    text(line, Qt::AlignLeft | Qt::AlignVCenter,
         metrics(font).elidedText(left, Qt::ElideRight, m_body.width() - rightWidth - 16), font, Muted);
    rule(m_body.top() + 15, RuleColour, 0.5);
}

qreal ReportPainter::pageHeading(const QString &title)
{
    const qreal top = m_body.top() + RunningHeadHeight;
    text(QRectF(m_body.left(), top, m_body.width(), 18), Qt::AlignLeft | Qt::AlignVCenter, title, reportFont(13, true));
    return top + 24;
}

// ---------------------------------------------------------------------------------------------
// Page 1

qreal ReportPainter::titleBlock(qreal top)
{
    using Row = std::pair<QString, QString>;
    QList<Row> left;
    const ReportTitle &title = m_input.title;
    for (const Row &row : {Row(QStringLiteral("Компания"), title.company), Row(QStringLiteral("Консультант"), title.consultant),
                           Row(QStringLiteral("Дата опроса"), title.surveyDate)})
        if (!row.second.trimmed().isEmpty())
            left << Row(row.first, row.second.simplified());
    const RespondentHeader &header = m_input.profile.header;
    QList<Row> right;
    if (m_input.profile.group) {
        right << Row(QStringLiteral("Группа"), questionnaires(groupSize(m_input)));
        if (header.name != ProfileText::groupName() && !header.name.trimmed().isEmpty())
            right << Row(QStringLiteral("Название"), header.name.simplified());
        right << Row(QStringLiteral("Дата расчёта"), header.date.simplified());
    } else {
        right << Row(QStringLiteral("ФИО"), header.name.simplified()) << Row(QStringLiteral("Код"), header.code.simplified())
              << Row(QStringLiteral("Дата анкеты"), header.date.simplified());
    }
    const QFont label = reportFont(9);
    const QFont value = reportFont(9.5, true);
    constexpr qreal RowHeight = 14;
    const qreal half = m_body.width() / 2;
    const auto column = [&](const QList<Row> &rows, qreal x) {
        qreal labelWidth = 0;
        for (const Row &row : rows)
            labelWidth = std::max(labelWidth, metrics(label).horizontalAdvance(row.first + u':'));
        for (int k = 0; k < rows.size(); ++k) {
            const qreal y = top + k * RowHeight;
            text(QRectF(x, y, labelWidth, RowHeight), Qt::AlignLeft | Qt::AlignVCenter, rows[k].first + u':', label, Muted);
            const qreal valueLeft = x + labelWidth + 8;
            const qreal valueWidth = half - 12 - labelWidth - 8;
            text(QRectF(valueLeft, y, valueWidth, RowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                 metrics(value).elidedText(rows[k].second, Qt::ElideRight, valueWidth), value);
        }
    };
    // Without a title block the profile's lines stand on the left.
    if (left.isEmpty())
        std::swap(left, right);
    column(left, m_body.left());
    column(right, m_body.left() + half);
    return top + std::max(left.size(), right.size()) * RowHeight;
}

// The profile panel scaled into target: the culture model, the polygon, the captions and the labels,
// all as vectors and text.
void ReportPainter::profileCircle(const QRectF &target, const Profile *reference)
{
    using namespace CirclePicture;
    const Profile &profile = m_input.profile;
    const qreal scale = target.width() / PanelWidth;
    m_painter.save();
    m_painter.translate(target.topLeft());
    m_painter.scale(scale, scale);
    const QRect client(OverlayOffset, OverlayOffset, OverlayWidth, OverlayHeight);
    m_painter.setClipRect(client);
    m_painter.fillRect(client, Qt::white);
    m_painter.translate(OverlayOffset, OverlayOffset);
    drawBackground(m_painter);
    if (reference)
        drawPolygon(m_painter, vertices(reference->scores.IndexScores), PolygonStyle::Reference);
    drawPolygon(m_painter, vertices(profile.scores.IndexScores));
    m_painter.translate(-OverlayOffset, -OverlayOffset);
    if (reference) {
        m_painter.setFont(Fonts::window(11));
        drawLegend(m_painter, identity(m_input), m_input.referenceName);
    }
    const QFont captionFont = Fonts::window(13);
    m_painter.setFont(captionFont);
    m_painter.setPen(Qt::black);
    const QFontMetrics captionMetrics(captionFont);
    m_painter.drawText(QPoint(InfoCaptionLeft, CaptionTop + captionMetrics.ascent()), fittedCaption(identity(m_input), captionFont));
    const QString date = fittedCaption(profile.header.date, captionFont);
    m_painter.drawText(QPoint(dateCaptionRight(captionFont) - captionMetrics.horizontalAdvance(date), CaptionTop + captionMetrics.ascent()),
                       date);
    drawLabels(m_painter, labels(profile.scores, m_mean, m_delta), Fonts::valueLabel());
    m_painter.restore();
    m_painter.setPen(QPen(RuleColour, 0.5));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(target);
}

namespace ResultsTable {
constexpr qreal RowHeight = 14.5;
constexpr int Rows = 1 + Resource::IndexCount + 1; // the header, the indices, the overall mean
constexpr qreal TraitWidth = 150;
constexpr qreal ScoreWidth = 52;
} // namespace ResultsTable

qreal ReportPainter::resultsTableHeight() const
{
    return ResultsTable::Rows * ResultsTable::RowHeight;
}

// The index and trait scores under the full index titles: each trait beside its three indices, the
// overall mean below.
void ReportPainter::resultsTable(qreal top)
{
    using namespace ResultsTable;
    const qreal x0 = m_body.left();
    const qreal x1 = x0 + TraitWidth;
    const qreal x2 = x1 + ScoreWidth;
    const qreal x4 = m_body.right();
    const qreal x3 = x4 - ScoreWidth;
    const qreal pad = 6;
    const QFont headerFont = reportFont(8.5, true);
    const QFont plain = reportFont(9);

    m_painter.fillRect(QRectF(x0, top, x4 - x0, RowHeight), HeaderFill);
    text(QRectF(x0 + pad, top, TraitWidth, RowHeight), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Черта"), headerFont);
    text(QRectF(x1, top, ScoreWidth - pad, RowHeight), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Оценка"), headerFont);
    text(QRectF(x2 + pad, top, x3 - x2, RowHeight), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Индекс"), headerFont);
    text(QRectF(x3, top, ScoreWidth - pad, RowHeight), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Оценка"), headerFont);

    const ProfileScores &scores = m_input.profile.scores;
    for (int t = 1; t <= Resource::TraitCount; ++t) {
        const qreal traitTop = top + RowHeight * (1 + Resource::IndicesPerTrait * (t - 1));
        const QRectF traitCell(x0, traitTop, TraitWidth, RowHeight * Resource::IndicesPerTrait);
        m_painter.fillRect(QRectF(x0 + pad, traitCell.center().y() - 4, 8, 8), Resource::TraitColor(t));
        text(traitCell.adjusted(pad + 13, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, Resource::TraitName(t), reportFont(9.5, true));
        score(QRectF(x1, traitTop, ScoreWidth - pad, traitCell.height()), scores.trait(t), 9.5);
        for (int k = 0; k < Resource::IndicesPerTrait; ++k) {
            const int i = Resource::IndicesPerTrait * (t - 1) + k + 1;
            const qreal y = traitTop + k * RowHeight;
            text(QRectF(x2 + pad, y, x3 - x2 - pad, RowHeight), Qt::AlignLeft | Qt::AlignVCenter, Resource::IndexTitle(i), plain);
            score(QRectF(x3, y, ScoreWidth - pad, RowHeight), scores.index(i), 9);
            if (const auto &interval = m_statistics.intervals[std::size_t(i - 1)])
                text(QRectF(x3 - 64, y, 60, RowHeight), Qt::AlignRight | Qt::AlignVCenter, ReportStatistics::intervalText(*interval), reportFont(7), Muted);
            if (k > 0) {
                m_painter.setPen(QPen(LightRule, 0.5));
                m_painter.drawLine(QPointF(x2, y), QPointF(x4, y));
            }
        }
        m_painter.setPen(QPen(RuleColour, 0.6));
        m_painter.drawLine(QPointF(x0, traitTop), QPointF(x4, traitTop));
    }
    const qreal meanTop = top + RowHeight * (Rows - 1);
    m_painter.fillRect(QRectF(x0, meanTop, x4 - x0, RowHeight), IndexFill);
    text(QRectF(x0 + pad, meanTop, x3 - x0, RowHeight), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("Общее среднее (геометрическое среднее двенадцати индексов)"), reportFont(9, true));
    text(QRectF(x3, meanTop, ScoreWidth - pad, RowHeight), Qt::AlignRight | Qt::AlignVCenter, Scoring::scoreText(m_mean),
         reportFont(9, true));
    m_painter.setPen(QPen(RuleColour, 0.6));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawLine(QPointF(x0, meanTop), QPointF(x4, meanTop));
    m_painter.drawRect(QRectF(x0, top, x4 - x0, RowHeight * Rows));
    for (qreal x : {x1, x2, x3})
        m_painter.drawLine(QPointF(x, top), QPointF(x, meanTop));
}

QString ReportPainter::legendHtml() const
{
    const QString delta = Scoring::formatFixed(m_delta, 2);
    const QString green = bandColourName(ScoreBand::High);
    const QString red = bandColourName(ScoreBand::Low);
    QString html = QStringLiteral("<p style=\"margin-top:0; margin-bottom:3px\"><b>Условные обозначения.</b> Общее среднее — "
                                  "геометрическое среднее двенадцати индексов: <b>%1</b>. Полоса (Range) — общее среднее "
                                  "±\u00a0%2.</p>")
                       .arg(Scoring::scoreText(m_mean), delta);
    html += QStringLiteral("<p style=\"margin-top:0; margin-bottom:3px\"><b><span style=\"color:%1\">Жирным зелёным</span></b> — "
                           "оценки не ниже общего среднего +\u00a0%2 (<b>%3 и\u00a0выше</b>); <b><span style=\"color:%4\">жирным "
                           "красным</span></b> — не выше общего среднего −\u00a0%2 (<b>%5 и\u00a0ниже</b>); остальные — обычным "
                           "чёрным. Так выделены оценки черт и индексов в круге и в таблице.</p>")
                .arg(green, delta, Scoring::scoreText(lowestHighScore(m_mean, m_delta)), red,
                     Scoring::scoreText(highestLowScore(m_mean, m_delta)));
    const int analysisFirst = lastStatementPage() + 1;
    html += QStringLiteral("<p style=\"margin-top:0\">Оценки на с.\u00a0%1 — с двумя знаками после запятой; в анализе факторов на с.\u00a0%2 — "
                           "с тремя, как их записывает программа.</p>")
                .arg(pageRange(1, lastStatementPage()), pageRange(analysisFirst, pageCount() - reliabilityPages()));
    if (m_statistics.intervals[0])
        html += QStringLiteral("<p style=\"margin-top:0\">Серым рядом с оценкой индекса — 95-процентный доверительный интервал "
                               "среднего группы.%1</p>")
                    .arg(reliabilityPages() ? QStringLiteral(" Надёжность шкал — на с.\u00a0%1.").arg(pageCount()) : QString());
    return html;
}

void ReportPainter::drawFirstPage()
{
    qreal y = m_body.top();
    text(QRectF(m_body.left(), y, m_body.width(), 24), Qt::AlignLeft | Qt::AlignVCenter, reportTitleText(), reportFont(17, true));
    y += 30;
    rule(y, Ink, 0.8);
    y = titleBlock(y + 7) + 6;
    rule(y);
    y += 10;

    const std::unique_ptr<QTextDocument> legend = smallPrint(m_painter.device(), legendHtml(), m_body.width() - 12, 8);
    const qreal legendHeight = legend->size().height() + 10;
    const qreal tableHeight = resultsTableHeight();
    const qreal room = bottom() - y - tableHeight - legendHeight - 2 * 10;
    const qreal circleWidth = std::min(m_body.width() * 0.82, room * CirclePicture::PanelWidth / CirclePicture::PanelHeight);
    const QRectF circle(m_body.left() + (m_body.width() - circleWidth) / 2, y, circleWidth,
                        circleWidth * CirclePicture::PanelHeight / CirclePicture::PanelWidth);
    profileCircle(circle);
    y = circle.bottom() + 10;
    resultsTable(y);
    y += tableHeight + 10;
    const QRectF legendBox(m_body.left(), y, m_body.width(), legendHeight);
    m_painter.fillRect(legendBox, QColor(247, 247, 247));
    drawDocument(m_painter, *legend, legendBox.topLeft() + QPointF(6, 5));
    pageNumber(1);
}

// ---------------------------------------------------------------------------------------------
// The statements

namespace StatementTable {
constexpr qreal MarkWidth = 13;
constexpr qreal NumberWidth = 18;
constexpr qreal TextLeft = MarkWidth + NumberWidth + 8;
constexpr qreal ScoreWidth = 40;
constexpr qreal BarWidth = 84;
constexpr qreal BarGap = 10;
constexpr qreal Padding = 2.2;
constexpr qreal ChartHeight = 245;
constexpr qreal IndexGap = 6;
constexpr qreal TraitGap = 8;
constexpr qreal TraitHeaderHeight = 22;
constexpr qreal IndexHeaderHeight = 16;
constexpr qreal ScaleMaximum = 5;
constexpr qreal TextPoints = 8.5;
} // namespace StatementTable

QString ReportPainter::statementKeyHtml() const
{
    QString html = QStringLiteral("<p style=\"margin-top:0; margin-bottom:2px\"><b>График:</b> столбики — оценки утверждений 1–60 в цветах "
                                  "черт; сплошная линия — общее среднее (%1); точечные линии — границы полосы ±\u00a0%2 (%3 и\u00a0%4); "
                                  "квадраты с номерами — индексы 1–12.</p>")
                       .arg(Scoring::scoreText(m_mean), Scoring::formatFixed(m_delta, 2), Scoring::scoreText(m_mean - m_delta),
                            Scoring::scoreText(m_mean + m_delta));
    html += QStringLiteral("<p style=\"margin-top:0; margin-bottom:2px\"><b>Списки и таблицы:</b> ▲ — пять самых высоких оценок утверждений, "
                           "▼ — пять самых низких; при равных оценках на границе отмечены все равные, поэтому значков "
                           "может быть больше пяти. Ниже они собраны в два списка, затем идут все утверждения по индексам.");
    if (marksCutsMeet(m_input.profile.scores.ItemScores))
        html += QStringLiteral(" Оценки почти одинаковы: оценка, которая вошла бы и в высшие, и в низшие, не отмечена.");
    html += QStringLiteral(" Полоска — оценка на шкале от 0 до 5 в цвете черты, черта на ней — общее среднее (%1). "
                           "(*) — утверждение с отрицательной формулировкой, его оценка пересчитана по обратной шкале.</p>")
                .arg(Scoring::scoreText(m_mean));
    return html;
}

qreal ReportPainter::statementsTop(bool firstPage) const
{
    const qreal top = m_body.top() + RunningHeadHeight + 24;
    return firstPage ? top + m_chartHeight : top;
}

qreal ReportPainter::traitHeader(int trait, qreal top, bool continued, bool paint)
{
    using namespace StatementTable;
    if (paint) {
        const QRectF row(m_body.left(), top, m_body.width(), TraitHeaderHeight);
        m_painter.fillRect(QRectF(row.left(), row.center().y() - 4.5, 9, 9), Resource::TraitColor(trait));
        QString name = Resource::TraitName(trait);
        if (continued)
            name += QStringLiteral(" (продолжение)");
        text(row.adjusted(14, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, name, reportFont(11, true));
        const QRectF scoreCell(row.right() - BarWidth - BarGap - ScoreWidth, top, ScoreWidth, TraitHeaderHeight);
        score(scoreCell, m_input.profile.scores.trait(trait), 10.5);
        text(QRectF(scoreCell.right() + BarGap, top, BarWidth, TraitHeaderHeight), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("оценка черты"), reportFont(7.5), Muted);
        m_painter.setPen(QPen(Resource::TraitColor(trait), 1.5));
        m_painter.drawLine(QPointF(row.left(), row.bottom() - 1), QPointF(row.right(), row.bottom() - 1));
    }
    return TraitHeaderHeight;
}

qreal ReportPainter::statementRow(int s, qreal top, bool paint)
{
    using namespace StatementTable;
    const qreal textWidth = m_body.width() - TextLeft - ScoreWidth - BarGap - BarWidth - 8;
    QString statement = Resource::StatementText(s);
    // The number stands in its own column.
    const QString prefix = QString::number(s) + QStringLiteral(". ");
    if (statement.startsWith(prefix))
        statement.remove(0, prefix.size());
    const QFont font = reportFont(TextPoints);
    const QFontMetricsF fm = metrics(font);
    const qreal textHeight = fm.boundingRect(QRectF(0, 0, textWidth, 1000), Qt::TextWordWrap, statement).height();
    const qreal height = std::max(textHeight, fm.height()) + 2 * Padding;
    if (!paint)
        return height;

    const StatementMark mark = m_marks[std::size_t(s - 1)];
    const qreal line = top + Padding;
    const qreal x = m_body.left();
    const bool marked = mark != StatementMark::None;
    if (marked)
        text(QRectF(x, line, MarkWidth, fm.height()), Qt::AlignCenter,
             mark == StatementMark::Highest ? QStringLiteral("▲") : QStringLiteral("▼"), reportFont(TextPoints));
    text(QRectF(x + MarkWidth, line, NumberWidth, fm.height()), Qt::AlignRight | Qt::AlignVCenter, QString::number(s),
         reportFont(TextPoints, marked), marked ? Ink : Muted);
    text(QRectF(x + TextLeft, line, textWidth, textHeight + 1), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, statement,
         font);
    const double value = m_input.profile.scores.item(s);
    const qreal scoreLeft = m_body.right() - BarWidth - BarGap - ScoreWidth;
    text(QRectF(scoreLeft, line, ScoreWidth, fm.height()), Qt::AlignRight | Qt::AlignVCenter, Scoring::scoreText(value),
         reportFont(TextPoints + 0.5, marked));

    // The bar on the 0..5 scale, and the overall mean across it.
    const QRectF track(m_body.right() - BarWidth, line + fm.height() / 2 - 3, BarWidth, 6);
    m_painter.fillRect(track, TrackColour);
    const auto along = [&](double v) {
        return track.left() + track.width() * std::clamp(std::isfinite(v) ? v : 0.0, 0.0, double(ScaleMaximum)) / ScaleMaximum;
    };
    m_painter.fillRect(QRectF(track.left(), track.top(), along(value) - track.left(), track.height()),
                       Resource::statementColor(s));
    m_painter.setPen(QPen(Ink, 0.8));
    m_painter.drawLine(QPointF(along(m_mean), track.top() - 2), QPointF(along(m_mean), track.bottom() + 2));

    m_painter.setPen(QPen(LightRule, 0.5));
    m_painter.drawLine(QPointF(x, top + height), QPointF(m_body.right(), top + height));
    return height;
}

qreal ReportPainter::indexBlock(int index, qreal top, bool paint)
{
    using namespace StatementTable;
    qreal y = top;
    if (paint) {
        const QRectF row(m_body.left(), y, m_body.width(), IndexHeaderHeight);
        m_painter.fillRect(row, IndexFill);
        text(row.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, Resource::IndexTitle(index), reportFont(9.5, true));
        score(QRectF(m_body.right() - BarWidth - BarGap - ScoreWidth, y, ScoreWidth, IndexHeaderHeight),
              m_input.profile.scores.index(index), 9.5);
        text(QRectF(m_body.right() - BarWidth, y, BarWidth, IndexHeaderHeight), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("оценка индекса"), reportFont(7.5), Muted);
    }
    y += IndexHeaderHeight;
    for (int k = 0; k < Resource::StatementsPerIndex; ++k)
        y += statementRow(Resource::StatementsPerIndex * (index - 1) + k + 1, y, paint);
    return y - top + IndexGap;
}

QList<int> ReportPainter::summaryStatements(StatementMark which) const
{
    QList<int> statements;
    for (int s = 1; s <= Resource::StatementCount; ++s)
        if (m_marks[std::size_t(s - 1)] == which)
            statements << s;
    const ProfileScores &scores = m_input.profile.scores;
    std::stable_sort(statements.begin(), statements.end(), [&](int a, int b) {
        return which == StatementMark::Highest ? scores.item(a) > scores.item(b) : scores.item(a) < scores.item(b);
    });
    return statements;
}

qreal ReportPainter::summaryHeading(StatementMark which, qreal top, bool paint)
{
    using namespace StatementTable;
    if (paint) {
        const QRectF row(m_body.left(), top, m_body.width(), TraitHeaderHeight);
        const bool highest = which == StatementMark::Highest;
        text(row, Qt::AlignLeft | Qt::AlignVCenter,
             highest ? QStringLiteral("▲ Самые высокие оценки утверждений") : QStringLiteral("▼ Самые низкие оценки утверждений"),
             reportFont(11, true));
        m_painter.setPen(QPen(Ink, 1));
        m_painter.drawLine(QPointF(row.left(), row.bottom() - 1), QPointF(row.right(), row.bottom() - 1));
    }
    return TraitHeaderHeight + 2;
}

// The profile against its reference: both on the circle, then every trait, index and the overall
// mean with the two scores and their difference.
void ReportPainter::drawComparisonPage()
{
    runningHead();
    qreal y = pageHeading(QStringLiteral("Сравнение с эталоном: ") + m_input.referenceName);
    const Profile &own = m_input.profile;
    const Profile &other = *m_input.reference;
    constexpr qreal Row = 14.5;
    const qreal tableHeight = Row * (2 + Resource::TraitCount + Resource::IndexCount);
    const qreal circleWidth = std::min(m_body.width() * 0.7, (bottom() - y - tableHeight - 16) * CirclePicture::PanelWidth
                                                                 / CirclePicture::PanelHeight);
    const QRectF circle(m_body.left() + (m_body.width() - circleWidth) / 2, y, circleWidth,
                        circleWidth * CirclePicture::PanelHeight / CirclePicture::PanelWidth);
    profileCircle(circle, &other);
    y = circle.bottom() + 12;

    const qreal scoreWidth = 64;
    const qreal x3 = m_body.right() - scoreWidth;
    const qreal x2 = x3 - scoreWidth;
    const qreal x1 = x2 - scoreWidth;
    const auto row = [&](const QString &name, const QString &a, const QString &b, const QString &c, const QFont &font) {
        text(QRectF(m_body.left() + 6, y, x1 - m_body.left() - 6, Row), Qt::AlignLeft | Qt::AlignVCenter, name, font);
        text(QRectF(x1, y, scoreWidth - 6, Row), Qt::AlignRight | Qt::AlignVCenter, a, font);
        text(QRectF(x2, y, scoreWidth - 6, Row), Qt::AlignRight | Qt::AlignVCenter, b, font);
        text(QRectF(x3, y, scoreWidth - 6, Row), Qt::AlignRight | Qt::AlignVCenter, c, font);
        m_painter.setPen(QPen(LightRule, 0.5));
        m_painter.drawLine(QPointF(m_body.left(), y + Row), QPointF(m_body.right(), y + Row));
        y += Row;
    };
    const auto difference = [](double a, double b) {
        const double d = a - b;
        return (d > 0 ? QStringLiteral("+") : QString()) + Scoring::scoreText(d);
    };
    m_painter.fillRect(QRectF(m_body.left(), y, m_body.width(), Row), HeaderFill);
    row(QStringLiteral("Черта, индекс"), QStringLiteral("Профиль"), QStringLiteral("Эталон"), QStringLiteral("Разница"),
        reportFont(8.5, true));
    for (int t = 1; t <= Resource::TraitCount; ++t) {
        m_painter.fillRect(QRectF(m_body.left(), y, m_body.width(), Row), IndexFill);
        row(Resource::TraitName(t), Scoring::scoreText(own.scores.trait(t)), Scoring::scoreText(other.scores.trait(t)),
            difference(own.scores.trait(t), other.scores.trait(t)), reportFont(9, true));
        for (int i = Resource::IndicesPerTrait * (t - 1) + 1; i <= Resource::IndicesPerTrait * t; ++i)
            row(QStringLiteral("    ") + Resource::IndexTitle(i), Scoring::scoreText(own.scores.index(i)),
                Scoring::scoreText(other.scores.index(i)),
                difference(own.scores.index(i), other.scores.index(i))
                    + (m_statistics.differences && (*m_statistics.differences)[std::size_t(i - 1)].significant() ? QStringLiteral(" *") : QString()),
                reportFont(9));
    }
    row(QStringLiteral("Общее среднее"), Scoring::scoreText(own.overallMean), Scoring::scoreText(other.overallMean),
        difference(own.overallMean, other.overallMean), reportFont(9, true));
    text(QRectF(m_body.left(), y + 4, m_body.width(), 24), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
         QStringLiteral("Сплошная линия — профиль, пунктир — эталон. Разница — профиль минус эталон. ") + ReportStatistics::comparisonNote(),
         reportFont(8), Muted);
    pageNumber(2);
}

void ReportPainter::drawTablePage(int k)
{
    runningHead();
    const ReportTablePage &page = m_input.tablePages[k];
    const qreal top = pageHeading(page.title);
    ReportTablePages::draw(m_painter, QRectF(m_body.left(), top, m_body.width(), bottom() - top), page);
    pageNumber(2 + (m_input.reference ? 1 : 0) + k);
}

void ReportPainter::drawStatementPage(int k)
{
    const int number = 2 + comparisonPages() + k;
    runningHead();
    const qreal top = pageHeading(k == 0 ? QStringLiteral("Оценки утверждений") : QStringLiteral("Оценки утверждений (продолжение)"));
    if (k == 0 && m_chartHeight > 0) {
        const std::unique_ptr<QTextDocument> key = smallPrint(m_painter.device(), statementKeyHtml(), m_body.width(), 8);
        const qreal chartHeight = m_chartHeight - key->size().height() - 14;
        m_painter.save();
        m_input.overviewChart(m_painter, QRectF(m_body.left(), top, m_body.width(), chartHeight));
        m_painter.restore();
        drawDocument(m_painter, *key, QPointF(m_body.left(), top + chartHeight + 6));
    }
    for (const Placed &placed : m_statementPages[std::size_t(k)]) {
        qreal y = placed.top;
        switch (placed.kind) {
        case Placed::Index:
            if (placed.traitHeader)
                y += traitHeader(Resource::traitOfIndex(placed.number), y, placed.continued, true);
            indexBlock(placed.number, y, true);
            break;
        case Placed::SummaryHeading:
            summaryHeading(StatementMark(placed.number), y, true);
            break;
        case Placed::SummaryRow:
            statementRow(placed.number, y, true);
            break;
        }
    }
    pageNumber(number);
}

// ---------------------------------------------------------------------------------------------
// The analysis

// The analysis as the memo shows it, a line of the summary per line, every index heading under the
// index's full title. A group's summary is its size unless the member list is asked for.
void ReportPainter::buildAnalysis()
{
    const Profile &profile = m_input.profile;
    const QString summary = namesRespondents(m_input) ? profile.hint() : identity(m_input);
    const QStringList analysis = AnalysisText::lines(profile.header, m_input.respondents, summary, profile.scores);
    const QList<int> marked = AnalysisText::headingLines(analysis);
    const int firstDescription = int(analysis.size()) - Resource::DescriptionLineCount;

    m_analysis = pageDocument(m_painter.device());
    QTextDocument &document = *m_analysis;
    document.setDefaultFont(reportFont(10));
    document.setDocumentMargin(0);
    document.setTextWidth(m_body.width());
    QTextCursor cursor(&document);
    QTextCharFormat plain;
    plain.setFont(reportFont(10));
    QTextCharFormat heading;
    heading.setFont(reportFont(11, true));
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
                entry.replace(0, described.size(), Resource::IndexTitle(block.index));
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
    m_analysisHeight = bottom() - (m_body.top() + RunningHeadHeight + 24 + 16);
    document.setPageSize(QSizeF(m_body.width(), m_analysisHeight));
    // A heading stays with the first line of its paragraph: one left at the foot of a page starts the
    // next page instead. Each break moves what follows, so the headings are looked at in order.
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    const auto pageOf = [&](qreal y) { return int(std::floor(y / m_analysisHeight)); };
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
    m_analysisPages = std::max(1, document.pageCount());
}

void ReportPainter::drawAnalysisPage(int k)
{
    runningHead();
    qreal top = pageHeading(k == 0 ? QStringLiteral("Анализ факторов") : QStringLiteral("Анализ факторов (продолжение)"));
    text(QRectF(m_body.left(), top - 4, m_body.width(), 14), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("Оценки черт и индексов в квадратных скобках — с тремя знаками после запятой."), reportFont(8), Muted);
    top += 16;
    m_painter.save();
    m_painter.translate(m_body.left(), top - k * m_analysisHeight);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, k * m_analysisHeight, m_body.width(), m_analysisHeight);
    context.palette.setColor(QPalette::Text, Ink);
    m_painter.setClipRect(context.clip);
    m_analysis->documentLayout()->draw(&m_painter, context);
    m_painter.restore();
    pageNumber(lastStatementPage() + 1 + k);
}

void ReportPainter::drawReliabilityPage()
{
    runningHead();
    const qreal top = pageHeading(QStringLiteral("Надёжность шкал"));
    const std::unique_ptr<QTextDocument> page =
        smallPrint(m_painter.device(), ReportStatistics::reliabilityHtml(*m_statistics.reliability), m_body.width(), 8.5);
    drawDocument(m_painter, *page, QPointF(m_body.left(), top));
    pageNumber(pageCount());
}

void ReportPainter::layOut()
{
    using namespace StatementTable;
    if (m_input.overviewChart) {
        const std::unique_ptr<QTextDocument> key = smallPrint(m_painter.device(), statementKeyHtml(), m_body.width(), 8);
        m_chartHeight = ChartHeight + key->size().height() + 14;
    }
    m_statementPages.assign(1, {});
    qreal y = statementsTop(true);
    const auto newPage = [&] {
        m_statementPages.emplace_back();
        y = statementsTop(false);
    };
    // Places a piece of the given height, on a new page where it does not fit below what this page
    // holds already (the chart, or pieces); a piece that fits no page goes where it begins.
    const auto place = [&](Placed placed, qreal height, const std::function<qreal()> &heightOnNewPage) {
        if (y + height > bottom() && y > statementsTop(false)) {
            newPage();
            height = heightOnNewPage();
            placed.traitHeader = placed.kind == Placed::Index;
        }
        placed.top = y;
        m_statementPages.back().push_back(placed);
        y += height;
    };
    // First what stands out: the marked statements as two lists, each on one page where it fits one.
    for (StatementMark which : {StatementMark::Highest, StatementMark::Lowest}) {
        const QList<int> statements = summaryStatements(which);
        if (statements.isEmpty())
            continue;
        const qreal heading = summaryHeading(which, 0, false);
        QList<qreal> rows;
        for (int s : statements)
            rows << statementRow(s, 0, false);
        const qreal whole = heading + std::accumulate(rows.cbegin(), rows.cend(), qreal(0));
        if (y + whole > bottom() && whole <= bottom() - statementsTop(false) && y > statementsTop(false))
            newPage();
        // The heading goes with its first row.
        place({Placed::SummaryHeading, int(which), 0}, heading + rows.first(), [&] { return heading + rows.first(); });
        y -= rows.first();
        for (int k = 0; k < statements.size(); ++k)
            place({Placed::SummaryRow, statements[k], 0}, rows[k], [&] { return rows[k]; });
        y += TraitGap;
    }
    // Then index by index, each with its five statements kept together; a trait's header goes with its
    // first index, and again where a trait goes on over a page break.
    for (int i = 1; i <= Resource::IndexCount; ++i) {
        const int t = Resource::traitOfIndex(i);
        const bool traitFirst = (i - 1) % Resource::IndicesPerTrait == 0;
        const qreal withHeader = indexBlock(i, 0, false) + traitHeader(t, 0, false, false);
        const bool header = traitFirst || m_statementPages.back().empty();
        const qreal height = header ? withHeader : indexBlock(i, 0, false);
        const std::size_t pagesBefore = m_statementPages.size();
        place({Placed::Index, i, 0, header, header && !traitFirst}, height, [&] { return withHeader; });
        if (m_statementPages.size() != pagesBefore) // on a new page: its trait's header, continued unless it begins there
            m_statementPages.back().back().continued = !traitFirst;
        if (i % Resource::IndicesPerTrait == 0)
            y += TraitGap;
    }
    buildAnalysis();
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
        writer.setTitle(reportTitleText());
        writer.setCreator(QStringLiteral("ZOLK Plot"));
        if (const Outcome<> painted = paint(writer, input); !painted)
            return Outcome<QByteArray>::failed(painted.message());
    }
    return buffer.data();
}

Outcome<> paint(QPagedPaintDevice &device, const ReportInput &input, int copies)
{
    QPainter painter;
    if (!painter.begin(&device))
        return Outcome<>::failed(QCoreApplication::translate("Report", "The PDF writer could not start."));
    ReportPainter report(input, painter, QRectF(0, 0, device.width(), device.height()));
    report.layOut();
    for (int copy = 0; copy < std::max(copies, 1); ++copy) {
        if (copy > 0)
            device.newPage();
        report.drawFirstPage();
        if (input.reference) {
            device.newPage();
            report.drawComparisonPage();
        }
        for (int k = 0; k < int(input.tablePages.size()); ++k) {
            device.newPage();
            report.drawTablePage(k);
        }
        for (int k = 0; k < report.statementPages(); ++k) {
            device.newPage();
            report.drawStatementPage(k);
        }
        for (int k = 0; k < report.analysisPages(); ++k) {
            device.newPage();
            report.drawAnalysisPage(k);
        }
        if (report.reliabilityPages()) {
            device.newPage();
            report.drawReliabilityPage();
        }
    }
    if (!painter.end())
        return Outcome<>::failed(QCoreApplication::translate("Report", "The PDF writer could not finish."));
    return {};
}

Outcome<> write(const QString &path, const ReportInput &input)
{
    const Outcome<QByteArray> pdf = render(input);
    if (!pdf)
        return Outcome<>::failed(FileOutput::cannotCreateMessage(path) + u'\n' + pdf.message());
    return FileOutput::write(path, *pdf);
}

} // namespace Report
