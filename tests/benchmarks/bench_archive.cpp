// The survey archive's speed, side by side in one run:
// - the norms of a profile against 10 and against 10,000 archived surveys (all sectors, one sector,
//   the client's own left out): kept ready in indexed tables, the 10,000 must stay within 1.2 times
//   the 10;
// - adding a group of 100,000 members (the group build, its summary and the add) against the group
//   build alone: within 1.1 times.
// Run by hand: it writes 100,000 small files into a temporary folder.
//   bench_archive       (ZOLK_BENCH_SIZES=10000 chooses the group's size; on a busy machine give
//                        QTEST_FUNCTION_TIMEOUT=3600000, as three runs of each row may take long)

#include "ProfileLoader.h"
#include "Questionnaire.h"
#include "SegmentsTable.h"
#include "SurveyArchive.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

class BenchArchive : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void norms_data();
    void norms();
    void add_data();
    void add();

private:
    QTemporaryDir m_dir;
    QMap<int, std::shared_ptr<SurveyArchive>> m_archives;
    QString m_group;
    int m_members = 0;
};

namespace {

// Survey k of an archive: means spread over 2..4.5, ten sectors, a client per four waves.
SurveySummary::Survey generated(int k)
{
    SurveySummary::Survey s;
    s.client = QStringLiteral("Клиент %1").arg(k / 4);
    s.wave = QDate(2010, 1, 1).addDays(k % 4 * 365);
    s.sector = QStringLiteral("Отрасль %1").arg(k % 10);
    s.whole.n = 20 + k % 50;
    for (int m = 0; m < SurveySummary::MeasureCount; ++m) {
        s.whole.means[std::size_t(m)] = 2.0 + double((k * 7919 + m * 104729) % 2500) / 1000.0;
        s.whole.deviations[std::size_t(m)] = 0.5 + double(k % 7) / 10.0;
    }
    for (int d = 0; d < 3; ++d)
        s.segments.append({QStringLiteral("info1"), QStringLiteral("Отдел"), QStringLiteral("Отдел %1").arg(d), s.whole});
    return s;
}

} // namespace

void BenchArchive::initTestCase()
{
    for (int size : {10, 10000}) {
        Outcome<std::unique_ptr<SurveyArchive>> opened = SurveyArchive::open(m_dir.filePath(QStringLiteral("norms-%1.zolkdb").arg(size)));
        QVERIFY2(opened.ok(), qPrintable(opened.message()));
        QList<SurveySummary::Survey> surveys;
        for (int k = 0; k < size; ++k)
            surveys.append(generated(k));
        QVERIFY((*opened)->addAll(surveys, {}).ok());
        m_archives.insert(size, std::shared_ptr<SurveyArchive>(std::move(*opened)));
    }
    m_members = qEnvironmentVariable("ZOLK_BENCH_SIZES", QStringLiteral("100000")).toInt();
    m_group = m_dir.filePath(QStringLiteral("group"));
    QDir().mkpath(m_group);
    TestSupport::Respondent r;
    for (int k = 0; k < m_members; ++k) {
        r.info[0] = QStringLiteral("Отдел %1").arg(k % 20);
        r.indices[std::size_t(k % 12)] = 1.0 + (k % 40) * 0.1;
        TestSupport::writeResultFile(m_group, QStringLiteral("m%1.cry").arg(k, 6, 10, QChar(u'0')), r);
    }
    // Read once, so that both rows of add find the files in the system's cache.
    QVERIFY(ProfileLoader::loadFolder(m_group).ok());
}

void BenchArchive::norms_data()
{
    QTest::addColumn<int>("surveys");
    QTest::addColumn<QString>("sector");
    QTest::addColumn<QString>("client");
    for (int size : {10, 10000}) {
        QTest::addRow("%d surveys, all", size) << size << QString() << QString();
        QTest::addRow("%d surveys, one sector", size) << size << QStringLiteral("Отрасль 3") << QString();
        QTest::addRow("%d surveys, client left out", size) << size << QString() << QStringLiteral("Клиент 1");
    }
}

void BenchArchive::norms()
{
    QFETCH(int, surveys);
    QFETCH(QString, sector);
    QFETCH(QString, client);
    SurveyArchive &archive = *m_archives.value(surveys);
    SurveySummary::NormScores scores;
    for (int m = 0; m < SurveySummary::NormMeasures; ++m)
        scores[std::size_t(m)] = 3.0 + m * 0.05;
    QBENCHMARK {
        const Outcome<QList<NormRow>> rows = archive.norms(scores, {sector, client});
        QVERIFY(rows.ok());
        QVERIFY(rows->first().surveys > 0);
    }
}

void BenchArchive::add_data()
{
    QTest::addColumn<bool>("adding");
    QTest::addRow("%d members, group build", m_members) << false;
    QTest::addRow("%d members, group build and add", m_members) << true;
}

void BenchArchive::add()
{
    QFETCH(bool, adding);
    Outcome<std::unique_ptr<SurveyArchive>> opened = SurveyArchive::open(m_dir.filePath(QStringLiteral("add.zolkdb")));
    QVERIFY(opened.ok());
    // The shortest of three runs: a run of seconds is measured once by QBENCHMARK, and one run on a
    // busy machine says little.
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        const auto loaded = ProfileLoader::loadFolder(m_group);
        QVERIFY(loaded.ok());
        if (adding) {
            const Outcome<SurveySummary::Survey> survey =
                SurveySummary::summarize(loaded->profile, QStringLiteral("Клиент"), QDate(2024, 1, 1), QString(),
                                         Questionnaire::defaultCaptions(), SegmentsTable::DefaultMinimum);
            QVERIFY(survey.ok());
            QVERIFY((*opened)->add(*survey, true).ok());
        }
        best = std::min(best, timer.elapsed());
    }
    QTest::setBenchmarkResult(double(best), QTest::WalltimeMilliseconds);
}

QTEST_GUILESS_MAIN(BenchArchive)
#include "bench_archive.moc"
