#pragma once
// The menu bar "MainMenu1" and every command on it, each action named as the window's handlers know
// it: "Data", "Group", "Импорт" (the answers, the questionnaire, the answer sheet's template), "Plot",
// "Save" (Analysis, Image, Plot, Report, Scores, the questionnaire and template) and "Анализ". At
// start only what needs no profile shows.

class QAction;
class QIcon;
class QMenuBar;

struct MainMenu
{
    QAction *open = nullptr;            // mmOpen, "Data"
    QAction *group = nullptr;           // mmGroup, "Group"
    QAction *importAnswers = nullptr;   // mmImportAnswers
    QAction *importQuestionnaire = nullptr;
    QAction *importTemplate = nullptr;
    QAction *plotAll = nullptr;         // mmPlotAll, "Plot"
    QAction *save = nullptr;            // mmSave, the "Save" menu
    QAction *analysis = nullptr;        // mmAnalysis
    QAction *image = nullptr;           // mmImage
    QAction *plotSave = nullptr;        // mmPlotSave, without an icon until the first load
    QAction *report = nullptr;          // mmReport
    QAction *reportPack = nullptr;      // mmReportPack, a report per segment of a group
    QAction *scores = nullptr;          // mmScores
    QAction *questionnaire = nullptr;   // mmQuestionnaire
    QAction *sheetTemplate = nullptr;   // mmSheetTemplate
    QAction *analysisWindow = nullptr;  // mmAnalysisWindow, "Анализ"

    // Fills bar; "Plot" carries overviewIcon, the picture of the chart it brings to the front.
    // Every command carries a mnemonic (Alt and the underlined letter), unique within its menu.
    static MainMenu build(QMenuBar *bar, const QIcon &overviewIcon);
    // The keyboard shortcuts of the common commands, and F10 into the menu bar.
    static void addShortcuts(const MainMenu &menu, QMenuBar *bar);
};
