#pragma once
// The main window: every control, the menus and the handlers of all user events.

#include "DesktopShell.h"
#include "ProfileCircle.h"
#include "Report.h"
#include "Scoring.h"
#include "ScoresCsv.h"
#include "UserPrompts.h"

#include <QIcon>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QPlainTextEdit;
class QAbstractSeries;
class DetailChart;
class OverviewChart;
class RealSpinEdit;
class ResultsGrid;
class TAboutBox;
struct ResultRecord;
struct GroupProfile;

class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    struct Options
    {
        QString appDir;                        // empty: the executable's folder
        std::unique_ptr<UserPrompts> prompts;  // empty: the system's dialogs and message boxes
        std::unique_ptr<DesktopShell> shell;   // empty: the platform's desktop shell
    };

    explicit TForm1(Options options = {});
    ~TForm1() override;

    // The application title: the caption of the message boxes.
    static QString applicationTitle() { return QStringLiteral("ZOLK.Plot.Culture"); }

    // --- values held for the whole run
    QString AppDir;
    ProfileScores Scores;
    double OverallMean = 0.0;

    // --- controls
    QFrame *paInfo = nullptr;
    QLabel *laA = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *laName = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *ImageInfo = nullptr;
    QLabel *ImageAll = nullptr;
    QLabel *Image5M = nullptr;
    QLabel *Image5T = nullptr;
    QLineEdit *ceCode = nullptr;
    QLineEdit *ceName = nullptr;
    QLineEdit *ceDate = nullptr;
    QLineEdit *ceNanket = nullptr;
    RealSpinEdit *seDelta = nullptr;
    ResultsGrid *sgResF = nullptr;
    QFrame *paChart = nullptr;
    DetailChart *chChart = nullptr;
    OverviewChart *ChartAll = nullptr;
    QFrame *paPlot = nullptr;
    QLabel *imJPEG = nullptr;
    ProfileOverlay *imPlot = nullptr;
    QLabel *laInfoImage = nullptr;
    QLabel *laDateImage = nullptr;
    QPlainTextEdit *meInfo = nullptr;

    // --- menus and dialogs
    QAction *mmOpen = nullptr;
    QAction *mmGroup = nullptr;
    QAction *mmPlotAll = nullptr;
    QMenu *mmSaveMenu = nullptr;
    QAction *mmSave = nullptr;
    QAction *mmAnalysis = nullptr;
    QAction *mmImage = nullptr;
    QAction *mmPlotSave = nullptr;
    QAction *mmReport = nullptr; // "Report": the profile as a PDF for the client
    QAction *mmScores = nullptr; // "Scores": the scores as CSV for a spreadsheet
    QAction *mmAbout = nullptr; // "О программе" where the system has no system menu
    FileDialogSettings OpenDialog1;
    FileDialogSettings SaveDialog;
    TAboutBox *AboutBox = nullptr;

    // The 16 value labels of the circle in slots 0 to 15 and the key label in slot 16.
    std::array<QLabel *, 17> RunTimeLabels{};
    PlotLabel *plotLabel(int tag) const { return static_cast<PlotLabel *>(RunTimeLabels[std::size_t(tag)]); }
    QLabel *KeyLabel() const { return RunTimeLabels[16]; }

    UserPrompts &prompts() { return *m_prompts; }
    // How long a group build runs, in milliseconds, before it shows its progress.
    int groupProgressDelay = 500;

    // Where the "Data" and "Group" dialogs start: "Data" beside the program, or the samples folder of
    // an installed copy.
    QString dataFolder() const;
    // What the report shows of the window now.
    ReportContent reportContent() const;
    // The rows of the scores export: the file loaded, or every member and the group's mean.
    const QList<ScoreRow> &scoreRows() const { return m_scoreRows; }

    // The band half-width as the spin edit reads now.
    double delta() const;
    // The memo's text with CR LF line breaks; every line the program added ends with one.
    QString memoText() const;

public slots:
    void mmOpenClick();
    void mmGroupClick();
    void mmPlotClick();
    void mmPlotAllClick();
    void mmSaveClick();
    void mmPlotSaveClick();
    void mmAnalysisClick();
    void mmReportClick();
    void mmScoresClick();
    void seDeltaChange();
    void ceCodeEnter();
    void ceCodeKeyUp();
    void LabelClick(PlotLabel *label);
    void ChartAllClickSeries(QAbstractSeries *series, int pointIndex);
    void showAbout();

public:
    // Opens a result file as "Data" does, or a folder as "Group" does: for the command line, a file
    // dropped on the window and the file manager. A path that cannot be read gives the usual message.
    void openPath(const QString &path);
    // The result file or folder that a drop carries; empty when it carries anything else.
    static QString droppedPath(const QMimeData *data);

    // Runs before a grid cell becomes current; false keeps the current cell.
    bool sgResFSelectCell(int column, int row);
    // Replaces the memo's text with the plaintext of the key-label cipher.
    void DecipherInfoText();
    void DrawProfileCircle();
    // The statement window and title of the detail chart for index i.
    void showIndexDetail(int index);
    // Every label's band from the text it shows.
    ScoreBand labelBand(int tag) const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void FormCreate();
    void FormClose();
    void buildControls();
    void buildMenus();
    void createPlotLabels();
    void createKeyLabel();
    // Reads a result file and shows it; a file that cannot be read changes nothing but the message.
    void loadFile(const QString &path);
    void applyRecord(const ResultRecord &record);
    void applyGroup(const GroupProfile &group);
    // Builds the group of a folder and shows it; the message of a failure, else an empty string.
    QString loadGroup(const QString &folder);
    void finishLoad();
    void setFooters();
    void fillGrid();
    void setMemoLines(const QStringList &lines);
    QStringList analysisText() const;
    void styleLabel(PlotLabel *label, ScoreBand band);
    void exportPicture(QWidget *panel, const QString &title, const QString &proposedName);
    QString chooseExportFile(const QString &title, const QString &filter, const QString &suffix, const QString &prefix);
    // The export folder followed by prefix, the code and extension.
    QString proposedExportName(const QString &prefix, const QString &extension) const;
    void reportError(const QString &text);
    // Runs one command, showing any error it raises; the program goes on.
    void runCommand(const std::function<void()> &command);

    std::unique_ptr<UserPrompts> m_prompts;
    std::unique_ptr<DesktopShell> m_shell;
    bool m_gridPainted = false;
    QList<ScoreRow> m_scoreRows;
    QIcon m_iconAll; // the pictures of ImageAll and Image5M as menu icons
    QIcon m_icon5M;
};
