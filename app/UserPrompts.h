#pragma once
// File dialogs and message boxes behind one replaceable object, so that tests can answer the
// dialogs and read the messages.

#include <QString>

#include <memory>

class QWidget;

// The settings of one of the window's file dialogs, kept between uses like a dialog component.
struct FileDialogSettings
{
    QString title;
    QString filter;       // "Description|pattern", e.g. "CRY Files (*.cry)|*.cry"
    QString initialDir;
    QString fileName;
    // Added by the dialog to a name typed without an extension, so that the overwrite question is
    // asked of the file that will be written. Its pattern leads the filter, which keeps Windows'
    // dialog from adding another extension to a name that already ends in it.
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
};

// The system's standard dialogs and message boxes.
class DesktopPrompts final : public UserPrompts
{
public:
    DesktopPrompts();
    ~DesktopPrompts() override;
    DesktopPrompts(const DesktopPrompts &) = delete;
    DesktopPrompts &operator=(const DesktopPrompts &) = delete;

    QString openFile(QWidget *parent, const FileDialogSettings &dialog) override;
    QString saveFile(QWidget *parent, const FileDialogSettings &dialog) override;
    void showError(QWidget *parent, const QString &caption, const QString &text) override;

private:
    QString runDialog(QWidget *parent, const FileDialogSettings &settings, bool save);

    struct Kept;
    std::unique_ptr<Kept> m_kept;
};

// "Description|pattern" as Qt writes a filter: "Description (pattern)", each pattern also in lower
// case, the pattern of defaultSuffix (when given) first.
QString qtFileFilter(const QString &filter, const QString &defaultSuffix = QString());
