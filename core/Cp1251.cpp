#include "Cp1251.h"

#include <QSet>

#include <array>
#include <QStringDecoder>
#include <QStringEncoder>

namespace Cp1251 {
namespace {

constexpr const char *CodecName = "windows-1251";

// The character of every byte, taken once from Qt's decoder: decoding is then a table look-up,
// cheap enough for a group of a hundred thousand members.
const std::array<char16_t, 256> &byteTable()
{
    static const std::array<char16_t, 256> table = [] {
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        QStringDecoder decoder(CodecName);
        Q_ASSERT(decoder.isValid());
        const QString chars = decoder(all);
        std::array<char16_t, 256> result{};
        for (int b = 0; b < 256; ++b)
            result[std::size_t(b)] = b < chars.size() ? chars[b].unicode() : char16_t(QChar::ReplacementCharacter);
        return result;
    }();
    return table;
}

// The characters that the 256 bytes of the code page stand for.
const QSet<char16_t> &representable()
{
    static const QSet<char16_t> set = [] {
        QSet<char16_t> result;
        for (char16_t c : byteTable())
            if (c != QChar::ReplacementCharacter)
                result.insert(c);
        return result;
    }();
    return set;
}

} // namespace

QString decode(QByteArrayView bytes)
{
    const auto &table = byteTable();
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype k = 0; k < bytes.size(); ++k)
        out[k] = QChar(table[std::uint8_t(bytes[k])]);
    return text;
}

bool canEncode(QStringView text)
{
    const auto &set = representable();
    for (QChar c : text)
        if (!set.contains(c.unicode()))
            return false;
    return true;
}

QByteArray encode(QStringView text)
{
    const auto &set = representable();
    QString clean;
    clean.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (set.contains(c.unicode())) {
            clean.append(c);
            continue;
        }
        clean.append(u'?');
        // A character outside the basic plane is one character, written as one '?'.
        if (c.isHighSurrogate() && k + 1 < text.size() && text[k + 1].isLowSurrogate())
            ++k;
    }
    QStringEncoder encoder(CodecName);
    Q_ASSERT(encoder.isValid());
    return encoder(clean);
}

} // namespace Cp1251
