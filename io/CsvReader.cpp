#include "CsvReader.h"

#include "Cp1251.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <array>

namespace CsvReader {
namespace {

// What the bytes of a text that is not valid UTF-8 say about its encoding.
struct Evidence
{
    qsizetype wellFormed = 0;      // UTF-8 sequences of two to four bytes
    qsizetype malformed = 0;       // bytes of 0x80 and above outside such sequences
    qsizetype firstMalformed = -1; // the first of those
    qsizetype firstImplausible = -1; // the first byte that windows-1251 Russian text would not hold
};

bool isAsciiLetter(std::uint8_t byte)
{
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

// A Cyrillic letter of windows-1251: А..я, Ё, ё.
bool isCp1251Letter(std::uint8_t byte)
{
    return byte >= 0xC0 || byte == 0xA8 || byte == 0xB8;
}

// The length of the well-formed UTF-8 sequence at k, or 0.
int sequenceAt(QByteArrayView bytes, qsizetype k)
{
    const auto at = [&](qsizetype i) { return std::uint8_t(bytes[i]); };
    const std::uint8_t lead = at(k);
    int length = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (k + length > bytes.size())
        return 0;
    if (at(k + 1) < low || at(k + 1) > high)
        return 0;
    for (int i = 2; i < length; ++i)
        if (at(k + i) < 0x80 || at(k + i) > 0xBF)
            return 0;
    return length;
}

Evidence evidenceOf(QByteArrayView bytes)
{
    Evidence evidence;
    const auto at = [&](qsizetype i) { return std::uint8_t(bytes[i]); };
    for (qsizetype k = 0; k < bytes.size();) {
        if (at(k) < 0x80) {
            ++k;
        } else if (const int length = sequenceAt(bytes, k); length > 0) {
            ++evidence.wellFormed;
            k += length;
        } else {
            ++evidence.malformed;
            if (evidence.firstMalformed < 0)
                evidence.firstMalformed = k;
            ++k;
        }
    }
    // As windows-1251: 0x98 is unassigned, and a Cyrillic letter beside a Latin one is a word of
    // another code page.
    for (qsizetype k = 0; k < bytes.size() && evidence.firstImplausible < 0; ++k) {
        const std::uint8_t byte = at(k);
        if (byte < 0x80)
            continue;
        const bool glued = isCp1251Letter(byte)
                           && ((k > 0 && isAsciiLetter(at(k - 1))) || (k + 1 < bytes.size() && isAsciiLetter(at(k + 1))));
        if (byte == 0x98 || glued)
            evidence.firstImplausible = k;
    }
    return evidence;
}

BadByte placeOf(QByteArrayView bytes, qsizetype k)
{
    BadByte bad;
    bad.value = std::uint8_t(bytes[k]);
    const QByteArrayView before = bytes.first(k);
    bad.line = before.count('\n') + 1;
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    bad.column = k - lineStart + 1;
    return bad;
}

} // namespace

Decoded decode(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {QString::fromUtf8(bytes.sliced(3)), Encoding::Utf8WithBom};
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return {decoder.decode(bytes.sliced(2)), Encoding::Utf16WithBom};
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return {std::move(text), Encoding::Utf8, std::nullopt};
    text.clear();
    const Evidence evidence = evidenceOf(bytes);
    const qsizetype bad = evidence.wellFormed >= evidence.malformed ? evidence.firstMalformed : evidence.firstImplausible;
    if (bad >= 0)
        return {QString(), Encoding::Windows1251, placeOf(bytes, bad)};
    return {Cp1251::decode(bytes), Encoding::Windows1251, std::nullopt};
}

QString badByteText(const BadByte &bad)
{
    return QCoreApplication::translate("CsvReader", "line %1, byte %2 (0x%3)")
        .arg(bad.line)
        .arg(bad.column)
        .arg(QString::number(bad.value, 16).toUpper().rightJustified(2, u'0'));
}

QString encodingName(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return QStringLiteral("UTF-8");
    case Encoding::Utf8WithBom:
        return QStringLiteral("UTF-8 (BOM)");
    case Encoding::Utf16WithBom:
        return QStringLiteral("UTF-16 (BOM)");
    case Encoding::Windows1251:
        return QStringLiteral("windows-1251");
    }
    return QString();
}

Parser::Parser(QStringView text, QChar separator)
    : m_text(text)
    , m_separator(separator.unicode())
{
}

bool Parser::next(QList<QStringView> &fields)
{
    fields.clear();
    m_spans.clear();
    m_buffer.clear();
    const char16_t *const data = m_text.utf16();
    const qsizetype end = m_text.size();
    qsizetype pos = m_pos;
    if (pos >= end || !m_error.isEmpty())
        return false;
    ++m_row;
    const char16_t separator = m_separator;
    for (;;) {
        if (pos < end && data[pos] == u'"') {
            // A quoted field: up to the quote that is not doubled. Only a field with doubled quotes
            // is copied, to the record's buffer.
            const qsizetype start = ++pos;
            qsizetype copied = -1; // where the field starts in m_buffer once it is copied
            qsizetype from = start;
            for (;;) {
                const qsizetype quote = m_text.indexOf(u'"', pos);
                if (quote < 0) {
                    m_error = QCoreApplication::translate("CsvReader", "Row %1 opens a quoted field that never ends.").arg(m_row);
                    m_pos = end;
                    return false;
                }
                if (quote + 1 < end && data[quote + 1] == u'"') {
                    if (copied < 0)
                        copied = m_buffer.size();
                    m_buffer.append(QStringView(data + from, quote + 1 - from));
                    pos = from = quote + 2;
                    continue;
                }
                if (copied >= 0)
                    m_buffer.append(QStringView(data + from, quote - from));
                pos = quote + 1;
                break;
            }
            // Anything between the closing quote and the separator belongs to the field.
            qsizetype tail = pos;
            while (tail < end && data[tail] != separator && data[tail] != u'\r' && data[tail] != u'\n')
                ++tail;
            if (tail > pos) {
                if (copied < 0) {
                    copied = m_buffer.size();
                    m_buffer.append(QStringView(data + start, pos - 1 - start));
                }
                m_buffer.append(QStringView(data + pos, tail - pos));
                pos = tail;
            }
            if (copied >= 0)
                m_spans.push_back({true, copied, m_buffer.size() - copied});
            else
                m_spans.push_back({false, start, pos - 1 - start});
        } else {
            const qsizetype start = pos;
            while (pos < end && data[pos] != separator && data[pos] != u'\r' && data[pos] != u'\n')
                ++pos;
            m_spans.push_back({false, start, pos - start});
        }
        if (pos < end && data[pos] == separator) {
            ++pos;
            continue;
        }
        // The record ends at CR LF, LF, CR or the end of the text.
        if (pos < end && data[pos] == u'\r') {
            ++pos;
            if (pos < end && data[pos] == u'\n')
                ++pos;
        } else if (pos < end) {
            ++pos;
        }
        break;
    }
    m_pos = pos;
    fields.reserve(qsizetype(m_spans.size()));
    const QStringView buffer(m_buffer);
    for (const Span &span : m_spans)
        fields.append(span.own ? buffer.sliced(span.offset, span.length) : m_text.sliced(span.offset, span.length));
    return true;
}

QChar detectSeparator(QStringView text)
{
    constexpr std::array<char16_t, 3> candidates = {u',', u';', u'\t'};
    constexpr int SampleRecords = 50;
    QChar best = u',';
    qsizetype bestConsistent = -1;
    qsizetype bestFields = 0;
    QList<QStringView> fields;
    for (char16_t candidate : candidates) {
        Parser parser(text, QChar(candidate));
        qsizetype headerFields = 0;
        qsizetype consistent = 0;
        int seen = 0;
        while (seen < SampleRecords && parser.next(fields)) {
            if (isBlank(fields))
                continue;
            ++seen;
            if (headerFields == 0)
                headerFields = fields.size();
            // Rows that end in empty fields beyond the header (a spreadsheet's empty cells) agree too.
            qsizetype count = fields.size();
            while (count > headerFields && fields[count - 1].trimmed().isEmpty())
                --count;
            if (count == headerFields)
                ++consistent;
        }
        if (headerFields < 2)
            continue;
        if (consistent > bestConsistent || (consistent == bestConsistent && headerFields > bestFields)) {
            best = QChar(candidate);
            bestConsistent = consistent;
            bestFields = headerFields;
        }
    }
    return best;
}

bool isBlank(const QList<QStringView> &fields)
{
    for (QStringView field : fields)
        if (!field.trimmed().isEmpty())
            return false;
    return true;
}

} // namespace CsvReader
