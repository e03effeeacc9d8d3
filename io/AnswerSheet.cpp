#include "AnswerSheet.h"

#include "Cp1251.h"
#include "ResultFile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace AnswerSheet {
namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("AnswerSheet", text);
}

// Lower case, "ё" as "е", runs of blanks as one blank, no blanks around: how header words and
// answer words are compared.
QString normalized(QStringView text)
{
    QString out;
    out.reserve(text.size());
    bool blank = false;
    for (QChar c : text) {
        if (c.isSpace()) {
            blank = !out.isEmpty();
            continue;
        }
        if (blank)
            out += u' ';
        blank = false;
        out += c;
    }
    out = out.toLower();
    out.replace(u'ё', u'е');
    return out;
}

// A header word without a final full stop or colon. A spreadsheet-safe CSV writes a cell that would
// start a formula behind an apostrophe ("'=1+1"): the word is the text after it.
QString headerWord(QStringView text)
{
    QString word = normalized(text);
    if (word.size() > 1 && word.front() == u'\'' && QStringLiteral("=+-@").contains(word[1]))
        word.remove(0, 1);
    while (!word.isEmpty() && (word.back() == u'.' || word.back() == u':'))
        word.chop(1);
    return word;
}

// The statement number a header names at its start ("12", "12.", "12) ...", "Утверждение 12",
// "№ 12"), or 0.
int leadingStatementNumber(QStringView word, QStringView *rest)
{
    for (const QString &prefix : {QStringLiteral("утверждение"), QStringLiteral("вопрос"), QStringLiteral("statement"),
                                  QStringLiteral("question"), QStringLiteral("№"), QStringLiteral("q")}) {
        if (word.startsWith(prefix)) {
            word = word.sliced(prefix.size()).trimmed();
            break;
        }
    }
    qsizetype digits = 0;
    while (digits < word.size() && word[digits].isDigit() && word[digits].unicode() < 0x80)
        ++digits;
    if (digits == 0 || digits > 2)
        return 0;
    if (digits < word.size() && !QStringLiteral(".): -").contains(word[digits]))
        return 0;
    const int number = word.first(digits).toInt();
    if (number < 1 || number > Resource::StatementCount)
        return 0;
    QStringView after = word.sliced(digits);
    while (!after.isEmpty() && QStringLiteral(".): -").contains(after.front()))
        after = after.sliced(1);
    *rest = after;
    return number;
}

const QHash<QString, int> &statementByText()
{
    static const QHash<QString, int> texts = [] {
        QHash<QString, int> byText;
        for (int s = 1; s <= Resource::StatementCount; ++s)
            byText.insert(headerWord(Questionnaire::statementText(s)), s);
        return byText;
    }();
    return texts;
}

int statementOfHeader(QStringView header)
{
    QString word = headerWord(header);
    // A grid question of an online form: "Оцените утверждения [12. ...]".
    if (word.endsWith(u']')) {
        const qsizetype open = word.lastIndexOf(u'[');
        if (open >= 0)
            word = headerWord(QStringView(word).sliced(open + 1, word.size() - open - 2));
    }
    QStringView rest;
    if (const int number = leadingStatementNumber(word, &rest); number > 0)
        return number;
    return statementByText().value(word, 0);
}

const QStringList &dateWords()
{
    static const QStringList words = {QStringLiteral("дата"), QStringLiteral("date"), QStringLiteral("отметка времени"),
                                      QStringLiteral("timestamp"), QStringLiteral("дата и время"), QStringLiteral("время")};
    return words;
}
const QStringList &codeWords()
{
    static const QStringList words = {QStringLiteral("код"), QStringLiteral("code"), QStringLiteral("шифр"),
                                      QStringLiteral("код респондента"), QStringLiteral("номер"), QStringLiteral("id")};
    return words;
}
const QStringList &nameWords()
{
    static const QStringList words = {QStringLiteral("фио"), QStringLiteral("ф.и.о"), QStringLiteral("имя"),
                                      QStringLiteral("name"), QStringLiteral("фамилия, имя"), QStringLiteral("фамилия имя отчество"),
                                      QStringLiteral("респондент")};
    return words;
}

