#include "ResultFile.h"

#include "Cp1251.h"
#include "UnitPC1.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <charconv>
#include <string>

QString ResultRecord::hint() const
{
    return info[0] + QStringLiteral("\r\n") + info[1] + QStringLiteral("\r\n") + info[2] + QStringLiteral("\r\n")
           + info[3];
}

namespace ResultFile {
namespace {

constexpr int FirstIndexLine = 8;
constexpr int FirstItemLine = 21;
constexpr int LastLine = FirstItemLine + Resource::StatementCount - 1; // 80

} // namespace

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

// The number grammar over any run of characters: QStringView or the plaintext's own bytes.
template <typename View>
std::optional<double> parseNumberIn(View line)
{
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
    std::array<QByteArrayView, LastLine + 1> lines{};

    explicit PlainLines(QByteArrayView plain)
    {
        qsizetype start = 0;
        int n = 0;
        const qsizetype size = plain.size();
        for (qsizetype k = 0; k < size && n <= LastLine; ++k) {
            const char c = plain[k];
            if (c != '\r' && c != '\n')
                continue;
            lines[std::size_t(n++)] = plain.sliced(start, k - start);
            if (c == '\r' && k + 1 < size && plain[k + 1] == '\n')
                ++k;
            start = k + 1;
        }
        if (n <= LastLine && start < size)
            lines[std::size_t(n)] = plain.sliced(start);
    }
};

// Converts the score lines from firstLine on into scores, one after the other; the message of the
// first line that is not a number, or an empty string.
template <std::size_t N>
QString readScores(const PlainLines &text, int firstLine, std::array<double, N> &scores)
{
    for (std::size_t k = 0; k < N; ++k) {
        const QByteArrayView line = text.lines[std::size_t(firstLine) + k];
        const auto value = parseNumberIn(line);
        if (!value)
            return notANumberMessage(Cp1251::decode(line));
        scores[k] = *value;
    }
    return QString();
}

// Parses a deciphered plaintext (windows-1251 bytes). The plaintext itself is decoded into the
// record only when asked for: a group keeps only its last member's.
ReadOutcome parsePlainBytes(QByteArrayView plain, bool keepPlainText)
{
    const PlainLines text(plain);
    ResultRecord record;
    QString error = readScores(text, FirstIndexLine, record.indexScores);
    if (error.isEmpty())
        error = readScores(text, FirstItemLine, record.itemScores);
    if (!error.isEmpty())
        return {std::nullopt, error};
    record.date = Cp1251::decode(text.lines[0]);
    record.code = Cp1251::decode(text.lines[1]);
    record.name = Cp1251::decode(text.lines[2]);
    for (int k = 0; k < 4; ++k)
        record.info[std::size_t(k)] = Cp1251::decode(text.lines[std::size_t(3 + k)]);
    if (keepPlainText)
        record.plainText = Cp1251::decode(plain);
    return {std::move(record), QString()};
}

} // namespace

std::optional<double> parseNumber(QStringView line)
{
    return parseNumberIn(line);
}

ReadOutcome parsePlainText(const QString &plainText)
{
    ReadOutcome outcome = parsePlainBytes(Cp1251::encode(plainText), false);
    if (outcome.ok())
        outcome.record->plainText = plainText;
    return outcome;
}

ReadOutcome parseStoredText(QByteArrayView stored, const QString &fileName, const QByteArray &key, bool keepPlainText)
{
    const QByteArray prepared = prepareStoredText(stored);
    if (prepared.size() > UnitPC1::MaxStoredTextLength)
        return {std::nullopt,
                QStringLiteral("Файл %1 слишком велик для файла результатов: %2 знаков при допустимых %3.")
                    .arg(QDir::toNativeSeparators(fileName))
                    .arg(prepared.size())
                    .arg(UnitPC1::MaxStoredTextLength)};
    return parsePlainBytes(UnitPC1::DecipherText(key, prepared), keepPlainText);
}

ReadOutcome readFile(const QString &path, const QByteArray &key, bool keepPlainText)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, cannotOpenMessage(path)};
    // A file far beyond any result file is refused without reading it whole.
    constexpr qint64 HardLimit = 64 * 1024 * 1024;
    if (file.size() > HardLimit)
        return parseStoredText(file.read(HardLimit), path, key, keepPlainText);
    const QByteArray stored = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, cannotOpenMessage(path)};
    return parseStoredText(stored, path, key, keepPlainText);
}

QString cannotOpenMessage(const QString &path)
{
    return QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path));
}

QString notANumberMessage(const QString &text)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

} // namespace ResultFile
