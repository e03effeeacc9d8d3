#pragma once
// A main window for tests: scripted dialogs, a recording desktop shell and its own folder with
// Data/ and Results/ beside it. Tests reach the window's views and menu items by object name, as a
// user finds them by what they show.

#include "HeaderPanel.h"
#include "InfoMemo.h"
#include "ProfileCircle.h"
#include "RealSpinEdit.h"
#include "ResultsGrid.h"
#include "StatementCharts.h"
#include "TestSupport.h"
#include "WindowPrompts.h"
#include "UnitPlot.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <memory>

struct WindowFixture
{
    QTemporaryDir dir;
    std::shared_ptr<TestSupport::ScriptedPrompts::Shared> prompts = std::make_shared<TestSupport::ScriptedPrompts::Shared>();
    std::shared_ptr<TestSupport::RecordingShell::Shared> shell = std::make_shared<TestSupport::RecordingShell::Shared>();
    std::unique_ptr<TForm1> form;

    explicit WindowFixture(bool hasTaskbar = true, int groupProgressDelay = 500)
    {
        QDir(dir.path()).mkpath(QStringLiteral("Data"));
        QDir(dir.path()).mkpath(QStringLiteral("Results"));
        shell->hasTaskbar = hasTaskbar;
        TForm1::Options options;
        options.appDir = dir.path();
        options.prompts = std::make_unique<TestSupport::ScriptedPrompts>(prompts);
        options.shell = std::make_unique<TestSupport::RecordingShell>(shell);
        options.groupProgressDelay = groupProgressDelay;
        form = std::make_unique<TForm1>(std::move(options));
    }

    QString dataDir() const { return dir.filePath(QStringLiteral("Data")); }
    QString resultsDir() const { return dir.filePath(QStringLiteral("Results")); }

    // Writes a result file into Data/ and loads it through "Data".
    QString load(const TestSupport::Respondent &r, const QString &fileName = QStringLiteral("r.cry"))
    {
        const QString path = TestSupport::writeResultFile(dataDir(), fileName, r);
        prompts->openAnswers << path;
        action("mmOpen")->trigger();
        return path;
    }

    // A child of the window by its object name; null when there is none.
    template <typename T = QWidget>
    T *find(const QString &name) const
    {
        return form->findChild<T *>(name);
    }
    QAction *action(const char *name) const { return find<QAction>(QString::fromLatin1(name)); }
    QLineEdit *edit(const char *name) const { return find<QLineEdit>(QString::fromLatin1(name)); }
    QLabel *label(const char *name) const { return find<QLabel>(QString::fromLatin1(name)); }
    HeaderPanel *header() const { return find<HeaderPanel>(QStringLiteral("paInfo")); }
    RealSpinEdit *delta() const { return find<RealSpinEdit>(QStringLiteral("seDelta")); }
    ResultsGrid *grid() const { return find<ResultsGrid>(QStringLiteral("sgResF")); }
    InfoMemo *memo() const { return find<InfoMemo>(QStringLiteral("meInfo")); }
    ProfileCircleView *circle() const { return find<ProfileCircleView>(QStringLiteral("paPlot")); }
    PlotLabel *plotLabel(int tag) const { return circle()->label(tag); }
    QWidget *chartPanel() const { return find<QWidget>(QStringLiteral("paChart")); }
    DetailChart *detailChart() const { return find<DetailChart>(QStringLiteral("chChart")); }
    OverviewChart *overviewChart() const { return find<OverviewChart>(QStringLiteral("ChartAll")); }
};
