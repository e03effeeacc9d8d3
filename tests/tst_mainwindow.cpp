// The main window's lifecycle, layout, desktop calls, About dialog, the two loads and the member list.

#include "About.h"
#include "AnalysisWindow.h"
#include "ArchiveDialog.h"
#include "ImportDialog.h"
#include "Session.h"
#include "SurveyArchive.h"
#include "MemberList.h"
#include "ResultFile.h"
#include "ResultFolder.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QDragEnterEvent>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QTimer>
#include <QPushButton>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QTableView>
#include <QTest>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QXYSeries>

using namespace TestSupport;

namespace {

// Everything a failed command must leave as it was.
struct ScreenState
{
    QString code, name, date, nanket, laName, hint, memo, detailFoot, overviewFoot, detailTitle, grid11;
    ProfileScores scores;
    bool plotVisible, saveVisible, panelsVisible;

    static ScreenState of(const WindowFixture &fx)
    {
        return {fx.edit("ceCode")->text(), fx.edit("ceName")->text(), fx.edit("ceDate")->text(),
                fx.edit("ceNanket")->text(), fx.label("laName")->text(), fx.header()->hint(),
                fx.form->memoText(), fx.detailChart()->foot(), fx.overviewChart()->foot(), fx.detailChart()->title(),
                fx.grid()->cellText(1, 1), fx.form->profile().scores, fx.action("mmPlotAll")->isVisible(),
                fx.action("mmSave")->isVisible(), fx.circle()->isVisible()};
    }
    bool operator==(const ScreenState &o) const
    {
        return code == o.code && name == o.name && date == o.date && nanket == o.nanket && laName == o.laName
               && hint == o.hint && memo == o.memo && detailFoot == o.detailFoot && overviewFoot == o.overviewFoot
               && detailTitle == o.detailTitle && grid11 == o.grid11 && scores.IndexScores == o.scores.IndexScores
               && scores.ItemScores == o.scores.ItemScores && plotVisible == o.plotVisible
               && saveVisible == o.saveVisible && panelsVisible == o.panelsVisible;
    }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void startState();
    void layout_data();
    void layout();
    void desktopShell_data();
    void desktopShell();
    void aboutDialog();
    void openLoadsRespondent();
    void openCancelChangesNothing();
    void failingLoadKeepsProfile_data();
    void failingLoadKeepsProfile();
    void scoresShownWithRegionalSeparator_data();
    void scoresShownWithRegionalSeparator();
    void groupOfOne();
    void groupNamesRepeatedRespondents_data();
    void groupNamesRepeatedRespondents();
    void groupFailuresKeepProfile_data();
    void groupFailuresKeepProfile();
    void groupWithUnreadableMembers_data();
    void groupWithUnreadableMembers();
    void groupCancelAndCursor();
    void longGroupShowsProgressAndCancels();
    void dataAfterGroupRestoresIndividualHeader();
    void memberListOnSummaryClick_data();
    void memberListOnSummaryClick();
    void openPathLikeMenus_data();
    void openPathLikeMenus();
    void fileTextsShownPlain_data();
    void fileTextsShownPlain();
    void rangeTakesEitherDecimalSign_data();
    void rangeTakesEitherDecimalSign();
    void menuMnemonicsUnique();
    void keyboardCommands_data();
    void keyboardCommands();
    void findKey_data();
    void findKey();
    void accessibleNames();
    void fitsScreen_data();
    void fitsScreen();
    void fitsScreenHere();
    void saveDialogsProposeAndRemember_data();
    void saveDialogsProposeAndRemember();
    void viewsFollowSession_data();
    void viewsFollowSession();
};

void TestMainWindow::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

void TestMainWindow::startState()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.windowTitle(), QStringLiteral("ZOLK - Zembrau Plot"));
    QVERIFY(f.windowState().testFlag(Qt::WindowMaximized));
    QVERIFY(fx.action("mmOpen")->isVisible());
    QVERIFY(fx.action("mmGroup")->isVisible());
    QVERIFY(!fx.action("mmPlotAll")->isVisible());
    QVERIFY(!fx.action("mmSave")->isVisible());
    for (QWidget *view : {static_cast<QWidget *>(fx.header()), static_cast<QWidget *>(fx.grid()),
                          static_cast<QWidget *>(fx.circle()), static_cast<QWidget *>(fx.memo()), fx.chartPanel()})
        QVERIFY2(!view->isVisible(), qPrintable(view->objectName()));
    QCOMPARE(f.appDir(), fx.dir.path() + u'/');
    QVERIFY(fx.label("KeyLabel") && !fx.label("KeyLabel")->isVisible());
    QCOMPARE(fx.label("KeyLabel")->text(), QStringLiteral("q8v1k4rж7эюb;951"));
    for (int tag = 0; tag < 16; ++tag) {
        QCOMPARE(fx.plotLabel(tag)->tag(), tag);
        QCOMPARE(fx.plotLabel(tag)->parentWidget(), fx.circle());
        QVERIFY(fx.plotLabel(tag)->text().isEmpty());
    }
    QCOMPARE(fx.overviewChart()->Tag, 0);
    QVERIFY(fx.action("mmPlotSave")->icon().isNull());
    QCOMPARE(fx.delta()->value(), 0.5);
}

void TestMainWindow::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("paInfo") << "paInfo" << "client" << QRect(5, 0, 415, 130);
    QTest::newRow("ceCode") << "ceCode" << "paInfo" << QRect(92, 15, 81, 26);
    QTest::newRow("ceName") << "ceName" << "paInfo" << QRect(92, 53, 309, 26);
    QTest::newRow("ceDate") << "ceDate" << "paInfo" << QRect(268, 15, 133, 26);
    QTest::newRow("ceNanket") << "ceNanket" << "paInfo" << QRect(92, 91, 81, 26);
    QTest::newRow("seDelta") << "seDelta" << "paInfo" << QRect(332, 91, 70, 21);
    QTest::newRow("sgResF") << "sgResF" << "client" << QRect(5, 130, 415, 298);
    QTest::newRow("paChart") << "paChart" << "client" << QRect(5, 427, 415, 294);
    QTest::newRow("chChart") << "chChart" << "paChart" << QRect(2, 2, 411, 290);
    QTest::newRow("ChartAll") << "ChartAll" << "paChart" << QRect(2, 2, 411, 290);
    QTest::newRow("paPlot") << "paPlot" << "client" << QRect(420, 0, 602, 564);
    QTest::newRow("imJPEG") << "imJPEG" << "paPlot" << QRect(2, 2, 762, 714);
    QTest::newRow("imPlot") << "imPlot" << "paPlot" << QRect(2, 2, 598, 560);
    QTest::newRow("meInfo") << "meInfo" << "client" << QRect(422, 563, 599, 158);
    QTest::newRow("laA") << "laA" << "paInfo" << QRect(8, 17, 61, 20);
}

void TestMainWindow::layout()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    WindowFixture fx;
    auto *widget = fx.form->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    QCOMPARE(widget->geometry(), geometry);
}

