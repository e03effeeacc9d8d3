// The PDF report as the client reads it: read back with poppler's pdftotext, pdfinfo, pdffonts and
// pdfimages. Its charts come from the profile and never from the window; the statements with the five
// highest and lowest marked; the legend with the band limits as numbers; one naming of the indices;
// the title block, remembered between reports; a group's report anonymous unless the member list is
// asked for; every page numbered, fonts embedded, the circle in vectors.
//
// ZOLK_REPORT_KEEP=folder keeps the reports written, for a look at them.

#include "ExportCommands.h"
#include "PdfText.h"
#include "ProfileLoader.h"
#include "Report.h"
#include "ReportPack.h"
#include "ReportTitleDialog.h"
#include "TestSupport.h"
#include "WindowFixture.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>

using namespace TestSupport;
using namespace PdfText;
using Mark = Report::StatementMark;

namespace {

QString tool(const char *name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }

bool popplerMissing() { return !PdfText::available(); }

void keep(const QString &pdf, const QString &name)
{
    const QString folder = qEnvironmentVariable("ZOLK_REPORT_KEEP");
    if (!folder.isEmpty()) {
        QFile::remove(QDir(folder).filePath(name));
        QFile::copy(pdf, QDir(folder).filePath(name));
    }
}

QString writeReport(const ReportInput &input, const QString &path)
{
    const Outcome<> written = Report::write(path, input);
    if (!written)
        qWarning("%s", qPrintable(written.message()));
    return path;
}

// A group held in memory: members named "Сотрудник NNNN Фамилия", in departments of ten.
Profile memoryGroup(int members)
{
    auto table = std::make_shared<MemberTable>();
    table->reserve(members);
    Profile group;
    for (int m = 0; m < members; ++m) {
        RespondentHeader header;
        header.date = QStringLiteral("01.02.2003");
        header.code = QStringLiteral("%1").arg(m, 4, 10, QLatin1Char('0'));
        header.name = QStringLiteral("Сотрудник %1 Фамилия").arg(m, 4, 10, QLatin1Char('0'));
        header.info = {QStringLiteral("Отдел %1").arg(m / 10 + 1), QString(), QString(), QString()};
        IndexScores indices = WorkedExample;
        ItemScores items{};
        for (int s = 0; s < Resource::StatementCount; ++s)
            items[std::size_t(s)] = 1.0 + (s * 7 + m) % 9 * 0.5;
        table->append(QStringLiteral("Отдел %1/m%2.cry").arg(m / 10 + 1).arg(m), header, indices, items);
    }
    group.group = true;
    group.header.code = ProfileText::groupCode();
    group.header.name = ProfileText::groupName();
    group.header.date = QStringLiteral("19.03.2026");
    group.members = table;
    IndexScores indices = WorkedExample;
    ItemScores items{};
    for (int s = 0; s < Resource::StatementCount; ++s)
        items[std::size_t(s)] = 1.5 + s % 7 * 0.5;
    group.setScores(indices, items);
    return group;
}

ReportInput inputFor(const Profile &profile)
{
    ReportInput input;
    input.profile = profile;
    input.respondents = QString::number(profile.respondentCount());
    input.title.group = profile.group;
    input.overviewChart = ExportCommands::overviewPainter(profile, input.band);
    return input;
}

// Statement scores from a list of (statement, score); every other statement scores rest(s).
ItemScores itemScores(const QList<std::pair<int, double>> &set, const std::function<double(int)> &rest)
{
    ItemScores items{};
    for (int s = 1; s <= Resource::StatementCount; ++s)
        items[std::size_t(s - 1)] = rest(s);
    for (const auto &[s, v] : set)
        items[std::size_t(s - 1)] = v;
    return items;
}

QList<int> marked(const std::array<Mark, Resource::StatementCount> &marks, Mark which)
{
    QList<int> statements;
    for (int s = 1; s <= Resource::StatementCount; ++s)
        if (marks[std::size_t(s - 1)] == which)
            statements << s;
    return statements;
}

// The statement numbers that follow a mark in the report's text.
QList<int> markedInText(const QString &text, const QString &mark)
{
    QList<int> statements;
    const QRegularExpression pattern(QRegularExpression::escape(mark) + QStringLiteral(" (\\d+) "));
    for (auto it = pattern.globalMatch(text); it.hasNext();)
        statements << it.next().captured(1).toInt();
    std::sort(statements.begin(), statements.end());
    return statements;
}

using Departments = QList<std::pair<QString, int>>;

// A group whose members name their department on information line 1, with scores that differ
// from member to member.
Profile departmentsGroup(const QList<std::pair<QString, int>> &departments)
{
    auto table = std::make_shared<MemberTable>();
    int m = 0;
    for (const auto &[department, size] : departments) {
        for (int k = 0; k < size; ++k, ++m) {
            RespondentHeader header;
            header.code = QStringLiteral("%1").arg(m, 4, 10, QLatin1Char('0'));
            header.info = {department, QString(), QString(), QString()};
            IndexScores indices{};
            ItemScores items{};
            for (int s = 0; s < Resource::StatementCount; ++s)
                items[std::size_t(s)] = 1.0 + (s * 3 + m) % 9 * 0.5;
            for (int i = 0; i < Resource::IndexCount; ++i)
                indices[std::size_t(i)] = 2.0 + (i + m) % 5 * 0.5;
            table->append(QStringLiteral("m%1.cry").arg(m), header, indices, items);
        }
    }
    return ProfileLoader::groupProfile(table, QStringLiteral("/firm/"));
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void statementMarks_data();
    void statementMarks();
    void marksInTheReport();
    void legendNumbers_data();
    void legendNumbers();
    void oneNamingAndNumbers();
    void oneNameOnEveryPage_data();
    void oneNameOnEveryPage();
    void overviewFromTheProfile();
    void anonymity_data();
    void anonymity();
    void largeGroup();
    void titleRoundTrip();
    void titleDialog();
    void printQuality();
    void scoresOffTheScale();
    void comparisonPage();
    void reliabilityPage_data();
    void reliabilityPage();
    void reportPack_data();
    void reportPack();
    void reportPackFromTheWindow();

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_settings;
};

void TestReport::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    // The title block is remembered in a folder of this test's, never in the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    if (popplerMissing())
        QSKIP("pdftotext and pdfinfo (Debian: poppler-utils) read the report");
}

