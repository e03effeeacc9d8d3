// Answer sheets imported into result files: reading CSV as forms and spreadsheets export it, finding
// the columns, checking every row, and writing the folder whole or not at all.

#include "AnswerSheet.h"
#include "Cp1251.h"
#include "CsvReader.h"
#include "ProfileLoader.h"
#include "ResultFolder.h"
#include "ResultWriter.h"
#include "SheetImport.h"
#include "TestSupport.h"
#include "UnitPC1.h"

#include <QDirIterator>
#include <QScopeGuard>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

using AnswerSheet::Columns;

// A respondent as a sheet holds it.
struct SheetRow
{
    QString date;
    QString code;
    QString name;
    QStringList info;
    std::array<int, 60> answers{};
};

QList<SheetRow> sampleRows(int count)
{
    QList<SheetRow> rows;
    for (int r = 0; r < count; ++r) {
        SheetRow row;
        row.date = QStringLiteral("%1.03.2024").arg(10 + r % 18);
        row.code = QStringLiteral("%1").arg(r + 1, 4, 10, QChar(u'0'));
        row.name = QStringLiteral("Респондент %1").arg(r + 1);
        row.info = {QStringLiteral("Отдел %1").arg(r % 3), QStringLiteral("Инженер"), QStringLiteral("%1 лет").arg(r % 7),
                    QString()};
        for (int s = 0; s < 60; ++s)
            row.answers[std::size_t(s)] = 1 + (s * 7 + r * 3 + s / 5) % 5;
        rows << row;
    }
    return rows;
}

// A field as a spreadsheet writes it: quoted where it must be.
QString csvField(const QString &text, QChar separator)
{
    if (!text.contains(separator) && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString csvText(const QList<QStringList> &records, QChar separator, const QString &lineEnd)
{
    QString text;
    for (const QStringList &record : records) {
        QStringList fields;
        for (const QString &field : record)
            fields << csvField(field, separator);
        text += fields.join(separator) + lineEnd;
    }
    return text;
}

enum class Bytes { Utf8, Utf8Bom, Cp1251, Utf16Bom };

QByteArray encoded(const QString &text, Bytes bytes)
{
    switch (bytes) {
    case Bytes::Utf8:
        return text.toUtf8();
    case Bytes::Utf8Bom:
        return "\xEF\xBB\xBF" + text.toUtf8();
    case Bytes::Cp1251:
        return Cp1251::encode(text);
    case Bytes::Utf16Bom: {
        QStringEncoder encoder(QStringEncoder::Utf16LE);
        return "\xFF\xFE" + QByteArray(encoder.encode(text));
    }
    }
    return QByteArray();
}

// How a layout writes an answer.
enum class Answers { Numbers, Words, NumberedWords };

QString answerText(int a, Answers answers, int variant)
{
    switch (answers) {
    case Answers::Numbers:
        return QString::number(a);
    case Answers::Words: {
        // Any letter case and blanks around, as people type them.
        const QString word = Questionnaire::answerWord(a);
        return variant % 3 == 0 ? word.toUpper() : variant % 3 == 1 ? QStringLiteral("  ") + word + u' ' : word;
    }
    case Answers::NumberedWords:
        return QStringLiteral("%1 (%2)").arg(a).arg(Questionnaire::answerWord(a));
    }
    return QString();
}

// The header and the cells of a layout; statementHeader gives the header of statement s.
struct Layout
{
    QStringList header;             // header cells before the statements
    std::function<QString(int)> statementHeader;
    std::function<QStringList(const SheetRow &)> leading; // the row's cells before the answers
    Answers answers = Answers::Numbers;
};

QList<QStringList> records(const Layout &layout, const QList<SheetRow> &rows)
{
    QList<QStringList> records;
    QStringList header = layout.header;
    for (int s = 1; s <= 60; ++s)
        header << layout.statementHeader(s);
    records << header;
    int variant = 0;
    for (const SheetRow &row : rows) {
        QStringList cells = layout.leading(row);
        for (int s = 1; s <= 60; ++s)
            cells << answerText(row.answers[std::size_t(s - 1)], layout.answers, variant++);
        records << cells;
    }
    return records;
}

Layout templateLayout()
{
    Layout layout;
    const QStringList header = Questionnaire::sheetHeader(Questionnaire::defaultCaptions());
    layout.header = header.first(7);
    layout.statementHeader = [header](int s) { return header[6 + s]; };
    layout.leading = [](const SheetRow &row) { return QStringList{row.date, row.code, row.name} + row.info; };
    return layout;
}

// What a respondent's result file must hold: the answers scored, reversed where the statement is
// worded negatively, each index the mean of its five statements.
void expectedScores(const SheetRow &row, IndexScores &indices, ItemScores &items)
{
    for (int s = 1; s <= 60; ++s) {
        const int a = row.answers[std::size_t(s - 1)];
        items[std::size_t(s - 1)] = Questionnaire::isReversed(s) ? 6 - a : a;
    }
    for (int i = 0; i < 12; ++i) {
        double sum = 0;
        for (int k = 0; k < 5; ++k)
            sum += items[std::size_t(i * 5 + k)];
        indices[std::size_t(i)] = sum / 5;
    }
}

Outcome<AnswerSheet::Check> checked(const AnswerSheet::Sheet &sheet, Columns *columns = nullptr)
{
    const Columns found = AnswerSheet::detectColumns(sheet.header, Questionnaire::defaultCaptions());
    if (columns)
        *columns = found;
    return AnswerSheet::check(sheet, found, Questionnaire::defaultCaptions());
}

Outcome<SheetImport::Written> importInto(const AnswerSheet::Sheet &sheet, const QString &folder,
                                         const SheetImport::Options &options = {})
{
    Columns columns;
    const Outcome<AnswerSheet::Check> check = checked(sheet, &columns);
    if (!check)
        return check.failure();
    return SheetImport::write(sheet, columns, Questionnaire::defaultCaptions(), *check, folder, options);
}

// Every entry below folder with its bytes, to see that a failed import left it as it was.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        entries.insert(QDir(folder).relativeFilePath(path), file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<dir>"));
    }
    return entries;
}

AnswerSheet::Sheet sheetOf(const QString &text, Bytes bytes = Bytes::Utf8)
{
    Outcome<AnswerSheet::Sheet> sheet = AnswerSheet::readSheet(encoded(text, bytes), QStringLiteral("answers.csv"));
    if (!sheet)
        qFatal("sheet: %s", qPrintable(sheet.message()));
    return *sheet;
}

