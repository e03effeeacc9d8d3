#include "AnalysisWindow.h"
#include "ScreenFit.h"

#include "AgreementView.h"
#include "AnalysisModels.h"
#include "AnalysisViews.h"
#include "AnswerBars.h"
#include "Exports.h"
#include "RecentFolders.h"
#include "InfoCaptions.h"
#include "ProfileLoader.h"
#include "ReliabilityPage.h"
#include "Resource.h"
#include "Session.h"
#include "SegmentsTable.h"
#include "SpreadTable.h"
#include "StatisticsTables.h"
#include "TableFile.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QPushButton *makeButton(const QString &text, const QByteArray &name, const QString &tip, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    return button;
}

// A cell as one field of tab-separated text: tabs and line breaks in it become spaces.
QString field(const QVariant &value)
{
    QString text = value.toString();
    for (QChar &c : text)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return text;
}

// Keeps the cursor busy while a large group is split and measured.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// A split named by the caption of its information line where known ("Подразделение").
QString splitName(GroupArithmetic::SplitBy by, const Questionnaire::Captions &captions)
{
    switch (by) {
    case GroupArithmetic::SplitBy::Folder:
        return QStringLiteral("Подпапки");
    default:
        return Questionnaire::infoCaption(captions, int(by) - int(GroupArithmetic::SplitBy::Info1) + 1);
    }
}

} // namespace

AnalysisWindow::AnalysisWindow(const Session &session, Options options, QWidget *parent)
    : QDialog(parent), m_session(session), m_options(std::move(options))
{
    setObjectName(QStringLiteral("analysisWindow"));
    setWindowTitle(QStringLiteral("Анализ группы"));
    setSizeGripEnabled(true);
    m_dialog.overwritePrompt = true;

    auto *layout = new QVBoxLayout(this);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("analysisSummary"));
    m_summary->setTextFormat(Qt::PlainText);
    layout->addWidget(m_summary);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("analysisTabs"));
    m_tabs->addTab(buildSpreadPage(), QStringLiteral("Разброс"));
    m_tabs->addTab(buildSegmentsPage(), QStringLiteral("Сегменты"));
    m_comparison = new QWidget(m_tabs);
    m_comparison->setObjectName(QStringLiteral("comparisonPage"));
    new QVBoxLayout(m_comparison);
    m_tabs->addTab(m_comparison, QStringLiteral("Сравнение"));
    m_tabs->addTab(buildReliabilityPage(), QStringLiteral("Надёжность"));
    layout->addWidget(m_tabs);
    // Ctrl+C on any table copies it.
    for (QTableView *view : {m_spreadView, m_segmentsView, m_reliability->scalesView(), m_reliability->statementsView()}) {
        auto *copyAction = new QAction(QStringLiteral("Копировать"), view);
        copyAction->setShortcut(QKeySequence::Copy);
        copyAction->setShortcutContext(Qt::WidgetShortcut);
        view->addAction(copyAction);
        connect(copyAction, &QAction::triggered, this, [this, view] { copyTable(view); });
    }

    auto *close = makeButton(QStringLiteral("Закрыть"), "closeAnalysis", QString(), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    if (const Profile *group = m_session.group())
        showGroup(*group);
    setBand(m_session.band());
    connect(&m_session, &Session::bandChanged, this, &AnalysisWindow::setBand);
    connect(&m_session, &Session::groupChanged, this, &AnalysisWindow::followGroup);
    ScreenFit::resize(this, QSize(1100, 720));
}

void AnalysisWindow::followGroup()
{
    // No table of one group stays on screen, or can be saved, once another is loaded.
    const Profile *group = m_session.group();
    if (!group) {
        m_stale = true;
        close();
    } else if (isVisible()) {
        showGroup(*group);
    } else {
        m_stale = true; // analysed when the window opens again, not at every load behind it
    }
}

void AnalysisWindow::showEvent(QShowEvent *event)
{
    if (m_stale && m_session.group())
        showGroup(*m_session.group());
    QDialog::showEvent(event);
}

