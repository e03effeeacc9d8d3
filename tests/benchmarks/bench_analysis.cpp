// A group's analysis beside its build, in one run: the group build of 100,000 generated members in
// 50 departments, then splitting them into the 50 segments with their means and spreads (which must
// stay within a fifth of the build: the whole, build and analysis, within 1.2 times the build alone),
// and the repaint of the heat map of those 50 segments (under 50 ms); the group's statistics
// (reliability, the tests of the 50 segments against the rest, agreement and ICCs: one pass over the
// members) beside the build (the whole within 1.1 times the build alone); and the opening of the tab
// "Надёжность" for 10,000 of the members (under 100 ms). Run by hand: it writes the members as small
// files into a temporary folder.
//   bench_analysis [-iterations 1]   (ZOLK_BENCH_SIZES=10000 chooses other sizes)
// ZOLK_BENCH_DIR=FOLDER keeps the generated members there and uses them again on the next run.

#include "AnalysisModels.h"
#include "AnalysisWindow.h"
#include "GroupArithmetic.h"
#include "Reliability.h"
#include "SegmentStatistics.h"
#include "ProfileLoader.h"
#include "SegmentsTable.h"
#include "Session.h"
#include "TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int Departments = 50;

} // namespace

class BenchAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void build_data();
    void build();
    void heatMap();
    void reliabilityTab();
    void cleanupTestCase();

private:
    QTemporaryDir m_dir;
    QMap<int, QString> m_folders;
    QMap<int, Profile> m_groups;        // kept from the build for the analysis rows
    QMap<QString, double> m_milliseconds; // per row, for the ratio
};

void BenchAnalysis::initTestCase()
{
    const QStringList sizes = qEnvironmentVariable("ZOLK_BENCH_SIZES", QStringLiteral("100000")).split(u',');
    const QString kept = qEnvironmentVariable("ZOLK_BENCH_DIR");
    for (const QString &text : sizes) {
        const int size = text.toInt();
        const QString folder = QDir(kept.isEmpty() ? m_dir.path() : kept).filePath(QStringLiteral("departments-%1").arg(size));
        m_folders.insert(size, folder);
        if (!kept.isEmpty() && QDir(folder).exists())
            continue;
        QDir().mkpath(folder);
        // Members of the 50 departments interleaved, every one a little different.
        TestSupport::Respondent r;
        for (int k = 0; k < size; ++k) {
            r.name = QStringLiteral("Респондент %1").arg(k);
            r.info[0] = QStringLiteral("Отдел %1").arg(k % Departments + 1);
            r.indices[std::size_t(k % 12)] = 1.0 + (k % 40) * 0.1;
            r.items[std::size_t(k % 60)] = 1.0 + (k % 41) * 0.1;
            TestSupport::writeResultFile(folder, QStringLiteral("m%1.cry").arg(k, 6, 10, QChar(u'0')), r);
        }
    }
}

void BenchAnalysis::build_data()
{
    QTest::addColumn<int>("members");
    QTest::addColumn<QString>("work");
    for (auto it = m_folders.cbegin(); it != m_folders.cend(); ++it) {
        QTest::addRow("%d members, group build", it.key()) << it.key() << QStringLiteral("group");
        QTest::addRow("%d members, %d segments: split, means and spreads", it.key(), Departments)
            << it.key() << QStringLiteral("analysis");
        QTest::addRow("%d members, %d segments: reliability, tests and agreement", it.key(), Departments)
            << it.key() << QStringLiteral("statistics");
    }
}

