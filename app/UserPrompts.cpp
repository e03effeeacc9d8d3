#include "UserPrompts.h"

#include "PackSplitDialog.h"
#include "ReportTitleDialog.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileIconProvider>
#include <QHash>
#include <QIcon>
#include <QIdentityProxyModel>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPixmap>
#include <QPrintDialog>
#include <QRegularExpression>

namespace {

// One "Description|pattern" pair as Qt writes a filter: "Description (pattern)".
QString qtFilterPair(const QString &descriptionText, const QString &patternText, const QString &defaultSuffix)
{
    QString description = descriptionText;
    const qsizetype paren = description.indexOf(u'(');
    if (paren >= 0)
        description = description.left(paren).trimmed();
    // Each pattern also in lower case: the files of the other case show on a case-sensitive file
    // system.
    QStringList patterns = patternText.split(u';', Qt::SkipEmptyParts);
    for (const QString &pattern : QStringList(patterns))
        if (!patterns.contains(pattern.toLower()))
            patterns << pattern.toLower();
    // Windows' save dialog adds the extension of its filter's first pattern to a name that does not
    // end in exactly that extension (wine's compares case by case), so the default suffix's pattern
    // leads: a proposed "x.jpg" is then accepted as it is.
    const QString own = QStringLiteral("*.") + defaultSuffix;
    if (!defaultSuffix.isEmpty() && patterns.contains(own, Qt::CaseInsensitive)) {
        patterns.removeAll(own);
        patterns.prepend(own);
    }
    return description + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

// The extension of a Qt filter's first pattern: "jpg" of "JPG Files (*.jpg *.JPG)".
QString firstExtension(const QString &qtFilter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([^ ;)]+)"));
    return pattern.match(qtFilter).captured(1);
}

} // namespace

QString qtFileFilter(const QString &filter, const QString &defaultSuffix)
{
    if (filter.isEmpty())
        return QString();
    const QStringList parts = filter.split(u'|');
    if (parts.size() < 2)
        return filter;
    // "A|a|B|b": one Qt filter per pair.
    QStringList filters;
    for (qsizetype k = 0; k + 1 < parts.size(); k += 2)
        filters << qtFilterPair(parts[k], parts[k + 1], defaultSuffix);
    return filters.join(QStringLiteral(";;"));
}

namespace {

// The icons of files and places, one for each kind: Qt's provider makes a new icon each time it is
// asked, for every file the dialog lists.
class LastingFileIcons final : public QFileIconProvider
{
public:
    QIcon icon(IconType type) const override
    {
        QIcon &icon = m_byType[type];
        if (icon.isNull())
            icon = QFileIconProvider::icon(type);
        return icon;
    }

    QIcon icon(const QFileInfo &info) const override
    {
        // What the icon depends on: the kind of entry and, for a file, its type (told by its name).
        QString kind = info.isRoot() ? QStringLiteral("root") : info.isDir() ? QStringLiteral("folder") : QStringLiteral("file");
        if (info.isSymLink())
            kind += QStringLiteral(" link");
        const QString key = kind + u' ' + m_types.mimeTypeForFile(info, QMimeDatabase::MatchExtension).name();
        QIcon &icon = m_byKind[key];
        if (icon.isNull())
            icon = QFileIconProvider::icon(info);
        return icon;
    }

private:
    QMimeDatabase m_types;
    mutable QHash<int, QIcon> m_byType;
    mutable QHash<QString, QIcon> m_byKind;
};

// The file list's model as the dialog's views see it, with a lasting decoration of the "Name"
// header: QFileSystemModel gives a new transparent picture there each time it is asked (it lines up
// the header's text with the names after their icons), of which the header makes a new icon at every
// paint.
class SteadyHeaderModel final : public QIdentityProxyModel
{
public:
    SteadyHeaderModel(QHash<int, QIcon> &headerIcons, QObject *parent) : QIdentityProxyModel(parent), m_headerIcons(headerIcons) {}

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        QVariant value = QIdentityProxyModel::headerData(section, orientation, role);
        if (role != Qt::DecorationRole || orientation != Qt::Horizontal || !value.isValid())
            return value;
        QIcon &icon = m_headerIcons[section];
        if (icon.isNull()) // as QHeaderView reads it: an icon, or else a picture
            icon = value.canConvert<QIcon>() ? qvariant_cast<QIcon>(value) : QIcon(qvariant_cast<QPixmap>(value));
        return icon;
    }

private:
    QHash<int, QIcon> &m_headerIcons;
};