void TestReport::cleanup()
{
    const QByteArray said = takeComplaints();
    QVERIFY2(said.isEmpty(), said.constData());
}

void TestReport::statementMarks_data()
{
    QTest::addColumn<ItemScores>("scores");
    QTest::addColumn<QList<int>>("highest");
    QTest::addColumn<QList<int>>("lowest");
    QTest::addColumn<bool>("cutsMeet");

    const auto distinct = [](int s) { return 2.0 + s * 0.01; };
    QTest::newRow("distinct scores") << itemScores({}, [](int s) { return 1.0 + (s * 37 % 60) * 0.05; })
                                     << QList<int>{8, 21, 34, 47, 55} << QList<int>{13, 26, 39, 52, 60} << false;
    QTest::newRow("three tied at the high cut: all seven marked")
        << itemScores({{3, 4.9}, {17, 4.8}, {29, 4.7}, {41, 4.6}, {8, 4.5}, {50, 4.5}, {55, 4.5},
                       {12, 1.1}, {24, 1.2}, {36, 1.3}, {48, 1.4}, {60, 1.5}}, distinct)
        << QList<int>{3, 8, 17, 29, 41, 50, 55} << QList<int>{12, 24, 36, 48, 60} << false;
    QTest::newRow("a respondent's whole answers: every tie marked")
        << itemScores({}, [](int s) { return s % 5 == 0 ? 5.0 : s % 7 == 0 ? 1.0 : 3.0; })
        << QList<int>{5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60} << QList<int>{7, 14, 21, 28, 42, 49, 56} << false;
    QTest::newRow("the cuts meet: only scores off the middle")
        << itemScores({{1, 5}, {2, 5}, {3, 5}, {4, 5}, {57, 1}, {58, 1}, {59, 1}, {60, 1}}, [](int) { return 3.0; })
        << QList<int>{1, 2, 3, 4} << QList<int>{57, 58, 59, 60} << true;
    QTest::newRow("equal scores everywhere: nothing marked") << itemScores({}, [](int) { return 3.5; }) << QList<int>{}
                                                             << QList<int>{} << true;
    QTest::newRow("a score that is not a number is neither")
        << itemScores({{60, std::nan("")}, {59, 4.9}, {58, 4.8}, {57, 4.7}, {56, 4.6}, {55, 4.5}}, distinct)
        << QList<int>{55, 56, 57, 58, 59} << QList<int>{1, 2, 3, 4, 5} << false;
}

void TestReport::statementMarks()
{
    QFETCH(ItemScores, scores);
    QFETCH(QList<int>, highest);
    QFETCH(QList<int>, lowest);
    QFETCH(bool, cutsMeet);
    const auto marks = Report::statementMarks(scores);
    QCOMPARE(marked(marks, Mark::Highest), highest);
    QCOMPARE(marked(marks, Mark::Lowest), lowest);
    QCOMPARE(Report::marksCutsMeet(scores), cutsMeet);
}

void TestReport::marksInTheReport()
{
    // The marks stand beside exactly the statements chosen, ties included; the key explains them.
    Profile profile;
    profile.header = {QStringLiteral("01.02.2003"), QStringLiteral("0042"), QStringLiteral("Тест"), {}};
    profile.setScores(WorkedExample, itemScores({{3, 4.9}, {17, 4.8}, {29, 4.7}, {41, 4.6}, {8, 4.5}, {50, 4.5}, {55, 4.5},
                                                 {12, 1.1}, {24, 1.2}, {36, 1.3}, {48, 1.4}, {60, 1.5}},
                                                [](int s) { return 2.0 + s * 0.01; }));
    const QString pdf = writeReport(inputFor(profile), m_dir.filePath(QStringLiteral("marks.pdf")));
    keep(pdf, QStringLiteral("marks.pdf"));
    const QString text = words(pdf);
    const QString lines = words(pdf, Order::Layout);
    // Each marked statement twice: in the list of the highest or lowest and in its index's table.
    QCOMPARE(markedInText(lines, QStringLiteral("▲")), (QList<int>{3, 3, 8, 8, 17, 17, 29, 29, 41, 41, 50, 50, 55, 55}));
    QCOMPARE(markedInText(lines, QStringLiteral("▼")), (QList<int>{12, 12, 24, 24, 36, 36, 48, 48, 60, 60}));
    QVERIFY(text.contains(QStringLiteral("▲ — пять самых высоких оценок утверждений, ▼ — пять самых низких; при равных "
                                         "оценках на границе отмечены все равные")));
    // Every statement with its score, under its index's full title.
    for (int s = 1; s <= Resource::StatementCount; ++s) {
        const QString statement = Resource::StatementText(s).section(QStringLiteral(". "), 1);
        QVERIFY2(text.contains(statement), qPrintable(statement));
    }
    QVERIFY(text.contains(QStringLiteral("4,90")) && text.contains(QStringLiteral("1,10")));
}

