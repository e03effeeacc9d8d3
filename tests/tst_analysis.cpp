// A group's analyses as tables, without a window: its segments (departments) with the anonymity
// threshold, and the spread of its answers; figures worked out by hand.

#include "CsvTable.h"
#include "ProfileLoader.h"
#include "SegmentsTable.h"
#include "SpreadTable.h"
#include "TableRows.h"

#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

// A group whose members have the given department (information line 1) and index-1 score; the other
// scores differ from index to index and statement to statement, so that traits and the overall mean
// are not all the same.
Profile groupOf(const QStringList &departments, const QList<double> &firstIndex)
{
    auto table = std::make_shared<MemberTable>();
    for (qsizetype k = 0; k < departments.size(); ++k) {
        RespondentHeader header;
        header.info[0] = departments[k];
        IndexScores indices;
        for (int i = 0; i < Resource::IndexCount; ++i)
            indices[std::size_t(i)] = 2.0 + 0.1 * ((i + k) % 7);
        indices[0] = firstIndex[k];
        ItemScores items;
        for (int s = 0; s < Resource::StatementCount; ++s)
            items[std::size_t(s)] = 1.0 + (s + 2 * k) % 5;
        table->append(QStringLiteral("m%1.cry").arg(k), header, indices, items);
    }
    return ProfileLoader::groupProfile(std::move(table), QStringLiteral("/data/group/"));
}

QList<TableCell> rowOf(const Table &table, qsizetype row)
{
    QList<TableCell> cells;
    produceRow(table, row, cells);
    return cells;
}

} // namespace

class TestAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void segmentsKnownByHand_data();
    void segmentsKnownByHand();
    void segmentsAsCsv();
    void subtractionRevealsNoOne_data();
    void subtractionRevealsNoOne();
    void spreadKnownByHand();
};

void TestAnalysis::segmentsKnownByHand_data()
{
    QTest::addColumn<QStringList>("departments"); // information line 1 of each member
    QTest::addColumn<QList<double>>("firstIndex"); // index 1 of each member
    QTest::addColumn<int>("minimum");
    QTest::addColumn<QStringList>("names");        // the segments in order
    QTest::addColumn<QList<qsizetype>>("sizes");
    QTest::addColumn<QList<double>>("means");      // index 1 of each segment
    QTest::addColumn<QList<int>>("hidden");         // 0 shown, 1 too small, 2 hidden to protect a small one
    QTest::addColumn<double>("groupMean");         // index 1 of the whole group

    const QStringList two = {QStringLiteral("Склад"), QStringLiteral("Продажи"), QStringLiteral("Склад"), QStringLiteral("Склад"),
                             QStringLiteral("Склад"), QStringLiteral("Склад"), QStringLiteral("Продажи")};
    const QList<double> twoScores = {2, 4, 3, 4, 5, 1, 5};
    QTest::newRow("a small department hidden, counted in the group")
        << two << twoScores << 5 << QStringList{QStringLiteral("Продажи"), QStringLiteral("Склад")}
        << QList<qsizetype>{2, 5} << QList<double>{4.5, 3.0} << QList<int>{1, 2} << 24.0 / 7;
    QTest::newRow("a threshold below 3 is 3")
        << two << twoScores << 1 << QStringList{QStringLiteral("Продажи"), QStringLiteral("Склад")}
        << QList<qsizetype>{2, 5} << QList<double>{4.5, 3.0} << QList<int>{1, 2} << 24.0 / 7;
    // With two small departments hidden, neither follows from the group and the rest: all else shows.
    QTest::newRow("two small departments hidden, the rest shown")
        << QStringList{QStringLiteral("А"), QStringLiteral("Б"), QStringLiteral("А"), QStringLiteral("В"), QStringLiteral("А"),
                       QStringLiteral("Б"), QStringLiteral("В")}
        << QList<double>{1, 2, 3, 4, 5, 2, 4} << 3 << QStringList{QStringLiteral("А"), QStringLiteral("Б"), QStringLiteral("В")}
        << QList<qsizetype>{3, 2, 2} << QList<double>{3.0, 2.0, 4.0} << QList<int>{0, 1, 1} << 3.0;
    // One small department and two large: the smaller large one is hidden too, its size shown.
    QTest::newRow("one small department hidden, the smallest other with it")
        << QStringList{QStringLiteral("А"), QStringLiteral("Б"), QStringLiteral("А"), QStringLiteral("В"), QStringLiteral("А"),
                       QStringLiteral("В"), QStringLiteral("В"), QStringLiteral("А")}
        << QList<double>{1, 2, 3, 4, 5, 2, 4, 3} << 3 << QStringList{QStringLiteral("А"), QStringLiteral("Б"), QStringLiteral("В")}
        << QList<qsizetype>{4, 1, 3} << QList<double>{3.0, 2.0, 10.0 / 3} << QList<int>{0, 1, 2} << 24.0 / 8;
    QTest::newRow("a department of exactly the threshold shows")
        << QStringList{QStringLiteral("А"), QStringLiteral("Б"), QStringLiteral("А"), QStringLiteral("Б"), QStringLiteral("А"), QStringLiteral("Б")}
        << QList<double>{1, 4, 2, 4, 3, 5} << 3 << QStringList{QStringLiteral("А"), QStringLiteral("Б")}
        << QList<qsizetype>{3, 3} << QList<double>{2.0, 13.0 / 3} << QList<int>{0, 0} << 19.0 / 6;
    QTest::newRow("letter case and blanks ignored, members without a department")
        << QStringList{QStringLiteral("отдел "), QStringLiteral("Отдел"), QString(), QStringLiteral("ОТДЕЛ"), QString(), QStringLiteral("  ")}
        << QList<double>{1, 2, 3, 4, 5, 5} << 3 << QStringList{QStringLiteral("(не указано)"), QStringLiteral("отдел")}
        << QList<qsizetype>{3, 3} << QList<double>{13.0 / 3, 7.0 / 3} << QList<int>{0, 0} << 20.0 / 6;
}