void TestMainWindow::desktopShell_data()
{
    QTest::addColumn<bool>("hasTaskbar");
    QTest::newRow("with a taskbar") << true;
    QTest::newRow("without a taskbar") << false;
}

void TestMainWindow::desktopShell()
{
    QFETCH(bool, hasTaskbar);
    WindowFixture fx(hasTaskbar);
    QCOMPARE(fx.shell->taskbarVisible, !hasTaskbar);
    QCOMPARE(fx.shell->workAreaClaimed, hasTaskbar);
    QCOMPARE(fx.shell->calls.first(), QStringLiteral("claimScreen"));
    QCOMPARE(fx.shell->calls.at(1), QStringLiteral("appendSystemMenuItem 1025 О программе"));
    // The recording shell has no system menu, so the item is offered in the window's own menus.
    QVERIFY(fx.action("mmAbout"));
    QCOMPARE(fx.action("mmAbout")->shortcut(), QKeySequence(Qt::Key_F1));
    fx.form->show();
    QVERIFY(fx.form->close());
    QCOMPARE(fx.shell->calls.last(), QStringLiteral("releaseScreen"));
    QVERIFY(fx.shell->taskbarVisible);
    QVERIFY(!fx.shell->workAreaClaimed); // the work area is put back as it was found
    QVERIFY(!fx.label("KeyLabel"));
}

void TestMainWindow::aboutDialog()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    auto *about = fx.find<TAboutBox>(QStringLiteral("AboutBox"));
    QVERIFY(about);
    QVERIFY(!about->isVisible());
    fx.action("mmAbout")->trigger();
    QVERIFY(about->isVisible());
    QCOMPARE(about->windowTitle(), QStringLiteral("About"));
    QCOMPARE(about->size(), QSize(298, 225));
    QVERIFY(!about->isModal());
    QVERIFY(!QApplication::activeModalWidget());
    f.showAbout(); // shown again: still visible
    QVERIFY(about->isVisible());
    // The main window stays usable: a load goes through while the dialog is open.
    fx.load(Respondent());
    QCOMPARE(fx.edit("ceCode")->text(), QStringLiteral("0042"));
    QTest::mouseClick(about->OKButton, Qt::LeftButton);
    QVERIFY(!about->isVisible());
    f.showAbout();
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QTest::keyClick(about, Qt::Key_Return);
    QVERIFY(!about->isVisible());
    f.showAbout();
    about->close();
    QVERIFY(!about->isVisible());
    QVERIFY(f.isVisible());
}

