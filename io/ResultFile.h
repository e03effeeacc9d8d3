#pragma once
// Reading one result file: the stored letters are prepared, deciphered and parsed into a record,
// free of any widget, so that a load either yields a whole record or an error and nothing else.

#include "Resource.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

struct ResultRecord
{
    QString date;                    // line 0
    QString code;                    // line 1
    QString name;                    // line 2
    std::array<QString, 4> info;     // lines 3 to 6
    std::array<double, Resource::IndexCount> indexScores{};    // lines 8 to 19
    std::array<double, Resource::StatementCount> itemScores{}; // lines 21 to 80
    QString plainText;               // the whole deciphered text

    // The four information lines joined with CR LF, the hint of the file summary.
    QString hint() const;
};

struct ReadOutcome
{
    std::optional<ResultRecord> record;
    QString error; // the message for the user when record is empty

    bool ok() const { return record.has_value(); }
};

namespace ResultFile {

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

ReadOutcome parsePlainText(const QString &plainText);
// Prepares, deciphers and parses the stored letters of one file; fileName only names it in messages.
// keepPlainText false leaves the record's plainText empty (a group keeps no member's text).
ReadOutcome parseStoredText(QByteArrayView stored, const QString &fileName, const QByteArray &key = keyBytes(),
                            bool keepPlainText = true);
ReadOutcome readFile(const QString &path, const QByteArray &key = keyBytes(), bool keepPlainText = true);

QString cannotOpenMessage(const QString &path);
QString notANumberMessage(const QString &text);

} // namespace ResultFile