// The answer words, normalized, with the feminine form too.
int answerOfWords(QString words)
{
    while (!words.isEmpty() && (words.back() == u'.' || words.back() == u'!'))
        words.chop(1);
    words.replace(QStringLiteral("согласна"), QStringLiteral("согласен"));
    for (int a = 1; a <= Questionnaire::AnswerCount; ++a)
        if (words == Questionnaire::answerWord(a))
            return a;
    return 0;
}

// A date cell with a time after it, as forms stamp their rows ("17.03.2024 10:15:00"), keeps the date.
QString dateOnly(QStringView text)
{
    const qsizetype blank = text.indexOf(u' ');
    if (blank > 0) {
        const QStringView rest = text.sliced(blank + 1).trimmed();
        if (!rest.isEmpty() && rest.front().isDigit() && rest.contains(u':'))
            return text.first(blank).toString();
    }
    return text.toString();
}

QString quoted(QStringView cell)
{
    constexpr qsizetype Shown = 40;
    const QString text = cell.size() > Shown ? cell.first(Shown).toString() + u'…' : cell.toString();
    return QStringLiteral("«%1»").arg(text);
}

} // namespace

QString fieldKey(int field)
{
    switch (field) {
    case Date:
        return QStringLiteral("date");
    case Code:
        return QStringLiteral("code");
    case Name:
        return QStringLiteral("name");
    default:
        break;
    }
    if (field >= Info1 && field <= Info4)
        return QStringLiteral("info%1").arg(field - Info1 + 1);
    return QStringLiteral("s%1").arg(field - FirstStatement + 1);
}

QString fieldTitle(int field, const Questionnaire::Captions &captions)
{
    switch (field) {
    case Date:
        return Questionnaire::dateCaption();
    case Code:
        return Questionnaire::codeCaption();
    case Name:
        return Questionnaire::nameCaption();
    default:
        break;
    }
    if (field >= Info1 && field <= Info4) {
        const QString caption = captions[std::size_t(field - Info1)];
        return caption.isEmpty() ? QStringLiteral("Сведения %1").arg(field - Info1 + 1) : caption;
    }
    return QStringLiteral("Утверждение %1").arg(field - FirstStatement + 1);
}

Columns noColumns()
{
    Columns columns;
    columns.fill(-1);
    return columns;
}

Columns detectColumns(const QList<QString> &header, const Questionnaire::Captions &captions)
{
    Columns columns = noColumns();
    QList<QString> words;
    words.reserve(header.size());
    for (const QString &cell : header)
        words << headerWord(cell);
    std::vector<bool> taken(std::size_t(header.size()), false);
    const auto take = [&](int field, int column) {
        columns[std::size_t(field)] = column;
        taken[std::size_t(column)] = true;
    };
    // 1. The template's header, field by field in its order.
    const QStringList templateWords{Questionnaire::dateCaption(), Questionnaire::codeCaption(), Questionnaire::nameCaption(),
                                    captions[0], captions[1], captions[2], captions[3]};
    for (int field = Date; field < FirstStatement; ++field) {
        const QString word = headerWord(templateWords[field]);
        if (word.isEmpty())
            continue;
        for (int column = 0; column < int(words.size()); ++column) {
            if (!taken[std::size_t(column)] && words[column] == word) {
                take(field, column);
                break;
            }
        }
    }
    // 2. The statements.
    for (int column = 0; column < int(words.size()); ++column) {
        if (taken[std::size_t(column)] || words[column].isEmpty())
            continue;
        if (const int s = statementOfHeader(header[column]); s > 0 && columns[std::size_t(statementField(s))] < 0)
            take(statementField(s), column);
    }
    // 3. The words forms use for a code, a name and a timestamp.
    const std::array<std::pair<int, const QStringList *>, 3> formWords{
        {{Code, &codeWords()}, {Name, &nameWords()}, {Date, &dateWords()}}};
    for (const auto &[field, known] : formWords) {
        for (int column = 0; column < int(words.size()) && columns[std::size_t(field)] < 0; ++column)
            if (!taken[std::size_t(column)] && known->contains(words[column]))
                take(field, column);
    }
    return columns;
}

