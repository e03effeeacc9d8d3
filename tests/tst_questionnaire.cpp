// The blank questionnaire (PDF) and the answer sheet's template (CSV), read back as a respondent's
// PDF viewer and a spreadsheet or the import read them.

#include "AnswerSheet.h"
#include "QuestionnaireForm.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Blanks of any kind as one blank: pdftotext breaks the lines where the page does.
QString flattened(const QString &text)
{
    return text.simplified();
}

} // namespace

class TestQuestionnaire : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void pdfText_data();
    void pdfText();
    void sheetTemplate_data();
    void sheetTemplate();
    void captionsRemembered();
};

void TestQuestionnaire::initTestCase()
{
    // Never the user's own settings.
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(Questionnaire::settingsPath());
}

void TestQuestionnaire::pdfText_data()
{
    QTest::addColumn<Questionnaire::Captions>("captions");
    QTest::newRow("default captions") << Questionnaire::defaultCaptions();
    // Long captions take more room; an empty caption leaves its line out.
    QTest::newRow("long and empty captions")
        << Questionnaire::Captions{QString(), QStringLiteral("Подразделение, в котором вы работаете дольше всего, с учётом всех переводов"),
                                   QStringLiteral("Стаж"), QStringLiteral("Город")};
}

void TestQuestionnaire::pdfText()
{
    // Every page's text as a PDF viewer extracts it: every statement whole on exactly one page, in
    // the numbered order, without its scoring mark; the captions; the page numbers.
    QFETCH(Questionnaire::Captions, captions);
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) reads the PDF's text; it is not here");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Анкета.pdf"));
    const Outcome<> written = QuestionnaireForm::write(path, captions);
    QVERIFY2(written.ok(), qPrintable(written.message()));

    QProcess process;
    process.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    const QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts);
    QVERIFY(pages.size() >= 2);
    for (int p = 0; p < pages.size(); ++p)
        QVERIFY2(flattened(pages[p]).contains(QStringLiteral("Стр. %1 из %2").arg(p + 1).arg(pages.size())), qPrintable(pages[p]));

    const QString first = flattened(pages[0]);
    QVERIFY(first.startsWith(Questionnaire::title()));
    for (const QString &paragraph : Questionnaire::instruction())
        QVERIFY2(first.contains(flattened(paragraph)), qPrintable(paragraph));
    for (const QString &caption : captions)
        if (!caption.isEmpty())
            QVERIFY2(first.contains(flattened(caption) + u':'), qPrintable(caption));
    QVERIFY(!first.contains(QStringLiteral("Сведения")));

    int lastPage = 0;
    qsizetype lastOffset = -1;
    for (int s = 1; s <= Resource::StatementCount; ++s) {
        const QString statement = flattened(Questionnaire::statementText(s));
        QVERIFY(!statement.contains(QStringLiteral("(*)")));
        int found = 0;
        for (int p = 0; p < pages.size(); ++p) {
            const QString text = flattened(pages[p]);
            const qsizetype at = text.indexOf(statement);
            if (at < 0)
                continue;
            ++found;
            // In order: on a later page, or further down the same one.
            QVERIFY2(p > lastPage || (p == lastPage && at > lastOffset), qPrintable(statement));
            lastPage = p;
            lastOffset = at;
            QVERIFY2(text.contains(QStringLiteral("%1. ").arg(s)), qPrintable(statement));
        }
        QVERIFY2(found == 1, qPrintable(QStringLiteral("statement %1 found whole on %2 pages").arg(s).arg(found)));
    }
}

void TestQuestionnaire::sheetTemplate_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QStringList>("captionList");
    const QStringList mine{QStringLiteral("Отдел; филиал"), QStringLiteral("Должность"), QStringLiteral("Стаж"), QStringLiteral("Возраст")};
    QTest::newRow("decimal comma") << "ru_RU" << QChar(u';') << mine;
    QTest::newRow("decimal point") << "en_US" << QChar(u',') << mine;
    // Captions that read as the code's and the name's header: the template's order tells them apart.
    QTest::newRow("captions \"Код\" and \"ФИО\"") << "ru_RU" << QChar(u';')
                                                 << QStringList{"Код", "ФИО", "Дата", "Возраст"};
    // Written behind an apostrophe, so that a spreadsheet does not compute it; read back the same.
    QTest::newRow("captions that start a formula") << "ru_RU" << QChar(u';') << QStringList{"=1+1", "+7", "-", "@home"};
}

void TestQuestionnaire::sheetTemplate()
{
    // The template is what the import reads best: every column found by its header words.
    QFETCH(QString, locale);
    QFETCH(QChar, separator);
    QFETCH(QStringList, captionList);
    const Questionnaire::Captions captions{captionList[0], captionList[1], captionList[2], captionList[3]};
    const QByteArray bytes = QuestionnaireForm::sheetTemplate(captions, QLocale(locale));
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.endsWith("\r\n"));
    const Outcome<AnswerSheet::Sheet> sheet = AnswerSheet::readSheet(bytes, QStringLiteral("template.csv"));
    QVERIFY(sheet.ok());
    QCOMPARE(sheet->separator, separator);
    // Each cell as it stands, but for the apostrophe before a formula.
    QCOMPARE(sheet->header.size(), Questionnaire::sheetHeader(captions).size());
    for (int c = 0; c < sheet->header.size(); ++c) {
        const QString written = Questionnaire::sheetHeader(captions)[c];
        QCOMPARE(sheet->header[c], QStringLiteral("=+-@").contains(written.front()) ? u'\'' + written : written);
    }
    const AnswerSheet::Columns columns = AnswerSheet::detectColumns(sheet->header, captions);
    for (int field = 0; field < AnswerSheet::FieldCount; ++field)
        QCOMPARE(columns[std::size_t(field)], field);
}

void TestQuestionnaire::captionsRemembered()
{
    QCOMPARE(Questionnaire::storedCaptions(), Questionnaire::defaultCaptions());
    const Questionnaire::Captions mine{QStringLiteral("Цех"), QStringLiteral("Смена"), QString(), QStringLiteral("Возраст = лет")};
    QVERIFY(Questionnaire::storeCaptions(mine));
    // Test mode keeps the user's own settings out of reach: ~/.qttest on Linux, …/qttest on Windows.
    QVERIFY(Questionnaire::settingsPath().contains(QStringLiteral("qttest")));
    QCOMPARE(Questionnaire::storedCaptions(), mine);
    QFile::remove(Questionnaire::settingsPath());
}

QTEST_MAIN(TestQuestionnaire)
#include "tst_questionnaire.moc"
