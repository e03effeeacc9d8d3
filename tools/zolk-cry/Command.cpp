#include "Command.h"

#include "FileOutput.h"
#include "ProfileLoader.h"
#include "TableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Cry {

namespace {

#ifdef Q_OS_WIN
// The console behind stream, or nullptr where the stream goes to a file or a pipe.
HANDLE consoleOf(std::FILE *stream)
{
    const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

bool writeConsole(HANDLE console, const QString &text)
{
    qsizetype done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        const DWORD count = DWORD(std::min<qsizetype>(text.size() - done, 8192));
        if (!WriteConsoleW(console, text.utf16() + done, count, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}
#endif

// Whether two existing paths name the same file: the same canonical path, or (for hard links) the
// same device and inode.
bool sameFile(const QFileInfo &a, const QFileInfo &b)
{
    if (!a.exists() || !b.exists())
        return false;
    if (a == b)
        return true;
#ifndef Q_OS_WIN
    struct stat sa{};
    struct stat sb{};
    if (::stat(QFile::encodeName(a.absoluteFilePath()).constData(), &sa) == 0
        && ::stat(QFile::encodeName(b.absoluteFilePath()).constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
#endif
    return false;
}

// The folder a new or existing output file lands in, with links resolved; empty where that folder
// does not exist (the write then fails on its own).
QString landingFolder(const QString &output)
{
    const QFileInfo info(output);
    if (info.exists()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty())
            return QFileInfo(target).absolutePath();
    }
    return QFileInfo(info.absolutePath()).canonicalFilePath();
}

bool isInside(const QString &folder, const QString &within)
{
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    if (folder.isEmpty() || within.isEmpty())
        return false;
    const QString prefix = within.endsWith(u'/') ? within : within + u'/';
    return folder.compare(within, cs) == 0 || folder.startsWith(prefix, cs);
}

QString optionSynopsis(const QCommandLineOption &option)
{
    const QString name = dashed(option.names().first());
    return option.valueName().isEmpty() ? QStringLiteral("[%1]").arg(name) : QStringLiteral("[%1 %2]").arg(name, option.valueName());
}

QString optionTitle(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names << dashed(name);
    // Options without a short name line up their long name with those that have one.
    QString title = names.join(QStringLiteral(", "));
    if (option.names().first().size() > 1)
        title.prepend(QStringLiteral("    "));
    if (!option.valueName().isEmpty())
        title += u' ' + option.valueName();
    return title;
}

// text in lines of at most width characters, broken at spaces; the lines after the first indented.
QString wrapped(const QString &text, qsizetype width, qsizetype indent)
{
    QString result;
    qsizetype lineLength = 0;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (lineLength > 0 && lineLength + 1 + word.size() > width) {
            result += u'\n' + QString(indent, u' ');
            lineLength = 0;
        } else if (lineLength > 0) {
            result += u' ';
            ++lineLength;
        }
        result += word;
        lineLength += word.size();
    }
    return result;
}

bool isTerminal(std::FILE *stream)
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

} // namespace

QString dashed(const QString &name)
{
    return name.size() == 1 ? u'-' + name : QStringLiteral("--") + name;
}

void printText(std::FILE *stream, const QString &text)
{
#ifdef Q_OS_WIN
    if (const HANDLE console = consoleOf(stream)) {
        std::fflush(stream);
        if (writeConsole(console, text))
            return;
    }
#endif
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

int fail(const QString &message)
{
    printText(stderr, QStringLiteral("zolk-cry: %1\n").arg(message));
    return Failed;
}

int usageError(const QString &reason)
{
    printText(stderr, QStringLiteral("zolk-cry: %1\n%2\n").arg(reason, ZolkCry::tr("Try 'zolk-cry help' for more information.")));
    return UsageError;
}

QString synopsis(const Command &command)
{
    const CommandHelp help = command.help();
    QStringList parts{QStringLiteral("zolk-cry"), command.name};
    if (!help.arguments.isEmpty())
        parts << help.arguments;
    for (const QCommandLineOption &option : help.options)
        parts << optionSynopsis(option);
    if (help.output)
        parts << QStringLiteral("[-o %1]").arg(ZolkCry::tr("OUTPUT"));
    return parts.join(u' ');
}

QString commandHelpText(const Command &command)
{
    CommandHelp help = command.help();
    if (help.output)
        help.options << QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                                           ZolkCry::tr("Writes to OUTPUT instead of standard output (\"-\"). A file is "
                                                     "replaced only once all of it is written; a device or a pipe is written to."),
                                           ZolkCry::tr("OUTPUT"));
    help.options << QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, ZolkCry::tr("Shows this help."));
    QString text = ZolkCry::tr("Usage: %1").arg(synopsis(command)) + QStringLiteral("\n\n") + help.description + u'\n';
    qsizetype width = 0;
    for (const QCommandLineOption &option : std::as_const(help.options))
        width = std::max(width, optionTitle(option).size());
    text += u'\n' + ZolkCry::tr("Options:") + u'\n';
    // The descriptions wrapped to lines of at most 100 characters.
    const qsizetype indent = 2 + width + 2;
    for (const QCommandLineOption &option : std::as_const(help.options))
        text += QStringLiteral("  %1  %2\n")
                    .arg(optionTitle(option).leftJustified(width), wrapped(option.description(), std::max<qsizetype>(100 - indent, 30), indent));
    return text;
}

bool outputIsTerminal(const QString &output)
{
    return (output == QLatin1String("-") || output == QLatin1String("/dev/stdout")) && isTerminal(stdout);
}

Outcome<> checkOutput(const QString &output, const QStringList &inputFiles, const QStringList &inputFolders)
{
    if (FileOutput::isStream(output))
        return {};
    const QFileInfo target(output);
    const QString shown = QDir::toNativeSeparators(output);
    for (const QString &input : inputFiles) {
        if (sameFile(target, QFileInfo(input)))
            return Outcome<>::failed(FileOutput::cannotCreateMessage(output) + u'\n'
                                     + ZolkCry::tr("The output %1 is one of the inputs; it would be replaced by what is read from it.").arg(shown));
    }
    const QString landing = landingFolder(output);
    for (const QString &folder : inputFolders) {
        if (isInside(landing, QFileInfo(folder).canonicalFilePath()))
            return Outcome<>::failed(FileOutput::cannotCreateMessage(output) + u'\n'
                                     + ZolkCry::tr("The output %1 lies inside the input folder %2; the next run would read it "
                                                 "as part of the group. Write it outside the folder.")
                                           .arg(shown, QDir::toNativeSeparators(folder)));
    }
    return {};
}

int writeOutput(const QString &output, QByteArrayView data)
{
    const Outcome<> written = FileOutput::write(output, data);
    return written ? Success : fail(written.message());
}

int writeTerminalText(const QString &text)
{
#ifdef Q_OS_WIN
    if (const HANDLE console = consoleOf(stdout)) {
        if (writeConsole(console, text))
            return Success;
        return fail(FileOutput::cannotCreateMessage(QStringLiteral("stdout")));
    }
#endif
    return writeOutput(QStringLiteral("-"), text.toUtf8());
}

ProgressLine::ProgressLine(QString what)
    : m_what(std::move(what))
    , m_terminal(isTerminal(stderr))
{
}

ProgressLine::~ProgressLine()
{
    clear();
}

void ProgressLine::report(qsizetype done, qsizetype total)
{
    // At most five times a second, and the last count always.
    if (!m_terminal || (m_sinceShown.isValid() && m_sinceShown.elapsed() < 200 && done < total))
        return;
    m_sinceShown.start();
    const QString line = QStringLiteral("zolk-cry: %1: %2").arg(m_what, ZolkCry::tr("result files read: %1 of %2").arg(done).arg(total));
    // Spaces over what is left of a longer line before.
    printText(stderr, u'\r' + line.leftJustified(m_width));
    m_width = std::max(m_width, line.size());
}

void ProgressLine::clear()
{
    if (m_width == 0)
        return;
    printText(stderr, u'\r' + QString(m_width, u' ') + u'\r');
    m_width = 0;
}

QString commonFolder(const QStringList &folders)
{
    QString common;
    for (const QString &folder : folders) {
        const QString absolute = QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) + u'/';
        if (common.isNull()) {
            common = absolute;
            continue;
        }
        while (!absolute.startsWith(common))
            common = common.left(common.lastIndexOf(u'/', common.size() - 2) + 1);
    }
    return common;
}

void reportSkipped(const QString &message)
{
    printText(stderr, QStringLiteral("zolk-cry: %1\n").arg(ZolkCry::tr("skipped: %1").arg(message)));
}

Outcome<ProfileLoader::GroupLoad> loadFolder(const QString &folder, bool skipBad, bool namesRepeats)
{
    ProgressLine progress(QDir::toNativeSeparators(folder));
    ProfileLoader::FolderOptions options;
    options.leaveOutBad = skipBad;
    options.progress = [&progress](qsizetype done, qsizetype total) {
        progress.report(done, total);
        return true;
    };
    Outcome<ProfileLoader::GroupLoad> loaded = ProfileLoader::loadFolder(folder, options);
    progress.clear();
    if (loaded) {
        for (const ProfileLoader::LeftOut &bad : std::as_const(loaded->leftOut))
            reportSkipped(bad.message);
        if (namesRepeats)
            reportRepeats(loaded->repeats);
    }
    return loaded;
}

void reportRepeats(const GroupRepeats::Found &repeats)
{
    if (!repeats.isEmpty())
        printText(stderr, QStringLiteral("zolk-cry: %1\n").arg(GroupRepeats::message(repeats, 100)));
}

Outcome<Profile> readGroup(const QStringList &folders, bool skipBad)
{
    const QString common = commonFolder(folders);
    QList<ProfileLoader::GroupPart> parts; // each folder's group, and its name relative to common
    QStringList unread;
    QStringList read; // the folders' canonical paths: a folder named twice is read once
    for (const QString &folder : folders) {
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (!canonical.isEmpty() && read.contains(canonical)) {
            printText(stderr, QStringLiteral("zolk-cry: %1\n").arg(ZolkCry::tr("%1 is named twice; it is read once.").arg(QDir::toNativeSeparators(folder))));
            continue;
        }
        read << canonical;
        Outcome<ProfileLoader::GroupLoad> loaded = loadFolder(folder, skipBad, false);
        if (!loaded) {
            if (!skipBad)
                return loaded.failure();
            reportSkipped(loaded.message());
            unread << QDir::toNativeSeparators(folder);
            continue;
        }
        QString relative = QDir(common).relativeFilePath(QFileInfo(folder).absoluteFilePath());
        if (relative == QLatin1String("."))
            relative.clear();
        loaded->leftOut.clear(); // named already
        parts.append({std::move(loaded).value(), relative});
    }
    if (parts.isEmpty())
        return Outcome<Profile>::failed(ZolkCry::tr("No input could be read: %1").arg(unread.join(QStringLiteral(", "))));
    if (read.size() == 1 && unread.isEmpty()) {
        reportRepeats(parts.first().load.repeats);
        return std::move(parts.first().load.profile);
    }
    ProfileLoader::GroupLoad joined = ProfileLoader::joinGroups(std::move(parts), common);
    reportRepeats(joined.repeats);
    return std::move(joined.profile);
}

int writeTable(const Table &table, const QString &output)
{
    const Outcome<> written = TableFile::write(output, table);
    return written ? Success : fail(written.message());
}

} // namespace Cry
