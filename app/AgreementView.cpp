#include "AgreementView.h"

#include "AnalysisViews.h"
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
    m_view = AnalysisViews::table(m_model, "iccTable", this);
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
        m_model->appendRow({new QStandardItem(Resource::indexHeading(i)), AnalysisViews::figure(SegmentStatistics::figureText(icc.icc1)),
                            AnalysisViews::figure(SegmentStatistics::figureText(icc.icc2)), new QStandardItem(Agreement::reading(icc))});
    }
    m_view->resizeColumnsToContents();
}
