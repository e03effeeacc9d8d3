#include "ReportTitlePage.h"

#include "CirclePicture.h"
#include "ReportAnalysisPages.h"
#include "ReportReliabilityPage.h"
#include "ReportStatementPages.h"

#include <QPainter>

#include <cmath>

namespace Report {
namespace {

// The two-decimal score nearest to start in the given direction that falls, as the reader sees it
// (classified from its two-decimal text), in the wanted part of the band.
double firstShownIn(ScoreBand wanted, double start, int step, double overallMean, double band)
{
    if (!std::isfinite(start) || std::abs(start) > 1e9)
        return start;
    // start lies within a hundredth of the limit: a few steps find the first score on the band's side.
    for (long long k = std::llround(start * 100) - 3 * step, n = 0; n < 10; k += step, ++n)
        if (CirclePicture::labelBand(Scoring::scoreText(double(k) / 100.0), overallMean, band) == wanted)
            return double(k) / 100.0;
    return start;
}

} // namespace

double lowestHighScore(double overallMean, double band)
{
    return firstShownIn(ScoreBand::High, overallMean + band, 1, overallMean, band);
}

double highestLowScore(double overallMean, double band)
{
    return firstShownIn(ScoreBand::Low, overallMean - band, -1, overallMean, band);
}

} // namespace Report