void TestAnalysis::segmentsKnownByHand()
{
    QFETCH(QStringList, departments);
    QFETCH(QList<double>, firstIndex);
    QFETCH(int, minimum);
    QFETCH(QStringList, names);
    QFETCH(QList<qsizetype>, sizes);
    QFETCH(QList<double>, means);
    QFETCH(QList<int>, hidden);
    QFETCH(double, groupMean);

    const Profile group = groupOf(departments, firstIndex);
    const SegmentsTable::Segments segments = SegmentsTable::split(group, GroupArithmetic::SplitBy::Info1);
    QCOMPARE(segments.group.size(), departments.size());
    QCOMPARE(segments.group.scores.index(1), groupMean);
    QCOMPARE(segments.segments.size(), names.size());
    const Table table = SegmentsTable::table(segments, minimum);
    QCOMPARE(table.rowCount, 1 + names.size());
    QCOMPARE(table.markedRows, QList<qsizetype>{0});
    QCOMPARE(table.columns.size(), SegmentsTable::ColumnCount);

    // The whole group first, every member in it.
    const QList<TableCell> first = rowOf(table, 0);
    QCOMPARE(first[0].text, SegmentsTable::groupLabel());
    QCOMPARE(first[1].number, double(departments.size()));
    QCOMPARE(first[2].number, groupMean);
    QCOMPARE(first[SegmentsTable::ColumnCount - 1].number, group.overallMean);

    for (qsizetype k = 0; k < names.size(); ++k) {
        const SegmentsTable::Segment &segment = segments.segments[k];
        QCOMPARE(segment.name, names[k]);
        QCOMPARE(segment.size(), sizes[k]);
        QCOMPARE(segment.scores.index(1), means[k]);
        // Scored exactly as the window scores the segment shown as a group.
        const Profile shown = ProfileLoader::groupProfile(group.members, group.source, segment.members, segment.name);
        QCOMPARE(segment.scores.IndexScores, shown.scores.IndexScores);
        QCOMPARE(segment.scores.TraitScores, shown.scores.TraitScores);
        QCOMPARE(segment.scores.ItemScores, shown.scores.ItemScores);
        QVERIFY(segment.overallMean == shown.overallMean);

        const QList<TableCell> cells = rowOf(table, 1 + k);
        QCOMPARE(cells[0].text, names[k]);
        if (hidden[k] == 1) {
            QCOMPARE(cells[1].kind, TableCell::Kind::Text);
            QCOMPARE(cells[1].text, SegmentsTable::suppressedText(std::max(minimum, 3)));
        } else {
            QCOMPARE(cells[1].number, double(sizes[k]));
        }
        if (hidden[k] != 0) {
            // No scores; a segment hidden to protect others says so.
            if (hidden[k] == 2)
                QCOMPARE(cells[SegmentsTable::FirstScoreColumn].text, SegmentsTable::protectingText());
            for (int c = SegmentsTable::FirstScoreColumn + (hidden[k] == 2 ? 1 : 0); c < SegmentsTable::ColumnCount; ++c)
                QVERIFY2(cells[c].kind == TableCell::Kind::Empty, qPrintable(QStringLiteral("column %1").arg(c)));
        } else {
            QCOMPARE(cells[1].number, double(sizes[k]));
            QCOMPARE(cells[2].number, means[k]);
            QCOMPARE(cells[2 + Resource::IndexCount].number, segment.scores.trait(1));
            QCOMPARE(cells[SegmentsTable::ColumnCount - 1].number, shown.overallMean);
        }
    }
}

