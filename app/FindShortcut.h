#pragma once
// FindShortcut: the platform's Find key (Ctrl+F) on a window that has a search or filter field. The
// key takes the keyboard to the field with its text selected, so that what is typed next replaces
// it. Qt matches the key, not the letter a layout types, so a Russian layout does not change it.

class QAction;
class QLineEdit;
class QWidget;

namespace FindShortcut {

// Gives window the Find key for field, and names the key in the field's placeholder and tooltip.
// The action ("findAction") belongs to window.
QAction *attach(QLineEdit *field, QWidget *window);

} // namespace FindShortcut
