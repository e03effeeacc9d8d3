#pragma once
// The PDF report of a profile for the client: A4 portrait, drawn with Qt's PDF writer as vectors and
// text wherever Qt can (fonts embedded, Russian text searchable): page 1 the header, the profile
// circle as the panel shows it and the results grid; page 2 the two statement charts; then the
// analysis text over as many pages as it needs; every page numbered.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <array>

class QGraphicsScene;

struct ReportContent
{
    // The header lines, each "label: value".
    QStringList header;

    // The profile panel in its own pixels: the background picture at (2, 2), the polygon's vertices
    // in overlay pixels (the overlay begins at (2, 2) too), and the labels at their panel positions.
    QSize panelSize;
    QImage background;
    std::array<QPoint, 12> vertices{};
    struct Text
    {
        QPoint position; // top-left in panel pixels
        QString text;
        QFont font;
        QColor colour;
    };
    QList<Text> panelTexts;

    // The results grid, row by row, as the window paints it.
    struct Cell
    {
        QString text;
        QColor background;
        QColor colour;
        bool bold = false;
        bool icon = false; // the header icon, centred, 2 pixels below the top
    };
    QList<int> columnWidths; // cell widths in pixels
    QList<QList<Cell>> grid;
    QFont gridFont;
    QImage headerIcon;

    // The two charts, rendered from their scenes.
    QGraphicsScene *detailChart = nullptr;
    QRectF detailRect;
    QGraphicsScene *overviewChart = nullptr;
    QRectF overviewRect;

    // The analysis text; the lines whose numbers are listed are headings.
    QStringList analysis;
    QList<int> headings;
};

namespace Report {

// Writes the report to path, replacing a file of that name only once it is complete. Returns an empty
// string on success, else "Cannot create file <path>" and the reason; no partial file is left.
QString write(const QString &path, const ReportContent &content);

// The name with ".pdf" appended unless it ends with it (in any case).
QString pdfFileName(const QString &chosen);

} // namespace Report