QStringList unusedColumns(const Columns &columns, const QList<QString> &header)
{
    std::vector<bool> used(std::size_t(header.size()), false);
    for (int column : columns)
        if (column >= 0 && column < header.size())
            used[std::size_t(column)] = true;
    QHash<QString, int> firstOfWord;
    for (int column = int(header.size()) - 1; column >= 0; --column)
        firstOfWord.insert(headerWord(header[column]), column);
    QStringList unused;
    for (int column = 0; column < int(header.size()); ++column) {
        if (used[std::size_t(column)])
            continue;
        const QString word = headerWord(header[column]);
        QString why;
        if (word.isEmpty())
            why = tr("no header, not used");
        else if (const int first = firstOfWord.value(word); first != column)
            why = tr("the same header as column %1, not used").arg(first + 1);
        else
            why = tr("not recognised, not used");
        unused << tr("column %1 %2: %3").arg(column + 1).arg(quoted(header[column]), why);
    }
    return unused;
}

Answer parseAnswer(QStringView cell)
{
    const QStringView text = cell.trimmed();
    if (text.isEmpty())
        return {Answer::Missing, 0};
    if (text.size() == 1 && text[0] >= u'1' && text[0] <= u'5')
        return {Answer::Valid, text[0].unicode() - u'0'};
    if (const std::optional<double> number = ResultFile::parseNumber(text)) {
        const double value = *number;
        if (value >= 1 && value <= Questionnaire::AnswerCount && std::floor(value) == value)
            return {Answer::Valid, int(value)};
        return {Answer::OutOfRange, 0};
    }
    if (const int a = answerOfWords(normalized(text)); a > 0)
        return {Answer::Valid, a};
    // "4 - скорее согласен", "4 (скорее согласен)", "4. скорее согласен": the number and its words agree.
    if (text[0] >= u'1' && text[0] <= u'5' && !text[1].isDigit()) {
        QStringView rest = text.sliced(1);
        while (!rest.isEmpty() && (rest.front().isSpace() || QStringLiteral(".(:-–—").contains(rest.front())))
            rest = rest.sliced(1);
        while (!rest.isEmpty() && (rest.back().isSpace() || rest.back() == u')'))
            rest.chop(1);
        const int a = text[0].unicode() - u'0';
        if (answerOfWords(normalized(rest)) == a)
            return {Answer::Valid, a};
    }
    return {Answer::Unreadable, 0};
}

void scoresOf(const Respondent &respondent, IndexScores &indices, ItemScores &items)
{
    for (int i = 1; i <= Resource::IndexCount; ++i) {
        int sum = 0;
        for (int k = 0; k < Resource::StatementsPerIndex; ++k) {
            const int s = (i - 1) * Resource::StatementsPerIndex + k + 1;
            const int score = Questionnaire::score(s, respondent.answers[std::size_t(s - 1)]);
            items[std::size_t(s - 1)] = score;
            sum += score;
        }
        indices[std::size_t(i - 1)] = sum / double(Resource::StatementsPerIndex);
    }
}

QString missingAnswerReason(int s)
{
    return tr("no answer to statement %1").arg(s);
}

QString outOfRangeReason(int s, QStringView cell)
{
    return tr("the answer to statement %1 is not on the scale 1 to 5: %2").arg(s).arg(quoted(cell.trimmed()));
}

QString unreadableReason(int s, QStringView cell)
{
    return tr("the answer to statement %1 cannot be read: %2").arg(s).arg(quoted(cell.trimmed()));
}

QString andMore(qsizetype count)
{
    return tr(" … and %1 more").arg(count);
}

