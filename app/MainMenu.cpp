#include "MainMenu.h"

#include "Icons.h"
#include "MenuBarStyle.h"

#include <QMenu>
#include <QMenuBar>

namespace {

QAction *named(QAction *action, const char *name)
{
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

MainMenu MainMenu::build(QMenuBar *bar, const QIcon &overviewIcon)
{
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto *style = new MenuBarStyle;
    style->setParent(bar);
    bar->setStyle(style);
    MainMenu menu;
    menu.open = named(bar->addAction(Icons::data(), QStringLiteral("Data")), "mmOpen");
    menu.group = named(bar->addAction(Icons::group(), QStringLiteral("Group")), "mmGroup");
    // Reachable before anything is loaded: the import and what to hand out to the respondents.
    QMenu *importMenu = bar->addMenu(Icons::data(), QStringLiteral("Импорт"));
    importMenu->setObjectName(QStringLiteral("mmImportMenu"));
    named(importMenu->menuAction(), "mmImport");
    menu.importAnswers = named(importMenu->addAction(QStringLiteral("Ответы из таблицы (CSV)…")), "mmImportAnswers");
    menu.importQuestionnaire = named(importMenu->addAction(QStringLiteral("Анкета…")), "mmImportQuestionnaire");
    menu.importTemplate = named(importMenu->addAction(QStringLiteral("Шаблон таблицы ответов…")), "mmImportTemplate");
    menu.plotAll = named(bar->addAction(overviewIcon, QStringLiteral("Plot")), "mmPlotAll");
    QMenu *saveMenu = bar->addMenu(Icons::save(), QStringLiteral("Save"));
    saveMenu->setObjectName(QStringLiteral("mmSaveMenu"));
    menu.save = named(saveMenu->menuAction(), "mmSave");
    menu.analysis = named(saveMenu->addAction(Icons::analysis(), QStringLiteral("Analysis")), "mmAnalysis");
    menu.image = named(saveMenu->addAction(Icons::picture(), QStringLiteral("Image")), "mmImage");
    menu.plotSave = named(saveMenu->addAction(QStringLiteral("Plot")), "mmPlotSave");
    menu.report = named(saveMenu->addAction(Icons::analysis(), QStringLiteral("Report")), "mmReport");
    menu.scores = named(saveMenu->addAction(Icons::notepad(), QStringLiteral("Scores")), "mmScores");
    menu.questionnaire = named(saveMenu->addAction(QStringLiteral("Анкета")), "mmQuestionnaire");
    menu.sheetTemplate = named(saveMenu->addAction(QStringLiteral("Шаблон ответов")), "mmSheetTemplate");
    menu.analysisWindow = named(bar->addAction(Icons::groupAnalysis(), QStringLiteral("Анализ")), "mmAnalysisWindow");
    menu.plotAll->setVisible(false);
    menu.save->setVisible(false);
    menu.analysisWindow->setVisible(false);
    return menu;
}
