#include "ResultFolder.h"

#include "Cp1251.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <set>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace ResultFolder {
namespace {

bool isResultName(QByteArrayView name)
{
    if (name.size() < 4)
        return false;
    const QByteArrayView tail = name.last(4);
    return tail[0] == '.' && (tail[1] | 0x20) == 'c' && (tail[2] | 0x20) == 'r' && (tail[3] | 0x20) == 'y';
}

// cp866, the code page of DOS and of the Windows console, for the bytes 0x80 to 0xFF.
char16_t cp866(std::uint8_t byte)
{
    if (byte < 0x80)
        return byte;
    if (byte < 0xB0) // А..Я, а..п
        return char16_t(0x0410 + (byte - 0x80));
    if (byte >= 0xE0 && byte < 0xF0) // р..я
        return char16_t(0x0440 + (byte - 0xE0));
    static constexpr std::array<char16_t, 16> Tail = {0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
                                                      0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0};
    if (byte >= 0xF0)
        return Tail[std::size_t(byte - 0xF0)];
    return u'_'; // box-drawing characters, never part of a file name worth reading
}

int russianLetters(const QString &text)
{
    return int(std::count_if(text.cbegin(), text.cend(), [](QChar c) {
        return (c >= u'А' && c <= u'я') || c == u'Ё' || c == u'ё';
    }));
}

// Sorted by name ignoring case, names equal but for case in their own order. Each name is folded
// once, not at every comparison: a folder of a hundred thousand members is sorted in a blink.
void sortByName(QList<FolderEntry> &entries)
{
    std::vector<std::pair<QString, qsizetype>> keys;
    keys.reserve(std::size_t(entries.size()));
    for (qsizetype k = 0; k < entries.size(); ++k)
        keys.emplace_back(entries[k].name.toCaseFolded(), k);
    std::sort(keys.begin(), keys.end(), [&](const auto &a, const auto &b) {
        const int folded = QStringView(a.first).compare(QStringView(b.first));
        return folded != 0 ? folded < 0 : entries[a.second].name < entries[b.second].name;
    });
    QList<FolderEntry> sorted;
    sorted.reserve(entries.size());
    for (const auto &key : keys)
        sorted.append(std::move(entries[key.second]));
    entries = std::move(sorted);
}

QString withSlash(const QString &folder)
{
    if (folder.isEmpty())
        return QString();
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

#ifdef Q_OS_UNIX

struct RawEntry
{
    QByteArray name;
    unsigned char type; // the listing's own idea of the entry's kind; DT_UNKNOWN where it has none
};

// The entries of a folder, or why it cannot be listed.
QList<RawEntry> list(const QByteArray &folder, QString *why)
{
    QList<RawEntry> entries;
    DIR *dir = ::opendir(folder.isEmpty() ? "." : folder.constData());
    if (!dir) {
        *why = QString::fromLocal8Bit(std::strerror(errno));
        return entries;
    }
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            entries.append({name, entry->d_type});
        errno = 0;
    }
    if (errno != 0)
        *why = QString::fromLocal8Bit(std::strerror(errno));
    ::closedir(dir);
    return entries;
}

// True for a folder. A link that cannot be followed for any reason but a missing target (a loop, a
// folder on the way that cannot be searched) may stand for a folder: why goes to *why.
bool isDirectory(const QByteArray &folder, const RawEntry &entry, QString *why = nullptr)
{
    if (entry.type != DT_UNKNOWN && entry.type != DT_LNK)
        return entry.type == DT_DIR;
    struct stat info{};
    if (::stat((folder + entry.name).constData(), &info) == 0)
        return S_ISDIR(info.st_mode);
    if (why && errno != ENOENT && errno != ENOTDIR)
        *why = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

// A folder's identity, so that a link back up the tree is not followed round and round.
std::pair<dev_t, ino_t> identity(const QByteArray &folder)
{
    struct stat info{};
    if (::stat(folder.isEmpty() ? "." : folder.constData(), &info) != 0)
        return {0, 0};
    return {info.st_dev, info.st_ino};
}

// The result files of one folder (given with its trailing separator, relative to the group's), named
// with prefix; the system's own bytes are kept for every member: opening by them needs no conversion.
// With deep, the folders inside it too, at any depth; hidden ones excepted.
void collect(const QByteArray &nativeBase, const QString &prefix, const QByteArray &nativePrefix, bool deep,
             FolderListing &out, std::set<std::pair<dev_t, ino_t>> &seen)
{
    QString why;
    const QList<RawEntry> entries = list(nativeBase + nativePrefix, &why);
    if (!why.isEmpty())
        out.unreadable.append({prefix, unreadableFolderMessage(out.folder + prefix, why)});
    for (const RawEntry &entry : entries) {
        if (isResultName(entry.name))
            out.entries.append({prefix + readableName(entry.name), nativePrefix + entry.name});
    }
    if (!deep)
        return;
    for (const RawEntry &entry : entries) {
        if (entry.name.startsWith('.') || isResultName(entry.name))
            continue;
        QString linkWhy;
        if (!isDirectory(nativeBase + nativePrefix, entry, &linkWhy)) {
            if (!linkWhy.isEmpty())
                out.unreadable.append({prefix + readableName(entry.name) + u'/',
                                       unreadableFolderMessage(out.folder + prefix + readableName(entry.name), linkWhy)});
            continue;
        }
        const QByteArray sub = nativePrefix + entry.name + '/';
        if (!seen.insert(identity(nativeBase + sub)).second)
            continue;
        collect(nativeBase, prefix + readableName(entry.name) + u'/', sub, true, out, seen);
    }
}

#endif

} // namespace

QString folderOf(const QString &chosenFile)
{
    const QString path = QDir::fromNativeSeparators(chosenFile);
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString readableName(QByteArrayView bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return std::uint8_t(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(bytes);
    if (!utf8.hasError())
        return decoded;
    const QString windows = Cp1251::decode(bytes);
    QString dos;
    dos.reserve(bytes.size());
    for (char c : bytes)
        dos.append(QChar(cp866(std::uint8_t(c))));
    return russianLetters(dos) > russianLetters(windows) ? dos : windows;
}

FolderListing members(const QString &folder)
{
    const QString base = withSlash(QDir::fromNativeSeparators(folder));
    FolderListing listing{base, QByteArray(), {}, {}};
    QList<FolderEntry> &entries = listing.entries;
#ifdef Q_OS_UNIX
    const QByteArray nativeBase = QFile::encodeName(base);
    listing.nativeFolder = nativeBase;
    std::set<std::pair<dev_t, ino_t>> seen{identity(nativeBase)};
    collect(nativeBase, QString(), QByteArray(), false, listing, seen);
    // A folder without result files of its own is read as departments, one per sub-folder, with
    // the folders inside them. Hidden sub-folders are not departments: an import that was cut short
    // leaves its files in one.
    if (entries.isEmpty() && listing.unreadable.isEmpty()) {
        QString why;
        for (const RawEntry &sub : list(nativeBase, &why)) {
            if (sub.name.startsWith('.') || isResultName(sub.name))
                continue;
            QString linkWhy;
            if (!isDirectory(nativeBase, sub, &linkWhy)) {
                if (!linkWhy.isEmpty())
                    listing.unreadable.append({readableName(sub.name) + u'/', unreadableFolderMessage(base + readableName(sub.name), linkWhy)});
                continue;
            }
            if (seen.insert(identity(nativeBase + sub.name + '/')).second)
                collect(nativeBase, readableName(sub.name) + u'/', sub.name + '/', true, listing, seen);
        }
    }
#else
    const auto collect = [&](const QString &prefix, bool deep, const auto &self) -> void {
        const QDir dir(base.isEmpty() ? QStringLiteral(".") : base + prefix);
        if (!dir.isReadable()) {
            listing.unreadable.append({prefix, unreadableFolderMessage(base + prefix, QString())});
            return;
        }
        const QFileInfoList found = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QFileInfo &info : found)
            if (info.fileName().endsWith(QStringLiteral(".cry"), Qt::CaseInsensitive))
                entries.append({prefix + info.fileName(), QByteArray()});
        if (!deep)
            return;
        for (const QFileInfo &info : found)
            if (info.isDir() && !info.isSymLink() && !info.fileName().startsWith(u'.')
                && !info.fileName().endsWith(QStringLiteral(".cry"), Qt::CaseInsensitive))
                self(prefix + info.fileName() + u'/', true, self);
    };
    collect(QString(), false, collect);
    if (entries.isEmpty() && listing.unreadable.isEmpty()) {
        const QDir dir(base.isEmpty() ? QStringLiteral(".") : base);
        for (const QFileInfo &info : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
            if (!info.fileName().startsWith(u'.') && !info.fileName().endsWith(QStringLiteral(".cry"), Qt::CaseInsensitive))
                collect(info.fileName() + u'/', true, collect);
    }
#endif
    sortByName(entries);
    return listing;
}

QString unreadableFolderMessage(const QString &folder, const QString &why)
{
    QString message = QCoreApplication::translate("ResultFolder", "Cannot read the folder %1.").arg(QDir::toNativeSeparators(folder));
    if (!why.isEmpty())
        message += u'\n' + why;
    return message;
}

QString emptyFolderMessage(const QString &folder)
{
    return QCoreApplication::translate("ResultFolder", "The folder %1 holds no result files (*.cry).")
        .arg(QDir::toNativeSeparators(folder));
}

} // namespace ResultFolder
