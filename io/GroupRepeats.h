#pragma once
// Every respondent of a group once. A result file that a group reaches twice (a folder named twice,
// a folder and a sub-folder of it, a copy of a file under another name, the same answer sheet
// imported twice) would count its respondent twice: the group would grow, a small department would
// pass the anonymity threshold. Members with the same header (date, code, name, the four
// information lines) and the same scores are one respondent: the one with the shortest file name
// stays (the first in the table's order among equals), the others are left out and named. Members that share a code but differ in their answers are two
// respondents (or one who answered twice): both stay, and they are named in a warning.
//
// Members are found alike by a hash of their content, sorted, and compared in full only where the
// hashes agree: no comparison of every pair, so that a group of a hundred thousand is checked in a
// few milliseconds.

#include "MemberTable.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace GroupRepeats {

struct Repeat
{
    QString file;    // the member left out, named as in the table
    QString keptAs;  // the member that stays
    bool sameFile;   // the very same file reached twice, not a copy
};

// Files of one code with different answers: the first of them in table order (at most
// ListedAtMost, to keep a group of thousands under one code small), and how many there are.
struct SameCode
{
    static constexpr qsizetype ListedAtMost = 20;
    QStringList files;
    qsizetype count = 0;
};

struct Found
{
    QList<Repeat> repeats;
    QList<SameCode> sameCode;

    bool isEmpty() const { return repeats.isEmpty() && sameCode.isEmpty(); }
};

// The hash members are compared by: the header texts (date, code, name, the four information lines)
// as the table holds them, with whether each is UTF-8, and the scores bit for bit.
using HeaderTexts = std::array<QByteArrayView, 7>;
std::size_t contentHash(const HeaderTexts &texts, const std::array<bool, 7> &utf8, const MemberTable::AllScores &scores);
std::size_t contentHash(const MemberTable &table, qsizetype member);

// Finds the repeated members of table. sameFile(a, b), where given, tells whether two members are
// the same file on disk (else every repeat is a copy). hashes, where given, are every member's
// contentHash, worked out already (the group's reading does so on its helper threads). Returns the
// members that stay, in table order, or all members when none repeats.
QList<qsizetype> find(const MemberTable &table, Found &found,
                      const std::function<bool(qsizetype, qsizetype)> &sameFile = {},
                      const std::vector<std::size_t> *hashes = nullptr);

// The table without the repeated members (its own order kept).
std::shared_ptr<MemberTable> without(const MemberTable &table, const QList<qsizetype> &kept);

// The message for the user: the files left out and what each repeats, then the codes that several
// different files carry; empty when found is empty. At most limit lines of each kind ("… и ещё N").
QString message(const Found &found, int limit = 20);

} // namespace GroupRepeats