void TestReport::legendNumbers_data()
{
    QTest::addColumn<double>("delta");
    QTest::newRow("Range 0.50") << 0.5;
    QTest::newRow("Range 0.37") << 0.37;
    QTest::newRow("Range 1.25") << 1.25;
}

void TestReport::legendNumbers()
{
    // The legend names the half-width used and the limits as the reader sees them: the smallest
    // two-decimal score shown bold green, the largest shown bold red.
    QFETCH(double, delta);
    Profile profile;
    profile.header = {QStringLiteral("01.02.2003"), QStringLiteral("0042"), QStringLiteral("Тест"), {}};
    profile.setScores(WorkedExample, Respondent().items);
    const double mean = profile.overallMean;
    const double high = std::ceil((mean + delta) * 100) / 100;
    const double low = std::floor((mean - delta) * 100) / 100;
    // No limit lies on a hundredth, where rounding would decide.
    QVERIFY(std::abs((mean + delta) * 100 - std::round((mean + delta) * 100)) > 1e-6);
    QVERIFY(std::abs((mean - delta) * 100 - std::round((mean - delta) * 100)) > 1e-6);
    const QLocale ru;
    const auto two = [&](double v) { return ru.toString(v, 'f', 2); };
    QCOMPARE(Report::lowestHighScore(mean, delta), high);
    QCOMPARE(Report::highestLowScore(mean, delta), low);

    ReportInput input = inputFor(profile);
    input.band = delta;
    const QString text = words(writeReport(input, m_dir.filePath(QStringLiteral("legend.pdf"))));
    const QString d = two(delta);
    for (const QString &expected :
         {QStringLiteral("геометрическое среднее двенадцати индексов: %1").arg(two(mean)),
          QStringLiteral("Полоса (Range) — общее среднее ± %1").arg(d),
          QStringLiteral("Жирным зелёным — оценки не ниже общего среднего + %1 (%2 и выше)").arg(d, two(high)),
          QStringLiteral("жирным красным — не выше общего среднего − %1 (%2 и ниже)").arg(d, two(low)),
          QStringLiteral("точечные линии — границы полосы ± %1 (%2 и %3)").arg(d, two(mean - delta), two(mean + delta))})
        QVERIFY2(text.contains(expected), qPrintable(expected));
}

void TestReport::oneNamingAndNumbers()
{
    // The indices go by their names on every page, the analysis headings too; the report says where
    // scores have two decimals and where three.
    const Profile group = memoryGroup(50);
    const QString pdf = writeReport(inputFor(group), m_dir.filePath(QStringLiteral("naming.pdf")));
    keep(pdf, QStringLiteral("group-50.pdf"));
    const QString text = words(pdf);
    const int pages = pageCount(pdf);
    for (int i = 1; i <= Resource::IndexCount; ++i) {
        QVERIFY2(text.count(Resource::indexHeading(i)) >= 3, qPrintable(Resource::indexHeading(i))); // table, statements, analysis
        QVERIFY(text.contains(Resource::indexHeading(i) + QStringLiteral(" [") + Scoring::formatFixed(group.scores.index(i), 3) + u']'));
    }
    for (const QString &other : {QStringLiteral("Ориентация на командную А."), QStringLiteral("7. Проведение изменений"),
                                 QStringLiteral("10. Стратегическое направление"), QStringLiteral("Шкалы"), QStringLiteral("Mean")})
        QVERIFY2(!text.contains(other), qPrintable(other));
    for (int t = 1; t <= Resource::TraitCount; ++t)
        QVERIFY(text.contains(Resource::TraitName(t) + QStringLiteral(" [") + Scoring::formatFixed(group.scores.trait(t), 3) + u']'));
    // Page 1 of a 50-member group: one page, two pages of statements, then the analysis.
    QVERIFY2(pages >= 4 && pages <= 7, qPrintable(QString::number(pages)));
    const QRegularExpression note(QStringLiteral("Оценки на с\\. 1–(\\d+) — с двумя знаками после запятой; в анализе факторов на "
                                                 "с\\. (\\d+)(–(\\d+))? — с тремя"));
    const QRegularExpressionMatch match = note.match(text);
    QVERIFY2(match.hasMatch(), qPrintable(text.left(3000)));
    QCOMPARE(match.captured(2).toInt(), match.captured(1).toInt() + 1);
    // The analysis runs to the page before the last, "Надёжность шкал" of a group of ten or more.
    QCOMPARE(match.captured(4).isEmpty() ? match.captured(2).toInt() : match.captured(4).toInt(), pages - 1);
    QVERIFY(pageLines(pdf, pages).join(u' ').contains(QStringLiteral("Надёжность шкал")));
    QVERIFY(text.contains(QStringLiteral("Оценки факторов и индексов в квадратных скобках — с тремя знаками после запятой")));
    for (int p = 1; p <= pages; ++p)
        QVERIFY2(text.contains(QStringLiteral("Стр. %1 из %2").arg(p).arg(pages)), qPrintable(QString::number(p)));
}

void TestReport::oneNameOnEveryPage_data()
{
    QTest::addColumn<bool>("group");
    QTest::addColumn<bool>("compared");
    QTest::newRow("a group of 60") << true << false;
    QTest::newRow("a group of 60 compared, differences under a hundredth") << true << true;
    QTest::newRow("one respondent compared, differences under a hundredth") << false << true;
}

