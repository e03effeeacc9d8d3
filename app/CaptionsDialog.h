#pragma once
// The captions of the questionnaire's four information lines ("Подразделение", "Должность" ...) and
// whether it asks for the respondent's name, which the consultant sets once: shown before the
// questionnaire or the answer sheet's template is written or printed, filled with what the user's
// settings keep, and kept there on OK.

#include "Questionnaire.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QLineEdit;

class CaptionsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CaptionsDialog(QWidget *parent);

    Questionnaire::Captions captions() const;
    bool asksName() const;

    // Shows the dialog over parent, not modal to the program's loop (the window's other dialogs
    // answer as usual), and once it has closed with OK, calls then(): the next step may open dialogs
    // of its own.
    static void ask(QWidget *parent, std::function<void()> then);

signals:
    // After OK, once the captions are kept.
    void captionsChosen(const Questionnaire::Captions &captions);

private:
    void keep();

    std::array<QLineEdit *, 4> m_edits{};
    QCheckBox *m_asksName = nullptr;
};
