// The results grid and the detail view: cell texts, band colours, selection, memo, captions.

#include "PdfText.h"
#include "PlainText.h"
#include "Translations.h"
#include "WindowFixture.h"

#include "CirclePicture.h"
#include "Cp1251.h"
#include "Exports.h"
#include "GridPicture.h"

#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace TestSupport;

namespace {

// The memo's lines; each must end with CR LF, the last one too.
QStringList memoLines(const TForm1 &f)
{
    QString text = f.memoText();
    if (!text.endsWith(QStringLiteral("\r\n")))
        return {QStringLiteral("(no line break after the last line)")};
    text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

GridPicture::CellLook look(const WindowFixture &fx, int column, int row)
{
    const QPalette palette = fx.grid()->palette();
    return GridPicture::look(column, row, fx.grid()->cellText(column, row), false, palette.color(QPalette::Button),
                             palette.color(QPalette::Base), fx.form->profile().overallMean, fx.form->band());
}

GridPicture::CellLook look(int column, int row, bool selected)
{
    const QPalette palette;
    return GridPicture::look(column, row, QString(), selected, palette.color(QPalette::Button),
                             palette.color(QPalette::Base), 3, 0.5);
}

} // namespace

class TestGrid : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cellTexts();
    void geometry();
    void bandColours_data();
    void bandColours();
    void shownValueDecidesTheBand();
    void paintingDetails();
    void columnTwoRefused_data();
    void columnTwoRefused();
    void arrowKeysPassOverTraitNames_data();
    void arrowKeysPassOverTraitNames();
    void indexCells_data();
    void indexCells();
    void jumpFromLastIndexToFirst();
    void allStatements();
    void analysisText();
    void analysisFile_data();
    void analysisFile();
    void reportAndScores_data();
    void reportAndScores();
    void typingUpdatesCaptionsAndFooters();
    void longNamesAreCut_data();
    void longNamesAreCut();
};

void TestGrid::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    // The window's own texts, as the program installs them: its message boxes speak Russian.
    QVERIFY(Translations::installRussian(*qApp));
}

void TestGrid::cellTexts()
{
    WindowFixture fx;
    fx.load(Respondent());
    const ResultsGrid *g = fx.grid();
    QCOMPARE(g->cellText(0, 0), QStringLiteral("Шкалы"));
    QCOMPARE(g->cellText(0, 2), QStringLiteral("Ориентация на командную А."));
    QCOMPARE(g->cellText(0, 13), QStringLiteral("Mean"));
    QCOMPARE(g->cellText(2, 0), QStringLiteral("Факторы"));
    QCOMPARE(g->cellText(2, 7), QStringLiteral("Адаптивность"));
    QCOMPARE(g->cellText(1, 1), QStringLiteral("3,20"));
    QCOMPARE(g->cellText(1, 13), QStringLiteral("3,34"));
    QCOMPARE(g->cellText(3, 13), QStringLiteral("3,34"));
    QCOMPARE(g->cellText(3, 1), QStringLiteral("3,70"));
    QCOMPARE(g->cellText(3, 7), QStringLiteral("2,97"));
    QVERIFY(g->cellText(3, 2).isEmpty());
    QVERIFY(g->cellText(1, 0).isEmpty());
}

