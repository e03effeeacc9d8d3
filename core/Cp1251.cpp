#include "Cp1251.h"

#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>

namespace Cp1251 {
namespace {

constexpr const char *CodecName = "windows-1251";

// The characters that the 256 bytes of the code page stand for.
const QSet<char16_t> &representable()
{
    static const QSet<char16_t> set = [] {
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        QStringDecoder decoder(CodecName);
        const QString chars = decoder(all);
        QSet<char16_t> result;
        for (QChar c : chars)
            if (c != QChar::ReplacementCharacter)
                result.insert(c.unicode());
        return result;
    }();
    return set;
}

} // namespace

QString decode(QByteArrayView bytes)
{
    QStringDecoder decoder(CodecName);
    Q_ASSERT(decoder.isValid());
    return decoder(bytes);
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
