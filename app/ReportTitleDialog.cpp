#include "ReportTitleDialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include <memory>

namespace {

QLineEdit *field(QWidget *parent, const char *name, const QString &text, const QString &placeholder)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(ReportTitleDialog::MaxLength);
    edit->setText(text.left(ReportTitleDialog::MaxLength));
    edit->setPlaceholderText(placeholder);
    edit->setMinimumWidth(320);
    return edit;
}

} // namespace

ReportTitleDialog::ReportTitleDialog(const ReportTitle &proposed, QWidget *parent)
    : QDialog(parent)
    , m_group(proposed.group)
{
    setObjectName(QStringLiteral("reportTitle"));
    setWindowTitle(QStringLiteral("Титульный блок отчёта"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(QStringLiteral("Эти данные появятся на первой странице отчёта и будут предложены в следующий раз."),
                             this);
    intro->setTextFormat(Qt::PlainText);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *form = new QFormLayout;
    m_company = field(this, "company", proposed.company, QStringLiteral("Название организации"));
    m_consultant = field(this, "consultant", proposed.consultant, QStringLiteral("Фамилия И. О."));
    m_surveyDate = field(this, "surveyDate", proposed.surveyDate, QStringLiteral("например, март 2024"));
    form->addRow(QStringLiteral("&Компания:"), m_company);
    form->addRow(QStringLiteral("К&онсультант:"), m_consultant);
    form->addRow(QStringLiteral("&Дата опроса:"), m_surveyDate);
    layout->addLayout(form);

    m_memberList = new QCheckBox(QStringLiteral("&Список участников группы (ФИО) в анализе факторов"), this);
    m_memberList->setObjectName(QStringLiteral("memberList"));
    m_memberList->setChecked(proposed.group && proposed.memberList);
    m_memberList->setToolTip(QStringLiteral("Без списка отчёт по группе не называет ни одного участника."));
    m_memberList->setVisible(proposed.group);
    layout->addWidget(m_memberList);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Далее"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

ReportTitle ReportTitleDialog::title() const
{
    ReportTitle title;
    title.company = m_company->text().trimmed();
    title.consultant = m_consultant->text().trimmed();
    title.surveyDate = m_surveyDate->text().trimmed();
    title.group = m_group;
    title.memberList = m_group && m_memberList->isChecked();
    return title;
}

namespace ReportTitleSettings {
namespace {

// An INI file in the user's configuration folder on every system, so that a test can point
// QSettings::setPath at a folder of its own.
std::unique_ptr<QSettings> settings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::organizationName(),
                                       QCoreApplication::applicationName());
}

const QString CompanyKey = QStringLiteral("Report/Company");
const QString ConsultantKey = QStringLiteral("Report/Consultant");
const QString SurveyDateKey = QStringLiteral("Report/SurveyDate");

} // namespace

ReportTitle load()
{
    const std::unique_ptr<QSettings> stored = settings();
    ReportTitle title;
    title.company = stored->value(CompanyKey).toString().left(ReportTitleDialog::MaxLength);
    title.consultant = stored->value(ConsultantKey).toString().left(ReportTitleDialog::MaxLength);
    title.surveyDate = stored->value(SurveyDateKey).toString().left(ReportTitleDialog::MaxLength);
    return title;
}

void remember(const ReportTitle &title)
{
    const ReportTitle stored = load();
    if (stored.company == title.company && stored.consultant == title.consultant && stored.surveyDate == title.surveyDate)
        return;
    const std::unique_ptr<QSettings> store = settings();
    store->setValue(CompanyKey, title.company);
    store->setValue(ConsultantKey, title.consultant);
    store->setValue(SurveyDateKey, title.surveyDate);
}

} // namespace ReportTitleSettings
