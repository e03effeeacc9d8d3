#include "FindShortcut.h"

#include <QAction>
#include <QBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>

namespace FindShortcut {

namespace {

QAction *attach(QLineEdit *field, QWidget *window)
{
    auto *find = new QAction(QStringLiteral("Найти"), window);
    find->setObjectName(QStringLiteral("findAction"));
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WindowShortcut);
    window->addAction(find);
    QObject::connect(find, &QAction::triggered, field, [field] {
        field->setFocus(Qt::ShortcutFocusReason);
        field->selectAll();
    });
    const QString key = find->shortcut().toString(QKeySequence::NativeText);
    field->setPlaceholderText(key);
    field->setToolTip(QStringLiteral("Найти (%1)").arg(key));
    return find;
}

} // namespace

QLineEdit *addField(QBoxLayout *row, const QString &label, const char *name, QWidget *window)
{
    auto *caption = new QLabel(label, window);
    auto *field = new QLineEdit(window);
    field->setObjectName(QString::fromLatin1(name));
    field->setClearButtonEnabled(true);
    caption->setBuddy(field);
    attach(field, window);
    row->addWidget(caption);
    row->addWidget(field, 1);
    return field;
}

} // namespace FindShortcut
