// The statistics of a group: reliability, intervals, Welch's test with Holm's adjustment, agreement
// and the ICCs, each on a small group worked out by hand. Every expected figure was computed
// independently in R; the line beside it gives the call.

#include "Agreement.h"
#include "GroupMoments.h"
#include "Reliability.h"
#include "SegmentStatistics.h"
#include "SegmentsTable.h"
#include "Significance.h"
#include "StatisticsTables.h"

#include <QTest>

#include <cmath>

using Column = QList<double>;

namespace {

// A table of members whose statement scores are given column by column (statement 1 first); the
// statements not given are 3.
MemberTable membersOf(const QList<Column> &statements, const QStringList &departments = {})
{
    MemberTable table;
    const qsizetype n = statements.isEmpty() ? qsizetype(departments.size()) : statements.first().size();
    for (qsizetype m = 0; m < n; ++m) {
        ItemScores items;
        items.fill(3.0);
        for (qsizetype s = 0; s < statements.size(); ++s)
            items[std::size_t(s)] = statements[s][m];
        RespondentHeader header;
        header.info[0] = departments.value(m);
        table.append(QStringLiteral("m%1.cry").arg(m), header, GroupMoments::indexMeans(items), items);
    }
    return table;
}

// Members whose five statements of index 1 all have the given score: their index 1 is that score.
MemberTable indexScoresOf(const Column &scores, const QStringList &departments = {})
{
    return membersOf({scores, scores, scores, scores, scores}, departments);
}

GroupMoments::Moment momentOf(const Column &values)
{
    return GroupMoments::collect(indexScoresOf(values)).group.indices[0];
}

void compareFigure(const std::optional<double> &actual, const std::optional<double> &expected)
{
    QCOMPARE(actual.has_value(), expected.has_value());
    if (expected)
        QVERIFY2(std::fabs(*actual - *expected) < 1e-9, qPrintable(QStringLiteral("%1 against %2").arg(*actual, 0, 'g', 15).arg(*expected, 0, 'g', 15)));
}

using Figure = std::optional<double>;
const Figure none = std::nullopt;

// The worked example: four members, three statements.
const QList<Column> example = {{1, 2, 4, 5}, {2, 2, 3, 5}, {2, 3, 5, 4}};

} // namespace

Q_DECLARE_METATYPE(Column)
Q_DECLARE_METATYPE(QList<Column>)
Q_DECLARE_METATYPE(Figure)

class TestStatistics : public QObject
{
    Q_OBJECT
private slots:
    void alpha_data();
    void alpha();
    void statements_data();
    void statements();
    void verdict_data();
    void verdict();
    void meanInterval_data();
    void meanInterval();
    void welch_data();
    void welch();
    void holm_data();
    void holm();
    void rwg_data();
    void rwg();
    void icc_data();
    void icc();
    void percentile();
    void segmentTests();
    void tablesNeverShowNaN_data();
    void tablesNeverShowNaN();
};

void TestStatistics::alpha_data()
{
    QTest::addColumn<QList<Column>>("statements");
    QTest::addColumn<Figure>("alpha");
    QTest::addColumn<Figure>("lower");
    QTest::addColumn<Figure>("upper");
    QTest::addColumn<Figure>("meanCorrelation");
    QTest::addColumn<QString>("undefined");
    // psych::alpha(data.frame(a=c(1,2,4,5), b=c(2,2,3,5), c=c(2,3,5,4)))$total: raw_alpha, average_r;
    // 1 - (1 - alpha) * qf(c(0.975, 0.025), 3, 6)
    QTest::newRow("4 members, 3 statements") << example << Figure(0.905660377358) << Figure(0.377471837551)
                                             << Figure(0.993597460094) << Figure(0.766648936348) << QString();
    // psych::alpha(data.frame(a=c(1,4), b=c(2,3), c=c(5,4)), check.keys=FALSE)$total$raw_alpha;
    // 1 - (1 + 1/3) * qf(c(0.975, 0.025), 1, 2); mean(cor(...)[upper.tri(diag(3))]): r = 1, -1, -1.
    QTest::newRow("n = 2") << QList<Column>{{1, 4}, {2, 3}, {5, 4}} << Figure(-1.0 / 3.0) << Figure(-50.341772151899)
                           << Figure(0.998332291015) << Figure(-1.0 / 3.0) << QString();
    QTest::newRow("one member") << QList<Column>{{1}, {2}, {5}} << none << none << none << none
                                << QStringLiteral("не определено: меньше двух анкет");
    QTest::newRow("a constant statement") << QList<Column>{{1, 2, 4, 5}, {3, 3, 3, 3}, {2, 3, 5, 4}} << none << none
                                          << none << none << QStringLiteral("не определено: утверждение 2 без разброса");
    QTest::newRow("all members alike") << QList<Column>{{3.4, 3.4, 3.4}, {2.2, 2.2, 2.2}, {4.6, 4.6, 4.6}} << none
                                       << none << none << none << QStringLiteral("не определено: утверждение 1 без разброса");
}