void TestGrid::geometry()
{
    // Cells of 20 pixels and the set widths, each followed by a grid line; 14 rows fill the grid.
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    fx.load(Respondent());
    const ResultsGrid *g = fx.grid();
    const int widths[4] = {199, 36, 137, 36};
    for (int c = 0; c < 4; ++c)
        QCOMPARE(g->visualRect(g->model()->index(5, c)).size(), QSize(widths[c], 20));
    QCOMPARE(g->viewport()->height(), 14 * 21);
    const QImage grid = g->viewport()->grab().toImage();
    const auto isText = [&](int x, int y) { return qGray(grid.pixel(x, y)) < 100; };
    // No empty strip under "Mean": the last pixel row is the grid line after it.
    const QRect mean = g->visualRect(g->model()->index(13, 0));
    QCOMPARE(mean.bottom() + 2, grid.height());
    QCOMPARE(grid.pixelColor(10, grid.height() - 1), grid.pixelColor(10, mean.top() - 1));
    // "Mean" ends 6 pixels left of the cell's right edge and starts 2 pixels below its top.
    int right = -1, top = mean.bottom();
    for (int y = mean.top(); y <= mean.bottom(); ++y)
        for (int x = mean.left(); x <= mean.right(); ++x)
            if (isText(x, y)) {
                right = std::max(right, x);
                top = std::min(top, y);
            }
    QVERIFY2(right >= mean.right() - 8 && right <= mean.right() - 6, qPrintable(QString::number(mean.right() - right)));
    QVERIFY2(top >= mean.top() + 2 && top <= mean.top() + 5, qPrintable(QString::number(top - mean.top())));
    // The header icon of column 1, its top 2 pixels below the cell's top, centred with halves to even.
    const QRect header = g->visualRect(g->model()->index(0, 1));
    const QImage icon = fx.label("Image5T")->pixmap().toImage();
    QPoint first(-1, -1);
    for (int y = header.top(); y <= header.bottom() && first.x() < 0; ++y)
        for (int x = header.left(); x <= header.right(); ++x)
            if (grid.pixelColor(x, y) != QColor(Qt::white)) {
                first = QPoint(x, y);
                break;
            }
    QPoint iconFirst(-1, -1);
    for (int y = 0; y < icon.height() && iconFirst.x() < 0; ++y)
        for (int x = 0; x < icon.width(); ++x)
            if (qAlpha(icon.pixel(x, y)) > 0) {
                iconFirst = QPoint(x, y);
                break;
            }
    const int left = GridPicture::headerIconLeft(header.left(), header.left() + header.width(), icon.width());
    QCOMPARE(first, iconFirst + QPoint(left, header.top() + 2));
}

void TestGrid::bandColours_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("color");
    const QColor green(0, 128, 0), red(255, 0, 0), black(0, 0, 0);
    QTest::newRow("index 1") << 1 << 1 << false << black;
    QTest::newRow("index 2 high") << 1 << 2 << true << green;
    QTest::newRow("index 3 at 3.80") << 1 << 3 << false << black;
    QTest::newRow("index 6 high") << 1 << 6 << true << green;
    QTest::newRow("index 7 low") << 1 << 7 << true << red;
    QTest::newRow("index 10 high") << 1 << 10 << true << green;
    QTest::newRow("index 12 low") << 1 << 12 << true << red;
    for (int row : {1, 4, 7, 10})
        QTest::addRow("trait row %d", row) << 3 << row << false << black;
    QTest::newRow("mean (1,13)") << 1 << 13 << true << black;
    QTest::newRow("mean (3,13)") << 3 << 13 << true << black;
    QTest::newRow("trait name") << 2 << 4 << true << black;
    QTest::newRow("header") << 0 << 0 << true << black;
}

void TestGrid::bandColours()
{
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(bool, bold);
    QFETCH(QColor, color);
    WindowFixture fx;
    fx.load(Respondent());
    const GridPicture::CellLook a = look(fx, column, row);
    QCOMPARE(a.bold, bold);
    QCOMPARE(a.textColor, color);
}

void TestGrid::shownValueDecidesTheBand()
{
    WindowFixture fx;
    Respondent r;
    r.indices[2] = 3.846;
    fx.load(r);
    QCOMPARE(fx.grid()->cellText(1, 3), QStringLiteral("3,85"));
    QVERIFY(std::abs(fx.form->profile().overallMean - 3.3477) < 5e-5);
    const GridPicture::CellLook a = look(fx, 1, 3);
    QVERIFY(a.bold);
    QCOMPARE(a.textColor, QColor(0, 128, 0));
}

void TestGrid::paintingDetails()
{
    const QPalette palette;
    QCOMPARE(look(2, 5, true).background, QColor(255, 255, 206));
    QCOMPARE(look(0, 5, false).background, palette.color(QPalette::Button));
    QCOMPARE(look(1, 5, false).background, palette.color(QPalette::Base));
    QVERIFY(look(1, 0, false).headerIcon);
    QVERIFY(look(3, 0, false).headerIcon);
    QVERIFY(!look(2, 0, false).headerIcon);
    // Centred with halves to even: (200 + 237 - 26) / 2 = 205.5 -> 206; (237 + 273 - 26) / 2 = 242.
    QCOMPARE(GridPicture::headerIconLeft(200, 237, 26), 206);
    QCOMPARE(GridPicture::headerIconLeft(201, 237, 26), 206);
    QCOMPARE(GridPicture::headerIconLeft(237, 273, 26), 242);
}

