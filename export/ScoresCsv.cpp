#include "ScoresCsv.h"

#include <charconv>

namespace ScoresCsv {
namespace {

// A field as RFC 4180 has it: quoted, with its quotes doubled, when it holds the separator, a quote
// or a line break.
QByteArray field(const QString &text, QChar separator)
{
    if (!text.contains(separator) && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text.toUtf8();
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return (u'"' + quoted + u'"').toUtf8();
}

// Appends the shortest text that reads back as the same double, with the given decimal separator.
void appendNumber(QByteArray &line, double value, char decimal)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    for (char *p = buffer; p != result.ptr; ++p)
        if (*p == '.')
            *p = decimal;
    line.append(buffer, result.ptr - buffer);
}

} // namespace

QChar decimalSeparator(const QLocale &locale)
{
    return locale.decimalPoint() == QStringLiteral(",") ? u',' : u'.';
}

QChar fieldSeparator(const QLocale &locale)
{
    return decimalSeparator(locale) == u',' ? u';' : u',';
}

QByteArray header(const Table &table, const QLocale &locale)
{
    const QChar separator = fieldSeparator(locale);
    QByteArray line("\xEF\xBB\xBF");
    for (qsizetype c = 0; c < table.columns.size(); ++c) {
        if (c > 0)
            line += char(separator.unicode());
        line += field(table.columns[c], separator);
    }
    return line + "\r\n";
}

QByteArray row(const Table &table, qsizetype k, const QLocale &locale, QList<TableCell> &cells)
{
    const QChar separator = fieldSeparator(locale);
    const char decimal = char(decimalSeparator(locale).unicode());
    cells.fill(TableCell(), table.columns.size());
    table.fillRow(k, cells);
    QByteArray line;
    line.reserve(1600);
    for (qsizetype c = 0; c < cells.size(); ++c) {
        if (c > 0)
            line += char(separator.unicode());
        const TableCell &cell = cells[c];
        if (cell.kind == TableCell::Kind::Text)
            line += field(cell.text, separator);
        else if (cell.kind == TableCell::Kind::Number)
            appendNumber(line, cell.number, decimal);
    }
    return line + "\r\n";
}

QByteArray document(const Table &table, const QLocale &locale)
{
    QByteArray data = header(table, locale);
    QList<TableCell> cells;
    for (qsizetype k = 0; k < table.rowCount; ++k)
        data += row(table, k, locale, cells);
    return data;
}

} // namespace ScoresCsv
