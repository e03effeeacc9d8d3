// zolk-cry: enciphers and deciphers result files from the command line.
//
//   zolk-cry decode FILE [--utf8]    plaintext to standard output (windows-1251 bytes, or UTF-8)
//   zolk-cry encode [FILE] [--raw]   letters to standard output from UTF-8 text (or windows-1251 bytes)
//   zolk-cry scores FILE_OR_FOLDER... [--skip-bad]   the scores as CSV for a spreadsheet
//   -o OUTPUT                        writes to OUTPUT instead of standard output

#include "Cp1251.h"
#include "FileOutput.h"
#include "ProfileLoader.h"
#include "ResultFile.h"
#include "TableFile.h"
#include "ScoresTable.h"
#include "Translations.h"
#include "UnitPC1.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace {

const char *const Usage =
    "usage: zolk-cry decode FILE [--utf8]\n"
    "       zolk-cry encode [FILE] [--raw] [-o OUTPUT]\n"
    "       zolk-cry scores FILE_OR_FOLDER... [--skip-bad] [-o OUTPUT.csv]\n"
    "\n"
    "decode  deciphers a result file (.cry) and writes its plaintext to standard output,\n"
    "        byte for byte in windows-1251 with CR LF line ends, or converted to UTF-8 with --utf8.\n"
    "encode  reads plaintext from FILE or standard input (UTF-8, or windows-1251 bytes with --raw)\n"
    "        and writes the enciphered letters to standard output.\n"
    "scores  writes the scores of result files as CSV for a spreadsheet: one row per file; a folder\n"
    "        gives one row per result file in it and a last row with the group's mean. Fields and\n"
    "        decimals follow the locale (\";\" and \",\" where the decimal point is a comma).\n"
    "        A file that cannot be read ends the command (no output file is left); with --skip-bad\n"
    "        its row is left out and the file named on standard error.\n"
    "-o      writes to the file OUTPUT instead of standard output.\n";

// Where the result goes; standard output when empty.
QString outputPath;

int fail(const QString &message)
{
    std::fprintf(stderr, "zolk-cry: %s\n", message.toLocal8Bit().constData());
    return 1;
}

bool readAll(const QString &path, QByteArray *data, QString *error)
{
    QFile file;
    const bool ok = path.isEmpty() ? file.open(stdin, QIODevice::ReadOnly) : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!ok) {
        *error = QStringLiteral("cannot open %1: %2").arg(path.isEmpty() ? QStringLiteral("standard input") : path, file.errorString());
        return false;
    }
    *data = file.readAll();
    return true;
}

bool writeOut(const QByteArray &data)
{
    const Outcome<> written = FileOutput::write(outputPath.isEmpty() ? QStringLiteral("-") : outputPath, data);
    if (!written)
        std::fprintf(stderr, "zolk-cry: %s\n", written.message().toLocal8Bit().constData());
    return written.ok();
}

int decode(const QString &path, bool utf8)
{
    QByteArray stored;
    QString error;
    if (!readAll(path, &stored, &error))
        return fail(error);
    const QByteArray prepared = ResultFile::prepareStoredText(stored);
    if (prepared.size() > UnitPC1::MaxStoredTextLength)
        return fail(QStringLiteral("%1 holds %2 letters; a result file holds at most %3")
                        .arg(path).arg(prepared.size()).arg(UnitPC1::MaxStoredTextLength));
    const QByteArray plain = UnitPC1::DecipherText(ResultFile::keyBytes(), prepared);
    return writeOut(utf8 ? Cp1251::decode(plain).toUtf8() : plain) ? 0 : 1;
}

int encode(const QString &path, bool raw)
{
    QByteArray input;
    QString error;
    if (!readAll(path, &input, &error))
        return fail(error);
    QByteArray plain;
    if (raw) {
        plain = input;
    } else {
        const QString text = QString::fromUtf8(input);
        if (!Cp1251::canEncode(text))
            return fail(QStringLiteral("the text holds characters that windows-1251 cannot hold"));
        plain = Cp1251::encode(text);
    }
    if (plain.contains('\0'))
        return fail(QStringLiteral("the text holds a zero byte, which would end the plaintext"));
    if (plain.size() > UnitPC1::MaxPlainTextLength)
        return fail(QStringLiteral("the text holds %1 bytes; a result file holds at most %2")
                        .arg(plain.size()).arg(UnitPC1::MaxPlainTextLength));
    return writeOut(UnitPC1::EncipherText(ResultFile::keyBytes(), plain)) ? 0 : 1;
}

