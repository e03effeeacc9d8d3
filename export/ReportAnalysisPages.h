#pragma once
// ReportAnalysisPages are the report's last pages: the analysis text as the memo shows it, every index
// under its name, a heading never left alone at the foot of a page.

#include "ReportCanvas.h"

class ReportAnalysisPages final : public ReportSection
{
public:
    int layOut(ReportCanvas &canvas) override;
    void drawPage(ReportCanvas &canvas, int k) override;

private:
    // The lines of the analysis as the report prints them.
    static QStringList lines(const ReportCanvas &canvas);

    std::unique_ptr<QTextDocument> m_document;
    qreal m_pageHeight = 0;
};