void TestGrid::columnTwoRefused_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("program") << "program";
    QTest::newRow("mouse") << "mouse";
}

void TestGrid::columnTwoRefused()
{
    QFETCH(QString, how);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    fx.load(Respondent());
    fx.grid()->moveTo(1, 4);
    const QString memo = f.memoText();
    const QString title = fx.detailChart()->title();
    if (how == QLatin1String("program")) {
        fx.grid()->moveTo(2, 4);
    } else {
        const QRect cell = fx.grid()->visualRect(fx.grid()->model()->index(4, 2));
        QTest::mouseClick(fx.grid()->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QCOMPARE(fx.grid()->currentColumnIndex(), 1);
    QCOMPARE(fx.grid()->currentRowIndex(), 4);
    QCOMPARE(f.memoText(), memo);
    QCOMPARE(fx.detailChart()->title(), title);
    const auto selected = fx.grid()->selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.first().column(), 1);
}

void TestGrid::arrowKeysPassOverTraitNames_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("memo");
    QTest::newRow("Right from the index score") << 1 << int(Qt::Key_Right) << 3 << Resource::traitDescription(2);
    QTest::newRow("Left from the trait score") << 3 << int(Qt::Key_Left) << 1 << Resource::indexStatements(4);
}

void TestGrid::arrowKeysPassOverTraitNames()
{
    // The trait names in column 2 never become current; the arrow keys step over them.
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    QFETCH(QStringList, memo);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    fx.load(Respondent());
    fx.grid()->moveTo(from, 4);
    fx.grid()->setFocus();
    QTest::keyClick(fx.grid(), Qt::Key(key));
    QCOMPARE(fx.grid()->currentColumnIndex(), to);
    QCOMPARE(fx.grid()->currentRowIndex(), 4);
    const auto selected = fx.grid()->selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.first().column(), to);
    QCOMPARE(memoLines(f), memo);
}

void TestGrid::indexCells_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("chartIndex");
    QTest::addColumn<QStringList>("memo");
    QTest::newRow("(1,12)") << 1 << 12 << 12 << Resource::indexStatements(12);
    QTest::newRow("(3,2)") << 3 << 2 << 2 << Resource::traitDescription(1);
    QTest::newRow("(3,5) empty cell") << 3 << 5 << 5 << Resource::traitDescription(2);
    QTest::newRow("(1,7)") << 1 << 7 << 7 << Resource::indexStatements(7);
}

void TestGrid::indexCells()
{
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(int, chartIndex);
    QFETCH(QStringList, memo);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(Respondent());
    fx.grid()->moveTo(column, row);
    QCOMPARE(fx.grid()->currentColumnIndex(), column);
    QCOMPARE(fx.detailChart()->statementMinimum(), 5.0 * chartIndex - 4);
    QCOMPARE(fx.detailChart()->statementMaximum(), 5.0 * chartIndex);
    QCOMPARE(fx.detailChart()->title(), Resource::chartCaption(chartIndex));
    QCOMPARE(memoLines(f), memo);
}

void TestGrid::jumpFromLastIndexToFirst()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(Respondent());
    fx.grid()->moveTo(1, 12);
    QVERIFY(memoLines(f).first().startsWith(QStringLiteral("60. ")));
    fx.grid()->moveTo(1, 1);
    QCOMPARE(fx.detailChart()->statementMinimum(), 1.0);
    QCOMPARE(fx.detailChart()->statementMaximum(), 5.0);
    QCOMPARE(memoLines(f), Resource::indexStatements(1));
}

void TestGrid::allStatements()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(Respondent());
    fx.grid()->moveTo(1, 6);
    const QString title = fx.detailChart()->title();
    fx.grid()->moveTo(1, 13);
    QCOMPARE(memoLines(f), Resource::allStatements());
    QCOMPARE(fx.detailChart()->title(), title);
    QCOMPARE(fx.detailChart()->statementMinimum(), 26.0);
}

