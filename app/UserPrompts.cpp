#include "UserPrompts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

// One "Description|pattern" pair as Qt writes a filter: "Description (pattern)".
QString qtFilterPair(const QString &descriptionText, const QString &patternText)
{
    QString description = descriptionText;
    const qsizetype paren = description.indexOf(u'(');
    if (paren >= 0)
        description = description.left(paren).trimmed();
    // Each pattern also in lower case: the files of the other case show on a case-sensitive file
    // system, and Windows' dialog (wine's, at least) does not add the filter's extension to a name
    // whose extension differs only in case.
    QStringList patterns = patternText.split(u';', Qt::SkipEmptyParts);
    for (const QString &pattern : QStringList(patterns))
        if (!patterns.contains(pattern.toLower()))
            patterns << pattern.toLower();
    return description + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

} // namespace

QString qtFileFilter(const QString &filter)
{
    if (filter.isEmpty())
        return QString();
    const QStringList parts = filter.split(u'|');
    if (parts.size() < 2)
        return filter;
    // "A|a|B|b": one Qt filter per pair.
    QStringList filters;
    for (qsizetype k = 0; k + 1 < parts.size(); k += 2)
        filters << qtFilterPair(parts[k], parts[k + 1]);
    return filters.join(QStringLiteral(";;"));
}

namespace {

QString runDialog(QWidget *parent, const FileDialogSettings &settings, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, settings.title, settings.initialDir, qtFileFilter(settings.filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(settings.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !settings.overwritePrompt);
    dialog.setDefaultSuffix(settings.defaultSuffix);
    // With several filters, a name typed without an extension takes that of the filter chosen.
    if (qtFileFilter(settings.filter).contains(QStringLiteral(";;"))) {
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &chosen) {
            const qsizetype dot = chosen.indexOf(QStringLiteral("*."));
            const qsizetype end = chosen.indexOf(QRegularExpression(QStringLiteral("[ ;)]")), dot);
            if (dot >= 0 && end > dot)
                dialog.setDefaultSuffix(chosen.mid(dot + 2, end - dot - 2));
        });
    }
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

QString DesktopPrompts::chooseFolder(QWidget *parent, const QString &title, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, title, start);
}
