#include "MainMenu.h"

#include "Icons.h"
#include "MenuBarStyle.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>

namespace {

QAction *named(QAction *action, const char *name)
{
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// Takes the keyboard to the menu bar, its first command that shows highlighted, where arrows, Enter
// and the underlined letters work as after Alt; once nothing is highlighted there any more (Escape, a
// command chosen), the keyboard goes back to the control that had it.
class MenuBarFocus final : public QObject
{
public:
    explicit MenuBarFocus(QMenuBar *bar) : QObject(bar), m_bar(bar) { bar->installEventFilter(this); }

    void enter()
    {
        QAction *first = nullptr;
        for (QAction *action : m_bar->actions())
            if (action->isVisible() && action->isEnabled() && !action->isSeparator()) {
                first = action;
                break;
            }
        if (!first)
            return;
        if (QWidget *focus = QApplication::focusWidget(); focus && focus != m_bar)
            m_previous = focus;
        m_bar->setFocus(Qt::MenuBarFocusReason);
        m_bar->setActiveAction(first);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_bar && (event->type() == QEvent::KeyPress || event->type() == QEvent::FocusOut)) {
            QMetaObject::invokeMethod(this, [this] {
                if (m_bar->activeAction() || !m_bar->hasFocus())
                    return;
                if (m_previous)
                    m_previous->setFocus(Qt::MenuBarFocusReason);
                m_previous = nullptr;
            }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QMenuBar *m_bar;
    QPointer<QWidget> m_previous;
};

} // namespace

MainMenu MainMenu::build(QMenuBar *bar, const QIcon &overviewIcon)
{
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto *style = new MenuBarStyle;
    style->setParent(bar);
    bar->setStyle(style);
    MainMenu menu;
    menu.open = named(bar->addAction(Icons::icon(&Icons::data), QStringLiteral("&Data")), "mmOpen");
    menu.group = named(bar->addAction(Icons::icon(&Icons::group), QStringLiteral("&Group")), "mmGroup");
    // Reachable before anything is loaded: the import and what to hand out to the respondents.
    QMenu *importMenu = bar->addMenu(Icons::icon(&Icons::data), QStringLiteral("&Импорт"));
    importMenu->setObjectName(QStringLiteral("mmImportMenu"));
    named(importMenu->menuAction(), "mmImport");
    menu.importAnswers = named(importMenu->addAction(QStringLiteral("&Ответы из таблицы (CSV)…")), "mmImportAnswers");
    menu.importQuestionnaire = named(importMenu->addAction(QStringLiteral("&Анкета…")), "mmImportQuestionnaire");
    menu.importTemplate = named(importMenu->addAction(QStringLiteral("&Шаблон таблицы ответов…")), "mmImportTemplate");
    menu.plotAll = named(bar->addAction(overviewIcon, QStringLiteral("&Plot")), "mmPlotAll");
    QMenu *saveMenu = bar->addMenu(Icons::icon(&Icons::save), QStringLiteral("&Save"));
    saveMenu->setObjectName(QStringLiteral("mmSaveMenu"));
    menu.save = named(saveMenu->menuAction(), "mmSave");
    menu.analysis = named(saveMenu->addAction(Icons::icon(&Icons::analysis), QStringLiteral("&Analysis")), "mmAnalysis");
    menu.image = named(saveMenu->addAction(Icons::icon(&Icons::picture), QStringLiteral("&Image")), "mmImage");
    menu.plotSave = named(saveMenu->addAction(QStringLiteral("&Plot")), "mmPlotSave");
    menu.report = named(saveMenu->addAction(Icons::icon(&Icons::analysis), QStringLiteral("&Report")), "mmReport");
    menu.reportPack = named(saveMenu->addAction(Icons::icon(&Icons::analysis), QStringLiteral("Отчёты по &подразделениям…")), "mmReportPack");
    menu.scores = named(saveMenu->addAction(Icons::icon(&Icons::notepad), QStringLiteral("&Scores")), "mmScores");
    menu.questionnaire = named(saveMenu->addAction(QStringLiteral("&Анкета")), "mmQuestionnaire");
    menu.sheetTemplate = named(saveMenu->addAction(QStringLiteral("&Шаблон ответов")), "mmSheetTemplate");
    menu.analysisWindow = named(bar->addAction(Icons::icon(&Icons::groupAnalysis), QStringLiteral("&Анализ")), "mmAnalysisWindow");
    menu.plotAll->setVisible(false);
    menu.save->setVisible(false);
    menu.analysisWindow->setVisible(false);
    return menu;
}

void MainMenu::addShortcuts(const MainMenu &menu, QMenuBar *bar)
{
    // The platform's keys where a command is the platform's: open, and save for the report (the file
    // the consultant saves most). Qt matches them by key, so a Russian layout does not change them.
    menu.open->setShortcut(QKeySequence::Open);
    menu.group->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    menu.report->setShortcut(QKeySequence::Save);
    for (QAction *action : {menu.open, menu.group})
        action->setToolTip(QStringLiteral("%1 (%2)").arg(QString(action->text()).remove(u'&'),
                                                         action->shortcut().toString(QKeySequence::NativeText)));
    // F10 enters the menu bar as Alt does: the first command highlighted, arrows and letters move on.
    auto *keeper = new MenuBarFocus(bar);
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), bar->window());
    f10->setObjectName(QStringLiteral("menuBarKey"));
    QObject::connect(f10, &QShortcut::activated, keeper, &MenuBarFocus::enter);
}
