#pragma once
// File dialogs and message boxes behind one replaceable object, so that tests can answer the
// dialogs and read the messages.

#include <QString>

class QWidget;

// The settings of one of the window's file dialogs, kept between uses like a dialog component.
struct FileDialogSettings
{
    QString title;
    QString filter;       // "Description|pattern", e.g. "CRY Files (*.cry)|*.cry"
    QString initialDir;
    QString fileName;
    // Added by the dialog to a name typed without an extension, so that the overwrite question is
    // asked of the file that will be written. Without one, Windows' dialog adds the filter's.
    QString defaultSuffix;
    bool overwritePrompt = false;
    bool mustExist = false;
};

class UserPrompts
{
public:
    virtual ~UserPrompts() = default;
    // The chosen file's full name, or an empty string when the user cancelled.
    virtual QString openFile(QWidget *parent, const FileDialogSettings &dialog) = 0;
    virtual QString saveFile(QWidget *parent, const FileDialogSettings &dialog) = 0;
    virtual void showError(QWidget *parent, const QString &caption, const QString &text) = 0;
    // Asks a yes-or-no question; true for yes.
    virtual bool confirm(QWidget *parent, const QString &caption, const QString &text) = 0;
    // The chosen folder, or an empty string when the user cancelled (or none can be chosen here).
    virtual QString chooseFolder(QWidget *, const QString &, const QString &) { return QString(); }
};

// The system's standard dialogs and message boxes.
class DesktopPrompts final : public UserPrompts
{
public:
    QString openFile(QWidget *parent, const FileDialogSettings &dialog) override;
    QString saveFile(QWidget *parent, const FileDialogSettings &dialog) override;
    void showError(QWidget *parent, const QString &caption, const QString &text) override;
    bool confirm(QWidget *parent, const QString &caption, const QString &text) override;
    QString chooseFolder(QWidget *parent, const QString &title, const QString &start) override;
};

// "Description|pattern" as Qt writes a filter: "Description (pattern)".
QString qtFileFilter(const QString &filter);
