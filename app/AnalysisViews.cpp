#include "AnalysisViews.h"

#include "AnalysisModels.h"

#include <QHeaderView>
#include <QLabel>
#include <QStandardItem>
#include <QTableView>

namespace AnalysisViews {

QTableView *table(QAbstractItemModel *model, const char *name, QWidget *parent)
{
    auto *view = new QTableView(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    return view;
}

QTableView *sortedTable(QAbstractItemModel *model, int pinnedRows, const char *name, QWidget *parent)
{
    auto *proxy = new AnalysisSortModel(pinnedRows, parent);
    proxy->setSourceModel(model);
    QTableView *view = table(proxy, name, parent);
    view->setSortingEnabled(true);
    view->sortByColumn(0, Qt::AscendingOrder);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return view;
}

QLabel *note(const QString &text, const char *name, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QStandardItem *figure(const QString &text)
{
    auto *item = new QStandardItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace AnalysisViews
