#pragma once
// The About dialog: the program's name, purpose, version and contact lines. It is shown
// non-modally, so the main window stays usable behind it.

#include <QDialog>

class QPushButton;

class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);

    QPushButton *OKButton = nullptr;

    // Shows the dialog centred on the screen; showing it again while visible only raises it.
    void showCentred();

public slots:
    void OKButtonClick();
};