QString duplicateCodeReason(const QString &code, const QList<qsizetype> &rows)
{
    constexpr qsizetype Shown = 5;
    QStringList numbers;
    for (qsizetype k = 0; k < std::min(Shown, rows.size()); ++k)
        numbers << QString::number(rows[k]);
    QString list = numbers.join(QStringLiteral(", "));
    if (rows.size() > Shown)
        list += andMore(rows.size() - Shown);
    return tr("the code %1 is in more than one row (rows %2)").arg(quoted(code), list);
}

QList<BadGroup> groupBadRows(const QList<BadRow> &bad, qsizetype maxGroups, qsizetype *moreRows)
{
    constexpr qsizetype Shown = 5;
    QList<BadGroup> groups;
    QList<QStringList> numbers;
    QHash<QString, qsizetype> groupOfReason;
    qsizetype more = 0;
    for (const BadRow &row : bad) {
        auto found = groupOfReason.constFind(row.reason);
        if (found == groupOfReason.cend()) {
            if (groups.size() >= maxGroups) {
                ++more;
                continue;
            }
            found = groupOfReason.insert(row.reason, groups.size());
            groups.append({QString(), row.row, 0, row.reason});
            numbers.append(QStringList());
        }
        BadGroup &group = groups[found.value()];
        if (++group.count <= Shown)
            numbers[found.value()] << QString::number(row.row);
    }
    for (qsizetype k = 0; k < groups.size(); ++k) {
        groups[k].rows = numbers[k].join(QStringLiteral(", "));
        if (groups[k].count > Shown)
            groups[k].rows += andMore(groups[k].count - Shown);
    }
    if (moreRows)
        *moreRows = more;
    return groups;
}

QStringList unstorableCharacters(const Unstorable &unstorable)
{
    QStringList characters;
    const QString &all = unstorable.characters;
    for (qsizetype k = 0; k < all.size(); ++k) {
        const qsizetype length = all[k].isHighSurrogate() && k + 1 < all.size() ? 2 : 1;
        const QString c = all.mid(k, length);
        characters << QStringLiteral("«%1» U+%2").arg(c).arg(QString::number(c.toUcs4().value(0), 16).toUpper().rightJustified(4, u'0'));
        k += length - 1;
    }
    return characters;
}

QString unstorableMessage(const Unstorable &unstorable)
{
    QStringList rows;
    for (const BadRow &row : unstorable.first)
        rows << tr("row %1 (%2)").arg(row.row).arg(row.reason);
    QString list = rows.join(QStringLiteral(", "));
    if (unstorable.rows > unstorable.first.size())
        list += andMore(unstorable.rows - unstorable.first.size());
    return tr("Result files are written in windows-1251, which lacks some characters of the sheet: %1. "
              "They would be stored as \"?\" in %2 rows: %3.")
        .arg(unstorableCharacters(unstorable).join(QStringLiteral(", ")))
        .arg(unstorable.rows)
        .arg(list);
}

