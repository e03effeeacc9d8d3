#pragma once
// The title block of the PDF report, asked for before the save dialog: company, consultant and survey
// date, filled with what the consultant entered last time, and for a group whether its member list
// goes into the report (off each time: a group's report is anonymous unless asked otherwise).

#include "ReportTitle.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

class ReportTitleDialog : public QDialog
{
    Q_OBJECT
public:
    // Longest text kept in a field: a title block line, not a document.
    static constexpr int MaxLength = 200;

    explicit ReportTitleDialog(const ReportTitle &proposed, QWidget *parent = nullptr);

    // The title as filled in now.
    ReportTitle title() const;

private:
    QLineEdit *m_company = nullptr;
    QLineEdit *m_consultant = nullptr;
    QLineEdit *m_surveyDate = nullptr;
    QCheckBox *m_memberList = nullptr;
    bool m_group = false;
};

// The title block remembered between reports in the user's settings (an INI file of the user's, the
// same on every system), without the member-list choice.
namespace ReportTitleSettings {

ReportTitle load();
// Stores the title's texts; writes nothing when they are the ones stored already.
void remember(const ReportTitle &title);

} // namespace ReportTitleSettings
