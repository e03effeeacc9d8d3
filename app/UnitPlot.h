#pragma once
// The main window: the menus, the views of the profile and the handlers of every user event. What is
// loaded lives in the window's Session, which the views, the analysis window and the exports follow;
// the handlers here turn menus and user events into loads and changes of the session.

#include "DesktopShell.h"
#include "MainMenu.h"
#include "Profile.h"
#include "Session.h"
#include "UserPrompts.h"

#include <QIcon>
#include <QMainWindow>
#include <QSize>

#include <memory>

class QAbstractSeries;
class QAction;
class QLabel;
class QMenu;
class QMimeData;
class QScrollArea;
class AnalysisWindow;
class ArchiveCommands;
class BevelPanel;
class CollectCommands;
class ComparisonPage;
class DetailChart;
class ExportCommands;
class PrintCommands;
class HeaderPanel;
class InfoMemo;
class OverviewChart;
class ProfileCircleView;
class ResultsGrid;
class TAboutBox;

class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    struct Options
    {
        QString appDir;                        // empty: the executable's folder
        std::unique_ptr<UserPrompts> prompts;  // empty: the system's dialogs and message boxes
        std::unique_ptr<DesktopShell> shell;   // empty: the platform's desktop shell
        int groupProgressDelay = 500;          // milliseconds a group is read before its progress shows
        QString archivePath;                   // the survey archive (--archive); empty: the setting's or the default
    };

    TForm1();
    explicit TForm1(Options options);
    ~TForm1() override;

    // The client area that holds the views at their fixed positions: it scrolls in a smaller window.
    static constexpr QSize ClientSize{1032, 730};
    // Scrolls the client so that widget (one of its views or their controls) is in sight.
    void bringIntoView(QWidget *widget);

    // The application title: the caption of the message boxes.
    static QString applicationTitle() { return QStringLiteral("ZOLK.Plot.Culture"); }

    // The folder of the executable (or the one given), ending with a separator.
    const QString &appDir() const { return m_appDir; }
    // What is loaded and how it is shown.
    Session &session() const { return *m_session; }
    // The profile loaded and the band as "Range" reads now (the session's).
    const Profile &profile() const { return m_session->profile(); }
    double band() const { return m_session->band(); }
    // Shows member k of the loaded group on its own, compared with the whole group.
    void showMember(qsizetype member);
    // The memo's text with CR LF line breaks; every line the program added ends with one.
    QString memoText() const;
    // The key of the result files, as the hidden key label holds it.
    QByteArray resultKey() const;
    // Where the "Data" and "Group" dialogs start: "Data" beside the program, or the samples folder of
    // an installed copy.
    QString dataFolder() const;

    // Opens a result file as "Data" does, or a folder as "Group" does: for the command line, a file
    // dropped on the window and the file manager.
    void openPath(const QString &path);
    // The result file or folder that a drop carries; empty when it carries anything else.
    static QString droppedPath(const QMimeData *data);

public slots:
    void mmOpenClick();
    void mmGroupClick();
    void mmPlotClick();
    void mmPlotAllClick();
    void mmSaveClick();
    void mmPlotSaveClick();
    void mmAnalysisClick();
    // "Анализ": the analysis window of the group loaded.
    void mmAnalysisWindowClick();
    void mmReportClick();
    void mmScoresClick();
    // "Отчёты по подразделениям...": a report per segment of the group loaded and one of the whole.
    void mmReportPackClick();
    // Collecting the answers: the blank questionnaire, the answer sheet's template, the import.
    void mmQuestionnaireClick();
    void mmSheetTemplateClick();
    void mmImportClick();
    void seDeltaChange();
    void ceCodeEnter();
    void ceCodeKeyUp();
    void LabelClick(int tag);
    void ChartAllClickSeries(QAbstractSeries *series, int pointIndex);
    void showAbout();
    // The scrollable list of a group's members.
    void showMemberList();

public:
    // Runs before a grid cell becomes current; false keeps the current cell.
    bool sgResFSelectCell(int column, int row);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void FormCreate();
    void FormClose();
    void buildViews();
    void buildMenus();
    void offerAbout();
    // Reads a result file or a folder's group and shows it; a failure changes nothing but the message.
    void loadFile(const QString &path);
    void loadGroup(const QString &folder);
    // The menu icons of the two charts: "Plot" shows the one it brings to the front, Save/Plot the other.
    void showChartInFront();
    void reportError(const QString &text);

    QString m_appDir;
    std::unique_ptr<UserPrompts> m_prompts;
    std::unique_ptr<DesktopShell> m_shell;
    int m_groupProgressDelay;
    Session *m_session = nullptr;

    QScrollArea *m_scroll = nullptr;
    HeaderPanel *m_header = nullptr;
    ResultsGrid *m_grid = nullptr;
    BevelPanel *m_chartPanel = nullptr;
    DetailChart *m_detail = nullptr;
    OverviewChart *m_overview = nullptr;
    ProfileCircleView *m_circle = nullptr;
    InfoMemo *m_memo = nullptr;
    QLabel *m_keyLabel = nullptr; // holds the key of the result files, never shown
    TAboutBox *m_about = nullptr;

    ComparisonPage *m_comparison = nullptr; // on the analysis window's "Сравнение" page
    AnalysisWindow *m_analysis = nullptr; // made at the first "Анализ"; follows the group loaded
    MainMenu m_menu;
    FileDialogSettings m_openDialog;
    std::unique_ptr<ExportCommands> m_exports;
    std::unique_ptr<CollectCommands> m_collect;
    ArchiveCommands *m_archive = nullptr; // the menu "Архив" and the analysis window's norms and trend
    std::unique_ptr<PrintCommands> m_print;
    QIcon m_iconAll; // the pictures of ImageAll and Image5M as menu icons
    QIcon m_icon5M;
};
