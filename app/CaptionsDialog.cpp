#include "CaptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CaptionsDialog::CaptionsDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CaptionsDialog"));
    setWindowTitle(QStringLiteral("Анкета"));
    auto *layout = new QVBoxLayout(this);
    auto *hint = new QLabel(QStringLiteral("Подписи четырёх строк сведений о респонденте в анкете и в таблице ответов. "
                                           "Пустая строка в анкету не попадает."),
                            this);
    hint->setWordWrap(true);
    hint->setTextFormat(Qt::PlainText);
    layout->addWidget(hint);
    auto *form = new QFormLayout;
    const Questionnaire::Captions stored = Questionnaire::storedCaptions();
    for (std::size_t k = 0; k < m_edits.size(); ++k) {
        auto *edit = new QLineEdit(stored[k], this);
        edit->setObjectName(QStringLiteral("edCaption%1").arg(k + 1));
        edit->setMaxLength(Questionnaire::MaxHeaderText);
        form->addRow(QStringLiteral("Сведения %1:").arg(k + 1), edit);
        m_edits[k] = edit;
    }
    layout->addLayout(form);
    // An anonymous survey asks no name: the questionnaire then has no name line, the answer sheet no
    // name column.
    m_asksName = new QCheckBox(QStringLiteral("Строка «ФИО» в анкете и столбец «ФИО» в таблице ответов"), this);
    m_asksName->setObjectName(QStringLiteral("cbAskName"));
    m_asksName->setChecked(Questionnaire::storedAsksName());
    layout->addWidget(m_asksName);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("bbCaptions"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Дальше"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btCaptionsOk"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CaptionsDialog::keep);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(460, sizeHint().height());
}

Questionnaire::Captions CaptionsDialog::captions() const
{
    Questionnaire::Captions captions;
    for (std::size_t k = 0; k < m_edits.size(); ++k)
        captions[k] = m_edits[k]->text().simplified();
    return captions;
}

bool CaptionsDialog::asksName() const
{
    return m_asksName->isChecked();
}

void CaptionsDialog::ask(QWidget *parent, std::function<void()> then)
{
    auto *dialog = new CaptionsDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &CaptionsDialog::captionsChosen, parent, [then = std::move(then)] { then(); },
                     Qt::QueuedConnection);
    dialog->open();
}

void CaptionsDialog::keep()
{
    const Questionnaire::Captions chosen = captions();
    // Settings that cannot be written do not stop the questionnaire: the captions serve this once.
    Questionnaire::storeCaptions(chosen);
    Questionnaire::storeAsksName(asksName());
    accept();
    emit captionsChosen(chosen);
}