QString templateSheet(const QList<SheetRow> &rows, QChar separator = u';')
{
    return csvText(records(templateLayout(), rows), separator, QStringLiteral("\r\n"));
}

// What the import makes of a sheet, as one text: why it is refused; else the columns found, the bad
// rows as they are reported, the texts a result file cannot store and the columns left out.
QString importReport(const QByteArray &bytes, const Questionnaire::Captions &captions, const QByteArray &savedMap)
{
    const Outcome<AnswerSheet::Sheet> sheet = AnswerSheet::readSheet(bytes, QStringLiteral("answers.csv"));
    if (!sheet)
        return QStringLiteral("refused: ") + sheet.message();
    Columns columns = AnswerSheet::detectColumns(sheet->header, captions);
    QStringList report;
    if (!savedMap.isEmpty()) {
        const Outcome<AnswerSheet::MapRead> map = AnswerSheet::readMap(savedMap, sheet->header, columns, QStringLiteral("map.txt"), true);
        if (!map)
            return QStringLiteral("map refused: ") + map.message();
        if (map->otherHeader)
            report << QStringLiteral("map of another sheet");
        columns = map->columns;
    }
    report << QStringLiteral("date=%1 code=%2 name=%3 info1=%4 info2=%5")
                  .arg(columns[AnswerSheet::Date] + 1)
                  .arg(columns[AnswerSheet::Code] + 1)
                  .arg(columns[AnswerSheet::Name] + 1)
                  .arg(columns[AnswerSheet::Info1] + 1)
                  .arg(columns[AnswerSheet::Info2] + 1);
    const Outcome<AnswerSheet::Check> check = AnswerSheet::check(*sheet, columns, captions);
    if (!check)
        return report.join(u'\n') + QStringLiteral("\ncheck failed: ") + check.message();
    qsizetype more = 0;
    for (const AnswerSheet::BadGroup &group : AnswerSheet::groupBadRows(check->bad, 20, &more))
        report << QStringLiteral("rows %1: %2").arg(group.rows, group.reason);
    if (more > 0)
        report << QStringLiteral("%1 more rows").arg(more);
    if (check->unstorable.rows > 0)
        report << AnswerSheet::unstorableMessage(check->unstorable);
    report << AnswerSheet::unusedColumns(columns, sheet->header);
    report << QStringLiteral("good=%1").arg(check->goodRows.size());
    return report.join(u'\n');
}

} // namespace

class TestImport : public QObject
{
    Q_OBJECT
private slots:
    void parser_data();
    void parser();
    void answers_data();
    void answers();
    void layouts_data();
    void layouts();
    void resultFileLayout();
    void badRows_data();
    void badRows();
    void columnsMissing();
    void mapFile_data();
    void mapFile();
    void fileNames_data();
    void fileNames();
    void existingFiles_data();
    void existingFiles();
    void newFolderNamesItsOwnFiles();
    void nothingWrittenOnFailure_data();
    void nothingWrittenOnFailure();
    void fullDisk();
    void hostileSheets_data();
    void hostileSheets();
    void importTargets_data();
    void importTargets();
};

void TestImport::parser_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QStringList>("records"); // fields joined with "|", then the row number after "@"
    QTest::addColumn<QString>("error");
    QTest::newRow("CR LF, empty last field") << "a;b;\r\nc;d;e\r\n" << QChar(u';') << QStringList{"a|b|@1", "c|d|e@2"} << "";
    QTest::newRow("doubled quotes and separator in quotes")
        << "\"x \"\"y\"\"\",\"1,5\"\n" << QChar(u',') << QStringList{"x \"y\"|1,5@1"} << "";
    QTest::newRow("line breaks inside quotes count one row")
        << "\"a\r\nb\",c\n\"d\ne\",f\ng,h" << QChar(u',') << QStringList{"a\r\nb|c@1", "d\ne|f@2", "g|h@3"} << "";
    QTest::newRow("empty line is a row") << "a\n\nb\n" << QChar(u',') << QStringList{"a@1", "@2", "b@3"} << "";
    QTest::newRow("CR alone ends a row") << "a,b\rc,d" << QChar(u',') << QStringList{"a|b@1", "c|d@2"} << "";
    QTest::newRow("text after a closing quote is kept") << "\"ab\"c,d\n" << QChar(u',') << QStringList{"abc|d@1"} << "";
    QTest::newRow("quote inside an unquoted field") << "a\"b,c\n" << QChar(u',') << QStringList{"a\"b|c@1"} << "";
    QTest::newRow("quoted field never ends") << "a,b\n\"c,d\ne,f\n" << QChar(u',') << QStringList{"a|b@1"}
                                             << "Row 2 opens a quoted field that never ends.";
}

void TestImport::parser()
{
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QFETCH(QStringList, records);
    QFETCH(QString, error);
    CsvReader::Parser parser(text, separator);
    QList<QStringView> fields;
    QStringList read;
    while (parser.next(fields)) {
        QStringList texts;
        for (QStringView field : std::as_const(fields))
            texts << field.toString();
        read << texts.join(u'|') + u'@' + QString::number(parser.row());
    }
    QCOMPARE(read, records);
    QCOMPARE(parser.error(), error);
}

void TestImport::answers_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("value");
    using A = AnswerSheet::Answer;
    QTest::newRow("number") << "4" << int(A::Valid) << 4;
    QTest::newRow("number with blanks") << " 5 " << int(A::Valid) << 5;
    QTest::newRow("whole number with decimals") << "3,0" << int(A::Valid) << 3;
    QTest::newRow("words in capitals") << "ПОЛНОСТЬЮ НЕ СОГЛАСЕН" << int(A::Valid) << 1;
    QTest::newRow("feminine words, blanks inside") << "  скорее   не согласна " << int(A::Valid) << 2;
    QTest::newRow("middle word") << "Нечто среднее" << int(A::Valid) << 3;
    QTest::newRow("number and its words") << "4 - скорее согласен" << int(A::Valid) << 4;
    QTest::newRow("number and its words in brackets") << "5 (полностью согласен)" << int(A::Valid) << 5;
    QTest::newRow("empty") << "  " << int(A::Missing) << 0;
    QTest::newRow("zero") << "0" << int(A::OutOfRange) << 0;
    QTest::newRow("six") << "6" << int(A::OutOfRange) << 0;
    QTest::newRow("fraction") << "2.5" << int(A::OutOfRange) << 0;
    QTest::newRow("negative") << "-3" << int(A::OutOfRange) << 0;
    QTest::newRow("number and other words") << "2 (скорее согласен)" << int(A::Unreadable) << 0;
    QTest::newRow("text") << "да" << int(A::Unreadable) << 0;
    QTest::newRow("two numbers") << "4,5,6" << int(A::Unreadable) << 0;
}

