// The blank questionnaire (PDF) and the answer sheet's template (CSV), read back as a respondent's
// PDF viewer and a spreadsheet or the import read them.

#include "AnswerSheet.h"
#include "PdfText.h"
#include "QuestionnaireForm.h"

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
    QTest::addColumn<bool>("asksName");
    QTest::newRow("default captions") << Questionnaire::defaultCaptions() << true;
    QTest::newRow("anonymous") << Questionnaire::defaultCaptions() << false;
    // Long captions take more room; an empty caption leaves its line out.
    QTest::newRow("long and empty captions")
        << Questionnaire::Captions{QString(), QStringLiteral("Подразделение, в котором вы работаете дольше всего, с учётом всех переводов"),
                                   QStringLiteral("Стаж"), QStringLiteral("Город")}
        << true;
    QTest::newRow("anonymous, all captions empty") << Questionnaire::Captions{} << false;
}

void TestQuestionnaire::pdfText()
{
    // Every page's text as a PDF viewer extracts it: every statement whole on exactly one page, in
    // the numbered order, without its scoring mark; the captions; the name line only where it is
    // asked; the page numbers; on every page the scale's words, and on every page after the first
    // the code field; the thanks at the end.
    QFETCH(Questionnaire::Captions, captions);
    QFETCH(bool, asksName);
    if (!PdfText::available())
        QSKIP("poppler-utils read the PDF's text; they are not here");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Анкета.pdf"));
    const Outcome<> written = QuestionnaireForm::write(path, captions, asksName);
    QVERIFY2(written.ok(), qPrintable(written.message()));

    const QStringList pages = PdfText::pages(path);
    QVERIFY2(PdfText::takeComplaints().isEmpty(), "pdftotext read the PDF with complaints");
    QVERIFY(pages.size() >= 2);
    const QString scale = flattened(Questionnaire::scaleLine());
    const QString code = Questionnaire::codeCaption() + u':';
    for (int p = 0; p < pages.size(); ++p) {
        const QString page = flattened(pages[p]);
        QVERIFY2(page.contains(QStringLiteral("Стр. %1 из %2").arg(p + 1).arg(pages.size())), qPrintable(pages[p]));
        QVERIFY2(page.contains(scale), qPrintable(QStringLiteral("page %1 without the scale: %2").arg(p + 1).arg(page)));
        QVERIFY2(page.contains(code), qPrintable(QStringLiteral("page %1 without the code field").arg(p + 1)));
        QCOMPARE(page.contains(Questionnaire::nameCaption() + u':'), asksName && p == 0);
    }
    QVERIFY(flattened(pages.last()).contains(flattened(Questionnaire::thanks())));
    QVERIFY(flattened(pages.last()).indexOf(flattened(Questionnaire::thanks()))
            > flattened(pages.last()).indexOf(flattened(Questionnaire::statementText(Resource::StatementCount))));

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
    QTest::addColumn<bool>("asksName");
    const QStringList mine{QStringLiteral("Отдел; филиал"), QStringLiteral("Должность"), QStringLiteral("Стаж"), QStringLiteral("Возраст")};
    QTest::newRow("decimal comma") << "ru_RU" << QChar(u';') << mine << true;
    QTest::newRow("decimal point") << "en_US" << QChar(u',') << mine << true;
    QTest::newRow("anonymous") << "ru_RU" << QChar(u';') << mine << false;
    // Captions that read as the code's and the name's header: the template's order tells them apart.
    QTest::newRow("captions \"Код\" and \"ФИО\"") << "ru_RU" << QChar(u';')
                                                 << QStringList{"Код", "ФИО", "Дата", "Возраст"} << true;
    // Written behind an apostrophe, so that a spreadsheet does not compute it; read back the same.
    QTest::newRow("captions that start a formula") << "ru_RU" << QChar(u';') << QStringList{"=1+1", "+7", "-", "@home"} << true;
}

