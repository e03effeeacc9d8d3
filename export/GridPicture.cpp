#include "GridPicture.h"

#include <QPainter>

#include <cmath>
#include <numeric>

namespace GridPicture {

int totalWidth()
{
    return std::accumulate(ColumnWidths.begin(), ColumnWidths.end(), 0);
}

QString cellText(const ProfileScores &scores, double overallMean, int column, int row)
{
    const bool scoreRow = row >= 1 && row <= Resource::IndexCount;
    switch (column) {
    case NameColumn:
        if (row == HeaderRow)
            return QStringLiteral("Шкалы");
        if (row == MeanRow)
            return QStringLiteral("Mean");
        return scoreRow ? Resource::IndexShortName(row) : QString();
    case IndexColumn:
        if (row == MeanRow)
            return Scoring::scoreText(overallMean);
        return scoreRow ? Scoring::scoreText(scores.index(row)) : QString();
    case TraitNameColumn:
        if (row == HeaderRow)
            return QStringLiteral("Факторы");
        return isTraitRow(row) ? Resource::TraitName(Resource::traitOfIndex(row)) : QString();
    case TraitColumn:
        if (row == MeanRow)
            return Scoring::scoreText(overallMean);
        return isTraitRow(row) ? Scoring::scoreText(scores.trait(Resource::traitOfIndex(row))) : QString();
    default:
        return QString();
    }
}

CellLook look(int column, int row, const QString &text, bool selected, const QColor &fixedColour,
              const QColor &baseColour, double mean, double band)
{
    CellLook look;
    const bool fixed = row == HeaderRow || column == NameColumn;
    look.background = selected ? QColor(255, 255, 206) : fixed ? fixedColour : baseColour;
    look.textColor = Qt::black;
    look.bold = column == TraitNameColumn || row == HeaderRow || row == MeanRow;
    const bool indexCell = column == IndexColumn && row >= 1 && row <= Resource::IndexCount;
    const bool traitCell = column == TraitColumn && isTraitRow(row);
    if (indexCell || traitCell) {
        if (const auto value = Scoring::readScoreText(text)) {
            const ScoreBand shown = Scoring::classify(*value, mean, band);
            if (shown != ScoreBand::Neither) {
                look.bold = true;
                look.textColor = Scoring::bandColor(shown);
            }
        }
    }
    look.headerIcon = row == HeaderRow && (column == IndexColumn || column == TraitColumn);
    return look;
}

int headerIconLeft(int cellLeft, int cellRight, int iconWidth)
{
    return int(std::nearbyint((cellLeft + cellRight - iconWidth) / 2.0));
}

void draw(QPainter &painter, const ProfileScores &scores, double overallMean, double band, const QPointF &topLeft,
          const QFont &font, const QImage &headerIcon)
{
    painter.save();
    painter.translate(topLeft);
    for (int row = 0; row < Rows; ++row) {
        int x = 0;
        for (int column = 0; column < Columns; ++column) {
            const QString text = cellText(scores, overallMean, column, row);
            const CellLook cell = look(column, row, text, false, QColor(240, 240, 240), Qt::white, overallMean, band);
            const QRect rect(x, row * CellHeight, ColumnWidths[std::size_t(column)], CellHeight);
            painter.fillRect(rect, cell.headerIcon ? QColor(Qt::white) : cell.background);
            QFont styled = font;
            styled.setBold(cell.bold);
            painter.setFont(styled);
            painter.setPen(cell.textColor);
            painter.drawText(rect.adjusted(0, 2, -6, 0), Qt::AlignRight | Qt::AlignTop, text);
            if (cell.headerIcon)
                painter.drawImage(QPoint(headerIconLeft(rect.left(), rect.right() + 1, headerIcon.width()), rect.top() + 2),
                                  headerIcon);
            painter.setPen(QPen(QColor(160, 160, 160), 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect);
            x += ColumnWidths[std::size_t(column)];
        }
    }
    painter.restore();
}

} // namespace GridPicture
