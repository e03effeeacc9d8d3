#include "ComparisonFigures.h"

#include "AnalysisViews.h"
#include "GroupMoments.h"
#include "Resource.h"
#include "Scoring.h"
#include "SegmentStatistics.h"
#include "Significance.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

using AnalysisViews::figure;

ComparisonFigures::ComparisonFigures(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("comparisonFigures"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("comparisonCaption"));
    m_caption->setWordWrap(true);
    layout->addWidget(m_caption);
    m_model = new QStandardItemModel(this);
    m_view = AnalysisViews::table(m_model, "comparisonTable", this);
    layout->addWidget(m_view, 1);
}

void ComparisonFigures::setProfiles(const Profile &shown, const Profile *reference)
{
    m_model->clear();
    if (!reference || !shown.members || !reference->members) {
        m_caption->setText(QString());
        m_view->hide();
        return;
    }
    m_view->show();
    const GroupMoments::SetMoments a = GroupMoments::collect(*shown.members).group;
    const GroupMoments::SetMoments b = GroupMoments::collect(*reference->members).group;
    if (shown.respondentCount() == 1 && reference->respondentCount() > 1) {
        // One member against a group: where the member stands within it.
        m_caption->setText(QStringLiteral("Процентиль — доля анкет эталонной группы с более низкой оценкой индекса "
                                          "(равные считаются наполовину)."));
        m_model->setHorizontalHeaderLabels({QStringLiteral("Индекс"), QStringLiteral("Оценка"),
                                            QStringLiteral("Среднее эталона"), QStringLiteral("Процентиль в группе")});
        const MemberTable &group = *reference->members;
        std::array<QList<double>, Resource::IndexCount> values;
        for (qsizetype k = 0; k < group.size(); ++k) {
            const IndexScores scores = GroupMoments::indexMeans(group.itemScores(k));
            for (int i = 0; i < Resource::IndexCount; ++i)
                values[std::size_t(i)].append(scores[std::size_t(i)]);
        }
        for (int i = 1; i <= Resource::IndexCount; ++i) {
            const double own = a.indices[std::size_t(i - 1)].mean;
            m_model->appendRow({new QStandardItem(Resource::indexHeading(i)), figure(Scoring::scoreText(own)),
                                figure(Scoring::scoreText(b.indices[std::size_t(i - 1)].mean)),
                                figure(Scoring::formatFixed(Significance::percentile(values[std::size_t(i - 1)], own), 0))});
        }
    } else {
        m_caption->setText(QStringLiteral("Разность средних показанного профиля и эталона с 95-процентным интервалом "
                                          "(тест Уэлча); * — различие значимо (p < 0,05 с поправкой Холма по 12 индексам). "
                                          "Для одной анкеты интервал и p не определены."));
        m_model->setHorizontalHeaderLabels({QStringLiteral("Индекс"), QStringLiteral("Показано"), QStringLiteral("Эталон"),
                                            QStringLiteral("Разность"), QStringLiteral("95 % интервал"), QStringLiteral("p")});
        std::array<Significance::Difference, Resource::IndexCount> differences;
        QList<Significance::Difference *> cells;
        for (int i = 0; i < Resource::IndexCount; ++i) {
            differences[std::size_t(i)] = Significance::welch(a.indices[std::size_t(i)], b.indices[std::size_t(i)]);
            cells.append(&differences[std::size_t(i)]);
        }
        Significance::holm(cells);
        for (int i = 1; i <= Resource::IndexCount; ++i) {
            const Significance::Difference &d = differences[std::size_t(i - 1)];
            const bool marked = d.significant();
            QList<QStandardItem *> row{
                new QStandardItem(Resource::indexHeading(i)), figure(SegmentStatistics::figureText(d.mean1)),
                figure(SegmentStatistics::figureText(d.mean2)),
                figure(SegmentStatistics::signedText(d.difference) + (marked ? QStringLiteral(" ") + SegmentStatistics::mark() : QString())),
                figure(d.interval ? QStringLiteral("%1 … %2").arg(SegmentStatistics::signedText(d.interval->lower),
                                                                  SegmentStatistics::signedText(d.interval->upper))
                                  : QStringLiteral("не определено")),
                figure(d.adjustedP ? Significance::pText(*d.adjustedP) : QStringLiteral("не определено"))};
            if (marked) {
                QFont bold = row[3]->font();
                bold.setBold(true);
                row[3]->setFont(bold);
            }
            m_model->appendRow(row);
        }
    }
    m_view->resizeColumnsToContents();
}
