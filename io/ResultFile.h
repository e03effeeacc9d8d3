#pragma once
// Reading one result file: the stored letters are prepared, deciphered and parsed into a record,
// free of any widget, so that a load either yields a whole record or a message and nothing else.

#include "MemberTable.h"
#include "Outcome.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

// A result file's header and scores.
struct ResultRecord
{
    RespondentHeader header;
    IndexScores indexScores{};
    ItemScores itemScores{};
};

// A deciphered result file in its own windows-1251 bytes: the plaintext, where its seven header lines
// lie in it, and the scores. A group keeps the header bytes as they are, without decoding them.
struct StoredRecord
{
    QByteArray plain;
    std::array<std::pair<qsizetype, qsizetype>, 7> headerLines{}; // offset and length in plain
    IndexScores indexScores{};
    ItemScores itemScores{};

    std::array<QByteArrayView, 7> headerBytes() const;
    ResultRecord decoded() const;
};

namespace ResultFile {

// Plaintext line numbers, counted from 0.
constexpr int FirstIndexLine = 8;
constexpr int FirstItemLine = 21;
constexpr int LastLine = FirstItemLine + Resource::StatementCount - 1; // 80

// No file beyond this many bytes is read whole: it cannot be a result file.
constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;

// The key text of result files; its windows-1251 bytes are the 16-byte key.
QString KeyText();
QByteArray keyBytes(const QString &keyText = KeyText());

// Drops the line breaks (CR and LF) that an editor or a mail program may have put into the run of
// letters; every other character is kept and deciphers with the value 0.
QByteArray prepareStoredText(QByteArrayView raw);

// A score line: optional blanks, optional sign, digits with at most one decimal separator (comma or
// point, whatever the regional settings), optional exponent, optional blanks. A value beyond the
// range of a double is not a number.
std::optional<double> parseNumber(QStringView line);

// Parses a deciphered plaintext. A message names fileName (when given) and the line on its second line.
Outcome<StoredRecord> parsePlainBytes(QByteArrayView plain, const QString &fileName = QString());
Outcome<ResultRecord> parsePlainText(const QString &plainText, const QString &fileName = QString());
// Prepares, deciphers and parses the stored letters of one file; fileName names it in messages.
Outcome<StoredRecord> parseStoredText(QByteArrayView stored, const QString &fileName, const QByteArray &key = keyBytes());

// The bytes of a result file. Only a regular file is read, and never in a way that could block (a
// FIFO or a device named like a result file is refused with "Cannot open file"); one beyond
// MaxFileBytes is refused as too large without being read. nativePath, where given, is the name in
// the system's own bytes (a name that is not valid UTF-8 on Linux); path names the file in messages.
Outcome<QByteArray> readStoredBytes(const QString &path, const QByteArray &nativePath = QByteArray());
Outcome<ResultRecord> readFile(const QString &path, const QByteArray &key = keyBytes());

// The first lines of a reading failure, in the language of the installed translation (the window's
// is always Russian).
QString cannotOpenMessage(const QString &path);
QString notANumberMessage(const QString &text);
QString tooLargeMessage(const QString &path);

} // namespace ResultFile