void TestStatistics::alpha()
{
    QFETCH(QList<Column>, statements);
    QFETCH(Figure, alpha);
    QFETCH(Figure, lower);
    QFETCH(Figure, upper);
    QFETCH(Figure, meanCorrelation);
    QFETCH(QString, undefined);
    const GroupMoments::Moments moments = GroupMoments::collect(membersOf(statements));
    const Reliability::Scale scale = Reliability::scale(moments.covariances, 1, 3);
    compareFigure(scale.alpha, alpha);
    compareFigure(scale.lower, lower);
    compareFigure(scale.upper, upper);
    compareFigure(scale.meanCorrelation, meanCorrelation);
    QCOMPARE(scale.undefinedText(), undefined);
}

void TestStatistics::statements_data()
{
    QTest::addColumn<QList<Column>>("statements");
    QTest::addColumn<int>("statement");
    QTest::addColumn<Figure>("deviation");
    QTest::addColumn<Figure>("corrected");
    QTest::addColumn<Figure>("alphaWithout");
    // a <- psych::alpha(data.frame(a=c(1,2,4,5), b=c(2,2,3,5), c=c(2,3,5,4)));
    // a$item.stats[, c("sd", "r.drop")], a$alpha.drop$raw_alpha
    QTest::newRow("example 1") << example << 1 << Figure(1.82574185835) << Figure(0.997054485502) << Figure(0.705882352941);
    QTest::newRow("example 2") << example << 2 << Figure(1.41421356237) << Figure(0.785674201318) << Figure(0.888888888889);
    QTest::newRow("example 3") << example << 3 << Figure(1.29099444874) << Figure(0.734846922835) << Figure(0.933333333333);
    // A constant statement has no correlation; the others' alpha without it is that of the two left:
    // psych::alpha(data.frame(a=c(1,2,4,5), c=c(2,3,5,4)))$total$raw_alpha
    const QList<Column> constant = {{1, 2, 4, 5}, {3, 3, 3, 3}, {2, 3, 5, 4}};
    QTest::newRow("constant statement") << constant << 2 << Figure(0.0) << none << Figure(0.888888888889);
    // ... and no alpha where it stays in; the correlation with the rest: cor(c(1,2,4,5), c(2,3,5,4) + 3)
    QTest::newRow("beside a constant one") << constant << 1 << Figure(1.82574185835) << Figure(0.848528137424) << none;
    QTest::newRow("one member") << QList<Column>{{1}, {2}, {5}} << 1 << none << none << none;
}

void TestStatistics::statements()
{
    QFETCH(QList<Column>, statements);
    QFETCH(int, statement);
    QFETCH(Figure, deviation);
    QFETCH(Figure, corrected);
    QFETCH(Figure, alphaWithout);
    const GroupMoments::Moments moments = GroupMoments::collect(membersOf(statements));
    const Reliability::Statement s = Reliability::statement(moments.covariances, statement, 1, 3);
    compareFigure(s.deviation, deviation);
    compareFigure(s.correctedCorrelation, corrected);
    compareFigure(s.alphaWithout, alphaWithout);
}

void TestStatistics::verdict_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<Figure>("alpha");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("reliable") << 10 << Figure(0.70) << QStringLiteral("надёжен");
    QTest::newRow("shown as 0,70") << 10 << Figure(0.6951) << QStringLiteral("надёжен");
    QTest::newRow("doubtful") << 10 << Figure(0.60) << QStringLiteral("сомнителен");
    QTest::newRow("unreliable") << 10 << Figure(0.5949) << QStringLiteral("ненадёжен");
    QTest::newRow("too few") << 9 << Figure(0.95) << QStringLiteral("слишком мало анкет");
    QTest::newRow("undefined") << 10 << none << QStringLiteral("не определено: утверждение 7 без разброса");
}

void TestStatistics::verdict()
{
    QFETCH(int, n);
    QFETCH(Figure, alpha);
    QFETCH(QString, verdict);
    Reliability::Scale scale;
    scale.n = n;
    scale.alpha = alpha;
    if (!alpha) {
        scale.undefined = Reliability::Undefined::ConstantStatement;
        scale.constantStatement = 7;
    }
    QCOMPARE(Reliability::verdict(scale), verdict);
}

