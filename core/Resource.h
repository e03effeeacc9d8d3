#pragma once
// The questionnaire catalogue: numbering, names, texts and trait colours.
// Every look-up takes the 1-based numbers the consultants use (statement 1..60,
// index 1..12, trait 1..4); nothing here changes at run time.

#include <QColor>
#include <QString>
#include <QStringList>

namespace Resource {

constexpr int StatementCount = 60;
constexpr int IndexCount = 12;
constexpr int TraitCount = 4;
constexpr int StatementsPerIndex = 5;
constexpr int IndicesPerTrait = 3;
constexpr int DescriptionLineCount = 48;

// Index of statement s: (s - 1) div 5 + 1.
constexpr int indexOfStatement(int s) { return (s - 1) / StatementsPerIndex + 1; }
// Trait of index i: (i - 1) div 3 + 1.
constexpr int traitOfIndex(int i) { return (i - 1) / IndicesPerTrait + 1; }
constexpr int traitOfStatement(int s) { return traitOfIndex(indexOfStatement(s)); }

QString TraitName(int t);
QString IndexShortName(int i);
QString IndexTitle(int i);
QString StatementText(int s);
// Description line n, counted from 1 to 48.
QString DescriptionLine(int n);
// The colour of trait t; statements and indices are drawn in their trait's colour.
QColor TraitColor(int t);
inline QColor statementColor(int s) { return TraitColor(traitOfStatement(s)); }
inline QColor indexColor(int i) { return TraitColor(traitOfIndex(i)); }

// The description lines run in 16 blocks of three (a heading, a paragraph, an empty line), trait by
// trait: each trait's own block, then the blocks of its three indices.
constexpr int DescriptionLinesPerTrait = 12;
constexpr int firstDescriptionLine(int t) { return DescriptionLinesPerTrait * (t - 1) + 1; }
struct DescriptionBlock
{
    int trait;
    int index; // 0 for the trait's own block
};
// The block that description line n (1 to 48) belongs to.
constexpr DescriptionBlock descriptionBlockOf(int n)
{
    const int t = (n - 1) / DescriptionLinesPerTrait + 1;
    const int block = (n - 1) % DescriptionLinesPerTrait / 3;
    return {t, block == 0 ? 0 : IndicesPerTrait * (t - 1) + block};
}
constexpr bool isDescriptionHeading(int n) { return (n - 1) % 3 == 0; }

// The name of index i wherever the program writes one beyond the main window (report, tables,
// workbooks, the analysis window, the member list): the heading of its description block, as
// "7. Управление изменениями".
QString indexHeading(int i);
// "<indexHeading(i)> [<TraitNames[trait of i]>]", the caption of index i beyond the main window.
QString indexCaption(int i);
// The one word for the four traits beyond the main window, as its grid heads them: "Фактор".
inline QString traitWord() { return QStringLiteral("Фактор"); }

// "<IndexTitles[i]> [<TraitNames[trait of i]>]", the caption of a chart showing index i.
QString chartCaption(int i);
// The first eleven of trait t's twelve description lines.
QStringList traitDescription(int t);
// Statements of index i, highest number first, as the detail chart shows them top to bottom.
QStringList indexStatements(int i);
QStringList allStatements();

} // namespace Resource
