#include "ArchiveSchema.h"

#include "SurveySummary.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace ArchiveSchema {
namespace {

Outcome<> runAll(QSqlDatabase &db, const QStringList &statements)
{
    for (const QString &statement : statements)
        if (Outcome<> done = run(db, statement); !done)
            return done;
    return {};
}

// Version 1 to 2: the norms kept ready, filled from the whole groups' figures already stored.
Outcome<> toVersion2(QSqlDatabase &db)
{
    const QStringList statements = {
        QStringLiteral("CREATE TABLE norm ("
                       " survey INTEGER NOT NULL REFERENCES survey(id) ON DELETE CASCADE,"
                       " measure INTEGER NOT NULL,"
                       " sector TEXT NOT NULL,"
                       " mean REAL NOT NULL,"
                       " upto_all INTEGER NOT NULL DEFAULT 0,"
                       " upto_sector INTEGER NOT NULL DEFAULT 0,"
                       " PRIMARY KEY (survey, measure)) WITHOUT ROWID"),
        QStringLiteral("CREATE INDEX norm_all ON norm (measure, mean)"),
        QStringLiteral("CREATE INDEX norm_sector ON norm (sector, measure, mean)"),
        QStringLiteral("CREATE TABLE norm_sum ("
                       " whole INTEGER NOT NULL,"
                       " sector TEXT NOT NULL,"
                       " measure INTEGER NOT NULL,"
                       " n INTEGER NOT NULL,"
                       " mean REAL NOT NULL,"
                       " m2 REAL NOT NULL,"
                       " PRIMARY KEY (whole, sector, measure)) WITHOUT ROWID"),
        QStringLiteral("CREATE INDEX survey_sector ON survey (sector)"),
        QStringLiteral("INSERT INTO norm (survey, measure, sector, mean)"
                       " SELECT s.id, f.measure, s.sector, f.mean FROM survey s"
                       " JOIN segment g ON g.survey = s.id AND g.split = ''"
                       " JOIN figure f ON f.segment = g.id AND f.measure < %1")
            .arg(SurveySummary::NormMeasures),
    };
    if (Outcome<> done = runAll(db, statements); !done)
        return done;
    return refreshNorms(db);
}

} // namespace

Outcome<> run(QSqlDatabase &db, const QString &statement)
{
    QSqlQuery query(db);
    if (!query.exec(statement))
        return Outcome<>::failed(query.lastError().text());
    return {};
}

Outcome<> createVersion1(QSqlDatabase &db)
{
    return runAll(db, {
        QStringLiteral("PRAGMA application_id = 1515146315"), // 0x5A4F4C4B, "ZOLK"
        QStringLiteral("CREATE TABLE survey ("
                       " id INTEGER PRIMARY KEY,"
                       " client TEXT NOT NULL,"
                       " wave TEXT NOT NULL,"
                       " sector TEXT NOT NULL DEFAULT '',"
                       " respondents INTEGER NOT NULL CHECK (respondents > 0),"
                       " UNIQUE (client, wave))"),
        QStringLiteral("CREATE TABLE segment ("
                       " id INTEGER PRIMARY KEY,"
                       " survey INTEGER NOT NULL REFERENCES survey(id) ON DELETE CASCADE,"
                       " split TEXT NOT NULL,"
                       " caption TEXT NOT NULL DEFAULT '',"
                       " name TEXT NOT NULL,"
                       " n INTEGER NOT NULL)"),
        QStringLiteral("CREATE INDEX segment_survey ON segment (survey)"),
        QStringLiteral("CREATE TABLE figure ("
                       " segment INTEGER NOT NULL REFERENCES segment(id) ON DELETE CASCADE,"
                       " measure INTEGER NOT NULL,"
                       " mean REAL NOT NULL,"
                       " sd REAL,"
                       " PRIMARY KEY (segment, measure)) WITHOUT ROWID"),
        QStringLiteral("PRAGMA user_version = 1"),
    });
}

Outcome<> migrate(QSqlDatabase &db, int from, int to)
{
    for (int version = from; version < to; ++version) {
        Outcome<> done;
        switch (version) {
        case 1: done = toVersion2(db); break;
        default: return Outcome<>::failed(QStringLiteral("no migration from layout %1").arg(version));
        }
        if (!done)
            return done;
        if (Outcome<> set = run(db, QStringLiteral("PRAGMA user_version = %1").arg(version + 1)); !set)
            return set;
    }
    return {};
}

Outcome<> refreshNorms(QSqlDatabase &db)
{
    // upto_*: the number of surveys whose mean is no higher (ties counted in): the window's default
    // frame with ORDER BY runs from the first row to the last row of equal mean.
    return runAll(db, {
        QStringLiteral("UPDATE norm SET upto_all = r.u FROM"
                       " (SELECT survey AS s, measure AS m, COUNT(*) OVER (PARTITION BY measure ORDER BY mean) AS u FROM norm) AS r"
                       " WHERE norm.survey = r.s AND norm.measure = r.m"),
        QStringLiteral("UPDATE norm SET upto_sector = r.u FROM"
                       " (SELECT survey AS s, measure AS m, COUNT(*) OVER (PARTITION BY sector, measure ORDER BY mean) AS u FROM norm) AS r"
                       " WHERE norm.survey = r.s AND norm.measure = r.m"),
        QStringLiteral("DELETE FROM norm_sum"),
        QStringLiteral("INSERT INTO norm_sum (whole, sector, measure, n, mean, m2)"
                       " SELECT 1, '', measure, COUNT(*), AVG(mean), 0 FROM norm GROUP BY measure"),
        QStringLiteral("INSERT INTO norm_sum (whole, sector, measure, n, mean, m2)"
                       " SELECT 0, sector, measure, COUNT(*), AVG(mean), 0 FROM norm GROUP BY sector, measure"),
        // The sums of squares in a second pass over the means, about the mean: no cancellation.
        QStringLiteral("UPDATE norm_sum SET m2 = (SELECT TOTAL((n.mean - norm_sum.mean) * (n.mean - norm_sum.mean))"
                       " FROM norm n WHERE n.measure = norm_sum.measure) WHERE whole = 1"),
        QStringLiteral("UPDATE norm_sum SET m2 = (SELECT TOTAL((n.mean - norm_sum.mean) * (n.mean - norm_sum.mean))"
                       " FROM norm n WHERE n.sector = norm_sum.sector AND n.measure = norm_sum.measure) WHERE whole = 0"),
    });
}

} // namespace ArchiveSchema
