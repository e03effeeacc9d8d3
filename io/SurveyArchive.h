#pragma once
// The survey archive: one SQLite file (Qt SQL) of the consultant's past surveys as aggregates
// (SurveySummary), which gives the norms of a profile and the trend of a client over waves.
//
// The file: created with the user's permissions only; its first bytes name it as an archive
// (application id) and its layout version (user_version), and an older layout is brought up to
// date when it is opened. A file that is not an archive, comes from a newer program or is damaged
// is refused with a message and never changed. Every change is one transaction that begins by
// taking the write lock (so that two programs adding at once wait for each other, up to a busy
// timeout, instead of failing), with foreign keys on and deleted content overwritten. Killed or out
// of disk space in the middle, the file stays as it was before the change.
//
// Each archive object has its own connection, for use in the thread that opened it.
//
// Norms are kept ready: for each survey and measure, its mean and how many surveys (of all, and
// of its sector) have a mean no higher; and per measure (of all, and per sector) the count, mean
// and sum of squared deviations of the survey means. A norm is then a few index look-ups however
// many surveys the archive holds.

#include "ArchiveStatistics.h"
#include "Outcome.h"
#include "SurveySummary.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <memory>
#include <optional>

struct SurveyEntry
{
    QString client;
    QDate wave;
    QString sector;
    qsizetype respondents = 0;
};

// A score against the norm of one measure.
struct NormRow
{
    int measure = 0;
    double score = 0.0;
    qsizetype surveys = 0;  // N: the surveys of the norm
    double mean = 0.0;      // their mean
    std::optional<double> deviation;
    double percentile = 0.0;
    std::optional<int> sten;
    // Fewer than ArchiveStatistics::MinimumSurveys surveys: no norm (mean, percentile and sten mean nothing).
    bool enough() const { return surveys >= ArchiveStatistics::MinimumSurveys; }
};

struct NormQuery
{
    QString sector;         // only the surveys of this sector; empty: all
    QString excludedClient; // the surveys of this client are left out; empty: none
};

// One wave of a client: the whole group's figures.
struct TrendWave
{
    QDate wave;
    QString sector;
    SurveySummary::Figures figures;
};

class SurveyArchive
{
public:
    // The layout version this program writes.
    static constexpr int CurrentVersion = 2;
    // The number SQLite's header keeps as the application id of an archive ("ZOLK").
    static constexpr quint32 ApplicationId = 0x5A4F4C4B;

    // The archive in the user's application data folder, the same for the window and zolk-cry.
    static QString defaultPath();
    // "Архив опросов (*.zolkdb)" and the like, for file dialogs.
    static QString fileFilter();

    // Opens the archive at path, creating it (and its folder) where there is no file yet.
    static Outcome<std::unique_ptr<SurveyArchive>> open(const QString &path);
    // The surveys of another archive file, whole, read without changing it (for an import).
    static Outcome<QList<SurveySummary::Survey>> readAll(const QString &path);

    ~SurveyArchive();
    SurveyArchive(const SurveyArchive &) = delete;
    SurveyArchive &operator=(const SurveyArchive &) = delete;

    const QString &path() const { return m_path; }
    // The connection, for a model in this thread.
    QSqlDatabase database() const;

    Outcome<bool> contains(const QString &client, const QDate &wave);
    // Adds a survey; one of the same client and wave is replaced where replace is true, and
    // otherwise refused.
    Outcome<> add(const SurveySummary::Survey &survey, bool replace);
    // Adds several in one transaction; a survey whose client and wave are present replaces it where
    // replace says so, and is otherwise left out.
    Outcome<> addAll(const QList<SurveySummary::Survey> &surveys, const std::function<bool(const SurveySummary::Survey &)> &replace);
    Outcome<> remove(const QString &client, const QDate &wave);
    // Every survey in client and wave order.
    Outcome<QList<SurveyEntry>> surveys();
    Outcome<QStringList> clients();
    Outcome<QStringList> sectors();
    Outcome<QList<SurveySummary::Survey>> all();

    // The norms of the indices, traits and overall mean, in measure order.
    Outcome<QList<NormRow>> norms(const SurveySummary::NormScores &scores, const NormQuery &query);
    // A client's waves in date order.
    Outcome<QList<TrendWave>> trend(const QString &client);

    // Writes a copy of the whole archive to path (replaced whole or not at all).
    Outcome<> exportTo(const QString &target);

private:
    SurveyArchive(QString path, QString connection);
    Outcome<> transaction(const std::function<Outcome<>()> &work);
    Outcome<> insert(const SurveySummary::Survey &survey);
    Outcome<> removeIfPresent(const QString &client, const QDate &wave, bool *removed);
    Outcome<> refreshNorms();
    QString failure(const QString &what, const QString &reason) const;

    QString m_path;
    QString m_connection;
};
