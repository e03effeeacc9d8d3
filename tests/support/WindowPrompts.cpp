#include "WindowPrompts.h"

namespace TestSupport {

QString ScriptedPrompts::openFile(QWidget *, const FileDialogSettings &dialog)
{
    m_shared->openDialogs << dialog;
    return m_shared->openAnswers.isEmpty() ? QString() : m_shared->openAnswers.takeFirst();
}

QString ScriptedPrompts::saveFile(QWidget *, const FileDialogSettings &dialog)
{
    m_shared->saveDialogs << dialog;
    return m_shared->saveAnswers.isEmpty() ? QString() : m_shared->saveAnswers.takeFirst();
}

void ScriptedPrompts::showError(QWidget *, const QString &caption, const QString &text)
{
    m_shared->errorCaptions << caption;
    m_shared->errors << text;
}

bool ScriptedPrompts::confirm(QWidget *, const QString &, const QString &text)
{
    m_shared->questions << text;
    return !m_shared->confirmAnswers.isEmpty() && m_shared->confirmAnswers.takeFirst();
}

QString ScriptedPrompts::chooseFolder(QWidget *, const QString &title, const QString &)
{
    m_shared->folderTitles << title;
    return m_shared->folderAnswers.isEmpty() ? QString() : m_shared->folderAnswers.takeFirst();
}

std::optional<ReportTitle> ScriptedPrompts::reportTitle(QWidget *, const ReportTitle &proposed)
{
    m_shared->titleProposals << proposed;
    return m_shared->titleAnswers.isEmpty() ? std::optional(proposed) : m_shared->titleAnswers.takeFirst();
}

bool ScriptedPrompts::choosePrinter(QWidget *, QPrinter &printer, const QString &title)
{
    m_shared->printTitles << title;
    return !m_shared->printAnswers.isEmpty() && m_shared->printAnswers.takeFirst()(printer);
}

std::optional<PackSplit> ScriptedPrompts::packSplit(QWidget *, const QList<PackSplitChoice> &choices, const PackSplit &proposed)
{
    m_shared->packChoices << choices;
    return m_shared->packAnswers.isEmpty() ? std::optional(proposed) : m_shared->packAnswers.takeFirst();
}

void ScriptedPrompts::showInformation(QWidget *, const QString &, const QString &text)
{
    m_shared->informations << text;
}

bool RecordingShell::claimScreen()
{
    m_shared->calls << QStringLiteral("claimScreen");
    if (!m_shared->hasTaskbar)
        return false;
    m_shared->taskbarVisible = false;
    m_shared->workAreaClaimed = true;
    return true;
}

void RecordingShell::releaseScreen()
{
    m_shared->calls << QStringLiteral("releaseScreen");
    if (m_shared->hasTaskbar)
        m_shared->taskbarVisible = true;
    m_shared->workAreaClaimed = false;
}

bool RecordingShell::appendSystemMenuItem(void *, unsigned commandId, const std::wstring &text)
{
    m_shared->calls << QStringLiteral("appendSystemMenuItem %1 %2").arg(commandId).arg(QString::fromStdWString(text));
    return false;
}

} // namespace TestSupport