void TestQuestionnaire::sheetTemplate()
{
    // The template is what the import reads best: every column found by its header words; an
    // anonymous one has no name column, and its rows import all the same.
    QFETCH(QString, locale);
    QFETCH(QChar, separator);
    QFETCH(QStringList, captionList);
    QFETCH(bool, asksName);
    const Questionnaire::Captions captions{captionList[0], captionList[1], captionList[2], captionList[3]};
    QByteArray bytes = QuestionnaireForm::sheetTemplate(captions, QLocale(locale), asksName);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.endsWith("\r\n"));
    const Outcome<AnswerSheet::Sheet> sheet = AnswerSheet::readSheet(bytes, QStringLiteral("template.csv"));
    QVERIFY(sheet.ok());
    QCOMPARE(sheet->separator, separator);
    // Each cell as it stands, but for the apostrophe before a formula.
    const QStringList header = Questionnaire::sheetHeader(captions, asksName);
    QCOMPARE(sheet->header.size(), header.size());
    for (int c = 0; c < sheet->header.size(); ++c) {
        const QString written = header[c];
        QCOMPARE(sheet->header[c], QStringLiteral("=+-@").contains(written.front()) ? u'\'' + written : written);
    }
    QCOMPARE(sheet->header.contains(Questionnaire::nameCaption()), asksName);
    const AnswerSheet::Columns columns = AnswerSheet::detectColumns(sheet->header, captions);
    for (int field = 0; field < AnswerSheet::FieldCount; ++field) {
        const int expected = asksName || field < AnswerSheet::Name ? field : field == AnswerSheet::Name ? -1 : field - 1;
        QCOMPARE(columns[std::size_t(field)], expected);
    }
    QVERIFY(AnswerSheet::missingColumns(columns, captions).isEmpty());

    // A respondent's row below the header.
    QStringList row{QStringLiteral("01.02.2026"), QStringLiteral("0042")};
    if (asksName)
        row << QStringLiteral("Иванов");
    row << QStringLiteral("Цех") << QStringLiteral("Мастер") << QStringLiteral("3") << QStringLiteral("40");
    for (int s = 1; s <= Resource::StatementCount; ++s)
        row << QString::number(1 + s % Questionnaire::AnswerCount);
    bytes += row.join(separator).toUtf8() + "\r\n";
    const Outcome<AnswerSheet::Sheet> filled = AnswerSheet::readSheet(bytes, QStringLiteral("answers.csv"));
    QVERIFY(filled.ok());
    const Outcome<AnswerSheet::Check> checked = AnswerSheet::check(*filled, columns, captions);
    QVERIFY(checked.ok());
    QCOMPARE(checked->rows, 1);
    QVERIFY2(checked->bad.isEmpty(), qPrintable(checked->bad.isEmpty() ? QString() : checked->bad.first().reason));
    QCOMPARE(checked->goodCodes, QStringList{QStringLiteral("0042")});
}

void TestQuestionnaire::captionsRemembered()
{
    QCOMPARE(Questionnaire::storedCaptions(), Questionnaire::defaultCaptions());
    QVERIFY(Questionnaire::storedAsksName());
    QVERIFY(Questionnaire::storeAsksName(false));
    QVERIFY(!Questionnaire::storedAsksName());
    const Questionnaire::Captions mine{QStringLiteral("Цех"), QStringLiteral("Смена"), QString(), QStringLiteral("Возраст = лет")};
    QVERIFY(Questionnaire::storeCaptions(mine));
    // Test mode keeps the user's own settings out of reach: ~/.qttest on Linux, …/qttest on Windows.
    QVERIFY(Questionnaire::settingsPath().contains(QStringLiteral("qttest")));
    QCOMPARE(Questionnaire::storedCaptions(), mine);
    QFile::remove(Questionnaire::settingsPath());
}

QTEST_MAIN(TestQuestionnaire)
#include "tst_questionnaire.moc"
