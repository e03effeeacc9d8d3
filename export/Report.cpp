#include "Report.h"

#include "PdfDocument.h"
#include "ReportAnalysisPages.h"
#include "ReportCanvas.h"
#include "ReportComparisonPage.h"
#include "ReportReliabilityPage.h"
#include "ReportStatementPages.h"
#include "ReportTablePages.h"
#include "ReportTitlePage.h"

#include <QPainter>

#include <memory>
#include <vector>

namespace Report {

namespace {

// The report as the document's content: its sections one after the other, each on pages of its own.
class ReportContent final : public PdfDocument::Content
{
public:
    explicit ReportContent(const ReportInput &input) : m_input(input)
    {
        // The sections in the order of the report. A new section is a class of its own in a file of
        // its own (ReportSection: layOut() says how many pages it takes, 0 to leave it out; drawPage()
        // draws one on the ReportCanvas), added here in its place with one line.
        m_sections.push_back(std::make_unique<ReportTitlePage>());
        m_sections.push_back(std::make_unique<ReportComparisonPage>());
        m_sections.push_back(std::make_unique<ReportTablePages>());
        m_sections.push_back(std::make_unique<ReportStatementPages>());
        m_sections.push_back(std::make_unique<ReportAnalysisPages>());
        m_sections.push_back(std::make_unique<ReportReliabilityPage>());
    }

    int layOut(QPaintDevice *device, const QRectF &page, const QRectF &body) override
    {
        m_canvas = std::make_unique<ReportCanvas>(m_input, device, page, body);
        for (const auto &section : m_sections) {
            const int count = section->layOut(*m_canvas);
            m_canvas->place(section.get(), count);
            for (int k = 0; k < count; ++k)
                m_pages.push_back({section.get(), k});
        }
        return m_canvas->pageCount();
    }

    void drawPage(QPainter &painter, int k) override
    {
        m_canvas->setPainter(&painter);
        const Page &page = m_pages[std::size_t(k)];
        page.section->drawPage(*m_canvas, page.k);
        m_canvas->setPainter(nullptr);
    }

private:
    struct Page
    {
        ReportSection *section;
        int k;
    };

    const ReportInput &m_input;
    std::vector<std::unique_ptr<ReportSection>> m_sections;
    std::unique_ptr<ReportCanvas> m_canvas;
    std::vector<Page> m_pages;
};

} // namespace

Outcome<QByteArray> render(const ReportInput &input)
{
    ReportContent content(input);
    return PdfDocument::render(content, ReportCanvas::title());
}

Outcome<> paint(QPagedPaintDevice &device, const ReportInput &input, int copies)
{
    ReportContent content(input);
    return PdfDocument::paint(device, content, copies);
}

Outcome<> write(const QString &path, const ReportInput &input)
{
    ReportContent content(input);
    return PdfDocument::write(path, content, ReportCanvas::title());
}

} // namespace Report
