#include "SurveyArchive.h"

#include "ArchiveSchema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtEndian>
#include <QVariant>

#include <atomic>
#include <functional>
#include <cmath>
#include <limits>

using namespace SurveySummary;

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("SurveyArchive", text);
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// How long a change waits for another program's change to the same archive to end.
constexpr int BusyTimeoutMilliseconds = 60000;
// Survey means within this of a score count as equal to it in a percentile rank.
constexpr double SameMean = 1e-9;
constexpr int HeaderSize = 100;

QString waveText(const QDate &wave)
{
    return wave.toString(Qt::ISODate);
}

QString newConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("zolk-survey-archive-%1").arg(++counter);
}

// The first bytes of a file as SQLite writes them: its own signature, the layout version (user
// version, offset 60) and the application id (offset 68). Read before SQLite sees the file, so that
// no other file is ever opened as a database.
Outcome<int> archiveVersion(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return Outcome<int>::failed(tr("%1 is not a file.").arg(native(path)));
    if (!file.open(QIODevice::ReadOnly))
        return Outcome<int>::failed(tr("The archive %1 cannot be read: %2").arg(native(path), file.errorString()));
    const QByteArray head = file.read(HeaderSize);
    static const QByteArray signature("SQLite format 3\0", 16);
    const QString notArchive = tr("%1 is not a survey archive of this program: it is left as it is.").arg(native(path));
    if (head.size() < HeaderSize || !head.startsWith(signature))
        return Outcome<int>::failed(notArchive);
    const quint32 version = qFromBigEndian<quint32>(head.constData() + 60);
    const quint32 application = qFromBigEndian<quint32>(head.constData() + 68);
    if (application != SurveyArchive::ApplicationId || version == 0)
        return Outcome<int>::failed(notArchive);
    if (version > quint32(SurveyArchive::CurrentVersion))
        return Outcome<int>::failed(tr("The archive %1 was written by a newer version of the program (layout %2; this one "
                                       "reads up to %3): it is left as it is.")
                                        .arg(native(path))
                                        .arg(version)
                                        .arg(SurveyArchive::CurrentVersion));
    return int(version);
}

// A connection to path; readOnly opens it without the right to change it.
Outcome<QSqlDatabase> connect(const QString &path, const QString &name, bool readOnly)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    if (!db.isValid()) {
        QSqlDatabase::removeDatabase(name);
        return Outcome<QSqlDatabase>::failed(tr("The program's SQLite driver (Qt SQL, sqldrivers/qsqlite) is missing: "
                                                "the archive cannot be opened."));
    }
    db.setDatabaseName(path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMilliseconds);
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    const auto refuse = [&](const QString &reason) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        return Outcome<QSqlDatabase>::failed(reason);
    };
    if (!db.open())
        return refuse(tr("The archive %1 cannot be opened: %2").arg(native(path), db.lastError().text()));
    // Foreign keys on (a survey's segments and figures go with it); deleted content overwritten,
    // so that a survey removed or replaced leaves nothing of itself in the file; the indexes of a
    // large archive held in memory (16 MB at most).
    for (const QString &pragma : {QStringLiteral("PRAGMA foreign_keys = ON"), QStringLiteral("PRAGMA secure_delete = ON"),
                                  QStringLiteral("PRAGMA cache_size = -16384")})
        if (Outcome<> set = ArchiveSchema::run(db, pragma); !set)
            return refuse(tr("The archive %1 is damaged and is left as it is: %2").arg(native(path), set.message()));
    return db;
}

// Reads every row of a quick check: "ok" alone for a sound file.
Outcome<> checkSound(QSqlDatabase &db, const QString &path)
{
    QSqlQuery check(db);
    const QString damaged = tr("The archive %1 is damaged and is left as it is: %2");
    if (!check.exec(QStringLiteral("PRAGMA quick_check")))
        return Outcome<>::failed(damaged.arg(native(path), check.lastError().text()));
    QStringList problems;
    while (check.next())
        if (const QString line = check.value(0).toString(); line != QLatin1String("ok"))
            problems << line;
    if (check.lastError().isValid())
        return Outcome<>::failed(damaged.arg(native(path), check.lastError().text()));
    if (!problems.isEmpty())
        return Outcome<>::failed(damaged.arg(native(path), problems.mid(0, 3).join(QStringLiteral("; "))));
    return {};
}