void TestReport::oneNameOnEveryPage()
{
    // Every page calls an index by its one name and a trait by one word, shows no placeholder code of
    // a group, says "Группа" once below its running head, and prints a zero as zero, never "-0,00".
    QFETCH(bool, group);
    QFETCH(bool, compared);
    const Profile profile = group ? memoryGroup(60) : ProfileLoader::memberProfile(memoryGroup(10), 3);
    ReportInput input = inputFor(profile);
    if (compared) {
        // A reference a thousandth above the profile everywhere: every difference rounds to zero.
        Profile reference = profile;
        IndexScores indices = profile.scores.IndexScores;
        for (double &v : indices)
            v += 0.001;
        reference.setScores(indices, profile.scores.ItemScores);
        input.reference = reference;
        input.referenceName = QStringLiteral("Отдел 1 (10 анкет)");
    }
    const QString pdf = writeReport(input, m_dir.filePath(QStringLiteral("names.pdf")));
    QStringList otherNames{QStringLiteral("Черт"), QStringLiteral("черт")};
    for (int i = 1; i <= Resource::IndexCount; ++i)
        if (Resource::IndexTitle(i) != Resource::indexHeading(i))
            otherNames << Resource::IndexTitle(i);
    const int pages = pageCount(pdf);
    for (int p = 1; p <= pages; ++p) {
        QStringList lines = pageLines(pdf, p);
        if (p > 1) // the running head
            QVERIFY(lines.takeFirst().startsWith(QStringLiteral("Профиль организационной культуры")));
        const QString page = lines.join(u'\n');
        const QString where = QStringLiteral("page %1:\n").arg(p) + page;
        for (const QString &name : std::as_const(otherNames))
            QVERIFY2(!page.contains(name), qPrintable(name + u' ' + where));
        QVERIFY2(!page.contains(QStringLiteral("-0,00")), qPrintable(where));
        if (group) {
            QVERIFY2(!page.contains(ProfileText::groupCode()), qPrintable(where));
            QVERIFY2(page.count(ProfileText::groupName()) <= 1, qPrintable(where));
        }
    }
    const QString text = words(pdf);
    QVERIFY(text.contains(Resource::traitWord()));
    if (compared)
        QVERIFY(text.contains(QStringLiteral("%1 %2 0,00").arg(Scoring::scoreText(profile.scores.index(7)),
                                                                 Scoring::scoreText(profile.scores.index(7) + 0.001))));
}

void TestReport::overviewFromTheProfile()
{
    // A click on an index marker retitles the window's overview; the report's stays the overview of
    // all statements, and no chart of one index comes into it.
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(Respondent());
    OverviewChart *overview = fx.overviewChart();
    f.mmPlotAllClick();
    f.ChartAllClickSeries(overview->series(u"SeriesScales"), 3);
    QCOMPARE(overview->title(), Resource::chartCaption(4));
    fx.prompts->saveAnswers << fx.dir.filePath(QStringLiteral("report.pdf"));
    f.mmReportClick();
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    const QString text = words(fx.dir.filePath(QStringLiteral("report.pdf")));
    QVERIFY(text.contains(OverviewChart::initialTitle()));
    QVERIFY(!text.contains(Resource::chartCaption(4)));
    QVERIFY(!text.contains(DetailChart::initialTitle()));
    QCOMPARE(overview->title(), Resource::chartCaption(4)); // the window keeps what the user chose
}

void TestReport::anonymity_data()
{
    QTest::addColumn<bool>("group");
    QTest::addColumn<bool>("memberList");
    QTest::newRow("a group of 50, no member list") << true << false;
    QTest::newRow("a group of 50 with its member list") << true << true;
    QTest::newRow("one respondent") << false << false;
}

void TestReport::anonymity()
{
    QFETCH(bool, group);
    QFETCH(bool, memberList);
    WindowFixture fx;
    TForm1 &f = *fx.form;
    QStringList names;
    if (group) {
        // Five departments of ten in sub-folders of the group's folder.
        const QString folder = fx.dataDir() + QStringLiteral("/Компания");
        for (int m = 0; m < 50; ++m) {
            const QString department = QStringLiteral("Отдел %1").arg(m / 10 + 1);
            QDir(folder).mkpath(department);
            Respondent r;
            r.code = QStringLiteral("%1").arg(1000 + m);
            r.name = QStringLiteral("Фамилия%1 Имя Отчество").arg(m, 2, 10, QLatin1Char('0'));
            r.info[0] = department;
            for (int s = 0; s < 60; ++s)
                r.items[std::size_t(s)] = 1.0 + (s + m) % 5;
            names << r.name;
            writeResultFile(folder + u'/' + department, QStringLiteral("m%1.cry").arg(m, 2, 10, QLatin1Char('0')), r);
        }
        fx.prompts->openAnswers << folder + QStringLiteral("/any.cry");
        f.mmGroupClick();
        QCOMPARE(f.profile().respondentCount(), 50);
    } else {
        Respondent r;
        r.name = QStringLiteral("Волков Игорь Николаевич");
        names << r.name;
        fx.load(r);
    }
    ReportTitle title;
    title.company = QStringLiteral("ООО «Ромашка»");
    title.memberList = memberList;
    fx.prompts->titleAnswers << title;
    fx.prompts->saveAnswers << fx.dir.filePath(QStringLiteral("report.pdf"));
    f.mmReportClick();
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    QCOMPARE(fx.prompts->titleProposals.size(), 1);
    QCOMPARE(fx.prompts->titleProposals[0].group, group);
    QCOMPARE(fx.prompts->titleProposals[0].memberList, false); // every report starts anonymous
    const QString pdf = fx.dir.filePath(QStringLiteral("report.pdf"));
    keep(pdf, group ? (memberList ? QStringLiteral("group-list.pdf") : QStringLiteral("group.pdf")) : QStringLiteral("respondent.pdf"));
    const QString text = words(pdf);
    const QString lines = words(pdf, Order::Layout);
    const bool named = !group || memberList;
    for (const QString &name : std::as_const(names))
        QVERIFY2(text.contains(name) == named, qPrintable(name));
    QCOMPARE(lines.contains(QStringLiteral("ФИО:")), !group);
    QCOMPARE(text.contains(QStringLiteral("Состав группы:")), group && memberList);
    if (group) {
        // The circle's caption and the running heads.
        QVERIFY(text.count(QStringLiteral("Группа: 50 анкет")) >= 3);
        QVERIFY(lines.contains(QStringLiteral("Группа: 50 анкет")));
    } else {
        QVERIFY(!text.contains(QStringLiteral("Группа:")));
        QVERIFY(lines.contains(QStringLiteral("ФИО: Волков Игорь Николаевич")));
    }
    QVERIFY(lines.contains(QStringLiteral("Компания: ООО «Ромашка»")));
    // No analysis page ends with a heading whose paragraph went on to the next page.
    const QRegularExpression heading(QStringLiteral("\\[\\d+,\\d{3}\\]$"));
    for (int p = 1; p <= pageCount(pdf); ++p) {
        const QStringList page = pageLines(pdf, p);
        QVERIFY(page.size() >= 2 && page.last().startsWith(QStringLiteral("Стр. ")));
        QVERIFY2(!heading.match(page[page.size() - 2]).hasMatch(), qPrintable(page[page.size() - 2]));
    }
}

