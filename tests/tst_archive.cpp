// The survey archive: files made in the test, what a survey keeps, norms and trends against
// figures worked out independently, and the file's safety (refusals, migration, two writers, a
// program killed in the middle of an add, a full disk).

#include "ArchiveStatistics.h"
#include "ArchiveTables.h"
#include "ProfileLoader.h"
#include "SegmentsTable.h"
#include "SurveyArchive.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

using SurveySummary::Survey;

class TestArchive : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void norms_data();
    void norms();
    void welch_data();
    void welch();
    void trend();
    void whatIsKept();
    void refusedUnchanged_data();
    void refusedUnchanged();
    void migratesFirstVersion();
    void addReplaceRemove();
    void exportImport();
    void twoWriters();
    void killedDuringAdd();
    void fullDisk();
    void commandLine();
};

namespace {

constexpr double Unknown = std::numeric_limits<double>::quiet_NaN();

// A survey whose compared measures all have the mean value (and the statements too), standard
// deviation sd, of n respondents.
Survey survey(const QString &client, const QString &wave, const QString &sector, double value, double sd = 0.5, qsizetype n = 20)
{
    Survey s;
    s.client = client;
    s.wave = QDate::fromString(wave, Qt::ISODate);
    s.sector = sector;
    s.whole.n = n;
    s.whole.means.fill(value);
    s.whole.deviations.fill(sd);
    return s;
}

std::unique_ptr<SurveyArchive> openArchive(const QString &path)
{
    Outcome<std::unique_ptr<SurveyArchive>> opened = SurveyArchive::open(path);
    if (!opened) {
        qWarning().noquote() << opened.message();
        return nullptr;
    }
    return std::move(*opened);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString integrity(const QString &path)
{
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("integrity"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next())
                result = query.value(0).toString();
            else
                result = query.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("integrity"));
    return result;
}

qsizetype surveyCount(const QString &path)
{
    const std::unique_ptr<SurveyArchive> archive = openArchive(path);
    if (!archive)
        return -1;
    const Outcome<QList<SurveyEntry>> entries = archive->surveys();
    return entries ? entries->size() : -1;
}

// The hand-made norm set: seven surveys, the first two of client A; five in sector "Банки".
void addNormSet(SurveyArchive &archive)
{
    const QList<Survey> set = {
        survey(QStringLiteral("A"), QStringLiteral("2020-01-01"), QStringLiteral("Банки"), 3.0),
        survey(QStringLiteral("A"), QStringLiteral("2021-01-01"), QStringLiteral("Банки"), 3.2),
        survey(QStringLiteral("B"), QStringLiteral("2021-01-01"), QStringLiteral("Банки"), 3.2),
        survey(QStringLiteral("C"), QStringLiteral("2021-01-01"), QStringLiteral("Торговля"), 3.5),
        survey(QStringLiteral("D"), QStringLiteral("2021-01-01"), QStringLiteral("Банки"), 3.8),
        survey(QStringLiteral("E"), QStringLiteral("2021-01-01"), QStringLiteral("Торговля"), 4.0),
        survey(QStringLiteral("F"), QStringLiteral("2021-01-01"), QStringLiteral("Банки"), 4.1),
    };
    for (const Survey &s : set)
        QVERIFY2(archive.add(s, false).ok(), "add");
}

// A folder of respondents: departments "Продажи" (six) and "Склад" (six) in information line 1,
// every respondent with a code, name and information line 4 of their own.
QString writeGroup(const QString &folder, int size = 12, double shift = 0.0)
{
    QDir().mkpath(folder);
    for (int k = 0; k < size; ++k) {
        TestSupport::Respondent r;
        r.code = QStringLiteral("7%1").arg(k, 3, 10, QChar(u'0'));
        r.name = QStringLiteral("Фамилияуникальная%1").arg(k);
        r.info = {k < size / 2 ? QStringLiteral("Продажи") : QStringLiteral("Склад"), QStringLiteral("Должность%1").arg(k),
                  QStringLiteral("Стаж"), QStringLiteral("Личнаястрока%1").arg(k)};
        for (int i = 0; i < 12; ++i)
            r.indices[std::size_t(i)] = 2.0 + 0.1 * ((k + i) % 7) + shift;
        for (int s = 0; s < 60; ++s)
            r.items[std::size_t(s)] = 1.0 + double((k + s) % 5);
        TestSupport::writeResultFile(folder, QStringLiteral("%1.cry").arg(r.code), r);
    }
    return folder;
}

Survey summarized(const QString &folder, const QString &client, const QString &wave)
{
    Outcome<ProfileLoader::GroupLoad> loaded = ProfileLoader::loadFolder(folder);
    if (!loaded)
        qFatal("%s", qPrintable(loaded.message()));
    Outcome<Survey> s = SurveySummary::summarize(loaded->profile, client, QDate::fromString(wave, Qt::ISODate), QString(),
                                                 Questionnaire::defaultCaptions(), SegmentsTable::DefaultMinimum);
    if (!s)
        qFatal("%s", qPrintable(s.message()));
    return *s;
}

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run zolkCry(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(ZOLK_CRY_PATH), arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// The child of killedDuringAdd: adds surveys to the archive one after another and says so after
// each, until it is killed.
int addUntilKilled(const QString &path)
{
    std::unique_ptr<SurveyArchive> archive = openArchive(path);
    if (!archive)
        return 1;
    Survey s = survey(QStringLiteral("K"), QStringLiteral("2000-01-01"), QString(), 3.0);
    for (int k = 0; k < 40; ++k)
        s.segments.append({QStringLiteral("info1"), QStringLiteral("Отдел"), QStringLiteral("Отдел %1").arg(k), s.whole});
    // Each run goes on after the waves of the runs before it.
    const qsizetype first = archive->surveys()->size();
    for (qsizetype k = first;; ++k) {
        s.wave = QDate(2000, 1, 1).addDays(k);
        if (const Outcome<> added = archive->add(s, false); !added) {
            std::fprintf(stderr, "%s\n", qPrintable(added.message()));
            return 1;
        }
        std::printf("added %lld\n", qlonglong(k));
        std::fflush(stdout);
    }
}

} // namespace

void TestArchive::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestArchive::norms_data()
{
    QTest::addColumn<double>("score");
    QTest::addColumn<QString>("sector");
    QTest::addColumn<QString>("excluded");
    QTest::addColumn<int>("surveys");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("sd");
    QTest::addColumn<double>("percentile");
    QTest::addColumn<int>("sten"); // 0: none (too few surveys)

    // Figures from R: mean(v), sd(v), (sum(v < x) + sum(v == x) / 2) / length(v) * 100, and
    // round(5.5 + 2 (x - mean) / sd) within 1..10.
    QTest::newRow("ties count half") << 3.2 << QString() << QString() << 7 << 3.542857142857143 << 0.431497944595888
                                     << 28.571428571428569 << 4;
    QTest::newRow("client left out") << 3.2 << QString() << QStringLiteral("A") << 5 << 3.72 << 0.370135110466435 << 10.0 << 3;
    QTest::newRow("one sector") << 3.9 << QStringLiteral("Банки") << QString() << 5 << 3.46 << 0.46690470119715 << 80.0 << 7;
    QTest::newRow("sector without client: too few") << 3.9 << QStringLiteral("Банки") << QStringLiteral("A") << 3 << 0.0 << 0.0
                                                    << 0.0 << 0;
    QTest::newRow("above all: sten kept at 10") << 5.0 << QString() << QString() << 7 << 3.542857142857143
                                                << 0.431497944595888 << 100.0 << 10;
    QTest::newRow("below all: sten kept at 1") << 1.0 << QString() << QString() << 7 << 3.542857142857143
                                               << 0.431497944595888 << 0.0 << 1;
    QTest::newRow("unknown sector: none") << 3.0 << QStringLiteral("Нефть") << QString() << 0 << 0.0 << 0.0 << 0.0 << 0;
}

void TestArchive::norms()
{
    QFETCH(double, score);
    QFETCH(QString, sector);
    QFETCH(QString, excluded);
    QFETCH(int, surveys);
    QFETCH(double, mean);
    QFETCH(double, sd);
    QFETCH(double, percentile);
    QFETCH(int, sten);
    QTemporaryDir dir;
    std::unique_ptr<SurveyArchive> archive = openArchive(dir.filePath(QStringLiteral("a.zolkdb")));
    QVERIFY(archive);
    addNormSet(*archive);
    SurveySummary::NormScores scores;
    scores.fill(score);
    const Outcome<QList<NormRow>> rows = archive->norms(scores, {sector, excluded});
    QVERIFY2(rows.ok(), qPrintable(rows.message()));
    QCOMPARE(rows->size(), SurveySummary::NormMeasures);
    for (const NormRow &row : *rows) {
        QCOMPARE(row.surveys, surveys);
        if (sten == 0) {
            QVERIFY(!row.enough());
            continue;
        }
        QVERIFY(qAbs(row.mean - mean) < 1e-12);
        QVERIFY(row.deviation && qAbs(*row.deviation - sd) < 1e-12);
        QVERIFY(qAbs(row.percentile - percentile) < 1e-9);
        QCOMPARE(row.sten, std::optional<int>(sten));
    }
    // The table says why there is no norm, and never shows a number that is not one.
    const Table table = ArchiveTables::normsTable(*rows);
    QList<TableCell> cells(table.columns.size());
    table.fillRow(SurveySummary::Overall, cells);
    if (sten == 0)
        QCOMPARE(cells[3].text, ArchiveTables::tooFewText(surveys));
    for (const TableCell &cell : cells)
        QVERIFY(cell.kind != TableCell::Kind::Number || std::isfinite(cell.number));
}

void TestArchive::welch_data()
{
    QTest::addColumn<QList<double>>("figures"); // m1, s1, n1, m2, s2, n2
    QTest::addColumn<QList<double>>("expected"); // difference, low, high, p; empty: no test
    // Figures from R: the Welch-Satterthwaite df, 2 pt(-|t|, df) and qt(0.975, df); the last row
    // agrees with t.test(b, a) on raw data.
    QTest::newRow("marked rise") << QList<double>{3.2, 0.8, 40, 3.6, 0.7, 35}
                                 << QList<double>{0.4, 0.0548027523696232, 0.7451972476303766, 0.0237530086135819};
    QTest::newRow("no change") << QList<double>{3.5, 0.9, 12, 3.55, 1.1, 8}
                               << QList<double>{0.05, -0.9604588588124889, 1.0604588588124886, 0.9164975302988223};
    QTest::newRow("fall, small groups") << QList<double>{4.0, 0.5, 5, 3.1, 0.6, 6}
                                        << QList<double>{-0.9, -1.650319914825666, -0.149680085174334, 0.0238650116582462};
    QTest::newRow("as t.test") << QList<double>{3.13220278129596785, 0.78058595750956206, 10, 3.80924935594085046, 0.61215639367042618, 7}
                               << QList<double>{0.67704657464488261, -0.045280884747136707, 1.399374034036902081, 0.064166124784754572};
    QTest::newRow("sd unknown") << QList<double>{3.0, Unknown, 1, 3.5, 0.4, 9} << QList<double>{};
    QTest::newRow("both without spread") << QList<double>{3.0, 0.0, 9, 3.5, 0.0, 9} << QList<double>{};
}

void TestArchive::welch()
{
    QFETCH(QList<double>, figures);
    QFETCH(QList<double>, expected);
    const std::optional<ArchiveStatistics::Change> change =
        ArchiveStatistics::welch(figures[0], figures[1], qsizetype(figures[2]), figures[3], figures[4], qsizetype(figures[5]));
    if (expected.isEmpty()) {
        QVERIFY(!change);
        return;
    }
    QVERIFY(change);
    QVERIFY(qAbs(change->difference - expected[0]) < 1e-12);
    QVERIFY2(qAbs(change->low - expected[1]) < 1e-9, qPrintable(QString::number(change->low, 'g', 17)));
    QVERIFY2(qAbs(change->high - expected[2]) < 1e-9, qPrintable(QString::number(change->high, 'g', 17)));
    QVERIFY2(qAbs(change->p - expected[3]) < 1e-9, qPrintable(QString::number(change->p, 'g', 17)));
    QCOMPARE(change->significant(), expected[3] < 0.05);
}

void TestArchive::trend()
{
    QTemporaryDir dir;
    std::unique_ptr<SurveyArchive> archive = openArchive(dir.filePath(QStringLiteral("a.zolkdb")));
    QVERIFY(archive);
    // Added out of order; the trend is in date order.
    QVERIFY(archive->add(survey(QStringLiteral("Клиент"), QStringLiteral("2023-05-01"), QString(), 3.6, 0.7, 35), false).ok());
    QVERIFY(archive->add(survey(QStringLiteral("Клиент"), QStringLiteral("2022-05-01"), QString(), 3.2, 0.8, 40), false).ok());
    QVERIFY(archive->add(survey(QStringLiteral("Другой"), QStringLiteral("2022-06-01"), QString(), 2.0), false).ok());
    const Outcome<QList<TrendWave>> waves = archive->trend(QStringLiteral(" Клиент "));
    QVERIFY2(waves.ok(), qPrintable(waves.message()));
    QCOMPARE(waves->size(), 2);
    QCOMPARE(waves->at(0).wave, QDate(2022, 5, 1));
    QCOMPARE(waves->at(0).figures.n, 40);
    QCOMPARE(waves->at(1).figures.means[SurveySummary::Overall], 3.6);
    const QList<ArchiveTables::WaveChange> changes = ArchiveTables::changes(*waves);
    QCOMPARE(changes.size(), SurveySummary::NormMeasures);
    QVERIFY(changes.first().test && changes.first().test->significant());
    QVERIFY(qAbs(changes.first().test->p - 0.0237530086135819) < 1e-9);
}

void TestArchive::whatIsKept()
{
    QTemporaryDir dir;
    const QString folder = writeGroup(dir.filePath(QStringLiteral("firm")));
    // Two respondents of a department of their own: too small, and kept nowhere.
    for (int k = 0; k < 2; ++k) {
        TestSupport::Respondent r;
        r.code = QStringLiteral("990%1").arg(k);
        r.name = QStringLiteral("Одиночка%1").arg(k);
        r.info = {QStringLiteral("Секретнаягруппа"), QString(), QString(), QString()};
        r.indices.fill(4.0);
        r.items.fill(4.0);
        TestSupport::writeResultFile(folder, QStringLiteral("%1.cry").arg(r.code), r);
    }
    const Survey s = summarized(folder, QStringLiteral("Фирма"), QStringLiteral("2024-03-01"));
    QCOMPARE(s.respondents(), 14);
    const QString path = dir.filePath(QStringLiteral("a.zolkdb"));
    {
        std::unique_ptr<SurveyArchive> archive = openArchive(path);
        QVERIFY(archive);
        QVERIFY(archive->add(s, false).ok());
        // Replaced: what the first add wrote is overwritten, not left in free pages.
        QVERIFY(archive->add(s, true).ok());
        const Outcome<QList<Survey>> stored = archive->all();
        QVERIFY(stored.ok());
        QCOMPARE(stored->size(), 1);
        QStringList kept;
        for (const SurveySummary::Segment &segment : stored->first().segments)
            kept << segment.split + u':' + segment.name;
        QVERIFY2(!kept.join(u' ').contains(QStringLiteral("Секретнаягруппа")), qPrintable(kept.join(u' ')));
        QCOMPARE(stored->first().whole.n, 14);
    }
#ifdef Q_OS_UNIX
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    QCOMPARE(QFile::permissions(path) & others, QFileDevice::Permissions());
    QVERIFY(QFile::permissions(path).testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
#endif
    const QByteArray bytes = bytesOf(path);
    QVERIFY(!bytes.isEmpty());
    for (const QString &personal : {QStringLiteral("Фамилияуникальная"), QStringLiteral("Личнаястрока"), QStringLiteral("Должность"),
                                    QStringLiteral("Одиночка"), QStringLiteral("Секретнаягруппа"), QStringLiteral("7003"),
                                    QStringLiteral("01.02.2003"), QStringLiteral(".cry")}) {
        QVERIFY2(!bytes.contains(personal.toUtf8()), qPrintable(personal));
        QVERIFY2(!bytes.contains(personal.toUtf8().toHex()), qPrintable(personal));
    }
    // The departments that are kept are named.
    QVERIFY(bytes.contains(QStringLiteral("Продажи").toUtf8()) || bytes.contains(QStringLiteral("Склад").toUtf8()));

    // A single respondent and a group below the threshold are not kept at all.
    const QString small = writeGroup(dir.filePath(QStringLiteral("small")), 4);
    Outcome<ProfileLoader::GroupLoad> loaded = ProfileLoader::loadFolder(small);
    QVERIFY(loaded.ok());
    QVERIFY(!SurveySummary::summarize(loaded->profile, QStringLiteral("X"), QDate(2024, 1, 1), QString(),
                                      Questionnaire::defaultCaptions(), SegmentsTable::DefaultMinimum)
                 .ok());
    const Profile one = ProfileLoader::memberProfile(loaded->profile, 0);
    QVERIFY(!SurveySummary::summarize(one, QStringLiteral("X"), QDate(2024, 1, 1), QString(), Questionnaire::defaultCaptions(), 5).ok());
}

void TestArchive::refusedUnchanged_data()
{
    QTest::addColumn<QByteArray>("damage"); // how a good archive is spoilt; or the whole content
    QTest::addColumn<QString>("message");
    QTest::newRow("a text file") << QByteArray("text:client;wave\nA;2020\n") << QStringLiteral("is not a survey archive");
    QTest::newRow("an empty file") << QByteArray("text:") << QStringLiteral("is not a survey archive");
    QTest::newRow("another program's database") << QByteArray("other") << QStringLiteral("is not a survey archive");
    QTest::newRow("a newer layout") << QByteArray("newer") << QStringLiteral("newer version");
    QTest::newRow("damaged pages") << QByteArray("pages") << QStringLiteral("is damaged");
    QTest::newRow("cut short") << QByteArray("cut") << QStringLiteral("is damaged");
}

void TestArchive::refusedUnchanged()
{
    QFETCH(QByteArray, damage);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.zolkdb"));
    if (damage.startsWith("text:")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(damage.mid(5));
    } else if (damage == "other") {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery(db).exec(QStringLiteral("CREATE TABLE survey (x)"));
            QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version = 1"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    } else {
        {
            std::unique_ptr<SurveyArchive> archive = openArchive(path);
            QVERIFY(archive);
            for (int k = 0; k < 30; ++k)
                QVERIFY(archive->add(survey(QStringLiteral("C%1").arg(k), QStringLiteral("2020-01-01"), QString(), 3.0), false).ok());
        }
        QByteArray bytes = bytesOf(path);
        QVERIFY(bytes.size() > 8 * 4096);
        if (damage == "newer") {
            bytes[63] = char(99); // user_version, big-endian at offset 60
        } else if (damage == "pages") {
            for (qsizetype k = 2 * 4096; k < 6 * 4096; ++k)
                bytes[k] = char(k * 37);
        } else {
            bytes.truncate(bytes.size() / 2);
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    const QByteArray before = bytesOf(path);
    Outcome<std::unique_ptr<SurveyArchive>> opened = SurveyArchive::open(path);
    QVERIFY(!opened.ok());
    QVERIFY2(opened.message().contains(message), qPrintable(opened.message()));
    QVERIFY2(opened.message().contains(QDir::toNativeSeparators(path)), qPrintable(opened.message()));
    QVERIFY(!SurveyArchive::readAll(path).ok());
    // The command line refuses it the same way.
    const Run run = zolkCry({QStringLiteral("archive"), QStringLiteral("add"), dir.path(), QStringLiteral("--client"),
                             QStringLiteral("X"), QStringLiteral("--wave"), QStringLiteral("2024-01-01"), QStringLiteral("--archive"), path});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(bytesOf(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.zolkdb")});
}

void TestArchive::migratesFirstVersion()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.zolkdb"));
    // A file as the first release wrote it: its layout, frozen here.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("first"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        const QStringList statements = {
            QStringLiteral("PRAGMA application_id = 1515146315"),
            QStringLiteral("CREATE TABLE survey (id INTEGER PRIMARY KEY, client TEXT NOT NULL, wave TEXT NOT NULL,"
                           " sector TEXT NOT NULL DEFAULT '', respondents INTEGER NOT NULL CHECK (respondents > 0),"
                           " UNIQUE (client, wave))"),
            QStringLiteral("CREATE TABLE segment (id INTEGER PRIMARY KEY, survey INTEGER NOT NULL REFERENCES survey(id)"
                           " ON DELETE CASCADE, split TEXT NOT NULL, caption TEXT NOT NULL DEFAULT '', name TEXT NOT NULL,"
                           " n INTEGER NOT NULL)"),
            QStringLiteral("CREATE INDEX segment_survey ON segment (survey)"),
            QStringLiteral("CREATE TABLE figure (segment INTEGER NOT NULL REFERENCES segment(id) ON DELETE CASCADE,"
                           " measure INTEGER NOT NULL, mean REAL NOT NULL, sd REAL, PRIMARY KEY (segment, measure)) WITHOUT ROWID"),
            QStringLiteral("PRAGMA user_version = 1"),
        };
        for (const QString &statement : statements)
            QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
        const QList<double> values = {3.0, 3.2, 3.2, 3.5, 3.8, 4.0, 4.1};
        for (int k = 0; k < values.size(); ++k) {
            QVERIFY(query.exec(QStringLiteral("INSERT INTO survey VALUES (%1, 'C%1', '2021-01-01', '', 20)").arg(k + 1)));
            QVERIFY(query.exec(QStringLiteral("INSERT INTO segment VALUES (%1, %1, '', '', '', 20)").arg(k + 1)));
            for (int m = 0; m < SurveySummary::MeasureCount; ++m)
                QVERIFY(query.exec(QStringLiteral("INSERT INTO figure VALUES (%1, %2, %3, 0.5)").arg(k + 1).arg(m).arg(values[k])));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("first"));
    // Read as it is for an import, unchanged.
    const QByteArray before = bytesOf(path);
    const Outcome<QList<Survey>> read = SurveyArchive::readAll(path);
    QVERIFY2(read.ok(), qPrintable(read.message()));
    QCOMPARE(read->size(), 7);
    QCOMPARE(bytesOf(path), before);
    // Opened, it is brought up to date and gives the same norms as a new archive.
    std::unique_ptr<SurveyArchive> archive = openArchive(path);
    QVERIFY(archive);
    QSqlQuery version(archive->database());
    QVERIFY(version.exec(QStringLiteral("PRAGMA user_version")) && version.next());
    QCOMPARE(version.value(0).toInt(), SurveyArchive::CurrentVersion);
    version.finish();
    SurveySummary::NormScores scores;
    scores.fill(3.2);
    const Outcome<QList<NormRow>> rows = archive->norms(scores, {});
    QVERIFY(rows.ok());
    QCOMPARE(rows->first().surveys, 7);
    QVERIFY(qAbs(rows->first().percentile - 28.571428571428569) < 1e-9);
    QCOMPARE(rows->first().sten, std::optional<int>(4));
    QVERIFY(archive->add(survey(QStringLiteral("New"), QStringLiteral("2024-01-01"), QString(), 3.3), false).ok());
    archive.reset();
    QCOMPARE(integrity(path), QStringLiteral("ok"));
}

void TestArchive::addReplaceRemove()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("deeper/folder/a.zolkdb"));
    std::unique_ptr<SurveyArchive> archive = openArchive(path);
    QVERIFY(archive);
    QVERIFY(archive->add(survey(QStringLiteral("A"), QStringLiteral("2020-01-01"), QString(), 3.0), false).ok());
    // The same client and wave: refused without replace, and the stored one kept.
    const Outcome<> again = archive->add(survey(QStringLiteral(" A "), QStringLiteral("2020-01-01"), QString(), 4.0), false);
    QVERIFY(!again.ok());
    QVERIFY2(again.message().contains(QStringLiteral("already holds")), qPrintable(again.message()));
    QCOMPARE(archive->trend(QStringLiteral("A"))->first().figures.means[0], 3.0);
    QVERIFY(archive->add(survey(QStringLiteral("A"), QStringLiteral("2020-01-01"), QString(), 4.0), true).ok());
    QCOMPARE(archive->trend(QStringLiteral("A"))->first().figures.means[0], 4.0);
    QCOMPARE(archive->surveys()->size(), 1);
    QVERIFY(!archive->remove(QStringLiteral("A"), QDate(2021, 1, 1)).ok());
    QVERIFY(archive->remove(QStringLiteral("A"), QDate(2020, 1, 1)).ok());
    QCOMPARE(archive->surveys()->size(), 0);
    // The norm tables follow the removal: none left.
    SurveySummary::NormScores scores;
    scores.fill(3.0);
    QCOMPARE(archive->norms(scores, {})->first().surveys, 0);
}

void TestArchive::exportImport()
{
    QTemporaryDir dir;
    std::unique_ptr<SurveyArchive> mine = openArchive(dir.filePath(QStringLiteral("mine.zolkdb")));
    std::unique_ptr<SurveyArchive> theirs = openArchive(dir.filePath(QStringLiteral("theirs.zolkdb")));
    QVERIFY(mine && theirs);
    QVERIFY(mine->add(survey(QStringLiteral("A"), QStringLiteral("2020-01-01"), QString(), 3.0), false).ok());
    QVERIFY(theirs->add(survey(QStringLiteral("A"), QStringLiteral("2020-01-01"), QString(), 4.0), false).ok());
    QVERIFY(theirs->add(survey(QStringLiteral("B"), QStringLiteral("2020-01-01"), QStringLiteral("Банки"), 3.5), false).ok());
    const QString shared = dir.filePath(QStringLiteral("shared.zolkdb"));
    QVERIFY(!theirs->exportTo(theirs->path()).ok());
    QVERIFY(theirs->exportTo(shared).ok());
    const Outcome<QList<Survey>> incoming = SurveyArchive::readAll(shared);
    QVERIFY2(incoming.ok(), qPrintable(incoming.message()));
    QCOMPARE(incoming->size(), 2);
    QStringList asked;
    QVERIFY(mine->addAll(*incoming, [&](const Survey &s) {
                    asked << s.client;
                    return false;
                })
                .ok());
    QCOMPARE(asked, QStringList{QStringLiteral("A")});
    QCOMPARE(mine->surveys()->size(), 2);
    QCOMPARE(mine->trend(QStringLiteral("A"))->first().figures.means[0], 3.0);
    QVERIFY(mine->addAll(*incoming, [](const Survey &) { return true; }).ok());
    QCOMPARE(mine->trend(QStringLiteral("A"))->first().figures.means[0], 4.0);
    QCOMPARE(mine->sectors().value(), QStringList{QStringLiteral("Банки")});
}

void TestArchive::twoWriters()
{
    QTemporaryDir dir;
    const QString first = writeGroup(dir.filePath(QStringLiteral("first")), 400);
    const QString second = writeGroup(dir.filePath(QStringLiteral("second")), 400, 0.5);
    const QString path = dir.filePath(QStringLiteral("shared/a.zolkdb"));
    // Both start on an archive that does not exist yet, and add at once.
    QList<QProcess *> processes;
    for (const QString &folder : {first, second}) {
        auto *process = new QProcess(this);
        process->start(QStringLiteral(ZOLK_CRY_PATH),
                       {QStringLiteral("archive"), QStringLiteral("add"), folder, QStringLiteral("--client"), QFileInfo(folder).fileName(),
                        QStringLiteral("--wave"), QStringLiteral("2024-01-01"), QStringLiteral("--archive"), path});
        processes << process;
    }
    for (QProcess *process : processes) {
        QVERIFY(process->waitForFinished(120000));
        QVERIFY2(process->exitCode() == 0, process->readAllStandardError().constData());
        delete process;
    }
    QCOMPARE(surveyCount(path), 2);
    QCOMPARE(integrity(path), QStringLiteral("ok"));
}

void TestArchive::killedDuringAdd()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.zolkdb"));
    QVERIFY(openArchive(path));
    for (int round = 0; round < 3; ++round) {
        const qsizetype before = surveyCount(path);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--add-until-killed"), path});
        QVERIFY(child.waitForStarted());
        // Killed right after an add is reported: the next one is under way.
        QByteArray said;
        while (said.count('\n') < 2 + round && child.state() == QProcess::Running) {
            child.waitForReadyRead(30000);
            said += child.readAllStandardOutput();
        }
        QVERIFY2(child.state() == QProcess::Running, qPrintable(QStringLiteral("%1 %2 %3 %4").arg(child.exitCode()).arg(int(child.exitStatus())).arg(QString::fromUtf8(said), QString::fromUtf8(child.readAllStandardError()))));
        child.kill();
        QVERIFY(child.waitForFinished(30000));
        said += child.readAllStandardOutput();
        const qsizetype reported = said.count('\n');
        QVERIFY(reported >= 2 + round);
        QCOMPARE(integrity(path), QStringLiteral("ok"));
        // Every reported add is there, and the one under way either whole or not at all.
        const qsizetype now = surveyCount(path);
        QVERIFY2(now == before + reported || now == before + reported + 1, qPrintable(QStringLiteral("%1 %2 %3").arg(before).arg(reported).arg(now)));
    }
}

void TestArchive::fullDisk()
{
    const QString mount = qEnvironmentVariable("ZOLK_FULL_DISK");
    if (mount.isEmpty())
        QSKIP("no small file system here (run through tests/with-full-disk.sh)");
    const QString path = QDir(mount).filePath(QStringLiteral("archive.zolkdb"));
    Survey big = survey(QStringLiteral("Big"), QStringLiteral("2024-01-01"), QString(), 3.0);
    for (int k = 0; k < 60; ++k)
        big.segments.append({QStringLiteral("info1"), QStringLiteral("Отдел"), QStringLiteral("Отдел %1").arg(k), big.whole});
    {
        std::unique_ptr<SurveyArchive> archive = openArchive(path);
        QVERIFY(archive);
        QVERIFY(archive->add(survey(QStringLiteral("A"), QStringLiteral("2020-01-01"), QString(), 3.0), false).ok());
    }
    // The rest of the disk filled up.
    const QString filler = QDir(mount).filePath(QStringLiteral("filler"));
    {
        QFile file(filler);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (file.write(block) == block.size() && file.flush()) {
        }
    }
    const QByteArray before = bytesOf(path);
    {
        std::unique_ptr<SurveyArchive> archive = openArchive(path);
        QVERIFY(archive);
        const Outcome<> added = archive->add(big, false);
        QVERIFY(!added.ok());
        QVERIFY2(added.message().contains(QStringLiteral("not added")), qPrintable(added.message()));
    }
    QCOMPARE(bytesOf(path), before);
    QFile::remove(filler);
    QCOMPARE(integrity(path), QStringLiteral("ok"));
    QCOMPARE(surveyCount(path), 1);
    // A new archive on a full disk is not left half made.
    {
        QFile file(filler);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (file.write(block) == block.size() && file.flush()) {
        }
    }
    const QStringList entries = QDir(mount).entryList(QDir::Files);
    QVERIFY(!SurveyArchive::open(QDir(mount).filePath(QStringLiteral("new.zolkdb"))).ok());
    QCOMPARE(QDir(mount).entryList(QDir::Files), entries);
    QFile::remove(filler);
    QFile::remove(path);
}

void TestArchive::commandLine()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.zolkdb"));
    const QString folder = writeGroup(dir.filePath(QStringLiteral("firm")));
    const QStringList add = {QStringLiteral("archive"), QStringLiteral("add"), folder, QStringLiteral("--client"), QStringLiteral("Фирма"),
                             QStringLiteral("--wave"), QStringLiteral("2024-03-01"), QStringLiteral("--archive"), path};
    QCOMPARE(zolkCry(add).exitCode, 0);
    // Again: refused without --replace, done with it.
    const Run again = zolkCry(add);
    QCOMPARE(again.exitCode, 1);
    QVERIFY2(again.err.contains("--replace"), again.err.constData());
    QCOMPARE(zolkCry(add + QStringList{QStringLiteral("--replace")}).exitCode, 0);
    QCOMPARE(zolkCry(QStringList(add).replaceInStrings(QStringLiteral("2024-03-01"), QStringLiteral("2023-03-01"))).exitCode, 0);
    // Wrong command lines.
    QCOMPARE(zolkCry({QStringLiteral("archive"), QStringLiteral("add"), folder, QStringLiteral("--wave"), QStringLiteral("2024-03-01"),
                      QStringLiteral("--archive"), path})
                 .exitCode,
             2);
    QCOMPARE(zolkCry(QStringList(add).replaceInStrings(QStringLiteral("2024-03-01"), QStringLiteral("01.03.2024"))).exitCode, 2);
    QCOMPARE(zolkCry({QStringLiteral("archive"), QStringLiteral("drop"), QStringLiteral("--archive"), path}).exitCode, 2);

