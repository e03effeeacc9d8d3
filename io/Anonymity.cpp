#include "Anonymity.h"

#include <algorithm>
#include <vector>

namespace Anonymity {
namespace {

constexpr int Rest = -1; // the label of a member whose segment is hidden

// One split as the reader sees it: each member labelled with its shown segment, or Rest.
struct Published
{
    const QList<GroupArithmetic::Segment> *segments = nullptr;
    QList<Visibility> *visibility = nullptr;
    std::vector<int> label;
    qsizetype restSize = 0;

    qsizetype blockSize(int block) const { return block == Rest ? restSize : (*segments)[block].members.size(); }

    void hide(int g, Visibility why)
    {
        (*visibility)[g] = why;
        for (qsizetype k : (*segments)[g].members)
            label[std::size_t(k)] = Rest;
        restSize += (*segments)[g].members.size();
    }

    // The smallest shown segment (the first in name order among equals), or -1.
    int smallestShown() const
    {
        int smallest = -1;
        for (int g = 0; g < int(segments->size()); ++g)
            if ((*visibility)[g] == Visibility::Shown
                && (smallest < 0 || (*segments)[g].members.size() < (*segments)[smallest].members.size()))
                smallest = g;
        return smallest;
    }

    // Calls visit(member) for every member of a block, until it returns false; false if it did.
    template <typename Visit>
    bool forBlock(int block, Visit visit) const
    {
        if (block != Rest) {
            for (qsizetype k : (*segments)[block].members)
                if (!visit(k))
                    return false;
            return true;
        }
        for (int g = 0; g < int(segments->size()); ++g)
            if ((*visibility)[g] != Visibility::Shown)
                for (qsizetype k : (*segments)[g].members)
                    if (!visit(k))
                        return false;
        return true;
    }
};

// Rule 2: the hidden rest of a split holds no members or at least minimum.
bool protectRest(Published &split, int minimum)
{
    bool changed = false;
    while (split.restSize > 0 && split.restSize < minimum) {
        const int smallest = split.smallestShown();
        if (smallest < 0)
            break;
        split.hide(smallest, Visibility::Protects);
        changed = true;
    }
    return changed;
}

// The block of other that holds every member of block b of split, or nothing (-2).
int enclosingBlock(const Published &split, int b, const Published &other)
{
    int enclosing = -2;
    const bool inside = split.forBlock(b, [&](qsizetype k) {
        const int label = other.label[std::size_t(k)];
        if (enclosing == -2)
            enclosing = label;
        return label == enclosing;
    });
    return inside ? enclosing : -2;
}

// Rule 3 for one block of a split against every other split; true when something was hidden.
bool protectInside(std::vector<Published> &published, std::size_t p, int b, int minimum)
{
    Published &split = published[p];
    const qsizetype size = split.blockSize(b);
    if (size == 0)
        return false;
    for (std::size_t q = 0; q < published.size(); ++q) {
        if (q == p)
            continue;
        Published &other = published[q];
        const int a = enclosingBlock(split, b, other);
        if (a == -2)
            continue;
        const qsizetype difference = other.blockSize(a) - size;
        if (difference <= 0 || difference >= minimum)
            continue;
        if (b != Rest)
            split.hide(b, Visibility::Protects);
        else if (a != Rest)
            other.hide(a, Visibility::Protects);
        else if (const int smallest = other.smallestShown(); smallest >= 0)
            other.hide(smallest, Visibility::Protects);
        else
            continue;
        return true;
    }
    return false;
}

} // namespace

Splits allSplits(const MemberTable &table)
{
    Splits splits;
    for (GroupArithmetic::SplitBy by : {GroupArithmetic::SplitBy::Info1, GroupArithmetic::SplitBy::Info2, GroupArithmetic::SplitBy::Info3,
                                        GroupArithmetic::SplitBy::Info4, GroupArithmetic::SplitBy::Folder})
        splits.append(GroupArithmetic::split(table, by));
    return splits;
}

QList<QList<Visibility>> visibility(const Splits &splits, qsizetype members, int minimum)
{
    QList<QList<Visibility>> result;
    result.reserve(splits.size());
    for (const QList<GroupArithmetic::Segment> &segments : splits)
        result.append(QList<Visibility>(segments.size(), Visibility::Shown));

    // Members as numbers below members; a list made by hand may number beyond it.
    for (const QList<GroupArithmetic::Segment> &segments : splits)
        for (const GroupArithmetic::Segment &segment : segments)
            for (qsizetype k : segment.members)
                members = std::max(members, k + 1);
    std::vector<Published> published(std::size_t(splits.size()));
    for (qsizetype p = 0; p < splits.size(); ++p) {
        Published &split = published[std::size_t(p)];
        split.segments = &splits[p];
        split.visibility = &result[p];
        split.label.assign(std::size_t(members), Rest);
        for (int g = 0; g < int(splits[p].size()); ++g) {
            for (qsizetype k : splits[p][g].members)
                split.label[std::size_t(k)] = g;
        }
        // Rule 1.
        for (int g = 0; g < int(splits[p].size()); ++g)
            if (splits[p][g].members.size() < minimum)
                split.hide(g, Visibility::TooSmall);
    }

    // Rules 2 and 3 until neither hides anything more.
    for (bool changed = true; changed;) {
        changed = false;
        for (Published &split : published)
            changed |= protectRest(split, minimum);
        for (std::size_t p = 0; p < published.size(); ++p) {
            const int blocks = int(splits[qsizetype(p)].size());
            for (int b = Rest; b < blocks; ++b) {
                if (b != Rest && (*published[p].visibility)[b] != Visibility::Shown)
                    continue;
                if (protectInside(published, p, b, minimum)) {
                    changed = true;
                    protectRest(published[p], minimum);
                }
            }
        }
    }
    return result;
}

} // namespace Anonymity
