#include "TableItems.h"

#include "Scoring.h"

#include <QStandardItemModel>

#include <cmath>

namespace TableItems {

void fill(QStandardItemModel *model, const Table &table)
{
    model->clear();
    model->setColumnCount(int(table.columns.size()));
    model->setHorizontalHeaderLabels(table.columns);
    QList<TableCell> cells;
    for (qsizetype r = 0; r < table.rowCount; ++r) {
        cells = QList<TableCell>(table.columns.size());
        table.fillRow(r, cells);
        QList<QStandardItem *> row;
        for (qsizetype c = 0; c < cells.size(); ++c) {
            auto *item = new QStandardItem;
            item->setEditable(false);
            const TableCell &cell = cells[c];
            if (cell.kind == TableCell::Kind::Text) {
                item->setText(cell.text);
            } else if (cell.kind == TableCell::Kind::Number && std::isfinite(cell.number)) {
                const bool whole = cell.number == std::floor(cell.number) && std::fabs(cell.number) < 1e9;
                const bool pValue = table.columns[c] == QLatin1String("p");
                QString text = whole && !pValue ? QString::number(qlonglong(cell.number))
                                                : Scoring::formatFixed(cell.number, pValue ? 3 : 2);
                if (pValue && cell.number < 0.001)
                    text = QStringLiteral("< ") + Scoring::formatFixed(0.001, 3);
                item->setText(text);
                item->setData(cell.number, Qt::UserRole);
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            row << item;
        }
        model->appendRow(row);
    }
}

} // namespace TableItems