void TestMainWindow::openLoadsRespondent()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    Respondent r;
    r.info = {QStringLiteral("И1"), QString(), QStringLiteral("И3"), QStringLiteral("И4")};
    fx.load(r);
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    const FileDialogSettings &dialog = fx.prompts->openDialogs.first();
    QCOMPARE(dialog.title, QStringLiteral("Индивидуальные данные для оценки КК по Зембрау"));
    QCOMPARE(dialog.initialDir, f.appDir() + QStringLiteral("Data"));
    QCOMPARE(dialog.filter, QStringLiteral("CRY Files (*.cry)|*.cry"));
    QVERIFY(dialog.fileName.isEmpty());
    QCOMPARE(fx.edit("ceDate")->text(), QStringLiteral("01.02.2003"));
    QCOMPARE(fx.edit("ceCode")->text(), QStringLiteral("0042"));
    QCOMPARE(fx.edit("ceName")->text(), QStringLiteral("Тест"));
    QCOMPARE(fx.header()->hint(), QStringLiteral("И1\r\n\r\nИ3\r\nИ4"));
    QCOMPARE(fx.label("laName")->text(), QStringLiteral("ФИО"));
    QCOMPARE(fx.edit("ceNanket")->text(), QStringLiteral("1"));
    QCOMPARE(fx.detailChart()->foot(), QStringLiteral("0042 Тест 01.02.2003"));
    QCOMPARE(fx.overviewChart()->foot(), QStringLiteral("0042 Тест 01.02.2003"));
    QCOMPARE(f.profile().scores.IndexScores, r.indices);
    QCOMPARE(f.profile().scores.ItemScores, r.items);
    QVERIFY(fx.action("mmPlotAll")->isVisible() && fx.action("mmSave")->isVisible());
    QVERIFY(!fx.action("mmPlotSave")->icon().isNull());
    QVERIFY(!fx.circle()->isHidden() && !fx.memo()->isHidden() && !fx.grid()->isHidden());
    QCOMPARE(fx.grid()->currentColumnIndex(), 1);
    QCOMPARE(fx.grid()->currentRowIndex(), 1);
    QCOMPARE(f.memoText(), Resource::indexStatements(1).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

void TestMainWindow::openCancelChangesNothing()
{
    WindowFixture fx;
    fx.load(Respondent());
    const ScreenState before = ScreenState::of(fx);
    fx.prompts->openAnswers << QString();
    fx.form->mmOpenClick();
    QVERIFY(ScreenState::of(fx) == before);
    QVERIFY(fx.prompts->errors.isEmpty());
}

void TestMainWindow::failingLoadKeepsProfile_data()
{
    QTest::addColumn<QByteArray>("letters");
    QTest::addColumn<QString>("message"); // the message's first line; <file> stands for the file chosen
    QStringList bad = plainLines(Respondent::uniform(2));
    bad[12] = QStringLiteral("3,4a");
    bad[1] = QStringLiteral("9999");
    QTest::newRow("letter after a number") << storedLetters(bad.join(QStringLiteral("\r\n")))
                                           << QStringLiteral("'3,4a' is not a valid floating point value");
    QStringList shortFile = plainLines(Respondent::uniform(2)).mid(0, 80);
    QTest::newRow("80 lines") << storedLetters(shortFile.join(QStringLiteral("\r\n")))
                              << QStringLiteral("'' is not a valid floating point value");
    QTest::newRow("oversized") << QByteArray(70000, 'a') << ResultFile::tooLargeMessage(QStringLiteral("<file>"));
    QTest::newRow("missing") << QByteArray() << ResultFile::cannotOpenMessage(QStringLiteral("<file>"));
}

void TestMainWindow::failingLoadKeepsProfile()
{
    QFETCH(QByteArray, letters);
    QFETCH(QString, message);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(Respondent());
    fx.grid()->moveTo(1, 7);
    const ScreenState before = ScreenState::of(fx);
    const QString path = letters.isEmpty() ? fx.dir.filePath(QStringLiteral("Data/absent.cry"))
                                           : writeStoredFile(fx.dataDir(), QStringLiteral("bad.cry"), letters);
    fx.prompts->openAnswers << path;
    f.mmOpenClick();
    QCOMPARE(fx.prompts->errors.size(), 1);
    QCOMPARE(fx.prompts->errors.first().section(u'\n', 0, 0), message.replace(QStringLiteral("<file>"), QDir::toNativeSeparators(path)));
    QCOMPARE(fx.prompts->errorCaptions.first(), TForm1::applicationTitle());
    QVERIFY(ScreenState::of(fx) == before);
    QCOMPARE(fx.grid()->currentRowIndex(), 7);
}

void TestMainWindow::scoresShownWithRegionalSeparator_data()
{
    QTest::addColumn<QChar>("fileSeparator");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("shown");
    QTest::newRow("point file, Russian screen") << QChar(u'.') << "ru_RU" << "3,20";
    QTest::newRow("comma file, Russian screen") << QChar(u',') << "ru_RU" << "3,20";
    QTest::newRow("comma file, English screen") << QChar(u',') << "en_US" << "3.20";
}

void TestMainWindow::scoresShownWithRegionalSeparator()
{
    QFETCH(QChar, fileSeparator);
    QFETCH(QString, locale);
    QFETCH(QString, shown);
    QLocale::setDefault(QLocale(locale));
    WindowFixture fx;
    Respondent r;
    r.separator = fileSeparator;
    fx.load(r);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QVERIFY(fx.prompts->errors.isEmpty());
    QCOMPARE(fx.grid()->cellText(1, 1), shown);
}

void TestMainWindow::groupOfOne()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    Respondent r = Respondent::uniform(3.5);
    r.name = QStringLiteral("Петров");
    writeResultFile(fx.dataDir(), QStringLiteral("one.cry"), r);
    fx.prompts->openAnswers << fx.dataDir() + QStringLiteral("/does-not-exist.txt");
    f.mmGroupClick();
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    const FileDialogSettings &dialog = fx.prompts->openDialogs.first();
    QCOMPARE(dialog.title, QStringLiteral("Ввод групповых данных для оценки КК по Зембрау"));
    QCOMPARE(dialog.initialDir, f.appDir() + QStringLiteral("Data"));
    QCOMPARE(fx.edit("ceCode")->text(), QStringLiteral("0000"));
    QCOMPARE(fx.edit("ceDate")->text(), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    QCOMPARE(fx.label("laName")->text(), QStringLiteral("Группа"));
    QCOMPARE(fx.edit("ceName")->text(), QStringLiteral("Группа"));
    QCOMPARE(fx.edit("ceNanket")->text(), QStringLiteral("1"));
    QCOMPARE(fx.header()->hint(), QStringLiteral("Состав группы:\r\nПетров"));
    QCOMPARE(f.profile().scores.IndexScores, r.indices);
    QCOMPARE(fx.detailChart()->foot(), QStringLiteral("0000 Группа ") + fx.edit("ceDate")->text());
    QVERIFY(fx.action("mmPlotAll")->isVisible() && fx.action("mmSave")->isVisible());
    QCOMPARE(fx.grid()->currentRowIndex(), 1);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestMainWindow::groupNamesRepeatedRespondents_data()
{
    // a.cry and b.cry are two respondents; c.cry is made as named.
    QTest::addColumn<QString>("third");
    QTest::addColumn<QString>("count");   // "Анкет"
    QTest::addColumn<QString>("message"); // a line of the message shown once the group is on screen
    QTest::newRow("a copy counts once") << QStringLiteral("copy") << QStringLiteral("2")
                                        << QStringLiteral("c.cry: the same answers and header as a.cry");
    QTest::newRow("one code, other answers: both count") << QStringLiteral("changed") << QStringLiteral("3")
                                                         << QStringLiteral("a.cry, c.cry");
}

void TestMainWindow::groupNamesRepeatedRespondents()
{
    QFETCH(QString, third);
    QFETCH(QString, count);
    QFETCH(QString, message);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    Respondent a = Respondent::uniform(2), b = Respondent::uniform(4);
    a.code = QStringLiteral("1");
    b.code = QStringLiteral("2");
    const QString first = writeResultFile(fx.dataDir(), QStringLiteral("a.cry"), a);
    writeResultFile(fx.dataDir(), QStringLiteral("b.cry"), b);
    if (third == QLatin1String("copy")) {
        QVERIFY(QFile::copy(first, fx.dataDir() + QStringLiteral("/c.cry")));
    } else {
        a.items[0] = 5;
        writeResultFile(fx.dataDir(), QStringLiteral("c.cry"), a);
    }
    fx.prompts->openAnswers << first;
    f.mmGroupClick();
    QCOMPARE(fx.edit("ceNanket")->text(), count);
    QCOMPARE(fx.prompts->errors.size(), 1);
    QVERIFY2(fx.prompts->errors.first().split(u'\n').contains(message), qPrintable(fx.prompts->errors.first()));
}

void TestMainWindow::groupFailuresKeepProfile_data()
{
    QTest::addColumn<bool>("withBadMember");
    QTest::addColumn<QStringList>("message"); // texts the message holds; <folder> stands for the group's folder
    // No member readable: nothing to ask about, the message names the file and why.
    QTest::newRow("no member can be read") << true << QStringList{QStringLiteral("'' is not a valid floating point value"), QStringLiteral("<folder>b.cry")};
    QTest::newRow("empty folder") << false << QStringList{ResultFolder::emptyFolderMessage(QStringLiteral("<folder>"))};
}

void TestMainWindow::groupFailuresKeepProfile()
{
    QFETCH(bool, withBadMember);
    QFETCH(QStringList, message);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(Respondent());
    QTemporaryDir group;
    if (withBadMember)
        writeStoredFile(group.path(), QStringLiteral("b.cry"), storedLetters(QStringLiteral("x\r\ny\r\n")));
    const ScreenState before = ScreenState::of(fx);
    fx.prompts->openAnswers << group.filePath(QStringLiteral("any.cry"));
    f.mmGroupClick();
    QCOMPARE(fx.prompts->errors.size(), 1);
    for (QString text : message) {
        text.replace(QStringLiteral("<folder>"), QDir::toNativeSeparators(group.path() + u'/'));
        QVERIFY2(fx.prompts->errors.first().contains(text), qPrintable(fx.prompts->errors.first()));
    }
    QVERIFY(fx.prompts->questions.isEmpty());
    QVERIFY(ScreenState::of(fx) == before);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestMainWindow::groupWithUnreadableMembers_data()
{
    QTest::addColumn<int>("unreadable"); // b.cry (too short), then c.cry (too large)
    QTest::addColumn<bool>("answer");
    QTest::newRow("one unreadable, no") << 1 << false;
    QTest::newRow("one unreadable, yes") << 1 << true;
    QTest::newRow("two unreadable, yes") << 2 << true;
}

void TestMainWindow::groupWithUnreadableMembers()
{
    // The group is built of the readable members only when the user agrees, having been told which
    // files are left out and why; "no" leaves the window as it was.
    QFETCH(int, unreadable);
    QFETCH(bool, answer);
    WindowFixture fx, reference;
    fx.load(Respondent());
    const ScreenState before = ScreenState::of(fx);
    QTemporaryDir group, readableOnly;
    for (const QString &folder : {group.path(), readableOnly.path()}) {
        Respondent low = Respondent::uniform(2), high = Respondent::uniform(4);
        low.name = QStringLiteral("Алексеев");
        low.code = QStringLiteral("1");
        high.name = QStringLiteral("Дмитриев");
        high.code = QStringLiteral("4");
        writeResultFile(folder, QStringLiteral("a.cry"), low);
        writeResultFile(folder, QStringLiteral("d.cry"), high); // after the unreadable ones
    }
    const QString shortFile = writeStoredFile(group.path(), QStringLiteral("b.cry"), storedLetters(QStringLiteral("x\r\ny\r\n")));
    const QString largeFile = group.filePath(QStringLiteral("c.cry"));
    if (unreadable > 1)
        writeStoredFile(group.path(), QStringLiteral("c.cry"), QByteArray(70000, 'a'));
    fx.prompts->confirmAnswers << answer;
    fx.prompts->openAnswers << group.filePath(QStringLiteral("a.cry"));
    fx.form->mmGroupClick();

    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    QCOMPARE(fx.prompts->questions.size(), 1);
    const QString question = fx.prompts->questions.first();
    QStringList named = {QDir::toNativeSeparators(shortFile), QStringLiteral("'' is not a valid floating point value")};
    if (unreadable > 1)
        named << ResultFile::tooLargeMessage(largeFile);
    for (const QString &text : std::as_const(named))
        QVERIFY2(question.contains(text), qPrintable(question));
    for (const char *readable : {"a.cry", "d.cry"})
        QVERIFY2(!question.contains(QString::fromLatin1(readable)), qPrintable(question));
    QVERIFY(!QGuiApplication::overrideCursor());
    if (!answer) {
        QVERIFY(ScreenState::of(fx) == before);
        return;
    }
    // Exactly the group of a folder that holds only the readable members.
    reference.prompts->openAnswers << readableOnly.filePath(QStringLiteral("a.cry"));
    reference.form->mmGroupClick();
    QCOMPARE(fx.edit("ceNanket")->text(), QStringLiteral("2"));
    QCOMPARE(fx.form->profile().respondentCount(), 2);
    QVERIFY(ScreenState::of(fx) == ScreenState::of(reference));
}

void TestMainWindow::groupCancelAndCursor()
{
    WindowFixture fx;
    fx.prompts->openAnswers << QString();
    fx.form->mmGroupClick();
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(fx.circle()->isHidden());
    QVERIFY(!fx.action("mmPlotAll")->isVisible());
}

void TestMainWindow::longGroupShowsProgressAndCancels()
{
    WindowFixture fx(true, 0);
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    fx.load(Respondent());
    const ScreenState before = ScreenState::of(fx);
    // A group of a hundred can be cancelled too: progress comes every 64 members at the latest.
    QTemporaryDir group;
    const QByteArray letters = storedLetters(plainText(Respondent::uniform(4)));
    for (int k = 0; k < 100; ++k)
        writeStoredFile(group.path(), QStringLiteral("m%1.cry").arg(k, 4, 10, QChar(u'0')), letters);
    // Press "Отмена" as soon as the progress dialog is up, noting the cursors then.
    QString label;
    bool applicationBusy = true;
    Qt::CursorShape windowCursor = Qt::ArrowCursor, cancelCursor = Qt::WaitCursor;
    QTimer press;
    press.setInterval(1);
    connect(&press, &QTimer::timeout, &f, [&] {
        if (auto *progress = f.findChild<QProgressDialog *>(QStringLiteral("groupProgress"))) {
            label = progress->labelText();
            applicationBusy = QGuiApplication::overrideCursor() != nullptr;
            windowCursor = f.cursor().shape();
            cancelCursor = progress->findChild<QPushButton *>()->cursor().shape();
            progress->cancel();
            press.stop();
        }
    });
    press.start();
    fx.prompts->openAnswers << group.filePath(QStringLiteral("m0000.cry"));
    f.mmGroupClick();
    QVERIFY2(label.contains(QStringLiteral("из 100")), qPrintable(label));
    QVERIFY(!applicationBusy);
    QCOMPARE(windowCursor, Qt::WaitCursor);
    QCOMPARE(cancelCursor, Qt::ArrowCursor);
    QVERIFY(fx.prompts->errors.isEmpty());
    QVERIFY(ScreenState::of(fx) == before);
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(f.cursor().shape(), Qt::ArrowCursor);
}

void TestMainWindow::dataAfterGroupRestoresIndividualHeader()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    writeResultFile(fx.dataDir(), QStringLiteral("a.cry"), Respondent());
    Respondent other; // another respondent: the same one twice would count once
    other.code = QStringLiteral("0043");
    writeResultFile(fx.dataDir(), QStringLiteral("b.cry"), other);
    fx.prompts->openAnswers << fx.dataDir() + QStringLiteral("/a.cry");
    f.mmGroupClick();
    QCOMPARE(fx.edit("ceNanket")->text(), QStringLiteral("2"));
    fx.load(Respondent(), QStringLiteral("a.cry"));
    QCOMPARE(fx.label("laName")->text(), QStringLiteral("ФИО"));
    QCOMPARE(fx.edit("ceNanket")->text(), QStringLiteral("1"));
    QCOMPARE(fx.edit("ceCode")->text(), QStringLiteral("0042"));
    QCOMPARE(fx.header()->hint(), Respondent().info.join(QStringLiteral("\r\n")));
}

void TestMainWindow::memberListOnSummaryClick_data()
{
    QTest::addColumn<bool>("group");
    QTest::addColumn<int>("members");
    QTest::newRow("one respondent: no list") << false << 1;
    QTest::newRow("group of one") << true << 1;
    QTest::newRow("group of 25, past the tooltip's 20 names") << true << 25;
}

void TestMainWindow::memberListOnSummaryClick()
{
    QFETCH(bool, group);
    QFETCH(int, members);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    // Member k: half its index scores low, half four times as high, so that its overall mean (the
    // geometric one) is twice the low score, not the arithmetic 2.5 times.
    QStringList expected; // file, name and overall mean of each member, as the list shows them
    for (int k = 0; k < members; ++k) {
        const double low = 1.0 + 0.01 * k;
        Respondent r = Respondent::uniform(3);
        for (int i = 0; i < 12; ++i)
            r.indices[std::size_t(i)] = i % 2 ? 4 * low : low;
        r.name = QStringLiteral("Участник %1").arg(k + 1);
        r.code = QString::number(k + 1);
        const QString file = QStringLiteral("m%1.cry").arg(k, 2, 10, QChar(u'0'));
        writeResultFile(fx.dataDir(), file, r);
        expected << file + u' ' + r.name + u' ' + QLocale().toString(2 * low, 'f', 2);
    }
    fx.prompts->openAnswers << fx.dataDir() + QStringLiteral("/m00.cry");
    group ? f.mmGroupClick() : f.mmOpenClick();
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    QCOMPARE(f.profile().group, group);

    // The list is modal: read and closed from the event loop of its own exec.
    bool opened = false;
    QStringList listed;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, &f, [&] {
        auto *list = f.findChild<MemberList *>(QStringLiteral("memberList"));
        if (!list || !list->isVisible())
            return;
        poll.stop();
        opened = true;
        const QAbstractItemModel *model = list->findChild<QTableView *>(QStringLiteral("members"))->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 1; column < model->columnCount(); ++column)
                cells << model->index(row, column).data().toString();
            listed << cells.join(u' ');
        }
        list->reject();
    });
    poll.start();
    QTest::mouseClick(fx.label("ImageInfo"), Qt::LeftButton);
    if (group)
        QTRY_VERIFY(opened); // in case the list opens after the click has returned
    else
        QVERIFY(!opened);
    poll.stop();
    QCOMPARE(listed, group ? expected : QStringList());
    QVERIFY(!f.findChild<MemberList *>());
}

