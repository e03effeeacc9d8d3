#include "UnitPlot.h"

#include "About.h"
#include "AnalysisText.h"
#include "AnalysisWindow.h"
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
{
    Fonts::installSubstitutes();
    setObjectName(QStringLiteral("Form1"));
    setAcceptDrops(true);
    buildViews();
    buildMenus();
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

    m_circle = new ProfileCircleView(client);
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

    connect(m_header, &HeaderPanel::headerEdited, this, &TForm1::ceCodeKeyUp);
    connect(m_header, &HeaderPanel::deltaChanged, this, &TForm1::seDeltaChange);
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

    ExportCommands::Window window;
    window.window = this;
    window.prompts = m_prompts.get();
    window.appDir = m_appDir;
    window.circlePanel = m_circle;
    window.chartPanel = m_chartPanel;
    window.overview = m_overview;
    window.header = m_header;
    window.memo = m_memo;
    window.profile = [this] { return shownProfile(); };
    window.reference = [this]() -> const std::optional<Profile> & { return m_reference; };
    window.referenceName = [this] { return m_referenceName; };
    window.reportError = [this](const QString &text) { reportError(text); };
    m_exports = std::make_unique<ExportCommands>(window);
    m_collect = std::make_unique<CollectCommands>(CollectCommands::Window{
        this, m_prompts.get(), m_appDir, [this](const QString &text) { reportError(text); },
        [this](const QString &folder) { openPath(folder); }});
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

Profile TForm1::shownProfile() const
{
    Profile shown = m_profile;
    shown.header = m_header->shownHeader();
    return shown;
}

QByteArray TForm1::resultKey() const
{
    return ResultFile::keyBytes(m_keyLabel->text());
}

double TForm1::delta() const
{
    return m_header->delta();
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
    m_group.reset();
    showLoaded(std::move(loaded).value());
}

void TForm1::loadGroup(const QString &folder)
{
    Outcome<ProfileLoader::GroupLoad> loaded = [&] {
        // Busy until the members are read; the question and the message come once the cursor is back.
        GroupProgress progress(this, m_groupProgressDelay);
        ProfileLoader::FolderOptions options;
        options.key = resultKey();
        options.progress = progress.callback();
        options.leaveOutBad = true;
        return ProfileLoader::loadFolder(folder, options);
    }();
    if (!loaded) {
        if (!loaded.cancelled())
            reportError(loaded.message());
        return;
    }
    // Files that cannot be read are left out only with the user's consent.
    if (!loaded->leftOut.isEmpty() && !m_prompts->confirm(this, applicationTitle(), GroupProgress::leftOutQuestion(*loaded)))
        return;
    m_group = loaded->profile;
    showLoaded(std::move(loaded).value().profile);
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

void TForm1::showLoaded(Profile profile)
{
    m_profile = std::move(profile);
    m_header->showProfile(m_profile);
    setFooters();
    mmPlotClick();
    m_grid->setFocus();
    m_grid->setCurrentSilently(GridPicture::IndexColumn, GridPicture::indexRow(1));
    m_menu.plotAll->setVisible(true);
    m_menu.save->setVisible(true);
    // The analysis is of the group loaded: with Save, enabled while a group (or one of its members or
    // segments) is shown.
    m_menu.analysisWindow->setVisible(true);
    m_menu.analysisWindow->setEnabled(m_group.has_value());
    m_menu.reportPack->setEnabled(m_group.has_value());
    m_menu.plotSave->setIcon(m_icon5M);
}

void TForm1::setFooters()
{
    const RespondentHeader shown = m_header->shownHeader();
    m_detail->setFoot(shown.code, shown.name, shown.date);
    m_overview->setFoot(shown.code, shown.name, shown.date);
}

void TForm1::showMemberList()
{
    if (!m_profile.group)
        return;
    MemberList list(m_profile, this);
    if (list.exec() == QDialog::Accepted && list.chosenMember() >= 0)
        showMember(list.chosenMember());
}

void TForm1::showMember(qsizetype member)
{
    if (!m_group || member < 0 || member >= m_group->respondentCount())
        return;
    const Profile group = *m_group;
    showLoaded(ProfileLoader::memberProfile(group, member));
    setReference(group, QStringLiteral("%1 (%2 анкет)").arg(ProfileText::groupName()).arg(group.respondentCount()));
}

void TForm1::setReference(std::optional<Profile> reference, const QString &name)
{
    m_reference = std::move(reference);
    m_referenceName = m_reference ? (name.isEmpty() ? m_reference->header.name : name) : QString();
    applyReference();
    if (m_comparison)
        m_comparison->refresh();
}

void TForm1::applyReference()
{
    const Profile *reference = m_reference ? &*m_reference : nullptr;
    m_circle->setReference(reference, m_header->shownHeader().name, m_referenceName);
    m_detail->setReference(reference ? &reference->scores : nullptr);
    m_overview->setReference(reference ? &reference->scores : nullptr);
    m_grid->setReference(reference);
}

// ---------------------------------------------------------------------------------------------
// The refresh

void TForm1::mmPlotClick()
{
    m_menu.save->setEnabled(true);
    m_menu.plotAll->setEnabled(true);
    const double d = delta();
    m_grid->showProfile(m_profile, d, m_header->gridHeaderIcon());
    m_circle->showProfile(m_profile, d);
    m_detail->showProfile(m_profile, d);
    m_overview->showProfile(m_profile, d);
    m_memo->setLines(Resource::indexStatements(1));
    if (m_reference)
        applyReference();
    ceCodeEnter();
    for (QWidget *view : std::initializer_list<QWidget *>{m_header, m_grid, m_circle, m_memo, m_chartPanel})
        view->show();
}

void TForm1::seDeltaChange()
{
    const double d = delta();
    m_grid->setBand(m_profile.overallMean, d);
    m_detail->setBand(m_profile.overallMean, d);
    m_overview->setBand(m_profile.overallMean, d);
    m_circle->setBand(m_profile.overallMean, d);
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
        const Profile shown = shownProfile();
        QStringList lines = AnalysisText::lines(shown.header, m_header->respondents(), m_header->hint(), shown.scores);
        if (m_reference)
            lines << AnalysisText::comparisonLines(shown.scores, shown.overallMean, m_reference->scores,
                                                   m_reference->overallMean, m_referenceName);
        m_memo->setLines(lines);
    }
    return true;
}

void TForm1::ceCodeEnter()
{
    const RespondentHeader shown = m_header->shownHeader();
    m_circle->setCaptions(shown.code, shown.name, shown.date);
}

void TForm1::ceCodeKeyUp()
{
    ceCodeEnter();
    setFooters();
}

// ---------------------------------------------------------------------------------------------
// Charts

void TForm1::ChartAllClickSeries(QAbstractSeries *series, int pointIndex)
{
    if (series != m_overview->series(u"SeriesScales") || pointIndex < 0 || pointIndex >= Resource::IndexCount)
        return;
    m_overview->setTitle(Resource::chartCaption(pointIndex + 1));
}

void TForm1::mmPlotAllClick()
{
    if (m_overview->Tag == 0) {
        m_overview->raise();
        m_overview->Tag = 1;
        m_menu.plotSave->setIcon(m_menu.plotAll->icon());
        m_menu.plotAll->setIcon(m_icon5M);
    } else if (m_overview->Tag == 1) {
        m_overview->lower();
        m_overview->Tag = 0;
        m_menu.plotSave->setIcon(m_menu.plotAll->icon());
        m_menu.plotAll->setIcon(m_iconAll);
    }
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
    m_exports->saveCirclePicture();
}

void TForm1::mmPlotSaveClick()
{
    bringIntoView(m_chartPanel);
    m_exports->saveChartPicture();
}

void TForm1::mmReportPackClick()
{
    if (m_group)
        m_exports->saveReportPack(*m_group);
}
void TForm1::mmAnalysisClick() { m_exports->saveAnalysis(); }
void TForm1::mmReportClick() { m_exports->saveReport(); }
void TForm1::mmScoresClick() { m_exports->saveScores(); }
void TForm1::mmQuestionnaireClick() { m_collect->saveQuestionnaire(); }
void TForm1::mmSheetTemplateClick() { m_collect->saveSheetTemplate(); }
void TForm1::mmImportClick() { m_collect->importAnswers(); }

// ---------------------------------------------------------------------------------------------
// The analysis of a group

void TForm1::mmAnalysisWindowClick()
{
    if (!m_group)
        return;
    // The window of the group loaded comes back as it was left; another group gets a new one.
    if (!m_analysis || m_analysis->group().members != m_group->members) {
        delete m_analysis;
        AnalysisWindow::Options options;
        options.prompts = m_prompts.get();
        options.resultsFolder = Exports::resultsFolder(m_appDir);
        options.caption = applicationTitle();
        options.delta = delta();
        m_analysis = new AnalysisWindow(*m_group, options, this);
        connect(m_analysis, &AnalysisWindow::segmentChosen, this, &TForm1::showLoaded);
        connect(m_header, &HeaderPanel::deltaChanged, m_analysis, [this] { m_analysis->setDelta(delta()); });
        m_comparison = new ComparisonPage(*this, *m_prompts, m_analysis->comparisonPage());
        m_analysis->comparisonPage()->layout()->addWidget(m_comparison);
    }
    m_comparison->refresh();
    m_analysis->show();
    m_analysis->raise();
    m_analysis->activateWindow();
}
