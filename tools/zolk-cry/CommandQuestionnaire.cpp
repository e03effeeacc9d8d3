// zolk-cry questionnaire: the blank questionnaire as a PDF, and the answer sheet's template.

#include "Command.h"

#include "FileOutput.h"
#include "QuestionnaireForm.h"

#include <QLocale>

#include <QDir>

namespace Cry {
namespace {

CommandHelp questionnaireHelp()
{
    CommandHelp help;
    help.summary = ZolkCry::tr("Writes the blank questionnaire as a PDF, and the answer sheet's template.");
    help.description = ZolkCry::tr(
        "Writes the blank questionnaire for the respondents as an A4 PDF: the instruction, the header\n"
        "fields (date, code, name and the four information lines) and the sixty statements with five\n"
        "boxes each; with --no-name an anonymous questionnaire without the name line, and a template\n"
        "without the name column. The captions of the information lines are those set in the window\n"
        "(\"Импорт\" -> \"Анкета\"), else \"Подразделение\", \"Должность\", \"Стаж работы в компании\",\n"
        "\"Возраст\".\n"
        "With --template, also the header row of the matching answer sheet as CSV for an online form\n"
        "or a spreadsheet (UTF-8 with a byte-order mark, \";\" where the locale writes a decimal comma);\n"
        "\"zolk-cry import\" finds every column of a sheet with this header by itself.");
    help.options = {QCommandLineOption(QStringLiteral("template"), ZolkCry::tr("Writes the answer sheet's header row to FILE.csv."),
                                       ZolkCry::tr("FILE.csv")),
                    QCommandLineOption(QStringLiteral("no-name"), ZolkCry::tr("Asks no name: for an anonymous survey."))};
    return help;
}

int questionnaire(const Invocation &invocation)
{
    const QString templatePath = invocation.parser.value(QStringLiteral("template"));
    if (invocation.parser.isSet(QStringLiteral("template")) && templatePath.isEmpty())
        return usageError(ZolkCry::tr("option '--template' needs a value"));
    if (outputIsTerminal(invocation.output))
        return usageError(ZolkCry::tr("a PDF is not for a terminal: name the file with -o FILE.pdf"));
    if (!templatePath.isEmpty() && QDir::cleanPath(templatePath) == QDir::cleanPath(invocation.output))
        return usageError(ZolkCry::tr("the questionnaire and the template cannot be the same file"));
    const Questionnaire::Captions captions = Questionnaire::storedCaptions();
    const bool asksName = !invocation.parser.isSet(QStringLiteral("no-name"));
    const Outcome<QByteArray> pdf = QuestionnaireForm::render(captions, asksName);
    if (!pdf)
        return fail(pdf.message());
    // The questionnaire and the template whole or nothing together: a failing output leaves the
    // template as it was, and the other way round.
    QList<FileOutput::Output> outputs{{invocation.output, *pdf}};
    if (!templatePath.isEmpty())
        outputs.prepend({templatePath, QuestionnaireForm::sheetTemplate(captions, QLocale(), asksName)});
    if (const Outcome<> written = FileOutput::writeAll(outputs); !written)
        return fail(written.message());
    return Success;
}

} // namespace

Command questionnaireCommand()
{
    return {QStringLiteral("questionnaire"), &questionnaireHelp, &questionnaire};
}

} // namespace Cry
