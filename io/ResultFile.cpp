#include "ResultFile.h"

#include "Cp1251.h"
#include "UnitPC1.h"

#include <QDir>
#include <QFile>
#include <QStringList>

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

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

} // namespace

QString KeyText() { return QStringLiteral("q8v1k4rж7эюb;951"); }

QByteArray keyBytes(const QString &keyText) { return Cp1251::encode(QStringView(keyText).left(16)); }

QByteArray prepareStoredText(QByteArrayView raw)
{
    QByteArray prepared;
    prepared.reserve(raw.size());
    for (char c : raw)
        if (c != '\r' && c != '\n')
            prepared.append(c);
    return prepared;
}

std::optional<double> parseNumber(QStringView line)
{
    qsizetype pos = 0;
    const qsizetype end = line.size();
    auto skipBlanks = [&] {
        while (pos < end && line[pos] == u' ')
            ++pos;
    };
    std::string number;
    skipBlanks();
    if (pos < end && (line[pos] == u'+' || line[pos] == u'-')) {
        if (line[pos] == u'-')
            number += '-';
        ++pos;
    }
    int digits = 0;
    bool separator = false;
    number += '0'; // a leading separator (",5") still reads as a number
    while (pos < end) {
        const QChar c = line[pos];
        if (isDigit(c)) {
            number += char(c.unicode());
            ++digits;
        } else if ((c == u',' || c == u'.') && !separator) {
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
    if (pos < end && (line[pos] == u'e' || line[pos] == u'E')) {
        number += 'e';
        ++pos;
        if (pos < end && (line[pos] == u'+' || line[pos] == u'-'))
            number += char(line[pos++].unicode());
        int exponentDigits = 0;
        while (pos < end && isDigit(line[pos])) {
            number += char(line[pos++].unicode());
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

QStringList plainLines(const QString &plainText)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = plainText.size();
    for (qsizetype k = 0; k < n; ++k) {
        const QChar c = plainText[k];
        if (c != u'\r' && c != u'\n')
            continue;
        lines << plainText.mid(start, k - start);
        if (c == u'\r' && k + 1 < n && plainText[k + 1] == u'\n')
            ++k;
        start = k + 1;
    }
    if (start < n)
        lines << plainText.mid(start);
    return lines;
}

ReadOutcome parsePlainText(const QString &plainText)
{
    const QStringList lines = plainLines(plainText);
    auto line = [&](int n) { return n < lines.size() ? lines[n] : QString(); };

    ResultRecord record;
    record.date = line(0);
    record.code = line(1);
    record.name = line(2);
    for (int k = 0; k < 4; ++k)
        record.info[std::size_t(k)] = line(3 + k);
    for (int k = 0; k < Resource::IndexCount; ++k) {
        const QString text = line(FirstIndexLine + k);
        const auto value = parseNumber(text);
        if (!value)
            return {std::nullopt, notANumberMessage(text)};
        record.indexScores[std::size_t(k)] = *value;
    }
    for (int k = 0; k < Resource::StatementCount; ++k) {
        const QString text = line(FirstItemLine + k);
        const auto value = parseNumber(text);
        if (!value)
            return {std::nullopt, notANumberMessage(text)};
        record.itemScores[std::size_t(k)] = *value;
    }
    static_assert(LastLine == 80);
    record.plainText = plainText;
    return {std::move(record), QString()};
}

ReadOutcome parseStoredText(QByteArrayView stored, const QString &fileName, const QByteArray &key)
{
    const QByteArray prepared = prepareStoredText(stored);
    if (prepared.size() > UnitPC1::MaxStoredTextLength)
        return {std::nullopt,
                QStringLiteral("Файл %1 слишком велик для файла результатов: %2 знаков при допустимых %3.")
                    .arg(QDir::toNativeSeparators(fileName))
                    .arg(prepared.size())
                    .arg(UnitPC1::MaxStoredTextLength)};
    const QByteArray plain = UnitPC1::DecipherText(key, prepared);
    return parsePlainText(Cp1251::decode(plain));
}

ReadOutcome readFile(const QString &path, const QByteArray &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, cannotOpenMessage(path)};
    // A file far beyond any result file is refused without reading it whole.
    constexpr qint64 HardLimit = 64 * 1024 * 1024;
    if (file.size() > HardLimit)
        return parseStoredText(file.read(HardLimit), path, key);
    const QByteArray stored = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, cannotOpenMessage(path)};
    return parseStoredText(stored, path, key);
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
