#pragma once
// A main window for tests: scripted dialogs, a recording desktop shell and its own folder with
// Data/ and Results/ beside it.

#include "TestSupport.h"
#include "UnitPlot.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

struct WindowFixture
{
    QTemporaryDir dir;
    std::shared_ptr<TestSupport::ScriptedPrompts::Shared> prompts = std::make_shared<TestSupport::ScriptedPrompts::Shared>();
    std::shared_ptr<TestSupport::RecordingShell::Shared> shell = std::make_shared<TestSupport::RecordingShell::Shared>();
    std::unique_ptr<TForm1> form;

    explicit WindowFixture(bool hasTaskbar = true)
    {
        QDir(dir.path()).mkpath(QStringLiteral("Data"));
        QDir(dir.path()).mkpath(QStringLiteral("Results"));
        shell->hasTaskbar = hasTaskbar;
        TForm1::Options options;
        options.appDir = dir.path();
        options.prompts = std::make_unique<TestSupport::ScriptedPrompts>(prompts);
        options.shell = std::make_unique<TestSupport::RecordingShell>(shell);
        form = std::make_unique<TForm1>(std::move(options));
    }

    QString dataDir() const { return dir.filePath(QStringLiteral("Data")); }
    QString resultsDir() const { return dir.filePath(QStringLiteral("Results")); }

    // Writes a result file into Data/ and loads it through "Data".
    QString load(const TestSupport::Respondent &r, const QString &fileName = QStringLiteral("r.cry"))
    {
        const QString path = TestSupport::writeResultFile(dataDir(), fileName, r);
        prompts->openAnswers << path;
        form->mmOpenClick();
        return path;
    }
};