void AnalysisWindow::showGroup(const Profile &group)
{
    m_stale = false;
    m_group = group;
    m_reliability->setGroup(m_group);
    // The splits named by the captions of this group's information lines, where they are known.
    const Questionnaire::Captions captions = InfoCaptions::forFolder(m_group.source);
    for (int k = 0; k < m_splitBy->count(); ++k)
        m_splitBy->setItemText(k, splitName(GroupArithmetic::SplitBy(m_splitBy->itemData(k).toInt()), captions));
    m_summary->setText(QStringLiteral("%1 — %2").arg(QDir::toNativeSeparators(m_group.source),
                                                     ProfileText::questionnaires(m_group.respondentCount())));
    {
        const BusyCursor busy;
        m_spread->setSpread(GroupArithmetic::spread(*m_group.members));
        showIndex(1);
        // A folder of departments is split by them at first; any other group by information line 1.
        const bool departments = m_group.respondentCount() > 0 && m_group.members->file(0).contains(u'/');
        showSegments(departments ? GroupArithmetic::SplitBy::Folder : GroupArithmetic::SplitBy::Info1);
    }
    m_spreadView->resizeColumnsToContents();
}

AnalysisWindow::~AnalysisWindow() = default;

QWidget *AnalysisWindow::buildSpreadPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("spreadPage"));
    auto *layout = new QVBoxLayout(page);
    auto *splitter = new QSplitter(Qt::Horizontal, page);

    m_spread = new SpreadModel(this);
    m_spreadView = AnalysisViews::sortedTable(m_spread, 0, "spreadTable", splitter);
    splitter->addWidget(m_spreadView);

    auto *chart = new QWidget(splitter);
    auto *chartLayout = new QVBoxLayout(chart);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    m_index = new QComboBox(chart);
    m_index->setObjectName(QStringLiteral("spreadIndex"));
    for (int i = 1; i <= Resource::IndexCount; ++i)
        m_index->addItem(Resource::indexCaption(i), i);
    m_bars = new AnswerBars(chart);
    chartLayout->addWidget(m_index);
    chartLayout->addWidget(m_bars, 1);
    splitter->addWidget(chart);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    layout->addWidget(splitter, 1);

    layout->addLayout(tableButtons(page, "Spread", m_spreadView, [this] {
        saveTable(SpreadTable::table(m_spread->spread()), QStringLiteral("Запись разброса ответов в файл Excel или CSV"),
                  QStringLiteral("Spread "));
    }));

    connect(m_index, &QComboBox::currentIndexChanged, this, [this] { showIndex(m_index->currentData().toInt()); });
    return page;
}

QWidget *AnalysisWindow::buildReliabilityPage()
{
    m_reliability = new ReliabilityPage(this);
    m_reliability->scalesLayout()->addLayout(tableButtons(m_reliability, "Reliability", m_reliability->scalesView(), [this] {
        saveTable(StatisticsTables::reliability(m_reliability->result()), QStringLiteral("Запись надёжности шкал в файл Excel или CSV"),
                  QStringLiteral("Reliability "));
    }));
    m_reliability->statementsLayout()->addLayout(tableButtons(m_reliability, "Statements", m_reliability->statementsView(), [this] {
        saveTable(StatisticsTables::items(m_reliability->result()), QStringLiteral("Запись статистики утверждений в файл Excel или CSV"),
                  QStringLiteral("Statements "));
    }));
    return m_reliability;
}

