#pragma once
// ReportStatementPages are the report's pages of statement scores: the overview chart of all sixty,
// the lists of the highest and lowest, then index by index every statement with its score and a bar,
// under its trait's header; no index is split over two pages.

#include "ReportCanvas.h"

class ReportStatementPages final : public ReportSection
{
public:
    int layOut(ReportCanvas &canvas) override;
    void drawPage(ReportCanvas &canvas, int k) override;

private:
    // One piece where it goes: an index with its five statements (under its trait's header where the
    // trait begins, or goes on over a page break), or a heading or a row of the list of the highest
    // and lowest scores.
    struct Placed
    {
        enum Kind { Index, SummaryHeading, SummaryRow } kind;
        int number; // the index, the statement, or the heading's StatementMark
        qreal top;
        bool traitHeader = false;
        bool continued = false;
    };

    QString statementKeyHtml(const ReportCanvas &canvas) const;
    qreal statementsTop(const ReportCanvas &canvas, bool firstPage) const;
    qreal traitHeader(ReportCanvas &canvas, int trait, qreal top, bool continued, bool paint) const;
    qreal indexBlock(ReportCanvas &canvas, int index, qreal top, bool paint) const;
    qreal statementRow(ReportCanvas &canvas, int s, qreal top, bool paint) const;
    qreal summaryHeading(ReportCanvas &canvas, Report::StatementMark which, qreal top, bool paint) const;
    // The statements marked which, highest (or lowest) score first, ties by number.
    QList<int> summaryStatements(const ReportCanvas &canvas, Report::StatementMark which) const;

    std::array<Report::StatementMark, Resource::StatementCount> m_marks{};
    std::vector<std::vector<Placed>> m_pages;
    qreal m_chartHeight = 0;
};
