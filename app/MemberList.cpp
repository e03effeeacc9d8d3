#include "MemberList.h"
#include "FindShortcut.h"
#include "ScreenFit.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The members as rows, read from the group's table when shown: a list of thousands costs nothing
// until it is scrolled.
class MemberModel : public QAbstractTableModel
{
public:
    enum Column { Number, File, Name, Mean, ColumnCount };

    explicit MemberModel(std::shared_ptr<const MemberTable> members, QObject *parent)
        : QAbstractTableModel(parent), m_members(std::move(members)), m_means(m_members->size())
    {
        for (qsizetype k = 0; k < m_members->size(); ++k)
            m_means[k] = Scoring::overallMean(m_members->indexScores(k));
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_members->size()); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : ColumnCount; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const qsizetype k = index.row();
        if (role == Qt::TextAlignmentRole)
            return index.column() == Number || index.column() == Mean ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        if (role == Qt::UserRole) // the value sorted by
            return index.column() == Number ? QVariant(k) : index.column() == Mean ? QVariant(m_means[k]) : data(index, Qt::DisplayRole);
        if (role != Qt::DisplayRole)
            return QVariant();
        switch (index.column()) {
        case Number:
            return QString::number(k + 1);
        case File:
            return m_members->file(k);
        case Name:
            return m_members->name(k);
        case Mean:
            return Scoring::scoreText(m_means[k]);
        default:
            return QVariant();
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QVariant();
        static const char *const titles[] = {"№", "Файл", "ФИО", "Общее среднее"};
        return QString::fromUtf8(titles[section]);
    }

private:
    std::shared_ptr<const MemberTable> m_members;
    QList<double> m_means;
};

// The members whose file or name holds the text typed, in any case; the number and the mean are not
// searched, as a digit would find every mean that has it.
class MemberFilter : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setText(const QString &text)
    {
        m_text = text.simplified();
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        if (m_text.isEmpty())
            return true;
        for (int column : {int(MemberModel::File), int(MemberModel::Name)})
            if (sourceModel()->index(row, column, parent).data().toString().contains(m_text, Qt::CaseInsensitive))
                return true;
        return false;
    }

private:
    QString m_text;
};

} // namespace

MemberList::MemberList(const Profile &group, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("memberList"));
    setWindowTitle(QStringLiteral("Состав группы"));
    auto *layout = new QVBoxLayout(this);
    auto *count = new QLabel(QStringLiteral("Анкет в группе: %1").arg(group.respondentCount()), this);
    count->setTextFormat(Qt::PlainText);
    layout->addWidget(count);
    auto *search = new QHBoxLayout;
    QLineEdit *find = FindShortcut::addField(search, QStringLiteral("&Найти (файл или ФИО):"), "memberFilter", this);
    layout->addLayout(search);
    auto *proxy = new MemberFilter(this);
    proxy->setSourceModel(new MemberModel(group.members, this));
    proxy->setSortRole(Qt::UserRole);
    proxy->setSortLocaleAware(true);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("members"));
    m_table->setModel(proxy);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(MemberModel::Number, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(MemberModel::Name, QHeaderView::Stretch);
    m_table->setWordWrap(false);
    // The first member found is the one chosen unless another is picked: the search, then Enter, shows it.
    connect(find, &QLineEdit::textChanged, this, [this, proxy](const QString &text) {
        proxy->setText(text);
        if (!m_table->currentIndex().isValid() && proxy->rowCount() > 0)
            m_table->setCurrentIndex(proxy->index(0, 0));
    });
    layout->addWidget(m_table);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *show = buttons->addButton(QStringLiteral("Показать"), QDialogButtonBox::ActionRole);
    show->setObjectName(QStringLiteral("showMember"));
    show->setToolTip(QStringLiteral("Показать выбранную анкету на фоне группы"));
    show->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto choose = [this, proxy](const QModelIndex &index) {
        if (!index.isValid())
            return;
        m_chosen = proxy->mapToSource(index).row();
        emit memberChosen(m_chosen);
        accept();
    };
    connect(m_table, &QTableView::doubleClicked, this, choose);
    connect(show, &QPushButton::clicked, this, [this, choose] { choose(m_table->currentIndex()); });
    ScreenFit::resize(this, QSize(560, 480));
}
