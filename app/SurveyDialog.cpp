#include "SurveyDialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int MaxLength = 200;

} // namespace

SurveyDialog::SurveyDialog(const SurveyDetails &proposed, const QStringList &sectors, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("surveyDialog"));
    setWindowTitle(QStringLiteral("Добавить в архив"));
    auto *layout = new QVBoxLayout(this);
    auto *note = new QLabel(QStringLiteral("В архив попадают только сводные цифры группы и её отделов не менее чем из 5 анкет: "
                                           "ни кодов, ни имён, ни ответов отдельных людей."),
                            this);
    note->setWordWrap(true);
    note->setTextFormat(Qt::PlainText);
    layout->addWidget(note);
    auto *form = new QFormLayout;
    m_client = new QLineEdit(proposed.client, this);
    m_client->setObjectName(QStringLiteral("surveyClient"));
    m_client->setMaxLength(MaxLength);
    form->addRow(QStringLiteral("&Клиент:"), m_client);
    m_wave = new QDateEdit(proposed.wave.isValid() ? proposed.wave : QDate::currentDate(), this);
    m_wave->setObjectName(QStringLiteral("surveyWave"));
    m_wave->setCalendarPopup(true);
    m_wave->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    form->addRow(QStringLiteral("&Волна (дата опроса):"), m_wave);
    m_sector = new QComboBox(this);
    m_sector->setObjectName(QStringLiteral("surveySector"));
    m_sector->setEditable(true);
    m_sector->addItems(sectors);
    m_sector->setCurrentText(proposed.sector);
    m_sector->lineEdit()->setMaxLength(MaxLength);
    m_sector->lineEdit()->setPlaceholderText(QStringLiteral("необязательно"));
    form->addRow(QStringLiteral("&Отрасль:"), m_sector);
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(QStringLiteral("Добавить"));
    m_ok->setObjectName(QStringLiteral("surveyAdd"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A survey needs a client.
    const auto check = [this] { m_ok->setEnabled(!m_client->text().simplified().isEmpty()); };
    connect(m_client, &QLineEdit::textChanged, this, check);
    check();
}

SurveyDetails SurveyDialog::details() const
{
    return {m_client->text().simplified(), m_wave->date(), m_sector->currentText().simplified()};
}

std::optional<SurveyDetails> SurveyDialog::ask(QWidget *parent, const SurveyDetails &proposed, const QStringList &sectors)
{
    SurveyDialog dialog(proposed, sectors, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.details();
}
