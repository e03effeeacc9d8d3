#include "ResultFile.h"

#include "Cp1251.h"
#include "UnitPC1.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <string>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

std::array<QByteArrayView, 7> StoredRecord::headerBytes() const
{
    std::array<QByteArrayView, 7> lines;
    for (std::size_t k = 0; k < lines.size(); ++k)
        lines[k] = QByteArrayView(plain).sliced(headerLines[k].first, headerLines[k].second);
    return lines;
}

ResultRecord StoredRecord::decoded() const
{
    const std::array<QByteArrayView, 7> lines = headerBytes();
    ResultRecord record;
    record.header.date = Cp1251::decode(lines[0]);
    record.header.code = Cp1251::decode(lines[1]);
    record.header.name = Cp1251::decode(lines[2]);
    for (std::size_t k = 0; k < 4; ++k)
        record.header.info[k] = Cp1251::decode(lines[3 + k]);
    record.indexScores = indexScores;
    record.itemScores = itemScores;
    return record;
}

namespace ResultFile {

QString KeyText() { return QStringLiteral("q8v1k4rж7эюb;951"); }

QByteArray keyBytes(const QString &keyText) { return Cp1251::encode(QStringView(keyText).left(16)); }

QByteArray prepareStoredText(QByteArrayView raw)
{
    QByteArray prepared(raw.size(), Qt::Uninitialized);
    const auto end = std::remove_copy_if(raw.begin(), raw.end(), prepared.begin(),
                                         [](char c) { return c == '\r' || c == '\n'; });
    prepared.truncate(end - prepared.begin());
    return prepared;
}

namespace {


char16_t unit(QChar c) { return c.unicode(); }
char16_t unit(char c) { return char16_t(std::uint8_t(c)); }

// The common case of a score line, "3,40" or " -2.5 ": at most 15 digits and no exponent. The
// digits as a whole number divided by a power of ten give the correctly rounded double, as
// from_chars does, without collecting the text first. False when the line is not such a case.
template <typename View>
bool parsePlainDecimal(View line, double *value)
{
    static constexpr double Tens[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    qsizetype pos = 0;
    const qsizetype end = line.size();
    while (pos < end && unit(line[pos]) == u' ')
        ++pos;
    bool negative = false;
    if (pos < end && (unit(line[pos]) == u'+' || unit(line[pos]) == u'-'))
        negative = unit(line[pos++]) == u'-';
    std::uint64_t whole = 0;
    int digits = 0;
    int decimals = 0;
    bool separator = false;
    for (; pos < end; ++pos) {
        const char16_t c = unit(line[pos]);
        if (c >= u'0' && c <= u'9') {
            if (++digits > 15)
                return false;
            whole = whole * 10 + (c - u'0');
            decimals += separator ? 1 : 0;
        } else if ((c == u',' || c == u'.') && !separator) {
            separator = true;
        } else {
            break;
        }
    }
    while (pos < end && unit(line[pos]) == u' ')
        ++pos;
    if (digits == 0 || pos != end)
        return false;
    const double magnitude = double(whole) / Tens[decimals];
    *value = negative ? -magnitude : magnitude;
    return true;
}

// The number grammar over any run of characters: QStringView or the plaintext's own bytes.
template <typename View>
std::optional<double> parseNumberIn(View line)
{
    if (double value = 0.0; parsePlainDecimal(line, &value))
        return value;
    qsizetype pos = 0;
    const qsizetype end = line.size();
    auto at = [&](qsizetype k) { return unit(line[k]); };
    auto digit = [&](qsizetype k) { return at(k) >= u'0' && at(k) <= u'9'; };
    auto skipBlanks = [&] {
        while (pos < end && at(pos) == u' ')
            ++pos;
    };
    // Digits, sign, separator and exponent are all ASCII: a small fixed buffer would do, but a
    // line of many digits must not overrun anything, so the text is collected into a string.
    std::string number;
    skipBlanks();
    if (pos < end && (at(pos) == u'+' || at(pos) == u'-')) {
        if (at(pos) == u'-')
            number += '-';
        ++pos;
    }
    int digits = 0;
    bool separator = false;
    number += '0'; // a leading separator (",5") still reads as a number
    while (pos < end) {
        if (digit(pos)) {
            number += char(at(pos));
            ++digits;
        } else if ((at(pos) == u',' || at(pos) == u'.') && !separator) {
            separator = true;
            number += '.';
        } else {
            break;
        }
        ++pos;
    }
    if (digits == 0)
        return std::nullopt;
    if (number.back() == '.')
        number += '0';
    if (pos < end && (at(pos) == u'e' || at(pos) == u'E')) {
        number += 'e';
        ++pos;
        if (pos < end && (at(pos) == u'+' || at(pos) == u'-'))
            number += char(at(pos++));
        int exponentDigits = 0;
        while (pos < end && digit(pos)) {
            number += char(at(pos++));
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    skipBlanks();
    if (pos != end)
        return std::nullopt;
    double value = 0.0;
    const char *first = number.data();
    const char *last = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last)
        return std::nullopt;
    return value;
}

// The first lines of a plaintext in its own bytes; lines past the last one read as empty.
struct PlainLines
{
    std::array<std::pair<qsizetype, qsizetype>, LastLine + 1> lines{};

    explicit PlainLines(QByteArrayView plain)
    {
        qsizetype start = 0;
        int n = 0;
        const qsizetype size = plain.size();
        for (qsizetype k = 0; k < size && n <= LastLine; ++k) {
            const char c = plain[k];
            if (c != '\r' && c != '\n')
                continue;
            lines[std::size_t(n++)] = {start, k - start};
            if (c == '\r' && k + 1 < size && plain[k + 1] == '\n')
                ++k;
            start = k + 1;
        }
        if (n <= LastLine && start < size)
            lines[std::size_t(n)] = {start, size - start};
    }
};

// The second line of a message about a line of a file: which file, which line (counted from 1) and
// what the line should hold.
QString lineLocation(const QString &fileName, int line)
{
    const QString what = line < FirstItemLine
                             ? QCoreApplication::translate("ResultFile", "score of index %1").arg(line - FirstIndexLine + 1)
                             : QCoreApplication::translate("ResultFile", "score of statement %1").arg(line - FirstItemLine + 1);
    if (fileName.isEmpty())
        return QCoreApplication::translate("ResultFile", "Line %1 (%2).").arg(line + 1).arg(what);
    return QCoreApplication::translate("ResultFile", "File %1, line %2 (%3).")
        .arg(QDir::toNativeSeparators(fileName))
        .arg(line + 1)
        .arg(what);
}

// Converts the score lines from firstLine on into scores, one after the other; the message of the
// first line that is not a number, or an empty string.
template <std::size_t N>
QString readScores(QByteArrayView plain, const PlainLines &text, int firstLine, std::array<double, N> &scores,
                   const QString &fileName)
{
    for (std::size_t k = 0; k < N; ++k) {
        const auto [offset, length] = text.lines[std::size_t(firstLine) + k];
        const QByteArrayView line = plain.sliced(offset, length);
        const auto value = parseNumberIn(line);
        if (!value)
            return notANumberMessage(Cp1251::decode(line)) + u'\n' + lineLocation(fileName, firstLine + int(k));
        scores[k] = *value;
    }
    return QString();
}

} // namespace

std::optional<double> parseNumber(QStringView line)
{
    return parseNumberIn(line);
}

Outcome<StoredRecord> parsePlainBytes(QByteArrayView plain, const QString &fileName)
{
    const PlainLines text(plain);
    StoredRecord record;
    QString error = readScores(plain, text, FirstIndexLine, record.indexScores, fileName);
    if (error.isEmpty())
        error = readScores(plain, text, FirstItemLine, record.itemScores, fileName);
    if (!error.isEmpty())
        return Outcome<StoredRecord>::failed(error);
    // Only the header bytes are kept: the plaintext up to the end of line 6.
    const auto [lastOffset, lastLength] = text.lines[6];
    record.plain = plain.first(lastOffset + lastLength).toByteArray();
    for (std::size_t k = 0; k < record.headerLines.size(); ++k)
        record.headerLines[k] = text.lines[k];
    return record;
}

Outcome<ResultRecord> parsePlainText(const QString &plainText, const QString &fileName)
{
    Outcome<StoredRecord> stored = parsePlainBytes(Cp1251::encode(plainText), fileName);
    if (!stored)
        return stored.failure();
    return stored->decoded();
}

Outcome<StoredRecord> parseStoredText(QByteArrayView stored, const QString &fileName, const QByteArray &key)
{
    // Letters without line breaks, as result files are written, are deciphered where they lie.
    const bool unbroken = !stored.contains('\r') && !stored.contains('\n');
    const QByteArray prepared = unbroken ? QByteArray() : prepareStoredText(stored);
    const QByteArrayView letters = unbroken ? stored : QByteArrayView(prepared);
    if (letters.size() > UnitPC1::MaxStoredTextLength)
        return Outcome<StoredRecord>::failed(tooLargeMessage(fileName));
    return parsePlainBytes(UnitPC1::DecipherText(key, letters), fileName);
}

namespace {

QString notRegularReason()
{
    return QCoreApplication::translate("ResultFile", "It is not a regular file (a folder, device, pipe or socket).");
}

Outcome<QByteArray> cannotOpen(const QString &path, const QString &reason)
{
    return Outcome<QByteArray>::failed(cannotOpenMessage(path) + u'\n' + reason);
}

} // namespace

Outcome<QByteArray> readStoredBytes(const QString &path, const QByteArray &nativePath)
{
#ifdef Q_OS_UNIX
    // Opened without blocking and checked on the open descriptor, so that neither a FIFO nor a
    // device put in the file's place can hold up or flood the reading.
    const QByteArray native = nativePath.isEmpty() ? QFile::encodeName(path) : nativePath;
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return cannotOpen(path, QString::fromLocal8Bit(std::strerror(errno)));
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info{};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return cannotOpen(path, notRegularReason());
    if (info.st_size > MaxFileBytes)
        return Outcome<QByteArray>::failed(tooLargeMessage(path));
    QByteArray data(qsizetype(info.st_size), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t got = ::read(fd, data.data() + done, std::size_t(data.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return cannotOpen(path, QString::fromLocal8Bit(std::strerror(errno)));
        if (got == 0)
            break; // the file became shorter while it was read
        done += got;
    }
    data.truncate(done);
    return data;
#else
    Q_UNUSED(nativePath);
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return cannotOpen(path, notRegularReason());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return cannotOpen(path, file.errorString());
    if (file.size() > MaxFileBytes)
        return Outcome<QByteArray>::failed(tooLargeMessage(path));
    QByteArray data = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return cannotOpen(path, file.errorString());
    if (data.size() > MaxFileBytes)
        return Outcome<QByteArray>::failed(tooLargeMessage(path));
    return data;
#endif
}

Outcome<ResultRecord> readFile(const QString &path, const QByteArray &key)
{
    const Outcome<QByteArray> bytes = readStoredBytes(path);
    if (!bytes)
        return bytes.failure();
    Outcome<StoredRecord> stored = parseStoredText(*bytes, path, key);
    if (!stored)
        return stored.failure();
    return stored->decoded();
}

QString cannotOpenMessage(const QString &path)
{
    return QCoreApplication::translate("ResultFile", "Cannot open file %1").arg(QDir::toNativeSeparators(path));
}

QString notANumberMessage(const QString &text)
{
    return QCoreApplication::translate("ResultFile", "'%1' is not a valid floating point value").arg(text);
}

QString tooLargeMessage(const QString &path)
{
    return QCoreApplication::translate("ResultFile", "The file %1 is too large for a result file: a result file holds at most %2 letters.")
        .arg(QDir::toNativeSeparators(path))
        .arg(UnitPC1::MaxStoredTextLength);
}

} // namespace ResultFile
