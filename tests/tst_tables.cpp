// The spreadsheet writers: a Table as CSV (fields, quoting, formula texts made harmless, rows built
// one at a time) and as an Excel workbook, which the test unzips and reads back (cells and their
// types, numbers with a dot under a Russian numeric locale, bold header and marked rows, frozen
// panes, sheet names, Excel's limits, temporary files).

#include "CsvTable.h"
#include "XlsxTable.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <QtEndian>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>

#include <zlib.h>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

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

// The members of a zip archive by name: the central directory read, each member inflated.
std::optional<QHash<QString, QByteArray>> unzip(const QByteArray &zip)
{
    const auto u16 = [&zip](qsizetype at) { return qFromLittleEndian<quint16>(zip.constData() + at); };
    const auto u32 = [&zip](qsizetype at) { return qFromLittleEndian<quint32>(zip.constData() + at); };
    qsizetype end = zip.size() - 22;
    while (end >= 0 && u32(end) != 0x06054b50)
        --end;
    if (end < 0)
        return std::nullopt;
    QHash<QString, QByteArray> members;
    qsizetype entry = u32(end + 16);
    for (int k = 0, count = u16(end + 10); k < count; ++k) {
        if (entry + 46 > zip.size() || u32(entry) != 0x02014b50)
            return std::nullopt;
        const int method = u16(entry + 10);
        const qsizetype packed = u32(entry + 20), size = u32(entry + 24);
        const int nameLength = u16(entry + 28), extra = u16(entry + 30), comment = u16(entry + 32);
        const qsizetype local = u32(entry + 42);
        const QString name = QString::fromUtf8(zip.mid(entry + 46, nameLength));
        entry += 46 + nameLength + extra + comment;
        if (local + 30 > zip.size() || u32(local) != 0x04034b50)
            return std::nullopt;
        const qsizetype data = local + 30 + u16(local + 26) + u16(local + 28);
        if (data + packed > zip.size())
            return std::nullopt;
        QByteArray content(size, Qt::Uninitialized);
        if (method == 0) {
            content = zip.mid(data, packed);
        } else if (method == 8) {
            z_stream stream{};
            if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
                return std::nullopt;
            stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(zip.constData() + data));
            stream.avail_in = uInt(packed);
            stream.next_out = reinterpret_cast<Bytef *>(content.data());
            stream.avail_out = uInt(size);
            const int status = inflate(&stream, Z_FINISH);
            inflateEnd(&stream);
            if (status != Z_STREAM_END || stream.total_out != uLong(size))
                return std::nullopt;
        } else {
            return std::nullopt;
        }
        members.insert(name, content);
    }
    return members;
}

struct Cell
{
    QString type;  // "", "n", "s", "str", "inlineStr"
    int style = 0;
    QString value; // the number as written, or the text
    bool formula = false;
};

// What a workbook says of its first sheet.
struct Sheet
{
    bool ok = false;
    QString error;
    QString name;
    QHash<QString, Cell> cells;          // by reference ("B2")
    QHash<int, int> rowStyles;           // row number -> style of the whole row
    QHash<QString, QString> pane;        // the <pane> attributes
    QList<std::pair<int, double>> widths; // column (1-based) and width
    QSet<int> boldStyles;
    int rows = 0;

    double width(int column) const
    {
        for (const auto &[c, w] : widths)
            if (c == column)
                return w;
        return 0.0;
    }
    bool bold(const QString &ref) const { return cells.contains(ref) && boldStyles.contains(cells.value(ref).style); }
};

// The texts of every <t> inside each <si> of sharedStrings.xml.
QStringList sharedStrings(const QByteArray &xml)
{
    QStringList strings;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("si"))
            strings << QString();
        else if (reader.name() == QLatin1String("t") && !strings.isEmpty())
            strings.last() += reader.readElementText();
    }
    return strings;
}

