#pragma once
// The commands that collect the answers: the blank questionnaire (PDF) and the answer sheet's
// template (CSV) to hand out, and the import of a filled answer sheet into a folder of result
// files, which then opens as a group. Each command asks with the window's dialogs, writes whole files or nothing, and shows why
// when it could not.

#include "UserPrompts.h"

#include <QString>

#include <functional>

class QWidget;

class CollectCommands
{
public:
    struct Window
    {
        QWidget *window = nullptr; // the dialogs' parent
        UserPrompts *prompts = nullptr;
        QString appDir;
        std::function<void(const QString &)> reportError;
        // Opens a folder as a group, as "Group" does.
        std::function<void(const QString &)> openFolder;
    };

    explicit CollectCommands(Window window);

    void saveQuestionnaire();
    void saveSheetTemplate();
    void importAnswers();

private:
    // The captions dialog, then then() with the captions chosen.
    void askCaptions(std::function<void()> then);
    QString choose(const QString &title, const QString &filter, const QString &suffix, const QString &name);

    Window m_window;
    FileDialogSettings m_saveDialog;
    FileDialogSettings m_openDialog;
};
