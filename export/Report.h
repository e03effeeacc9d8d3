#pragma once
// The PDF report of a profile for the client: A4 portrait, drawn with Qt's PDF writer as vectors and
// text (fonts embedded, Russian text searchable): page 1 the header, the profile circle and the results
// grid; page 2 the two statement charts; then the analysis text over as many pages as it needs; every
// page numbered. Everything is drawn from the profile, never from what a window shows.

#include "Outcome.h"
#include "Profile.h"

#include <QImage>
#include <QRectF>
#include <QString>

#include <functional>

class QPainter;

struct ReportInput
{
    Profile profile;     // with the header as shown (the user may have edited code, name and date)
    QString respondents; // the text of "N анкет"
    double delta = Scoring::DeltaStart;
    QImage headerIcon;   // the grid's header icon
    // Draw a statement chart of the profile into a rectangle of the page.
    using ChartPainter = std::function<void(QPainter &painter, const QRectF &target)>;
    ChartPainter detailChart;
    ChartPainter overviewChart;
};

namespace Report {

// The report's PDF.
Outcome<QByteArray> render(const ReportInput &input);
// Writes the report to path, replacing a file of that name only once all of it is on the disk.
Outcome<> write(const QString &path, const ReportInput &input);

} // namespace Report