Sheet readWorkbook(const QByteArray &bytes)
{
    Sheet sheet;
    const auto members = unzip(bytes);
    if (!members) {
        sheet.error = QStringLiteral("not a zip archive");
        return sheet;
    }
    for (const char *name : {"xl/workbook.xml", "xl/styles.xml", "xl/worksheets/sheet1.xml", "[Content_Types].xml"}) {
        if (!members->contains(QLatin1String(name))) {
            sheet.error = QStringLiteral("no %1").arg(QLatin1String(name));
            return sheet;
        }
    }

    QXmlStreamReader workbook(members->value(QStringLiteral("xl/workbook.xml")));
    while (!workbook.atEnd()) {
        if (workbook.readNext() == QXmlStreamReader::StartElement && workbook.name() == QLatin1String("sheet"))
            sheet.name = workbook.attributes().value(QLatin1String("name")).toString();
    }

    // Bold styles: the cell formats (cellXfs) whose font has <b/>.
    QXmlStreamReader styles(members->value(QStringLiteral("xl/styles.xml")));
    QList<bool> boldFonts;
    QList<int> xfFonts;
    bool inFonts = false, inCellXfs = false;
    while (!styles.atEnd()) {
        const auto token = styles.readNext();
        const auto name = styles.name();
        if (token == QXmlStreamReader::StartElement) {
            if (name == QLatin1String("fonts"))
                inFonts = true;
            else if (name == QLatin1String("cellXfs"))
                inCellXfs = true;
            else if (inFonts && name == QLatin1String("font"))
                boldFonts << false;
            else if (inFonts && name == QLatin1String("b") && !boldFonts.isEmpty())
                boldFonts.last() = true;
            else if (inCellXfs && name == QLatin1String("xf"))
                xfFonts << styles.attributes().value(QLatin1String("fontId")).toInt();
        } else if (token == QXmlStreamReader::EndElement) {
            if (name == QLatin1String("fonts"))
                inFonts = false;
            else if (name == QLatin1String("cellXfs"))
                inCellXfs = false;
        }
    }
    for (int xf = 0; xf < xfFonts.size(); ++xf)
        if (boldFonts.value(xfFonts.at(xf)))
            sheet.boldStyles.insert(xf);

    const QStringList shared = sharedStrings(members->value(QStringLiteral("xl/sharedStrings.xml")));
    QXmlStreamReader xml(members->value(QStringLiteral("xl/worksheets/sheet1.xml")));
    QString ref;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = xml.name();
        const QXmlStreamAttributes attributes = xml.attributes();
        if (name == QLatin1String("row")) {
            ++sheet.rows;
            if (attributes.hasAttribute(QLatin1String("s")))
                sheet.rowStyles.insert(attributes.value(QLatin1String("r")).toInt(),
                                       attributes.value(QLatin1String("s")).toInt());
        } else if (name == QLatin1String("c")) {
            ref = attributes.value(QLatin1String("r")).toString();
            Cell &cell = sheet.cells[ref];
            cell.type = attributes.value(QLatin1String("t")).toString();
            cell.style = attributes.value(QLatin1String("s")).toInt();
        } else if (name == QLatin1String("v")) {
            Cell &cell = sheet.cells[ref];
            cell.value = xml.readElementText();
            if (cell.type == QLatin1String("s"))
                cell.value = shared.value(cell.value.toInt());
        } else if (name == QLatin1String("t")) {
            sheet.cells[ref].value += xml.readElementText();
        } else if (name == QLatin1String("f")) {
            sheet.cells[ref].formula = true;
        } else if (name == QLatin1String("pane")) {
            for (const QXmlStreamAttribute &a : attributes)
                sheet.pane.insert(a.name().toString(), a.value().toString());
        } else if (name == QLatin1String("col")) {
            const int min = attributes.value(QLatin1String("min")).toInt();
            const int max = attributes.value(QLatin1String("max")).toInt();
            for (int c = min; c <= max; ++c)
                sheet.widths.append({c, attributes.value(QLatin1String("width")).toDouble()});
        }
    }
    if (xml.hasError()) {
        sheet.error = QStringLiteral("sheet XML: %1").arg(xml.errorString());
        return sheet;
    }
    sheet.ok = true;
    return sheet;
}

