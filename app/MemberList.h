#pragma once
// The members of a group in a list that scrolls, however many there are: number, file, name and
// overall mean of each, sortable by any column. Opened by a click on the header's information image.

#include "Profile.h"

#include <QDialog>

class QTableView;

class MemberList : public QDialog
{
    Q_OBJECT
public:
    MemberList(const Profile &group, QWidget *parent);

    // The member chosen (by double click or "Показать"), or -1.
    qsizetype chosenMember() const { return m_chosen; }

signals:
    void memberChosen(qsizetype member);

private:
    QTableView *m_table = nullptr;
    qsizetype m_chosen = -1;
};
