#include "SheetImport.h"

#include "FileNames.h"
#include "FileOutput.h"
#include "ResultWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

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
    QFile file(from);
    return file.rename(to) ? QString() : file.errorString();
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

Plan plan(const QStringList &codes, const QString &folder, bool replace)
{
    Plan result;
    QSet<QString> existing;
    QSet<QString> existingFiles;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        existing.insert(entry.fileName().toLower());
        if (entry.isFile() && !entry.isSymLink())
            existingFiles.insert(entry.fileName().toLower());
    }
    QSet<QString> taken;
    taken.reserve(codes.size());
    result.names.reserve(codes.size());
    const QString extension = QStringLiteral(".cry");
    for (const QString &code : codes) {
        const QString stem = FileNames::stemOf(code);
        QString name = stem + extension;
        bool renamed = false;
        for (int n = 2;; ++n) {
            const QString key = name.toLower();
            const bool inFolder = existing.contains(key);
            if (!taken.contains(key) && (!inFolder || (replace && existingFiles.contains(key)))) {
                if (inFolder)
                    ++result.replaced;
                break;
            }
            renamed = renamed || inFolder;
            name = QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(extension);
        }
        if (renamed)
            ++result.renamed;
        result.replacing.push_back(existing.contains(name.toLower()));
        taken.insert(name.toLower());
        result.names << name;
    }
    return result;
}

Outcome<Written> write(const AnswerSheet::Sheet &sheet, const AnswerSheet::Columns &columns,
                       const Questionnaire::Captions &captions, const AnswerSheet::Check &check, const QString &folder,
                       const Options &options)
{
    const QString target = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    Outcome<QStringList> made = makeFolder(target);
    if (!made)
        return made.failure();
    // The folders made for the import go again when it fails.
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
    } madeFolders{*made};

    QTemporaryDir temp(target + QStringLiteral("/.zolk-import-XXXXXX"));
    if (!temp.isValid())
        return Outcome<Written>::failed(FileOutput::cannotCreateMessage(target + QStringLiteral("/.zolk-import-…")) + u'\n'
                                        + temp.errorString());
    const Plan names = plan(check.goodCodes, target, options.replace);
    const qsizetype total = qsizetype(check.goodRows.size());
    const auto partName = [&temp](qsizetype k) { return temp.filePath(QString::number(k) + QStringLiteral(".part")); };

    // 1. Every file into the temporary folder.
    CsvReader::Parser parser(sheet.text, sheet.separator);
    parser.seek(sheet.bodyPosition, sheet.headerRow + 1);
    QList<QStringView> fields;
    AnswerSheet::Respondent respondent;
    IndexScores indices{};
    ItemScores items{};
    qsizetype k = 0;
    while (k < total && parser.next(fields)) {
        if (parser.row() != check.goodRows[std::size_t(k)])
            continue;
        const QString reason = AnswerSheet::convertRow(fields, columns, parser.row() - sheet.headerRow, captions, &respondent);
        if (!reason.isEmpty() || respondent.header.code != check.goodCodes[k])
            return Outcome<Written>::failed(tr("Row %1 of the sheet is not as it was checked.").arg(parser.row()));
        AnswerSheet::scoresOf(respondent, indices, items);
        const QString path = partName(k);
        if (const QString why = writeNew(path, ResultWriter::storedLetters(respondent.header, indices, items, options.key));
            !why.isEmpty()) {
            return Outcome<Written>::failed(FileOutput::cannotCreateMessage(path) + u'\n' + why);
        }
        ++k;
        if (options.progress && (k % 64 == 0 || k == total) && !options.progress(k, total))
            return Outcome<Written>::cancelledByUser();
    }
    if (k != total)
        return Outcome<Written>::failed(tr("The sheet has fewer rows than were checked."));
    const QString mapPart = temp.filePath(QStringLiteral("map.part"));
    if (!options.mapText.isEmpty()) {
        if (const QString why = writeNew(mapPart, options.mapText); !why.isEmpty())
            return Outcome<Written>::failed(FileOutput::cannotCreateMessage(mapPart) + u'\n' + why);
    }
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
    written.files = names.names;
    for (qsizetype n = 0; n < total; ++n) {
        const QString to = target + u'/' + names.names[n];
        if (const QString why = place(partName(n), to, names.replacing[std::size_t(n)], temp.filePath(QStringLiteral("old-%1").arg(n)));
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