// The numeric locale the C library is set to, for the time of a test.
class NumericLocale
{
public:
    NumericLocale() : m_saved(std::setlocale(LC_NUMERIC, nullptr)) {}
    ~NumericLocale() { std::setlocale(LC_NUMERIC, m_saved.constData()); }
    // Sets a Russian numeric locale (decimal comma); false where the system has none.
    bool setRussian()
    {
        for (const char *name : {"ru_RU.UTF-8", "ru_RU.utf8", "ru_RU", "Russian_Russia.1251", "Russian"}) {
            if (std::setlocale(LC_NUMERIC, name) && printed(2.5) == "2,5")
                return true;
        }
        std::setlocale(LC_NUMERIC, m_saved.constData());
        return false;
    }
    static QByteArray printed(double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", value);
        return text;
    }

private:
    QByteArray m_saved;
};

// QDir::tempPath() pointed at another folder for the time of a test: TMPDIR, or on Windows the
// TMP of the process's environment (set in UTF-16, as the folder's name may not fit the code page).
class TemporaryFolderSetting
{
public:
    explicit TemporaryFolderSetting(const QString &folder)
    {
#ifdef Q_OS_WIN
        wchar_t value[32768];
        const DWORD length = GetEnvironmentVariableW(L"TMP", value, 32768);
        if (length > 0 && length < 32768)
            m_saved = QString::fromWCharArray(value, int(length));
        m_wasSet = length > 0;
        SetEnvironmentVariableW(L"TMP", reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(folder).utf16()));
#else
        m_wasSet = qEnvironmentVariableIsSet("TMPDIR");
        m_saved = qEnvironmentVariable("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(folder));
#endif
    }
    ~TemporaryFolderSetting()
    {
#ifdef Q_OS_WIN
        SetEnvironmentVariableW(L"TMP", m_wasSet ? reinterpret_cast<const wchar_t *>(m_saved.utf16()) : nullptr);
#else
        if (m_wasSet)
            qputenv("TMPDIR", QFile::encodeName(m_saved));
        else
            qunsetenv("TMPDIR");
#endif
    }

private:
    QString m_saved;
    bool m_wasSet = false;
};

} // namespace

