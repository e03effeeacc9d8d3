// The main window's lifecycle, layout, desktop calls, About dialog and the two loads.

#include "About.h"
#include "RealSpinEdit.h"
#include "ResultsGrid.h"
#include "StatementCharts.h"
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
#include <QTest>

using namespace TestSupport;

namespace {

// Everything a failed command must leave as it was.
struct ScreenState
{
    QString code, name, date, nanket, laName, hint, memo, detailFoot, overviewFoot, detailTitle, grid11;
    ProfileScores scores;
    bool plotVisible, saveVisible, panelsVisible;

    static ScreenState of(const TForm1 &f)
    {
        return {f.ceCode->text(), f.ceName->text(), f.ceDate->text(), f.ceNanket->text(), f.laName->text(),
                f.ImageInfo->toolTip(), f.memoText(), f.chChart->foot(), f.ChartAll->foot(), f.chChart->title(),
                f.sgResF->cellText(1, 1), f.Scores, f.mmPlotAll->isVisible(), f.mmSave->isVisible(), f.paPlot->isVisible()};
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
    void groupFailuresKeepProfile_data();
    void groupFailuresKeepProfile();
    void groupCancelAndCursor();
    void longGroupShowsProgressAndCancels();
    void dataAfterGroupRestoresIndividualHeader();
    void keyLabelDeciphersMemo();
    void openPathLikeMenus_data();
    void openPathLikeMenus();
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
    QVERIFY(f.mmOpen->isVisible());
    QVERIFY(f.mmGroup->isVisible());
    QVERIFY(!f.mmPlotAll->isVisible());
    QVERIFY(!f.mmSave->isVisible());
    for (QWidget *view : {static_cast<QWidget *>(f.paInfo), static_cast<QWidget *>(f.sgResF), static_cast<QWidget *>(f.paPlot),
                          static_cast<QWidget *>(f.meInfo), static_cast<QWidget *>(f.paChart)})
        QVERIFY2(!view->isVisible(), qPrintable(view->objectName()));
    QCOMPARE(f.AppDir, fx.dir.path() + u'/');
    QVERIFY(f.KeyLabel() && !f.KeyLabel()->isVisible());
    QCOMPARE(f.KeyLabel()->text(), QStringLiteral("q8v1k4rж7эюb;951"));
    for (int tag = 0; tag < 16; ++tag) {
        QCOMPARE(f.plotLabel(tag)->tag(), tag);
        QCOMPARE(f.plotLabel(tag)->parentWidget(), f.paPlot);
        QVERIFY(f.plotLabel(tag)->text().isEmpty());
    }
    QCOMPARE(f.ChartAll->Tag, 0);
    QVERIFY(f.mmPlotSave->icon().isNull());
    QCOMPARE(f.seDelta->value(), 0.5);
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
    QVERIFY(fx.form->mmAbout);
    QCOMPARE(fx.form->mmAbout->shortcut(), QKeySequence(Qt::Key_F1));
    fx.form->show();
    QVERIFY(fx.form->close());
    QCOMPARE(fx.shell->calls.last(), QStringLiteral("releaseScreen"));
    QVERIFY(fx.shell->taskbarVisible);
    QVERIFY(!fx.shell->workAreaClaimed); // the work area is put back as it was found
    QVERIFY(!fx.form->KeyLabel());
}

void TestMainWindow::aboutDialog()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    TAboutBox *about = f.AboutBox;
    QVERIFY(!about->isVisible());
    f.mmAbout->trigger();
    QVERIFY(about->isVisible());
    QCOMPARE(about->windowTitle(), QStringLiteral("About"));
    QCOMPARE(about->size(), QSize(298, 225));
    QVERIFY(!about->isModal());
    QVERIFY(!QApplication::activeModalWidget());
    f.showAbout(); // shown again: still visible
    QVERIFY(about->isVisible());
    // The main window stays usable: a load goes through while the dialog is open.
    fx.load(Respondent());
    QCOMPARE(f.ceCode->text(), QStringLiteral("0042"));
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
    QCOMPARE(dialog.initialDir, f.AppDir + QStringLiteral("Data"));
    QCOMPARE(dialog.filter, QStringLiteral("CRY Files (*.cry)|*.cry"));
    QVERIFY(dialog.fileName.isEmpty());
    QCOMPARE(f.ceDate->text(), QStringLiteral("01.02.2003"));
    QCOMPARE(f.ceCode->text(), QStringLiteral("0042"));
    QCOMPARE(f.ceName->text(), QStringLiteral("Тест"));
    QCOMPARE(f.ImageInfo->toolTip(), QStringLiteral("И1\r\n\r\nИ3\r\nИ4"));
    QCOMPARE(f.laName->text(), QStringLiteral("ФИО"));
    QCOMPARE(f.ceNanket->text(), QStringLiteral("1"));
    QCOMPARE(f.chChart->foot(), QStringLiteral("0042 Тест 01.02.2003"));
    QCOMPARE(f.ChartAll->foot(), QStringLiteral("0042 Тест 01.02.2003"));
    QCOMPARE(f.Scores.IndexScores, r.indices);
    QCOMPARE(f.Scores.ItemScores, r.items);
    QVERIFY(f.mmPlotAll->isVisible() && f.mmSave->isVisible());
    QVERIFY(!f.mmPlotSave->icon().isNull());
    QVERIFY(!f.paPlot->isHidden() && !f.meInfo->isHidden() && !f.sgResF->isHidden());
    QCOMPARE(f.sgResF->currentColumnIndex(), 1);
    QCOMPARE(f.sgResF->currentRowIndex(), 1);
    QCOMPARE(f.memoText(), Resource::indexStatements(1).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

void TestMainWindow::openCancelChangesNothing()
{
    WindowFixture fx;
    fx.load(Respondent());
    const ScreenState before = ScreenState::of(*fx.form);
    fx.prompts->openAnswers << QString();
    fx.form->mmOpenClick();
    QVERIFY(ScreenState::of(*fx.form) == before);
    QVERIFY(fx.prompts->errors.isEmpty());
}

void TestMainWindow::failingLoadKeepsProfile_data()
{
    QTest::addColumn<QByteArray>("letters");
    QTest::addColumn<QString>("message");
    QStringList bad = plainLines(Respondent::uniform(2));
    bad[12] = QStringLiteral("3,4a");
    bad[1] = QStringLiteral("9999");
    QTest::newRow("letter after a number") << storedLetters(bad.join(QStringLiteral("\r\n")))
                                           << QStringLiteral("'3,4a' is not a valid floating point value");
    QStringList shortFile = plainLines(Respondent::uniform(2)).mid(0, 80);
    QTest::newRow("80 lines") << storedLetters(shortFile.join(QStringLiteral("\r\n")))
                              << QStringLiteral("'' is not a valid floating point value");
    QTest::newRow("oversized") << QByteArray(70000, 'a') << QStringLiteral("слишком велик");
    QTest::newRow("missing") << QByteArray() << QStringLiteral("Cannot open file");
}

void TestMainWindow::failingLoadKeepsProfile()
{
    QFETCH(QByteArray, letters);
    QFETCH(QString, message);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(Respondent());
    f.sgResF->moveTo(1, 7);
    const ScreenState before = ScreenState::of(f);
    const QString path = letters.isEmpty() ? fx.dir.filePath(QStringLiteral("Data/absent.cry"))
                                           : writeStoredFile(fx.dataDir(), QStringLiteral("bad.cry"), letters);
    fx.prompts->openAnswers << path;
    f.mmOpenClick();
    QCOMPARE(fx.prompts->errors.size(), 1);
    QVERIFY2(fx.prompts->errors.first().contains(message), qPrintable(fx.prompts->errors.first()));
    QCOMPARE(fx.prompts->errorCaptions.first(), TForm1::applicationTitle());
    QVERIFY(ScreenState::of(f) == before);
    QCOMPARE(f.sgResF->currentRowIndex(), 7);
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
    QCOMPARE(fx.form->sgResF->cellText(1, 1), shown);
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
    QCOMPARE(dialog.initialDir, f.AppDir + QStringLiteral("Data"));
    QCOMPARE(f.ceCode->text(), QStringLiteral("0000"));
    QCOMPARE(f.ceDate->text(), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    QCOMPARE(f.laName->text(), QStringLiteral("Группа"));
    QCOMPARE(f.ceName->text(), QStringLiteral("Группа"));
    QCOMPARE(f.ceNanket->text(), QStringLiteral("1"));
    QCOMPARE(f.ImageInfo->toolTip(), QStringLiteral("Состав группы:\r\nПетров"));
    QCOMPARE(f.Scores.IndexScores, r.indices);
    QCOMPARE(f.chChart->foot(), QStringLiteral("0000 Группа ") + f.ceDate->text());
    QVERIFY(f.mmPlotAll->isVisible() && f.mmSave->isVisible());
    QCOMPARE(f.sgResF->currentRowIndex(), 1);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestMainWindow::groupFailuresKeepProfile_data()
{
    QTest::addColumn<bool>("withBadMember");
    QTest::addColumn<QString>("message");
    QTest::newRow("bad member") << true << QStringLiteral("'' is not a valid floating point value\n");
    QTest::newRow("empty folder") << false << QStringLiteral("нет файлов результатов");
}

void TestMainWindow::groupFailuresKeepProfile()
{
    QFETCH(bool, withBadMember);
    QFETCH(QString, message);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(Respondent());
    QTemporaryDir group;
    if (withBadMember) {
        writeResultFile(group.path(), QStringLiteral("a.cry"), Respondent::uniform(4));
        writeStoredFile(group.path(), QStringLiteral("b.cry"), storedLetters(QStringLiteral("x\r\ny\r\n")));
    }
    const ScreenState before = ScreenState::of(f);
    fx.prompts->openAnswers << group.filePath(QStringLiteral("any.cry"));
    f.mmGroupClick();
    QCOMPARE(fx.prompts->errors.size(), 1);
    QVERIFY2(fx.prompts->errors.first().contains(message), qPrintable(fx.prompts->errors.first()));
    if (withBadMember)
        QVERIFY(fx.prompts->errors.first().endsWith(QStringLiteral("b.cry")));
    QVERIFY(ScreenState::of(f) == before);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestMainWindow::groupCancelAndCursor()
{
    WindowFixture fx;
    fx.prompts->openAnswers << QString();
    fx.form->mmGroupClick();
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(fx.form->paPlot->isHidden());
    QVERIFY(!fx.form->mmPlotAll->isVisible());
}

void TestMainWindow::longGroupShowsProgressAndCancels()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    fx.load(Respondent());
    const ScreenState before = ScreenState::of(f);
    // A group of a hundred can be cancelled too: progress comes every 64 members at the latest.
    QTemporaryDir group;
    const QByteArray letters = storedLetters(plainText(Respondent::uniform(4)));
    for (int k = 0; k < 100; ++k)
        writeStoredFile(group.path(), QStringLiteral("m%1.cry").arg(k, 4, 10, QChar(u'0')), letters);
    f.groupProgressDelay = 0;
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
    QVERIFY(ScreenState::of(f) == before);
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(f.cursor().shape(), Qt::ArrowCursor);
}

void TestMainWindow::dataAfterGroupRestoresIndividualHeader()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    writeResultFile(fx.dataDir(), QStringLiteral("a.cry"), Respondent());
    writeResultFile(fx.dataDir(), QStringLiteral("b.cry"), Respondent());
    fx.prompts->openAnswers << fx.dataDir() + QStringLiteral("/a.cry");
    f.mmGroupClick();
    QCOMPARE(f.ceNanket->text(), QStringLiteral("2"));
    fx.load(Respondent(), QStringLiteral("a.cry"));
    QCOMPARE(f.laName->text(), QStringLiteral("ФИО"));
    QCOMPARE(f.ceNanket->text(), QStringLiteral("1"));
    QCOMPARE(f.ceCode->text(), QStringLiteral("0042"));
    QCOMPARE(f.ImageInfo->toolTip(), Respondent().info.join(QStringLiteral("\r\n")));
}

void TestMainWindow::keyLabelDeciphersMemo()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    const QString plain = QStringLiteral("строка 1\r\nline 2");
    f.meInfo->setPlainText(QString::fromLatin1(storedLetters(plain)));
    f.DecipherInfoText();
    QCOMPARE(f.memoText(), plain);
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
    const ScreenState before = ScreenState::of(*viaPath.form);
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
        QVERIFY(ScreenState::of(*viaPath.form) == ScreenState::of(*viaMenu.form));
    } else {
        // A bad argument gets the usual message; a drop of anything but a result file is not taken.
        const bool message = what == QLatin1String("missing") || how == QLatin1String("argument");
        QCOMPARE(viaPath.prompts->errors.size(), message ? 1 : 0);
        QVERIFY(ScreenState::of(*viaPath.form) == before);
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
