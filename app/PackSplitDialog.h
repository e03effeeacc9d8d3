#pragma once
// "Отчёты по подразделениям": how the pack splits the group (an information line under its caption,
// or the sub-folders) and below how many members a department gets no report.

#include "UserPrompts.h"

#include <QDialog>

class QComboBox;
class QSpinBox;

class PackSplitDialog : public QDialog
{
    Q_OBJECT
public:
    PackSplitDialog(const QList<PackSplitChoice> &choices, const PackSplit &proposed, QWidget *parent = nullptr);

    PackSplit split() const;

private:
    QComboBox *m_split = nullptr;
    QSpinBox *m_minimum = nullptr;
};
