#pragma once
// The scores for a spreadsheet: one row per respondent (and a group's mean), written as CSV that a
// spreadsheet opens by double-click under the user's locale: UTF-8 with a byte-order mark, ";"
// between fields and the decimal comma where the locale's decimal point is a comma, "," and "."
// otherwise, quoted per RFC 4180, CR LF line ends. Scores are written in full, not rounded.

#include "Scoring.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>

struct ScoreRow
{
    QString file; // the result file's name; empty for a group's mean
    QString code;
    QString name;
    QString date;
    std::array<QString, 4> info;
    ProfileScores scores; // the trait scores derived from the index scores
    double overallMean = 0.0;

    // A row of index and statement scores; derives the trait scores and the overall mean.
    static ScoreRow of(QString file, QString code, QString name, QString date, std::array<QString, 4> info,
                       const std::array<double, Resource::IndexCount> &indexScores,
                       const std::array<double, Resource::StatementCount> &itemScores);
};

namespace ScoresCsv {

// The field separator and the decimal separator for a locale.
QChar fieldSeparator(const QLocale &locale);
QChar decimalSeparator(const QLocale &locale);

// The byte-order mark and the header row: file, code, name, date, the four information lines, the
// twelve indices and four traits as the grid names them, "Mean", then the sixty statements.
QByteArray header(const QLocale &locale);
QByteArray row(const ScoreRow &row, const QLocale &locale);
// A whole file: header and rows.
QByteArray document(const QList<ScoreRow> &rows, const QLocale &locale);

// A score in full precision (the shortest text that reads back as the same double).
QString number(double value, QChar decimal);

} // namespace ScoresCsv