QString convertRow(const QList<QStringView> &fields, const Columns &columns, qsizetype row,
                   const Questionnaire::Captions &captions, Respondent *respondent)
{
    const auto cell = [&](int field) {
        const int column = columns[std::size_t(field)];
        return column >= 0 && column < fields.size() ? fields[column].trimmed() : QStringView();
    };
    QStringList problems;
    for (int field = Date; field < FirstStatement; ++field) {
        const QStringView text = cell(field);
        if (text.size() > Questionnaire::MaxHeaderText)
            problems << tr("the text of \"%1\" is longer than %2 characters").arg(fieldTitle(field, captions)).arg(Questionnaire::MaxHeaderText);
    }
    RespondentHeader &header = respondent->header;
    header.date = dateOnly(cell(Date));
    if (columns[Code] >= 0) {
        header.code = cell(Code).toString();
        if (header.code.isEmpty())
            problems << tr("no code");
    } else {
        header.code = QStringLiteral("%1").arg(row, 4, 10, QChar(u'0'));
    }
    header.name = cell(Name).toString();
    for (int k = 0; k < 4; ++k)
        header.info[std::size_t(k)] = cell(Info1 + k).toString();

    QList<int> missing;
    for (int s = 1; s <= Resource::StatementCount; ++s) {
        const QStringView text = cell(statementField(s));
        const Answer answer = parseAnswer(text);
        switch (answer.kind) {
        case Answer::Valid:
            respondent->answers[std::size_t(s - 1)] = std::uint8_t(answer.value);
            break;
        case Answer::Missing:
            missing << s;
            break;
        case Answer::OutOfRange:
            problems << outOfRangeReason(s, text);
            break;
        case Answer::Unreadable:
            problems << unreadableReason(s, text);
            break;
        }
    }
    if (!missing.isEmpty()) {
        QStringList numbers;
        for (int s : std::as_const(missing))
            numbers << QString::number(s);
        problems.prepend(missing.size() == 1 ? missingAnswerReason(missing.front())
                                             : tr("no answer to statements %1").arg(numbers.join(QStringLiteral(", "))));
    }
    return problems.join(QStringLiteral("; "));
}

Outcome<Sheet> readSheet(QByteArrayView bytes, const QString &fileName)
{
    Sheet sheet;
    sheet.fileName = fileName;
    CsvReader::Decoded decoded = CsvReader::decode(bytes);
    if (decoded.badByte)
        return Outcome<Sheet>::failed(tr("The sheet %1 cannot be read.").arg(QDir::toNativeSeparators(fileName)) + u'\n'
                                      + tr("It is neither UTF-8 nor windows-1251 text: %1. Save it as UTF-8 and import it again.")
                                            .arg(CsvReader::badByteText(*decoded.badByte)));
    sheet.text = std::move(decoded.text);
    sheet.encoding = decoded.encoding;
    if (sheet.text.startsWith(QChar(0xFEFF)))
        sheet.text.remove(0, 1);
    sheet.separator = CsvReader::detectSeparator(sheet.text);
    CsvReader::Parser parser(sheet.text, sheet.separator);
    QList<QStringView> fields;
    while (parser.next(fields)) {
        if (CsvReader::isBlank(fields))
            continue;
        for (QStringView field : std::as_const(fields))
            sheet.header << field.trimmed().toString();
        sheet.headerRow = parser.row();
        sheet.bodyPosition = parser.position();
        // A quoted field that never ends would swallow the rest: such a sheet is refused whole.
        while (parser.next(fields)) {
        }
        if (!parser.error().isEmpty())
            break;
        return sheet;
    }
    if (!parser.error().isEmpty())
        return Outcome<Sheet>::failed(tr("The sheet %1 cannot be read.").arg(QDir::toNativeSeparators(fileName)) + u'\n'
                                      + parser.error());
    return Outcome<Sheet>::failed(tr("The sheet %1 is empty.").arg(QDir::toNativeSeparators(fileName)));
}

