#pragma once
// The menu "Архив": the consultant's survey archive (SurveyArchive) from the window.
//   "Добавить в архив…"  the group loaded, after asking client, wave and sector (proposed from the
//                        report's title block and the group's folder); the same client and wave
//                        again asks before replacing;
//   "Открыть архив…"     the surveys in a table: sort, filter, delete (ArchiveDialog);
//   "Экспорт…"/"Импорт…" a copy of the archive for a colleague, and a colleague's merged into it
//                        (a survey of a client and wave already present asked about);
//   "Файл архива…"       which file is the archive (a setting; --archive FILE on the command line
//                        wins for the session).
// The archive is opened at its first use, never at the window's start. The analysis window gets the
// tabs "Нормы" and "Динамика" from here.

#include "Profile.h"
#include "ReportTablePage.h"
#include "SurveyDialog.h"
#include "UserPrompts.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QMenu;
class QMenuBar;
class AnalysisWindow;
class NormsView;
class TrendView;
class SurveyArchive;

class ArchiveCommands : public QObject
{
    Q_OBJECT
public:
    struct Window
    {
        QWidget *window = nullptr; // the dialogs' parent
        UserPrompts *prompts = nullptr;
        QString archivePath; // from the command line; empty: the setting, else the default
        std::function<const Profile *()> group; // the group loaded; null when none is
        std::function<Profile()> shown;          // the profile shown, for its norms
        std::function<void(const QString &)> reportError;
    };
    // Asks for a survey's client, wave and sector; nullopt when cancelled.
    using AskSurvey = std::function<std::optional<SurveyDetails>(QWidget *, const SurveyDetails &, const QStringList &sectors)>;

    ArchiveCommands(Window window, QObject *parent);
    ~ArchiveCommands() override;

    // The menu "Архив" at the end of bar.
    QMenu *buildMenu(QMenuBar *bar);
    // Replaces the dialog that asks client, wave and sector (tests answer it).
    void setAskSurvey(AskSurvey ask) { m_askSurvey = std::move(ask); }

    // The archive's file: the command line's, the setting's, or the user's default.
    QString archivePath() const;
    // The archive, opened at first use; null (and the reason shown) where it cannot be opened.
    SurveyArchive *archive();
    bool isOpen() const { return m_archive != nullptr; }

    void addToArchive();
    void openArchive();
    void exportArchive();
    void importArchive();
    void chooseArchiveFile();
    // The tabs "Нормы" and "Динамика" of an analysis window.
    void addPages(AnalysisWindow *analysis);
    // The report's pages of the norms and the trend, as the analysis window's tabs show them now:
    // a page where the tab was read and has figures (a norm of enough surveys, two waves or more).
    QList<ReportTablePage> reportPages() const;

    // The setting "Файл архива" (empty: the default).
    static QString storedPath();
    static void storePath(const QString &path);

signals:
    // The surveys of the archive, or the archive itself, changed.
    void changed();

private:
    SurveyDetails proposal(const Profile &group) const;

    Window m_window;
    AskSurvey m_askSurvey;
    std::unique_ptr<SurveyArchive> m_archive;
    FileDialogSettings m_fileDialog;
    QPointer<NormsView> m_norms;
    QPointer<TrendView> m_trend;
};