void TestGrid::analysisText()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    Respondent r;
    r.indices = {3.0, 3.25, 3.125, 2.9, 3.5, 4.4, 2.2, 3.0, 3.7, 4.0, 3.6, 2.5};
    r.info = {QStringLiteral("Отдел продаж"), QStringLiteral("Менеджер"), QString(), QStringLiteral("Стаж 3 года")};
    fx.load(r);
    fx.grid()->moveTo(3, 13);
    const QStringList lines = memoLines(f);
    QCOMPARE(lines.size(), 4 + 4 + 1 + 48);
    QCOMPARE(lines.mid(0, 9),
             QStringList({QStringLiteral("0042"), QStringLiteral("Тест"), QStringLiteral("01.02.2003"),
                          QStringLiteral("N анкет = 1"), QStringLiteral("Отдел продаж"), QStringLiteral("Менеджер"),
                          QString(), QStringLiteral("Стаж 3 года"), QString()}));
    const QStringList description = lines.mid(9);
    // Trait 1 is the mean of 3.0, 3.25 and 3.125: 3.125 exactly, written with three decimals.
    QCOMPARE(description[0], QStringLiteral("Вовлеченность [3,125]"));
    QCOMPARE(description[3], QStringLiteral("1. Делегирование полномочий [3,000]"));
    QCOMPARE(description[6], QStringLiteral("2. Ориентация на командную работу [3,250]"));
    QCOMPARE(description[9], QStringLiteral("3. Развитие персонала [3,125]"));
    QCOMPARE(description[12], QStringLiteral("Согласованность [3,600]"));
    QCOMPARE(description[45], QStringLiteral("12. Видение [2,500]"));
    QCOMPARE(description[1], Resource::DescriptionLine(2));
    QVERIFY(description[2].isEmpty());
    QVERIFY(description[47].isEmpty());
}

void TestGrid::analysisFile_data()
{
    QTest::addColumn<bool>("meanCell");      // the analysis text, else the memo right after the load
    QTest::addColumn<bool>("resultsFolder"); // "Results" beside the program, else an installed copy
    QTest::newRow("after a load") << false << true;
    QTest::newRow("Mean cell of the right column") << true << true;
    QTest::newRow("installed copy without Results") << false << false;
}

