// The analysis window of a group, driven as a consultant drives it: "Анализ" in the menu bar, the
// spread and its bars, the heat map of the departments with the anonymity threshold, sorting, a
// double click that shows a department in the main window, copying and saving the tables.

#include "InfoCaptions.h"
#include "AnalysisWindow.h"
#include "AnswerBars.h"
#include "Questionnaire.h"
#include "SegmentsTable.h"
#include "WindowFixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QComboBox>
#include <QMimeData>
#include <QFile>
#include <QGuiApplication>
#include <QDropEvent>
#include <QHeaderView>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

using namespace TestSupport;

namespace {

// The departments of the heat map: index 1 of each member, the rest at 3; statement 1 answered as given.
struct Member
{
    QString department;
    double firstIndex;
    double firstItem;
};

const QList<Member> Firm = {
    {QStringLiteral("Склад"), 4.0, 1},   {QStringLiteral("Склад"), 4.0, 2},   {QStringLiteral("Склад"), 4.0, 4},
    {QStringLiteral("Склад"), 4.0, 5},   {QStringLiteral("Склад"), 4.0, 5},   {QStringLiteral("Продажи"), 1.0, 3},
    {QStringLiteral("Продажи"), 1.0, 3}, {QStringLiteral("Продажи"), 1.0, 3}, {QStringLiteral("Офис"), 2.9, 1},
    {QStringLiteral("Офис"), 2.9, 1},    {QStringLiteral("Офис"), 2.9, 2},    {QStringLiteral("Офис"), 2.9, 4},
    {QStringLiteral("Офис"), 2.9, 5},
};
constexpr double FirmIndex1 = (5 * 4.0 + 3 * 1.0 + 5 * 2.9) / 13;

// Writes the members into Data/<folder>/ (a member's department with a '/' goes into that sub-folder
// instead) and loads them through "Group".
void loadGroup(WindowFixture &fx, const QString &folder, const QList<Member> &members, bool inSubfolders = false)
{
    const QString root = QDir(fx.dataDir()).filePath(folder);
    for (qsizetype k = 0; k < members.size(); ++k) {
        Respondent r = Respondent::uniform(3.0);
        r.name = QStringLiteral("Участник %1").arg(k);
        r.code = QStringLiteral("%1-%2").arg(folder).arg(k);
        r.info[0] = members[k].department;
        r.indices[0] = members[k].firstIndex;
        r.items[0] = members[k].firstItem;
        const QString place = inSubfolders ? QDir(root).filePath(members[k].department) : root;
        QDir().mkpath(place);
        writeResultFile(place, QStringLiteral("m%1.cry").arg(k, 2, 10, QChar(u'0')), r);
    }
    fx.prompts->openAnswers << QDir(root).filePath(QStringLiteral("any.cry"));
    fx.action("mmGroup")->trigger();
}

AnalysisWindow *openAnalysis(WindowFixture &fx)
{
    fx.action("mmAnalysisWindow")->trigger();
    auto *window = fx.find<AnalysisWindow>(QStringLiteral("analysisWindow"));
    if (window && !QTest::qWaitForWindowExposed(window))
        return nullptr;
    return window;
}

QTableView *table(AnalysisWindow *window, const char *name)
{
    return window->findChild<QTableView *>(QString::fromLatin1(name));
}

// The texts of a column as the view shows them, top to bottom.
QStringList column(const QTableView *view, int c)
{
    QStringList texts;
    for (int r = 0; r < view->model()->rowCount(); ++r)
        texts << view->model()->index(r, c).data().toString();
    return texts;
}

int rowOf(const QTableView *view, const QString &name)
{
    return int(column(view, 0).indexOf(name));
}

QColor background(const QTableView *view, const QString &name, int c)
{
    return view->model()->index(rowOf(view, name), c).data(Qt::BackgroundRole).value<QColor>();
}

void doubleClick(QTableView *view, int row, int c = 0)
{
    // As the system sends it: a click, then the second press as a double click.
    const QRect cell = view->visualRect(view->model()->index(row, c));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

// A respondent other than the default one (its own code), every score set to value.
Respondent otherRespondent(double value)
{
    Respondent r = Respondent::uniform(value);
    r.code = QStringLiteral("0043");
    return r;
}

} // namespace

class TestAnalysisWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void menuCommand_data();
    void menuCommand();
    void tabs();
    void reliabilityAndSignificance();
    void heatMapOfDepartments();
    void longNameKeepsScoresInView();
    void shadeFollowsRange();
    void sortingKeepsGroupOnTopAndHiddenAtTheBottom_data();
    void sortingKeepsGroupOnTopAndHiddenAtTheBottom();
    void doubleClickShowsSegment();
    void departmentsInSubfolders();
    void answerBars();
    void captionsNameTheSplits_data();
    void captionsNameTheSplits();
    void copying();
    void saving_data();
    void saving();
    void comparisonChoices_data();
    void comparisonChoices();
    void newLoadEndsComparison_data();
    void newLoadEndsComparison();
    void memberOfSegmentShown();
};

void TestAnalysisWindow::initTestCase()
{
    // The captions the questionnaire keeps are the test's own, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(Questionnaire::settingsPath());
}

void TestAnalysisWindow::menuCommand_data()
{
    QTest::addColumn<QString>("loaded"); // "", "respondent" or "group"
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("nothing loaded") << QString() << false << false;
    QTest::newRow("one respondent") << QStringLiteral("respondent") << true << false;
    QTest::newRow("a group") << QStringLiteral("group") << true << true;
}

