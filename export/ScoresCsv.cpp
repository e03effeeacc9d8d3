#include "ScoresCsv.h"

#include <charconv>

ScoreRow ScoreRow::of(QString file, QString code, QString name, QString date, std::array<QString, 4> info,
                      const std::array<double, Resource::IndexCount> &indexScores,
                      const std::array<double, Resource::StatementCount> &itemScores)
{
    ScoreRow row;
    row.file = std::move(file);
    row.code = std::move(code);
    row.name = std::move(name);
    row.date = std::move(date);
    row.info = std::move(info);
    row.scores.IndexScores = indexScores;
    row.scores.ItemScores = itemScores;
    row.overallMean = Scoring::deriveScores(row.scores);
    return row;
}

namespace ScoresCsv {
namespace {

const QString CrLf = QStringLiteral("\r\n");

// A field as RFC 4180 has it: quoted, with its quotes doubled, when it holds the separator, a quote
// or a line break.
QString field(const QString &text, QChar separator)
{
    if (!text.contains(separator) && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
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

namespace {

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

QString number(double value, QChar decimal)
{
    QByteArray text;
    appendNumber(text, value, char(decimal.unicode()));
    return QString::fromLatin1(text);
}

QByteArray header(const QLocale &locale)
{
    const QChar separator = fieldSeparator(locale);
    QStringList names = {QStringLiteral("Файл"), QStringLiteral("Код"), QStringLiteral("ФИО"), QStringLiteral("Дата")};
    for (int k = 1; k <= 4; ++k)
        names << QStringLiteral("Информация %1").arg(k);
    for (int i = 1; i <= Resource::IndexCount; ++i)
        names << Resource::IndexShortName(i);
    for (int t = 1; t <= Resource::TraitCount; ++t)
        names << Resource::TraitName(t);
    names << QStringLiteral("Mean");
    for (int s = 1; s <= Resource::StatementCount; ++s)
        names << QStringLiteral("Утверждение %1").arg(s);
    QString line;
    for (const QString &name : std::as_const(names))
        line += field(name, separator) + separator;
    line.chop(1);
    return QByteArray("\xEF\xBB\xBF") + (line + CrLf).toUtf8();
}

QByteArray row(const ScoreRow &row, const QLocale &locale)
{
    // Built in bytes: a group of a hundred thousand members is 7.7 million numbers.
    const QChar separator = fieldSeparator(locale);
    const char sep = char(separator.unicode());
    const char decimal = char(decimalSeparator(locale).unicode());
    QByteArray line;
    line.reserve(1600);
    for (const QString *text : {&row.file, &row.code, &row.name, &row.date})
        line += field(*text, separator).toUtf8() + sep;
    for (const QString &info : row.info)
        line += field(info, separator).toUtf8() + sep;
    for (double value : row.scores.IndexScores) {
        appendNumber(line, value, decimal);
        line += sep;
    }
    for (double value : row.scores.TraitScores) {
        appendNumber(line, value, decimal);
        line += sep;
    }
    appendNumber(line, row.overallMean, decimal);
    for (double value : row.scores.ItemScores) {
        line += sep;
        appendNumber(line, value, decimal);
    }
    line += "\r\n";
    return line;
}

QByteArray document(const QList<ScoreRow> &rows, const QLocale &locale)
{
    QByteArray data = header(locale);
    for (const ScoreRow &r : rows)
        data += row(r, locale);
    return data;
}

} // namespace ScoresCsv
