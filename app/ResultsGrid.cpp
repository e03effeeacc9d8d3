#include "ResultsGrid.h"

#include <QHeaderView>
#include <QPainter>

#include <cmath>

GridSelectionModel::GridSelectionModel(QAbstractItemModel *model, QObject *parent)
    : QItemSelectionModel(model, parent)
{
}

bool GridSelectionModel::isSelectable(const QModelIndex &index) const
{
    return index.isValid() && index.row() > 0 && index.column() > 0;
}

void GridSelectionModel::setCurrentSilently(const QModelIndex &index)
{
    m_silent = true;
    setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_silent = false;
}

void GridSelectionModel::setCurrentIndex(const QModelIndex &index, QItemSelectionModel::SelectionFlags command)
{
    if (!m_silent && index != currentIndex()) {
        if (!isSelectable(index))
            return;
        if (m_handler && !m_handler(index.column(), index.row()))
            return;
    }
    // The cell becomes current first, so that selecting it is then accepted.
    QItemSelectionModel::setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    if (command != QItemSelectionModel::NoUpdate)
        QItemSelectionModel::select(QItemSelection(index, index), command);
}

void GridSelectionModel::select(const QModelIndex &index, QItemSelectionModel::SelectionFlags command)
{
    select(QItemSelection(index, index), command);
}

void GridSelectionModel::select(const QItemSelection &selection, QItemSelectionModel::SelectionFlags command)
{
    // Only the current cell is ever selected: a selection of any other cell is refused with it.
    if (!m_silent) {
        for (const QItemSelectionRange &range : selection)
            for (const QModelIndex &index : range.indexes())
                if (index != currentIndex())
                    return;
    }
    QItemSelectionModel::select(selection, command);
}

ResultsGrid::ResultsGrid(QWidget *parent)
    : QTableWidget(Rows, Columns, parent)
{
    setObjectName(QStringLiteral("sgResF"));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    for (int c = 0; c < Columns; ++c)
        setCellWidth(c, 40);
    for (int r = 0; r < Rows; ++r)
        setRowHeight(r, CellHeight + GridLine);
    // A 2-pixel sunken border: 14 rows of 20 pixels and their lines fill the 298-pixel grid.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setShowGrid(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Columns; ++c) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignTop);
            setItem(r, c, item);
        }
    QItemSelectionModel *old = selectionModel();
    m_selection = new GridSelectionModel(model(), this);
    setSelectionModel(m_selection);
    delete old;
}

QString ResultsGrid::cellText(int column, int row) const
{
    const QTableWidgetItem *cell = item(row, column);
    return cell ? cell->text() : QString();
}

void ResultsGrid::setCellText(int column, int row, const QString &text)
{
    item(row, column)->setText(text);
}

void ResultsGrid::moveTo(int column, int row)
{
    m_selection->setCurrentIndex(model()->index(row, column), QItemSelectionModel::ClearAndSelect);
}

CellAppearance cellAppearance(int column, int row, const QString &text, bool selected, const QPalette &palette,
                              double mean, double delta)
{
    CellAppearance look;
    const bool fixed = row == 0 || column == 0;
    if (selected)
        look.background = QColor(255, 255, 206);
    else
        look.background = fixed ? palette.color(QPalette::Button) : palette.color(QPalette::Base);
    look.textColor = Qt::black;
    look.bold = column == 2 || row == 0 || row == 13;
    const bool indexCell = column == 1 && row >= 1 && row <= 12;
    const bool traitCell = column == 3 && (row == 1 || row == 4 || row == 7 || row == 10);
    if (indexCell || traitCell) {
        const auto value = Scoring::readScoreText(text);
        if (value) {
            switch (Scoring::classify(*value, mean, delta)) {
            case ScoreBand::High:
                look.bold = true;
                look.textColor = QColor(0, 128, 0);
                break;
            case ScoreBand::Low:
                look.bold = true;
                look.textColor = QColor(255, 0, 0);
                break;
            case ScoreBand::Neither:
                break;
            }
        }
    }
    look.headerIcon = row == 0 && (column == 1 || column == 3);
    return look;
}

int headerIconLeft(int cellLeft, int cellRight, int iconWidth)
{
    return int(std::nearbyint((cellLeft + cellRight - iconWidth) / 2.0));
}

GridCellPainter::GridCellPainter(QPixmap headerIcon, BandSource band, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_icon(std::move(headerIcon))
    , m_band(std::move(band))
{
}

void GridCellPainter::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto [mean, delta] = m_band();
    const QString text = index.data(Qt::DisplayRole).toString();
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const CellAppearance look =
        cellAppearance(index.column(), index.row(), text, selected, option.palette, mean, delta);
    const QRect cell = option.rect;
    painter->save();
    painter->fillRect(cell, look.background);
    QFont font = option.font;
    font.setBold(look.bold);
    painter->setFont(font);
    painter->setPen(look.textColor);
    painter->drawText(QRect(cell.left(), cell.top() + 2, cell.width() - 6, cell.height() - 2),
                      Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, text);
    if (look.headerIcon) {
        painter->fillRect(cell, Qt::white);
        const int left = headerIconLeft(cell.left(), cell.left() + cell.width(), m_icon.width());
        painter->drawPixmap(left, cell.top() + 2, m_icon);
    }
    painter->restore();
}
