#include "MemberTable.h"

#include "Cp1251.h"

#include <algorithm>
#include <array>
#include <cmath>

QString RespondentHeader::infoText() const
{
    return info[0] + QStringLiteral("\r\n") + info[1] + QStringLiteral("\r\n") + info[2] + QStringLiteral("\r\n")
           + info[3];
}

namespace {

constexpr qsizetype BlockSize = 256 * 1024;

// hundredths / 100.0 for the hundredths a score of a result file holds (0 to 10.23), worked out once:
// the same doubles as the division gives, without a division per score.
constexpr int QuotientCount = 1024;
constexpr std::array<double, QuotientCount> Quotients = [] {
    std::array<double, QuotientCount> quotients{};
    for (int h = 0; h < QuotientCount; ++h)
        quotients[std::size_t(h)] = h / 100.0;
    return quotients;
}();

// A score in hundredths when they give back exactly the same double.
bool toHundredths(double value, std::int16_t *hundredths)
{
    const double scaled = std::nearbyint(value * 100.0);
    if (!(std::fabs(scaled) <= 32767.0) || scaled / 100.0 != value || (value == 0.0 && std::signbit(value)))
        return false;
    *hundredths = std::int16_t(scaled);
    return *hundredths != INT16_MIN;
}

void appendLength(QByteArray &block, std::uint64_t value)
{
    while (value >= 0x80) {
        block.append(char(0x80 | (value & 0x7F)));
        value >>= 7;
    }
    block.append(char(value));
}

std::uint64_t readLength(const char *&p)
{
    std::uint64_t value = 0;
    int shift = 0;
    for (;;) {
        const auto byte = std::uint8_t(*p++);
        value |= std::uint64_t(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return value;
        shift += 7;
    }
}

} // namespace

void MemberTable::reserve(qsizetype members)
{
    m_hundredths.reserve(std::size_t(members) * ScoresPerMember);
    m_textStart.reserve(std::size_t(members));
}

void MemberTable::appendScores(const IndexScores &indices, const ItemScores &items)
{
    const std::uint64_t base = std::uint64_t(size()) * ScoresPerMember;
    int slot = 0;
    const auto put = [&](double value) {
        std::int16_t hundredths = 0;
        if (toHundredths(value, &hundredths)) {
            m_hundredths.push_back(hundredths);
        } else {
            m_hundredths.push_back(Exact);
            m_exact.emplace_back(base + std::uint64_t(slot), value);
        }
        ++slot;
    };
    for (double value : indices)
        put(value);
    for (double value : items)
        put(value);
}

void MemberTable::appendText(QByteArrayView bytes, bool utf8)
{
    appendLength(m_blocks.back(), std::uint64_t(bytes.size()) * 2 + (utf8 ? 1 : 0));
    m_blocks.back().append(bytes);
}

void MemberTable::appendText(const QString &text)
{
    if (Cp1251::canEncode(text))
        appendText(Cp1251::encode(text), false);
    else
        appendText(text.toUtf8(), true);
}

namespace {

// Room for one member's texts: a new block when the current one is full.
void startMember(std::vector<QByteArray> &blocks, qsizetype expected)
{
    if (blocks.empty() || blocks.back().size() + expected > blocks.back().capacity()) {
        blocks.emplace_back();
        blocks.back().reserve(std::max(BlockSize, expected));
    }
}

std::uint64_t position(const std::vector<QByteArray> &blocks)
{
    return (std::uint64_t(blocks.size() - 1) << 32) | std::uint64_t(blocks.back().size());
}

} // namespace

void MemberTable::append(const QString &file, const RespondentHeader &header, const IndexScores &indices,
                         const ItemScores &items)
{
    qsizetype expected = 16 + 3 * file.size();
    for (const QString *text : {&header.date, &header.code, &header.name, &header.info[0], &header.info[1],
                                &header.info[2], &header.info[3]})
        expected += 10 + 3 * text->size();
    startMember(m_blocks, expected);
    m_textStart.push_back(position(m_blocks));
    appendText(file);
    for (const QString *text : {&header.date, &header.code, &header.name, &header.info[0], &header.info[1],
                                &header.info[2], &header.info[3]})
        appendText(*text);
    appendScores(indices, items);
}

void MemberTable::appendRaw(const QString &file, const std::array<QByteArrayView, 7> &headerLines,
                            const IndexScores &indices, const ItemScores &items)
{
    qsizetype expected = 16 + 3 * file.size();
    for (QByteArrayView line : headerLines)
        expected += 10 + line.size();
    startMember(m_blocks, expected);
    m_textStart.push_back(position(m_blocks));
    appendText(file);
    for (QByteArrayView line : headerLines)
        appendText(line, false);
    appendScores(indices, items);
}

QByteArrayView MemberTable::storedText(qsizetype member, Field field, bool *utf8) const
{
    const std::uint64_t start = m_textStart[std::size_t(member)];
    const QByteArray &block = m_blocks[std::size_t(start >> 32)];
    const char *p = block.constData() + (start & 0xFFFFFFFFu);
    for (int f = 0;; ++f) {
        const std::uint64_t length = readLength(p);
        const auto bytes = qsizetype(length / 2);
        if (f == field) {
            *utf8 = (length & 1) != 0;
            return QByteArrayView(p, bytes);
        }
        p += bytes;
    }
}

QString MemberTable::text(qsizetype member, Field field) const
{
    bool utf8 = false;
    const QByteArrayView bytes = storedText(member, field, &utf8);
    return utf8 ? QString::fromUtf8(bytes) : Cp1251::decode(bytes);
}

RespondentHeader MemberTable::header(qsizetype member) const
{
    RespondentHeader h;
    h.date = text(member, Date);
    h.code = text(member, Code);
    h.name = text(member, Name);
    for (int n = 0; n < 4; ++n)
        h.info[std::size_t(n)] = text(member, Field(Info1 + n));
    return h;
}

double MemberTable::score(qsizetype member, int slot) const
{
    const std::uint64_t at = std::uint64_t(member) * ScoresPerMember + std::uint64_t(slot);
    const std::int16_t hundredths = m_hundredths[std::size_t(at)];
    if (hundredths != Exact)
        return hundredths / 100.0;
    const auto found = std::lower_bound(m_exact.begin(), m_exact.end(), at,
                                        [](const std::pair<std::uint64_t, double> &e, std::uint64_t key) { return e.first < key; });
    return found->second;
}

void MemberTable::allScores(qsizetype member, AllScores &scores) const
{
    // Hundredths first, all of them in one run; the few scores held in full are then looked up.
    const std::int16_t *row = m_hundredths.data() + std::size_t(member) * ScoresPerMember;
    bool exact = false;
    for (int slot = 0; slot < ScoresPerMember; ++slot) {
        const int hundredths = row[slot];
        scores[std::size_t(slot)] = unsigned(hundredths) < unsigned(QuotientCount) ? Quotients[std::size_t(hundredths)] : hundredths / 100.0;
        exact |= hundredths == Exact;
    }
    if (exact)
        for (int slot = 0; slot < ScoresPerMember; ++slot)
            if (row[slot] == Exact)
                scores[std::size_t(slot)] = score(member, slot);
}

IndexScores MemberTable::indexScores(qsizetype member) const
{
    AllScores all;
    allScores(member, all);
    IndexScores scores;
    std::copy_n(all.begin(), Resource::IndexCount, scores.begin());
    return scores;
}

ItemScores MemberTable::itemScores(qsizetype member) const
{
    AllScores all;
    allScores(member, all);
    ItemScores scores;
    std::copy_n(all.begin() + Resource::IndexCount, Resource::StatementCount, scores.begin());
    return scores;
}

qsizetype MemberTable::bytesUsed() const
{
    qsizetype bytes = qsizetype(m_hundredths.capacity() * sizeof(std::int16_t)
                                + m_exact.capacity() * sizeof(m_exact[0]) + m_textStart.capacity() * sizeof(std::uint64_t));
    for (const QByteArray &block : m_blocks)
        bytes += block.capacity();
    return bytes;
}