void TestImport::answers()
{
    QFETCH(QString, cell);
    QFETCH(int, kind);
    QFETCH(int, value);
    const AnswerSheet::Answer answer = AnswerSheet::parseAnswer(cell);
    QCOMPARE(int(answer.kind), kind);
    QCOMPARE(answer.value, value);
}

void TestImport::layouts_data()
{
    // The usual exports of an online form and of a spreadsheet. Every one is imported and read back
    // as a group: each member must have exactly the scores of its row.
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<QList<SheetRow>>("rows");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QList<int>>("unmapped"); // header fields the layout has no column for

    const QList<SheetRow> rows = sampleRows(7);
    QTest::newRow("template, UTF-8 with BOM, ';', numbers")
        << templateSheet(rows) << int(Bytes::Utf8Bom) << rows << "UTF-8 (BOM)" << QChar(u';') << QList<int>{};

    // An online form: a timestamp first, the question texts (with commas) as headers, answer words.
    Layout form;
    form.header = QStringList{QStringLiteral("Отметка времени"), QStringLiteral("Код"), QStringLiteral("ФИО"),
                              QStringLiteral("Подразделение")};
    form.statementHeader = [](int s) { return QStringLiteral("%1. %2").arg(s).arg(Questionnaire::statementText(s)); };
    form.leading = [](const SheetRow &row) {
        return QStringList{row.date + QStringLiteral(" 10:15:00"), row.code, row.name, row.info[0]};
    };
    form.answers = Answers::Words;
    QList<SheetRow> formRows = rows;
    for (SheetRow &row : formRows)
        row.info = QStringList{row.info[0], QString(), QString(), QString()};
    QTest::newRow("online form, UTF-8, ',', timestamp, answer words")
        << csvText(records(form, formRows), u',', QStringLiteral("\r\n")) << int(Bytes::Utf8) << formRows << "UTF-8"
        << QChar(u',') << QList<int>{AnswerSheet::Info2, AnswerSheet::Info3, AnswerSheet::Info4};

    // A grid question: "Question [statement]" headers; numbered answer words; LF line ends.
    Layout grid = form;
    grid.header = QStringList{QStringLiteral("Timestamp"), QStringLiteral("Код респондента"), QStringLiteral("Имя"),
                              QStringLiteral("Подразделение")};
    grid.statementHeader = [](int s) {
        return QStringLiteral("Насколько вы согласны? [%1. %2]").arg(s).arg(Questionnaire::statementText(s));
    };
    grid.answers = Answers::NumberedWords;
    QTest::newRow("grid question, UTF-8 with BOM, ',', numbered words")
        << csvText(records(grid, formRows), u',', QStringLiteral("\n")) << int(Bytes::Utf8Bom) << formRows << "UTF-8 (BOM)"
        << QChar(u',') << QList<int>{AnswerSheet::Info2, AnswerSheet::Info3, AnswerSheet::Info4};

    // A spreadsheet saved as CSV on Windows: windows-1251, ';', statement numbers as headers.
    Layout spreadsheet;
    spreadsheet.header = QStringList{QStringLiteral("Дата"), QStringLiteral("Код"), QStringLiteral("ФИО")};
    spreadsheet.statementHeader = [](int s) { return QString::number(s); };
    spreadsheet.leading = [](const SheetRow &row) { return QStringList{row.date, row.code, row.name}; };
    QList<SheetRow> plainRows = rows;
    for (SheetRow &row : plainRows)
        row.info = QStringList{QString(), QString(), QString(), QString()};
    QTest::newRow("spreadsheet, windows-1251, ';', numbered headers")
        << csvText(records(spreadsheet, plainRows), u';', QStringLiteral("\r\n")) << int(Bytes::Cp1251) << plainRows
        << "windows-1251" << QChar(u';')
        << QList<int>{AnswerSheet::Info1, AnswerSheet::Info2, AnswerSheet::Info3, AnswerSheet::Info4};

    // Names with line breaks and quotes, quoted; a tab-separated UTF-16 text as spreadsheets save it.
    QList<SheetRow> oddRows = rows.first(3);
    oddRows[0].name = QStringLiteral("Иванов \"Иван\"; Петрович");
    oddRows[1].name = QStringLiteral("Две\r\nстроки");
    QTest::newRow("quoted names, ','") << templateSheet(oddRows, u',') << int(Bytes::Utf8) << oddRows << "UTF-8"
                                       << QChar(u',') << QList<int>{};
    QTest::newRow("UTF-16, tabs") << templateSheet(oddRows, u'\t') << int(Bytes::Utf16Bom) << oddRows << "UTF-16 (BOM)"
                                  << QChar(u'\t') << QList<int>{};
}