void BenchAnalysis::build()
{
    QFETCH(int, members);
    QFETCH(QString, work);
    const long before = TestSupport::peakKilobytes();
    QElapsedTimer timer;
    qint64 nanoseconds = 0;
    int runs = 0;
    QBENCHMARK {
        timer.start();
        if (work == QLatin1String("group")) {
            const auto outcome = ProfileLoader::loadFolder(m_folders.value(members));
            QVERIFY(outcome.ok());
            QCOMPARE(outcome->profile.respondentCount(), members);
            m_groups.insert(members, outcome->profile);
        } else if (work == QLatin1String("statistics")) {
            QVERIFY(m_groups.contains(members));
            const Profile &group = m_groups[members];
            const SegmentsTable::Segments segments = SegmentsTable::split(group, GroupArithmetic::SplitBy::Info1);
            QElapsedTimer step;
            step.start();
            const GroupMoments::Moments moments = SegmentStatistics::collect(*group.members, segments);
            const qint64 collected = step.nsecsElapsed();
            const Reliability::Result reliability = Reliability::compute(moments.covariances);
            const SegmentStatistics::Tests tests = SegmentStatistics::tests(segments, moments, SegmentsTable::DefaultMinimum);
            QCOMPARE(tests.shown.size(), Departments);
            QVERIFY(reliability.indices[0].n == members);
            qInfo("one pass over the members %.1f ms, the figures from it %.1f ms", collected / 1e6,
                  (step.nsecsElapsed() - collected) / 1e6);
        } else {
            QVERIFY(m_groups.contains(members));
            // The steps one by one, for the breakdown.
            const MemberTable &table = *m_groups[members].members;
            QElapsedTimer step;
            step.start();
            const QList<GroupArithmetic::Segment> parts = GroupArithmetic::split(table, GroupArithmetic::SplitBy::Info1);
            const qint64 split = step.nsecsElapsed();
            const QList<GroupArithmetic::MeanScores> means = GroupArithmetic::means(table, parts);
            const qint64 meansDone = step.nsecsElapsed();
            const QList<GroupArithmetic::Spread> spreads = GroupArithmetic::spreads(table, parts);
            const qint64 spreadsDone = step.nsecsElapsed();
            QCOMPARE(parts.size(), Departments);
            QCOMPARE(means.size(), Departments);
            QCOMPARE(spreads.size(), Departments);
            qInfo("split %.1f ms, means %.1f ms, spreads %.1f ms", split / 1e6, (meansDone - split) / 1e6,
                  (spreadsDone - meansDone) / 1e6);
        }
        nanoseconds += timer.nsecsElapsed();
        ++runs;
    }
    const double milliseconds = double(nanoseconds) / runs / 1e6;
    m_milliseconds.insert(QStringLiteral("%1 %2").arg(members).arg(work), milliseconds);
    qInfo("%d members, %s: %.1f ms per run, peak memory grew by %ld kB", members, qPrintable(work), milliseconds,
          TestSupport::peakKilobytes() - before);
}

void BenchAnalysis::heatMap()
{
    // The heat map of the largest group's segments, as the analysis window shows it.
    QVERIFY(!m_groups.isEmpty());
    const Profile &group = m_groups.last();
    Session session;
    session.load(group, Session::Origin::Group);
    AnalysisWindow::Options options;
    AnalysisWindow window(session, options, nullptr);
    // Tall and wide enough that every row and column of the heat map is drawn.
    window.resize(2000, 1800);
    window.showSegments(GroupArithmetic::SplitBy::Info1);
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("analysisTabs"));
    QVERIFY(tabs);
    tabs->setCurrentIndex(1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *heatMap = window.findChild<QTableView *>(QStringLiteral("segmentsTable"));
    QVERIFY(heatMap);
    QCOMPARE(heatMap->model()->rowCount(), Departments + 1);
    const int last = heatMap->model()->rowCount() - 1;
    QVERIFY2(heatMap->rowViewportPosition(last) + heatMap->rowHeight(last) <= heatMap->viewport()->height(),
             "the last segment is out of view");
    const int lastColumn = heatMap->model()->columnCount() - 1;
    QVERIFY2(heatMap->columnViewportPosition(lastColumn) + heatMap->columnWidth(lastColumn) <= heatMap->viewport()->width(),
             "the last column is out of view");
    QElapsedTimer timer;
    qint64 nanoseconds = 0;
    int runs = 0;
    QBENCHMARK {
        // Everything the heat map shows, drawn again into a picture.
        timer.start();
        const QPixmap picture = heatMap->viewport()->grab();
        nanoseconds += timer.nsecsElapsed();
        ++runs;
        QVERIFY(!picture.isNull());
    }
    const double milliseconds = double(nanoseconds) / runs / 1e6;
    qInfo("heat map of %d segments redrawn in %.1f ms (%s 50 ms)", Departments, milliseconds, milliseconds < 50 ? "under" : "NOT under");
    // The same heat map without its tests (no marks, no agreement), side by side: what they cost.
    auto *proxy = static_cast<QSortFilterProxyModel *>(heatMap->model());
    auto *segments = static_cast<SegmentsModel *>(proxy->sourceModel());
    const SegmentsTable::Segments kept = segments->segments();
    segments->setSegments(kept);
    QElapsedTimer plain;
    qint64 plainNanoseconds = 0;
    for (int k = 0; k < runs; ++k) {
        plain.start();
        QVERIFY(!heatMap->viewport()->grab().isNull());
        plainNanoseconds += plain.nsecsElapsed();
    }
    qInfo("the same without the tests' marks and agreement: %.1f ms", double(plainNanoseconds) / runs / 1e6);
}

