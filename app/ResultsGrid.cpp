#include "ResultsGrid.h"

#include "Icons.h"
#include "Session.h"

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
        setRowHeight(r, GridPicture::CellHeight + GridLine);
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

void ResultsGrid::setSelectHandler(GridSelectionModel::SelectHandler handler)
{
    m_selection->setSelectHandler(std::move(handler));
}

void ResultsGrid::showProfile(const Profile &profile, double band, const QPixmap &headerIcon)
{
    for (int c = 0; c < Columns; ++c)
        setCellWidth(c, GridPicture::ColumnWidths[std::size_t(c)]);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Columns; ++c)
            setCellText(c, r, GridPicture::cellText(profile.scores, profile.overallMean, c, r));
    m_scores = profile.scores;
    m_mean = profile.overallMean;
    m_band = band;
    if (!m_painted) {
        setItemDelegate(new GridCellPainter(headerIcon, [this] { return std::pair(m_mean, m_band); }, this));
        m_painted = true;
    }
    viewport()->update();
}

void ResultsGrid::setBand(double overallMean, double band)
{
    m_mean = overallMean;
    m_band = band;
    viewport()->update();
}

void ResultsGrid::follow(const Session &session)
{
    connect(&session, &Session::profileChanged, this, [this, &session] {
        showProfile(session.profile(), session.band(), Icons::image5T());
        setReference(session.reference());
    });
    connect(&session, &Session::bandChanged, this, [this, &session](double band) { setBand(session.profile().overallMean, band); });
    connect(&session, &Session::referenceChanged, this, [this, &session] { setReference(session.reference()); });
}

void ResultsGrid::setReference(const Profile *reference)
{
    using namespace GridPicture;
    for (int row = 1; row < Rows; ++row) {
        for (int column : {IndexColumn, TraitColumn}) {
            const bool index = column == IndexColumn && row <= Resource::IndexCount;
            const bool trait = column == TraitColumn && isTraitRow(row);
            if (!index && !trait && row != MeanRow)
                continue;
            QString tip;
            if (reference) {
                const auto value = [&](const ProfileScores &scores, double mean) {
                    return row == MeanRow ? mean : index ? scores.index(row) : scores.trait(Resource::traitOfIndex(row));
                };
                const double own = value(m_scores, m_mean);
                const double other = value(reference->scores, reference->overallMean);
                const double difference = own - other;
                tip = QStringLiteral("Эталон: %1\nРазница: %2").arg(Scoring::scoreText(other), Scoring::differenceText(difference, 2));
            }
            item(row, column)->setToolTip(tip);
        }
    }
}

void ResultsGrid::selectCell(int column, int row)
{
    if (row != currentRowIndex())
        moveTo(currentColumnIndex(), row);
    if (column != currentColumnIndex())
        moveTo(column, currentRowIndex());
    setFocus();
    m_selection->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
}

void ResultsGrid::setCurrentSilently(int column, int row)
{
    m_selection->setCurrentSilently(model()->index(row, column));
}

QModelIndex ResultsGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    QModelIndex next = QTableWidget::moveCursor(cursorAction, modifiers);
    if (next.column() == GridPicture::TraitNameColumn && (cursorAction == MoveRight || cursorAction == MoveLeft)) {
        const int beyond = cursorAction == MoveRight ? GridPicture::TraitColumn : GridPicture::IndexColumn;
        next = model()->index(next.row(), beyond);
    }
    return next;
}

GridCellPainter::GridCellPainter(QPixmap headerIcon, BandSource band, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_icon(std::move(headerIcon))
    , m_band(std::move(band))
{
}

void GridCellPainter::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto [mean, band] = m_band();
    const QString text = index.data(Qt::DisplayRole).toString();
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const GridPicture::CellLook look =
        GridPicture::look(index.column(), index.row(), text, selected, option.palette.color(QPalette::Button),
                          option.palette.color(QPalette::Base), mean, band);
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
        const int left = GridPicture::headerIconLeft(cell.left(), cell.left() + cell.width(), qRound(m_icon.deviceIndependentSize().width()));
        painter->drawPixmap(left, cell.top() + 2, m_icon);
    }
    painter->restore();
}