void TestAnalysisWindow::menuCommand()
{
    QFETCH(QString, loaded);
    QFETCH(bool, visible);
    QFETCH(bool, enabled);
    WindowFixture fx;
    if (loaded == QLatin1String("respondent"))
        fx.load(Respondent::uniform(3));
    else if (loaded == QLatin1String("group"))
        loadGroup(fx, QStringLiteral("firm"), Firm);
    QAction *analysis = fx.action("mmAnalysisWindow");
    QVERIFY(analysis);
    QCOMPARE(analysis->text().remove(u'&'), QStringLiteral("Анализ"));
    // In the menu bar, right after "Save", and shown with it.
    const QList<QAction *> bar = fx.form->menuBar()->actions();
    QCOMPARE(bar.indexOf(analysis), bar.indexOf(fx.action("mmSave")) + 1);
    QCOMPARE(analysis->isVisible(), visible);
    QCOMPARE(fx.action("mmSave")->isVisible(), visible);
    QCOMPARE(analysis->isEnabled(), enabled);
    analysis->trigger();
    auto *window = fx.find<AnalysisWindow>(QStringLiteral("analysisWindow"));
    QCOMPARE(window != nullptr, enabled);
}

void TestAnalysisWindow::tabs()
{
    WindowFixture fx;
    loadGroup(fx, QStringLiteral("firm"), Firm);
    AnalysisWindow *window = openAnalysis(fx);
    QVERIFY(window);
    QTRY_VERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Анализ группы"));
    auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("analysisTabs"));
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), 6);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Разброс"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Сегменты"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("Сравнение"));
    QCOMPARE(tabs->tabText(3), QStringLiteral("Надёжность"));
    // The survey archive's tabs, which read the archive only when shown.
    QCOMPARE(tabs->tabText(4), QStringLiteral("Нормы"));
    QCOMPARE(tabs->tabText(5), QStringLiteral("Динамика"));
    // The third page is the main window's to fill.
    QWidget *comparison = window->findChild<QWidget *>(QStringLiteral("comparisonPage"));
    QCOMPARE(comparison, window->comparisonPage());
    QCOMPARE(tabs->widget(2), comparison);
    QVERIFY(qobject_cast<QVBoxLayout *>(comparison->layout()));
    // Opened again for the same group, the same window comes back.
    window->close();
    QCOMPARE(openAnalysis(fx), window);
    QTRY_VERIFY(window->isVisible());
}

void TestAnalysisWindow::heatMapOfDepartments()
{
    WindowFixture fx;
    loadGroup(fx, QStringLiteral("firm"), Firm);
    AnalysisWindow *window = openAnalysis(fx);
    QTableView *heatMap = table(window, "segmentsTable");
    QVERIFY(heatMap);
    QCOMPARE(window->splitBy(), GroupArithmetic::SplitBy::Info1);
    QCOMPARE(column(heatMap, 0),
             QStringList({QStringLiteral("Вся группа"), QStringLiteral("Офис"), QStringLiteral("Продажи"), QStringLiteral("Склад")}));
    // Three in "Продажи": below the default threshold of 5 it shows no score, but counts in the group;
    // "Офис", the smaller of the others (by name where they tie), hides its scores too, which would
    // otherwise give away those of "Продажи" with the group's.
    QCOMPARE(column(heatMap, 1), QStringList({QStringLiteral("13"), QStringLiteral("5 (скрыт для анонимности)"),
                                              QStringLiteral("менее 5 анкет"), QStringLiteral("5")}));
    QCOMPARE(column(heatMap, 2), QStringList({Scoring::scoreText(FirmIndex1), QString(), QString(), Scoring::scoreText(4.0)}));
    for (int c = 2; c < heatMap->model()->columnCount(); ++c) {
        QVERIFY(heatMap->model()->index(2, c).data().toString().isEmpty());
        QVERIFY(!heatMap->model()->index(2, c).data(Qt::BackgroundRole).isValid());
    }
    auto *minimum = window->findChild<QSpinBox *>(QStringLiteral("minimumSize"));
    QVERIFY(minimum);
    QCOMPARE(minimum->value(), 5);
    QCOMPARE(minimum->minimum(), 3);
    minimum->setValue(3);
    QTRY_COMPARE(column(heatMap, 1)[rowOf(heatMap, QStringLiteral("Продажи"))], QStringLiteral("3"));
    QCOMPARE(column(heatMap, 2)[rowOf(heatMap, QStringLiteral("Продажи"))], Scoring::scoreText(1.0));
    QCOMPARE(column(heatMap, 2)[rowOf(heatMap, QStringLiteral("Офис"))], Scoring::scoreText(2.9));
    minimum->setValue(6);
    QTRY_COMPARE(column(heatMap, 1)[rowOf(heatMap, QStringLiteral("Склад"))], QStringLiteral("менее 6 анкет"));
    // Another information line: everyone has the same, one segment.
    auto *splitBy = window->findChild<QComboBox *>(QStringLiteral("splitBy"));
    splitBy->setCurrentIndex(splitBy->findData(int(GroupArithmetic::SplitBy::Info2)));
    QTRY_COMPARE(heatMap->model()->rowCount(), 2);
    QCOMPARE(column(heatMap, 0)[1], QStringLiteral("Должность"));
}

void TestAnalysisWindow::longNameKeepsScoresInView()
{
    // A department named with a thousand characters: elided, and the scores beside it stay in view.
    QList<Member> members = Firm;
    for (Member &member : members)
        if (member.department == QLatin1String("Склад"))
            member.department = QString(1000, u'Ж');
    WindowFixture fx;
    loadGroup(fx, QStringLiteral("firm"), members);
    AnalysisWindow *window = openAnalysis(fx);
    QVERIFY(window);
    QTableView *heatMap = table(window, "segmentsTable");
    QTRY_COMPARE(heatMap->model()->rowCount(), 4);
    QVERIFY2(heatMap->columnViewportPosition(2) + heatMap->columnWidth(2) <= window->width(),
             qPrintable(QStringLiteral("index 1 at %1, the window %2 wide").arg(heatMap->columnViewportPosition(2)).arg(window->width())));
    QCOMPARE(heatMap->textElideMode(), Qt::ElideMiddle);
}