void TestAnalysis::subtractionRevealsNoOne_data()
{
    // Members by their information lines 1 and 2, and the threshold.
    QTest::addColumn<QStringList>("line1");
    QTest::addColumn<QStringList>("line2");
    QTest::addColumn<int>("minimum");
    const auto repeated = [](const QList<std::pair<QString, int>> &runs) {
        QStringList lines;
        for (const auto &[text, count] : runs)
            for (int k = 0; k < count; ++k)
                lines << text;
        return lines;
    };
    // Departments of 1 and 3 are both hidden; the whole group minus the two shown gives their 4.
    QTest::newRow("two small departments under the threshold together")
        << repeated({{QStringLiteral("А"), 8}, {QStringLiteral("Б"), 9}, {QStringLiteral("В"), 1}, {QStringLiteral("Г"), 3}})
        << QStringList(21, QString()) << 5;
    // Department А by line 1, and by line 2 a team of all of А but one: А minus the team is one person.
    QTest::newRow("a segment inside another, one member apart")
        << repeated({{QStringLiteral("А"), 8}, {QStringLiteral("Б"), 12}})
        << repeated({{QStringLiteral("Команда"), 7}, {QStringLiteral("Прочие"), 13}}) << 5;
    // The same team, and its complement hidden as too small in line 2.
    QTest::newRow("a team one member short of its department, the rest too small")
        << repeated({{QStringLiteral("А"), 9}, {QStringLiteral("Б"), 11}})
        << repeated({{QStringLiteral("Команда"), 8}, {QStringLiteral("Прочие"), 10}, {QStringLiteral("Стажёры"), 2}}) << 5;
    // Lines that split nobody (every member the same) are the whole group: equal sets give nothing.
    QTest::newRow("a line that is the whole group")
        << repeated({{QStringLiteral("А"), 6}, {QStringLiteral("Б"), 6}}) << QStringList(12, QStringLiteral("Все")) << 5;
    // A threshold of 3 and many small segments.
    QTest::newRow("many small segments")
        << repeated({{QStringLiteral("А"), 3}, {QStringLiteral("Б"), 4}, {QStringLiteral("В"), 1}, {QStringLiteral("Г"), 5}, {QStringLiteral("Д"), 2}})
        << repeated({{QStringLiteral("x"), 6}, {QStringLiteral("y"), 9}}) << 3;
}

