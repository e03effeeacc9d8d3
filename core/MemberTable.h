#pragma once
// The respondents of a profile, held compactly: a group of a hundred thousand members keeps every
// member's file, header and scores in a few hundred bytes each. Scores are kept in hundredths where
// that gives back exactly the same double (every score a result file holds with two decimals), and
// in full otherwise; header texts are kept as windows-1251 bytes where the code page holds them (a
// result file's own bytes) and as UTF-8 otherwise.

#include "Resource.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

using IndexScores = std::array<double, Resource::IndexCount>;
using ItemScores = std::array<double, Resource::StatementCount>;

// The first seven lines of a result file.
struct RespondentHeader
{
    QString date;
    QString code;
    QString name;
    std::array<QString, 4> info;

    // The four information lines joined with CR LF.
    QString infoText() const;
};

class MemberTable
{
public:
    // The header lines as stored: text fields in this order.
    enum Field { File, Date, Code, Name, Info1, Info2, Info3, Info4, FieldCount };

    qsizetype size() const { return qsizetype(m_textStart.size()); }
    bool isEmpty() const { return m_textStart.empty(); }
    void reserve(qsizetype members);

    // file: the member's path relative to the group's folder ("a.cry", "Отдел 1/b.cry").
    void append(const QString &file, const RespondentHeader &header, const IndexScores &indices,
                const ItemScores &items);
    // The same from the result file's own windows-1251 lines, without decoding them.
    void appendRaw(const QString &file, const std::array<QByteArrayView, 7> &headerLines, const IndexScores &indices,
                   const ItemScores &items);

    QString text(qsizetype member, Field field) const;
    // The bytes of a text as stored, without decoding them: UTF-8 when *utf8 comes back true, else
    // windows-1251. Valid until the table changes.
    QByteArrayView storedText(qsizetype member, Field field, bool *utf8) const;
    QString file(qsizetype member) const { return text(member, File); }
    QString name(qsizetype member) const { return text(member, Name); }
    RespondentHeader header(qsizetype member) const;
    // Information line n, 1 to 4.
    QString info(qsizetype member, int n) const { return text(member, Field(Info1 + n - 1)); }

    // Index i (1 to 12) and statement s (1 to 60), exactly as appended.
    double index(qsizetype member, int i) const { return score(member, i - 1); }
    double statement(qsizetype member, int s) const { return score(member, Resource::IndexCount + s - 1); }
    IndexScores indexScores(qsizetype member) const;
    ItemScores itemScores(qsizetype member) const;
    // All of a member's scores at once, the indices and then the statements, exactly as appended: the
    // quick way through every member of a large group.
    static constexpr int ScoresPerMember = Resource::IndexCount + Resource::StatementCount;
    using AllScores = std::array<double, ScoresPerMember>;
    void allScores(qsizetype member, AllScores &scores) const;

    // Bytes held, for the benchmarks.
    qsizetype bytesUsed() const;

private:
    static constexpr std::int16_t Exact = INT16_MIN; // the score is in m_exact

    double score(qsizetype member, int slot) const;
    void appendScores(const IndexScores &indices, const ItemScores &items);
    void appendText(QByteArrayView bytes, bool utf8);
    void appendText(const QString &text);

    std::vector<std::int16_t> m_hundredths;
    // Scores that hundredths cannot give back exactly: (member * 72 + slot, value), in slot order.
    std::vector<std::pair<std::uint64_t, double>> m_exact;
    // Every member's texts, field after field: a length (times two, plus one for UTF-8) as a
    // variable-length number, then the bytes. Held in blocks that never move, so that growing the
    // table never needs twice its size; one member's texts lie within one block.
    std::vector<QByteArray> m_blocks;
    // Block number (high 32 bits) and offset in it (low 32 bits) of each member's texts.
    std::vector<std::uint64_t> m_textStart;
};