void TestMainWindow::openPathLikeMenus_data()
{
    QTest::addColumn<QString>("how");  // "argument" (the command line, a file association) or "drop"
    QTest::addColumn<QString>("what"); // "file", "folder", "missing" or "text"
    for (const char *how : {"argument", "drop"})
        for (const char *what : {"file", "folder", "missing", "text"})
            QTest::addRow("%s: %s", how, what) << QString::fromLatin1(how) << QString::fromLatin1(what);
}

void TestMainWindow::openPathLikeMenus()
{
    // A file opens exactly as "Data" opens it, a folder as "Group"; a bad one changes nothing.
    QFETCH(QString, how);
    QFETCH(QString, what);
    WindowFixture viaMenu, viaPath;
    Respondent other = Respondent::uniform(2.5);
    other.code = QStringLiteral("0007");
    viaPath.load(other); // something on screen that a bad path must leave as it is
    const ScreenState before = ScreenState::of(viaPath);
    const QString file = writeResultFile(viaPath.dataDir(), QStringLiteral("r.cry"), Respondent());
    writeResultFile(viaMenu.dataDir(), QStringLiteral("r.cry"), Respondent());
    const QString text = viaPath.dir.filePath(QStringLiteral("notes.txt"));
    QFile(text).open(QIODevice::WriteOnly);
    const QString path = what == QLatin1String("file")     ? file
                         : what == QLatin1String("folder") ? viaPath.dataDir()
                         : what == QLatin1String("text")   ? text
                                                           : viaPath.dir.filePath(QStringLiteral("missing.cry"));
    if (how == QLatin1String("argument")) {
        viaPath.form->openPath(path);
    } else {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viaPath.form.get(), &enter);
        QCOMPARE(enter.isAccepted(), what != QLatin1String("text"));
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viaPath.form.get(), &drop);
        QCoreApplication::processEvents();
    }
    if (what == QLatin1String("file") || what == QLatin1String("folder")) {
        viaMenu.prompts->openAnswers << viaMenu.dir.filePath(QStringLiteral("Data/r.cry"));
        what == QLatin1String("file") ? viaMenu.form->mmOpenClick() : viaMenu.form->mmGroupClick();
        QVERIFY(viaPath.prompts->errors.isEmpty());
        QVERIFY(ScreenState::of(viaPath) == ScreenState::of(viaMenu));
    } else {
        // A bad argument gets the usual message; a drop of anything but a result file is not taken.
        const bool message = what == QLatin1String("missing") || how == QLatin1String("argument");
        QCOMPARE(viaPath.prompts->errors.size(), message ? 1 : 0);
        QVERIFY(ScreenState::of(viaPath) == before);
    }
}