// Runs work inside BEGIN IMMEDIATE ... COMMIT: the write lock is taken first (waiting up to the busy
// timeout for another program's change), so that a change never fails half-way for a lock.
Outcome<> inTransaction(QSqlDatabase &db, const std::function<Outcome<>()> &work)
{
    if (Outcome<> begun = ArchiveSchema::run(db, QStringLiteral("BEGIN IMMEDIATE")); !begun)
        return begun;
    Outcome<> done = work();
    if (done)
        done = ArchiveSchema::run(db, QStringLiteral("COMMIT"));
    if (!done)
        (void)ArchiveSchema::run(db, QStringLiteral("ROLLBACK"));
    return done;
}

// A new archive: made under a temporary name beside path with the user's permissions only, given
// the whole layout, and then renamed to path, so that no one ever sees a half-made archive. Where
// another program made path meanwhile, theirs is used.
Outcome<> create(const QString &path)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return Outcome<>::failed(tr("The folder %1 for the archive cannot be made.").arg(native(info.absolutePath())));
    QString temporary;
    {
        QTemporaryFile file(info.absoluteFilePath() + QStringLiteral(".XXXXXX"));
        file.setAutoRemove(false);
        // QTemporaryFile makes the file readable and writable by its owner only.
        if (!file.open())
            return Outcome<>::failed(tr("The archive %1 cannot be made: %2").arg(native(path), file.errorString()));
        temporary = file.fileName();
    }
    const QString name = newConnectionName();
    Outcome<> made;
    {
        Outcome<QSqlDatabase> db = connect(temporary, name, false);
        if (!db) {
            made = Outcome<>::failed(db.message());
        } else {
            made = inTransaction(*db, [&]() -> Outcome<> {
                if (Outcome<> first = ArchiveSchema::createVersion1(*db); !first)
                    return first;
                return ArchiveSchema::migrate(*db, 1, SurveyArchive::CurrentVersion);
            });
            db->close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (made && !QFile::exists(path) && !QFile::rename(temporary, path) && !QFile::exists(path))
        made = Outcome<>::failed(tr("The archive %1 cannot be made: the file cannot be renamed.").arg(native(path)));
    QFile::remove(temporary);
    QFile::remove(temporary + QStringLiteral("-journal"));
    if (!made)
        return Outcome<>::failed(tr("The archive %1 cannot be made: %2").arg(native(path), made.message()));
    return {};
}

std::optional<double> nullableDouble(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

} // namespace

QString SurveyArchive::defaultPath()
{
    // The window's application data folder, whichever program asks (zolk-cry names itself otherwise).
    const QString organisation = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName();
    QCoreApplication::setOrganizationName(QStringLiteral("ZOLK"));
    QCoreApplication::setApplicationName(QStringLiteral("zolk-plot"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setOrganizationName(organisation);
    QCoreApplication::setApplicationName(application);
    return folder + QStringLiteral("/survey-archive.zolkdb");
}

QString SurveyArchive::fileFilter()
{
    return tr("Survey archive (*.zolkdb);;All files (*)");
}

SurveyArchive::SurveyArchive(QString path, QString connection) : m_path(std::move(path)), m_connection(std::move(connection)) {}

SurveyArchive::~SurveyArchive()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase SurveyArchive::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

Outcome<std::unique_ptr<SurveyArchive>> SurveyArchive::open(const QString &path)
{
    using Result = Outcome<std::unique_ptr<SurveyArchive>>;
    if (path.isEmpty())
        return Result::failed(tr("No archive file is named."));
    if (!QFileInfo::exists(path))
        if (Outcome<> made = create(path); !made)
            return Result(made.failure());
    const Outcome<int> version = archiveVersion(path);
    if (!version)
        return Result(version.failure());
    const QString name = newConnectionName();
    if (Outcome<QSqlDatabase> connected = connect(path, name, false); !connected)
        return Result(connected.failure());
    // The archive owns the connection from here on; db goes before it.
    std::unique_ptr<SurveyArchive> archive(new SurveyArchive(QFileInfo(path).absoluteFilePath(), name));
    QSqlDatabase db = archive->database();
    if (Outcome<> sound = checkSound(db, path); !sound)
        return Result(sound.failure());
    if (*version < CurrentVersion) {
        // Another program may have brought it up to date meanwhile: the version is read again under the lock.
        Outcome<> migrated = inTransaction(db, [&]() -> Outcome<> {
            QSqlQuery query(db);
            if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
                return Outcome<>::failed(query.lastError().text());
            const int now = query.value(0).toInt();
            query.finish();
            return ArchiveSchema::migrate(db, now, CurrentVersion);
        });
        if (!migrated)
            return Result::failed(tr("The archive %1 cannot be brought up to date and is left as it is: %2")
                                      .arg(native(path), migrated.message()));
    }
    return Result(std::move(archive));
}

Outcome<QList<Survey>> SurveyArchive::readAll(const QString &path)
{
    using Result = Outcome<QList<Survey>>;
    if (!QFileInfo::exists(path))
        return Result::failed(tr("The archive %1 does not exist.").arg(native(path)));
    if (const Outcome<int> version = archiveVersion(path); !version)
        return Result(version.failure());
    const QString name = newConnectionName();
    if (Outcome<QSqlDatabase> connected = connect(path, name, true); !connected)
        return Result(connected.failure());
    // The core tables are the same in every layout: an older file is read as it is.
    SurveyArchive archive(path, name);
    QSqlDatabase db = archive.database();
    if (Outcome<> sound = checkSound(db, path); !sound)
        return Result(sound.failure());
    return archive.all();
}

QString SurveyArchive::failure(const QString &what, const QString &reason) const
{
    return tr("%1 (archive %2): %3").arg(what, native(m_path), reason);
}

Outcome<> SurveyArchive::transaction(const std::function<Outcome<>()> &work)
{
    QSqlDatabase db = database();
    return inTransaction(db, work);
}

Outcome<bool> SurveyArchive::contains(const QString &client, const QDate &wave)
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT 1 FROM survey WHERE client = ? AND wave = ?"));
    query.addBindValue(cleanText(client));
    query.addBindValue(waveText(wave));
    if (!query.exec())
        return Outcome<bool>::failed(failure(tr("The archive cannot be read"), query.lastError().text()));
    return query.next();
}

Outcome<> SurveyArchive::insert(const Survey &survey)
{
    QSqlDatabase db = database();
    QSqlQuery row(db);
    row.prepare(QStringLiteral("INSERT INTO survey (client, wave, sector, respondents) VALUES (?, ?, ?, ?)"));
    row.addBindValue(cleanText(survey.client));
    row.addBindValue(waveText(survey.wave));
    row.addBindValue(cleanText(survey.sector));
    row.addBindValue(qlonglong(survey.respondents()));
    if (!row.exec())
        return Outcome<>::failed(row.lastError().text());
    const qlonglong id = row.lastInsertId().toLongLong();

    QSqlQuery segment(db);
    segment.prepare(QStringLiteral("INSERT INTO segment (survey, split, caption, name, n) VALUES (?, ?, ?, ?, ?)"));
    QSqlQuery figure(db);
    figure.prepare(QStringLiteral("INSERT INTO figure (segment, measure, mean, sd) VALUES (?, ?, ?, ?)"));
    const auto store = [&](const QString &split, const QString &caption, const QString &name, const Figures &figures) -> Outcome<> {
        segment.bindValue(0, id);
        segment.bindValue(1, split);
        segment.bindValue(2, caption);
        segment.bindValue(3, name);
        segment.bindValue(4, qlonglong(figures.n));
        if (!segment.exec())
            return Outcome<>::failed(segment.lastError().text());
        const qlonglong segmentId = segment.lastInsertId().toLongLong();
        for (int m = 0; m < MeasureCount; ++m) {
            const double mean = figures.means[std::size_t(m)];
            const double deviation = figures.deviations[std::size_t(m)];
            if (!std::isfinite(mean))
                return Outcome<>::failed(tr("a mean is not a number"));
            figure.bindValue(0, segmentId);
            figure.bindValue(1, m);
            figure.bindValue(2, mean);
            figure.bindValue(3, std::isfinite(deviation) ? QVariant(deviation) : QVariant(QMetaType::fromType<double>()));
            if (!figure.exec())
                return Outcome<>::failed(figure.lastError().text());
        }
        return {};
    };
    if (Outcome<> whole = store(QStringLiteral(""), QStringLiteral(""), QStringLiteral(""), survey.whole); !whole)
        return whole;
    for (const Segment &part : survey.segments)
        if (Outcome<> stored = store(cleanText(part.split), cleanText(part.caption), cleanText(part.name), part.figures); !stored)
            return stored;

    QSqlQuery norm(db);
    norm.prepare(QStringLiteral("INSERT INTO norm (survey, measure, sector, mean) VALUES (?, ?, ?, ?)"));
    for (int m = 0; m < NormMeasures; ++m) {
        norm.bindValue(0, id);
        norm.bindValue(1, m);
        norm.bindValue(2, cleanText(survey.sector));
        norm.bindValue(3, survey.whole.means[std::size_t(m)]);
        if (!norm.exec())
            return Outcome<>::failed(norm.lastError().text());
    }
    return {};
}

Outcome<> SurveyArchive::removeIfPresent(const QString &client, const QDate &wave, bool *removed)
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral("DELETE FROM survey WHERE client = ? AND wave = ?"));
    query.addBindValue(cleanText(client));
    query.addBindValue(waveText(wave));
    if (!query.exec())
        return Outcome<>::failed(query.lastError().text());
    *removed = query.numRowsAffected() > 0;
    return {};
}