// The common folder of the inputs, to which the file column's paths are relative.
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

int scores(const QStringList &inputs, bool skipBad)
{
    // Every input is read first; the output is written only once all of them could be.
    QList<ScoresTable::Section> sections;
    QStringList places;
    for (const QString &input : inputs)
        places << (QFileInfo(input).isDir() ? input : QFileInfo(input).absolutePath());
    const QString common = commonFolder(places);
    int leftOut = 0;
    for (const QString &input : inputs) {
        const QFileInfo info(input);
        QString relative = QDir(common).relativeFilePath(info.isDir() ? info.absoluteFilePath() : info.absolutePath());
        if (relative == QLatin1String("."))
            relative.clear();
        if (info.isDir()) {
            ProfileLoader::FolderOptions options;
            options.leaveOutBad = skipBad;
            Outcome<ProfileLoader::GroupLoad> loaded = ProfileLoader::loadFolder(input, options);
            if (!loaded)
                return fail(loaded.message());
            for (const ProfileLoader::LeftOut &bad : std::as_const(loaded->leftOut)) {
                std::fprintf(stderr, "zolk-cry: skipped: %s\n", bad.message.toLocal8Bit().constData());
                ++leftOut;
            }
            sections.append({loaded->profile, relative});
        } else {
            Outcome<Profile> loaded = ProfileLoader::loadFile(input);
            if (!loaded) {
                if (!skipBad)
                    return fail(loaded.message());
                std::fprintf(stderr, "zolk-cry: skipped: %s\n", loaded.message().toLocal8Bit().constData());
                ++leftOut;
                continue;
            }
            sections.append({*loaded, relative});
        }
    }
    if (sections.isEmpty())
        return fail(QStringLiteral("no input could be read (%1 left out)").arg(leftOut));
    const Outcome<> written = TableFile::write(outputPath.isEmpty() ? QStringLiteral("-") : outputPath, ScoresTable::table(sections));
    return written ? 0 : fail(written.message());
}

} // namespace

int main(int argc, char *argv[])
{
    // The arguments as the system passed them (on Windows in UTF-16, so that any file name works).
    QCoreApplication app(argc, argv);
    if (Translations::isRussian(QLocale::system()))
        Translations::installRussian(app);
    const QStringList args = QCoreApplication::arguments();
#ifdef Q_OS_WIN
    // Plaintext and letters pass byte for byte: no CR added before LF, none taken away.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    QString command;
    QStringList files;
    bool utf8 = false;
    bool raw = false;
    bool skipBad = false;
    for (qsizetype k = 1; k < args.size(); ++k) {
        const QString &arg = args[k];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if ((arg == QLatin1String("-o") || arg == QLatin1String("--output")) && k + 1 < args.size())
            outputPath = args[++k];
        else if (arg == QLatin1String("--utf8"))
            utf8 = true;
        else if (arg == QLatin1String("--raw"))
            raw = true;
        else if (arg == QLatin1String("--skip-bad"))
            skipBad = true;
        else if (arg.startsWith(u'-') && arg.size() > 1)
            return fail(QStringLiteral("unknown option %1\n%2").arg(arg, QString::fromLatin1(Usage)));
        else if (command.isEmpty())
            command = arg;
        else
            files << arg;
    }
    if (command != QLatin1String("scores") && files.size() > 1)
        return fail(QStringLiteral("too many arguments\n%1").arg(QString::fromLatin1(Usage)));
    const QString file = files.value(0);
    if (command == QLatin1String("decode") && !file.isEmpty())
        return decode(file, utf8);
    if (command == QLatin1String("encode"))
        return encode(file == QLatin1String("-") ? QString() : file, raw);
    if (command == QLatin1String("scores") && !files.isEmpty())
        return scores(files, skipBad);
    std::fputs(Usage, stderr);
    return 2;
}
