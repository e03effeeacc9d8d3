#include "UnitPlot.h"

#include "About.h"
#include "AnalysisText.h"
#include "AnalysisWindow.h"
#include "ArchiveCommands.h"
#include "BevelPanel.h"
#include "CollectCommands.h"
#include "ComparisonPage.h"
#include "ExportCommands.h"
#include "Exports.h"
#include "Fonts.h"
#include "GroupProgress.h"
#include "HeaderPanel.h"
#include "Icons.h"
#include "InfoMemo.h"
#include "MemberList.h"
#include "MainMenu.h"
#include "PrintCommands.h"
#include "ProfileCircle.h"
#include "ProfileLoader.h"
#include "RecentFolders.h"
#include "ResultFolder.h"
#include "ResultsGrid.h"
#include "StatementCharts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

TForm1::TForm1(Options options)
    : m_appDir(options.appDir)
    , m_prompts(options.prompts ? std::move(options.prompts) : std::make_unique<DesktopPrompts>())
    , m_shell(options.shell ? std::move(options.shell) : createPlatformDesktopShell())
    , m_groupProgressDelay(options.groupProgressDelay)
    , m_session(new Session(this))
{
    Fonts::installSubstitutes();
    setObjectName(QStringLiteral("Form1"));
    setAcceptDrops(true);
    buildViews();
    buildMenus();
    m_archive = new ArchiveCommands({this, m_prompts.get(), options.archivePath, [this] { return m_session->group(); },
                                     [this] { return m_session->shownProfile(); }, [this](const QString &text) { reportError(text); }},
                                    this);
    m_archive->buildMenu(menuBar());
    m_about = new TAboutBox(this);
    FormCreate();
}

TForm1::TForm1()
    : TForm1(Options())
{
}

TForm1::~TForm1() = default;