void TestAnalysisWindow::shadeFollowsRange()
{
    WindowFixture fx;
    loadGroup(fx, QStringLiteral("firm"), Firm);
    AnalysisWindow *window = openAnalysis(fx);
    QTableView *heatMap = table(window, "segmentsTable");
    window->findChild<QSpinBox *>(QStringLiteral("minimumSize"))->setValue(3);
    QCOMPARE(fx.form->band(), 0.5);
    // "Склад" is 1.12 above the group: green; "Продажи" 1.88 below: red, and darker; "Офис" within.
    const QColor above = background(heatMap, QStringLiteral("Склад"), 2);
    const QColor below = background(heatMap, QStringLiteral("Продажи"), 2);
    QVERIFY(above.isValid() && above.green() > above.red());
    QVERIFY(below.isValid() && below.red() > below.green());
    QVERIFY(below.lightnessF() < above.lightnessF());
    QVERIFY(!background(heatMap, QStringLiteral("Офис"), 2).isValid());
    // Index 2 is 3 everywhere: no shade; the whole group's row is never shaded.
    QVERIFY(!background(heatMap, QStringLiteral("Склад"), 3).isValid());
    QVERIFY(!background(heatMap, QStringLiteral("Вся группа"), 2).isValid());
    // A wider "Range" in the main window takes "Склад" into the neutral band.
    fx.delta()->setValue(1.5);
    QTRY_VERIFY(!background(heatMap, QStringLiteral("Склад"), 2).isValid());
    QVERIFY(background(heatMap, QStringLiteral("Продажи"), 2).isValid());
}

void TestAnalysisWindow::sortingKeepsGroupOnTopAndHiddenAtTheBottom_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<QStringList>("names");
    const QString group = QStringLiteral("Вся группа");
    QTest::newRow("index 1 descending") << 2 << Qt::DescendingOrder
                                        << QStringList{group, QStringLiteral("Склад"), QStringLiteral("Офис"), QStringLiteral("Продажи")};
    QTest::newRow("index 1 ascending") << 2 << Qt::AscendingOrder
                                       << QStringList{group, QStringLiteral("Склад"), QStringLiteral("Офис"), QStringLiteral("Продажи")};
    QTest::newRow("name descending") << 0 << Qt::DescendingOrder
                                     << QStringList{group, QStringLiteral("Склад"), QStringLiteral("Продажи"), QStringLiteral("Офис")};
}

void TestAnalysisWindow::sortingKeepsGroupOnTopAndHiddenAtTheBottom()
{
    QFETCH(int, column);
    QFETCH(Qt::SortOrder, order);
    QFETCH(QStringList, names);
    WindowFixture fx;
    loadGroup(fx, QStringLiteral("firm"), Firm);
    QTableView *heatMap = table(openAnalysis(fx), "segmentsTable");
    heatMap->horizontalHeader()->setSortIndicator(column, order);
    QTRY_COMPARE(::column(heatMap, 0), names);
}

void TestAnalysisWindow::doubleClickShowsSegment()
{
    WindowFixture fx;
    loadGroup(fx, QStringLiteral("firm"), Firm);
    AnalysisWindow *window = openAnalysis(fx);
    window->findChild<QTabWidget *>(QStringLiteral("analysisTabs"))->setCurrentIndex(1);
    QTableView *heatMap = table(window, "segmentsTable");
    QTRY_VERIFY(heatMap->isVisible());
    QCOMPARE(fx.edit("ceNanket")->text(), QStringLiteral("13"));
    // A hidden segment is not shown in the main window either.
    doubleClick(heatMap, rowOf(heatMap, QStringLiteral("Продажи")));
    QCOMPARE(fx.form->profile().respondentCount(), 13);
    doubleClick(heatMap, rowOf(heatMap, QStringLiteral("Склад")), 5);
    QTRY_COMPARE(fx.edit("ceName")->text(), QStringLiteral("Склад"));
    QCOMPARE(fx.edit("ceNanket")->text(), QStringLiteral("5"));
    QVERIFY(fx.form->profile().group);
    QCOMPARE(fx.form->profile().scores.index(1), 4.0);
    QCOMPARE(fx.form->profile().members->size(), 5);
    // The analysis window stays with the whole group; its own row shows the whole group again.
    QVERIFY(window->isVisible());
    doubleClick(heatMap, rowOf(heatMap, QStringLiteral("Вся группа")));
    QTRY_COMPARE(fx.edit("ceNanket")->text(), QStringLiteral("13"));
    QCOMPARE(fx.edit("ceName")->text(), QStringLiteral("Группа"));
    QCOMPARE(fx.form->profile().scores.index(1), FirmIndex1);
}

void TestAnalysisWindow::departmentsInSubfolders()
{
    WindowFixture fx;
    QList<Member> members = Firm;
    for (Member &m : members)
        m.department = m.department == QStringLiteral("Склад") ? QStringLiteral("Отдел 1") : QStringLiteral("Отдел 2");
    members.resize(7); // five in "Отдел 1", two in "Отдел 2"
    loadGroup(fx, QStringLiteral("departments"), members, true);
    QCOMPARE(fx.edit("ceNanket")->text(), QStringLiteral("7"));
    AnalysisWindow *window = openAnalysis(fx);
    QCOMPARE(window->splitBy(), GroupArithmetic::SplitBy::Folder);
    QTableView *heatMap = table(window, "segmentsTable");
    QCOMPARE(column(heatMap, 0), QStringList({QStringLiteral("Вся группа"), QStringLiteral("Отдел 1"), QStringLiteral("Отдел 2")}));
    QCOMPARE(column(heatMap, 1), QStringList({QStringLiteral("7"), QStringLiteral("5 (скрыт для анонимности)"),
                                              QStringLiteral("менее 5 анкет")}));
}

