#pragma once
// ReportComparisonPage is the page of the report, while a comparison is on, with the profile and its
// reference on one circle and every trait, index and the overall mean with both scores and their
// difference.

#include "ReportCanvas.h"

class ReportComparisonPage final : public ReportSection
{
public:
    int layOut(ReportCanvas &canvas) override { return canvas.input().reference ? 1 : 0; }
    void drawPage(ReportCanvas &canvas, int k) override;
};