Outcome<> SurveyArchive::refreshNorms()
{
    QSqlDatabase db = database();
    return ArchiveSchema::refreshNorms(db);
}

Outcome<> SurveyArchive::add(const Survey &survey, bool replace)
{
    if (cleanText(survey.client).isEmpty() || !survey.wave.isValid())
        return Outcome<>::failed(tr("A survey needs a client and a wave date."));
    bool present = false;
    Outcome<> done = transaction([&]() -> Outcome<> {
        QSqlQuery query(database());
        query.prepare(QStringLiteral("SELECT 1 FROM survey WHERE client = ? AND wave = ?"));
        query.addBindValue(cleanText(survey.client));
        query.addBindValue(waveText(survey.wave));
        if (!query.exec())
            return Outcome<>::failed(query.lastError().text());
        present = query.next();
        query.finish();
        if (present && !replace)
            return Outcome<>::failed(QString());
        bool removed = false;
        if (present)
            if (Outcome<> gone = removeIfPresent(survey.client, survey.wave, &removed); !gone)
                return gone;
        if (Outcome<> inserted = insert(survey); !inserted)
            return inserted;
        return refreshNorms();
    });
    if (present && !replace)
        return Outcome<>::failed(tr("The archive %1 already holds the survey of %2 of %3.")
                                     .arg(native(m_path), cleanText(survey.client), waveText(survey.wave)));
    if (!done)
        return Outcome<>::failed(failure(tr("The survey was not added"), done.message()));
    return {};
}

