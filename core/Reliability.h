#pragma once
// The reliability of the questionnaire's scales in a group: each index (its five statements) and each
// trait (its fifteen), and the statistics of each statement within its index.
//
//   alpha       Cronbach's raw alpha from the sample covariance matrix C of the k statements:
//               alpha = k / (k - 1) * (1 - sum_i C_ii / sum_ij C_ij).
//   interval    Feldt's 95 % interval, n members:
//               lower = 1 - (1 - alpha) F(0.975; n - 1, (n - 1)(k - 1)),
//               upper = 1 - (1 - alpha) F(0.025; n - 1, (n - 1)(k - 1)), F the F distribution's quantile.
//   mean r      the mean of the k(k - 1)/2 correlations r_ij = C_ij / sqrt(C_ii C_jj) between statements.
//   corrected r of a statement: its correlation with the sum of the other statements of its index,
//               sum_{j != i} C_ij / sqrt(C_ii * sum_{j,l != i} C_jl).
//   alpha without a statement: alpha of the index's other four statements.
// A figure is undefined (none, with the reason) for fewer than two members, or where a statement of
// the scale has no variance (every member gave it the same score): a correlation with it, and the
// alpha of a scale that holds it, mean nothing.

#include "GroupMoments.h"

#include <QString>

#include <array>
#include <optional>

namespace Reliability {

// The smallest group whose reliability is read at all: below it the figures are shown as too few.
constexpr int MinimumMembers = 10;

// Why a figure is undefined.
enum class Undefined { No, TooFew, ConstantStatement };
// The reason in words: "меньше двух анкет", "утверждение N без разброса".
QString undefinedText(Undefined why, int statement = 0);

struct Scale
{
    qsizetype n = 0;
    int statements = 0;            // k
    std::optional<double> alpha;
    std::optional<double> lower;   // Feldt's 95 % interval
    std::optional<double> upper;
    std::optional<double> meanCorrelation;
    Undefined undefined = Undefined::No;
    int constantStatement = 0;     // the first statement without variance (1 to 60), else 0
    QString undefinedText() const { return Reliability::undefinedText(undefined, constantStatement); }
};

struct Statement
{
    qsizetype n = 0;
    double mean = 0.0;
    std::optional<double> deviation;          // sample standard deviation (n - 1)
    std::optional<double> correctedCorrelation;
    std::optional<double> alphaWithout;       // of its index
};

struct Result
{
    std::array<Scale, Resource::IndexCount> indices;
    std::array<Scale, Resource::TraitCount> traits;
    std::array<Statement, Resource::StatementCount> statements;
};

// The scale of statements first..first + k - 1 (of one trait).
Scale scale(const GroupMoments::Covariances &covariances, int first, int k);
// Statement s of the scale first..first + k - 1.
Statement statement(const GroupMoments::Covariances &covariances, int s, int first, int k);
Result compute(const GroupMoments::Covariances &covariances);

// "надёжен" from 0,70, "сомнителен" from 0,60, "ненадёжен" below; "слишком мало анкет" for fewer
// than MinimumMembers; the reason where alpha is undefined.
QString verdict(const Scale &scale);

} // namespace Reliability
