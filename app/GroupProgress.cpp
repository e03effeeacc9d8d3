#include "GroupProgress.h"

#include "GroupRepeats.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QWidget>

#include <algorithm>

GroupProgress::GroupProgress(QWidget *window, int delayMilliseconds)
    : m_window(window)
    , m_delay(delayMilliseconds)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_clock.start();
}

GroupProgress::~GroupProgress()
{
    m_dialog.reset();
    if (m_applicationWide)
        QGuiApplication::restoreOverrideCursor();
    else
        m_window->unsetCursor();
}

ProfileLoader::Progress GroupProgress::callback()
{
    return [this](qsizetype done, qsizetype total) { return report(done, total); };
}

void GroupProgress::finish()
{
    m_dialog.reset();
}

bool GroupProgress::report(qsizetype done, qsizetype total)
{
    if (!m_dialog && m_clock.elapsed() >= m_delay && done < total) {
        m_dialog = std::make_unique<QProgressDialog>(QString(), QStringLiteral("Отмена"), 0, int(total), m_window);
        m_dialog->setObjectName(QStringLiteral("groupProgress"));
        m_dialog->setWindowTitle(QStringLiteral("Group"));
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setMinimumDuration(0);
        // Kept up at the last member too, so that a click on Cancel then is not lost.
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
        if (m_applicationWide) {
            QGuiApplication::restoreOverrideCursor();
            m_applicationWide = false;
            m_window->setCursor(Qt::WaitCursor);
        }
    }
    if (!m_dialog)
        return true;
    m_dialog->setLabelText(QStringLiteral("Чтение анкет группы: %1 из %2").arg(done).arg(total));
    m_dialog->setValue(int(done));
    QCoreApplication::processEvents();
    return !m_dialog->wasCanceled();
}

QString GroupProgress::leftOutQuestion(const ProfileLoader::GroupLoad &load)
{
    const QList<ProfileLoader::LeftOut> &bad = load.leftOut;
    const qsizetype read = load.profile.respondentCount();
    // A folder left out (its name ends with '/') hides members that cannot even be counted.
    const qsizetype folders = std::count_if(bad.cbegin(), bad.cend(), [](const ProfileLoader::LeftOut &out) { return out.file.endsWith(u'/'); });
    const qsizetype files = bad.size() - folders;
    QString question = files > 0 ? QStringLiteral("Не удалось прочитать файлов: %1 из %2.\n").arg(files).arg(files + read) : QString();
    if (folders > 0)
        question += QStringLiteral("Не удалось прочитать папок: %1; их анкеты не войдут в группу.\n").arg(folders);
    // Twenty files with their reasons; a longer list would not fit the screen.
    constexpr qsizetype Named = 20;
    for (qsizetype k = 0; k < std::min(bad.size(), Named); ++k)
        question += u'\n' + bad[k].message + u'\n';
    if (bad.size() > Named)
        question += QStringLiteral("\n… и ещё %1\n").arg(bad.size() - Named);
    return question + QStringLiteral("\nПостроить группу без них (%1)?").arg(ProfileText::questionnaires(read));
}

std::optional<Profile> GroupProgress::readGroup(QWidget *window, UserPrompts &prompts, const QString &caption,
                                                const QString &folder, const QByteArray &key, int delayMilliseconds)
{
    Outcome<ProfileLoader::GroupLoad> loaded = [&] {
        // Busy until the members are read; the question and the message come once the cursor is back.
        GroupProgress progress(window, delayMilliseconds);
        ProfileLoader::FolderOptions options;
        options.key = key;
        options.progress = progress.callback();
        options.leaveOutBad = true;
        return ProfileLoader::loadFolder(folder, options);
    }();
    if (!loaded) {
        if (!loaded.cancelled())
            prompts.showError(window, caption, loaded.message());
        return std::nullopt;
    }
    if (!loaded->leftOut.isEmpty() && !prompts.confirm(window, caption, leftOutQuestion(*loaded)))
        return std::nullopt;
    // Each respondent counted once: the user learns which files repeat, and which codes differ.
    if (const QString repeats = GroupRepeats::message(loaded->repeats); !repeats.isEmpty())
        prompts.showError(window, caption, repeats);
    return std::move(loaded).value().profile;
}
