#include "FindShortcut.h"

#include <QAction>
#include <QKeySequence>
#include <QLineEdit>

namespace FindShortcut {

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

} // namespace FindShortcut
