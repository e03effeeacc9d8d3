#include "SheetImport.h"

#include "FileNames.h"
#include "FileOutput.h"
#include "Cp1251.h"
#include "ProfileLoader.h"
#include "ResultFolder.h"
#include "ResultWriter.h"
#include "TemporaryFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <new>
#include <optional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace SheetImport {
namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("SheetImport", text);
}

QString systemError()
{
#ifdef Q_OS_UNIX
    return QString::fromLocal8Bit(std::strerror(errno));
#else
    return QString();
#endif
}

// Writes a new file whole; the file must not exist yet. Empty, or why not.
QString writeNew(const QString &path, const QByteArray &data)
{
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return systemError();
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t written = ::write(fd, data.constData() + done, std::size_t(data.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const QString why = written < 0 ? systemError() : tr("The write failed.");
            ::close(fd);
            return why;
        }
        done += written;
    }
    if (::close(fd) != 0)
        return systemError();
    return QString();
#else
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(data) != data.size()) {
        const QString why = file.errorString();
        file.close();
        return why.isEmpty() ? tr("The write failed.") : why;
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return QString();
#endif
}

// Moves a file to a name that must not exist; an entry made there meanwhile is never replaced.
QString moveNoReplace(const QString &from, const QString &to)
{
#ifdef Q_OS_LINUX
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return QString();
    if (errno != EINVAL && errno != ENOSYS)
        return systemError();
    // A file system without the flag: a second link, then the first one goes.
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return QString();
    }
    if (errno == EEXIST)
        return systemError();
#endif
    if (QFileInfo::exists(to))
        return tr("A file of that name exists.");
    // QDir moves folders as well as files (the new folder of writeFresh).
    return QDir().rename(from, to) ? QString() : tr("The move failed.");
}

// Makes folder and the folders above it that are missing; those made, outermost first.
Outcome<QStringList> makeFolder(const QString &folder)
{
    QStringList missing;
    QString dir = folder;
    while (!QFileInfo::exists(dir)) {
        missing.prepend(dir);
        const QString parent = QFileInfo(dir).path();
        if (parent == dir)
            break;
        dir = parent;
    }
    if (missing.isEmpty() && !QFileInfo(folder).isDir())
        return Outcome<QStringList>::failed(tr("Cannot make the folder %1: a file has that name.").arg(QDir::toNativeSeparators(folder)));
    QStringList made;
    for (const QString &path : std::as_const(missing)) {
        if (!QDir().mkdir(path)) {
            for (auto it = made.crbegin(); it != made.crend(); ++it)
                QDir().rmdir(*it);
            return Outcome<QStringList>::failed(tr("Cannot make the folder %1.").arg(QDir::toNativeSeparators(path)));
        }
        made << path;
    }
    return made;
}

// Syncs what was written in folder to the disk; empty, or why not.
QString syncFolder(const QString &folder, bool wholeFileSystem)
{
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return systemError();
    const int synced = wholeFileSystem ? ::syncfs(fd) : ::fsync(fd);
    const QString why = synced == 0 ? QString() : systemError();
    ::close(fd);
    return why;
#else
    Q_UNUSED(folder);
    Q_UNUSED(wholeFileSystem);
    return QString();
#endif
}

// Undoes the moves of an import: the new files go, the replaced ones come back.
class Moves
{
public:
    struct Move
    {
        QString target;
        QString backup; // where the replaced file waits; empty when none was replaced
    };

    void add(Move move) { m_moves.push_back(std::move(move)); }

    // Empty, or the files that could not be put back.
    QStringList undo()
    {
        QStringList lost;
        for (auto it = m_moves.crbegin(); it != m_moves.crend(); ++it) {
            QFile::remove(it->target);
            if (!it->backup.isEmpty() && !moveNoReplace(it->backup, it->target).isEmpty())
                lost << it->target;
        }
        m_moves.clear();
        return lost;
    }

private:
    std::vector<Move> m_moves;
};

} // namespace

