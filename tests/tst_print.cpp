// Printing from the window: the report, the questionnaire and the two pictures go through the print
// dialog to a printer that writes a PDF file, and read back with poppler's pdftotext and pdfinfo. The
// printed report and questionnaire carry the same text page by page as their saved PDFs; the copies
// asked for in the dialog come whole, one after the other; a cancelled dialog prints nothing, and a
// file that cannot be written is said.

#include "CaptionsDialog.h"
#include "PdfText.h"
#include "QuestionnaireForm.h"
#include "WindowFixture.h"

#include <QCheckBox>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace TestSupport;
using namespace PdfText;

namespace {

// Answers the print dialog: the printer writes a PDF file, with the given number of copies.
std::function<bool(QPrinter &)> pdfPrinter(const QString &path, int copies)
{
    return [path, copies](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setCopyCount(copies);
        return true;
    };
}

void answerCaptions(WindowFixture &fx, bool asksName)
{
    CaptionsDialog *captions = nullptr;
    QTRY_VERIFY((captions = fx.find<CaptionsDialog>(QStringLiteral("CaptionsDialog"))) && captions->isVisible());
    captions->findChild<QCheckBox *>(QStringLiteral("cbAskName"))->setChecked(asksName);
    captions->findChild<QPushButton *>(QStringLiteral("btCaptionsOk"))->click();
}

} // namespace

class TestPrint : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void printed_data();
    void printed();
    void nothingPrinted_data();
    void nothingPrinted();
};

void TestPrint::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    if (!PdfText::available())
        QSKIP("poppler-utils read what was printed; they are not here");
}

void TestPrint::printed_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("asksName");
    QTest::newRow("report") << "mmPrintReport" << 1 << true;
    // Ctrl+P, the system's key for printing, reaches the report's command in its submenu.
    QTest::newRow("report by Ctrl+P") << "Ctrl+P" << 1 << true;
    QTest::newRow("report, two copies") << "mmPrintReport" << 2 << true;
    QTest::newRow("questionnaire, three copies") << "mmPrintQuestionnaire" << 3 << true;
    QTest::newRow("anonymous questionnaire, before a load") << "mmImportPrintQuestionnaire" << 2 << false;
    QTest::newRow("profile") << "mmPrintImage" << 1 << true;
    QTest::newRow("chart, two copies") << "mmPrintPlot" << 2 << true;
}

void TestPrint::printed()
{
    QFETCH(QString, action);
    QFETCH(int, copies);
    QFETCH(bool, asksName);
    QFile::remove(Questionnaire::settingsPath());
    WindowFixture fx;
    fx.form->show();
    const bool loaded = action != QLatin1String("mmImportPrintQuestionnaire");
    if (loaded) {
        Respondent r;
        r.name = QStringLiteral("Волков Игорь Николаевич");
        fx.load(r);
        QTRY_VERIFY(fx.action("mmPrintReport")->isEnabled());
    }
    const QString printed = fx.dir.filePath(QStringLiteral("printed.pdf"));
    fx.prompts->printAnswers << pdfPrinter(printed, copies);
    if (action == QLatin1String("Ctrl+P")) {
        QVERIFY(QTest::qWaitForWindowActive(fx.form.get()));
        QTest::keyClick(fx.form.get(), Qt::Key_P, Qt::ControlModifier);
        action = QStringLiteral("mmPrintReport");
    } else {
        fx.action(action.toLatin1().constData())->trigger();
    }

    // What the same command saves as a PDF, to compare with.
    QString saved = fx.dir.filePath(QStringLiteral("saved.pdf"));
    if (action.contains(QLatin1String("Questionnaire"))) {
        answerCaptions(fx, asksName);
        QTRY_VERIFY(QFile::exists(printed));
        QVERIFY(QuestionnaireForm::write(saved, Questionnaire::storedCaptions(), asksName).ok());
    } else if (action == QLatin1String("mmPrintReport")) {
        QTRY_VERIFY(QFile::exists(printed));
        fx.prompts->saveAnswers << saved;
        fx.action("mmReport")->trigger();
        QTRY_VERIFY(QFile::exists(saved));
    } else {
        saved.clear();
    }
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    QCOMPARE(fx.prompts->printTitles.size(), 1);

    if (saved.isEmpty()) {
        // A picture: one page a copy, its text drawn as a picture.
        QCOMPARE(pageCount(printed), copies);
        return;
    }
    const QStringList one = pages(saved);
    QVERIFY(one.size() >= 2);
    QStringList expected;
    for (int c = 0; c < copies; ++c)
        expected << one;
    QCOMPARE(pages(printed), expected);
    const QString all = expected.join(u'\n');
    if (!loaded)
        QCOMPARE(all.contains(QStringLiteral("ФИО:")), asksName);
}

void TestPrint::nothingPrinted_data()
{
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("target"); // in the test's folder
    QTest::addColumn<bool>("error");
    // A cancelled print dialog prints nothing and says nothing.
    QTest::newRow("dialog cancelled") << false << "picture.pdf" << false;
    // A file that cannot be written is said, and nothing is left of it.
    QTest::newRow("file in a missing folder") << true << "missing/picture.pdf" << true;
    QTest::newRow("file that is a folder") << true << "Data" << true;
}

void TestPrint::nothingPrinted()
{
    QFETCH(bool, accepted);
    QFETCH(QString, target);
    QFETCH(bool, error);
    WindowFixture fx;
    fx.form->show();
    fx.load(Respondent());
    const QString path = fx.dir.filePath(target);
    fx.prompts->printAnswers << [&](QPrinter &printer) {
        pdfPrinter(path, 1)(printer);
        return accepted;
    };
    fx.action("mmPrintImage")->trigger();
    QCOMPARE(fx.prompts->printTitles.size(), 1);
    QCOMPARE(fx.prompts->errors.size(), error ? 1 : 0);
    QVERIFY(!QFileInfo(path).isFile());
    QCOMPARE(QDir(fx.dir.path()).entryList(QDir::Files), QStringList());
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