void TestMainWindow::fileTextsShownPlain_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("picture") << QStringLiteral("<img src=\"/usr/share/pixmaps/debian-logo.png\">");
    QTest::newRow("large red word") << QStringLiteral("<font size=7 color=red>ВНИМАНИЕ</font>");
    QTest::newRow("entity and bold") << QStringLiteral("<b>Иванов</b> &amp; партнёры");
}

void TestMainWindow::fileTextsShownPlain()
{
    // Every text of a result file is shown as the text it is: no label reads markup into it and no
    // tooltip carries it unescaped, for a respondent and for a group.
    QFETCH(QString, text);
    for (const bool group : {false, true}) {
        WindowFixture fx;
        fx.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(fx.form.get()));
        Respondent r;
        r.name = text + QString(60, u'Ж'); // long enough to be cut, so that its whole text goes to tooltips
        r.code = text;
        r.date = text;
        r.info = {text, text, text, text};
        if (group) {
            writeResultFile(fx.dataDir(), QStringLiteral("a.cry"), r);
            fx.prompts->openAnswers << fx.dataDir() + QStringLiteral("/a.cry");
            fx.action("mmGroup")->trigger();
            // The header's code and name are the group's; the member list holds the file's texts.
            fx.edit("ceName")->setText(r.name);
            fx.form->ceCodeKeyUp();
        } else {
            fx.load(r);
        }
        QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
        const QList<QLabel *> labels = fx.form->findChildren<QLabel *>();
        for (const QLabel *label : labels)
            if (label->text().contains(u'<'))
                QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
        QVERIFY(fx.label("laInfoImage")->text().contains(text.left(10)));
        for (const QWidget *widget : fx.form->findChildren<QWidget *>())
            QVERIFY2(!widget->toolTip().contains(text), qPrintable(widget->objectName() + u' ' + widget->toolTip()));
        for (const StatementChart *chart : std::initializer_list<const StatementChart *>{fx.detailChart(), fx.overviewChart()})
            for (const QGraphicsItem *item : chart->scene()->items())
                QVERIFY2(!item->toolTip().contains(text), qPrintable(item->toolTip()));
    }
}

void TestMainWindow::rangeTakesEitherDecimalSign_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("delta");
    QTest::newRow("decimal comma") << "0,3" << 0.3;
    QTest::newRow("decimal point") << "0.3" << 0.3;
    QTest::newRow("point, two decimals") << "1.25" << 1.25;
}

void TestMainWindow::rangeTakesEitherDecimalSign()
{
    // Under a Russian locale a point typed into "Range" is taken as the decimal comma, not dropped.
    QFETCH(QString, typed);
    QFETCH(double, delta);
    WindowFixture fx;
    fx.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(fx.form.get()));
    fx.load(Respondent());
    RealSpinEdit *range = fx.delta();
    range->setFocus();
    range->editor()->selectAll();
    QTest::keyClicks(range->editor(), typed);
    QCOMPARE(fx.form->band(), delta);
    QTest::keyClick(range->editor(), Qt::Key_Tab);
    QCOMPARE(fx.form->band(), delta);
    QCOMPARE(range->editor()->text(), QLocale().toString(delta, 'f', 2));
}

