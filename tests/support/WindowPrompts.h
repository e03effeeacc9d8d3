#pragma once
// The window's dialogs and desktop shell for tests: ScriptedPrompts answers the dialogs from a queue
// and records every message box, RecordingShell records the desktop calls.

#include "DesktopShell.h"
#include "ReportTitle.h"
#include "UserPrompts.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace TestSupport {

// Answers the window's dialogs from a queue and records every message box.
class ScriptedPrompts final : public UserPrompts
{
public:
    struct Shared
    {
        QStringList openAnswers;   // one per open dialog; an empty string cancels
        QStringList saveAnswers;
        QList<FileDialogSettings> openDialogs;
        QList<FileDialogSettings> saveDialogs;
        QStringList errors;
        QStringList errorCaptions;
        // One answer per question; a question beyond them is answered no.
        QList<bool> confirmAnswers;
        QStringList questions;
        QStringList folderAnswers; // one per folder dialog; an empty string cancels
        QStringList folderTitles;
        // One answer per report title dialog, nullopt cancels it; beyond them the proposal is accepted.
        QList<std::optional<ReportTitle>> titleAnswers;
        QList<ReportTitle> titleProposals;
        // One answer per print dialog, which sets what the user would choose on the printer; false
        // cancels. Beyond them the dialog is cancelled.
        QList<std::function<bool(QPrinter &)>> printAnswers;
        QStringList printTitles;
        // One answer per report pack's split dialog, nullopt cancels it; beyond them the proposal.
        QList<std::optional<PackSplit>> packAnswers;
        QList<QList<PackSplitChoice>> packChoices;
        QStringList informations; // the texts of the summaries shown
    };

    explicit ScriptedPrompts(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}

    QString openFile(QWidget *, const FileDialogSettings &dialog) override;
    QString saveFile(QWidget *, const FileDialogSettings &dialog) override;
    void showError(QWidget *, const QString &caption, const QString &text) override;
    bool confirm(QWidget *, const QString &caption, const QString &text) override;
    QString chooseFolder(QWidget *, const QString &title, const QString &start) override;
    std::optional<ReportTitle> reportTitle(QWidget *, const ReportTitle &proposed) override;
    bool choosePrinter(QWidget *, QPrinter &printer, const QString &title) override;
    std::optional<PackSplit> packSplit(QWidget *, const QList<PackSplitChoice> &choices, const PackSplit &proposed) override;
    void showInformation(QWidget *, const QString &caption, const QString &text) override;

private:
    std::shared_ptr<Shared> m_shared;
};

// Records the desktop calls; hasTaskbar decides whether a taskbar window is found.
class RecordingShell final : public DesktopShell
{
public:
    struct Shared
    {
        bool hasTaskbar = true;
        bool taskbarVisible = true;
        bool workAreaClaimed = false;
        QStringList calls;
    };

    explicit RecordingShell(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}

    bool claimScreen() override;
    void releaseScreen() override;
    bool appendSystemMenuItem(void *, unsigned commandId, const std::wstring &text) override;

private:
    std::shared_ptr<Shared> m_shared;
};

} // namespace TestSupport
