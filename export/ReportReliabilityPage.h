#pragma once
// ReportReliabilityPage is the report's last page for a group large enough to judge its scales:
// "Надёжность шкал", per index and trait the alpha with its interval and a verdict, and the
// statements that run against their index (ReportStatistics).

#include "ReportCanvas.h"

class ReportReliabilityPage final : public ReportSection
{
public:
    int layOut(ReportCanvas &canvas) override { return canvas.statistics().reliability ? 1 : 0; }
    void drawPage(ReportCanvas &canvas, int k) override;
};
