#pragma once
// ReportCanvas is what every page of the report draws with: the report's input, the page and its
// body in points, the colours and fonts, the running head and page headings, scores in their band's
// colour, the profile circle, and the page numbers of the sections. Each section of the report
// (ReportSection) lays itself out and draws its pages on it.

#include "PdfDocument.h"
#include "Report.h"
#include "ReportStatistics.h"

#include <QColor>
#include <QFontMetricsF>
#include <QList>
#include <QPair>
#include <QRectF>
#include <QTextDocument>

#include <memory>
#include <vector>

class QPaintDevice;
class QPainter;
class ReportCanvas;

// One section of the report: one or more pages, laid out once (then its page count is known) and
// then drawn page by page.
class ReportSection
{
public:
    virtual ~ReportSection() = default;
    // Lays the section out and returns how many pages it takes; 0 leaves it out of this report.
    virtual int layOut(ReportCanvas &canvas) = 0;
    // Draws the section's page k (0 to its page count - 1); the footer is drawn by the document.
    virtual void drawPage(ReportCanvas &canvas, int k) = 0;
};

class ReportCanvas
{
public:
    static inline const QColor Ink{0, 0, 0};
    static inline const QColor Muted{95, 95, 95};
    static inline const QColor RuleColour{170, 170, 170};
    static inline const QColor LightRule{222, 222, 222};
    static inline const QColor HeaderFill{232, 232, 232};
    static inline const QColor IndexFill{243, 243, 243};
    static inline const QColor TrackColour{228, 228, 228};
    static constexpr qreal RunningHeadHeight = 22;

    ReportCanvas(const ReportInput &input, QPaintDevice *device, const QRectF &page, const QRectF &body);

    const ReportInput &input() const { return m_input; }
    const Profile &profile() const { return m_input.profile; }
    double mean() const { return m_mean; }
    double band() const { return m_band; }
    // The statistics of the profile's members (and of the comparison), worked out once a report.
    const ReportStatistics::Figures &statistics() const { return m_statistics; }
    QPaintDevice *device() const { return m_device; }
    const QRectF &page() const { return m_page; }
    const QRectF &body() const { return m_body; }
    // The lowest a piece of a page may reach: the top of the footer.
    qreal bottom() const { return m_body.bottom(); }
    // Where a page's own content begins below its running head and heading.
    qreal contentTop() const { return m_body.top() + RunningHeadHeight + 24; }

    // The painter of the page being drawn; only while a page is drawn.
    QPainter &painter() const { return *m_painter; }
    void setPainter(QPainter *painter) { m_painter = painter; }

    // The report's title, "Профиль организационной культуры".
    static QString title();
    static QFont font(qreal points, bool bold = false) { return PdfDocument::font(points, bold); }
    QFontMetricsF metrics(const QFont &font) const { return QFontMetricsF(font, m_device); }

    // Whether the report may name respondents: a respondent's own report, or a group's with its
    // member list asked for.
    bool namesRespondents() const;
    // Who the report is about, in one line: "Группа: 50 анкет" or "0106. Волков Игорь Николаевич".
    QString identity() const;
    // The number of questionnaires: the header's text where it is a number, else the members held.
    qsizetype groupSize() const;

    void text(const QRectF &rect, int flags, const QString &text, const QFont &font, const QColor &colour = Ink) const;
    // A score with two decimals, in its band's colour and weight.
    void score(const QRectF &rect, double value, qreal points) const;
    void rule(qreal y, const QColor &colour = RuleColour, qreal width = 0.6) const;
    // The line over every page but the first: the report's title and company, and who it is about.
    void runningHead() const;
    // The running head and the page's heading; returns where the page's content begins.
    qreal pageHeading(const QString &heading) const;
    // The profile panel scaled into target: the culture model, the polygon (and the reference's,
    // dashed), the captions and the labels, all as vectors and text.
    void profileCircle(const QRectF &target, const Profile *reference = nullptr) const;

    // A text document laid out in the page's points; an HTML one of small print over a width.
    std::unique_ptr<QTextDocument> document() const;
    std::unique_ptr<QTextDocument> smallPrint(const QString &html, qreal width, qreal points) const;
    void drawDocument(QTextDocument &document, const QPointF &at) const;

    // The pages of the report, once every section is laid out: the first and last page (from 1) of
    // the first section of type S, or (0, 0) when the report has none or it takes no page.
    template <typename S>
    QPair<int, int> pagesOf() const
    {
        for (const Placed &placed : m_sections)
            if (placed.count > 0 && dynamic_cast<const S *>(placed.section))
                return {placed.first, placed.first + placed.count - 1};
        return {0, 0};
    }
    int pageCount() const { return m_pageCount; }
    // Records that section takes count pages after those placed before it.
    void place(const ReportSection *section, int count);

private:
    struct Placed
    {
        const ReportSection *section;
        int first;
        int count;
    };

    const ReportInput &m_input;
    QPaintDevice *m_device;
    QPainter *m_painter = nullptr;
    QRectF m_page;
    QRectF m_body;
    double m_mean;
    double m_band;
    ReportStatistics::Figures m_statistics;
    std::vector<Placed> m_sections;
    int m_pageCount = 0;
};

namespace ReportText {
// "1–4", or "5" for a single page.
QString pageRange(int first, int last);
} // namespace ReportText