void TestAnalysisWindow::answerBars()
{
    WindowFixture fx;
    loadGroup(fx, QStringLiteral("firm"), Firm);
    AnalysisWindow *window = openAnalysis(fx);
    QTableView *spread = table(window, "spreadTable");
    QVERIFY(spread);
    QCOMPARE(spread->model()->rowCount(), 76);
    // Statement 1 (row 16): three answered 1, two 2, three 3, two 4 and three 5.
    QCOMPARE(spread->model()->index(16, 0).data().toString(), QStringLiteral("Утверждение 1"));
    QStringList answers;
    for (int c = 6; c < 11; ++c)
        answers << spread->model()->index(16, c).data().toString();
    QCOMPARE(answers, QStringList({QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("3")}));
    // A negatively worded statement is marked: its answers are not its scores.
    QCOMPARE(spread->model()->index(16 + 14, 0).data().toString(), QStringLiteral("Утверждение 15 (*)"));

    auto *bars = window->findChild<AnswerBars *>(QStringLiteral("answerBars"));
    QVERIFY(bars);
    window->findChild<QTabWidget *>(QStringLiteral("analysisTabs"))->setCurrentIndex(0);
    QTRY_VERIFY(bars->isVisible() && bars->width() > 100);
    QCOMPARE(bars->bars().size(), 5);
    QCOMPARE(bars->bars()[0].statement, 1);
    QCOMPARE(bars->bars()[0].counts, (std::array<qsizetype, 5>{3, 2, 3, 2, 3}));
    // Disagreement to the left of the centre line, agreement to the right, answer 3 halved across it.
    const std::array<QRectF, 6> parts = bars->partRects(0);
    const qreal centre = bars->centreX();
    QCOMPARE(parts[0].right(), centre);
    QCOMPARE(parts[3].left(), centre);
    QCOMPARE(parts[0].width(), parts[3].width());
    QCOMPARE(parts[1].right(), parts[0].left());
    QCOMPARE(parts[2].right(), parts[1].left());
    QCOMPARE(parts[4].left(), parts[3].right());
    QCOMPARE(parts[5].left(), parts[4].right());
    QCOMPARE(parts[2].width(), parts[5].width()); // three answered 1, three 5
    QVERIFY(std::abs(parts[1].width() / parts[2].width() - 2.0 / 3) < 1e-9);
    QCOMPARE(AnswerBars::shareText(AnswerBars::shares(bars->bars()[0].counts)[0]), QStringLiteral("23%"));
    // Statements 2 to 5: everyone answered 3, all of it across the centre line.
    const std::array<QRectF, 6> neutral = bars->partRects(1);
    QVERIFY(neutral[1].isEmpty() && neutral[2].isEmpty() && neutral[4].isEmpty() && neutral[5].isEmpty());
    QCOMPARE(neutral[0].width(), neutral[3].width());
    // Another index shows its own five statements.
    auto *index = window->findChild<QComboBox *>(QStringLiteral("spreadIndex"));
    index->setCurrentIndex(2);
    QTRY_COMPARE(bars->bars()[0].statement, 11);
    QCOMPARE(bars->bars()[4].statement, 15);
    QCOMPARE(bars->title(), Resource::indexCaption(3));
    QVERIFY(!bars->grab().isNull());
}

void TestAnalysisWindow::captionsNameTheSplits_data()
{
    QTest::addColumn<QByteArray>("map");        // the import's column map saved with the folder; empty: none
    QTest::addColumn<QStringList>("stored");    // the questionnaire's captions in the settings; empty: none
    QTest::addColumn<QStringList>("splits");    // the five split names offered
    QTest::addColumn<QString>("heading");       // the heat map's first column split by line 1
    const QString folders = QStringLiteral("Подпапки");
    QTest::newRow("none known")
        << QByteArray() << QStringList()
        << QStringList{QStringLiteral("Информация 1"), QStringLiteral("Информация 2"), QStringLiteral("Информация 3"), QStringLiteral("Информация 4"), folders}
        << QStringLiteral("Сегмент");
    // A column the import found by its number has no caption; the questionnaire's fills the gap.
    QTest::newRow("the import's, then the questionnaire's")
        << QByteArray("# map\r\ncode = Код\r\ninfo1 = Отдел компании\r\ninfo2 = #6\r\n")
        << QStringList{QStringLiteral("Подразделение"), QStringLiteral("Должность"), QString(), QStringLiteral("Возраст")}
        << QStringList{QStringLiteral("Отдел компании"), QStringLiteral("Должность"), QStringLiteral("Информация 3"), QStringLiteral("Возраст"), folders}
        << QStringLiteral("Отдел компании");
    QTest::newRow("the questionnaire's")
        << QByteArray() << QStringList{QStringLiteral("Подразделение"), QStringLiteral("Должность"), QStringLiteral("Стаж"), QStringLiteral("Возраст")}
        << QStringList{QStringLiteral("Подразделение"), QStringLiteral("Должность"), QStringLiteral("Стаж"), QStringLiteral("Возраст"), folders}
        << QStringLiteral("Подразделение");
}