    const Run list = zolkCry({QStringLiteral("archive"), QStringLiteral("list"), QStringLiteral("--archive"), path});
    QCOMPARE(list.exitCode, 0);
    const QStringList lines = QString::fromUtf8(list.out).remove(QChar(0xFEFF)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines[1].startsWith(QStringLiteral("Фирма,2023-03-01,,12")), qPrintable(lines[1]));
    QVERIFY2(lines[2].startsWith(QStringLiteral("Фирма,2024-03-01,,12")), qPrintable(lines[2]));

    const Run trend = zolkCry({QStringLiteral("trend"), QStringLiteral("--client"), QStringLiteral("Фирма"), QStringLiteral("--archive"), path});
    QCOMPARE(trend.exitCode, 0);
    QCOMPARE(QString::fromUtf8(trend.out).count(QStringLiteral("\r\n")), 3);

    // Two surveys are too few for a norm: every row says so, and nothing reads "nan".
    const Run norms = zolkCry({QStringLiteral("norms"), folder, QStringLiteral("--archive"), path});
    QCOMPARE(norms.exitCode, 0);
    QCOMPARE(QString::fromUtf8(norms.out).count(ArchiveTables::tooFewText(2)), SurveySummary::NormMeasures);
    QVERIFY(!norms.out.toLower().contains("nan"));
    const Run excluded = zolkCry({QStringLiteral("norms"), folder, QStringLiteral("--client"), QStringLiteral("Фирма"),
                                  QStringLiteral("--archive"), path});
    QCOMPARE(QString::fromUtf8(excluded.out).count(ArchiveTables::tooFewText(0)), SurveySummary::NormMeasures);

    QCOMPARE(zolkCry({QStringLiteral("archive"), QStringLiteral("remove"), QStringLiteral("--client"), QStringLiteral("Фирма"),
                      QStringLiteral("--wave"), QStringLiteral("2023-03-01"), QStringLiteral("--archive"), path})
                 .exitCode,
             0);
    QCOMPARE(zolkCry({QStringLiteral("archive"), QStringLiteral("remove"), QStringLiteral("--client"), QStringLiteral("Фирма"),
                      QStringLiteral("--wave"), QStringLiteral("2023-03-01"), QStringLiteral("--archive"), path})
                 .exitCode,
             1);
    QCOMPARE(surveyCount(path), 1);
}

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--add-until-killed") == 0) {
        QCoreApplication app(argc, argv);
        return addUntilKilled(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    TestArchive test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_archive.moc"