void TestGrid::analysisFile()
{
    QFETCH(bool, meanCell);
    QFETCH(bool, resultsFolder);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    if (!resultsFolder)
        QVERIFY(QDir(fx.resultsDir()).removeRecursively());
    Respondent r;
    fx.load(r);
    QStringList lines = Resource::indexStatements(1);
    if (meanCell) {
        fx.grid()->moveTo(3, 13);
        lines = QStringList{r.code, r.name, r.date, QStringLiteral("N анкет = 1")} + r.info + QStringList{QString()};
        for (int n = 1; n <= Resource::DescriptionLineCount; ++n) {
            const int t = (n - 1) / 12 + 1, block = (n - 1) % 12 / 3; // block 0: the trait, 1 to 3: its indices
            QString line = Resource::DescriptionLine(n);
            if ((n - 1) % 3 == 0)
                line += QStringLiteral(" [%1]").arg(Scoring::formatFixed(block == 0 ? f.profile().scores.trait(t) : f.profile().scores.index(3 * t - 3 + block), 3));
            lines << line;
        }
    }
    // Without "Results" the documents folder is proposed (its choice is tested with the exports).
    const QString folder = resultsFolder ? fx.resultsDir() : Exports::resultsFolder(f.appDir());
    QVERIFY(resultsFolder || !folder.startsWith(f.appDir()));
    const QString path = fx.dir.filePath(QStringLiteral("analysis.rtf"));
    fx.prompts->saveAnswers << path;
    f.mmAnalysisClick();
    const FileDialogSettings &dialog = fx.prompts->saveDialogs.last();
    QCOMPARE(dialog.fileName, folder + QStringLiteral("/0042 Тест.rtf"));
    QCOMPARE(dialog.initialDir, folder);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // Every line that the program put into the memo ends with CR LF, the last one too.
    QCOMPARE(file.readAll(), Cp1251::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

void TestGrid::reportAndScores_data()
{
    QTest::addColumn<bool>("group");
    QTest::newRow("one respondent") << false;
    QTest::newRow("a group of three") << true;
}

void TestGrid::reportAndScores()
{
    // The PDF report read back as text and as a picture, and the scores file's rows.
    QFETCH(bool, group);
    if (!PdfText::available())
        QSKIP("pdftotext and pdftoppm (Debian: poppler-utils) read the report");
    WindowFixture fx;
    TForm1 &f = *fx.form;
    if (group) {
        for (int m = 0; m < 3; ++m) {
            // Three respondents, each with a code of their own.
            Respondent r = Respondent::uniform(2.0 + m);
            r.code = QStringLiteral("010%1").arg(m);
            writeResultFile(fx.dataDir(), QStringLiteral("m%1.cry").arg(m), r);
        }
        fx.prompts->openAnswers << fx.dataDir() + QStringLiteral("/m0.cry");
        f.mmGroupClick();
    } else {
        fx.load(Respondent());
    }
    // Named by what is loaded: the respondent's code and name, the group's folder (never "0000").
    const QString stem = group ? QStringLiteral("Data") : QStringLiteral("0042 Тест");
    const QString code = fx.edit("ceCode")->text();
    // The scores are proposed as a workbook; a name ending in ".csv" writes CSV.
    fx.prompts->saveAnswers << fx.dir.filePath(QStringLiteral("report")) << fx.dir.filePath(QStringLiteral("scores.csv"));
    f.mmReportClick();
    f.mmScoresClick();
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    const FileDialogSettings &reportDialog = fx.prompts->saveDialogs[0];
    QCOMPARE(reportDialog.title, QStringLiteral("Запись отчёта в pdf-файл"));
    QCOMPARE(reportDialog.filter, QStringLiteral("PDF Files (*.pdf)|*.pdf"));
    QCOMPARE(reportDialog.fileName, fx.resultsDir() + QStringLiteral("/Report ") + stem + QStringLiteral(".pdf"));
    QCOMPARE(fx.prompts->saveDialogs[1].fileName, fx.resultsDir() + QStringLiteral("/Scores ") + stem + QStringLiteral(".xlsx"));

    const QString words = PdfText::words(fx.dir.filePath(QStringLiteral("report.pdf")));
    // A group's report says "Группа: 3 анкеты" and never its placeholder code.
    const QStringList expected = group ? QStringList{QStringLiteral("Группа: 3 анкеты"), fx.edit("ceDate")->text(), QStringLiteral("Стр. 1 из")}
                                       : QStringList{code, fx.edit("ceName")->text(), fx.edit("ceDate")->text(), QStringLiteral("Стр. 1 из")};
    for (const QString &text : expected)
        QVERIFY2(words.contains(text), qPrintable(text));
    if (group)
        QVERIFY(!words.contains(code));
    for (int r = 1; r <= 13; ++r)
        for (int c : {1, 3})
            if (!fx.grid()->cellText(c, r).isEmpty())
                QVERIFY2(words.contains(fx.grid()->cellText(c, r)), qPrintable(fx.grid()->cellText(c, r)));
    for (int t = 1; t <= 4; ++t) // the analysis headings, with their scores
        QVERIFY2(words.contains(Resource::TraitName(t) + QStringLiteral(" [") + Scoring::formatFixed(f.profile().scores.trait(t), 3) + u']'),
                 qPrintable(Resource::TraitName(t)));
    const QImage page = PdfText::pagePicture(fx.dir.filePath(QStringLiteral("report.pdf")), 1, 50);
    QVERIFY(!page.isNull());
    int magenta = 0; // the profile polygon
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            magenta += c.red() > 200 && c.blue() > 200 && c.green() < 90;
        }
    QVERIFY2(magenta > 30, qPrintable(QString::number(magenta)));

    QFile scores(fx.dir.filePath(QStringLiteral("scores.csv")));
    QVERIFY(scores.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = scores.readAll().split('\n');
    QCOMPARE(rows.size(), 1 + (group ? 4 : 1) + 1); // header, rows, and the empty rest after the last CR LF
    QVERIFY(rows[0].startsWith("\xEF\xBB\xBF"));

    // A report that cannot be written says so and leaves nothing behind.
    fx.prompts->saveAnswers << fx.dir.filePath(QStringLiteral("no such folder/report.pdf"));
    f.mmReportClick();
    QCOMPARE(fx.prompts->errors.size(), 1);
    QVERIFY2(fx.prompts->errors.first().startsWith(QStringLiteral("Не удаётся создать файл ")), qPrintable(fx.prompts->errors.first()));
}

void TestGrid::typingUpdatesCaptionsAndFooters()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    fx.load(Respondent());
    QCOMPARE(fx.label("laInfoImage")->text(), QStringLiteral("0042. Тест"));
    QCOMPARE(fx.label("laDateImage")->text(), QStringLiteral("01.02.2003"));
    fx.edit("ceName")->setFocus();
    fx.edit("ceName")->end(false);
    QTest::keyClick(fx.edit("ceName"), Qt::Key_X);
    QCOMPARE(fx.label("laInfoImage")->text(), QStringLiteral("0042. Тестx"));
    QCOMPARE(fx.detailChart()->foot(), QStringLiteral("0042 Тестx 01.02.2003"));
    QCOMPARE(fx.overviewChart()->foot(), QStringLiteral("0042 Тестx 01.02.2003"));
    // The date caption keeps its right edge as its text grows.
    const int right = fx.label("laDateImage")->geometry().right();
    fx.edit("ceDate")->setFocus();
    fx.edit("ceDate")->end(false);
    QTest::keyClicks(fx.edit("ceDate"), QStringLiteral(" ok"));
    QCOMPARE(fx.label("laDateImage")->text(), QStringLiteral("01.02.2003 ok"));
    QCOMPARE(fx.label("laDateImage")->geometry().right(), right);
}

void TestGrid::longNamesAreCut_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("date");
    QTest::addColumn<bool>("cut");
    const QString longName = QStringLiteral("Иванова-Петрова ").repeated(12) + QStringLiteral("Анна");
    QTest::newRow("short name") << "0042" << "Тест" << "01.02.2003" << false;
    QTest::newRow("long name") << "0042" << longName << "01.02.2003" << true;
    QTest::newRow("long name, spaces in code and date") << "00 42" << longName << "1 февраля 2003, повторная анкета" << true;
}

