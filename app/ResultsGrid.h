#pragma once
// sgResF: the results grid, a 4 x 14 table whose row 0 and column 0 are fixed cells. It shows the
// index scores, trait scores and overall mean of a profile in their band colours, asks a handler
// before any cell becomes current (by mouse, keyboard or program), and paints its cells as
// GridPicture says.

#include "GridPicture.h"
#include "Profile.h"

#include <QItemSelectionModel>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <functional>

class Session;

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

    static constexpr int Columns = GridPicture::Columns;
    static constexpr int Rows = GridPicture::Rows;
    // Qt counts a grid line inside its row or column, so every section is one pixel larger than its cell.
    static constexpr int GridLine = 1;

    // Shows every profile the session loads, with its band and reference, and follows their changes.
    void follow(const Session &session);
    // The handler asked before a cell becomes current; false keeps the current cell.
    void setSelectHandler(GridSelectionModel::SelectHandler handler);

    // Writes every cell for the profile; from the first profile on, the cells are painted in their
    // band colours with the header icon.
    void showProfile(const Profile &profile, double band, const QPixmap &headerIcon);
    // Repaints the band colours for a new band.
    void setBand(double overallMean, double band);
    // Gives every score cell a tooltip with the reference's score and the difference; null takes
    // the tooltips away.
    void setReference(const Profile *reference);

    QString cellText(int column, int row) const;
    // Moves the current cell as a user would: the selection handler decides.
    void moveTo(int column, int row);
    // Selects a cell as a click on a value label of the circle does: row first, then column, each move
    // asking the handler; then the grid takes the focus and the selection is that cell alone.
    void selectCell(int column, int row);
    // Makes a cell current and selected without asking the handler (after a load).
    void setCurrentSilently(int column, int row);
    int currentColumnIndex() const { return currentIndex().column(); }
    int currentRowIndex() const { return currentIndex().row(); }

protected:
    // The arrow keys pass over the column of trait names, which never becomes current, so that the
    // trait scores beyond it can be reached from the keyboard.
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    void setCellWidth(int column, int width) { setColumnWidth(column, width + GridLine); }
    void setCellText(int column, int row, const QString &text);

    GridSelectionModel *m_selection;
    ProfileScores m_scores;
    double m_mean = 0.0;
    double m_band = Scoring::BandStart;
    bool m_painted = false;
};

class GridCellPainter : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // band() gives the current mean and band at every paint.
    using BandSource = std::function<std::pair<double, double>()>;

    GridCellPainter(QPixmap headerIcon, BandSource band, QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QPixmap m_icon;
    BandSource m_band;
};