void TestImport::layouts()
{
    QFETCH(QString, text);
    QFETCH(int, bytes);
    QFETCH(QList<SheetRow>, rows);
    QFETCH(QString, encoding);
    QFETCH(QChar, separator);
    QFETCH(QList<int>, unmapped);
    const AnswerSheet::Sheet sheet = sheetOf(text, Bytes(bytes));
    QCOMPARE(CsvReader::encodingName(sheet.encoding), encoding);
    QCOMPARE(sheet.separator, separator);
    Columns columns;
    const Outcome<AnswerSheet::Check> check = checked(sheet, &columns);
    QVERIFY2(check.ok(), qPrintable(check.message()));
    for (int field = 0; field < AnswerSheet::FieldCount; ++field)
        QVERIFY2((columns[std::size_t(field)] < 0) == unmapped.contains(field), qPrintable(AnswerSheet::fieldKey(field)));
    QCOMPARE(check->rows, rows.size());
    QVERIFY(check->bad.isEmpty());

    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("group"));
    const Outcome<SheetImport::Written> written = SheetImport::write(sheet, columns, Questionnaire::defaultCaptions(), *check, folder);
    QVERIFY2(written.ok(), qPrintable(written.message()));
    QCOMPARE(written->files.size(), rows.size());
    const Outcome<ProfileLoader::GroupLoad> group = ProfileLoader::loadFolder(folder);
    QVERIFY2(group.ok(), qPrintable(group.message()));
    const MemberTable &members = *group->profile.members;
    QCOMPARE(members.size(), rows.size());
    for (qsizetype m = 0; m < members.size(); ++m) {
        const RespondentHeader header = members.header(m);
        const auto row = std::find_if(rows.cbegin(), rows.cend(), [&](const SheetRow &r) { return r.code == header.code; });
        QVERIFY2(row != rows.cend(), qPrintable(header.code));
        QCOMPARE(members.file(m), row->code + QStringLiteral(".cry"));
        QCOMPARE(header.date, row->date);
        QCOMPARE(header.name, ResultWriter::headerLine(row->name));
        for (int k = 0; k < 4; ++k)
            QCOMPARE(header.info[std::size_t(k)], row->info[k]);
        IndexScores indices{};
        ItemScores items{};
        expectedScores(*row, indices, items);
        QCOMPARE(members.indexScores(m), indices);
        QCOMPARE(members.itemScores(m), items);
    }
}

