#include "ReportStatementPages.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

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


} // namespace Report

namespace {
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
} // namespace

using Report::StatementMark;

QString ReportStatementPages::statementKeyHtml(const ReportCanvas &canvas) const
{
    const double mean = canvas.mean();
    const double band = canvas.band();
    QString html = QStringLiteral("<p style=\"margin-top:0; margin-bottom:2px\"><b>График:</b> столбики — оценки утверждений 1–60 в цветах "
                                  "факторов; сплошная линия — общее среднее (%1); точечные линии — границы полосы ±\u00a0%2 (%3 и\u00a0%4); "
                                  "квадраты с номерами — индексы 1–12.</p>")
                       .arg(Scoring::scoreText(mean), Scoring::formatFixed(band, 2), Scoring::scoreText(mean - band),
                            Scoring::scoreText(mean + band));
    html += QStringLiteral("<p style=\"margin-top:0; margin-bottom:2px\"><b>Списки и таблицы:</b> ▲ — пять самых высоких оценок утверждений, "
                           "▼ — пять самых низких; при равных оценках на границе отмечены все равные, поэтому значков "
                           "может быть больше пяти. Ниже они собраны в два списка, затем идут все утверждения по индексам.");
    if (Report::marksCutsMeet(canvas.profile().scores.ItemScores))
        html += QStringLiteral(" Оценки почти одинаковы: оценка, которая вошла бы и в высшие, и в низшие, не отмечена.");
    html += QStringLiteral(" Полоска — оценка на шкале от 0 до 5 в цвете фактора, отметка на ней — общее среднее (%1). "
                           "(*) — утверждение с отрицательной формулировкой, его оценка пересчитана по обратной шкале.</p>")
                .arg(Scoring::scoreText(mean));
    return html;
}

qreal ReportStatementPages::statementsTop(const ReportCanvas &canvas, bool firstPage) const
{
    const qreal top = canvas.contentTop();
    return firstPage ? top + m_chartHeight : top;
}