Outcome<Sheet> readSheetFile(const QString &path)
{
    const QFileInfo info(path);
    const QString cannotOpen = ResultFile::cannotOpenMessage(path);
    if (info.exists() && !info.isFile())
        return Outcome<Sheet>::failed(cannotOpen + u'\n' + tr("It is not a regular file."));
    if (info.size() > MaxSheetBytes)
        return Outcome<Sheet>::failed(cannotOpen + u'\n' + tr("It is larger than %1 MB.").arg(MaxSheetBytes / (1024 * 1024)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Outcome<Sheet>::failed(cannotOpen + u'\n' + file.errorString());
    const QByteArray bytes = file.read(MaxSheetBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return Outcome<Sheet>::failed(cannotOpen + u'\n' + file.errorString());
    if (bytes.size() > MaxSheetBytes)
        return Outcome<Sheet>::failed(cannotOpen + u'\n' + tr("It is larger than %1 MB.").arg(MaxSheetBytes / (1024 * 1024)));
    return readSheet(bytes, path);
}

QList<PreviewRow> previewRows(const Sheet &sheet, int count)
{
    QList<PreviewRow> rows;
    CsvReader::Parser parser(sheet.text, sheet.separator);
    parser.seek(sheet.bodyPosition, sheet.headerRow + 1);
    QList<QStringView> fields;
    while (rows.size() < count && parser.next(fields)) {
        if (CsvReader::isBlank(fields))
            continue;
        PreviewRow row{parser.row(), {}};
        for (QStringView field : std::as_const(fields))
            row.cells << field.toString();
        rows << row;
    }
    return rows;
}

QStringList missingColumns(const Columns &columns, const Questionnaire::Captions &captions)
{
    QStringList problems;
    QList<int> statements;
    for (int s = 1; s <= Resource::StatementCount; ++s)
        if (columns[std::size_t(statementField(s))] < 0)
            statements << s;
    if (!statements.isEmpty()) {
        QStringList numbers;
        for (int s : std::as_const(statements))
            numbers << QString::number(s);
        problems << tr("No column holds the answers to statements %1.").arg(numbers.join(QStringLiteral(", ")));
    }
    QHash<int, int> fieldOfColumn;
    for (int field = 0; field < FieldCount; ++field) {
        const int column = columns[std::size_t(field)];
        if (column < 0)
            continue;
        if (fieldOfColumn.contains(column))
            problems << tr("Column %1 is chosen for both \"%2\" and \"%3\".")
                            .arg(column + 1)
                            .arg(fieldTitle(fieldOfColumn.value(column), captions), fieldTitle(field, captions));
        else
            fieldOfColumn.insert(column, field);
    }
    return problems;
}

namespace {

// Notes the texts of a row that a result file cannot store; true when there are any.
bool noteUnstorable(const RespondentHeader &header, qsizetype row, const Questionnaire::Captions &captions, Unstorable &unstorable)
{
    const std::array<std::pair<int, const QString *>, 7> texts{{{Date, &header.date},
                                                                {Code, &header.code},
                                                                {Name, &header.name},
                                                                {Info1, &header.info[0]},
                                                                {Info2, &header.info[1]},
                                                                {Info3, &header.info[2]},
                                                                {Info4, &header.info[3]}}};
    bool any = false;
    for (const auto &[field, text] : texts) {
        if (Cp1251::canEncode(*text))
            continue;
        if (!any && unstorable.first.size() < Unstorable::MaxShown)
            unstorable.first.append({row, QStringLiteral("%1 %2").arg(fieldTitle(field, captions), quoted(*text))});
        any = true;
        for (qsizetype k = 0; k < text->size() && unstorable.characters.size() < 2 * Unstorable::MaxShown; ++k) {
            const QChar c = text->at(k);
            const bool pair = c.isHighSurrogate() && k + 1 < text->size() && text->at(k + 1).isLowSurrogate();
            const QString character = pair ? text->mid(k, 2) : QString(c);
            if (pair)
                ++k;
            if (!Cp1251::canEncode(character) && !unstorable.characters.contains(character))
                unstorable.characters += character;
        }
    }
    if (any)
        ++unstorable.rows;
    return any;
}

Respondent respondentAt(const Sheet &sheet, const Columns &columns, const Questionnaire::Captions &captions,
                        qsizetype position, qsizetype row)
{
    CsvReader::Parser parser(sheet.text, sheet.separator);
    parser.seek(position, row);
    QList<QStringView> fields;
    Respondent respondent;
    if (parser.next(fields))
        convertRow(fields, columns, row - sheet.headerRow, captions, &respondent);
    return respondent;
}

} // namespace

Outcome<Check> check(const Sheet &sheet, const Columns &columns, const Questionnaire::Captions &captions,
                     const Progress &progress)
{
    if (const QStringList missing = missingColumns(columns, captions); !missing.isEmpty())
        return Outcome<Check>::failed(missing.join(u'\n'));
    Check result;
    CsvReader::Parser parser(sheet.text, sheet.separator);
    parser.seek(sheet.bodyPosition, sheet.headerRow + 1);
    QList<QStringView> fields;
    Respondent respondent;
    struct CodeRows
    {
        QString code; // as the first row has it
        QList<qsizetype> rows;
    };
    QHash<QString, CodeRows> rowsOfCode;
    QHash<qsizetype, qsizetype> badIndex; // row -> its place in result.bad
    std::vector<qsizetype> candidates;
    std::vector<qsizetype> positions;
    std::vector<Answers> answers;
    std::vector<bool> candidateUnstorable;
    QStringList codes;
    qsizetype seen = 0;
    for (qsizetype position = parser.position(); parser.next(fields); position = parser.position()) {
        if (CsvReader::isBlank(fields))
            continue;
        ++result.rows;
        const qsizetype row = parser.row();
        const QString reason = convertRow(fields, columns, row - sheet.headerRow, captions, &respondent);
        if (!respondent.header.code.isEmpty()) {
            // Codes compare as a result file stores them: two codes that differ only in characters
            // it cannot hold would end up the same.
            const QString stored = Cp1251::canEncode(respondent.header.code)
                                       ? respondent.header.code
                                       : Cp1251::decode(Cp1251::encode(respondent.header.code));
            CodeRows &same = rowsOfCode[stored.toCaseFolded()];
            if (same.rows.isEmpty())
                same.code = respondent.header.code;
            same.rows.append(row);
        }
        if (reason.isEmpty()) {
            candidates.push_back(row);
            positions.push_back(position);
            answers.push_back(respondent.answers);
            codes << respondent.header.code;
            candidateUnstorable.push_back(noteUnstorable(respondent.header, row, captions, result.unstorable));
        } else {
            badIndex.insert(row, result.bad.size());
            result.bad.append({row, reason});
        }
        if (progress && ++seen % 256 == 0 && !progress(parser.position(), sheet.text.size()))
            return Outcome<Check>::cancelledByUser();
    }
    if (!parser.error().isEmpty())
        return Outcome<Check>::failed(tr("The sheet %1 cannot be read.").arg(QDir::toNativeSeparators(sheet.fileName))
                                      + u'\n' + parser.error());
    // Every row of a code that more than one row holds; one reason for them all.
    QSet<qsizetype> duplicated;
    for (auto it = rowsOfCode.cbegin(); it != rowsOfCode.cend(); ++it) {
        if (it->rows.size() < 2)
            continue;
        const QString reason = duplicateCodeReason(it->code, it->rows);
        for (qsizetype row : it->rows) {
            duplicated.insert(row);
            if (const auto place = badIndex.constFind(row); place != badIndex.cend()) {
                result.bad[place.value()].reason += QStringLiteral("; ") + reason;
            } else {
                badIndex.insert(row, result.bad.size());
                result.bad.append({row, reason});
            }
        }
    }
    std::sort(result.bad.begin(), result.bad.end(), [](const BadRow &a, const BadRow &b) { return a.row < b.row; });
    if (!duplicated.isEmpty()) {
        // The unstorable texts only of the rows that stay.
        result.unstorable = Unstorable();
        for (std::size_t k = 0; k < candidates.size(); ++k)
            if (candidateUnstorable[k] && !duplicated.contains(candidates[k]))
                noteUnstorable(respondentAt(sheet, columns, captions, positions[k], candidates[k]).header, candidates[k], captions,
                               result.unstorable);
    }
    for (std::size_t k = 0; k < candidates.size(); ++k) {
        if (duplicated.contains(candidates[k]))
            continue;
        result.goodRows.push_back(candidates[k]);
        result.goodPositions.push_back(positions[k]);
        result.goodAnswers.push_back(answers[k]);
        result.goodCodes << codes[qsizetype(k)];
    }
    if (progress && !progress(sheet.text.size(), sheet.text.size()))
        return Outcome<Check>::cancelledByUser();
    return result;
}

QString mapFileName()
{
    return QStringLiteral("zolk-import-map.txt");
}

QByteArray mapText(const Columns &columns, const QList<QString> &header)
{
    QHash<QString, int> headerCount;
    for (const QString &cell : header)
        ++headerCount[headerWord(cell)];
    QString text = QStringLiteral("# ZOLK Plot: the columns of the answer sheet, written by the import.\r\n"
                                  "# key = the column's header text, or #N for the N-th column (from 1); empty: none.\r\n"
                                  "# header: the sheet's header row this map is for.\r\n");
    text += QStringLiteral("header = ") + headerDigest(header) + QStringLiteral("\r\n");
    for (int field = 0; field < FieldCount; ++field) {
        const int column = columns[std::size_t(field)];
        QString value;
        if (column >= 0) {
            const QString cell = header.value(column);
            const bool byName = !cell.isEmpty() && headerCount.value(headerWord(cell)) == 1 && !cell.startsWith(u'#')
                                && !cell.contains(u'\n') && !cell.contains(u'\r') && cell == cell.trimmed();
            value = byName ? cell : QStringLiteral("#%1").arg(column + 1);
        }
        text += fieldKey(field) + QStringLiteral(" = ") + value + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

QString headerDigest(const QList<QString> &header)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString &cell : header) {
        hash.addData(headerWord(cell).toUtf8());
        hash.addData(QByteArrayView("\x1F", 1));
    }
    return QStringLiteral("%1:%2").arg(header.size()).arg(QString::fromLatin1(hash.result().toHex().left(32)));
}

Outcome<MapRead> readMap(QByteArrayView bytes, const QList<QString> &header, const Columns &detected, const QString &fileName,
                         bool onlySameHeader)
{
    MapRead read{detected, {}, false};
    QHash<QString, int> fieldOfKey;
    for (int field = 0; field < FieldCount; ++field)
        fieldOfKey.insert(fieldKey(field), field);
    const CsvReader::Decoded decoded = CsvReader::decode(bytes);
    const auto failed = [&](qsizetype line, const QString &why) {
        return Outcome<MapRead>::failed(tr("The column map %1 cannot be read.").arg(QDir::toNativeSeparators(fileName)) + u'\n'
                                        + tr("Line %1: %2").arg(line).arg(why));
    };
    if (decoded.badByte)
        return failed(decoded.badByte->line, tr("it is neither UTF-8 nor windows-1251 text (%1).").arg(CsvReader::badByteText(*decoded.badByte)));
    const QStringList lines = decoded.text.split(u'\n');
    const QString digest = headerDigest(header);
    QSet<int> named;
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            return failed(n + 1, tr("it is not \"key = column\"."));
        const QString key = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("header")) {
            if (onlySameHeader && value != digest) {
                read.otherHeader = true;
                read.columns = detected;
                read.problems.clear();
                return read;
            }
            continue;
        }
        const auto field = fieldOfKey.constFind(key);
        if (field == fieldOfKey.cend())
            return failed(n + 1, tr("unknown key %1.").arg(quoted(key)));
        if (named.contains(field.value()))
            return failed(n + 1, tr("the key %1 is named twice.").arg(quoted(key)));
        named.insert(field.value());
        int column = -1;
        if (value.startsWith(u'#')) {
            bool ok = false;
            const int number = value.mid(1).toInt(&ok);
            if (!ok || number < 1)
                return failed(n + 1, tr("%1 is not a column number.").arg(quoted(value)));
            if (number <= header.size())
                column = number - 1;
            else
                read.problems << tr("%1: the sheet has no column %2.").arg(key).arg(number);
        } else if (!value.isEmpty()) {
            const QString word = headerWord(value);
            for (int k = 0; k < int(header.size()) && column < 0; ++k)
                if (headerWord(header[k]) == word)
                    column = k;
            if (column < 0)
                read.problems << tr("%1: the sheet has no column %2.").arg(key, quoted(value));
        }
        read.columns[std::size_t(field.value())] = column;
    }
    return read;
}

} // namespace AnswerSheet
