#include "CsvTable.h"

#include "TableRows.h"

#include <charconv>
#include <cmath>

namespace CsvTable {

QChar decimalSeparator(const QLocale &locale)
{
    return locale.decimalPoint() == QStringLiteral(",") ? u',' : u'.';
}

QChar fieldSeparator(const QLocale &locale)
{
    return decimalSeparator(locale) == u',' ? u';' : u',';
}

namespace {

struct Dialect
{
    char separator;
    char decimal;

    explicit Dialect(const QLocale &locale)
        : separator(char(fieldSeparator(locale).unicode()))
        , decimal(char(decimalSeparator(locale).unicode()))
    {
    }
};

// A first character that makes a spreadsheet read the field as a formula.
bool startsFormula(char first)
{
    switch (first) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
        return true;
    default:
        return false;
    }
}

// Appends a text field: as it is, or quoted with its quotes doubled when it holds the separator, a
// quote or a line break; a text that would start a formula is quoted behind an apostrophe.
void appendText(QByteArray &line, const QString &text, char separator)
{
    const QByteArray utf8 = text.toUtf8();
    const bool formula = !utf8.isEmpty() && startsFormula(utf8.front());
    bool quoted = formula;
    for (qsizetype i = 0; i < utf8.size() && !quoted; ++i) {
        const char c = utf8[i];
        quoted = c == separator || c == '"' || c == '\n' || c == '\r';
    }
    if (!quoted) {
        line += utf8;
        return;
    }
    line += '"';
    if (formula)
        line += '\'';
    qsizetype from = 0;
    for (qsizetype quote = utf8.indexOf('"'); quote >= 0; quote = utf8.indexOf('"', quote + 1)) {
        line.append(utf8.constData() + from, quote + 1 - from);
        line += '"';
        from = quote + 1;
    }
    line.append(utf8.constData() + from, utf8.size() - from);
    line += '"';
}

// Appends the shortest text that reads back as the same double ("3,34", never "3,3400000000000003"
// for the double nearest 3.34); a zero as "0", never "-0"; infinities and NaN, which no spreadsheet
// reads as numbers, leave the field empty.
void appendNumber(QByteArray &line, double value, char decimal)
{
    if (!std::isfinite(value))
        return;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value + 0.0); // -0 + 0 is +0
    for (char *p = buffer; p != result.ptr; ++p)
        if (*p == '.')
            *p = decimal;
    line.append(buffer, result.ptr - buffer);
}

void appendRow(QByteArray &out, const Table &table, qsizetype k, const Dialect &dialect, QList<TableCell> &cells)
{
    produceRow(table, k, cells);
    bool first = true;
    for (const TableCell &cell : std::as_const(cells)) {
        if (!first)
            out += dialect.separator;
        first = false;
        switch (cell.kind) {
        case TableCell::Kind::Empty:
            break;
        case TableCell::Kind::Text:
            appendText(out, cell.text, dialect.separator);
            break;
        case TableCell::Kind::Number:
            appendNumber(out, cell.number, dialect.decimal);
            break;
        }
    }
    out += "\r\n";
}

} // namespace

QByteArray header(const Table &table, const QLocale &locale)
{
    const Dialect dialect(locale);
    QByteArray line("\xEF\xBB\xBF");
    bool first = true;
    for (const QString &name : table.columns) {
        if (!first)
            line += dialect.separator;
        first = false;
        appendText(line, name, dialect.separator);
    }
    line += "\r\n";
    return line;
}

QByteArray row(const Table &table, qsizetype k, const QLocale &locale, QList<TableCell> &cells)
{
    QByteArray line;
    line.reserve(16 * table.columns.size() + 16);
    appendRow(line, table, k, Dialect(locale), cells);
    return line;
}

QByteArray document(const Table &table, const QLocale &locale)
{
    const Dialect dialect(locale);
    QByteArray data = header(table, locale);
    QList<TableCell> cells;
    for (qsizetype k = 0; k < table.rowCount; ++k)
        appendRow(data, table, k, dialect, cells);
    return data;
}

} // namespace CsvTable
