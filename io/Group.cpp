#include "Group.h"

#include "ResultFile.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <vector>

QString GroupProfile::hint() const
{
    QString text = QStringLiteral("Состав группы:");
    for (const QString &name : memberNames)
        text += QStringLiteral("\r\n") + name;
    return text;
}

namespace Group {
namespace {

// Progress goes to the caller at least this often, so that a click on Cancel is seen at once.
constexpr int ReportEveryMembers = 64;
constexpr qint64 ReportEveryMilliseconds = 50;
// How far the helper threads may read ahead of the member being added, and how many consecutive
// members one helper reads before it hands them over (fewer hand-overs, less waiting on each other).
constexpr int ReadAhead = 256;
constexpr int Chunk = 16;

// Reads one member; whatever the reading throws (out of memory included) becomes the member's error.
ReadOutcome readMember(const QString &path, const QByteArray &key, bool keepPlainText)
{
    try {
        return ResultFile::readFile(path, key, keepPlainText);
    } catch (const std::bad_alloc &) {
        return {std::nullopt, QStringLiteral("Недостаточно памяти для чтения файла %1").arg(QDir::toNativeSeparators(path))};
    } catch (const std::exception &error) {
        return {std::nullopt, QString::fromLocal8Bit(error.what())};
    }
}

// Reads the members on helper threads, at most ReadAhead members ahead of the one the caller takes,
// so that memory stays bounded however large the group; the caller takes them in file-name order.
class MemberReader
{
public:
    MemberReader(const QString &base, const QStringList &names, const QByteArray &key, bool keepLastPlainText)
        : m_base(base), m_names(names), m_key(key), m_keepLast(keepLastPlainText), m_slots(std::size_t(ReadAhead))
    {
        const int workers = int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
        for (int k = 0; k < std::min(workers, int(names.size())); ++k)
            m_workers.emplace_back([this] { work(); });
    }

    ~MemberReader()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_room.notify_all();
        // The jthreads join here, each after the member it is reading.
    }

    MemberReader(const MemberReader &) = delete;
    MemberReader &operator=(const MemberReader &) = delete;

    // Waits for member k, which must be the one after the last taken.
    ReadOutcome take(int k)
    {
        std::unique_lock lock(m_mutex);
        auto &slot = m_slots[std::size_t(k % ReadAhead)];
        m_ready.wait(lock, [&] { return slot.has_value(); });
        ReadOutcome outcome = std::move(*slot);
        slot.reset();
        m_taken = k + 1;
        // Room for a helper once a whole chunk has been taken.
        const bool room = m_taken % Chunk == 0;
        lock.unlock();
        if (room)
            m_room.notify_all();
        return outcome;
    }

private:
    void work()
    {
        const int total = int(m_names.size());
        std::vector<ReadOutcome> read;
        for (;;) {
            int first = 0;
            {
                std::unique_lock lock(m_mutex);
                m_room.wait(lock, [&] { return m_stopping || m_next >= total || m_next + Chunk <= m_taken + ReadAhead; });
                if (m_stopping || m_next >= total)
                    return;
                first = m_next;
                m_next = std::min(total, m_next + Chunk);
            }
            const int end = std::min(total, first + Chunk);
            read.clear();
            for (int k = first; k < end; ++k)
                read.push_back(readMember(m_base + m_names[k], m_key, m_keepLast && k == total - 1));
            {
                const std::lock_guard lock(m_mutex);
                for (int k = first; k < end; ++k)
                    m_slots[std::size_t(k % ReadAhead)] = std::move(read[std::size_t(k - first)]);
            }
            m_ready.notify_all();
        }
    }

    const QString m_base;
    const QStringList m_names;
    const QByteArray m_key;
    const bool m_keepLast;
    std::mutex m_mutex;
    std::condition_variable m_ready; // a member has been read
    std::condition_variable m_room;  // a member has been taken, or the reading stops
    std::vector<std::optional<ReadOutcome>> m_slots;
    int m_next = 0;  // the next member a helper reads
    int m_taken = 0; // members taken by the caller
    bool m_stopping = false;
    std::vector<std::jthread> m_workers; // last: they stop and join before the rest goes
};

// A folder with its trailing separator, to which member names are appended.
QString baseOf(const QString &folder)
{
    return folder.isEmpty() || folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

QString folderOf(const QString &chosenFile)
{
    const QString path = QDir::fromNativeSeparators(chosenFile);
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash + 1);
}

QStringList memberFiles(const QString &folder)
{
    QStringList names;
    // Every entry named like a result file is a member, folders too: a folder cannot be read and ends
    // the build with its name, rather than being left out unseen.
    QDirIterator it(folder.isEmpty() ? QStringLiteral(".") : folder,
                    QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (name.endsWith(QStringLiteral(".cry"), Qt::CaseInsensitive))
            names << name;
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

void readMembers(const QString &folder, const QStringList &names, const MemberTake &take, bool keepLastPlainText)
{
    const QString base = baseOf(folder);
    MemberReader reader(base, names, ResultFile::keyBytes(), keepLastPlainText);
    for (int k = 0; k < int(names.size()); ++k)
        if (!take(k, base + names[k], reader.take(k)))
            return;
}

GroupOutcome build(const QString &folder, const Progress &progress)
{
    const QStringList names = memberFiles(folder);
    if (names.isEmpty())
        return {std::nullopt, emptyFolderMessage(folder), false};

    const int total = int(names.size());
    // Members are read and deciphered on helper threads; the sums are formed here in file-name order,
    // one addition per member, so the result does not depend on the number of cores.
    GroupProfile group;
    group.memberNames.reserve(total);
    group.members.reserve(total);
    group.memberFiles.reserve(total);
    GroupOutcome outcome;
    QElapsedTimer sinceReport;
    sinceReport.start();
    int reported = 0;
    readMembers(folder, names, [&](int k, const QString &path, ReadOutcome &&member) {
        if (!member.ok()) {
            // The message names the member once: "Cannot open file" already does.
            const QString native = QDir::toNativeSeparators(path);
            outcome.error = member.error.contains(native) ? member.error : member.error + u'\n' + native;
            return false;
        }
        const ResultRecord &record = *member.record;
        ++group.memberCount;
        for (std::size_t j = 0; j < group.indexScores.size(); ++j)
            group.indexScores[j] = group.indexScores[j] + record.indexScores[j];
        for (std::size_t j = 0; j < group.itemScores.size(); ++j)
            group.itemScores[j] = group.itemScores[j] + record.itemScores[j];
        group.memberNames << record.name;
        group.memberFiles << names[k];
        if (k == total - 1) {
            group.lastPlainText = record.plainText;
            member.record->plainText.clear();
        }
        group.members << std::move(*member.record);
        const bool last = group.memberCount == total;
        if (progress && (last || group.memberCount - reported >= ReportEveryMembers
                         || sinceReport.elapsed() >= ReportEveryMilliseconds)) {
            reported = group.memberCount;
            sinceReport.restart();
            if (!progress(group.memberCount, total)) {
                outcome.cancelled = true;
                return false;
            }
        }
        return true;
    }, true);
    if (!outcome.error.isEmpty() || outcome.cancelled)
        return outcome;
    for (double &sum : group.indexScores)
        sum /= group.memberCount;
    for (double &sum : group.itemScores)
        sum /= group.memberCount;
    outcome.group = std::move(group);
    return outcome;
}

QString emptyFolderMessage(const QString &folder)
{
    return QStringLiteral("В папке %1 нет файлов результатов (*.cry).")
        .arg(QDir::toNativeSeparators(folder));
}

} // namespace Group