qreal ReportStatementPages::traitHeader(ReportCanvas &canvas, int trait, qreal top, bool continued, bool paint) const
{
    using namespace StatementTable;
    if (paint) {
        QPainter &painter = canvas.painter();
        const QRectF &body = canvas.body();
        const QRectF row(body.left(), top, body.width(), TraitHeaderHeight);
        painter.fillRect(QRectF(row.left(), row.center().y() - 4.5, 9, 9), Resource::TraitColor(trait));
        QString name = Resource::TraitName(trait);
        if (continued)
            name += QStringLiteral(" (продолжение)");
        canvas.text(row.adjusted(14, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, name, canvas.font(11, true));
        const QRectF scoreCell(row.right() - BarWidth - BarGap - ScoreWidth, top, ScoreWidth, TraitHeaderHeight);
        canvas.score(scoreCell, canvas.profile().scores.trait(trait), 10.5);
        canvas.text(QRectF(scoreCell.right() + BarGap, top, BarWidth, TraitHeaderHeight), Qt::AlignLeft | Qt::AlignVCenter,
                    QStringLiteral("оценка фактора"), canvas.font(7.5), ReportCanvas::Muted);
        painter.setPen(QPen(Resource::TraitColor(trait), 1.5));
        painter.drawLine(QPointF(row.left(), row.bottom() - 1), QPointF(row.right(), row.bottom() - 1));
    }
    return TraitHeaderHeight;
}

qreal ReportStatementPages::statementRow(ReportCanvas &canvas, int s, qreal top, bool paint) const
{
    using namespace StatementTable;
    const QRectF &body = canvas.body();
    const qreal textWidth = body.width() - TextLeft - ScoreWidth - BarGap - BarWidth - 8;
    QString statement = Resource::StatementText(s);
    // The number stands in its own column.
    const QString prefix = QString::number(s) + QStringLiteral(". ");
    if (statement.startsWith(prefix))
        statement.remove(0, prefix.size());
    const QFont font = canvas.font(TextPoints);
    const QFontMetricsF fm = canvas.metrics(font);
    const qreal textHeight = fm.boundingRect(QRectF(0, 0, textWidth, 1000), Qt::TextWordWrap, statement).height();
    const qreal height = std::max(textHeight, fm.height()) + 2 * Padding;
    if (!paint)
        return height;

    QPainter &painter = canvas.painter();
    const double mean = canvas.mean();
    const StatementMark mark = m_marks[std::size_t(s - 1)];
    const qreal line = top + Padding;
    const qreal x = body.left();
    const bool marked = mark != StatementMark::None;
    if (marked)
        canvas.text(QRectF(x, line, MarkWidth, fm.height()), Qt::AlignCenter,
                    mark == StatementMark::Highest ? QStringLiteral("▲") : QStringLiteral("▼"), canvas.font(TextPoints));
    canvas.text(QRectF(x + MarkWidth, line, NumberWidth, fm.height()), Qt::AlignRight | Qt::AlignVCenter, QString::number(s),
                canvas.font(TextPoints, marked), marked ? ReportCanvas::Ink : ReportCanvas::Muted);
    canvas.text(QRectF(x + TextLeft, line, textWidth, textHeight + 1), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, statement,
                font);
    const double value = canvas.profile().scores.statement(s);
    const qreal scoreLeft = body.right() - BarWidth - BarGap - ScoreWidth;
    canvas.text(QRectF(scoreLeft, line, ScoreWidth, fm.height()), Qt::AlignRight | Qt::AlignVCenter, Scoring::scoreText(value),
                canvas.font(TextPoints + 0.5, marked));

    // The bar on the 0..5 scale, and the overall mean across it.
    const QRectF track(body.right() - BarWidth, line + fm.height() / 2 - 3, BarWidth, 6);
    painter.fillRect(track, ReportCanvas::TrackColour);
    const auto along = [&](double v) {
        return track.left() + track.width() * std::clamp(std::isfinite(v) ? v : 0.0, 0.0, double(ScaleMaximum)) / ScaleMaximum;
    };
    painter.fillRect(QRectF(track.left(), track.top(), along(value) - track.left(), track.height()), Resource::statementColor(s));
    painter.setPen(QPen(ReportCanvas::Ink, 0.8));
    painter.drawLine(QPointF(along(mean), track.top() - 2), QPointF(along(mean), track.bottom() + 2));

    painter.setPen(QPen(ReportCanvas::LightRule, 0.5));
    painter.drawLine(QPointF(x, top + height), QPointF(body.right(), top + height));
    return height;
}

qreal ReportStatementPages::indexBlock(ReportCanvas &canvas, int index, qreal top, bool paint) const
{
    using namespace StatementTable;
    qreal y = top;
    if (paint) {
        const QRectF &body = canvas.body();
        const QRectF row(body.left(), y, body.width(), IndexHeaderHeight);
        canvas.painter().fillRect(row, ReportCanvas::IndexFill);
        canvas.text(row.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, Resource::indexHeading(index), canvas.font(9.5, true));
        canvas.score(QRectF(body.right() - BarWidth - BarGap - ScoreWidth, y, ScoreWidth, IndexHeaderHeight),
                     canvas.profile().scores.index(index), 9.5);
        canvas.text(QRectF(body.right() - BarWidth, y, BarWidth, IndexHeaderHeight), Qt::AlignLeft | Qt::AlignVCenter,
                    QStringLiteral("оценка индекса"), canvas.font(7.5), ReportCanvas::Muted);
    }
    y += IndexHeaderHeight;
    for (int k = 0; k < Resource::StatementsPerIndex; ++k)
        y += statementRow(canvas, Resource::StatementsPerIndex * (index - 1) + k + 1, y, paint);
    return y - top + IndexGap;
}

QList<int> ReportStatementPages::summaryStatements(const ReportCanvas &canvas, StatementMark which) const
{
    QList<int> statements;
    for (int s = 1; s <= Resource::StatementCount; ++s)
        if (m_marks[std::size_t(s - 1)] == which)
            statements << s;
    const ProfileScores &scores = canvas.profile().scores;
    std::stable_sort(statements.begin(), statements.end(), [&](int a, int b) {
        return which == StatementMark::Highest ? scores.statement(a) > scores.statement(b) : scores.statement(a) < scores.statement(b);
    });
    return statements;
}

qreal ReportStatementPages::summaryHeading(ReportCanvas &canvas, StatementMark which, qreal top, bool paint) const
{
    using namespace StatementTable;
    if (paint) {
        const QRectF &body = canvas.body();
        const QRectF row(body.left(), top, body.width(), TraitHeaderHeight);
        const bool highest = which == StatementMark::Highest;
        canvas.text(row, Qt::AlignLeft | Qt::AlignVCenter,
                    highest ? QStringLiteral("▲ Самые высокие оценки утверждений") : QStringLiteral("▼ Самые низкие оценки утверждений"),
                    canvas.font(11, true));
        canvas.painter().setPen(QPen(ReportCanvas::Ink, 1));
        canvas.painter().drawLine(QPointF(row.left(), row.bottom() - 1), QPointF(row.right(), row.bottom() - 1));
    }
    return TraitHeaderHeight + 2;
}

void ReportStatementPages::drawPage(ReportCanvas &canvas, int k)
{
    const QRectF &body = canvas.body();
    const qreal top = canvas.pageHeading(k == 0 ? QStringLiteral("Оценки утверждений") : QStringLiteral("Оценки утверждений (продолжение)"));
    if (k == 0 && m_chartHeight > 0) {
        const std::unique_ptr<QTextDocument> key = canvas.smallPrint(statementKeyHtml(canvas), body.width(), 8);
        const qreal chartHeight = m_chartHeight - key->size().height() - 14;
        QPainter &painter = canvas.painter();
        painter.save();
        canvas.input().overviewChart(painter, QRectF(body.left(), top, body.width(), chartHeight));
        painter.restore();
        canvas.drawDocument(*key, QPointF(body.left(), top + chartHeight + 6));
    }
    for (const Placed &placed : m_pages[std::size_t(k)]) {
        qreal y = placed.top;
        switch (placed.kind) {
        case Placed::Index:
            if (placed.traitHeader)
                y += traitHeader(canvas, Resource::traitOfIndex(placed.number), y, placed.continued, true);
            indexBlock(canvas, placed.number, y, true);
            break;
        case Placed::SummaryHeading:
            summaryHeading(canvas, StatementMark(placed.number), y, true);
            break;
        case Placed::SummaryRow:
            statementRow(canvas, placed.number, y, true);
            break;
        }
    }
}

int ReportStatementPages::layOut(ReportCanvas &canvas)
{
    using namespace StatementTable;
    m_marks = Report::statementMarks(canvas.profile().scores.ItemScores);
    if (canvas.input().overviewChart) {
        const std::unique_ptr<QTextDocument> key = canvas.smallPrint(statementKeyHtml(canvas), canvas.body().width(), 8);
        m_chartHeight = ChartHeight + key->size().height() + 14;
    }
    const qreal bottom = canvas.bottom();
    m_pages.assign(1, {});
    qreal y = statementsTop(canvas, true);
    const auto newPage = [&] {
        m_pages.emplace_back();
        y = statementsTop(canvas, false);
    };
    // Places a piece of the given height, on a new page where it does not fit below what this page
    // holds already (the chart, or pieces); a piece that fits no page goes where it begins.
    const auto place = [&](Placed placed, qreal height, const std::function<qreal()> &heightOnNewPage) {
        if (y + height > bottom && y > statementsTop(canvas, false)) {
            newPage();
            height = heightOnNewPage();
            placed.traitHeader = placed.kind == Placed::Index;
        }
        placed.top = y;
        m_pages.back().push_back(placed);
        y += height;
    };
    // First what stands out: the marked statements as two lists, each on one page where it fits one.
    for (StatementMark which : {StatementMark::Highest, StatementMark::Lowest}) {
        const QList<int> statements = summaryStatements(canvas, which);
        if (statements.isEmpty())
            continue;
        const qreal heading = summaryHeading(canvas, which, 0, false);
        QList<qreal> rows;
        for (int s : statements)
            rows << statementRow(canvas, s, 0, false);
        const qreal whole = heading + std::accumulate(rows.cbegin(), rows.cend(), qreal(0));
        if (y + whole > bottom && whole <= bottom - statementsTop(canvas, false) && y > statementsTop(canvas, false))
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
        const qreal withHeader = indexBlock(canvas, i, 0, false) + traitHeader(canvas, t, 0, false, false);
        const bool header = traitFirst || m_pages.back().empty();
        const qreal height = header ? withHeader : indexBlock(canvas, i, 0, false);
        const std::size_t pagesBefore = m_pages.size();
        place({Placed::Index, i, 0, header, header && !traitFirst}, height, [&] { return withHeader; });
        if (m_pages.size() != pagesBefore) // on a new page: its trait's header, continued unless it begins there
            m_pages.back().back().continued = !traitFirst;
        if (i % Resource::IndicesPerTrait == 0)
            y += TraitGap;
    }
    return int(m_pages.size());
}
