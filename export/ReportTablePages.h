#pragma once
// ReportTablePages are the report's pages of figures after the comparison, one per ReportTablePage
// of the input (the archive's norms and the client's trend): the page's circle, its table and the
// note under it.

#include "ReportCanvas.h"

class ReportTablePages final : public ReportSection
{
public:
    int layOut(ReportCanvas &canvas) override { return int(canvas.input().tablePages.size()); }
    void drawPage(ReportCanvas &canvas, int k) override;

private:
    // Draws the page's circle, table and note into area (below the page heading); the first column
    // takes what the others leave.
    static void drawFigures(ReportCanvas &canvas, const QRectF &area, const ReportTablePage &page);
};
