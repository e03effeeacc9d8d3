#include "ProfileLoader.h"

#include "GroupArithmetic.h"
#include "ResultFolder.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>

#include <QFuture>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <atomic>
#include <deque>
#include <new>
#include <vector>

namespace ProfileLoader {
namespace {

// Progress goes to the caller at least this often, so that a click on Cancel is seen at once.
constexpr qsizetype ReportEveryMembers = 64;
constexpr qint64 ReportEveryMilliseconds = 50;
// How far the pool's threads may read ahead of the member being added, and how many consecutive
// members one task reads before it hands them over (fewer hand-overs, less waiting on each other).
constexpr qsizetype ReadAhead = 512;
constexpr qsizetype ChunkSize = 64;

// Reads one member; running out of memory becomes the member's message.
Outcome<StoredRecord> readMember(const FolderListing &listing, const FolderEntry &entry, const QByteArray &key)
{
    const QString path = listing.path(entry);
    try {
        const Outcome<QByteArray> bytes = ResultFile::readStoredBytes(path, listing.nativePath(entry));
        if (!bytes)
            return bytes.failure();
        return ResultFile::parseStoredText(*bytes, path, key);
    } catch (const std::bad_alloc &) {
        return Outcome<StoredRecord>::failed(ResultFile::cannotOpenMessage(path) + u'\n'
                                             + QCoreApplication::translate("ProfileLoader", "Not enough memory to read it."));
    }
}

// Reads the members in chunks on Qt's thread pool, at most ReadAhead members ahead of the one the
// caller takes, so that memory stays bounded however large the group; the caller takes them in order.
class MemberReader
{
public:
    using Chunk = std::vector<Outcome<StoredRecord>>;

    MemberReader(const FolderListing &listing, const QByteArray &key) : m_listing(listing), m_key(key) { readAhead(); }

    ~MemberReader()
    {
        // Chunks still being read stop at their next member; they use the listing, so wait for them.
        m_stopping = true;
        for (QFuture<Chunk> &chunk : m_chunks)
            chunk.waitForFinished();
    }

    MemberReader(const MemberReader &) = delete;
    MemberReader &operator=(const MemberReader &) = delete;

    // Waits for member k, which must be the one after the last taken.
    Outcome<StoredRecord> take(qsizetype k)
    {
        if (k % ChunkSize == 0) {
            m_current = m_chunks.front().takeResult();
            m_chunks.pop_front();
            readAhead();
        }
        return std::move(m_current[std::size_t(k % ChunkSize)]);
    }

private:
    void readAhead()
    {
        const qsizetype total = m_listing.entries.size();
        while (m_next < total && qsizetype(m_chunks.size()) * ChunkSize < ReadAhead) {
            const qsizetype first = m_next;
            m_next = std::min(total, m_next + ChunkSize);
            m_chunks.push_back(QtConcurrent::run([this, first, end = m_next] {
                Chunk read;
                read.reserve(std::size_t(end - first));
                for (qsizetype k = first; k < end; ++k)
                    read.push_back(m_stopping ? Outcome<StoredRecord>::cancelledByUser()
                                              : readMember(m_listing, m_listing.entries[k], m_key));
                return read;
            }));
        }
    }

    const FolderListing &m_listing;
    const QByteArray m_key;
    std::deque<QFuture<Chunk>> m_chunks; // in member order
    Chunk m_current;                     // the chunk the caller takes from
    qsizetype m_next = 0;                // the first member of the next chunk to read
    std::atomic<bool> m_stopping = false;
};

RespondentHeader groupHeader(const QString &name)
{
    RespondentHeader header;
    header.code = ProfileText::groupCode();
    header.date = groupDate();
    header.name = name.isNull() ? ProfileText::groupName() : name;
    return header;
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
    if (entries.isEmpty())
        return Outcome<GroupLoad>::failed(ResultFolder::emptyFolderMessage(folder));

    const qsizetype total = entries.size();
    auto table = std::make_shared<MemberTable>();
    table->reserve(total);
    GroupLoad load;
    QString failure;
    bool cancelled = false;
    QElapsedTimer sinceReport;
    sinceReport.start();
    qsizetype reported = 0;
    {
        // Members are read and deciphered on the pool's threads and added here in name order.
        MemberReader reader(listing, options.key);
        for (qsizetype k = 0; k < total; ++k) {
            Outcome<StoredRecord> member = reader.take(k);
            if (!member) {
                if (!options.leaveOutBad) {
                    failure = member.message();
                    break;
                }
                load.leftOut.append({entries[k].name, member.message()});
            } else {
                table->appendRaw(entries[k].name, member->headerBytes(), member->indexScores, member->itemScores);
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
    load.profile = groupProfile(std::move(table), folder);
    return load;
}

} // namespace ProfileLoader
