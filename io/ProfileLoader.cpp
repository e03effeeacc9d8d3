#include "ProfileLoader.h"

#include "GroupArithmetic.h"
#include "ResultFolder.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <optional>
#include <vector>

namespace ProfileLoader {
namespace {

// Progress goes to the caller at least this often, so that a click on Cancel is seen at once.
constexpr qsizetype ReportEveryMembers = 64;
constexpr qint64 ReportEveryMilliseconds = 50;
// How far the helper threads may read ahead of the member being added, and how many consecutive
// members one helper reads before it hands them over (fewer hand-overs, less waiting on each other).
constexpr int ReadAhead = 512;
constexpr int Chunk = 64;
static_assert(ReadAhead % Chunk == 0, "a chunk reuses the slots of the chunk ReadAhead members before it");

// A member as read, with the hash by which its repeats are found (GroupRepeats), worked out on the
// helper thread that read it.
struct ReadRecord
{
    StoredRecord record;
    std::size_t hash = 0;
};

// Reads one member; running out of memory becomes the member's message.
Outcome<ReadRecord> readMember(const FolderListing &listing, const FolderEntry &entry, const QByteArray &key)
{
    const QString path = listing.path(entry);
    try {
        const Outcome<QByteArray> bytes = ResultFile::readStoredBytes(path, listing.nativePath(entry));
        if (!bytes)
            return bytes.failure();
        Outcome<StoredRecord> parsed = ResultFile::parseStoredText(*bytes, path, key);
        if (!parsed)
            return parsed.failure();
        ReadRecord read{std::move(parsed).value(), 0};
        MemberTable::AllScores scores;
        std::copy(read.record.indexScores.begin(), read.record.indexScores.end(), scores.begin());
        std::copy(read.record.itemScores.begin(), read.record.itemScores.end(), scores.begin() + Resource::IndexCount);
        read.hash = GroupRepeats::contentHash(read.record.headerBytes(), {}, scores); // a result file's lines: windows-1251
        return read;
    } catch (const std::bad_alloc &) {
        return Outcome<ReadRecord>::failed(ResultFile::cannotOpenMessage(path) + u'\n'
                                             + QCoreApplication::translate("ProfileLoader", "Not enough memory to read it."));
    }
}

// Reads the members on a pool of helper threads, at most ReadAhead members ahead of the one the
// caller takes, so that memory stays bounded however large the group; the caller takes them in order.
// The members are read in chunks of Chunk consecutive ones, one task of the pool each: a chunk is
// handed to the pool once the chunk ReadAhead members before it has been taken, into the same slots.
class MemberReader
{
public:
    MemberReader(const FolderListing &listing, const QByteArray &key)
        : m_listing(listing), m_key(key), m_total(listing.entries.size()), m_slots(std::size_t(ReadAhead))
    {
        m_pool.setMaxThreadCount(std::clamp(QThread::idealThreadCount(), 1, 8));
        for (qsizetype first = 0; first < std::min<qsizetype>(m_total, ReadAhead); first += Chunk)
            readChunk(first);
    }

    ~MemberReader()
    {
        // The chunks not begun are dropped; those under way stop after the member they are reading.
        m_stopping = true;
        m_pool.clear();
        m_pool.waitForDone();
    }

    MemberReader(const MemberReader &) = delete;
    MemberReader &operator=(const MemberReader &) = delete;

    // Waits for member k, which must be the one after the last taken.
    Outcome<ReadRecord> take(qsizetype k)
    {
        std::unique_lock lock(m_mutex);
        auto &slot = m_slots[std::size_t(k % ReadAhead)];
        m_ready.wait(lock, [&] { return slot.has_value(); });
        Outcome<ReadRecord> outcome = std::move(*slot);
        slot.reset();
        lock.unlock();
        // A chunk taken whole leaves its slots to the chunk ReadAhead members further on.
        if (const qsizetype next = k + 1 - Chunk + ReadAhead; (k + 1) % Chunk == 0 && next < m_total)
            readChunk(next);
        return outcome;
    }

private:
    void readChunk(qsizetype first)
    {
        m_pool.start([this, first] {
            const qsizetype end = std::min(m_total, first + Chunk);
            std::vector<Outcome<ReadRecord>> read;
            read.reserve(std::size_t(end - first));
            for (qsizetype k = first; k < end; ++k) {
                if (m_stopping)
                    return;
                read.push_back(readMember(m_listing, m_listing.entries[k], m_key));
            }
            {
                const std::lock_guard lock(m_mutex);
                for (qsizetype k = first; k < end; ++k)
                    m_slots[std::size_t(k % ReadAhead)] = std::move(read[std::size_t(k - first)]);
            }
            m_ready.notify_all();
        });
    }