void TestImport::resultFileLayout()
{
    // The plaintext exactly as the reader expects it: seven header lines, a caption, twelve index
    // scores, a caption, sixty statement scores; windows-1251, CR LF, two decimals.
    QList<SheetRow> rows = sampleRows(1);
    rows[0].name = QStringLiteral("Пётр\tПервый");
    rows[0].answers.fill(5);
    rows[0].answers[0] = 2;
    QTemporaryDir dir;
    const Outcome<SheetImport::Written> written = importInto(sheetOf(templateSheet(rows)), dir.path());
    QVERIFY2(written.ok(), qPrintable(written.message()));
    QFile file(dir.filePath(QStringLiteral("0001.cry")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray letters = file.readAll();
    QVERIFY(!letters.contains('\n'));
    const QByteArray plain = UnitPC1::DecipherText(ResultFile::keyBytes(), letters);
    QVERIFY(plain.endsWith("\r\n"));
    const QStringList lines = Cp1251::decode(plain.chopped(2)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 81);
    QCOMPARE(lines.first(7), (QStringList{rows[0].date, QStringLiteral("0001"), QStringLiteral("Пётр Первый")} + rows[0].info));
    QCOMPARE(lines[8], QStringLiteral("4,40")); // (2 + 5 + 5 + 5 + 5) / 5
    QCOMPARE(lines[9], QStringLiteral("5,00"));
    QCOMPARE(lines[10], QStringLiteral("4,20")); // statement 15 is worded negatively: 6 - 5
    QCOMPARE(lines[21], QStringLiteral("2,00"));
    QCOMPARE(lines[21 + 14], QStringLiteral("1,00"));
    QCOMPARE(lines[80], QStringLiteral("5,00"));
}

void TestImport::badRows_data()
{
    // Rows 2 to 6 of a template sheet (row 1 is the header); each case spoils some of them.
    QTest::addColumn<QList<SheetRow>>("rows");
    QTest::addColumn<QList<qsizetype>>("badRows");
    QTest::addColumn<QString>("reason");
    const QList<SheetRow> good = sampleRows(5);
    const auto spoiled = [&](int index, const std::function<void(SheetRow &)> &spoil) {
        QList<SheetRow> rows = good;
        spoil(rows[index]);
        return rows;
    };
    // Answers are written as text, so that any cell can hold anything: -1 is an empty cell.
    QTest::newRow("missing answer") << spoiled(1, [](SheetRow &r) { r.answers[6] = -1; }) << QList<qsizetype>{3}
                                    << "no answer to statement 7";
    QTest::newRow("answers beyond the scale") << spoiled(2, [](SheetRow &r) { r.answers[59] = 6; }) << QList<qsizetype>{4}
                                              << "statement 60 is not on the scale 1 to 5: «6»";
    QTest::newRow("zero") << spoiled(0, [](SheetRow &r) { r.answers[0] = 0; }) << QList<qsizetype>{2}
                          << "statement 1 is not on the scale 1 to 5: «0»";
    QTest::newRow("unreadable answer") << spoiled(4, [](SheetRow &r) { r.answers[30] = 1000; }) << QList<qsizetype>{6}
                                       << "statement 31 cannot be read: «abc»";
    QTest::newRow("same code in two rows, any case")
        << [&] {
               QList<SheetRow> rows = good;
               rows[1].code = QStringLiteral("Отдел-А");
               rows[3].code = QStringLiteral(" отдел-а ");
               return rows;
           }()
        << QList<qsizetype>{3, 5} << "in more than one row (rows 3, 5)";
    QTest::newRow("no code") << spoiled(0, [](SheetRow &r) { r.code = QStringLiteral("  "); }) << QList<qsizetype>{2}
                             << "no code";
    QTest::newRow("text too long for a result file")
        << spoiled(3, [](SheetRow &r) { r.name = QString(1001, u'я'); }) << QList<qsizetype>{5} << "longer than 1000";
}

void TestImport::badRows()
{
    QFETCH(QList<SheetRow>, rows);
    QFETCH(QList<qsizetype>, badRows);
    QFETCH(QString, reason);
    QList<QStringList> table = records(templateLayout(), rows);
    for (int r = 0; r < rows.size(); ++r)
        for (int s = 0; s < 60; ++s) {
            QString &cell = table[r + 1][7 + s];
            const int a = rows[r].answers[std::size_t(s)];
            cell = a < 0 ? QString() : a == 1000 ? QStringLiteral("abc") : QString::number(a);
        }
    const AnswerSheet::Sheet sheet = sheetOf(csvText(table, u';', QStringLiteral("\r\n")));
    const Outcome<AnswerSheet::Check> check = checked(sheet);
    QVERIFY(check.ok());
    QList<qsizetype> found;
    for (const AnswerSheet::BadRow &bad : check->bad) {
        found << bad.row;
        QVERIFY2(bad.reason.contains(reason), qPrintable(bad.reason));
    }
    QCOMPARE(found, badRows);
    QCOMPARE(qsizetype(check->goodRows.size()), rows.size() - badRows.size());

    // Only the good rows are written.
    QTemporaryDir dir;
    Columns columns = AnswerSheet::detectColumns(sheet.header, Questionnaire::defaultCaptions());
    const Outcome<SheetImport::Written> written = SheetImport::write(sheet, columns, Questionnaire::defaultCaptions(), *check, dir.path());
    QVERIFY2(written.ok(), qPrintable(written.message()));
    QCOMPARE(ResultFolder::members(dir.path()).entries.size(), rows.size() - badRows.size());
}

void TestImport::columnsMissing()
{
    // A sheet whose headers say nothing: nothing is found, and the check names what is missing.
    QList<QStringList> table = records(templateLayout(), sampleRows(2));
    for (int c = 0; c < table[0].size(); ++c)
        table[0][c] = QStringLiteral("Вопрос без номера %1").arg(c);
    const AnswerSheet::Sheet sheet = sheetOf(csvText(table, u';', QStringLiteral("\n")));
    Columns columns;
    const Outcome<AnswerSheet::Check> check = checked(sheet, &columns);
    QVERIFY(!check.ok());
    QVERIFY2(check.message().contains(QStringLiteral("statements 1, 2, 3")), qPrintable(check.message()));
    // Mapped by hand (as the dialog does), with one column chosen twice.
    for (int field = 0; field < AnswerSheet::FieldCount; ++field)
        columns[std::size_t(field)] = field;
    columns[AnswerSheet::Name] = AnswerSheet::Code;
    QVERIFY(AnswerSheet::missingColumns(columns, Questionnaire::defaultCaptions()).join(u' ').contains(QStringLiteral("Column 2")));
    columns[AnswerSheet::Name] = AnswerSheet::Name;
    const Outcome<AnswerSheet::Check> mapped = AnswerSheet::check(sheet, columns, Questionnaire::defaultCaptions());
    QVERIFY(mapped.ok());
    QCOMPARE(qsizetype(mapped->goodRows.size()), 2);
}

void TestImport::mapFile_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("error");    // part of the message of a map that cannot be read
    QTest::addColumn<QString>("problem");  // part of the problems of one that can
    QTest::newRow("as written") << QString() << "" << "";
    QTest::newRow("a column number") << "code = #3\nname = #2\n" << "" << "";
    QTest::newRow("a field left out") << "info1 =\r\n" << "" << "";
    QTest::newRow("a header the sheet lacks") << "\xEF\xBB\xBFname = Фамилия\n" << "" << "name: the sheet has no column «Фамилия»";
    QTest::newRow("a number beyond the sheet") << "s1 = #500\n" << "" << "s1: the sheet has no column 500";
    QTest::newRow("unknown key") << "# comment\n\nfoo = #1\n" << "Line 3: unknown key «foo»" << "";
    QTest::newRow("no equals sign") << "code #1\n" << "Line 1: it is not" << "";
    QTest::newRow("key twice") << "code = #1\ncode = #2\n" << "Line 2: the key «code» is named twice" << "";
}

void TestImport::mapFile()
{
    QFETCH(QString, map);
    QFETCH(QString, error);
    QFETCH(QString, problem);
    // A sheet with the template's columns in another order and a column of its own in front.
    Layout layout = templateLayout();
    layout.header = QStringList{QStringLiteral("Комментарий"), QStringLiteral("ФИО"), QStringLiteral("Код"), QStringLiteral("Дата"),
                                QStringLiteral("Подразделение"), QStringLiteral("Должность"), QStringLiteral("Стаж работы в компании"),
                                QStringLiteral("Возраст")};
    layout.leading = [](const SheetRow &row) { return QStringList{QString(), row.name, row.code, row.date} + row.info; };
    const AnswerSheet::Sheet sheet = sheetOf(csvText(records(layout, sampleRows(2)), u';', QStringLiteral("\n")));
    const Columns detected = AnswerSheet::detectColumns(sheet.header, Questionnaire::defaultCaptions());
    QCOMPARE(detected[AnswerSheet::Code], 2);
    QCOMPARE(detected[AnswerSheet::statementField(60)], 67);
    const QByteArray text = map.isEmpty() ? AnswerSheet::mapText(detected, sheet.header) : map.toUtf8();
    if (map.isEmpty())
        QVERIFY(text.contains("code = Код\r\n") && text.contains("s12 = 12. "));
    // Read against a sheet where nothing is found, so that only the map's entries count.
    Columns nothing = AnswerSheet::noColumns();
    nothing[AnswerSheet::Name] = 5; // a detected column the map overrides or keeps
    const Outcome<AnswerSheet::MapRead> read = AnswerSheet::readMap(text, sheet.header, nothing, QStringLiteral("map.txt"));
    QCOMPARE(read.ok(), error.isEmpty());
    if (!read) {
        QVERIFY2(read.message().contains(error), qPrintable(read.message()));
        return;
    }
    QCOMPARE(read->problems.join(u'\n').contains(problem), true);
    QCOMPARE(read->problems.isEmpty(), problem.isEmpty());
    if (map.isEmpty())
        QCOMPARE(read->columns, detected);
    if (map.startsWith(QStringLiteral("code = #3"))) {
        QCOMPARE(read->columns[AnswerSheet::Code], 2);
        QCOMPARE(read->columns[AnswerSheet::Name], 1);
        QCOMPARE(read->columns[AnswerSheet::Date], -1); // not named: as detected (here nothing)
    }
    if (map.startsWith(QStringLiteral("info1")))
        QCOMPARE(read->columns[AnswerSheet::Info1], -1);
}

void TestImport::fileNames_data()
{
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QStringList>("existing"); // files in the folder; a trailing "/" makes a folder
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("codes cleaned") << QStringList{"../a", "b:c", "CON", "d. ", "x*y?"} << QStringList{} << false
                                   << QStringList{"___a.cry", "b_c.cry", "_CON.cry", "d.cry", "x_y_.cry"};
    QTest::newRow("codes that clean to one name") << QStringList{"a/b", "a_b", "A_B"} << QStringList{} << false
                                                  << QStringList{"a_b.cry", "a_b (2).cry", "A_B (3).cry"};
    QTest::newRow("existing files kept") << QStringList{"0001", "0002"} << QStringList{"0001.CRY"} << false
                                         << QStringList{"0001 (2).cry", "0002.cry"};
    QTest::newRow("existing files replaced") << QStringList{"0001", "0002"} << QStringList{"0001.cry"} << true
                                             << QStringList{"0001.cry", "0002.cry"};
    QTest::newRow("a folder is never replaced") << QStringList{"0001"} << QStringList{"0001.cry/"} << true
                                                << QStringList{"0001 (2).cry"};
    // Invisible format characters would make a name read otherwise than it is ("…txt.exe" as "…exe.txt").
    QTest::newRow("a right-to-left override and a zero-width space")
        << QStringList{QStringLiteral("ann\u202Etxt.exe"), QStringLiteral("b\u200Bc")} << QStringList{} << false
        << QStringList{"anntxt.exe.cry", "bc.cry"};
    QTest::newRow("a long code shortened") << QStringList{QString(200, u'ж')} << QStringList{} << false
                                           << QStringList{QString(80, u'ж') + ".cry"};
}

void TestImport::fileNames()
{
    QFETCH(QStringList, codes);
    QFETCH(QStringList, existing);
    QFETCH(bool, replace);
    QFETCH(QStringList, names);
    QTemporaryDir dir;
    for (const QString &name : existing) {
        if (name.endsWith(u'/'))
            QDir(dir.path()).mkdir(name.chopped(1));
        else
            TestSupport::writeStoredFile(dir.path(), name, "x");
    }
    QCOMPARE(SheetImport::plan(codes, dir.path(), replace).names, names);
}

void TestImport::existingFiles_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("kept, the new file numbered") << false;
    QTest::newRow("replaced when the user agrees") << true;
}