Outcome<> SurveyArchive::addAll(const QList<Survey> &surveys, const std::function<bool(const Survey &)> &replace)
{
    for (const Survey &survey : surveys)
        if (cleanText(survey.client).isEmpty() || !survey.wave.isValid())
            return Outcome<>::failed(tr("A survey needs a client and a wave date."));
    Outcome<> done = transaction([&]() -> Outcome<> {
        for (const Survey &survey : surveys) {
            Outcome<bool> present = contains(survey.client, survey.wave);
            if (!present)
                return Outcome<>::failed(present.message());
            if (*present) {
                if (!replace || !replace(survey))
                    continue;
                bool removed = false;
                if (Outcome<> gone = removeIfPresent(survey.client, survey.wave, &removed); !gone)
                    return gone;
            }
            if (Outcome<> inserted = insert(survey); !inserted)
                return inserted;
        }
        return refreshNorms();
    });
    if (!done)
        return Outcome<>::failed(failure(tr("The surveys were not added"), done.message()));
    return {};
}

Outcome<> SurveyArchive::remove(const QString &client, const QDate &wave)
{
    bool removed = false;
    Outcome<> done = transaction([&]() -> Outcome<> {
        if (Outcome<> gone = removeIfPresent(client, wave, &removed); !gone)
            return gone;
        if (!removed)
            return {};
        return refreshNorms();
    });
    if (!done)
        return Outcome<>::failed(failure(tr("The survey was not removed"), done.message()));
    if (!removed)
        return Outcome<>::failed(tr("The archive %1 holds no survey of %2 of %3.")
                                     .arg(native(m_path), cleanText(client), waveText(wave)));
    return {};
}