void TForm1::buildViews()
{
    // The picture of the circle decodes on a worker thread while the views before it are built.
    QFuture<QImage> circlePicture = ProfileCircleView::decodePicture();
    setWindowTitle(QStringLiteral("ZOLK - Zembrau Plot"));
    setWindowIcon(Icons::program());
    setFont(Fonts::window(11));
    // The views sit at fixed positions on the client, which scrolls where the window is smaller than
    // the layout (a laptop at 150 %: 1280 x 720 logical pixels): every control stays within reach.
    // On a larger window the client fills it and nothing moves.
    auto *client = new QWidget;
    client->setObjectName(QStringLiteral("client"));
    client->setMinimumSize(ClientSize);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("clientScroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(client);
    setCentralWidget(m_scroll);
    resize(1032, 776);

    m_header = new HeaderPanel(client);
    m_header->setGeometry(5, 0, 415, 130);
    // The menu icons of the two charts are made once: a new icon at every load would leave its
    // rendered pixmaps behind in the pixmap cache.
    m_iconAll = QIcon(m_header->overviewIcon());
    m_icon5M = QIcon(m_header->detailIcon());

    m_grid = new ResultsGrid(client);
    m_grid->setGeometry(5, 130, 415, 298);
    m_grid->setFont(Fonts::window(13));
    m_grid->setSelectHandler([this](int column, int row) { return sgResFSelectCell(column, row); });

    m_chartPanel = new BevelPanel(client);
    m_chartPanel->setObjectName(QStringLiteral("paChart"));
    m_chartPanel->setGeometry(5, 427, 415, 294);
    m_overview = new OverviewChart(m_chartPanel);
    m_overview->setGeometry(2, 2, 411, 290);
    m_detail = new DetailChart(m_chartPanel);
    m_detail->setGeometry(2, 2, 411, 290);
    m_detail->raise();
    m_overview->hide(); // behind the detail chart until "Plot" brings it to the front

    m_circle = new ProfileCircleView(client, std::move(circlePicture));
    m_circle->setGeometry(420, 0, 602, 564);

    m_memo = new InfoMemo(client);
    m_memo->setGeometry(422, 563, 599, 158);

    for (QWidget *view : std::initializer_list<QWidget *>{m_header, m_grid, m_circle, m_memo, m_chartPanel})
        view->hide();

    // Keyboard order as the eye reads the window: the header fields, the grid, the chart in front, the
    // memo. What a screen reader says of each view:
    QWidget::setTabOrder(m_header->findChild<QWidget *>(QStringLiteral("seDelta")), m_grid);
    QWidget::setTabOrder(m_grid, m_detail);
    QWidget::setTabOrder(m_detail, m_overview);
    QWidget::setTabOrder(m_overview, m_memo);
    m_grid->setAccessibleName(QStringLiteral("Таблица оценок"));
    m_detail->setAccessibleName(QStringLiteral("Гистограмма утверждений индекса"));
    m_overview->setAccessibleName(QStringLiteral("Гистограмма всех утверждений"));
    m_memo->setAccessibleName(QStringLiteral("Пояснения"));
    m_circle->setAccessibleName(QStringLiteral("Профиль культуры"));

    // The views follow the session; once they have shown a new profile the window does its part.
    m_header->follow(*m_session);
    m_grid->follow(*m_session);
    m_circle->follow(*m_session);
    m_detail->follow(*m_session);
    m_overview->follow(*m_session);
    m_memo->follow(*m_session);
    connect(m_session, &Session::profileChanged, this, &TForm1::mmPlotClick);
    connect(m_session, &Session::chartInFrontChanged, this, &TForm1::showChartInFront);

    connect(m_header, &HeaderPanel::headerEdited, this, &TForm1::ceCodeKeyUp);
    connect(m_header, &HeaderPanel::bandEdited, this, &TForm1::seDeltaChange);
    connect(m_header, &HeaderPanel::summaryClicked, this, &TForm1::showMemberList);
    connect(m_circle, &ProfileCircleView::labelClicked, this, &TForm1::LabelClick);
    connect(m_overview, &OverviewChart::seriesClicked, this, &TForm1::ChartAllClickSeries);

    m_openDialog.filter = QStringLiteral("CRY Files (*.cry)|*.cry");
}

void TForm1::buildMenus()
{
    m_menu = MainMenu::build(menuBar(), m_iconAll);
    MainMenu::addShortcuts(m_menu, menuBar());
    connect(m_menu.open, &QAction::triggered, this, &TForm1::mmOpenClick);
    connect(m_menu.group, &QAction::triggered, this, &TForm1::mmGroupClick);
    connect(m_menu.plotAll, &QAction::triggered, this, &TForm1::mmPlotAllClick);
    connect(m_menu.analysis, &QAction::triggered, this, &TForm1::mmAnalysisClick);
    connect(m_menu.image, &QAction::triggered, this, &TForm1::mmSaveClick);
    connect(m_menu.plotSave, &QAction::triggered, this, &TForm1::mmPlotSaveClick);
    connect(m_menu.report, &QAction::triggered, this, &TForm1::mmReportClick);
    connect(m_menu.scores, &QAction::triggered, this, &TForm1::mmScoresClick);
    connect(m_menu.reportPack, &QAction::triggered, this, &TForm1::mmReportPackClick);
    connect(m_menu.importAnswers, &QAction::triggered, this, &TForm1::mmImportClick);
    for (QAction *action : {m_menu.questionnaire, m_menu.importQuestionnaire})
        connect(action, &QAction::triggered, this, &TForm1::mmQuestionnaireClick);
    for (QAction *action : {m_menu.sheetTemplate, m_menu.importTemplate})
        connect(action, &QAction::triggered, this, &TForm1::mmSheetTemplateClick);
    connect(m_menu.analysisWindow, &QAction::triggered, this, &TForm1::mmAnalysisWindowClick);
}

void TForm1::FormCreate()
{
    if (m_appDir.isEmpty())
        m_appDir = QCoreApplication::applicationDirPath();
    if (!m_appDir.endsWith(u'/'))
        m_appDir += u'/';
    m_shell->claimScreen();
    if (!m_shell->appendSystemMenuItem(reinterpret_cast<void *>(winId()), AboutCommandId, L"О программе"))
        offerAbout();
    m_keyLabel = new QLabel(ResultFile::KeyText(), this);
    m_keyLabel->setObjectName(QStringLiteral("KeyLabel"));
    m_keyLabel->hide();

    ExportCommands::Window exports;
    exports.window = this;
    exports.prompts = m_prompts.get();
    exports.appDir = m_appDir;
    exports.caption = applicationTitle();
    exports.tablePages = [this] { return m_archive->reportPages(); };
    m_exports = std::make_unique<ExportCommands>(*m_session, exports);
    m_collect = std::make_unique<CollectCommands>(CollectCommands::Window{
        this, m_prompts.get(), m_appDir, [this](const QString &text) { reportError(text); },
        [this](const QString &folder) { openPath(folder); }});
    m_print = std::make_unique<PrintCommands>(
        PrintCommands::Window{this, m_prompts.get(), m_circle, m_chartPanel, [this](const QString &text) { reportError(text); }},
        *m_exports);
    m_print->addActions(m_menu.save->menu(), menuBar()->findChild<QMenu *>(QStringLiteral("mmImportMenu")));
}

void TForm1::offerAbout()
{
    // Without a system menu "О программе" sits in the menu bar's context menu and on F1.
    auto *about = new QAction(QStringLiteral("О программе"), this);
    about->setObjectName(QStringLiteral("mmAbout"));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    about->setShortcutContext(Qt::WindowShortcut);
    addAction(about);
    menuBar()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(menuBar(), &QWidget::customContextMenuRequested, this, [this, about](const QPoint &at) {
        QMenu menu(this);
        menu.addAction(about);
        menu.exec(menuBar()->mapToGlobal(at));
    });
    connect(about, &QAction::triggered, this, &TForm1::showAbout);
}

void TForm1::FormClose()
{
    m_shell->releaseScreen();
    delete m_keyLabel;
    m_keyLabel = nullptr;
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (m_keyLabel)
        FormClose();
    m_about->hide();
    event->accept();
}

bool TForm1::nativeEvent(const QByteArray &eventType, void *message, qintptr *result)
{
#ifdef Q_OS_WIN
    const MSG *msg = static_cast<const MSG *>(message);
    if (msg->message == WM_SYSCOMMAND && msg->wParam == AboutCommandId)
        showAbout();
#endif
    // Every system command then goes on to the default handling.
    return QMainWindow::nativeEvent(eventType, message, result);
}

void TForm1::showAbout()
{
    m_about->showCentred();
}

QByteArray TForm1::resultKey() const
{
    return m_session->key();
}

QString TForm1::memoText() const
{
    return m_memo->text();
}

void TForm1::reportError(const QString &text)
{
    m_prompts->showError(this, applicationTitle(), text);
}

// ---------------------------------------------------------------------------------------------
// Loads

void TForm1::mmOpenClick()
{
    m_openDialog.title = QStringLiteral("Индивидуальные данные для оценки КК по Зембрау");
    m_openDialog.fileName.clear();
    m_openDialog.initialDir = RecentFolders::start(RecentFolders::data(), dataFolder());
    m_openDialog.acceptsFolder = false;
    const QString chosen = m_prompts->openFile(this, m_openDialog);
    if (chosen.isEmpty())
        return;
    m_openDialog.fileName = chosen;
    RecentFolders::remember(RecentFolders::data(), chosen);
    loadFile(chosen);
}

void TForm1::mmGroupClick()
{
    m_openDialog.title = QStringLiteral("Ввод групповых данных для оценки КК по Зембрау");
    m_openDialog.initialDir = RecentFolders::start(RecentFolders::group(), dataFolder());
    m_openDialog.fileName.clear();
    // A file of the group, or the group's folder itself typed or pasted as a path.
    m_openDialog.acceptsFolder = true;
    const QString chosen = m_prompts->openFile(this, m_openDialog);
    m_openDialog.acceptsFolder = false;
    if (chosen.isEmpty())
        return;
    m_openDialog.fileName = chosen;
    const QString folder = QFileInfo(chosen).isDir() ? QDir(chosen).absolutePath() + u'/' : ResultFolder::folderOf(chosen);
    // The dialog starts next time beside this group, in the folder that holds it.
    RecentFolders::remember(RecentFolders::group(), QDir::cleanPath(folder + QStringLiteral("/..")) + u'/');
    loadGroup(folder);
}

void TForm1::loadFile(const QString &path)
{
    // The whole file is read and parsed before anything on screen changes.
    Outcome<Profile> loaded = ProfileLoader::loadFile(path, resultKey());
    if (!loaded) {
        reportError(loaded.message());
        return;
    }
    m_session->load(std::move(loaded).value(), Session::Origin::File);
}

void TForm1::loadGroup(const QString &folder)
{
    std::optional<Profile> group =
        GroupProgress::readGroup(this, *m_prompts, applicationTitle(), folder, resultKey(), m_groupProgressDelay);
    if (group)
        m_session->load(std::move(*group), Session::Origin::Group);
}

void TForm1::openPath(const QString &path)
{
    if (QFileInfo(path).isDir())
        loadGroup(QDir(path).absolutePath() + u'/');
    else
        loadFile(path);
}

void TForm1::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedPath(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent *event)
{
    const QString path = droppedPath(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop has ended, so that the file manager is not kept waiting by the load.
    QMetaObject::invokeMethod(this, [this, path] { openPath(path); }, Qt::QueuedConnection);
}

QString TForm1::droppedPath(const QMimeData *data)
{
    // One local result file, or one folder; anything else is not taken.
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().constFirst().isLocalFile())
        return QString();
    const QString path = data->urls().constFirst().toLocalFile();
    if (QFileInfo(path).isDir() || path.endsWith(QStringLiteral(".cry"), Qt::CaseInsensitive))
        return path;
    return QString();
}

QString TForm1::dataFolder() const
{
    const QString beside = m_appDir + QStringLiteral("Data");
    if (QFileInfo(beside).isDir())
        return beside;
    // An installed copy on Linux keeps its samples in its data folder.
    const QString installed = QDir::cleanPath(m_appDir + QStringLiteral("../share/zolk-plot/Data"));
    return QFileInfo(installed).isDir() ? installed : beside;
}

void TForm1::showMemberList()
{
    // The list is of the profile shown (the group, or the segment of it shown), and so is the member
    // chosen from it.
    const Profile shown = m_session->profile();
    if (!shown.group)
        return;
    MemberList list(shown, this);
    if (list.exec() == QDialog::Accepted && list.chosenMember() >= 0 && list.chosenMember() < shown.respondentCount())
        m_session->load(ProfileLoader::memberProfile(shown, list.chosenMember()), Session::Origin::Member);
}

void TForm1::showMember(qsizetype member)
{
    const Profile *group = m_session->group();
    if (!group || member < 0 || member >= group->respondentCount())
        return;
    m_session->load(ProfileLoader::memberProfile(*group, member), Session::Origin::Member);
}

// ---------------------------------------------------------------------------------------------
// The refresh

// Runs after every load, once the views have shown the session's new profile (they follow it): the
// window's part of the refresh.
void TForm1::mmPlotClick()
{
    m_menu.save->setEnabled(true);
    m_menu.plotAll->setEnabled(true);
    for (QWidget *view : std::initializer_list<QWidget *>{m_header, m_grid, m_circle, m_memo, m_chartPanel})
        view->show();
    m_grid->setFocus();
    m_grid->setCurrentSilently(GridPicture::IndexColumn, GridPicture::indexRow(1));
    m_menu.plotAll->setVisible(true);
    m_menu.save->setVisible(true);
    // The analysis is of the group loaded: with Save, enabled while a group (or one of its members or
    // segments) is shown.
    m_menu.analysisWindow->setVisible(true);
    m_menu.analysisWindow->setEnabled(m_session->group() != nullptr);
    m_menu.reportPack->setEnabled(m_session->group() != nullptr);
    showChartInFront();
}

void TForm1::seDeltaChange()
{
    m_session->setBand(m_header->band());
}

void TForm1::LabelClick(int tag)
{
    const QPoint target = ProfileCircleView::labelCell(tag);
    m_grid->selectCell(target.x(), target.y());
}

bool TForm1::sgResFSelectCell(int column, int row)
{
    using namespace GridPicture;
    if (column == TraitNameColumn)
        return false;
    if ((column == IndexColumn || column == TraitColumn) && row >= 1 && row <= Resource::IndexCount) {
        m_detail->showIndex(row);
        if (column == IndexColumn)
            m_memo->setLines(Resource::indexStatements(row));
        else
            m_memo->setLines(Resource::traitDescription(Resource::traitOfIndex(row)));
    } else if (column == IndexColumn && row == MeanRow) {
        m_memo->setLines(Resource::allStatements());
    } else if (column == TraitColumn && row == MeanRow) {
        const Profile shown = m_session->shownProfile();
        QStringList lines = AnalysisText::lines(shown.header, m_session->respondents(), m_session->hint(), shown.scores);
        if (const Profile *reference = m_session->reference())
            lines << AnalysisText::comparisonLines(shown.scores, shown.overallMean, reference->scores,
                                                   reference->overallMean, m_session->referenceName());
        m_memo->setLines(lines);
    }
    return true;
}

// The header as the user edits it goes into the session; the captions over the circle and the foot
// lines of the charts follow it.
void TForm1::ceCodeEnter()
{
    m_session->setHeader(m_header->shownHeader());
}

void TForm1::ceCodeKeyUp()
{
    ceCodeEnter();
}

// ---------------------------------------------------------------------------------------------
// Charts

void TForm1::ChartAllClickSeries(QAbstractSeries *series, int pointIndex)
{
    if (series != m_overview->series(u"SeriesScales") || pointIndex < 0 || pointIndex >= Resource::IndexCount)
        return;
    m_overview->setTitle(Resource::chartCaption(pointIndex + 1));
}

// "Plot" swaps the charts: the overview chart comes to the front or goes behind (its Tag follows).
void TForm1::mmPlotAllClick()
{
    m_session->setChartInFront(m_overview->Tag == 0 ? Session::Chart::Overview : Session::Chart::Detail);
}

void TForm1::showChartInFront()
{
    const bool overview = m_session->chartInFront() == Session::Chart::Overview;
    // Only the chart in front is shown: the one behind is neither laid out nor painted, and Tab
    // does not lead to it.
    m_overview->setVisible(overview);
    m_detail->setVisible(!overview);
    m_menu.plotSave->setIcon(overview ? m_iconAll : m_icon5M);
    m_menu.plotAll->setIcon(overview ? m_icon5M : m_iconAll);
}

// ---------------------------------------------------------------------------------------------
// Exports

void TForm1::bringIntoView(QWidget *widget)
{
    // The whole widget, not only its text cursor (as ensureWidgetVisible takes of an edit or memo).
    QWidget *client = m_scroll->widget();
    if (!widget || !client->isAncestorOf(widget))
        return;
    const QRect area(widget->mapTo(client, QPoint(0, 0)), widget->size());
    m_scroll->ensureVisible(area.center().x(), area.center().y(), area.width() / 2 + 1, area.height() / 2 + 1);
}

// A picture is read off the screen: its panel is scrolled into sight first.
void TForm1::mmSaveClick()
{
    bringIntoView(m_circle);
    m_exports->saveCirclePicture(m_circle);
}

void TForm1::mmPlotSaveClick()
{
    bringIntoView(m_chartPanel);
    m_exports->saveChartPicture(m_chartPanel);
}

void TForm1::mmReportPackClick()
{
    if (const Profile *group = m_session->group())
        m_exports->saveReportPack(*group);
}
void TForm1::mmAnalysisClick() { m_exports->saveAnalysis(m_memo->text()); }
void TForm1::mmReportClick() { m_exports->saveReport(); }
void TForm1::mmScoresClick() { m_exports->saveScores(); }
void TForm1::mmQuestionnaireClick() { m_collect->saveQuestionnaire(); }
void TForm1::mmSheetTemplateClick() { m_collect->saveSheetTemplate(); }
void TForm1::mmImportClick() { m_collect->importAnswers(); }

// ---------------------------------------------------------------------------------------------
// The analysis of a group

void TForm1::mmAnalysisWindowClick()
{
    if (!m_session->group())
        return;
    // One window, made at the first call: it follows the group the session loads, and comes back as
    // it was left while that group stays loaded.
    if (!m_analysis) {
        AnalysisWindow::Options options;
        options.prompts = m_prompts.get();
        options.resultsFolder = Exports::resultsFolder(m_appDir);
        options.caption = applicationTitle();
        m_analysis = new AnalysisWindow(*m_session, options, this);
        connect(m_analysis, &AnalysisWindow::segmentChosen, m_session,
                [this](const Profile &segment) { m_session->load(segment, Session::Origin::Segment); });
        ComparisonPage::Options comparison;
        comparison.prompts = m_prompts.get();
        comparison.dataFolder = dataFolder();
        comparison.caption = applicationTitle();
        comparison.groupProgressDelay = m_groupProgressDelay;
        m_comparison = new ComparisonPage(*m_session, comparison, m_analysis->comparisonPage());
        m_analysis->comparisonPage()->layout()->addWidget(m_comparison);
        m_archive->addPages(m_analysis);
    }
    m_analysis->show();
    m_analysis->raise();
    m_analysis->activateWindow();
}
