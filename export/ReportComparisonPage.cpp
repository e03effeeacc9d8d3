#include "ReportComparisonPage.h"

#include "CirclePicture.h"

#include <QPainter>

void ReportComparisonPage::drawPage(ReportCanvas &canvas, int)
{
    const ReportInput &input = canvas.input();
    QPainter &painter = canvas.painter();
    const QRectF &body = canvas.body();
    qreal y = canvas.pageHeading(QStringLiteral("Сравнение с эталоном: ") + input.referenceName);
    const Profile &own = input.profile;
    const Profile &other = *input.reference;
    constexpr qreal Row = 14.5;
    const qreal tableHeight = Row * (2 + Resource::TraitCount + Resource::IndexCount);
    const qreal circleWidth = std::min(body.width() * 0.7, (canvas.bottom() - y - tableHeight - 16) * CirclePicture::PanelWidth
                                                               / CirclePicture::PanelHeight);
    const QRectF circle(body.left() + (body.width() - circleWidth) / 2, y, circleWidth,
                        circleWidth * CirclePicture::PanelHeight / CirclePicture::PanelWidth);
    canvas.profileCircle(circle, &other);
    y = circle.bottom() + 12;

    const qreal scoreWidth = 64;
    const qreal x3 = body.right() - scoreWidth;
    const qreal x2 = x3 - scoreWidth;
    const qreal x1 = x2 - scoreWidth;
    const auto row = [&](const QString &name, const QString &a, const QString &b, const QString &c, const QFont &font) {
        canvas.text(QRectF(body.left() + 6, y, x1 - body.left() - 6, Row), Qt::AlignLeft | Qt::AlignVCenter, name, font);
        canvas.text(QRectF(x1, y, scoreWidth - 6, Row), Qt::AlignRight | Qt::AlignVCenter, a, font);
        canvas.text(QRectF(x2, y, scoreWidth - 6, Row), Qt::AlignRight | Qt::AlignVCenter, b, font);
        canvas.text(QRectF(x3, y, scoreWidth - 6, Row), Qt::AlignRight | Qt::AlignVCenter, c, font);
        painter.setPen(QPen(ReportCanvas::LightRule, 0.5));
        painter.drawLine(QPointF(body.left(), y + Row), QPointF(body.right(), y + Row));
        y += Row;
    };
    const auto difference = [](double a, double b) { return Scoring::differenceText(a - b, 2); };
    // A star marks an index whose difference is significant (ReportStatistics::comparisonNote).
    const auto &differences = canvas.statistics().differences;
    const auto significant = [&](int i) { return differences && (*differences)[std::size_t(i - 1)].significant(); };
    painter.fillRect(QRectF(body.left(), y, body.width(), Row), ReportCanvas::HeaderFill);
    row(Resource::traitWord() + QStringLiteral(", индекс"), QStringLiteral("Профиль"), QStringLiteral("Эталон"),
        QStringLiteral("Разница"), canvas.font(8.5, true));
    for (int t = 1; t <= Resource::TraitCount; ++t) {
        painter.fillRect(QRectF(body.left(), y, body.width(), Row), ReportCanvas::IndexFill);
        row(Resource::TraitName(t), Scoring::scoreText(own.scores.trait(t)), Scoring::scoreText(other.scores.trait(t)),
            difference(own.scores.trait(t), other.scores.trait(t)), canvas.font(9, true));
        for (int i = Resource::IndicesPerTrait * (t - 1) + 1; i <= Resource::IndicesPerTrait * t; ++i)
            row(QStringLiteral("    ") + Resource::indexHeading(i), Scoring::scoreText(own.scores.index(i)),
                Scoring::scoreText(other.scores.index(i)),
                difference(own.scores.index(i), other.scores.index(i)) + (significant(i) ? QStringLiteral(" *") : QString()),
                canvas.font(9));
    }
    row(QStringLiteral("Общее среднее"), Scoring::scoreText(own.overallMean), Scoring::scoreText(other.overallMean),
        difference(own.overallMean, other.overallMean), canvas.font(9, true));
    canvas.text(QRectF(body.left(), y + 4, body.width(), 24), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                QStringLiteral("Сплошная линия — профиль, пунктир — эталон. Разница — профиль минус эталон. ")
                    + ReportStatistics::comparisonNote(),
                canvas.font(8),
                ReportCanvas::Muted);
}
