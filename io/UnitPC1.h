#pragma once
// The result-file cipher: a 128-bit PC1 stream cipher whose cipher bytes are stored as two
// lower-case letters "a".."p" each, high half first.

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <cstdint>

namespace UnitPC1 {

// The longest stored text whose plaintext fits the 33,000 bytes that result files may hold.
constexpr qsizetype MaxStoredTextLength = 66001;
constexpr qsizetype MaxPlainTextLength = 33000;

// The running state of one cipher pass, step by step as the cipher is published. DecipherText and
// EncipherText compute the same bytes from tables (see UnitPC1.cpp).
class Pc1State
{
public:
    explicit Pc1State(QByteArrayView key);
    // One keystream byte: eight rounds over the running key.
    std::uint8_t Pc1KeyWord();
    // Mixes a plaintext byte into the running key.
    void absorb(std::uint8_t plain);

private:
    // The running key, its 16 bytes held as 8 big-endian pairs: pair k is byte 2k * 256 + byte 2k+1,
    // exactly the value each keystream word takes from the key.
    std::array<std::uint16_t, 8> KeyBytes{};
    unsigned Sum = 0;
    unsigned Carry = 0;
};

// Value of a stored letter: "a".."p" are 0..15, every other character 0.
constexpr int letterValue(char c) { return (c >= 'a' && c <= 'p') ? c - 'a' : 0; }

// Deciphers length characters of text with key (at most its first 16 bytes count, up to a zero
// byte; a shorter key is padded with zeros). The result is the plaintext up to its first zero
// byte; n characters give at most n div 2 bytes, an unpaired last character is ignored.
QByteArray DecipherText(QByteArrayView key, const char *text, qsizetype length);
inline QByteArray DecipherText(QByteArrayView key, QByteArrayView text)
{
    return DecipherText(key, text.data(), text.size());
}

// The inverse: every plaintext byte becomes two letters, with no separators or line breaks.
QByteArray EncipherText(QByteArrayView key, QByteArrayView plain);

} // namespace UnitPC1