Outcome<QList<SurveyEntry>> SurveyArchive::surveys()
{
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT client, wave, sector, respondents FROM survey ORDER BY client, wave")))
        return Outcome<QList<SurveyEntry>>::failed(failure(tr("The archive cannot be read"), query.lastError().text()));
    QList<SurveyEntry> entries;
    while (query.next())
        entries.append({query.value(0).toString(), QDate::fromString(query.value(1).toString(), Qt::ISODate),
                        query.value(2).toString(), qsizetype(query.value(3).toLongLong())});
    return entries;
}

namespace {

Outcome<QStringList> distinctTexts(QSqlDatabase db, const QString &statement)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(statement))
        return Outcome<QStringList>::failed(query.lastError().text());
    QStringList texts;
    while (query.next())
        texts << query.value(0).toString();
    return texts;
}

} // namespace

Outcome<QStringList> SurveyArchive::clients()
{
    return distinctTexts(database(), QStringLiteral("SELECT DISTINCT client FROM survey ORDER BY client"));
}

Outcome<QStringList> SurveyArchive::sectors()
{
    return distinctTexts(database(), QStringLiteral("SELECT DISTINCT sector FROM survey WHERE sector <> '' ORDER BY sector"));
}

Outcome<QList<Survey>> SurveyArchive::all()
{
    using Result = Outcome<QList<Survey>>;
    QSqlDatabase db = database();
    QSqlQuery surveysQuery(db);
    surveysQuery.setForwardOnly(true);
    if (!surveysQuery.exec(QStringLiteral("SELECT id, client, wave, sector FROM survey ORDER BY client, wave")))
        return Result::failed(failure(tr("The archive cannot be read"), surveysQuery.lastError().text()));
    QList<std::pair<qlonglong, Survey>> found;
    while (surveysQuery.next()) {
        Survey survey;
        survey.client = surveysQuery.value(1).toString();
        survey.wave = QDate::fromString(surveysQuery.value(2).toString(), Qt::ISODate);
        survey.sector = surveysQuery.value(3).toString();
        found.append({surveysQuery.value(0).toLongLong(), survey});
    }
    QSqlQuery segments(db);
    segments.prepare(QStringLiteral("SELECT id, split, caption, name, n FROM segment WHERE survey = ? ORDER BY id"));
    QSqlQuery figures(db);
    figures.prepare(QStringLiteral("SELECT measure, mean, sd FROM figure WHERE segment = ?"));
    QList<Survey> result;
    for (auto &[id, survey] : found) {
        segments.bindValue(0, id);
        if (!segments.exec())
            return Result::failed(failure(tr("The archive cannot be read"), segments.lastError().text()));
        bool first = true;
        while (segments.next()) {
            Figures values;
            values.n = qsizetype(segments.value(4).toLongLong());
            values.means.fill(0.0);
            values.deviations.fill(std::numeric_limits<double>::quiet_NaN());
            figures.bindValue(0, segments.value(0));
            if (!figures.exec())
                return Result::failed(failure(tr("The archive cannot be read"), figures.lastError().text()));
            while (figures.next()) {
                const int measure = figures.value(0).toInt();
                if (measure < 0 || measure >= MeasureCount)
                    continue;
                values.means[std::size_t(measure)] = figures.value(1).toDouble();
                values.deviations[std::size_t(measure)] =
                    nullableDouble(figures.value(2)).value_or(std::numeric_limits<double>::quiet_NaN());
            }
            const QString split = segments.value(1).toString();
            if (first && split.isEmpty()) {
                survey.whole = values;
            } else {
                survey.segments.append({split, segments.value(2).toString(), segments.value(3).toString(), values});
            }
            first = false;
        }
        if (survey.whole.n > 0)
            result.append(survey);
    }
    return result;
}

