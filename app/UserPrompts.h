#pragma once
// File dialogs, message boxes and the report's title dialog behind one replaceable object, so that
// tests can answer the dialogs and read the messages.

#include "GroupArithmetic.h"
#include "ReportTitle.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

class QPrinter;
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
    // An open dialog that also takes a folder: typed or pasted into the name field, or chosen in
    // the list, it is the answer ("Group" reads the folder of the file chosen, or the folder itself).
    bool acceptsFolder = false;
};

// How a report pack splits its group, and the anonymity threshold of its segments.
struct PackSplit
{
    GroupArithmetic::SplitBy by = GroupArithmetic::SplitBy::Info1;
    int minimum = 5;
};
// One way to split a group, as the pack's dialog offers it.
struct PackSplitChoice
{
    GroupArithmetic::SplitBy by = GroupArithmetic::SplitBy::Info1;
    QString caption;        // the information line's caption, or "Подпапки"
    qsizetype segments = 0; // into how many segments it splits the group
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
    // Asks for the report's title block, filled with proposed; nullopt when the user cancelled.
    virtual std::optional<ReportTitle> reportTitle(QWidget *parent, const ReportTitle &proposed) = 0;
    // The system's print dialog: the user chooses the printer, the pages' size and the number of
    // copies, which it sets on printer; false when the user cancelled (or nothing can print here).
    virtual bool choosePrinter(QWidget *, QPrinter &, const QString &) { return false; }
    // Asks how to split a report pack, starting from proposed; nullopt when the user cancelled.
    virtual std::optional<PackSplit> packSplit(QWidget *, const QList<PackSplitChoice> &, const PackSplit &)
    {
        return std::nullopt;
    }
    // Tells what a command did (a summary the user reads and closes).
    virtual void showInformation(QWidget *, const QString &, const QString &) {}
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
    bool confirm(QWidget *parent, const QString &caption, const QString &text) override;
    QString chooseFolder(QWidget *parent, const QString &title, const QString &start) override;
    std::optional<ReportTitle> reportTitle(QWidget *parent, const ReportTitle &proposed) override;
    bool choosePrinter(QWidget *parent, QPrinter &printer, const QString &title) override;
    std::optional<PackSplit> packSplit(QWidget *parent, const QList<PackSplitChoice> &choices, const PackSplit &proposed) override;
    void showInformation(QWidget *parent, const QString &caption, const QString &text) override;

private:
    QString runDialog(QWidget *parent, const FileDialogSettings &settings, bool save);

    struct Kept;
    std::unique_ptr<Kept> m_kept;
};

// "Description|pattern" (or several pairs, "A|a|B|b") as Qt writes a filter: "Description (pattern)",
// each pattern also in lower case, the pattern of defaultSuffix (when given) first.
QString qtFileFilter(const QString &filter, const QString &defaultSuffix = QString());
