// Collecting the answers in the window: the questionnaire and the answer sheet's template from the
// menus, and the import of a filled sheet through its preview dialog, found by object name as a
// user finds them by what they show.

#include "AnswerSheet.h"
#include "CaptionsDialog.h"
#include "ImportDialog.h"
#include "SheetImport.h"
#include "WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>

namespace {

// A sheet with the template's header; answers[r] fills row r's sixty answers, "" leaves one empty.
QByteArray sheetBytes(const QStringList &codes, const QStringList &header = Questionnaire::sheetHeader(Questionnaire::defaultCaptions()),
                      int emptyAnswerOfRow = -1)
{
    QStringList lines{header.join(u';')};
    for (int r = 0; r < codes.size(); ++r) {
        QStringList cells{QStringLiteral("01.04.2024"), codes[r], QStringLiteral("Респондент %1").arg(r + 1),
                          QStringLiteral("Отдел"), QString(), QString(), QString()};
        for (int s = 1; s <= 60; ++s)
            cells << (r == emptyAnswerOfRow && s == 9 ? QString() : QString::number(1 + (s + r) % 5));
        lines << cells.join(u';');
    }
    return "\xEF\xBB\xBF" + lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

QString writeSheet(const QString &folder, const QString &name, const QByteArray &bytes)
{
    return TestSupport::writeStoredFile(folder, name, bytes);
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

template <typename T>
T *child(QWidget *parent, const char *name)
{
    return parent ? parent->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

} // namespace

class TestCollect : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void menus();
    void handOut_data();
    void handOut();
    void importShowsRowsAndOpensGroup();
    void columnsChosenByHandAreKeptWithTheFolder();
    void cancelWritesNothing();
    void existingFiles_data();
    void existingFiles();
    void unreadableSheet_data();
    void unreadableSheet();
    void rowsAlreadyThere_data();
    void rowsAlreadyThere();

private:
    // Opens the import dialog on a sheet through "Импорт" -> "Ответы из таблицы".
    // The dialog deletes itself once closed: the pointer then turns null.
    QPointer<ImportDialog> openImport(WindowFixture &window, const QString &sheet);
};

void TestCollect::initTestCase()
{
    // The captions the consultant sets are kept in the settings: never the user's own here.
    QStandardPaths::setTestModeEnabled(true);
}

void TestCollect::init()
{
    QFile::remove(Questionnaire::settingsPath());
}

QPointer<ImportDialog> TestCollect::openImport(WindowFixture &window, const QString &sheet)
{
    window.prompts->openAnswers << sheet;
    window.action("mmImportAnswers")->trigger();
    ImportDialog *dialog = nullptr;
    [&] { QTRY_VERIFY((dialog = window.find<ImportDialog>(QStringLiteral("ImportDialog"))) && dialog->isVisible()); }();
    return dialog;
}

void TestCollect::menus()
{
    // Before anything is loaded, "Импорт" is there with all its commands (the three to collect the
    // answers and printing the questionnaire); "Save" holds the
    // questionnaire and the template too once it shows.
    WindowFixture window;
    window.form->show();
    QVERIFY(window.action("mmImport")->isVisible());
    QVERIFY(!window.action("mmSave")->isVisible());
    const auto *importMenu = window.find<QMenu>(QStringLiteral("mmImportMenu"));
    QVERIFY(importMenu);
    QStringList names;
    for (const QAction *action : importMenu->actions())
        names << action->objectName();
    QCOMPARE(names, (QStringList{"mmImportAnswers", "mmImportQuestionnaire", "mmImportTemplate", "mmImportPrintQuestionnaire"}));
    const auto *saveMenu = window.find<QMenu>(QStringLiteral("mmSaveMenu"));
    QVERIFY(saveMenu->actions().contains(window.action("mmQuestionnaire")));
    QVERIFY(saveMenu->actions().contains(window.action("mmSheetTemplate")));
    // Next to "Group" in the menu bar.
    const QList<QAction *> bar = window.form->menuBar()->actions();
    QCOMPARE(bar.indexOf(window.action("mmImport")), bar.indexOf(window.action("mmGroup")) + 1);
}

void TestCollect::handOut_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("loadFirst");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("confirm"); // OK in the captions dialog, else Cancel
    QTest::newRow("questionnaire before a load") << "mmImportQuestionnaire" << false << "Анкета.pdf" << true;
    QTest::newRow("questionnaire from Save") << "mmQuestionnaire" << true << "Анкета.pdf" << true;
    QTest::newRow("template before a load") << "mmImportTemplate" << false << "Ответы.csv" << true;
    QTest::newRow("template from Save") << "mmSheetTemplate" << true << "Ответы.csv" << true;
    QTest::newRow("captions cancelled") << "mmImportQuestionnaire" << false << "Анкета.pdf" << false;
}

void TestCollect::handOut()
{
    QFETCH(QString, action);
    QFETCH(bool, loadFirst);
    QFETCH(QString, fileName);
    QFETCH(bool, confirm);
    WindowFixture window;
    window.form->show();
    if (loadFirst)
        window.load(TestSupport::Respondent());
    const QString target = QDir(window.resultsDir()).filePath(QStringLiteral("Раздать ") + fileName);
    window.prompts->saveAnswers << target;
    window.action(action.toLatin1().constData())->trigger();

    CaptionsDialog *captions = nullptr;
    QTRY_VERIFY((captions = window.find<CaptionsDialog>(QStringLiteral("CaptionsDialog"))) && captions->isVisible());
    QCOMPARE(child<QLineEdit>(captions, "edCaption1")->text(), Questionnaire::defaultCaptions()[0]);
    child<QLineEdit>(captions, "edCaption1")->setText(QStringLiteral("  Цех  "));
    child<QLineEdit>(captions, "edCaption4")->clear();
    if (!confirm) {
        captions->reject();
        QTest::qWait(50);
        QVERIFY(window.prompts->saveDialogs.isEmpty());
        QCOMPARE(Questionnaire::storedCaptions(), Questionnaire::defaultCaptions());
        return;
    }
    child<QPushButton>(captions, "btCaptionsOk")->click();
    QTRY_VERIFY(QFile::exists(target));
    QCOMPARE(window.prompts->saveDialogs.size(), 1);
    QVERIFY(window.prompts->saveDialogs[0].fileName.endsWith(fileName));
    QVERIFY(window.prompts->errors.isEmpty());
    // The captions are kept for the next time, and used in what was written.
    const Questionnaire::Captions expected{QStringLiteral("Цех"), Questionnaire::defaultCaptions()[1],
                                           Questionnaire::defaultCaptions()[2], QString()};
    QCOMPARE(Questionnaire::storedCaptions(), expected);
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    if (fileName.endsWith(QStringLiteral(".pdf")))
        QVERIFY(bytes.startsWith("%PDF"));
    else
        QCOMPARE(AnswerSheet::readSheet(bytes, target)->header, Questionnaire::sheetHeader(expected));
}

void TestCollect::importShowsRowsAndOpensGroup()
{
    // Three good rows and one without an answer: the preview shows all four, lists the bad one
    // with its reason, and the import writes the three and opens them as a group.
    WindowFixture window;
    window.form->show();
    const QString sheet = writeSheet(window.dir.path(), QStringLiteral("ответы.csv"),
                                     sheetBytes({QStringLiteral("0101"), QStringLiteral("0102"), QStringLiteral("0103"),
                                                 QStringLiteral("0104")},
                                                Questionnaire::sheetHeader(Questionnaire::defaultCaptions()), 2));
    QPointer<ImportDialog> dialog = openImport(window, sheet);
    QVERIFY(dialog);
    QCOMPARE(window.prompts->openDialogs.size(), 1);
    QCOMPARE(child<QTableWidget>(dialog, "twPreview")->rowCount(), 4);
    QCOMPARE(child<QTableWidget>(dialog, "twPreview")->item(2, 1)->text(), QStringLiteral("0103"));
    const auto *bad = child<QTableWidget>(dialog, "twBadRows");
    QCOMPARE(bad->rowCount(), 1);
    QCOMPARE(bad->item(0, 0)->text(), QStringLiteral("4")); // the header is row 1
    QVERIFY2(bad->item(0, 1)->text().contains(QStringLiteral("9")), qPrintable(bad->item(0, 1)->text()));
    QCOMPARE(child<QComboBox>(dialog, "cbColumn_s60")->currentIndex(), 67); // column 67, after "— нет —"
    const QString folder = QDir(window.dir.path()).filePath(QStringLiteral("ответы"));
    QCOMPARE(QDir::fromNativeSeparators(child<QLineEdit>(dialog, "edFolder")->text()), folder);
    auto *import = child<QPushButton>(dialog, "btImport");
    QVERIFY(import->isEnabled());
    QVERIFY(import->text().contains(QStringLiteral("(3)")));

    import->click();
    QTRY_VERIFY(window.form->profile().group);
    QCOMPARE(window.form->profile().respondentCount(), 3);
    QTRY_VERIFY(!dialog || !dialog->isVisible());
    QCOMPARE(entries(folder), (QStringList{"0101.cry", "0102.cry", "0104.cry", AnswerSheet::mapFileName()}));
    QVERIFY(window.prompts->errors.isEmpty());
    // The import ends with what it did: the files written and where, the row left out and why.
    QCOMPARE(window.prompts->informations.size(), 1);
    const QString summary = window.prompts->informations.first();
    QVERIFY2(summary.contains(QStringLiteral("Записано файлов результатов: 3")) && summary.contains(QDir::toNativeSeparators(folder))
                 && summary.contains(QStringLiteral("Не импортировано строк: 1")) && summary.contains(QStringLiteral("строка 4: ")),
             qPrintable(summary));
}

void TestCollect::columnsChosenByHandAreKeptWithTheFolder()
{
    // Headers the import does not know: the user chooses the columns, the import keeps them with the
    // folder, and the next sheet of the same form into that folder needs no choosing.
    QStringList header{QStringLiteral("Когда"), QStringLiteral("Табельный номер"), QStringLiteral("Кто"), QString(), QString(),
                       QString(), QString()};
    for (int s = 1; s <= 60; ++s)
        header << QStringLiteral("В%1").arg(s);
    WindowFixture window;
    window.form->show();
    const QString folder = QDir(window.dir.path()).filePath(QStringLiteral("Завод"));
    for (int round = 0; round < 2; ++round) {
        const QStringList codes = round == 0 ? QStringList{QStringLiteral("7"), QStringLiteral("8")}
                                             : QStringList{QStringLiteral("9")};
        const QString sheet = writeSheet(window.dir.path(), QStringLiteral("форма%1.csv").arg(round), sheetBytes(codes, header));
        QPointer<ImportDialog> dialog = openImport(window, sheet);
        QVERIFY(dialog);
        child<QLineEdit>(dialog, "edFolder")->setText(folder);
        emit child<QLineEdit>(dialog, "edFolder")->editingFinished();
        auto *import = child<QPushButton>(dialog, "btImport");
        if (round == 0) {
            QVERIFY(!import->isEnabled());
            QVERIFY(child<QLabel>(dialog, "laSummary")->text().contains(QStringLiteral("statements 1, 2")));
            for (int field = 0; field < AnswerSheet::FieldCount; ++field) {
                if (field >= AnswerSheet::Info1 && field <= AnswerSheet::Info4)
                    continue;
                auto *combo = child<QComboBox>(dialog, qPrintable(QStringLiteral("cbColumn_") + AnswerSheet::fieldKey(field)));
                combo->setCurrentIndex(field + 1);
                emit combo->activated(field + 1);
            }
        }
        QVERIFY(import->isEnabled());
        QCOMPARE(dialog->columns()[AnswerSheet::Code], 1);
        import->click();
        QTRY_COMPARE(window.form->profile().respondentCount(), round == 0 ? 2 : 3);
    }
    QFile map(QDir(folder).filePath(AnswerSheet::mapFileName()));
    QVERIFY(map.open(QIODevice::ReadOnly));
    QVERIFY(map.readAll().contains("code = Табельный номер\r\n"));
    QCOMPARE(window.form->profile().members->header(0).date, QStringLiteral("01.04.2024"));
}

void TestCollect::cancelWritesNothing()
{
    WindowFixture window;
    window.form->show();
    const QString sheet = writeSheet(window.dir.path(), QStringLiteral("a.csv"), sheetBytes({QStringLiteral("1")}));
    const QStringList before = entries(window.dir.path());
    QPointer<ImportDialog> dialog = openImport(window, sheet);
    QVERIFY(dialog);
    child<QPushButton>(dialog, "btCancel")->click();
    QTRY_VERIFY(!dialog || !dialog->isVisible());
    QTest::qWait(50);
    QCOMPARE(entries(window.dir.path()), before);
    QVERIFY(!window.form->profile().members);
}

void TestCollect::existingFiles_data()
{
    QTest::addColumn<bool>("replace");
    QTest::addColumn<bool>("agree");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("oldKept");
    QTest::newRow("kept, the new file numbered") << false << false << QStringList{"0001 (2).cry", "0001.cry"} << true;
    QTest::newRow("replace, the user says no") << true << false << QStringList{"0001.cry"} << true;
    QTest::newRow("replace, the user agrees") << true << true << QStringList{"0001.cry"} << false;
}

void TestCollect::existingFiles()
{
    QFETCH(bool, replace);
    QFETCH(bool, agree);
    QFETCH(QStringList, files);
    QFETCH(bool, oldKept);
    WindowFixture window;
    window.form->show();
    const QString folder = QDir(window.dir.path()).filePath(QStringLiteral("g"));
    QDir().mkpath(folder);
    const QString old = TestSupport::writeResultFile(folder, QStringLiteral("0001.cry"), TestSupport::Respondent());
    const QByteArray oldBytes = [&] { QFile f(old); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    QPointer<ImportDialog> dialog = openImport(window, writeSheet(window.dir.path(), QStringLiteral("g.csv"), sheetBytes({QStringLiteral("0001")})));
    QVERIFY(dialog);
    QVERIFY(child<QLabel>(dialog, "laNames")->text().contains(QStringLiteral("0001 (2).cry")));
    child<QCheckBox>(dialog, "cbReplace")->setChecked(replace);
    window.prompts->confirmAnswers << agree;
    child<QPushButton>(dialog, "btImport")->click();
    if (replace) {
        QCOMPARE(window.prompts->questions.size(), 1);
        QVERIFY(window.prompts->questions[0].contains(QStringLiteral("Заменить")));
    }
    if (replace && !agree) {
        QVERIFY(dialog->isVisible()); // nothing written, the user may choose again
        QVERIFY(!window.form->profile().members);
    } else {
        QTRY_VERIFY(window.form->profile().group);
    }
    QStringList found = entries(folder);
    found.removeAll(AnswerSheet::mapFileName());
    QCOMPARE(found, files);
    QFile file(old);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll() == oldBytes, oldKept);
}

void TestCollect::rowsAlreadyThere_data()
{
    // A first sheet imported into the folder (none where empty), then a second one through the dialog.
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second"); // a code's answers depend on its row: moved, they change
    QTest::addColumn<bool>("replace");
    QTest::addColumn<bool>("agree");       // to every question
    QTest::addColumn<QString>("shown");    // in the plan's line or the question asked
    QTest::addColumn<QStringList>("files"); // result files afterwards
    const QStringList two{"0101", "0102"};
    QTest::newRow("the same sheet again: nothing twice") << two << two << false << true << "уже есть: 2" << QStringList{"0101.cry", "0102.cry"};
    QTest::newRow("a grown sheet: only the new row") << two << QStringList{"0101", "0102", "0103"} << false << true << "уже есть: 2"
                                                     << QStringList{"0101.cry", "0102.cry", "0103.cry"};
    QTest::newRow("changed answers: not written unless replaced") << two << QStringList{"0102", "0103"} << false << true
                                                                  << "с другими ответами: 1"
                                                                  << QStringList{"0101.cry", "0102.cry", "0103.cry"};
    QTest::newRow("changed answers, replaced when chosen") << two << QStringList{"0102", "0103"} << true << true
                                                           << "Заменить" << QStringList{"0101.cry", "0102.cry", "0103.cry"};
    QTest::newRow("characters windows-1251 lacks: asked, declined") << QStringList{} << QStringList{"Әлия", "0102"} << false << false
                                                                    << "«Ә»" << QStringList{};
    QTest::newRow("characters windows-1251 lacks: asked, agreed") << QStringList{} << QStringList{"Әлия", "0102"} << false << true
                                                                  << "«Ә»" << QStringList{"0102.cry", "Әлия.cry"};
}

void TestCollect::rowsAlreadyThere()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(bool, replace);
    QFETCH(bool, agree);
    QFETCH(QString, shown);
    QFETCH(QStringList, files);
    WindowFixture window;
    window.form->show();
    const QString folder = QDir(window.dir.path()).filePath(QStringLiteral("g"));
    if (!first.isEmpty()) {
        const Outcome<AnswerSheet::Sheet> sheet = AnswerSheet::readSheet(sheetBytes(first), QStringLiteral("first.csv"));
        const AnswerSheet::Columns columns = AnswerSheet::detectColumns(sheet->header, Questionnaire::defaultCaptions());
        const Outcome<AnswerSheet::Check> check = AnswerSheet::check(*sheet, columns, Questionnaire::defaultCaptions());
        QVERIFY(SheetImport::write(*sheet, columns, Questionnaire::defaultCaptions(), *check, folder).ok());
    }
    const QString changed = QDir(folder).filePath(QStringLiteral("0102.cry"));
    const QByteArray before = [&] { QFile f(changed); return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(); }();
    QPointer<ImportDialog> dialog = openImport(window, writeSheet(window.dir.path(), QStringLiteral("second.csv"), sheetBytes(second)));
    QVERIFY(dialog);
    child<QLineEdit>(dialog, "edFolder")->setText(folder);
    emit child<QLineEdit>(dialog, "edFolder")->editingFinished();
    child<QCheckBox>(dialog, "cbReplace")->setChecked(replace);
    for (int k = 0; k < 3; ++k)
        window.prompts->confirmAnswers << agree;
    auto *import = child<QPushButton>(dialog, "btImport");
    if (import->isEnabled())
        import->click();
    const QString said = child<QLabel>(dialog, "laNames")->text() + u'\n' + window.prompts->questions.join(u'\n');
    QVERIFY2(said.contains(shown), qPrintable(said));
    if (agree && !files.isEmpty())
        QTRY_VERIFY(!dialog || !dialog->isVisible() || !import->isEnabled());
    QStringList found = entries(folder);
    found.removeAll(AnswerSheet::mapFileName());
    QCOMPARE(found, files);
    if (!before.isEmpty()) {
        QFile file(changed);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll() != before, replace && second.first() == QLatin1String("0102"));
    }
}

void TestCollect::unreadableSheet_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("in the header") << QByteArray("\"a;b\r\nc;d\r\n");
    QTest::newRow("below the header") << QByteArray("a;b\r\n\"c;d\r\n");
}

void TestCollect::unreadableSheet()
{
    // A quoted field that never ends swallows the rest of the sheet: the message says so, and no
    // preview opens.
    QFETCH(QByteArray, bytes);
    WindowFixture window;
    window.form->show();
    window.prompts->openAnswers << writeSheet(window.dir.path(), QStringLiteral("x.csv"), bytes);
    window.action("mmImportAnswers")->trigger();
    QTest::qWait(50);
    QVERIFY(!window.find<ImportDialog>(QStringLiteral("ImportDialog")));
    QCOMPARE(window.prompts->errors.size(), 1);
    QVERIFY2(window.prompts->errors[0].contains(QStringLiteral("never ends")), qPrintable(window.prompts->errors[0]));
}

QTEST_MAIN(TestCollect)
#include "tst_collect.moc"