qreal ReportTitlePage::titleBlock(ReportCanvas &canvas, qreal top)
{
    using Row = std::pair<QString, QString>;
    QList<Row> left;
    const ReportTitle &title = canvas.input().title;
    for (const Row &row : {Row(QStringLiteral("Компания"), title.company), Row(QStringLiteral("Консультант"), title.consultant),
                           Row(QStringLiteral("Дата опроса"), title.surveyDate)})
        if (!row.second.trimmed().isEmpty())
            left << Row(row.first, row.second.simplified());
    const RespondentHeader &header = canvas.profile().header;
    QList<Row> right;
    if (canvas.profile().group) {
        // The circle's caption under this block names the group: here only its size.
        right << Row(QStringLiteral("Заполнено анкет"), QString::number(canvas.groupSize()));
        if (header.name != ProfileText::groupName() && !header.name.trimmed().isEmpty())
            right << Row(QStringLiteral("Название"), header.name.simplified());
        right << Row(QStringLiteral("Дата расчёта"), header.date.simplified());
    } else {
        right << Row(QStringLiteral("ФИО"), header.name.simplified()) << Row(QStringLiteral("Код"), header.code.simplified())
              << Row(QStringLiteral("Дата анкеты"), header.date.simplified());
    }
    const QFont label = canvas.font(9);
    const QFont value = canvas.font(9.5, true);
    constexpr qreal RowHeight = 14;
    const QRectF &body = canvas.body();
    const qreal half = body.width() / 2;
    const auto column = [&](const QList<Row> &rows, qreal x) {
        qreal labelWidth = 0;
        for (const Row &row : rows)
            labelWidth = std::max(labelWidth, canvas.metrics(label).horizontalAdvance(row.first + u':'));
        for (int k = 0; k < rows.size(); ++k) {
            const qreal y = top + k * RowHeight;
            canvas.text(QRectF(x, y, labelWidth, RowHeight), Qt::AlignLeft | Qt::AlignVCenter, rows[k].first + u':', label,
                        ReportCanvas::Muted);
            const qreal valueLeft = x + labelWidth + 8;
            const qreal valueWidth = half - 12 - labelWidth - 8;
            canvas.text(QRectF(valueLeft, y, valueWidth, RowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                        canvas.metrics(value).elidedText(rows[k].second, Qt::ElideRight, valueWidth), value);
        }
    };
    // Without a title block the profile's lines stand on the left.
    if (left.isEmpty())
        std::swap(left, right);
    column(left, body.left());
    column(right, body.left() + half);
    return top + std::max(left.size(), right.size()) * RowHeight;
}

namespace {
namespace ResultsTable {
constexpr qreal RowHeight = 14.5;
constexpr int Rows = 1 + Resource::IndexCount + 1; // the header, the indices, the overall mean
constexpr qreal TraitWidth = 150;
constexpr qreal ScoreWidth = 52;
} // namespace ResultsTable
} // namespace

qreal ReportTitlePage::resultsTableHeight()
{
    return ResultsTable::Rows * ResultsTable::RowHeight;
}

// The trait and index scores under the indices' names: each trait beside its three indices, the
// overall mean below.
void ReportTitlePage::resultsTable(ReportCanvas &canvas, qreal top)
{
    using namespace ResultsTable;
    QPainter &painter = canvas.painter();
    const QRectF &body = canvas.body();
    const qreal x0 = body.left();
    const qreal x1 = x0 + TraitWidth;
    const qreal x2 = x1 + ScoreWidth;
    const qreal x4 = body.right();
    const qreal x3 = x4 - ScoreWidth;
    const qreal pad = 6;
    const QFont headerFont = canvas.font(8.5, true);
    const QFont plain = canvas.font(9);

    painter.fillRect(QRectF(x0, top, x4 - x0, RowHeight), ReportCanvas::HeaderFill);
    canvas.text(QRectF(x0 + pad, top, TraitWidth, RowHeight), Qt::AlignLeft | Qt::AlignVCenter, Resource::traitWord(), headerFont);
    canvas.text(QRectF(x1, top, ScoreWidth - pad, RowHeight), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Оценка"), headerFont);
    canvas.text(QRectF(x2 + pad, top, x3 - x2, RowHeight), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Индекс"), headerFont);
    canvas.text(QRectF(x3, top, ScoreWidth - pad, RowHeight), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Оценка"), headerFont);

    const ProfileScores &scores = canvas.profile().scores;
    for (int t = 1; t <= Resource::TraitCount; ++t) {
        const qreal traitTop = top + RowHeight * (1 + Resource::IndicesPerTrait * (t - 1));
        const QRectF traitCell(x0, traitTop, TraitWidth, RowHeight * Resource::IndicesPerTrait);
        painter.fillRect(QRectF(x0 + pad, traitCell.center().y() - 4, 8, 8), Resource::TraitColor(t));
        canvas.text(traitCell.adjusted(pad + 13, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, Resource::TraitName(t),
                    canvas.font(9.5, true));
        canvas.score(QRectF(x1, traitTop, ScoreWidth - pad, traitCell.height()), scores.trait(t), 9.5);
        for (int k = 0; k < Resource::IndicesPerTrait; ++k) {
            const int i = Resource::IndicesPerTrait * (t - 1) + k + 1;
            const qreal y = traitTop + k * RowHeight;
            canvas.text(QRectF(x2 + pad, y, x3 - x2 - pad, RowHeight), Qt::AlignLeft | Qt::AlignVCenter, Resource::indexHeading(i),
                        plain);
            canvas.score(QRectF(x3, y, ScoreWidth - pad, RowHeight), scores.index(i), 9);
            if (const auto &interval = canvas.statistics().intervals[std::size_t(i - 1)])
                canvas.text(QRectF(x3 - 64, y, 60, RowHeight), Qt::AlignRight | Qt::AlignVCenter,
                            ReportStatistics::intervalText(*interval), canvas.font(7), ReportCanvas::Muted);
            if (k > 0) {
                painter.setPen(QPen(ReportCanvas::LightRule, 0.5));
                painter.drawLine(QPointF(x2, y), QPointF(x4, y));
            }
        }
        painter.setPen(QPen(ReportCanvas::RuleColour, 0.6));
        painter.drawLine(QPointF(x0, traitTop), QPointF(x4, traitTop));
    }
    const qreal meanTop = top + RowHeight * (Rows - 1);
    painter.fillRect(QRectF(x0, meanTop, x4 - x0, RowHeight), ReportCanvas::IndexFill);
    canvas.text(QRectF(x0 + pad, meanTop, x3 - x0, RowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                QStringLiteral("Общее среднее (геометрическое среднее двенадцати индексов)"), canvas.font(9, true));
    canvas.text(QRectF(x3, meanTop, ScoreWidth - pad, RowHeight), Qt::AlignRight | Qt::AlignVCenter,
                Scoring::scoreText(canvas.mean()), canvas.font(9, true));
    painter.setPen(QPen(ReportCanvas::RuleColour, 0.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(x0, meanTop), QPointF(x4, meanTop));
    painter.drawRect(QRectF(x0, top, x4 - x0, RowHeight * Rows));
    for (qreal x : {x1, x2, x3})
        painter.drawLine(QPointF(x, top), QPointF(x, meanTop));
}

QString ReportTitlePage::legendHtml(const ReportCanvas &canvas)
{
    const double mean = canvas.mean();
    const double band = canvas.band();
    const QString halfWidth = Scoring::formatFixed(band, 2);
    const QString green = Scoring::bandColor(ScoreBand::High).name();
    const QString red = Scoring::bandColor(ScoreBand::Low).name();
    QString html = QStringLiteral("<p style=\"margin-top:0; margin-bottom:3px\"><b>Условные обозначения.</b> Общее среднее — "
                                  "геометрическое среднее двенадцати индексов: <b>%1</b>. Полоса (Range) — общее среднее "
                                  "±\u00a0%2.</p>")
                       .arg(Scoring::scoreText(mean), halfWidth);
    html += QStringLiteral("<p style=\"margin-top:0; margin-bottom:3px\"><b><span style=\"color:%1\">Жирным зелёным</span></b> — "
                           "оценки не ниже общего среднего +\u00a0%2 (<b>%3 и\u00a0выше</b>); <b><span style=\"color:%4\">жирным "
                           "красным</span></b> — не выше общего среднего −\u00a0%2 (<b>%5 и\u00a0ниже</b>); остальные — обычным "
                           "чёрным. Так выделены оценки факторов и индексов в круге и в таблице.</p>")
                .arg(green, halfWidth, Scoring::scoreText(Report::lowestHighScore(mean, band)), red,
                     Scoring::scoreText(Report::highestLowScore(mean, band)));
    const QPair<int, int> statements = canvas.pagesOf<ReportStatementPages>();
    const QPair<int, int> analysis = canvas.pagesOf<ReportAnalysisPages>();
    html += QStringLiteral("<p style=\"margin-top:0\">Оценки на с.\u00a0%1 — с двумя знаками после запятой; в анализе факторов на с.\u00a0%2 — "
                           "с тремя, как их записывает программа.</p>")
                .arg(ReportText::pageRange(1, statements.second), ReportText::pageRange(analysis.first, analysis.second));
    if (canvas.statistics().intervals[0]) {
        const QPair<int, int> reliability = canvas.pagesOf<ReportReliabilityPage>();
        html += QStringLiteral("<p style=\"margin-top:0\">Серым рядом с оценкой индекса — 95-процентный доверительный интервал "
                               "среднего группы.%1</p>")
                    .arg(reliability.first ? QStringLiteral(" Надёжность шкал — на с.\u00a0%1.").arg(reliability.first) : QString());
    }
    return html;
}

void ReportTitlePage::drawPage(ReportCanvas &canvas, int)
{
    const QRectF &body = canvas.body();
    qreal y = body.top();
    canvas.text(QRectF(body.left(), y, body.width(), 24), Qt::AlignLeft | Qt::AlignVCenter, ReportCanvas::title(),
                canvas.font(17, true));
    y += 30;
    canvas.rule(y, ReportCanvas::Ink, 0.8);
    y = titleBlock(canvas, y + 7) + 6;
    canvas.rule(y);
    y += 10;

    const std::unique_ptr<QTextDocument> legend = canvas.smallPrint(legendHtml(canvas), body.width() - 12, 8);
    const qreal legendHeight = legend->size().height() + 10;
    const qreal tableHeight = resultsTableHeight();
    const qreal room = canvas.bottom() - y - tableHeight - legendHeight - 2 * 10;
    const qreal circleWidth = std::min(body.width() * 0.82, room * CirclePicture::PanelWidth / CirclePicture::PanelHeight);
    const QRectF circle(body.left() + (body.width() - circleWidth) / 2, y, circleWidth,
                        circleWidth * CirclePicture::PanelHeight / CirclePicture::PanelWidth);
    canvas.profileCircle(circle);
    y = circle.bottom() + 10;
    resultsTable(canvas, y);
    y += tableHeight + 10;
    const QRectF legendBox(body.left(), y, body.width(), legendHeight);
    canvas.painter().fillRect(legendBox, QColor(247, 247, 247));
    canvas.drawDocument(*legend, legendBox.topLeft() + QPointF(6, 5));
}