void TestAnalysisWindow::captionsNameTheSplits()
{
    QFETCH(QByteArray, map);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, splits);
    QFETCH(QString, heading);
    QFile::remove(Questionnaire::settingsPath());
    if (!stored.isEmpty()) {
        QSettings settings(Questionnaire::settingsPath(), QSettings::IniFormat);
        for (int n = 1; n <= 4; ++n)
            if (!stored[n - 1].isEmpty())
                settings.setValue(QStringLiteral("captions/info%1").arg(n), stored[n - 1]);
    }
    WindowFixture fx;
    const QString folder = QDir(fx.dataDir()).filePath(QStringLiteral("firm"));
    QDir().mkpath(folder);
    if (!map.isEmpty()) {
        QFile file(QDir(folder).filePath(QStringLiteral("zolk-import-map.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(map);
    }
    loadGroup(fx, QStringLiteral("firm"), Firm);
    AnalysisWindow *window = openAnalysis(fx);
    QFile::remove(Questionnaire::settingsPath());
    auto *splitBy = window->findChild<QComboBox *>(QStringLiteral("splitBy"));
    QVERIFY(splitBy);
    QStringList offered;
    for (int k = 0; k < splitBy->count(); ++k)
        offered << splitBy->itemText(k);
    QCOMPARE(offered, splits);
    QCOMPARE(table(window, "segmentsTable")->model()->headerData(0, Qt::Horizontal).toString(), heading);
}

void TestAnalysisWindow::copying()
{
    WindowFixture fx;
    loadGroup(fx, QStringLiteral("firm"), Firm);
    AnalysisWindow *window = openAnalysis(fx);
    window->findChild<QTabWidget *>(QStringLiteral("analysisTabs"))->setCurrentIndex(1);
    QTableView *heatMap = table(window, "segmentsTable");
    QClipboard *clipboard = QGuiApplication::clipboard();
    // Nothing selected: the whole table, the header with the full titles.
    heatMap->clearSelection();
    clipboard->clear();
    window->findChild<QPushButton *>(QStringLiteral("copySegments"))->click();
    const QStringList lines = clipboard->text().split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5);
    QVERIFY2(lines[0].startsWith(QStringLiteral("Сегмент\tn\t1. Делегирование полномочий\t")), qPrintable(lines[0]));
    QVERIFY(lines[3].startsWith(QStringLiteral("Продажи\tменее 5 анкет\t\t")));
    QCOMPARE(lines[1].split(u'\t').size(), 20); // the scores, then "Согласие"
    // A selection: its cells only, as Ctrl+C on the table copies them.
    const int store = rowOf(heatMap, QStringLiteral("Склад"));
    heatMap->selectionModel()->select(heatMap->model()->index(store, 0), QItemSelectionModel::Select);
    heatMap->selectionModel()->select(heatMap->model()->index(store, 2), QItemSelectionModel::Select);
    QCOMPARE(AnalysisWindow::copiedText(heatMap), QStringLiteral("Склад\t\t%1\n").arg(Scoring::scoreText(4.0)));
    window->activateWindow();
    heatMap->setFocus();
    QTRY_VERIFY(heatMap->hasFocus());
    clipboard->clear();
    QTest::keyClick(heatMap, Qt::Key_C, Qt::ControlModifier);
    QTRY_COMPARE(clipboard->text(), AnalysisWindow::copiedText(heatMap));
}

void TestAnalysisWindow::saving_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("file");       // in Results/; "missing/..." is in a folder that does not exist
    QTest::addColumn<QByteArray>("starts");  // the file's first bytes; empty: no file, an error shown
    QTest::addColumn<QString>("holds");      // a text a CSV holds
    QTest::newRow("segments as CSV") << QStringLiteral("saveSegments") << QStringLiteral("s.csv") << QByteArray("\xEF\xBB\xBF")
                                     << QStringLiteral("менее 5 анкет");
    QTest::newRow("segments as a workbook") << QStringLiteral("saveSegments") << QStringLiteral("s") << QByteArray("PK") << QString();
    QTest::newRow("spread as CSV") << QStringLiteral("saveSpread") << QStringLiteral("r.csv") << QByteArray("\xEF\xBB\xBF")
                                   << QStringLiteral("Утверждение 60");
    QTest::newRow("into a missing folder") << QStringLiteral("saveSpread") << QStringLiteral("missing/r.csv") << QByteArray() << QString();
}

