#pragma once
// The commands under "Save": the profile picture, the chart in front, the analysis text, the PDF
// report and the scores. Each proposes a name in the results folder, asks with the window's save
// dialog, writes the whole file or nothing, and shows why when it could not; the window stays as it was.
// What is written comes from the session: the profile with its edited header, the band, the chart in
// front and the reference while the comparison is on; the pictures are of the panels given.

#include "Outcome.h"
#include "Profile.h"
#include "Report.h"
#include "UserPrompts.h"

#include <QPixmap>
#include <QString>

class QWidget;
class Session;

class ExportCommands
{
public:
    // Where the commands ask and tell.
    struct Window
    {
        QWidget *window = nullptr; // the dialogs' parent
        UserPrompts *prompts = nullptr;
        QString appDir;
        QString caption; // of the error messages
        // The report's pages of figures after page 1 (the archive's norms and trend); none when empty.
        std::function<QList<ReportTablePage>()> tablePages;
    };

    ExportCommands(const Session &session, Window window);

    // The picture of the profile panel, and of the chart panel named after the chart in front.
    void saveCirclePicture(QWidget *circlePanel);
    void saveChartPicture(QWidget *chartPanel);
    // The memo's text as it stands.
    void saveAnalysis(const QString &memoText);
    void saveReport();
    void saveScores();
    // "Отчёты по подразделениям...": a report per department of group and one of the whole group into
    // a chosen folder, with progress and cancel; the choice of split first, then the title block.
    void saveReportPack(const Profile &group);

    // The report of the profile shown under the given title, its chart drawn afresh from the profile.
    ReportInput reportInput(const ReportTitle &title = {}) const;
    // The report's overview of all sixty statements: a fresh chart of the profile, titled as such.
    static ReportInput::ChartPainter overviewPainter(const Profile &profile, double band);
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
    void showError(const QString &text);
    void report(const Outcome<> &written);

    const Session &m_session;
    Window m_window;
    FileDialogSettings m_dialog;
};
