#include "ReportReliabilityPage.h"

void ReportReliabilityPage::drawPage(ReportCanvas &canvas, int)
{
    const qreal top = canvas.pageHeading(QStringLiteral("Надёжность шкал"));
    const std::unique_ptr<QTextDocument> page =
        canvas.smallPrint(ReportStatistics::reliabilityHtml(*canvas.statistics().reliability), canvas.body().width(), 8.5);
    canvas.drawDocument(*page, QPointF(canvas.body().left(), top));
}
