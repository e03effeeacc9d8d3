// zolk-cry: enciphers and deciphers result files from the command line.
//
//   zolk-cry decode FILE [--utf8]    plaintext to standard output (windows-1251 bytes, or UTF-8)
//   zolk-cry encode [FILE] [--raw]   letters to standard output from UTF-8 text (or windows-1251 bytes)
//   zolk-cry scores FILE_OR_FOLDER... [--skip-bad]   the scores as CSV for a spreadsheet
//   -o OUTPUT                        writes to OUTPUT instead of standard output

#include "Cp1251.h"
#include "Group.h"
#include "ResultFile.h"
#include "ScoresCsv.h"
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
    if (!outputPath.isEmpty()) {
        QFile file(outputPath);
        return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.flush();
    }
    return std::fwrite(data.constData(), 1, std::size_t(data.size()), stdout) == std::size_t(data.size())
           && std::fflush(stdout) == 0;
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
    return writeOut(utf8 ? Cp1251::decode(plain).toUtf8() : plain) ? 0 : fail(QStringLiteral("cannot write the output"));
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
    return writeOut(UnitPC1::EncipherText(ResultFile::keyBytes(), plain)) ? 0 : fail(QStringLiteral("cannot write the output"));
}

// Writes the CSV to the output file (replaced only when all went well) or to standard output.
class CsvOutput
{
public:
    bool open()
    {
        if (outputPath.isEmpty())
            return true;
        m_file.setFileName(outputPath);
        return m_file.open(QIODevice::WriteOnly);
    }
    bool write(const QByteArray &data)
    {
        if (outputPath.isEmpty())
            return std::fwrite(data.constData(), 1, std::size_t(data.size()), stdout) == std::size_t(data.size());
        return m_file.write(data) == data.size();
    }
    bool commit() { return outputPath.isEmpty() ? std::fflush(stdout) == 0 : m_file.commit(); }

private:
    QSaveFile m_file; // never committed on failure: no output file is left
};

// "N of M" on standard error while a long command runs, where standard error is a terminal.
class ProgressLine
{
public:
    ProgressLine() { m_clock.start(); }
    ~ProgressLine()
    {
        if (m_shown)
            std::fputc('\n', stderr);
    }
    void report(qint64 done, qint64 total)
    {
        if (!m_terminal || m_clock.elapsed() < 1000 || (m_last.isValid() && m_last.elapsed() < 200))
            return;
        m_last.start();
        m_shown = true;
        std::fprintf(stderr, "\rzolk-cry: %lld of %lld result files", static_cast<long long>(done),
                     static_cast<long long>(total));
    }

private:
    const bool m_terminal = isatty(2) != 0;
    QElapsedTimer m_clock;
    QElapsedTimer m_last;
    bool m_shown = false;
};

ScoreRow rowOf(const QString &path, const ResultRecord &record)
{
    return ScoreRow::of(QFileInfo(path).fileName(), record.code, record.name, record.date, record.info,
                        record.indexScores, record.itemScores);
}

int scores(const QStringList &inputs, bool skipBad)
{
    const QLocale locale;
    CsvOutput out;
    if (!out.open())
        return fail(QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(outputPath)));
    if (!out.write(ScoresCsv::header(locale)))
        return fail(QStringLiteral("cannot write the output"));
    // Every input's files, counted first so that progress can tell how far it is.
    struct Input
    {
        QString folder; // empty for a single file
        QStringList names;
    };
    QList<Input> work;
    qint64 total = 0;
    for (const QString &input : inputs) {
        if (QFileInfo(input).isDir()) {
            const QStringList names = Group::memberFiles(input);
            if (names.isEmpty())
                return fail(Group::emptyFolderMessage(input));
            work.append({input, names});
            total += names.size();
        } else {
            work.append({QString(), {input}});
            ++total;
        }
    }
    ProgressLine progress;
    qint64 done = 0;
    QString failure;
    bool writeFailed = false;
    for (const Input &input : std::as_const(work)) {
        // A folder's mean is formed as the group forms it: one addition per member, then a division.
        std::array<double, Resource::IndexCount> indexSums{};
        std::array<double, Resource::StatementCount> itemSums{};
        int members = 0;
        const auto take = [&](int, const QString &path, ReadOutcome &&member) {
            progress.report(++done, total);
            if (!member.ok()) {
                const QString message = member.error.contains(QDir::toNativeSeparators(path))
                                            ? member.error
                                            : member.error + QStringLiteral(" (") + QDir::toNativeSeparators(path) + u')';
                if (!skipBad) {
                    failure = message;
                    return false;
                }
                std::fprintf(stderr, "zolk-cry: skipped: %s\n", message.toLocal8Bit().constData());
                return true;
            }
            const ResultRecord &record = *member.record;
            for (std::size_t j = 0; j < indexSums.size(); ++j)
                indexSums[j] = indexSums[j] + record.indexScores[j];
            for (std::size_t j = 0; j < itemSums.size(); ++j)
                itemSums[j] = itemSums[j] + record.itemScores[j];
            ++members;
            if (!out.write(ScoresCsv::row(rowOf(path, record), locale))) {
                writeFailed = true;
                return false;
            }
            return true;
        };
        if (input.folder.isEmpty()) {
            take(0, input.names.constFirst(), ResultFile::readFile(input.names.constFirst()));
        } else {
            Group::readMembers(input.folder, input.names, take);
            if (failure.isEmpty() && !writeFailed && members > 0) {
                for (double &sum : indexSums)
                    sum /= members;
                for (double &sum : itemSums)
                    sum /= members;
                const ScoreRow mean = ScoreRow::of(QFileInfo(QDir::cleanPath(input.folder)).fileName(), QStringLiteral("0000"),
                                                   QStringLiteral("Группа"),
                                                   locale.toString(QDate::currentDate(), QLocale::ShortFormat), {},
                                                   indexSums, itemSums);
                writeFailed = !out.write(ScoresCsv::row(mean, locale));
            }
        }
        if (!failure.isEmpty())
            return fail(failure);
        if (writeFailed)
            return fail(QStringLiteral("cannot write the output"));
    }
    return out.commit() ? 0 : fail(QStringLiteral("cannot write %1").arg(QDir::toNativeSeparators(outputPath)));
}

} // namespace

int main(int argc, char *argv[])
{
    // The arguments as the system passed them (on Windows in UTF-16, so that any file name works).
    const QCoreApplication app(argc, argv);
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
