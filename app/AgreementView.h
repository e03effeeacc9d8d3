#pragma once
// The agreement table under the heat map of "Сегменты": per index, how much of the members'
// differences lies between the segments shown (ICC(1)) and how dependable a segment's mean is
// (ICC(2)), with a one-line reading.

#include "SegmentStatistics.h"

#include <QWidget>

class QLabel;
class QStandardItemModel;
class QTableView;

class AgreementView : public QWidget
{
    Q_OBJECT
public:
    explicit AgreementView(QWidget *parent);

    void setTests(const SegmentStatistics::Tests &tests);
    QTableView *table() const { return m_view; }
    QSize sizeHint() const override;

private:
    QStandardItemModel *m_model = nullptr;
    QTableView *m_view = nullptr;
    QLabel *m_caption = nullptr;
};
