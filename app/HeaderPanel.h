#pragma once
// paInfo: the header of the profile shown — code, name, date, number of questionnaires, the summary
// behind the information image — and the band "Range" (± around the mean). The user may edit code,
// name and date; every key released there is reported, and so is every change of the band.

#include "BevelPanel.h"
#include "Profile.h"

#include <QPixmap>

class QLabel;
class Session;
class QLineEdit;
class RealSpinEdit;

class HeaderPanel : public BevelPanel
{
    Q_OBJECT
public:
    explicit HeaderPanel(QWidget *parent);

    // Fills the header from every profile the session loads; the spin edit shows the session's band.
    void follow(const Session &session);
    // Fills the header from a profile: a respondent's own lines and "ФИО", or the group's and "Группа".
    void showProfile(const Profile &profile);

    // The texts shown now, as the user may have edited them; the information lines of the profile.
    RespondentHeader shownHeader() const;
    // The summary behind the information image, lines joined with CR LF.
    QString hint() const;
    // The band as the spin edit reads now (its minimum while its text is not a number).
    double band() const;

    // The pictures of the two charts for the menu.
    QPixmap overviewIcon() const;
    QPixmap detailIcon() const;

    // At most this many names show in the summary's tooltip; the member list shows them all.
    static constexpr int TooltipNames = 20;
    // The summary as its tooltip shows it: a long member list cut after TooltipNames names.
    static QString tooltipText(const QString &hint);

signals:
    void headerEdited();
    void bandEdited();
    // A click on the information image.
    void summaryClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_name = nullptr;
    QLabel *m_info = nullptr;
    QLabel *m_overviewImage = nullptr;
    QLabel *m_detailImage = nullptr;
    QLabel *m_gridImage = nullptr;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_nameEdit = nullptr;
    QLineEdit *m_date = nullptr;
    QLineEdit *m_respondents = nullptr;
    RealSpinEdit *m_band = nullptr;
    std::array<QString, 4> m_infoLines;
    QString m_hint;
};