// Every command of the menu bar and of its menus has a mnemonic, and no two in one menu share it.
void TestMainWindow::menuMnemonicsUnique()
{
    WindowFixture fx;
    fx.load(Respondent());
    QList<QMenu *> menus;
    const auto check = [](const QList<QAction *> &actions, const QString &where) {
        QSet<QString> taken;
        for (QAction *action : actions) {
            if (action->isSeparator())
                continue;
            const QKeySequence mnemonic = QKeySequence::mnemonic(action->text());
            QVERIFY2(!mnemonic.isEmpty(), qPrintable(where + QStringLiteral(": ") + action->text()));
            const QString key = mnemonic.toString().toCaseFolded();
            QVERIFY2(!taken.contains(key), qPrintable(where + QStringLiteral(": ") + action->text() + QStringLiteral(" repeats ") + key));
            taken.insert(key);
        }
    };
    QMenuBar *bar = fx.form->menuBar();
    check(bar->actions(), QStringLiteral("menu bar"));
    int menuCount = 0;
    for (QAction *action : bar->actions())
        if (QMenu *menu = action->menu()) {
            check(menu->actions(), action->text());
            ++menuCount;
        }
    QVERIFY(menuCount >= 2);
    // The captions stay as they read, an underlined letter added.
    QCOMPARE(fx.action("mmOpen")->text().remove(u'&'), QStringLiteral("Data"));
    QCOMPARE(fx.action("mmGroup")->text().remove(u'&'), QStringLiteral("Group"));
    QCOMPARE(fx.action("mmPlotAll")->text().remove(u'&'), QStringLiteral("Plot"));
    QCOMPARE(fx.action("mmSave")->text().remove(u'&'), QStringLiteral("Save"));
}

// The keys reach their commands also when the keyboard types Cyrillic letters: Qt matches the key,
// not the text it types.
void TestMainWindow::keyboardCommands_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // "open: <title>", "save: <title>" or "menu bar: <action>"
    const QString data = QStringLiteral("open: Индивидуальные данные для оценки КК по Зембрау");
    const QString group = QStringLiteral("open: Ввод групповых данных для оценки КК по Зембрау");
    QTest::newRow("Ctrl+O") << int(Qt::Key_O) << int(Qt::ControlModifier) << "o" << data;
    QTest::newRow("Ctrl+O, Russian layout") << int(Qt::Key_O) << int(Qt::ControlModifier) << "щ" << data;
    QTest::newRow("Ctrl+Shift+O") << int(Qt::Key_O) << int(Qt::ControlModifier | Qt::ShiftModifier) << "O" << group;
    QTest::newRow("Ctrl+S: the report") << int(Qt::Key_S) << int(Qt::ControlModifier) << "ы"
                                        << "save: Запись отчёта в pdf-файл";
    QTest::newRow("Alt+D: Data") << int(Qt::Key_D) << int(Qt::AltModifier) << "d" << data;
    QTest::newRow("Alt+G: Group, Russian layout") << int(Qt::Key_G) << int(Qt::AltModifier) << "п" << group;
    QTest::newRow("F10: the menu bar") << int(Qt::Key_F10) << 0 << "" << "menu bar: mmOpen";
}

void TestMainWindow::keyboardCommands()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    fx.load(Respondent());
    fx.prompts->openDialogs.clear();
    QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : &f;
    // As the window system delivers a key with the text the layout types: the shortcuts see it first.
    QTest::sendKeyEvent(QTest::Press, focus, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
    QTest::sendKeyEvent(QTest::Release, focus, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
    if (expected.startsWith(QStringLiteral("open: "))) {
        QTRY_COMPARE(fx.prompts->openDialogs.size(), 1);
        QCOMPARE(fx.prompts->openDialogs.first().title, expected.mid(6));
    } else if (expected.startsWith(QStringLiteral("save: "))) {
        QTRY_COMPARE(fx.prompts->saveDialogs.size(), 1);
        QCOMPARE(fx.prompts->saveDialogs.first().title, expected.mid(6));
    } else {
        QTRY_VERIFY(f.menuBar()->activeAction());
        QCOMPARE(f.menuBar()->activeAction()->objectName(), expected.mid(10));
        QCOMPARE(QApplication::focusWidget(), f.menuBar());
        // Escape leaves it.
        QTest::keyClick(f.menuBar(), Qt::Key_Escape);
        QTRY_VERIFY(!f.menuBar()->activeAction());
    }
}

// Ctrl+F takes the keyboard to a window's search field from wherever it is in that window, also on
// a Russian layout (where the key types "а"); the member list then keeps the members whose file or
// name holds what is typed, whatever its case, and not those whose number or mean has it.
void TestMainWindow::findKey_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("text");
    QTest::newRow("member list") << "memberList" << "f";
    QTest::newRow("member list, Russian layout") << "memberList" << "а";
    QTest::newRow("archive, Russian layout") << "archiveDialog" << "а";
}

void TestMainWindow::findKey()
{
    QFETCH(QString, window);
    QFETCH(QString, text);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    for (int m = 0; m < 12; ++m) {
        Respondent r = Respondent::uniform(2.0 + m % 3);
        r.code = QString::number(m + 1);
        r.name = m == 10 ? QStringLiteral("Петрова Анна") : QStringLiteral("Участник %1").arg(m + 1);
        writeResultFile(fx.dataDir(), QStringLiteral("m%1.cry").arg(m, 2, 10, QLatin1Char('0')), r);
    }
    fx.prompts->openAnswers << fx.dataDir();
    f.mmGroupClick();
    QCOMPARE(f.profile().respondentCount(), 12);
    std::unique_ptr<SurveyArchive> archive;
    std::unique_ptr<QDialog> dialog;
    if (window == QLatin1String("memberList")) {
        dialog = std::make_unique<MemberList>(f.profile(), &f);
    } else {
        Outcome<std::unique_ptr<SurveyArchive>> opened = SurveyArchive::open(fx.dir.filePath(QStringLiteral("archive.sqlite")));
        QVERIFY2(opened, qPrintable(opened.message()));
        archive = std::move(opened).value();
        dialog = std::make_unique<ArchiveDialog>(*archive, [](const QString &) { return false; }, [](const QString &) {}, &f);
    }
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    auto *field = dialog->findChild<QLineEdit *>(window == QLatin1String("memberList") ? QStringLiteral("memberFilter")
                                                                                         : QStringLiteral("archiveFilter"));
    QVERIFY(field);
    field->setText(QStringLiteral("старое"));
    QTableView *table = dialog->findChild<QTableView *>();
    table->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), table);
    QTest::sendKeyEvent(QTest::Press, table, Qt::Key_F, text, Qt::ControlModifier);
    QTest::sendKeyEvent(QTest::Release, table, Qt::Key_F, text, Qt::ControlModifier);
    QTRY_COMPARE(QApplication::focusWidget(), field);
    // What is typed next replaces the old text.
    QCOMPARE(field->selectedText(), QStringLiteral("старое"));
    QVERIFY(field->toolTip().contains(QKeySequence(QKeySequence::Find).toString(QKeySequence::NativeText)));
    if (window != QLatin1String("memberList"))
        return;
    field->insert(QStringLiteral("петрова")); // as typed: in place of the selection
    QCOMPARE(field->text(), QStringLiteral("петрова"));
    QCOMPARE(table->model()->rowCount(), 1);
    QCOMPARE(table->model()->index(0, 2).data().toString(), QStringLiteral("Петрова Анна"));
    // File names hold the digits; numbers and means are not searched.
    field->setText(QStringLiteral("m1"));
    QCOMPARE(table->model()->rowCount(), 2);
    field->setText(QStringLiteral("12"));
    QCOMPARE(table->model()->rowCount(), 1);
    field->setText(QStringLiteral(" "));
    QCOMPARE(table->model()->rowCount(), 12);
    // Found, then Enter: the member found is shown.
    field->setText(QStringLiteral("ПЕТРОВА"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(static_cast<MemberList *>(dialog.get())->chosenMember(), 10);
}

// Every control that takes the keyboard focus has a name a screen reader says.
void TestMainWindow::accessibleNames()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    fx.load(Respondent());
    int focusable = 0;
    for (QWidget *widget : f.findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(&f) || widget->focusPolicy() == Qt::NoFocus || widget->focusProxy()
            || qobject_cast<QScrollArea *>(widget) || widget->inherits("QScrollBar"))
            continue;
        ++focusable;
        // The line edit of a spin box is named as the spin box it stands for.
        if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget->parentWidget()); spin && spin->focusProxy() == widget)
            widget = spin;
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(accessible, qPrintable(widget->objectName()));
        QVERIFY2(!accessible->text(QAccessible::Name).trimmed().isEmpty(),
                 qPrintable(QStringLiteral("%1 (%2)").arg(widget->objectName(), widget->metaObject()->className())));
    }
    QVERIFY(focusable >= 8);
    // The keyboard goes through the header's fields, the grid, the chart in front (not the one
    // behind it) and the memo.
    fx.edit("ceCode")->setFocus();
    const auto focused = [] {
        QWidget *widget = QApplication::focusWidget();
        if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget->parentWidget()))
            return spin->objectName();
        return widget->objectName();
    };
    QStringList order;
    for (int k = 0; k < 8; ++k) {
        order << focused();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, QStringList({"ceCode", "ceName", "ceDate", "ceNanket", "seDelta", "sgResF", "chChart", "meInfo"}));
}

