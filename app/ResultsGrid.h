#pragma once
// The results grid sgResF: a 4 x 14 table whose row 0 and column 0 are fixed cells, a selection
// model that asks before any cell becomes current, and the cell painting sgResFDrawCell.

#include "Scoring.h"

#include <QItemSelectionModel>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <functional>

// Asks a handler before a cell becomes current, whether by mouse, keyboard or program; a refused
// cell never becomes current or selected. Fixed cells are refused without asking.
class GridSelectionModel : public QItemSelectionModel
{
    Q_OBJECT
public:
    using SelectHandler = std::function<bool(int column, int row)>;

    GridSelectionModel(QAbstractItemModel *model, QObject *parent);

    void setSelectHandler(SelectHandler handler) { m_handler = std::move(handler); }
    // Makes a cell current and selected without asking the handler.
    void setCurrentSilently(const QModelIndex &index);

    void setCurrentIndex(const QModelIndex &index, QItemSelectionModel::SelectionFlags command) override;
    void select(const QModelIndex &index, QItemSelectionModel::SelectionFlags command) override;
    void select(const QItemSelection &selection, QItemSelectionModel::SelectionFlags command) override;

private:
    bool isSelectable(const QModelIndex &index) const;

    SelectHandler m_handler;
    bool m_silent = false;
};

class ResultsGrid : public QTableWidget
{
    Q_OBJECT
public:
    explicit ResultsGrid(QWidget *parent);

    static constexpr int Columns = 4;
    static constexpr int Rows = 14;
    // Cells are 20 pixels high, each followed by a 1-pixel grid line; Qt counts a grid line inside
    // its row or column, so every section is one pixel larger than its cell.
    static constexpr int CellHeight = 20;
    static constexpr int GridLine = 1;

    // Sets the width of the cells of a column, not counting the grid line after them.
    void setCellWidth(int column, int width) { setColumnWidth(column, width + GridLine); }

    GridSelectionModel *gridSelection() const { return m_selection; }
    QString cellText(int column, int row) const;
    void setCellText(int column, int row, const QString &text);
    // Moves the current cell as a user would: the selection handler decides.
    void moveTo(int column, int row);
    int currentColumnIndex() const { return currentIndex().column(); }
    int currentRowIndex() const { return currentIndex().row(); }

private:
    GridSelectionModel *m_selection;
};

// How one cell is painted.
struct CellAppearance
{
    QColor background;
    QColor textColor;
    bool bold = false;
    bool headerIcon = false;
};

// The painting of a cell: fixed cells in the button face, the selected cell light yellow, column 2
// and rows 0 and 13 bold, index and trait scores in their band colours read from the text shown.
CellAppearance cellAppearance(int column, int row, const QString &text, bool selected, const QPalette &palette,
                              double mean, double delta);

// Left of the header icon: (cell left + cell right - icon width) / 2, halves to even.
int headerIconLeft(int cellLeft, int cellRight, int iconWidth);

class GridCellPainter : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // band() gives the current mean and half-width at every paint.
    using BandSource = std::function<std::pair<double, double>()>;

    GridCellPainter(QPixmap headerIcon, BandSource band, QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QPixmap m_icon;
    BandSource m_band;
};