void TestImport::existingFiles()
{
    QFETCH(bool, replace);
    QTemporaryDir dir;
    const QString old = TestSupport::writeStoredFile(dir.path(), QStringLiteral("0001.cry"), "old letters");
    SheetImport::Options options;
    options.replace = replace;
    const Outcome<SheetImport::Written> written = importInto(sheetOf(templateSheet(sampleRows(2))), dir.path(), options);
    QVERIFY2(written.ok(), qPrintable(written.message()));
    QCOMPARE(written->replaced, replace ? 1 : 0);
    QFile file(old);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll() == "old letters", !replace);
    QStringList expected{QStringLiteral("0001.cry"), QStringLiteral("0002.cry")};
    if (!replace)
        expected.prepend(QStringLiteral("0001 (2).cry"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), expected);
}

void TestImport::newFolderNamesItsOwnFiles()
{
    // A new folder's names are decided by that folder alone, not by the one the program runs in.
    QTemporaryDir dir;
    TestSupport::writeStoredFile(dir.path(), QStringLiteral("0001.cry"), "in the working folder");
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const Outcome<SheetImport::Written> written = importInto(sheetOf(templateSheet(sampleRows(1))), dir.filePath(QStringLiteral("new")));
    QDir::setCurrent(before);
    QVERIFY2(written.ok(), qPrintable(written.message()));
    QCOMPARE(written->files, QStringList{QStringLiteral("0001.cry")});
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("new/0001.cry"))));
}

void TestImport::nothingWrittenOnFailure_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("cancelled half-way") << "cancel" << true;
    QTest::newRow("a write fails half-way") << "write" << false;
    QTest::newRow("a move fails after others were moved") << "move" << false;
    QTest::newRow("into a new folder, cancelled") << "new folder" << true;
}

