#pragma once
// Reading CSV as online forms and spreadsheets export it: UTF-8 with or without a byte-order mark,
// UTF-16 with one, or windows-1251 (decided on evidence: valid UTF-8 is UTF-8; text that is mostly
// UTF-8 but holds a stray byte, or whose bytes do not read as Russian windows-1251 text, is refused
// with the place of the byte); fields separated by ",", ";" or a
// tab, whichever the first records agree on; fields quoted per RFC 4180, with doubled quotes and line
// breaks inside quotes; CR LF, LF or CR line ends. Records are numbered as a spreadsheet numbers its
// rows: the first record is row 1, an empty line is a row too.
//
// The parser hands out fields as views of the text (or of its own buffer, for a field with doubled
// quotes), one record at a time, so that a sheet of a hundred thousand rows is read without a string
// per field.

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace CsvReader {

enum class Encoding { Utf8, Utf8WithBom, Utf16WithBom, Windows1251 };

// A byte that decides that a text is neither UTF-8 nor windows-1251.
struct BadByte
{
    qsizetype line = 0;   // counted from 1
    qsizetype column = 0; // the byte's place in its line, counted from 1
    std::uint8_t value = 0;
};

struct Decoded
{
    QString text;
    Encoding encoding = Encoding::Utf8;
    std::optional<BadByte> badByte; // set when the bytes are refused; text is then empty
};

// The text of a file's bytes, its encoding detected. Bytes that are not valid UTF-8 are read as
// windows-1251 only when that is plausible: more malformed than well-formed UTF-8 sequences, no byte
// the code page leaves unassigned, and no Cyrillic letter glued to a Latin one ("Renйe" is a
// Latin-1 "é", not Russian).
Decoded decode(QByteArrayView bytes);
// "line 3, byte 17 (0xE9)".
QString badByteText(const BadByte &bad);
// The encoding as the user reads it: "UTF-8", "UTF-8 с BOM", "windows-1251" ...
QString encodingName(Encoding encoding);

class Parser
{
public:
    Parser(QStringView text, QChar separator);

    // The next record into fields, valid until the next call; false at the end of the text, or when
    // the text ends inside a quoted field (error() says so).
    bool next(QList<QStringView> &fields);
    // The row of the record last read, counted from 1.
    qsizetype row() const { return m_row; }
    // Where the next record starts, in characters of the text.
    qsizetype position() const { return m_pos; }
    // Goes on from a position that position() gave, where the record of the given row starts.
    void seek(qsizetype position, qsizetype row)
    {
        m_pos = position;
        m_row = row - 1;
    }
    // Empty, or why the text could not be read to its end.
    const QString &error() const { return m_error; }

private:
    struct Span
    {
        bool own; // in m_buffer rather than the text
        qsizetype offset;
        qsizetype length;
    };

    QStringView m_text;
    char16_t m_separator;
    qsizetype m_pos = 0;
    qsizetype m_row = 0;
    QString m_error;
    QString m_buffer;
    std::vector<Span> m_spans;
};

// The separator (",", ";" or tab) under which the first records of the text have the most consistent
// number of fields, and the most fields; "," for a text of one column.
QChar detectSeparator(QStringView text);

// True when every field of a record is empty or blank: an empty row of a spreadsheet.
bool isBlank(const QList<QStringView> &fields);

} // namespace CsvReader
