#include "AgreementView.h"

#include "Resource.h"

#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

AgreementView::AgreementView(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("iccCaption"));
    m_caption->setWordWrap(true);
    layout->addWidget(m_caption);
    m_model = new QStandardItemModel(0, 4, this);
    m_model->setHorizontalHeaderLabels({QStringLiteral("Индекс"), QStringLiteral("ICC(1)"), QStringLiteral("ICC(2)"),
                                        QStringLiteral("Что это значит")});
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("iccTable"));
    m_view->setModel(m_model);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    layout->addWidget(m_view, 1);
}

QSize AgreementView::sizeHint() const
{
    // The caption and the twelve rows.
    const int rows = Resource::IndexCount + 1;
    return {QWidget::sizeHint().width(),
            m_caption->sizeHint().height() + rows * m_view->verticalHeader()->defaultSectionSize() + 2 * m_view->frameWidth() + 8};
}

void AgreementView::setTests(const SegmentStatistics::Tests &tests)
{
    m_caption->setText(QStringLiteral("Различия между сегментами (%1 сегм. с оценками): ICC(1) — доля различий между людьми, "
                                      "приходящаяся на сегменты; ICC(2) — надёжность средних сегментов.")
                           .arg(tests.shown.size()));
    m_model->removeRows(0, m_model->rowCount());
    for (int i = 1; i <= Resource::IndexCount; ++i) {
        const Agreement::Icc &icc = tests.icc[std::size_t(i - 1)];
        QList<QStandardItem *> row{new QStandardItem(Resource::indexHeading(i)),
                                   new QStandardItem(SegmentStatistics::figureText(icc.icc1)),
                                   new QStandardItem(SegmentStatistics::figureText(icc.icc2)),
                                   new QStandardItem(Agreement::reading(icc))};
        row[1]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row[2]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_model->appendRow(row);
    }
    m_view->resizeColumnsToContents();
}
