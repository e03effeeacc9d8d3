#pragma once
// ReportTitlePage is page 1 of the report: the title block, the profile circle, the table of trait
// and index scores and the legend of what bold green, bold red and the band mean.

#include "ReportCanvas.h"

class ReportTitlePage final : public ReportSection
{
public:
    int layOut(ReportCanvas &) override { return 1; }
    void drawPage(ReportCanvas &canvas, int k) override;

private:
    static qreal titleBlock(ReportCanvas &canvas, qreal top);
    static qreal resultsTableHeight();
    static void resultsTable(ReportCanvas &canvas, qreal top);
    static QString legendHtml(const ReportCanvas &canvas);
};