QWidget *AnalysisWindow::buildSegmentsPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("segmentsPage"));
    auto *layout = new QVBoxLayout(page);

    auto *controls = new QHBoxLayout;
    m_splitBy = new QComboBox(page);
    m_splitBy->setObjectName(QStringLiteral("splitBy"));
    for (GroupArithmetic::SplitBy by : {GroupArithmetic::SplitBy::Info1, GroupArithmetic::SplitBy::Info2,
                                        GroupArithmetic::SplitBy::Info3, GroupArithmetic::SplitBy::Info4,
                                        GroupArithmetic::SplitBy::Folder})
        m_splitBy->addItem(splitName(by, {}), int(by));
    m_minimum = new QSpinBox(page);
    m_minimum->setObjectName(QStringLiteral("minimumSize"));
    m_minimum->setRange(SegmentsTable::LowestMinimum, 1000000);
    m_minimum->setValue(SegmentsTable::DefaultMinimum);
    m_minimum->setToolTip(QStringLiteral("Сегменты, в которых меньше анкет, не показывают оценок"));
    auto *splitLabel = new QLabel(QStringLiteral("Разбить по:"), page);
    splitLabel->setBuddy(m_splitBy);
    auto *minimumLabel = new QLabel(QStringLiteral("Не менее анкет в сегменте:"), page);
    minimumLabel->setBuddy(m_minimum);
    controls->addWidget(splitLabel);
    controls->addWidget(m_splitBy);
    controls->addSpacing(16);
    controls->addWidget(minimumLabel);
    controls->addWidget(m_minimum);
    controls->addStretch();
    layout->addLayout(controls);

    m_legend = new QLabel(page);
    m_legend->setObjectName(QStringLiteral("segmentsLegend"));
    m_legend->setTextFormat(Qt::PlainText);
    m_legend->setWordWrap(true);
    layout->addWidget(m_legend);

    m_segments = new SegmentsModel(this);
    m_segmentsView = AnalysisViews::sortedTable(m_segments, 1, "segmentsTable", page);
    m_segmentsView->setToolTip(QString());
    m_segmentsView->setTextElideMode(Qt::ElideMiddle);
    auto *splitter = new QSplitter(Qt::Vertical, page);
    splitter->addWidget(m_segmentsView);
    m_agreement = new AgreementView(splitter);
    splitter->addWidget(m_agreement);
    // The ICCs keep their own height; the heat map takes the rest.
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    layout->addWidget(splitter, 1);

    layout->addLayout(tableButtons(page, "Segments", m_segmentsView, [this] {
        saveTable(SegmentsTable::table(m_segments->segments(), m_segments->minimum()),
                  QStringLiteral("Запись сегментов в файл Excel или CSV"), QStringLiteral("Segments "));
    }));

    connect(m_splitBy, &QComboBox::currentIndexChanged, this,
            [this] { showSegments(GroupArithmetic::SplitBy(m_splitBy->currentData().toInt())); });
    connect(m_minimum, &QSpinBox::valueChanged, this, &AnalysisWindow::minimumSizeChanged);
    connect(m_minimum, &QSpinBox::valueChanged, m_segments, [this](int minimum) {
        m_segments->setMinimum(minimum);
        m_agreement->setTests(m_segments->tests());
        m_segmentsView->resizeColumnToContents(SegmentsTable::SizeColumn);
    });
    connect(m_segmentsView, &QTableView::doubleClicked, this, &AnalysisWindow::chooseSegment);
    return page;
}

int AnalysisWindow::minimumSize() const
{
    return m_minimum->value();
}

void AnalysisWindow::setBand(double band)
{
    m_segments->setBand(band);
    m_legend->setText(QStringLiteral("Цвет — отличие сегмента от всей группы: зелёный — выше, красный — ниже, тем темнее, "
                                     "чем больше; без цвета — в пределах ±%1 (Range). * — отличие от остальной группы значимо "
                                     "(тест Уэлча, p < 0,05 с поправкой Холма). Двойной щелчок показывает сегмент "
                                     "в главном окне.")
                          .arg(Scoring::scoreText(band)));
}

void AnalysisWindow::showSegments(GroupArithmetic::SplitBy by)
{
    const int item = m_splitBy->findData(int(by));
    if (m_splitBy->currentIndex() != item) {
        m_splitBy->setCurrentIndex(item); // comes back here through currentIndexChanged
        return;
    }
    {
        const BusyCursor busy;
        m_segments->setSegments(SegmentsTable::split(m_group, by));
        m_segments->setMoments(SegmentStatistics::collect(*m_group.members, m_segments->segments()));
        m_agreement->setTests(m_segments->tests());
    }
    m_segmentsView->resizeColumnsToContents();
    // A long segment name is elided in the middle (the tooltip holds it whole): the scores stay in view.
    const int nameWidth = m_segmentsView->fontMetrics().averageCharWidth() * 40;
    if (m_segmentsView->columnWidth(0) > nameWidth)
        m_segmentsView->setColumnWidth(0, nameWidth);
}

GroupArithmetic::SplitBy AnalysisWindow::splitBy() const
{
    return GroupArithmetic::SplitBy(m_splitBy->currentData().toInt());
}

void AnalysisWindow::showIndex(int index)
{
    index = std::clamp(index, 1, Resource::IndexCount);
    if (m_index->currentData().toInt() != index) {
        m_index->setCurrentIndex(index - 1); // comes back here through currentIndexChanged
        return;
    }
    QList<AnswerBars::Bar> bars;
    const GroupArithmetic::Spread &spread = m_spread->spread();
    for (int s = (index - 1) * Resource::StatementsPerIndex + 1; s <= index * Resource::StatementsPerIndex; ++s)
        bars.append({s, spread.items[std::size_t(s - 1)].answers});
    m_bars->setBars(Resource::indexCaption(index), bars);
}

