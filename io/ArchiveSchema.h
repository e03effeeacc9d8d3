#pragma once
// The layout of the survey archive, version by version. A new archive gets the first version's
// tables and then every migration in turn, so that a new file and an old file brought up to date
// are the same. Each step runs inside the caller's transaction.
//
// Version 1: survey (client, wave, sector, respondents; one per client and wave), segment (the
// whole group with split "", and each shown segment with its split, caption, name and size) and
// figure (mean and standard deviation of each measure of a segment).
// Version 2: the norms kept ready: norm (each survey's means of the compared measures, with how many
// surveys of all and of its sector have a mean no higher) and norm_sum (count, mean and sum of
// squared deviations per measure, of all surveys and per sector), with their indexes.

#include "Outcome.h"

#include <QSqlDatabase>

namespace ArchiveSchema {

// Creates the first version's tables in an empty database and sets the application id and
// user_version 1.
Outcome<> createVersion1(QSqlDatabase &db);
// Brings a database of version from up to version to, step by step.
Outcome<> migrate(QSqlDatabase &db, int from, int to);
// Recounts the norms from the survey means: run after every change of the surveys.
Outcome<> refreshNorms(QSqlDatabase &db);
// Runs one statement; the failure names the statement's error.
Outcome<> run(QSqlDatabase &db, const QString &statement);

} // namespace ArchiveSchema