void TestAnalysisWindow::saving()
{
    QFETCH(QString, button);
    QFETCH(QString, file);
    QFETCH(QByteArray, starts);
    QFETCH(QString, holds);
    WindowFixture fx;
    loadGroup(fx, QStringLiteral("firm"), Firm);
    AnalysisWindow *window = openAnalysis(fx);
    const QString chosen = QDir(fx.resultsDir()).filePath(file);
    fx.prompts->saveAnswers << chosen;
    window->findChild<QPushButton *>(button)->click();
    QCOMPARE(fx.prompts->saveDialogs.size(), 1);
    QCOMPARE(fx.prompts->saveDialogs[0].defaultSuffix, QStringLiteral("xlsx"));
    QCOMPARE(fx.prompts->saveDialogs[0].initialDir, fx.resultsDir());
    const QString written = file.endsWith(QLatin1String(".csv")) ? chosen : chosen + QStringLiteral(".xlsx");
    if (starts.isEmpty()) {
        QCOMPARE(fx.prompts->errors.size(), 1);
        QCOMPARE(fx.prompts->errorCaptions.value(0), TForm1::applicationTitle());
        QVERIFY(!QFile::exists(written));
        QCOMPARE(QDir(fx.resultsDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        return;
    }
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    QFile saved(written);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    QVERIFY(bytes.startsWith(starts));
    if (!holds.isEmpty())
        QVERIFY(QString::fromUtf8(bytes).contains(holds));
}

void TestAnalysisWindow::comparisonChoices_data()
{
    // How the reference is chosen on the "Сравнение" page, and what it then is.
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("name");    // the reference's name as the page and the legend give it
    QTest::addColumn<double>("index1");   // the reference's index 1
    // The figures under the choice: the last column's heading, and its text for index 1 and 2.
    QTest::addColumn<QString>("lastColumn");
    QTest::addColumn<QString>("index1Figure");
    QTest::addColumn<QString>("index2Figure");
    // Member 0 answered statement 1 with 1 as two others did, nobody lower: 100 * 1.5 / 13 = 11,5;
    // index 2 is 3 for all: 50.
    QTest::newRow("the whole group, a member shown") << "group" << "Группа firm (13 анкет)" << FirmIndex1
                                                     << "Процентиль в группе" << "12" << "50";
    // The group against its department: statement 1 varies in both, index 2 nowhere; the one p:
    // t.test(c(1,2,4,5,5,3,3,3,1,1,2,4,5), c(1,2,4,5,5))$p.value
    QTest::newRow("a segment") << "segment" << "Склад, по строке 1, группа firm (5 анкет)" << 4.0 << "p" << "p = 0.677"
                               << "не определено";
    QTest::newRow("another result file") << "file" << "Эталон (файл reference.cry)" << 2.5 << "p" << "не определено"
                                         << "не определено";
    // The group against two members of 1,5 and 2,5 everywhere: 12 p-values of 0,29 or so, each
    // adjusted to 1 by Holm: p.adjust(c(0.288, rep(0.295, 11)), "holm")
    QTest::newRow("another folder") << "folder" << "Папка other (2 анкеты)" << 2.0 << "p" << "p = 1.000" << "p = 1.000";
    // Read as "Group" reads: an unreadable file is left out once the user agrees.
    QTest::newRow("another folder with a damaged file") << "folder, damaged" << "Папка other (2 анкеты)" << 2.0 << "p"
                                                        << "p = 1.000" << "p = 1.000";
}

void TestAnalysisWindow::comparisonChoices()
{
    QFETCH(QString, choice);
    QFETCH(QString, name);
    QFETCH(double, index1);
    QFETCH(QString, lastColumn);
    QFETCH(QString, index1Figure);
    QFETCH(QString, index2Figure);
    WindowFixture fx;
    loadGroup(fx, QStringLiteral("firm"), Firm);
    if (choice == QLatin1String("group"))
        fx.form->showMember(0);
    QVERIFY(fx.action("mmAnalysisWindow")->isEnabled()); // a member of the group still has its group's analysis
    AnalysisWindow *window = openAnalysis(fx);
    QVERIFY(window);
    QWidget *page = window->findChild<QWidget *>(QStringLiteral("comparisonPage"));
    QVERIFY(page);
    const auto button = [&](const char *objectName) { return page->findChild<QPushButton *>(QString::fromLatin1(objectName)); };
    if (choice == QLatin1String("group")) {
        // Showing a member compares it with its group already; the button chooses the same.
        QVERIFY(fx.form->session().reference());
        fx.form->session().setReference(std::nullopt);
        button("referenceGroup")->click();
    } else if (choice == QLatin1String("segment")) {
        auto *segments = page->findChild<QComboBox *>(QStringLiteral("referenceSegment"));
        segments->setCurrentIndex(segments->findText(QStringLiteral("Склад"), Qt::MatchStartsWith));
        button("referenceUseSegment")->click();
    } else if (choice == QLatin1String("file")) {
        Respondent r = Respondent::uniform(2.5);
        r.name = QStringLiteral("Эталон");
        fx.prompts->openAnswers << writeResultFile(fx.dataDir(), QStringLiteral("reference.cry"), r);
        button("referenceFile")->click();
    } else {
        const QString other = QDir(fx.dataDir()).filePath(QStringLiteral("other"));
        QDir().mkpath(other);
        writeResultFile(other, QStringLiteral("a.cry"), Respondent::uniform(1.5));
        writeResultFile(other, QStringLiteral("b.cry"), otherRespondent(2.5));
        if (choice.endsWith(QLatin1String("damaged"))) {
            writeStoredFile(other, QStringLiteral("c.cry"), "not a result");
            fx.prompts->confirmAnswers << true;
        }
        fx.prompts->openAnswers << QDir(other).filePath(QStringLiteral("a.cry"));
        button("referenceFolder")->click();
        QCOMPARE(fx.prompts->questions.size(), choice.endsWith(QLatin1String("damaged")) ? 1 : 0);
    }
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    QVERIFY(fx.form->session().reference());
    QCOMPARE(fx.form->session().reference()->scores.index(1), index1);
    QCOMPARE(fx.form->session().referenceName(), name);
    auto *on = page->findChild<QCheckBox *>(QStringLiteral("compareOn"));
    QVERIFY(on->isChecked());
    QVERIFY(page->findChild<QLabel *>(QStringLiteral("referenceName"))->text().contains(name));
    const QTableView *figures = table(window, "comparisonTable");
    QVERIFY(figures);
    const int last = figures->model()->columnCount() - 1;
    QCOMPARE(figures->model()->headerData(last, Qt::Horizontal).toString(), lastColumn);
    QCOMPARE(figures->model()->rowCount(), 12);
    // Figures with the locale's decimal separator.
    QCOMPARE(figures->model()->index(0, last).data().toString(), index1Figure.replace(u'.', QLocale().decimalPoint()));
    QCOMPARE(figures->model()->index(1, last).data().toString(), index2Figure.replace(u'.', QLocale().decimalPoint()));
    // Off and on again with the same reference.
    on->click();
    QVERIFY(!fx.form->session().reference());
    QVERIFY(!fx.detailChart()->series(u"SeriesReference")->isVisible());
    on->click();
    QCOMPARE(fx.form->session().reference()->scores.index(1), index1);
    QVERIFY(fx.detailChart()->series(u"SeriesReference")->isVisible());
}

void TestAnalysisWindow::reliabilityAndSignificance()
{
    // Two departments of six that differ on index 1; statement 2 of it runs against the other four
    // (a reversed statement read the wrong way round). The other statements are all 3.
    WindowFixture fx;
    const QString root = QDir(fx.dataDir()).filePath(QStringLiteral("stats"));
    QDir().mkpath(root);
    for (int k = 0; k < 12; ++k) {
        Respondent r = Respondent::uniform(3.0);
        r.info[0] = k < 6 ? QStringLiteral("Склад") : QStringLiteral("Офис");
        const double base = k < 6 ? 4 : 2;
        r.items[0] = base + k % 2;
        r.items[1] = 6 - r.items[0];
        r.items[2] = base + (k % 3 == 0);
        r.items[3] = base;
        r.items[4] = base + (k / 2) % 2;
        r.indices[0] = (r.items[0] + r.items[1] + r.items[2] + r.items[3] + r.items[4]) / 5;
        writeResultFile(root, QStringLiteral("m%1.cry").arg(k, 2, 10, QChar(u'0')), r);
    }
    fx.prompts->openAnswers << QDir(root).filePath(QStringLiteral("any.cry"));
    fx.action("mmGroup")->trigger();
    AnalysisWindow *window = openAnalysis(fx);
    QVERIFY(window);
    window->findChild<QTabWidget *>(QStringLiteral("analysisTabs"))->setCurrentIndex(3);
    QTableView *scales = table(window, "reliabilityTable");
    QVERIFY(scales);
    QTRY_COMPARE(scales->model()->rowCount(), 16);
    // Indices by the headings of their description blocks, as everywhere beyond the main window.
    QCOMPARE(scales->model()->index(6, 0).data().toString(), QStringLiteral("7. Управление изменениями"));
    QCOMPARE(table(window, "iccTable")->model()->index(3, 0).data().toString(), QStringLiteral("4. Базовые ценности"));
    // Index 1 has a figure; index 2, all 3, says why it has none.
    QVERIFY(!scales->model()->index(0, 2).data().toString().startsWith(QStringLiteral("не определено")));
    QCOMPARE(scales->model()->index(1, 5).data().toString(), QStringLiteral("не определено: утверждение 6 без разброса"));
    QTableView *statements = table(window, "reliabilityStatements");
    QCOMPARE(statements->model()->rowCount(), 5);
    QCOMPARE(column(statements, 3).count(QStringLiteral("обратная формулировка понята неверно?")), 1);
    QCOMPARE(column(statements, 3).indexOf(QStringLiteral("обратная формулировка понята неверно?")), 1);

    // The heat map marks index 1 of both departments, and says why in the tooltip.
    window->findChild<QTabWidget *>(QStringLiteral("analysisTabs"))->setCurrentIndex(1);
    QTableView *heatMap = table(window, "segmentsTable");
    const QModelIndex store = heatMap->model()->index(rowOf(heatMap, QStringLiteral("Склад")), SegmentsTable::FirstScoreColumn);
    QVERIFY2(store.data().toString().endsWith(QStringLiteral(" *")), qPrintable(store.data().toString()));
    const QString tip = store.data(Qt::ToolTipRole).toString();
    QVERIFY2(tip.contains(QStringLiteral("95 % ДИ")) && tip.contains(QStringLiteral("g = ")), qPrintable(tip));
    // Index 2 has no variance: no mark, and its tooltip says p is undefined.
    const QModelIndex flat = store.siblingAtColumn(SegmentsTable::FirstScoreColumn + 1);
    QVERIFY(!flat.data().toString().contains(u'*'));
    QVERIFY(flat.data(Qt::ToolTipRole).toString().contains(QStringLiteral("p не определено")));
    // Agreement per department; the ICCs below the table, with their reading.
    const int agreement = heatMap->model()->columnCount() - 1;
    QCOMPARE(heatMap->model()->headerData(agreement, Qt::Horizontal).toString(), QStringLiteral("Согласие"));
    QVERIFY(!store.siblingAtColumn(agreement).data().toString().isEmpty());
    QTableView *icc = table(window, "iccTable");
    QCOMPARE(icc->model()->rowCount(), 12);
    QVERIFY(icc->model()->index(0, 3).data().toString().startsWith(QStringLiteral("подразделения заметно различаются")));
    // Raising the threshold above both departments leaves nothing to test or compare.
    window->findChild<QSpinBox *>(QStringLiteral("minimumSize"))->setValue(7);
    QVERIFY(!store.data().toString().contains(u'*'));
    QVERIFY(heatMap->model()->index(rowOf(heatMap, QStringLiteral("Склад")), agreement).data().toString().isEmpty());
    QVERIFY(icc->model()->index(0, 1).data().toString().startsWith(QStringLiteral("не определено")));
}

void TestAnalysisWindow::newLoadEndsComparison_data()
{
    // A comparison with a segment of one company is on, its analysis window open; then comes a load.
    QTest::addColumn<QString>("load");
    QTest::addColumn<bool>("comparing");      // the comparison still on afterwards
    QTest::addColumn<QString>("analysed");    // the folder the analysis window shows; empty: closed
    QTest::newRow("Data") << "data" << false << QString();
    QTest::newRow("Group") << "group" << false << "other";
    QTest::newRow("a file from the command line") << "path file" << false << QString();
    QTest::newRow("a folder from the command line") << "path folder" << false << "other";
    QTest::newRow("a folder dropped") << "drop folder" << false << "other";
    QTest::newRow("a segment of the same group") << "segment" << true << "firm";
    QTest::newRow("a member of the same group") << "member" << true << "firm";
}

void TestAnalysisWindow::newLoadEndsComparison()
{
    QFETCH(QString, load);
    QFETCH(bool, comparing);
    QFETCH(QString, analysed);
    WindowFixture fx;
    loadGroup(fx, QStringLiteral("firm"), Firm);
    const QString other = QDir(fx.dataDir()).filePath(QStringLiteral("other"));
    QDir().mkpath(other);
    writeResultFile(other, QStringLiteral("a.cry"), Respondent::uniform(1.5));
    writeResultFile(other, QStringLiteral("b.cry"), otherRespondent(2.5));
    AnalysisWindow *window = openAnalysis(fx);
    QVERIFY(window);
    QWidget *page = window->findChild<QWidget *>(QStringLiteral("comparisonPage"));
    auto *segments = page->findChild<QComboBox *>(QStringLiteral("referenceSegment"));
    segments->setCurrentIndex(segments->findText(QStringLiteral("Склад"), Qt::MatchStartsWith));
    page->findChild<QPushButton *>(QStringLiteral("referenceUseSegment"))->click();
    // The split is named by the first information line's caption where one is known (the
    // questionnaire's captions in the settings, which other tests may have stored).
    const QString caption = InfoCaptions::forFolder(fx.form->session().group()->source)[0];
    const QString split = caption.isEmpty() ? QStringLiteral("1") : QStringLiteral("«%1»").arg(caption);
    const QString segment = QStringLiteral("Склад, по строке %1, группа firm (5 анкет)").arg(split);
    QCOMPARE(fx.form->session().referenceName(), segment);

    if (load == QLatin1String("data")) {
        fx.load(Respondent::uniform(2.0));
    } else if (load == QLatin1String("group")) {
        fx.prompts->openAnswers << QDir(other).filePath(QStringLiteral("a.cry"));
        fx.action("mmGroup")->trigger();
    } else if (load == QLatin1String("path file")) {
        fx.form->openPath(QDir(other).filePath(QStringLiteral("a.cry")));
    } else if (load == QLatin1String("path folder")) {
        fx.form->openPath(other);
    } else if (load == QLatin1String("drop folder")) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(other)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(fx.form.get(), &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(fx.form.get(), &drop);
    } else if (load == QLatin1String("segment")) {
        window->findChild<QTabWidget *>(QStringLiteral("analysisTabs"))->setCurrentIndex(1);
        QTableView *heatMap = table(window, "segmentsTable");
        QTRY_VERIFY(heatMap->isVisible());
        doubleClick(heatMap, rowOf(heatMap, QStringLiteral("Склад")), 5);
    } else {
        fx.form->showMember(0);
    }
    // What the load shows: the other company, or a part of the same one.
    const qsizetype shownCount = load == QLatin1String("segment") ? 5
                                 : load == QLatin1String("member") || load.endsWith(QLatin1String("file")) || load == QLatin1String("data") ? 1
                                                                                                                                      : 2;
    QTRY_COMPARE(fx.edit("ceNanket")->text(), QString::number(shownCount));
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));

    // The comparison: off with the reference still named on the page (to turn it on again), or on.
    auto *on = page->findChild<QCheckBox *>(QStringLiteral("compareOn"));
    auto *name = page->findChild<QLabel *>(QStringLiteral("referenceName"));
    QCOMPARE(fx.form->session().reference() != nullptr, comparing);
    QCOMPARE(on->isChecked(), comparing);
    QCOMPARE(fx.detailChart()->series(u"SeriesReference")->isVisible(), comparing);
    if (comparing) {
        // A member is compared with its whole group, which is what the member list offers it for.
        const QString kept = load == QLatin1String("member") ? QStringLiteral("Группа firm (13 анкет)") : segment;
        QCOMPARE(name->text(), QStringLiteral("Эталон: ") + kept);
    } else {
        QCOMPARE(name->text(), QStringLiteral("Сравнение выключено (эталон: %1)").arg(segment));
    }

    // Nothing of the other company reaches an export while it is off.
    const QString scores = QDir(fx.resultsDir()).filePath(QStringLiteral("scores.csv"));
    fx.prompts->saveAnswers << scores;
    fx.action("mmScores")->trigger();
    QFile saved(scores);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(saved.readAll()).contains(QStringLiteral("Эталон")), comparing);

    // The analysis window follows the group loaded, or has closed with it; its tables are of that group.
    QCOMPARE(fx.action("mmAnalysisWindow")->isEnabled(), !analysed.isEmpty());
    if (analysed.isEmpty()) {
        QTRY_VERIFY(!window->isVisible());
    } else {
        QVERIFY(window->isVisible());
        const Profile *group = fx.form->session().group();
        QVERIFY(group);
        QVERIFY(window->findChild<QLabel *>(QStringLiteral("analysisSummary"))->text().contains(analysed));
        QTableView *heatMap = table(window, "segmentsTable");
        QCOMPARE(heatMap->model()->index(rowOf(heatMap, QStringLiteral("Вся группа")), SegmentsTable::SizeColumn).data().toString(),
                 QString::number(group->respondentCount()));
    }

    // Turned on again, the reference is the one chosen, named as it was.
    if (!comparing) {
        on->click();
        QVERIFY(fx.form->session().reference());
        QCOMPARE(fx.form->session().referenceName(), segment);
        QCOMPARE(fx.form->session().reference()->scores.index(1), 4.0);
    }
}