class TestTables : public QObject
{
    Q_OBJECT
private slots:
    void csvFields_data();
    void csvFields();
    void csvDocument();
    void workbookCells_data();
    void workbookCells();
    void workbookNumbersUnderRussianLocale();
    void workbookLayout();
    void workbookLongTable();
    void sheetName_data();
    void sheetName();
    void workbookLimits_data();
    void workbookLimits();
    void workbookTemporaryFolder_data();
    void workbookTemporaryFolder();
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
    QTest::newRow("two decimals") << number(3.34) << Russian << QByteArray("3,34");
    QTest::newRow("negative zero") << number(-0.0) << Russian << QByteArray("0");
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

void TestTables::workbookCells_data()
{
    QTest::addColumn<TableCell>("cell");
    QTest::addColumn<QString>("kind"); // "text", "number" or "none"
    QTest::addColumn<QString>("value");

    QTest::newRow("code with leading zero") << text(QStringLiteral("0106")) << "text" << "0106";
    QTest::newRow("formula text stays text") << text(QStringLiteral("=HYPERLINK(\"http://x.example\")")) << "text"
                                             << "=HYPERLINK(\"http://x.example\")";
    QTest::newRow("minus text") << text(QStringLiteral("-1")) << "text" << "-1";
    QTest::newRow("markup") << text(QStringLiteral("<b>&amp;</b> \"'")) << "text" << "<b>&amp;</b> \"'";
    QTest::newRow("Cyrillic") << text(QStringLiteral("Иванов И. И.")) << "text" << "Иванов И. И.";
    QTest::newRow("line break") << text(QStringLiteral("a\nb")) << "text" << "a\nb";
    QTest::newRow("control character") << text(QStringLiteral("a\x01z")) << "text" << "a_x0001_z";
    // A text that holds such a code itself: its underscore escaped, so that it reads back as typed.
    QTest::newRow("a literal escape code") << text(QStringLiteral("a_x0041_z")) << "text" << "a_x005F_x0041_z";
    QTest::newRow("a literal escape code in capitals") << text(QStringLiteral("_X00AB_")) << "text" << "_x005F_X00AB_";
    QTest::newRow("NUL inside") << text(QString::fromUtf16(u"a\0z", 3)) << "text" << QString::fromUtf16(u"a\uFFFDz");
    QTest::newRow("not a character") << text(QString::fromUtf16(u"a\uFFFFz")) << "text" << QString::fromUtf16(u"a\uFFFDz");
    QTest::newRow("number") << number(2.6) << "number" << "2.6";
    QTest::newRow("negative number") << number(-1.25) << "number" << "-1.25";
    QTest::newRow("third") << number(1.0 / 3) << "number" << QString::number(1.0 / 3, 'g', 17);
    QTest::newRow("small number") << number(1.5e-7) << "number" << "1.5e-07";
    QTest::newRow("integer") << number(123456789012.0) << "number" << "123456789012";
    QTest::newRow("negative zero") << number(-0.0) << "number" << "0";
    QTest::newRow("empty text") << text(QString()) << "none" << "";
    QTest::newRow("empty cell") << TableCell::empty() << "none" << "";
    QTest::newRow("NaN") << number(std::numeric_limits<double>::quiet_NaN()) << "none" << "";
    QTest::newRow("infinity") << number(std::numeric_limits<double>::infinity()) << "none" << "";
}

void TestTables::workbookCells()
{
    QFETCH(TableCell, cell);
    QFETCH(QString, kind);
    QFETCH(QString, value);
    const Table table = tableOf({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")},
                                {{text(QStringLiteral("x")), cell, number(1)}});
    const Outcome<QByteArray> bytes = XlsxTable::workbook(table);
    QVERIFY2(bytes.ok(), qPrintable(bytes.message()));
    const Sheet sheet = readWorkbook(*bytes);
    QVERIFY2(sheet.ok, qPrintable(sheet.error));
    QCOMPARE(sheet.cells.value(QStringLiteral("A2")).value, QStringLiteral("x"));
    QCOMPARE(sheet.cells.value(QStringLiteral("C2")).value, QStringLiteral("1"));
    const Cell written = sheet.cells.value(QStringLiteral("B2"));
    if (kind == QLatin1String("none")) {
        QVERIFY(!sheet.cells.contains(QStringLiteral("B2")));
    } else if (kind == QLatin1String("text")) {
        QVERIFY2(written.type == QLatin1String("s") || written.type == QLatin1String("inlineStr"), qPrintable(written.type));
        QVERIFY(!written.formula);
        QCOMPARE(written.value, value);
    } else {
        QVERIFY2(written.type.isEmpty() || written.type == QLatin1String("n"), qPrintable(written.type));
        // Compared as numbers: what is written must read back as the same double.
        bool read = false;
        QCOMPARE(written.value.toDouble(&read), value.toDouble());
        QVERIFY2(read, qPrintable(written.value));
    }
}

void TestTables::workbookNumbersUnderRussianLocale()
{
    NumericLocale locale;
    if (!locale.setRussian())
        QSKIP("No Russian C locale with a decimal comma on this system (on Debian: install \"locales\" and run "
              "\"localedef -i ru_RU -f UTF-8 ru_RU.UTF-8\" as root; scripts/deps.sh does it for test.sh)");
    const Table table = tableOf({QStringLiteral("Код"), QStringLiteral("Балл"), QStringLiteral("Разность")},
                                {{text(QStringLiteral("0106")), number(2.6), number(-1.25)}});
    const Outcome<QByteArray> bytes = XlsxTable::workbook(table);
    QVERIFY2(bytes.ok(), qPrintable(bytes.message()));
    // The thread has its own numeric locale back.
    QCOMPARE(NumericLocale::printed(2.5), QByteArray("2,5"));

    const auto members = unzip(*bytes);
    QVERIFY(members);
    const QByteArray xml = members->value(QStringLiteral("xl/worksheets/sheet1.xml"));
    QVERIFY2(xml.contains("<v>2.6</v>"), xml.constData());
    QVERIFY2(xml.contains("<v>-1.25</v>"), xml.constData());
    const Sheet sheet = readWorkbook(*bytes);
    QVERIFY2(sheet.ok, qPrintable(sheet.error));
    QCOMPARE(sheet.cells.value(QStringLiteral("A2")).value, QStringLiteral("0106"));
    QVERIFY(sheet.cells.value(QStringLiteral("A2")).type != QLatin1String("n"));
}

void TestTables::workbookLayout()
{
    const QString longName = QStringLiteral("Очень длинное название файла результатов.cry");
    Table table = tableOf({QStringLiteral("Файл"), QStringLiteral("Код"), QStringLiteral("Балл"), QStringLiteral("Среднее")},
                          {{text(longName), text(QStringLiteral("0101")), number(2.5), number(3.0)},
                           {text(QStringLiteral("b.cry")), text(QStringLiteral("0102")), number(3.5), number(3.0)},
                           {TableCell::empty(), text(QStringLiteral("Среднее")), number(3.0), number(3.0)},
                           {text(QStringLiteral("c.cry")), text(QStringLiteral("0103")), number(2.0), number(3.0)}},
                          {2, 0, 7}); // unsorted, and a row the table does not have
    table.name = QStringLiteral("Группа: отдел 1");
    table.frozenColumns = 2;
    const Outcome<QByteArray> bytes = XlsxTable::workbook(table);
    QVERIFY2(bytes.ok(), qPrintable(bytes.message()));
    const Sheet sheet = readWorkbook(*bytes);
    QVERIFY2(sheet.ok, qPrintable(sheet.error));

    QCOMPARE(sheet.name, QStringLiteral("Группа_ отдел 1"));
    QCOMPARE(sheet.rows, 5);
    QVERIFY(!sheet.boldStyles.isEmpty());
    for (const char *ref : {"A1", "B1", "C1", "D1"})
        QVERIFY2(sheet.bold(QLatin1String(ref)), ref);
    // Marked rows 0 and 2 are sheet rows 2 and 4; the others are not bold.
    for (const char *ref : {"A2", "B2", "C2", "D2", "B4", "C4", "D4"})
        QVERIFY2(sheet.bold(QLatin1String(ref)), ref);
    for (const char *ref : {"A3", "B3", "C3", "A5", "C5"})
        QVERIFY2(!sheet.bold(QLatin1String(ref)), ref);
    QVERIFY(sheet.boldStyles.contains(sheet.rowStyles.value(4, -1))); // the empty A4 too

    // The header row and the first two columns stay in view.
    QCOMPARE(sheet.pane.value(QStringLiteral("state")), QStringLiteral("frozen"));
    QCOMPARE(sheet.pane.value(QStringLiteral("xSplit")), QStringLiteral("2"));
    QCOMPARE(sheet.pane.value(QStringLiteral("ySplit")), QStringLiteral("1"));
    QCOMPARE(sheet.pane.value(QStringLiteral("topLeftCell")), QStringLiteral("C2"));

    // Every column has a width; the file names' column is as wide as its longest name.
    for (int c = 1; c <= 4; ++c)
        QVERIFY2(sheet.width(c) >= 8, qPrintable(QString::number(c)));
    QVERIFY(sheet.width(1) >= longName.size());
    QVERIFY(sheet.width(1) <= 60);
    QVERIFY(sheet.width(3) < sheet.width(1));
}

void TestTables::workbookLongTable()
{
    // A hundred thousand rows, written row after row; each cell where it belongs.
    constexpr qsizetype Rows = 100000;
    Table table;
    table.name = QStringLiteral("Группа");
    table.columns = {QStringLiteral("Файл"), QStringLiteral("Балл"), QStringLiteral("Индекс")};
    table.rowCount = Rows;
    table.markedRows = {Rows - 1};
    table.fillRow = [](qsizetype row, QList<TableCell> &cells) {
        cells[0] = TableCell::ofText(QStringLiteral("%1.cry").arg(row, 6, 10, QLatin1Char('0')));
        cells[1] = TableCell::ofNumber(double(row) / 8);
        if (row % 2)
            cells[2] = TableCell::ofNumber(-double(row));
    };
    const Outcome<QByteArray> bytes = XlsxTable::workbook(table);
    QVERIFY2(bytes.ok(), qPrintable(bytes.message()));
    const Sheet sheet = readWorkbook(*bytes);
    QVERIFY2(sheet.ok, qPrintable(sheet.error));
    QCOMPARE(sheet.rows, Rows + 1);
    QCOMPARE(sheet.cells.size(), 3 + 2 * Rows + Rows / 2);
    QCOMPARE(sheet.cells.value(QStringLiteral("A2")).value, QStringLiteral("000000.cry"));
    QCOMPARE(sheet.cells.value(QStringLiteral("B50003")).value, QStringLiteral("6250.125"));
    QCOMPARE(sheet.cells.value(QStringLiteral("C100001")).value, QStringLiteral("-99999"));
    QVERIFY(!sheet.cells.contains(QStringLiteral("C100000")));
    QVERIFY(sheet.bold(QStringLiteral("A100001")));
    QVERIFY(!sheet.bold(QStringLiteral("A100000")));
}

void TestTables::sheetName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("sheet");
    QTest::newRow("plain") << "Баллы" << "Баллы";
    QTest::newRow("forbidden characters") << "a[b]c:d*e?f/g\\h" << "a_b_c_d_e_f_g_h";
    QTest::newRow("control characters") << "a\tb\nc" << "a_b_c";
    QTest::newRow("31 characters") << QString(31, u'Ж') << QString(31, u'Ж');
    QTest::newRow("too long") << QString(40, u'Ж') << QString(31, u'Ж');
    QTest::newRow("surrogate pair at the cut") << QString(30, u'x') + QString::fromUtf16(u"\U0001F600") + u'y' << QString(30, u'x');
    QTest::newRow("apostrophes at the ends") << "'Отдел'" << "Отдел";
    QTest::newRow("apostrophe inside") << "Д'Артаньян" << "Д'Артаньян";
    QTest::newRow("apostrophe at the cut") << QString(30, u'x') + u'\'' + u'y' << QString(30, u'x');
    QTest::newRow("empty") << "" << "Лист1";
    QTest::newRow("apostrophes only") << "'''" << "Лист1";
    QTest::newRow("reserved") << "history" << "history_";
}

void TestTables::sheetName()
{
    QFETCH(QString, name);
    QFETCH(QString, sheet);
    QCOMPARE(XlsxTable::sheetName(name), sheet);
    // A workbook takes the name as it comes out.
    Table table = tableOf({QStringLiteral("A")}, {{number(1)}});
    table.name = name;
    const Outcome<QByteArray> bytes = XlsxTable::workbook(table);
    QVERIFY2(bytes.ok(), qPrintable(bytes.message()));
    QCOMPARE(readWorkbook(*bytes).name, sheet);
}

void TestTables::workbookLimits_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<qsizetype>("rows");
    QTest::addColumn<qsizetype>("textLength");
    QTest::addColumn<QString>("message");
    QTest::newRow("text of 32767 characters") << 2 << qsizetype(1) << qsizetype(32767) << "";
    QTest::newRow("text too long for a cell") << 2 << qsizetype(1) << qsizetype(32768) << "Row 1, column \"Column 2\" holds 32768 characters";
    QTest::newRow("too many columns") << 16385 << qsizetype(1) << qsizetype(1) << "16385 columns";
    QTest::newRow("too many rows") << 2 << qsizetype(1048576) << qsizetype(1) << "1048576 rows";
}