namespace {

// A code as a result file stores it, folded: how codes of the sheet and of the folder compare.
QString codeKey(const QString &code)
{
    const QString trimmed = code.trimmed();
    return (Cp1251::canEncode(trimmed) ? trimmed : Cp1251::decode(Cp1251::encode(trimmed))).toCaseFolded();
}

struct KnownRespondent
{
    QString file;
    ItemScores items{};
};

// The respondents of the folder's own result files, by code; files that cannot be read are no
// respondents (their names still count as taken).
QHash<QString, KnownRespondent> respondentsOf(const QString &folder, const QByteArray &key)
{
    QHash<QString, KnownRespondent> byCode;
    const FolderListing listing = ResultFolder::members(folder);
    if (std::none_of(listing.entries.cbegin(), listing.entries.cend(), [](const FolderEntry &e) { return !e.name.contains(u'/'); }))
        return byCode;
    ProfileLoader::FolderOptions options;
    options.key = key;
    options.leaveOutBad = true;
    const Outcome<ProfileLoader::GroupLoad> load = ProfileLoader::loadFolder(folder, options);
    if (!load)
        return byCode;
    const MemberTable &members = *load->profile.members;
    for (qsizetype k = 0; k < members.size(); ++k) {
        const QString file = members.file(k);
        if (!file.contains(u'/'))
            byCode.insert(codeKey(members.header(k).code), {file, members.itemScores(k)});
    }
    return byCode;
}

bool sameAnswers(const AnswerSheet::Answers &answers, const ItemScores &items)
{
    for (int s = 1; s <= Resource::StatementCount; ++s)
        if (double(Questionnaire::score(s, answers[std::size_t(s - 1)])) != items[std::size_t(s - 1)])
            return false;
    return true;
}

} // namespace

Plan plan(const QStringList &codes, const QString &folder, bool replace, const std::vector<AnswerSheet::Answers> *answers,
          const QByteArray &key)
{
    Plan result;
    QHash<QString, QString> existing; // folded name -> the name as the folder has it
    QSet<QString> existingFiles;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        existing.insert(entry.fileName().toLower(), entry.fileName());
        if (entry.isFile() && !entry.isSymLink())
            existingFiles.insert(entry.fileName().toLower());
    }
    const QHash<QString, KnownRespondent> known =
        answers && !existingFiles.isEmpty() ? respondentsOf(folder, key) : QHash<QString, KnownRespondent>();
    QSet<QString> taken;
    taken.reserve(codes.size());
    result.names.reserve(codes.size());
    result.replacing.reserve(codes.size());
    const QString extension = QStringLiteral(".cry");
    for (qsizetype k = 0; k < codes.size(); ++k) {
        const QString &code = codes[k];
        if (const auto same = known.constFind(codeKey(code)); same != known.cend() && k < qsizetype(answers->size())) {
            // The respondent is in the folder already.
            const bool unchanged = sameAnswers((*answers)[std::size_t(k)], same->items);
            result.present += unchanged ? 1 : 0;
            result.changed += unchanged ? 0 : 1;
            const QString name = same->file;
            if (unchanged || !replace || taken.contains(name.toLower())) {
                result.changedKept += unchanged ? 0 : 1;
                result.names << QString();
                result.replacing << QString();
                continue;
            }
            ++result.replaced;
            taken.insert(name.toLower());
            result.names << name;
            result.replacing << name;
            continue;
        }
        const QString stem = FileNames::stemOf(code);
        QString name = stem + extension;
        bool renamed = false;
        QString replacing;
        for (int n = 2;; ++n) {
            const QString folded = name.toLower();
            const auto inFolder = existing.constFind(folded);
            const bool present = inFolder != existing.cend();
            // A file of the folder keeps the letter case of its name when it is replaced, as a
            // volume that ignores letter case does too.
            if (!taken.contains(folded) && (!present || (replace && existingFiles.contains(folded)))) {
                if (present) {
                    ++result.replaced;
                    name = inFolder.value();
                    replacing = name;
                }
                break;
            }
            renamed = renamed || present;
            name = QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(extension);
        }
        if (renamed)
            ++result.renamed;
        taken.insert(name.toLower());
        result.names << name;
        result.replacing << replacing;
    }
    return result;
}