void TestAnalysisWindow::memberOfSegmentShown()
{
    // Two departments taking turns in the folder: the second member of "Склад" is the group's third.
    QList<Member> alternating;
    for (int k = 0; k < 10; ++k)
        alternating << Member{k % 2 ? QStringLiteral("Офис") : QStringLiteral("Склад"), 3.0, 3};
    WindowFixture fx;
    fx.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(fx.form.get()));
    loadGroup(fx, QStringLiteral("firm"), alternating);
    AnalysisWindow *window = openAnalysis(fx);
    QVERIFY(window);
    window->findChild<QTabWidget *>(QStringLiteral("analysisTabs"))->setCurrentIndex(1);
    QTableView *heatMap = table(window, "segmentsTable");
    QTRY_VERIFY(heatMap->isVisible());
    doubleClick(heatMap, rowOf(heatMap, QStringLiteral("Склад")), 5);
    QTRY_COMPARE(fx.edit("ceName")->text(), QStringLiteral("Склад"));
    window->close();

    // The member list of the segment shown; its second row chosen with "Показать".
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, fx.form.get(), [&] {
        auto *list = fx.form->findChild<QDialog *>(QStringLiteral("memberList"));
        if (!list || !list->isVisible())
            return;
        poll.stop();
        auto *members = list->findChild<QTableView *>(QStringLiteral("members"));
        members->setCurrentIndex(members->model()->index(1, 0));
        list->findChild<QPushButton *>(QStringLiteral("showMember"))->click();
    });
    poll.start();
    QTest::mouseClick(fx.label("ImageInfo"), Qt::LeftButton);
    QTRY_COMPARE(fx.edit("ceName")->text(), QStringLiteral("Участник 2"));
    QCOMPARE(fx.form->session().profile().header.info[0], QStringLiteral("Склад"));
}

QTEST_MAIN(TestAnalysisWindow)
#include "tst_analysiswindow.moc"