// An open dialog that, where told, takes a folder as its answer: a path typed or pasted into the name
// field, or a folder chosen in the list, ends the dialog instead of being entered.
class FolderTakingDialog final : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;
    bool takesFolders = false;

    void accept() override
    {
        if (takesFolders) {
            const QStringList chosen = selectedFiles();
            if (chosen.size() == 1 && QFileInfo(chosen.constFirst()).isDir()) {
                m_folder = QDir(chosen.constFirst()).absolutePath() + u'/';
                QDialog::accept();
                return;
            }
        }
        QFileDialog::accept();
    }
    // The folder taken, ending with '/'; empty when a file was chosen.
    const QString &folder() const { return m_folder; }

private:
    QString m_folder;
};

} // namespace

// What Qt's own file dialog would otherwise make anew for every dialog, or even at every paint: the
// icons of its buttons, of its files and places and of its list's header. Every pixmap drawn from an
// icon is kept in QPixmapCache under a key of that icon's own; a new icon's keys are never asked for
// again, and Qt 6.4 keeps the key of an entry for good even once the entry has gone (cleared, or
// pushed out by the cache's limit of 10 MB). With new icons, each dialog on the X11 desktop held on
// to some 28 kB until the cache was full, and to some 4 kB for good after that; with these, every
// dialog draws from the pixmaps of the first one.
struct DesktopPrompts::Kept
{
    LastingFileIcons fileIcons;
    QHash<int, QIcon> headerIcons;
    QHash<QString, QIcon> buttonIcons; // by the button's name, or its role in a button box

    // Gives the dialog's buttons the icons the same buttons had in the first dialog.
    void keepButtonIcons(const QWidget &dialog)
    {
        for (QAbstractButton *button : dialog.findChildren<QAbstractButton *>()) {
            QString key = button->objectName();
            if (const auto *box = qobject_cast<const QDialogButtonBox *>(button->parentWidget());
                box && box->standardButton(button) != QDialogButtonBox::NoButton)
                key = QStringLiteral("QDialogButtonBox %1").arg(int(box->standardButton(button)));
            if (key.isEmpty() || button->icon().isNull())
                continue;
            const auto kept = buttonIcons.constFind(key);
            if (kept == buttonIcons.constEnd())
                buttonIcons.insert(key, button->icon());
            else
                button->setIcon(*kept);
        }
    }
};

DesktopPrompts::DesktopPrompts() : m_kept(std::make_unique<Kept>()) {}

DesktopPrompts::~DesktopPrompts() = default;

QString DesktopPrompts::runDialog(QWidget *parent, const FileDialogSettings &settings, bool save)
{
    FolderTakingDialog dialog(parent, settings.title, settings.initialDir, qtFileFilter(settings.filter, settings.defaultSuffix));
    if (settings.acceptsFolder && !save) {
        // Qt's own dialog: the system's would only go into a folder typed in its name field.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.takesFolders = true;
    }
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(settings.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !settings.overwritePrompt);
    dialog.setDefaultSuffix(settings.defaultSuffix);
    if (!settings.fileName.isEmpty())
        dialog.selectFile(settings.fileName);
    // With several filters, a name typed without an extension takes that of the filter chosen.
    if (qtFileFilter(settings.filter).contains(QStringLiteral(";;"))) {
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &chosen) {
            dialog.setDefaultSuffix(firstExtension(chosen));
        });
    }
    if (dialog.itemDelegate()) { // Qt's own dialog, not the system's
        dialog.setIconProvider(&m_kept->fileIcons);
        dialog.setHistory(dialog.history()); // the "Look in" list takes up the icons just given
        dialog.setProxyModel(new SteadyHeaderModel(m_kept->headerIcons, &dialog));
        m_kept->keepButtonIcons(dialog);
    }
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    if (!dialog.folder().isEmpty())
        return dialog.folder();
    return dialog.selectedFiles().isEmpty() ? QString() : dialog.selectedFiles().constFirst();
}

QString DesktopPrompts::openFile(QWidget *parent, const FileDialogSettings &dialog)
{
    return runDialog(parent, dialog, false);
}

QString DesktopPrompts::saveFile(QWidget *parent, const FileDialogSettings &dialog)
{
    return runDialog(parent, dialog, true);
}

void DesktopPrompts::showError(QWidget *parent, const QString &caption, const QString &text)
{
    // A message quotes file names and lines of files: plain text, whatever they hold.
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool DesktopPrompts::confirm(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<ReportTitle> DesktopPrompts::reportTitle(QWidget *parent, const ReportTitle &proposed)
{
    ReportTitleDialog dialog(proposed, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.title();
}

QString DesktopPrompts::chooseFolder(QWidget *parent, const QString &title, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, title, start);
}

bool DesktopPrompts::choosePrinter(QWidget *parent, QPrinter &printer, const QString &title)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    // The pages are drawn whole: the dialog offers no page range and no selection.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintCollateCopies
                      | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<PackSplit> DesktopPrompts::packSplit(QWidget *parent, const QList<PackSplitChoice> &choices, const PackSplit &proposed)
{
    PackSplitDialog dialog(choices, proposed, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.split();
}

void DesktopPrompts::showInformation(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
