#include "UserPrompts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

QString qtFileFilter(const QString &filter, const QString &defaultSuffix)
{
    if (filter.isEmpty())
        return QString();
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0)
        return filter;
    QString description = filter.left(bar);
    const qsizetype paren = description.indexOf(u'(');
    if (paren >= 0)
        description = description.left(paren).trimmed();
    // Each pattern also in lower case: the files of the other case show on a case-sensitive file
    // system.
    QStringList patterns = filter.mid(bar + 1).split(u';', Qt::SkipEmptyParts);
    for (const QString &pattern : QStringList(patterns))
        if (!patterns.contains(pattern.toLower()))
            patterns << pattern.toLower();
    // Windows' save dialog adds the extension of its filter's first pattern to a name that does not
    // end in exactly that extension (wine's compares case by case), so the default suffix's pattern
    // leads: a proposed "x.jpg" is then accepted as it is.
    if (!defaultSuffix.isEmpty()) {
        const QString own = QStringLiteral("*.") + defaultSuffix;
        patterns.removeAll(own);
        patterns.prepend(own);
    }
    return description + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

namespace {

QString runDialog(QWidget *parent, const FileDialogSettings &settings, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, settings.title, settings.initialDir, qtFileFilter(settings.filter, settings.defaultSuffix));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(settings.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !settings.overwritePrompt);
    dialog.setDefaultSuffix(settings.defaultSuffix);
    if (!settings.fileName.isEmpty())
        dialog.selectFile(settings.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString DesktopPrompts::openFile(QWidget *parent, const FileDialogSettings &dialog)
{
    return runDialog(parent, dialog, QFileDialog::AcceptOpen);
}

QString DesktopPrompts::saveFile(QWidget *parent, const FileDialogSettings &dialog)
{
    return runDialog(parent, dialog, QFileDialog::AcceptSave);
}

void DesktopPrompts::showError(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox::critical(parent, caption, text);
}
