#pragma once
// Shared helpers of the tests: result files made on the fly, scripted dialogs and a recording
// desktop shell.

#include "DesktopShell.h"
#include "UserPrompts.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace TestSupport {

struct Respondent
{
    QString date = QStringLiteral("01.02.2003");
    QString code = QStringLiteral("0042");
    QString name = QStringLiteral("Тест");
    QStringList info = {QStringLiteral("Отдел"), QStringLiteral("Должность"), QStringLiteral("Стаж"), QStringLiteral("")};
    std::array<double, 12> indices{};
    std::array<double, 60> items{};
    QChar separator = u',';

    Respondent();
    // All twelve index scores and all sixty statement scores set to value.
    static Respondent uniform(double value);
};

// The plaintext lines of a result file (81 lines).
QStringList plainLines(const Respondent &r);
// The plaintext joined with CR LF and a final line break.
QString plainText(const Respondent &r);
// The stored letters of a plaintext.
QByteArray storedLetters(const QString &plain);
// Writes a result file and returns its path.
QString writeResultFile(const QString &folder, const QString &fileName, const Respondent &r);
QString writeStoredFile(const QString &folder, const QString &fileName, const QByteArray &letters);

// Bytes the C library's allocator has handed out and not taken back; 0 where it does not tell.
long long heapInUse();
// The peak resident memory of the process in kilobytes; 0 where the system does not tell.
long peakKilobytes();
// Moves the modification time of a file or folder back by age; false when the system refuses.
// (The C++ library cannot set a folder's time on Windows: it opens it as a file.)
bool makeOlder(const QString &path, std::chrono::seconds age);

// The worked example's index scores.
constexpr std::array<double, 12> WorkedExample = {3.2, 4.1, 3.8, 2.9, 3.5, 4.4, 2.2, 3.0, 3.7, 4.0, 3.6, 2.5};

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