Outcome<QList<NormRow>> SurveyArchive::norms(const NormScores &scores, const NormQuery &normQuery)
{
    using Result = Outcome<QList<NormRow>>;
    QSqlDatabase db = database();
    const QString sector = cleanText(normQuery.sector);
    const QString client = cleanText(normQuery.excludedClient);
    const bool bySector = !sector.isEmpty();
    QSqlQuery sums(db);
    sums.prepare(QStringLiteral("SELECT n, mean, m2 FROM norm_sum WHERE whole = ? AND sector = ? AND measure = ?"));
    // The number of surveys with a mean no higher than a value: the count kept with the highest
    // such mean, found in the index.
    QSqlQuery upto(db);
    upto.prepare(bySector ? QStringLiteral("SELECT upto_sector FROM norm WHERE sector = :sector AND measure = :measure"
                                           " AND mean <= :value ORDER BY mean DESC LIMIT 1")
                          : QStringLiteral("SELECT upto_all FROM norm WHERE measure = :measure AND mean <= :value"
                                           " ORDER BY mean DESC LIMIT 1"));
    QSqlQuery own(db);
    // The client's few surveys first (CROSS JOIN keeps that order): found by the client's index,
    // then each one's mean by its key, never a walk through a measure's means of every survey.
    own.prepare(bySector ? QStringLiteral("SELECT n.mean FROM survey s CROSS JOIN norm n ON n.survey = s.id"
                                          " WHERE s.client = :client AND n.measure = :measure AND n.sector = :sector")
                         : QStringLiteral("SELECT n.mean FROM survey s CROSS JOIN norm n ON n.survey = s.id"
                                          " WHERE s.client = :client AND n.measure = :measure"));
    const auto uptoCount = [&](int measure, double value) -> std::optional<qsizetype> {
        if (bySector)
            upto.bindValue(QStringLiteral(":sector"), sector);
        upto.bindValue(QStringLiteral(":measure"), measure);
        upto.bindValue(QStringLiteral(":value"), value);
        if (!upto.exec())
            return std::nullopt;
        const qsizetype count = upto.next() ? qsizetype(upto.value(0).toLongLong()) : 0;
        upto.finish();
        return count;
    };
    const QString unreadable = tr("The norms cannot be read");
    QList<NormRow> rows;
    for (int m = 0; m < NormMeasures; ++m) {
        NormRow row;
        row.measure = m;
        row.score = scores[std::size_t(m)];
        sums.bindValue(0, bySector ? 0 : 1);
        sums.bindValue(1, sector);
        sums.bindValue(2, m);
        if (!sums.exec())
            return Result::failed(failure(unreadable, sums.lastError().text()));
        ArchiveStatistics::Moments moments;
        if (sums.next())
            moments = {qsizetype(sums.value(0).toLongLong()), sums.value(1).toDouble(), sums.value(2).toDouble()};
        sums.finish();
        const std::optional<qsizetype> below = uptoCount(m, row.score - SameMean);
        const std::optional<qsizetype> through = uptoCount(m, row.score + SameMean);
        if (!below || !through)
            return Result::failed(failure(unreadable, upto.lastError().text()));
        qsizetype belowCount = *below;
        qsizetype equalCount = *through - *below;
        // The client's own surveys are left out of its norm.
        if (!client.isEmpty()) {
            own.bindValue(QStringLiteral(":client"), client);
            own.bindValue(QStringLiteral(":measure"), m);
            if (bySector)
                own.bindValue(QStringLiteral(":sector"), sector);
            if (!own.exec())
                return Result::failed(failure(unreadable, own.lastError().text()));
            ArchiveStatistics::Moments part;
            while (own.next()) {
                const double mean = own.value(0).toDouble();
                part.add(mean);
                if (mean < row.score - SameMean)
                    --belowCount;
                else if (mean <= row.score + SameMean)
                    --equalCount;
            }
            own.finish();
            moments = moments.without(part);
        }
        row.surveys = moments.n;
        row.mean = moments.mean;
        row.deviation = moments.deviation();
        row.percentile = ArchiveStatistics::percentileRank(belowCount, equalCount, moments.n);
        if (row.deviation)
            row.sten = ArchiveStatistics::sten(row.score, row.mean, *row.deviation);
        rows.append(row);
    }
    return rows;
}

