#include "UnitPC1.h"

namespace UnitPC1 {

Pc1State::Pc1State(QByteArrayView key)
{
    for (qsizetype k = 0; k < key.size() && k < 16 && key[k] != '\0'; ++k)
        KeyBytes[std::size_t(k)] = std::uint8_t(key[k]);
}

std::uint16_t Pc1State::Pc1Round(int i)
{
    const std::uint16_t w = Words[std::size_t(i)];
    const std::uint16_t d = std::uint16_t(Sum + i);
    const std::uint16_t carryIn = Carry;
    Sum = std::uint16_t(d * 20021u + 346u * w + carryIn);
    Carry = std::uint16_t(346u * w);
    Words[std::size_t(i)] = std::uint16_t(w * 20021u + 1u);
    return std::uint16_t(Words[std::size_t(i)] ^ Sum);
}

std::uint8_t Pc1State::Pc1KeyWord()
{
    Words[0] = std::uint16_t(KeyBytes[0] * 256u + KeyBytes[1]);
    std::uint16_t w = Pc1Round(0);
    for (int k = 1; k < 8; ++k) {
        Words[std::size_t(k)] = std::uint16_t(
            Words[std::size_t(k - 1)] ^ (KeyBytes[std::size_t(2 * k)] * 256u + KeyBytes[std::size_t(2 * k + 1)]));
        w ^= Pc1Round(k);
    }
    return std::uint8_t((w >> 8) ^ (w & 0xFF));
}

void Pc1State::absorb(std::uint8_t plain)
{
    for (auto &b : KeyBytes)
        b ^= plain;
}

QByteArray DecipherText(QByteArrayView key, const char *text, qsizetype length)
{
    Pc1State state(key);
    QByteArray plain;
    plain.reserve(length > 1 ? length / 2 : 0);
    for (qsizetype p = 0; p < length - 1; p += 2) {
        const int c = letterValue(text[p]) * 16 + letterValue(text[p + 1]);
        const std::uint8_t byte = std::uint8_t(c ^ state.Pc1KeyWord());
        state.absorb(byte);
        if (byte == 0) // the plaintext ends at its first zero byte
            break;
        plain.append(char(byte));
    }
    return plain;
}

QByteArray EncipherText(QByteArrayView key, QByteArrayView plain)
{
    Pc1State state(key);
    QByteArray letters;
    letters.reserve(plain.size() * 2);
    for (char ch : plain) {
        const std::uint8_t c = std::uint8_t(ch);
        const std::uint8_t e = std::uint8_t(c ^ state.Pc1KeyWord());
        state.absorb(c);
        letters.append(char('a' + (e >> 4)));
        letters.append(char('a' + (e & 15)));
    }
    return letters;
}

} // namespace UnitPC1