void TestTables::workbookLimits()
{
    QFETCH(int, columns);
    QFETCH(qsizetype, rows);
    QFETCH(qsizetype, textLength);
    QFETCH(QString, message);
    Table table;
    for (int c = 1; c <= columns; ++c)
        table.columns << QStringLiteral("Column %1").arg(c);
    table.rowCount = rows;
    table.fillRow = [textLength](qsizetype, QList<TableCell> &cells) {
        cells[0] = TableCell::ofNumber(1);
        cells[1] = TableCell::ofText(QString(textLength, u'ж'));
    };
    const Outcome<QByteArray> bytes = XlsxTable::workbook(table);
    if (message.isEmpty()) {
        QVERIFY2(bytes.ok(), qPrintable(bytes.message()));
        const Sheet sheet = readWorkbook(*bytes);
        QVERIFY2(sheet.ok, qPrintable(sheet.error));
        QCOMPARE(sheet.cells.value(QStringLiteral("B2")).value.size(), textLength);
    } else {
        QVERIFY(!bytes.ok());
        QVERIFY2(bytes.message().contains(message), qPrintable(bytes.message()));
    }
}

void TestTables::workbookTemporaryFolder_data()
{
    QTest::addColumn<qsizetype>("cancelAt"); // rows written when progress cancels; 0: never
    QTest::addColumn<bool>("beside");        // the temporary files beside the output, not in the system's folder
    QTest::newRow("written") << qsizetype(0) << false;
    QTest::newRow("cancelled") << XlsxTable::ProgressRows << false;
    QTest::newRow("written beside the output") << qsizetype(0) << true;
}