    const FolderListing &m_listing;
    const QByteArray m_key;
    const qsizetype m_total;
    std::mutex m_mutex;
    std::condition_variable m_ready; // a chunk has been read
    std::vector<std::optional<Outcome<ReadRecord>>> m_slots;
    std::atomic<bool> m_stopping = false;
    QThreadPool m_pool; // last: its tasks end before the rest goes
};

RespondentHeader groupHeader(const QString &name)
{
    RespondentHeader header;
    header.code = ProfileText::groupCode();
    header.date = groupDate();
    header.name = name.isNull() ? ProfileText::groupName() : name;
    return header;
}

// Leaves out the members that repeat another (GroupRepeats); the group's folder tells whether two of
// them are the very same file.
std::shared_ptr<MemberTable> withoutRepeats(std::shared_ptr<MemberTable> table, const QString &folder, GroupRepeats::Found &found,
                                            const std::vector<std::size_t> *hashes = nullptr)
{
    const QString base = folder.isEmpty() || folder.endsWith(u'/') ? folder : folder + u'/';
    const auto sameFile = [&](qsizetype a, qsizetype b) {
        const QString first = QFileInfo(base + table->file(a)).canonicalFilePath();
        return !first.isEmpty() && first == QFileInfo(base + table->file(b)).canonicalFilePath();
    };
    const QList<qsizetype> kept = GroupRepeats::find(*table, found, sameFile, hashes);
    if (kept.size() == table->size())
        return table;
    return GroupRepeats::without(*table, kept);
}

} // namespace

QString groupDate()
{
    return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
}

Profile respondentProfile(const QString &path, const ResultRecord &record)
{
    auto members = std::make_shared<MemberTable>();
    members->append(QFileInfo(path).fileName(), record.header, record.indexScores, record.itemScores);
    Profile profile;
    profile.header = record.header;
    profile.source = path;
    profile.members = std::move(members);
    profile.setScores(record.indexScores, record.itemScores);
    return profile;
}

Outcome<Profile> loadFile(const QString &path, const QByteArray &key)
{
    const Outcome<ResultRecord> record = ResultFile::readFile(path, key);
    if (!record)
        return record.failure();
    return respondentProfile(path, *record);
}

Profile groupProfile(std::shared_ptr<const MemberTable> members, const QString &source, const QList<qsizetype> &chosen,
                     const QString &name)
{
    const GroupArithmetic::MeanScores mean = GroupArithmetic::mean(*members, chosen);
    Profile profile;
    profile.group = true;
    profile.header = groupHeader(name);
    profile.source = source;
    if (chosen.isEmpty()) {
        profile.members = std::move(members);
    } else {
        auto subset = std::make_shared<MemberTable>();
        subset->reserve(chosen.size());
        for (qsizetype k : chosen)
            subset->append(members->file(k), members->header(k), members->indexScores(k), members->itemScores(k));
        profile.members = std::move(subset);
    }
    profile.setScores(mean.indices, mean.items);
    return profile;
}

Profile memberProfile(const Profile &group, qsizetype member)
{
    const MemberTable &table = *group.members;
    ResultRecord record{table.header(member), table.indexScores(member), table.itemScores(member)};
    const QString folder = group.source.endsWith(u'/') ? group.source : group.source + u'/';
    return respondentProfile(folder + table.file(member), record);
}

Outcome<GroupLoad> loadFolder(const QString &folder, const FolderOptions &options)
{
    const FolderListing listing = ResultFolder::members(folder);
    const QList<FolderEntry> &entries = listing.entries;
    // A folder that cannot be listed loses its members: it ends the build, or with leaveOutBad is
    // named with the members left out.
    if (!listing.unreadable.isEmpty() && (entries.isEmpty() || !options.leaveOutBad)) {
        QStringList messages;
        for (const UnreadableFolder &unreadable : listing.unreadable)
            messages << unreadable.message;
        return Outcome<GroupLoad>::failed(messages.join(u'\n'));
    }
    if (entries.isEmpty())
        return Outcome<GroupLoad>::failed(ResultFolder::emptyFolderMessage(folder));

    const qsizetype total = entries.size();
    auto table = std::make_shared<MemberTable>();
    table->reserve(total);
    std::vector<std::size_t> hashes;
    hashes.reserve(std::size_t(total));
    GroupLoad load;
    for (const UnreadableFolder &unreadable : listing.unreadable)
        load.leftOut.append({unreadable.name, unreadable.message});
    QString failure;
    bool cancelled = false;
    QElapsedTimer sinceReport;
    sinceReport.start();
    qsizetype reported = 0;
    {
        // Members are read and deciphered on helper threads and added here in name order.
        MemberReader reader(listing, options.key);
        for (qsizetype k = 0; k < total; ++k) {
            Outcome<ReadRecord> member = reader.take(k);
            if (!member) {
                if (!options.leaveOutBad) {
                    failure = member.message();
                    break;
                }
                load.leftOut.append({entries[k].name, member.message()});
            } else {
                table->appendRaw(entries[k].name, member->record.headerBytes(), member->record.indexScores, member->record.itemScores);
                hashes.push_back(member->hash);
            }
            const qsizetype done = k + 1;
            if (options.progress
                && (done == total || done - reported >= ReportEveryMembers || sinceReport.elapsed() >= ReportEveryMilliseconds)) {
                reported = done;
                sinceReport.restart();
                if (!options.progress(done, total)) {
                    cancelled = true;
                    break;
                }
            }
        }
    }
    if (cancelled)
        return Outcome<GroupLoad>::cancelledByUser();
    if (!failure.isEmpty())
        return Outcome<GroupLoad>::failed(failure);
    if (table->isEmpty()) {
        QString message = QCoreApplication::translate("ProfileLoader", "No result file of the folder %1 can be read:")
                              .arg(QDir::toNativeSeparators(folder));
        // Each file with its whole message: a reading error's first line names the line's text only
        // (the file is on the second), an opening error's names the file only (why is on the second).
        for (const LeftOut &bad : std::as_const(load.leftOut))
            message += u'\n' + bad.message;
        return Outcome<GroupLoad>::failed(message);
    }
    load.profile = groupProfile(withoutRepeats(std::move(table), folder, load.repeats, &hashes), folder);
    return load;
}

GroupLoad joinGroups(QList<GroupPart> parts, const QString &common)
{
    GroupLoad joined;
    auto members = std::make_shared<MemberTable>();
    const auto named = [](const QString &relative, const QString &file) { return relative.isEmpty() ? file : relative + u'/' + file; };
    QList<GroupRepeats::Repeat> repeatsWithin;
    for (GroupPart &part : parts) {
        const MemberTable &table = *part.load.profile.members;
        for (qsizetype k = 0; k < table.size(); ++k)
            members->append(named(part.relative, table.file(k)), table.header(k), table.indexScores(k), table.itemScores(k));
        for (LeftOut &bad : part.load.leftOut)
            joined.leftOut.append({named(part.relative, bad.file), std::move(bad.message)});
        for (GroupRepeats::Repeat &repeat : part.load.repeats.repeats)
            repeatsWithin.append({named(part.relative, repeat.file), named(part.relative, repeat.keptAs), repeat.sameFile});
    }
    members = withoutRepeats(std::move(members), common, joined.repeats);
    joined.repeats.repeats = repeatsWithin + joined.repeats.repeats;
    joined.profile = groupProfile(std::move(members), common);
    return joined;
}

} // namespace ProfileLoader
