#include "GroupRepeats.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

namespace GroupRepeats {
namespace {

constexpr MemberTable::Field ContentFields[] = {MemberTable::Date,  MemberTable::Code,  MemberTable::Name, MemberTable::Info1,
                                                MemberTable::Info2, MemberTable::Info3, MemberTable::Info4};

} // namespace

std::size_t contentHash(const HeaderTexts &texts, const std::array<bool, 7> &utf8, const MemberTable::AllScores &scores)
{
    // A text the code page holds is always stored in it, so the same text has the same bytes.
    std::size_t hash = 0;
    for (std::size_t f = 0; f < texts.size(); ++f)
        hash = qHashMulti(hash, qHashBits(texts[f].data(), std::size_t(texts[f].size()), utf8[f] ? 1 : 0), texts[f].size());
    return qHashBits(scores.data(), sizeof scores, hash);
}

std::size_t contentHash(const MemberTable &table, qsizetype member)
{
    HeaderTexts texts;
    std::array<bool, 7> utf8{};
    for (std::size_t f = 0; f < texts.size(); ++f)
        texts[f] = table.storedText(member, ContentFields[f], &utf8[f]);
    MemberTable::AllScores scores;
    table.allScores(member, scores);
    return contentHash(texts, utf8, scores);
}

namespace {

bool sameText(const MemberTable &table, qsizetype a, qsizetype b, MemberTable::Field field)
{
    bool utf8a = false;
    bool utf8b = false;
    const QByteArrayView x = table.storedText(a, field, &utf8a);
    const QByteArrayView y = table.storedText(b, field, &utf8b);
    return utf8a == utf8b && x == y;
}

bool sameContent(const MemberTable &table, qsizetype a, qsizetype b)
{
    for (MemberTable::Field field : ContentFields)
        if (!sameText(table, a, b, field))
            return false;
    MemberTable::AllScores x;
    MemberTable::AllScores y;
    table.allScores(a, x);
    table.allScores(b, y);
    return std::memcmp(x.data(), y.data(), sizeof x) == 0;
}

// Runs of equal keys in a sorted list: visit(first, end) for each run of two or more.
template <typename Visit>
void forRuns(const std::vector<std::pair<std::size_t, qsizetype>> &sorted, Visit visit)
{
    for (std::size_t first = 0; first < sorted.size();) {
        std::size_t end = first + 1;
        while (end < sorted.size() && sorted[end].first == sorted[first].first)
            ++end;
        if (end - first > 1)
            visit(first, end);
        first = end;
    }
}

} // namespace

QList<qsizetype> find(const MemberTable &table, Found &found, const std::function<bool(qsizetype, qsizetype)> &sameFile,
                      const std::vector<std::size_t> *hashes)
{
    found = {};
    const qsizetype n = table.size();
    std::vector<std::pair<std::size_t, qsizetype>> keys;
    keys.reserve(std::size_t(n));
    for (qsizetype k = 0; k < n; ++k)
        keys.emplace_back(hashes && qsizetype(hashes->size()) == n ? (*hashes)[std::size_t(k)] : contentHash(table, k), k);
    std::sort(keys.begin(), keys.end());

    // repeatOf[k]: the member that k repeats, or -1.
    std::vector<qsizetype> repeatOf(std::size_t(n), -1);
    bool anyRepeat = false;
    forRuns(keys, [&](std::size_t first, std::size_t end) {
        // The member that stays is the one with the shortest name ("0001.cry" rather than the
        // "0001 (2).cry" beside it), the first in table order among equals. Each member is compared
        // with those before it that stay, so that hashes that merely collide keep both members.
        std::vector<std::pair<qsizetype, qsizetype>> run; // (name length, member)
        for (std::size_t i = first; i < end; ++i) {
            bool utf8 = false;
            run.emplace_back(table.storedText(keys[i].second, MemberTable::File, &utf8).size(), keys[i].second);
        }
        std::sort(run.begin(), run.end());
        for (std::size_t i = 1; i < run.size(); ++i) {
            const qsizetype k = run[i].second;
            for (std::size_t j = 0; j < i; ++j) {
                const qsizetype kept = run[j].second;
                if (repeatOf[std::size_t(kept)] < 0 && sameContent(table, kept, k)) {
                    repeatOf[std::size_t(k)] = kept;
                    anyRepeat = true;
                    break;
                }
            }
        }
    });

    QList<qsizetype> kept;
    if (anyRepeat) {
        kept.reserve(n);
        for (qsizetype k = 0; k < n; ++k) {
            const qsizetype earlier = repeatOf[std::size_t(k)];
            if (earlier < 0)
                kept.append(k);
            else
                found.repeats.append({table.file(k), table.file(earlier), sameFile && sameFile(earlier, k)});
        }
    }

    // The same code on members that stay: different answers under one code.
    keys.clear();
    for (qsizetype k = 0; k < n; ++k) {
        if (repeatOf[std::size_t(k)] >= 0)
            continue;
        bool utf8 = false;
        const QByteArrayView code = table.storedText(k, MemberTable::Code, &utf8);
        if (!code.trimmed().isEmpty())
            keys.emplace_back(qHashBits(code.data(), std::size_t(code.size()), utf8 ? 1 : 0), k);
    }
    std::sort(keys.begin(), keys.end());
    forRuns(keys, [&](std::size_t first, std::size_t end) {
        std::vector<bool> listed(end - first, false);
        for (std::size_t i = first; i < end; ++i) {
            if (listed[i - first])
                continue;
            SameCode same{{table.file(keys[i].second)}, 1};
            for (std::size_t j = i + 1; j < end; ++j)
                if (!listed[j - first] && sameText(table, keys[i].second, keys[j].second, MemberTable::Code)) {
                    listed[j - first] = true;
                    if (++same.count <= SameCode::ListedAtMost)
                        same.files << table.file(keys[j].second);
                }
            if (same.count > 1)
                found.sameCode.append(same);
        }
    });
    std::sort(found.sameCode.begin(), found.sameCode.end(),
              [](const SameCode &a, const SameCode &b) { return a.files.first() < b.files.first(); });
    if (!anyRepeat) {
        kept.resize(n);
        std::iota(kept.begin(), kept.end(), qsizetype(0));
    }
    return kept;
}

std::shared_ptr<MemberTable> without(const MemberTable &table, const QList<qsizetype> &kept)
{
    auto result = std::make_shared<MemberTable>();
    result->reserve(kept.size());
    for (qsizetype k : kept)
        result->append(table.file(k), table.header(k), table.indexScores(k), table.itemScores(k));
    return result;
}

QString message(const Found &found, int limit)
{
    QStringList lines;
    const auto shown = [](const QString &file) { return QDir::toNativeSeparators(file); };
    if (!found.repeats.isEmpty()) {
        lines << QCoreApplication::translate("GroupRepeats", "These respondents are counted once; their repeats are left out:");
        for (qsizetype k = 0; k < found.repeats.size() && k < limit; ++k) {
            const Repeat &repeat = found.repeats[k];
            if (repeat.sameFile && repeat.file == repeat.keptAs)
                lines << QCoreApplication::translate("GroupRepeats", "%1: read twice, through two of the folders named").arg(shown(repeat.file));
            else
                lines << (repeat.sameFile ? QCoreApplication::translate("GroupRepeats", "%1: the same file as %2, read twice")
                                          : QCoreApplication::translate("GroupRepeats", "%1: the same answers and header as %2"))
                             .arg(shown(repeat.file), shown(repeat.keptAs));
        }
        if (found.repeats.size() > limit)
            lines << QCoreApplication::translate("GroupRepeats", "… and %1 more").arg(found.repeats.size() - limit);
    }
    if (!found.sameCode.isEmpty()) {
        lines << QCoreApplication::translate("GroupRepeats", "These files carry the same code with different answers; each "
                                                             "is counted (check whether one respondent answered twice):");
        for (qsizetype k = 0; k < found.sameCode.size() && k < limit; ++k) {
            const SameCode &same = found.sameCode[k];
            QStringList files;
            for (qsizetype f = 0; f < same.files.size() && f < limit; ++f)
                files << shown(same.files[f]);
            if (same.count > files.size())
                files << QCoreApplication::translate("GroupRepeats", "… and %1 more").arg(same.count - files.size());
            lines << files.join(QStringLiteral(", "));
        }
        if (found.sameCode.size() > limit)
            lines << QCoreApplication::translate("GroupRepeats", "… and %1 more").arg(found.sameCode.size() - limit);
    }
    return lines.join(u'\n');
}

} // namespace GroupRepeats