void TestAnalysis::subtractionRevealsNoOne()
{
    // Everything the program publishes for the group: the tables split by each line (whole group
    // first). A reader subtracts sums (size times mean) of index 1: the whole group minus the shown
    // segments of a split, and a shown segment minus a shown segment of another split inside it.
    // Whatever such a subtraction yields must hold no member or at least the threshold.
    QFETCH(QStringList, line1);
    QFETCH(QStringList, line2);
    QFETCH(int, minimum);
    auto members = std::make_shared<MemberTable>();
    for (qsizetype k = 0; k < line1.size(); ++k) {
        RespondentHeader header;
        header.info[0] = line1[k];
        header.info[1] = line2[k];
        IndexScores indices;
        indices.fill(3.0);
        indices[0] = 1.0 + double(k % 5) + 0.01 * double(k);
        ItemScores items;
        items.fill(3.0);
        members->append(QStringLiteral("m%1.cry").arg(k), header, indices, items);
    }
    const Profile group = ProfileLoader::groupProfile(members, QStringLiteral("/data/group/"));

    struct Published
    {
        QString name;
        QList<qsizetype> members;
        double sum; // size times the index-1 mean, as a reader works it out from the table
    };
    QList<QList<Published>> splits;
    const QList<TableCell> whole = rowOf(SegmentsTable::table(SegmentsTable::split(group, GroupArithmetic::SplitBy::Info1), minimum), 0);
    const double groupSum = whole[1].number * whole[SegmentsTable::FirstScoreColumn].number;
    for (GroupArithmetic::SplitBy by : {GroupArithmetic::SplitBy::Info1, GroupArithmetic::SplitBy::Info2, GroupArithmetic::SplitBy::Folder}) {
        const SegmentsTable::Segments segments = SegmentsTable::split(group, by);
        const Table table = SegmentsTable::table(segments, minimum);
        QList<Published> shown;
        for (qsizetype k = 0; k < segments.segments.size(); ++k) {
            const QList<TableCell> cells = rowOf(table, 1 + k);
            if (cells[SegmentsTable::FirstScoreColumn].kind == TableCell::Kind::Number)
                shown.append({segments.segments[k].name, segments.segments[k].members,
                              cells[1].number * cells[SegmentsTable::FirstScoreColumn].number});
            else // hidden rows say why
                QVERIFY(cells[1].kind == TableCell::Kind::Text || cells[SegmentsTable::FirstScoreColumn].text == SegmentsTable::protectingText());
        }
        splits.append(shown);
    }
    const auto revealed = [&](const QString &attack, qsizetype count, double sum) {
        const QString what = QStringLiteral("%1 gives the mean %2 of %3 member(s)").arg(attack).arg(sum / double(count)).arg(count);
        QVERIFY2(count == 0 || count >= minimum, qPrintable(what));
    };
    for (const QList<Published> &shown : std::as_const(splits)) {
        qsizetype count = line1.size();
        double sum = groupSum;
        QStringList names;
        for (const Published &segment : shown) {
            count -= segment.members.size();
            sum -= segment.sum;
            names << segment.name;
        }
        revealed(QStringLiteral("the whole group minus ") + names.join(QStringLiteral(", ")), count, sum);
        if (QTest::currentTestFailed())
            return;
    }
    for (qsizetype p = 0; p < splits.size(); ++p)
        for (qsizetype q = 0; q < splits.size(); ++q)
            for (const Published &outer : std::as_const(splits[p]))
                for (const Published &inner : std::as_const(splits[q])) {
                    if (p == q || !std::all_of(inner.members.cbegin(), inner.members.cend(),
                                               [&](qsizetype k) { return outer.members.contains(k); }))
                        continue;
                    revealed(outer.name + QStringLiteral(" minus ") + inner.name, outer.members.size() - inner.members.size(),
                             outer.sum - inner.sum);
                    if (QTest::currentTestFailed())
                        return;
                }
}