void TestStatistics::meanInterval_data()
{
    QTest::addColumn<Column>("values");
    QTest::addColumn<Figure>("lower");
    QTest::addColumn<Figure>("upper");
    // t.test(c(1,2,4,5))$conf.int
    QTest::newRow("4 members") << Column{1, 2, 4, 5} << Figure(0.0948372842452) << Figure(5.9051627157548);
    // t.test(c(2,4))$conf.int
    QTest::newRow("n = 2") << Column{2, 4} << Figure(-9.70620473617) << Figure(15.7062047362);
    QTest::newRow("one member") << Column{3} << none << none;
    QTest::newRow("all alike") << Column{3.4, 3.4, 3.4} << Figure(3.4) << Figure(3.4);
}

void TestStatistics::meanInterval()
{
    QFETCH(Column, values);
    QFETCH(Figure, lower);
    QFETCH(Figure, upper);
    const std::optional<Significance::Interval> interval = Significance::meanInterval(momentOf(values));
    compareFigure(interval ? Figure(interval->lower) : none, lower);
    compareFigure(interval ? Figure(interval->upper) : none, upper);
}

void TestStatistics::welch_data()
{
    QTest::addColumn<Column>("first");
    QTest::addColumn<Column>("second");
    QTest::addColumn<Figure>("p");
    QTest::addColumn<Figure>("lower");
    QTest::addColumn<Figure>("upper");
    QTest::addColumn<Figure>("g");
    // w <- t.test(c(1,2,4,5), c(2,3,3), var.equal = FALSE): w$p.value, w$conf.int;
    // g: sp <- sqrt((3 * var(x) + 2 * var(y)) / 5); (mean(x) - mean(y)) / sp * (1 - 3 / (4 * 7 - 9))
    QTest::newRow("4 against 3") << Column{1, 2, 4, 5} << Column{2, 3, 3} << Figure(0.749942573623)
                                 << Figure(-2.43630674215) << Figure(3.10297340881) << Figure(0.192183353511);
    // t.test(c(1, 3), c(4, 6)): p.value, conf.int; g: -3 / sqrt(2) * (1 - 3 / (4 * 4 - 9))
    QTest::newRow("n = 2 each") << Column{1, 3} << Column{4, 6} << Figure(0.167949705662) << Figure(-9.08486984459)
                                << Figure(3.08486984459) << Figure(-1.21218305346);
    QTest::newRow("one member") << Column{2} << Column{2, 3, 3} << none << none << none << none;
    QTest::newRow("all alike") << Column{3.4, 3.4} << Column{3.4, 3.4, 3.4} << none << none << none << none;
}

void TestStatistics::welch()
{
    QFETCH(Column, first);
    QFETCH(Column, second);
    QFETCH(Figure, p);
    QFETCH(Figure, lower);
    QFETCH(Figure, upper);
    QFETCH(Figure, g);
    const Significance::Difference d = Significance::welch(momentOf(first), momentOf(second));
    compareFigure(d.p, p);
    compareFigure(d.interval ? Figure(d.interval->lower) : none, lower);
    compareFigure(d.interval ? Figure(d.interval->upper) : none, upper);
    compareFigure(d.g, g);
}

void TestStatistics::holm_data()
{
    QTest::addColumn<QList<Figure>>("p");
    QTest::addColumn<QList<Figure>>("adjusted");
    // p.adjust(c(0.01, 0.04, 0.03, 0.2), "holm")
    QTest::newRow("four") << QList<Figure>{0.01, 0.04, 0.03, 0.2} << QList<Figure>{0.04, 0.09, 0.09, 0.2};
    // p.adjust(c(0.01, NA, 0.04), "holm"): the undefined one is not counted
    QTest::newRow("with an undefined one") << QList<Figure>{0.01, none, 0.04} << QList<Figure>{0.02, none, 0.04};
    // p.adjust(c(0.5, 0.6), "holm")
    QTest::newRow("capped at 1") << QList<Figure>{0.5, 0.6} << QList<Figure>{1.0, 1.0};
}

void TestStatistics::holm()
{
    QFETCH(QList<Figure>, p);
    QFETCH(QList<Figure>, adjusted);
    const QList<Figure> actual = Significance::holm(p);
    QCOMPARE(actual.size(), adjusted.size());
    for (qsizetype k = 0; k < actual.size(); ++k)
        compareFigure(actual[k], adjusted[k]);
}

