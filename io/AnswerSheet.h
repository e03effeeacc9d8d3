#pragma once
// An answer sheet: one respondent per row, as an online form or a spreadsheet exports it, and which
// of its columns holds what. A row becomes a respondent's header and sixty answers; statements that
// are worded negatively are scored in reverse, and each index score is the mean of its five
// statement scores. Free of widgets: the import dialog and zolk-cry both use it.

#include "CsvReader.h"
#include "MemberTable.h"
#include "Outcome.h"
#include "Questionnaire.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>

namespace AnswerSheet {

// What a column can hold: the seven header fields, then statements 1 to 60.
enum Field : int { Date, Code, Name, Info1, Info2, Info3, Info4, FirstStatement, FieldCount = FirstStatement + Resource::StatementCount };
constexpr int statementField(int s) { return FirstStatement + s - 1; }

// The key of a field in a map file: "date", "code", "name", "info1".."info4", "s1".."s60".
QString fieldKey(int field);
// The field's name for the user: "Дата", "Код", "ФИО", the caption, "Утверждение 12".
QString fieldTitle(int field, const Questionnaire::Captions &captions);

// For every field the column (counted from 0) that holds it, or -1.
using Columns = std::array<int, FieldCount>;
Columns noColumns();

// The columns of a header row. First the template's header as it stands, field by field in the
// template's order ("Дата", "Код", "ФИО", the four captions), each taking the first column not yet
// taken that carries its word: a caption that reads "Код" takes the second "Код", as in the template.
// Then the statements, by a statement's number at the start ("12", "12.", "Утверждение 12") or in the
// brackets of a grid question ("Оцените утверждения [12. ...]"), or by a statement's text; then, for
// a date, code or name still without a column, the words forms use ("Отметка времени", "Timestamp",
// "Имя" ...). A header cell that a spreadsheet-safe CSV wrote behind an apostrophe ("'=1+1") reads
// as the text after it.
Columns detectColumns(const QList<QString> &header, const Questionnaire::Captions &captions);

// Every column of the header that no field takes, with why: "column 9 «E-mail»: not recognised".
QStringList unusedColumns(const Columns &columns, const QList<QString> &header);

// An answer cell: 1 to 5, or one of the five answer words in any case with any blanks around it.
struct Answer
{
    enum Kind { Valid, Missing, OutOfRange, Unreadable };
    Kind kind = Missing;
    int value = 0; // 1 to 5 when Valid
};
Answer parseAnswer(QStringView cell);

// A sheet read into memory: its text, how it was read, its header row.
struct Sheet
{
    QString fileName;
    QString text;
    CsvReader::Encoding encoding = CsvReader::Encoding::Utf8;
    QChar separator = u',';
    QList<QString> header;
    qsizetype headerRow = 0;      // the spreadsheet row of the header
    qsizetype bodyPosition = 0;   // where the first row below the header starts in text
};

// No file beyond this size is read: it cannot be an answer sheet of any size the program is for.
constexpr qint64 MaxSheetBytes = qint64(512) * 1024 * 1024;
// A sheet from a file's bytes: encoding and separator detected, the first row that is not blank its
// header. Fails for an empty sheet and for a quoted field that never ends (anywhere in it).
Outcome<Sheet> readSheet(QByteArrayView bytes, const QString &fileName);
Outcome<Sheet> readSheetFile(const QString &path);

// The first rows below the header, each with its spreadsheet row number, for a preview.
struct PreviewRow
{
    qsizetype row;
    QStringList cells;
};
QList<PreviewRow> previewRows(const Sheet &sheet, int count);

// A respondent read from a row.
struct Respondent
{
    RespondentHeader header;
    std::array<std::uint8_t, Resource::StatementCount> answers{}; // 1 to 5, as answered
};
// The scores of the answers: reversed where the statement is worded negatively; each index the mean
// of its five statements.
void scoresOf(const Respondent &respondent, IndexScores &indices, ItemScores &items);

// Converts one row; an empty string when it is good, else why it is not (the first problem found).
// row numbers the generated code where the sheet has no code column.
QString convertRow(const QList<QStringView> &fields, const Columns &columns, qsizetype row,
                   const Questionnaire::Captions &captions, Respondent *respondent);

struct BadRow
{
    qsizetype row;  // the spreadsheet row
    QString reason;
};

// Rows whose texts hold characters that a result file (windows-1251) cannot store: they would be
// stored as "?".
struct Unstorable
{
    qsizetype rows = 0;   // how many good rows
    QString characters;   // the characters, each once, at most MaxShown of them
    QList<BadRow> first;  // the first rows, each with the field and its text
    static constexpr int MaxShown = 20;
};

using Answers = std::array<std::uint8_t, Resource::StatementCount>;

// Which rows of a sheet can be imported.
struct Check
{
    qsizetype rows = 0;             // rows below the header that are not blank
    QList<BadRow> bad;              // in row order; the rows of one problem share one reason text
    std::vector<qsizetype> goodRows; // the rows to import, in order
    std::vector<qsizetype> goodPositions; // where each of them starts in the sheet's text
    QStringList goodCodes;          // their codes
    std::vector<Answers> goodAnswers; // their answers
    Unstorable unstorable;
};

// Bad rows as they are reported: one entry per reason, with its rows; at most maxGroups entries
// (rows beyond them counted in moreRows), so that a report stays short however large the sheet.
struct BadGroup
{
    QString rows;   // "2", or "2, 3, 4, 5, 6 … and 299995 more"
    qsizetype firstRow = 0;
    qsizetype count = 0;
    QString reason;
};
QList<BadGroup> groupBadRows(const QList<BadRow> &bad, qsizetype maxGroups, qsizetype *moreRows);
// " … and N more" where a list stops short.
QString andMore(qsizetype count);
// Each unstorable character with its code: "«Ә» U+04D8".
QStringList unstorableCharacters(const Unstorable &unstorable);
// The unstorable characters and the first rows that hold them, for a question or an error.
QString unstorableMessage(const Unstorable &unstorable);

// Called with the characters read so far and the total; false cancels.
using Progress = std::function<bool(qsizetype done, qsizetype total)>;

// Checks every row: a missing or out-of-range answer, an answer that cannot be read, a text too long
// for a result file, a missing code, and codes that more than one row holds (all such rows are bad:
// which of them is right only the user knows). Codes compare trimmed, in any letter case and as a
// result file stores them. Time and memory are linear in the sheet: the rows of one code share one
// reason, which names at most the first few of them.
Outcome<Check> check(const Sheet &sheet, const Columns &columns, const Questionnaire::Captions &captions,
                     const Progress &progress = {});

// What the sheet lacks to be imported at all: a statement without a column, or two fields in one
// column. Empty when the columns are complete.
QStringList missingColumns(const Columns &columns, const Questionnaire::Captions &captions);

// The map file: which column holds which field, saved with the folder the sheet was imported into,
// so that the next sheet of the same form is read the same way. UTF-8 text, a line per field,
// "key = value": the value is the column's header text, or "#N" for the N-th column counted from 1.
// Lines starting with "#" and blank lines are comments. The key "header" holds a digest of the
// header row the map was made for: a map saved with a folder applies only to a sheet with the same
// header row (readMap says when it does not).
QString mapFileName();
QByteArray mapText(const Columns &columns, const QList<QString> &header);
struct MapRead
{
    Columns columns;
    QStringList problems; // entries whose column the sheet does not have
    bool otherHeader = false; // made for a sheet with another header row; columns are then the detected ones
};
// Fields the map does not name keep their column in detected (what detectColumns found).
// With onlySameHeader (a map saved with a folder), a map made for another header row is not applied.
Outcome<MapRead> readMap(QByteArrayView text, const QList<QString> &header, const Columns &detected, const QString &fileName,
                         bool onlySameHeader = false);
// The digest of a header row that a map file keeps.
QString headerDigest(const QList<QString> &header);

// Messages of a row.
QString missingAnswerReason(int s);
QString outOfRangeReason(int s, QStringView cell);
QString unreadableReason(int s, QStringView cell);
QString duplicateCodeReason(const QString &code, const QList<qsizetype> &rows);

} // namespace AnswerSheet
