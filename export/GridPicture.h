#pragma once
// The results grid as a picture: which text each cell holds for a profile and how each cell is
// painted. The window's grid and the report both draw from here.

#include "Scoring.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>

#include <array>

class QPainter;

namespace GridPicture {

constexpr int Columns = 4;
constexpr int Rows = 14;
// Cell widths of the columns, not counting the grid line after each; cells are 20 pixels high.
constexpr std::array<int, Columns> ColumnWidths = {199, 36, 137, 36};
constexpr int CellHeight = 20;

// Cells are (column, row), both from 0; row 0 and column 0 are fixed.
constexpr int NameColumn = 0;       // the index names
constexpr int IndexColumn = 1;      // the index scores
constexpr int TraitNameColumn = 2;  // the trait names, never current
constexpr int TraitColumn = 3;      // the trait scores
constexpr int HeaderRow = 0;
constexpr int MeanRow = 13;         // "Mean"

// Trait t's name and score stand on the row of its first index.
constexpr int traitRow(int t) { return Resource::IndicesPerTrait * (t - 1) + 1; }
constexpr bool isTraitRow(int row) { return row >= 1 && row <= Resource::IndexCount && (row - 1) % Resource::IndicesPerTrait == 0; }
constexpr int indexRow(int i) { return i; }

int totalWidth();

// The text of a cell for a profile's scores (every cell that holds none is empty).
QString cellText(const ProfileScores &scores, double overallMean, int column, int row);

struct CellLook
{
    QColor background;
    QColor textColor;
    bool bold = false;
    bool headerIcon = false; // the header icon, centred, 2 pixels below the top, on white
};

// The painting of a cell: fixed cells in the button face, the selected cell light yellow, column 2
// and rows 0 and 13 bold, index and trait scores in their band colours read from the text shown.
CellLook look(int column, int row, const QString &text, bool selected, const QColor &fixedColour,
              const QColor &baseColour, double mean, double band);

// Left of the header icon: (cell left + cell right - icon width) / 2, halves to even.
int headerIconLeft(int cellLeft, int cellRight, int iconWidth);

// The whole grid, unselected, at topLeft in pixels, for the report.
void draw(QPainter &painter, const ProfileScores &scores, double overallMean, double band, const QPointF &topLeft,
          const QFont &font, const QImage &headerIcon);

} // namespace GridPicture