void TestStatistics::rwg_data()
{
    QTest::addColumn<QList<Column>>("statements");
    QTest::addColumn<Figure>("rwg");
    // m <- rbind(c(3,4,3,4,3), c(4,4,3,5,4), c(3,3,2,4,3), c(4,5,3,4,4)); s2 <- mean(apply(m, 2, var));
    // 5 * (1 - s2 / 2) / (5 * (1 - s2 / 2) + s2 / 2)
    QTest::newRow("4 members") << QList<Column>{{3, 4, 3, 4}, {4, 4, 3, 5}, {3, 3, 2, 3}, {4, 5, 4, 4}, {3, 4, 3, 4}}
                               << Figure(0.95703125);
    // var(c(1, 5)) = 8 in every statement: s2 >= 2
    QTest::newRow("no agreement") << QList<Column>{{1, 5}, {1, 5}, {5, 1}, {1, 5}, {5, 1}} << Figure(0.0);
    QTest::newRow("all alike") << QList<Column>{{2, 2}, {3, 3}, {4, 4}, {2, 2}, {5, 5}} << Figure(1.0);
    QTest::newRow("one member") << QList<Column>{{2}, {3}, {4}, {2}, {5}} << none;
}

void TestStatistics::rwg()
{
    QFETCH(QList<Column>, statements);
    QFETCH(Figure, rwg);
    const GroupMoments::Moments moments = GroupMoments::collect(membersOf(statements));
    compareFigure(Agreement::rwg(moments.group, 1), rwg);
}

void TestStatistics::icc_data()
{
    QTest::addColumn<Column>("scores");
    QTest::addColumn<QStringList>("departments");
    QTest::addColumn<Figure>("icc1");
    QTest::addColumn<Figure>("icc2");
    QTest::addColumn<Figure>("p");
    // s <- summary(aov(y ~ g))[[1]], y <- c(1,2,4,5, 2,3,3, 4,5,5), g <- factor(rep(1:3, c(4,3,3)));
    // k0 <- (10 - sum(c(4,3,3)^2) / 10) / 2; (MSB - MSW) / (MSB + (k0 - 1) MSW), (MSB - MSW) / MSB; s[1, 5]
    QTest::newRow("3 departments") << Column{1, 2, 4, 5, 2, 3, 3, 4, 5, 5}
                                   << QStringList{"a", "a", "a", "a", "b", "b", "b", "c", "c", "c"}
                                   << Figure(0.263779527559) << Figure(0.541778975741) << Figure(0.18339582198);
    QTest::newRow("one department") << Column{1, 2, 4} << QStringList{"a", "a", "a"} << none << none << none;
    QTest::newRow("all alike") << Column{3, 3, 3, 3} << QStringList{"a", "a", "b", "b"} << none << none << none;
    // Members differ only between departments: summary(aov(c(2,2,4,4) ~ factor(c(1,1,2,2)))) has
    // no residual variance; the ICCs are 1.
    QTest::newRow("alike within") << Column{2, 2, 4, 4} << QStringList{"a", "a", "b", "b"} << Figure(1.0) << Figure(1.0) << Figure(0.0);
}

void TestStatistics::icc()
{
    QFETCH(Column, scores);
    QFETCH(QStringList, departments);
    QFETCH(Figure, icc1);
    QFETCH(Figure, icc2);
    QFETCH(Figure, p);
    QList<QList<qsizetype>> sets;
    QStringList names;
    for (qsizetype m = 0; m < departments.size(); ++m) {
        if (!names.contains(departments[m])) {
            names << departments[m];
            sets.append(QList<qsizetype>());
        }
        sets[names.indexOf(departments[m])].append(m);
    }
    const GroupMoments::Moments moments = GroupMoments::collect(indexScoresOf(scores), sets);
    const Agreement::Icc icc = Agreement::icc(moments.sets, 1);
    compareFigure(icc.icc1, icc1);
    compareFigure(icc.icc2, icc2);
    compareFigure(icc.p, p);
}

void TestStatistics::percentile()
{
    // 100 * (mean(x < v) + mean(x == v) / 2), x <- c(1, 2, 4, 5)
    const QList<double> values = {1, 2, 4, 5};
    QCOMPARE(Significance::percentile(values, 4), 62.5);
    QCOMPARE(Significance::percentile(values, 3), 50.0);
    QCOMPARE(Significance::percentile(values, 0.5), 0.0);
    QCOMPARE(Significance::percentile(values, 6), 100.0);
}