void TestImport::nothingWrittenOnFailure()
{
    QFETCH(QString, how);
    QFETCH(bool, cancelled);
    // The folder holds a file that the import replaces, and other files it must not touch.
    QTemporaryDir dir;
    const QString folder = how == QLatin1String("new folder") ? dir.filePath(QStringLiteral("new/group")) : dir.path();
    if (how != QLatin1String("new folder")) {
        TestSupport::writeStoredFile(folder, QStringLiteral("0003.cry"), "replaced, then put back");
        TestSupport::writeStoredFile(folder, QStringLiteral("other.txt"), "other");
        TestSupport::writeStoredFile(folder, AnswerSheet::mapFileName(), "s1 = #8\n");
    }
    const QMap<QString, QByteArray> before = snapshot(dir.path());
    const AnswerSheet::Sheet sheet = sheetOf(templateSheet(sampleRows(2000)));
    SheetImport::Options options;
    options.replace = true;
    options.mapText = "code = #2\n";
    bool removed = false;
    options.progress = [&](qsizetype done, qsizetype total) {
        if (how == QLatin1String("cancel") || how == QLatin1String("new folder"))
            return done < total / 2;
        if (how == QLatin1String("write") && !removed) {
            removed = true;
            // The temporary folder goes: the next file cannot be written.
            for (const QFileInfo &entry : QDir(folder).entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
                QDir(entry.filePath()).removeRecursively();
        }
        if (how == QLatin1String("move") && done == total) {
            // Another program makes a file of the name the last row gets: the moves are undone.
            TestSupport::writeStoredFile(folder, QStringLiteral("2000.cry"), "someone else's");
        }
        return true;
    };
    const Outcome<SheetImport::Written> written = importInto(sheet, folder, options);
    QVERIFY(!written.ok());
    QCOMPARE(written.cancelled(), cancelled);
    QMap<QString, QByteArray> after = snapshot(dir.path());
    if (how == QLatin1String("move")) {
        QCOMPARE(after.take(QStringLiteral("2000.cry")), QByteArray("someone else's"));
        QVERIFY2(written.message().contains(QStringLiteral("2000.cry")), qPrintable(written.message()));
    }
    QCOMPARE(after, before);
}

void TestImport::fullDisk()
{
    // On a small file system of its own (tests/with-full-disk.sh): the disk fills up half-way, and
    // the folder stays as it was.
    const QString mount = qEnvironmentVariable("ZOLK_FULL_DISK");
    if (mount.isEmpty())
        QSKIP("no small file system here (run through tests/with-full-disk.sh)");
    const QString folder = QDir(mount).filePath(QStringLiteral("import"));
    QDir().mkpath(folder);
    TestSupport::writeStoredFile(folder, QStringLiteral("0001.cry"), "old");
    const QMap<QString, QByteArray> before = snapshot(folder);
    SheetImport::Options options;
    options.replace = true;
    const Outcome<SheetImport::Written> written = importInto(sheetOf(templateSheet(sampleRows(2000))), folder, options);
    QVERIFY(!written.ok());
    QVERIFY2(written.message().startsWith(QStringLiteral("Cannot create file")), qPrintable(written.message()));
    QCOMPARE(snapshot(folder), before);
    QDir(folder).removeRecursively();
}

void TestImport::hostileSheets_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("captionList");
    QTest::addColumn<QByteArray>("savedMap");
    QTest::addColumn<QStringList>("expected"); // each must be in the report
    QTest::addColumn<int>("maxReport");        // characters; 0: any
    const Questionnaire::Captions defaults = Questionnaire::defaultCaptions();
    const QStringList captions(defaults.cbegin(), defaults.cend());
    const QList<SheetRow> rows = sampleRows(3);

    // One code in every row: reported once, with the first rows, in a report of a few lines.
    QList<SheetRow> same = sampleRows(5000);
    for (SheetRow &row : same)
        row.code = QStringLiteral("0001");
    QTest::newRow("one code in 5,000 rows")
        << templateSheet(same).toUtf8() << captions << QByteArray()
        << QStringList{"rows 2, 3, 4, 5, 6 … and 4995 more: the code «0001» is in more than one row (rows 2, 3, 4, 5, 6 … and 4995 more)",
                       "good=0"}
        << 1000;

    // A UTF-8 sheet with one Latin-1 byte: refused with its place, never read as windows-1251.
    QByteArray latinByte = templateSheet(rows).toUtf8();
    const qsizetype name = latinByte.indexOf("Респондент 2");
    latinByte.replace(name, qstrlen("Респондент 2"), "Ren\xE9" "e");
    const qsizetype lineStart = latinByte.lastIndexOf('\n', name) + 1;
    QTest::newRow("UTF-8 with a Latin-1 byte")
        << latinByte << captions << QByteArray()
        << QStringList{QStringLiteral("line 3, byte %1 (0xE9)").arg(name - lineStart + 4)} << 0;
    QByteArray latin = "Date;Code;Name";
    for (int s = 1; s <= 60; ++s)
        latin += ";" + QByteArray::number(s);
    latin += "\r\n01.03.2024;1;Ren\xE9" "e";
    for (int s = 1; s <= 60; ++s)
        latin += ";3";
    QTest::newRow("Latin-1, not windows-1251") << latin << captions << QByteArray() << QStringList{"refused", "line 2, byte 17 (0xE9)"} << 0;
    // Real windows-1251 text in which two letters happen to form a UTF-8 sequence ("РЁ").
    QList<SheetRow> russian = rows;
    russian[0].name = QStringLiteral("СЕРЁЖА ПЕТРОВ");
    QTest::newRow("windows-1251 with a UTF-8-like pair")
        << encoded(templateSheet(russian), Bytes::Cp1251) << captions << QByteArray() << QStringList{"code=2 name=3", "good=3"} << 0;

    // Characters a result file cannot store are named; codes that differ only in them are one code.
    QList<SheetRow> kazakh = rows;
    kazakh[1].name = QStringLiteral("Әлия Нұрланқызы");
    QTest::newRow("characters windows-1251 lacks")
        << templateSheet(kazakh).toUtf8() << captions << QByteArray()
        << QStringList{"«Ә» U+04D8, «ұ» U+04B1, «қ» U+049B", "in 1 rows: row 3 (ФИО «Әлия Нұрланқызы»)", "good=3"} << 0;
    QList<SheetRow> twins = rows;
    twins[0].code = QStringLiteral("Ә1");
    twins[2].code = QStringLiteral("Ү1");
    QTest::newRow("codes told apart only by characters windows-1251 lacks")
        << templateSheet(twins).toUtf8() << captions << QByteArray() << QStringList{"rows 2, 4: the code «Ә1» is in more than one row"}
        << 0;

    // Captions that read as the code's and name's headers: the template's order decides.
    const QStringList codeCaptions{"Код", "ФИО", "Должность", "Возраст"};
    Layout layout = templateLayout();
    layout.header = QStringList{"Дата", "Код", "ФИО"} + codeCaptions;
    QTest::newRow("captions \"Код\" and \"ФИО\"")
        << csvText(records(layout, rows), u';', QStringLiteral("\r\n")).toUtf8() << codeCaptions << QByteArray()
        << QStringList{"date=1 code=2 name=3 info1=4 info2=5", "good=3"} << 0;
    // Columns nobody takes are named with why.
    Layout extra = templateLayout();
    extra.header << QStringLiteral("E-mail") << QStringLiteral("Код");
    extra.leading = [](const SheetRow &row) { return QStringList{row.date, row.code, row.name} + row.info + QStringList{"a@b", "x"}; };
    QList<QStringList> extraRecords = records(extra, rows);
    for (QStringList &record : extraRecords) // the two extra cells after the statements
        record << record.takeAt(7) << record.takeAt(7);
    QTest::newRow("columns not used")
        << csvText(extraRecords, u';', QStringLiteral("\r\n")).toUtf8() << captions << QByteArray()
        << QStringList{"column 68 «E-mail»: not recognised, not used", "column 69 «Код»: the same header as column 2, not used"} << 0;
    // A map saved for another sheet, with column numbers: not applied to this one.
    QList<QString> otherHeader{"Адрес", "Код", "Имя"};
    Columns otherColumns = AnswerSheet::noColumns();
    otherColumns[AnswerSheet::Code] = 0;
    QTest::newRow("a saved map of another sheet")
        << templateSheet(rows).toUtf8() << captions << AnswerSheet::mapText(otherColumns, otherHeader)
        << QStringList{"map of another sheet", "code=2", "good=3"} << 0;
}

void TestImport::hostileSheets()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, captionList);
    QFETCH(QByteArray, savedMap);
    QFETCH(QStringList, expected);
    QFETCH(int, maxReport);
    const Questionnaire::Captions captions{captionList[0], captionList[1], captionList[2], captionList[3]};
    const QString report = importReport(bytes, captions, savedMap);
    for (const QString &part : expected)
        QVERIFY2(report.contains(part), qPrintable(report.left(4000)));
    if (maxReport > 0)
        QVERIFY2(report.size() <= maxReport, qPrintable(QStringLiteral("%1 characters").arg(report.size())));
}

