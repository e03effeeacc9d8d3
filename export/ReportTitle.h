#pragma once
// The title block of a report, which the consultant fills once and the program remembers: who the
// report is for, who made it and when the survey ran; and whether a group's report lists its members.

#include <QString>

struct ReportTitle
{
    QString company;
    QString consultant;
    QString surveyDate;
    // A group's report names no respondent unless the consultant asks for the member list; never
    // remembered, so that every report starts anonymous.
    bool memberList = false;
    // The profile is a group: only then does the title dialog offer the member list.
    bool group = false;

    bool operator==(const ReportTitle &) const = default;
};