void TestStatistics::segmentTests()
{
    // Three departments of index scores (the ICC example). At a threshold of 4 two are too small:
    // they take no part, but their members count in the rest of the group.
    const Column scores = {1, 2, 4, 5, 2, 3, 3, 4, 5, 5};
    const QStringList departments = {"a", "a", "a", "a", "b", "b", "b", "c", "c", "c"};
    const MemberTable table = indexScoresOf(scores, departments);
    Profile group;
    group.members = std::make_shared<const MemberTable>(table);
    const SegmentsTable::Segments segments = SegmentsTable::split(group, GroupArithmetic::SplitBy::Info1);
    const GroupMoments::Moments moments = SegmentStatistics::collect(table, segments);
    const SegmentStatistics::Tests one = SegmentStatistics::tests(segments, moments, 4);
    QCOMPARE(one.shown, QList<qsizetype>{0});
    const Significance::Difference &d = one.differences[0][0];
    QCOMPARE(d.n2, 6);
    // t.test(c(1,2,4,5), c(2,3,3,4,5,5))$p.value; one cell shown: Holm leaves it as it is
    compareFigure(d.p, Figure(0.550338294439));
    compareFigure(d.adjustedP, d.p);
    // A single shown department gives no ICC.
    QVERIFY(!one.icc[0].icc1);
    QVERIFY(!one.icc[0].icc2);

    // At a threshold of 3 all three show. Holm over the cells of index 1 (the other indices have no
    // variance and no p): p.adjust(c(0.550338294439, 0.168414204407, 0.017970117466), "holm")
    const SegmentStatistics::Tests all = SegmentStatistics::tests(segments, moments, 3);
    QCOMPARE(all.shown.size(), 3);
    compareFigure(all.differences[0][0].adjustedP, Figure(0.5503382944391));
    compareFigure(all.differences[1][0].adjustedP, Figure(0.3368284088131));
    compareFigure(all.differences[2][0].adjustedP, Figure(0.0539103523979));
    QVERIFY(!all.differences[2][0].significant());
    QVERIFY(!all.differences[0][1].p);
    compareFigure(all.icc[0].icc1, Figure(0.263779527559));
}

void TestStatistics::tablesNeverShowNaN_data()
{
    QTest::addColumn<Column>("scores");
    QTest::addColumn<QStringList>("departments");
    QTest::newRow("all alike") << Column{3, 3, 3, 3, 3, 3} << QStringList{"a", "a", "a", "b", "b", "b"};
    QTest::newRow("one segment") << Column{1, 2, 4, 5, 2, 3} << QStringList{"a", "a", "a", "a", "a", "a"};
    QTest::newRow("n = 2") << Column{1, 2} << QStringList{"a", "b"};
    QTest::newRow("one member") << Column{4} << QStringList{"a"};
    // A file may hold any number a double holds: the squares overflow, and nothing follows from them.
    QTest::newRow("absurd scores") << Column{1e200, -1e200, 3, 1e300, 2, 4} << QStringList{"a", "a", "a", "b", "b", "b"};
}

void TestStatistics::tablesNeverShowNaN()
{
    QFETCH(Column, scores);
    QFETCH(QStringList, departments);
    const MemberTable table = indexScoresOf(scores, departments);
    Profile group;
    group.members = std::make_shared<const MemberTable>(table);
    const SegmentsTable::Segments segments = SegmentsTable::split(group, GroupArithmetic::SplitBy::Info1);
    const GroupMoments::Moments moments = SegmentStatistics::collect(table, segments);
    const SegmentStatistics::Tests tests = SegmentStatistics::tests(segments, moments, SegmentsTable::LowestMinimum);
    const Reliability::Result reliability = Reliability::compute(moments.covariances);
    for (const Table &t : {StatisticsTables::reliability(reliability), StatisticsTables::items(reliability),
                           StatisticsTables::differences(segments, tests), StatisticsTables::agreement(segments, tests)}) {
        for (qsizetype row = 0; row < t.rowCount; ++row) {
            QList<TableCell> cells(t.columns.size());
            t.fillRow(row, cells);
            for (const TableCell &cell : cells) {
                QVERIFY2(cell.kind != TableCell::Kind::Number || std::isfinite(cell.number), qPrintable(t.name));
                QVERIFY(!cell.text.contains(QStringLiteral("nan"), Qt::CaseInsensitive));
            }
        }
    }
    // Every scale of a group with no variance, or too small, says why alpha is missing.
    for (const Reliability::Scale &scale : reliability.indices)
        QVERIFY(scale.alpha || !scale.undefinedText().isEmpty());
}

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
