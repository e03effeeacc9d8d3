#include "ArchiveDialog.h"

#include "FindShortcut.h"
#include "SurveyArchive.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The columns in the order shown; a heading's click sorts by one of these, never by text typed.
const char *const Columns[] = {"client", "wave", "sector", "respondents"};

// A LIKE pattern that finds text anywhere, its wildcards taken literally.
QString containing(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'%', QStringLiteral("\\%")).replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

} // namespace

ArchiveDialog::ArchiveDialog(SurveyArchive &archive, std::function<bool(const QString &)> confirm,
                             std::function<void(const QString &)> reportError, QWidget *parent)
    : QDialog(parent), m_archive(archive), m_confirm(std::move(confirm)), m_reportError(std::move(reportError))
{
    setObjectName(QStringLiteral("archiveDialog"));
    setWindowTitle(QStringLiteral("Архив опросов — %1").arg(QDir::toNativeSeparators(archive.path())));
    setSizeGripEnabled(true);
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    m_filter = FindShortcut::addField(top, QStringLiteral("&Клиент или отрасль:"), "archiveFilter", this);
    layout->addLayout(top);

    m_model = new QSqlQueryModel(this);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("archiveView"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setSortIndicatorShown(true);
    m_view->horizontalHeader()->setSectionsClickable(true);
    m_view->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    m_view->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_view, 1);

    auto *bottom = new QHBoxLayout;
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("archiveCount"));
    bottom->addWidget(m_count, 1);
    m_delete = new QPushButton(QStringLiteral("&Удалить опрос…"), this);
    m_delete->setObjectName(QStringLiteral("archiveDelete"));
    bottom->addWidget(m_delete);
    auto *close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("archiveClose"));
    bottom->addWidget(close);
    layout->addLayout(bottom);

    connect(m_filter, &QLineEdit::textChanged, this, &ArchiveDialog::refresh);
    connect(m_view->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this, [this](int column, Qt::SortOrder order) {
        m_sortColumn = column;
        m_order = order;
        refresh();
    });
    connect(m_delete, &QPushButton::clicked, this, &ArchiveDialog::deleteCurrent);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    refresh();
    resize(720, 480);
}

ArchiveDialog::~ArchiveDialog()
{
    // The model's query goes before the archive's connection does.
    m_model->clear();
}

void ArchiveDialog::refresh()
{
    const int column = std::clamp(m_sortColumn, 0, int(std::size(Columns)) - 1);
    QString statement = QStringLiteral("SELECT client, wave, sector, respondents FROM survey");
    const QString filter = m_filter->text().simplified();
    if (!filter.isEmpty())
        statement += QStringLiteral(" WHERE client LIKE :text ESCAPE '\\' OR sector LIKE :text ESCAPE '\\'");
    statement += QStringLiteral(" ORDER BY %1 %2, client, wave")
                     .arg(QString::fromLatin1(Columns[column]), m_order == Qt::AscendingOrder ? QStringLiteral("ASC") : QStringLiteral("DESC"));
    QSqlQuery query(m_archive.database());
    query.prepare(statement);
    if (!filter.isEmpty())
        query.bindValue(QStringLiteral(":text"), containing(filter));
    if (!query.exec()) {
        m_reportError(query.lastError().text());
        return;
    }
    m_model->setQuery(std::move(query));
    while (m_model->canFetchMore())
        m_model->fetchMore();
    const QStringList headings = {QStringLiteral("Клиент"), QStringLiteral("Волна"), QStringLiteral("Отрасль"), QStringLiteral("Анкет")};
    for (int c = 0; c < headings.size(); ++c)
        m_model->setHeaderData(c, Qt::Horizontal, headings[c]);
    m_count->setText(QStringLiteral("Опросов: %1").arg(m_model->rowCount()));
    m_delete->setEnabled(m_model->rowCount() > 0);
    m_view->resizeColumnsToContents();
}

void ArchiveDialog::deleteCurrent()
{
    const int row = m_view->currentIndex().isValid() ? m_view->currentIndex().row() : -1;
    if (row < 0)
        return;
    const QString client = m_model->index(row, 0).data().toString();
    const QDate wave = QDate::fromString(m_model->index(row, 1).data().toString(), Qt::ISODate);
    if (!m_confirm(QStringLiteral("Удалить из архива опрос клиента «%1» от %2?").arg(client, wave.toString(QStringLiteral("dd.MM.yyyy")))))
        return;
    // The model lets go of its reading before the archive writes.
    m_model->clear();
    const Outcome<> removed = m_archive.remove(client, wave);
    if (!removed)
        m_reportError(removed.message());
    refresh();
    emit changed();
}
