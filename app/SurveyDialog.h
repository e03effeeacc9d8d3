#pragma once
// "Добавить в архив": the client, the wave (the survey's date) and the sector (optional) of a survey,
// asked once and proposed from the report's title block and the group's folder.

#include <QDate>
#include <QDialog>
#include <QString>
#include <QStringList>

#include <optional>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

struct SurveyDetails
{
    QString client;
    QDate wave;
    QString sector;
};

class SurveyDialog : public QDialog
{
    Q_OBJECT
public:
    // sectors: those of the archive, offered in the sector's list.
    SurveyDialog(const SurveyDetails &proposed, const QStringList &sectors, QWidget *parent);

    SurveyDetails details() const;
    // Shows the dialog; nullopt when the user cancelled.
    static std::optional<SurveyDetails> ask(QWidget *parent, const SurveyDetails &proposed, const QStringList &sectors);

private:
    QLineEdit *m_client = nullptr;
    QDateEdit *m_wave = nullptr;
    QComboBox *m_sector = nullptr;
    QPushButton *m_ok = nullptr;
};
