#include "CollectCommands.h"

#include "AnswerSheet.h"
#include "CaptionsDialog.h"
#include "Exports.h"
#include "ImportDialog.h"
#include "QuestionnaireForm.h"
#include "RecentFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

CollectCommands::CollectCommands(Window window)
    : m_window(std::move(window))
{
    m_saveDialog.overwritePrompt = true;
    m_openDialog.mustExist = true;
    m_openDialog.title = QStringLiteral("Импорт ответов из таблицы CSV");
    m_openDialog.filter = QStringLiteral("CSV Files (*.csv)|*.csv|Text Files (*.txt)|*.txt");
}

void CollectCommands::askCaptions(std::function<void()> then)
{
    CaptionsDialog::ask(m_window.window, std::move(then));
}

QString CollectCommands::choose(const QString &title, const QString &filter, const QString &suffix, const QString &name)
{
    m_saveDialog.title = title;
    m_saveDialog.filter = filter;
    m_saveDialog.defaultSuffix = suffix;
    m_saveDialog.initialDir = RecentFolders::start(RecentFolders::answerSheets(), Exports::resultsFolder(m_window.appDir));
    m_saveDialog.fileName = QDir(m_saveDialog.initialDir).filePath(name);
    const QString chosen = m_window.prompts->saveFile(m_window.window, m_saveDialog);
    RecentFolders::remember(RecentFolders::answerSheets(), chosen);
    return chosen;
}

void CollectCommands::saveQuestionnaire()
{
    askCaptions([this] {
        const QString chosen = choose(QStringLiteral("Запись анкеты в pdf-файл"), QStringLiteral("PDF Files (*.pdf)|*.pdf"),
                                      QStringLiteral("pdf"), QStringLiteral("Анкета.pdf"));
        if (chosen.isEmpty())
            return;
        const Outcome<> written = QuestionnaireForm::write(Exports::withExtension(chosen, QStringLiteral(".pdf")),
                                                           Questionnaire::storedCaptions(), Questionnaire::storedAsksName());
        if (!written)
            m_window.reportError(written.message());
    });
}

void CollectCommands::saveSheetTemplate()
{
    askCaptions([this] {
        const QString chosen = choose(QStringLiteral("Запись шаблона таблицы ответов в csv-файл"),
                                      QStringLiteral("CSV Files (*.csv)|*.csv"), QStringLiteral("csv"),
                                      QStringLiteral("Ответы.csv"));
        if (chosen.isEmpty())
            return;
        const Outcome<> written = QuestionnaireForm::writeSheetTemplate(Exports::withExtension(chosen, QStringLiteral(".csv")),
                                                                        Questionnaire::storedCaptions(), QLocale(), Questionnaire::storedAsksName());
        if (!written)
            m_window.reportError(written.message());
    });
}

void CollectCommands::importAnswers()
{
    m_openDialog.initialDir = RecentFolders::start(RecentFolders::answerSheets(), Exports::resultsFolder(m_window.appDir));
    m_openDialog.fileName.clear();
    const QString chosen = m_window.prompts->openFile(m_window.window, m_openDialog);
    if (chosen.isEmpty())
        return;
    RecentFolders::remember(RecentFolders::answerSheets(), chosen);
    Outcome<AnswerSheet::Sheet> sheet = [&] {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        Outcome<AnswerSheet::Sheet> read = AnswerSheet::readSheetFile(chosen);
        QGuiApplication::restoreOverrideCursor();
        return read;
    }();
    if (!sheet) {
        m_window.reportError(sheet.message());
        return;
    }
    // The files go to a folder named like the sheet, beside it, unless the user chooses another.
    const QFileInfo info(chosen);
    const QString folder = info.absoluteDir().filePath(info.completeBaseName());
    auto *dialog = new ImportDialog(std::move(sheet).value(), Questionnaire::storedCaptions(), m_window.prompts, folder,
                                    m_window.window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &ImportDialog::imported, m_window.window,
                     [open = m_window.openFolder](const QString &written) { open(written); }, Qt::QueuedConnection);
    dialog->open();
}
