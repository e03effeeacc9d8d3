#pragma once
// The captions of the questionnaire's four information lines ("Подразделение", "Должность" ...),
// which the consultant sets once: shown before the questionnaire or the answer sheet's template is
// written, filled with the captions kept in the user's settings, and kept there on OK.

#include "Questionnaire.h"

#include <QDialog>

#include <array>

class QLineEdit;

class CaptionsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CaptionsDialog(QWidget *parent);

    Questionnaire::Captions captions() const;

signals:
    // After OK, once the captions are kept.
    void captionsChosen(const Questionnaire::Captions &captions);

private:
    void keep();

    std::array<QLineEdit *, 4> m_edits{};
};