void TestReport::largeGroup()
{
    // 5,000 members: without the list the report stays a handful of pages; with it the names take as
    // many pages as they need, every one numbered.
    const Profile group = memoryGroup(5000);
    ReportInput input = inputFor(group);
    const QString anonymous = writeReport(input, m_dir.filePath(QStringLiteral("large.pdf")));
    keep(anonymous, QStringLiteral("large.pdf"));
    const int pages = pageCount(anonymous);
    QVERIFY2(pages >= 4 && pages <= 7, qPrintable(QString::number(pages)));
    const QString text = words(anonymous);
    QVERIFY(text.contains(QStringLiteral("Группа: 5000 анкет")));
    QVERIFY(!text.contains(QStringLiteral("Фамилия")));

    input.title.memberList = true;
    const QString listed = writeReport(input, m_dir.filePath(QStringLiteral("large-list.pdf")));
    keep(listed, QStringLiteral("large-list.pdf"));
    const int listedPages = pageCount(listed);
    QVERIFY2(listedPages > 80, qPrintable(QString::number(listedPages)));
    const QString all = words(listed);
    for (int m : {0, 1234, 4999})
        QVERIFY(all.contains(QStringLiteral("Сотрудник %1 Фамилия").arg(m, 4, 10, QLatin1Char('0'))));
    QVERIFY(all.contains(QStringLiteral("Стр. %1 из %1").arg(listedPages)));
}

void TestReport::titleRoundTrip()
{
    // The title block goes onto page 1 and is proposed again next time, from the user's settings;
    // a cancel in it cancels the report before the save dialog.
    QSettings(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::organizationName(),
              QCoreApplication::applicationName())
        .clear();
    WindowFixture fx;
    TForm1 &f = *fx.form;
    fx.load(Respondent());
    ReportTitle title;
    title.company = QStringLiteral("АО «Север & Юг» <b>");
    title.consultant = QStringLiteral("Петрова Анна");
    title.surveyDate = QStringLiteral("май 2025");
    fx.prompts->titleAnswers << title;
    fx.prompts->saveAnswers << fx.dir.filePath(QStringLiteral("first.pdf"));
    f.mmReportClick();
    QCOMPARE(fx.prompts->titleProposals.size(), 1);
    QVERIFY(fx.prompts->titleProposals[0].company.isEmpty()); // nothing remembered yet
    const QString text = words(fx.dir.filePath(QStringLiteral("first.pdf")), Order::Layout);
    for (const QString &line : {QStringLiteral("Компания: АО «Север & Юг» <b>"), QStringLiteral("Консультант: Петрова Анна"),
                                QStringLiteral("Дата опроса: май 2025")})
        QVERIFY2(text.contains(line), qPrintable(line));

    fx.prompts->titleAnswers << std::nullopt;
    f.mmReportClick();
    QCOMPARE(fx.prompts->titleProposals.size(), 2);
    QCOMPARE(fx.prompts->titleProposals[1], title);
    QCOMPARE(fx.prompts->saveDialogs.size(), 1); // no save dialog after the cancel
    QVERIFY(fx.prompts->errors.isEmpty());

    // What a new session of the program reads back.
    const QSettings stored(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::organizationName(),
                           QCoreApplication::applicationName());
    QVERIFY2(stored.fileName().startsWith(m_settings.path()), qPrintable(stored.fileName()));
    QCOMPARE(stored.value(QStringLiteral("Report/Company")).toString(), title.company);
    QCOMPARE(ReportTitleSettings::load(), title);
}