void BenchAnalysis::reliabilityTab()
{
    // The tab "Надёжность" of a group of 10,000 members: its figures worked out and drawn.
    QVERIFY(!m_groups.isEmpty());
    const Profile &largest = m_groups.last();
    QList<qsizetype> first;
    for (qsizetype k = 0; k < std::min<qsizetype>(10000, largest.respondentCount()); ++k)
        first << k;
    const Profile group = ProfileLoader::groupProfile(largest.members, largest.source, first, QStringLiteral("10000"));
    {
        // The first table the process draws pays for its fonts and styles once; it is timed apart.
        Session session;
        session.load(group, Session::Origin::Group);
        AnalysisWindow window(session, AnalysisWindow::Options(), nullptr);
        window.resize(1250, 800);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QElapsedTimer timer;
        timer.start();
        auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("analysisTabs"));
        tabs->setCurrentIndex(3);
        QVERIFY(!tabs->currentWidget()->grab().isNull());
        qInfo("the first opening in this process: %.1f ms", timer.nsecsElapsed() / 1e6);
    }
    qint64 nanoseconds = 0;
    int runs = 0;
    QBENCHMARK {
        Session session;
        session.load(group, Session::Origin::Group);
        AnalysisWindow window(session, AnalysisWindow::Options(), nullptr);
        window.resize(1250, 800);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("analysisTabs"));
        QElapsedTimer timer;
        timer.start();
        tabs->setCurrentIndex(3);
        const QPixmap picture = tabs->currentWidget()->grab();
        nanoseconds += timer.nsecsElapsed();
        ++runs;
        QVERIFY(!picture.isNull());
    }
    const double milliseconds = double(nanoseconds) / runs / 1e6;
    qInfo("tab \"Надёжность\" of %lld members opened and drawn in %.1f ms (%s 100 ms)", qlonglong(group.respondentCount()),
          milliseconds, milliseconds < 100 ? "under" : "NOT under");
}

void BenchAnalysis::cleanupTestCase()
{
    for (auto it = m_folders.cbegin(); it != m_folders.cend(); ++it) {
        const double build = m_milliseconds.value(QStringLiteral("%1 group").arg(it.key()));
        const double analysis = m_milliseconds.value(QStringLiteral("%1 analysis").arg(it.key()));
        const double statistics = m_milliseconds.value(QStringLiteral("%1 statistics").arg(it.key()));
        if (build > 0) {
            qInfo("%d members: build and analysis take %.3f times the build alone (%s 1.2)", it.key(), (build + analysis) / build,
                  (build + analysis) / build <= 1.2 ? "within" : "NOT within");
            qInfo("%d members: build and statistics take %.3f times the build alone (%s 1.1)", it.key(),
                  (build + statistics) / build, (build + statistics) / build <= 1.1 ? "within" : "NOT within");
        }
    }
}

QTEST_MAIN(BenchAnalysis)
#include "bench_analysis.moc"