// The window on a laptop's screen: every control within reach (scrolled into sight) at the sizes
// and scale factors of the usual screens. Each row runs fitsScreenHere in a process of its own, on
// an offscreen screen of the row's size in device pixels whose logical DPI gives the row's scale
// factor, as Windows reports a screen at 150 %. All of it is on the child's command line and in its
// working folder: wine passes no QT_* variable on, and a drive letter's colon would end the
// platform's argument.
void TestMainWindow::fitsScreen_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("scale");
    QTest::newRow("1280x720 at 100 %") << 1280 << 720 << 1.0;
    QTest::newRow("1366x768 at 100 %") << 1366 << 768 << 1.0;
    QTest::newRow("1920x1080 at 150 %: 1280x720 logical") << 1920 << 1080 << 1.5;
    QTest::newRow("2560x1440 at 200 %: 1280x720 logical") << 2560 << 1440 << 2.0;
    QTest::newRow("1920x1080 at 100 %") << 1920 << 1080 << 1.0;
}

void TestMainWindow::fitsScreen()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(double, scale);
    QTemporaryDir dir;
    const QJsonObject screen{{"name", "laptop"}, {"x", 0}, {"y", 0}, {"width", width}, {"height", height},
                             {"logicalDpi", 96 * scale}, {"logicalBaseDpi", 96}, {"dpr", 1}};
    QFile config(dir.filePath(QStringLiteral("screen.json")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QJsonDocument(QJsonObject{{"screens", QJsonArray{screen}}}).toJson());
    config.close();
    // The child's results go to a file: under wine its standard output does not reach the pipe.
    QProcess child;
    child.setWorkingDirectory(dir.path());
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("-platform"), QStringLiteral("offscreen:configfile=screen.json"),
                                                          QStringLiteral("fitsScreenHere"), QStringLiteral("-o"), QStringLiteral("fit.txt,txt")});
    QVERIFY(child.waitForFinished(120000));
    QFile results(dir.filePath(QStringLiteral("fit.txt")));
    QVERIFY(results.open(QIODevice::ReadOnly));
    const QByteArray output = results.readAll();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
    QVERIFY2(output.contains("PASS   : TestMainWindow::fitsScreenHere()"), output.constData());
}

void TestMainWindow::fitsScreenHere()
{
    // The screen that fitsScreen made for this process, in its working folder.
    QFile config(QStringLiteral("screen.json"));
    if (!config.open(QIODevice::ReadOnly))
        QSKIP("runs in the process that fitsScreen starts, on a screen of its own");
    const QJsonObject expected = QJsonDocument::fromJson(config.readAll()).object()["screens"].toArray().first().toObject();
    QScreen *screen = QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
    const qreal scale = screen->devicePixelRatio();
    QCOMPARE(scale, expected["logicalDpi"].toDouble() / 96);
    QCOMPARE(QSize(qRound(available.width() * scale), qRound(available.height() * scale)),
             QSize(expected["width"].toInt(), expected["height"].toInt()));
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    for (int m = 0; m < 6; ++m) {
        Respondent r = Respondent::uniform(2.0 + m % 3);
        r.code = QStringLiteral("%1").arg(m + 1, 4, 10, QLatin1Char('0'));
        writeResultFile(fx.dataDir(), QStringLiteral("m%1.cry").arg(m), r);
    }
    fx.prompts->openAnswers << fx.dataDir();
    f.mmGroupClick();
    QCOMPARE(f.profile().respondentCount(), 6);
    QVERIFY2(available.contains(f.frameGeometry()),
             qPrintable(QStringLiteral("window %1,%2 %3x%4 on %5x%6").arg(f.frameGeometry().x()).arg(f.frameGeometry().y())
                            .arg(f.frameGeometry().width()).arg(f.frameGeometry().height())
                            .arg(available.width()).arg(available.height())));
    auto *scroll = fx.find<QScrollArea>(QStringLiteral("clientScroll"));
    QVERIFY(scroll);
    QWidget *viewport = scroll->viewport();
    const bool large = available.width() >= 1032 && available.height() >= 776;
    // On a large screen nothing scrolls and the views sit where they always did.
    if (large)
        QVERIFY(!scroll->horizontalScrollBar()->isVisible() && !scroll->verticalScrollBar()->isVisible());
    int reached = 0;
    for (QWidget *widget : fx.find<QWidget>(QStringLiteral("client"))->findChildren<QWidget *>()) {
        if (widget->objectName().isEmpty() || !widget->isVisibleTo(&f) || widget->width() > viewport->width()
            || widget->height() > viewport->height())
            continue;
        f.bringIntoView(widget);
        const QRect seen(widget->mapTo(viewport, QPoint(0, 0)), widget->size());
        QVERIFY2(viewport->rect().contains(seen),
                 qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 in %6x%7").arg(widget->objectName()).arg(seen.x()).arg(seen.y())
                                .arg(seen.width()).arg(seen.height()).arg(viewport->width()).arg(viewport->height())
                            + QStringLiteral(" client %1x%2 bar %3").arg(scroll->widget()->width()).arg(scroll->widget()->height()).arg(scroll->verticalScrollBar()->maximum())));
        ++reached;
    }
    QVERIFY(reached >= 30);
    // The panels larger than a small screen's client are scrolled to in full: the profile circle.
    for (QWidget *panel : {static_cast<QWidget *>(fx.circle()), fx.chartPanel(), static_cast<QWidget *>(fx.header())}) {
        f.bringIntoView(panel);
        QVERIFY2(viewport->rect().contains(QRect(panel->mapTo(viewport, QPoint(0, 0)), panel->size())),
                 qPrintable(panel->objectName()));
    }
    // The other windows open within the screen too.
    const auto fits = [&available](const QWidget *window) {
        return window->width() <= available.width() && window->height() <= available.height();
    };
    f.mmAnalysisWindowClick();
    auto *analysis = f.findChild<AnalysisWindow *>();
    QVERIFY(analysis);
    QVERIFY2(fits(analysis), qPrintable(QStringLiteral("%1x%2").arg(analysis->width()).arg(analysis->height())));
    analysis->close();
    ImportDialog import(AnswerSheet::Sheet(), Questionnaire::defaultCaptions(), nullptr, fx.dataDir(), &f);
    QVERIFY(fits(&import));
    bool listFits = false;
    QTimer::singleShot(0, &f, [&] {
        if (auto *list = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            listFits = fits(list);
            list->reject();
        }
    });
    f.showMemberList();
    QVERIFY(listFits);
}