void TestReport::titleDialog()
{
    // The real dialog: prefilled, its fields found by name; the member list offered for a group only.
    ReportTitle proposed;
    proposed.company = QStringLiteral("ООО «Ромашка»");
    proposed.consultant = QStringLiteral("Иванов");
    proposed.surveyDate = QStringLiteral("2025");
    proposed.group = true;
    DesktopPrompts prompts;
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog && dialog->objectName() == QLatin1String("reportTitle"));
        QCOMPARE(dialog->findChild<QLineEdit *>(QStringLiteral("company"))->text(), QStringLiteral("ООО «Ромашка»"));
        auto *memberList = dialog->findChild<QCheckBox *>(QStringLiteral("memberList"));
        QVERIFY(!memberList->isHidden());
        QVERIFY(!memberList->isChecked());
        memberList->setChecked(true);
        dialog->findChild<QLineEdit *>(QStringLiteral("consultant"))->setText(QStringLiteral("  Петрова  "));
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    const std::optional<ReportTitle> accepted = prompts.reportTitle(nullptr, proposed);
    QVERIFY(accepted);
    QCOMPARE(accepted->company, proposed.company);
    QCOMPARE(accepted->consultant, QStringLiteral("Петрова"));
    QVERIFY(accepted->memberList);

    proposed.group = false;
    proposed.memberList = true;
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QVERIFY(dialog->findChild<QCheckBox *>(QStringLiteral("memberList"))->isHidden());
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
    });
    QVERIFY(!prompts.reportTitle(nullptr, proposed));
    ReportTitleDialog respondent(proposed);
    QVERIFY(!respondent.title().memberList); // a respondent's report has no member list to add
}

void TestReport::printQuality()
{
    // Fonts embedded; no raster picture on page 1 (the circle, the polygon, the table are vectors),
    // none under 300 dots per inch anywhere.
    if (tool("pdffonts").isEmpty() || tool("pdfimages").isEmpty())
        QSKIP("pdffonts and pdfimages (Debian: poppler-utils) read the report");
    const QString pdf = writeReport(inputFor(memoryGroup(50)), m_dir.filePath(QStringLiteral("print.pdf")));
    const QStringList fonts = QString::fromUtf8(run("pdffonts", {pdf})).split(u'\n', Qt::SkipEmptyParts).mid(2);
    QVERIFY(!fonts.isEmpty());
    for (const QString &font : fonts) {
        const QStringList columns = font.split(u' ', Qt::SkipEmptyParts);
        QVERIFY2(columns.size() > 5 && columns[columns.size() - 5] == QLatin1String("yes"), qPrintable(font));
    }
    const QStringList images = QString::fromUtf8(run("pdfimages", {QStringLiteral("-list"), pdf})).split(u'\n', Qt::SkipEmptyParts).mid(2);
    for (const QString &image : images) {
        const QStringList columns = image.split(u' ', Qt::SkipEmptyParts);
        QVERIFY2(columns.size() > 14, qPrintable(image));
        QVERIFY2(columns[0] != QLatin1String("1"), qPrintable(image));
        QVERIFY2(columns[12].toInt() >= 300 && columns[13].toInt() >= 300, qPrintable(image));
    }
}

void TestReport::scoresOffTheScale()
{
    // A damaged or hand-made file's scores far off the scale, or not numbers at all: the report is
    // still written, its limits and bars bounded.
    Profile profile;
    profile.header = {QStringLiteral("01.02.2003"), QStringLiteral("0042"), QStringLiteral("Тест"), {}};
    IndexScores indices = WorkedExample;
    indices[0] = 1e300;
    indices[1] = -1e300;
    indices[2] = std::numeric_limits<double>::infinity();
    indices[3] = std::nan("");
    profile.setScores(indices, itemScores({{1, 1e300}, {2, -1e300}, {3, std::numeric_limits<double>::infinity()}, {4, std::nan("")}},
                                          [](int s) { return 1.0 + s % 5; }));
    for (double delta : {Scoring::BandMinimum, Scoring::BandMaximum}) {
        ReportInput input = inputFor(profile);
        input.band = delta;
        const QString pdf = writeReport(input, m_dir.filePath(QStringLiteral("off-scale.pdf")));
        keep(pdf, QStringLiteral("off-scale.pdf"));
        const int pages = pageCount(pdf);
        QVERIFY2(pages >= 4 && pages <= 7, qPrintable(QString::number(pages)));
        QVERIFY(words(pdf).contains(QStringLiteral("Стр. %1 из %1").arg(pages)));
    }
}

void TestReport::comparisonPage()
{
    // While a comparison is on, page 2 holds both profiles and the table of differences, and the
    // pages after it are numbered on; without it there is no such page.
    if (popplerMissing())
        QSKIP("pdftotext and pdfinfo (Debian: poppler-utils) read the report");
    QTemporaryDir dir;
    const Profile group = memoryGroup(20);
    Profile member = ProfileLoader::memberProfile(group, 3);
    ReportInput input = inputFor(member);
    const QString plain = writeReport(input, dir.filePath(QStringLiteral("plain.pdf")));
    input.reference = group;
    input.referenceName = QStringLiteral("Группа (20 анкет)");
    const QString compared = writeReport(input, dir.filePath(QStringLiteral("compared.pdf")));
    QCOMPARE(pageCount(compared), pageCount(plain) + 1);
    const QStringList page = pageLines(compared, 2);
    QVERIFY2(page.join(u' ').contains(QStringLiteral("Сравнение с эталоном: Группа (20 анкет)")), qPrintable(page.join(u'\n')));
    // Index 1: the member's score, the group's, and the difference with its sign.
    const double own = member.scores.index(1);
    const double other = group.scores.index(1);
    const QString row = QStringLiteral("%1 %2 %3%4").arg(Scoring::scoreText(own), Scoring::scoreText(other),
                                                          own - other > 0 ? QStringLiteral("+") : QString(),
                                                          Scoring::scoreText(own - other));
    QVERIFY2(page.filter(Resource::indexHeading(1)).join(u' ').simplified().endsWith(row),
             qPrintable(page.filter(Resource::indexHeading(1)).join(u'|')));
    QVERIFY(words(compared).contains(QStringLiteral("Стр. %1 из %1").arg(pageCount(compared))));
    QVERIFY(!words(plain).contains(QStringLiteral("Сравнение с эталоном")));
    // A member against its group: no mark of significance (there is no test of one member).
    QVERIFY(!page.filter(Resource::indexHeading(1)).join(u' ').contains(u'*'));

    // Two groups whose every statement lies 1,5 apart, with the same spread: every index differs
    // significantly and is marked.
    auto lower = std::make_shared<MemberTable>();
    for (qsizetype m = 0; m < group.members->size(); ++m) {
        ItemScores items = group.members->itemScores(m);
        for (double &score : items)
            score -= 1.5;
        lower->append(group.members->file(m), group.members->header(m), group.members->indexScores(m), items);
    }
    ReportInput groups = inputFor(group);
    groups.reference = ProfileLoader::groupProfile(lower, QStringLiteral("lower"));
    groups.referenceName = QStringLiteral("Другая группа");
    const QString marked = writeReport(groups, dir.filePath(QStringLiteral("groups.pdf")));
    const QStringList markedPage = pageLines(marked, 2);
    for (int i = 1; i <= Resource::IndexCount; ++i)
        QVERIFY2(markedPage.filter(Resource::indexHeading(i)).join(u' ').simplified().endsWith(u'*'),
                 qPrintable(markedPage.filter(Resource::indexHeading(i)).join(u'|')));
    QVERIFY(markedPage.join(u' ').contains(QStringLiteral("с поправкой Холма")));
    QVERIFY(takeComplaints().isEmpty());
}

