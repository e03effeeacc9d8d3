#include "UnitPC1.h"

#include <memory>

namespace UnitPC1 {
namespace {

// One round on word (round index i): updates sum and carry and stores the new word; the result is
// the new word XOR the new sum. Arithmetic runs in 32 bits: sums and products modulo 2^32 have the
// same low 16 bits as the cipher's 16-bit arithmetic, so high bits are cut off where a value leaves.
inline unsigned Pc1Round(unsigned i, unsigned &word, unsigned &sum, unsigned &carry)
{
    const unsigned d = sum + i;
    const unsigned product = 346u * word;
    sum = d * 20021u + product + carry;
    carry = product;
    word = word * 20021u + 1u;
    return word ^ sum;
}

} // namespace

std::uint8_t Pc1State::Pc1KeyWord()
{
    // Word k of the round is the word that round k - 1 has just stored, XORed with key pair k; the
    // words are rebuilt from the running key for every keystream byte, so none is kept.
    unsigned sum = Sum;
    unsigned carry = Carry;
    unsigned word = KeyBytes[0];
    unsigned w = Pc1Round(0, word, sum, carry);
    for (unsigned k = 1; k < 8; ++k) {
        word ^= KeyBytes[k];
        w ^= Pc1Round(k, word, sum, carry);
    }
    Sum = sum & 0xFFFFu;
    Carry = carry & 0xFFFFu;
    w &= 0xFFFFu;
    return std::uint8_t((w >> 8) ^ (w & 0xFFu));
}

void Pc1State::absorb(std::uint8_t plain)
{
    const auto both = std::uint16_t(plain * 0x0101u); // the byte XORed into both halves of a pair
    for (auto &pair : KeyBytes)
        pair ^= both;
}

Pc1State::Pc1State(QByteArrayView key)
{
    for (qsizetype k = 0; k < key.size() && k < 16 && key[k] != '\0'; ++k) {
        const unsigned byte = std::uint8_t(key[k]);
        KeyBytes[std::size_t(k / 2)] |= std::uint16_t(k % 2 == 0 ? byte << 8 : byte);
    }
}

namespace {

// Deciphering, computed the fast way. After n plaintext bytes the running key is the starting key
// with the XOR of those n bytes (call it x) XORed into every byte, so the eight round words, and
// everything derived from them alone, take one of only 256 sets of values. For each x the table
// holds what a keystream byte needs of them; what is left per byte is the Sum chain, which is
// linear: with u = 20021 * Sum + Carry, round k ends with Sum = 20021^k * u + base[k] (mod 2^16).
// The result is byte for byte that of Pc1State (the tests hold them side by side).
struct KeyTables
{
    // 32 bytes, so that finding the entry of x is one shift on the way from one byte to the next.
    // Padded rather than over-aligned: the tables live on the heap, and over-aligned new and delete
    // do not pair up reliably in every C++ runtime the program is built with.
    struct Entry
    {
        std::array<std::uint16_t, 8> base; // Sum after round k when Sum and Carry start at 0
        std::uint16_t words;              // XOR of the eight words the rounds store
        // u of the next byte is NextU * u + next: the Sum chain folded over one whole byte (below).
        std::uint16_t next;
        std::array<std::uint16_t, 6> padding;
    };
    static_assert(sizeof(Entry) == 32);
    std::array<std::uint8_t, 16> key{};
    std::array<Entry, 256> entries{};
};

constexpr std::array<std::uint16_t, 8> powers()
{
    std::array<std::uint16_t, 8> p{};
    unsigned value = 1;
    for (auto &entry : p) {
        entry = std::uint16_t(value);
        value = (value * 20021u) & 0xFFFFu;
    }
    return p;
}
constexpr std::array<std::uint16_t, 8> Powers = powers(); // 20021^k mod 2^16
constexpr unsigned NextU = (20021u * Powers[7]) & 0xFFFFu;    // 20021^8 mod 2^16

void buildTables(KeyTables &tables, const std::array<std::uint8_t, 16> &key)
{
    tables.key = key;
    for (unsigned x = 0; x < 256; ++x) {
        std::array<unsigned, 8> pairs{};
        for (unsigned k = 0; k < 8; ++k)
            pairs[k] = ((key[2 * k] ^ x) << 8) | (key[2 * k + 1] ^ x);
        KeyTables::Entry &entry = tables.entries[x];
        unsigned sum = 0, carry = 0, word = pairs[0], words = 0;
        for (unsigned k = 0; k < 8; ++k) {
            if (k > 0)
                word ^= pairs[k];
            Pc1Round(k, word, sum, carry);
            words ^= word;
            entry.base[k] = std::uint16_t(sum);
        }
        entry.words = std::uint16_t(words);
        // u' = 20021 * Sum' + Carry' with Sum' = 20021^7 * u + base[7] and Carry' = carry.
        entry.next = std::uint16_t(20021u * entry.base[7] + carry);
    }
}

// The tables of the key last used on this thread; result files all share one key.
const KeyTables &tablesFor(QByteArrayView keyText)
{
    std::array<std::uint8_t, 16> key{};
    for (qsizetype k = 0; k < keyText.size() && k < 16 && keyText[k] != '\0'; ++k)
        key[std::size_t(k)] = std::uint8_t(keyText[k]);
    thread_local std::unique_ptr<KeyTables> cached;
    if (!cached || cached->key != key) {
        auto fresh = std::make_unique<KeyTables>();
        buildTables(*fresh, key);
        cached = std::move(fresh);
    }
    return *cached;
}

} // namespace

namespace {

// The keystream byte of one plaintext position from the tables' entry and u = 20021 * Sum + Carry.
// Each byte waits on the one before (x is the XOR of the plaintext so far), so the path from x to
// the byte is kept short: the products with u are ready before the entry is (u of the next byte
// follows from the entry alone, see Entry::next), and the eight round sums are XORed as a tree.
inline std::uint8_t keystreamByte(const KeyTables::Entry &entry, unsigned u)
{
    const std::array<std::uint16_t, 8> &b = entry.base;
    const unsigned v0 = Powers[0] * u + b[0], v1 = Powers[1] * u + b[1], v2 = Powers[2] * u + b[2];
    const unsigned v3 = Powers[3] * u + b[3], v4 = Powers[4] * u + b[4], v5 = Powers[5] * u + b[5];
    const unsigned v6 = Powers[6] * u + b[6], v7 = Powers[7] * u + b[7];
    const unsigned w = (entry.words ^ ((v0 ^ v1) ^ (v2 ^ v3)) ^ ((v4 ^ v5) ^ (v6 ^ v7))) & 0xFFFFu;
    return std::uint8_t((w >> 8) ^ (w & 0xFFu));
}

} // namespace

QByteArray DecipherText(QByteArrayView key, const char *text, qsizetype length)
{
    const KeyTables &tables = tablesFor(key);
    QByteArray plain(length > 1 ? length / 2 : 0, Qt::Uninitialized);
    char *out = plain.data();
    qsizetype q = 0;
    unsigned x = 0, u = 0; // Sum and Carry start at 0
    for (qsizetype p = 0; p < length - 1; p += 2) {
        const KeyTables::Entry &entry = tables.entries[x];
        const std::uint8_t keystream = keystreamByte(entry, u);
        const std::uint8_t byte = std::uint8_t((letterValue(text[p]) * 16 + letterValue(text[p + 1])) ^ keystream);
        if (byte == 0) // the plaintext ends at its first zero byte
            break;
        out[q++] = char(byte);
        u = NextU * u + entry.next;
        x ^= byte;
    }
    plain.truncate(q);
    return plain;
}

QByteArray EncipherText(QByteArrayView key, QByteArrayView plain)
{
    // The keystream of DecipherText, with x running over the plaintext bytes as they are enciphered.
    const KeyTables &tables = tablesFor(key);
    QByteArray letters(plain.size() * 2, Qt::Uninitialized);
    char *out = letters.data();
    unsigned x = 0, u = 0;
    for (char ch : plain) {
        const KeyTables::Entry &entry = tables.entries[x];
        const std::uint8_t c = std::uint8_t(ch);
        const std::uint8_t e = std::uint8_t(c ^ keystreamByte(entry, u));
        *out++ = char('a' + (e >> 4));
        *out++ = char('a' + (e & 15));
        u = NextU * u + entry.next;
        x ^= c;
    }
    return letters;
}

} // namespace UnitPC1
