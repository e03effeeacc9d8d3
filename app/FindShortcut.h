#pragma once
// FindShortcut: the platform's Find key (Ctrl+F) on a window that has a search or filter field. The
// key takes the keyboard to the field with its text selected, so that what is typed next replaces
// it. Qt matches the key, not the letter a layout types, so a Russian layout does not change it.

class QBoxLayout;
class QLineEdit;
class QString;
class QWidget;

namespace FindShortcut {

// A search field named name with its label (its mnemonic leads to the field) added to row. The
// field takes window's Find key (the action "findAction"), which its placeholder and tooltip name.
QLineEdit *addField(QBoxLayout *row, const QString &label, const char *name, QWidget *window);

} // namespace FindShortcut
