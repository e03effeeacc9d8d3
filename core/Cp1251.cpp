#include "Cp1251.h"

#include <array>
#include <cstdint>

namespace Cp1251 {
namespace {

// The characters of the bytes 0x80 to 0xFF; bytes below 0x80 are ASCII. windows-1251 is a fixed
// single-byte code page, so a table serves on every system, also where Qt was built without ICU
// (Qt's usual Windows builds) and has no converter for it. 0x98, which the code page leaves
// unassigned, stands for the control character U+0098, as Windows and ICU convert it, so that every
// byte survives a round trip.
constexpr std::array<char16_t, 128> HighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // 0xB8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, // 0xC0: А to Я
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, // 0xE0: а to я
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// The byte of a character, or -1 when the code page has none.
int byteOf(char16_t c)
{
    if (c < 0x80)
        return c;
    // The Cyrillic capitals and small letters А..я are one run, 0xC0 to 0xFF.
    if (c >= 0x0410 && c <= 0x044F)
        return 0xC0 + (c - 0x0410);
    for (int k = 0; k < 0x40; ++k)
        if (HighHalf[std::size_t(k)] == c)
            return 0x80 + k;
    return -1;
}

} // namespace

char16_t charOf(std::uint8_t byte)
{
    return byte < 0x80 ? char16_t(byte) : HighHalf[std::size_t(byte - 0x80)];
}

QString decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype k = 0; k < bytes.size(); ++k)
        out[k] = QChar(charOf(std::uint8_t(bytes[k])));
    return text;
}

bool canEncode(QStringView text)
{
    for (QChar c : text)
        if (byteOf(c.unicode()) < 0)
            return false;
    return true;
}

QByteArray encode(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        const int byte = byteOf(text[k].unicode());
        if (byte >= 0) {
            bytes.append(char(byte));
            continue;
        }
        bytes.append('?');
        // A character outside the basic plane is one character, written as one '?'.
        if (text[k].isHighSurrogate() && k + 1 < text.size() && text[k + 1].isLowSurrogate())
            ++k;
    }
    return bytes;
}

} // namespace Cp1251