void TestTables::workbookTemporaryFolder()
{
    // A temporary folder whose name is not ASCII (a Cyrillic user name); it is empty again after
    // the workbook is made or cancelled.
    QFETCH(qsizetype, cancelAt);
    QFETCH(bool, beside);
    QTemporaryDir base;
    QVERIFY(base.isValid());
    const QString folder = base.filePath(QStringLiteral("Временные файлы"));
    QVERIFY(QDir().mkpath(folder));
    Table table;
    table.columns = {QStringLiteral("Код"), QStringLiteral("Балл")};
    table.rowCount = 1000;
    table.fillRow = [](qsizetype row, QList<TableCell> &cells) {
        cells[0] = TableCell::ofText(QStringLiteral("%1").arg(row, 4, 10, QLatin1Char('0')));
        cells[1] = TableCell::ofNumber(2.6);
    };
    QList<qsizetype> reports;
    const auto progress = [&](qsizetype rows) {
        reports << rows;
        return rows != cancelAt;
    };
    // Open files are counted where the system shows them: on Linux the temporary files are gone
    // from the folder while still open, on Windows an open file would stay in the folder.
    const auto openFiles = [] { return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(); };
    const qsizetype openBefore = openFiles();
    Outcome<QByteArray> bytes = Outcome<QByteArray>::failed(QString());
    const QString output = base.filePath(QStringLiteral("Выгрузка"));
    QVERIFY(QDir().mkpath(output));
    {
        const TemporaryFolderSetting setting(folder);
        QCOMPARE(QDir::cleanPath(QDir::tempPath()), QDir::cleanPath(folder));
        // While it is made, the workbook's files are where it goes, not in the system's folder.
        const auto watch = [&](qsizetype rows) {
            if (beside && rows == XlsxTable::ProgressRows) {
                if (!QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
                    return false;
                if (QDir(output).entryList({QStringLiteral(".zolk-xlsx-*")}, QDir::Dirs | QDir::Hidden).size() != 1)
                    return false;
            }
            return progress(rows);
        };
        bytes = XlsxTable::workbook(table, watch, beside ? output : QString());
    }
    const QStringList left = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                             + QDir(output).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
    QCOMPARE(openFiles(), openBefore);
    if (cancelAt > 0) {
        QVERIFY(!bytes.ok());
        QVERIFY(bytes.cancelled());
        QCOMPARE(reports, QList<qsizetype>{cancelAt});
        return;
    }
    QVERIFY2(bytes.ok(), qPrintable(bytes.message()));
    QCOMPARE(reports, (QList<qsizetype>{256, 512, 768, 1000}));
    const Sheet sheet = readWorkbook(*bytes);
    QCOMPARE(sheet.cells.value(QStringLiteral("A1001")).value, QStringLiteral("0999"));
    QCOMPARE(sheet.cells.value(QStringLiteral("B2")).value, QStringLiteral("2.6"));
}

QTEST_GUILESS_MAIN(TestTables)
#include "tst_tables.moc"
