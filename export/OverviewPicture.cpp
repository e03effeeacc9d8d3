#include "OverviewPicture.h"

#include "Fonts.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace OverviewPicture {
namespace {

// The scales, as the window's overview has them: statements 0 to 61 across, scores 0 to 5.5 up.
constexpr double StatementAxisEnd = 61;
constexpr double ScoreAxisEnd = 5.5;
// Bars 70 % of a statement's width, set 10 % of their width before their statement.
constexpr double BarWidth = 0.7 * StatementAxisEnd / (Resource::StatementCount + 1);
constexpr double BarShift = 0.1 * BarWidth;
// The index marks stand at this score, over the last statement of each index.
constexpr double MarkScore = 5.1;
constexpr qreal MarkSize = 7;

// The smallest step of 1, 2 or 5 times a power of ten from minStep on whose labels, each extent
// long, do not overlap over a scale of the given range drawn pixelLength long.
double labelStep(double minStep, double range, double pixelLength, double extent)
{
    for (double decade = minStep; decade < range * 1000; decade *= 10)
        for (double factor : {1.0, 2.0, 5.0})
            if (decade * factor * pixelLength / range >= extent)
                return decade * factor;
    return range;
}

} // namespace

void draw(QPainter &painter, const QRectF &target, const Profile &profile, double band)
{
    const qreal scale = std::min(target.width() / Width, target.height() / Height);
    if (!(scale > 0))
        return;
    painter.save();
    painter.translate(target.left() + (target.width() - Width * scale) / 2, target.top());
    painter.scale(scale, scale);
    const QRectF chart(0, 0, Width, Height);
    painter.fillRect(chart, Qt::white);

    const QFont titleFont = [] {
        QFont font = Fonts::pixelFont(Fonts::chartFamily(), 12);
        font.setBold(true);
        return font;
    }();
    const QFont labelFont = Fonts::pixelFont(Fonts::chartFamily(), 10);
    const QFont markFont = [] {
        QFont font = Fonts::pixelFont(Fonts::chartFamily(), 11);
        font.setBold(true);
        return font;
    }();
    const QFontMetricsF labels(labelFont, painter.device());
    const QLocale locale;

    // The title, then the plot with the score labels to its left and the statement labels below.
    const QString title = QStringLiteral("Данные по всем утверждениям");
    painter.setFont(titleFont);
    painter.setPen(QColor(64, 64, 64));
    painter.drawText(QRectF(0, 2, Width, 20), Qt::AlignCenter, title);
    const qreal scoreLabelWidth = labels.horizontalAdvance(locale.toString(5.0, 'f', 2)) + 8;
    const QRectF plot(QPointF(10 + scoreLabelWidth, 30), QPointF(Width - 12, Height - 16 - labels.height() - 6));
    const auto x = [&](double statement) { return plot.left() + statement / StatementAxisEnd * plot.width(); };
    const auto y = [&](double score) { return plot.bottom() - score / ScoreAxisEnd * plot.height(); };
    const auto bounded = [](double score) { return std::clamp(score, -1.0, 6.5); };

    // The statement labels and their grid lines across the plot; the score labels and their ticks.
    const double statementStep =
        labelStep(1, StatementAxisEnd, plot.width(), labels.horizontalAdvance(QStringLiteral("60")) + 14);
    const double scoreStep = labelStep(1, ScoreAxisEnd, plot.height(), labels.height() + 2);
    painter.setFont(labelFont);
    for (double s = 0; s <= StatementAxisEnd + 1e-9; s += statementStep) {
        painter.setPen(QPen(QColor(224, 224, 224), 0.6));
        painter.drawLine(QPointF(x(s), plot.top()), QPointF(x(s), plot.bottom()));
        painter.setPen(QPen(QColor(64, 64, 64), 0.8));
        painter.drawLine(QPointF(x(s), plot.bottom()), QPointF(x(s), plot.bottom() + 4));
        painter.drawText(QRectF(x(s) - 20, plot.bottom() + 5, 40, labels.height()), Qt::AlignHCenter | Qt::AlignTop,
                         locale.toString(s, 'f', 0));
    }
    for (double v = 0; v <= ScoreAxisEnd + 1e-9; v += scoreStep) {
        painter.drawLine(QPointF(plot.left() - 4, y(v)), QPointF(plot.left(), y(v)));
        painter.drawText(QRectF(0, y(v) - labels.height() / 2, plot.left() - 6, labels.height()), Qt::AlignRight | Qt::AlignVCenter,
                         locale.toString(v, 'f', 2));
    }

    painter.save();
    painter.setClipRect(plot);
    // The bars in their trait colours, outlined in grey.
    for (int s = 1; s <= Resource::StatementCount; ++s) {
        const double score = profile.scores.statement(s);
        if (!std::isfinite(score))
            continue;
        const double centre = s - BarShift;
        painter.setPen(QPen(QColor(128, 128, 128), 0.8));
        painter.setBrush(Resource::TraitColor(Resource::traitOfStatement(s)));
        painter.drawRect(QRectF(QPointF(x(centre - BarWidth / 2), y(bounded(score))), QPointF(x(centre + BarWidth / 2), y(0))).normalized());
    }
    // The overall mean solid, the band's limits dotted, across the plot.
    const auto line = [&](double score, Qt::PenStyle style) {
        if (!std::isfinite(score))
            return;
        painter.setPen(QPen(Qt::black, 1, style));
        painter.drawLine(QPointF(plot.left(), y(bounded(score))), QPointF(plot.right(), y(bounded(score))));
    };
    const double mean = profile.overallMean;
    const double half = std::isfinite(band) ? std::clamp(band, 0.0, 7.5) : 0.0;
    line(mean, Qt::SolidLine);
    line(mean + half, Qt::DotLine);
    line(mean - half, Qt::DotLine);
    // The index marks: a square in the index's colour with its number above.
    painter.setFont(markFont);
    const QFontMetricsF marks(markFont, painter.device());
    for (int i = 1; i <= Resource::IndexCount; ++i) {
        const QPointF at(x(Resource::StatementsPerIndex * i), y(MarkScore));
        painter.fillRect(QRectF(at.x() - MarkSize / 2, at.y() - MarkSize / 2, MarkSize, MarkSize), Resource::indexColor(i));
        const QString number = QString::number(i);
        const qreal width = marks.horizontalAdvance(number) + 4;
        painter.setPen(Qt::black);
        painter.drawText(QRectF(at.x() - width / 2, at.y() - 4 - marks.height() - 2, width, marks.height() + 2), Qt::AlignCenter,
                         number);
    }
    painter.restore();

    // The axes' lines and the frame of the chart.
    painter.setPen(QPen(QColor(64, 64, 64), 0.8));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.setPen(QPen(QColor(170, 170, 170), 0.5 / scale));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(chart);
    painter.restore();
}

} // namespace OverviewPicture
