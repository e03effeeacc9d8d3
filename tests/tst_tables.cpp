// The spreadsheet writers: a Table as CSV (fields, quoting, formula texts made harmless, rows built
// one at a time).

#include "CsvTable.h"

#include <QLocale>
#include <QTest>

#include <limits>

Q_DECLARE_METATYPE(TableCell)

namespace {

// A table over rows held in memory.
Table tableOf(QList<QString> columns, QList<QList<TableCell>> rows, QList<qsizetype> marked = {})
{
    Table table;
    table.name = QStringLiteral("Баллы");
    table.columns = std::move(columns);
    table.rowCount = rows.size();
    table.markedRows = std::move(marked);
    table.fillRow = [rows](qsizetype row, QList<TableCell> &cells) {
        const QList<TableCell> &source = rows.at(row);
        for (qsizetype c = 0; c < source.size() && c < cells.size(); ++c)
            cells[c] = source.at(c);
    };
    return table;
}

TableCell text(const QString &value) { return TableCell::ofText(value); }
TableCell number(double value) { return TableCell::ofNumber(value); }

const QLocale Russian(QLocale::Russian, QLocale::Russia);
const QLocale English(QLocale::English, QLocale::UnitedStates);

} // namespace

class TestTables : public QObject
{
    Q_OBJECT
private slots:
    void csvFields_data();
    void csvFields();
    void csvDocument();
};

void TestTables::csvFields_data()
{
    QTest::addColumn<TableCell>("cell");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QByteArray>("field");

    // Texts a spreadsheet would run as formulas: quoted behind an apostrophe.
    QTest::newRow("hyperlink formula") << text(QStringLiteral("=HYPERLINK(\"http://x.example/?a\";\"Открыть\")"))
                                       << Russian << QByteArray("\"'=HYPERLINK(\"\"http://x.example/?a\"\";\"\"Открыть\"\")\"");
    QTest::newRow("file name as formula") << text(QStringLiteral("=1+1.cry")) << Russian << QByteArray("\"'=1+1.cry\"");
    QTest::newRow("plus") << text(QStringLiteral("+7 (999) 000-00-00")) << Russian << QByteArray("\"'+7 (999) 000-00-00\"");
    QTest::newRow("minus") << text(QStringLiteral("-2+3")) << English << QByteArray("\"'-2+3\"");
    QTest::newRow("at") << text(QStringLiteral("@SUM(A1:A9)")) << English << QByteArray("\"'@SUM(A1:A9)\"");
    QTest::newRow("tab") << text(QStringLiteral("\t=cmd|' /C calc'!A0")) << English
                         << QByteArray("\"'\t=cmd|' /C calc'!A0\"");
    QTest::newRow("carriage return") << text(QStringLiteral("\r=1+1")) << English << QByteArray("\"'\r=1+1\"");
    QTest::newRow("formula with separator and quote")
        << text(QStringLiteral("=\"a\";\"b\",c")) << English << QByteArray("\"'=\"\"a\"\";\"\"b\"\",c\"");
    // Other texts are left as they are, quoted only where RFC 4180 needs it.
    QTest::newRow("sign inside") << text(QStringLiteral("1=1+1")) << Russian << QByteArray("1=1+1");
    QTest::newRow("code with leading zero") << text(QStringLiteral("0106")) << Russian << QByteArray("0106");
    QTest::newRow("Cyrillic") << text(QStringLiteral("Иванов И. И.")) << Russian << QByteArray("Иванов И. И.");
    QTest::newRow("semicolon, decimal comma") << text(QStringLiteral("a;b")) << Russian << QByteArray("\"a;b\"");
    QTest::newRow("semicolon, decimal point") << text(QStringLiteral("a;b")) << English << QByteArray("a;b");
    QTest::newRow("comma, decimal point") << text(QStringLiteral("a,b")) << English << QByteArray("\"a,b\"");
    QTest::newRow("comma, decimal comma") << text(QStringLiteral("a,b")) << Russian << QByteArray("a,b");
    QTest::newRow("quotes") << text(QStringLiteral("say \"hi\"")) << Russian << QByteArray("\"say \"\"hi\"\"\"");
    QTest::newRow("line break") << text(QStringLiteral("a\r\nb")) << Russian << QByteArray("\"a\r\nb\"");
    QTest::newRow("empty text") << text(QString()) << Russian << QByteArray();
    QTest::newRow("empty cell") << TableCell::empty() << Russian << QByteArray();
    // Numbers stay numbers, negative ones too, in full precision.
    QTest::newRow("negative number, decimal comma") << number(-2.5) << Russian << QByteArray("-2,5");
    QTest::newRow("negative number, decimal point") << number(-2.5) << English << QByteArray("-2.5");
    QTest::newRow("third") << number(1.0 / 3) << Russian << QByteArray("0,3333333333333333");
    QTest::newRow("integer") << number(4.0) << Russian << QByteArray("4");
    QTest::newRow("NaN") << number(std::numeric_limits<double>::quiet_NaN()) << Russian << QByteArray();
    QTest::newRow("infinity") << number(-std::numeric_limits<double>::infinity()) << English << QByteArray();
}

void TestTables::csvFields()
{
    QFETCH(TableCell, cell);
    QFETCH(QLocale, locale);
    QFETCH(QByteArray, field);
    // The cell between two others, so that the separators around it are seen.
    const Table table = tableOf({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")},
                                {{text(QStringLiteral("x")), cell, number(1)}});
    const char separator = locale == Russian ? ';' : ',';
    const QByteArray expected = QByteArray("\xEF\xBB\xBF") + "A" + separator + "B" + separator + "C\r\n" + "x" + separator
                                + field + separator + "1\r\n";
    QCOMPARE(CsvTable::document(table, locale), expected);
}

void TestTables::csvDocument()
{
    // A header that needs quoting and guarding, rows that leave cells alone (they must come out
    // empty, not with the previous row's values) and rows given as one document or one at a time.
    const Table table = tableOf({QStringLiteral("Файл"), QStringLiteral("Шкала; 1"), QStringLiteral("-Δ")},
                                {{text(QStringLiteral("0101.cry")), number(2.6), number(-0.5)},
                                 {text(QStringLiteral("0102.cry"))},
                                 {TableCell::empty(), number(3.0)}},
                                {2});
    const QByteArray expected = "\xEF\xBB\xBF"
                                "Файл;\"Шкала; 1\";\"'-Δ\"\r\n"
                                "0101.cry;2,6;-0,5\r\n"
                                "0102.cry;;\r\n"
                                ";3;\r\n";
    QCOMPARE(CsvTable::document(table, Russian), expected);

    QByteArray streamed = CsvTable::header(table, Russian);
    QList<TableCell> cells;
    for (qsizetype k = 0; k < table.rowCount; ++k)
        streamed += CsvTable::row(table, k, Russian, cells);
    QCOMPARE(streamed, expected);

    // A table without rows is its header alone.
    const Table empty = tableOf({QStringLiteral("A"), QStringLiteral("B")}, {});
    QCOMPARE(CsvTable::document(empty, English), QByteArray("\xEF\xBB\xBF" "A,B\r\n"));
}

QTEST_GUILESS_MAIN(TestTables)
#include "tst_tables.moc"