// The save dialogs propose names from what is loaded, and each kind starts where it saved last.
void TestMainWindow::saveDialogsProposeAndRemember_data()
{
    QTest::addColumn<bool>("group");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("respondent: code and name") << false << "Report 0042 Тест.pdf";
    QTest::newRow("group: its folder's name") << true << "Report Отдел продаж.pdf";
}

void TestMainWindow::saveDialogsProposeAndRemember()
{
    QFETCH(bool, group);
    QFETCH(QString, proposed);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    if (group) {
        const QString folder = fx.dir.filePath(QStringLiteral("Отдел продаж"));
        QVERIFY(QDir().mkpath(folder));
        writeResultFile(folder, QStringLiteral("a.cry"), Respondent());
        fx.prompts->openAnswers << folder; // the folder itself, as typed into the dialog
        f.mmGroupClick();
        QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
        QCOMPARE(f.profile().respondentCount(), 1);
        QVERIFY(fx.prompts->openDialogs.first().acceptsFolder);
    } else {
        fx.load(Respondent());
    }
    const QString elsewhere = fx.dir.filePath(QStringLiteral("Отчёты"));
    QVERIFY(QDir().mkpath(elsewhere));
    fx.prompts->saveAnswers << elsewhere + QStringLiteral("/first.pdf");
    f.mmReportClick();
    QCOMPARE(fx.prompts->saveDialogs.size(), 1);
    QCOMPARE(QFileInfo(fx.prompts->saveDialogs.first().fileName).fileName(), proposed);
    QVERIFY2(!fx.prompts->saveDialogs.first().fileName.contains(QStringLiteral("0000")),
             qPrintable(fx.prompts->saveDialogs.first().fileName));
    QVERIFY(QFileInfo::exists(elsewhere + QStringLiteral("/first.pdf")));
    // The next report starts where the last one went; a picture still in its own folder.
    f.mmReportClick();
    QCOMPARE(fx.prompts->saveDialogs.at(1).initialDir, elsewhere);
    f.mmSaveClick();
    QVERIFY(fx.prompts->saveDialogs.at(2).initialDir != elsewhere);
}

void TestMainWindow::viewsFollowSession_data()
{
    // Each change of the session, made on the session alone: no window calls the views.
    QTest::addColumn<QString>("change");
    QTest::newRow("a profile loaded") << "load";
    QTest::newRow("the band") << "band";
    QTest::newRow("the header edited") << "header";
    QTest::newRow("a reference chosen") << "reference";
    QTest::newRow("the chart in front") << "chart";
}

void TestMainWindow::viewsFollowSession()
{
    QFETCH(QString, change);
    Session session;
    HeaderPanel header(nullptr);
    ResultsGrid grid(nullptr);
    ProfileCircleView circle(nullptr);
    DetailChart detail(nullptr);
    OverviewChart overview(nullptr);
    InfoMemo memo(nullptr);
    header.follow(session);
    grid.follow(session);
    circle.follow(session);
    detail.follow(session);
    overview.follow(session);
    memo.follow(session);

    Profile profile;
    profile.header.code = QStringLiteral("0042");
    profile.header.name = QStringLiteral("Тест");
    IndexScores indices{};
    ItemScores items{};
    for (int i = 0; i < 12; ++i)
        indices[std::size_t(i)] = 1.5 + 0.25 * i;
    items.fill(3.0);
    items[0] = 4.5;
    profile.setScores(indices, items);
    session.load(profile, Session::Origin::File);
    if (change == QLatin1String("load")) {
        QCOMPARE(header.findChild<QLineEdit *>(QStringLiteral("ceCode"))->text(), QStringLiteral("0042"));
        QCOMPARE(grid.cellText(GridPicture::IndexColumn, GridPicture::indexRow(1)), Scoring::scoreText(1.5));
        QCOMPARE(detail.barValue(1), 4.5);
        QCOMPARE(overview.barValue(1), 4.5);
        QVERIFY(circle.findChild<QLabel *>(QStringLiteral("laInfoImage"))->text().contains(QStringLiteral("Тест")));
        QCOMPARE(memo.toPlainText().split(u'\n').first(), Resource::indexStatements(1).first());
    } else if (change == QLatin1String("band")) {
        session.setBand(0.2);
        QCOMPARE(header.findChild<RealSpinEdit *>(QStringLiteral("seDelta"))->value(), 0.2);
        const auto *upper = static_cast<const QXYSeries *>(detail.series(u"SeriesMax"));
        QCOMPARE(upper->at(0).x(), profile.overallMean + 0.2);
    } else if (change == QLatin1String("header")) {
        RespondentHeader edited = session.header();
        edited.name = QStringLiteral("Другое имя");
        session.setHeader(edited);
        QVERIFY(detail.foot().contains(QStringLiteral("Другое имя")));
        QVERIFY(overview.foot().contains(QStringLiteral("Другое имя")));
        QVERIFY(circle.findChild<QLabel *>(QStringLiteral("laInfoImage"))->text().contains(QStringLiteral("Другое имя")));
    } else if (change == QLatin1String("reference")) {
        Profile other = profile;
        other.setScores(indices, ItemScores{});
        session.setReference(Session::Reference{other, QStringLiteral("Эталон")});
        QVERIFY(detail.series(u"SeriesReference")->isVisible());
        QVERIFY(overview.series(u"SeriesReference")->isVisible());
        QVERIFY(grid.item(GridPicture::indexRow(1), GridPicture::IndexColumn)->toolTip().startsWith(QStringLiteral("Эталон: ")));
        session.setComparing(false);
        QVERIFY(!detail.series(u"SeriesReference")->isVisible());
        QVERIFY(grid.item(GridPicture::indexRow(1), GridPicture::IndexColumn)->toolTip().isEmpty());
    } else {
        QCOMPARE(overview.Tag, 0);
        session.setChartInFront(Session::Chart::Overview);
        QCOMPARE(overview.Tag, 1);
        session.setChartInFront(Session::Chart::Detail);
        QCOMPARE(overview.Tag, 0);
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
