#pragma once
// The table of differences under the choice of the reference on the "Сравнение" page: per index,
// how the profile shown differs from the reference. Two groups: the difference of their means with Welch's 95 % interval
// and p (Holm over the twelve indices), significant ones marked "*". One member against a group:
// the member's percentile within the group instead (the share of the group's members below the
// member's index score, those equal counted half).

#include "Profile.h"

#include <QWidget>


class QLabel;
class QStandardItemModel;
class QTableView;

class ComparisonFigures : public QWidget
{
    Q_OBJECT
public:
    explicit ComparisonFigures(QWidget *parent);

    // reference: none while the comparison is off.
    void setProfiles(const Profile &shown, const Profile *reference);
    QTableView *table() const { return m_view; }

private:
    QLabel *m_caption = nullptr;
    QStandardItemModel *m_model = nullptr;
    QTableView *m_view = nullptr;
};
