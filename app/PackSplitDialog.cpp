#include "PackSplitDialog.h"

#include "SegmentsTable.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

PackSplitDialog::PackSplitDialog(const QList<PackSplitChoice> &choices, const PackSplit &proposed, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PackSplitDialog"));
    setWindowTitle(QStringLiteral("Отчёты по подразделениям"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(QStringLiteral("Отчёт по каждому подразделению в сравнении со всей группой и отчёт по всей группе, "
                                            "каждый в своём PDF-файле в выбранной папке."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto *form = new QFormLayout;
    m_split = new QComboBox(this);
    m_split->setObjectName(QStringLiteral("cbSplit"));
    for (const PackSplitChoice &choice : choices)
        m_split->addItem(QStringLiteral("%1 (подразделений: %2)").arg(choice.caption).arg(choice.segments), int(choice.by));
    m_split->setCurrentIndex(std::max(0, m_split->findData(int(proposed.by))));
    m_minimum = new QSpinBox(this);
    m_minimum->setObjectName(QStringLiteral("seMinimum"));
    m_minimum->setRange(SegmentsTable::LowestMinimum, 1000);
    m_minimum->setValue(std::max(proposed.minimum, SegmentsTable::LowestMinimum));
    auto *splitLabel = new QLabel(QStringLiteral("&Подразделения по:"), this);
    splitLabel->setBuddy(m_split);
    auto *minimumLabel = new QLabel(QStringLiteral("&Не меньше анкет в отчёте:"), this);
    minimumLabel->setBuddy(m_minimum);
    form->addRow(splitLabel, m_split);
    form->addRow(minimumLabel, m_minimum);
    layout->addLayout(form);
    auto *note = new QLabel(QStringLiteral("Подразделение, где анкет меньше, отчёта не получает; не получает его и то, "
                                           "по которому можно было бы вычислить такое подразделение."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

PackSplit PackSplitDialog::split() const
{
    PackSplit chosen;
    chosen.by = GroupArithmetic::SplitBy(m_split->currentData().toInt());
    chosen.minimum = m_minimum->value();
    return chosen;
}
