#pragma once
// AnalysisViews: the table views of the analysis window's pages and the cells they show, made one
// way everywhere: read-only, one line a row, rows as high as the font needs, figures right-aligned.

class QAbstractItemModel;
class QLabel;
class QStandardItem;
class QString;
class QTableView;
class QWidget;

namespace AnalysisViews {

// A read-only view of model named name, without row numbers.
QTableView *table(QAbstractItemModel *model, const char *name, QWidget *parent);
// The same, sorted by a click on a heading (by the cells' Qt::UserRole values, the first pinnedRows
// rows kept on top), rows selected as cells.
QTableView *sortedTable(QAbstractItemModel *model, int pinnedRows, const char *name, QWidget *parent);
// A line of plain text that wraps: a page's status or legend; name may be null.
QLabel *note(const QString &text, const char *name, QWidget *parent);
// A cell holding a figure: its text right-aligned.
QStandardItem *figure(const QString &text);

} // namespace AnalysisViews
