#pragma once
// "Открыть архив": the surveys of the archive in a table (a Qt SQL query model behind the view),
// sorted by a click on a heading, filtered by a text in the client or the sector, and a survey
// deleted after a question. The archive changes only through SurveyArchive, so that its norms stay
// in step.

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;
class SurveyArchive;

class ArchiveDialog : public QDialog
{
    Q_OBJECT
public:
    // confirm asks a yes-or-no question; reportError shows a failure.
    ArchiveDialog(SurveyArchive &archive, std::function<bool(const QString &)> confirm,
                  std::function<void(const QString &)> reportError, QWidget *parent);
    ~ArchiveDialog() override;

    // Reads the surveys again with the filter and order chosen.
    void refresh();
    // Deletes the survey of the current row after the question.
    void deleteCurrent();

signals:
    void changed();

private:
    SurveyArchive &m_archive;
    std::function<bool(const QString &)> m_confirm;
    std::function<void(const QString &)> m_reportError;
    QSqlQueryModel *m_model = nullptr;
    QTableView *m_view = nullptr;
    QLineEdit *m_filter = nullptr;
    QPushButton *m_delete = nullptr;
    QLabel *m_count = nullptr;
    int m_sortColumn = 0;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};
