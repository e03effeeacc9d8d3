#include "ReliabilityPage.h"

#include "AnalysisViews.h"
#include "GroupMoments.h"
#include "PlainText.h"
#include "Resource.h"
#include "Scoring.h"
#include "SegmentStatistics.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// A cell: its text, its sort value (none sorts last) and, for figures, right-aligned.
QStandardItem *cell(const QString &text, const QVariant &sortValue, bool figure)
{
    auto *item = new QStandardItem(text);
    item->setData(sortValue, Qt::UserRole);
    if (figure)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QStandardItem *figureCell(const std::optional<double> &value)
{
    return cell(SegmentStatistics::figureText(value), value ? QVariant(*value) : QVariant(), true);
}

QString intervalText(const Reliability::Scale &scale)
{
    if (!scale.lower || !scale.upper)
        return QStringLiteral("не определено");
    return QStringLiteral("%1 … %2").arg(Scoring::scoreText(*scale.lower), Scoring::scoreText(*scale.upper));
}

} // namespace

ReliabilityPage::ReliabilityPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("reliabilityPage"));
    auto *layout = new QVBoxLayout(this);
    auto *legend = new QLabel(QStringLiteral("Альфа Кронбаха — насколько согласованно утверждения шкалы измеряют одно и то же "
                                             "в этой группе: от 0,70 шкала надёжна, 0,60–0,70 — сомнительна, ниже — ненадёжна. "
                                             "Интервал — 95-процентный доверительный (по Фельдту): чем меньше анкет, тем он шире."),
                              this);
    legend->setWordWrap(true);
    layout->addWidget(legend);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    auto *above = new QWidget(splitter);
    m_scalesLayout = new QVBoxLayout(above);
    m_scalesLayout->setContentsMargins(0, 0, 0, 0);
    m_scales = new QStandardItemModel(0, 6, this);
    m_scales->setHorizontalHeaderLabels({QStringLiteral("Шкала"), QStringLiteral("n"), QStringLiteral("Альфа"),
                                         QStringLiteral("95 % интервал"), QStringLiteral("Средняя корреляция"),
                                         QStringLiteral("Вывод")});
    m_scalesView = AnalysisViews::sortedTable(m_scales, 0, "reliabilityTable", above);
    m_scalesLayout->addWidget(m_scalesView, 1);
    splitter->addWidget(above);

    auto *below = new QWidget(splitter);
    m_statementsLayout = new QVBoxLayout(below);
    auto *belowLayout = m_statementsLayout;
    belowLayout->setContentsMargins(0, 0, 0, 0);
    auto *choose = new QHBoxLayout;
    m_index = new QComboBox(below);
    m_index->setObjectName(QStringLiteral("reliabilityIndex"));
    for (int i = 1; i <= Resource::IndexCount; ++i)
        m_index->addItem(Resource::chartCaption(i), i);
    auto *indexLabel = new QLabel(QStringLiteral("Утверждения индекса:"), below);
    indexLabel->setBuddy(m_index);
    choose->addWidget(indexLabel);
    choose->addWidget(m_index, 1);
    belowLayout->addLayout(choose);
    m_statements = new QStandardItemModel(0, 4, this);
    m_statements->setHorizontalHeaderLabels({QStringLiteral("Утверждение"), QStringLiteral("Корреляция с индексом"),
                                             QStringLiteral("Альфа без него"), QStringLiteral("Примечание")});
    m_statementsView = AnalysisViews::sortedTable(m_statements, 0, "reliabilityStatements", below);
    belowLayout->addWidget(m_statementsView, 1);
    splitter->addWidget(below);
    layout->addWidget(splitter, 1);

    connect(m_index, &QComboBox::currentIndexChanged, this, [this] { showIndex(m_index->currentData().toInt()); });
}

void ReliabilityPage::setGroup(const Profile &group)
{
    m_group = group;
    m_result.reset();
    m_scales->removeRows(0, m_scales->rowCount());
    m_statements->removeRows(0, m_statements->rowCount());
    if (isVisible())
        result();
}

QString ReliabilityPage::reversedFlag()
{
    return QStringLiteral("обратная формулировка понята неверно?");
}

const Reliability::Result &ReliabilityPage::result()
{
    if (!m_result) {
        static const MemberTable none;
        m_result = Reliability::compute(GroupMoments::collect(m_group.members ? *m_group.members : none).covariances);
        fillScales();
        showIndex(m_index->currentData().toInt());
    }
    return *m_result;
}

void ReliabilityPage::showEvent(QShowEvent *event)
{
    result();
    QWidget::showEvent(event);
}

void ReliabilityPage::fillScales()
{
    m_scales->removeRows(0, m_scales->rowCount());
    const auto addRow = [this](const QString &name, int order, const Reliability::Scale &scale, bool bold) {
        QList<QStandardItem *> row{cell(name, order, false),
                                   cell(QString::number(scale.n), double(scale.n), true),
                                   figureCell(scale.alpha),
                                   cell(intervalText(scale), scale.lower ? QVariant(*scale.lower) : QVariant(), true),
                                   figureCell(scale.meanCorrelation),
                                   cell(Reliability::verdict(scale), scale.alpha ? QVariant(*scale.alpha) : QVariant(), false)};
        row[0]->setToolTip(plainToolTip(name));
        if (!scale.alpha)
            row[2]->setToolTip(scale.undefinedText());
        if (bold)
            for (QStandardItem *item : row) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
        m_scales->appendRow(row);
    };
    for (int i = 1; i <= Resource::IndexCount; ++i)
        addRow(Resource::indexHeading(i), i, m_result->indices[std::size_t(i - 1)], false);
    for (int t = 1; t <= Resource::TraitCount; ++t)
        addRow(Resource::TraitName(t), Resource::IndexCount + t, m_result->traits[std::size_t(t - 1)], true);
    m_scalesView->resizeColumnsToContents();
}

void ReliabilityPage::showIndex(int index)
{
    index = std::clamp(index, 1, Resource::IndexCount);
    if (m_index->currentData().toInt() != index) {
        m_index->setCurrentIndex(index - 1); // comes back here through currentIndexChanged
        return;
    }
    if (!m_result)
        return;
    m_statements->removeRows(0, m_statements->rowCount());
    for (int s = (index - 1) * Resource::StatementsPerIndex + 1; s <= index * Resource::StatementsPerIndex; ++s) {
        const Reliability::Statement &st = m_result->statements[std::size_t(s - 1)];
        const bool negative = st.correctedCorrelation && *st.correctedCorrelation < 0.0;
        QList<QStandardItem *> row{cell(Resource::StatementText(s), s, false), figureCell(st.correctedCorrelation),
                                   figureCell(st.alphaWithout), cell(negative ? reversedFlag() : QString(), QVariant(), false)};
        row[0]->setToolTip(plainToolTip(Resource::StatementText(s)));
        if (negative) {
            row[1]->setForeground(Scoring::bandColor(ScoreBand::Low));
            row[3]->setForeground(Scoring::bandColor(ScoreBand::Low));
        }
        m_statements->appendRow(row);
    }
    m_statementsView->resizeColumnsToContents();
}