void AnalysisWindow::chooseSegment(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const auto *proxy = static_cast<const QSortFilterProxyModel *>(m_segmentsView->model());
    const int row = proxy->mapToSource(index).row();
    if (row == 0) {
        emit segmentChosen(m_group);
        return;
    }
    // A segment too small to show its scores here is not shown in the main window either.
    if (m_segments->suppressed(row))
        return;
    const SegmentsTable::Segment &segment = m_segments->segmentAt(row);
    emit segmentChosen(ProfileLoader::groupProfile(m_group.members, m_group.source, segment.members, segment.name));
}

void AnalysisWindow::addPage(QWidget *page, const QString &title)
{
    m_tabs->addTab(page, title);
}

QString AnalysisWindow::copiedText(const QAbstractItemView *view)
{
    const QAbstractItemModel *model = view->model();
    const QModelIndexList selected = view->selectionModel() ? view->selectionModel()->selectedIndexes() : QModelIndexList();
    QStringList lines;
    if (selected.isEmpty()) {
        QStringList header;
        for (int c = 0; c < model->columnCount(); ++c) {
            const QVariant full = model->headerData(c, Qt::Horizontal, Qt::ToolTipRole);
            header << field(full.isValid() ? full : model->headerData(c, Qt::Horizontal, Qt::DisplayRole));
        }
        lines << header.join(u'\t');
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model->columnCount(); ++c)
                cells << field(model->index(r, c).data());
            lines << cells.join(u'\t');
        }
    } else {
        int top = model->rowCount(), bottom = -1, left = model->columnCount(), right = -1;
        for (const QModelIndex &index : selected) {
            top = std::min(top, index.row());
            bottom = std::max(bottom, index.row());
            left = std::min(left, index.column());
            right = std::max(right, index.column());
        }
        for (int r = top; r <= bottom; ++r) {
            QStringList cells;
            for (int c = left; c <= right; ++c) {
                const QModelIndex index = model->index(r, c);
                cells << (view->selectionModel()->isSelected(index) ? field(index.data()) : QString());
            }
            lines << cells.join(u'\t');
        }
    }
    return lines.join(u'\n') + u'\n';
}

QHBoxLayout *AnalysisWindow::tableButtons(QWidget *page, const char *name, QTableView *view,
                                          const std::function<void()> &save)
{
    auto *buttons = new QHBoxLayout;
    auto *copyButton = makeButton(QStringLiteral("Копировать"), QByteArray("copy") + name,
                                  QStringLiteral("Копировать выделенные ячейки или всю таблицу (Ctrl+C)"), page);
    auto *saveButton = makeButton(QStringLiteral("Сохранить…"), QByteArray("save") + name,
                                  QStringLiteral("Записать таблицу в файл Excel или CSV"), page);
    buttons->addWidget(copyButton);
    buttons->addWidget(saveButton);
    buttons->addStretch();
    connect(copyButton, &QPushButton::clicked, this, [this, view] { copyTable(view); });
    connect(saveButton, &QPushButton::clicked, this, save);
    return buttons;
}

void AnalysisWindow::copyTable(QTableView *view)
{
    QGuiApplication::clipboard()->setText(copiedText(view));
}

void AnalysisWindow::saveTable(const Table &table, const QString &title, const QString &prefix)
{
    if (!m_options.prompts)
        return;
    // A workbook unless the user chooses a CSV name, as for the scores.
    m_dialog.title = title;
    m_dialog.filter = QStringLiteral("Excel Workbook (*.xlsx)|*.xlsx|CSV Files (*.csv)|*.csv");
    m_dialog.defaultSuffix = QStringLiteral("xlsx");
    m_dialog.initialDir = RecentFolders::start(RecentFolders::tables(), m_options.resultsFolder);
    const QString stem = Exports::profileStem(m_group);
    m_dialog.fileName = stem.isEmpty() ? m_dialog.initialDir + u'/' + prefix.trimmed() + QStringLiteral(".xlsx")
                                       : Exports::proposedName(m_dialog.initialDir, prefix, stem, QStringLiteral(".xlsx"));
    const QString chosen = m_options.prompts->saveFile(this, m_dialog);
    if (chosen.isEmpty())
        return;
    RecentFolders::remember(RecentFolders::tables(), chosen);
    const bool csv = chosen.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    const QString name = csv ? chosen : Exports::withExtension(chosen, QStringLiteral(".xlsx"));
    const Outcome<> written = [&] {
        const BusyCursor busy;
        return TableFile::write(name, table);
    }();
    if (!written && !written.cancelled())
        m_options.prompts->showError(this, m_options.caption, written.message());
}
