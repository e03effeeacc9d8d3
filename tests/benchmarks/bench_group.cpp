// The group build against merely reading the same files' bytes, and against "zolk-cry scores" of the
// same folder (which must stay within twice the group build), for 1,000, 10,000 and 100,000
// generated members. Run by hand: it writes up to 100,000 small files into a temporary folder.
//   bench_group [-iterations 1]      (set ZOLK_BENCH_SIZES=1000,10000 to choose the sizes)
// ZOLK_BENCH_DIR=FOLDER keeps the generated members there and uses them again on the next run, so
// that a profiler sees the group build alone.

#include "ProfileLoader.h"
#include "TestSupport.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class BenchGroup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void build_data();
    void build();

private:
    QTemporaryDir m_dir;
    QMap<int, QString> m_folders;
};

void BenchGroup::initTestCase()
{
    QStringList sizes = qEnvironmentVariable("ZOLK_BENCH_SIZES", QStringLiteral("1000,10000,100000")).split(u',');
    const QString kept = qEnvironmentVariable("ZOLK_BENCH_DIR");
    for (const QString &text : sizes) {
        const int size = text.toInt();
        const QString folder = QDir(kept.isEmpty() ? m_dir.path() : kept).filePath(QString::number(size));
        m_folders.insert(size, folder);
        if (!kept.isEmpty() && QDir(folder).exists())
            continue;
        QDir().mkpath(folder);
        // Every member differs a little, as real respondents do.
        TestSupport::Respondent r;
        for (int k = 0; k < size; ++k) {
            r.name = QStringLiteral("Респондент %1").arg(k);
            r.indices[std::size_t(k % 12)] = 1.0 + (k % 40) * 0.1;
            TestSupport::writeResultFile(folder, QStringLiteral("m%1.cry").arg(k, 6, 10, QChar(u'0')), r);
        }
    }
}

void BenchGroup::build_data()
{
    QTest::addColumn<int>("members");
    QTest::addColumn<QString>("work");
    for (auto it = m_folders.cbegin(); it != m_folders.cend(); ++it) {
        QTest::addRow("%d members, plain read", it.key()) << it.key() << QStringLiteral("read");
        QTest::addRow("%d members, group build", it.key()) << it.key() << QStringLiteral("group");
        QTest::addRow("%d members, zolk-cry scores", it.key()) << it.key() << QStringLiteral("scores");
    }
}

void BenchGroup::build()
{
    QFETCH(int, members);
    QFETCH(QString, work);
    const bool plainRead = work == QLatin1String("read");
    const QString folder = m_folders.value(members);
    const long before = TestSupport::peakKilobytes();
    qint64 bytes = 0;
    QBENCHMARK {
        if (plainRead) {
            bytes = 0;
            QDirIterator it(folder, {QStringLiteral("*.cry")}, QDir::Files);
            while (it.hasNext()) {
                QFile file(it.next());
                file.open(QIODevice::ReadOnly);
                bytes += file.readAll().size();
            }
        } else if (work == QLatin1String("scores")) {
            QProcess cry;
            cry.start(QStringLiteral(ZOLK_CRY_PATH), {QStringLiteral("scores"), folder, QStringLiteral("-o"),
                                                      m_dir.filePath(QStringLiteral("scores.csv"))});
            QVERIFY(cry.waitForFinished(-1));
            QCOMPARE(cry.exitCode(), 0);
        } else {
            const auto outcome = ProfileLoader::loadFolder(folder);
            QVERIFY(outcome.ok());
            QCOMPARE(outcome->profile.respondentCount(), members);
        }
    }
    qInfo("%d members, %s: peak memory grew by %ld kB", members, qPrintable(work), TestSupport::peakKilobytes() - before);
}

QTEST_GUILESS_MAIN(BenchGroup)
#include "bench_group.moc"
