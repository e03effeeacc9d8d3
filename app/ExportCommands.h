#pragma once
// The commands under "Save": the profile picture, the chart in front, the analysis text, the PDF
// report and the scores. Each proposes a name in the results folder, asks with the window's save
// dialog, writes the whole file or nothing, and shows why when it could not; the window stays as it was.

#include "Outcome.h"
#include "Profile.h"
#include "Report.h"
#include "UserPrompts.h"

#include <QPixmap>
#include <QString>

#include <functional>
#include <optional>

class QWidget;
class HeaderPanel;
class InfoMemo;
class OverviewChart;

class ExportCommands
{
public:
    // What the commands read of the window.
    struct Window
    {
        QWidget *window = nullptr;     // the dialogs' parent
        UserPrompts *prompts = nullptr;
        QString appDir;
        QWidget *circlePanel = nullptr;
        QWidget *chartPanel = nullptr;
        const OverviewChart *overview = nullptr; // its Tag tells which chart is in front
        const HeaderPanel *header = nullptr;
        const InfoMemo *memo = nullptr;
        // The profile as shown: with the header as the user may have edited it.
        std::function<Profile()> profile;
        // The reference the profile is compared with, while comparison is on.
        std::function<const std::optional<Profile> &()> reference;
        std::function<QString()> referenceName;
        std::function<void(const QString &)> reportError;
    };

    explicit ExportCommands(Window window);

    void saveCirclePicture();
    void saveChartPicture();
    void saveAnalysis();
    void saveReport();
    void saveScores();
    // "Отчёты по подразделениям...": a report per department of group and one of the whole group into
    // a chosen folder, with progress and cancel; the choice of split first, then the title block.
    void saveReportPack(const Profile &group);

    // The report of the profile shown under the given title, its chart drawn afresh from the profile.
    ReportInput reportInput(const ReportTitle &title = {}) const;
    // The report's overview of all sixty statements: a fresh chart of the profile, titled as such.
    static ReportInput::ChartPainter overviewPainter(const Profile &profile, double delta);
    // The settings the save dialog keeps from one export to the next.
    const FileDialogSettings &saveDialog() const { return m_dialog; }

private:
    void savePicture(QWidget *panel, const QString &title, const QString &prefix);
    // Runs the save dialog with the given settings; the chosen name, or empty when cancelled.
    QString choose(const QString &kind, const QString &title, const QString &filter, const QString &suffix,
                   const QString &prefix, const QString &extension);
    // Runs the save dialog as set up, in the folder of its kind; remembers where the answer lies.
    QString ask(const QString &kind);
    // Where a save dialog of the kind starts: its last folder, else the results folder.
    QString startFolder(const QString &kind) const;
    // A name in the kind's folder: prefix and what is loaded (Exports::profileStem), extension.
    QString proposed(const QString &kind, const QString &prefix, const QString &extension) const;
    void report(const Outcome<> &written);

    Window m_window;
    FileDialogSettings m_dialog;
};