void TestReport::reliabilityPage_data()
{
    QTest::addColumn<int>("members");
    QTest::addColumn<bool>("page");
    QTest::newRow("9 members: too few to judge reliability") << 9 << false;
    QTest::newRow("10 members") << 10 << true;
}

void TestReport::reliabilityPage()
{
    QFETCH(int, members);
    QFETCH(bool, page);
    const Profile group = memoryGroup(members);
    const QString pdf = writeReport(inputFor(group), m_dir.filePath(QStringLiteral("reliability.pdf")));
    const int pages = pageCount(pdf);
    const QString last = pageLines(pdf, pages).join(u' ');
    QCOMPARE(last.contains(QStringLiteral("Надёжность шкал")), page);
    // Every page numbered of the right count, the reliability page too.
    QVERIFY2(last.contains(QStringLiteral("Стр. %1 из %1").arg(pages)), qPrintable(last));
    // The group's index means have their intervals, whatever its size; the legend says what they are.
    QVERIFY(words(pdf).contains(QStringLiteral("95-процентный доверительный интервал среднего группы")));
    // The legend points to the reliability page only where there is one, and to the right page.
    const QRegularExpressionMatch pointer =
        QRegularExpression(QStringLiteral("Надёжность шкал — на с\\.[\\s\\x{00a0}]*(\\d+)")).match(words(pdf));
    QCOMPARE(pointer.hasMatch(), page);
    if (page)
        QCOMPARE(pointer.captured(1).toInt(), pages);
}

// A pack of reports: one file for the whole group and one per department the anonymity rule shows,
// named by the department (made safe for a file name), each compared with the whole group; none for
// a department too small or for the one that would give it away; a cancel keeps whole files only.
void TestReport::reportPack_data()
{
    QTest::addColumn<Departments>("departments");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("leftOut");
    QTest::newRow("every department large enough")
        << Departments{{"Продажи", 6}, {"Склад", 5}} << 5 << QStringList{"Вся группа.pdf", "Продажи.pdf", "Склад.pdf"} << 0;
    QTest::newRow("one too small, and the smallest other would give it away")
        << Departments{{"Бухгалтерия", 2}, {"Продажи", 8}, {"Склад", 6}} << 5 << QStringList{"Вся группа.pdf", "Продажи.pdf"} << 2;
    QTest::newRow("the lowest threshold")
        << Departments{{"А", 3}, {"Б", 3}} << 3 << QStringList{"Вся группа.pdf", "А.pdf", "Б.pdf"} << 0;
    QTest::newRow("a threshold below the lowest counts as the lowest")
        << Departments{{"А", 2}, {"Б", 3}, {"В", 4}, {"Г", 5}} << 1 << QStringList{"Вся группа.pdf", "В.pdf", "Г.pdf"} << 2;
    QTest::newRow("names that would lead out of the folder or clash")
        << Departments{{"../Цех 1", 5}, {"Вся группа", 5}, {"___Цех 1", 5}}
        << 5 << QStringList{"Вся группа.pdf", "___Цех 1.pdf", "___Цех 1 (2).pdf", "Вся группа (2).pdf"} << 0;
}