namespace {

// The folders made for an import go again when it fails.
struct MadeFolders
{
    QStringList folders;
    bool keep = false;
    ~MadeFolders()
    {
        if (!keep)
            for (auto it = folders.crbegin(); it != folders.crend(); ++it)
                QDir().rmdir(*it);
    }
};

// Writes the good rows of the sheet as new files, row k to pathOf(k). A pool of helper threads
// writes them in chunks of consecutive rows, one task each, every task reading its rows from where
// the check found them; this thread reports the progress and passes on a cancel.
Outcome<> writeFiles(const AnswerSheet::Sheet &sheet, const AnswerSheet::Columns &columns,
                     const Questionnaire::Captions &captions, const AnswerSheet::Check &check, const Options &options,
                     const std::vector<qsizetype> &which, const std::function<QString(qsizetype)> &pathOf)
{
    const qsizetype total = qsizetype(which.size());
    if (check.goodPositions.size() != check.goodRows.size())
        return Outcome<>::failed(tr("The sheet has fewer rows than were checked."));
    constexpr qsizetype Chunk = 32;
    std::atomic<qsizetype> done{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    QString error; // the first failure
    const auto fail = [&](const QString &message) {
        const std::lock_guard lock(mutex);
        if (error.isEmpty())
            error = message;
        stop = true;
    };
    const auto writeChunk = [&](qsizetype first) {
        CsvReader::Parser parser(sheet.text, sheet.separator);
        QList<QStringView> fields;
        AnswerSheet::Respondent respondent;
        IndexScores indices{};
        ItemScores items{};
        for (qsizetype n = first; n < std::min(total, first + Chunk) && !stop; ++n) {
            const qsizetype k = which[std::size_t(n)];
            const qsizetype row = check.goodRows[std::size_t(k)];
            parser.seek(check.goodPositions[std::size_t(k)], row);
            const bool read = parser.next(fields);
            if (!read || AnswerSheet::convertRow(fields, columns, row - sheet.headerRow, captions, &respondent).size() > 0
                || respondent.header.code != check.goodCodes[k]) {
                fail(tr("Row %1 of the sheet is not as it was checked.").arg(row));
                return;
            }
            AnswerSheet::scoresOf(respondent, indices, items);
            const QString path = pathOf(n);
            const QString why = writeNew(path, ResultWriter::storedLetters(respondent.header, indices, items, options.key));
            if (!why.isEmpty()) {
                fail(FileOutput::cannotCreateMessage(path) + u'\n' + why);
                return;
            }
            ++done;
        }
    };

    bool cancelled = false;
    {
        QThreadPool pool;
        pool.setMaxThreadCount(std::clamp(QThread::idealThreadCount(), 1, 4));
        for (qsizetype first = 0; first < total; first += Chunk) {
            pool.start([&, first] {
                try {
                    writeChunk(first);
                } catch (const std::bad_alloc &) {
                    fail(tr("Not enough memory to write the result files."));
                }
            });
        }
        while (!pool.waitForDone(50)) {
            if (!options.progress || stop)
                continue;
            if (!options.progress(std::min(done.load(), total - 1), total)) {
                stop = true;
                cancelled = true;
                pool.clear(); // the chunks not begun; those under way stop after their current row
            }
        }
    }
    if (cancelled)
        return Outcome<>::cancelledByUser();
    if (!error.isEmpty())
        return Outcome<>::failed(error);
    if (options.progress && !options.progress(total, total))
        return Outcome<>::cancelledByUser();
    return {};
}

Outcome<> writeMap(const QString &path, const Options &options)
{
    if (options.mapText.isEmpty())
        return {};
    if (const QString why = writeNew(path, options.mapText); !why.isEmpty())
        return Outcome<>::failed(FileOutput::cannotCreateMessage(path) + u'\n' + why);
    return {};
}

// The rows of a plan that are written, in order.
std::vector<qsizetype> rowsWritten(const Plan &names)
{
    std::vector<qsizetype> which;
    which.reserve(std::size_t(names.names.size()));
    for (qsizetype k = 0; k < names.names.size(); ++k)
        if (!names.names[k].isEmpty())
            which.push_back(k);
    return which;
}

QStringList namesWritten(const Plan &names)
{
    QStringList written;
    for (const QString &name : names.names)
        if (!name.isEmpty())
            written << name;
    return written;
}

// Into a folder that does not exist yet: the files are written under their own names into a new
// hidden folder beside it, which then takes its name at once. Fails (and leaves nothing) where no
// folder can be made beside it; the caller then goes the long way.
std::optional<Outcome<Written>> writeFresh(const AnswerSheet::Sheet &sheet, const AnswerSheet::Columns &columns,
                                           const Questionnaire::Captions &captions, const AnswerSheet::Check &check,
                                           const QString &target, const Options &options)
{
    const QFileInfo info(target);
    if (info.exists() || info.isSymLink())
        return std::nullopt;
    const QString parent = info.path();
    if (parent == target)
        return std::nullopt;
    Outcome<QStringList> made = makeFolder(parent);
    if (!made)
        return std::nullopt;
    MadeFolders madeFolders{*made};
    TemporaryFiles::removeStale(parent);
    const Outcome<QString> temp = TemporaryFiles::makeFolder(parent, QStringLiteral("import"));
    if (!temp)
        return std::nullopt;
    bool keep = false;
    const auto cleanUp = qScopeGuard([&] {
        if (!keep)
            QDir(*temp).removeRecursively();
    });
    const QDir tempDir(*temp);
    const Plan names = plan(check.goodCodes, target, false); // a missing folder: no name is taken
    if (Outcome<> files = writeFiles(sheet, columns, captions, check, options, rowsWritten(names),
                                     [&](qsizetype k) { return tempDir.filePath(names.names[k]); });
        !files) {
        return Outcome<Written>(files.failure());
    }
    if (Outcome<> map = writeMap(tempDir.filePath(AnswerSheet::mapFileName()), options); !map)
        return Outcome<Written>(map.failure());
    if (const QString why = syncFolder(*temp, true); !why.isEmpty())
        return Outcome<Written>::failed(FileOutput::cannotCreateMessage(*temp) + u'\n' + why);
    const qsizetype total = qsizetype(check.goodRows.size());
    if (options.progress && !options.progress(total, total))
        return Outcome<Written>::cancelledByUser();
    if (const QString why = moveNoReplace(*temp, target); !why.isEmpty()) {
        // Made meanwhile by someone else: the long way fills it in place.
        if (QFileInfo(target).isDir())
            return std::nullopt;
        return Outcome<Written>::failed(FileOutput::cannotCreateMessage(target) + u'\n' + why);
    }
    keep = true;
    madeFolders.keep = true;
    syncFolder(parent, false);
    return Written{namesWritten(names), 0, 0, 0};
}

} // namespace

Outcome<Written> write(const AnswerSheet::Sheet &sheet, const AnswerSheet::Columns &columns,
                       const Questionnaire::Captions &captions, const AnswerSheet::Check &check, const QString &folder,
                       const Options &options)
{
    const QString target = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (std::optional<Outcome<Written>> fresh = writeFresh(sheet, columns, captions, check, target, options))
        return std::move(*fresh);

    Outcome<QStringList> made = makeFolder(target);
    if (!made)
        return made.failure();
    MadeFolders madeFolders{*made};
    TemporaryFiles::removeStale(target);
    QTemporaryDir temp(target + u'/' + TemporaryFiles::prefix(QStringLiteral("import")) + QStringLiteral("XXXXXX"));
    if (!temp.isValid())
        return Outcome<Written>::failed(FileOutput::cannotCreateMessage(target + QStringLiteral("/.zolk-import-…")) + u'\n'
                                        + temp.errorString());
    const Plan names = plan(check.goodCodes, target, options.replace, &check.goodAnswers, options.key);
    const std::vector<qsizetype> which = rowsWritten(names);
    const qsizetype total = qsizetype(which.size());
    // In the temporary folder the files are not named ".cry": should the program be stopped on the
    // way, what is left there is not taken for a department of the group.
    const auto partName = [&temp](qsizetype k) { return temp.filePath(QString::number(k) + QStringLiteral(".part")); };

    // 1. Every file into the temporary folder.
    if (Outcome<> files = writeFiles(sheet, columns, captions, check, options, which, partName); !files)
        return files.failure();
    const QString mapPart = temp.filePath(QStringLiteral("map.part"));
    if (Outcome<> map = writeMap(mapPart, options); !map)
        return map.failure();
    if (const QString why = syncFolder(temp.path(), true); !why.isEmpty())
        return Outcome<Written>::failed(FileOutput::cannotCreateMessage(temp.path()) + u'\n' + why);
    if (options.progress && !options.progress(total, total))
        return Outcome<Written>::cancelledByUser();

    // 2. Into place, the replaced files kept aside until all is done.
    Moves moves;
    const auto undo = [&](const QString &message) {
        const QStringList lost = moves.undo();
        if (lost.isEmpty())
            return Outcome<Written>::failed(message);
        // The replaced files that could not come back stay in the temporary folder.
        temp.setAutoRemove(false);
        madeFolders.keep = true;
        return Outcome<Written>::failed(message + u'\n'
                                        + tr("%1 replaced files could not be put back; they are in the folder %2 (named old-N).")
                                              .arg(lost.size())
                                              .arg(QDir::toNativeSeparators(temp.path())));
    };
    const auto place = [&](const QString &from, const QString &to, bool replace, const QString &backup) -> QString {
        Moves::Move move{to, QString()};
        if (replace) {
            if (const QString why = moveNoReplace(to, backup); !why.isEmpty())
                return FileOutput::cannotCreateMessage(to) + u'\n' + why;
            move.backup = backup;
        }
        if (const QString why = moveNoReplace(from, to); !why.isEmpty()) {
            if (!move.backup.isEmpty())
                moveNoReplace(move.backup, to);
            return FileOutput::cannotCreateMessage(to) + u'\n' + why;
        }
        moves.add(move);
        return QString();
    };
    Written written;
    written.files = namesWritten(names);
    written.present = names.present;
    written.changedKept = names.changedKept;
    for (qsizetype n = 0; n < total; ++n) {
        const qsizetype k = which[std::size_t(n)];
        const QString to = target + u'/' + names.names[k];
        if (const QString why = place(partName(n), to, !names.replacing[k].isEmpty(), temp.filePath(QStringLiteral("old-%1").arg(n)));
            !why.isEmpty()) {
            return undo(why);
        }
    }
    written.replaced = names.replaced;
    if (!options.mapText.isEmpty()) {
        const QString to = target + u'/' + AnswerSheet::mapFileName();
        if (const QString why = place(mapPart, to, QFileInfo(to).isFile(), temp.filePath(QStringLiteral("old-map")));
            !why.isEmpty())
            return undo(why);
    }
    if (const QString why = syncFolder(target, false); !why.isEmpty())
        return undo(FileOutput::cannotCreateMessage(target) + u'\n' + why);
    madeFolders.keep = true;
    return written;
}

} // namespace SheetImport
