#pragma once
// A pack of reports for a company: one PDF of the whole group and one per segment (department) that
// the anonymity rule shows, each department's report comparing it with the whole group. The window's
// "Отчёты по подразделениям..." and `zolk-cry report --by` both make their packs here.
//
// Anonymity: a segment gets a report only where SegmentsTable::visibility shows its scores; a
// segment too small, or one that protects a small one, gets none, so that no report, alone or beside
// the other reports and tables of the same group, gives away the figures of fewer members than the
// threshold. No report of a pack lists members.

#include "GroupArithmetic.h"
#include "Outcome.h"
#include "Profile.h"
#include "Report.h"
#include "ReportTitle.h"
#include "SegmentsTable.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace ReportPack {

struct Options
{
    GroupArithmetic::SplitBy by = GroupArithmetic::SplitBy::Info1;
    int minimum = SegmentsTable::DefaultMinimum; // the anonymity threshold, never below LowestMinimum
    double band = Scoring::BandStart; // the band half-width
    ReportTitle title;
    // Draws the overview chart of a profile into its report; empty: the reports have none.
    std::function<ReportInput::ChartPainter(const Profile &profile, double band)> chart;
};

struct PlannedReport
{
    QString fileName; // within the pack's folder: the segment's name made safe, ".pdf"
    QString segment;  // as shown; empty for the whole group
    // The segment's scores and header; its member list is not copied (no report of a pack names
    // members), so that a pack of a large group costs little more than its reports.
    Profile profile;
    qsizetype members = 0; // the number of questionnaires
};

struct Plan
{
    QList<PlannedReport> reports; // the whole group first, then the segments shown in name order
    qsizetype leftOut = 0;        // segments that get no report under the anonymity rule
};

// The file name of the whole group's report.
QString wholeGroupFileName();

// The reports of a pack of group under options, without drawing any: cheap, for the question before
// the work starts (how many files, which names) and for the files themselves.
Plan plan(const Profile &group, const Options &options);

// The report of one planned file: a department compared with the whole group.
ReportInput reportInput(const PlannedReport &planned, const Profile &group, const Options &options);

// Is told after each file (done of total); returns false to stop before the next one.
using Progress = std::function<bool(qsizetype done, qsizetype total)>;

struct Written
{
    QStringList files;      // full names, in the plan's order
    bool cancelled = false; // progress stopped the pack before its last file
};

// Writes the plan's reports into folder, each file whole or not at all (a file of that name is
// replaced only once the new one is complete). Stops at the first failure (its reason names the
// file and how many were written before it) or when progress says so; the files written until then
// stay.
Outcome<Written> write(const QString &folder, const Plan &plan, const Profile &group, const Options &options,
                           const Progress &progress = {});

} // namespace ReportPack