void TestGrid::longNamesAreCut()
{
    // A name too long for its room is cut where it shows, whole in the tooltip; the circle's caption
    // stops short of the arrow at the top, the chart feet keep the code and the date whole.
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, date);
    QFETCH(bool, cut);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    Respondent r;
    r.code = code;
    r.name = name;
    r.date = date;
    fx.load(r);
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));

    const QLabel *caption = fx.label("laInfoImage");
    const QString wholeCaption = code + QStringLiteral(". ") + name;
    QVERIFY2(caption->x() + caption->width() <= CirclePicture::InfoCaptionLeft + CirclePicture::CaptionWidth,
             qPrintable(QString::number(caption->x() + caption->width())));
    QCOMPARE(caption->text() == wholeCaption, !cut);
    QVERIFY(caption->text().startsWith(code + QStringLiteral(". ")));
    // The whole text, shown as the plain text it is.
    QCOMPARE(caption->toolTip(), cut ? plainToolTip(wholeCaption) : QString());

    const QString wholeFoot = code + u' ' + name + u' ' + date;
    for (const StatementChart *chart : std::initializer_list<const StatementChart *>{fx.detailChart(), fx.overviewChart()}) {
        // Each chart as it is seen: in front (the one behind is not laid out).
        fx.form->session().setChartInFront(chart == fx.overviewChart() ? Session::Chart::Overview : Session::Chart::Detail);
        QVERIFY(chart->isVisible());
        QCOMPARE(chart->foot(), wholeFoot);
        QList<const QGraphicsSimpleTextItem *> feet;
        for (const QGraphicsItem *item : chart->scene()->items())
            if (const auto *text = qgraphicsitem_cast<const QGraphicsSimpleTextItem *>(item))
                feet << text;
        QCOMPARE(feet.size(), 1);
        const QGraphicsSimpleTextItem *foot = feet.first();
        const QString shown = foot->text();
        // The code and the date stay whole where the two fit at all (with wine's wide stand-in fonts
        // they may not); the date stays whole before the code.
        const QFontMetrics metrics(foot->font());
        const int room = int(chart->chart()->size().width()) - 8;
        const bool bothFit = metrics.horizontalAdvance(code + QStringLiteral(" … ") + date) <= room;
        const QString why = shown + QStringLiteral(" (%1 of %2 pixels)").arg(metrics.horizontalAdvance(shown)).arg(room);
        QVERIFY2(shown.endsWith(u' ' + date) || metrics.horizontalAdvance(u' ' + date) > room, qPrintable(why));
        QVERIFY2(shown.startsWith(code + u' ') || !bothFit, qPrintable(why));
        QCOMPARE(shown == wholeFoot, !cut);
        QVERIFY2(foot->sceneBoundingRect().right() <= chart->chart()->size().width(), qPrintable(shown));
        QVERIFY(foot->sceneBoundingRect().left() >= 0);
        QCOMPARE(foot->toolTip(), cut ? plainToolTip(wholeFoot) : QString());
    }
}

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
