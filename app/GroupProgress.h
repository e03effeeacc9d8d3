#pragma once
// The progress of a group being read, as the window shows it: the busy cursor, application-wide
// until a progress dialog opens (after a delay, for a long group); then only the window behind the
// dialog is busy, so that its Cancel button keeps the normal cursor. The dialog is modal: the window repaints, and
// only Cancel takes clicks.

#include "ProfileLoader.h"
#include "UserPrompts.h"

#include <QElapsedTimer>

#include <memory>

class QProgressDialog;
class QWidget;

class GroupProgress
{
public:
    GroupProgress(QWidget *window, int delayMilliseconds);
    ~GroupProgress();
    GroupProgress(const GroupProgress &) = delete;
    GroupProgress &operator=(const GroupProgress &) = delete;

    // The loader's progress report; false once the user has cancelled.
    ProfileLoader::Progress callback();
    // Closes the dialog (the busy cursor stays until the guard goes).
    void finish();

    // The question before a group is built without the files that could not be read: how many, each
    // with why (twenty at the most), and how many remain.
    static QString leftOutQuestion(const ProfileLoader::GroupLoad &load);

    // Reads a folder as a group the one way the program does: busy, with this progress (and its
    // Cancel) for a long group, leaving out files that cannot be read only with the user's consent,
    // and naming the respondents counted once (GroupRepeats).
    // The group; none when the user cancelled or refused, or the folder could not be read (then
    // the message says why, under caption).
    static std::optional<Profile> readGroup(QWidget *window, UserPrompts &prompts, const QString &caption,
                                            const QString &folder, const QByteArray &key, int delayMilliseconds);

private:
    bool report(qsizetype done, qsizetype total);

    QWidget *m_window;
    int m_delay;
    QElapsedTimer m_clock;
    std::unique_ptr<QProgressDialog> m_dialog;
    bool m_applicationWide = true;
};
