#include "ResultWriter.h"

#include "Cp1251.h"
#include "UnitPC1.h"

#include <charconv>

namespace ResultWriter {

QString headerLine(QStringView text)
{
    QString line = text.toString();
    for (QChar &c : line)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    return line;
}

void appendScore(QByteArray &plain, double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    for (char *p = buffer; p != result.ptr; ++p)
        if (*p == '.')
            *p = ',';
    plain.append(buffer, result.ptr - buffer);
}

QByteArray plainBytes(const RespondentHeader &header, const IndexScores &indices, const ItemScores &items)
{
    QByteArray plain;
    plain.reserve(640);
    const auto line = [&plain](const QString &text) {
        plain += Cp1251::encode(headerLine(text));
        plain += "\r\n";
    };
    line(header.date);
    line(header.code);
    line(header.name);
    for (const QString &info : header.info)
        line(info);
    plain += Cp1251::encode(u"Индексы");
    plain += "\r\n";
    for (double value : indices) {
        appendScore(plain, value);
        plain += "\r\n";
    }
    plain += Cp1251::encode(u"Утверждения");
    plain += "\r\n";
    for (double value : items) {
        appendScore(plain, value);
        plain += "\r\n";
    }
    return plain;
}

QByteArray storedLetters(const RespondentHeader &header, const IndexScores &indices, const ItemScores &items,
                         const QByteArray &key)
{
    return UnitPC1::EncipherText(key, plainBytes(header, indices, items));
}

} // namespace ResultWriter