void TestAnalysis::segmentsAsCsv()
{
    // Three members at 3.5 and one at 2 in every index: the group's index scores are 3.125.
    const QStringList departments = {QStringLiteral("Склад"), QStringLiteral("Склад"), QStringLiteral("Отдел; «A»"), QStringLiteral("Склад")};
    auto table = std::make_shared<MemberTable>();
    for (qsizetype k = 0; k < departments.size(); ++k) {
        RespondentHeader header;
        header.info[0] = departments[k];
        IndexScores indices;
        indices.fill(k == 2 ? 2.0 : 3.5);
        table->append(QStringLiteral("m.cry"), header, indices, {});
    }
    const Profile group = ProfileLoader::groupProfile(std::move(table), QStringLiteral("/g/"));
    const Table segments = SegmentsTable::table(SegmentsTable::split(group, GroupArithmetic::SplitBy::Info1), 3);
    const QList<QByteArray> lines = CsvTable::document(segments, QLocale(QLocale::Russian, QLocale::Russia)).split('\n');
    QCOMPARE(lines.size(), 5); // header, group, two segments, and the empty end after the last CR LF
    QVERIFY(lines[0].startsWith("\xEF\xBB\xBF" "Сегмент;n;1. Делегирование полномочий;"));
    QVERIFY(lines[0].endsWith(";Миссия;Общее среднее\r"));
    QVERIFY2(lines[1].startsWith("Вся группа;4;3,125;3,125;3,125;3,125;3,125;3,125;3,125;3,125;3,125;3,125;3,125;3,125;3,125;3,125;3,125;3,125;"),
             lines[1].constData());
    // A hidden segment keeps its name (quoted for its separator) and nothing else; the only other one
    // keeps its size but not its scores, which would give away the hidden one's, and says why.
    QCOMPARE(lines[2], QByteArray("\"Отдел; «A»\";менее 3 анкет;;;;;;;;;;;;;;;;;\r"));
    QCOMPARE(lines[3], QByteArray("Склад;3;скрыт для анонимности;;;;;;;;;;;;;;;;\r"));
}

void TestAnalysis::spreadKnownByHand()
{
    // Three members; index 1 at 2, 3 and 4.6, statement 1 at 1.4, 4.5 and 5 (answers 1, 5 and 5).
    MemberTable members;
    const double firstIndex[] = {2.0, 3.0, 4.6};
    const double firstItem[] = {1.4, 4.5, 5.0};
    for (int k = 0; k < 3; ++k) {
        IndexScores indices;
        indices.fill(3.0);
        indices[0] = firstIndex[k];
        ItemScores items;
        items.fill(3.0);
        items[0] = firstItem[k];
        members.append(QStringLiteral("m.cry"), RespondentHeader(), indices, items);
    }
    const Table table = SpreadTable::table(GroupArithmetic::spread(members));
    QCOMPARE(table.rowCount, 12 + 4 + 60);
    QCOMPARE(table.columns.size(), 11);

    const QList<TableCell> index1 = rowOf(table, 0);
    QCOMPARE(index1[0].text, QStringLiteral("Индекс 1"));
    QCOMPARE(index1[1].number, 3.0);
    QCOMPARE(index1[2].number, (0.0 + 2.0 + 3.0 + 4.6) / 3);
    QVERIFY(std::abs(index1[3].number - std::sqrt((1.2 * 1.2 + 0.2 * 0.2 + 1.4 * 1.4) / 2)) < 1e-12);
    QCOMPARE(index1[4].number, 2.0);
    QCOMPARE(index1[5].number, 4.6);
    for (int a = 6; a < 11; ++a)
        QCOMPARE(index1[a].kind, TableCell::Kind::Empty);

    const QList<TableCell> trait4 = rowOf(table, 15);
    QCOMPARE(trait4[0].text, QStringLiteral("Фактор 4"));
    QCOMPARE(trait4[2].number, 3.0);
    QCOMPARE(trait4[3].number, 0.0);
    QCOMPARE(trait4[10].kind, TableCell::Kind::Empty);

    const QList<TableCell> statement1 = rowOf(table, 16);
    QCOMPARE(statement1[0].text, QStringLiteral("Утверждение 1"));
    QCOMPARE(statement1[4].number, 1.4);
    const double answers[] = {1, 0, 0, 0, 2};
    for (int a = 0; a < 5; ++a)
        QCOMPARE(statement1[6 + a].number, answers[a]);
    QCOMPARE(rowOf(table, 75)[0].text, QStringLiteral("Утверждение 60"));
    QCOMPARE(rowOf(table, 75)[8].number, 3.0);

    // One member has no deviation: its cell is empty, not "nan".
    const QList<TableCell> alone = rowOf(SpreadTable::table(GroupArithmetic::spread(members, {1})), 0);
    QCOMPARE(alone[1].number, 1.0);
    QCOMPARE(alone[3].kind, TableCell::Kind::Empty);
    QCOMPARE(alone[2].number, 3.0);
}

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"
