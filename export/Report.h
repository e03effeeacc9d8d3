#pragma once
// The PDF report of a profile for the client: a PdfDocument (A4 portrait, vectors and text, fonts
// embedded, Russian text searchable, every page numbered "Стр. X из Y") made of sections, each a
// ReportSection in a file of its own, in the order Report.cpp lists them:
//  - ReportTitlePage: the title block, the profile circle, the table of index and trait scores and
//    the legend of what bold green, bold red and the band mean;
//  - ReportComparisonPage, while a comparison is on: both profiles on the circle and the table of
//    differences;
//  - ReportTablePages: the pages of figures the window adds (the archive's norms and trend);
//  - ReportStatementPages: the overview of all sixty statement scores and, index by index, the
//    statements with their scores, the five highest and five lowest marked;
//  - ReportAnalysisPages: the analysis text;
//  - ReportReliabilityPage, for a group large enough: the reliability of the scales.
// Everything is drawn from the profile and the title, never from what a window shows. Indices go by
// their names (Resource::indexHeading) and traits by one word throughout. A group's report names no
// respondent unless the title asks for the member list.

#include "Outcome.h"
#include "Profile.h"
#include "ReportTablePage.h"
#include "ReportTitle.h"

#include <QRectF>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QPagedPaintDevice;
class QPainter;

struct ReportInput
{
    Profile profile;     // with the header as shown (the user may have edited code, name and date)
    QString respondents; // the text of "N анкет"
    double band = Scoring::BandStart; // the band half-width
    ReportTitle title;
    // Draws the overview chart of all sixty statements of the profile into a rectangle of the page.
    using ChartPainter = std::function<void(QPainter &painter, const QRectF &target)>;
    ChartPainter overviewChart;
    // The profile compared with, while the comparison is on: a page of its own after page 1.
    std::optional<Profile> reference;
    QString referenceName;
    // Pages of figures after those (the survey archive's norms and trend).
    QList<ReportTablePage> tablePages;
};

namespace Report {

// How many of the highest and of the lowest statement scores are marked.
constexpr int MarkedStatements = 5;

enum class StatementMark { None, Highest, Lowest };
// The marks of the sixty statements: every statement scoring at least the fifth-highest score is
// among the highest, every one scoring at most the fifth-lowest among the lowest, so that statements
// tied at the cut are all marked (and there may be more than five). Where the two cuts meet (nearly
// equal scores), a score that would be both is neither: only scores strictly above the low cut are
// highest and only scores strictly below the high cut are lowest; equal scores everywhere mark
// nothing. Scores that are not finite are never marked nor counted.
std::array<StatementMark, Resource::StatementCount> statementMarks(const ItemScores &scores);
// True when some statements were left unmarked because the two cuts met.
bool marksCutsMeet(const ItemScores &scores);

// The smallest score shown with two decimals that is drawn bold green, and the largest drawn bold
// red: the limits of the band as the reader sees them.
double lowestHighScore(double overallMean, double band);
double highestLowScore(double overallMean, double band);

// The report's PDF.
Outcome<QByteArray> render(const ReportInput &input);
// The report on a paged device set to 72 dots per inch, such as a printer (PdfDocument::paint): the
// given number of copies, one after the other.
Outcome<> paint(QPagedPaintDevice &device, const ReportInput &input, int copies = 1);
// Writes the report to path, replacing a file of that name only once all of it is on the disk.
Outcome<> write(const QString &path, const ReportInput &input);

} // namespace Report
