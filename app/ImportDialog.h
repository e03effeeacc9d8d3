#pragma once
// The preview of an answer sheet before it is imported: its first rows, which column holds which
// field (found by the header words or by the map file saved with the chosen folder, and chosen here
// by the user), every row that cannot be imported with the reason, and the folder the result files
// go to. "Импортировать" writes the good rows, whole or not at all, and the dialog closes; bad rows
// are never written, and files of the same name are replaced only when the user agrees.

#include "AnswerSheet.h"
#include "SheetImport.h"
#include "UserPrompts.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class ImportDialog : public QDialog
{
    Q_OBJECT
public:
    ImportDialog(AnswerSheet::Sheet sheet, const Questionnaire::Captions &captions, UserPrompts *prompts,
                 const QString &folder, QWidget *parent);
    ~ImportDialog() override;

    // How many rows the preview shows.
    static constexpr int PreviewRows = 10;
    // How many problems the list of bad rows names, each with its first rows.
    static constexpr int MaxBadGroups = 200;

    const AnswerSheet::Columns &columns() const { return m_columns; }
    // What the import tells at its end: the files written and where, and the rows left out of the
    // sheet with their row numbers and reasons (the first twenty).
    static QString importSummary(const SheetImport::Written &written, const AnswerSheet::Check &check, const QString &folder);
    QString folder() const;

signals:
    // The folder the files were written to, after a successful import.
    void imported(const QString &folder);

private:
    void buildPreview();
    void buildColumnTable();
    void labelPreviewColumns();
    void showColumns();
    void columnChosen(int field, int index);
    void folderEdited();
    void recheck();
    void showPlan();
    void chooseFolder();
    void runImport();

    AnswerSheet::Sheet m_sheet;
    Questionnaire::Captions m_captions;
    UserPrompts *m_prompts;
    AnswerSheet::Columns m_columns{};
    std::optional<AnswerSheet::Check> m_check;
    QString m_checkError;
    QStringList m_mapProblems;
    QString m_mapFolder; // the folder whose map file was read last

    QLabel *m_sheetLabel = nullptr;
    QTableWidget *m_preview = nullptr;
    QTableWidget *m_columnTable = nullptr;
    QList<QComboBox *> m_combos;
    QLabel *m_summary = nullptr;
    QTableWidget *m_badRows = nullptr;
    QLineEdit *m_folder = nullptr;
    QCheckBox *m_replace = nullptr;
    QLabel *m_names = nullptr;
    QPushButton *m_import = nullptr;
};