void TestReport::reportPack()
{
    QFETCH(Departments, departments);
    QFETCH(int, minimum);
    QFETCH(QStringList, files);
    QFETCH(int, leftOut);
    const Profile group = departmentsGroup(departments);
    ReportPack::Options options;
    options.by = GroupArithmetic::SplitBy::Info1;
    options.minimum = minimum;
    options.title.company = QStringLiteral("ООО «Пример»");
    const ReportPack::Plan plan = ReportPack::plan(group, options);
    QStringList planned;
    for (const ReportPack::PlannedReport &report : plan.reports)
        planned << report.fileName;
    QCOMPARE(planned, files);
    QCOMPARE(plan.leftOut, qsizetype(leftOut));
    // No department shown has fewer members than the threshold.
    for (const ReportPack::PlannedReport &report : plan.reports.mid(1))
        QVERIFY(report.members >= std::max(minimum, SegmentsTable::LowestMinimum));
    // Each department's scores are those of its members, as the window shows the department.
    for (const ReportPack::PlannedReport &report : plan.reports.mid(1)) {
        QList<qsizetype> chosen;
        for (qsizetype k = 0; k < group.respondentCount(); ++k)
            if (group.members->header(k).info[0] == report.segment)
                chosen << k;
        const Profile shown = ProfileLoader::groupProfile(group.members, group.source, chosen, report.segment);
        QCOMPARE(report.members, chosen.size());
        QCOMPARE(report.profile.scores.IndexScores, shown.scores.IndexScores);
        QCOMPARE(report.profile.scores.ItemScores, shown.scores.ItemScores);
        QCOMPARE(report.profile.overallMean, shown.overallMean);
        QCOMPARE(report.profile.header.name, shown.header.name);
    }

    QTemporaryDir folder;
    const Outcome<ReportPack::Written> written = ReportPack::write(folder.path(), plan, group, options);
    QVERIFY2(written, qPrintable(written.message()));
    QVERIFY(!written->cancelled);
    QStringList present = QDir(folder.path()).entryList(QDir::Files);
    QStringList expected = files;
    present.sort();
    expected.sort();
    QCOMPARE(present, expected);
    if (popplerMissing())
        return;
    // A department's report names it and compares it with the whole group; the group's report is
    // the whole group's.
    const QString department = words(folder.filePath(files.at(1)));
    QVERIFY2(department.contains(plan.reports.at(1).segment), qPrintable(department.left(400)));
    QVERIFY2(department.contains(QStringLiteral("Вся группа (%1)").arg(ProfileText::questionnaires(group.respondentCount()))),
             qPrintable(department.left(400)));
    QVERIFY(department.contains(QStringLiteral("ООО «Пример»")));
    const QString whole = words(folder.filePath(files.at(0)));
    QVERIFY(whole.contains(ProfileText::questionnaires(group.respondentCount())));
    QVERIFY(!whole.contains(QStringLiteral("Вся группа (")));
    const QByteArray complaints = takeComplaints();
    QVERIFY2(complaints.isEmpty(), complaints.constData());

    // Cancelled after the first file: that one is whole, no other is begun.
    QTemporaryDir cancelled;
    const Outcome<ReportPack::Written> stopped =
        ReportPack::write(cancelled.path(), plan, group, options, [](qsizetype done, qsizetype) { return done < 1; });
    QVERIFY(stopped && stopped->cancelled);
    QCOMPARE(QDir(cancelled.path()).entryList(QDir::Files | QDir::Hidden), QStringList{files.at(0)});
    QCOMPARE(pageCount(cancelled.filePath(files.at(0))), pageCount(folder.filePath(files.at(0))));
}

// "Save" -> "Отчёты по подразделениям...": the splits offered (the information lines that split the
// group, the sub-folders of a folder of departments), the files in the chosen folder, the question
// before files are replaced, the summary.
void TestReport::reportPackFromTheWindow()
{
    WindowFixture fx;
    TForm1 &f = *fx.form;
    const QString firm = fx.dir.filePath(QStringLiteral("firm"));
    const QList<std::pair<QString, int>> departments = {{"Отдел 1", 5}, {"Отдел 2", 6}, {"Склад", 1}};
    int m = 0;
    for (const auto &[department, size] : departments) {
        QVERIFY(QDir().mkpath(firm + u'/' + department));
        for (int k = 0; k < size; ++k, ++m) {
            Respondent r = Respondent::uniform(2.0 + m % 4 * 0.5);
            r.info = {department, QString(), QString(), QString()};
            r.code = QStringLiteral("%1").arg(m + 1, 4, 10, QLatin1Char('0'));
            writeResultFile(firm + u'/' + department, QStringLiteral("m%1.cry").arg(m), r);
        }
    }
    fx.prompts->openAnswers << firm;
    f.mmGroupClick();
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    QCOMPARE(f.profile().respondentCount(), 12);
    QVERIFY(fx.action("mmReportPack")->isEnabled());
    const QString out = fx.dir.filePath(QStringLiteral("отчёты"));
    QVERIFY(QDir().mkpath(out));
    fx.prompts->folderAnswers << out << out;
    fx.action("mmReportPack")->trigger();
    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join(u'\n')));
    // Information line 1 and the sub-folders split the group; lines 2 to 4 do not.
    QCOMPARE(fx.prompts->packChoices.size(), 1);
    QCOMPARE(fx.prompts->packChoices.first().size(), 2);
    QCOMPARE(fx.prompts->packChoices.first().at(1).by, GroupArithmetic::SplitBy::Folder);
    QCOMPARE(fx.prompts->packChoices.first().at(1).segments, qsizetype(3));
    // "Склад" alone is too small, so "Отдел 1", the smallest other, gets no report either.
    QStringList written = QDir(out).entryList(QDir::Files);
    written.sort();
    QCOMPARE(written, (QStringList{"Вся группа.pdf", "Отдел 2.pdf"}));
    QCOMPARE(fx.prompts->informations.size(), 1);
    QVERIFY2(fx.prompts->informations.first().contains(QStringLiteral("Без отчёта: подразделений 2")),
             qPrintable(fx.prompts->informations.first()));
    // Again into the same folder: a question first, and "no" leaves the files as they were.
    const QDateTime before = QFileInfo(QDir(out).filePath(QStringLiteral("Отдел 2.pdf"))).lastModified();
    fx.prompts->confirmAnswers << false;
    fx.action("mmReportPack")->trigger();
    QCOMPARE(fx.prompts->questions.size(), 1);
    QVERIFY(fx.prompts->questions.first().contains(QStringLiteral("Отдел 2.pdf")));
    QCOMPARE(fx.prompts->informations.size(), 1);
    QCOMPARE(QFileInfo(QDir(out).filePath(QStringLiteral("Отдел 2.pdf"))).lastModified(), before);
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
