#pragma once
// The "Надёжность" page of the group analysis: how reliably each index and trait measures in this
// group. Above, one row per index and trait: n, Cronbach's alpha with its 95 % interval (Feldt), the
// mean correlation between its statements and a verdict ("надёжен" from 0,70, "сомнителен" from 0,60,
// "ненадёжен" below; "слишком мало анкет" under ten members). Below, the statements of the index
// chosen: their correlation with the rest of the index and the index's alpha without them; a
// negative correlation is flagged, as it usually means a reversed statement was misread.
// The figures are worked out when the page is first shown (Reliability, one pass over the members).

#include "Profile.h"
#include "Reliability.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QStandardItemModel;
class QTableView;
class QVBoxLayout;

class ReliabilityPage : public QWidget
{
    Q_OBJECT
public:
    explicit ReliabilityPage(QWidget *parent);

    // The group analysed: its figures are worked out afresh when the page shows (now, if it does).
    void setGroup(const Profile &group);

    // The figures, worked out now if the page has not been shown yet.
    const Reliability::Result &result();
    // Shows the statements of index i (1 to 12).
    void showIndex(int index);

    QTableView *scalesView() const { return m_scalesView; }
    QTableView *statementsView() const { return m_statementsView; }
    // The layouts of the two tables, for the buttons under each.
    QVBoxLayout *scalesLayout() const { return m_scalesLayout; }
    QVBoxLayout *statementsLayout() const { return m_statementsLayout; }

    // The flag of a statement whose corrected correlation is negative.
    static QString reversedFlag();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillScales();

    Profile m_group;
    std::optional<Reliability::Result> m_result;
    QVBoxLayout *m_scalesLayout = nullptr;
    QVBoxLayout *m_statementsLayout = nullptr;
    QStandardItemModel *m_scales = nullptr;
    QStandardItemModel *m_statements = nullptr;
    QTableView *m_scalesView = nullptr;
    QTableView *m_statementsView = nullptr;
    QComboBox *m_index = nullptr;
};