Outcome<QList<TrendWave>> SurveyArchive::trend(const QString &client)
{
    using Result = Outcome<QList<TrendWave>>;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT s.wave, s.sector, g.n, f.measure, f.mean, f.sd FROM survey s"
                                 " JOIN segment g ON g.survey = s.id AND g.split = ''"
                                 " JOIN figure f ON f.segment = g.id AND f.measure < ?"
                                 " WHERE s.client = ? ORDER BY s.wave, f.measure"));
    query.addBindValue(NormMeasures);
    query.addBindValue(cleanText(client));
    if (!query.exec())
        return Result::failed(failure(tr("The trend cannot be read"), query.lastError().text()));
    QList<TrendWave> waves;
    while (query.next()) {
        const QDate wave = QDate::fromString(query.value(0).toString(), Qt::ISODate);
        if (waves.isEmpty() || waves.last().wave != wave) {
            TrendWave added;
            added.wave = wave;
            added.sector = query.value(1).toString();
            added.figures.n = qsizetype(query.value(2).toLongLong());
            added.figures.deviations.fill(std::numeric_limits<double>::quiet_NaN());
            waves.append(added);
        }
        const int measure = query.value(3).toInt();
        if (measure < 0 || measure >= MeasureCount)
            continue;
        waves.last().figures.means[std::size_t(measure)] = query.value(4).toDouble();
        waves.last().figures.deviations[std::size_t(measure)] =
            nullableDouble(query.value(5)).value_or(std::numeric_limits<double>::quiet_NaN());
    }
    return waves;
}

Outcome<> SurveyArchive::exportTo(const QString &target)
{
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && targetInfo.canonicalFilePath() == QFileInfo(m_path).canonicalFilePath())
        return Outcome<>::failed(tr("The archive cannot be exported onto itself: choose another file."));
    QTemporaryDir folder;
    if (!folder.isValid())
        return Outcome<>::failed(tr("The archive cannot be exported: no temporary folder (%1).").arg(folder.errorString()));
    const QString copy = folder.filePath(QStringLiteral("export.zolkdb"));
    // VACUUM INTO writes a compact copy with the same layout, version and application id, read
    // under a read lock, so the copy is the archive as one moment saw it.
    QSqlQuery vacuum(database());
    vacuum.prepare(QStringLiteral("VACUUM INTO ?"));
    vacuum.addBindValue(copy);
    if (!vacuum.exec())
        return Outcome<>::failed(failure(tr("The archive was not exported"), vacuum.lastError().text()));
    QFile source(copy);
    if (!source.open(QIODevice::ReadOnly))
        return Outcome<>::failed(failure(tr("The archive was not exported"), source.errorString()));
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return Outcome<>::failed(tr("%1 cannot be written: %2").arg(native(target), file.errorString()));
    while (!source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        if (block.isEmpty() && !source.atEnd()) {
            file.cancelWriting();
            return Outcome<>::failed(failure(tr("The archive was not exported"), source.errorString()));
        }
        if (file.write(block) != block.size()) {
            file.cancelWriting();
            return Outcome<>::failed(tr("%1 cannot be written: %2").arg(native(target), file.errorString()));
        }
    }
    if (!file.commit())
        return Outcome<>::failed(tr("%1 cannot be written: %2").arg(native(target), file.errorString()));
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return {};
}