void TestImport::importTargets_data()
{
    // Each case prepares the target (in a fresh folder), imports rows 0001 to 0003 and looks at
    // what the target holds afterwards (named ".cry" files; "*" where a file's name differs only in
    // letter case).
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("counts"); // "replaced present changedKept"
    QTest::addColumn<int>("mode");        // the target's permission bits afterwards; -1: not looked at
    const QStringList three{"0001.cry", "0002.cry", "0003.cry"};
#ifdef Q_OS_UNIX
    QTest::newRow("a link to an empty folder, filled in place") << "link" << false << three << "0 0 0" << 0750;
    QTest::newRow("an empty folder keeps its mode") << "empty" << false << three << "0 0 0" << 02771;
    QTest::newRow("a new folder follows the umask") << "new" << false << three << "0 0 0" << 0750;
    // A mount point cannot be renamed or replaced (EBUSY): a fresh USB stick is filled in place.
    QTest::newRow("an empty mount point, filled in place") << "mount" << false << three << "0 0 0" << -1;
#endif
    QTest::newRow("a code in other letter case, replaced") << "case" << true << QStringList{"0002.cry", "0003.cry", "AB0.cry"}
                                                           << "1 0 0" << -1;
    QTest::newRow("the same sheet again: nothing twice") << "again" << false << three << "0 3 0" << -1;
    QTest::newRow("changed answers, kept without replace") << "changed" << false << three << "0 2 1" << -1;
    QTest::newRow("changed answers, replaced when chosen") << "changed" << true << three << "1 2 0" << -1;
    QTest::newRow("a stale temporary folder goes, a fresh one stays") << "stale" << false << three << "0 0 0" << -1;
}

void TestImport::importTargets()
{
    QFETCH(QString, how);
    QFETCH(bool, replace);
    QFETCH(QStringList, files);
    QFETCH(QString, counts);
    QFETCH(int, mode);
    QTemporaryDir dir;
    QString target = dir.filePath(QStringLiteral("target"));
    if (how == QLatin1String("mount")) {
        // The small file system of its own that tests/with-full-disk.sh mounts.
        target = qEnvironmentVariable("ZOLK_FULL_DISK");
        if (target.isEmpty())
            QSKIP("no file system of its own to mount here (run through tests/with-full-disk.sh)");
        QVERIFY(QDir(target).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
    }
    const auto emptyMount = qScopeGuard([&] {
        if (how != QLatin1String("mount"))
            return;
        for (const QFileInfo &entry : QDir(target).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            if (entry.isDir())
                QDir(entry.filePath()).removeRecursively();
            else
                QFile::remove(entry.filePath());
        }
    });
    QList<SheetRow> rows = sampleRows(3);
    const QString realFolder = dir.filePath(QStringLiteral("real"));
    const auto permissions = [](const QString &path) {
#ifdef Q_OS_UNIX
        struct stat info{};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
#else
        Q_UNUSED(path);
        return -1;
#endif
    };
#ifdef Q_OS_UNIX
    const mode_t umask = ::umask(027);
    const auto restoreUmask = qScopeGuard([umask] { ::umask(umask); });
    if (how == QLatin1String("link")) {
        QVERIFY(QDir().mkdir(realFolder));
        QVERIFY(QFile::setPermissions(realFolder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                      | QFileDevice::ReadGroup | QFileDevice::ExeGroup));
        QVERIFY(QFile::link(realFolder, target));
    } else if (how == QLatin1String("empty")) {
        QVERIFY(QDir().mkdir(target));
        QCOMPARE(::chmod(QFile::encodeName(target).constData(), 02771), 0);
    }
#endif
    if (how == QLatin1String("case")) {
        TestSupport::Respondent old;
        old.code = QStringLiteral("AB0");
        QDir().mkdir(target);
        TestSupport::writeResultFile(target, QStringLiteral("AB0.cry"), old);
        rows[0].code = QStringLiteral("ab0");
    } else if (how == QLatin1String("again") || how == QLatin1String("changed")) {
        QVERIFY(importInto(sheetOf(templateSheet(rows)), target).ok());
        if (how == QLatin1String("changed"))
            rows[1].answers[0] = rows[1].answers[0] % 5 + 1;
    } else if (how == QLatin1String("stale")) {
        QDir().mkdir(target);
        for (const QString &name : {QStringLiteral(".zolk-import-old123"), QStringLiteral(".zolk-import-new123")}) {
            QDir(target).mkdir(name);
            TestSupport::writeStoredFile(QDir(target).filePath(name), QStringLiteral("0.part"), "Иванов's answers");
        }
        QVERIFY(TestSupport::makeOlder(QDir(target).filePath(QStringLiteral(".zolk-import-old123")), std::chrono::hours(48)));
    }
    const QByteArray before = [&] {
        QFile file(QDir(target).filePath(QStringLiteral("0002.cry")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    const int modeBefore = permissions(target);

    SheetImport::Options options;
    options.replace = replace;
    const Outcome<SheetImport::Written> written = importInto(sheetOf(templateSheet(rows)), target, options);
    QVERIFY2(written.ok(), qPrintable(written.message()));
    QCOMPARE(QStringLiteral("%1 %2 %3").arg(written->replaced).arg(written->present).arg(written->changedKept), counts);
    QStringList found = QDir(target).entryList({QStringLiteral("*.cry")}, QDir::Files | QDir::Hidden);
    found.sort();
    QCOMPARE(found, files);
    if (mode >= 0)
        QCOMPARE(permissions(how == QLatin1String("link") ? realFolder : target), mode);
    if (how == QLatin1String("link"))
        QVERIFY(QFileInfo(target).isSymLink());
    if (how == QLatin1String("mount"))
        QCOMPARE(permissions(target), modeBefore);
    if (how == QLatin1String("case")) {
        const Outcome<ResultRecord> record = ResultFile::readFile(QDir(target).filePath(QStringLiteral("AB0.cry")));
        QVERIFY(record.ok());
        QCOMPARE(record->header.code, QStringLiteral("ab0"));
    }
    if (how == QLatin1String("changed")) {
        QFile file(QDir(target).filePath(QStringLiteral("0002.cry")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll() != before, replace);
    }
    if (how == QLatin1String("stale")) {
        QVERIFY(!QFileInfo::exists(QDir(target).filePath(QStringLiteral(".zolk-import-old123"))));
        QVERIFY(QFileInfo::exists(QDir(target).filePath(QStringLiteral(".zolk-import-new123"))));
    }
    // Nothing of the import is left behind but the map.
    const QStringList hidden = QDir(target).entryList({QStringLiteral(".zolk-*")}, QDir::AllEntries | QDir::Hidden);
    QCOMPARE(hidden, how == QLatin1String("stale") ? QStringList{".zolk-import-new123"} : QStringList());
}

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
